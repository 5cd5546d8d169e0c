#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace
{

const int kBrq = static_cast<int>(DeviceTypes::BRQ);
const int kOrva = static_cast<int>(DeviceTypes::ORVA);

// An ORVA record of station KXYZ; `time` is the T line's value, e.g. "24/03/05,14:07:09".
QString orvaRecord(const QList<RecordLine>& lines, const QString& time = "24/03/05,14:07:09",
                   const QString& frame = "@1")
{
    QList<RecordLine> all{{"N", {"0", "0", "0", "0", "kxyz", "1", "1"}}, {"T", time.split(':')}};
    all += lines;
    return frame + buildRecord(all);
}

// A BRQ record of unit 300234010, a routine observation.
QString brqRecord(const QList<RecordLine>& lines, const QString& time = "24/03/05,14:07:09")
{
    QList<RecordLine> all{{"@I", {"300234010"}}, {"N", {"0", "M"}}, {"T", time.split(':')}};
    all += lines;
    return buildRecord(all);
}

QString reportOf(WeatherDataDecoder& decoder, const QString& record, int deviceType)
{
    decoder.setRecordText(record);
    decoder.setDeviceType(deviceType, false);
    return decoder.createMetar();
}

// The body: everything before the remarks.
QString bodyOf(const QString& report)
{
    return report.left(report.indexOf(QLatin1String("RMK AO2 ")));
}

QStringList repeated(const QString& value, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << value;
    return list;
}

QList<RecordLine> linesFrom(const QStringList& keys, const QList<QStringList>& values)
{
    QList<RecordLine> lines;
    for (int i = 0; i < keys.size(); ++i) {
        if (!values.at(i).isEmpty())
            lines.append({keys.at(i), values.at(i)});
    }
    return lines;
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
    void wind_data();
    void wind();
    void visibilityAndSquall_data();
    void visibilityAndSquall();
    void brqLightning_data();
    void brqLightning();
    void thunderMerge_data();
    void thunderMerge();
    void thunderPersistence_data();
    void thunderPersistence();
    void thunderTimesKeepFirstAndNewest();
    void sky_data();
    void sky();
    void temperature_data();
    void temperature();
    void altimeter_data();
    void altimeter();
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

    QTest::newRow("negative") << -0.1 << "////";
    QTest::newRow("0") << 0.0 << "M1/4SM";
    QTest::newRow("0.25") << 0.25 << "M1/4SM";
    QTest::newRow("0.3") << 0.3 << "1/4SM";
    QTest::newRow("0.375") << 0.375 << "1/4SM";
    QTest::newRow("0.376") << 0.376 << "1/2SM";
    QTest::newRow("0.625") << 0.625 << "1/2SM";
    QTest::newRow("0.875") << 0.875 << "3/4SM";
    QTest::newRow("1.125") << 1.125 << "1SM";
    QTest::newRow("1.375") << 1.375 << "1 1/4SM";
    QTest::newRow("1.625") << 1.625 << "1 1/2SM";
    QTest::newRow("1.875") << 1.875 << "1 3/4SM";
    QTest::newRow("1.876") << 1.876 << "2SM";
    QTest::newRow("2.5") << 2.5 << "2SM";
    QTest::newRow("3.5") << 3.5 << "3SM";
    QTest::newRow("4.5") << 4.5 << "4SM";
    QTest::newRow("5.5") << 5.5 << "5SM";
    QTest::newRow("5.51") << 5.51 << "6SM";
    QTest::newRow("6.19") << 6.19 << "6SM";
    QTest::newRow("6.2") << 6.2 << "10SM";
    QTest::newRow("100") << 100.0 << "10SM";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "";
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

    QTest::newRow("ORVA station from N, upper-cased")
        << orvaRecord({}) << kOrva << "METAR KXYZ 051407Z M "
        << "KXYZ";
    QTest::newRow("ORVA SPECI") << orvaRecord({}, "24/03/05,14:07:09", "@2") << kOrva
                                << "SPECI KXYZ 051407Z M "
                                << "KXYZ";
    QTest::newRow("ORVA N field 4 ? takes IR field 3")
        << "@1" + buildRecord({{"N", {"0", "0", "0", "0", "?", "1", "1"}},
                               {"IR", {"a", "b", "c", "UNIT7"}},
                               {"T", {"24/03/05,14", "07", "09"}}})
        << kOrva << "METAR UNIT7 051407Z M "
        << "";
    // The placeholder keeps the observation time.
    QTest::newRow("ORVA without station")
        << "@1" + buildRecord({{"T", {"24/03/05,14", "07", "09"}}}) << kOrva
        << "METAR 000000000000000 051407Z M "
        << "";
    QTest::newRow("one-digit month")
        << orvaRecord({}, "24/3/05,14:07:09") << kOrva << "METAR KXYZ 000000Z M "
        << "KXYZ";
    QTest::newRow("no T line") << "@1" +
                                      buildRecord({{"N", {"0", "0", "0", "0", "KXYZ", "1", "1"}}})
                               << kOrva << "METAR KXYZ 000000Z M "
                               << "KXYZ";
    QTest::newRow("BRQ") << brqRecord({}) << kBrq << "METAR 300234010 051407Z AUTO M "
                         << "";
    QTest::newRow("BRQ without identity") << buildRecord({{"T", {"24/03/05,14", "07", "09"}}})
                                          << kBrq << "METAR 000000000000000 051407Z AUTO M "
                                          << "";
    QTest::newRow("BRQ without identity and time")
        << buildRecord({{"TA", {""}}}) << kBrq << "METAR 000000000000000 000000Z AUTO M "
        << "";
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

void TestMetarBody::wind_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QStringList>("wi");
    QTest::addColumn<QStringList>("gu");
    QTest::addColumn<QString>("group");

    // ORVA WI: instantaneous (peak), direction, report speed, 2-minute direction.
    // ORVA GU: -, -, gust, gust direction, -, squall, range bounds.
    const QStringList wind12{"12", "180", "12", "184"};
    const QStringList gust18{"", "", "18", "190", "", "", "", ""};
    const auto range = [](const QString& low, const QString& high) {
        return QStringList{"", "", "18", "190", "", "", low, high};
    };

    QTest::newRow("calm whatever the rest says")
        << kOrva << QStringList{"0.6", "270", "0.6", "270"} << range("150", "220") << "00000KT ";
    QTest::newRow("0.99 is calm") << kOrva << QStringList{"12", "180", "0.99", "184"}
                                  << QStringList() << "00000KT ";
    QTest::newRow("low instantaneous speed gives VRB")
        << kOrva << QStringList{"5", "180", "12", "184"} << QStringList() << "VRB12KT ";
    QTest::newRow("missing peak counts as low")
        << kOrva << QStringList{"", "180", "12", "184"} << QStringList() << "VRB12KT ";
    QTest::newRow("VRB half rounds up")
        << kOrva << QStringList{"5.5", "180", "5.5", "184"} << QStringList() << "VRB06KT ";
    QTest::newRow("VRB at 1 kt") << kOrva << QStringList{"1", "180", "1", "184"} << QStringList()
                                 << "VRB01KT ";
    QTest::newRow("steady") << kOrva << wind12 << QStringList() << "18012KT ";
    QTest::newRow("direction half 185")
        << kOrva << QStringList{"12", "0", "12", "185"} << QStringList() << "19012KT ";
    QTest::newRow("direction 355 gives 360")
        << kOrva << QStringList{"12", "0", "12", "355"} << QStringList() << "36012KT ";
    QTest::newRow("direction 4 gives 000")
        << kOrva << QStringList{"12", "0", "12", "4"} << QStringList() << "00012KT ";
    QTest::newRow("speed half 12.5")
        << kOrva << QStringList{"12.5", "0", "12.5", "184"} << QStringList() << "18013KT ";
    QTest::newRow("gust") << kOrva << wind12 << gust18 << "18012G18KT ";
    QTest::newRow("gust of 9 is no gust")
        << kOrva << wind12 << QStringList{"", "", "9", "190"} << "18012KT ";
    QTest::newRow("gust of 10") << kOrva << wind12 << QStringList{"", "", "10", "190"}
                                << "18012G10KT ";
    QTest::newRow("gust without direction")
        << kOrva << wind12 << QStringList{"", "", "18", ""} << "18012KT ";
    QTest::newRow("speeds capped at 99") << kOrva << QStringList{"120", "180", "120", "184"}
                                         << QStringList{"", "", "130", "190"} << "18099G99KT ";
    QTest::newRow("98.5 rounds to 99")
        << kOrva << QStringList{"98.5", "180", "98.5", "184"} << QStringList() << "18099KT ";
    QTest::newRow("range extent 70")
        << kOrva << wind12 << range("150", "220") << "18012G18KT 150V220 ";
    QTest::newRow("range extent 50") << kOrva << wind12 << range("150", "200") << "18012G18KT ";
    QTest::newRow("range extent 59") << kOrva << wind12 << range("300", "359") << "18012G18KT ";
    QTest::newRow("range extent 60 to north")
        << kOrva << wind12 << range("300", "0") << "18012G18KT 300V000 ";
    QTest::newRow("range across north")
        << kOrva << wind12 << range("300", "20") << "18012G18KT 300V020 ";
    QTest::newRow("equal bounds count as a full turn")
        << kOrva << wind12 << range("150", "150") << "18012G18KT 150V150 ";
    QTest::newRow("fractional bound reads as 0")
        << kOrva << wind12 << range("150.5", "220") << "18012G18KT 000V220 ";
    QTest::newRow("bounds at the ends of int")
        << kOrva << wind12 << range("2147483647", "-2147483648") << "18012G18KT ";
    QTest::newRow("missing upper bound") << kOrva << wind12 << range("150", "") << "18012G18KT ";
    QTest::newRow("range without gust")
        << kOrva << wind12 << QStringList{"", "", "", "", "", "", "150", "220"}
        << "18012KT 150V220 ";
    QTest::newRow("missing speed: no group")
        << kOrva << QStringList{"12", "180", "", "184"} << gust18 << "";
    QTest::newRow("missing direction: no group")
        << kOrva << QStringList{"12", "180", "12", ""} << gust18 << "";
    QTest::newRow("missing direction, low")
        << kOrva << QStringList{"3", "180", "12", ""} << QStringList() << "VRB12KT ";
    QTest::newRow("no wind lines") << kOrva << QStringList() << QStringList() << "";

    // BRQ WI: speed, direction; GU: gust (also the peak), gust direction.
    QTest::newRow("BRQ gust, never variable")
        << kBrq << QStringList{"12", "184"}
        << QStringList{"18", "190", "", "", "", "", "150", "220"} << "18012G18KT ";
    QTest::newRow("BRQ low gust gives VRB")
        << kBrq << QStringList{"12", "184"} << QStringList{"5", "190"} << "VRB12KT ";
    QTest::newRow("BRQ without gust line")
        << kBrq << QStringList{"12", "184"} << QStringList() << "VRB12KT ";
    QTest::newRow("BRQ calm") << kBrq << QStringList{"0", "0"} << QStringList{"0", "0"}
                              << "00000KT ";
}

void TestMetarBody::wind()
{
    QFETCH(int, deviceType);
    QFETCH(QStringList, wi);
    QFETCH(QStringList, gu);
    QFETCH(QString, group);

    const QList<RecordLine> lines = linesFrom({"WI", "GU"}, {wi, gu});
    WeatherDataDecoder decoder;
    if (deviceType == kOrva) {
        QCOMPARE(bodyOf(reportOf(decoder, orvaRecord(lines), kOrva)),
                 "METAR KXYZ 051407Z " + group + "M ");
    } else {
        QCOMPARE(bodyOf(reportOf(decoder, brqRecord(lines), kBrq)),
                 "METAR 300234010 051407Z AUTO " + group + "M ");
    }
}

void TestMetarBody::visibilityAndSquall_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("groups");

    const auto brqVis = [](const QString& miles) { return brqRecord({{"VI", {miles}}}); };
    QTest::newRow("BRQ 0.25") << kBrq << brqVis("0.25") << "M1/4SM ";
    QTest::newRow("BRQ 0.3") << kBrq << brqVis("0.3") << "1/4SM ";
    QTest::newRow("BRQ 6.19") << kBrq << brqVis("6.19") << "6SM ";
    QTest::newRow("BRQ 6.2") << kBrq << brqVis("6.2") << "10SM ";
    QTest::newRow("BRQ negative") << kBrq << brqVis("-1") << "//// ";
    QTest::newRow("BRQ not a number") << kBrq << brqVis("abc") << "M ";
    QTest::newRow("BRQ no VI line") << kBrq << brqRecord({}) << "M ";

    const auto orvaVis = [](const QString& km) {
        return orvaRecord({{"PW", {"0", "XX", "0", "0", km, "XX"}}});
    };
    QTest::newRow("ORVA 10 km") << kOrva << orvaVis("10") << "10SM ";
    QTest::newRow("ORVA 0.4 km") << kOrva << orvaVis("0.4") << "M1/4SM ";
    QTest::newRow("ORVA 2.4 km") << kOrva << orvaVis("2.4") << "1 1/2SM ";
    QTest::newRow("ORVA squall") << kOrva << orvaRecord({{"GU", {"", "", "", "", "", "1"}}})
                                 << "M SQ ";
    QTest::newRow("ORVA squall 1.0 is not 1")
        << kOrva << orvaRecord({{"GU", {"", "", "", "", "", "1.0"}}}) << "M ";
}

