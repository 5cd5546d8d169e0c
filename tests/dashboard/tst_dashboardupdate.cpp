// One weather record on the real main window: every value label of the dashboard and the data
// table, the status icons and lines, alert checks, trend points and the report history.

#include "tests/support/testsupport.h"

#include "alerts/alertstore.h"
#include "app/maingui.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "link/data_incoming.h"
#include "tests/support/recordtext.h"
#include "tests/support/scopedclock.h"

#include <QGraphicsLineItem>
#include <QGraphicsPolygonItem>
#include <QProgressBar>
#include <QtTest>

namespace
{

using Lines = QList<RecordLine>;
// "objectName=text" for each label.
using Expectations = QStringList;

const QString deg = QStringLiteral("\u00B0");

// An ORVA observation as the unit sends it.
const Lines kOrvaLines = {
    {"N", {"METAR", "0", "0", "0", "KXYZ", "1", "1"}},
    {"B", {"12.6", "10", "x", "E1", "y", "0"}},
    {"T", {"26/03/05,14", "07", "09"}},
    {"IR", {"a", "b", "c", "OV7731"}},
    {"WI", {"12.5", "45", "12", "40"}},
    {"GU", {"0", "0", "18", "50", "0", "0", "30", "60"}},
    {"TA", {"21.4"}},
    {"RH", {"45"}},
    {"BA", {"1013.25", "2992", "-1.6", "0", "2"}},
    {"EL", {"100"}},
    {"CL", {"1", "30", "9", "0", "0", "0", "0", "2", "6", "0", "0", "0", "0", "120"}},
    {"PW", {"0.2", "61", "x", "10.0", "10.0", "27"}},
    {"LT", {"3", "5", "9", "12", "12", "12"}},
    {"LA", {"45.5"}},
    {"LO", {"-73.6"}},
    {"OR", {"10", "1"}},
    {"SS", {"90", "1.5", "8", "270", "0", "0", "0", "0", "14.5"}},
    {"RA", {"433.5", "434.25", "1"}},
    {"PA", {"0", "0", "0", "0", "0", "0.12", "0.5", "1.0", "2.0"}},
};

// A BRQ observation at the same time.
const Lines kBrqLines = {
    {"T", {"26/03/05,14", "07", "09"}},
    {"B", {"4.9", "1", "x", "64", "y", "1"}},
    {"WI", {"8", "270"}},
    {"GU", {"12", "280"}},
    {"TA", {"18.5"}},
    {"RH", {"60"}},
    {"BA", {"1013.25", "2992"}},
    {"VI", {"10"}},
    {"CL", {"1", "366", "1036", "0", "0", "0", "0", "3", "8", "0", "0", "0", "0", "366"}},
    {"LD", {"12", "3", "--"}},
    {"LA", {"45.5"}},
    {"LO", {"-73.6"}},
};

const QString kOrvaMetar =
    QStringLiteral("METAR KXYZ 051407Z 04012G18KT 10SM -RA FZFG BKN003 "
                   "FEW010 21/09 A2992 RMK AO2 RAB07 SLP259 P0012 T02140090");
const QString kBrqMetar =
    QStringLiteral("METAR UNIT7 051407Z AUTO 27008G12KT 10SM LTG DSNT SCT012 "
                   "OVC034 19/11 A2992 RMK AO2 LTG DSNT SLPNO 45.5\u00B0 -73.6\u00B0");

// The record the link's builder makes of the unit's text.
QJsonObject builtRecord(DeviceTypes device, const QString& key = QString(), int field = 0,
                        const QString& value = QString())
{
    Lines lines = device == DeviceTypes::ORVA ? kOrvaLines : kBrqLines;
    for (RecordLine& line : lines)
        if (line.first == key)
            line.second[field] = value;
    data_incoming worker;
    worker.setDeviceTypeState(device);
    QJsonObject built;
    QObject::connect(&worker, &data_incoming::weather_data_received,
                     [&built](const QJsonObject& record) { built = record; });
    if (device == DeviceTypes::ORVA) {
        const QByteArray packet = "@0" + buildRecord(lines).toUtf8() + "~0000\r\n\r\n";
        worker.handleWeatherData(packet, '0', packet);
    } else {
        const QByteArray packet =
            (QStringLiteral("@I:UNIT7\r\n") + buildRecord(lines).mid(2)).toUtf8();
        worker.handleWeatherData(packet, '0', QByteArray());
    }
    return built;
}

Expectations orvaCommon()
{
    // clang-format off
    return {
        "labelTableVoltage=12.6", "labelTableMode=10 minute", "labelTableType=ORVA",
        "labelUTC=26-03-05 14:07:09", "labelDeviceTime=26-03-05 14:07:09",
        "labelTableDate=2026-03-05 14:07:09", "labelTableImei=OV7731",
        "labelTableRelativeHumidity=45 %", "labelRH=45", "labelTableAltimeter=29.92 inHg",
        "labelALSTG_inHg=29.92", "labelALSTG_hPa=1013.2", "labelStationPressure_inHg=29.921",
        "labelTableStationPressure=29.921 inHg", "labelStationPressure_hPa=1013.2",
        "label3hrChg_hPa=-1.6", "labelSLP_hPa=1026.0", "labelPA_ft=0", "labelPA_m=0",
        "labelTablePressureAltitude=0 ft", "labelDA_ft=910", "labelDA_m=277",
        "labelTableDensityAltitude=910 ft", "labelTableElevation=100 m",
        "labelTableOrientation=10°", "labelTableTilt=1°", "labelTableLat=45.5°",
        "labelTableLon=-73.6°", "label_Precip1=0.12", "label_Precip3=0.50", "label_Precip6=1.00",
        "label_Precip24=2.00", "labelWindSpeed=12.5", "labelTableWindSpeed=12 kt",
        "labelWindDirection=045", "labelTableWindDirection=040°", "labelGustSpeed=18",
        "labelTableMaxWindSpeed=18 kt", "labelGustDirection=050", "labelTableMaxWindDirection=050°",
        "labelMaxDirectionIn1Hour=045", "labelMaxWindIn1Hour=12", "labelMinDirectionIn1Hour=045",
        "labelMinWindIn1Hour=12", "labelMinDirectionIn10Minutes=045",
        "labelMinWindIn10Minutes=12.0", "labelMaxDirectionIn10Minutes=045",
        "labelMaxWindIn10Minutes=12.0", "labelAvgDirectionIn2Minutes=040",
        "labelAvgWindIn2Minutes=12.0", "labelX_Wind= 8.5", "labelX_Gust=13.8",
        "labelPresentWeather=Light Rain", "labelTablePresentWeather=Light Rain",
        "labelTableVisibility=6.21504 SM", "labelVisibilitySM=6.21504", "labelVisibilityM=10002.1",
        "labelVisibilitySM_1=6.21504", "labelVisibilityM_1=10002.1", "labelVerticalVisibility=0",
        "labelLayer1Height=300", "labelLayer2Height=1000", "labelLayer3Height=-",
        "labelLayer4Height=-", "labelLayer5Height=-", "labelLayer6Height=-",
        "labelTableCloudLayers=300, 1000 ft", "labelTableLowestBrokenLayer=400 ft",
        "lightning_strikecount_one=3", "lightning_strikecount_ten=5",
        "lightning_strikecount_sixty=9", "label_strikecount_onemin_distance=12",
        "label_strikecount_tenmin_distance=12", "label_strikecount_sixtymin_distance=12",
        "labelTableLightningFrequency=3", "labelTableLightningDistance=12",
        "labelTableVisContamination=-", "labelTableSigWaveDirection=270°",
        "labelTableSigWaveHeight=1.5°", "labelTableSigWavePeriod=8°",
        "labelTableSeaSurfaceTemp=14.5°", "labelTableCompassHeading=90°",
        "labelTableTampering=None", "labelRFTxf=433.5 MHz", "labelRFRxf=434.25 MHz",
        "labelRFOperatingBand=UHF", "label_table_rflos_txf=433.5 MHz",
        "label_table_rflos_rxf=434.25 MHz", "label_table_rflos_band=UHF",
        "labelConnectedTo=Connected To", "labelUnitType=ORVA"};
    // clang-format on
}

Expectations orvaCelsius()
{
    // clang-format off
    return {
        "labelCurrentTempC=21.4", "labelTableTemperature=21.4 °C",
        "label24hoursTemperatureMaxC=21.4", "label24hoursTemperatureMinC=21.4", "labelDewPointC=9",
        "labelTableDewPoint=9 °C", "label24hoursDewPointMaxC=9", "label24hoursDewPointMinC=9",
        "labelHeatIndexC=20.8", "labelTableHeatIndex=20.8 °C", "labelTableWindChillIndex=-",
        "labelWindChillC=-"};
    // clang-format on
}

Expectations orvaFahrenheit()
{
    // clang-format off
    return {
        "labelCurrentTempC=70.5", "labelTableTemperature=70.5 °F",
        "label24hoursTemperatureMaxC=70.5", "label24hoursTemperatureMinC=70.5",
        "labelDewPointC=48.2", "labelTableDewPoint=48.2 °F", "label24hoursDewPointMaxC=48.2",
        "label24hoursDewPointMinC=48.2", "labelHeatIndexC=69.4", "labelTableHeatIndex=69.4 °F",
        "labelTableWindChillIndex=-", "labelWindChillC=-"};
    // clang-format on
}

// A BRQ unit's dashboard shows the averaged wind speed.
Expectations brqCommon()
{
    // clang-format off
    return {
        "labelTableVoltage=4.9", "labelTableMode=1 Hour", "labelTableType=R200",
        "labelTableDate=2026-03-05 14:07:09", "labelTableImei=UNIT7",
        "labelTableRelativeHumidity=60 %", "labelRH=60", "labelTableAltimeter=29.92 inHg",
        "labelALSTG_hPa=1013.2", "labelStationPressure_inHg=29.921",
        "labelTableStationPressure=29.921 inHg", "labelStationPressure_hPa=1013.2",
        "label3hrChg_hPa=0.00", "labelSLP_hPa=-", "labelDA_ft=590", "labelDA_m=180",
        "labelTableDensityAltitude=590 ft", "labelTableElevation=-", "labelTableOrientation=-",
        "labelTableTilt=-", "labelTableLat=45.5°", "label_Precip1=", "label_Precip24=",
        "labelWindSpeed=8", "labelTableWindSpeed=8 kt", "labelWindDirection=270",
        "labelTableWindDirection=270°", "labelGustSpeed=12", "labelTableMaxWindSpeed=12 kt",
        "labelGustDirection=280", "labelTableMaxWindDirection=280°", "labelMaxDirectionIn1Hour=270",
        "labelMinWindIn10Minutes=8.0", "labelAvgWindIn2Minutes=8.0", "labelX_Wind= 8.0",
        "labelX_Gust=11.8", "labelPresentWeather=-", "labelTableVisibility=10 SM",
        "labelVisibilitySM=10", "labelVisibilityM=16093.4", "labelLayer1Height=1200",
        "labelLayer2Height=3400", "labelLayer3Height=-", "labelTableCloudLayers=1200, 3400 ft",
        "labelTableLowestBrokenLayer=1200 ft", "labelTableLightningFrequency=3",
        "label_strikecount_fivemin=3", "labelTableLightningDistance=12 NM",
        "label_strikecount_fivemin_distance=12", "labelTableCompassHeading=-",
        "labelTableTampering=None", "labelConnectedTo=Connected To", "labelUnitType=BRQ"};
    // clang-format on
}

Expectations brqCelsius()
{
    // clang-format off
    return {
        "labelCurrentTempC=18.5", "labelTableTemperature=18.5 °C", "labelDewPointC=10.6",
        "labelTableDewPoint=10.6 °C", "label24hoursDewPointMinC=10.6", "labelHeatIndexC=18.0",
        "labelTableHeatIndex=18.0 °C"};
    // clang-format on
}

Expectations brqFahrenheit()
{
    // clang-format off
    return {
        "labelCurrentTempC=65.3", "labelTableTemperature=65.3 °F",
        "label24hoursTemperatureMaxC=65.3", "labelDewPointC=51.1", "labelTableDewPoint=51.1 °F",
        "label24hoursDewPointMinC=51.1", "labelHeatIndexC=64.4", "labelTableHeatIndex=64.4 °F"};
    // clang-format on
}

// The parameters each record is checked for.
QStringList alertParameters()
{
    return {"Relative Humidity",  "Temperature",       "Dew Point",        "Heat Index",
            "Wind Chill",         "Altimeter",         "Station Pressure", "3Hr Pressure Change",
            "Sea Level Pressure", "Pressure Altitude", "Density Altitude", "Wind Speed",
            "Wind Direction",     "Gust Speed",        "Cross Wind Speed", "Visibility"};
}

bool showsPixmap(const QLabel* label, const QString& path)
{
    const QPixmap expected(path);
    const QPixmap shown = label->pixmap(Qt::ReturnByValue);
    if (expected.isNull())
        return shown.isNull();
    return shown.toImage() == expected.toImage();
}

} // namespace

