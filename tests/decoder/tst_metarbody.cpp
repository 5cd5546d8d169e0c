#include "decoder/weatherdatadecoder.h"
#include "tests/decoder/metartext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace
{

// The family shows in the record: ORVA records open with their frame, "@1" or "@2".
void row(const char* name, const QString& record, const QString& groups)
{
    QTest::newRow(name) << (record.startsWith('@') ? kOrva : kBrq) << record << groups;
}

QStringList repeated(const QString& value, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << value;
    return list;
}

} // namespace

class TestMetarBody : public QObject
{
    Q_OBJECT
private slots:
    void formatReportNumber_data();
    void formatReportNumber();
    void visibilityGroup_data();
    void visibilityGroup();
    void minutesBetween_data();
    void minutesBetween();
    void isSpeci_data();
    void isSpeci();

    void stationAndTime_data();
    void stationAndTime();
    void groups_data();
    void groups();
    void thunderMerge_data();
    void thunderMerge();
    void thunderPersistence_data();
    void thunderPersistence();
    void thunderTimesKeepFirstAndNewest();
    void hostileValuesNeverReachTheText_data();
    void hostileValuesNeverReachTheText();
};

void TestMetarBody::formatReportNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");

    QTest::newRow("2.5 rounds up") << 2.5 << 2 << "03";
    QTest::newRow("-2.5 rounds away from zero") << -2.5 << 3 << "-03";
    QTest::newRow("0.5") << 0.5 << 2 << "01";
    QTest::newRow("1.5") << 1.5 << 2 << "02";
    QTest::newRow("-0.4 is no negative zero") << -0.4 << 2 << "00";
    QTest::newRow("negative zero") << -0.0 << 2 << "00";
    QTest::newRow("-0.5") << -0.5 << 2 << "-1";
    QTest::newRow("minus sign counts in the width") << -1.0 << 3 << "-01";
    QTest::newRow("wider than the width") << 12345.0 << 4 << "12345";
    QTest::newRow("2991.5") << 2991.5 << 4 << "2992";
    QTest::newRow("decimal half below in binary") << 0.15 * 10.0 << 0 << "2";
    QTest::newRow("1.255 hundredths") << 1.255 * 100.0 << 0 << "126";
    QTest::newRow("99.5") << 99.5 << 2 << "100";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 2 << "";
    QTest::newRow("inf") << std::numeric_limits<double>::infinity() << 2 << "";
    QTest::newRow("huge stays finite") << 1e20 << 2 << "100000000000000000000";
    // Near the bounds where a value is snapped before rounding.
    QTest::newRow("a hair below 0.5") << std::nextafter(0.5, 0.0) << 0 << "1";
    QTest::newRow("2.4999999") << 2.4999999 << 0 << "2";
    QTest::newRow("12.499994") << 12.499994 << 0 << "12";
    QTest::newRow("-7.50001") << -7.50001 << 0 << "-8";
    QTest::newRow("999999999.5") << 999999999.5 << 0 << "1000000000";
    QTest::newRow("1000000000.5") << 1000000000.5 << 0 << "1000000001";
    QTest::newRow("1000000000.2") << 1000000000.2 << 0 << "1000000000";
    QTest::newRow("1e15 - 1") << 1e15 - 1.0 << 0 << "999999999999999";
    QTest::newRow("1e15 + 2") << 1e15 + 2.0 << 0 << "1000000000000002";
    QTest::newRow("-123456789012.5") << -123456789012.5 << 0 << "-123456789013";
}

void TestMetarBody::formatReportNumber()
{
    QFETCH(double, value);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(::formatReportNumber(value, width), expected);
}

void TestMetarBody::visibilityGroup_data()
{
    QTest::addColumn<double>("miles");
    QTest::addColumn<QString>("group");

    const QList<QPair<double, const char*>> rows{
        {-0.1, "////"},   {0.0, "M1/4SM"},    {0.25, "M1/4SM"},   {0.3, "1/4SM"},
        {0.375, "1/4SM"}, {0.376, "1/2SM"},   {0.625, "1/2SM"},   {0.875, "3/4SM"},
        {1.125, "1SM"},   {1.375, "1 1/4SM"}, {1.625, "1 1/2SM"}, {1.875, "1 3/4SM"},
        {1.876, "2SM"},   {2.5, "2SM"},       {3.5, "3SM"},       {4.5, "4SM"},
        {5.5, "5SM"},     {5.51, "6SM"},      {6.19, "6SM"},      {6.2, "10SM"},
        {100.0, "10SM"},  {qQNaN(), ""}};
    for (const auto& row : rows)
        QTest::addRow("%g", row.first) << row.first << QString(row.second);
}