void TestMetarBody::visibilityAndSquall()
{
    QFETCH(int, deviceType);
    QFETCH(QString, record);
    QFETCH(QString, groups);
    WeatherDataDecoder decoder;
    const QString head =
        deviceType == kOrva ? "METAR KXYZ 051407Z " : "METAR 300234010 051407Z AUTO ";
    QCOMPARE(bodyOf(reportOf(decoder, record, deviceType)), head + groups);
}

void TestMetarBody::brqLightning_data()
{
    QTest::addColumn<QStringList>("ld");
    QTest::addColumn<QString>("group");

    QTest::newRow("3 km") << QStringList{"3", "2"} << "TS ";
    QTest::newRow("5 km") << QStringList{"5", "2"} << "TS ";
    QTest::newRow("5.1 km") << QStringList{"5.1", "2"} << "VCTS ";
    QTest::newRow("9.9 km") << QStringList{"9.9", "2"} << "VCTS ";
    QTest::newRow("10 km") << QStringList{"10", "2"} << "LTG DSNT ";
    QTest::newRow("empty distance reads as 0") << QStringList{"", "2"} << "TS ";
    QTest::newRow("no strikes") << QStringList{"3", "0"} << "";
}

void TestMetarBody::brqLightning()
{
    QFETCH(QStringList, ld);
    QFETCH(QString, group);
    WeatherDataDecoder decoder;
    QCOMPARE(bodyOf(reportOf(decoder, brqRecord({{"LD", ld}}), kBrq)),
             "METAR 300234010 051407Z AUTO M " + group);
}

