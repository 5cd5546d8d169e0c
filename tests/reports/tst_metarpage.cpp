#include "tests/support/testsupport.h"

#include "alerts/alertsound.h"
#include "app/maingui.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"
#include "tests/support/scopedclock.h"

#include <QFile>
#include <QMediaPlayer>
#include <QSignalSpy>
#include <QStandardPaths>
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

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Live and stored record view
    void liveItemBeforeAnyRecord();
    void frozenViewOnlyFeedsTheHistory();
    void storedItemIsShownFrozen();
    void liveItemShowsTheLiveRecordAgain();
    void showLiveButtonReturnsToLive();
    void latestButtonSelectsTheLiveItem();
    void debugLinesOnlyInDebugMode_data();
    void debugLinesOnlyInDebugMode();
    void droppedReportMovesTheSelection();
    void liveRecordsJoinTheHistory();

    // Report history
    void historyTakesReportRecordsOnce_data();
    void historyTakesReportRecordsOnce();
    void reportAlertSoundsOncePerReport();

    // METAR page
    void editStartsFromTheReportOnShow_data();
    void editStartsFromTheReportOnShow();
    void saveUnchangedStoresNothing();
    void saveChangedStoresAnEditedEntry();
    void saveAndSendStoresAndSends();
    void editedLineBreaksBecomeBlanks();
    void editedCopyOfASentReportStartsUnsent();
    void cancelOnlyLeavesTheEditPage();
    void reviewBringsTheReportForward_data();
    void reviewBringsTheReportForward();
    void modeButtons_data();
    void modeButtons();
    void sameModeAgainDropsTheTransaction();
    void hidePopups();
    void reportAlertsBox();

private:
    Ui_MainGUI* ui() const { return window->ui; }
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
        window->metarForm->on_realtime(reportRecord(text));
    }

    std::unique_ptr<MainGUI> window;
    std::unique_ptr<ScopedClock> clock;
};

void TestMetarPage::initTestCase()
{
    initFormResources();
}

void TestMetarPage::init()
{
    // Each window starts from the built-in settings, not from what the last one saved.
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                  QStringLiteral("/options_json.json"));
    clock = std::make_unique<ScopedClock>(kNow);
    window = std::make_unique<MainGUI>();
    window->deviceType = DeviceTypes::ORVA;
    window->loggingType = LoggingType::Default;
    // What the first page layout does: the live item, which the combo makes current.
    ui()->comboBoxViewMetar->addItem(kLive);
}

void TestMetarPage::cleanup()
{
    window.reset();
    clock.reset();
}

void TestMetarPage::liveItemBeforeAnyRecord()
{
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 0);
    QCOMPARE(window->viewMode, 0);
    QVERIFY(!visible(ui()->pushButton_show_live_data));
    QVERIFY(!visible(ui()->pushButton_viewLatest));
    QCOMPARE(ui()->label_currentObsType->text(), kCurrent);
    QCOMPARE(window->connectionStatusText, QString("Received Weather Data"));
    QVERIFY(shown().isEmpty());
    QVERIFY(window->metarForm->history.isEmpty());
}

void TestMetarPage::frozenViewOnlyFeedsTheHistory()
{
    window->metarForm->on_realtime(weatherRecord(M1));
    window->viewMode = 1;
    const QString before = shown();

    window->metarForm->on_realtime(weatherRecord(M2));
    QCOMPARE(comboTexts(), QStringList{kLive});

    window->metarForm->on_realtime(reportRecord(S1, true));
    QCOMPARE(comboTexts(), (QStringList{kLive, S1}));
    QCOMPARE(window->metarForm->history.size(), 1);
    QCOMPARE(window->metarForm->observationAt(0).time, kNow);
    QVERIFY(!window->metarForm->observationAt(0).sent);
    QCOMPARE(shown(), before);
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 0);
    // The form keeps the latest record whatever the view.
    QCOMPARE(window->metarForm->realtime.record, reportRecord(S1, true));
}

