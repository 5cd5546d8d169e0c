#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

namespace
{

const int kBrq = static_cast<int>(DeviceTypes::BRQ);
const int kOrva = static_cast<int>(DeviceTypes::ORVA);

QString orvaRecord(const QList<RecordLine>& lines, const QString& time = "24/03/05,14:07:09",
                   const QString& frame = "@1")
{
    QList<RecordLine> all{{"N", {"0", "0", "0", "0", "KXYZ", "1", "1"}}, {"T", time.split(':')}};
    all += lines;
    return frame + buildRecord(all);
}

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

QString remarksOf(const QString& report)
{
    return report.mid(report.indexOf(QLatin1String("RMK AO2 ")));
}

QDateTime utc(const QString& text)
{
    QDateTime time = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd hh:mm"));
    time.setTimeSpec(Qt::UTC);
    return time;
}

// One step of a report sequence: the record and the remarks it must carry.
struct Step {
    QString record;
    QString remarks;
};

} // namespace

Q_DECLARE_METATYPE(QList<Step>)
Q_DECLARE_METATYPE(QList<TimedValue>)

class TestMetarRemarks : public QObject
{
    Q_OBJECT
private slots:
    void windMaximum_data();
    void windMaximum();
    void distantLightning_data();
    void distantLightning();
    void distantLightningConsumesTheCompass();
    void sequences_data();
    void sequences();
    void weatherBeginTimesKeepTheBeginOnly();
    void lightningFrequency_data();
    void lightningFrequency();
    void brqBeginEnd_data();
    void brqBeginEnd();
    void brqLowCloud_data();
    void brqLowCloud();
    void pressureChange_data();
    void pressureChange();
    void seaLevelPressure_data();
    void seaLevelPressure();
    void precipitationTotals_data();
    void precipitationTotals();
    void brqLeavesPrecipitationTotals();
    void additiveGroups_data();
    void additiveGroups();
    void temperatureExtremes_data();
    void temperatureExtremes();
    void brqPosition_data();
    void brqPosition();
};

void TestMetarRemarks::windMaximum_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QStringList>("wi");
    QTest::addColumn<QStringList>("gu");
    QTest::addColumn<QString>("remarks");

    // BRQ: speed WI 0, peak and gust GU 0, gust direction GU 1.
    QTest::newRow("BRQ 10 and 16") << kBrq << QStringList{"10", "250"} << QStringList{"16", "270"}
                                   << "RMK AO2 MAX WND 27016KT SLPNO ";
    QTest::newRow("BRQ 10 and 14")
        << kBrq << QStringList{"10", "250"} << QStringList{"14", "270"} << "RMK AO2 SLPNO ";
    QTest::newRow("BRQ difference 5.5, peak half rounds up")
        << kBrq << QStringList{"10", "250"} << QStringList{"15.5", "270"}
        << "RMK AO2 MAX WND 27016KT SLPNO ";
    QTest::newRow("BRQ peak 26") << kBrq << QStringList{"24", "250"} << QStringList{"26", "270"}
                                 << "RMK AO2 MAX WND 27026KT SLPNO ";
    QTest::newRow("BRQ gust direction half 265")
        << kBrq << QStringList{"10", "250"} << QStringList{"16", "265"}
        << "RMK AO2 MAX WND 27016KT SLPNO ";
    QTest::newRow("BRQ speed capped, peak not")
        << kBrq << QStringList{"120", "250"} << QStringList{"120", "270"}
        << "RMK AO2 MAX WND 270120KT SLPNO ";
    QTest::newRow("BRQ speed missing")
        << kBrq << QStringList() << QStringList{"16", "270"} << "RMK AO2 SLPNO ";
    QTest::newRow("BRQ peak missing")
        << kBrq << QStringList{"10", "250"} << QStringList() << "RMK AO2 SLPNO ";
    QTest::newRow("BRQ gust direction missing")
        << kBrq << QStringList{"10", "250"} << QStringList{"16", ""} << "RMK AO2 SLPNO ";

    // ORVA: peak WI 0, gust direction GU 3.
    QTest::newRow("ORVA peak 25") << kOrva << QStringList{"25", "180", "20", "180"}
                                  << QStringList{"", "", "25", "180"} << "RMK AO2 SLPNO ";
    QTest::newRow("ORVA peak 25.5")
        << kOrva << QStringList{"25.5", "180", "20", "180"} << QStringList{"", "", "25", "180"}
        << "RMK AO2 PK WND 18026KT SLPNO ";
    QTest::newRow("ORVA gust direction missing")
        << kOrva << QStringList{"30", "180", "20", "180"} << QStringList{"", "", "25", ""}
        << "RMK AO2 SLPNO ";
}

