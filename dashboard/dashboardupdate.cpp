// Dashboard, data table, report box and status bar filled from each weather record.

#include "app/maingui.h"

#include "alerts/temperatureunitstate.h"
#include "dashboard/copiedvalues.h"
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

// The record's text for the key.
QString field(const QJsonObject& record, const char* key)
{
    return RecordDisplay::text(record, QLatin1String(key));
}

// "-" for no value, else the number times the factor with the decimals.
QString dashFixed(const QString& text, int decimals, double factor = 1.0)
{
    return text.isEmpty() ? QStringLiteral("-") : RecordDisplay::fixed(text, decimals, factor);
}

// The values shown as they come, with their suffix, "-" when missing.
struct CopiedValue {
    const char* key;
    QLabel* Ui_MainGUI::*label;
    const char* suffix;
};

const char kDegree[] = "\u00B0";

const CopiedValue kCopiedValues[] = {
    {"Voltage", &Ui_MainGUI::labelTableVoltage, ""},
    {"Reporting Mode", &Ui_MainGUI::labelTableMode, ""},
    {"Type", &Ui_MainGUI::labelTableType, ""},
    {"Timestamp", &Ui_MainGUI::labelTableDate, ""},
    {"Humidity", &Ui_MainGUI::labelTableRelativeHumidity, " %"},
    {"Humidity", &Ui_MainGUI::labelRH, ""},
    {"Altimeter", &Ui_MainGUI::labelTableAltimeter, " inHg"},
    {"Altimeter", &Ui_MainGUI::labelALSTG_inHg, ""},
    {"Pressure Altitude", &Ui_MainGUI::labelPA_ft, ""},
    {"Pressure Altitude", &Ui_MainGUI::labelTablePressureAltitude, " ft"},
    {"Density Altitude", &Ui_MainGUI::labelDA_ft, ""},
    {"Density Altitude", &Ui_MainGUI::labelTableDensityAltitude, " ft"},
    {"Elevation", &Ui_MainGUI::labelTableElevation, " m"},
    {"Orientation", &Ui_MainGUI::labelTableOrientation, kDegree},
    {"Tilt", &Ui_MainGUI::labelTableTilt, kDegree},
    {"Latitude", &Ui_MainGUI::labelTableLat, kDegree},
    {"Longitude", &Ui_MainGUI::labelTableLon, kDegree},
    {"Wind Speed", &Ui_MainGUI::labelTableWindSpeed, " kt"},
    {"Gust Speed", &Ui_MainGUI::labelGustSpeed, ""},
    {"Gust Speed", &Ui_MainGUI::labelTableMaxWindSpeed, " kt"},
    {"Wind Speed Max 1 Hour", &Ui_MainGUI::labelMaxWindIn1Hour, ""},
    {"Wind Speed Min 1 Hour", &Ui_MainGUI::labelMinWindIn1Hour, ""},
    {"X Wind", &Ui_MainGUI::labelX_Wind, ""},
    {"X Gust", &Ui_MainGUI::labelX_Gust, ""},
    {"Present Weather", &Ui_MainGUI::labelPresentWeather, ""},
    {"Present Weather", &Ui_MainGUI::labelTablePresentWeather, ""},
    {"Visibility", &Ui_MainGUI::labelTableVisibility, " SM"},
    {"Visibility", &Ui_MainGUI::labelVisibilitySM, ""},
    {"Cloud Layer 1", &Ui_MainGUI::labelLayer1Height, ""},
    {"Cloud Layer 2", &Ui_MainGUI::labelLayer2Height, ""},
    {"Cloud Layer 3", &Ui_MainGUI::labelLayer3Height, ""},
    {"Cloud Layer 4", &Ui_MainGUI::labelLayer4Height, ""},
    {"Cloud Layer 5", &Ui_MainGUI::labelLayer5Height, ""},
    {"Cloud Layer 6", &Ui_MainGUI::labelLayer6Height, ""},
    {"Clouds", &Ui_MainGUI::labelTableCloudLayers, ""},
    {"Lowest Broken Layer", &Ui_MainGUI::labelTableLowestBrokenLayer, " ft"},
    {"Contamination", &Ui_MainGUI::labelTableVisContamination, ""},
    {"Sig Wave Direction", &Ui_MainGUI::labelTableSigWaveDirection, kDegree},
    {"Sig Wave Height", &Ui_MainGUI::labelTableSigWaveHeight, kDegree},
    {"Sig Wave Period", &Ui_MainGUI::labelTableSigWavePeriod, kDegree},
    {"Sea Surface Temp", &Ui_MainGUI::labelTableSeaSurfaceTemp, kDegree},
    {"Compass Heading", &Ui_MainGUI::labelTableCompassHeading, kDegree},
};

