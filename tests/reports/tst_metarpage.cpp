// The report parts of the real main window, on one window for the whole suite: the live and
// stored record view, the report history, the METAR page and the report settings.

#include "tests/support/testsupport.h"

#include "alerts/alertsound.h"
#include "app/maingui.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"
#include "tests/support/scopedclock.h"

#include <QMediaPlayer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace
{

const QString kLive = QStringLiteral("Latest (Auto-Refresh)");
const QString kCurrent = QStringLiteral("Displaying Current Weather Data");
const QString kHistorical = QStringLiteral("Displaying Historical Weather Data");
const QString M1 = QStringLiteral("METAR KVDS 051755Z 27010KT 10SM CLR 21/08 A3002 RMK AO2");
const QString M2 = QStringLiteral("METAR KVDS 051855Z 28012KT 10SM FEW050 22/08 A3001 RMK AO2");
const QString S1 =
    QStringLiteral("SPECI KVDS 051812Z 27015G25KT 3SM -RA BKN008 19/12 A2998 RMK AO2");
const QDateTime kNow(QDate(2024, 3, 5), QTime(17, 55, 0));

QJsonObject weatherRecord(const QString& report, const QString& temperature = "21.0")
{
    return QJsonObject{{"METAR", report},
                       {"Obs METAR", false},
                       {"Obs SPECI", false},
                       {"Temperature", temperature}};
}

QJsonObject reportRecord(const QString& report, bool speci = false)
{
    QJsonObject record = weatherRecord(report);
    record.insert(speci ? "Obs SPECI" : "Obs METAR", true);
    return record;
}

} // namespace

class TestMetarPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainGUI> window;
    std::unique_ptr<ScopedClock> clock;

    Ui_MainGUI* ui() const { return window->ui; }
    MetarForm* form() const { return window->metarForm; }
    QString shown() const { return ui()->label_Metar->text(); }
    QStringList comboTexts() const
    {
        QStringList out;
        for (int i = 0; i < ui()->comboBoxViewMetar->count(); ++i)
            out << ui()->comboBoxViewMetar->itemText(i);
        return out;
    }
    // Shown or hidden by the window's code, whatever page is in front.
    static bool visible(QWidget* widget) { return !widget->isHidden(); }
    // A report record arriving from the unit while the view is frozen.
    void storeReport(const QString& text)
    {
        window->viewMode = 1;
        form()->on_realtime(reportRecord(text));
    }
    // The view is live again, as the live item, the "Show Live Data" and "Latest" buttons leave
    // it.
    void verifyLive()
    {
        QCOMPARE(window->viewMode, 0);
        QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 0);
        QVERIFY(!visible(ui()->pushButton_show_live_data));
        QVERIFY(!visible(ui()->pushButton_viewLatest));
        QCOMPARE(ui()->label_currentObsType->text(), kCurrent);
        QCOMPARE(window->connectionStatusText, QString("Received Weather Data"));
    }

