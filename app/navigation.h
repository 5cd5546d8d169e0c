#pragma once

class MainGUI;

// Every page but Table and Images shows live values: a stored observation on show (the frozen
// view) is left first, so that new records update the window and raise alerts again.
void leaveStoredObservation(MainGUI& window);
