// ORVA command panel and the status cells of its command rows.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_pushButtonSettings_clicked()
{
}

void MainGUI::commandConfirmation()
{
}

void MainGUI::updateORVACmdMsgs(QString)
{
}

void MainGUI::update_orva_command_statuses(int, int)
{
}

void MainGUI::on_prepSchedReceived(QString, int)
{
}

void MainGUI::on_pushButton_ORVAsendcommands_clicked()
{
}

void MainGUI::on_pushButton_ORVADefaultSetting_clicked()
{
}

void MainGUI::on_comboBox_ORVAElevation_currentIndexChanged(int)
{
}

void MainGUI::on_textEdit_ORVASendMsg_cursorPositionChanged()
{
}

void MainGUI::on_lineEdit_ORVAElevationInput_cursorPositionChanged()
{
}

void MainGUI::on_pushButton_ORVA_METAR_prep_schedule_clicked()
{
}
