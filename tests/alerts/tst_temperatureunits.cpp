#include "alerts/temperatureunitstate.h"

#include "tests/support/testsupport.h"

#include <QtTest>

class TestTemperatureUnits : public QObject
{
    Q_OBJECT

private slots:
    void toCelsius_data();
    void toCelsius();
    void toFahrenheit_data();
    void toFahrenheit();
    void settingsEntry_data();
    void settingsEntry();
    void unitTexts();
};

// clang-format off
void TestTemperatureUnits::toCelsius_data()
{
    QTest::addColumn<QString>("fahrenheit");
    QTest::addColumn<QString>("celsius");
    QTest::newRow("70.5") << "70.5" << "21.4";
    QTest::newRow("32") << "32" << "0.0";
    QTest::newRow("86") << "86" << "30.0";
    QTest::newRow("-40") << "-40" << "-40.0";
    QTest::newRow("212") << "212" << "100.0";
    QTest::newRow("not a number") << "abc" << "-17.8";
    QTest::newRow("empty") << "" << "-17.8";
    QTest::newRow("just below 32 is not -0.0") << "31.95" << "0.0";
}
// clang-format on

void TestTemperatureUnits::toCelsius()
{
    QFETCH(QString, fahrenheit);
    QFETCH(QString, celsius);
    QCOMPARE(fahrenheitToCelsiusText(fahrenheit), celsius);
}

// clang-format off
void TestTemperatureUnits::toFahrenheit_data()
{
    QTest::addColumn<QString>("celsius");
    QTest::addColumn<QString>("fahrenheit");
    QTest::newRow("31.5") << "31.5" << "88.7";
    QTest::newRow("30") << "30" << "86.0";
    QTest::newRow("25.3") << "25.3" << "77.5";
    QTest::newRow("-3.2") << "-3.2" << "26.2";
    QTest::newRow("-40") << "-40" << "-40.0";
    QTest::newRow("not a number") << "-" << "32.0";
    QTest::newRow("empty") << "" << "32.0";
    QTest::newRow("nan") << "nan" << "32.0";
    QTest::newRow("just below zero is not -0.0") << "-17.8" << "0.0";
}
// clang-format on

void TestTemperatureUnits::toFahrenheit()
{
    QFETCH(QString, celsius);
    QFETCH(QString, fahrenheit);
    QCOMPARE(celsiusToFahrenheitText(celsius), fahrenheit);
}

// clang-format off
void TestTemperatureUnits::settingsEntry_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fahrenheit");
    QTest::newRow("FAHRENHEIT") << "FAHRENHEIT" << true;
    QTest::newRow("CELCIUS") << "CELCIUS" << false;
    QTest::newRow("CELSIUS") << "CELSIUS" << false;
    QTest::newRow("lower case") << "fahrenheit" << false;
    QTest::newRow("missing") << "" << false;
}
// clang-format on

void TestTemperatureUnits::settingsEntry()
{
    QFETCH(QString, value);
    QFETCH(bool, fahrenheit);
    QCOMPARE(fahrenheitFromSetting(value), fahrenheit);
    QCOMPARE(kTemperatureUnitsSettingsKey, QString("TEMPUNITS"));
}

void TestTemperatureUnits::unitTexts()
{
    QCOMPARE(temperatureUnitsSetting(true), QString("FAHRENHEIT"));
    QCOMPARE(temperatureUnitsSetting(false), QString("CELCIUS"));
    QCOMPARE(temperatureUnitText(false), QString::fromUtf8("\xC2\xB0"
                                                           "C"));
    QCOMPARE(temperatureUnitText(true), QString::fromUtf8("\xC2\xB0"
                                                          "F"));
}

QTEST_GUILESS_MAIN(TestTemperatureUnits)
#include "tst_temperatureunits.moc"