Q_DECLARE_METATYPE(Expectations)

class TestDashboardUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void goldenRecord_data();
    void goldenRecord();
    void recordWithoutKeys_data();
    void recordWithoutKeys();
    void valueRules_data();
    void valueRules();
    void temperatureRules_data();
    void temperatureRules();
    void timestampWarning_data();
    void timestampWarning();

    void trendPointsOnlyForNumbers();
    void storedReportAddsNoTrendPoint();
    void reportHistory_data();
    void reportHistory();
    void alertChecks();
    void noValueShowsAsAnEmptyField_data();
    void noValueShowsAsAnEmptyField();

    void windPicture_data();
    void windPicture();

    void batteryIcon_data();
    void batteryIcon();
    void lightningIcon_data();
    void lightningIcon();
    void tamperIcon();
    void otherDeviceType();
    void rainAndCameraUntouched();
    void statusBar();

private:
    QLabel* label(const QString& name) const { return window->findChild<QLabel*>(name); }
    // The window is not shown: its charts wait, and what they will show is kept in the traces.
    int points(int chart) const { return window->trendTraces[chart].points.size(); }
    QPointF point(int chart, int i) const { return window->trendTraces[chart].points.at(i); }
    void checkLabels(const Expectations& expected);

    MainGUI* window = nullptr;
    ScopedClock* clock = nullptr;
};

