// The settings file: the text a save writes, what each entry reads as, the file on disk (made
// from the default copy, kept as ".bad" when it does not parse, replaced whole or not at all),
// and the window reading it at start-up, saving it and the settings-page controls.

#include "tests/support/testsupport.h"

#include "alerts/alertstore.h"
#include "app/maingui.h"
#include "app/modalrunner.h"
#include "app/settingsfile.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace
{

// What a fresh window saves, and the copy built into the program: the form's transmit delay is
// 5:00.
const QByteArray kDefaultsText = R"({
    "ALERTS": [
    ],
    "DEVMODE": "FALSE",
    "KEYLOCATION": "",
    "LOGGING": "DEFAULT",
    "LOGLOCATION": "",
    "ORVA": "",
    "ORVAMETAR": "AUTOMATIC",
    "ORVAMETARTRANSMITDELAYMINS": 5,
    "ORVAMETARTRANSMITDELAYSECS": 0,
    "ORVAPOPUP": "TRUE",
    "PRECIPACCUM24HINTERVAL": "INTERVAL_PREV24H",
    "RUNWAYDIRECTION": 0,
    "RUNWAYSTATUS": "TRUE",
    "SPECIALERTS": "FALSE",
    "TEMPUNITS": "CELCIUS"
}

)";

// Every entry away from its default, as the window writes it.
const QByteArray kOperatorText = R"({
    "ALERTS": [
        {
            "audio": true,
            "parameter": "Temperature",
            "setting": "LESSTHAN",
            "unit": "IMPERIAL",
            "value": "-5"
        },
        {
            "audio": false,
            "parameter": "3Hr Pressure Change",
            "setting": "GREATERTHAN",
            "unit": "METRIC",
            "value": "2.5"
        }
    ],
    "DEVMODE": "TRUE",
    "KEYLOCATION": "/keys/Keyfile_abc.txt",
    "LOGGING": "DEBUG",
    "LOGLOCATION": "/var/log/vantora",
    "ORVA": "ORVA",
    "ORVAMETAR": "MANUAL",
    "ORVAMETARTRANSMITDELAYMINS": 2,
    "ORVAMETARTRANSMITDELAYSECS": 30,
    "ORVAPOPUP": "FALSE",
    "PRECIPACCUM24HINTERVAL": "INTERVAL_12Z",
    "RUNWAYDIRECTION": 275.5,
    "RUNWAYSTATUS": "TRUE",
    "SPECIALERTS": "TRUE",
    "TEMPUNITS": "FAHRENHEIT"
}

)";

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QJsonObject object(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

QStringList logLines(const QSignalSpy& spy)
{
    QStringList lines;
    for (const QList<QVariant>& call : spy)
        lines << QString::fromUtf8(call.at(0).toByteArray());
    return lines;
}

// Every field of a reading, by the entry it comes from, for table rows.
QVariant readField(const SettingsRead& read, const QString& field)
{
    if (field == QLatin1String("orvaType"))
        return read.orvaType;
    if (field == QLatin1String("legacyOrva"))
        return read.legacyOrva;
    if (field == QLatin1String("metarMode"))
        return int(read.metarMode);
    if (field == QLatin1String("hidePopups"))
        return read.hidePopups;
    if (field == QLatin1String("transmitDelay"))
        return read.transmitDelay.isValid() ? read.transmitDelay.toString("m:ss") : QString();
    if (field == QLatin1String("keyLocation"))
        return read.keyLocation;
    if (field == QLatin1String("fahrenheit"))
        return read.fahrenheit;
    if (field == QLatin1String("precipInterval"))
        return int(read.precipInterval);
    if (field == QLatin1String("logging"))
        return int(read.logging);
    if (field == QLatin1String("runwayHidden"))
        return read.runwayHidden;
    if (field == QLatin1String("runwayDirection"))
        return read.runwayDirection;
    if (field == QLatin1String("devMode"))
        return read.devMode;
    if (field == QLatin1String("logLocation"))
        return read.logLocation;
    if (field == QLatin1String("speciAlerts"))
        return read.speciAlerts;
    if (field == QLatin1String("alerts"))
        return read.alerts.size();
    return QVariant();
}

// Makes writes of more than a few bytes fail, for the life of the object, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // The text of the file
    void writesEveryEntryInKeyOrder();
    void builtInCopyIsTheDefaults();
    void readsEachEntry_data();
    void readsEachEntry();
    void everyEntryRoundTrips_data();
    void everyEntryRoundTrips();

    // The file on disk
    void missingFileIsMadeWritableFromTheBuiltInCopy();
    void workingFolderCopyComesFirst();
    void noCopyPossibleIsMissing();
    void unparsableFileIsKeptAsBad_data();
    void unparsableFileIsKeptAsBad();
    void saveReplacesTheWholeFile();
    void failedSaveLeavesThePreviousFile();
    void fileThatIsNotWritableIsLeftAlone();

    // The window
    void startUpAppliesEveryEntry();
    void saveWritesBackWhatWasRead();
    void freshWindowSavesTheDefaults();
    void missingFileIsReportedAndDefaultsStay();
    void unparsableFileIsReportedNotReplaced();
    void legacyMarkerSkipsTheReportEntries();
    void rereadingSendsAndLogs();
    void hiddenRunwayKeepsItsHeading();
    void storedAlertsSurviveUntilApplied();

    // Settings-page controls
    void loggingModeChoice_data();
    void loggingModeChoice();
    void logFolderChoice();
    void cancelledLogFolderChoiceKeepsTheFolder();

private:
    QString path;
    QString startFolder;
    std::unique_ptr<QTemporaryDir> workFolder;
};

