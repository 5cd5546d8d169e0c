#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

namespace
{

constexpr int kOrva = 2;

QString timeRecord(const QString& timeLine, const QString& temperature)
{
    return buildRecord({{"T", {timeLine}}, {"TA", {temperature}}});
}

} // namespace

// Lines and the record time are found once per record text; these cases check that every read
// still answers for the text set last, and that errors are reported on every read.
class TestRecordReads : public QObject
{
    Q_OBJECT
private slots:
    void readsFollowTheRecordText_data();
    void readsFollowTheRecordText();
    void textChangedInPlaceIsReadAgain();
    void timeFollowsTheRecordText();
    void timeErrorsRepeatOnEveryRead();
    void derivedValuesFollowTheRecord_data();
    void derivedValuesFollowTheRecord();
    void recordTimeNeedsARealDate_data();
    void recordTimeNeedsARealDate();
    void lineLookup_data();
    void lineLookup();
};

void TestRecordReads::readsFollowTheRecordText_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");

    QTest::newRow("same length, other value") << "\r\nTA:12.5\r\n"
                                              << "\r\nTA:13.5\r\n"
                                              << "TA" << 0 << "13.5";
    QTest::newRow("line gone") << "\r\nTA:12.5\r\n"
                               << "\r\nRH:45\r\n"
                               << "TA" << 0 << "";
    QTest::newRow("line moved") << buildRecord({{"TA", {"1"}}, {"WI", {"5", "180"}}})
                                << buildRecord({{"WI", {"6", "190"}}, {"GU", {"7"}}, {"TA", {"2"}}})
                                << "WI" << 1 << "190";
    QTest::newRow("to an empty text") << "\r\nTA:12.5\r\n"
                                      << ""
                                      << "TA" << 0 << "";
    QTest::newRow("from an empty text") << ""
                                        << "\r\nTA:12.5\r\n"
                                        << "TA" << -1 << "12.5";
    QTest::newRow("equal text in another string") << "\r\nTA:12.5\r\n"
                                                  << "\r\nTA:12.5\r\n"
                                                  << "TA" << 0 << "12.5";
}

void TestRecordReads::readsFollowTheRecordText()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, key);
    QFETCH(int, index);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    decoder.setRecordText(first);
    decoder.getFieldValue(key, index);
    decoder.getTimestamp();
    decoder.setRecordText(QString(second.constData(), second.size()));
    QCOMPARE(decoder.getFieldValue(key, index), expected);
}

void TestRecordReads::textChangedInPlaceIsReadAgain()
{
    QString text = QStringLiteral("\r\nTA:12.5\r\nT:24/03/05,14:07:09\r\n");
    WeatherDataDecoder decoder;
    decoder.setRecordText(text);
    QCOMPARE(decoder.getFieldValue("TA", 0), QStringLiteral("12.5"));
    QCOMPARE(decoder.getTimestamp(), QStringLiteral("2024-03-05 14:07:09"));

    text[5] = QLatin1Char('9');
    text[text.size() - 3] = QLatin1Char('8');
    decoder.setRecordText(text);
    QCOMPARE(decoder.getFieldValue("TA", 0), QStringLiteral("92.5"));
    QCOMPARE(decoder.getTimestamp(), QStringLiteral("2024-03-05 14:07:08"));
}

void TestRecordReads::timeFollowsTheRecordText()
{
    WeatherDataDecoder decoder;
    decoder.setDeviceType(kOrva, false);
    decoder.setRecordText(timeRecord("24/03/05,14:07:09", "20"));
    QCOMPARE(decoder.getTimestamp(), QStringLiteral("2024-03-05 14:07:09"));
    QCOMPARE(decoder.getTemperature(), QStringLiteral("20"));

    decoder.setRecordText(timeRecord("24/03/05,14:08:00", "21"));
    QCOMPARE(decoder.getTimestamp(), QStringLiteral("2024-03-05 14:08:00"));
    QCOMPARE(decoder.getTemperature(), QStringLiteral("21"));
    QCOMPARE(decoder.maxTemp24h.size(), 1);
    QCOMPARE(decoder.maxTemp24h.first().time,
             QDateTime(QDate(2024, 3, 5), QTime(14, 8, 0), Qt::UTC));
    QCOMPARE(decoder.minTemp24h.size(), 2);

    decoder.setRecordText(buildRecord({{"TA", {"30"}}}));
    QCOMPARE(decoder.getTimestamp(), QString());
    decoder.getTemperature();
    QCOMPARE(decoder.maxTemp24h.first().value, 21.0);
}

