#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

namespace {

constexpr int kBrq = 1;
constexpr int kOrva = 2;

// "dd hh:mm:ss value" for each sample, so a row reads like the windows it describes.
QStringList describe(const QList<TimedValue>& samples)
{
    QStringList text;
    for (const TimedValue& s : samples)
        text << s.time.toString(QStringLiteral("dd hh:mm:ss ")) + QString::number(s.value);
    return text;
}

// Each reading is "time line|temperature"; an empty time line leaves the T line out.
void readTemperatures(WeatherDataDecoder& decoder, const QStringList& readings)
{
    for (const QString& reading : readings) {
        const QStringList parts = reading.split(QLatin1Char('|'));
        QList<RecordLine> lines;
        if (!parts.at(0).isEmpty())
            lines.append({"T", {parts.at(0)}});
        lines.append({"TA", {parts.at(1)}});
        decoder.setRecordText(buildRecord(lines));
        decoder.setDeviceType(kOrva, false);
        QCOMPARE(decoder.getTemperature(), parts.at(1));
    }
}

QStringList describe(const QList<LightningCompassEntry>& entries)
{
    QStringList text;
    for (const LightningCompassEntry& e : entries)
        text << QStringLiteral("%1 %2 %3").arg(e.name).arg(e.distance).arg(e.bearing);
    return text;
}

} // namespace

class TestHistories : public QObject
{
    Q_OBJECT
private slots:
    void temperatureWindows_data();
    void temperatureWindows();
    void samplesAreStampedInUtc();
    void derivedReadingsDoNotDuplicateSamples();
    void lightningCompass_data();
    void lightningCompass();
    void compassListStaysBounded();
    void beginEnd_data();
    void beginEnd();
};

void TestHistories::temperatureWindows_data()
{
    QTest::addColumn<QStringList>("readings");
    QTest::addColumn<QStringList>("max24h");
    QTest::addColumn<QStringList>("min24h");
    QTest::addColumn<QStringList>("max6h");
    QTest::addColumn<QStringList>("min6h");

    QTest::newRow("10, 12, 11 in one block")
        << QStringList{"24/03/05,01:00:00|10", "24/03/05,02:00:00|12", "24/03/05,03:00:00|11"}
        << QStringList{"05 02:00:00 12", "05 03:00:00 11"}
        << QStringList{"05 01:00:00 10", "05 03:00:00 11"}
        << QStringList{"05 02:00:00 12", "05 03:00:00 11"}
        << QStringList{"05 01:00:00 10", "05 03:00:00 11"};
    QTest::newRow("negative values")
        << QStringList{"24/03/05,01:00:00|-5.5", "24/03/05,02:00:00|-7", "24/03/05,03:00:00|-6"}
        << QStringList{"05 01:00:00 -5.5", "05 03:00:00 -6"}
        << QStringList{"05 02:00:00 -7", "05 03:00:00 -6"}
        << QStringList{"05 01:00:00 -5.5", "05 03:00:00 -6"}
        << QStringList{"05 02:00:00 -7", "05 03:00:00 -6"};
    QTest::newRow("an equal value replaces the older sample")
        << QStringList{"24/03/05,01:00:00|10", "24/03/05,02:00:00|10"}
        << QStringList{"05 02:00:00 10"} << QStringList{"05 02:00:00 10"}
        << QStringList{"05 02:00:00 10"} << QStringList{"05 02:00:00 10"};
    QTest::newRow("the same reading twice")
        << QStringList{"24/03/05,01:00:00|10", "24/03/05,01:00:00|10"}
        << QStringList{"05 01:00:00 10"} << QStringList{"05 01:00:00 10"}
        << QStringList{"05 01:00:00 10"} << QStringList{"05 01:00:00 10"};
    // 05:59 lies before the 06:00 block but inside the day.
    QTest::newRow("new 6-hour block")
        << QStringList{"24/03/05,05:59:00|10", "24/03/05,06:00:00|8"}
        << QStringList{"05 05:59:00 10", "05 06:00:00 8"} << QStringList{"05 06:00:00 8"}
        << QStringList{"05 06:00:00 8"} << QStringList{"05 06:00:00 8"};
    QTest::newRow("new day")
        << QStringList{"24/03/05,05:59:00|10", "24/03/05,06:00:00|8", "24/03/06,00:00:00|9"}
        << QStringList{"06 00:00:00 9"} << QStringList{"06 00:00:00 9"}
        << QStringList{"06 00:00:00 9"} << QStringList{"06 00:00:00 9"};
    // At 14:07:09 the block starts at 12:00:00, which itself stays.
    QTest::newRow("block start is inside the block")
        << QStringList{"24/03/05,11:59:59|5", "24/03/05,12:00:00|10", "24/03/05,14:07:09|15"}
        << QStringList{"05 14:07:09 15"}
        << QStringList{"05 11:59:59 5", "05 12:00:00 10", "05 14:07:09 15"}
        << QStringList{"05 14:07:09 15"}
        << QStringList{"05 12:00:00 10", "05 14:07:09 15"};
    QTest::newRow("a later sample stays until its window passes")
        << QStringList{"24/03/05,10:00:00|12", "24/03/05,09:00:00|11"}
        << QStringList{"05 10:00:00 12", "05 09:00:00 11"} << QStringList{"05 09:00:00 11"}
        << QStringList{"05 10:00:00 12", "05 09:00:00 11"} << QStringList{"05 09:00:00 11"};
    // Without a readable time there is nothing to stamp the sample with or to prune by.
    QTest::newRow("no time line")
        << QStringList{"24/03/05,01:00:00|10", "|14", "|5"} << QStringList{"05 01:00:00 10"}
        << QStringList{"05 01:00:00 10"} << QStringList{"05 01:00:00 10"}
        << QStringList{"05 01:00:00 10"};
    QTest::newRow("month 13")
        << QStringList{"24/03/05,01:00:00|10", "24/13/05,02:00:00|14"}
        << QStringList{"05 01:00:00 10"} << QStringList{"05 01:00:00 10"}
        << QStringList{"05 01:00:00 10"} << QStringList{"05 01:00:00 10"};
    QTest::newRow("hour 24")
        << QStringList{"24/03/05,01:00:00|10", "24/03/05,24:00:00|14"}
        << QStringList{"05 01:00:00 10"} << QStringList{"05 01:00:00 10"}
        << QStringList{"05 01:00:00 10"} << QStringList{"05 01:00:00 10"};
}

