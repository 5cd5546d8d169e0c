#pragma once

class MainGUI;
class QSize;

// Every page but Table and Images shows live values: a stored observation on show (the frozen
// view) is left first, so that new records update the window and raise alerts again.
void leaveStoredObservation(MainGUI& window);

// A window that does not fit the screen in either direction starts maximized.
bool maximizeOnScreen(const QSize& window, const QSize& screen);
