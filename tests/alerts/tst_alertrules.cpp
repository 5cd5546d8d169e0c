#include "alerts/alertrules.h"

#include "tests/support/scopedclock.h"
#include "tests/support/testsupport.h"

#include <QtTest>

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
        thresholds.insert(parameter + QStringLiteral("_LESSTHAN"), less);
    if (greater != none)
        thresholds.insert(parameter + QStringLiteral("_GREATERTHAN"), greater);
    return thresholds;
}

} // namespace

class TestAlertRules : public QObject
{
    Q_OBJECT

private slots:
    void parameterTable();
    void unitText_data();
    void unitText();
    void comparison_data();
    void comparison();
    void everyParameterBothDirections_data();
    void everyParameterBothDirections();
    void sound_data();
    void sound();
    void gate_data();
    void gate();
    void gateClockCutsToWholeSeconds();
};

// clang-format off
void TestAlertRules::parameterTable()
{
    const QStringList names = {"Temperature",        "Wind Speed",         "Gust Speed",
                               "Wind Direction",     "Wind Chill",         "Visibility",
                               "Dew Point",          "Heat Index",         "Altimeter",
                               "Relative Humidity",  "Station Pressure",   "Sea Level Pressure",
                               "Pressure Altitude",  "Density Altitude",   "Cross Wind Speed",
                               "3Hr Pressure Change", "Lightning"};
    const QStringList imperial = {degF, "kt",   "kt",   "\u00B0", degF, "SM", degF, degF, "inHg",
                                  "%",  "inHg", "inHg", "ft",     "ft", "kt", "hPa", "NM"};
    QStringList metric = imperial;
    metric.replaceInStrings(degF, degC);
    QCOMPARE(alertParameterNames(), names);
    QCOMPARE(alertUnitsImperialList(), imperial);
    QCOMPARE(alertUnitsMetricList(), metric);

    const QStringList keys = {"Temperature",      "Wind Speed",         "Gust Speed",
                              "Wind Direction",   "Wind Chill",         "Visibility",
                              "Dewpoint",         "Heat Index",         "Altimeter",
                              "Humidity",         "Station Pressure",   "Sea Level Pressure",
                              "Pressure Altitude", "Density Altitude",  "X Wind",
                              "3 Hr Pressure",    ""};
    QStringList tableKeys;
    for (const AlertParameter& row : alertParameterTable())
        tableKeys.append(row.recordKey);
    QCOMPARE(tableKeys, keys);

    for (const QString& name : names) {
        const bool temperature = name == "Temperature" || name == "Wind Chill"
                                 || name == "Dew Point" || name == "Heat Index";
        QCOMPARE(isTemperatureParameter(name), temperature);
    }
    QVERIFY(!isTemperatureParameter("temperature"));
}
// clang-format on

// clang-format off
void TestAlertRules::unitText_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("celsiusShown");
    QTest::addColumn<QString>("fahrenheitShown");
    QTest::newRow("temperature") << "Temperature" << degC << degF;
    QTest::newRow("wind chill") << "Wind Chill" << degC << degF;
    QTest::newRow("dew point") << "Dew Point" << degC << degF;
    QTest::newRow("heat index") << "Heat Index" << degC << degF;
    QTest::newRow("humidity") << "Relative Humidity" << "%" << "%";
    QTest::newRow("cross wind") << "Cross Wind Speed" << "kt" << "kt";
    QTest::newRow("direction") << "Wind Direction" << "\u00B0" << "\u00B0";
    QTest::newRow("3hr") << "3Hr Pressure Change" << "hPa" << "hPa";
    QTest::newRow("lightning") << "Lightning" << "NM" << "NM";
    QTest::newRow("unknown") << "Rain" << "" << "";
    QTest::newRow("record key is not a parameter") << "Dewpoint" << "" << "";
}
// clang-format on

void TestAlertRules::unitText()
{
    QFETCH(QString, parameter);
    QFETCH(QString, celsiusShown);
    QFETCH(QString, fahrenheitShown);
    QCOMPARE(alertUnitText(parameter, false), celsiusShown);
    QCOMPARE(alertUnitText(parameter, true), fahrenheitShown);
}