void TestSettingsFile::initTestCase()
{
    initFormResources();
    registerSharedMetaTypes();
    path = settingsFilePath();
    startFolder = QDir::currentPath();
}

void TestSettingsFile::init()
{
    // A working folder without a copy of its own, so that the built-in copy is the default.
    workFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(workFolder->path()));
    QFileInfo info(path);
    if (info.isDir())
        QDir(path).removeRecursively();
    QFile::remove(path);
    QFile::remove(path + ".bad");
}

void TestSettingsFile::cleanup()
{
    setModalRunner({});
    QDir::setCurrent(startFolder);
    workFolder.reset();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void TestSettingsFile::writesEveryEntryInKeyOrder()
{
    SettingsValues values;
    values.orvaType = "ORVA";
    values.metarMode = ORVAMetarMode::Manual;
    values.showMetarPopups = false;
    values.transmitDelayMinutes = 2;
    values.transmitDelaySeconds = 30;
    values.keyLocation = "/keys/Keyfile_abc.txt";
    values.fahrenheit = true;
    values.precipInterval = PrecipAccum24hInterval::Since12Z;
    values.logging = LoggingType::Debug;
    values.runwayDirection = 275.5;
    values.devMode = true;
    values.logLocation = "/var/log/vantora";
    values.speciAlerts = true;
    values.alerts =
        alertDefsToJson({{"Temperature", "LESSTHAN", "-5", "IMPERIAL", true},
                         {"3Hr Pressure Change", "GREATERTHAN", "2.5", "METRIC", false}});
    QCOMPARE(settingsFileText(settingsObject(values)), kOperatorText);
}

void TestSettingsFile::builtInCopyIsTheDefaults()
{
    SettingsValues values;
    values.transmitDelayMinutes = 5;
    QCOMPARE(settingsFileText(settingsObject(values)), kDefaultsText);
    QCOMPARE(readAll(":/resources/options_json.json"), kDefaultsText);
}

void TestSettingsFile::readsEachEntry_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    const auto row = [](const char* name, const char* json, const char* field, QVariant value) {
        QTest::newRow(name) << QByteArray(json) << QString(field) << value;
    };
    row("ORVA legacy marker", R"({"ORVA": "ORVAV1"})", "legacyOrva", true);
    row("ORVA marker in lower case", R"({"ORVA": "orvav1"})", "legacyOrva", false);
    row("ORVA other text kept", R"({"ORVA": "orvav1"})", "orvaType", "orvav1");
    row("ORVA missing", "{}", "orvaType", "");
    row("mode semi-automatic", R"({"ORVAMETAR": "SEMIAUTOMATIC"})", "metarMode", 2);
    row("mode manual", R"({"ORVAMETAR": "MANUAL"})", "metarMode", 1);
    row("mode lower case", R"({"ORVAMETAR": "manual"})", "metarMode", 0);
    row("mode missing", "{}", "metarMode", 0);
    row("pop-ups FALSE hides", R"({"ORVAPOPUP": "FALSE"})", "hidePopups", true);
    row("pop-ups as JSON false", R"({"ORVAPOPUP": false})", "hidePopups", false);
    row("delay both", R"({"ORVAMETARTRANSMITDELAYMINS": 2, "ORVAMETARTRANSMITDELAYSECS": 30})",
        "transmitDelay", "2:30");
    row("delay not whole",
        R"({"ORVAMETARTRANSMITDELAYMINS": 1.5, "ORVAMETARTRANSMITDELAYSECS": 9})", "transmitDelay",
        "0:09");
    row("delay as text", R"({"ORVAMETARTRANSMITDELAYMINS": "3", "ORVAMETARTRANSMITDELAYSECS": 0})",
        "transmitDelay", "0:00");
    row("delay minutes only", R"({"ORVAMETARTRANSMITDELAYMINS": 3})", "transmitDelay", "");
    row("delay out of range",
        R"({"ORVAMETARTRANSMITDELAYMINS": 75, "ORVAMETARTRANSMITDELAYSECS": 0})", "transmitDelay",
        "");
    row("delay negative", R"({"ORVAMETARTRANSMITDELAYMINS": 1, "ORVAMETARTRANSMITDELAYSECS": -4})",
        "transmitDelay", "");
    row("key location", R"({"KEYLOCATION": "/k/Keyfile_x.txt"})", "keyLocation",
        "/k/Keyfile_x.txt");
    row("FAHRENHEIT", R"({"TEMPUNITS": "FAHRENHEIT"})", "fahrenheit", true);
    row("fahrenheit lower case", R"({"TEMPUNITS": "fahrenheit"})", "fahrenheit", false);
    row("CELSIUS with an S", R"({"TEMPUNITS": "CELSIUS"})", "fahrenheit", false);
    row("previous 24 hours", R"({"PRECIPACCUM24HINTERVAL": "INTERVAL_PREV24H"})", "precipInterval",
        1);
    row("12Z", R"({"PRECIPACCUM24HINTERVAL": "INTERVAL_12Z"})", "precipInterval", 0);
    row("interval missing is 12Z", "{}", "precipInterval", 0);
    row("logging DATA", R"({"LOGGING": "DATA"})", "logging", 1);
    row("logging DEBUG", R"({"LOGGING": "DEBUG"})", "logging", 2);
    row("logging other", R"({"LOGGING": "VERBOSE"})", "logging", 0);
    row("runway FALSE hides", R"({"RUNWAYSTATUS": "FALSE"})", "runwayHidden", true);
    row("runway missing shows", "{}", "runwayHidden", false);
    row("runway heading", R"({"RUNWAYDIRECTION": 275})", "runwayDirection", 275.0);
    row("runway heading as text", R"({"RUNWAYDIRECTION": "275"})", "runwayDirection", 0.0);
    row("developer line", R"({"DEVMODE": "TRUE"})", "devMode", true);
    row("developer line lower case", R"({"DEVMODE": "true"})", "devMode", false);
    row("log location", R"({"LOGLOCATION": "/logs"})", "logLocation", "/logs");
    row("report alerts", R"({"SPECIALERTS": "TRUE"})", "speciAlerts", true);
    row("alerts", R"({"ALERTS": [{"parameter": "Lightning"}, {}]})", "alerts", 2);
    row("alerts not an array", R"({"ALERTS": {"parameter": "Lightning"}})", "alerts", 0);
}