// The values shown exactly as they come, empty when missing.
const CopiedValue kPlainValues[] = {
    {"Timestamp UTC", &Ui_MainGUI::labelUTC, ""},
    {"Timestamp Device", &Ui_MainGUI::labelDeviceTime, ""},
    {"3 Hr Pressure", &Ui_MainGUI::label3hrChg_hPa, ""},
    {"Cloud Vertical Visibility", &Ui_MainGUI::labelVerticalVisibility, ""},
};

// Alert parameters and the record keys they are checked with, in the order they are checked.
const std::pair<const char*, const char*> kAlertKeys[] = {
    {"Relative Humidity", "Humidity"},
    {"Temperature", "Temperature"},
    {"Dew Point", "Dewpoint"},
    {"Heat Index", "Heat Index"},
    {"Wind Chill", "Wind Chill"},
    {"Altimeter", "Altimeter"},
    {"Station Pressure", "Station Pressure"},
    {"3Hr Pressure Change", "3 Hr Pressure"},
    {"Sea Level Pressure", "Sea Level Pressure"},
    {"Pressure Altitude", "Pressure Altitude"},
    {"Density Altitude", "Density Altitude"},
    {"Wind Speed", "Wind Speed"},
    {"Wind Direction", "Wind Direction"},
    {"Gust Speed", "Gust Speed"},
    {"Cross Wind Speed", "X Wind"},
    {"Visibility", "Visibility"},
};

// Every parameter is looked up, so that each enters the alert map; a missing or non-numeric
// value is not zero: it raises no alert.
void checkRecordAlerts(MainGUI& window, const QJsonObject& record)
{
    if (window.alertActive[QStringLiteral("Visibility")])
        qDebug("Alert Check is active for Visibility");
    for (const auto& [parameter, key] : kAlertKeys) {
        const QString reading = field(record, key);
        if (window.alertActive[QLatin1String(parameter)] && RecordDisplay::isNumber(reading))
            window.checkAlert(QLatin1String(parameter), reading);
    }
}

// The record times, the report text and the report history, and the unit's modem number.
void showTimeAndReport(MainGUI& window, const QJsonObject& record)
{
    Ui_MainGUI& ui = *window.ui;
    // A unit whose clock was never set reports the year 2000.
    ui.label_TimestampWarning->setVisible(
        field(record, "Timestamp").startsWith(QLatin1String("2000")));

    ui.label_Metar->setText(field(record, "METAR"));
    if (!window.showingStoredRecord && isReportRecord(record))
        window.update_METAR_hist(record);
    window.showingStoredRecord = false;
    ui.stacked_METAR->setMinimumHeight(ui.label_Metar->heightForWidth(ui.label_Metar->width()) +
                                       20);

    const QString imei = field(record, "IMEI");
    ui.labelTableImei->setText(window.deviceType == DeviceTypes::ORVA && imei.isEmpty()
                                   ? QStringLiteral("Iridium Module Not Found")
                                   : RecordDisplay::dash(imei));
}