void TestHistories::temperatureWindows()
{
    QFETCH(QStringList, readings);
    QFETCH(QStringList, max24h);
    QFETCH(QStringList, min24h);
    QFETCH(QStringList, max6h);
    QFETCH(QStringList, min6h);

    WeatherDataDecoder decoder;
    readTemperatures(decoder, readings);
    QCOMPARE(describe(decoder.maxTemp24h), max24h);
    QCOMPARE(describe(decoder.minTemp24h), min24h);
    QCOMPARE(describe(decoder.maxTemp6h), max6h);
    QCOMPARE(describe(decoder.minTemp6h), min6h);
}

void TestHistories::samplesAreStampedInUtc()
{
    WeatherDataDecoder decoder;
    readTemperatures(decoder, {"24/03/05,14:07:09|21.5"});
    QCOMPARE(decoder.maxTemp24h.size(), 1);
    QCOMPARE(decoder.maxTemp24h.first().time,
             QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9), Qt::UTC));
    QCOMPARE(decoder.maxTemp24h.first().time.timeSpec(), Qt::UTC);
}

void TestHistories::derivedReadingsDoNotDuplicateSamples()
{
    WeatherDataDecoder decoder;
    decoder.setRecordText(buildRecord({{"T", {"24/03/05,14", "07", "09"}},
                                       {"TA", {"20"}},
                                       {"RH", {"50"}},
                                       {"BA", {"1000"}},
                                       {"WI", {"10", "180"}}}));
    decoder.setDeviceType(kBrq, false);
    QCOMPARE(decoder.calcDewPoint(), QString("9.3"));
    decoder.calcHeatIndex();
    decoder.calcWindChill();
    decoder.calcDensityAltitude();
    decoder.getObscuration();
    QCOMPARE(describe(decoder.maxTemp24h), QStringList{"05 14:07:09 20"});
    QCOMPARE(describe(decoder.minTemp6h), QStringList{"05 14:07:09 20"});
}

void TestHistories::lightningCompass_data()
{
    QTest::addColumn<QList<QByteArray>>("packets");
    QTest::addColumn<QStringList>("entries");

    using Packets = QList<QByteArray>;
    QTest::newRow("only the part within 11 to 29")
        << Packets{"hdr\nx\n0,N1,270,15;0,N2,90,35XY"} << QStringList{"N1 15 270"};
    QTest::newRow("the next packet appends")
        << Packets{"hdr\nx\n0,N1,270,15;0,N2,90,35XY", "hdr\nx\n0,N3,45,20;0,N4,90,3XY\nend"}
        << QStringList{"N1 15 270", "N3 20 45"};
    QTest::newRow("distance bounds")
        << Packets{"a\nb\n0,A,1,10;0,B,2,11;0,C,3,29;0,D,4,30XY"}
        << QStringList{"B 11 2", "C 29 3"};
    QTest::newRow("fewer than three lines") << Packets{"hdr\n0,N1,270,15;0,N2,90,15XY"}
                                            << QStringList{};
    QTest::newRow("a single part") << Packets{"a\nb\n0,N1,270,15XY"} << QStringList{};
    QTest::newRow("a part with three fields is skipped")
        << Packets{"a\nb\n0,N1,270;0,N2,90,20XY"} << QStringList{"N2 20 90"};
    QTest::newRow("bearing not a number") << Packets{"a\nb\n0,N1,abc,15;0,N2,x,35XY"}
                                          << QStringList{"N1 15 0"};
    QTest::newRow("distance not a number") << Packets{"a\nb\n0,N1,10,abc;0,N2,20,12XY"}
                                           << QStringList{"N2 12 20"};
    QTest::newRow("empty parts") << Packets{"a\nb\n0,N1,10,12;;XY"} << QStringList{"N1 12 10"};
    QTest::newRow("third line shorter than two characters") << Packets{"a\nb\n;"}
                                                            << QStringList{};
    QTest::newRow("empty packet") << Packets{""} << QStringList{};
}