void TestSettingsFile::readsEachEntry()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    QCOMPARE(readField(readSettings(object(json)), field), expected);
}

void TestSettingsFile::everyEntryRoundTrips_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("defaults") << kDefaultsText;
    QTest::newRow("operator's choices") << kOperatorText;
    QTest::newRow("semi-automatic, runway hidden") << QByteArray(R"({
    "ALERTS": [
    ],
    "DEVMODE": "FALSE",
    "KEYLOCATION": "",
    "LOGGING": "DATA",
    "LOGLOCATION": "",
    "ORVA": "ORVAV1",
    "ORVAMETAR": "SEMIAUTOMATIC",
    "ORVAMETARTRANSMITDELAYMINS": 0,
    "ORVAMETARTRANSMITDELAYSECS": 45,
    "ORVAPOPUP": "TRUE",
    "PRECIPACCUM24HINTERVAL": "INTERVAL_PREV24H",
    "RUNWAYDIRECTION": 90,
    "RUNWAYSTATUS": "FALSE",
    "SPECIALERTS": "FALSE",
    "TEMPUNITS": "CELCIUS"
}

)");
}

void TestSettingsFile::everyEntryRoundTrips()
{
    QFETCH(QByteArray, text);
    const SettingsRead read = readSettings(object(text));
    SettingsValues values;
    values.orvaType = read.orvaType;
    values.metarMode = read.metarMode;
    values.showMetarPopups = !read.hidePopups;
    values.transmitDelayMinutes = read.transmitDelay.minute();
    values.transmitDelaySeconds = read.transmitDelay.second();
    values.keyLocation = read.keyLocation;
    values.fahrenheit = read.fahrenheit;
    values.precipInterval = read.precipInterval;
    values.logging = read.logging;
    values.runwayHidden = read.runwayHidden;
    values.runwayDirection = read.runwayDirection;
    values.devMode = read.devMode;
    values.logLocation = read.logLocation;
    values.speciAlerts = read.speciAlerts;
    values.alerts = read.alerts;
    QCOMPARE(settingsFileText(settingsObject(values)), text);
}