void TestMetarRemarks::windMaximum()
{
    QFETCH(int, deviceType);
    QFETCH(QStringList, wi);
    QFETCH(QStringList, gu);
    QFETCH(QString, remarks);

    QList<RecordLine> lines;
    if (!wi.isEmpty())
        lines << RecordLine{"WI", wi};
    if (!gu.isEmpty())
        lines << RecordLine{"GU", gu};
    WeatherDataDecoder decoder;
    const QString record = deviceType == kOrva ? orvaRecord(lines) : brqRecord(lines);
    const QString report = reportOf(decoder, record, deviceType);
    QCOMPARE(remarksOf(report), remarks);
    QVERIFY(!report.contains(QLatin1String("-0")));
}

void TestMetarRemarks::distantLightning_data()
{
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("remarks");

    QTest::newRow("10 is excluded") << "10"
                                    << "RMK AO2 SLPNO ";
    QTest::newRow("10.1") << "10.1"
                          << "RMK AO2 LTG DSNT E SLPNO ";
    QTest::newRow("29.9") << "29.9"
                          << "RMK AO2 LTG DSNT E SLPNO ";
    QTest::newRow("30 is excluded") << "30"
                                    << "RMK AO2 SLPNO ";
}

void TestMetarRemarks::distantLightning()
{
    QFETCH(QString, distance);
    QFETCH(QString, remarks);

    WeatherDataDecoder decoder;
    // Entries as the compass packets leave them; the newest names the direction.
    decoder.lightningCompass = {{"N1", 15, 270}, {"N2", 20, 100}};
    const QString record = orvaRecord({{"LT", {"2", "5", "9", distance, "8", "8"}}});
    QCOMPARE(remarksOf(reportOf(decoder, record, kOrva)), remarks);
}

void TestMetarRemarks::distantLightningConsumesTheCompass()
{
    WeatherDataDecoder decoder;
    decoder.parseLightningCompassData("L\nheader\n0,N1,45,20;0,N2,200,35XX");
    const QString record = orvaRecord({{"LT", {"2", "5", "9", "18", "8", "8"}}});
    QCOMPARE(remarksOf(reportOf(decoder, record, kOrva)), "RMK AO2 LTG DSNT NE SLPNO ");
    QVERIFY(decoder.lightningCompass.isEmpty());
    // The next report finds the compass empty.
    QCOMPARE(remarksOf(reportOf(decoder, record, kOrva)), "RMK AO2 SLPNO ");
    // Without strikes in the last minute the compass is left for a later report.
    decoder.parseLightningCompassData("L\nheader\n0,N3,180,25;0,N4,0,5XX");
    const QString quiet = orvaRecord({{"LT", {"0", "5", "9", "18", "8", "8"}}});
    QCOMPARE(remarksOf(reportOf(decoder, quiet, kOrva)), "RMK AO2 SLPNO ");
    QCOMPARE(remarksOf(reportOf(decoder, record, kOrva)), "RMK AO2 LTG DSNT S SLPNO ");
}