// clang-format off
void TestAlertRules::comparison_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("less");
    QTest::addColumn<QString>("greater");
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    // Worked examples.
    QTest::newRow("greater, Celsius")
        << "Temperature" << none << "30" << false << "31.5"
        << "Temperature 31.5\u00B0C is Greater Than Threshold of 30\u00B0C";
    QTest::newRow("visibility less")
        << "Visibility" << "3" << none << false << "2.5"
        << "Visibility 2.5SM is Less Than Threshold of 3SM";
    QTest::newRow("range, Celsius")
        << "Temperature" << "30" << "20" << false << "25.1"
        << "Temperature 25.1\u00B0C is in Threshold Range of 20 - 30\u00B0C";
    QTest::newRow("greater, Fahrenheit")
        << "Temperature" << none << "30" << true << "31.5"
        << "Temperature 88.7\u00B0F is Greater Than Threshold of 86.0\u00B0F";
    QTest::newRow("less, Fahrenheit")
        << "Temperature" << "30" << none << true << "25"
        << "Temperature 77.0\u00B0F is Less Than Threshold of 86.0\u00B0F";
    QTest::newRow("range, Fahrenheit")
        << "Dew Point" << "15" << "10" << true << "12.3"
        << "Dew Point 54.1\u00B0F is in Threshold Range of 50.0 - 59.0\u00B0F";
    QTest::newRow("negative wind chill")
        << "Wind Chill" << "0" << none << false << "-3.2"
        << "Wind Chill -3.2\u00B0C is Less Than Threshold of 0\u00B0C";
    QTest::newRow("only temperatures convert")
        << "Wind Speed" << none << "25" << true << "30"
        << "Wind Speed 30kt is Greater Than Threshold of 25kt";
    QTest::newRow("threshold shown as stored")
        << "Altimeter" << "29.900" << none << false << "29.85"
        << "Altimeter 29.85inHg is Less Than Threshold of 29.900inHg";

    // Strict comparisons: the boundary itself raises nothing.
    QTest::newRow("greater at threshold") << "Temperature" << none << "30" << false << "30" << "";
    QTest::newRow("greater just above")
        << "Temperature" << none << "30" << false << "30.1"
        << "Temperature 30.1\u00B0C is Greater Than Threshold of 30\u00B0C";
    QTest::newRow("greater below") << "Temperature" << none << "30" << false << "29.9" << "";
    QTest::newRow("less at threshold") << "Visibility" << "3" << none << false << "3" << "";
    QTest::newRow("less just below")
        << "Visibility" << "3" << none << false << "2.99"
        << "Visibility 2.99SM is Less Than Threshold of 3SM";
    QTest::newRow("less above") << "Visibility" << "3" << none << false << "10" << "";
    // At the boundary after conversion: 30 C is 86.0 F on both sides.
    QTest::newRow("Fahrenheit at threshold")
        << "Heat Index" << none << "30" << true << "30" << "";
    QTest::newRow("Fahrenheit just above")
        << "Heat Index" << none << "30" << true << "30.1"
        << "Heat Index 86.2\u00B0F is Greater Than Threshold of 86.0\u00B0F";
    // -17.8 C is -0.04 F: written as the dashboard writes it, not "-0.0".
    QTest::newRow("Fahrenheit just below zero")
        << "Temperature" << "0" << none << true << "-17.8"
        << "Temperature 0.0\u00B0F is Less Than Threshold of 32.0\u00B0F";

    // Ranges are open at both ends; an inverted range never raises.
    QTest::newRow("range inside")
        << "Relative Humidity" << "30" << "20" << false << "25"
        << "Relative Humidity 25% is in Threshold Range of 20 - 30%";
    QTest::newRow("range below") << "Relative Humidity" << "30" << "20" << false << "15" << "";
    QTest::newRow("range above") << "Relative Humidity" << "30" << "20" << false << "35" << "";
    QTest::newRow("range at lower") << "Relative Humidity" << "30" << "20" << false << "20" << "";
    QTest::newRow("range at upper") << "Relative Humidity" << "30" << "20" << false << "30" << "";
    QTest::newRow("inverted range, between")
        << "Wind Speed" << "10" << "30" << false << "20" << "";
    QTest::newRow("inverted range, low") << "Wind Speed" << "10" << "30" << false << "5" << "";
    QTest::newRow("inverted range, high") << "Wind Speed" << "10" << "30" << false << "35" << "";

    // No reading is not a reading of zero, in either display unit.
    QTest::newRow("empty") << "Temperature" << "5" << none << false << "" << "";
    QTest::newRow("blank") << "Temperature" << "5" << none << false << "  " << "";
    QTest::newRow("dash") << "Temperature" << "5" << none << false << "-" << "";
    QTest::newRow("dash, Fahrenheit") << "Temperature" << none << "-10" << true << "-" << "";
    QTest::newRow("text") << "Visibility" << "3" << none << false << "M" << "";
    QTest::newRow("dash in range") << "Wind Speed" << "10" << "-5" << false << "-" << "";
    QTest::newRow("zero is a reading")
        << "Wind Speed" << "1" << none << false << "0"
        << "Wind Speed 0kt is Less Than Threshold of 1kt";

    // A threshold that is not a number counts as 0 and is shown as typed.
    QTest::newRow("text threshold")
        << "Wind Speed" << none << "abc" << false << "5"
        << "Wind Speed 5kt is Greater Than Threshold of abckt";

    QTest::newRow("no thresholds") << "Temperature" << none << none << false << "50" << "";
    QTest::newRow("other parameter's thresholds")
        << "Gust Speed" << none << none << false << "50" << "";
}
// clang-format on

