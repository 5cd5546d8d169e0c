// Lightning compass of the dashboard.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::displayORVALightning(QByteArray)
{
}
