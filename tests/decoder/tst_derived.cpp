#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

#include <limits>

namespace {

constexpr int kBrq = 1;
constexpr int kOrva = 2;

struct Fields {
    QString temperature;
    QString humidity;
    QString windSpeed; // knots, in the field the family reads for the report speed
    QString pressure;
    QString elevation;
};

// Builds a record holding only the lines whose value is given.
QString record(const Fields& f, int type)
{
    QList<RecordLine> lines{{"T", {"24/03/05,14", "07", "09"}}};
    if (!f.temperature.isNull())
        lines.append({"TA", {f.temperature}});
    if (!f.humidity.isNull())
        lines.append({"RH", {f.humidity}});
    if (!f.windSpeed.isNull()) {
        // The instantaneous ORVA speed differs, so reading the wrong field shows.
        if (type == kOrva)
            lines.append({"WI", {"1", "180", f.windSpeed, "175"}});
        else
            lines.append({"WI", {f.windSpeed, "180"}});
    }
    if (!f.pressure.isNull())
        lines.append({"BA", {f.pressure, "2992"}});
    if (!f.elevation.isNull())
        lines.append({"EL", {f.elevation}});
    return buildRecord(lines);
}

void load(WeatherDataDecoder& decoder, const Fields& fields, int type = kOrva)
{
    decoder.setRecordText(record(fields, type));
    decoder.setDeviceType(type, false);
}

double fahrenheit(const QString& celsius)
{
    return celsius.toDouble() * 1.8 + 32.0;
}

} // namespace

class TestDerived : public QObject
{
    Q_OBJECT
private slots:
    void dewPoint_data();
    void dewPoint();
    void heatIndex_data();
    void heatIndex();
    void heatIndexAgreesWithPublishedTable_data();
    void heatIndexAgreesWithPublishedTable();
    void windChill_data();
    void windChill();
    void windChillAgreesWithPublishedTable_data();
    void windChillAgreesWithPublishedTable();
    void seaLevelPressure_data();
    void seaLevelPressure();
    void pressureAltitude_data();
    void pressureAltitude();
    void densityAltitude_data();
    void densityAltitude();
    void compassPoint_data();
    void compassPoint();
};

void TestDerived::dewPoint_data()
{
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("humidity");
    QTest::addColumn<QString>("expected");

    // Published dew-point table values for the same Magnus constants.
    QTest::newRow("20 C 50 %") << "20" << "50" << "9.3";
    QTest::newRow("25 C 60 %") << "25" << "60" << "16.7";
    QTest::newRow("30 C 70 %") << "30" << "70" << "23.9";
    QTest::newRow("10 C 90 %") << "10" << "90" << "8.4";
    QTest::newRow("saturated") << "20" << "100" << "20";
    QTest::newRow("below zero") << "0" << "50" << "-9.2";
    QTest::newRow("humidity 1") << "20" << "1" << "-37.8";
    QTest::newRow("humidity 0 counts as 1") << "20" << "0" << "-37.8";
    QTest::newRow("humidity -0.5 counts as 1") << "20" << "-0.5" << "-37.8";
    QTest::newRow("negative whole humidity is missing") << "20" << "-1" << "";
    QTest::newRow("no temperature") << QString() << "50" << "";
    QTest::newRow("no humidity") << "20" << QString() << "";
    QTest::newRow("temperature not a number") << "warm" << "50" << "";
    QTest::newRow("temperature inf") << "inf" << "50" << "";
    QTest::newRow("pole of the formula") << "-237.7" << "50" << "";
}

void TestDerived::dewPoint()
{
    QFETCH(QString, temperature);
    QFETCH(QString, humidity);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    load(decoder, {temperature, humidity, {}, {}, {}});
    QCOMPARE(decoder.calcDewPoint(), expected);
}

void TestDerived::heatIndex_data()
{
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("humidity");
    QTest::addColumn<QString>("expected");

    // 86 F at 90 % takes the high-humidity term (+0.1 F); without it the result is 40.7.
    QTest::newRow("86 F 90 % adjusted") << "30" << "90" << "40.8";
    QTest::newRow("87 F 90 % not adjusted") << "30.56" << "90" << "42.9";
    QTest::newRow("104 F 10 % dry adjustment") << "40" << "10" << "36.7";
    QTest::newRow("simple formula below 80 F") << "20" << "50" << "19.4";
    QTest::newRow("cold weather still computed") << "-10" << "50" << "-13.6";
    QTest::newRow("just below zero prints no minus") << "2.38" << "50" << "0.0";
    QTest::newRow("rounds to zero") << "2.39" << "50" << "0.0";
    QTest::newRow("no temperature") << QString() << "50" << "";
    QTest::newRow("no humidity") << "30" << QString() << "";
}

void TestDerived::heatIndex()
{
    QFETCH(QString, temperature);
    QFETCH(QString, humidity);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    load(decoder, {temperature, humidity, {}, {}, {}});
    QCOMPARE(decoder.calcHeatIndex(), expected);
}