void TestMetarBody::visibilityGroup()
{
    QFETCH(double, miles);
    QFETCH(QString, group);
    WeatherDataDecoder decoder;
    QCOMPARE(decoder.metarVisibilityGroup(miles), group);
}

void TestMetarBody::minutesBetween_data()
{
    QTest::addColumn<int>("hour1");
    QTest::addColumn<int>("minute1");
    QTest::addColumn<int>("hour2");
    QTest::addColumn<int>("minute2");
    QTest::addColumn<int>("minutes");

    QTest::newRow("same hour") << 12 << 14 << 12 << 0 << 14;
    QTest::newRow("order does not matter") << 12 << 0 << 12 << 14 << 14;
    QTest::newRow("across midnight") << 0 << 5 << 23 << 55 << 10;
    QTest::newRow("half a day") << 0 << 0 << 12 << 0 << 720;
    QTest::newRow("just over half a day") << 0 << 0 << 12 << 1 << 719;
    QTest::newRow("hour 24 is invalid") << 24 << 0 << 12 << 0 << 0;
    QTest::newRow("minute 60 is invalid") << 12 << 60 << 12 << 0 << 0;
    QTest::newRow("negative hour is invalid") << 12 << 0 << -1 << 0 << 0;
}

void TestMetarBody::minutesBetween()
{
    QFETCH(int, hour1);
    QFETCH(int, minute1);
    QFETCH(int, hour2);
    QFETCH(int, minute2);
    QFETCH(int, minutes);
    WeatherDataDecoder decoder;
    QCOMPARE(decoder.minutesBetween(hour1, minute1, hour2, minute2), minutes);
}

void TestMetarBody::isSpeci_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<bool>("speci");

    const QString t = "24/03/05,14:07:09";
    QTest::newRow("ORVA @2") << orvaRecord({}, t, "@2") << kOrva << true;
    QTest::newRow("ORVA @1") << orvaRecord({}, t, "@1") << kOrva << false;
    QTest::newRow("ORVA @2 after the sixth character")
        << orvaRecord({}, t, "@1xxxx@2") << kOrva << false;
    QTest::newRow("ORVA @2 within the first six") << orvaRecord({}, t, "xxx@2") << kOrva << true;
    QTest::newRow("BRQ N field 1 ends in s")
        << buildRecord({{"N", {"0", "ms"}}, {"T", t.split(':')}}) << kBrq << true;
    QTest::newRow("BRQ N field 1 M")
        << buildRecord({{"N", {"0", "M"}}, {"T", t.split(':')}}) << kBrq << false;
    QTest::newRow("BRQ clock unset")
        << buildRecord({{"N", {"0", "S"}}, {"T", {"-0/00/00,00", "00", "00"}}}) << kBrq << false;
    QTest::newRow("BRQ without N line") << buildRecord({{"T", t.split(':')}}) << kBrq << false;
    QTest::newRow("device type none")
        << buildRecord({{"N", {"0", "S"}}, {"T", t.split(':')}}) << 0 << false;
}

void TestMetarBody::isSpeci()
{
    QFETCH(QString, record);
    QFETCH(int, deviceType);
    QFETCH(bool, speci);
    WeatherDataDecoder decoder;
    decoder.setRecordText(record);
    decoder.setDeviceType(deviceType, false);
    QCOMPARE(decoder.isSpeci(), speci);
    QVERIFY(reportOf(decoder, record, deviceType)
                .startsWith(speci ? QLatin1String("SPECI ") : QLatin1String("METAR ")));
}

