// METAR page of the main window and the report transmission mode.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::reviewMetar(QString)
{
}

void MainGUI::on_pushButton_editMetar_clicked()
{
}

void MainGUI::on_pushButton_saveAndSendMetar_clicked()
{
}

void MainGUI::on_pushButton_saveMetar_clicked()
{
}

void MainGUI::on_pushButton_cancelSaveMetar_clicked()
{
}

void MainGUI::on_radioButtonORVAMETAR_Auto_clicked()
{
}

void MainGUI::on_radioButtonORVAMETAR_Semiauto_clicked()
{
}

void MainGUI::on_radioButtonORVAMETAR_Manual_clicked()
{
}

void MainGUI::on_checkBox_hideMETARModePopUp_clicked()
{
}

void MainGUI::on_checkBox_SPECI_alerts_clicked()
{
}