void TestSettingsFile::missingFileIsMadeWritableFromTheBuiltInCopy()
{
    QDir(QFileInfo(path).absolutePath()).removeRecursively();
    QCOMPARE(defaultSettingsSource(), QStringLiteral(":/resources/options_json.json"));

    const SettingsFileLoad load = loadSettingsFile(path, defaultSettingsSource());
    QCOMPARE(load.state, SettingsFileLoad::Read);
    QCOMPARE(readAll(path), kDefaultsText);
    QCOMPARE(load.settings, object(kDefaultsText));
    // Copies of built-in files come out read-only; saves would be refused.
    QVERIFY(QFile::permissions(path) & QFileDevice::WriteOwner);
    QVERIFY(saveSettingsFile(path, object(kOperatorText)).isEmpty());
    QCOMPARE(readAll(path), kOperatorText);
}

void TestSettingsFile::workingFolderCopyComesFirst()
{
    QVERIFY(writeAll("options_json.json", kOperatorText));
    QCOMPARE(defaultSettingsSource(), QStringLiteral("options_json.json"));

    const SettingsFileLoad load = loadSettingsFile(path, defaultSettingsSource());
    QCOMPARE(load.state, SettingsFileLoad::Read);
    QCOMPARE(load.settings, object(kOperatorText));

    // Later saves go to the application data folder only.
    QVERIFY(saveSettingsFile(path, object(kDefaultsText)).isEmpty());
    QCOMPARE(readAll(path), kDefaultsText);
    QCOMPARE(readAll("options_json.json"), kOperatorText);
}

