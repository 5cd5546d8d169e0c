#include "decoder/weatherdatadecoder.h"
#include "tests/decoder/metartext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

namespace
{

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

// The family shows in the record: ORVA records open with their frame, "@1" or "@2".
void row(const char* name, const QString& record, const QString& remarks)
{
    QTest::newRow(name) << (record.startsWith('@') ? kOrva : kBrq) << record
                        << "RMK AO2 " + remarks;
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)
Q_DECLARE_METATYPE(QList<TimedValue>)

class TestMetarRemarks : public QObject
{
    Q_OBJECT
private slots:
    void remarks_data();
    void remarks();
    void distantLightning_data();
    void distantLightning();
    void distantLightningConsumesTheCompass();
    void sequences_data();
    void sequences();
    void weatherBeginTimesKeepTheBeginOnly();
    void brqLowCloud();
    void precipitationTotals_data();
    void precipitationTotals();
    void brqLeavesPrecipitationTotals();
    void temperatureExtremes_data();
    void temperatureExtremes();
};

void TestMetarRemarks::remarks_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("remarks");

    // BRQ wind: speed WI 0, peak and gust GU 0, gust direction GU 1.
    const auto brqWind = [](const QStringList& wi, const QStringList& gu) {
        return brqRecord(linesFrom({"WI", "GU"}, {wi, gu}));
    };
    row("BRQ 10 and 16", brqWind({"10", "250"}, {"16", "270"}), "MAX WND 27016KT SLPNO ");
    row("BRQ 10 and 14", brqWind({"10", "250"}, {"14", "270"}), "SLPNO ");
    row("BRQ difference 5.5, peak half rounds up", brqWind({"10", "250"}, {"15.5", "270"}),
        "MAX WND 27016KT SLPNO ");
    row("BRQ peak 26", brqWind({"24", "250"}, {"26", "270"}), "MAX WND 27026KT SLPNO ");
    row("BRQ gust direction half 265", brqWind({"10", "250"}, {"16", "265"}),
        "MAX WND 27016KT SLPNO ");
    row("BRQ speed capped, peak not", brqWind({"120", "250"}, {"120", "270"}),
        "MAX WND 270120KT SLPNO ");
    row("BRQ speed missing", brqWind({}, {"16", "270"}), "SLPNO ");
    row("BRQ peak missing", brqWind({"10", "250"}, {}), "SLPNO ");
    row("BRQ gust direction missing", brqWind({"10", "250"}, {"16", ""}), "SLPNO ");
    // ORVA wind: peak WI 0, gust direction GU 3.
    const auto orvaWind = [](const QString& peak, const QString& gustDirection) {
        return orvaRecord(
            {{"WI", {peak, "180", "20", "180"}}, {"GU", {"", "", "25", gustDirection}}});
    };
    row("ORVA peak 25", orvaWind("25", "180"), "SLPNO ");
    row("ORVA peak 25.5", orvaWind("25.5", "180"), "PK WND 18026KT SLPNO ");
    row("ORVA gust direction missing", orvaWind("30", ""), "SLPNO ");

    const auto ld = [](int deviceType, const QString& distance, const QString& strikes) {
        return familyRecord(deviceType, {{"LD", {distance, strikes}}});
    };
    row("BRQ 15 strikes near", ld(kBrq, "5", "15"), "FRQ LTG SLPNO ");
    row("BRQ 14 strikes near", ld(kBrq, "5", "14"), "OCNL LTG SLPNO ");
    row("BRQ empty distance", ld(kBrq, "", "3"), "OCNL LTG SLPNO ");
    row("BRQ distant", ld(kBrq, "10", "20"), "LTG DSNT SLPNO ");
    row("BRQ no strikes", ld(kBrq, "5", "0"), "SLPNO ");
    row("ORVA with a lightning line", ld(kOrva, "5", "15"), "FRQ LTG SLPNO ");
    row("ORVA distant gives nothing", ld(kOrva, "10", "20"), "SLPNO ");