void TestMetarPage::storedItemIsShownFrozen()
{
    storeReport(M1);
    storeReport(M2);
    window->viewMode = 0;
    window->connectionStatusText = "before";
    ui()->pushButton_viewLatest->show();

    ui()->comboBoxViewMetar->setCurrentIndex(1);
    QCOMPARE(window->viewMode, 1);
    QVERIFY(visible(ui()->pushButton_show_live_data));
    QCOMPARE(ui()->label_currentObsType->text(), kHistorical);
    QCOMPARE(shown(), M1);
    QVERIFY(!window->showingStoredRecord);
    // Showing a stored report again stores nothing.
    QCOMPARE(window->metarForm->history.size(), 2);
    QCOMPARE(ui()->comboBoxViewMetar->count(), 3);
    // Left as they were.
    QVERIFY(visible(ui()->pushButton_viewLatest));
    QCOMPARE(window->connectionStatusText, QString("before"));

    ui()->comboBoxViewMetar->setCurrentIndex(2);
    QCOMPARE(shown(), M2);
    QCOMPARE(window->viewMode, 1);
}

void TestMetarPage::liveItemShowsTheLiveRecordAgain()
{
    storeReport(M1);
    ui()->comboBoxViewMetar->setCurrentIndex(1);
    // The latest record is a report record itself: showing it again must not store it twice.
    window->metarForm->on_realtime(reportRecord(M2));
    QCOMPARE(window->metarForm->history.size(), 2);
    QCOMPARE(shown(), M1);

    ui()->comboBoxViewMetar->setCurrentIndex(0);
    QCOMPARE(window->viewMode, 0);
    QCOMPARE(shown(), M2);
    QVERIFY(!visible(ui()->pushButton_show_live_data));
    QCOMPARE(ui()->label_currentObsType->text(), kCurrent);
    QCOMPARE(window->connectionStatusText, QString("Received Weather Data"));
    QCOMPARE(window->metarForm->history.size(), 2);
    QCOMPARE(ui()->comboBoxViewMetar->count(), 3);
    QVERIFY(!window->showingStoredRecord);
}

void TestMetarPage::showLiveButtonReturnsToLive()
{
    window->metarForm->on_realtime(weatherRecord(M1));
    storeReport(M2);
    ui()->comboBoxViewMetar->setCurrentIndex(1);
    QCOMPARE(shown(), M2);
    window->connectionStatusText.clear();

    ui()->pushButton_show_live_data->click();
    QCOMPARE(window->viewMode, 0);
    QVERIFY(!visible(ui()->pushButton_show_live_data));
    QVERIFY(!visible(ui()->pushButton_viewLatest));
    QCOMPARE(ui()->label_currentObsType->text(), kCurrent);
    QCOMPARE(window->connectionStatusText, QString("Received Weather Data"));
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 0);
    // The live record, which the frozen view held back, is on show again.
    QCOMPARE(shown(), M2);

    // An edit begun in the live view freezes it without changing the item; going back to live
    // then re-shows nothing until the next record.
    window->on_pushButton_editMetar_clicked();
    window->on_pushButton_cancelSaveMetar_clicked();
    window->metarForm->on_realtime(weatherRecord(M1));
    QCOMPARE(shown(), M2);
    ui()->pushButton_show_live_data->click();
    QCOMPARE(window->viewMode, 0);
    QCOMPARE(shown(), M2);
    window->metarForm->on_realtime(weatherRecord(M1));
    QCOMPARE(shown(), M1);
}

void TestMetarPage::latestButtonSelectsTheLiveItem()
{
    storeReport(M1);
    ui()->comboBoxViewMetar->setCurrentIndex(1);
    ui()->pushButton_viewLatest->click();
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 0);
    QCOMPARE(window->viewMode, 0);
}

void TestMetarPage::debugLinesOnlyInDebugMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("lines");
    const QStringList debug{"DEBUG: Show Selected Observation Data (Live Data disabled)",
                            "DEBUG: Showing Live Data", "DEBUG: Showing Live Data",
                            "DEBUG: Showing Live Data"};
    QTest::newRow("Default") << 0 << QStringList{};
    QTest::newRow("Data") << 1 << QStringList{};
    QTest::newRow("Debug") << 2 << debug;
}