void TestSettingsFile::noCopyPossibleIsMissing()
{
    // A folder in the file's place: nothing can be copied there.
    QVERIFY(QDir().mkpath(path));
    const SettingsFileLoad load = loadSettingsFile(path, defaultSettingsSource());
    QCOMPARE(load.state, SettingsFileLoad::Missing);
    QVERIFY(load.settings.isEmpty());
}

void TestSettingsFile::unparsableFileIsKeptAsBad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << kOperatorText.left(200);
    QTest::newRow("not JSON") << QByteArray("TEMPUNITS=FAHRENHEIT\n");
    QTest::newRow("an array") << QByteArray("[\"TEMPUNITS\", \"FAHRENHEIT\"]\n");
}

void TestSettingsFile::unparsableFileIsKeptAsBad()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(writeAll(path + ".bad", "an older bad copy"));
    QVERIFY(writeAll(path, bytes));

    const SettingsFileLoad load = loadSettingsFile(path, defaultSettingsSource());
    QCOMPARE(load.state, SettingsFileLoad::Unparsable);
    QVERIFY(load.settings.isEmpty());
    QCOMPARE(load.keptCopy, path + ".bad");
    QCOMPARE(readAll(path + ".bad"), bytes);
    QCOMPARE(readAll(path), bytes);
}

void TestSettingsFile::saveReplacesTheWholeFile()
{
    QVERIFY(writeAll(path, kOperatorText + kOperatorText));
    QVERIFY(saveSettingsFile(path, object(kDefaultsText)).isEmpty());
    QCOMPARE(readAll(path), kDefaultsText);
    const QStringList left = QFileInfo(path).dir().entryList(QDir::Files);
    QCOMPARE(left, QStringList{"options_json.json"});
}

void TestSettingsFile::failedSaveLeavesThePreviousFile()
{
    QVERIFY(writeAll(path, kOperatorText));
    QString failure;
    {
        const FileSizeLimit limit(64);
        failure = saveSettingsFile(path, object(kDefaultsText));
    }
    QVERIFY2(failure.startsWith("Failed to flush file '" + path + "': "), qPrintable(failure));
    QCOMPARE(readAll(path), kOperatorText);
    QCOMPARE(QFileInfo(path).dir().entryList(QDir::Files), QStringList{"options_json.json"});
}

void TestSettingsFile::fileThatIsNotWritableIsLeftAlone()
{
    QVERIFY(writeAll(path, kOperatorText));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    if (QFileInfo(path).isWritable())
        QSKIP("this user may write any file");
    QCOMPARE(saveSettingsFile(path, object(kDefaultsText)),
             QStringLiteral("ERROR: File '%1' is not writable.").arg(path));
    QCOMPARE(readAll(path), kOperatorText);
}

void TestSettingsFile::startUpAppliesEveryEntry()
{
    QVERIFY(writeAll(path, kOperatorText));
    MainGUI window;
    Ui_MainGUI& f = *window.ui;

    QCOMPARE(window.orvaType, QStringLiteral("ORVA"));
    QVERIFY(!window.legacyOrva);
    QVERIFY(f.radioButtonORVAMETAR_Manual->isChecked());
    QCOMPARE(window.metarForm->mode(), ORVAMetarMode::Manual);
    QVERIFY(f.checkBox_hideMETARModePopUp->isChecked());
    QVERIFY(!window.showMetarPopups);
    QCOMPARE(f.timeEdit_ORVA_METAR_transmit_delay->time(), QTime(0, 2, 30));
    QCOMPARE(f.lineEdit_encryptionPasskey->text(), QStringLiteral("/keys/Keyfile_abc.txt"));
    QCOMPARE(window.temperatureUnits, TemperatureUnits::Fahrenheit);
    QCOMPARE(window.temperatureUnitText, QStringLiteral("\u00B0F"));
    QCOMPARE(window.precipAccum24hInterval, PrecipAccum24hInterval::Since12Z);
    QCOMPARE(f.comboBox_Logging->currentText(), QStringLiteral("Debug"));
    QCOMPARE(window.loggingType, LoggingType::Debug);
    QVERIFY(!window.runwayHidden);
    QCOMPARE(window.runwayDirection, 275.5);
    QCOMPARE(f.lineEdit_RunwayDirection->text(), QStringLiteral("275.5"));
    QCOMPARE(f.pushButton_HideRunway->text(), QStringLiteral("Hide"));
    QVERIFY(window.devMode);
    QVERIFY(f.label_devcmds->isVisibleTo(f.label_devcmds->parentWidget()));
    QVERIFY(f.lineEdit_devcmds->isVisibleTo(f.lineEdit_devcmds->parentWidget()));
    QCOMPARE(f.lineEditLogFileLocation->text(), QStringLiteral("/var/log/vantora"));
    QVERIFY(window.speciAlerts);
    QVERIFY(f.checkBox_SPECI_alerts->isChecked());
    QCOMPARE(window.storedAlerts, object(kOperatorText).value("ALERTS").toArray());
    QVERIFY(window.ui->textEdit_ErrorMsgs->toPlainText().isEmpty());
}

