// The alert parts of the real main window, on one window for the whole suite: the add-alert form
// and the active alert list, the alert checks on shown values, and the message panes with their
// unread counts.

#include "app/maingui.h"

#include "alerts/alertlistrules.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "tests/support/scopedclock.h"
#include "tests/support/testsupport.h"

#include <QMediaPlayer>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

namespace
{

const QString degC = QStringLiteral("\u00B0C");
const QString degF = QStringLiteral("\u00B0F");
const QString stamp = QStringLiteral("2024-05-01 12:00:00 ");

// "  Notifications" padded with blanks to `width` characters.
QString padded(int width)
{
    return QStringLiteral("  Notifications") + QString(width - 15, QLatin1Char(' '));
}

QString firstLine(QTextEdit* pane)
{
    return pane->document()->firstBlock().text();
}

int lineCount(QTextEdit* pane)
{
    return pane->document()->blockCount() - 1;
}

QStringList logLines(const QSignalSpy& spy)
{
    QStringList lines;
    for (const QList<QVariant>& call : spy)
        lines << QString::fromUtf8(call.at(0).toByteArray());
    return lines;
}

} // namespace

class TestAlertWindow : public QObject
{
    Q_OBJECT

    MainGUI* window = nullptr;
    ScopedClock* clock = nullptr;

