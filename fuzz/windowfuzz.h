#pragma once

// The main window the window targets share: built once on the offscreen platform, with every
// modal box counted and dismissed at once.

class MainGUI;

// Starts the application and builds the window; for FUZZ_START.
void fuzzStartWindow();
MainGUI& fuzzWindow();
// Modal dialogs and message boxes opened since the count was last set to 0.
int& modalBoxes();