void TestMetarRemarks::sequences_data()
{
    QTest::addColumn<QList<Step>>("steps");

    const auto weather = [](const QString& time, const QString& code) {
        return orvaRecord({{"PW", {"0", code}}}, "24/03/05," + time);
    };
    QTest::newRow("rain begins and ends")
        << QList<Step>{{weather("14:05:00", "61"), "RMK AO2 RAB05 SLPNO "},
                       {weather("14:10:00", "62"), "RMK AO2 SLPNO "},
                       {weather("14:35:00", "63"), "RMK AO2 SLPNO "},
                       {weather("14:40:00", "XX"), "RMK AO2 RAE40 SLPNO "},
                       {weather("14:45:00", "XX"), "RMK AO2 SLPNO "}};
    QTest::newRow("rain and snow together")
        << QList<Step>{{weather("15:12:00", "68"), "RMK AO2 RAB12SNB12 SLPNO "},
                       {weather("15:20:00", "71"), "RMK AO2 RAE20 SLPNO "},
                       {weather("15:30:00", "XX"), "RMK AO2 SNE30 SLPNO "}};
    QTest::newRow("begins are written before ends")
        << QList<Step>{{weather("16:00:00", "61"), "RMK AO2 RAB00 SLPNO "},
                       {weather("16:05:00", "71"), "RMK AO2 SNB05RAE05 SLPNO "}};
    QTest::newRow("drizzle and hail by substring")
        << QList<Step>{{weather("16:00:00", "55"), "RMK AO2 DZB00 SLPNO "},
                       {weather("16:09:00", "96"), "RMK AO2 GRB09DZE09 SLPNO "},
                       {weather("16:30:00", "10"), "RMK AO2 GRE30 SLPNO "}};

    const auto strike = [](const QString& time, const QString& distance) {
        return orvaRecord({{"LT", {"1", "1", "1", distance, "1", "1"}}}, time);
    };
    const auto quiet = [](const QString& time) {
        return orvaRecord({{"LT", {"0", "1", "1", "0", "1", "1"}}}, time);
    };
    QTest::newRow("thunderstorm begins and ends")
        << QList<Step>{{strike("24/03/05,12:03:00", "3"), "RMK AO2 TSB03 SLPNO "},
                       {strike("24/03/05,12:10:00", "2"), "RMK AO2 SLPNO "},
                       {quiet("24/03/05,12:20:00"), "RMK AO2 SLPNO "},
                       {quiet("24/03/05,12:25:00"), "RMK AO2 TSE25 SLPNO "},
                       {quiet("24/03/05,12:30:00"), "RMK AO2 SLPNO "},
                       {strike("24/03/05,12:40:00", "4"), "RMK AO2 TSB40 SLPNO "}};
    QTest::newRow("thunderstorm across midnight")
        << QList<Step>{{strike("24/03/05,23:58:00", "1"), "RMK AO2 TSB58 SLPNO "},
                       {quiet("24/03/06,00:05:00"), "RMK AO2 SLPNO "},
                       {quiet("24/03/06,00:13:00"), "RMK AO2 TSE13 SLPNO "}};
    QTest::newRow("vicinity strikes do not begin a storm")
        << QList<Step>{{strike("24/03/05,12:03:00", "8"), "RMK AO2 SLPNO "},
                       {strike("24/03/05,12:06:00", "5"), "RMK AO2 TSB06 SLPNO "},
                       {strike("24/03/05,12:15:00", "8"), "RMK AO2 SLPNO "},
                       {strike("24/03/05,12:21:00", "8"), "RMK AO2 TSE21 SLPNO "}};
}

void TestMetarRemarks::sequences()
{
    QFETCH(QList<Step>, steps);
    WeatherDataDecoder decoder;
    for (int i = 0; i < steps.size(); ++i) {
        const QString remarks = remarksOf(reportOf(decoder, steps.at(i).record, kOrva));
        QVERIFY2(remarks == steps.at(i).remarks,
                 qPrintable(QStringLiteral("step %1: %2").arg(i).arg(remarks)));
    }
}

void TestMetarRemarks::weatherBeginTimesKeepTheBeginOnly()
{
    WeatherDataDecoder decoder;
    for (const char* time : {"14:05:00", "14:10:00", "14:15:00", "14:20:00"}) {
        const QString record =
            orvaRecord({{"PW", {"0", "62"}}}, QStringLiteral("24/03/05,") + time);
        reportOf(decoder, record, kOrva);
    }
    QCOMPARE(decoder.weatherBeginTimes.keys(), QStringList{"RA"});
    const QList<QPair<qint32, qint32>> begin{qMakePair(14, 5)};
    QCOMPARE(decoder.weatherBeginTimes.value("RA"), begin);
}