    const QString t = "24/03/05,14:20:00";
    const auto brqPw = [t](const QString& rain, const QString& letters) {
        return brqRecord({{"PW", {rain, "0", "0", letters}}}, t);
    };
    row("rain C and J at 14:20", brqPw("0.2", "CJ"), "RAB1410E1345 SLPNO ");
    row("lower-case letters", brqPw("0.2", "cj"), "RAB1410E1345 SLPNO ");
    row("rain without an end letter", brqPw("0.2", "C"), "RAB1410 SLPNO ");
    row("rain with an unknown end letter", brqPw("0.2", "CZ"), "RAB1410 SLPNO ");
    row("rain letters with a minus", brqPw("0.2", "C-"), "SLPNO ");
    row("no rain", brqPw("0", "CJ"), "SLPNO ");
    row("record time unreadable", brqRecord({{"PW", {"0.2", "0", "0", "CJ"}}}, "24/03/05,14:20"),
        "SLPNO ");
    row("at 00:10 the hour before is 23",
        brqRecord({{"PW", {"0.2", "0", "0", "AE"}}}, "24/03/05,00:10:00"), "RAB0000E2320 SLPNO ");
    row("lightning B and D at 14:20", brqRecord({{"LD", {"12", "3", "BD"}}}, t),
        "LTG DSNT LTG B1405 LTG E1415 SLPNO ");
    row("lightning letters unknown", brqRecord({{"LD", {"12", "3", "?"}}}, t), "LTG DSNT SLPNO ");
    row("lightning without strikes", brqRecord({{"LD", {"12", "0", "BD"}}}, t), "SLPNO ");

    const auto flag = [](const QString& value) {
        return orvaRecord({{"BA", {"", "", "", value}}});
    };
    row("3 rising rapidly", flag("3"), "PRESRR SLPNO ");
    row("4 falling rapidly", flag("4"), "PRESFR SLPNO ");
    row("5", flag("5"), "SLPNO ");
    row("3.0 is not a whole number", flag("3.0"), "SLPNO ");
    row("03 is 3", flag("03"), "PRESRR SLPNO ");
    row("+3 is 3", flag("+3"), "PRESRR SLPNO ");
    row("04 is 4", flag("04"), "PRESFR SLPNO ");

    // At elevation 0 the sea-level pressure is the station pressure.
    const auto slp = [](const QString& pressure, const QString& elevation = "0") {
        return orvaRecord({{"BA", {pressure}}, {"EL", {elevation}}});
    };
    row("1013.2", slp("1013.2"), "SLP132 ");
    row("998.7", slp("998.7"), "SLP987 ");
    row("1000", slp("1000"), "SLP000 ");
    row("tenths are cut, not rounded", slp("1013.29"), "SLP132 ");
    row("whole 1013 keeps three digits", slp("1013"), "SLP130 ");
    row("whole 980", slp("980"), "SLP800 ");
    row("999.96", slp("999.96"), "SLP999 ");
    // The group holds what its readers put back within 950.0-1049.9.
    row("949.9 is below the group", slp("949.9"), "SLPNO ");
    row("950.0", slp("950.0"), "SLP500 ");
    row("1049.9", slp("1049.9"), "SLP499 ");
    row("1050.0 is past the group", slp("1050.0"), "SLPNO ");
    row("850.0 at a station whose elevation is empty", slp("850.0", ""), "SLPNO ");
    row("1009.8 at 120 m is 1025.05", slp("1009.8", "120"), "SLP250 ");
    row("1002.1 at 35 m is 1006.5", slp("1002.1", "35"), "SLP065 ");
    row("missing station pressure", slp(""), "SLPNO ");
    row("zero station pressure", slp("0"), "SLPNO ");
    row("negative station pressure", slp("-5"), "SLPNO ");
    row("elevation below -1000 m", slp("1013.2", "-1001"), "SLPNO ");
    row("elevation above 11000 m", slp("1013.2", "11001"), "SLPNO ");
    row("BRQ sea-level pressure", brqRecord({{"BA", {"1013.2"}}, {"EL", {"0"}}}), "SLPNO ");

