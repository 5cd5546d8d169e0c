#include "decoder/weatherdatadecoder.h"
#include "tests/decoder/metartext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

// Complete reports of complete records, each worked out group by group from the record, and
// sequences of records that carry events from one report to the next.

namespace
{

const QString kDegree = QString(QChar(0x00B0));

// ORVA METAR 14:52: gusts, light rain, two layers, three-hour amount and tendency.
QStringList orvaAfternoon()
{
    return {"N:0:0:0:0:kxyz:1:1",
            "B:12.8:10:0:E1",
            "T:24/03/05,14:52:00",
            "WI:14:184:12:186",
            "GU:0:0:18:200:0:0::",
            "TA:12.5",
            "RH:80",
            "BA:1009.8:2982:-1.6:0:2",
            "EL:120",
            "CL:0:46:120:0:0:0:0:3:7:0:0:0:0:0",
            "PW:0:61:0:8:16.09:XX",
            "LT:0:0:0:0:0:0",
            "PA:0:0:0:0:0:0.12:0.35:0.5:1.01",
            "LA:45.5",
            "LO:-73.6"};
}

// ORVA METAR 11:50: a thunderstorm at the station with a squall, variable gusty wind, mist,
// three layers, rapid pressure fall and every additive group of the hour.
QStringList orvaStorm()
{
    return {"N:0:0:0:0:kqrs:1:1",
            "T:24/07/18,11:50:00",
            "WI:31:247:24:252",
            "GU:0:0:38:260:0:1:220:290",
            "TA:23.4",
            "RH:88",
            "BA:1002.1:2961:-2.3:4:8",
            "EL:35",
            "CL:0:21:45:90:0:0:0:2:5:8:0:0:0:0",
            "PW:1.2:95:0:3:2.4:6",
            "LT:4:12:30:3:2:2",
            "PA:0:0:0:0:0:1.2:0.25:0.61:0.87:1.5:1.02",
            "LA:45.5",
            "LO:-73.6"};
}

const QString kStormBody = "METAR KQRS 181150Z 25024G38KT 220V290 1 1/2SM SQ +TSRA BR FEW007 "
                           "BKN015 OVC030 23/21 A2961 ";
const QString kStormRemarks = "RMK AO2 PK WND 26031KT RAB50 TSB50 PRESFR SLP065 P0025 60087 ";
const QString kStormTail = "T02340213 10234 20234 402340234 58023 ";

struct Step {
    QString record;
    QString report;
    QList<QByteArray> compassPacketsBefore = {};
    // The record's "Present Weather", from the same decoder after the report; empty: unchecked.
    QString presentWeather = {};
};

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestMetarReports : public QObject
{
    Q_OBJECT
private slots:
    void completeReports_data();
    void completeReports();
    void precipitationTotalsOfAReport();
    void sequences_data();
    void sequences();
    void reportThatNamesNoStationIsFilledByIdentifier();
};

void TestMetarReports::completeReports_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<bool>("legacy");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QByteArray>("compassPacket");
    QTest::addColumn<QString>("report");

    QTest::newRow("ORVA METAR afternoon")
        << "@1" + unitText(orvaAfternoon()) << kOrva << false << 1 << QByteArray()
        << "METAR KXYZ 051452Z 19012G18KT 10SM -RA SCT015 BKN039 13/09 A2982 RMK AO2 RAB52 "
           "SLP250 P0012 60035 T01250091 52016 ";

    QTest::newRow("ORVA SPECI of the same record")
        << "@2" + unitText(orvaAfternoon()) << kOrva << false << 1 << QByteArray()
        << "SPECI KXYZ 051452Z 19012G18KT 10SM -RA SCT015 BKN039 13/09 A2982 RMK AO2 RAB52 "
           "SLP250 ";

    QTest::newRow("ORVA METAR thunderstorm at 11:50")
        << "@1" + unitText(orvaStorm()) << kOrva << false << 1 << QByteArray()
        << kStormBody + kStormRemarks + "70150 " + kStormTail;

    QTest::newRow("ORVA METAR thunderstorm, 24 hours since 12Z")
        << "@1" + unitText(orvaStorm()) << kOrva << false << 0 << QByteArray()
        << kStormBody + kStormRemarks + "70102 " + kStormTail;

    QTest::newRow("ORVA METAR without station, temperature and pressure")
        << "@1" + unitText({"T:24/12/31,09:15:00", "WI:0.4:0:0.4:0", "PW:0:XX:0:0:0.3:XX",
                            "CL:-:30:0:0:0:0:0:8:0:0:0:0:0:0"})
        << kOrva << false << 1 << QByteArray()
        << "METAR 000000000000000 310915Z 00000KT M1/4SM RMK AO2 SLPNO ";

