// Settings file: reading and writing "options_json.json" and the settings page controls.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::readOptions()
{
}

void MainGUI::saveSettings()
{
}

void MainGUI::on_comboBox_Logging_currentIndexChanged(int)
{
}

void MainGUI::on_pushButtonLogFileLocationOpen_clicked()
{
}

void MainGUI::on_radioButton24HrPrecipAccum12Z_clicked()
{
}

void MainGUI::on_radioButton24HrPrecipAccum_clicked()
{
}