void TestMetarRemarks::lightningFrequency_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QStringList>("ld");
    QTest::addColumn<QString>("remarks");

    QTest::newRow("BRQ 15 strikes near")
        << kBrq << QStringList{"5", "15"} << "RMK AO2 FRQ LTG SLPNO ";
    QTest::newRow("BRQ 14 strikes near")
        << kBrq << QStringList{"5", "14"} << "RMK AO2 OCNL LTG SLPNO ";
    QTest::newRow("BRQ empty distance")
        << kBrq << QStringList{"", "3"} << "RMK AO2 OCNL LTG SLPNO ";
    QTest::newRow("BRQ distant") << kBrq << QStringList{"10", "20"} << "RMK AO2 LTG DSNT SLPNO ";
    QTest::newRow("BRQ no strikes") << kBrq << QStringList{"5", "0"} << "RMK AO2 SLPNO ";
    QTest::newRow("ORVA with a lightning line")
        << kOrva << QStringList{"5", "15"} << "RMK AO2 FRQ LTG SLPNO ";
    QTest::newRow("ORVA distant gives nothing")
        << kOrva << QStringList{"10", "20"} << "RMK AO2 SLPNO ";
}

void TestMetarRemarks::lightningFrequency()
{
    QFETCH(int, deviceType);
    QFETCH(QStringList, ld);
    QFETCH(QString, remarks);
    const QList<RecordLine> lines{{"LD", ld}};
    WeatherDataDecoder decoder;
    const QString record = deviceType == kOrva ? orvaRecord(lines) : brqRecord(lines);
    QCOMPARE(remarksOf(reportOf(decoder, record, deviceType)), remarks);
}

void TestMetarRemarks::brqBeginEnd_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("remarks");

    const QString t = "24/03/05,14:20:00";
    QTest::newRow("rain C and J at 14:20")
        << brqRecord({{"PW", {"0.2", "0", "0", "CJ"}}}, t) << "RMK AO2 RAB1410E1345 SLPNO ";
    QTest::newRow("lower-case letters")
        << brqRecord({{"PW", {"0.2", "0", "0", "cj"}}}, t) << "RMK AO2 RAB1410E1345 SLPNO ";
    QTest::newRow("rain without an end letter")
        << brqRecord({{"PW", {"0.2", "0", "0", "C"}}}, t) << "RMK AO2 RAB1410 SLPNO ";
    QTest::newRow("rain with an unknown end letter")
        << brqRecord({{"PW", {"0.2", "0", "0", "CZ"}}}, t) << "RMK AO2 RAB1410 SLPNO ";
    QTest::newRow("rain letters with a minus")
        << brqRecord({{"PW", {"0.2", "0", "0", "C-"}}}, t) << "RMK AO2 SLPNO ";
    QTest::newRow("no rain") << brqRecord({{"PW", {"0", "0", "0", "CJ"}}}, t) << "RMK AO2 SLPNO ";
    QTest::newRow("record time unreadable")
        << brqRecord({{"PW", {"0.2", "0", "0", "CJ"}}}, "24/03/05,14:20") << "RMK AO2 SLPNO ";
    QTest::newRow("at 00:10 the hour before is 23")
        << brqRecord({{"PW", {"0.2", "0", "0", "AE"}}}, "24/03/05,00:10:00")
        << "RMK AO2 RAB0000E2320 SLPNO ";
    QTest::newRow("lightning B and D at 14:20") << brqRecord({{"LD", {"12", "3", "BD"}}}, t)
                                                << "RMK AO2 LTG DSNT LTG B1405 LTG E1415 SLPNO ";
    QTest::newRow("lightning letters unknown")
        << brqRecord({{"LD", {"12", "3", "?"}}}, t) << "RMK AO2 LTG DSNT SLPNO ";
    QTest::newRow("lightning without strikes")
        << brqRecord({{"LD", {"12", "0", "BD"}}}, t) << "RMK AO2 SLPNO ";
}

void TestMetarRemarks::brqBeginEnd()
{
    QFETCH(QString, record);
    QFETCH(QString, remarks);
    WeatherDataDecoder decoder;
    QCOMPARE(remarksOf(reportOf(decoder, record, kBrq)), remarks);
}

