#include "app/maingui.h"

void MainGUI::drawBaseWindPicture() {}
void MainGUI::drawGustArrow(double) {}
void MainGUI::drawRunwayPicture(QString, QString) {}
void MainGUI::drawRunway_rotate(double) {}