void TestSettingsFile::saveWritesBackWhatWasRead()
{
    QVERIFY(writeAll(path, kOperatorText));
    MainGUI window;
    QVERIFY(writeAll(path, "overwritten by the save"));
    window.saveSettings();
    QCOMPARE(readAll(path), kOperatorText);
}

void TestSettingsFile::freshWindowSavesTheDefaults()
{
    // No file in the data folder: the built-in copy is put there and read.
    {
        MainGUI window;
        QCOMPARE(readAll(path), kDefaultsText);
        QVERIFY(window.ui->textEdit_ErrorMsgs->toPlainText().isEmpty());
        QVERIFY(QFile::remove(path));
    }
    // The window's exit writes the file again.
    QCOMPARE(readAll(path), kDefaultsText);
}

void TestSettingsFile::missingFileIsReportedAndDefaultsStay()
{
    QVERIFY(QDir().mkpath(path));
    MainGUI window;
    QVERIFY(window.ui->textEdit_ErrorMsgs->toPlainText().contains(
        "Unable to locate Saved Settings JSON File. No user settings can be loaded."));
    QVERIFY(window.orvaType.isEmpty());
    QCOMPARE(window.precipAccum24hInterval, PrecipAccum24hInterval::Previous24Hours);
    QCOMPARE(window.metarForm->mode(), ORVAMetarMode::Automatic);
    QCOMPARE(window.ui->timeEdit_ORVA_METAR_transmit_delay->time(), QTime(0, 5, 0));
    QVERIFY(window.showMetarPopups);

    QSignalSpy log(&window, &MainGUI::logDataMainMsg);
    window.readOptions();
    QCOMPARE(logLines(log), QStringList{"ERROR: Unable to locate Saved Settings File"});
    QDir(path).removeRecursively();
}

void TestSettingsFile::unparsableFileIsReportedNotReplaced()
{
    const QByteArray broken = kOperatorText.left(300);
    QVERIFY(writeAll(path, broken));
    {
        MainGUI window;
        const QString errors = window.ui->textEdit_ErrorMsgs->toPlainText();
        QVERIFY2(errors.contains("Unable to read Saved Settings JSON File, kept as " + path +
                                 ".bad. Default settings are in use."),
                 qPrintable(errors));
        // Read as an empty object: every entry takes what the reader falls back to.
        QVERIFY(window.ui->radioButtonORVAMETAR_Auto->isChecked());
        QVERIFY(!window.ui->checkBox_hideMETARModePopUp->isChecked());
        QCOMPARE(window.precipAccum24hInterval, PrecipAccum24hInterval::Since12Z);
        QVERIFY(!window.runwayHidden);
        QVERIFY(
            !window.ui->lineEdit_devcmds->isVisibleTo(window.ui->lineEdit_devcmds->parentWidget()));
    }
    QCOMPARE(readAll(path + ".bad"), broken);
    QVERIFY(!object(readAll(path)).isEmpty());
}