void TestMetarRemarks::brqLowCloud_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("report");

    // BRQ heights are metres: 91 m is 298 ft (300), 122 m is 400 ft.
    QTest::newRow("BRQ 300 ft") << kBrq << "91"
                                << "METAR 300234010 051407Z AUTO M OVC003 RMK AO2 CLD LYR BLO 004 "
                                   "SLPNO ";
    QTest::newRow("BRQ 400 ft") << kBrq << "122"
                                << "METAR 300234010 051407Z AUTO M OVC004 RMK AO2 SLPNO ";
    // ORVA heights are tens of metres.
    QTest::newRow("ORVA 300 ft: no remark") << kOrva << "9"
                                            << "METAR KXYZ 051407Z M OVC003 RMK AO2 SLPNO ";
}

void TestMetarRemarks::brqLowCloud()
{
    QFETCH(int, deviceType);
    QFETCH(QString, height);
    QFETCH(QString, report);
    const QList<RecordLine> lines{
        {"CL", {"0", height, "0", "0", "0", "0", "0", "8", "0", "0", "0", "0", "0", "0"}}};
    WeatherDataDecoder decoder;
    const QString record = deviceType == kOrva ? orvaRecord(lines) : brqRecord(lines);
    QCOMPARE(reportOf(decoder, record, deviceType), report);
}

void TestMetarRemarks::pressureChange_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("remarks");

    QTest::newRow("3 rising rapidly") << "3"
                                      << "RMK AO2 PRESRR SLPNO ";
    QTest::newRow("4 falling rapidly") << "4"
                                       << "RMK AO2 PRESFR SLPNO ";
    QTest::newRow("5") << "5"
                       << "RMK AO2 SLPNO ";
    QTest::newRow("3.0 is not a whole number") << "3.0"
                                               << "RMK AO2 SLPNO ";
}

void TestMetarRemarks::pressureChange()
{
    QFETCH(QString, flag);
    QFETCH(QString, remarks);
    WeatherDataDecoder decoder;
    const QString record = orvaRecord({{"BA", {"", "", "", flag}}});
    QCOMPARE(remarksOf(reportOf(decoder, record, kOrva)), remarks);
}

void TestMetarRemarks::seaLevelPressure_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("pressure");
    QTest::addColumn<QString>("elevation");
    QTest::addColumn<QString>("group");

    // At elevation 0 the sea-level pressure is the station pressure.
    QTest::newRow("1013.2") << kOrva << "1013.2"
                            << "0"
                            << "SLP132 ";
    QTest::newRow("998.7") << kOrva << "998.7"
                           << "0"
                           << "SLP987 ";
    QTest::newRow("1000") << kOrva << "1000"
                          << "0"
                          << "SLP000 ";
    QTest::newRow("tenths are cut, not rounded") << kOrva << "1013.29"
                                                 << "0"
                                                 << "SLP132 ";
    QTest::newRow("whole 1013 keeps three digits") << kOrva << "1013"
                                                   << "0"
                                                   << "SLP130 ";
    QTest::newRow("whole 980") << kOrva << "980"
                               << "0"
                               << "SLP800 ";
    QTest::newRow("999.96") << kOrva << "999.96"
                            << "0"
                            << "SLP999 ";
    QTest::newRow("1009.8 at 120 m is 1025.05") << kOrva << "1009.8"
                                                << "120"
                                                << "SLP250 ";
    QTest::newRow("1002.1 at 35 m is 1006.5") << kOrva << "1002.1"
                                              << "35"
                                              << "SLP065 ";
    QTest::newRow("missing station pressure") << kOrva << ""
                                              << "0"
                                              << "SLPNO ";
    QTest::newRow("zero station pressure") << kOrva << "0"
                                           << "0"
                                           << "SLPNO ";
    QTest::newRow("negative station pressure") << kOrva << "-5"
                                               << "0"
                                               << "SLPNO ";
    QTest::newRow("BRQ") << kBrq << "1013.2"
                         << "0"
                         << "SLPNO ";
}