void TestMetarBody::thunderMerge_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("weather");
    QTest::addColumn<QString>("cached");
    QTest::addColumn<bool>("vicinity");
    QTest::addColumn<int>("thunderEntries");

    QTest::newRow("-RA with a close strike") << "61"
                                             << "3"
                                             << "-TSRA "
                                             << "-TSRA" << false << 1;
    QTest::newRow("+RA with a close strike") << "63"
                                             << "3"
                                             << "+TSRA "
                                             << "+TSRA" << false << 1;
    QTest::newRow("RA with a close strike") << "62"
                                            << "3"
                                            << "TS RA "
                                            << "TSRA" << false << 1;
    QTest::newRow("no weather with a close strike") << "XX"
                                                    << "3"
                                                    << "TS "
                                                    << "TS" << false << 1;
    QTest::newRow("TSRA already holds TS") << "92"
                                           << "3"
                                           << "TSRA "
                                           << "" << false << 1;
    QTest::newRow("strike at 5") << "62"
                                 << "5"
                                 << "TS RA "
                                 << "TSRA" << false << 1;
    QTest::newRow("strike at 5.1 is vicinity") << "62"
                                               << "5.1"
                                               << "VCTS RA "
                                               << "VCTSRA" << true << 0;
    QTest::newRow("strike at 10 is vicinity") << "62"
                                              << "10"
                                              << "VCTS RA "
                                              << "VCTSRA" << true << 0;
    QTest::newRow("code 90 in the vicinity") << "90"
                                             << "8"
                                             << "VCTS "
                                             << "" << true << 0;
    QTest::newRow("strike beyond 10") << "62"
                                      << "10.5"
                                      << "RA "
                                      << "" << false << 0;
    QTest::newRow("strike distance missing reads as 0") << "62"
                                                        << ""
                                                        << "TS RA "
                                                        << "TSRA" << false << 1;
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

    QTest::newRow("14 minutes later") << 12 << 0 << "24/03/05,12:14:00"
                                      << "METAR KXYZ 051214Z M TS ";
    QTest::newRow("15 minutes later") << 12 << 0 << "24/03/05,12:15:00"
                                      << "METAR KXYZ 051215Z M ";
    QTest::newRow("10 minutes across midnight") << 23 << 55 << "24/03/06,00:05:00"
                                                << "METAR KXYZ 060005Z M TS ";
    QTest::newRow("15 minutes across midnight") << 23 << 55 << "24/03/06,00:10:00"
                                                << "METAR KXYZ 060010Z M ";
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

