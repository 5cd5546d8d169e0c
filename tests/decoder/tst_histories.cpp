#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

namespace
{

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
        // The unit's no-value reads as no temperature at all.
        QCOMPARE(decoder.getTemperature(), parts.at(1) == "-1000" ? QString() : parts.at(1));
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
    void derivedReadingsDoNotDuplicateSamples();
    void temperatureListsStayBounded();
    void lightningCompass_data();
    void lightningCompass();
    void compassListStaysBounded();
    void beginEnd_data();
    void beginEnd();
};

void TestHistories::temperatureWindows_data()
{
    QTest::addColumn<QStringList>("readings");
    QTest::addColumn<QList<QStringList>>("windows"); // 24 h max, 24 h min, 6 h max, 6 h min

    // Missing windows repeat the last one given.
    const auto add = [](const char* name, const QStringList& readings, QList<QStringList> windows) {
        while (windows.size() < 4)
            windows << windows.last();
        QTest::newRow(name) << readings << windows;
    };
    add("10, 12, 11 in one block",
        {"24/03/05,01:00:00|10", "24/03/05,02:00:00|12", "24/03/05,03:00:00|11"},
        {{"05 02:00:00 12", "05 03:00:00 11"},
         {"05 01:00:00 10", "05 03:00:00 11"},
         {"05 02:00:00 12", "05 03:00:00 11"},
         {"05 01:00:00 10", "05 03:00:00 11"}});
    add("negative values",
        {"24/03/05,01:00:00|-5.5", "24/03/05,02:00:00|-7", "24/03/05,03:00:00|-6"},
        {{"05 01:00:00 -5.5", "05 03:00:00 -6"},
         {"05 02:00:00 -7", "05 03:00:00 -6"},
         {"05 01:00:00 -5.5", "05 03:00:00 -6"},
         {"05 02:00:00 -7", "05 03:00:00 -6"}});
    add("an equal value replaces the older sample",
        {"24/03/05,01:00:00|10", "24/03/05,02:00:00|10"}, {{"05 02:00:00 10"}});
    add("the same reading twice", {"24/03/05,01:00:00|10", "24/03/05,01:00:00|10"},
        {{"05 01:00:00 10"}});
    // 05:59 lies before the 06:00 block but inside the day.
    add("new 6-hour block", {"24/03/05,05:59:00|10", "24/03/05,06:00:00|8"},
        {{"05 05:59:00 10", "05 06:00:00 8"}, {"05 06:00:00 8"}});
    add("new day", {"24/03/05,05:59:00|10", "24/03/05,06:00:00|8", "24/03/06,00:00:00|9"},
        {{"06 00:00:00 9"}});
    // At 14:07:09 the block starts at 12:00:00, which itself stays.
    add("block start is inside the block",
        {"24/03/05,11:59:59|5", "24/03/05,12:00:00|10", "24/03/05,14:07:09|15"},
        {{"05 14:07:09 15"},
         {"05 11:59:59 5", "05 12:00:00 10", "05 14:07:09 15"},
         {"05 14:07:09 15"},
         {"05 12:00:00 10", "05 14:07:09 15"}});
    add("a later sample stays until its window passes",
        {"24/03/05,10:00:00|12", "24/03/05,09:00:00|11"},
        {{"05 10:00:00 12", "05 09:00:00 11"},
         {"05 09:00:00 11"},
         {"05 10:00:00 12", "05 09:00:00 11"},
         {"05 09:00:00 11"}});
    // Without a readable time there is nothing to stamp the sample with or to prune by.
    add("no time line", {"24/03/05,01:00:00|10", "|14", "|5"}, {{"05 01:00:00 10"}});
    add("month 13", {"24/03/05,01:00:00|10", "24/13/05,02:00:00|14"}, {{"05 01:00:00 10"}});
    add("hour 24", {"24/03/05,01:00:00|10", "24/03/05,24:00:00|14"}, {{"05 01:00:00 10"}});
    // The unit's no-value is a missing reading, never an extreme.
    add("no-value", {"24/03/05,01:00:00|10", "24/03/05,02:00:00|-1000"}, {{"05 01:00:00 10"}});
}

