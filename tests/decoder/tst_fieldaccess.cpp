#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TestFieldAccess : public QObject
{
    Q_OBJECT
private slots:
    void fieldValue_data();
    void fieldValue();
    void nullKeyGivesEmptyText();
    void longFieldIsCappedAt1024Characters();
    void parseErrorsLiveUntilNextRecordOrClear();

    void validNumbers_data();
    void validNumbers();
    void roundToStep_data();
    void roundToStep();

    void initialState();
    void legacyFlagIsSticky();
    void precipAccum24Interval_data();
    void precipAccum24Interval();
};

void TestFieldAccess::fieldValue_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("errors");

    const auto add = [](const char* name, const QString& record, const char* key, int index,
                        const char* expected, const QStringList& errors = {}) {
        QTest::newRow(name) << record << QString(key) << index << QString(expected) << errors;
    };
    const QString wind = buildRecord({{"TA", {"21.5"}}, {"WI", {"5.2", "180", "6.1", "175"}}});
    add("WI 0", wind, "WI", 0, "5.2");
    add("WI 3", wind, "WI", 3, "175");
    add("WI -1 whole value part", wind, "WI", -1, "5.2:180:6.1:175");
    add("WI -7 any negative", wind, "WI", -7, "5.2:180:6.1:175");
    add("WI 4 beyond last colon", wind, "WI", 4, "", {"WI:4 not found"});
    add("missing line index 0", wind, "RH", 0, "");
    add("missing line index 2 no error", wind, "RH", 2, "");

    const QString gust = buildRecord({{"GU", {"", "", "7"}}});
    add("GU ::7 field 0", gust, "GU", 0, "");
    add("GU ::7 field 1", gust, "GU", 1, "");
    add("GU ::7 field 2", gust, "GU", 2, "7");

    const QString ltFirst = buildRecord({{"LT", {"3", "4"}}, {"T", {"24/03/05,14", "07", "09"}}});
    const QString tFirst = buildRecord({{"T", {"24/03/05,14", "07", "09"}}, {"LT", {"3", "4"}}});
    add("T after LT", ltFirst, "T", 0, "24/03/05,14");
    add("T before LT", tFirst, "T", 0, "24/03/05,14");
    add("LT beside T", tFirst, "LT", 1, "4");
    add("T alone is not LT", buildRecord({{"LT", {"3"}}}), "T", 0, "");

    add("values are not trimmed", buildRecord({{"RH", {" 45 ", "x"}}}), "RH", 0, " 45 ");

    // The unit's no-value is an empty field, however it is written; the whole line keeps it.
    const QString noValue = buildRecord({{"TA", {"-1000.00", "-10000", "-1000x", "1000"}}});
    add("no-value", noValue, "TA", 0, "");
    add("a lower number", noValue, "TA", 1, "-10000");
    add("no number", noValue, "TA", 2, "-1000x");
    add("its magnitude", noValue, "TA", 3, "1000");
    add("no-value in the whole line", noValue, "TA", -1, "-1000.00:-10000:-1000x:1000");
    // Blanks around a number and the other minus sign read as the number itself.
    const QString spelt = buildRecord({{"TA", {" -1000", " -1000.001", "\u00a0\u22121e3"}}});
    add("no-value after a blank", spelt, "TA", 0, "");
    add("a lower number after a blank", spelt, "TA", 1, " -1000.001");
    add("no-value after a no-break space", spelt, "TA", 2, "");
    add("first line needs a leading CRLF", "WI:5:6\r\n", "WI", 0, "");
    add("@I at the very start", "@I:AB12:x\r\nTA:3\r\n", "@I", 0, "AB12");
    add("@I inside a line", "junk@I:AB12\r\n", "@I", 0, "AB12");

    // Texts cut short: reading stops at the end of the text.
    add("no CRLF: field 0", "\r\nWI:5:6", "WI", 0, "5");
    add("no CRLF: field 1", "\r\nWI:5:6", "WI", 1, "6");
    add("no CRLF: field -1", "\r\nWI:5:6", "WI", -1, "5:6");
    add("no CRLF: field 2", "\r\nWI:5:6", "WI", 2, "", {"WI:2 not found"});
    add("ends at the colon: field 0", "\r\nWI:", "WI", 0, "");
    add("ends at the colon: field -1", "\r\nWI:", "WI", -1, "");
    add("ends at the colon: field 1", "\r\nWI:", "WI", 1, "", {"WI:1 not found"});
    add("ends in a lone CR", "\r\nWI:5:6\r", "WI", 1, "6");
    // A lone CR is no line end, but a value stops at it.
    add("line ended by a lone CR: field 0", "\r\nWI:5\rGU:7\r\n", "WI", 0, "5");
    add("line ended by a lone CR: field -1", "\r\nWI:5\rGU:7\r\n", "WI", -1, "5");
    // A lone LF ends the value and the line: the next line's key and values are not this one's.
    add("line ended by a lone LF: field 0", "\r\nWI:5\nGU:7:8\r\n", "WI", 0, "5");
    add("line ended by a lone LF: field -1", "\r\nWI:5\nGU:7:8\r\n", "WI", -1, "5");
    add("line ended by a lone LF: field 1", "\r\nWI:5\nGU:7:8\r\n", "WI", 1, "",
        {"WI:1 not found"});
    add("trailing empty field", "\r\nWI:5:\r\n", "WI", 1, "");
    add("next line's colons do not count", buildRecord({{"WI", {"5"}}, {"GU", {"1", "2", "3"}}}),
        "WI", 2, "", {"WI:2 not found"});
}

