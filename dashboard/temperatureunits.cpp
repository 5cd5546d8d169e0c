// Temperature display unit: the unit labels, the conversion back to Celsius and the switch of the
// settings page.

#include "app/maingui.h"

#include "alerts/temperatureunitstate.h"
#include "dashboard/trendcharts.h"
#include "forms/maingui_ui.h"

#include <QDebug>
#include <QtCharts/QValueAxis>

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

namespace
{

// A chart point goes through its two-decimal text and the labels' conversion, so that a switch
// back and forth lands on the same one-decimal values as the labels.
double convertedPoint(double value, bool toFahrenheit)
{
    const QString text = QString::number(value, 'f', 2);
    return (toFahrenheit ? celsiusToFahrenheitText(text) : fahrenheitToCelsiusText(text))
        .toDouble();
}

void convertTemperatureChart(MainGUI& window, bool toFahrenheit)
{
    QtCharts::QValueAxis* const valueAxis = window.trendYAxes[TemperatureChart];
    // The charts exist only after the first page layout.
    if (!window.trendSeries[TemperatureChart] || !valueAxis || !window.trendXAxes[TemperatureChart])
        return;
    valueAxis->setTitleText(QStringLiteral("Temperature (") + window.temperatureUnitText +
                            QLatin1Char(')'));
    TrendTrace& trace = window.trendTraces[TemperatureChart];
    if (trace.points.isEmpty())
        return;

    for (QPointF& point : trace.points)
        point.setY(convertedPoint(point.y(), toFahrenheit));
    window.refitTrendChart(TemperatureChart);
}

void switchTemperatureDisplay(MainGUI& window, TemperatureUnits target)
{
    Ui_MainGUI* const ui = window.ui;
    const bool toFahrenheit = target == TemperatureUnits::Fahrenheit;
    const QString newUnit = temperatureUnitText(toFahrenheit);
    if (window.temperatureUnits == target) {
        qDebug().noquote() << (toFahrenheit ? "Units are already in Imperial Mode. "
                                            : "Units are already in Metric Mode. ");
        window.updateUnitLabels(newUnit);
        return;
    }
    emit window.logDataMainMsg(
        toFahrenheit
            ? "INFO: Change Temperature display to Imperial units from current Metric units."
            : "INFO: Change Temperature display to Metric units from current Imperial units.");

    const QString oldSuffix = QLatin1Char(' ') + temperatureUnitText(!toFahrenheit);
    window.temperatureUnits = target;
    window.temperatureUnitText = newUnit;
    window.displayAlerts();

    auto convert = [&window, toFahrenheit](const QString& text) {
        return toFahrenheit ? window.celsiusToFahrenheit(text) : window.fahrenheitToCelcius(text);
    };
    QLabel* const dashboardLabels[] = {ui->labelCurrentTempC,
                                       ui->labelWindChillC,
                                       ui->label24hoursTemperatureMaxC,
                                       ui->label24hoursTemperatureMinC,
                                       ui->labelHeatIndexC,
                                       ui->labelDewPointC,
                                       ui->label24hoursDewPointMaxC,
                                       ui->label24hoursDewPointMinC};
    for (QLabel* label : dashboardLabels) {
        const QString text = label->text();
        if (!text.isEmpty() && text != QLatin1String("-"))
            label->setText(convert(text));
    }
    QLabel* const tableLabels[] = {ui->labelTableTemperature, ui->labelTableHeatIndex,
                                   ui->labelTableWindChillIndex, ui->labelTableDewPoint};
    for (QLabel* label : tableLabels) {
        QString text = label->text();
        if (text.isEmpty() || text == QLatin1String("-"))
            continue;
        // Only the old unit is cut off: a label without it must not lose digits.
        if (text.endsWith(oldSuffix))
            text.chop(oldSuffix.size());
        label->setText(convert(text) + QLatin1Char(' ') + newUnit);
    }

    convertTemperatureChart(window, toFahrenheit);
    window.updateUnitLabels(newUnit);
    window.updateAlertsUnits();
}

} // namespace

void MainGUI::on_radioButtonUnitsImperial_clicked()
{
    switchTemperatureDisplay(*this, TemperatureUnits::Fahrenheit);
}

void MainGUI::on_radioButtonUnitsMetric_clicked()
{
    switchTemperatureDisplay(*this, TemperatureUnits::Celsius);
}
