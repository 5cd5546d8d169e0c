#include "app/maingui.h"

void MainGUI::drawInitialCharts() {}
void MainGUI::plotCharts(int, double) {}
void MainGUI::scaleCharts() {}