void TestSettingsFile::legacyMarkerSkipsTheReportEntries()
{
    QVERIFY(writeAll(path, R"({"ORVA": "ORVAV1", "ORVAMETAR": "MANUAL", "ORVAPOPUP": "FALSE",
                              "ORVAMETARTRANSMITDELAYMINS": 1, "ORVAMETARTRANSMITDELAYSECS": 15,
                              "SPECIALERTS": "TRUE"})"));
    MainGUI window;
    Ui_MainGUI& f = *window.ui;
    QVERIFY(window.legacyOrva);
    QCOMPARE(window.orvaType, QStringLiteral("ORVAV1"));
    QVERIFY(!f.radioButtonORVAMETAR_Manual->isChecked());
    QCOMPARE(window.metarForm->mode(), ORVAMetarMode::Automatic);
    QVERIFY(!f.checkBox_hideMETARModePopUp->isChecked());
    QCOMPARE(f.timeEdit_ORVA_METAR_transmit_delay->time(), QTime(0, 5, 0));
    // The keys after the report entries are read as usual.
    QVERIFY(window.speciAlerts);

    QSignalSpy legacy(&window, &MainGUI::setORVAType);
    QSignalSpy log(&window, &MainGUI::logDataMainMsg);
    window.readOptions();
    QCOMPARE(legacy.count(), 1);
    QCOMPARE(legacy.at(0).at(0).toBool(), true);
    QCOMPARE(logLines(log).value(0),
             QStringLiteral("INFO: LEGACY ORVA Flag found in Settings File"));
}

void TestSettingsFile::rereadingSendsAndLogs()
{
    // On a fresh form the logging combo stays at Default, so nothing is logged for it.
    MainGUI window;
    QVERIFY(writeAll(path, R"({"LOGGING": "DATA", "LOGLOCATION": "/logs/here",
                              "PRECIPACCUM24HINTERVAL": "INTERVAL_PREV24H",
                              "RUNWAYDIRECTION": 275})"));
    QSignalSpy log(&window, &MainGUI::logDataMainMsg);
    QSignalSpy logging(&window, &MainGUI::setLoggingState);
    QSignalSpy folder(&window, &MainGUI::setLogLocation);
    QSignalSpy interval(&window, &MainGUI::setPrecipAccum24Int);
    QSignalSpy legacy(&window, &MainGUI::setORVAType);
    window.readOptions();

    QCOMPARE(logLines(log), (QStringList{"INFO: Changed Logging Mode to Data ",
                                         "INFO: Setting Runway Direction to 275",
                                         "INFO: Changing log file location to /logs/here"}));
    QCOMPARE(logging.count(), 1);
    QCOMPARE(logging.at(0).at(0).value<LoggingType>(), LoggingType::Data);
    QCOMPARE(folder.count(), 1);
    QCOMPARE(folder.at(0).at(0).toString(), QStringLiteral("/logs/here"));
    QCOMPARE(interval.count(), 1);
    QCOMPARE(interval.at(0).at(0).value<PrecipAccum24hInterval>(),
             PrecipAccum24hInterval::Previous24Hours);
    QCOMPARE(legacy.count(), 0);
    QCOMPARE(window.ui->lineEdit_RunwayDirection->text(), QStringLiteral("275"));
}

void TestSettingsFile::hiddenRunwayKeepsItsHeading()
{
    QVERIFY(writeAll(path, R"({"RUNWAYSTATUS": "FALSE", "RUNWAYDIRECTION": 90})"));
    MainGUI window;
    QCOMPARE(window.ui->pushButton_HideRunway->text(), QStringLiteral("Show"));
    QVERIFY(window.runwayHidden);
    QVERIFY(window.windScene.items().isEmpty());
    QCOMPARE(window.runwayDirection, 90.0);
    QCOMPARE(window.ui->lineEdit_RunwayDirection->text(), QStringLiteral("90"));

    // The link computes crosswinds against the same heading whether the runway is drawn or not.
    QSignalSpy heading(&window, &MainGUI::updateRunwayDirection);
    window.readOptions();
    QCOMPARE(heading.count(), 1);
    QCOMPARE(heading.at(0).at(0).toDouble(), 90.0);

    window.saveSettings();
    const QJsonObject saved = object(readAll(path));
    QCOMPARE(saved.value("RUNWAYSTATUS").toString(), QStringLiteral("FALSE"));
    QCOMPARE(saved.value("RUNWAYDIRECTION").toDouble(), 90.0);
}

