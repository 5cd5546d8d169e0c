// Alert, error and system message panes.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::displaySystemMessages(QString)
{
}

void MainGUI::displayErrorMessages(QString)
{
}