void TestMetarBody::stationAndTime_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("icao");

    const auto add = [](const char* name, const QString& record, int deviceType, const char* body,
                        const char* icao) {
        QTest::newRow(name) << record << deviceType << QString(body) << QString(icao);
    };
    add("ORVA station from N, upper-cased", orvaRecord({}), kOrva, "METAR KXYZ 051407Z M ", "KXYZ");
    add("ORVA SPECI", orvaRecord({}, kTime, "@2"), kOrva, "SPECI KXYZ 051407Z M ", "KXYZ");
    add("ORVA N field 4 ? takes IR field 3",
        "@1" + buildRecord({{"N", {"0", "0", "0", "0", "?", "1", "1"}},
                            {"IR", {"a", "b", "c", "UNIT7"}},
                            {"T", {"24/03/05,14", "07", "09"}}}),
        kOrva, "METAR UNIT7 051407Z M ", "");
    // The placeholder keeps the observation time.
    add("ORVA without station", "@1" + buildRecord({{"T", {"24/03/05,14", "07", "09"}}}), kOrva,
        "METAR 000000000000000 051407Z M ", "");
    add("one-digit month", orvaRecord({}, "24/3/05,14:07:09"), kOrva, "METAR KXYZ 000000Z M ",
        "KXYZ");
    add("no T line", "@1" + buildRecord({{"N", {"0", "0", "0", "0", "KXYZ", "1", "1"}}}), kOrva,
        "METAR KXYZ 000000Z M ", "KXYZ");
    add("BRQ", brqRecord({}), kBrq, "METAR 300234010 051407Z AUTO M ", "");
    add("BRQ without identity", buildRecord({{"T", {"24/03/05,14", "07", "09"}}}), kBrq,
        "METAR 000000000000000 051407Z AUTO M ", "");
    add("BRQ without identity and time", buildRecord({{"TA", {""}}}), kBrq,
        "METAR 000000000000000 000000Z AUTO M ", "");
}

void TestMetarBody::stationAndTime()
{
    QFETCH(QString, record);
    QFETCH(int, deviceType);
    QFETCH(QString, body);
    QFETCH(QString, icao);
    WeatherDataDecoder decoder;
    QCOMPARE(bodyOf(reportOf(decoder, record, deviceType)), body);
    QCOMPARE(decoder.getIcao(), icao);
}

