// Temperature unit switch of the settings page.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_radioButtonUnitsImperial_clicked()
{
}

void MainGUI::on_radioButtonUnitsMetric_clicked()
{
}