void TestDashboardUpdate::initTestCase()
{
    initFormResources();
    clock = new ScopedClock(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 30), Qt::UTC));
    window = new MainGUI;
    // What the first page layout does for these parts.
    window->drawInitialCharts();
    window->ui->comboBoxViewMetar->addItem(QStringLiteral("Latest (Auto-Refresh)"));
    window->imageProgressBar = new QProgressBar(window);
}

void TestDashboardUpdate::init()
{
    window->deviceType = DeviceTypes::ORVA;
    window->temperatureUnits = TemperatureUnits::Celsius;
    window->temperatureUnitText = deg + "C";
    window->showingStoredRecord = false;
    window->runwayHidden = false;
    window->runwayDirection = 0;
    window->alertActive.clear();
    window->alertThresholds.clear();
    window->alertLastRaised.clear();
    window->ui->textEdit_ActiveAlerts->clear();
    window->connectionStatusText.clear();
    for (TrendTrace& trace : window->trendTraces)
        trace.clear();
}

void TestDashboardUpdate::cleanupTestCase()
{
    delete window;
    delete clock;
}

void TestDashboardUpdate::checkLabels(const Expectations& expected)
{
    for (const QString& row : expected) {
        const QString name = row.section(QLatin1Char('='), 0, 0);
        const QString text = row.section(QLatin1Char('='), 1);
        QLabel* l = label(name);
        QVERIFY2(l, qPrintable(name));
        QVERIFY2(l->text() == text, qPrintable(name + ": \"" + l->text() + "\""));
    }
}

void TestDashboardUpdate::goldenRecord_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<Expectations>("expected");
    QTest::addColumn<QVector<double>>("trend");

    QTest::newRow("ORVA Celsius") << int(DeviceTypes::ORVA) << false << orvaCommon() + orvaCelsius()
                                  << QVector<double>{12, 21.4, 1013.25, 45};
    QTest::newRow("ORVA Fahrenheit")
        << int(DeviceTypes::ORVA) << true << orvaCommon() + orvaFahrenheit()
        << QVector<double>{12, 70.5, 1013.25, 45};
    QTest::newRow("BRQ Celsius") << int(DeviceTypes::BRQ) << false << brqCommon() + brqCelsius()
                                 << QVector<double>{8, 18.5, 1013.25, 60};
    QTest::newRow("BRQ Fahrenheit")
        << int(DeviceTypes::BRQ) << true << brqCommon() + brqFahrenheit()
        << QVector<double>{8, 65.3, 1013.25, 60};
}

void TestDashboardUpdate::goldenRecord()
{
    QFETCH(int, device);
    QFETCH(bool, fahrenheit);
    QFETCH(Expectations, expected);
    QFETCH(QVector<double>, trend);

    const QJsonObject record = builtRecord(DeviceTypes(device));
    QVERIFY(!record.isEmpty());
    window->deviceType = DeviceTypes(device);
    window->temperatureUnits =
        fahrenheit ? TemperatureUnits::Fahrenheit : TemperatureUnits::Celsius;
    // The other family's panel was on the command page before this record.
    window->ui->stackedWidget_CommandConfiguration->setCurrentIndex(
        device == int(DeviceTypes::ORVA) ? 0 : 1);
    window->display_weather_data(record);

    checkLabels(expected);
    QCOMPARE(label("label_Metar")->text(),
             device == int(DeviceTypes::ORVA) ? kOrvaMetar : kBrqMetar);
    QVERIFY(!window->ui->label_TimestampWarning->isVisibleTo(window));
    QCOMPARE(window->ui->stackedWidget_CommandConfiguration->currentIndex(),
             device == int(DeviceTypes::ORVA) ? 1 : 0);
    for (int chart = 0; chart < TrendChartCount; ++chart) {
        QCOMPARE(points(chart), 1);
        QCOMPARE(point(chart, 0).y(), trend[chart]);
        QCOMPARE(qint64(point(chart, 0).x()), Clock::now().toMSecsSinceEpoch());
    }
}

void TestDashboardUpdate::recordWithoutKeys_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QString>("imei");
    QTest::newRow("ORVA") << int(DeviceTypes::ORVA) << "Iridium Module Not Found";
    QTest::newRow("BRQ") << int(DeviceTypes::BRQ) << "-";
}