    QTest::newRow("ORVA SPECI heavy snow, sky obscured, no GPS")
        << "@2" + unitText({"N:0:0:0:0:kxyz:1:1", "T:25/01/14,06:07:00", "WI:4:90:8:95", "TA:-3.2",
                            "RH:85", "BA:991.2:3018:::", "EL:250", "CL:0:6:0:0:0:0:0:8:0:0:0:0:0:0",
                            "PW:0:73:0:0.4:0.4:XX", "LA:?", "LO:10.5"})
        << kOrva << false << 1 << QByteArray()
        << "SPECI KXYZ 140607Z VRB08KT M1/4SM +SN VV002 M03/M05 RMK AO2 SNB07 SLP225 ";

    QTest::newRow("ORVA METAR 20:45, distant lightning, no ceilometer")
        << "@1" +
               unitText({"N:0:0:0:0:kxyz:1:1", "T:24/08/02,20:45:00", "WI:9:318:7:322",
                         "GU:0:0:::0:0::", "TA:18.6", "RH:72", "BA:1012.6:2990:0.9:3:1", "EL:35",
                         "CL:?", "PW:0:10:0:0:7.5:XX", "LT:3:9:20:18:15:12", "LA:45.5", "LO:-73.6"})
        << kOrva << false << 1 << QByteArray("L\nheader\n0,N1,45,20;0,N2,200,35XX")
        << "METAR KXYZ 022045Z 32007KT 5SM BR 19/13 A2990 RMK AO2 LTG DSNT NE PRESRR SLP170 "
           "T01860134 51009 ";

    QTest::newRow("legacy ORVA METAR 17:52, ceilometer in metres")
        << "@1" + unitText({"N:0:0:0:0:kxyz:1:1", "T:24/10/09,17:52:00", "WI:6:10:6:8", "TA:8.4",
                            "RH:93", "BA:1003.1:2963:0.0:0:0", "EL:35",
                            "CL:0:300:0:0:0:0:0:8:0:0:0:0:0:0", "PW:0:XX:0:0:20:XX", "LA:45.5",
                            "LO:-73.6"})
        << kOrva << true << 1 << QByteArray()
        << "METAR KXYZ 091752Z 01006KT 10SM OVC010 08/07 A2963 RMK AO2 SLP075 T00840073 10084 "
           "20084 50000 ";

    QTest::newRow("BRQ METAR with rain and lightning")
        << unitText({"@I:300234010", "N:0:M", "T:24/05/20,10:35:00", "WI:14:233", "GU:23:241",
                     "TA:25", "RH:60", "BA:1005.3:2969", "VI:3", "PW:0.25:0:0:DG", "LD:7:4:CF",
                     "CL:0:120:0:0:0:0:0:4:0:0:0:0:0:0", "LA:45.5", "LO:-73.6"})
        << kBrq << false << 1 << QByteArray()
        << "METAR 300234010 201035Z AUTO 23014G23KT 3SM VCTS RA SCT004 25/17 A2969 RMK AO2 "
           "MAX WND 24023KT OCNL LTG RAB1015E1030 LTG B1010 LTG E1025 SLPNO 45.5" +
               kDegree + " -73.6" + kDegree;

    QTest::newRow("BRQ SPECI fog under a low overcast")
        << unitText({"@I:300234011", "N:0:ms", "T:24/05/20,06:02:00", "WI:3:120", "TA:11", "RH:97",
                     "BA:1015.2:2998", "VI:0.5", "PW:0", "CL:0:61:0:0:0:0:0:8:0:0:0:0:0:0"})
        << kBrq << false << 1 << QByteArray()
        << "SPECI 300234011 200602Z AUTO VRB03KT 1/2SM FG OVC002 11/11 A2998 RMK AO2 CLD LYR BLO "
           "004 SLPNO ";

    QTest::newRow("BRQ METAR calm and cold, no pressure or sky")
        << unitText({"@I:300234010", "N:0:M", "T:24/05/20,10:35:00", "WI:0:0", "TA:-7.5", "RH:45",
                     "VI:10", "LA:45.5", "LO:-73.6"})
        << kBrq << false << 1 << QByteArray()
        << "METAR 300234010 201035Z AUTO 00000KT 10SM M08/M17 RMK AO2 SLPNO 45.5" + kDegree +
               " -73.6" + kDegree;

    QTest::newRow("BRQ METAR with the unit clock unset and no identity")
        << unitText({"N:0:S", "T:--/--/--,--:--:--", "WI:8:275", "GU:9:280", "TA:4", "RH:93",
                     "BA:1000.0:2953", "VI:1.2", "PW:0.05:0:0:BC"})
        << kBrq << false << 1 << QByteArray()
        << "METAR 000000000000000 000000Z AUTO 28008KT 1 1/4SM -RA BR 04/03 A2953 RMK AO2 "
           "SLPNO ";
}