    Ui_MainGUI* ui() const { return window->ui; }
    QTabWidget* tabs() const { return window->ui->tabWidget_Notifications; }
    QString buttonText() const { return window->ui->pushButtonNotifications->text(); }
    QString rowText(const QString& row) const
    {
        QLabel* label = window->findChild<QLabel*>("label_value" + row);
        return label->isHidden() ? QString() : label->text();
    }
    QPushButton* audioButton(const QString& row) const
    {
        return window->findChild<QPushButton*>("pushButton_audio" + row);
    }
    static bool shown(QWidget* widget) { return !widget->isHidden(); }
    void setFahrenheit(bool fahrenheit)
    {
        window->temperatureUnits =
            fahrenheit ? TemperatureUnits::Fahrenheit : TemperatureUnits::Celsius;
    }
    // Fills and saves the add-alert form as the operator would.
    void saveAlert(const QString& parameter, const QString& direction, const QString& first,
                   const QString& second = QString(), bool audio = true)
    {
        window->on_pushButton_addAlert_clicked();
        ui()->comboBox_alertParameterSetting->setCurrentText(parameter);
        ui()->comboBox_alertThresholdSetting->setCurrentText(direction);
        ui()->comboBox_alertAudioSetting->setCurrentIndex(audio ? 0 : 1);
        ui()->lineEdit_alertValeuSettings->setText(first);
        ui()->lineEdit_alertValueSettings2->setText(second);
        ui()->pushButton_saveAlert->click();
    }

private slots:
    void initTestCase()
    {
        initFormResources();
        window = new MainGUI;
        window->deviceType = DeviceTypes::ORVA;
        // The first page layout fills the alert form, builds the row button groups and makes
        // the alert sound.
        window->updateLayout();
    }
    void init()
    {
        clock = new ScopedClock(QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC));
        window->on_pushButton_clearNotifications_clicked();
        window->uncheckMenuButtons();
        window->alertDefs.clear();
        window->alertThresholds.clear();
        window->alertAudio.clear();
        window->alertActive.clear();
        window->alertLastRaised.clear();
        setFahrenheit(false);
        window->loggingType = LoggingType::Default;
        window->loadAlerts(QJsonArray());
    }
    void cleanup()
    {
        delete clock;
        clock = nullptr;
    }
    void cleanupTestCase()
    {
        QMediaPlayer* player = window->alertSound;
        delete window;
        delete player;
    }

    // The form stores temperatures in Celsius, shows the row in the display unit, and opens the
    // gate for the next value.
    void saveShowsRow_data()
    {
        QTest::addColumn<bool>("fahrenheit");
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("Celsius temperature") << false << "Temperature"
                                             << ">"
                                             << "30"
                                             << "30"
                                             << "TempGreaterThan"
                                             << "> 30 " + degC;
        QTest::newRow("Fahrenheit temperature") << true << "Temperature"
                                                << "<"
                                                << "86"
                                                << "30.0"
                                                << "TempLessThan"
                                                << "< 86.0 " + degF;
        QTest::newRow("Fahrenheit wind speed") << true << "Wind Speed"
                                               << ">"
                                               << "25"
                                               << "25"
                                               << "WindSpeedGreaterThan"
                                               << "> 25 kt";
    }
    void saveShowsRow()
    {
        QFETCH(bool, fahrenheit);
        QFETCH(QString, parameter);
        QFETCH(QString, direction);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, row);
        QFETCH(QString, text);
        setFahrenheit(fahrenheit);
        window->alertLastRaised[parameter] = Clock::nowUtc();
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        saveAlert(parameter, direction, typed);
        const QString setting = direction == ">" ? "GREATERTHAN" : "LESSTHAN";
        QCOMPARE(window->alertDefs, (QList<AlertDef>{{parameter, setting, stored,
                                                      fahrenheit ? "IMPERIAL" : "METRIC", true}}));
        QCOMPARE(window->alertThresholds.value(parameter + "_" + setting), stored);
        QVERIFY(window->alertActive.value(parameter));
        QVERIFY(window->alertAudio.value(parameter + "_" + setting));
        QVERIFY(!window->alertLastRaised.value(parameter).isValid());
        QCOMPARE(rowText(row), text);
        QCOMPARE(audioButton(row)->text(), QString(" Enabled"));
        QVERIFY(shown(window->findChild<QWidget*>("pushButton_delete" + row)));
        QVERIFY(shown(ui()->label_alertAudioHeader) && shown(ui()->label_alertParameterHeader));
        QVERIFY(!shown(ui()->pushButton_saveAlert) && !shown(ui()->label_noAlertsSetup));
        QVERIFY(shown(ui()->pushButton_addAlert) && shown(ui()->pushButton_returnAlertsSettings));
        QCOMPARE(logLines(log).last(),
                 "INFO: Adding Active Alert Config to Alerts Settings for " + parameter);
    }

    // A range stores both directions; a later save of the same direction stands beside the
    // earlier one and wins; the settings file form loads back to the same.
    void saveRangeAndRepeats()
    {
        saveAlert("Dew Point", "set range", "20", "30", false);
        QCOMPARE(window->alertDefs,
                 (QList<AlertDef>{{"Dew Point", "GREATERTHAN", "20", "METRIC", false},
                                  {"Dew Point", "LESSTHAN", "30", "METRIC", false}}));
        QCOMPARE(rowText("DewPointLessThan"), "< 30 " + degC);
        QCOMPARE(audioButton("DewPointLessThan")->text(), QString(" Disabled"));
        saveAlert("Dew Point", "<", "10");
        QCOMPARE(window->alertDefs.size(), 3);
        QCOMPARE(window->alertThresholds.value("Dew Point_LESSTHAN"), QString("10"));
        QCOMPARE(rowText("DewPointLessThan"), "< 10 " + degC);

        QJsonArray stored = alertDefsToJson(window->alertDefs);
        stored.append(QJsonObject{{"parameter", "Fog"}, {"setting", "LESSTHAN"}});
        window->alertDefs.clear();
        window->alertThresholds.clear();
        setFahrenheit(true);
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        window->loadAlerts(stored);
        QCOMPARE(window->alertDefs.size(), 4);
        QVERIFY(window->alertActive.value("Fog"));
        QCOMPARE(window->alertThresholds.value("Dew Point_LESSTHAN"), QString("10"));
        QCOMPARE(rowText("DewPointLessThan"), "< 50.0 " + degF);
        QVERIFY(!shown(ui()->label_noAlertsSetup));
        QCOMPARE(logLines(log).size(), 4);
        QCOMPARE(logLines(log).first(),
                 QString("INFO: Reading Existing Alerts Config from Options File"));

        // A settings file without alerts.
        log.clear();
        window->loadAlerts(QJsonArray());
        QCOMPARE(logLines(log),
                 (QStringList{"INFO: Reading Existing Alerts Config from Options File",
                              "INFO: No Alerts in Options File"}));
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("warning");
        const QString bothEmpty = "WARNING: Unable to save alert, one or both values are empty.";
        QTest::newRow("range, second empty") << "set range"
                                             << "20"
                                             << "" << bothEmpty;
        QTest::newRow("range, first empty") << "set range"
                                            << ""
                                            << "30" << bothEmpty;
        QTest::newRow("single empty") << "<"
                                      << ""
                                      << ""
                                      << "WARNING: Unable to save alert, no value entered.";
    }
    void saveFailures()
    {
        QFETCH(QString, direction);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, warning);
        saveAlert("Temperature", direction, first, second);
        QVERIFY(window->alertDefs.isEmpty() && window->alertThresholds.isEmpty());
        QCOMPARE(ui()->textEdit_ActiveAlerts->toPlainText(), stamp + warning + "\n");
        // Still open, reset to ">" with one empty value field.
        QVERIFY(shown(ui()->pushButton_saveAlert) && !shown(ui()->pushButton_addAlert));
        QCOMPARE(ui()->comboBox_alertThresholdSetting->currentText(), QString(">"));
        QCOMPARE(ui()->label_addalertvalue->text(), QString("Value"));
        QVERIFY(!shown(ui()->lineEdit_alertValueSettings2));
        QVERIFY(ui()->lineEdit_alertValeuSettings->text().isEmpty());
    }

    // The form's unit and range fields follow its choices; leaving the page keeps the form;
    // Cancel closes it. A unit switch rewrites the alerts pane and the form's unit.
    void formAndUnitSwitch()
    {
        window->on_pushButton_alertSettings_clicked();
        QCOMPARE(ui()->stackedWidget_Settings->currentIndex(), 1);
        window->on_pushButton_addAlert_clicked();
        QVERIFY(!shown(ui()->label_noAlertsSetup));
        QVERIFY(!shown(ui()->label_addalertvalue2));
        QVERIFY(!shown(ui()->pushButton_returnAlertsSettings));
        QCOMPARE(ui()->label_alertvalue_units->text(), degC);
        ui()->comboBox_alertThresholdSetting->setCurrentIndex(2);
        QCOMPARE(ui()->label_addalertvalue->text(), QString("Value Greater Than"));
        window->on_pushButton_returnAlertsSettings_clicked();
        QCOMPARE(ui()->stackedWidget_Settings->currentIndex(), 0);
        QVERIFY(shown(ui()->lineEdit_alertValueSettings2));

        window->displayAlertMessages("Wind Speed 30 kt is Greater Than Threshold of 25 kt");
        window->displayAlertMessages("Temperature 25.3" + degC +
                                     " is Greater Than Threshold of 20" + degC);
        setFahrenheit(true);
        window->updateAlertsUnits();
        QCOMPARE(ui()->textEdit_ActiveAlerts->toPlainText(),
                 stamp + "Temperature 77.5" + degF + " is Greater Than Threshold of 68.0" + degF +
                     "\n" + stamp + "Wind Speed 30 kt is Greater Than Threshold of 25 kt\n");
        QCOMPARE(ui()->label_alertvalue_units->text(), degF);
        ui()->comboBox_alertParameterSetting->setCurrentText("Wind Speed");
        QCOMPARE(ui()->label_alertvalue_units->text(), QString("kt"));
        ui()->comboBox_alertParameterSetting->setCurrentIndex(0);
        QCOMPARE(ui()->label_alertvalue_units->text(), degF);
        ui()->comboBox_alertParameterSetting->setCurrentText("Wind Speed");

        window->on_pushButton_cancelAddAlert_clicked();
        QVERIFY(!shown(ui()->comboBox_alertParameterSetting));
        QVERIFY(!shown(ui()->lineEdit_alertValueSettings2));
        QVERIFY(shown(ui()->pushButton_addAlert));
        QCOMPARE(ui()->comboBox_alertParameterSetting->currentText(), QString("Temperature"));
        QVERIFY(window->alertDefs.isEmpty());
    }

    void audioToggle()
    {
        saveAlert("Wind Chill", ">", "5");
        saveAlert("Wind Chill", ">", "6");
        QPushButton* button = audioButton("WindChillGreaterThan");
        window->onalerts_Audio_clicked(5);
        QCOMPARE(button->text(), QString(" Disabled"));
        QVERIFY(!window->alertAudio.value("Wind Chill_GREATERTHAN"));
        QVERIFY(!window->alertDefs.at(0).audio && !window->alertDefs.at(1).audio);
        window->onalerts_Audio_clicked(5);
        QCOMPARE(button->text(), QString(" Enabled"));
        QVERIFY(window->alertDefs.at(0).audio && window->alertDefs.at(1).audio);

        // A button text that is neither state is reported and changes nothing.
        saveAlert("Lightning", "<", "10");
        audioButton("LightningLessThan")->setText(QString());
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        window->onalerts_Audio_clicked(32);
        QCOMPARE(ui()->textEdit_ErrorMsgs->toPlainText(),
                 stamp + "Audio for Lightning Less Than unable to toggle\n");
        QCOMPARE(logLines(log),
                 QStringList("ERROR: Audio for Lightning Less Than  unable to toggle"));
        QVERIFY(window->alertAudio.value("Lightning_LESSTHAN"));
        window->onalerts_Audio_clicked(34);
        QCOMPARE(logLines(log).size(), 1);
    }

    // Every row's buttons act on their own row: the ids of the form's button groups and of the
    // list's rules agree.
    void rowButtonsActOnTheirRow()
    {
        QJsonArray all;
        for (const AlertListRow& row : alertListRows())
            for (const char* setting : {"LESSTHAN", "GREATERTHAN"})
                all.append(alertDefToJson({row.parameter, setting, "1", "METRIC", true}));
        // The empty load of init() showed "No Alerts Setup"; stored definitions hide it.
        QVERIFY(shown(ui()->label_noAlertsSetup));
        window->loadAlerts(all);
        QVERIFY(!shown(ui()->label_noAlertsSetup));
        for (const AlertListRow& row : alertListRows()) {
            for (const QString direction : {"LessThan", "GreaterThan"}) {
                const QString key = row.parameter + "_" + direction.toUpper();
                audioButton(row.rowWord + direction)->click();
                QVERIFY2(!window->alertAudio.value(key), qPrintable(key));
                window->findChild<QPushButton*>("pushButton_delete" + row.rowWord + direction)
                    ->click();
                QVERIFY2(rowText(row.rowWord + direction).isEmpty(), qPrintable(key));
                QVERIFY2(!window->alertThresholds.contains(key), qPrintable(key));
            }
        }
        QVERIFY(shown(ui()->label_noAlertsSetup));
    }

    void deleteRows()
    {
        saveAlert("Temperature", "set range", "10", "30");
        saveAlert("Pressure Altitude", "<", "100");
        saveAlert("Pressure Altitude", "<", "200");
        window->alertLastRaised["Temperature"] = Clock::nowUtc();

        // The less-than row of a parameter that keeps its greater-than row.
        window->onalerts_Delete_clicked(0);
        QCOMPARE(rowText("TempLessThan"), QString());
        QVERIFY(!shown(audioButton("TempLessThan")));
        QCOMPARE(rowText("TempGreaterThan"), "> 10 " + degC);
        QVERIFY(window->alertActive.value("Temperature"));
        QVERIFY(!window->alertLastRaised.contains("Temperature"));
        QVERIFY(!window->alertThresholds.contains("Temperature_LESSTHAN"));

        // Delete id 20 is the pressure altitude row; both duplicates go, one log line each.
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        window->onalerts_Delete_clicked(20);
        const QString removed =
            "INFO: Removing Active Alert Config to Alerts Settings for Pressure Altitude";
        QCOMPARE(logLines(log), QStringList({removed, removed}));
        QVERIFY(!window->alertActive.contains("Pressure Altitude"));

        // The last row empties the list; an id without a row only shows the two buttons.
        window->on_pushButton_addAlert_clicked();
        window->onalerts_Delete_clicked(1);
        QVERIFY(window->alertDefs.isEmpty() && window->alertActive.isEmpty());
        QVERIFY(shown(ui()->label_noAlertsSetup) && !shown(ui()->label_alertValueHeader));
        QVERIFY(!shown(ui()->scrollArea_8) && !shown(ui()->pushButton_saveAlert));
        QVERIFY(shown(ui()->pushButton_addAlert) && shown(ui()->pushButton_returnAlertsSettings));
        ui()->pushButton_addAlert->hide();
        window->onalerts_Delete_clicked(34);
        QVERIFY(shown(ui()->pushButton_addAlert));
    }

    // A raise is listed and shuts the parameter's gate, shared by its two directions, for 300
    // whole seconds; nothing crossed and no reading leave the gate as it was.
    void alertsAndTheirGate()
    {
        window->alertThresholds.insert("Temperature_GREATERTHAN", "30");
        window->alertThresholds.insert("Wind Speed_LESSTHAN", "5");
        for (const QString& value : {QString(), QString("-"), QString(" ")})
            window->checkAlert("Wind Speed", value);
        QVERIFY(!window->alertLastRaised.contains("Wind Speed"));
        window->checkAlert("Temperature", "31.5");
        window->checkAlert("Wind Speed", "2");
        QCOMPARE(firstLine(ui()->textEdit_ActiveAlerts),
                 stamp + "Wind Speed 2kt is Less Than Threshold of 5kt");
        QCOMPARE(window->alertLastRaised.value("Temperature"),
                 QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC));

        window->alertThresholds.remove("Wind Speed_LESSTHAN");
        window->alertThresholds.insert("Wind Speed_GREATERTHAN", "30");
        clock->advanceMSecs(300900); // 300 whole seconds later
        window->checkAlert("Temperature", "33");
        window->checkAlert("Wind Speed", "35");
        QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), 2);
        clock->advanceMSecs(100);
        window->checkAlert("Temperature", "29");
        QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), 2);
        window->checkAlert("Wind Speed", "35");
        QCOMPARE(firstLine(ui()->textEdit_ActiveAlerts),
                 "2024-05-01 12:05:01 Wind Speed 35kt is Greater Than Threshold of 30kt");
        QCOMPARE(window->alertLastRaised.value("Temperature"),
                 QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC));
        setFahrenheit(true);
        window->checkAlert("Temperature", "33");
        QCOMPARE(firstLine(ui()->textEdit_ActiveAlerts),
                 "2024-05-01 12:05:01 Temperature 91.4" + degF +
                     " is Greater Than Threshold of 86.0" + degF);
        QCOMPARE(window->setAlertUnits("Dew Point"), degF);
    }

    void debugLogLine_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("logged");
        QTest::newRow("debug, raised") << int(LoggingType::Debug) << "35.2" << true;
        QTest::newRow("debug, nothing crossed") << int(LoggingType::Debug) << "45" << false;
        QTest::newRow("data mode") << int(LoggingType::Data) << "35.2" << false;
    }
    void debugLogLine()
    {
        QFETCH(int, mode);
        QFETCH(QString, value);
        QFETCH(bool, logged);
        window->loggingType = LoggingType(mode);
        window->alertThresholds.insert("Heat Index_GREATERTHAN", "30");
        window->alertThresholds.insert("Heat Index_LESSTHAN", "40");
        QSignalSpy spy(window, &MainGUI::logDataMainMsg);
        window->checkAlert("Heat Index", value);
        QCOMPARE(logLines(spy), logged ? QStringList("DEBUG: Heat Index 35.2" + degC +
                                                     " is in Threshold Range of 30 - 40" + degC)
                                       : QStringList());
    }

    // The embedded bell plays once, to its end, when a raise has its audio flag on.
    void soundFollowsAudioFlag_data()
    {
        QTest::addColumn<bool>("audio");
        QTest::addColumn<QString>("value");
        QTest::newRow("audio on, raised") << true << "2";
        QTest::newRow("audio off, raised") << false << "2";
        QTest::newRow("audio on, nothing crossed") << true << "8";
    }
    void soundFollowsAudioFlag()
    {
        QFETCH(bool, audio);
        QFETCH(QString, value);
        QMediaPlayer* player = window->alertSound;
        QCOMPARE(player->media().request().url(), QUrl("qrc:/resources/alert_bells.wav"));
        QCOMPARE(player->volume(), 50);
        QTRY_VERIFY_WITH_TIMEOUT(player->state() == QMediaPlayer::StoppedState, 10000);
        window->alertThresholds.insert("Lightning_LESSTHAN", "5");
        window->alertAudio.insert("Lightning_LESSTHAN", audio);
        QSignalSpy states(player, &QMediaPlayer::stateChanged);
        window->checkAlert("Lightning", value);
        if (audio && value == "2") {
            QCOMPARE(player->state(), QMediaPlayer::PlayingState);
            QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), QMediaPlayer::EndOfMedia, 10000);
            QVERIFY(player->duration() > 500 && player->duration() < 3000);
        } else {
            QCoreApplication::processEvents();
            QCOMPARE(states.count(), 0);
        }
    }

    // Stamped lines, errors in their colour; counts on the tabs and the menu button follow at
    // once unless the pane's own tab is in front.
    void messageLinesAndCounts()
    {
        tabs()->setCurrentIndex(2);
        window->displayErrorMessages("WARNING: battery\r\nlow");
        window->displayErrorMessages("ERROR: <b>port</b> & lost");
        QCOMPARE(firstLine(ui()->textEdit_ErrorMsgs), stamp + "ERROR: <b>port</b> & lost");
        QCOMPARE(ui()->textEdit_ErrorMsgs->document()->lastBlock().previous().text(),
                 stamp + "WARNING: battery low");
        QCOMPARE(tabs()->tabText(1), QString("Error Messages [2]  "));
        QCOMPARE(buttonText(), padded(36) + "2  ");
        clock->advanceSecs(5);
        window->displayAlertMessages("Visibility 2.5SM is Less Than Threshold of 3SM");
        window->displaySystemMessages("Connected\r\nto COM3");
        QCOMPARE(firstLine(ui()->textEdit_SysMsgs),
                 QString("2024-05-01 12:00:05 Connected to COM3"));
        QCOMPARE(tabs()->tabText(0), QString("Alerts [1]  "));
        QCOMPARE(buttonText(), padded(36) + "3  ");
        QCOMPARE(window->unreadSystem, 1);
        QCOMPARE(tabs()->tabText(2), QString("System Messages      "));

        // The system tab leaves the button alone; the error tab writes the total unpadded.
        tabs()->setCurrentIndex(1);
        QCOMPARE(buttonText(), padded(36) + "1");
        QCOMPARE(tabs()->tabText(1), QString("Error Messages      "));
        // Its own tab counts at the next refresh only while the page is open.
        window->displayErrorMessages("ERROR: x");
        QCOMPARE(tabs()->tabText(1), QString("Error Messages      "));
        window->updateAlertsCount();
        QCOMPARE(tabs()->tabText(1), QString("Error Messages      "));
        window->on_pushButtonNotifications_clicked();
        tabs()->setCurrentIndex(1);
        window->displayErrorMessages("ERROR: y");
        window->updateAlertsCount();
        QCOMPARE(tabs()->tabText(1), QString("Error Messages [1]  "));

        for (int i = 0; i < 250; ++i)
            window->displaySystemMessages(QString("message %1").arg(i));
        QCOMPARE(window->unreadSystem, 200);
        QCOMPARE(tabs()->tabText(2), QString("System Messages [200]"));
    }

    // Opening the page shows the alerts tab and resets only the alerts; the alerts tab in front
    // counts nothing; Clear empties the panes and every count.
    void openingAndClearing()
    {
        tabs()->setCurrentIndex(2);
        for (int i = 0; i < 3; ++i)
            window->displayAlertMessages("a");
        window->displayErrorMessages("ERROR: e");
        window->displayErrorMessages("ERROR: e");
        window->displaySystemMessages("s");
        ui()->stackedWidget_mainPages->setCurrentIndex(0);
        window->viewMode = 1; // a stored report on show
        window->on_pushButtonNotifications_clicked();
        QCOMPARE(window->viewMode, 0);
        QCOMPARE(ui()->stackedWidget_mainPages->currentWidget(), ui()->pageNotifications);
        QCOMPARE(tabs()->currentIndex(), 0);
        QVERIFY(ui()->pushButtonNotifications->isChecked());
        QCOMPARE(window->unreadAlerts, 0);
        QCOMPARE(window->unreadErrors, 2);
        QCOMPARE(window->unreadSystem, 1);
        QCOMPARE(buttonText(), padded(36) + "2");

        window->uncheckMenuButtons(); // the operator moved on to another page
        window->displayAlertMessages("b");
        window->updateAlertsCount();
        QCOMPARE(tabs()->tabText(0), QString("Alerts      "));
        QCOMPARE(buttonText(), padded(36) + "2  ");
        window->unreadErrors = 0; // a refresh with nothing to count keeps the button
        window->updateAlertsCount();
        QCOMPARE(buttonText(), padded(36) + "2  ");
        // Opening the page with nothing left unread shows the button without a number.
        window->on_pushButtonNotifications_clicked();
        QCOMPARE(buttonText(), padded(40));

        window->on_pushButton_clearNotifications_clicked();
        QVERIFY(ui()->textEdit_ActiveAlerts->toPlainText().isEmpty());
        QVERIFY(ui()->textEdit_ErrorMsgs->toPlainText().isEmpty());
        QVERIFY(ui()->textEdit_SysMsgs->toPlainText().isEmpty());
        QCOMPARE(window->unreadAlerts + window->unreadErrors + window->unreadSystem, 0);
        QCOMPARE(buttonText(), padded(40));
        QCOMPARE(tabs()->tabText(2), QString("System Messages      "));
        // Opening the page on its alerts tab writes the total.
        window->displayErrorMessages("ERROR: e");
        QCOMPARE(buttonText(), padded(36) + "1  ");
        window->on_pushButtonNotifications_clicked();
        QCOMPARE(buttonText(), padded(36) + "1");
        // The tab in front has nothing unread, the other does: the number is the other's.
        tabs()->setCurrentIndex(1);
        QCOMPARE(buttonText(), padded(40));
        window->displayAlertMessages("c");
        QCOMPARE(buttonText(), padded(36) + "1  ");
    }
};

QTEST_MAIN(TestAlertWindow)
#include "tst_alertwindow.moc"
