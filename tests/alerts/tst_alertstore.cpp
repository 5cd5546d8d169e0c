#include "alerts/alertstore.h"

#include "tests/support/testsupport.h"

#include <QJsonDocument>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(AlertDef)

class TestAlertStore : public QObject
{
    Q_OBJECT

private slots:
    void storeKey();
    void objectForm();
    void roundTripThroughSettingsFile();
    void readingFaultyEntries_data();
    void readingFaultyEntries();
    void missingOrWrongAlertsEntry_data();
    void missingOrWrongAlertsEntry();
};

void TestAlertStore::storeKey()
{
    QCOMPARE(alertStoreKey("Temperature", kAlertLessThan), QString("Temperature_LESSTHAN"));
    QCOMPARE(alertStoreKey("Gust Speed", kAlertGreaterThan), QString("Gust Speed_GREATERTHAN"));
    QCOMPARE(alertStoreKey("3Hr Pressure Change", "LESSTHAN"),
             QString("3Hr Pressure Change_LESSTHAN"));
}

void TestAlertStore::objectForm()
{
    const AlertDef def{"Temperature", "GREATERTHAN", "30", "METRIC", true};
    const QByteArray json = QJsonDocument(alertDefToJson(def)).toJson(QJsonDocument::Compact);
    QCOMPARE(json, QByteArray("{\"audio\":true,\"parameter\":\"Temperature\","
                              "\"setting\":\"GREATERTHAN\",\"unit\":\"METRIC\",\"value\":\"30\"}"));
}

void TestAlertStore::roundTripThroughSettingsFile()
{
    // Saving order is kept, a pair saved twice stands twice, texts stay as typed.
    const QList<AlertDef> defs = {
        {"Temperature", "GREATERTHAN", "20", "METRIC", true},
        {"Temperature", "LESSTHAN", "30", "METRIC", true},
        {"Gust Speed", "LESSTHAN", "5", "IMPERIAL", false},
        {"Dew Point", "LESSTHAN", "-1.7", "IMPERIAL", false},
        {"Gust Speed", "LESSTHAN", "7", "IMPERIAL", true},
        {"Visibility", "GREATERTHAN", " 1 1/2 ", "METRIC", false},
        {"Unknown \u00B0", "SIDEWAYS", "", "", false},
    };

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("options_json.json");
    QJsonObject settings;
    settings.insert("TEMPUNITS", "FAHRENHEIT");
    writeAlertsSetting(settings, defs);
    {
        QSaveFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(settings).toJson());
        QVERIFY(file.commit());
    }

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject read = QJsonDocument::fromJson(file.readAll()).object();
    QCOMPARE(read.value("TEMPUNITS").toString(), QString("FAHRENHEIT"));
    const QJsonArray alerts = readAlertsSetting(read);
    QCOMPARE(alerts.size(), defs.size());
    for (const QJsonValue& value : alerts) {
        const QJsonObject object = value.toObject();
        QCOMPARE(object.keys(), QStringList({"audio", "parameter", "setting", "unit", "value"}));
        QVERIFY(object.value("audio").isBool());
        QVERIFY(object.value("value").isString());
    }
    QCOMPARE(alertDefsFromJson(alerts), defs);
}

// clang-format off
void TestAlertStore::readingFaultyEntries_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<AlertDef>("expected");

    QTest::newRow("complete") << QByteArray(R"({"parameter":"Lightning","setting":"LESSTHAN",
        "value":"10","unit":"METRIC","audio":true})")
                              << AlertDef{"Lightning", "LESSTHAN", "10", "METRIC", true};
    QTest::newRow("audio missing") << QByteArray(R"({"parameter":"Lightning","setting":"LESSTHAN",
        "value":"10","unit":"METRIC"})")
                                   << AlertDef{"Lightning", "LESSTHAN", "10", "METRIC", false};
    QTest::newRow("audio as text") << QByteArray(R"({"parameter":"Altimeter","audio":"true"})")
                                   << AlertDef{"Altimeter", "", "", "", false};
    QTest::newRow("number value")
        << QByteArray(R"({"parameter":"Wind Speed","setting":"GREATERTHAN","value":25})")
        << AlertDef{"Wind Speed", "GREATERTHAN", "", "", false};
    QTest::newRow("not an object") << QByteArray(R"("Temperature")") << AlertDef{};
    QTest::newRow("empty object") << QByteArray("{}") << AlertDef{};
}
// clang-format on

void TestAlertStore::readingFaultyEntries()
{
    QFETCH(QByteArray, json);
    QFETCH(AlertDef, expected);
    const QJsonDocument document = QJsonDocument::fromJson("[" + json + "]");
    QVERIFY(document.isArray());
    const QList<AlertDef> defs = alertDefsFromJson(document.array());
    QCOMPARE(defs.size(), 1);
    QCOMPARE(defs.first(), expected);
}

// clang-format off
void TestAlertStore::missingOrWrongAlertsEntry_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("missing") << QByteArray(R"({"TEMPUNITS":"CELCIUS"})");
    QTest::newRow("object") << QByteArray(R"({"ALERTS":{"parameter":"Temperature"}})");
    QTest::newRow("text") << QByteArray(R"({"ALERTS":"none"})");
    QTest::newRow("null") << QByteArray(R"({"ALERTS":null})");
    QTest::newRow("empty array") << QByteArray(R"({"ALERTS":[]})");
}
// clang-format on

void TestAlertStore::missingOrWrongAlertsEntry()
{
    QFETCH(QByteArray, settings);
    const QJsonObject object = QJsonDocument::fromJson(settings).object();
    QVERIFY(readAlertsSetting(object).isEmpty());
    QVERIFY(alertDefsFromJson(readAlertsSetting(object)).isEmpty());
}

QTEST_GUILESS_MAIN(TestAlertStore)
#include "tst_alertstore.moc"
