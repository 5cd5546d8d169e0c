// The settings file without a window: the text a save writes, what each entry reads as, and the
// file on disk (made from the copy in the working folder, kept as ".bad" when it does not parse,
// replaced whole or not at all).

#include "tests/support/testsupport.h"

#include "app/settingsfile.h"
#include "tests/app/settingstexts.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace SettingsTexts;

namespace
{

// Every field of a reading, by name, for table rows.
QVariantMap fields(const SettingsValues& r)
{
    const QString delay = r.transmitDelay.isValid() ? r.transmitDelay.toString("m:ss") : "";
    return {{"orvaType", r.orvaType},
            {"legacyOrva", r.legacyOrva()},
            {"metarMode", int(r.metarMode)},
            {"hidePopups", !r.showMetarPopups},
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

class TestSettingsFormat : public QObject
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
        registerSharedMetaTypes();
        path = settingsFilePath();
        startFolder = QDir::currentPath();
    }

    void init()
    {
        // An empty working folder: no copy to make a missing file from.
        workFolder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(workFolder->path()));
        if (QFileInfo(path).isDir())
            QDir(path).removeRecursively();
        QFile::remove(path);
        QFile::remove(path + ".bad");
    }

    void cleanup()
    {
        QDir::setCurrent(startFolder);
        workFolder.reset();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    // The text of the file

    void shippedCopyIsTheDefaults()
    {
        SettingsValues values;
        values.transmitDelay = QTime(0, 5);
        QCOMPARE(settingsFileText(settingsObject(values)), kDefaultsText);
        QCOMPARE(fileBytes(VD_DEFAULT_SETTINGS), kDefaultsText);
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
        QCOMPARE(settingsFileText(settingsObject(readSettings(object(text)))), text);
    }

    // The file on disk

    void missingFileIsMadeWritableFromTheWorkingFolderCopy()
    {
        // On a first run the data folder does not exist either.
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
        QVERIFY(writeAll("options_json.json", kOperatorText));
        // A read-only source, as a read-only checkout gives: its copy must still take saves.
        QVERIFY(QFile::setPermissions("options_json.json", QFile::ReadOwner));
        const SettingsFileLoad load = loadSettingsFile(path, defaultSettingsSource());
        QCOMPARE(load.state, SettingsFileLoad::Read);
        QCOMPARE(load.settings, object(kOperatorText));
        QVERIFY(QFile::permissions(path) & QFileDevice::WriteOwner);
        // Later saves go to the application data folder only.
        QVERIFY(saveSettingsFile(path, object(kDefaultsText)).isEmpty());
        QCOMPARE(fileBytes(path), kDefaultsText);
        QCOMPARE(fileBytes("options_json.json"), kOperatorText);
    }

    void noCopyPossibleIsMissing_data()
    {
        QTest::addColumn<bool>("folderInPlace");
        QTest::addColumn<bool>("workingCopy");
        QTest::newRow("no copy in the working folder") << false << false;
        QTest::newRow("a folder in the file's place") << true << true;
    }
    void noCopyPossibleIsMissing()
    {
        QFETCH(bool, folderInPlace);
        QFETCH(bool, workingCopy);
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
        if (folderInPlace)
            QVERIFY(QDir().mkpath(path));
        if (workingCopy)
            QVERIFY(writeAll("options_json.json", kDefaultsText));
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
};

QTEST_GUILESS_MAIN(TestSettingsFormat)
#include "tst_settingsformat.moc"