// Every group after the station and time; `groups` is what follows the head of the family.
void TestMetarBody::groups_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("groups");

    // ORVA WI: instantaneous (peak), direction, report speed, 2-minute direction.
    // ORVA GU: -, -, gust, gust direction, -, squall, range bounds.
    const auto wind = [](const QStringList& wi, const QStringList& gu = {}) {
        return orvaRecord(linesFrom({"WI", "GU"}, {wi, gu}));
    };
    const QStringList w12{"12", "180", "12", "184"};
    const QStringList g18{"", "", "18", "190", "", "", "", ""};
    const auto range = [](const QString& low, const QString& high) {
        return QStringList{"", "", "18", "190", "", "", low, high};
    };
    row("calm whatever the rest says", wind({"0.6", "270", "0.6", "270"}, range("150", "220")),
        "00000KT M ");
    row("0.99 is calm", wind({"12", "180", "0.99", "184"}), "00000KT M ");
    row("low instantaneous speed gives VRB", wind({"5", "180", "12", "184"}), "VRB12KT M ");
    row("missing peak counts as low", wind({"", "180", "12", "184"}), "VRB12KT M ");
    row("VRB half rounds up", wind({"5.5", "180", "5.5", "184"}), "VRB06KT M ");
    row("VRB at 1 kt", wind({"1", "180", "1", "184"}), "VRB01KT M ");
    row("steady", wind(w12), "18012KT M ");
    row("direction half 185", wind({"12", "0", "12", "185"}), "19012KT M ");
    row("direction 355 gives 360", wind({"12", "0", "12", "355"}), "36012KT M ");
    row("direction 4 gives 000", wind({"12", "0", "12", "4"}), "00012KT M ");
    row("speed half 12.5", wind({"12.5", "0", "12.5", "184"}), "18013KT M ");
    row("gust", wind(w12, g18), "18012G18KT M ");
    row("gust of 9 is no gust", wind(w12, {"", "", "9", "190"}), "18012KT M ");
    row("gust of 10", wind(w12, {"", "", "10", "190"}), "18012G10KT M ");
    row("gust without direction", wind(w12, {"", "", "18", ""}), "18012KT M ");
    row("speeds capped at 99", wind({"120", "180", "120", "184"}, {"", "", "130", "190"}),
        "18099G99KT M ");
    row("98.5 rounds to 99", wind({"98.5", "180", "98.5", "184"}), "18099KT M ");
    row("range extent 70", wind(w12, range("150", "220")), "18012G18KT 150V220 M ");
    row("range extent 50", wind(w12, range("150", "200")), "18012G18KT M ");
    row("range extent 59", wind(w12, range("300", "359")), "18012G18KT M ");
    row("range extent 60 to north", wind(w12, range("300", "0")), "18012G18KT 300V000 M ");
    row("range across north", wind(w12, range("300", "20")), "18012G18KT 300V020 M ");
    row("equal bounds count as a full turn", wind(w12, range("150", "150")),
        "18012G18KT 150V150 M ");
    row("fractional bound reads as 0", wind(w12, range("150.5", "220")), "18012G18KT 000V220 M ");
    row("bounds at the ends of int", wind(w12, range("2147483647", "-2147483648")),
        "18012G18KT M ");
    row("missing upper bound", wind(w12, range("150", "")), "18012G18KT M ");
    row("range without gust", wind(w12, {"", "", "", "", "", "", "150", "220"}),
        "18012KT 150V220 M ");
    row("missing speed: no group", wind({"12", "180", "", "184"}, g18), "M ");
    row("missing direction: no group", wind({"12", "180", "12", ""}, g18), "M ");
    row("missing direction, low", wind({"3", "180", "12", ""}), "VRB12KT M ");
    row("no wind lines", wind({}), "M ");
    // BRQ WI: speed, direction; GU: gust (also the peak), gust direction.
    const auto brqWind = [](const QStringList& gu, const QStringList& wi = {"12", "184"}) {
        return brqRecord(linesFrom({"WI", "GU"}, {wi, gu}));
    };
    row("BRQ gust, never variable", brqWind({"18", "190", "", "", "", "", "150", "220"}),
        "18012G18KT M ");
    row("BRQ low gust gives VRB", brqWind({"5", "190"}), "VRB12KT M ");
    row("BRQ without gust line", brqWind({}), "VRB12KT M ");
    row("BRQ calm", brqWind({"0", "0"}, {"0", "0"}), "00000KT M ");

    // The thresholds of the visibility group itself are covered by visibilityGroup.
    const auto brqVis = [](const QString& miles) { return brqRecord({{"VI", {miles}}}); };
    row("BRQ no visibility at all", brqVis("0"), "M1/4SM ");
    row("BRQ 0.3 miles", brqVis("0.3"), "1/4SM ");
    row("BRQ 6.2 miles", brqVis("6.2"), "10SM ");
    row("BRQ negative visibility", brqVis("-1"), "//// ");
    row("BRQ visibility not a number", brqVis("abc"), "M ");
    row("BRQ no VI line", brqRecord({}), "M ");
    const auto orvaVis = [](const QString& km) {
        return orvaRecord({{"PW", {"0", "XX", "0", "0", km, "XX"}}});
    };
    row("ORVA 10 km", orvaVis("10"), "10SM ");
    row("ORVA 0.4 km", orvaVis("0.4"), "M1/4SM ");
    row("ORVA 2.4 km", orvaVis("2.4"), "1 1/2SM ");
    row("ORVA squall", orvaRecord({{"GU", {"", "", "", "", "", "1"}}}), "M SQ ");
    row("ORVA squall 1.0 is not 1", orvaRecord({{"GU", {"", "", "", "", "", "1.0"}}}), "M ");

    const auto ld = [](const QString& distance, const QString& strikes = "2") {
        return brqRecord({{"LD", {distance, strikes}}});
    };
    row("BRQ lightning at 3 km", ld("3"), "M TS ");
    row("BRQ lightning at 5 km", ld("5"), "M TS ");
    row("BRQ lightning at 5.1 km", ld("5.1"), "M VCTS ");
    row("BRQ lightning at 9.9 km", ld("9.9"), "M VCTS ");
    row("BRQ lightning at 10 km", ld("10"), "M LTG DSNT ");
    row("BRQ empty distance reads as 0", ld(""), "M TS ");
    row("BRQ no strikes", ld("3", "0"), "M ");

    const auto cl = [](const QStringList& heights, const QStringList& oktas,
                       const QString& state = "0") {
        QStringList fields{state};
        for (int i = 0; i < 6; ++i)
            fields << heights.value(i, "0");
        for (int i = 0; i < 6; ++i)
            fields << oktas.value(i, "0");
        return RecordLine{"CL", fields << "0"};
    };
    const auto pw = [](const QString& code, const QString& km, const QString& fog = "XX") {
        return RecordLine{"PW", {"0", code, "0", "0", km, fog}};
    };
    // ORVA heights are tens of metres: 30 -> 984 ft -> 1000, 9 -> 295 ft -> 300.
    row("ORVA two layers, lowest first", orvaRecord({cl({"30", "9"}, {"2", "6"})}),
        "M BKN003 FEW010 ");
    row("ORVA no layer", orvaRecord({cl({}, {})}), "M CLR ");
    row("ORVA ceilometer off", orvaRecord({cl({"30"}, {"8"}, "-")}), "M ");
    row("ORVA no ceilometer", orvaRecord({cl({"30"}, {"8"}, "?")}), "M ");
    row("ORVA unknown cover", orvaRecord({cl({"46"}, {"-1"})}), "M ///015 ");
    row("ORVA height with no cloud amount", orvaRecord({cl({"46"}, {"0"})}), "M ///015 ");
    row("ORVA overcast in snow at a quarter mile", orvaRecord({pw("71", "0.4"), cl({"6"}, {"8"})}),
        "M1/4SM -SN VV002 ");
    row("ORVA overcast in snow at 0.31 mile", orvaRecord({pw("71", "0.5"), cl({"6"}, {"8"})}),
        "1/4SM -SN OVC002 ");
    row("ORVA overcast in freezing fog", orvaRecord({pw("XX", "0.4", "27"), cl({"6"}, {"8"})}),
        "M1/4SM FZFG VV002 ");
    row("ORVA broken in snow stays broken", orvaRecord({pw("71", "0.4"), cl({"6"}, {"6"})}),
        "M1/4SM -SN BKN002 ");
    // BRQ heights are metres: 30 -> 98 ft -> 100, 9 -> 29 ft -> not listed.
    row("BRQ metres", brqRecord({cl({"30", "9"}, {"2", "6"})}), "M FEW001 ");
    row("BRQ no layer", brqRecord({cl({}, {})}), "M ");

    const auto ta = [](const QString& temperature, const QString& humidity = QString()) {
        return orvaRecord(linesFrom({"TA", "RH"}, {given(temperature), given(humidity)}));
    };
    row("-0.4 gives 00", ta("-0.4"), "M 00/ ");
    row("-0.5 gives M01", ta("-0.5"), "M M01/ ");
    row("12.5 gives 13", ta("12.5"), "M 13/ ");
    row("0.5 gives 01", ta("0.5"), "M 01/ ");
    row("20 at 50 %", ta("20", "50"), "M 20/09 ");
    row("-5 at 50 %: dew point -13.8", ta("-5", "50"), "M M05/M14 ");
    row("-12.3 at 64 %: dew point -17.7", ta("-12.3", "64"), "M M12/M18 ");
    row("dew point -0.1 gives 00", ta("0", "99"), "M 00/00 ");
    row("11 at 97 %: dew point 10.5 rounds up", ta("11", "97"), "M 11/11 ");
    row("saturated", ta("5", "100"), "M 05/05 ");
    row("humidity missing", orvaRecord({{"TA", {"21.4"}}, {"RH", {""}}}), "M 21/ ");
    row("dew point has no value", ta("-237.7", "50"), "M M238/ ");
    row("temperature missing", ta("", "50"), "M ");
    row("temperature not a number", ta("abc", "50"), "M ");
    row("temperature nan", ta("nan", "50"), "M ");
    row("temperature is the no-value", ta("-1000", "50"), "M ");
    row("temperature is the no-value in decimals", ta("-1000.0", "50"), "M ");
    row("humidity is the no-value", ta("20", "-1000.0"), "M 20/ ");

    const auto ba = [](const QString& altimeter, const QString& latitude = "45.5") {
        QList<RecordLine> lines{{"BA", {"1013.2", altimeter}}};
        if (!latitude.isEmpty())
            lines << RecordLine{"LA", {latitude}} << RecordLine{"LO", {"-73.6"}};
        return orvaRecord(lines);
    };
    row("altimeter 2992", ba("2992"), "M A2992 ");
    row("altimeter half rounds up", ba("2991.5"), "M A2992 ");
    row("altimeter below half", ba("2992.4"), "M A2992 ");
    row("altimeter padded", ba("995"), "M A0995 ");
    row("No GPS", ba("2992", "?"), "M ");
    row("no position is not No GPS", ba("2992", ""), "M A2992 ");
    row("altimeter missing", ba(""), "M ");
    row("altimeter not a number", ba("abc"), "M ");
    row("altimeter sentinel", ba("-1000"), "M ");
}

