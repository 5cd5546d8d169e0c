// Unread counters of the notification tabs and menu button.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_pushButtonNotifications_clicked()
{
}

void MainGUI::on_pushButton_clearNotifications_clicked()
{
}

void MainGUI::on_tabWidget_Notifications_currentChanged(int)
{
}
