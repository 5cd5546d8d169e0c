// RFLOS radio panel of the ORVA command page.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_pushButton_orva_commands_rflos_clear_clicked()
{
}

void MainGUI::on_pushButton_RFLOS_send_commands_clicked()
{
}
