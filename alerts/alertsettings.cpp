// Alert settings form.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_pushButton_alertSettings_clicked()
{
}

void MainGUI::on_pushButton_addAlert_clicked()
{
}

void MainGUI::on_pushButton_cancelAddAlert_clicked()
{
}

void MainGUI::on_pushButton_saveAlert_clicked()
{
}

void MainGUI::on_pushButton_returnAlertsSettings_clicked()
{
}

void MainGUI::on_comboBox_alertParameterSetting_currentIndexChanged(int)
{
}

void MainGUI::on_comboBox_alertThresholdSetting_currentIndexChanged(int)
{
}