void TestMetarBody::groups()
{
    QFETCH(int, deviceType);
    QFETCH(QString, record);
    QFETCH(QString, groups);
    WeatherDataDecoder decoder;
    const QString head =
        deviceType == kOrva ? "METAR KXYZ 051407Z " : "METAR 300234010 051407Z AUTO ";
    QCOMPARE(bodyOf(reportOf(decoder, record, deviceType)), head + groups);
}

void TestMetarBody::thunderMerge_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("weather");
    QTest::addColumn<QString>("cached");
    QTest::addColumn<bool>("vicinity");
    QTest::addColumn<int>("thunderEntries");

    const auto add = [](const char* name, const char* code, const char* distance,
                        const char* weather, const char* cached, bool vicinity, int entries) {
        QTest::newRow(name) << QString(code) << QString(distance) << QString(weather)
                            << QString(cached) << vicinity << entries;
    };
    add("-RA with a close strike", "61", "3", "-TSRA ", "-TSRA", false, 1);
    add("+RA with a close strike", "63", "3", "+TSRA ", "+TSRA", false, 1);
    add("RA with a close strike", "62", "3", "TS RA ", "TSRA", false, 1);
    add("no weather with a close strike", "XX", "3", "TS ", "TS", false, 1);
    add("TSRA already holds TS", "92", "3", "TSRA ", "", false, 1);
    add("strike at 5", "62", "5", "TS RA ", "TSRA", false, 1);
    add("strike at 5.1 is vicinity", "62", "5.1", "VCTS RA ", "VCTSRA", true, 0);
    add("strike at 10 is vicinity", "62", "10", "VCTS RA ", "VCTSRA", true, 0);
    add("code 90 in the vicinity", "90", "8", "VCTS ", "", true, 0);
    add("strike beyond 10", "62", "10.5", "RA ", "", false, 0);
    add("strike distance missing reads as 0", "62", "", "TS RA ", "TSRA", false, 1);
}

