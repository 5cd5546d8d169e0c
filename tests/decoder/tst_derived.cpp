#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

#include <limits>

namespace
{

constexpr int kBrq = 1;
constexpr int kOrva = 2;

// Temperature, humidity, wind speed (knots, in the field the family reads for the report
// speed), pressure, elevation, second pressure; a null value leaves its line out.
using Fields = QStringList;

using Calculation = QString (WeatherDataDecoder::*)();
const Calculation DewPoint = &WeatherDataDecoder::calcDewPoint;
const Calculation HeatIndex = &WeatherDataDecoder::calcHeatIndex;
const Calculation WindChill = &WeatherDataDecoder::calcWindChill;
const Calculation SeaLevel = &WeatherDataDecoder::calcSeaLevelPressure;
const Calculation PressureAltitude = &WeatherDataDecoder::calcPressureAltitude;
const Calculation DensityAltitude = &WeatherDataDecoder::calcDensityAltitude;

QString record(const Fields& f, int type)
{
    QList<RecordLine> lines{{"T", {"24/03/05,14", "07", "09"}}};
    if (!f.value(0).isNull())
        lines.append({"TA", {f.value(0)}});
    if (!f.value(1).isNull())
        lines.append({"RH", {f.value(1)}});
    if (!f.value(2).isNull()) {
        // The instantaneous ORVA speed differs, so reading the wrong field shows.
        if (type == kOrva)
            lines.append({"WI", {"1", "180", f.value(2), "175"}});
        else
            lines.append({"WI", {f.value(2), "180"}});
    }
    if (!f.value(3).isNull())
        lines.append({"BA", {f.value(3), "2992"}});
    if (!f.value(4).isNull())
        lines.append({"EL", {f.value(4)}});
    if (!f.value(5).isNull())
        lines.append({"HP", {f.value(5)}});
    return buildRecord(lines);
}

QString calculate(Calculation calculation, const Fields& fields, int type = kOrva)
{
    WeatherDataDecoder decoder;
    decoder.setRecordText(record(fields, type));
    decoder.setDeviceType(type, false);
    return (decoder.*calculation)();
}

void row(const char* name, Calculation calculation, const Fields& fields, const char* expected,
         int type = kOrva)
{
    QTest::newRow(name) << calculation << fields << type << QString(expected);
}

double fahrenheit(const QString& celsius)
{
    return celsius.toDouble() * 1.8 + 32.0;
}

} // namespace

Q_DECLARE_METATYPE(Calculation)

class TestDerived : public QObject
{
    Q_OBJECT
private slots:
    void calculations_data();
    void calculations();
    void heatIndexAgreesWithPublishedTable_data();
    void heatIndexAgreesWithPublishedTable();
    void windChillAgreesWithPublishedTable_data();
    void windChillAgreesWithPublishedTable();
    void compassPoint_data();
    void compassPoint();
};