private slots:
    void initTestCase()
    {
        initFormResources();
        window = std::make_unique<MainGUI>();
        window->deviceType = DeviceTypes::ORVA;
    }
    void cleanupTestCase() { window.reset(); }

    // What a case changes goes back to how the first page layout leaves it.
    void init()
    {
        clock = std::make_unique<ScopedClock>(kNow);
        ui()->radioButtonORVAMETAR_Auto->click();
        ui()->checkBox_hideMETARModePopUp->setChecked(false);
        window->on_checkBox_hideMETARModePopUp_clicked();
        ui()->checkBox_SPECI_alerts->setChecked(false);
        window->on_checkBox_SPECI_alerts_clicked();
        form()->close();
        form()->history = ReportHistory();
        form()->realtime = Observation();
        form()->manualDelay = QTime();
        window->loggingType = LoggingType::Default;
        window->viewMode = 0;
        window->commandQueue.clear();
        ui()->stacked_METAR->setCurrentIndex(0);
        ui()->label_Metar->clear();
        ui()->comboBoxViewMetar->clear();
        ui()->comboBoxViewMetar->addItem(kLive);
        verifyLive();
    }
    void cleanup() { clock.reset(); }

    // Records only feed the history while a stored report is shown; picking a stored item
    // freezes the view on it and stores nothing again.
    void frozenView()
    {
        form()->on_realtime(weatherRecord(M1));
        QCOMPARE(shown(), M1);
        window->viewMode = 1;
        form()->on_realtime(weatherRecord(M2));
        form()->on_realtime(reportRecord(S1, true));
        QCOMPARE(comboTexts(), (QStringList{kLive, S1}));
        QCOMPARE(shown(), M1);
        QCOMPARE(form()->observationAt(0).time, kNow);
        QCOMPARE(form()->realtime.record, reportRecord(S1, true));

        window->viewMode = 0;
        window->connectionStatusText = "before";
        ui()->pushButton_viewLatest->show();
        ui()->comboBoxViewMetar->setCurrentIndex(1);
        QCOMPARE(shown(), S1);
        QCOMPARE(window->viewMode, 1);
        QVERIFY(visible(ui()->pushButton_show_live_data));
        QCOMPARE(ui()->label_currentObsType->text(), kHistorical);
        QVERIFY(!window->showingStoredRecord);
        QCOMPARE(comboTexts(), (QStringList{kLive, S1}));
        QVERIFY(visible(ui()->pushButton_viewLatest));
        QCOMPARE(window->connectionStatusText, QString("before"));
    }

    // Each way back to live shows the latest record, which must not be stored twice.
    void backToLive_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("live item") << "item";
        QTest::newRow("Show Live Data") << "pushButton_show_live_data";
        QTest::newRow("Latest") << "pushButton_viewLatest";
    }
    void backToLive()
    {
        QFETCH(QString, way);
        storeReport(M1);
        form()->on_realtime(reportRecord(M2));
        ui()->comboBoxViewMetar->setCurrentIndex(1);
        QCOMPARE(shown(), M1);
        ui()->pushButton_viewLatest->show();
        window->connectionStatusText.clear();
        if (way == "item")
            ui()->comboBoxViewMetar->setCurrentIndex(0);
        else
            window->findChild<QPushButton*>(way)->click();
        verifyLive();
        QCOMPARE(shown(), M2);
        QCOMPARE(comboTexts(), (QStringList{kLive, M1, M2}));
        QVERIFY(!window->showingStoredRecord);
    }

    void debugLines_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("Default") << 0 << QStringList{};
        QTest::newRow("Data") << 1 << QStringList{};
        QTest::newRow("Debug") << 2
                               << QStringList{"DEBUG: Show Selected Observation Data (Live Data "
                                              "disabled)",
                                              "DEBUG: Showing Live Data",
                                              "DEBUG: Showing Live Data"};
    }
    void debugLines()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, lines);
        storeReport(M1);
        window->loggingType = static_cast<LoggingType>(mode);
        QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
        ui()->comboBoxViewMetar->setCurrentIndex(1);
        // The button logs, then its selection of the live item logs again.
        ui()->pushButton_show_live_data->click();
        QStringList seen;
        for (const QList<QVariant>& call : logged)
            seen << call.at(0).toString();
        QCOMPARE(seen, lines);
    }

    void droppedReportMovesTheSelection()
    {
        form()->on_realtime(weatherRecord(M2));
        storeReport(M1);
        clock->advanceSecs(60);
        storeReport(S1);
        ui()->comboBoxViewMetar->setCurrentIndex(1);
        QCOMPARE(shown(), M1);

        // M1 turns 24 hours old: its item goes and the next report is shown in its place.
        clock->advanceSecs(86400 - 60);
        form()->pruneObservations();
        QCOMPARE(comboTexts(), (QStringList{kLive, S1}));
        QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 1);
        QCOMPARE(shown(), S1);
        QCOMPARE(window->viewMode, 1);

        // The last one goes: the live record is shown.
        clock->advanceSecs(60);
        form()->pruneObservations();
        QCOMPARE(comboTexts(), QStringList{kLive});
        QCOMPARE(window->viewMode, 0);
        QCOMPARE(shown(), S1);
    }

    // Live records: report records join the history once per text, unsent and unedited.
    void historyTakesReportRecordsOnce_data()
    {
        QTest::addColumn<QList<QJsonObject>>("records");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("ordinary records")
            << QList<QJsonObject>{weatherRecord(M1), weatherRecord(M2)} << QStringList{kLive};
        QTest::newRow("METAR and SPECI")
            << QList<QJsonObject>{weatherRecord(M2), reportRecord(M1), reportRecord(S1, true)}
            << QStringList{kLive, M1, S1};
        QTest::newRow("the same text twice")
            << QList<QJsonObject>{reportRecord(M1), reportRecord(M1), reportRecord(M1, true)}
            << QStringList{kLive, M1};
        QTest::newRow("the live item's text is never stored")
            << QList<QJsonObject>{reportRecord(kLive)} << QStringList{kLive};
    }
    void historyTakesReportRecordsOnce()
    {
        QFETCH(QList<QJsonObject>, records);
        QFETCH(QStringList, items);
        for (const QJsonObject& record : records)
            form()->on_realtime(record);
        QCOMPARE(shown(), records.last().value("METAR").toString());
        QCOMPARE(comboTexts(), items);
        QCOMPARE(form()->history.size(), items.size() - 1);
        for (int i = 1; i < items.size(); ++i) {
            const Observation stored = form()->observationAt(i - 1);
            QCOMPARE(reportText(stored.record), items.at(i));
            QVERIFY(!stored.edited && !stored.sent);
        }
        verifyLive();
    }

    // With report alerts on, each new report sounds once; records, repeats and edits never.
    void reportAlertSoundsOncePerReport()
    {
        window->alertSound = makeAlertSoundPlayer();
        QMediaPlayer* player = window->alertSound;
        QSignalSpy states(player, &QMediaPlayer::stateChanged);
        window->update_METAR_hist(reportRecord(M1));
        ui()->checkBox_SPECI_alerts->click();
        window->update_METAR_hist(weatherRecord(M2));
        QCOMPARE(states.count(), 0);
        window->update_METAR_hist(reportRecord(S1, true));
        QCOMPARE(player->state(), QMediaPlayer::PlayingState);
        player->stop();
        states.clear();
        window->update_METAR_hist(reportRecord(S1, true));
        window->on_pushButton_editMetar_clicked();
        ui()->lineEdit_Metar->setText(M2 + " TSNO");
        window->on_pushButton_saveMetar_clicked();
        QCOMPARE(form()->history.size(), 3);
        QCoreApplication::processEvents();
        QCOMPARE(states.count(), 0);
        window->alertSound = nullptr;
        delete player;
    }

    void editStartsFromTheReportOnShow_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("frozen");
        QTest::addColumn<QString>("source");
        QTest::newRow("live view") << 0 << false << S1;
        QTest::newRow("stored item, frozen") << 2 << true << M2;
        QTest::newRow("frozen with the live item current") << 0 << true << S1;
    }
    void editStartsFromTheReportOnShow()
    {
        QFETCH(int, item);
        QFETCH(bool, frozen);
        QFETCH(QString, source);
        storeReport(M1);
        storeReport(M2);
        clock->advanceSecs(30);
        window->viewMode = 0;
        form()->on_realtime(weatherRecord(S1, "19.0"));
        ui()->comboBoxViewMetar->setCurrentIndex(item);
        window->viewMode = frozen ? 1 : 0;
        ui()->label_Metar->setText("shown text");

        window->on_pushButton_editMetar_clicked();
        QCOMPARE(ui()->lineEdit_Metar->text(), QString("shown text"));
        QCOMPARE(ui()->stacked_METAR->currentIndex(), 1);
        QCOMPARE(window->viewMode, 1);
        QVERIFY(visible(ui()->pushButton_show_live_data));
        QCOMPARE(ui()->label_currentObsType->text(), kHistorical);
        QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), item);
        const Observation expected = source == S1 ? form()->realtime : form()->observationAt(1);
        QCOMPARE(window->editObservation.record, expected.record);
        QCOMPARE(window->editObservation.time, expected.time);
        QCOMPARE(reportText(window->editObservation.record), source);
    }

    // The edit page's buttons on a stored report: what is stored, sent and shown after.
    void editButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // the new last item; empty: nothing stored
        QTest::addColumn<QString>("message");
        const QString offcycle = "Offcycle Observation sent to ORVA: '%1'.";
        QTest::newRow("save unchanged") << "saveMetar" << M1 << ""
                                        << "";
        QTest::newRow("save changed") << "saveMetar" << M1 + " TSNO" << M1 + " TSNO"
                                      << "";
        QTest::newRow("save and send unchanged: stored again, sent")
            << "saveAndSendMetar" << M1 << M1 << offcycle.arg(M1);
        QTest::newRow("save and send, line breaks as blanks")
            << "saveAndSendMetar"
            << "METAR KVDS\r\n051755Z\nAUTO"
            << "METAR KVDS 051755Z AUTO" << offcycle.arg("METAR KVDS 051755Z AUTO");
        QTest::newRow("save and send blank: stored, never sent")
            << "saveAndSendMetar"
            << "  "
            << "  "
            << "METAR/SPECI not sent: the report text is empty.";
        QTest::newRow("cancel") << "cancelSaveMetar"
                                << "changed"
                                << ""
                                << "";
    }
    void editButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        storeReport(M1);
        ui()->comboBoxViewMetar->setCurrentIndex(1);
        window->on_pushButton_editMetar_clicked();
        QCOMPARE(ui()->lineEdit_Metar->text(), M1);
        clock->advanceSecs(120);
        ui()->lineEdit_Metar->setText(typed);
        QSignalSpy infos(form(), &MetarForm::info);
        QSignalSpy errors(form(), &MetarForm::error);

        window->findChild<QPushButton*>("pushButton_" + button)->click();
        QStringList messages;
        for (const QSignalSpy* spy : {&infos, &errors})
            for (const QList<QVariant>& call : *spy)
                messages << call.at(0).toString();
        QCOMPARE(ui()->stacked_METAR->currentIndex(), 0);
        QStringList items{kLive, M1};
        if (!stored.isEmpty())
            items << stored;
        QCOMPARE(comboTexts(), items);
        QCOMPARE(messages, message.isEmpty() ? QStringList() : QStringList{message});
        QList<QByteArray> commands;
        if (message.startsWith("Offcycle"))
            commands << ("send " + stored + "\r").toUtf8();
        QCOMPARE(window->commandQueue, commands);
        if (button == "cancelSaveMetar") {
            QCOMPARE(window->viewMode, 1); // the view stays frozen
            QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 1);
            return;
        }
        QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), comboTexts().size() - 1);
        QCOMPARE(shown(), stored.isEmpty() ? M1 : stored);
        if (stored.isEmpty())
            return;
        const Observation entry = form()->observationAt(1);
        QCOMPARE(entry.record.value("Temperature").toString(), QString("21.0"));
        QCOMPARE(entry.time, kNow.addSecs(120));
        QVERIFY(entry.edited && !entry.sent);
        QVERIFY(ui()->comboBoxViewMetar->itemIcon(2).isNull());
    }

    // The echo marks the first entry with its text; the operator's copy of a sent report is a
    // new, unsent entry.
    void echoMarksTheOlderEntry()
    {
        storeReport(M1);
        ui()->comboBoxViewMetar->setCurrentIndex(1);
        window->on_pushButton_editMetar_clicked();
        window->on_pushButton_saveAndSendMetar_clicked();
        form()->on_send_metar_confirmed("send " + M1);
        QVERIFY(form()->observationAt(0).sent);
        QVERIFY(!form()->observationAt(1).sent);
        QVERIFY(!ui()->comboBoxViewMetar->itemIcon(1).isNull());

        ui()->comboBoxViewMetar->setCurrentIndex(1);
        window->on_pushButton_editMetar_clicked();
        QVERIFY(window->editObservation.sent);
        ui()->lineEdit_Metar->setText(M1 + " TSNO");
        window->on_pushButton_saveMetar_clicked();
        QVERIFY(!form()->observationAt(2).sent);
        QVERIFY(ui()->comboBoxViewMetar->itemIcon(3).isNull());
    }

    // "Review" on the report window brings its report forward on the table page.
    void reviewBringsTheReportForward_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("item");
        QTest::newRow("stored report") << M2 << 2;
        QTest::newRow("twice stored: the older") << M1 << 1;
        QTest::newRow("not stored") << S1 << 0;
        QTest::newRow("case differs") << M2.toLower() << 0;
    }
    void reviewBringsTheReportForward()
    {
        QFETCH(QString, text);
        QFETCH(int, item);
        storeReport(M1);
        storeReport(M2);
        form()->history.append(Observation{reportRecord(M1), kNow, false, true});
        ui()->comboBoxViewMetar->addItem(M1);
        window->viewMode = 0;
        ui()->stackedWidget_mainPages->setCurrentWidget(ui()->pageSettings);
        ui()->pushButtonSettings->setChecked(true);

        emit form()->metar_ready_for_review(text);
        QCOMPARE(ui()->stackedWidget_mainPages->currentWidget(), ui()->pageTable);
        QVERIFY(ui()->pushButtonTable->isChecked());
        QVERIFY(!ui()->pushButtonSettings->isChecked());
        QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), item);
        QCOMPARE(window->viewMode, item > 0 ? 1 : 0);
    }

    // The mode buttons set the mode, show the delay row, and a click on the mode in use drops a
    // running countdown from the main window's status label and cancel button too.
    void modeButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("info");
        QTest::newRow("Automatic") << "Auto" << 0 << "METAR mode changed to 'Automatic'.";
        QTest::newRow("Manual") << "Manual" << 1 << "METAR mode changed to 'Manual'.";
        QTest::newRow("Semi-Automatic")
            << "Semiauto" << 2 << "METAR mode changed to 'Semi-Automatic'.";
    }
    void modeButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, mode);
        QFETCH(QString, info);
        ui()->radioButtonORVAMETAR_Semiauto->click();
        ui()->checkBox_hideMETARModePopUp->click();
        form()->on_metar_generated(reportRecord(M1));
        QCOMPARE(ui()->label_metar_edit_status->text(), QString("Sending in: 05:00"));
        QVERIFY(visible(ui()->pushbutton_metar_semiauto_cancel));
        QSignalSpy infos(form(), &MetarForm::info);

        window->findChild<QAbstractButton*>("radioButtonORVAMETAR_" + button)->click();
        QCOMPARE(int(form()->mode()), mode);
        QCOMPARE(infos.at(0).at(0).toString(), info);
        QVERIFY(!form()->countdownTimer->isActive());
        QCOMPARE(ui()->label_metar_edit_status->text(), QString());
        QVERIFY(!visible(ui()->pushbutton_metar_semiauto_cancel));
        for (QWidget* row : {static_cast<QWidget*>(ui()->label_ORVA_METAR_transmit_delay),
                             static_cast<QWidget*>(ui()->timeEdit_ORVA_METAR_transmit_delay),
                             static_cast<QWidget*>(ui()->label_ORVA_METAR_transmit_delay_2)})
            QCOMPARE(visible(row), mode != 0);
    }

    // "Hide pop-ups" closes the report window and keeps it closed, the transaction goes on;
    // "Report alerts" follows its box.
    void settingsBoxes()
    {
        ui()->radioButtonORVAMETAR_Manual->click();
        form()->on_metar_generated(reportRecord(M1));
        QVERIFY(form()->isVisible());
        ui()->checkBox_hideMETARModePopUp->click();
        QVERIFY(!form()->showPopup && !window->showMetarPopups);
        QVERIFY(!form()->isVisible());
        QCOMPARE(form()->transaction.state(), ReportTransaction::State::AwaitingReview);
        form()->show();
        ui()->checkBox_hideMETARModePopUp->click();
        QVERIFY(form()->showPopup && window->showMetarPopups);
        QVERIFY(form()->isVisible());

        ui()->checkBox_SPECI_alerts->click();
        QVERIFY(window->speciAlerts);
        ui()->checkBox_SPECI_alerts->click();
        QVERIFY(!window->speciAlerts);
    }
};

QTEST_MAIN(TestMetarPage)
#include "tst_metarpage.moc"