void TestDashboardUpdate::recordWithoutKeys()
{
    QFETCH(int, device);
    QFETCH(QString, imei);
    window->deviceType = DeviceTypes(device);
    const int historyItems = window->ui->comboBoxViewMetar->count();
    window->display_weather_data(QJsonObject());

    QCOMPARE(label("labelTableImei")->text(), imei);
    const QStringList dashed = {
        "labelTableVoltage", "labelTableMode", "labelTableType", "labelTableDate",
        "labelTableRelativeHumidity", "labelRH", "labelCurrentTempC", "labelTableTemperature",
        "label24hoursTemperatureMaxC", "label24hoursTemperatureMinC", "labelDewPointC",
        "labelTableDewPoint", "labelHeatIndexC", "labelTableWindChillIndex", "labelWindChillC",
        "labelTableAltimeter", "labelALSTG_inHg", "labelALSTG_hPa", "labelSLP_hPa", "labelPA_ft",
        "labelPA_m", "labelTablePressureAltitude", "labelDA_m", "labelTableElevation",
        "labelTableLat", "labelWindSpeed", "labelTableWindSpeed", "labelWindDirection",
        "labelTableWindDirection", "labelGustSpeed", "labelGustDirection",
        "labelTableMaxWindDirection", "labelMaxDirectionIn1Hour", "labelMinWindIn10Minutes",
        "labelAvgWindIn2Minutes", "labelX_Wind", "labelX_Gust", "labelPresentWeather",
        "labelTableVisibility", "labelVisibilityM", "labelLayer1Height", "labelLayer6Height",
        "labelTableCloudLayers", "labelTableLowestBrokenLayer", "labelTableVisContamination",
        "labelTableSigWaveHeight", "labelTableCompassHeading", "labelTableLightningFrequency",
        "labelTableLightningDistance",
        // No pressure is no pressure: not 0.000 inHg.
        "labelStationPressure_inHg", "labelTableStationPressure", "labelStationPressure_hPa"};
    for (const QString& name : dashed)
        QVERIFY2(label(name)->text() == "-", qPrintable(name + ": " + label(name)->text()));
    for (const char* name : {"labelUTC", "labelDeviceTime", "label_Metar", "label3hrChg_hPa",
                             "labelVerticalVisibility", "label_Precip1", "label_Precip3",
                             "label_Precip6", "label_Precip24"})
        QVERIFY2(label(name)->text().isEmpty(), name);
    QVERIFY(!window->ui->label_TimestampWarning->isVisibleTo(window));
    QCOMPARE(window->ui->comboBoxViewMetar->count(), historyItems);
    // Nothing was measured, so nothing is plotted.
    for (int chart = 0; chart < TrendChartCount; ++chart)
        QCOMPARE(points(chart), 0);
}

void TestDashboardUpdate::valueRules_data()
{
    QTest::addColumn<QJsonObject>("record");
    QTest::addColumn<Expectations>("expected");

    QTest::newRow("altimeter 29.92")
        << QJsonObject{{"Altimeter", "29.92"}}
        << Expectations{"labelTableAltimeter=29.92 inHg", "labelALSTG_inHg=29.92",
                        "labelALSTG_hPa=1013.2"};
    QTest::newRow("station pressure -")
        << QJsonObject{{"Station Pressure", "-"}}
        << Expectations{"labelStationPressure_inHg=-", "labelTableStationPressure=-",
                        "labelStationPressure_hPa=-"};
    QTest::newRow("station pressure 29.1")
        << QJsonObject{{"Station Pressure", "29.1"}}
        << Expectations{"labelStationPressure_inHg=29.100", "labelTableStationPressure=29.100 inHg",
                        "labelStationPressure_hPa=985.4"};
    QTest::newRow("pressure altitude 1000")
        << QJsonObject{{"Pressure Altitude", "1000"}, {"Density Altitude", "-150"}}
        << Expectations{"labelPA_ft=1000", "labelPA_m=305", "labelTablePressureAltitude=1000 ft",
                        "labelDA_m=-46"};
    QTest::newRow("stored dashes shown as they are")
        << QJsonObject{{"3 Hr Pressure", "-"},
                       {"Cloud Vertical Visibility", "-"},
                       {"Cloud Layer 2", "-"}}
        << Expectations{"label3hrChg_hPa=-", "labelVerticalVisibility=-", "labelLayer2Height=-"};
    QTest::newRow("visibility 1") << QJsonObject{{"Visibility", "1"}, {"Visibility1", "0.25"}}
                                  << Expectations{"labelTableVisibility=1 SM",
                                                  "labelVisibilitySM=1", "labelVisibilityM=1609.34",
                                                  "labelVisibilitySM_1=0.25",
                                                  "labelVisibilityM_1=402.335"};
    QTest::newRow("precipitation 25")
        << QJsonObject{{"precip_total_1hr", "25"}, {"precip_total_3hr", "0"}}
        << Expectations{"label_Precip1=0.25", "label_Precip3=0.00"};
    QTest::newRow("short directions padded")
        << QJsonObject{{"Wind Direction", "5"}, {"Wind Direction 2minAvg", "7"}}
        << Expectations{"labelWindDirection=005", "labelTableWindDirection=007°",
                        "labelAvgDirectionIn2Minutes=007"};
    QTest::newRow("three-digit direction keeps table's own text")
        << QJsonObject{{"Wind Direction", "270"}, {"Wind Direction 2minAvg", "90"}}
        << Expectations{"labelWindDirection=270", "labelTableWindDirection=90°",
                        "labelAvgDirectionIn2Minutes=090"};
    // Whether a direction is padded follows its count of digit characters, not its value.
    QTest::newRow("gust direction 4.5")
        << QJsonObject{{"Gust Direction", "4.5"}}
        << Expectations{"labelGustDirection=005", "labelTableMaxWindDirection=005°"};
    QTest::newRow("gust direction 45.6")
        << QJsonObject{{"Gust Direction", "45.6"}}
        << Expectations{"labelGustDirection=45.6", "labelTableMaxWindDirection=45.6°"};
    QTest::newRow("window speeds")
        << QJsonObject{{"Wind Speed Min 10 Minutes", "4"},
                       {"Wind Speed Max 1 Hour", "12"},
                       {"Wind Direction Min 10 Minutes", "3.5"}}
        << Expectations{"labelMinWindIn10Minutes=4.0", "labelMaxWindIn1Hour=12",
                        "labelMinDirectionIn10Minutes=004"};
    QTest::newRow("ORVA speed is the instant one")
        << QJsonObject{{"Wind Speed Inst", "14.2"}, {"Wind Speed", "12"}}
        << Expectations{"labelWindSpeed=14.2", "labelTableWindSpeed=12 kt"};
    QTest::newRow("radio without frequency")
        << QJsonObject{{"RFLOS Band", "VHF"}}
        << Expectations{"labelRFTxf= MHz", "label_table_rflos_txf= MHz", "labelRFRxf= MHz",
                        "labelRFOperatingBand=VHF", "label_table_rflos_band=VHF"};
    QTest::newRow("degree suffixes")
        << QJsonObject{{"Sig Wave Height", "2"}, {"Sea Surface Temp", "11"}}
        << Expectations{"labelTableSigWaveHeight=2°", "labelTableSeaSurfaceTemp=11°"};
}

