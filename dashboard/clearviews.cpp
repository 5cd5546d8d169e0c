// Clearing the views for a new connection.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::clearValues()
{
}
