// Dashboard and data table filled from each weather record.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::increment_receive_error_count()
{
}