void TestMetarBody::sky_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("groups");

    const auto cl = [](const QString& state, const QStringList& heights, const QStringList& oktas) {
        QStringList fields{state};
        for (int i = 0; i < 6; ++i)
            fields << heights.value(i, "0");
        for (int i = 0; i < 6; ++i)
            fields << oktas.value(i, "0");
        fields << "0";
        return RecordLine{"CL", fields};
    };

    // ORVA heights are tens of metres: 30 -> 984 ft -> 1000, 9 -> 295 ft -> 300.
    QTest::newRow("ORVA two layers, lowest first")
        << kOrva << orvaRecord({cl("0", {"30", "9"}, {"2", "6"})}) << "M BKN003 FEW010 ";
    QTest::newRow("ORVA no layer") << kOrva << orvaRecord({cl("0", {}, {})}) << "M CLR ";
    QTest::newRow("ORVA ceilometer off") << kOrva << orvaRecord({cl("-", {"30"}, {"8"})}) << "M ";
    QTest::newRow("ORVA no ceilometer") << kOrva << orvaRecord({cl("?", {"30"}, {"8"})}) << "M ";
    QTest::newRow("ORVA unknown cover")
        << kOrva << orvaRecord({cl("0", {"46"}, {"-1"})}) << "M ///015 ";
    QTest::newRow("ORVA height with no cloud amount")
        << kOrva << orvaRecord({cl("0", {"46"}, {"0"})}) << "M ///015 ";
    QTest::newRow("ORVA overcast in snow at a quarter mile")
        << kOrva << orvaRecord({{"PW", {"0", "71", "0", "0", "0.4", "XX"}}, cl("0", {"6"}, {"8"})})
        << "M1/4SM -SN VV002 ";
    QTest::newRow("ORVA overcast in snow at 0.31 mile")
        << kOrva << orvaRecord({{"PW", {"0", "71", "0", "0", "0.5", "XX"}}, cl("0", {"6"}, {"8"})})
        << "1/4SM -SN OVC002 ";
    QTest::newRow("ORVA overcast in freezing fog")
        << kOrva << orvaRecord({{"PW", {"0", "XX", "0", "0", "0.4", "27"}}, cl("0", {"6"}, {"8"})})
        << "M1/4SM FZFG VV002 ";
    QTest::newRow("ORVA broken in snow stays broken")
        << kOrva << orvaRecord({{"PW", {"0", "71", "0", "0", "0.4", "XX"}}, cl("0", {"6"}, {"6"})})
        << "M1/4SM -SN BKN002 ";
    // BRQ heights are metres: 30 -> 98 ft -> 100, 9 -> 29 ft -> not listed.
    QTest::newRow("BRQ metres") << kBrq << brqRecord({cl("0", {"30", "9"}, {"2", "6"})})
                                << "M FEW001 ";
    QTest::newRow("BRQ no layer") << kBrq << brqRecord({cl("0", {}, {})}) << "M ";
}