void TestDerived::heatIndexAgreesWithPublishedTable_data()
{
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("humidity");
    QTest::addColumn<double>("tableFahrenheit");

    // NWS heat index chart entries (whole degrees Fahrenheit).
    QTest::newRow("90 F 60 %") << "32.2222" << "60" << 100.0;
    QTest::newRow("100 F 40 %") << "37.7778" << "40" << 109.0;
    QTest::newRow("86 F 90 %") << "30" << "90" << 105.0;
    QTest::newRow("80 F 40 %") << "26.6667" << "40" << 80.0;
}

void TestDerived::heatIndexAgreesWithPublishedTable()
{
    QFETCH(QString, temperature);
    QFETCH(QString, humidity);
    QFETCH(double, tableFahrenheit);

    WeatherDataDecoder decoder;
    load(decoder, {temperature, humidity, {}, {}, {}});
    const QString result = decoder.calcHeatIndex();
    QVERIFY(!result.isEmpty());
    // The chart rounds to whole degrees; the record keeps one decimal of Celsius.
    QVERIFY2(qAbs(fahrenheit(result) - tableFahrenheit) <= 0.6, qPrintable(result));
}

void TestDerived::windChill_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("expected");

    QTest::newRow("2.6 kt is not above 3 mph") << kOrva << "2.6" << "0" << "";
    QTest::newRow("2.61 kt is above 3 mph") << kOrva << "2.61" << "0" << "-1.5";
    QTest::newRow("50 F still computed") << kOrva << "10" << "10" << "7.54";
    QTest::newRow("above 50 F") << kOrva << "10" << "10.1" << "";
    QTest::newRow("BRQ reads its own speed field") << kBrq << "10" << "10" << "7.54";
    QTest::newRow("negative speed") << kOrva << "-10" << "0" << "";
    QTest::newRow("no speed") << kOrva << QString() << "0" << "";
    QTest::newRow("no temperature") << kOrva << "10" << QString() << "";
}

void TestDerived::windChill()
{
    QFETCH(int, type);
    QFETCH(QString, speed);
    QFETCH(QString, temperature);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    load(decoder, {temperature, {}, speed, {}, {}}, type);
    QCOMPARE(decoder.calcWindChill(), expected);
}

void TestDerived::windChillAgreesWithPublishedTable_data()
{
    QTest::addColumn<QString>("knots");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<double>("tableFahrenheit");
    QTest::addColumn<QString>("expected");

    // NWS wind chill chart entries; the speeds are the chart's mph in knots.
    QTest::newRow("0 F 15 mph") << "13.0346" << "-17.7778" << -19.0 << "-28.56";
    QTest::newRow("-10 F 20 mph") << "17.3795" << "-23.3333" << -35.0 << "-37.28";
    QTest::newRow("40 F 5 mph") << "4.3449" << "4.4444" << 36.0 << "2.48";
    QTest::newRow("-20 F 30 mph") << "26.0691" << "-28.8889" << -53.0 << "-47.24";
}

void TestDerived::windChillAgreesWithPublishedTable()
{
    QFETCH(QString, knots);
    QFETCH(QString, temperature);
    QFETCH(double, tableFahrenheit);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    load(decoder, {temperature, {}, knots, {}, {}});
    const QString result = decoder.calcWindChill();
    QCOMPARE(result, expected);
    QVERIFY2(qAbs(fahrenheit(result) - tableFahrenheit) <= 0.6, qPrintable(result));
}

void TestDerived::seaLevelPressure_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("pressure");
    QTest::addColumn<QString>("secondPressure");
    QTest::addColumn<QString>("elevation");
    QTest::addColumn<QString>("expected");

    QTest::newRow("sea level") << kOrva << "1000" << QString() << "0" << "1000";
    QTest::newRow("100 m") << kOrva << "1000" << QString() << "100" << "1012.57";
    QTest::newRow("500 m") << kOrva << "950" << QString() << "500" << "1010.95";
    QTest::newRow("1000 m") << kOrva << "900.5" << QString() << "1000" << "1019.01";
    QTest::newRow("second pressure preferred") << kOrva << "900" << "1000" << "0" << "1000";
    QTest::newRow("no elevation reads as 0") << kOrva << "1000" << QString() << QString()
                                             << "1000";
    QTest::newRow("BRQ never") << kBrq << "1000" << QString() << "100" << "";
    QTest::newRow("elevation is the sentinel") << kOrva << "1000" << QString() << "-1000" << "";
    QTest::newRow("pressure is the sentinel") << kOrva << "-1000" << QString() << "0" << "";
    // No station pressure: nothing to reduce, so no value instead of 0.
    QTest::newRow("no pressure") << kOrva << QString() << QString() << "100" << "";
    QTest::newRow("pressure not a number") << kOrva << "high" << QString() << "100" << "";
    QTest::newRow("zero pressure") << kOrva << "0" << QString() << "100" << "";
    QTest::newRow("negative pressure") << kOrva << "-5" << QString() << "100" << "";
    QTest::newRow("lowest elevation") << kOrva << "1050" << QString() << "-999" << "925.249";
    QTest::newRow("highest elevation") << kOrva << "250" << QString() << "11000" << "848.744";
    QTest::newRow("above 11000 m") << kOrva << "250" << QString() << "11000.1" << "";
    QTest::newRow("near the formula's pole") << kOrva << "1000" << QString()
                                             << "-42023.0769230769" << "";
    QTest::newRow("enormous elevation") << kOrva << "1000" << QString() << "1e300" << "";
}

