// Camera transfer status in the status bar and on the dashboard.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::imageAcqisitionActive(bool)
{
}

void MainGUI::imageProgressInfo(int, int)
{
}