void TestDashboardUpdate::valueRules()
{
    QFETCH(QJsonObject, record);
    QFETCH(Expectations, expected);
    window->display_weather_data(record);
    checkLabels(expected);
}

void TestDashboardUpdate::temperatureRules_data()
{
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<QJsonObject>("record");
    QTest::addColumn<Expectations>("expected");
    QTest::addColumn<int>("trendPoints");
    QTest::addColumn<double>("trendValue");

    QTest::newRow("F 21.5") << true << QJsonObject{{"Temperature", "21.5"}}
                            << Expectations{"labelCurrentTempC=70.7",
                                            "labelTableTemperature=70.7 °F"}
                            << 1 << 70.7;
    QTest::newRow("F empty") << true << QJsonObject{{"Temperature", ""}}
                             << Expectations{"labelCurrentTempC=-", "labelTableTemperature=-"} << 0
                             << 0.0;
    QTest::newRow("C empty") << false << QJsonObject{{"Temperature", ""}}
                             << Expectations{"labelCurrentTempC=-"} << 0 << 0.0;
    QTest::newRow("C not a number") << false << QJsonObject{{"Temperature", "n/a"}}
                                    << Expectations{"labelCurrentTempC=n/a"} << 0 << 0.0;
    QTest::newRow("F extremes not yet known")
        << true
        << QJsonObject{{"Temperature 24 Hrs Max", "-"},
                       {"Temperature 24 Hrs Min", "10"},
                       {"Dew Point 24 Hrs Max", ""},
                       {"Dew Point 24 Hrs Min", "3"}}
        << Expectations{"label24hoursTemperatureMaxC=-", "label24hoursTemperatureMinC=-",
                        "label24hoursDewPointMaxC=-", "label24hoursDewPointMinC=-"}
        << 0 << 0.0;
    QTest::newRow("F minimum not yet known")
        << true << QJsonObject{{"Temperature 24 Hrs Max", "10"}, {"Temperature 24 Hrs Min", "-"}}
        << Expectations{"label24hoursTemperatureMaxC=50.0", "label24hoursTemperatureMinC=-"} << 0
        << 0.0;
    QTest::newRow("C extremes as stored")
        << false << QJsonObject{{"Temperature 24 Hrs Max", "-"}, {"Dew Point 24 Hrs Min", "-2"}}
        << Expectations{"label24hoursTemperatureMaxC=-", "label24hoursTemperatureMinC=-",
                        "label24hoursDewPointMinC=-2"}
        << 0 << 0.0;
    QTest::newRow("F wind chill and heat index")
        << true << QJsonObject{{"Wind Chill", "-10"}, {"Heat Index", "30"}}
        << Expectations{"labelTableWindChillIndex=14.0 °F", "labelWindChillC=14.0",
                        "labelHeatIndexC=86.0", "labelTableHeatIndex=86.0 °F"}
        << 0 << 0.0;
}

void TestDashboardUpdate::temperatureRules()
{
    QFETCH(bool, fahrenheit);
    QFETCH(QJsonObject, record);
    QFETCH(Expectations, expected);
    QFETCH(int, trendPoints);
    QFETCH(double, trendValue);

    window->temperatureUnits =
        fahrenheit ? TemperatureUnits::Fahrenheit : TemperatureUnits::Celsius;
    window->display_weather_data(record);
    checkLabels(expected);
    QCOMPARE(points(TemperatureChart), trendPoints);
    if (trendPoints)
        QCOMPARE(point(TemperatureChart, 0).y(), trendValue);
}

void TestDashboardUpdate::timestampWarning_data()
{
    QTest::addColumn<QString>("timestamp");
    QTest::addColumn<bool>("shown");
    QTest::newRow("clock never set") << "2000-01-01 00:00:05" << true;
    QTest::newRow("set clock") << "2026-03-05 14:07:09" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("2000 later in the text") << "1999-12-31 2000" << false;
}

void TestDashboardUpdate::timestampWarning()
{
    QFETCH(QString, timestamp);
    QFETCH(bool, shown);
    window->ui->label_TimestampWarning->setVisible(!shown);
    window->display_weather_data(QJsonObject{{"Timestamp", timestamp}});
    QCOMPARE(window->ui->label_TimestampWarning->isVisibleTo(window), shown);
}

void TestDashboardUpdate::trendPointsOnlyForNumbers()
{
    window->display_weather_data(QJsonObject{
        {"Wind Speed", "7"}, {"Temperature", "-3.5"}, {"Pressure", ""}, {"Humidity", "abc"}});
    QCOMPARE(points(WindSpeedChart), 1);
    QCOMPARE(points(TemperatureChart), 1);
    QCOMPARE(point(TemperatureChart, 0).y(), -3.5);
    QCOMPARE(points(PressureChart), 0);
    QCOMPARE(points(HumidityChart), 0);

    clock->advanceSecs(60);
    window->display_weather_data(QJsonObject{{"Wind Speed", "9"}, {"Pressure", "1001.5"}});
    QCOMPARE(points(WindSpeedChart), 2);
    QCOMPARE(points(PressureChart), 1);
    QCOMPARE(point(WindSpeedChart, 1).y(), 9.0);
    QCOMPARE(qint64(point(WindSpeedChart, 1).x()) - qint64(point(WindSpeedChart, 0).x()),
             qint64(60000));
}