// Temperature, dew point, heat index and wind chill in the display unit; records carry Celsius.
void showTemperatures(Ui_MainGUI& ui, const QJsonObject& record, bool fahrenheitShown)
{
    using namespace RecordDisplay;
    const QString unit = QLatin1Char(' ') + temperatureUnitText(fahrenheitShown);
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

// Pressures in their second unit, the station pressure in both, the altitudes in metres.
void showPressures(Ui_MainGUI& ui, const QJsonObject& record)
{
    using namespace RecordDisplay;
    ui.labelALSTG_hPa->setText(dashFixed(field(record, "Altimeter"), 1, kHpaPerInHg));

    // The builder stores "-" when it has no pressure; a missing key is no value either, not 0.
    const QString station = field(record, "Station Pressure");
    const bool noStation = station.isEmpty() || station == QLatin1String("-");
    ui.labelStationPressure_inHg->setText(noStation ? QStringLiteral("-") : fixed(station, 3));
    ui.labelTableStationPressure->setText(noStation ? QStringLiteral("-")
                                                    : fixed(station, 3) + QStringLiteral(" inHg"));
    ui.labelStationPressure_hPa->setText(noStation ? QStringLiteral("-")
                                                   : fixed(station, 1, kHpaPerInHg));

    ui.labelSLP_hPa->setText(dashFixed(field(record, "Sea Level Pressure"), 1));
    ui.labelPA_m->setText(dashFixed(field(record, "Pressure Altitude"), 0, kMetresPerFoot));
    ui.labelDA_m->setText(dashFixed(field(record, "Density Altitude"), 0, kMetresPerFoot));
}

void showPrecipitationTotals(Ui_MainGUI& ui, const QJsonObject& record)
{
    using RecordDisplay::precipitation;
    ui.label_Precip1->setText(precipitation(field(record, "precip_total_1hr")));
    ui.label_Precip3->setText(precipitation(field(record, "precip_total_3hr")));
    ui.label_Precip6->setText(precipitation(field(record, "precip_total_6hr")));
    ui.label_Precip24->setText(precipitation(field(record, "precip_total_24hr")));
}

// Speed and directions of the wind and the gust; short directions get their leading zeros.
void showWind(Ui_MainGUI& ui, const QJsonObject& record, bool orva)
{
    using namespace RecordDisplay;
    const QString degree = QString::fromUtf8(kDegree);
    ui.labelWindSpeed->setText(
        dash(orva ? field(record, "Wind Speed Inst") : field(record, "Wind Speed")));
    const auto directionText = [](bool pad, const QString& reading, const QString& suffix) {
        return reading.isEmpty() ? QStringLiteral("-")
                                 : (pad ? threeDigit(reading) : reading) + suffix;
    };
    // The table follows the current direction's digits.
    const QString direction = field(record, "Wind Direction");
    const bool padDirection = countDigits(direction) < 3;
    ui.labelWindDirection->setText(directionText(padDirection, direction, QString()));
    ui.labelTableWindDirection->setText(
        directionText(padDirection, field(record, "Wind Direction 2minAvg"), degree));

    const QString gustDirection = field(record, "Gust Direction");
    qDebug().noquote() << QStringLiteral("Raw Gust Direction: ") + gustDirection;
    const bool padGust = countDigits(gustDirection) < 3;
    ui.labelGustDirection->setText(directionText(padGust, gustDirection, QString()));
    ui.labelTableMaxWindDirection->setText(directionText(padGust, gustDirection, degree));
}

// Directions of the wind extremes in three digits, the speeds of 10 minutes and 2 minutes with
// one decimal.
void showWindExtremes(Ui_MainGUI& ui, const QJsonObject& record)
{
    const auto padded = [&record](const char* key) {
        const QString reading = field(record, key);
        return reading.isEmpty() ? QStringLiteral("-") : RecordDisplay::threeDigit(reading);
    };
    const auto oneDecimal = [&record](const char* key) { return dashFixed(field(record, key), 1); };
    ui.labelMaxDirectionIn1Hour->setText(padded("Wind Direction Max 1 Hour"));
    ui.labelMinDirectionIn1Hour->setText(padded("Wind Direction Min 1 Hour"));
    ui.labelMinDirectionIn10Minutes->setText(padded("Wind Direction Min 10 Minutes"));
    ui.labelMinWindIn10Minutes->setText(oneDecimal("Wind Speed Min 10 Minutes"));
    ui.labelMaxDirectionIn10Minutes->setText(padded("Wind Direction Max 10 Minutes"));
    ui.labelMaxWindIn10Minutes->setText(oneDecimal("Wind Speed Max 10 Minutes"));
    ui.labelAvgDirectionIn2Minutes->setText(padded("Wind Direction 2minAvg"));
    ui.labelAvgWindIn2Minutes->setText(oneDecimal("Wind Speed"));
}

// Visibility in metres; an ORVA unit has a second sensor.
void showVisibility(Ui_MainGUI& ui, const QJsonObject& record, bool orva)
{
    using namespace RecordDisplay;
    const auto metres = [](const QString& miles) {
        return miles.isEmpty() ? QStringLiteral("-") : general6(miles, kMetresPerStatuteMile);
    };
    ui.labelVisibilityM->setText(metres(field(record, "Visibility")));
    if (orva) {
        const QString visibility1 = field(record, "Visibility1");
        ui.labelVisibilitySM_1->setText(dash(visibility1));
        ui.labelVisibilityM_1->setText(metres(visibility1));
    }
}

void showRflos(Ui_MainGUI& ui, const QJsonObject& record)
{
    const QString megahertz = QStringLiteral(" MHz");
    const QString transmit = field(record, "RFLOS Transmit Frequency") + megahertz;
    const QString receive = field(record, "RFLOS Receive Frequency") + megahertz;
    const QString band = field(record, "RFLOS Band");
    ui.labelRFTxf->setText(transmit);
    ui.labelRFRxf->setText(receive);
    ui.labelRFOperatingBand->setText(band);
    ui.label_table_rflos_txf->setText(transmit);
    ui.label_table_rflos_rxf->setText(receive);
    ui.label_table_rflos_band->setText(band);
}

} // namespace