    const QList<RecordLine> threeHour{{"BA", {"", "", "-1.6", "", "2"}},
                                      {"PA", {"0", "0", "0", "0", "0", "0", "0.5", "0", "0"}}};
    const auto ba = [](const QString& change, const QString& tendency, const QString& time) {
        return orvaRecord({{"BA", {"", "", change, "", tendency}}}, "24/03/05," + time);
    };
    const auto pa = [](const QStringList& fields, const QString& time = kTime) {
        return orvaRecord({{"PA", QStringList{"0", "0", "0", "0", "0"} + fields}}, time);
    };
    row("02:50 three-hour amount and tendency", orvaRecord(threeHour, "24/03/05,02:50:00"),
        "SLPNO 60050 52016 ");
    row("02:45 opens the window", orvaRecord(threeHour, "24/03/05,02:45:00"), "SLPNO 60050 52016 ");
    row("02:44 is outside", orvaRecord(threeHour, "24/03/05,02:44:00"), "SLPNO ");
    row("03:00 is outside", orvaRecord(threeHour, "24/03/05,03:00:00"), "SLPNO ");
    row("SPECI at 02:50", orvaRecord(threeHour, "24/03/05,02:50:00", "@2"), "SLPNO ");
    row("tendency missing", ba("-1.6", "", "02:50:00"), "SLPNO ");
    row("tendency not a code figure", ba("-1.6", "12", "02:50:00"), "SLPNO ");
    row("tendency unreadable", ba("-1.6", "x", "02:50:00"), "SLPNO ");
    row("tendency in two digits", ba("-1.6", "02", "02:50:00"), "SLPNO 52016 ");
    row("change missing", ba("", "2", "02:50:00"), "SLPNO ");
    row("change half a tenth", ba("0.05", "0", "05:59:00"), "SLPNO 50001 ");
    row("one-hour amount at any time", pa({"0.12", "0.5", "0.75", "1.01"}), "SLPNO P0012 ");
    row("six-hour amount at 17:45", pa({"0", "0.5", "0.75", "1.01"}, "24/03/05,17:45:00"),
        "SLPNO 60075 ");
    row("large amounts keep their digits", pa({"123.45", "0", "0", "0"}), "SLPNO P12345 ");
    row("amount rounded from its decimal", pa({"0.285", "0", "0", "0"}), "SLPNO P0029 ");

    const auto ta = [](const QString& temperature, const QString& humidity = QString()) {
        return orvaRecord(linesFrom({"TA", "RH"}, {given(temperature), given(humidity)}));
    };
    row("temperature -5.0", ta("-5.0"), "SLPNO T1050 ");
    row("temperature 21.36", ta("21.36"), "SLPNO T0214 ");
    row("temperature 20 and dew point 9.3", ta("20", "50"), "SLPNO T02000093 ");
    row("dew point -0.1", ta("0", "99.3"), "SLPNO T00001001 ");
    row("-0.04 keeps its minus flag", ta("-0.04"), "SLPNO T1000 ");
    row("-0.0 is not below zero", ta("-0.0"), "SLPNO T0000 ");
    row("temperature is the no-value", ta("-1000", "50"), "SLPNO ");
    row("humidity is the no-value", ta("20", "-1000.0"), "SLPNO T0200 ");
    row("-0.05 rounds away from zero", ta("-0.05"), "SLPNO T1001 ");
    row("dew point has no value", ta("-237.7", "50"), "SLPNO T12377 ");
    row("temperature missing", orvaRecord({{"RH", {"50"}}}), "SLPNO ");

    const auto position = [](const QString& latitude, const QString& longitude) {
        return brqRecord(linesFrom({"LA", "LO"}, {given(latitude), given(longitude)}));
    };
    row("position", position("45.5", "-73.6"), QString::fromUtf8("SLPNO 45.5° -73.6°"));
    row("latitude missing", position("", "-73.6"), "SLPNO ");
    row("longitude missing", position("45.5", ""), "SLPNO ");
    row("latitude out of range", position("95", "-73.6"), "SLPNO ");
}

void TestMetarRemarks::remarks()
{
    QFETCH(int, deviceType);
    QFETCH(QString, record);
    QFETCH(QString, remarks);
    WeatherDataDecoder decoder;
    const QString report = reportOf(decoder, record, deviceType);
    QCOMPARE(remarksOf(report), remarks);
    QVERIFY(!report.contains(QLatin1String("-0")));
}