void TestMetarReports::completeReports()
{
    QFETCH(QString, record);
    QFETCH(int, deviceType);
    QFETCH(bool, legacy);
    QFETCH(int, interval);
    QFETCH(QByteArray, compassPacket);
    QFETCH(QString, report);

    WeatherDataDecoder decoder;
    if (!compassPacket.isEmpty())
        decoder.parseLightningCompassData(compassPacket);
    decoder.setRecordText(record);
    decoder.setDeviceType(deviceType, legacy);
    decoder.setPrecipAccum24Interval(interval);
    QCOMPARE(decoder.createMetar(), report);
}

void TestMetarReports::precipitationTotalsOfAReport()
{
    WeatherDataDecoder decoder;
    decoder.setRecordText("@1" + unitText(orvaStorm()));
    decoder.setDeviceType(kOrva, false);
    decoder.setPrecipAccum24Interval(1);
    decoder.createMetar();
    const QJsonObject totals{{"1hr", "25"}, {"3hr", "61"}, {"6hr", "87"}, {"24hr", "150"}};
    QCOMPARE(decoder.getPrecipTotals(), totals);
}

void TestMetarReports::sequences_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QList<Step>>("steps");

    // A storm passes: it begins at 11:50, thunder persists into the 11:58 SPECI, ends in
    // the 12:05 METAR; the rain that began with it ends at 12:20.
    const QString speci =
        "@2" + unitText({"N:0:0:0:0:kqrs:1:1", "T:24/07/18,11:58:00", "WI:22:250:18:248",
                         "GU:0:0:27:250:0:0::", "TA:22.1", "RH:90", "BA:1003.0:2964:::", "EL:35",
                         "CL:0:45:90:0:0:0:0:6:8:0:0:0:0:0", "PW:0.8:62:0:5:4.8:XX",
                         "LT:0:10:34:0:2:2", "LA:45.5", "LO:-73.6"});
    const QString noon =
        "@1" + unitText({"N:0:0:0:0:kqrs:1:1", "T:24/07/18,12:05:00", "WI:15:260:12:262",
                         "GU:0:0:::0:0::", "TA:21.0", "RH:92", "BA:1003.4:2965:1.3::3", "EL:35",
                         "CL:0:90:0:0:0:0:0:7:0:0:0:0:0:0", "PW:0.3:61:0:8:8:XX", "LT:0:8:34:0:2:2",
                         "LA:45.5", "LO:-73.6"});
    const QString after =
        "@1" + unitText({"N:0:0:0:0:kqrs:1:1", "T:24/07/18,12:20:00", "WI:13:270:11:268",
                         "GU:0:0:::0:0::", "TA:20.6", "RH:85", "BA:1003.9:2966:::", "EL:35",
                         "CL:0:90:0:0:0:0:0:4:0:0:0:0:0:0", "PW:0:XX:0:16.09:16.09:XX",
                         "LT:0:0:12:0:0:2", "LA:45.5", "LO:-73.6"});
    QTest::newRow("ORVA storm passes")
        << kOrva
        << QList<Step>{
               {"@1" + unitText(orvaStorm()), kStormBody + kStormRemarks + "70150 " + kStormTail},
               {speci, "SPECI KQRS 181158Z 25018G27KT 3SM TS RA BKN015 OVC030 22/20 A2964 RMK "
                       "AO2 SLP074 "},
               {noon, "METAR KQRS 181205Z 26012KT 5SM -RA BKN030 21/20 A2965 RMK AO2 TSE05 "
                      "SLP078 T02100196 "},
               {after, "METAR KQRS 181220Z 27011KT 10SM SCT030 21/18 A2966 RMK AO2 RAE20 "
                       "SLP083 T02060180 "}};

    // Rain under close strikes at 12:00; by 12:20 the thunder has ended and the rain goes on.
    // The record's present weather drops the thunderstorm with the report.
    const auto rain = [](const QString& time, const QStringList& lightning) {
        return orvaRecord({{"PW", {"0", "62", "0", "0", "16.09", "XX"}}, {"LT", lightning}}, time);
    };
    QTest::newRow("ORVA present weather after the thunder ends")
        << kOrva
        << QList<Step>{{rain("24/03/05,12:00:00", {"2", "2", "2", "3", "3", "3"}),
                        "METAR KXYZ 051200Z 10SM TS RA RMK AO2 RAB00 TSB00 SLPNO ",
                        {},
                        "Thunderstorm with Rain"},
                       {rain("24/03/05,12:20:00", {"0", "1", "4", "0", "3", "3"}),
                        "METAR KXYZ 051220Z 10SM RA RMK AO2 TSE20 SLPNO ",
                        {},
                        "Moderate Rain"}};

    // Temperatures through a day: the previous day's sample and an earlier 6-hour block do
    // not reach the extremes.
    const auto temperature = [](const QString& time, const QString& value) {
        return orvaRecord({{"TA", {value}}}, time);
    };
    QTest::newRow("ORVA temperature extremes through a day")
        << kOrva
        << QList<Step>{{temperature("24/03/04,23:00:00", "-1.0"),
                        "METAR KXYZ 042300Z M M01/ RMK AO2 SLPNO T1010 "},
                       {temperature("24/03/05,06:10:00", "5.2"),
                        "METAR KXYZ 050610Z M 05/ RMK AO2 SLPNO T0052 "},
                       {temperature("24/03/05,08:30:00", "9.8"),
                        "METAR KXYZ 050830Z M 10/ RMK AO2 SLPNO T0098 "},
                       {temperature("24/03/05,10:00:00", "4.1"),
                        "METAR KXYZ 051000Z M 04/ RMK AO2 SLPNO T0041 "},
                       {temperature("24/03/05,11:45:00", "7.5"),
                        "METAR KXYZ 051145Z M 08/ RMK AO2 SLPNO T0075 10098 20041 400980041 "},
                       {temperature("24/03/05,17:45:00", "12.0"),
                        "METAR KXYZ 051745Z M 12/ RMK AO2 SLPNO T0120 10120 20120 "},
                       {temperature("24/03/05,23:50:00", "3.5"),
                        "METAR KXYZ 052350Z M 04/ RMK AO2 SLPNO T0035 10035 20035 "}};

    // Lightning compass packets arrive between reports; only the newest entry is named,
    // and a report without strikes in the last minute leaves them for the next one.
    QTest::newRow("ORVA distant lightning across reports")
        << kOrva
        << QList<Step>{
               {"@1" + unitText({"N:0:0:0:0:kxyz:1:1", "T:24/08/02,21:00:00", "LT:0:4:9:0:20:20"}),
                "METAR KXYZ 022100Z M RMK AO2 SLPNO "},
               {"@1" +
                    unitText({"N:0:0:0:0:kxyz:1:1", "T:24/08/02,21:05:00", "LT:2:6:11:25:20:20"}),
                "METAR KXYZ 022105Z M RMK AO2 LTG DSNT SW SLPNO ",
                {"L\nheader\n0,N1,90,15;0,N2,0,40XX", "L\nheader\n0,N3,225,22;0,N4,10,2XX"}},
               {"@1" +
                    unitText({"N:0:0:0:0:kxyz:1:1", "T:24/08/02,21:10:00", "LT:1:7:12:22:20:20"}),
                "METAR KXYZ 022110Z M RMK AO2 SLPNO "}};
}

