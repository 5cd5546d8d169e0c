// BRQ command panel.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_pushButtonSendCmds_clicked()
{
}

void MainGUI::on_comboBoxCmdMode_currentIndexChanged(int)
{
}

void MainGUI::on_comboBoxCmdGps_currentIndexChanged(int)
{
}

void MainGUI::on_comboBoxCmdCamera_currentIndexChanged(int)
{
}