void TestAlertRules::comparison()
{
    QFETCH(QString, parameter);
    QFETCH(QString, less);
    QFETCH(QString, greater);
    QFETCH(bool, fahrenheit);
    QFETCH(QString, value);
    QFETCH(QString, expected);

    AlertThresholdMap thresholds = thresholdsFor(parameter, less, greater);
    // Thresholds of another parameter never leak into this one.
    thresholds.insert(QStringLiteral("Wind Direction_GREATERTHAN"), QStringLiteral("-1000"));
    const AlertEvaluation result =
        evaluateAlert(parameter, value, thresholds, AlertFlagMap(), fahrenheit);
    QCOMPARE(result.text, expected);
    QVERIFY(!result.playSound);
}

// clang-format off
void TestAlertRules::everyParameterBothDirections_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<QString>("lessText");
    QTest::addColumn<QString>("greaterText");

    // Less-than threshold 10 with value 9.5; greater-than threshold 10 with value 10.5.
    const QList<QPair<QString, QString>> plain = {
        {"Wind Speed", "kt"},          {"Gust Speed", "kt"},        {"Wind Direction", "\u00B0"},
        {"Visibility", "SM"},          {"Altimeter", "inHg"},       {"Relative Humidity", "%"},
        {"Station Pressure", "inHg"},  {"Sea Level Pressure", "inHg"},
        {"Pressure Altitude", "ft"},   {"Density Altitude", "ft"},  {"Cross Wind Speed", "kt"},
        {"3Hr Pressure Change", "hPa"}, {"Lightning", "NM"}};
    for (bool fahrenheit : {false, true}) {
        for (const auto& p : plain) {
            QTest::addRow("%s, %s", qPrintable(p.first), fahrenheit ? "F" : "C")
                << p.first << fahrenheit
                << p.first + " 9.5" + p.second + " is Less Than Threshold of 10" + p.second
                << p.first + " 10.5" + p.second + " is Greater Than Threshold of 10" + p.second;
        }
    }
    for (const QString& t : QStringList{"Temperature", "Wind Chill", "Dew Point", "Heat Index"}) {
        QTest::addRow("%s, C", qPrintable(t))
            << t << false << t + " 9.5\u00B0C is Less Than Threshold of 10\u00B0C"
            << t + " 10.5\u00B0C is Greater Than Threshold of 10\u00B0C";
        // 9.5 C = 49.1 F, 10 C = 50.0 F, 10.5 C = 50.9 F.
        QTest::addRow("%s, F", qPrintable(t))
            << t << true << t + " 49.1\u00B0F is Less Than Threshold of 50.0\u00B0F"
            << t + " 50.9\u00B0F is Greater Than Threshold of 50.0\u00B0F";
    }
}
// clang-format on

void TestAlertRules::everyParameterBothDirections()
{
    QFETCH(QString, parameter);
    QFETCH(bool, fahrenheit);
    QFETCH(QString, lessText);
    QFETCH(QString, greaterText);

    const AlertThresholdMap less = thresholdsFor(parameter, "10", none);
    QCOMPARE(evaluateAlert(parameter, "9.5", less, {}, fahrenheit).text, lessText);
    QCOMPARE(evaluateAlert(parameter, "10", less, {}, fahrenheit).text, QString());
    QCOMPARE(evaluateAlert(parameter, "10.5", less, {}, fahrenheit).text, QString());

    const AlertThresholdMap greater = thresholdsFor(parameter, none, "10");
    QCOMPARE(evaluateAlert(parameter, "10.5", greater, {}, fahrenheit).text, greaterText);
    QCOMPARE(evaluateAlert(parameter, "10", greater, {}, fahrenheit).text, QString());
    QCOMPARE(evaluateAlert(parameter, "9.5", greater, {}, fahrenheit).text, QString());
}