void TestDashboardUpdate::storedReportAddsNoTrendPoint()
{
    window->display_weather_data(builtRecord(DeviceTypes::ORVA));
    QCOMPARE(points(WindSpeedChart), 1);

    // The history shows an older report: labels follow it, the live charts do not.
    window->showingStoredRecord = true;
    window->display_weather_data(QJsonObject{
        {"Wind Speed", "30"}, {"Temperature", "5"}, {"Pressure", "990"}, {"Humidity", "90"}});
    QCOMPARE(label("labelTableWindSpeed")->text(), QStringLiteral("30 kt"));
    QVERIFY(!window->showingStoredRecord);
    for (int chart = 0; chart < TrendChartCount; ++chart)
        QCOMPARE(points(chart), 1);
    QCOMPARE(point(WindSpeedChart, 0).y(), 12.0);
}

void TestDashboardUpdate::reportHistory_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QJsonObject>("record");
    QTest::addColumn<int>("added");

    QTest::newRow("live SPECI") << false
                                << QJsonObject{{"METAR", "SPECI KXYZ 051410Z 36005KT"},
                                               {"Obs SPECI", true}}
                                << 1;
    QTest::newRow("live METAR") << false
                                << QJsonObject{{"METAR", "METAR KXYZ 051500Z 36006KT"},
                                               {"Obs METAR", true},
                                               {"Obs SPECI", false}}
                                << 1;
    QTest::newRow("stored METAR") << true
                                  << QJsonObject{{"METAR", "METAR KXYZ 051600Z 36007KT"},
                                                 {"Obs METAR", true}}
                                  << 0;
    QTest::newRow("flag as text is not a report")
        << false << QJsonObject{{"METAR", "METAR KXYZ 051700Z 36008KT"}, {"Obs METAR", "true"}}
        << 0;
    QTest::newRow("plain record") << false << QJsonObject{{"METAR", "METAR KXYZ 051800Z 36009KT"}}
                                  << 0;
}

void TestDashboardUpdate::reportHistory()
{
    QFETCH(bool, stored);
    QFETCH(QJsonObject, record);
    QFETCH(int, added);
    const int before = window->ui->comboBoxViewMetar->count();
    window->showingStoredRecord = stored;
    window->display_weather_data(record);
    QCOMPARE(window->ui->comboBoxViewMetar->count(), before + added);
    QVERIFY(!window->showingStoredRecord);
    QCOMPARE(label("label_Metar")->text(), record.value("METAR").toString());
}

void TestDashboardUpdate::alertChecks()
{
    // Every per-record parameter is looked up, and so enters the map as inactive.
    window->display_weather_data(QJsonObject());
    QStringList keys = window->alertActive.keys();
    QStringList expected = alertParameters();
    keys.sort();
    expected.sort();
    QCOMPARE(keys, expected);
    for (bool active : qAsConst(window->alertActive))
        QVERIFY(!active);

    // An active alert is checked with the record's own text: Celsius, which the alert shows in
    // the display unit.
    window->temperatureUnits = TemperatureUnits::Fahrenheit;
    window->alertActive["Temperature"] = true;
    window->alertThresholds[alertStoreKey("Temperature", kAlertGreaterThan)] = "0";
    window->display_weather_data(QJsonObject{{"Temperature", "21.5"}});
    QVERIFY2(window->ui->textEdit_ActiveAlerts->toPlainText().contains("Temperature 70.7"),
             qPrintable(window->ui->textEdit_ActiveAlerts->toPlainText()));
    QVERIFY(window->alertLastRaised.value("Temperature").isValid());

    window->alertActive["Cross Wind Speed"] = true;
    window->alertThresholds[alertStoreKey("Cross Wind Speed", kAlertGreaterThan)] = "5";
    window->display_weather_data(QJsonObject{{"X Wind", " 8.5"}});
    QVERIFY(window->alertLastRaised.value("Cross Wind Speed").isValid());

    // No value, or one that is not a number, is never compared with a threshold.
    for (const QString& reading : {QString(), QStringLiteral("-"), QStringLiteral("n/a")}) {
        window->alertLastRaised.clear();
        window->ui->textEdit_ActiveAlerts->clear();
        window->display_weather_data(QJsonObject{{"X Wind", reading}});
        QVERIFY2(window->ui->textEdit_ActiveAlerts->toPlainText().isEmpty(), qPrintable(reading));
        QVERIFY(!window->alertLastRaised.value("Cross Wind Speed").isValid());
    }
}

void TestDashboardUpdate::noValueShowsAsAnEmptyField_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("noValue");

    const int orva = int(DeviceTypes::ORVA);
    const int brq = int(DeviceTypes::BRQ);
    QTest::newRow("ORVA temperature") << orva << "TA" << 0 << "-1000";
    QTest::newRow("ORVA humidity") << orva << "RH" << 0 << "-1000.0";
    QTest::newRow("ORVA wind speed") << orva << "WI" << 2 << "-1000.00";
    QTest::newRow("ORVA gust speed") << orva << "GU" << 2 << "-1000";
    QTest::newRow("ORVA station pressure") << orva << "BA" << 0 << "-1000";
    QTest::newRow("ORVA visibility") << orva << "PW" << 4 << "-1000.0";
    QTest::newRow("BRQ wind direction") << brq << "WI" << 1 << "-1000";
    QTest::newRow("BRQ altimeter") << brq << "BA" << 1 << "-1000";
    QTest::newRow("BRQ station pressure") << brq << "BA" << 0 << "-1000.00";
    QTest::newRow("BRQ visibility") << brq << "VI" << 0 << "-1000";
    QTest::newRow("ORVA temperature after a blank") << orva << "TA" << 0 << " -1000";
    QTest::newRow("BRQ humidity after a tab") << brq << "RH" << 0 << "\t-1000.0";
}