void TestFieldAccess::fieldValue()
{
    QFETCH(QString, record);
    QFETCH(QString, key);
    QFETCH(int, index);
    QFETCH(QString, expected);
    QFETCH(QStringList, errors);

    WeatherDataDecoder decoder;
    decoder.setRecordText(record);
    QCOMPARE(decoder.getFieldValue(key, index), expected);
    QCOMPARE(decoder.getParseErrors(), errors);
}

void TestFieldAccess::nullKeyGivesEmptyText()
{
    WeatherDataDecoder decoder;
    // A record whose line key is empty must not answer a null key.
    decoder.setRecordText(QStringLiteral("\r\n:5:6\r\n"));
    QVERIFY(decoder.getFieldValue(QString(), 0).isEmpty());
    QVERIFY(decoder.getFieldValue(QString(), 2).isEmpty());
    QVERIFY(decoder.getParseErrors().isEmpty());
}

void TestFieldAccess::longFieldIsCappedAt1024Characters()
{
    const QString longValue(3000, QLatin1Char('9'));
    WeatherDataDecoder decoder;
    decoder.setRecordText(buildRecord({{"TA", {longValue, "1"}}}));
    QCOMPARE(decoder.getFieldValue("TA", 0), longValue.left(1024));
    QCOMPARE(decoder.getFieldValue("TA", -1), longValue.left(1024));
    QCOMPARE(decoder.getFieldValue("TA", 1), QStringLiteral("1"));

    // Unterminated as well: the cap and the end of the text both hold.
    decoder.setRecordText(QStringLiteral("\r\nTA:") + longValue);
    QCOMPARE(decoder.getFieldValue("TA", 0).size(), 1024);
    decoder.setRecordText(QStringLiteral("\r\nTA:") + longValue.left(10));
    QCOMPARE(decoder.getFieldValue("TA", -1), longValue.left(10));
}

void TestFieldAccess::parseErrorsLiveUntilNextRecordOrClear()
{
    WeatherDataDecoder decoder;
    decoder.setRecordText(buildRecord({{"WI", {"5.2", "180"}}, {"PA", {"1"}}}));
    decoder.setDeviceType(2, false);
    decoder.getFieldValue("WI", 2);
    decoder.getFieldValue("WI", 3);
    decoder.getFieldValue("PA", 10);
    const QStringList expected{"WI:2 not found", "WI:3 not found", "PA:10 not found"};
    QCOMPARE(decoder.getParseErrors(), expected);

    // The list handed out is a copy.
    QStringList copy = decoder.getParseErrors();
    copy.clear();
    QCOMPARE(decoder.getParseErrors(), expected);

    decoder.setDeviceType(2, false);
    QVERIFY(decoder.getParseErrors().isEmpty());

    decoder.getFieldValue("WI", 5);
    QCOMPARE(decoder.getParseErrors(), QStringList{"WI:5 not found"});
    decoder.clearParseErrors();
    QVERIFY(decoder.getParseErrors().isEmpty());
}

void TestFieldAccess::validNumbers_data()
{
    QTest::addColumn<bool>("integer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const auto add = [](const char* name, bool integer, const char* text, const char* expected) {
        QTest::newRow(name) << integer << QString(text) << QString(expected);
    };
    add("12.5", false, "12.5", "12.5");
    add("negative", false, "-3", "-3");
    add("exponent", false, "1e3", "1e3");
    add("kept unchanged", false, "012.50", "012.50");
    add("comma", false, "12,5", "");
    add("empty", false, "", "");
    add("lone minus", false, "-", "");
    add("letters", false, "abc", "");
    add("nan", false, "nan", "");
    add("NaN", false, "NaN", "");
    add("inf", false, "inf", "");
    add("-inf", false, "-inf", "");
    add("infinity", false, "infinity", "");
    add("overflow", false, "1e400", "");
    add("largest finite", false, "1e308", "1e308");

    add("int 7", true, "7", "7");
    add("int negative", true, "-12", "-12");
    add("int leading zeros kept", true, "007", "007");
    add("int 7.0", true, "7.0", "");
    add("int empty", true, "", "");
    add("int lone minus", true, "-", "");
    add("int hex prefix", true, "0x10", "");
    add("int hex digits", true, "1F", "");
    add("int max", true, "2147483647", "2147483647");
    add("beyond int", true, "2147483648", "");
}

