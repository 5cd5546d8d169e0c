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
#include "tests/app/apptest.h"

#include <QDir>
#include <QFileDialog>
#include <QJsonDocument>
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

// Every field of a reading, by name, for table rows.
QVariantMap fields(const SettingsRead& r)
{
    const QString delay = r.transmitDelay.isValid() ? r.transmitDelay.toString("m:ss") : "";
    return {{"orvaType", r.orvaType},
            {"legacyOrva", r.legacyOrva},
            {"metarMode", int(r.metarMode)},
            {"hidePopups", r.hidePopups},
            {"transmitDelay", delay},
            {"keyLocation", r.keyLocation},
            {"fahrenheit", r.fahrenheit},
            {"precipInterval", int(r.precipInterval)},
            {"logging", int(r.logging)},
            {"runwayHidden", r.runwayHidden},
            {"runwayDirection", r.runwayDirection},
            {"devMode", r.devMode},
            {"logLocation", r.logLocation},
            {"speciAlerts", r.speciAlerts},
            {"alerts", r.alerts.size()}};
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

    QString path;
    QString startFolder;
    std::unique_ptr<QTemporaryDir> workFolder;

    // Only the settings file itself is left in its folder: no temporary copy stays behind.
    void checkNoStrayFiles()
    {
        QCOMPARE(QFileInfo(path).dir().entryList(QDir::Files), QStringList{"options_json.json"});
    }

private slots:
    void initTestCase()
    {
        initFormResources();
        registerSharedMetaTypes();
        path = settingsFilePath();
        startFolder = QDir::currentPath();
    }

    void init()
    {
        // A working folder without a copy of its own, so that the built-in copy is the default.
        workFolder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(workFolder->path()));
        if (QFileInfo(path).isDir())
            QDir(path).removeRecursively();
        QFile::remove(path);
        QFile::remove(path + ".bad");
    }

    void cleanup()
    {
        setModalRunner({});
        QDir::setCurrent(startFolder);
        workFolder.reset();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    // The text of the file

    void builtInCopyIsTheDefaults()
    {
        SettingsValues values;
        values.transmitDelayMinutes = 5;
        QCOMPARE(settingsFileText(settingsObject(values)), kDefaultsText);
        QCOMPARE(fileBytes(":/resources/options_json.json"), kDefaultsText);
    }

    void readsEachEntry_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* json, const char* field, QVariant value) {
            QTest::addRow("%s %s", field, json) << QByteArray(json) << QString(field) << value;
        };
        row(R"({"ORVA": "ORVAV1"})", "legacyOrva", true);
        row(R"({"ORVA": "orvav1"})", "legacyOrva", false);
        row(R"({"ORVA": "orvav1"})", "orvaType", "orvav1");
        row("{}", "orvaType", "");
        row(R"({"ORVAMETAR": "SEMIAUTOMATIC"})", "metarMode", 2);
        row(R"({"ORVAMETAR": "MANUAL"})", "metarMode", 1);
        row(R"({"ORVAMETAR": "manual"})", "metarMode", 0);
        row("{}", "metarMode", 0);
        row(R"({"ORVAPOPUP": "FALSE"})", "hidePopups", true);
        row(R"({"ORVAPOPUP": false})", "hidePopups", false);
        row(R"({"ORVAMETARTRANSMITDELAYMINS": 2, "ORVAMETARTRANSMITDELAYSECS": 30})",
            "transmitDelay", "2:30");
        row(R"({"ORVAMETARTRANSMITDELAYMINS": 1.5, "ORVAMETARTRANSMITDELAYSECS": 9})",
            "transmitDelay", "0:09");
        row(R"({"ORVAMETARTRANSMITDELAYMINS": "3", "ORVAMETARTRANSMITDELAYSECS": 0})",
            "transmitDelay", "0:00");
        row(R"({"ORVAMETARTRANSMITDELAYMINS": 3})", "transmitDelay", "");
        row(R"({"ORVAMETARTRANSMITDELAYMINS": 75, "ORVAMETARTRANSMITDELAYSECS": 0})",
            "transmitDelay", "");
        row(R"({"ORVAMETARTRANSMITDELAYMINS": 1, "ORVAMETARTRANSMITDELAYSECS": -4})",
            "transmitDelay", "");
        row(R"({"KEYLOCATION": "/k/Keyfile_x.txt"})", "keyLocation", "/k/Keyfile_x.txt");
        row(R"({"TEMPUNITS": "FAHRENHEIT"})", "fahrenheit", true);
        row(R"({"TEMPUNITS": "fahrenheit"})", "fahrenheit", false);
        row(R"({"TEMPUNITS": "CELSIUS"})", "fahrenheit", false);
        row(R"({"PRECIPACCUM24HINTERVAL": "INTERVAL_PREV24H"})", "precipInterval", 1);
        row(R"({"PRECIPACCUM24HINTERVAL": "INTERVAL_12Z"})", "precipInterval", 0);
        row("{}", "precipInterval", 0);
        row(R"({"LOGGING": "DATA"})", "logging", 1);
        row(R"({"LOGGING": "DEBUG"})", "logging", 2);
        row(R"({"LOGGING": "VERBOSE"})", "logging", 0);
        row(R"({"RUNWAYSTATUS": "FALSE"})", "runwayHidden", true);
        row("{}", "runwayHidden", false);
        row(R"({"RUNWAYDIRECTION": 275})", "runwayDirection", 275.0);
        row(R"({"RUNWAYDIRECTION": "275"})", "runwayDirection", 0.0);
        row(R"({"DEVMODE": "TRUE"})", "devMode", true);
        row(R"({"DEVMODE": "true"})", "devMode", false);
        row(R"({"LOGLOCATION": "/logs"})", "logLocation", "/logs");
        row(R"({"SPECIALERTS": "TRUE"})", "speciAlerts", true);
        row(R"({"ALERTS": [{"parameter": "Lightning"}, {}]})", "alerts", 2);
        row(R"({"ALERTS": {"parameter": "Lightning"}})", "alerts", 0);
    }
    void readsEachEntry()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, field);
        QFETCH(QVariant, expected);
        const QVariantMap read = fields(readSettings(object(json)));
        QVERIFY(read.contains(field));
        QCOMPARE(read.value(field), expected);
    }

    // Read and written back, each text comes out byte for byte: key order, layout, numbers.
    void everyEntryRoundTrips_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("defaults") << kDefaultsText;
        QTest::newRow("operator's choices") << kOperatorText;
        QTest::newRow("semi-automatic, runway hidden")
            << QByteArray(kDefaultsText)
                   .replace(R"("DEFAULT")", R"("DATA")")
                   .replace(R"("ORVA": "")", R"("ORVA": "ORVAV1")")
                   .replace(R"("AUTOMATIC")", R"("SEMIAUTOMATIC")")
                   .replace(R"(MINS": 5,)", R"(MINS": 0,)")
                   .replace(R"(SECS": 0,)", R"(SECS": 45,)")
                   .replace(R"(DIRECTION": 0,)", R"(DIRECTION": 90,)")
                   .replace(R"("RUNWAYSTATUS": "TRUE")", R"("RUNWAYSTATUS": "FALSE")");
    }
    void everyEntryRoundTrips()
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

    // The file on disk

    void missingFileIsMadeWritableFromTheBuiltInCopy()
    {
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
        QCOMPARE(defaultSettingsSource(), QStringLiteral(":/resources/options_json.json"));
        const SettingsFileLoad load = loadSettingsFile(path, defaultSettingsSource());
        QCOMPARE(load.state, SettingsFileLoad::Read);
        QCOMPARE(fileBytes(path), kDefaultsText);
        QCOMPARE(load.settings, object(kDefaultsText));
        // Copies of built-in files come out read-only; saves would be refused.
        QVERIFY(QFile::permissions(path) & QFileDevice::WriteOwner);
        QVERIFY(saveSettingsFile(path, object(kOperatorText)).isEmpty());
        QCOMPARE(fileBytes(path), kOperatorText);
    }

    void workingFolderCopyComesFirst()
    {
        QVERIFY(writeAll("options_json.json", kOperatorText));
        QCOMPARE(defaultSettingsSource(), QStringLiteral("options_json.json"));
        const SettingsFileLoad load = loadSettingsFile(path, defaultSettingsSource());
        QCOMPARE(load.state, SettingsFileLoad::Read);
        QCOMPARE(load.settings, object(kOperatorText));
        // Later saves go to the application data folder only.
        QVERIFY(saveSettingsFile(path, object(kDefaultsText)).isEmpty());
        QCOMPARE(fileBytes(path), kDefaultsText);
        QCOMPARE(fileBytes("options_json.json"), kOperatorText);
    }

    void noCopyPossibleIsMissing()
    {
        // A folder in the file's place: nothing can be copied there.
        QVERIFY(QDir().mkpath(path));
        const SettingsFileLoad load = loadSettingsFile(path, defaultSettingsSource());
        QCOMPARE(load.state, SettingsFileLoad::Missing);
        QVERIFY(load.settings.isEmpty());
    }

    void unparsableFileIsKeptAsBad_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated") << kOperatorText.left(200);
        QTest::newRow("not JSON") << QByteArray("TEMPUNITS=FAHRENHEIT\n");
        QTest::newRow("an array") << QByteArray("[\"TEMPUNITS\", \"FAHRENHEIT\"]\n");
    }
    void unparsableFileIsKeptAsBad()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeAll(path + ".bad", "an older bad copy"));
        QVERIFY(writeAll(path, bytes));
        const SettingsFileLoad load = loadSettingsFile(path, defaultSettingsSource());
        QCOMPARE(load.state, SettingsFileLoad::Unparsable);
        QVERIFY(load.settings.isEmpty());
        QCOMPARE(load.keptCopy, path + ".bad");
        QCOMPARE(fileBytes(path + ".bad"), bytes);
        QCOMPARE(fileBytes(path), bytes);
    }

    void saveReplacesTheWholeFile()
    {
        QVERIFY(writeAll(path, kOperatorText + kOperatorText));
        QVERIFY(saveSettingsFile(path, object(kDefaultsText)).isEmpty());
        QCOMPARE(fileBytes(path), kDefaultsText);
        checkNoStrayFiles();
    }

    void failedSaveLeavesThePreviousFile()
    {
        QVERIFY(writeAll(path, kOperatorText));
        QString failure;
        {
            const FileSizeLimit limit(64);
            failure = saveSettingsFile(path, object(kDefaultsText));
        }
        QVERIFY2(failure.startsWith("Failed to flush file '" + path + "': "), qPrintable(failure));
        QCOMPARE(fileBytes(path), kOperatorText);
        checkNoStrayFiles();
    }

    void fileThatIsNotWritableIsLeftAlone()
    {
        QVERIFY(writeAll(path, kOperatorText));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        if (QFileInfo(path).isWritable())
            QSKIP("this user may write any file");
        QCOMPARE(saveSettingsFile(path, object(kDefaultsText)),
                 QStringLiteral("ERROR: File '%1' is not writable.").arg(path));
        QCOMPARE(fileBytes(path), kOperatorText);
    }

    // The window

    void startUpAppliesEveryEntry()
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

        // A save writes back what was read, the stored alerts too though none is applied yet.
        QVERIFY(window.alertDefs.isEmpty());
        QVERIFY(writeAll(path, "overwritten by the save"));
        window.saveSettings();
        QCOMPARE(fileBytes(path), kOperatorText);
    }

    void freshWindowSavesTheDefaults()
    {
        // No file in the data folder: the built-in copy is put there and read.
        {
            MainGUI window;
            QCOMPARE(fileBytes(path), kDefaultsText);
            QVERIFY(window.ui->textEdit_ErrorMsgs->toPlainText().isEmpty());
            QVERIFY(QFile::remove(path));
        }
        // The window's exit writes the file again.
        QCOMPARE(fileBytes(path), kDefaultsText);
    }

    void missingFileIsReportedAndDefaultsStay()
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
        QCOMPARE(firstArgs(log), QStringList{"ERROR: Unable to locate Saved Settings File"});
        QDir(path).removeRecursively();
    }

    void unparsableFileIsReportedNotReplaced()
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
            Ui_MainGUI& f = *window.ui;
            QVERIFY(f.radioButtonORVAMETAR_Auto->isChecked());
            QVERIFY(!f.checkBox_hideMETARModePopUp->isChecked());
            QCOMPARE(window.precipAccum24hInterval, PrecipAccum24hInterval::Since12Z);
            QVERIFY(!window.runwayHidden);
            QVERIFY(!f.lineEdit_devcmds->isVisibleTo(f.lineEdit_devcmds->parentWidget()));
        }
        QCOMPARE(fileBytes(path + ".bad"), broken);
        QVERIFY(!object(fileBytes(path)).isEmpty());
    }

    void legacyMarkerSkipsTheReportEntries()
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
        QCOMPARE(firstArgs(legacy), QStringList{"true"});
        QCOMPARE(firstArgs(log).value(0),
                 QStringLiteral("INFO: LEGACY ORVA Flag found in Settings File"));
    }

    void rereadingSendsAndLogs()
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

        QCOMPARE(firstArgs(log), (QStringList{"INFO: Changed Logging Mode to Data ",
                                              "INFO: Setting Runway Direction to 275",
                                              "INFO: Changing log file location to /logs/here"}));
        QCOMPARE(logging.count(), 1);
        QCOMPARE(logging.at(0).at(0).value<LoggingType>(), LoggingType::Data);
        QCOMPARE(firstArgs(folder), QStringList{"/logs/here"});
        QCOMPARE(interval.count(), 1);
        QCOMPARE(interval.at(0).at(0).value<PrecipAccum24hInterval>(),
                 PrecipAccum24hInterval::Previous24Hours);
        QCOMPARE(legacy.count(), 0);
        QCOMPARE(window.ui->lineEdit_RunwayDirection->text(), QStringLiteral("275"));
    }

    void hiddenRunwayKeepsItsHeading()
    {
        QVERIFY(writeAll(path, R"({"RUNWAYSTATUS": "FALSE", "RUNWAYDIRECTION": 90})"));
        MainGUI window;
        QCOMPARE(window.ui->pushButton_HideRunway->text(), QStringLiteral("Show"));
        QVERIFY(window.runwayHidden);
        QVERIFY(window.windScene.items().isEmpty());
        QCOMPARE(window.runwayDirection, 90.0);
        QCOMPARE(window.ui->lineEdit_RunwayDirection->text(), QStringLiteral("90"));

        // The link computes crosswinds against the same heading whether the runway is drawn.
        QSignalSpy heading(&window, &MainGUI::updateRunwayDirection);
        window.readOptions();
        QCOMPARE(firstArgs(heading), QStringList{"90"});

        window.saveSettings();
        const QJsonObject saved = object(fileBytes(path));
        QCOMPARE(saved.value("RUNWAYSTATUS").toString(), QStringLiteral("FALSE"));
        QCOMPARE(saved.value("RUNWAYDIRECTION").toDouble(), 90.0);
    }

    // Settings-page controls

    void loggingModeChoice_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<LoggingType>("mode");
        QTest::addColumn<QStringList>("lines");
        const QString line = "INFO: Changed Logging Mode to %1 ";
        QTest::newRow("Data") << 1 << LoggingType::Data << QStringList{line.arg("Data")};
        QTest::newRow("Debug") << 2 << LoggingType::Debug << QStringList{line.arg("Debug")};
        QTest::newRow("Default") << 0 << LoggingType::Default << QStringList{line.arg("Default")};
        QTest::newRow("no item") << -1 << LoggingType::Default << QStringList();
    }
    void loggingModeChoice()
    {
        QFETCH(int, index);
        QFETCH(LoggingType, mode);
        QFETCH(QStringList, lines);
        MainGUI window;
        window.loggingType = LoggingType::Debug;
        QSignalSpy log(&window, &MainGUI::logDataMainMsg);
        QSignalSpy logging(&window, &MainGUI::setLoggingState);
        window.on_comboBox_Logging_currentIndexChanged(index);
        QCOMPARE(window.loggingType, mode);
        QCOMPARE(logging.count(), 1);
        QCOMPARE(logging.at(0).at(0).value<LoggingType>(), mode);
        QCOMPARE(firstArgs(log), lines);
    }

    void logFolderChoice_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled keeps the folder") << false;
    }
    void logFolderChoice()
    {
        QFETCH(bool, accepted);
        MainGUI window;
        window.ui->lineEditLogFileLocation->setText("/logs/kept");
        const QString chosen = workFolder->path();
        QString title;
        QFileDialog::Options options;
        setModalRunner([&](QDialog& dialog) {
            auto& chooser = static_cast<QFileDialog&>(dialog);
            title = chooser.windowTitle();
            options = chooser.options();
            chooser.selectFile(chosen);
            return int(accepted ? QDialog::Accepted : QDialog::Rejected);
        });
        QSignalSpy log(&window, &MainGUI::logDataMainMsg);
        QSignalSpy folder(&window, &MainGUI::setLogLocation);
        window.ui->pushButtonLogFileLocationOpen->click();

        QCOMPARE(title, QStringLiteral("Open Directory"));
        QVERIFY(options.testFlag(QFileDialog::ShowDirsOnly));
        QVERIFY(options.testFlag(QFileDialog::DontResolveSymlinks));
        QCOMPARE(window.ui->lineEditLogFileLocation->text(), accepted ? chosen : "/logs/kept");
        QCOMPARE(firstArgs(log), accepted
                                     ? QStringList{"INFO: Changing log file location to " + chosen}
                                     : QStringList());
        QCOMPARE(firstArgs(folder), accepted ? QStringList{chosen} : QStringList());
    }
};

QTEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