// Labels, trend points and alerts of a record whose field holds the unit's no-value are those of
// the same record with the field empty.
void TestDashboardUpdate::noValueShowsAsAnEmptyField()
{
    QFETCH(int, device);
    QFETCH(QString, key);
    QFETCH(int, field);
    QFETCH(QString, noValue);

    const auto shown = [&](const QString& value) {
        init();
        window->deviceType = DeviceTypes(device);
        for (const QString& parameter : alertParameters()) {
            window->alertActive[parameter] = true;
            window->alertThresholds[alertStoreKey(parameter, kAlertLessThan)] = "-500";
        }
        window->display_weather_data(builtRecord(DeviceTypes(device), key, field, value));
        QStringList seen;
        for (const QLabel* l : window->findChildren<QLabel*>())
            seen << l->objectName() + "=" + l->text();
        for (int chart = 0; chart < TrendChartCount; ++chart)
            for (const QPointF& p : window->trendTraces[chart].points)
                seen << QStringLiteral("chart %1: %2").arg(chart).arg(p.y());
        seen << window->ui->textEdit_ActiveAlerts->toPlainText();
        return seen;
    };
    const QStringList empty = shown(QString());
    const QStringList seen = shown(noValue);
    QCOMPARE(seen.size(), empty.size());
    for (int i = 0; i < seen.size(); ++i)
        QVERIFY2(seen.at(i) == empty.at(i), qPrintable(seen.at(i) + " instead of " + empty.at(i)));
}

void TestDashboardUpdate::windPicture_data()
{
    QTest::addColumn<bool>("runwayHidden");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<int>("items");
    QTest::addColumn<QPointF>("arrowEnd");

    QTest::newRow("runway, no direction") << false << "" << 2 << QPointF();
    QTest::newRow("runway, direction 0") << false << "0" << 2 << QPointF();
    QTest::newRow("runway, not a number") << false << "calm" << 2 << QPointF();
    QTest::newRow("runway, direction 90") << false << "90" << 4 << QPointF(233, 124);
    QTest::newRow("hidden, no direction") << true << "" << 0 << QPointF();
    QTest::newRow("hidden, not a number") << true << "calm" << 0 << QPointF();
    QTest::newRow("hidden, direction 0") << true << "0" << 2 << QPointF(134, 25);
    QTest::newRow("hidden, direction 180") << true << "180" << 2 << QPointF(134, 223);
}

void TestDashboardUpdate::windPicture()
{
    QFETCH(bool, runwayHidden);
    QFETCH(QString, direction);
    QFETCH(int, items);
    QFETCH(QPointF, arrowEnd);

    window->runwayHidden = runwayHidden;
    window->drawGustArrow(45); // left over from an earlier record
    window->display_weather_data(QJsonObject{{"Wind Direction", direction}});
    QCOMPARE(window->ui->graphicsViewWind->scene(), &window->windScene);
    const QList<QGraphicsItem*> shown = window->windScene.items(Qt::AscendingOrder);
    QCOMPARE(shown.size(), items);
    if (!arrowEnd.isNull()) {
        auto* line = qgraphicsitem_cast<QGraphicsLineItem*>(shown.at(items - 2));
        QVERIFY(line);
        QCOMPARE(line->line().p1(), QPointF(134, 124));
        QVERIFY(qAbs(line->line().p2().x() - arrowEnd.x()) < 1e-9);
        QVERIFY(qAbs(line->line().p2().y() - arrowEnd.y()) < 1e-9);
    }
}

void TestDashboardUpdate::batteryIcon_data()
{
    QTest::addColumn<QString>("voltage");
    QTest::addColumn<QString>("pixmap");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("5.0") << "5.0"
                         << ":/resources/battery-good-grey.png"
                         << "5.0 V (Excellent)" << true;
    QTest::newRow("4.8") << "4.8"
                         << ":/resources/battery-ok-grey.png"
                         << "4.8 V (OK)" << true;
    QTest::newRow("4.79") << "4.79"
                          << ":/resources/battery-low-grey.png"
                          << "4.79 V (Poor)" << true;
    QTest::newRow("not a number") << "?"
                                  << ":/resources/battery-low-grey.png"
                                  << "? V (Poor)" << true;
    QTest::newRow("empty") << ""
                           << ":/resources/battery-none-grey.png"
                           << "No Battery Value" << false;
}

void TestDashboardUpdate::batteryIcon()
{
    QFETCH(QString, voltage);
    QFETCH(QString, pixmap);
    QFETCH(QString, toolTip);
    QFETCH(bool, enabled);
    window->display_weather_data(QJsonObject{{"Voltage", voltage}});
    QVERIFY(showsPixmap(window->ui->labelBattery, pixmap));
    QCOMPARE(window->ui->labelBattery->toolTip(), toolTip);
    QCOMPARE(window->ui->label_StatusBattery->toolTip(), toolTip);
    QCOMPARE(window->ui->label_StatusBattery->isEnabled(), enabled);
    QVERIFY(window->ui->labelBattery->isEnabled());
}

void TestDashboardUpdate::lightningIcon_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QJsonObject>("record");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<Expectations>("counters");

    const QString off = QStringLiteral("No Lightning Detected");
    QTest::newRow("BRQ strikes") << int(DeviceTypes::BRQ)
                                 << QJsonObject{{"Lightning Frequency", "3"},
                                                {"Lightning Distance", "12"}}
                                 << true << "Lighting Frequency: 3"
                                 << Expectations{"labelTableLightningFrequency=3",
                                                 "label_strikecount_fivemin=3",
                                                 "labelTableLightningDistance=12 NM",
                                                 "label_strikecount_fivemin_distance=12"};
    QTest::newRow("BRQ none")
        << int(DeviceTypes::BRQ)
        << QJsonObject{{"Lightning Frequency", "0"}, {"Lightning Distance", ""}} << false << off
        << Expectations{"labelTableLightningFrequency=-", "label_strikecount_fivemin=-",
                        "labelTableLightningDistance=-", "label_strikecount_fivemin_distance=-"};
    QTest::newRow("ORVA decides by ten-minute strikes")
        << int(DeviceTypes::ORVA)
        << QJsonObject{{"Lightning Frequency", "2"}, {"Lightning Strikes 10 Min", "0"}} << false
        << off << Expectations{"lightning_strikecount_ten=0"};
    QTest::newRow("ORVA strikes") << int(DeviceTypes::ORVA)
                                  << QJsonObject{{"Lightning Strikes 10 Min", "4"},
                                                 {"Lightning Strikes 1 Min", "1"},
                                                 {"Lightning Min Distance 1 Min", "7"}}
                                  << true << "Lighting Detected"
                                  << Expectations{"lightning_strikecount_ten=4",
                                                  "lightning_strikecount_one=1",
                                                  "labelTableLightningFrequency=1",
                                                  "labelTableLightningDistance=7"};
    QTest::newRow("ORVA without lightning keys")
        << int(DeviceTypes::ORVA) << QJsonObject() << false << off
        << Expectations{
               "lightning_strikecount_one=-",         "lightning_strikecount_ten=-",
               "lightning_strikecount_sixty=-",       "label_strikecount_onemin_distance=-",
               "label_strikecount_tenmin_distance=-", "label_strikecount_sixtymin_distance=-",
               "labelTableLightningFrequency=-",      "labelTableLightningDistance=-"};
}

