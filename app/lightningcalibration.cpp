// Lightning sensor calibration panel.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::resetLightningButtonStyles()
{
}

void MainGUI::on_pushButton_orva_lightning_set_bx_clicked()
{
}

void MainGUI::on_pushButton_orva_lightning_set_by_clicked()
{
}

void MainGUI::on_pushButton_orva_lightning_set_bz_clicked()
{
}

void MainGUI::on_pushButton_orva_lightning_autocal_clicked()
{
}

void MainGUI::on_pushButton_orva_lightning_clear_clicked()
{
}

void MainGUI::on_pushButton_orva_lightning_refresh_clicked()
{
}

void MainGUI::on_lightning_parameters_received(int, int, int)
{
}

void MainGUI::on_lightning_autocal_confirmed()
{
}

void MainGUI::on_lightning_progress()
{
}

void MainGUI::on_lightning_command_error()
{
}
