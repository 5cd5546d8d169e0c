// The one-time layout of the window for the first device family.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::updateLayout()
{
}