void TestRecordReads::timeErrorsRepeatOnEveryRead()
{
    WeatherDataDecoder decoder;
    decoder.setRecordText(timeRecord("24/03/05,14", "5"));
    decoder.setDeviceType(kOrva, false);
    // The two fields are read within one expression, in an order the compiler chooses.
    const auto errors = [&decoder] {
        QStringList list = decoder.getParseErrors();
        list.sort();
        return list;
    };
    const QStringList once{"T:1 not found", "T:2 not found"};

    QCOMPARE(decoder.getTimestamp(), QString());
    QCOMPARE(errors(), once);
    QCOMPARE(decoder.getTimestamp(), QString());
    QCOMPARE(errors(),
             QStringList({"T:1 not found", "T:1 not found", "T:2 not found", "T:2 not found"}));

    // The temperature reads the time once and, without one, keeps no sample.
    decoder.clearParseErrors();
    QCOMPARE(decoder.getTemperature(), QStringLiteral("5"));
    QCOMPARE(errors(), once);
    QVERIFY(decoder.maxTemp24h.isEmpty());

    // A new record starts without errors; its own time reads add none.
    decoder.setRecordText(timeRecord("24/03/05,14:07:09", "5"));
    decoder.setDeviceType(kOrva, false);
    decoder.getTimestamp();
    decoder.getTemperature();
    QVERIFY(decoder.getParseErrors().isEmpty());
}

void TestRecordReads::derivedValuesFollowTheRecord_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("secondType");

    const QString warm = buildRecord({{"T", {"24/03/05,14", "07", "09"}},
                                      {"TA", {"30"}},
                                      {"RH", {"40"}},
                                      {"WI", {"4", "180", "25", "175"}},
                                      {"BA", {"1000", "2992"}},
                                      {"EL", {"120"}}});
    const QString cold = buildRecord({{"T", {"24/03/05,14", "08", "09"}},
                                      {"TA", {"-12.5"}},
                                      {"RH", {"85"}},
                                      {"WI", {"20", "180", "3", "175"}},
                                      {"BA", {"950.5", "2992"}},
                                      {"EL", {"600"}}});
    QTest::newRow("next record") << warm << cold << kOrva;
    // The ORVA report speed is another field of the same line.
    QTest::newRow("same text, other device type") << cold << cold << 1;
    QTest::newRow("wind line without the report speed")
        << warm << buildRecord({{"TA", {"-5"}}, {"WI", {"20"}}}) << kOrva;
}

void TestRecordReads::derivedValuesFollowTheRecord()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, secondType);

    using Calculation = QString (WeatherDataDecoder::*)();
    const QList<Calculation> calculations = {
        &WeatherDataDecoder::calcDewPoint,         &WeatherDataDecoder::calcHeatIndex,
        &WeatherDataDecoder::calcWindChill,        &WeatherDataDecoder::calcSeaLevelPressure,
        &WeatherDataDecoder::calcPressureAltitude, &WeatherDataDecoder::calcDensityAltitude};
    const auto readAll = [&calculations](WeatherDataDecoder& decoder) {
        QStringList values;
        for (Calculation calculation : calculations)
            values << (decoder.*calculation)();
        return values;
    };

    WeatherDataDecoder decoder;
    decoder.setRecordText(first);
    decoder.setDeviceType(kOrva, false);
    readAll(decoder);
    // The same text is handed over as the same string, another one as a string of its own.
    decoder.setRecordText(second == first ? first : QString(second.constData(), second.size()));
    decoder.setDeviceType(secondType, false);
    const QStringList read = readAll(decoder);

    WeatherDataDecoder fresh;
    fresh.setRecordText(second);
    fresh.setDeviceType(secondType, false);
    QCOMPARE(read, readAll(fresh));
    // Values read again are the same, and so are the errors their reading reports.
    const QStringList errors = decoder.getParseErrors();
    QCOMPARE(readAll(decoder), read);
    QCOMPARE(decoder.getParseErrors(), errors + errors);
}