void TestMetarPage::debugLinesOnlyInDebugMode()
{
    QFETCH(int, mode);
    QFETCH(QStringList, lines);
    storeReport(M1);
    window->loggingType = static_cast<LoggingType>(mode);
    QStringList logged;
    QObject listening; // the window logs again as it closes, after this function
    connect(window.get(), &MainGUI::logDataMainMsg, &listening,
            [&](const QByteArray& line) { logged << QString::fromUtf8(line); });

    ui()->comboBoxViewMetar->setCurrentIndex(1);
    // The button logs, then its selection of the live item logs again.
    ui()->pushButton_show_live_data->click();
    ui()->comboBoxViewMetar->setCurrentIndex(0);
    window->on_pushButton_show_live_data_clicked();
    QCOMPARE(logged, lines);
}

void TestMetarPage::droppedReportMovesTheSelection()
{
    window->metarForm->on_realtime(weatherRecord(M2));
    storeReport(M1);
    clock->advanceSecs(60);
    storeReport(S1);
    ui()->comboBoxViewMetar->setCurrentIndex(1);
    QCOMPARE(shown(), M1);

    // M1 turns 24 hours old: its item goes and the next report is shown in its place.
    clock->advanceSecs(86400 - 60);
    window->metarForm->pruneObservations();
    QCOMPARE(comboTexts(), (QStringList{kLive, S1}));
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 1);
    QCOMPARE(shown(), S1);
    QCOMPARE(window->viewMode, 1);

    // The last one goes: the live record is shown.
    clock->advanceSecs(60);
    window->metarForm->pruneObservations();
    QCOMPARE(comboTexts(), QStringList{kLive});
    QCOMPARE(window->viewMode, 0);
    QCOMPARE(shown(), S1);
    QCOMPARE(window->metarForm->realtime.record.value("METAR").toString(), S1);
}

void TestMetarPage::liveRecordsJoinTheHistory()
{
    window->metarForm->on_realtime(weatherRecord(M1));
    QCOMPARE(shown(), M1);
    QCOMPARE(comboTexts(), QStringList{kLive});
    window->metarForm->on_realtime(reportRecord(M2));
    QCOMPARE(shown(), M2);
    QCOMPARE(comboTexts(), (QStringList{kLive, M2}));
    window->metarForm->on_realtime(reportRecord(S1, true));
    QCOMPARE(comboTexts(), (QStringList{kLive, M2, S1}));
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 0);
    QCOMPARE(window->viewMode, 0);
}

void TestMetarPage::historyTakesReportRecordsOnce_data()
{
    QTest::addColumn<QList<QJsonObject>>("records");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("ordinary records")
        << QList<QJsonObject>{weatherRecord(M1), weatherRecord(M2)} << QStringList{kLive};
    QTest::newRow("METAR and SPECI") << QList<QJsonObject>{reportRecord(M1), reportRecord(S1, true)}
                                     << QStringList{kLive, M1, S1};
    QTest::newRow("the same text twice")
        << QList<QJsonObject>{reportRecord(M1), reportRecord(M1), reportRecord(M1, true)}
        << QStringList{kLive, M1};
    QTest::newRow("the live item's text is never stored")
        << QList<QJsonObject>{reportRecord(kLive)} << QStringList{kLive};
    QJsonObject textFlag = weatherRecord(M1);
    textFlag.insert("Obs METAR", "true");
    QTest::newRow("a flag that is not a boolean")
        << QList<QJsonObject>{textFlag} << QStringList{kLive};
}

void TestMetarPage::historyTakesReportRecordsOnce()
{
    QFETCH(QList<QJsonObject>, records);
    QFETCH(QStringList, items);
    for (const QJsonObject& record : records)
        window->update_METAR_hist(record);
    QCOMPARE(comboTexts(), items);
    QCOMPARE(window->metarForm->history.size(), items.size() - 1);
    for (int i = 1; i < items.size(); ++i) {
        const Observation stored = window->metarForm->observationAt(i - 1);
        QCOMPARE(stored.record.value("METAR").toString(), items.at(i));
        QVERIFY(!stored.edited);
        QVERIFY(!stored.sent);
    }
}