void TestDerived::calculations_data()
{
    QTest::addColumn<Calculation>("calculation");
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");

    // Published dew-point table values for the same Magnus constants.
    row("dew point 20 C 50 %", DewPoint, {"20", "50"}, "9.3");
    row("dew point 25 C 60 %", DewPoint, {"25", "60"}, "16.7");
    row("dew point 30 C 70 %", DewPoint, {"30", "70"}, "23.9");
    row("dew point 10 C 90 %", DewPoint, {"10", "90"}, "8.4");
    row("dew point saturated", DewPoint, {"20", "100"}, "20");
    row("dew point below zero", DewPoint, {"0", "50"}, "-9.2");
    row("dew point humidity 1", DewPoint, {"20", "1"}, "-37.8");
    row("dew point humidity 0 counts as 1", DewPoint, {"20", "0"}, "-37.8");
    row("dew point humidity -0.5 counts as 1", DewPoint, {"20", "-0.5"}, "-37.8");
    row("dew point negative whole humidity is missing", DewPoint, {"20", "-1"}, "");
    row("dew point no temperature", DewPoint, {{}, "50"}, "");
    row("dew point no humidity", DewPoint, {"20"}, "");
    row("dew point temperature not a number", DewPoint, {"warm", "50"}, "");
    row("dew point temperature inf", DewPoint, {"inf", "50"}, "");
    row("dew point pole of the formula", DewPoint, {"-237.7", "50"}, "");
    row("dew point temperature is the sentinel", DewPoint, {"-1000", "45"}, "");
    row("dew point humidity is the sentinel", DewPoint, {"20", "-1000.0"}, "");

    // 86 F at 90 % takes the high-humidity term (+0.1 F); without it the result is 40.7.
    row("heat index 86 F 90 % adjusted", HeatIndex, {"30", "90"}, "40.8");
    row("heat index 87 F 90 % not adjusted", HeatIndex, {"30.56", "90"}, "42.9");
    row("heat index 104 F 10 % dry adjustment", HeatIndex, {"40", "10"}, "36.7");
    row("heat index simple formula below 80 F", HeatIndex, {"20", "50"}, "19.4");
    row("heat index cold weather still computed", HeatIndex, {"-10", "50"}, "-13.6");
    row("heat index just below zero prints no minus", HeatIndex, {"2.38", "50"}, "0.0");
    row("heat index rounds to zero", HeatIndex, {"2.39", "50"}, "0.0");
    row("heat index no temperature", HeatIndex, {{}, "50"}, "");
    row("heat index no humidity", HeatIndex, {"30"}, "");
    row("heat index temperature is the sentinel", HeatIndex, {"-1000.0", "45"}, "");

    row("wind chill 2.6 kt is not above 3 mph", WindChill, {"0", {}, "2.6"}, "");
    row("wind chill 2.61 kt is above 3 mph", WindChill, {"0", {}, "2.61"}, "-1.5");
    row("wind chill 50 F still computed", WindChill, {"10", {}, "10"}, "7.54");
    row("wind chill above 50 F", WindChill, {"10.1", {}, "10"}, "");
    row("wind chill BRQ reads its own speed field", WindChill, {"10", {}, "10"}, "7.54", kBrq);
    row("wind chill negative speed", WindChill, {"0", {}, "-10"}, "");
    row("wind chill no speed", WindChill, {"0"}, "");
    row("wind chill no temperature", WindChill, {{}, {}, "10"}, "");
    row("wind chill temperature is the sentinel", WindChill, {"-1000", {}, "10"}, "");

    const auto slp = [](const char* pressure, const char* elevation) {
        return Fields{{}, {}, {}, pressure, elevation};
    };
    row("sea level", SeaLevel, slp("1000", "0"), "1000");
    row("sea level at 100 m", SeaLevel, slp("1000", "100"), "1012.57");
    row("sea level at 500 m", SeaLevel, slp("950", "500"), "1010.95");
    row("sea level at 1000 m", SeaLevel, slp("900.5", "1000"), "1019.01");
    row("sea level second pressure preferred", SeaLevel, {{}, {}, {}, "900", "0", "1000"}, "1000");
    row("sea level no elevation reads as 0", SeaLevel, {{}, {}, {}, "1000"}, "1000");
    row("sea level empty elevation reads as 0", SeaLevel, slp("1009.3", ""), "1009.3");
    row("sea level BRQ never", SeaLevel, slp("1000", "100"), "", kBrq);
    row("sea level elevation is the sentinel", SeaLevel, slp("1000", "-1000"), "");
    row("sea level elevation is the sentinel after a blank", SeaLevel, slp("1000", " -1000"), "");
    row("sea level pressure is the sentinel", SeaLevel, slp("-1000", "0"), "");
    // No station pressure: nothing to reduce, so no value instead of 0.
    row("sea level no pressure", SeaLevel, {{}, {}, {}, {}, "100"}, "");
    row("sea level pressure not a number", SeaLevel, slp("high", "100"), "");
    row("sea level zero pressure", SeaLevel, slp("0", "100"), "");
    row("sea level negative pressure", SeaLevel, slp("-5", "100"), "");
    row("sea level lowest elevation", SeaLevel, slp("1050", "-999"), "925.249");
    row("sea level highest elevation", SeaLevel, slp("250", "11000"), "848.744");
    row("sea level above 11000 m", SeaLevel, slp("250", "11000.1"), "");
    row("sea level near the formula's pole", SeaLevel, slp("1000", "-42023.0769230769"), "");
    row("sea level enormous elevation", SeaLevel, slp("1000", "1e300"), "");

    // Standard-atmosphere pressures at 5000 ft and 10000 ft.
    row("pressure altitude standard sea level", PressureAltitude, slp("1013.25", {}), "0");
    row("pressure altitude 843.07 hPa", PressureAltitude, slp("843.07", {}), "5000");
    row("pressure altitude 696.82 hPa", PressureAltitude, slp("696.82", {}), "10000");
    row("pressure altitude lower bound", PressureAltitude, slp("337", {}), "27470");
    row("pressure altitude upper bound", PressureAltitude, slp("1084", {}), "-1880");
    row("pressure altitude below lower bound", PressureAltitude, slp("336.9", {}), "");
    row("pressure altitude above upper bound", PressureAltitude, slp("1084.1", {}), "");
    row("pressure altitude no pressure", PressureAltitude, {}, "");

    // In the standard atmosphere the density altitude is the pressure altitude, within the
    // few tens of feet that the method's constants leave.
    const auto da = [](const char* pressure, const char* temperature, const char* humidity) {
        return Fields{temperature, humidity, {}, pressure};
    };
    row("density altitude standard sea level", DensityAltitude, da("1013.25", "15", "0"), "20");
    row("density altitude standard 5000 ft", DensityAltitude, da("843.07", "5.1", "0"), "5020");
    row("density altitude hot sea level", DensityAltitude, da("1013.25", "30", "0"), "1750");
    row("density altitude hot and humid", DensityAltitude, da("1013.25", "30", "80"), "2170");
    row("density altitude 900 hPa 20 C 50 %", DensityAltitude, da("900", "20", "50"), "4740");
    row("density altitude zero pressure", DensityAltitude, da("0", "20", "50"), "");
    row("density altitude negative pressure", DensityAltitude, da("-900", "20", "50"), "");
    row("density altitude dew point undefined", DensityAltitude, da("900", "-237.7", "50"), "");
    row("density altitude no pressure", DensityAltitude, da(nullptr, "20", "50"), "");
    row("density altitude no temperature", DensityAltitude, da("900", nullptr, "50"), "");
    row("density altitude no humidity", DensityAltitude, da("900", "20", nullptr), "");
    row("density altitude temperature is the sentinel", DensityAltitude,
        da("1013.25", "-1000", "45"), "");
}