void TestHistories::lightningCompass()
{
    QFETCH(QList<QByteArray>, packets);
    QFETCH(QStringList, entries);

    WeatherDataDecoder decoder;
    for (const QByteArray& packet : packets)
        decoder.parseLightningCompassData(packet);
    QCOMPARE(describe(decoder.lightningCompass), entries);
}

void TestHistories::compassListStaysBounded()
{
    WeatherDataDecoder decoder;
    for (int packet = 0; packet < 100; ++packet) {
        QByteArray third;
        for (int part = 0; part < 10; ++part)
            third += QByteArray("0,P") + QByteArray::number(packet * 10 + part) + ","
                     + QByteArray::number(part * 36) + ",20;";
        decoder.parseLightningCompassData("a\nb\n" + third + "XY");
    }
    QVERIFY(decoder.lightningCompass.size() <= 16);
    // The newest entry is the one the report names.
    QCOMPARE(decoder.lightningCompass.last().name, QString("P999"));
    QCOMPARE(decoder.lightningCompass.last().bearing, 324);
}

void TestHistories::beginEnd_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("letters");
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("expected");

    const QString t1420 = QStringLiteral("24/03/05,14:20:00");
    QTest::newRow("begin before the minute") << t1420 << "PW" << "CJ" << 0 << "1410";
    QTest::newRow("end after the minute is the hour before") << t1420 << "PW" << "CJ" << 1
                                                             << "1345";
    QTest::newRow("at the minute is the hour before") << t1420 << "PW" << "E" << 0 << "1320";
    QTest::newRow("lower case") << t1420 << "PW" << "cj" << 1 << "1345";
    QTest::newRow("which below 0") << t1420 << "PW" << "CJ" << -3 << "1410";
    QTest::newRow("which above 1") << t1420 << "PW" << "CJ" << 5 << "1345";
    QTest::newRow("extra letters") << t1420 << "PW" << "CJK" << 1 << "1345";
    QTest::newRow("midnight") << "24/03/05,00:10:00" << "PW" << "E" << 0 << "2320";
    QTest::newRow("minute 00 in the hour") << "24/03/05,00:10:00" << "PW" << "A" << 0 << "0000";
    QTest::newRow("hour before keeps two digits") << "24/03/05,10:20:00" << "PW" << "L" << 0
                                                  << "0955";
    QTest::newRow("minus sign") << t1420 << "PW" << "C-" << 0 << "-";
    QTest::newRow("question mark") << t1420 << "PW" << "?C" << 0 << "-";
    QTest::newRow("empty") << t1420 << "PW" << "" << 0 << "-";
    QTest::newRow("letter after L") << t1420 << "PW" << "M" << 0 << "";
    QTest::newRow("not a letter") << t1420 << "PW" << "1J" << 0 << "";
    QTest::newRow("field shorter than which") << t1420 << "PW" << "C" << 1 << "";
    QTest::newRow("no time line") << QString() << "PW" << "CJ" << 0 << "";
    QTest::newRow("time line with a tail") << "24/03/05,14:20:00Z" << "PW" << "CJ" << 0 << "";
    QTest::newRow("lightning begin") << t1420 << "LD" << "AB" << 0 << "1400";
    QTest::newRow("lightning end") << t1420 << "LD" << "AB" << 1 << "1405";
    QTest::newRow("lightning no event") << t1420 << "LD" << "--" << 0 << "-";
}

void TestHistories::beginEnd()
{
    QFETCH(QString, time);
    QFETCH(QString, key);
    QFETCH(QString, letters);
    QFETCH(int, which);
    QFETCH(QString, expected);

    QList<RecordLine> lines;
    if (!time.isNull())
        lines.append({"T", {time}});
    // The other event's field holds letters that would give a different answer.
    lines.append({"PW", {"0", "61", "x", key == "PW" ? letters : "AA"}});
    lines.append({"LD", {"14", "3", key == "LD" ? letters : "AA"}});

    WeatherDataDecoder decoder;
    decoder.setRecordText(buildRecord(lines));
    decoder.setDeviceType(kBrq, false);
    const QString result =
        key == "PW" ? decoder.getPrecipBeginEnd(which) : decoder.getLightningBeginEnd(which);
    QCOMPARE(result, expected);
}

QTEST_GUILESS_MAIN(TestHistories)
#include "tst_histories.moc"
