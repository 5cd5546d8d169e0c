// Switching between the live record and a stored report.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_realtime_updated(QJsonObject)
{
}

void MainGUI::on_comboBoxViewMetar_currentIndexChanged(int)
{
}

void MainGUI::on_pushButton_show_live_data_clicked()
{
}

void MainGUI::on_pushButton_viewLatest_clicked()
{
}