void TestDerived::seaLevelPressure()
{
    QFETCH(int, type);
    QFETCH(QString, pressure);
    QFETCH(QString, secondPressure);
    QFETCH(QString, elevation);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    QString text = record({{}, {}, {}, pressure, elevation}, type);
    if (!secondPressure.isNull())
        text += recordLine("HP", {secondPressure});
    decoder.setRecordText(text);
    decoder.setDeviceType(type, false);
    QCOMPARE(decoder.calcSeaLevelPressure(), expected);
}

void TestDerived::pressureAltitude_data()
{
    QTest::addColumn<QString>("pressure");
    QTest::addColumn<QString>("expected");

    QTest::newRow("standard sea level") << "1013.25" << "0";
    // Standard-atmosphere pressures at 5000 ft and 10000 ft.
    QTest::newRow("843.07 hPa") << "843.07" << "5000";
    QTest::newRow("696.82 hPa") << "696.82" << "10000";
    QTest::newRow("lower bound") << "337" << "27470";
    QTest::newRow("upper bound") << "1084" << "-1880";
    QTest::newRow("below lower bound") << "336.9" << "";
    QTest::newRow("above upper bound") << "1084.1" << "";
    QTest::newRow("no pressure") << QString() << "";
}

void TestDerived::pressureAltitude()
{
    QFETCH(QString, pressure);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    load(decoder, {{}, {}, {}, pressure, {}});
    QCOMPARE(decoder.calcPressureAltitude(), expected);
}

void TestDerived::densityAltitude_data()
{
    QTest::addColumn<QString>("pressure");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("humidity");
    QTest::addColumn<QString>("expected");

    // In the standard atmosphere the density altitude is the pressure altitude, within the
    // few tens of feet that the method's constants leave.
    QTest::newRow("standard sea level") << "1013.25" << "15" << "0" << "20";
    QTest::newRow("standard 5000 ft") << "843.07" << "5.1" << "0" << "5020";
    QTest::newRow("hot sea level") << "1013.25" << "30" << "0" << "1750";
    QTest::newRow("hot and humid") << "1013.25" << "30" << "80" << "2170";
    QTest::newRow("900 hPa 20 C 50 %") << "900" << "20" << "50" << "4740";
    QTest::newRow("zero pressure") << "0" << "20" << "50" << "";
    QTest::newRow("negative pressure") << "-900" << "20" << "50" << "";
    QTest::newRow("dew point undefined") << "900" << "-237.7" << "50" << "";
    QTest::newRow("no pressure") << QString() << "20" << "50" << "";
    QTest::newRow("no temperature") << "900" << QString() << "50" << "";
    QTest::newRow("no humidity") << "900" << "20" << QString() << "";
}

void TestDerived::densityAltitude()
{
    QFETCH(QString, pressure);
    QFETCH(QString, temperature);
    QFETCH(QString, humidity);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    load(decoder, {temperature, humidity, {}, pressure, {}});
    QCOMPARE(decoder.calcDensityAltitude(), expected);
}

void TestDerived::compassPoint_data()
{
    QTest::addColumn<int>("degrees");
    QTest::addColumn<QString>("expected");

    const QList<QPair<int, const char*>> rows{
        {0, "N"},     {22, "N"},    {23, "NE"},   {67, "NE"},  {68, "E"},   {112, "E"},
        {113, "SE"},  {158, "S"},   {203, "SW"},  {248, "W"},  {292, "W"},  {293, "NW"},
        {337, "NW"},  {338, "N"},   {359, "N"},   {360, "N"},  {383, "NE"}, {-90, "W"},
        {-30, "NW"},  {-360, "N"},  {-721, "N"}};
    for (const auto& row : rows)
        QTest::addRow("%d", row.first) << row.first << QString(row.second);
    // Whole-number turns never overflow: MIN % 360 is -128 (232), MAX % 360 is 127.
    QTest::newRow("int min") << std::numeric_limits<int>::min() << "SW";
    QTest::newRow("int max") << std::numeric_limits<int>::max() << "SE";
}

void TestDerived::compassPoint()
{
    QFETCH(int, degrees);
    QFETCH(QString, expected);

    const WeatherDataDecoder decoder;
    QCOMPARE(decoder.compassPoint(degrees), expected);
}

QTEST_GUILESS_MAIN(TestDerived)
#include "tst_derived.moc"