void TestDashboardUpdate::lightningIcon()
{
    QFETCH(int, device);
    QFETCH(QJsonObject, record);
    QFETCH(bool, on);
    QFETCH(QString, toolTip);
    QFETCH(Expectations, counters);
    window->deviceType = DeviceTypes(device);
    window->display_weather_data(record);
    QVERIFY(showsPixmap(window->ui->labelLightning, on ? ":/resources/lightning-on.png"
                                                       : ":/resources/lightning-off-grey.png"));
    QCOMPARE(window->ui->labelLightning->toolTip(), toolTip);
    QCOMPARE(window->ui->label_StatusLightning->toolTip(), toolTip);
    QCOMPARE(window->ui->label_StatusLightning->isEnabled(), on);
    checkLabels(counters);
}

void TestDashboardUpdate::tamperIcon()
{
    const QString message = QStringLiteral("Unit Moved: Latitude 45.5 to 45.6");
    window->display_weather_data(QJsonObject{{"Tampering", message}});
    QVERIFY(showsPixmap(window->ui->labelWarning, ":/resources/tampering-on.png"));
    QCOMPARE(window->ui->labelWarning->toolTip(), message);
    QCOMPARE(window->ui->label_StatusWarning->toolTip(), message);
    QCOMPARE(window->ui->labelTableTampering->text(), QStringLiteral("Yes"));
    QCOMPARE(window->ui->labelTableTampering->toolTip(), message);
    QVERIFY(window->ui->label_StatusWarning->isEnabled());
    QVERIFY(window->ui->pushButton_ClearTamperingWarning->isVisibleTo(window));

    window->display_weather_data(QJsonObject{{"Tampering", ""}});
    QVERIFY(showsPixmap(window->ui->labelWarning, ":/resources/tampering-off-grey.png"));
    QCOMPARE(window->ui->labelWarning->toolTip(), QStringLiteral("No Tampering Detected"));
    QCOMPARE(window->ui->label_StatusWarning->toolTip(), QStringLiteral("No Tampering Detected"));
    QCOMPARE(window->ui->labelTableTampering->text(), QStringLiteral("None"));
    QCOMPARE(window->ui->labelTableTampering->toolTip(), QStringLiteral("None"));
    QVERIFY(!window->ui->label_StatusWarning->isEnabled());
    QVERIFY(!window->ui->pushButton_ClearTamperingWarning->isVisibleTo(window));
}

void TestDashboardUpdate::otherDeviceType()
{
    window->deviceType = DeviceTypes::BRQ;
    window->display_weather_data(QJsonObject{{"Lightning Frequency", "3"}});
    window->deviceType = DeviceTypes::None;
    label("label_strikecount_fivemin")->setText("kept");
    label("lightning_strikecount_one")->setText("kept");
    label("labelVisibilitySM_1")->setText("kept");
    label("labelRFTxf")->setText("kept");
    window->display_weather_data(QJsonObject{{"Lightning Frequency", "5"},
                                             {"Lightning Strikes 1 Min", "2"},
                                             {"Visibility1", "3"},
                                             {"Wind Speed", "6"},
                                             {"Wind Speed Inst", "7"},
                                             {"RFLOS Transmit Frequency", "433"}});
    QCOMPARE(label("labelConnectedTo")->text(), QString());
    QCOMPARE(label("labelUnitType")->text(), QString());
    QCOMPARE(window->ui->stackedWidget_CommandConfiguration->currentIndex(), 0);
    QCOMPARE(window->ui->labelLightning->toolTip(), QStringLiteral("Lighting Frequency: 5"));
    // Rows tied to a family are left alone; rows without a condition are written.
    for (const char* name : {"label_strikecount_fivemin", "lightning_strikecount_one",
                             "labelVisibilitySM_1", "labelRFTxf"})
        QCOMPARE(label(name)->text(), QStringLiteral("kept"));
    QCOMPARE(label("labelWindSpeed")->text(), QStringLiteral("6"));
    QCOMPARE(label("labelTableImei")->text(), QStringLiteral("-"));
}

void TestDashboardUpdate::rainAndCameraUntouched()
{
    window->ui->labelRain->setToolTip("rain as before");
    window->ui->label_StatusCamera->setToolTip("camera as before");
    window->ui->label_StatusRain->setEnabled(true);
    window->display_weather_data(builtRecord(DeviceTypes::ORVA));
    QCOMPARE(window->ui->labelRain->toolTip(), QStringLiteral("rain as before"));
    QCOMPARE(window->ui->label_StatusCamera->toolTip(), QStringLiteral("camera as before"));
    QVERIFY(window->ui->label_StatusRain->isEnabled());
}

void TestDashboardUpdate::statusBar()
{
    window->imageProgressBar->show();
    window->display_weather_data(QJsonObject{{"IMEI", "OV7731"}, {"Serial Port", "/dev/ttyS0"}});
    QCOMPARE(window->statusLabel.text(), QStringLiteral("Connected to OV7731 (/dev/ttyS0)"));
    QVERIFY(!window->imageProgressBar->isVisibleTo(window));
    QCOMPARE(window->connectionStatusLabel.text(), QString());

    window->connectionStatusText = QStringLiteral("Received Weather Data");
    window->display_weather_data(QJsonObject{{"Serial Port", "COM4"}});
    QCOMPARE(window->statusLabel.text(), QStringLiteral("Connected to  (COM4)"));
    QCOMPARE(window->connectionStatusLabel.text(), QStringLiteral("Received Weather Data"));
}

QTEST_MAIN(TestDashboardUpdate)
#include "tst_dashboardupdate.moc"