void TestHistories::temperatureWindows()
{
    QFETCH(QStringList, readings);
    QFETCH(QList<QStringList>, windows);

    WeatherDataDecoder decoder;
    readTemperatures(decoder, readings);
    QCOMPARE(describe(decoder.maxTemp24h), windows.at(0));
    QCOMPARE(describe(decoder.minTemp24h), windows.at(1));
    QCOMPARE(describe(decoder.maxTemp6h), windows.at(2));
    QCOMPARE(describe(decoder.minTemp6h), windows.at(3));
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

void TestHistories::temperatureListsStayBounded()
{
    // A unit that repeats its record time while the temperature falls never lets a sample leave.
    WeatherDataDecoder decoder;
    decoder.setDeviceType(kOrva, false);
    for (int i = 0; i < 5000; ++i) {
        decoder.setRecordText(
            buildRecord({{"T", {"24/03/05,14", "07", "09"}}, {"TA", {QString::number(-i)}}}));
        decoder.getTemperature();
    }
    QVERIFY(decoder.maxTemp24h.size() <= 4096);
    QCOMPARE(decoder.maxTemp24h.last().value, -4999.0);
    QCOMPARE(describe(decoder.minTemp6h), QStringList{"05 14:07:09 -4999"});
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
    QTest::newRow("distance bounds") << Packets{"a\nb\n0,A,1,10;0,B,2,11;0,C,3,29;0,D,4,30XY"}
                                     << QStringList{"B 11 2", "C 29 3"};
    QTest::newRow("fewer than three lines")
        << Packets{"hdr\n0,N1,270,15;0,N2,90,15XY"} << QStringList{};
    QTest::newRow("a single part") << Packets{"a\nb\n0,N1,270,15XY"} << QStringList{};
    QTest::newRow("a part with three fields is skipped")
        << Packets{"a\nb\n0,N1,270;0,N2,90,20XY"} << QStringList{"N2 20 90"};
    QTest::newRow("bearing not a number")
        << Packets{"a\nb\n0,N1,abc,15;0,N2,x,35XY"} << QStringList{"N1 15 0"};
    QTest::newRow("distance not a number")
        << Packets{"a\nb\n0,N1,10,abc;0,N2,20,12XY"} << QStringList{"N2 12 20"};
    QTest::newRow("empty parts") << Packets{"a\nb\n0,N1,10,12;;XY"} << QStringList{"N1 12 10"};
    QTest::newRow("third line shorter than two characters") << Packets{"a\nb\n;"} << QStringList{};
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
            third += QByteArray("0,P") + QByteArray::number(packet * 10 + part) + "," +
                     QByteArray::number(part * 36) + ",20;";
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

    const char* const t1420 = "24/03/05,14:20:00";
    const auto add = [](const char* name, const char* time, const char* key, const char* letters,
                        int which, const char* expected) {
        QTest::newRow(name) << QString(time) << QString(key) << QString(letters) << which
                            << QString(expected);
    };
    add("begin before the minute", t1420, "PW", "CJ", 0, "1410");
    add("end after the minute is the hour before", t1420, "PW", "CJ", 1, "1345");
    add("at the minute is the hour before", t1420, "PW", "E", 0, "1320");
    add("lower case", t1420, "PW", "cj", 1, "1345");
    add("which below 0", t1420, "PW", "CJ", -3, "1410");
    add("which above 1", t1420, "PW", "CJ", 5, "1345");
    add("extra letters", t1420, "PW", "CJK", 1, "1345");
    add("midnight", "24/03/05,00:10:00", "PW", "E", 0, "2320");
    add("minute 00 in the hour", "24/03/05,00:10:00", "PW", "A", 0, "0000");
    add("hour before keeps two digits", "24/03/05,10:20:00", "PW", "L", 0, "0955");
    add("minus sign", t1420, "PW", "C-", 0, "-");
    add("question mark", t1420, "PW", "?C", 0, "-");
    add("empty", t1420, "PW", "", 0, "-");
    add("letter after L", t1420, "PW", "M", 0, "");
    add("not a letter", t1420, "PW", "1J", 0, "");
    add("field shorter than which", t1420, "PW", "C", 1, "");
    add("no time line", nullptr, "PW", "CJ", 0, "");
    add("time line with a tail", "24/03/05,14:20:00Z", "PW", "CJ", 0, "");
    add("lightning begin", t1420, "LD", "AB", 0, "1400");
    add("lightning end", t1420, "LD", "AB", 1, "1405");
    add("lightning no event", t1420, "LD", "--", 0, "-");
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