void TestSettingsFile::storedAlertsSurviveUntilApplied()
{
    QVERIFY(writeAll(path, kOperatorText));
    MainGUI window;
    QVERIFY(window.alertDefs.isEmpty());
    // An autosave before any device start-up.
    window.saveSettings();
    QCOMPARE(object(readAll(path)).value("ALERTS"), object(kOperatorText).value("ALERTS"));
}

void TestSettingsFile::loggingModeChoice_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<LoggingType>("mode");
    QTest::addColumn<QString>("line");
    QTest::newRow("Data") << 1 << LoggingType::Data << "INFO: Changed Logging Mode to Data ";
    QTest::newRow("Debug") << 2 << LoggingType::Debug << "INFO: Changed Logging Mode to Debug ";
    QTest::newRow("Default") << 0 << LoggingType::Default
                             << "INFO: Changed Logging Mode to Default ";
    QTest::newRow("no item") << -1 << LoggingType::Default << QString();
}

void TestSettingsFile::loggingModeChoice()
{
    QFETCH(int, index);
    QFETCH(LoggingType, mode);
    QFETCH(QString, line);
    MainGUI window;
    window.loggingType = LoggingType::Debug;
    QSignalSpy log(&window, &MainGUI::logDataMainMsg);
    QSignalSpy logging(&window, &MainGUI::setLoggingState);
    window.on_comboBox_Logging_currentIndexChanged(index);
    QCOMPARE(window.loggingType, mode);
    QCOMPARE(logging.count(), 1);
    QCOMPARE(logging.at(0).at(0).value<LoggingType>(), mode);
    QCOMPARE(logLines(log), line.isEmpty() ? QStringList() : QStringList{line});
}

void TestSettingsFile::logFolderChoice()
{
    MainGUI window;
    const QString chosen = workFolder->path();
    QString title;
    QFileDialog::Options options;
    setModalRunner([&](QDialog& dialog) {
        auto& chooser = static_cast<QFileDialog&>(dialog);
        title = chooser.windowTitle();
        options = chooser.options();
        chooser.selectFile(chosen);
        return int(QDialog::Accepted);
    });
    QSignalSpy log(&window, &MainGUI::logDataMainMsg);
    QSignalSpy folder(&window, &MainGUI::setLogLocation);
    window.ui->pushButtonLogFileLocationOpen->click();

    QCOMPARE(title, QStringLiteral("Open Directory"));
    QVERIFY(options.testFlag(QFileDialog::ShowDirsOnly));
    QVERIFY(options.testFlag(QFileDialog::DontResolveSymlinks));
    QCOMPARE(window.ui->lineEditLogFileLocation->text(), chosen);
    QCOMPARE(logLines(log), QStringList{"INFO: Changing log file location to " + chosen});
    QCOMPARE(folder.count(), 1);
    QCOMPARE(folder.at(0).at(0).toString(), chosen);
}

void TestSettingsFile::cancelledLogFolderChoiceKeepsTheFolder()
{
    MainGUI window;
    window.ui->lineEditLogFileLocation->setText("/logs/kept");
    setModalRunner([](QDialog&) { return int(QDialog::Rejected); });
    QSignalSpy folder(&window, &MainGUI::setLogLocation);
    window.ui->pushButtonLogFileLocationOpen->click();
    QCOMPARE(window.ui->lineEditLogFileLocation->text(), QStringLiteral("/logs/kept"));
    QCOMPARE(folder.count(), 0);
}

QTEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