void TestMetarBody::thunderMerge()
{
    QFETCH(QString, code);
    QFETCH(QString, distance);
    QFETCH(QString, weather);
    QFETCH(QString, cached);
    QFETCH(bool, vicinity);
    QFETCH(int, thunderEntries);

    WeatherDataDecoder decoder;
    const QString record = orvaRecord({{"PW", {"0", code, "0", "0", "16.09", "XX"}},
                                       {"LT", {"2", "2", "2", distance, "3", "3"}}});
    QCOMPARE(bodyOf(reportOf(decoder, record, kOrva)), "METAR KXYZ 051407Z 10SM " + weather);
    QCOMPARE(decoder.cachedWeatherGroup, cached);
    QCOMPARE(decoder.vicinityThunder, vicinity);
    QCOMPARE(decoder.thunderTimes.size(), thunderEntries);
    if (thunderEntries > 0)
        QCOMPARE(decoder.thunderTimes.first(), qMakePair(14, 7));
    // The record builder's second look at the weather sees the merged group.
    if (!cached.isEmpty())
        QCOMPARE(decoder.getPresentWeather(true), cached);
}

void TestMetarBody::thunderPersistence_data()
{
    QTest::addColumn<int>("strikeHour");
    QTest::addColumn<int>("strikeMinute");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("body");

    QTest::newRow("14 minutes later")
        << 12 << 0 << QString("24/03/05,12:14:00") << QString("METAR KXYZ 051214Z M TS ");
    QTest::newRow("15 minutes later")
        << 12 << 0 << QString("24/03/05,12:15:00") << QString("METAR KXYZ 051215Z M ");
    QTest::newRow("10 minutes across midnight")
        << 23 << 55 << QString("24/03/06,00:05:00") << QString("METAR KXYZ 060005Z M TS ");
    QTest::newRow("15 minutes across midnight")
        << 23 << 55 << QString("24/03/06,00:10:00") << QString("METAR KXYZ 060010Z M ");
}

