// The alert settings page of the real main window: the add-alert form, the active alert list,
// its row buttons, and the alerts pane after a temperature unit switch.

#include "alerts/alertlistrules.h"
#include "app/maingui.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "tests/support/scopedclock.h"
#include "tests/support/testsupport.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

const QString degC = QStringLiteral("\u00B0C");
const QString degF = QStringLiteral("\u00B0F");
const QString stamp = QStringLiteral("2024-05-01 12:00:00 ");

QStringList logLines(const QSignalSpy& spy)
{
    QStringList lines;
    for (const QList<QVariant>& call : spy)
        lines << QString::fromUtf8(call.at(0).toByteArray());
    return lines;
}

} // namespace

class TestAlertSettings : public QObject
{
    Q_OBJECT

private:
    MainGUI* window = nullptr;
    ScopedClock* clock = nullptr;
    Ui_MainGUI* ui() const { return window->ui; }

    QLabel* valueLabel(const QString& rowName) const
    {
        return window->findChild<QLabel*>("label_value" + rowName);
    }
    QPushButton* audioButton(const QString& rowName) const
    {
        return window->findChild<QPushButton*>("pushButton_audio" + rowName);
    }
    bool shown(QWidget* widget) const { return !widget->isHidden(); }

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
        // What the first page layout gives the form.
        ui()->comboBox_alertParameterSetting->addItems(window->alertParameters);
        ui()->comboBox_alertThresholdSetting->addItems({">", "<", "set range"});
        ui()->comboBox_alertAudioSetting->addItems({"True", "False"});
    }

    void init()
    {
        clock = new ScopedClock(QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC));
        window->alertDefs.clear();
        window->alertThresholds.clear();
        window->alertAudio.clear();
        window->alertActive.clear();
        window->alertLastRaised.clear();
        window->ui->textEdit_ActiveAlerts->clear();
        window->ui->textEdit_ErrorMsgs->clear();
        setFahrenheit(false);
        window->loadAlerts(QJsonArray());
    }

    void cleanup()
    {
        delete clock;
        clock = nullptr;
    }

    void cleanupTestCase() { delete window; }

    // Rules without the window.

    void rowIdsAndErrorTexts()
    {
        // The two groups number the last parameters differently; -1 and 34 name no row.
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
    }

    void paneConversion_data()
    {
        QTest::addColumn<QString>("celsius");
        QTest::addColumn<QString>("fahrenheit");
        QTest::addColumn<QString>("back");
        QTest::newRow("greater") << "Temperature 25.3°C is Greater Than Threshold of 20°C"
                                 << "Temperature 77.5°F is Greater Than Threshold of 68.0°F"
                                 << "Temperature 25.3°C is Greater Than Threshold of 20.0°C";
        QTest::newRow("range two words")
            << "Dew Point 12.3°C is in Threshold Range of 10 - 15°C"
            << "Dew Point 54.1°F is in Threshold Range of 50.0 - 59.0°F"
            << "Dew Point 12.3°C is in Threshold Range of 10.0 - 15.0°C";
        QTest::newRow("less") << "Wind Chill -3.2°C is Less Than Threshold of 0°C"
                              << "Wind Chill 26.2°F is Less Than Threshold of 32.0°F"
                              << "Wind Chill -3.2°C is Less Than Threshold of 0.0°C";
        QTest::newRow("range decimals")
            << "Heat Index 30.1°C is in Threshold Range of 25.5 - 40°C"
            << "Heat Index 86.2°F is in Threshold Range of 77.9 - 104.0°F"
            << "Heat Index 30.1°C is in Threshold Range of 25.5 - 40.0°C";
        QTest::newRow("range one word")
            << "Temperature 5.0°C is in Threshold Range of 0 - 10°C"
            << "Temperature 41.0°F is in Threshold Range of 32.0 - 50.0°F"
            << "Temperature 5.0°C is in Threshold Range of 0.0 - 10.0°C";
    }
    void paneConversion()
    {
        QFETCH(QString, celsius);
        QFETCH(QString, fahrenheit);
        QFETCH(QString, back);
        const QString toF = convertAlertPaneText(stamp + celsius + "\n", true);
        QCOMPARE(toF, stamp + fahrenheit + "\n");
        const QString toC = convertAlertPaneText(toF, false);
        QCOMPARE(toC, stamp + back + "\n");
        // Further switches keep the line's form.
        QCOMPARE(convertAlertPaneText(convertAlertPaneText(toC, true), false), toC);
    }

    void paneOtherLinesKept_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("wind direction") << stamp + "Wind Direction 270° is Greater Than "
                                                   "Threshold of 180°\n";
        QTest::newRow("warning") << stamp + "WARNING: Unable to save alert, no value entered.\n";
        QTest::newRow("short temperature line") << stamp + "Temperature 20°C\n";
        QTest::newRow("empty pane") << QString();
    }
    void paneOtherLinesKept()
    {
        QFETCH(QString, text);
        QCOMPARE(convertAlertPaneText(text, true), text);
        QCOMPARE(convertAlertPaneText(text, false), text);
    }

    // The window.

    void saveShowsRow_data()
    {
        QTest::addColumn<bool>("fahrenheit");
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("rowName");
        QTest::addColumn<QString>("rowText");
        // clang-format off
        QTest::newRow("celsius temperature")
            << false << "Temperature" << ">" << "30" << "30" << "TempGreaterThan" << "> 30 " + degC;
        QTest::newRow("fahrenheit temperature")
            << true << "Temperature" << "<" << "86" << "30.0" << "TempLessThan" << "< 86.0 " + degF;
        QTest::newRow("fahrenheit wind speed")
            << true << "Wind Speed" << ">" << "25" << "25" << "WindSpeedGreaterThan" << "> 25 kt";
        QTest::newRow("blank value kept")
            << false << "Visibility" << "<" << " " << " " << "VisibilityLessThan" << "<   SM";
        // clang-format on
    }
    void saveShowsRow()
    {
        QFETCH(bool, fahrenheit);
        QFETCH(QString, parameter);
        QFETCH(QString, direction);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, rowName);
        QFETCH(QString, rowText);
        setFahrenheit(fahrenheit);
        window->alertLastRaised[parameter] = Clock::nowUtc();
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        saveAlert(parameter, direction, typed);

        const QString setting = direction == ">" ? "GREATERTHAN" : "LESSTHAN";
        QCOMPARE(window->alertDefs.size(), 1);
        const AlertDef expected{parameter, setting, stored, fahrenheit ? "IMPERIAL" : "METRIC",
                                true};
        QCOMPARE(window->alertDefs.first(), expected);
        QCOMPARE(window->alertThresholds.value(parameter + "_" + setting), stored);
        QCOMPARE(window->alertActive.value(parameter), true);
        QCOMPARE(window->alertAudio.value(parameter + "_" + setting), true);
        // A new threshold is checked at the next value, whatever was raised before.
        QVERIFY(!window->alertLastRaised.value(parameter).isValid());

        QCOMPARE(valueLabel(rowName)->text(), rowText);
        QVERIFY(shown(valueLabel(rowName)));
        QCOMPARE(audioButton(rowName)->text(), QString(" Enabled"));
        QVERIFY(shown(window->findChild<QWidget*>("pushButton_delete" + rowName)));
        QVERIFY(!shown(ui()->pushButton_saveAlert));
        QVERIFY(!shown(ui()->label_noAlertsSetup));
        QVERIFY(shown(ui()->pushButton_addAlert));
        QVERIFY(shown(ui()->pushButton_returnAlertsSettings));
        QVERIFY(logLines(log).last().startsWith(
            "INFO: Adding Active Alert Config to Alerts Settings for "));
    }

    void saveRangeAndRepeats()
    {
        saveAlert("Dew Point", "set range", "20", "30", false);
        QCOMPARE(window->alertDefs.size(), 2);
        QCOMPARE(window->alertDefs.at(0),
                 (AlertDef{"Dew Point", "GREATERTHAN", "20", "METRIC", false}));
        QCOMPARE(window->alertDefs.at(1),
                 (AlertDef{"Dew Point", "LESSTHAN", "30", "METRIC", false}));
        QCOMPARE(valueLabel("DewPointLessThan")->text(), "< 30 " + degC);
        QCOMPARE(audioButton("DewPointLessThan")->text(), QString(" Disabled"));

        // No merge: both definitions stay; the maps and the row follow the later one.
        saveAlert("Dew Point", "<", "10", QString(), true);
        QCOMPARE(window->alertDefs.size(), 3);
        QCOMPARE(window->alertThresholds.value("Dew Point_LESSTHAN"), QString("10"));
        QCOMPARE(window->alertAudio.value("Dew Point_LESSTHAN"), true);
        QCOMPARE(valueLabel("DewPointLessThan")->text(), "< 10 " + degC);

        // The settings file form loads back to the same later value.
        const QJsonArray stored = alertDefsToJson(window->alertDefs);
        window->alertDefs.clear();
        window->alertThresholds.clear();
        window->loadAlerts(stored);
        QCOMPARE(window->alertDefs.size(), 3);
        QCOMPARE(window->alertThresholds.value("Dew Point_LESSTHAN"), QString("10"));
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("warning");
        const QString bothEmpty = "WARNING: Unable to save alert, one or both values are empty.";
        // clang-format off
        QTest::newRow("range second empty") << "set range" << "20" << "" << bothEmpty;
        QTest::newRow("range first empty") << "set range" << "" << "30" << bothEmpty;
        QTest::newRow("single empty")
            << "<" << "" << "" << "WARNING: Unable to save alert, no value entered.";
        // clang-format on
    }
    void saveFailures()
    {
        QFETCH(QString, direction);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, warning);
        saveAlert("Temperature", direction, first, second);
        QVERIFY(window->alertDefs.isEmpty());
        QVERIFY(window->alertThresholds.isEmpty());
        QCOMPARE(ui()->textEdit_ActiveAlerts->toPlainText(), stamp + warning + "\n");
        // Still open, reset to ">" with one empty value field.
        QVERIFY(shown(ui()->pushButton_saveAlert));
        QVERIFY(!shown(ui()->pushButton_addAlert));
        QCOMPARE(ui()->comboBox_alertThresholdSetting->currentText(), QString(">"));
        QCOMPARE(ui()->label_addalertvalue->text(), QString("Value"));
        QVERIFY(!shown(ui()->lineEdit_alertValueSettings2));
        QVERIFY(ui()->lineEdit_alertValeuSettings->text().isEmpty());
    }

    void formOpenRangeCancelAndPages()
    {
        window->on_pushButton_alertSettings_clicked();
        QCOMPARE(ui()->stackedWidget_Settings->currentIndex(), 1);
        window->on_pushButton_addAlert_clicked();
        QVERIFY(shown(ui()->comboBox_alertParameterSetting));
        QVERIFY(!shown(ui()->label_noAlertsSetup));
        QCOMPARE(ui()->label_alertvalue_units->text(), degC);
        ui()->comboBox_alertThresholdSetting->setCurrentIndex(2);
        QVERIFY(shown(ui()->lineEdit_alertValueSettings2));
        QCOMPARE(ui()->label_addalertvalue->text(), QString("Value Greater Than"));
        ui()->comboBox_alertParameterSetting->setCurrentText("Wind Speed");
        QCOMPARE(ui()->label_alertvalue_units->text(), QString("kt"));

        // Switching pages leaves the form as it was.
        window->on_pushButton_returnAlertsSettings_clicked();
        QCOMPARE(ui()->stackedWidget_Settings->currentIndex(), 0);
        window->on_pushButton_alertSettings_clicked();
        QVERIFY(shown(ui()->lineEdit_alertValueSettings2));

        window->on_pushButton_cancelAddAlert_clicked();
        QVERIFY(!shown(ui()->comboBox_alertParameterSetting));
        QVERIFY(!shown(ui()->lineEdit_alertValueSettings2));
        QVERIFY(shown(ui()->pushButton_addAlert));
        QCOMPARE(ui()->comboBox_alertParameterSetting->currentText(), QString("Temperature"));
        QVERIFY(window->alertDefs.isEmpty());
    }

    void loadStored()
    {
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        window->loadAlerts(QJsonArray());
        QVERIFY(shown(ui()->label_noAlertsSetup));
        QCOMPARE(logLines(log),
                 QStringList({"INFO: Reading Existing Alerts Config from Options File",
                              "INFO: No Alerts in Options File"}));

        log.clear();
        QJsonArray stored;
        stored.append(QJsonObject{{"parameter", "Gust Speed"},
                                  {"setting", "LESSTHAN"},
                                  {"value", "5"},
                                  {"unit", "METRIC"},
                                  {"audio", false}});
        stored.append(
            QJsonObject{{"parameter", "Fog Density"}, {"setting", "LESSTHAN"}, {"value", "1"}});
        stored.append(QJsonObject{{"parameter", "Temperature"},
                                  {"setting", "GREATERTHAN"},
                                  {"value", "30"},
                                  {"unit", "IMPERIAL"},
                                  {"audio", true}});
        setFahrenheit(true);
        window->loadAlerts(stored);
        QVERIFY(!shown(ui()->label_noAlertsSetup));
        QCOMPARE(window->alertDefs.size(), 3);
        QCOMPARE(window->alertThresholds.value("Temperature_GREATERTHAN"), QString("30"));
        QCOMPARE(window->alertActive.value("Fog Density"), true);
        QCOMPARE(
            logLines(log),
            QStringList({"INFO: Reading Existing Alerts Config from Options File",
                         "INFO: Adding Active Alert Config to Alerts Settings for Wind Gust Speed",
                         "INFO: Adding Active Alert Config to Alerts Settings for Temperature"}));
        QCOMPARE(valueLabel("WindGustSpeedLessThan")->text(), QString("< 5 kt"));
        QCOMPARE(audioButton("WindGustSpeedLessThan")->text(), QString(" Disabled"));
        QCOMPARE(valueLabel("TempGreaterThan")->text(), "> 86.0 " + degF);
        QVERIFY(!shown(valueLabel("TempLessThan")));
    }

    void audioToggle()
    {
        saveAlert("Wind Chill", ">", "5");
        saveAlert("Wind Chill", ">", "6");
        QPushButton* button = audioButton("WindChillGreaterThan");
        window->onalerts_Audio_clicked(5);
        QCOMPARE(button->text(), QString(" Disabled"));
        QCOMPARE(window->alertAudio.value("Wind Chill_GREATERTHAN"), false);
        QCOMPARE(window->alertDefs.at(0).audio || window->alertDefs.at(1).audio, false);
        window->onalerts_Audio_clicked(5);
        QCOMPARE(button->text(), QString(" Enabled"));
        QCOMPARE(window->alertDefs.at(0).audio && window->alertDefs.at(1).audio, true);

        // A button text that is neither state is reported and changes nothing.
        saveAlert("Lightning", "<", "10");
        audioButton("LightningLessThan")->setText(QString());
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        window->onalerts_Audio_clicked(32);
        QCOMPARE(ui()->textEdit_ErrorMsgs->toPlainText(),
                 stamp + "Audio for Lightning Less Than unable to toggle\n");
        QCOMPARE(logLines(log),
                 QStringList("ERROR: Audio for Lightning Less Than  unable to toggle"));
        QCOMPARE(window->alertAudio.value("Lightning_LESSTHAN"), true);
    }

    void deleteRows()
    {
        saveAlert("Temperature", "set range", "10", "30");
        saveAlert("Pressure Altitude", "<", "100");
        saveAlert("Pressure Altitude", "<", "200");
        window->alertLastRaised["Temperature"] = Clock::nowUtc();

        // Less-than row of a parameter that keeps its greater-than row.
        window->onalerts_Delete_clicked(0);
        QVERIFY(!shown(valueLabel("TempLessThan")));
        QVERIFY(shown(valueLabel("TempGreaterThan")));
        QCOMPARE(window->alertActive.value("Temperature"), true);
        QVERIFY(!window->alertLastRaised.contains("Temperature"));
        QVERIFY(!window->alertThresholds.contains("Temperature_LESSTHAN"));

        // Delete id 20 is the pressure altitude row; both duplicates go, one log line each.
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        window->onalerts_Delete_clicked(20);
        QCOMPARE(logLines(log),
                 QStringList({"INFO: Removing Active Alert Config to Alerts Settings for "
                              "Pressure Altitude",
                              "INFO: Removing Active Alert Config to Alerts Settings for "
                              "Pressure Altitude"}));
        QVERIFY(!window->alertActive.contains("Pressure Altitude"));
        QCOMPARE(window->alertDefs.size(), 1);

        // The last row empties the list.
        window->on_pushButton_addAlert_clicked();
        window->onalerts_Delete_clicked(1);
        QVERIFY(window->alertDefs.isEmpty());
        QVERIFY(window->alertActive.isEmpty());
        QVERIFY(shown(ui()->label_noAlertsSetup));
        QVERIFY(!shown(ui()->label_alertValueHeader));
        QVERIFY(!shown(ui()->scrollArea_8));
        QVERIFY(!shown(ui()->pushButton_saveAlert));
        QVERIFY(shown(ui()->pushButton_addAlert));
        QVERIFY(shown(ui()->pushButton_returnAlertsSettings));

        // An id without a row only shows the two buttons.
        ui()->pushButton_addAlert->hide();
        window->onalerts_Delete_clicked(34);
        QVERIFY(shown(ui()->pushButton_addAlert));
    }

    void unitSwitchRewritesPane()
    {
        window->displayAlertMessages("Wind Speed 30 kt is Greater Than Threshold of 25 kt");
        window->displayAlertMessages("Temperature 25.3" + degC +
                                     " is Greater Than Threshold of 20" + degC);
        window->on_pushButton_addAlert_clicked();
        setFahrenheit(true);
        window->updateAlertsUnits();
        QCOMPARE(ui()->textEdit_ActiveAlerts->toPlainText(),
                 stamp + "Temperature 77.5" + degF + " is Greater Than Threshold of 68.0" + degF +
                     "\n" + stamp + "Wind Speed 30 kt is Greater Than Threshold of 25 kt\n");
        QCOMPARE(ui()->label_alertvalue_units->text(), degF);

        ui()->comboBox_alertParameterSetting->setCurrentText("Wind Speed");
        setFahrenheit(false);
        window->updateAlertsUnits();
        QCOMPARE(ui()->label_alertvalue_units->text(), QString("kt"));
        window->on_pushButton_cancelAddAlert_clicked();
    }
};

QTEST_MAIN(TestAlertSettings)
#include "tst_alertsettings.moc"