void TestMetarRemarks::distantLightning_data()
{
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("remarks");
    QTest::newRow("10 is excluded") << QString("10") << QString("RMK AO2 SLPNO ");
    QTest::newRow("10.1") << QString("10.1") << QString("RMK AO2 LTG DSNT E SLPNO ");
    QTest::newRow("29.9") << QString("29.9") << QString("RMK AO2 LTG DSNT E SLPNO ");
    QTest::newRow("30 is excluded") << QString("30") << QString("RMK AO2 SLPNO ");
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

    const auto pw = [](const QString& time, const QString& code) {
        return orvaRecord({{"PW", {"0", code}}}, "24/03/05," + time);
    };
    QTest::newRow("rain begins and ends") << QList<Step>{{pw("14:05:00", "61"), "RAB05 "},
                                                         {pw("14:10:00", "62"), ""},
                                                         {pw("14:35:00", "63"), ""},
                                                         {pw("14:40:00", "XX"), "RAE40 "},
                                                         {pw("14:45:00", "XX"), ""}};
    QTest::newRow("rain and snow together") << QList<Step>{{pw("15:12:00", "68"), "RAB12SNB12 "},
                                                           {pw("15:20:00", "71"), "RAE20 "},
                                                           {pw("15:30:00", "XX"), "SNE30 "}};
    QTest::newRow("begins are written before ends")
        << QList<Step>{{pw("16:00:00", "61"), "RAB00 "}, {pw("16:05:00", "71"), "SNB05RAE05 "}};
    QTest::newRow("drizzle and hail by substring")
        << QList<Step>{{pw("16:00:00", "55"), "DZB00 "},
                       {pw("16:09:00", "96"), "GRB09DZE09 "},
                       {pw("16:30:00", "10"), "GRE30 "}};

    // A distance of -1 is a quiet minute.
    const auto lt = [](const QString& time, const QString& distance) {
        const bool quiet = distance == "-1";
        return orvaRecord({{"LT", {quiet ? "0" : "1", "1", "1", quiet ? "0" : distance, "1", "1"}}},
                          time);
    };
    QTest::newRow("thunderstorm begins and ends") << QList<Step>{
        {lt("24/03/05,12:03:00", "3"), "TSB03 "}, {lt("24/03/05,12:10:00", "2"), ""},
        {lt("24/03/05,12:20:00", "-1"), ""},      {lt("24/03/05,12:25:00", "-1"), "TSE25 "},
        {lt("24/03/05,12:30:00", "-1"), ""},      {lt("24/03/05,12:40:00", "4"), "TSB40 "}};
    QTest::newRow("thunderstorm across midnight")
        << QList<Step>{{lt("24/03/05,23:58:00", "1"), "TSB58 "},
                       {lt("24/03/06,00:05:00", "-1"), ""},
                       {lt("24/03/06,00:13:00", "-1"), "TSE13 "}};
    QTest::newRow("vicinity strikes do not begin a storm")
        << QList<Step>{{lt("24/03/05,12:03:00", "8"), ""},
                       {lt("24/03/05,12:06:00", "5"), "TSB06 "},
                       {lt("24/03/05,12:15:00", "8"), ""},
                       {lt("24/03/05,12:21:00", "8"), "TSE21 "}};
}

void TestMetarRemarks::sequences()
{
    QFETCH(QList<Step>, steps);
    WeatherDataDecoder decoder;
    for (int i = 0; i < steps.size(); ++i) {
        const QString remarks = remarksOf(reportOf(decoder, steps.at(i).record, kOrva));
        QVERIFY2(remarks == "RMK AO2 " + steps.at(i).remarks + "SLPNO ",
                 qPrintable(QStringLiteral("step %1: %2").arg(i).arg(remarks)));
    }
}

void TestMetarRemarks::weatherBeginTimesKeepTheBeginOnly()
{
    WeatherDataDecoder decoder;
    for (const char* time : {"14:05:00", "14:10:00", "14:15:00", "14:20:00"})
        reportOf(decoder, orvaRecord({{"PW", {"0", "62"}}}, QStringLiteral("24/03/05,") + time),
                 kOrva);
    QCOMPARE(decoder.weatherBeginTimes.keys(), QStringList{"RA"});
    QCOMPARE(decoder.weatherBeginTimes.value("RA"),
             (QList<QPair<qint32, qint32>>{qMakePair(14, 5)}));
}

// BRQ heights are metres: 91 m is 298 ft (300), 122 m is 400 ft; ORVA's are tens of metres.
void TestMetarRemarks::brqLowCloud()
{
    const auto cl = [](const QString& height) {
        return QList<RecordLine>{
            {"CL", {"0", height, "0", "0", "0", "0", "0", "8", "0", "0", "0", "0", "0", "0"}}};
    };
    WeatherDataDecoder decoder;
    QCOMPARE(reportOf(decoder, brqRecord(cl("91")), kBrq),
             "METAR 300234010 051407Z AUTO M OVC003 RMK AO2 CLD LYR BLO 004 SLPNO ");
    QCOMPARE(reportOf(decoder, brqRecord(cl("122")), kBrq),
             "METAR 300234010 051407Z AUTO M OVC004 RMK AO2 SLPNO ");
    QCOMPARE(reportOf(decoder, orvaRecord(cl("9")), kOrva),
             "METAR KXYZ 051407Z M OVC003 RMK AO2 SLPNO ");
}