void TestMetarRemarks::seaLevelPressure()
{
    QFETCH(int, deviceType);
    QFETCH(QString, pressure);
    QFETCH(QString, elevation);
    QFETCH(QString, group);
    const QList<RecordLine> lines{{"BA", {pressure}}, {"EL", {elevation}}};
    WeatherDataDecoder decoder;
    const QString record = deviceType == kOrva ? orvaRecord(lines) : brqRecord(lines);
    QCOMPARE(remarksOf(reportOf(decoder, record, deviceType)), "RMK AO2 " + group);
}

void TestMetarRemarks::precipitationTotals_data()
{
    QTest::addColumn<QStringList>("pa");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QStringList>("totals");

    const QStringList fiveFields{"0", "0", "0", "0", "0", "0.12", "0.35", "0.5", "1.255"};
    QTest::newRow("without field 10") << fiveFields << 1 << QStringList{"12", "35", "50", "126"};
    const QStringList elevenFields{"0",    "0",    "0",   "0",    "0",  "9",
                                   "0.12", "0.35", "0.5", "1.01", "0.8"};
    QTest::newRow("previous 24 hours") << elevenFields << 1 << QStringList{"12", "35", "50", "101"};
    QTest::newRow("since 12Z") << elevenFields << 0 << QStringList{"12", "35", "50", "80"};
    QTest::newRow("zero, negative, not a number")
        << QStringList{"0", "0", "0", "0", "0", "0", "-0.2", "abc", "0.004"} << 1
        << QStringList{"", "", "", ""};
    QTest::newRow("half a hundredth")
        << QStringList{"0", "0", "0", "0", "0", "0.005"} << 1 << QStringList{"1", "", "", ""};
    QTest::newRow("no PA line") << QStringList() << 1 << QStringList{"", "", "", ""};
}

void TestMetarRemarks::precipitationTotals()
{
    QFETCH(QStringList, pa);
    QFETCH(int, interval);
    QFETCH(QStringList, totals);

    QList<RecordLine> lines;
    if (!pa.isEmpty())
        lines << RecordLine{"PA", pa};
    for (const QString& frame : {QStringLiteral("@1"), QStringLiteral("@2")}) {
        WeatherDataDecoder decoder;
        decoder.setPrecipAccum24Interval(interval);
        reportOf(decoder, orvaRecord(lines, "24/03/05,14:07:09", frame), kOrva);
        const QJsonObject expected{{"1hr", totals.at(0)},
                                   {"3hr", totals.at(1)},
                                   {"6hr", totals.at(2)},
                                   {"24hr", totals.at(3)}};
        QCOMPARE(decoder.getPrecipTotals(), expected);
    }
}

void TestMetarRemarks::brqLeavesPrecipitationTotals()
{
    WeatherDataDecoder decoder;
    reportOf(decoder, orvaRecord({{"PA", {"0", "0", "0", "0", "0", "0.12", "0", "0", "0"}}}),
             kOrva);
    const QJsonObject before = decoder.getPrecipTotals();
    QCOMPARE(before.value("1hr").toString(), QStringLiteral("12"));
    reportOf(decoder, brqRecord({{"PA", {"0", "0", "0", "0", "0", "0.5", "0", "0", "0"}}}), kBrq);
    QCOMPARE(decoder.getPrecipTotals(), before);
}

