// Dashboard, data table, report box and status bar filled from each weather record.

#include "app/maingui.h"

#include "alerts/temperatureunitstate.h"
#include "dashboard/recorddisplay.h"
#include "dashboard/statusicons.h"
#include "forms/maingui_ui.h"
#include "reports/reporthistory.h"

#include <QDebug>
#include <cmath>

namespace RecordDisplay
{

QString text(const QJsonObject& record, const QString& key)
{
    return record.value(key).toString();
}

bool isNumber(const QString& text, double* value)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    ok = ok && std::isfinite(v);
    if (value)
        *value = ok ? v : 0.0;
    return ok;
}

double number(const QString& text)
{
    double v = 0;
    isNumber(text, &v);
    return v;
}

QString dash(const QString& text, const QString& suffix)
{
    return text.isEmpty() ? QStringLiteral("-") : text + suffix;
}

QString fixed(const QString& text, int decimals, double factor)
{
    return QString::number(number(text) * factor, 'f', decimals);
}

QString general6(const QString& text, double factor)
{
    return QString::number(number(text) * factor, 'g', 6);
}

QString threeDigit(const QString& text)
{
    // Rounded and written as a whole number first, so that no value is too large for an int.
    const QString digits = QString::number(std::floor(number(text) + 0.5), 'f', 0);
    const bool negative = digits.startsWith(QLatin1Char('-'));
    const QString magnitude = negative ? digits.mid(1) : digits;
    const QString padded = magnitude.rightJustified(negative ? 2 : 3, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + padded : padded;
}

int countDigits(const QString& text)
{
    int digits = 0;
    for (const QChar c : text)
        digits += c.isDigit() ? 1 : 0;
    return digits;
}

QString precipitation(const QString& hundredths)
{
    return hundredths.isEmpty() ? QString() : fixed(hundredths, 2, 0.01);
}

} // namespace RecordDisplay

namespace
{

// Temperature, dew point, heat index and wind chill in the display unit; records carry Celsius.
void showTemperatures(Ui_MainGUI& ui, const QJsonObject& record, bool fahrenheitShown)
{
    using namespace RecordDisplay;
    const QString unit = fahrenheitShown ? QStringLiteral(" \u00B0F") : QStringLiteral(" \u00B0C");
    const auto shown = [&](const char* key, const QString& suffix) {
        const QString celsius = text(record, QLatin1String(key));
        if (celsius.isEmpty())
            return QStringLiteral("-");
        return (fahrenheitShown ? celsiusToFahrenheitText(celsius) : celsius) + suffix;
    };
    // The builder stores "-" for extremes it does not have yet; Celsius shows that as it is.
    const auto extremes = [&](const char* maxKey, const char* minKey, QLabel* maxLabel,
                              QLabel* minLabel) {
        const QString max = text(record, QLatin1String(maxKey));
        const QString min = text(record, QLatin1String(minKey));
        if (!fahrenheitShown) {
            maxLabel->setText(dash(max));
            minLabel->setText(dash(min));
            return;
        }
        const auto missing = [](const QString& t) {
            return t.isEmpty() || t == QLatin1String("-");
        };
        maxLabel->setText(missing(max) ? QStringLiteral("-") : celsiusToFahrenheitText(max));
        minLabel->setText(missing(max) || missing(min) ? QStringLiteral("-")
                                                       : celsiusToFahrenheitText(min));
    };

    ui.labelCurrentTempC->setText(shown("Temperature", QString()));
    ui.labelTableTemperature->setText(shown("Temperature", unit));
    extremes("Temperature 24 Hrs Max", "Temperature 24 Hrs Min", ui.label24hoursTemperatureMaxC,
             ui.label24hoursTemperatureMinC);
    ui.labelDewPointC->setText(shown("Dewpoint", QString()));
    ui.labelTableDewPoint->setText(shown("Dewpoint", unit));
    extremes("Dew Point 24 Hrs Max", "Dew Point 24 Hrs Min", ui.label24hoursDewPointMaxC,
             ui.label24hoursDewPointMinC);
    ui.labelHeatIndexC->setText(shown("Heat Index", QString()));
    ui.labelTableHeatIndex->setText(shown("Heat Index", unit));
    ui.labelTableWindChillIndex->setText(shown("Wind Chill", unit));
    ui.labelWindChillC->setText(shown("Wind Chill", QString()));
}

} // namespace