void TestRecordReads::recordTimeNeedsARealDate_data()
{
    QTest::addColumn<QString>("timeLine");
    QTest::addColumn<QString>("stamp");
    QTest::addColumn<QDateTime>("sampleTime"); // invalid: no sample kept

    const QDateTime none;
    QTest::newRow("leap day") << "24/02/29,14:07:09"
                              << "2024-02-29 14:07:09"
                              << QDateTime(QDate(2024, 2, 29), QTime(14, 7, 9), Qt::UTC);
    QTest::newRow("no leap day") << "23/02/29,14:07:09"
                                 << "2023-02-29 14:07:09" << none;
    QTest::newRow("April 31") << "24/04/31,00:00:00"
                              << "2024-04-31 00:00:00" << none;
    QTest::newRow("month 13") << "24/13/01,00:00:00"
                              << "2024-13-01 00:00:00" << none;
    QTest::newRow("month 0") << "24/00/10,00:00:00"
                             << "2024-00-10 00:00:00" << none;
    QTest::newRow("day 0") << "24/03/00,00:00:00"
                           << "2024-03-00 00:00:00" << none;
    QTest::newRow("hour 24") << "24/03/05,24:00:00"
                             << "2024-03-05 24:00:00" << none;
    QTest::newRow("minute 60") << "24/03/05,23:60:00"
                               << "2024-03-05 23:60:00" << none;
    QTest::newRow("second 60") << "24/03/05,23:59:60"
                               << "2024-03-05 23:59:60" << none;
    QTest::newRow("first second of 2000")
        << "00/01/01,00:00:00"
        << "2000-01-01 00:00:00" << QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    QTest::newRow("last second of 2099")
        << "99/12/31,23:59:59"
        << "2099-12-31 23:59:59" << QDateTime(QDate(2099, 12, 31), QTime(23, 59, 59), Qt::UTC);
    QTest::newRow("stamp behind noise")
        << "x,7/24/03/05,14:07:09"
        << "2024-03-05 14:07:09" << QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9), Qt::UTC);
}

void TestRecordReads::recordTimeNeedsARealDate()
{
    QFETCH(QString, timeLine);
    QFETCH(QString, stamp);
    QFETCH(QDateTime, sampleTime);

    WeatherDataDecoder decoder;
    decoder.setRecordText(timeRecord(timeLine, "7.5"));
    decoder.setDeviceType(kOrva, false);
    QCOMPARE(decoder.getTimestamp(), stamp);
    QCOMPARE(decoder.getTemperature(), QStringLiteral("7.5"));
    if (!sampleTime.isValid()) {
        QVERIFY(decoder.maxTemp24h.isEmpty());
        return;
    }
    QCOMPARE(decoder.maxTemp24h.size(), 1);
    QCOMPARE(decoder.maxTemp24h.first().time, sampleTime);
    QCOMPARE(decoder.maxTemp24h.first().time.timeSpec(), Qt::UTC);
}

void TestRecordReads::lineLookup_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a line without a colon does not hide the next") << "\r\nJUNK\r\nTA:5\r\n"
                                                                   << "TA" << 0 << "5";
    QTest::newRow("key cut by a line end") << "\r\nTA\r\nTA:5\r\n"
                                           << "TA" << 0 << "5";
    QTest::newRow("longer key first") << "\r\nTAX:1\r\nTA:2\r\n"
                                      << "TA" << 0 << "2";
    QTest::newRow("first of two lines") << "\r\nTA:1\r\nTA:2\r\n"
                                        << "TA" << 0 << "1";
    QTest::newRow("empty lines before") << "\r\n\r\n\r\nTA:3"
                                        << "TA" << 0 << "3";
    QTest::newRow("key holding a colon")
        << buildRecord({{"N", {"METAR", "0", "1"}}}) << "N:METAR" << 1 << "1";
    QTest::newRow("key holding a line end") << "\r\n\r\nTA:7\r\n"
                                            << "\r\nTA" << 0 << "7";
    QTest::newRow("empty key") << "\r\n:5:6\r\n"
                               << "" << 1 << "6";
    QTest::newRow("lone CR ends field 0") << "\r\nWI:5\r:6\r\n"
                                          << "WI" << 0 << "5";
    QTest::newRow("lone CR: later field") << "\r\nWI:5\r:6\r\n"
                                          << "WI" << 1 << "6";
    QTest::newRow("identity line field 1") << "@I:AB12:x\r\nTA:3\r\n"
                                           << "@I" << 1 << "x";
    QTest::newRow("after 5000 lines")
        << QStringLiteral("\r\n") + QStringLiteral("X\r\n").repeated(5000) + QStringLiteral("TA:4")
        << "TA" << 0 << "4";
}

void TestRecordReads::lineLookup()
{
    QFETCH(QString, record);
    QFETCH(QString, key);
    QFETCH(int, index);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    decoder.setRecordText(record);
    // Read twice: the second read goes through what the first one found.
    QCOMPARE(decoder.getFieldValue(key, index), expected);
    QCOMPARE(decoder.getFieldValue(key, index), expected);
    QVERIFY(decoder.getParseErrors().isEmpty());
}

QTEST_GUILESS_MAIN(TestRecordReads)
#include "tst_recordreads.moc"