// clang-format off
void TestAlertRules::sound_data()
{
    QTest::addColumn<QString>("less");
    QTest::addColumn<QString>("greater");
    QTest::addColumn<bool>("lessAudio");
    QTest::addColumn<bool>("greaterAudio");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("raised");
    QTest::addColumn<bool>("sound");

    QTest::newRow("less, audio on") << "10" << none << true << false << "5" << true << true;
    QTest::newRow("less, audio off") << "10" << none << false << true << "5" << true << false;
    QTest::newRow("less, not crossed") << "10" << none << true << true << "15" << false << false;
    QTest::newRow("greater, audio on") << none << "10" << false << true << "15" << true << true;
    QTest::newRow("greater, audio off") << none << "10" << true << false << "15" << true << false;
    QTest::newRow("range, less audio") << "30" << "20" << true << false << "25" << true << true;
    QTest::newRow("range, greater audio") << "30" << "20" << false << true << "25" << true << true;
    QTest::newRow("range, no audio") << "30" << "20" << false << false << "25" << true << false;
    QTest::newRow("range, outside") << "30" << "20" << true << true << "35" << false << false;
    QTest::newRow("no reading") << "10" << none << true << true << "-" << false << false;
}
// clang-format on

void TestAlertRules::sound()
{
    QFETCH(QString, less);
    QFETCH(QString, greater);
    QFETCH(bool, lessAudio);
    QFETCH(bool, greaterAudio);
    QFETCH(QString, value);
    QFETCH(bool, raised);
    QFETCH(bool, sound);

    const AlertFlagMap audio = {{"Gust Speed_LESSTHAN", lessAudio},
                                {"Gust Speed_GREATERTHAN", greaterAudio}};
    const AlertEvaluation result = evaluateAlert(
        "Gust Speed", value, thresholdsFor("Gust Speed", less, greater), audio, false);
    QCOMPARE(!result.text.isEmpty(), raised);
    QCOMPARE(result.playSound, sound);
}

// clang-format off
void TestAlertRules::gate_data()
{
    QTest::addColumn<QDateTime>("lastRaised");
    QTest::addColumn<qint64>("secondsLater");
    QTest::addColumn<bool>("open");
    QTest::addColumn<qint64>("elapsed");

    const QDateTime raised(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC);
    QTest::newRow("never raised") << QDateTime() << qint64(0) << true << qint64(0);
    QTest::newRow("same second") << raised << qint64(0) << false << qint64(0);
    QTest::newRow("299 s") << raised << qint64(299) << false << qint64(299000);
    QTest::newRow("300 s") << raised << qint64(300) << false << qint64(300000);
    QTest::newRow("301 s") << raised << qint64(301) << true << qint64(301000);
    QTest::newRow("an hour") << raised << qint64(3600) << true << qint64(3600000);
}
// clang-format on

void TestAlertRules::gate()
{
    QFETCH(QDateTime, lastRaised);
    QFETCH(qint64, secondsLater);
    QFETCH(bool, open);
    QFETCH(qint64, elapsed);

    const QDateTime now =
        (lastRaised.isValid() ? lastRaised : QDateTime(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC))
            .addSecs(secondsLater);
    qint64 measured = -1;
    QCOMPARE(alertGateOpen(lastRaised, now, &measured), open);
    QCOMPARE(measured, elapsed);
}

void TestAlertRules::gateClockCutsToWholeSeconds()
{
    ScopedClock clock(QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0, 700), Qt::UTC));
    const QDateTime raised = alertGateNow();
    QCOMPARE(raised, QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC));
    QCOMPARE(raised.timeSpec(), Qt::UTC);

    // 300.9 s on the wall clock read as 300 whole seconds: still shut.
    clock.advanceMSecs(300200);
    qint64 elapsed = 0;
    QVERIFY(!alertGateOpen(raised, alertGateNow(), &elapsed));
    QCOMPARE(elapsed, qint64(300000));
    clock.advanceMSecs(100);
    QVERIFY(alertGateOpen(raised, alertGateNow(), &elapsed));
    QCOMPARE(elapsed, qint64(301000));
}

QTEST_GUILESS_MAIN(TestAlertRules)
#include "tst_alertrules.moc"