void showCopiedValues(Ui_MainGUI& ui, const QJsonObject& record)
{
    for (const CopiedValue& row : kCopiedValues)
        (ui.*row.label)
            ->setText(RecordDisplay::dash(field(record, row.key), QString::fromUtf8(row.suffix)));
    for (const CopiedValue& row : kPlainValues)
        (ui.*row.label)->setText(field(record, row.key));
}

void clearCopiedValues(Ui_MainGUI& ui)
{
    for (const CopiedValue& row : kCopiedValues)
        (ui.*row.label)->clear();
    for (const CopiedValue& row : kPlainValues)
        (ui.*row.label)->clear();
}

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
    const auto value = [&record](const char* key) { return field(record, key); };
    // A missing or non-numeric value adds no trend point, and a report shown again from the
    // history adds none to the live charts.
    const bool storedRecord = showingStoredRecord;
    const auto plot = [this, storedRecord](TrendChart chart, const QString& reading) {
        double point = 0;
        if (!storedRecord && isNumber(reading, &point))
            plotCharts(chart, point);
    };
    const bool orva = deviceType == DeviceTypes::ORVA;
    const bool fahrenheitShown = temperatureUnits == TemperatureUnits::Fahrenheit;

    showBatteryStatus(*this, record);
    showCopiedValues(*ui, record);
    showTimeAndReport(*this, record);
    checkRecordAlerts(*this, record);
    showTemperatures(*ui, record, fahrenheitShown);
    showPressures(*ui, record);
    showPrecipitationTotals(*ui, record);
    showWind(*ui, record, orva);
    showWindExtremes(*ui, record);

    drawBaseWindPicture();
    const QString direction = value("Wind Direction");
    if (!runwayHidden)
        drawRunwayPicture(direction, value("Wind Speed Inst"));
    else if (double degrees = 0; isNumber(direction, &degrees))
        drawGustArrow(degrees); // no arrow without a readable direction

    showVisibility(*ui, record, orva);
    showLightningStatus(*this, record);
    showTamperStatus(*this, record);
    if (orva)
        showRflos(*ui, record);
    showConnectedUnit(*this);
    showStatusBarLines(*this, record);

    plot(HumidityChart, value("Humidity"));
    const QString temperature = value("Temperature");
    if (isNumber(temperature))
        plot(TemperatureChart,
             fahrenheitShown ? celsiusToFahrenheitText(temperature) : temperature);
    plot(PressureChart, value("Pressure"));
    plot(WindSpeedChart, value("Wind Speed"));
}

void MainGUI::increment_receive_error_count() {}
