// Temperature display unit: the unit labels, the conversion back to Celsius and the switch of the
// settings page.

#include "app/maingui.h"

#include "alerts/temperatureunitstate.h"
#include "forms/maingui_ui.h"

QString MainGUI::fahrenheitToCelcius(QString text)
{
    return fahrenheitToCelsiusText(text);
}

void MainGUI::updateUnitLabels(QString unit)
{
    ui->label_UnitTempC->setText(unit);
    ui->label_UnitDewC->setText(unit);
    ui->label_UnitHeatIndexC->setText(unit);
    ui->label_UnitWindChillC->setText(unit);
}

// The switch itself is still to come; empty so that the form binds its slots.
void MainGUI::on_radioButtonUnitsImperial_clicked() {}

void MainGUI::on_radioButtonUnitsMetric_clicked() {}