void TestMetarPage::reportAlertSoundsOncePerReport()
{
    window->alertSound = makeAlertSoundPlayer();
    QMediaPlayer* player = window->alertSound;
    QSignalSpy states(player, &QMediaPlayer::stateChanged);

    window->update_METAR_hist(reportRecord(M1));
    QCOMPARE(states.count(), 0);

    window->speciAlerts = true;
    window->update_METAR_hist(weatherRecord(M2));
    QCOMPARE(states.count(), 0);
    window->update_METAR_hist(reportRecord(S1, true));
    QCOMPARE(player->state(), QMediaPlayer::PlayingState);
    player->stop();
    states.clear();
    window->update_METAR_hist(reportRecord(S1, true));
    QCoreApplication::processEvents();
    QCOMPARE(states.count(), 0);

    // Edited copies never sound it.
    window->on_pushButton_editMetar_clicked();
    ui()->lineEdit_Metar->setText(M2 + " TSNO");
    window->on_pushButton_saveMetar_clicked();
    QCOMPARE(window->metarForm->history.size(), 3);
    QCOMPARE(states.count(), 0);

    window->alertSound = nullptr;
    delete player;
}

void TestMetarPage::editStartsFromTheReportOnShow_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("frozen");
    QTest::addColumn<QString>("source");

    QTest::newRow("live view") << 0 << false << "live";
    QTest::newRow("stored item, frozen") << 2 << true << M2;
    QTest::newRow("frozen with the live item current") << 0 << true << "live";
}

void TestMetarPage::editStartsFromTheReportOnShow()
{
    QFETCH(int, item);
    QFETCH(bool, frozen);
    QFETCH(QString, source);

    storeReport(M1);
    storeReport(M2);
    clock->advanceSecs(30);
    window->viewMode = 0;
    window->metarForm->on_realtime(weatherRecord(S1, "19.0"));
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
        source == "live" ? window->metarForm->realtime : window->metarForm->observationAt(1);
    QCOMPARE(window->editObservation.record, expected.record);
    QCOMPARE(window->editObservation.time, expected.time);
    QCOMPARE(window->editObservation.sent, expected.sent);
    QCOMPARE(window->editObservation.edited, expected.edited);
    QCOMPARE(window->editObservation.record.value("METAR").toString(), source == "live" ? S1 : M2);
}

void TestMetarPage::saveUnchangedStoresNothing()
{
    storeReport(M1);
    storeReport(M2);
    ui()->comboBoxViewMetar->setCurrentIndex(1);
    QCOMPARE(shown(), M1);
    window->on_pushButton_editMetar_clicked();
    QCOMPARE(ui()->lineEdit_Metar->text(), M1);

    window->on_pushButton_saveMetar_clicked();
    QCOMPARE(window->metarForm->history.size(), 2);
    QCOMPARE(ui()->stacked_METAR->currentIndex(), 0);
    // The last item is selected and shown.
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 2);
    QCOMPARE(shown(), M2);
}

void TestMetarPage::saveChangedStoresAnEditedEntry()
{
    storeReport(M1);
    ui()->comboBoxViewMetar->setCurrentIndex(1);
    window->on_pushButton_editMetar_clicked();
    clock->advanceSecs(120);
    const QString edited = M1 + " TSNO";
    ui()->lineEdit_Metar->setText(edited);
    QSignalSpy sent(window->metarForm, &MetarForm::send_metar);

    window->on_pushButton_saveMetar_clicked();
    QCOMPARE(comboTexts(), (QStringList{kLive, M1, edited}));
    const Observation stored = window->metarForm->observationAt(1);
    QCOMPARE(stored.record.value("METAR").toString(), edited);
    QCOMPARE(stored.record.value("Temperature").toString(), QString("21.0"));
    QCOMPARE(stored.time, kNow.addSecs(120));
    QVERIFY(stored.edited);
    QVERIFY(!stored.sent);
    QCOMPARE(window->editObservation.record, stored.record);
    QCOMPARE(ui()->stacked_METAR->currentIndex(), 0);
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 2);
    QCOMPARE(shown(), edited);
    QVERIFY(sent.isEmpty());
    // The item is stored without an icon or data of its own.
    QVERIFY(ui()->comboBoxViewMetar->itemIcon(2).isNull());
    QVERIFY(!ui()->comboBoxViewMetar->itemData(2).isValid());
}

