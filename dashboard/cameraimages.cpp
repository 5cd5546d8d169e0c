// Camera pictures on the images page.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::displayImageDataProgress(QString, int, QString, double, QString)
{
}

void MainGUI::displayImageDataFinal(int, QString)
{
}
