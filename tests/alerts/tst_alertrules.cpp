// The alert rules without a window: the threshold comparison and its texts, the sound flag, the
// re-raise gate, the temperature conversions, the stored definitions and the alert list's rules.

#include "alerts/alertlistrules.h"
#include "alerts/alertrules.h"

#include "tests/support/scopedclock.h"
#include "tests/support/testsupport.h"

#include <QJsonDocument>
#include <QtTest>

Q_DECLARE_METATYPE(AlertDef)

namespace
{

const QString degC = QStringLiteral("\u00B0C");
const QString degF = QStringLiteral("\u00B0F");
const QString none = QStringLiteral("<none>"); // no threshold in this direction

AlertThresholdMap thresholdsFor(const QString& parameter, const QString& less,
                                const QString& greater)
{
    AlertThresholdMap thresholds;
    if (less != none)
        thresholds.insert(parameter + "_LESSTHAN", less);
    if (greater != none)
        thresholds.insert(parameter + "_GREATERTHAN", greater);
    return thresholds;
}

} // namespace

class TestAlertRules : public QObject
{
    Q_OBJECT

private slots:
    // Strict comparisons; a parameter with both thresholds raises only inside the open range;
    // temperatures are compared and written in Fahrenheit while it is shown.
    void comparison_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("less");
        QTest::addColumn<QString>("greater");
        QTest::addColumn<bool>("fahrenheit");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& parameter, const QString& less,
                            const QString& greater, bool fahrenheit, const QString& value,
                            const QString& expected) {
            QTest::newRow(name) << parameter << less << greater << fahrenheit << value << expected;
        };
        const QString t = "Temperature";
        const QString h = "Relative Humidity";
        row("greater, Celsius", t, none, "30", false, "31.5",
            "Temperature 31.5°C is Greater Than Threshold of 30°C");
        row("less", "Visibility", "3", none, false, "2.5",
            "Visibility 2.5SM is Less Than Threshold of 3SM");
        row("range, Celsius", t, "30", "20", false, "25.1",
            "Temperature 25.1°C is in Threshold Range of 20 - 30°C");
        row("greater, Fahrenheit", t, none, "30", true, "31.5",
            "Temperature 88.7°F is Greater Than Threshold of 86.0°F");
        row("range, Fahrenheit", "Dew Point", "15", "10", true, "12.3",
            "Dew Point 54.1°F is in Threshold Range of 50.0 - 59.0°F");
        row("negative", "Wind Chill", "0", none, false, "-3.2",
            "Wind Chill -3.2°C is Less Than Threshold of 0°C");
        row("threshold shown as stored", "Altimeter", "29.900", none, false, "29.85",
            "Altimeter 29.85inHg is Less Than Threshold of 29.900inHg");
        row("greater at threshold", t, none, "30", false, "30", "");
        row("greater just above", t, none, "30", false, "30.1",
            "Temperature 30.1°C is Greater Than Threshold of 30°C");
        row("less at threshold", "Visibility", "3", none, false, "3", "");
        row("less just below", "Visibility", "3", none, false, "2.99",
            "Visibility 2.99SM is Less Than Threshold of 3SM");
        // 30 C is 86.0 F on both sides.
        row("Fahrenheit at threshold", "Heat Index", none, "30", true, "30", "");
        // -17.8 C is -0.04 F: written as the dashboard writes it, not "-0.0".
        row("Fahrenheit just below zero", t, "0", none, true, "-17.8",
            "Temperature 0.0°F is Less Than Threshold of 32.0°F");
        row("range inside", h, "30", "20", false, "25",
            "Relative Humidity 25% is in Threshold Range of 20 - 30%");
        row("range below", h, "30", "20", false, "15", "");
        row("range above", h, "30", "20", false, "35", "");
        row("range at lower", h, "30", "20", false, "20", "");
        row("range at upper", h, "30", "20", false, "30", "");
        row("inverted range", "Wind Speed", "10", "30", false, "20", "");
        row("inverted range, low", "Wind Speed", "10", "30", false, "5", "");
        row("inverted range, high", "Wind Speed", "10", "30", false, "35", "");
        // No reading is not a reading of zero, in either display unit.
        row("empty", t, "5", none, false, "", "");
        row("blank", t, "5", none, false, "  ", "");
        row("dash, Fahrenheit", t, none, "-10", true, "-", "");
        row("text", "Visibility", "3", none, false, "M", "");
        row("inf", "Visibility", "3", none, false, "-inf", "");
        row("dash in range", "Wind Speed", "10", "-5", false, "-", "");
        row("zero is a reading", "Wind Speed", "1", none, false, "0",
            "Wind Speed 0kt is Less Than Threshold of 1kt");
        // A threshold that is not a number counts as 0 and is shown as typed.
        row("text threshold", "Wind Speed", none, "abc", false, "5",
            "Wind Speed 5kt is Greater Than Threshold of abckt");
        row("no thresholds", t, none, none, false, "50", "");
    }
    void comparison()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, less);
        QFETCH(QString, greater);
        QFETCH(bool, fahrenheit);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        AlertThresholdMap thresholds = thresholdsFor(parameter, less, greater);
        // Thresholds of another parameter never leak into this one.
        thresholds.insert("Wind Direction_GREATERTHAN", "-1000");
        const AlertEvaluation result =
            evaluateAlert(parameter, value, thresholds, AlertFlagMap(), fahrenheit);
        QCOMPARE(result.text, expected);
        QVERIFY(!result.playSound);
    }

    // Each parameter's unit in both directions; temperatures alone convert (9.5, 10 and 10.5 C
    // are 49.1, 50.0 and 50.9 F).
    void everyParameterBothDirections()
    {
        const QStringList units = {degC, "kt",   "kt",   "\u00B0", degC, "SM", degC,  degC, "inHg",
                                   "%",  "inHg", "inHg", "ft",     "ft", "kt", "hPa", "NM"};
        QCOMPARE(alertParameterNames().size(), units.size());
        for (int i = 0; i < units.size(); ++i) {
            const QString p = alertParameterNames().at(i);
            const bool temperature = units.at(i) == degC;
            QCOMPARE(isTemperatureParameter(p), temperature);
            for (bool f : {false, true}) {
                const bool convert = f && temperature;
                const QString unit = convert ? degF : units.at(i);
                const QString low = convert ? "49.1" : "9.5";
                const QString high = convert ? "50.9" : "10.5";
                const QString threshold = (convert ? "50.0" : "10") + unit;
                const AlertThresholdMap less = thresholdsFor(p, "10", none);
                const AlertThresholdMap greater = thresholdsFor(p, none, "10");
                QCOMPARE(evaluateAlert(p, "9.5", less, {}, f).text,
                         p + " " + low + unit + " is Less Than Threshold of " + threshold);
                QCOMPARE(evaluateAlert(p, "10.5", greater, {}, f).text,
                         p + " " + high + unit + " is Greater Than Threshold of " + threshold);
                QCOMPARE(evaluateAlert(p, "10.5", less, {}, f).text, QString());
                QCOMPARE(evaluateAlert(p, "9.5", greater, {}, f).text, QString());
                QCOMPARE(alertUnitText(p, f), unit);
            }
        }
        QCOMPARE(alertUnitText("Dewpoint", false), QString());
    }

    // The sound plays when a direction that raised has its audio flag on.
    void sound_data()
    {
        QTest::addColumn<QString>("less");
        QTest::addColumn<QString>("greater");
        QTest::addColumn<bool>("lessAudio");
        QTest::addColumn<bool>("greaterAudio");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("sound");
        QTest::newRow("less, audio on") << "10" << none << true << false << "5" << true;
        QTest::newRow("less, audio off") << "10" << none << false << true << "5" << false;
        QTest::newRow("less, not crossed") << "10" << none << true << true << "15" << false;
        QTest::newRow("greater, audio on") << none << "10" << false << true << "15" << true;
        QTest::newRow("greater, audio off") << none << "10" << true << false << "15" << false;
        QTest::newRow("range, less audio") << "30"
                                           << "20" << true << false << "25" << true;
        QTest::newRow("range, greater audio") << "30"
                                              << "20" << false << true << "25" << true;
        QTest::newRow("range, no audio") << "30"
                                         << "20" << false << false << "25" << false;
        QTest::newRow("range, outside") << "30"
                                        << "20" << true << true << "35" << false;
    }
    void sound()
    {
        QFETCH(QString, less);
        QFETCH(QString, greater);
        QFETCH(bool, lessAudio);
        QFETCH(bool, greaterAudio);
        QFETCH(QString, value);
        QFETCH(bool, sound);
        const AlertFlagMap audio = {{"Gust Speed_LESSTHAN", lessAudio},
                                    {"Gust Speed_GREATERTHAN", greaterAudio}};
        QCOMPARE(evaluateAlert("Gust Speed", value, thresholdsFor("Gust Speed", less, greater),
                               audio, false)
                     .playSound,
                 sound);
    }

    // A parameter that raised is evaluated again only after more than 300 whole seconds.
    void gate()
    {
        const QDateTime raised(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC);
        qint64 elapsed = -1;
        QVERIFY(alertGateOpen(QDateTime(), raised, &elapsed));
        QCOMPARE(elapsed, 0);
        for (qint64 secs : {0, 299, 300, 301, 3600}) {
            QCOMPARE(alertGateOpen(raised, raised.addSecs(secs), &elapsed), secs > 300);
            QCOMPARE(elapsed, secs * 1000);
        }
        ScopedClock clock(QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0, 700), Qt::UTC));
        QCOMPARE(alertGateNow(), raised);
        clock.advanceMSecs(300200); // 300.9 s on the wall clock, 300 whole seconds
        QVERIFY(!alertGateOpen(raised, alertGateNow()));
        clock.advanceMSecs(100);
        QVERIFY(alertGateOpen(raised, alertGateNow()));
    }

    void temperatures_data()
    {
        QTest::addColumn<bool>("toFahrenheit");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("70.5 F") << false << "70.5"
                                << "21.4";
        QTest::newRow("32 F") << false << "32"
                              << "0.0";
        QTest::newRow("-40 F") << false << "-40"
                               << "-40.0";
        QTest::newRow("212 F") << false << "212"
                               << "100.0";
        QTest::newRow("no number F") << false << "abc"
                                     << "-17.8";
        QTest::newRow("31.95 F is not -0.0") << false << "31.95"
                                             << "0.0";
        QTest::newRow("31.5 C") << true << "31.5"
                                << "88.7";
        QTest::newRow("-3.2 C") << true << "-3.2"
                                << "26.2";
        QTest::newRow("-40 C") << true << "-40"
                               << "-40.0";
        QTest::newRow("no number C") << true << "-"
                                     << "32.0";
        QTest::newRow("nan C") << true << "nan"
                               << "32.0";
        QTest::newRow("-17.8 C is not -0.0") << true << "-17.8"
                                             << "0.0";
    }
    void temperatures()
    {
        QFETCH(bool, toFahrenheit);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QCOMPARE(toFahrenheit ? celsiusToFahrenheitText(from) : fahrenheitToCelsiusText(from), to);
        QCOMPARE(fahrenheitFromSetting(temperatureUnitsSetting(toFahrenheit)), toFahrenheit);
        QCOMPARE(temperatureUnitText(toFahrenheit), toFahrenheit ? degF : degC);
        QVERIFY(!fahrenheitFromSetting("fahrenheit"));
        // Stored in Celsius, whatever the operator typed in.
        QCOMPARE(alertStoredValue("Heat Index", from, !toFahrenheit), toFahrenheit ? from : to);
        QCOMPARE(alertStoredValue("Wind Speed", from, true), from);
    }

    // The settings file form: saving order kept, a pair saved twice stands twice, texts as
    // typed; faulty entries read as far as they go.
    void storedDefinitions()
    {
        const QList<AlertDef> defs = {{"Temperature", "GREATERTHAN", "20", "METRIC", true},
                                      {"Gust Speed", "LESSTHAN", "5", "IMPERIAL", false},
                                      {"Gust Speed", "LESSTHAN", "7", "IMPERIAL", true},
                                      {"Visibility", "GREATERTHAN", " 1 1/2 ", "METRIC", false},
                                      {"Unknown \u00B0", "SIDEWAYS", "", "", false}};
        QJsonObject settings{{"TEMPUNITS", "FAHRENHEIT"}};
        writeAlertsSetting(settings, defs);
        const QByteArray text = QJsonDocument(settings).toJson();
        QVERIFY(text.contains("{\n            \"audio\": true,\n            \"parameter\": "
                              "\"Temperature\",\n            \"setting\": \"GREATERTHAN\",\n  "
                              "          \"unit\": \"METRIC\",\n            \"value\": \"20\"\n"));
        QCOMPARE(alertDefsFromJson(readAlertsSetting(QJsonDocument::fromJson(text).object())),
                 defs);

        const QJsonArray faulty = QJsonDocument::fromJson(R"([
            {"parameter":"Lightning","setting":"LESSTHAN","value":"10","unit":"METRIC"},
            {"parameter":"Altimeter","audio":"true"},
            {"parameter":"Wind Speed","setting":"GREATERTHAN","value":25}, "Temperature"])")
                                      .array();
        QCOMPARE(alertDefsFromJson(faulty),
                 (QList<AlertDef>{{"Lightning", "LESSTHAN", "10", "METRIC", false},
                                  {"Altimeter", "", "", "", false},
                                  {"Wind Speed", "GREATERTHAN", "", "", false},
                                  {}}));
        for (const char* wrong : {R"({"TEMPUNITS":"CELCIUS"})", R"({"ALERTS":{"a":1}})",
                                  R"({"ALERTS":"none"})", R"({"ALERTS":null})"})
            QVERIFY(readAlertsSetting(QJsonDocument::fromJson(wrong).object()).isEmpty());
    }

    // The two button groups number the last parameters differently; -1 and 34 name no row.
    void rowIdsAndErrorTexts()
    {
        const struct {
            bool audio;
            int id;
            const char* parameter;
            const char* setting;
        } rows[] = {{true, 5, "Wind Chill", "GREATERTHAN"},
                    {true, 20, "Station Pressure", "LESSTHAN"},
                    {false, 20, "Pressure Altitude", "LESSTHAN"},
                    {false, 29, "Station Pressure", "GREATERTHAN"},
                    {false, 33, "Lightning", "GREATERTHAN"},
                    {true, 34, "", ""},
                    {false, -1, "", ""}};
        for (const auto& row : rows) {
            const AlertRowRef ref =
                row.audio ? alertRowForAudioId(row.id) : alertRowForDeleteId(row.id);
            QCOMPARE(ref.row ? ref.row->parameter : QString(), QString(row.parameter));
            QCOMPARE(ref.row ? ref.setting() : QString(), QString(row.setting));
        }
        const AlertAudioError gust = alertAudioErrorTexts(alertRowForAudioId(9));
        QCOMPARE(gust.pane,
                 QString("ERROR: Audio for Wind Gust Speed Greater Than unable to toggle"));
        QCOMPARE(gust.log, gust.pane);
        const AlertAudioError crossWind = alertAudioErrorTexts(alertRowForAudioId(30));
        QCOMPARE(crossWind.pane, QString("Audio for Cross Wind Speed Less Than unable to toggle"));
        QCOMPARE(crossWind.log,
                 QString("ERROR: Audio for Cross Wind Speed Less Than  unable to toggle"));
        QCOMPARE(alertRowValueText({"Temperature", "GREATERTHAN", "30", "", true}, true),
                 "> 86.0 " + degF);
        QCOMPARE(alertRowValueText({"Visibility", "LESSTHAN", " ", "", true}, false),
                 QString("<   SM"));
    }

    // The alerts pane after a unit switch: temperature lines in the new unit, there and back;
    // every other line as it was.
    void paneConversion_data()
    {
        QTest::addColumn<QString>("celsius");
        QTest::addColumn<QString>("fahrenheit");
        QTest::addColumn<QString>("back");
        QTest::newRow("greater") << "Temperature 25.3°C is Greater Than Threshold of 20°C"
                                 << "Temperature 77.5°F is Greater Than Threshold of 68.0°F"
                                 << "Temperature 25.3°C is Greater Than Threshold of 20.0°C";
        QTest::newRow("range, two words")
            << "Dew Point 12.3°C is in Threshold Range of 10 - 15°C"
            << "Dew Point 54.1°F is in Threshold Range of 50.0 - 59.0°F"
            << "Dew Point 12.3°C is in Threshold Range of 10.0 - 15.0°C";
        QTest::newRow("range, one word")
            << "Temperature 5.0°C is in Threshold Range of 0 - 10°C"
            << "Temperature 41.0°F is in Threshold Range of 32.0 - 50.0°F"
            << "Temperature 5.0°C is in Threshold Range of 0.0 - 10.0°C";
        const QString direction = "Wind Direction 270° is Greater Than Threshold of 180°";
        QTest::newRow("wind direction") << direction << direction << direction;
        QTest::newRow("short line") << "Temperature 20°C"
                                    << "Temperature 20°C"
                                    << "Temperature 20°C";
        // One word short of their layouts: kept as they are, never read past their end.
        const QString shortGreater = "Temperature 25.3°C is Greater Than Threshold of";
        QTest::newRow("greater, one word short") << shortGreater << shortGreater << shortGreater;
        const QString shortRange = "Dew Point 12.3°C is in Threshold Range of 10 -";
        QTest::newRow("range, one word short") << shortRange << shortRange << shortRange;
        // Ending where the range word would stand: nothing there to read.
        const QString toRangeWord = "Temperature 25.3°C is Greater";
        QTest::newRow("ends before the range word") << toRangeWord << toRangeWord << toRangeWord;
        const QString toRangeWordTwo = "Dew Point 12.3°C is in";
        QTest::newRow("two-word name, ends before the range word")
            << toRangeWordTwo << toRangeWordTwo << toRangeWordTwo;
    }
    void paneConversion()
    {
        QFETCH(QString, celsius);
        QFETCH(QString, fahrenheit);
        QFETCH(QString, back);
        const QString stamp = "2024-05-01 12:00:00 ";
        const QString warning = "\n" + stamp + "WARNING: no value entered.\n";
        const QString toF = convertAlertPaneText(stamp + celsius + warning, true);
        QCOMPARE(toF, stamp + fahrenheit + warning);
        QCOMPARE(convertAlertPaneText(toF, false), stamp + back + warning);
    }
};

QTEST_GUILESS_MAIN(TestAlertRules)
#include "tst_alertrules.moc"
