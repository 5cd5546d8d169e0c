// Legacy ORVA command panel and the raw command line.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_pushButtonCmdORVA_clicked()
{
}

void MainGUI::on_pushButtonCmdResetSettings_clicked()
{
}

void MainGUI::on_pushButtonCmdResetUnit_clicked()
{
}

void MainGUI::on_pushButton_rawSendMsg_clicked()
{
}