void TestMetarBody::thunderPersistence()
{
    QFETCH(int, strikeHour);
    QFETCH(int, strikeMinute);
    QFETCH(QString, time);
    QFETCH(QString, body);

    WeatherDataDecoder decoder;
    decoder.thunderTimes = {qMakePair(strikeHour, strikeMinute)};
    decoder.thunderBeginReported = true;
    const QString record = orvaRecord({{"LT", {"0", "1", "4", "0", "3", "3"}}}, time);
    QCOMPARE(bodyOf(reportOf(decoder, record, kOrva)), body);
}

void TestMetarBody::thunderTimesKeepFirstAndNewest()
{
    WeatherDataDecoder decoder;
    for (int minute = 0; minute < 5; ++minute) {
        const QString time = QStringLiteral("24/03/05,12:%1:00").arg(minute, 2, 10, QChar('0'));
        reportOf(decoder, orvaRecord({{"LT", {"1", "1", "1", "2", "2", "2"}}}, time), kOrva);
    }
    const QList<QPair<qint32, qint32>> expected{qMakePair(12, 0), qMakePair(12, 4)};
    QCOMPARE(decoder.thunderTimes, expected);
}

void TestMetarBody::hostileValuesNeverReachTheText_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("nan") << "nan";
    QTest::newRow("inf") << "inf";
    QTest::newRow("-inf") << "-inf";
    QTest::newRow("largest double") << "1.7976931348623157e308";
    QTest::newRow("most negative double") << "-1.7976931348623157e308";
    QTest::newRow("largest int") << "2147483647";
}

void TestMetarBody::hostileValuesNeverReachTheText()
{
    QFETCH(QString, value);
    const QStringList six = repeated(value, 6);
    const QStringList fourteen = QStringList{"0"} + repeated(value, 13);
    const QList<RecordLine> lines{{"WI", six},
                                  {"GU", repeated(value, 8)},
                                  {"TA", {value}},
                                  {"RH", {value}},
                                  {"BA", {value, value, value, "3", "2"}},
                                  {"EL", {value}},
                                  {"CL", fourteen},
                                  {"PW", {value, "62", value, value, value, "6"}},
                                  {"LT", six},
                                  {"LD", six},
                                  {"LA", {value}},
                                  {"LO", {value}},
                                  {"PA", repeated(value, 11)}};
    for (const int deviceType : {kOrva, kBrq}) {
        for (const char* time : {"24/03/05,11:45:00", "24/03/05,14:50:00"}) {
            WeatherDataDecoder decoder;
            decoder.maxTemp6h = {{QDateTime(QDate(2024, 3, 5), QTime(7, 0), Qt::UTC), 1e308}};
            decoder.minTemp6h = {{QDateTime(QDate(2024, 3, 5), QTime(7, 0), Qt::UTC), -1e308}};
            const QString record =
                deviceType == kOrva ? orvaRecord(lines, time) : brqRecord(lines, time);
            // Run twice so that state carried between reports is exercised too.
            for (int run = 0; run < 2; ++run) {
                const QString report = reportOf(decoder, record, deviceType);
                QVERIFY2(!report.contains(QLatin1String("nan"), Qt::CaseInsensitive) &&
                             !report.contains(QLatin1String("inf"), Qt::CaseInsensitive),
                         qPrintable(report));
                // Every group is separated by one blank: no group lost its digits.
                QVERIFY2(!report.contains(QLatin1String("  ")), qPrintable(report));
                for (const QString& group : report.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                    static const QRegularExpression bare(QStringLiteral("^(T|P|KT|A|[0-9]|SLP)$"));
                    QVERIFY2(!bare.match(group).hasMatch(), qPrintable(report));
                }
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestMetarBody)
#include "tst_metarbody.moc"