void TestMetarBody::sky()
{
    QFETCH(int, deviceType);
    QFETCH(QString, record);
    QFETCH(QString, groups);
    WeatherDataDecoder decoder;
    const QString head =
        deviceType == kOrva ? "METAR KXYZ 051407Z " : "METAR 300234010 051407Z AUTO ";
    QCOMPARE(bodyOf(reportOf(decoder, record, deviceType)), head + groups);
}

void TestMetarBody::temperature_data()
{
    QTest::addColumn<QStringList>("ta");
    QTest::addColumn<QStringList>("rh");
    QTest::addColumn<QString>("group");

    QTest::newRow("-0.4 gives 00") << QStringList{"-0.4"} << QStringList() << "00/ ";
    QTest::newRow("-0.5 gives M01") << QStringList{"-0.5"} << QStringList() << "M01/ ";
    QTest::newRow("12.5 gives 13") << QStringList{"12.5"} << QStringList() << "13/ ";
    QTest::newRow("0.5 gives 01") << QStringList{"0.5"} << QStringList() << "01/ ";
    QTest::newRow("20 at 50 %") << QStringList{"20"} << QStringList{"50"} << "20/09 ";
    QTest::newRow("-5 at 50 %: dew point -13.8")
        << QStringList{"-5"} << QStringList{"50"} << "M05/M14 ";
    QTest::newRow("-12.3 at 64 %: dew point -17.7")
        << QStringList{"-12.3"} << QStringList{"64"} << "M12/M18 ";
    QTest::newRow("dew point -0.1 gives 00") << QStringList{"0"} << QStringList{"99"} << "00/00 ";
    QTest::newRow("11 at 97 %: dew point 10.5 rounds up")
        << QStringList{"11"} << QStringList{"97"} << "11/11 ";
    QTest::newRow("saturated") << QStringList{"5"} << QStringList{"100"} << "05/05 ";
    QTest::newRow("humidity missing") << QStringList{"21.4"} << QStringList{""} << "21/ ";
    QTest::newRow("dew point has no value")
        << QStringList{"-237.7"} << QStringList{"50"} << "M238/ ";
    QTest::newRow("temperature missing") << QStringList() << QStringList{"50"} << "";
    QTest::newRow("temperature not a number") << QStringList{"abc"} << QStringList{"50"} << "";
    QTest::newRow("temperature nan") << QStringList{"nan"} << QStringList{"50"} << "";
    QTest::newRow("neither") << QStringList() << QStringList() << "";
}