void TestMetarRemarks::additiveGroups_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("remarks");

    const QList<RecordLine> threeHour{{"BA", {"", "", "-1.6", "", "2"}},
                                      {"PA", {"0", "0", "0", "0", "0", "0", "0.5", "0", "0"}}};
    QTest::newRow("02:50 three-hour amount and tendency")
        << orvaRecord(threeHour, "24/03/05,02:50:00") << "RMK AO2 SLPNO 60050 52016 ";
    QTest::newRow("02:45 opens the window")
        << orvaRecord(threeHour, "24/03/05,02:45:00") << "RMK AO2 SLPNO 60050 52016 ";
    QTest::newRow("02:44 is outside")
        << orvaRecord(threeHour, "24/03/05,02:44:00") << "RMK AO2 SLPNO ";
    QTest::newRow("03:00 is outside")
        << orvaRecord(threeHour, "24/03/05,03:00:00") << "RMK AO2 SLPNO ";
    QTest::newRow("SPECI at 02:50")
        << orvaRecord(threeHour, "24/03/05,02:50:00", "@2") << "RMK AO2 SLPNO ";
    QTest::newRow("tendency missing")
        << orvaRecord({{"BA", {"", "", "-1.6", "", ""}}}, "24/03/05,02:50:00") << "RMK AO2 SLPNO ";
    QTest::newRow("tendency not a code figure")
        << orvaRecord({{"BA", {"", "", "-1.6", "", "12"}}}, "24/03/05,02:50:00")
        << "RMK AO2 SLPNO ";
    QTest::newRow("change missing")
        << orvaRecord({{"BA", {"", "", "", "", "2"}}}, "24/03/05,02:50:00") << "RMK AO2 SLPNO ";
    QTest::newRow("change half a tenth")
        << orvaRecord({{"BA", {"", "", "0.05", "", "0"}}}, "24/03/05,05:59:00")
        << "RMK AO2 SLPNO 50001 ";
    QTest::newRow("one-hour amount at any time")
        << orvaRecord({{"PA", {"0", "0", "0", "0", "0", "0.12", "0.5", "0.75", "1.01"}}})
        << "RMK AO2 SLPNO P0012 ";
    QTest::newRow("six-hour amount at 17:45")
        << orvaRecord({{"PA", {"0", "0", "0", "0", "0", "0", "0.5", "0.75", "1.01"}}},
                      "24/03/05,17:45:00")
        << "RMK AO2 SLPNO 60075 ";
    QTest::newRow("large amounts keep their digits")
        << orvaRecord({{"PA", {"0", "0", "0", "0", "0", "123.45", "0", "0", "0"}}})
        << "RMK AO2 SLPNO P12345 ";

    QTest::newRow("temperature -5.0") << orvaRecord({{"TA", {"-5.0"}}}) << "RMK AO2 SLPNO T1050 ";
    QTest::newRow("temperature 21.36") << orvaRecord({{"TA", {"21.36"}}}) << "RMK AO2 SLPNO T0214 ";
    QTest::newRow("temperature 20 and dew point 9.3")
        << orvaRecord({{"TA", {"20"}}, {"RH", {"50"}}}) << "RMK AO2 SLPNO T02000093 ";
    QTest::newRow("dew point -0.1")
        << orvaRecord({{"TA", {"0"}}, {"RH", {"99.3"}}}) << "RMK AO2 SLPNO T00001001 ";
    QTest::newRow("-0.04 is no negative zero")
        << orvaRecord({{"TA", {"-0.04"}}}) << "RMK AO2 SLPNO T0000 ";
    QTest::newRow("-0.05 rounds away from zero")
        << orvaRecord({{"TA", {"-0.05"}}}) << "RMK AO2 SLPNO T1001 ";
    QTest::newRow("dew point has no value")
        << orvaRecord({{"TA", {"-237.7"}}, {"RH", {"50"}}}) << "RMK AO2 SLPNO T12377 ";
    QTest::newRow("temperature missing") << orvaRecord({{"RH", {"50"}}}) << "RMK AO2 SLPNO ";
}

void TestMetarRemarks::additiveGroups()
{
    QFETCH(QString, record);
    QFETCH(QString, remarks);
    WeatherDataDecoder decoder;
    QCOMPARE(remarksOf(reportOf(decoder, record, kOrva)), remarks);
}