void TestMetarPage::saveAndSendStoresAndSends()
{
    storeReport(M1);
    ui()->comboBoxViewMetar->setCurrentIndex(1);
    window->on_pushButton_editMetar_clicked();
    QSignalSpy sent(window->metarForm, &MetarForm::send_metar);
    QSignalSpy infos(window->metarForm, &MetarForm::info);

    // Unchanged text: stored again and sent all the same.
    window->on_pushButton_saveAndSendMetar_clicked();
    QCOMPARE(comboTexts(), (QStringList{kLive, M1, M1}));
    QVERIFY(window->metarForm->observationAt(1).edited);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray(), ("send " + M1 + "\r").toUtf8());
    QCOMPARE(infos.last().at(0).toString(), "Offcycle Observation sent to ORVA: '" + M1 + "'.");
    QCOMPARE(window->commandQueue.last(), ("send " + M1 + "\r").toUtf8());
    QCOMPARE(ui()->stacked_METAR->currentIndex(), 0);
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 2);

    // The echo marks the first entry with the text, the older one.
    window->metarForm->on_send_metar_confirmed("send " + M1);
    QVERIFY(window->metarForm->observationAt(0).sent);
    QVERIFY(!window->metarForm->observationAt(1).sent);
    QVERIFY(!ui()->comboBoxViewMetar->itemIcon(1).isNull());
    QVERIFY(ui()->comboBoxViewMetar->itemIcon(2).isNull());
}

void TestMetarPage::editedLineBreaksBecomeBlanks()
{
    storeReport(M1);
    ui()->comboBoxViewMetar->setCurrentIndex(1);
    window->on_pushButton_editMetar_clicked();
    ui()->lineEdit_Metar->setText("METAR KVDS\r\n051755Z\nAUTO");
    QSignalSpy sent(window->metarForm, &MetarForm::send_metar);
    window->on_pushButton_saveAndSendMetar_clicked();
    QCOMPARE(comboTexts().last(), QString("METAR KVDS 051755Z AUTO"));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray(), QByteArray("send METAR KVDS 051755Z AUTO\r"));

    // A blank report is stored as edited but never sent.
    window->on_pushButton_editMetar_clicked();
    ui()->lineEdit_Metar->setText("  ");
    QSignalSpy errors(window->metarForm, &MetarForm::error);
    window->on_pushButton_saveAndSendMetar_clicked();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toString(),
             QString("METAR/SPECI not sent: the report text is empty."));
}

void TestMetarPage::editedCopyOfASentReportStartsUnsent()
{
    window->metarForm->on_metar_generated(reportRecord(M1));
    storeReport(M1);
    window->metarForm->on_send_metar_confirmed("send " + M1);
    QVERIFY(window->metarForm->observationAt(0).sent);

    ui()->comboBoxViewMetar->setCurrentIndex(1);
    window->on_pushButton_editMetar_clicked();
    QVERIFY(window->editObservation.sent);
    ui()->lineEdit_Metar->setText(M1 + " TSNO");
    window->on_pushButton_saveMetar_clicked();
    QVERIFY(!window->metarForm->observationAt(1).sent);
    QVERIFY(!ui()->comboBoxViewMetar->itemIcon(1).isNull());
    QVERIFY(ui()->comboBoxViewMetar->itemIcon(2).isNull());
}

void TestMetarPage::cancelOnlyLeavesTheEditPage()
{
    storeReport(M1);
    window->viewMode = 0;
    window->on_pushButton_editMetar_clicked();
    ui()->lineEdit_Metar->setText("changed");
    ui()->pushButton_cancelSaveMetar->click();
    QCOMPARE(ui()->stacked_METAR->currentIndex(), 0);
    QCOMPARE(window->metarForm->history.size(), 1);
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), 0);
    // The view stays frozen.
    QCOMPARE(window->viewMode, 1);
    QVERIFY(visible(ui()->pushButton_show_live_data));
}

void TestMetarPage::reviewBringsTheReportForward_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("item");

    QTest::newRow("stored report") << M2 << 2;
    QTest::newRow("twice stored: the older") << M1 << 1;
    QTest::newRow("not stored: nothing selected") << S1 << 0;
    QTest::newRow("case differs: nothing selected") << M2.toLower() << 0;
}

void TestMetarPage::reviewBringsTheReportForward()
{
    QFETCH(QString, text);
    QFETCH(int, item);

    storeReport(M1);
    storeReport(M2);
    window->metarForm->history.append(Observation{reportRecord(M1), kNow, false, true});
    ui()->comboBoxViewMetar->addItem(M1);
    window->viewMode = 0;
    ui()->stackedWidget_mainPages->setCurrentWidget(ui()->pageSettings);
    ui()->pushButtonSettings->setChecked(true);

    window->reviewMetar(text);
    QCOMPARE(ui()->stackedWidget_mainPages->currentWidget(), ui()->pageTable);
    QVERIFY(ui()->pushButtonTable->isChecked());
    QVERIFY(!ui()->pushButtonSettings->isChecked());
    QCOMPARE(ui()->comboBoxViewMetar->currentIndex(), item);
    QCOMPARE(window->viewMode, item > 0 ? 1 : 0);
}

