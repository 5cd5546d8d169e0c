// The report window and the report parts of the real main window, on one window for the whole
// suite: what the report window and the main window's status label and cancel button show of a
// transaction, the live and stored record view, the report history, the METAR page and the
// report settings.

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
#include <QTimer>

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
const char* const kPopupWidgets[] = {
    "checkBox_manual_transmit_delay", "timeEdit_ORVA_METAR_transmit_delay2",
    "label_manual_transmit_delay", "label_Timer", "pushButton_cancel_send"};

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

// Shown or hidden by the window's code, whatever page is in front.
bool visible(QWidget* widget)
{
    return !widget->isHidden();
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
    QString status() const { return ui()->label_metar_edit_status->text(); }
    bool cancelShown() const { return visible(ui()->pushbutton_metar_semiauto_cancel); }
    template <typename T = QWidget> T* popup(const char* name) const
    {
        return form()->findChild<T*>(QLatin1String(name));
    }
    QString popupText(const char* label) const { return popup<QLabel>(label)->text(); }
    // The report window's optional widgets that it shows, separated by blanks.
    QString popupShows() const
    {
        QStringList names;
        for (const char* name : kPopupWidgets)
            if (popup(name)->isVisibleTo(form()))
                names << name;
        return names.join(' ');
    }
    QStringList comboTexts() const
    {
        QStringList out;
        for (int i = 0; i < ui()->comboBoxViewMetar->count(); ++i)
            out << ui()->comboBoxViewMetar->itemText(i);
        return out;
    }
    QImage icon(int item) const
    {
        return ui()->comboBoxViewMetar->itemIcon(item).pixmap(16, 16).toImage();
    }
    // A report record arriving from the unit while the view is frozen.
    void storeReport(const QString& text, bool sent = false)
    {
        window->viewMode = 1;
        form()->on_realtime(reportRecord(text));
        if (sent)
            form()->history.markSent(text);
    }
    // The view is live, as the live item and the "Show Live Data" and "Latest" buttons leave it.
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
        ui()->timeEdit_ORVA_METAR_transmit_delay->setTime(QTime(0, 5, 0));
        popup<QCheckBox>("checkBox_manual_transmit_delay")->setChecked(false);
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

    // Made on its own, the report window leaves the widgets it borrows idle.
    void madeIdle()
    {
        QLabel status("NULL");
        MetarForm made(nullptr, &status, nullptr, nullptr, nullptr, nullptr);
        QCOMPARE(status.text(), QString());
        QCOMPARE(made.transaction.state(), ReportTransaction::State::Idle);
    }

    // A new report by mode: the report window's texts and widgets and whether it shows, the
    // status label and cancel button of the main window, and what goes to the unit.
    void startByMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("speci");
        QTest::addColumn<bool>("hidePopups");
        QTest::addColumn<QString>("information");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<int>("commands");
        const QString automatic = "AUTOMATIC MODE: The above METAR has been sent to the ORVA.";
        const QString manual =
            "MANUAL MODE: The above METAR is ready for review. The observation will not be sent "
            "unless you manually review and send via the TABLE menu.";
        const QString semi =
            "SEMI-AUTOMATIC MODE: The above METAR will be sent to the ORVA automatically when the "
            "timer expires even if this window is closed.\r\nSelect 'Cancel' below to stop the "
            "process.";
        const QString counting = "label_Timer pushButton_cancel_send";
        const QString box = "checkBox_manual_transmit_delay";
        QTest::newRow("automatic") << 0 << false << false << automatic << "" << 1;
        QTest::newRow("automatic, hidden") << 0 << false << true << automatic << "" << 1;
        QTest::newRow("automatic SPECI")
            << 0 << true << false << QString(automatic).replace("METAR", "SPECI") << "" << 1;
        QTest::newRow("manual") << 1 << false << false << manual << box << 0;
        QTest::newRow("manual SPECI")
            << 1 << true << false << QString(manual).replace("METAR", "SPECI") << box << 0;
        QTest::newRow("semi-automatic") << 2 << false << false << semi << counting << 0;
        QTest::newRow("semi-automatic SPECI, hidden")
            << 2 << true << true << QString(semi).replace("METAR", "SPECI") << counting << 0;
        // An unknown mode leaves the window as it was and does not show it.
        QTest::newRow("unknown mode") << 5 << false << false << ""
                                      << "" << 0;
    }
    void startByMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, speci);
        QFETCH(bool, hidePopups);
        QFETCH(QString, information);
        QFETCH(QString, shows);
        QFETCH(int, commands);
        // A previous manual transaction left the delay box checked and its editor shown.
        popup<QCheckBox>("checkBox_manual_transmit_delay")->click();
        const QString before = popupText("labelInformation");
        const QString shownBefore = popupShows();
        form()->on_metar_mode_change(static_cast<ORVAMetarMode>(mode));
        ui()->checkBox_hideMETARModePopUp->setChecked(hidePopups);
        QSignalSpy sent(form(), &MetarForm::send_metar);
        const QString text = speci ? S1 : M1;
        if (speci)
            form()->on_speci_generated(reportRecord(text, true));
        else
            form()->on_metar_generated(reportRecord(text));

        QCOMPARE(form()->isVisible(), !hidePopups && mode != 5);
        QCOMPARE(form()->showPopup, !hidePopups);
        QCOMPARE(popupText("labelMETARCandidate"), text);
        QCOMPARE(popupText("labelInformation"), mode == 5 ? before : information);
        QCOMPARE(popupShows(), mode == 5 ? shownBefore : shows);
        if (mode == 1)
            QVERIFY(!popup<QCheckBox>("checkBox_manual_transmit_delay")->isChecked());
        if (mode == 2)
            QCOMPARE(popupText("label_Timer"), QString("05:00"));
        QCOMPARE(status(), QString(mode == 2 ? "Sending in: 05:00" : ""));
        QCOMPARE(cancelShown(), mode == 2);
        QCOMPARE(form()->countdownTimer->isActive(), mode == 2);
        QCOMPARE(sent.size(), commands);
    }

    // A semi-automatic countdown drives the status label, the report window's timer and the
    // cancel button; each way of ending it: what goes to the unit, and whether the window stays.
    void countdownEnds_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("sent"); // the report that goes to the unit in the end
        QTest::addColumn<bool>("open");    // the report window at the end
        QTest::addColumn<QString>("message");
        const QString complete = "SEMIAUTOMATIC MODE: transmit delay timer complete with no user "
                                 "review. Sending unedited METAR'" +
                                 M1 + "'.";
        const QString cancelled = "SEMIAUTOMATIC MODE: User manually cancelled METAR/SPECI send.";
        QTest::newRow("to 0:00") << "" << M1 << false << complete;
        QTest::newRow("Ignore only closes") << "pushButton_ignoreMETAR" << M1 << false << complete;
        QTest::newRow("Review, then the reviewed text")
            << "review" << M1 + " TSNO" << false
            << "SEMIAUTOMATIC MODE: Review complete and submitted for transmit";
        QTest::newRow("window's Cancel Send") << "pushButton_cancel_send"
                                              << "" << false << cancelled;
        QTest::newRow("main window's CANCEL") << "outside"
                                              << "" << false << cancelled;
        QTest::newRow("mode change: the window stays")
            << "mode"
            << "" << true << "METAR mode changed to 'Manual'.";
    }
    void countdownEnds()
    {
        QFETCH(QString, action);
        QFETCH(QString, sent);
        QFETCH(bool, open);
        QFETCH(QString, message);
        QCOMPARE(form()->countdownTimer->interval(), 1000);
        ui()->radioButtonORVAMETAR_Semiauto->click();
        ui()->timeEdit_ORVA_METAR_transmit_delay->setTime(QTime(0, 0, 3));
        form()->on_metar_generated(reportRecord(M1));
        QCOMPARE(popupText("label_Timer"), QString("00:03"));
        form()->on_timer_tick();
        QCOMPARE(status(), QString("Sending in: 00:02"));
        QCOMPARE(popupText("label_Timer"), QString("00:02"));
        QVERIFY(cancelShown());
        QSignalSpy infos(form(), &MetarForm::info);
        if (action == "review") {
            storeReport(M1);
            popup<QPushButton>("pushButton_editMETAR")->click();
            QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 1); // brought forward
            QVERIFY(form()->countdownTimer->isActive());
            form()->on_send_metar_manual_or_semiauto(
                Observation{reportRecord(sent), kNow, false, true});
        } else if (action == "outside") {
            ui()->pushbutton_metar_semiauto_cancel->click();
        } else if (action == "mode") {
            ui()->radioButtonORVAMETAR_Manual->click();
        } else if (!action.isEmpty()) {
            popup<QPushButton>(qPrintable(action))->click();
        }
        for (int tick = 0; tick < 5; ++tick)
            form()->on_timer_tick();
        QCOMPARE(infos.at(0).at(0).toString(), message);
        QList<QByteArray> commands;
        if (!sent.isEmpty())
            commands << ("send " + sent + "\r").toUtf8();
        QCOMPARE(window->commandQueue, commands);
        if (sent == M1)
            QCOMPARE(popupText("label_Timer"), QString("00:00"));
        QCOMPARE(form()->isVisible(), open);
        QVERIFY(!form()->countdownTimer->isActive());
        QVERIFY(!cancelShown());
        QCOMPARE(status(), QString());
    }

    // Manual mode: the delay box shows the editor set to the main window's delay; Review takes
    // its time, or, when the window was only closed, the editor's time goes with the send.
    void manualDelay_data()
    {
        QTest::addColumn<bool>("review");
        QTest::addColumn<int>("ticks");
        QTest::newRow("Review took 1:30") << true << 90;
        QTest::newRow("Ignore: the editor's 0:04") << false << 4;
    }
    void manualDelay()
    {
        QFETCH(bool, review);
        QFETCH(int, ticks);
        ui()->radioButtonORVAMETAR_Manual->click();
        ui()->timeEdit_ORVA_METAR_transmit_delay->setTime(QTime(0, 2, 15));
        form()->on_metar_generated(reportRecord(M1));
        auto* box = popup<QCheckBox>("checkBox_manual_transmit_delay");
        auto* editor = popup<QTimeEdit>("timeEdit_ORVA_METAR_transmit_delay2");
        box->click();
        QCOMPARE(popupShows(), QString("checkBox_manual_transmit_delay "
                                       "timeEdit_ORVA_METAR_transmit_delay2 "
                                       "label_manual_transmit_delay"));
        QCOMPARE(editor->time(), QTime(0, 2, 15));
        QCOMPARE(popupText("labelInformation"),
                 QString("MANUAL MODE: The above METAR is ready for review. The observation will "
                         "not be sent unless you manually review and send (with transmit delay) "
                         "via the TABLE menu."));
        box->click();
        QCOMPARE(popupShows(), QString("checkBox_manual_transmit_delay"));
        QVERIFY(popupText("labelInformation").endsWith("send via the TABLE menu."));
        box->click();

        editor->setTime(review ? QTime(0, 1, 30) : QTime(0, 0, 4));
        popup<QPushButton>(review ? "pushButton_editMETAR" : "pushButton_ignoreMETAR")->click();
        QVERIFY(!form()->isVisible());
        QCOMPARE(form()->manualDelay, review ? QTime(0, 1, 30) : QTime());
        editor->setTime(QTime(0, 0, 4));
        QSignalSpy sent(form(), &MetarForm::send_metar);
        form()->on_send_metar_manual_or_semiauto(Observation{reportRecord(M1), kNow, false, true});
        QVERIFY(form()->countdownTimer->isActive());
        QVERIFY(!cancelShown());
        for (int tick = 1; tick < ticks; ++tick)
            form()->on_timer_tick();
        QVERIFY(sent.isEmpty());
        form()->on_timer_tick();
        QCOMPARE(sent.size(), 1);
    }

    // Records only feed the history while a stored report is shown; picking a stored item
    // freezes the view on it and stores nothing again.
    void frozenView()
    {
        form()->on_realtime(weatherRecord(M1));
        QCOMPARE(shown(), M1);
        window->viewMode = 1;
        clock->advanceSecs(30);
        form()->on_realtime(weatherRecord(M2));
        form()->on_realtime(reportRecord(S1, true));
        QCOMPARE(comboTexts(), (QStringList{kLive, S1}));
        QCOMPARE(shown(), M1);
        QCOMPARE(form()->observationAt(0).time, kNow.addSecs(30));
        QCOMPARE(form()->realtime.record, reportRecord(S1, true));
        QCOMPARE(form()->realtime.time, kNow.addSecs(30));
        QCOMPARE(form()->transaction.state(), ReportTransaction::State::Idle);

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
        // The live item re-shows the record before the status text changes, so the status bar
        // shows it from the next record on; the show-live button sets it first.
        QTest::addColumn<QString>("statusAtOnce");
        QTest::newRow("live item") << "item"
                                   << "";
        QTest::newRow("Show Live Data") << "pushButton_show_live_data"
                                        << "Received Weather Data";
        QTest::newRow("Latest") << "pushButton_viewLatest"
                                << "";
    }
    void backToLive()
    {
        QFETCH(QString, way);
        QFETCH(QString, statusAtOnce);
        storeReport(M1);
        form()->on_realtime(reportRecord(M2));
        ui()->comboBoxViewMetar->setCurrentIndex(1);
        QCOMPARE(shown(), M1);
        ui()->pushButton_viewLatest->show();
        window->connectionStatusText.clear();
        window->connectionStatusLabel.clear();
        if (way == "item")
            ui()->comboBoxViewMetar->setCurrentIndex(0);
        else
            window->findChild<QPushButton*>(way)->click();
        verifyLive();
        QCOMPARE(shown(), M2);
        QCOMPARE(comboTexts(), (QStringList{kLive, M1, M2}));
        QVERIFY(!window->showingStoredRecord);
        QCOMPARE(window->connectionStatusLabel.text(), statusAtOnce);
        form()->on_realtime(weatherRecord(M2));
        QCOMPARE(window->connectionStatusLabel.text(), QString("Received Weather Data"));
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

    // Entries 24 hours old go from the front with their items, and the sent ones get the icon;
    // the shown report stays on show; with the last one gone the live record is shown.
    void prune()
    {
        form()->on_realtime(weatherRecord(M2));
        storeReport("A", true);
        clock->advanceSecs(1);
        storeReport(M1);
        clock->advanceSecs(59);
        storeReport(S1, true);
        clock->advanceSecs(-100000);
        storeReport("D"); // behind a younger entry: stays
        clock->set(kNow.addSecs(86401));
        ui()->comboBoxViewMetar->setCurrentIndex(3);
        QCOMPARE(shown(), S1);
        form()->pruneObservations();
        QCOMPARE(comboTexts(), (QStringList{kLive, S1, "D"}));
        QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 1);
        QCOMPARE(shown(), S1);
        QCOMPARE(window->viewMode, 1);
        QCOMPARE(icon(1), QIcon(":/resources/icon_updated.png").pixmap(16, 16).toImage());
        QVERIFY(ui()->comboBoxViewMetar->itemIcon(0).isNull());
        QVERIFY(ui()->comboBoxViewMetar->itemIcon(2).isNull());

        clock->advanceSecs(60);
        form()->pruneObservations();
        QCOMPARE(comboTexts(), QStringList{kLive});
        QCOMPARE(window->viewMode, 0);
        QCOMPARE(shown(), QString("D")); // the latest record
        QVERIFY(form()->observationAt(0).record.isEmpty());
        QVERIFY(form()->observationAt(-1).record.isEmpty());
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
        QTest::newRow("first stored item, frozen") << 1 << true << M1;
        QTest::newRow("last stored item, frozen") << 2 << true << M2;
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
        const Observation expected =
            source == S1 ? form()->realtime : form()->observationAt(item - 1);
        QCOMPARE(window->editObservation.record, expected.record);
        QCOMPARE(window->editObservation.time, expected.time);
        QCOMPARE(reportText(window->editObservation.record), source);

        // Back to live data: the live record is on show, whichever item was current.
        window->on_pushButton_cancelSaveMetar_clicked();
        ui()->pushButton_show_live_data->click();
        QCOMPARE(window->viewMode, 0);
        QCOMPARE(ui()->label_Metar->text(), S1);
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

    // The mode buttons set the mode and show the delay row; a click on the mode in use drops a
    // running countdown too.
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
        QVERIFY(cancelShown());
        QSignalSpy infos(form(), &MetarForm::info);
        const QList<QWidget*> delayRow = {ui()->label_ORVA_METAR_transmit_delay,
                                          ui()->timeEdit_ORVA_METAR_transmit_delay,
                                          ui()->label_ORVA_METAR_transmit_delay_2};
        for (QWidget* widget : delayRow)
            widget->hide();
        window->findChild<QAbstractButton*>("radioButtonORVAMETAR_" + button)->click();
        QCOMPARE(int(form()->mode()), mode);
        QCOMPARE(infos.at(0).at(0).toString(), info);
        QVERIFY(!form()->countdownTimer->isActive());
        QCOMPARE(status(), QString());
        QVERIFY(!cancelShown());
        for (QWidget* widget : delayRow)
            QCOMPARE(visible(widget), mode != 0);
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