void TestMetarRemarks::temperatureExtremes_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QList<TimedValue>>("max6");
    QTest::addColumn<QList<TimedValue>>("min6");
    QTest::addColumn<QList<TimedValue>>("max24");
    QTest::addColumn<QList<TimedValue>>("min24");
    QTest::addColumn<QString>("remarks");

    const auto at = [](const QString& stamp, double value) {
        return QList<TimedValue>{{utc(stamp), value}};
    };
    QTest::newRow("11:45 every extreme")
        << "24/03/05,11:45:00"
        << "20" << at("2024-03-05 06:30", 25.3) << at("2024-03-05 07:00", -2.1)
        << at("2024-03-05 01:00", 26.4) << at("2024-03-05 04:00", -3.05)
        << "RMK AO2 SLPNO T0200 10253 21021 402641031 ";
    QTest::newRow("11:45 first sample of the day")
        << "24/03/05,11:45:00"
        << "20" << QList<TimedValue>() << QList<TimedValue>() << QList<TimedValue>()
        << QList<TimedValue>() << "RMK AO2 SLPNO T0200 10200 20200 402000200 ";
    QTest::newRow("11:44 outside the window")
        << "24/03/05,11:44:00"
        << "20" << at("2024-03-05 06:30", 25.3) << at("2024-03-05 07:00", -2.1)
        << at("2024-03-05 01:00", 26.4) << at("2024-03-05 04:00", -3.05) << "RMK AO2 SLPNO T0200 ";
    QTest::newRow("17:50 six-hour only, halves and zero")
        << "24/03/05,17:50:00"
        << "10" << at("2024-03-05 12:10", 12.25) << at("2024-03-05 13:00", -0.04)
        << at("2024-03-05 01:00", 26.4) << at("2024-03-05 04:00", -3.05)
        << "RMK AO2 SLPNO T0100 10123 20000 ";
    QTest::newRow("23:59 negative extremes")
        << "24/03/05,23:59:00"
        << "-8" << at("2024-03-05 18:10", -1.05) << at("2024-03-05 20:00", -7.5)
        << QList<TimedValue>() << QList<TimedValue>() << "RMK AO2 SLPNO T1080 11011 21080 ";
    QTest::newRow("samples of an earlier block are dropped")
        << "24/03/05,17:45:00"
        << "10" << at("2024-03-05 11:50", 30.0) << at("2024-03-05 11:50", -5.0)
        << QList<TimedValue>() << QList<TimedValue>() << "RMK AO2 SLPNO T0100 10100 20100 ";
    QTest::newRow("no temperature: extremes still reported")
        << "24/03/05,17:45:00"
        << "" << at("2024-03-05 12:10", 12.25) << at("2024-03-05 13:00", 3.0) << QList<TimedValue>()
        << QList<TimedValue>() << "RMK AO2 SLPNO 10123 20030 ";
}

void TestMetarRemarks::temperatureExtremes()
{
    QFETCH(QString, time);
    QFETCH(QString, temperature);
    QFETCH(QList<TimedValue>, max6);
    QFETCH(QList<TimedValue>, min6);
    QFETCH(QList<TimedValue>, max24);
    QFETCH(QList<TimedValue>, min24);
    QFETCH(QString, remarks);

    WeatherDataDecoder decoder;
    decoder.maxTemp6h = max6;
    decoder.minTemp6h = min6;
    decoder.maxTemp24h = max24;
    decoder.minTemp24h = min24;
    QList<RecordLine> lines;
    if (!temperature.isEmpty())
        lines << RecordLine{"TA", {temperature}};
    QCOMPARE(remarksOf(reportOf(decoder, orvaRecord(lines, time), kOrva)), remarks);
}

void TestMetarRemarks::brqPosition_data()
{
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("longitude");
    QTest::addColumn<QString>("remarks");

    QTest::newRow("both") << "45.5"
                          << "-73.6" << QString::fromUtf8("RMK AO2 SLPNO 45.5° -73.6°");
    QTest::newRow("latitude missing") << ""
                                      << "-73.6"
                                      << "RMK AO2 SLPNO ";
    QTest::newRow("longitude missing") << "45.5"
                                       << ""
                                       << "RMK AO2 SLPNO ";
    QTest::newRow("latitude out of range") << "95"
                                           << "-73.6"
                                           << "RMK AO2 SLPNO ";
}

void TestMetarRemarks::brqPosition()
{
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    QFETCH(QString, remarks);
    QList<RecordLine> lines;
    if (!latitude.isEmpty())
        lines << RecordLine{"LA", {latitude}};
    if (!longitude.isEmpty())
        lines << RecordLine{"LO", {longitude}};
    WeatherDataDecoder decoder;
    QCOMPARE(remarksOf(reportOf(decoder, brqRecord(lines), kBrq)), remarks);
}

QTEST_GUILESS_MAIN(TestMetarRemarks)
#include "tst_metarremarks.moc"