void TestFieldAccess::validNumbers()
{
    QFETCH(bool, integer);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(integer ? ::validInt(text) : ::validDouble(text), expected);
}

void TestFieldAccess::roundToStep_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("expected");

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();

    QTest::newRow("2.5 by 1") << 2.5 << 1.0 << 3.0;
    QTest::newRow("-2.5 by 1") << -2.5 << 1.0 << -3.0;
    QTest::newRow("0 by 1") << 0.0 << 1.0 << 0.0;
    QTest::newRow("1234 by 100") << 1234.0 << 100.0 << 1200.0;
    QTest::newRow("1250 by 100") << 1250.0 << 100.0 << 1300.0;
    QTest::newRow("-0.01 by 0.02") << -0.01 << 0.02 << -0.02;
    QTest::newRow("0.01 by 0.02") << 0.01 << 0.02 << 0.02;
    QTest::newRow("984 by 100") << 984.0 << 100.0 << 1000.0;
    QTest::newRow("int max fits") << 2147483647.2 << 1.0 << 2147483647.0;
    QTest::newRow("int min fits") << -2147483648.2 << 1.0 << -2147483648.0;

    // No rounding possible: the value comes back as it is.
    QTest::newRow("step 0") << 12.3 << 0.0 << 12.3;
    QTest::newRow("just beyond int max") << 2147483647.6 << 1.0 << 2147483647.6;
    QTest::newRow("just beyond int min") << -2147483648.6 << 1.0 << -2147483648.6;
    QTest::newRow("huge") << 3e12 << 100.0 << 3e12;
    QTest::newRow("quotient overflows") << 1e300 << 1e-300 << 1e300;
    QTest::newRow("infinite value") << inf << 100.0 << inf;
    QTest::newRow("nan value") << nan << 100.0 << nan;
    QTest::newRow("nan step") << 5.0 << nan << 5.0;
}

void TestFieldAccess::roundToStep()
{
    QFETCH(double, value);
    QFETCH(double, step);
    QFETCH(double, expected);
    QCOMPARE(::roundToStep(value, step), expected);
}

void TestFieldAccess::initialState()
{
    WeatherDataDecoder decoder;
    QCOMPARE(decoder.deviceType, 1);
    QCOMPARE(decoder.loggingType, 0);
    QCOMPARE(decoder.accum24hPrevious, 1);
    QVERIFY(!decoder.legacy);
    QVERIFY(!decoder.vicinityThunder);
    QVERIFY(!decoder.thunderBeginReported);
    QVERIFY(decoder.recordText.isEmpty());
    QVERIFY(decoder.getIcao().isEmpty());
    QVERIFY(decoder.getPrecipTotals().isEmpty());
    QVERIFY(decoder.getParseErrors().isEmpty());
}

void TestFieldAccess::legacyFlagIsSticky()
{
    WeatherDataDecoder decoder;
    decoder.setDeviceType(2, true);
    QVERIFY(decoder.legacy);
    decoder.setDeviceType(1, false);
    QVERIFY(decoder.legacy);
    QCOMPARE(decoder.deviceType, 1);
}

void TestFieldAccess::precipAccum24Interval_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("index24h");

    // A record with "PA" field 10 present, so the 24-hour index shows the setting.
    QTest::newRow("previous 24 hours") << 1 << 9;
    QTest::newRow("since 12Z") << 0 << 10;
    QTest::newRow("unknown 2") << 2 << 10;
    QTest::newRow("unknown -1") << -1 << 10;
}

void TestFieldAccess::precipAccum24Interval()
{
    QFETCH(int, interval);
    QFETCH(int, index24h);

    WeatherDataDecoder decoder;
    decoder.setRecordText(buildRecord({{"PA", QString("0:1:2:3:4:5:6:7:8:9:10").split(':')}}));
    decoder.setDeviceType(2, false);
    decoder.setPrecipAccum24Interval(1);
    decoder.setPrecipAccum24Interval(interval);
    QCOMPARE(decoder.accum24hPrevious, interval == 1 ? 1 : 0);
    QCOMPARE(decoder.getPrecipAccumIndex(24), index24h);
}

QTEST_GUILESS_MAIN(TestFieldAccess)
#include "tst_fieldaccess.moc"