QString MainGUI::celsiusToFahrenheit(QString celsius)
{
    return celsiusToFahrenheitText(celsius);
}

int MainGUI::countDigits(QString text)
{
    return RecordDisplay::countDigits(text);
}

void MainGUI::display_weather_data(QJsonObject record)
{
    using namespace RecordDisplay;
    const auto value = [&record](const char* key) { return text(record, QLatin1String(key)); };
    // A missing or non-numeric value is not zero: it raises no alert.
    const auto checkAlertOf = [this, &value](const char* parameter, const char* key) {
        const QString reading = value(key);
        if (alertActive[QLatin1String(parameter)] && isNumber(reading))
            checkAlert(QLatin1String(parameter), reading);
    };
    // Nor does it add a trend point, and a report shown again from the history adds none to the
    // live charts.
    const bool storedRecord = showingStoredRecord;
    const auto plot = [this, storedRecord](TrendChart chart, const QString& reading) {
        double v = 0;
        if (!storedRecord && isNumber(reading, &v))
            plotCharts(chart, v);
    };
    const bool orva = deviceType == DeviceTypes::ORVA;
    const bool fahrenheitShown = temperatureUnits == TemperatureUnits::Fahrenheit;

    showBatteryStatus(*this, record);

    ui->labelTableVoltage->setText(dash(value("Voltage")));
    ui->labelTableMode->setText(dash(value("Reporting Mode")));
    ui->labelTableType->setText(dash(value("Type")));
    ui->labelUTC->setText(value("Timestamp UTC"));
    ui->labelDeviceTime->setText(value("Timestamp Device"));
    // A unit whose clock was never set reports the year 2000.
    ui->label_TimestampWarning->setVisible(value("Timestamp").startsWith(QLatin1String("2000")));
    ui->labelTableDate->setText(dash(value("Timestamp")));

    ui->label_Metar->setText(value("METAR"));
    if (!showingStoredRecord && isReportRecord(record))
        update_METAR_hist(record);
    showingStoredRecord = false;
    ui->stacked_METAR->setMinimumHeight(ui->label_Metar->heightForWidth(ui->label_Metar->width()) +
                                        20);

    const QString imei = value("IMEI");
    ui->labelTableImei->setText(orva && imei.isEmpty() ? QStringLiteral("Iridium Module Not Found")
                                                       : dash(imei));

    checkAlertOf("Relative Humidity", "Humidity");
    ui->labelTableRelativeHumidity->setText(dash(value("Humidity"), QStringLiteral(" %")));
    ui->labelRH->setText(dash(value("Humidity")));
    plot(HumidityChart, value("Humidity"));

    checkAlertOf("Temperature", "Temperature");
    checkAlertOf("Dew Point", "Dewpoint");
    checkAlertOf("Heat Index", "Heat Index");
    checkAlertOf("Wind Chill", "Wind Chill");
    showTemperatures(*ui, record, fahrenheitShown);
    const QString temperature = value("Temperature");
    if (isNumber(temperature))
        plot(TemperatureChart,
             fahrenheitShown ? celsiusToFahrenheitText(temperature) : temperature);

    checkAlertOf("Altimeter", "Altimeter");
    const QString altimeter = value("Altimeter");
    ui->labelTableAltimeter->setText(dash(altimeter, QStringLiteral(" inHg")));
    ui->labelALSTG_inHg->setText(dash(altimeter));
    ui->labelALSTG_hPa->setText(altimeter.isEmpty() ? QStringLiteral("-")
                                                    : fixed(altimeter, 1, kHpaPerInHg));

    checkAlertOf("Station Pressure", "Station Pressure");
    // The builder stores "-" when it has no pressure; a missing key is no value either, not 0.
    const QString station = value("Station Pressure");
    const bool noStation = station.isEmpty() || station == QLatin1String("-");
    ui->labelStationPressure_inHg->setText(noStation ? QStringLiteral("-") : fixed(station, 3));
    ui->labelTableStationPressure->setText(noStation ? QStringLiteral("-")
                                                     : fixed(station, 3) + QStringLiteral(" inHg"));
    ui->labelStationPressure_hPa->setText(noStation ? QStringLiteral("-")
                                                    : fixed(station, 1, kHpaPerInHg));

    checkAlertOf("3Hr Pressure Change", "3 Hr Pressure");
    ui->label3hrChg_hPa->setText(value("3 Hr Pressure"));
    plot(PressureChart, value("Pressure"));

    checkAlertOf("Sea Level Pressure", "Sea Level Pressure");
    const QString seaLevel = value("Sea Level Pressure");
    ui->labelSLP_hPa->setText(seaLevel.isEmpty() ? QStringLiteral("-") : fixed(seaLevel, 1));

    checkAlertOf("Pressure Altitude", "Pressure Altitude");
    checkAlertOf("Density Altitude", "Density Altitude");
    const QString pressureAltitude = value("Pressure Altitude");
    ui->labelPA_ft->setText(dash(pressureAltitude));
    ui->labelPA_m->setText(pressureAltitude.isEmpty() ? QStringLiteral("-")
                                                      : fixed(pressureAltitude, 0, kMetresPerFoot));
    ui->labelTablePressureAltitude->setText(dash(pressureAltitude, QStringLiteral(" ft")));
    const QString densityAltitude = value("Density Altitude");
    ui->labelDA_ft->setText(dash(densityAltitude));
    ui->labelDA_m->setText(densityAltitude.isEmpty() ? QStringLiteral("-")
                                                     : fixed(densityAltitude, 0, kMetresPerFoot));
    ui->labelTableDensityAltitude->setText(dash(densityAltitude, QStringLiteral(" ft")));

    const QString degree = QStringLiteral("\u00B0");
    ui->labelTableElevation->setText(dash(value("Elevation"), QStringLiteral(" m")));
    ui->labelTableOrientation->setText(dash(value("Orientation"), degree));
    ui->labelTableTilt->setText(dash(value("Tilt"), degree));
    ui->labelTableLat->setText(dash(value("Latitude"), degree));
    ui->labelTableLon->setText(dash(value("Longitude"), degree));

    ui->label_Precip1->setText(precipitation(value("precip_total_1hr")));
    ui->label_Precip3->setText(precipitation(value("precip_total_3hr")));
    ui->label_Precip6->setText(precipitation(value("precip_total_6hr")));
    ui->label_Precip24->setText(precipitation(value("precip_total_24hr")));

    checkAlertOf("Wind Speed", "Wind Speed");
    checkAlertOf("Wind Direction", "Wind Direction");
    const QString direction = value("Wind Direction");
    const QString direction2Min = value("Wind Direction 2minAvg");
    ui->labelWindSpeed->setText(dash(orva ? value("Wind Speed Inst") : value("Wind Speed")));
    ui->labelTableWindSpeed->setText(dash(value("Wind Speed"), QStringLiteral(" kt")));
    // Short readings get their leading zeros; the table follows the current direction's digits.
    const auto directionText = [](bool pad, const QString& reading, const QString& suffix) {
        return reading.isEmpty() ? QStringLiteral("-")
                                 : (pad ? threeDigit(reading) : reading) + suffix;
    };
    const bool padDirection = RecordDisplay::countDigits(direction) < 3;
    ui->labelWindDirection->setText(directionText(padDirection, direction, QString()));
    ui->labelTableWindDirection->setText(directionText(padDirection, direction2Min, degree));
    plot(WindSpeedChart, value("Wind Speed"));

    const QString gustDirection = value("Gust Direction");
    qDebug().noquote() << QStringLiteral("Raw Gust Direction: ") + gustDirection;
    checkAlertOf("Gust Speed", "Gust Speed");
    ui->labelGustSpeed->setText(dash(value("Gust Speed")));
    ui->labelTableMaxWindSpeed->setText(dash(value("Gust Speed"), QStringLiteral(" kt")));
    const bool padGust = RecordDisplay::countDigits(gustDirection) < 3;
    ui->labelGustDirection->setText(directionText(padGust, gustDirection, QString()));
    ui->labelTableMaxWindDirection->setText(directionText(padGust, gustDirection, degree));

    const auto padded = [&value](const char* key) {
        const QString reading = value(key);
        return reading.isEmpty() ? QStringLiteral("-") : threeDigit(reading);
    };
    const auto oneDecimal = [&value](const char* key) {
        const QString reading = value(key);
        return reading.isEmpty() ? QStringLiteral("-") : fixed(reading, 1);
    };
    ui->labelMaxDirectionIn1Hour->setText(padded("Wind Direction Max 1 Hour"));
    ui->labelMaxWindIn1Hour->setText(dash(value("Wind Speed Max 1 Hour")));
    ui->labelMinDirectionIn1Hour->setText(padded("Wind Direction Min 1 Hour"));
    ui->labelMinWindIn1Hour->setText(dash(value("Wind Speed Min 1 Hour")));
    ui->labelMinDirectionIn10Minutes->setText(padded("Wind Direction Min 10 Minutes"));
    ui->labelMinWindIn10Minutes->setText(oneDecimal("Wind Speed Min 10 Minutes"));
    ui->labelMaxDirectionIn10Minutes->setText(padded("Wind Direction Max 10 Minutes"));
    ui->labelMaxWindIn10Minutes->setText(oneDecimal("Wind Speed Max 10 Minutes"));
    ui->labelAvgDirectionIn2Minutes->setText(padded("Wind Direction 2minAvg"));
    ui->labelAvgWindIn2Minutes->setText(oneDecimal("Wind Speed"));

    checkAlertOf("Cross Wind Speed", "X Wind");
    ui->labelX_Wind->setText(dash(value("X Wind")));
    ui->labelX_Gust->setText(dash(value("X Gust")));

    drawBaseWindPicture();
    if (!runwayHidden)
        drawRunwayPicture(direction, value("Wind Speed Inst"));
    else if (double degrees = 0; isNumber(direction, &degrees))
        drawGustArrow(degrees); // no arrow without a readable direction

    if (alertActive[QStringLiteral("Visibility")])
        qDebug("Alert Check is active for Visibility");
    checkAlertOf("Visibility", "Visibility");
    const QString presentWeather = value("Present Weather");
    ui->labelPresentWeather->setText(dash(presentWeather));
    ui->labelTablePresentWeather->setText(dash(presentWeather));
    const QString visibility = value("Visibility");
    ui->labelTableVisibility->setText(dash(visibility, QStringLiteral(" SM")));
    ui->labelVisibilitySM->setText(dash(visibility));
    ui->labelVisibilityM->setText(
        visibility.isEmpty() ? QStringLiteral("-") : general6(visibility, kMetresPerStatuteMile));
    if (orva) {
        const QString visibility1 = value("Visibility1");
        ui->labelVisibilitySM_1->setText(dash(visibility1));
        ui->labelVisibilityM_1->setText(visibility1.isEmpty()
                                            ? QStringLiteral("-")
                                            : general6(visibility1, kMetresPerStatuteMile));
    }

    ui->labelVerticalVisibility->setText(value("Cloud Vertical Visibility"));
    QLabel* const layers[] = {ui->labelLayer1Height, ui->labelLayer2Height, ui->labelLayer3Height,
                              ui->labelLayer4Height, ui->labelLayer5Height, ui->labelLayer6Height};
    for (int i = 0; i < 6; ++i)
        layers[i]->setText(dash(text(record, QStringLiteral("Cloud Layer %1").arg(i + 1))));
    ui->labelTableCloudLayers->setText(dash(value("Clouds")));
    ui->labelTableLowestBrokenLayer->setText(
        dash(value("Lowest Broken Layer"), QStringLiteral(" ft")));

    showLightningStatus(*this, record);

    ui->labelTableVisContamination->setText(dash(value("Contamination")));
    ui->labelTableSigWaveDirection->setText(dash(value("Sig Wave Direction"), degree));
    ui->labelTableSigWaveHeight->setText(dash(value("Sig Wave Height"), degree));
    ui->labelTableSigWavePeriod->setText(dash(value("Sig Wave Period"), degree));
    ui->labelTableSeaSurfaceTemp->setText(dash(value("Sea Surface Temp"), degree));
    ui->labelTableCompassHeading->setText(dash(value("Compass Heading"), degree));

    showTamperStatus(*this, record);

    if (orva) {
        const QString megahertz = QStringLiteral(" MHz");
        const QString transmit = value("RFLOS Transmit Frequency") + megahertz;
        const QString receive = value("RFLOS Receive Frequency") + megahertz;
        const QString band = value("RFLOS Band");
        ui->labelRFTxf->setText(transmit);
        ui->labelRFRxf->setText(receive);
        ui->labelRFOperatingBand->setText(band);
        ui->label_table_rflos_txf->setText(transmit);
        ui->label_table_rflos_rxf->setText(receive);
        ui->label_table_rflos_band->setText(band);
    }

    showConnectedUnit(*this);
    showStatusBarLines(*this, record);
}

void MainGUI::increment_receive_error_count() {}