void TestMetarPage::modeButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("delayRow");
    QTest::addColumn<QString>("info");

    QTest::newRow("Automatic") << "radioButtonORVAMETAR_Auto" << 0 << false
                               << "METAR mode changed to 'Automatic'.";
    QTest::newRow("Manual") << "radioButtonORVAMETAR_Manual" << 1 << true
                            << "METAR mode changed to 'Manual'.";
    QTest::newRow("Semi-Automatic") << "radioButtonORVAMETAR_Semiauto" << 2 << true
                                    << "METAR mode changed to 'Semi-Automatic'.";
}

void TestMetarPage::modeButtons()
{
    QFETCH(QString, button);
    QFETCH(int, mode);
    QFETCH(bool, delayRow);
    QFETCH(QString, info);

    ui()->stackedWidget_mainPages->setCurrentWidget(ui()->pageSettings);
    QSignalSpy infos(window->metarForm, &MetarForm::info);
    window->findChild<QAbstractButton*>(button)->click();
    QCOMPARE(int(window->metarForm->mode()), mode);
    QCOMPARE(infos.size(), 1);
    QCOMPARE(infos.at(0).at(0).toString(), info);
    QCOMPARE(visible(ui()->label_ORVA_METAR_transmit_delay), delayRow);
    QCOMPARE(visible(ui()->timeEdit_ORVA_METAR_transmit_delay), delayRow);
    QCOMPARE(visible(ui()->label_ORVA_METAR_transmit_delay_2), delayRow);
}

void TestMetarPage::sameModeAgainDropsTheTransaction()
{
    ui()->radioButtonORVAMETAR_Semiauto->click();
    ui()->checkBox_hideMETARModePopUp->click();
    window->metarForm->on_metar_generated(reportRecord(M1));
    QVERIFY(window->metarForm->countdownTimer->isActive());
    QCOMPARE(ui()->label_metar_edit_status->text(), QString("Sending in: 05:00"));
    QSignalSpy errors(window->metarForm, &MetarForm::error);

    ui()->radioButtonORVAMETAR_Semiauto->click();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toString(),
             QString("METAR mode changed while transaction in progress. Dropping message."));
    QVERIFY(!window->metarForm->countdownTimer->isActive());
    QCOMPARE(ui()->label_metar_edit_status->text(), QString());
    QVERIFY(!visible(ui()->pushbutton_metar_semiauto_cancel));
}

void TestMetarPage::hidePopups()
{
    ui()->radioButtonORVAMETAR_Manual->click();
    window->metarForm->on_metar_generated(reportRecord(M1));
    QVERIFY(window->metarForm->isVisible());

    ui()->checkBox_hideMETARModePopUp->click();
    QVERIFY(!window->metarForm->showPopup);
    QVERIFY(!window->showMetarPopups);
    QVERIFY(!window->metarForm->isVisible());
    // The transaction goes on.
    QCOMPARE(window->metarForm->transaction.state(), ReportTransaction::State::AwaitingReview);

    window->metarForm->show();
    ui()->checkBox_hideMETARModePopUp->click();
    QVERIFY(window->metarForm->showPopup);
    QVERIFY(window->showMetarPopups);
    QVERIFY(window->metarForm->isVisible());
    window->metarForm->close();
    ui()->checkBox_hideMETARModePopUp->click();
    ui()->checkBox_hideMETARModePopUp->click();
    QVERIFY(!window->metarForm->isVisible());
}

void TestMetarPage::reportAlertsBox()
{
    QVERIFY(!window->speciAlerts);
    ui()->checkBox_SPECI_alerts->click();
    QVERIFY(window->speciAlerts);
    ui()->checkBox_SPECI_alerts->click();
    QVERIFY(!window->speciAlerts);
}

QTEST_MAIN(TestMetarPage)
#include "tst_metarpage.moc"