void TestMetarBody::temperature()
{
    QFETCH(QStringList, ta);
    QFETCH(QStringList, rh);
    QFETCH(QString, group);
    WeatherDataDecoder decoder;
    const QString record = orvaRecord(linesFrom({"TA", "RH"}, {ta, rh}));
    QCOMPARE(bodyOf(reportOf(decoder, record, kOrva)), "METAR KXYZ 051407Z M " + group);
}

void TestMetarBody::altimeter_data()
{
    QTest::addColumn<QStringList>("ba");
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("group");

    QTest::newRow("2992") << QStringList{"1013.2", "2992"} << "45.5"
                          << "A2992 ";
    QTest::newRow("half rounds up") << QStringList{"1013.2", "2991.5"} << "45.5"
                                    << "A2992 ";
    QTest::newRow("below half") << QStringList{"1013.2", "2992.4"} << "45.5"
                                << "A2992 ";
    QTest::newRow("padded") << QStringList{"1013.2", "995"} << "45.5"
                            << "A0995 ";
    QTest::newRow("No GPS") << QStringList{"1013.2", "2992"} << "?"
                            << "";
    QTest::newRow("no position is not No GPS") << QStringList{"1013.2", "2992"} << ""
                                               << "A2992 ";
    QTest::newRow("missing") << QStringList{"1013.2", ""} << "45.5"
                             << "";
    QTest::newRow("not a number") << QStringList{"1013.2", "abc"} << "45.5"
                                  << "";
    QTest::newRow("sentinel") << QStringList{"1013.2", "-1000"} << "45.5"
                              << "";
}

void TestMetarBody::altimeter()
{
    QFETCH(QStringList, ba);
    QFETCH(QString, latitude);
    QFETCH(QString, group);
    WeatherDataDecoder decoder;
    QList<RecordLine> lines{{"BA", ba}};
    if (!latitude.isEmpty())
        lines << RecordLine{"LA", {latitude}} << RecordLine{"LO", {"-73.6"}};
    QCOMPARE(bodyOf(reportOf(decoder, orvaRecord(lines), kOrva)), "METAR KXYZ 051407Z M " + group);
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