void TestMetarRemarks::precipitationTotals_data()
{
    QTest::addColumn<QStringList>("pa");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QStringList>("totals");

    const QStringList five{"0", "0", "0", "0", "0"};
    const QStringList eleven = five + QStringList{"9", "0.12", "0.35", "0.5", "1.01", "0.8"};
    QTest::newRow("without field 10") << five + QStringList{"0.12", "0.35", "0.5", "1.255"} << 1
                                      << QStringList{"12", "35", "50", "126"};
    QTest::newRow("previous 24 hours") << eleven << 1 << QStringList{"12", "35", "50", "101"};
    QTest::newRow("since 12Z") << eleven << 0 << QStringList{"12", "35", "50", "80"};
    QTest::newRow("zero, negative, not a number")
        << five + QStringList{"0", "-0.2", "abc", "0.004"} << 1 << QStringList{"", "", "", ""};
    QTest::newRow("half a hundredth")
        << five + QStringList{"0.005"} << 1 << QStringList{"1", "", "", ""};
    QTest::newRow("no PA line") << QStringList() << 1 << QStringList{"", "", "", ""};
}

void TestMetarRemarks::precipitationTotals()
{
    QFETCH(QStringList, pa);
    QFETCH(int, interval);
    QFETCH(QStringList, totals);
    for (const QString& frame : {QStringLiteral("@1"), QStringLiteral("@2")}) {
        WeatherDataDecoder decoder;
        decoder.setPrecipAccum24Interval(interval);
        reportOf(decoder, orvaRecord(linesFrom({"PA"}, {pa}), kTime, frame), kOrva);
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

void TestMetarRemarks::temperatureExtremes_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QList<TimedValue>>("extremes"); // 6 h maximum, 6 h minimum, 24 h max, min
    QTest::addColumn<QString>("remarks");

    // Each value is dated on 5 March at the given time; NaN leaves that list empty.
    const auto at = [](const QStringList& times, const QList<double>& values) {
        QList<TimedValue> list;
        for (int i = 0; i < 4; ++i)
            list.append({utc("2024-03-05 " + times.value(i)), values.value(i, qQNaN())});
        return list;
    };
    const QStringList usual{"06:30", "07:00", "01:00", "04:00"};
    const QList<double> none{qQNaN(), qQNaN(), qQNaN(), qQNaN()};
    QTest::newRow("11:45 every extreme")
        << "24/03/05,11:45:00"
        << "20" << at(usual, {25.3, -2.1, 26.4, -3.05}) << "SLPNO T0200 10253 21021 402641031 ";
    QTest::newRow("11:45 first sample of the day")
        << "24/03/05,11:45:00"
        << "20" << at({}, none) << "SLPNO T0200 10200 20200 402000200 ";
    QTest::newRow("11:44 outside the window")
        << "24/03/05,11:44:00"
        << "20" << at(usual, {25.3, -2.1, 26.4, -3.05}) << "SLPNO T0200 ";
    QTest::newRow("17:50 six-hour only, halves and zero")
        << "24/03/05,17:50:00"
        << "10" << at({"12:10", "13:00", "01:00", "04:00"}, {12.25, -0.04, 26.4, -3.05})
        << "SLPNO T0100 10123 21000 ";
    QTest::newRow("23:59 negative extremes")
        << "24/03/05,23:59:00"
        << "-8" << at({"18:10", "20:00"}, {-1.05, -7.5}) << "SLPNO T1080 11011 21080 ";
    QTest::newRow("samples of an earlier block are dropped")
        << "24/03/05,17:45:00"
        << "10" << at({"11:50", "11:50"}, {30.0, -5.0}) << "SLPNO T0100 10100 20100 ";
    QTest::newRow("no temperature: extremes still reported")
        << "24/03/05,17:45:00"
        << "" << at({"12:10", "13:00"}, {12.25, 3.0}) << "SLPNO 10123 20030 ";
}

void TestMetarRemarks::temperatureExtremes()
{
    QFETCH(QString, time);
    QFETCH(QString, temperature);
    QFETCH(QList<TimedValue>, extremes);
    QFETCH(QString, remarks);
    WeatherDataDecoder decoder;
    QList<TimedValue>* lists[] = {&decoder.maxTemp6h, &decoder.minTemp6h, &decoder.maxTemp24h,
                                  &decoder.minTemp24h};
    for (int i = 0; i < 4; ++i)
        *lists[i] =
            qIsNaN(extremes.at(i).value) ? QList<TimedValue>() : QList<TimedValue>{extremes.at(i)};
    const QString record = orvaRecord(linesFrom({"TA"}, {given(temperature)}), time);
    QCOMPARE(remarksOf(reportOf(decoder, record, kOrva)), "RMK AO2 " + remarks);
}

QTEST_GUILESS_MAIN(TestMetarRemarks)
#include "tst_metarremarks.moc"
