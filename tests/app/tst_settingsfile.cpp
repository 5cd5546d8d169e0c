// The window and the settings file: reading it at start-up, saving it and the settings-page
// controls.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "app/modalrunner.h"
#include "app/settingsfile.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"
#include "tests/app/apptest.h"
#include "tests/app/settingstexts.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace SettingsTexts;

class TestSettingsFile : public QObject
{
    Q_OBJECT

    QString path;
    QString startFolder;
    std::unique_ptr<QTemporaryDir> workFolder;

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
        setModalRunner({});
        QDir::setCurrent(startFolder);
        workFolder.reset();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
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

    // A first start with an empty data folder, from a working folder with or without the copy
    // that ./run.sh finds in the checkout.
    void firstStart_data()
    {
        QTest::addColumn<bool>("shippedCopy");
        QTest::newRow("shipped copy in the working folder") << true;
        QTest::newRow("empty working folder") << false;
    }
    void firstStart()
    {
        QFETCH(bool, shippedCopy);
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
        if (shippedCopy)
            QVERIFY(QFile::copy(VD_DEFAULT_SETTINGS, "options_json.json"));
        enableDebugOutput();
        static QStringList debugLines;
        debugLines.clear();
        static QtMessageHandler previous = nullptr;
        previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                if (type == QtDebugMsg)
                    debugLines << text;
                else
                    previous(type, context, text);
            });
        QString errors;
        {
            MainGUI window;
            qInstallMessageHandler(previous);
            errors = window.ui->textEdit_ErrorMsgs->toPlainText();
            // The shipped copy is put into the data folder; without one nothing is until exit.
            QCOMPARE(fileBytes(path), shippedCopy ? kDefaultsText : QByteArray());
            QFile::remove(path);
        }
        // Either way the window's exit writes the defaults.
        QCOMPARE(fileBytes(path), kDefaultsText);

        QCOMPARE(debugLines.contains("ERROR: Unable to locate settings JSON file."), !shippedCopy);
        QCOMPARE(applicationLogs().contains("ERROR: Unable to locate Saved Settings File"),
                 !shippedCopy);
        if (shippedCopy) {
            QVERIFY2(errors.isEmpty(), qPrintable(errors));
        } else {
            QVERIFY2(errors.contains("Unable to locate Saved Settings JSON File. No user settings "
                                     "can be loaded."),
                     qPrintable(errors));
        }
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