void TestDerived::calculations()
{
    QFETCH(Calculation, calculation);
    QFETCH(Fields, fields);
    QFETCH(int, type);
    QFETCH(QString, expected);
    QCOMPARE(calculate(calculation, fields, type), expected);
}

void TestDerived::heatIndexAgreesWithPublishedTable_data()
{
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("humidity");
    QTest::addColumn<double>("tableFahrenheit");

    // NWS heat index chart entries (whole degrees Fahrenheit).
    QTest::newRow("90 F 60 %") << QString("32.2222") << QString("60") << 100.0;
    QTest::newRow("100 F 40 %") << QString("37.7778") << QString("40") << 109.0;
    QTest::newRow("86 F 90 %") << QString("30") << QString("90") << 105.0;
    QTest::newRow("80 F 40 %") << QString("26.6667") << QString("40") << 80.0;
}

void TestDerived::heatIndexAgreesWithPublishedTable()
{
    QFETCH(QString, temperature);
    QFETCH(QString, humidity);
    QFETCH(double, tableFahrenheit);
    const QString result = calculate(HeatIndex, {temperature, humidity});
    QVERIFY(!result.isEmpty());
    // The chart rounds to whole degrees; the record keeps one decimal of Celsius.
    QVERIFY2(qAbs(fahrenheit(result) - tableFahrenheit) <= 0.6, qPrintable(result));
}

void TestDerived::windChillAgreesWithPublishedTable_data()
{
    QTest::addColumn<QString>("knots");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<double>("tableFahrenheit");
    QTest::addColumn<QString>("expected");

    // NWS wind chill chart entries; the speeds are the chart's mph in knots.
    QTest::newRow("0 F 15 mph") << QString("13.0346") << QString("-17.7778") << -19.0
                                << QString("-28.56");
    QTest::newRow("-10 F 20 mph") << QString("17.3795") << QString("-23.3333") << -35.0
                                  << QString("-37.28");
    QTest::newRow("40 F 5 mph") << QString("4.3449") << QString("4.4444") << 36.0
                                << QString("2.48");
    QTest::newRow("-20 F 30 mph") << QString("26.0691") << QString("-28.8889") << -53.0
                                  << QString("-47.24");
}

void TestDerived::windChillAgreesWithPublishedTable()
{
    QFETCH(QString, knots);
    QFETCH(QString, temperature);
    QFETCH(double, tableFahrenheit);
    QFETCH(QString, expected);
    const QString result = calculate(WindChill, {temperature, {}, knots});
    QCOMPARE(result, expected);
    QVERIFY2(qAbs(fahrenheit(result) - tableFahrenheit) <= 0.6, qPrintable(result));
}

void TestDerived::compassPoint_data()
{
    QTest::addColumn<int>("degrees");
    QTest::addColumn<QString>("expected");

    const QList<QPair<int, const char*>> rows{
        {0, "N"},   {22, "N"},   {23, "NE"},  {67, "NE"}, {68, "E"},   {112, "E"},  {113, "SE"},
        {158, "S"}, {203, "SW"}, {248, "W"},  {292, "W"}, {293, "NW"}, {337, "NW"}, {338, "N"},
        {359, "N"}, {360, "N"},  {383, "NE"}, {-90, "W"}, {-30, "NW"}, {-360, "N"}, {-721, "N"}};
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