void TestMetarReports::sequences()
{
    QFETCH(int, deviceType);
    QFETCH(QList<Step>, steps);

    WeatherDataDecoder decoder;
    for (int i = 0; i < steps.size(); ++i) {
        for (const QByteArray& packet : steps.at(i).compassPacketsBefore)
            decoder.parseLightningCompassData(packet);
        decoder.setRecordText(steps.at(i).record);
        decoder.setDeviceType(deviceType, false);
        const QString report = decoder.createMetar();
        QVERIFY2(report == steps.at(i).report,
                 qPrintable(QStringLiteral("step %1:\n   got: %2\nwanted: %3")
                                .arg(i)
                                .arg(report, steps.at(i).report)));
        if (!steps.at(i).presentWeather.isEmpty())
            QCOMPARE(decoder.describePresentWeather(decoder.getPresentWeather(true)),
                     steps.at(i).presentWeather);
    }
}

void TestMetarReports::reportThatNamesNoStationIsFilledByIdentifier()
{
    // The record builder puts the unit identifier over the fifteen zeros at index 6.
    WeatherDataDecoder decoder;
    decoder.setRecordText("@1" + unitText({"T:24/12/31,09:15:00", "IR:0:0:0:UNIT42"}));
    decoder.setDeviceType(kOrva, false);
    QString report = decoder.createMetar();
    QCOMPARE(decoder.getIcao(), QString());
    report.replace(6, 15, decoder.getStationId(false));
    QCOMPARE(report, QStringLiteral("METAR UNIT42 310915Z M RMK AO2 SLPNO "));
}

QTEST_GUILESS_MAIN(TestMetarReports)
#include "tst_metarreports.moc"
