// Runway and tampering controls of the dashboard.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_pushButton_HideRunway_clicked()
{
}

void MainGUI::on_pushButton_UpdateRunwayDirection_clicked()
{
}

void MainGUI::on_pushButton_ClearTamperingWarning_clicked()
{
}
