#include "tests/support/testsupport.h"

#include "app/dialogselectdevice.h"
#include "app/maingui.h"
#include "app/modalrunner.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"
#include "tests/support/logrun.h"
#include "tests/support/recordtext.h"
#include "tests/support/scopedclock.h"
#include "tools/unitsim/ptypair.h"
#include "tools/unitsim/unitframes.h"

#include <QStandardPaths>
#include <QTest>

#include <memory>
#include <vector>

using unitsim::orvaAnswer;
using unitsim::orvaFrame;
using unitsim::PtyPair;

namespace
{

constexpr int kWaitMs = 10000;
const QDateTime kNow(QDate(2024, 3, 5), QTime(17, 55, 0), Qt::UTC);

// One ORVA observation as the unit frames it; type '1' is the hourly METAR candidate.
QByteArray observationFrame(char type, const QString& time)
{
    const QString record = buildRecord({
        {"N", {"METAR", "0", "0", "0", "KVDS", "1", "1"}},
        {"B", {"12.6", "60", "0", "E1", "0", "60"}},
        {"T", {"24/03/05," + time}},
        {"IR", {"0", "0", "0", "KVDS"}},
        {"WI", {"8", "240", "9", "240"}},
        {"GU", {"0", "0", "12", "250", "0", "0", "0", "0"}},
        {"TA", {"15.0"}},
        {"RH", {"55"}},
        {"BA", {"1013.2", "2992", "0.0"}},
        {"CL", {"1", "90", "250", "0", "0", "0", "0", "2", "6", "0", "0", "0", "0", "760"}},
        {"PW", {"0.0", "XX", "0", "16.0", "16.0", "XX"}},
        {"LT", {"0", "0", "0", "0", "0", "0"}},
        {"LA", {"45.5"}},
        {"LO", {"-73.6"}},
    });
    return orvaFrame(type, record.toUtf8());
}

bool dataLogHoldsReport(const QString& report)
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/logging";
    for (const QJsonValue& value : logrun::dataLogRecords(folder)) {
        const QJsonObject record = value.toObject();
        if (record.value("METAR").toString() == report && record.value("Obs METAR").toBool())
            return true;
    }
    return false;
}

} // namespace

class TestReportEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void automaticModeSendsAndMarksTheEcho();
    void manualModeWaitsForTheOperator();
    void newConnectionEndsThePendingReport();

private:
    Ui_MainGUI* ui() const { return window->ui; }
    QString storedReport(int i) const
    {
        return window->metarForm->observationAt(i).record.value("METAR").toString();
    }
    // Starts the window on the unit's port, as "Setup..." and the device dialog do, and waits
    // for the start-up queries so that only report commands follow. The first start lays the
    // window out too, and still asks once.
    void start(PtyPair* to = nullptr)
    {
        to = to ? to : unit;
        ui()->pushButtonSetupConnection->click();
        // A cable, not the station radio: commands go out in plain text.
        emit window->selectDeviceDialog->orvaSetEncryptWritecommands(false);
        emit window->selectDeviceDialog->deviceSelected(DeviceTypes::ORVA, to->portPath());
        const QByteArray queries = "frequency\r\nmetar_offset\r\n";
        QCOMPARE(window->commandQueue.join(), queries);
        window->cmdWriteTimer->setInterval(20);
        QTRY_COMPARE_WITH_TIMEOUT(to->received(), queries, kWaitMs);
        to->clearReceived();
    }

    std::unique_ptr<ScopedClock> clock;
    // Every unit of the suite stays until its end: the window never loses a port under it.
    std::vector<std::unique_ptr<PtyPair>> units;
    PtyPair* unit = nullptr;
    std::unique_ptr<MainGUI> window;
};

void TestReportEndToEnd::initTestCase()
{
    initFormResources();
    registerSharedMetaTypes();
    setModalRunner([](QDialog&) { return 0; });
    window = std::make_unique<MainGUI>();
}

void TestReportEndToEnd::cleanupTestCase()
{
    window.reset();
    units.clear();
    setModalRunner({});
}

// One window for the suite: each case connects it to a unit of its own, with no report history,
// no transaction and report pop-ups shown.
void TestReportEndToEnd::init()
{
    clock = std::make_unique<ScopedClock>(kNow);
    units.push_back(std::make_unique<PtyPair>());
    unit = units.back().get();
    QVERIFY(unit->isOpen());
    window->metarForm->resetTransaction();
    window->metarForm->history = ReportHistory();
    while (ui()->comboBoxViewMetar->count() > 1)
        ui()->comboBoxViewMetar->removeItem(1);
    ui()->checkBox_hideMETARModePopUp->setChecked(false);
    window->on_checkBox_hideMETARModePopUp_clicked();
    ui()->textEdit_ErrorMsgs->clear();
}

void TestReportEndToEnd::cleanup()
{
    clock.reset();
}

void TestReportEndToEnd::automaticModeSendsAndMarksTheEcho()
{
    ui()->radioButtonORVAMETAR_Auto->click();
    start();
    if (QTest::currentTestFailed())
        return;

    unit->write(observationFrame('1', "17:55:00"));
    QTRY_COMPARE_WITH_TIMEOUT(window->metarForm->history.size(), 1, kWaitMs);
    const QString report = storedReport(0);
    QVERIFY2(report.startsWith("METAR KVDS 051755Z "), qPrintable(report));
    QCOMPARE(ui()->comboBoxViewMetar->itemText(1), report);

    const QByteArray command = ("send " + report + "\r").toUtf8();
    QTRY_COMPARE_WITH_TIMEOUT(unit->received(), command, kWaitMs);
    QVERIFY(!window->metarForm->observationAt(0).sent);
    QVERIFY(ui()->comboBoxViewMetar->itemIcon(1).isNull());

    // The unit queues the report, then its radio module reports it sent.
    unit->write(orvaAnswer('3', {("send " + report).toUtf8(), "send=QUEUED"}));
    unit->write(orvaAnswer('5', {"I", ("send " + report).toUtf8(), "send=OK"}));
    QTRY_VERIFY_WITH_TIMEOUT(window->metarForm->observationAt(0).sent, kWaitMs);
    QVERIFY(!ui()->comboBoxViewMetar->itemIcon(1).isNull());
    QCOMPARE(window->metarForm->transaction.state(), ReportTransaction::State::Idle);
    QVERIFY(ui()->textEdit_SysMsgs->toPlainText().contains(
        "METAR/SPECI send confirmed. Message = '" + report + "'."));
    QVERIFY(ui()->textEdit_ErrorMsgs->toPlainText().isEmpty());

    QTRY_VERIFY_WITH_TIMEOUT(dataLogHoldsReport(report), kWaitMs);
}

void TestReportEndToEnd::manualModeWaitsForTheOperator()
{
    ui()->checkBox_hideMETARModePopUp->click();
    ui()->radioButtonORVAMETAR_Manual->click();
    start();
    if (QTest::currentTestFailed())
        return;

    unit->write(observationFrame('1', "17:55:00"));
    QTRY_COMPARE_WITH_TIMEOUT(window->metarForm->history.size(), 1, kWaitMs);
    const QString report = storedReport(0);
    // A later record has come through, and still nothing went to the unit.
    clock->advanceSecs(60);
    unit->write(observationFrame('0', "17:56:00"));
    QTRY_VERIFY_WITH_TIMEOUT(window->metarForm->realtime.time == kNow.addSecs(60), kWaitMs);
    QCOMPARE(unit->received(), QByteArray());
    QCOMPARE(window->metarForm->transaction.state(), ReportTransaction::State::AwaitingReview);

    // The operator picks the report on the table page and sends it as it stands.
    ui()->comboBoxViewMetar->setCurrentIndex(1);
    ui()->pushButton_editMetar->click();
    QCOMPARE(ui()->lineEdit_Metar->text(), report);
    ui()->pushButton_saveAndSendMetar->click();
    const QByteArray command = ("send " + report + "\r").toUtf8();
    QTRY_COMPARE_WITH_TIMEOUT(unit->received(), command, kWaitMs);

    unit->write(orvaAnswer('5', {"I", ("send " + report).toUtf8(), "send=OK"}));
    QTRY_VERIFY_WITH_TIMEOUT(window->metarForm->observationAt(0).sent, kWaitMs);
    QVERIFY(!ui()->comboBoxViewMetar->itemIcon(1).isNull());
    // The operator's copy is stored beside it, unsent.
    QCOMPARE(window->metarForm->history.size(), 2);
    QVERIFY(window->metarForm->observationAt(1).edited);
    QVERIFY(!window->metarForm->observationAt(1).sent);
    QVERIFY(ui()->comboBoxViewMetar->itemIcon(2).isNull());
}

// "Setup..." while a report counts down: the report is named as not sent and never reaches the
// next unit, whose own METAR goes through.
void TestReportEndToEnd::newConnectionEndsThePendingReport()
{
    ui()->checkBox_hideMETARModePopUp->click();
    ui()->radioButtonORVAMETAR_Semiauto->click();
    ui()->timeEdit_ORVA_METAR_transmit_delay->setTime(QTime(0, 2, 0));
    start();
    if (QTest::currentTestFailed())
        return;
    MetarForm* form = window->metarForm;

    unit->write(observationFrame('1', "17:55:00"));
    QTRY_COMPARE_WITH_TIMEOUT(form->transaction.state(),
                              ReportTransaction::State::CountingDownSemiAutomatic, kWaitMs);
    // The report's record reaches the history just behind the report itself.
    QTRY_COMPARE_WITH_TIMEOUT(form->history.size(), 1, kWaitMs);
    const QString old = storedReport(0);
    ui()->pushButtonSetupConnection->click();
    QCOMPARE(form->transaction.state(), ReportTransaction::State::Idle);
    QVERIFY(!form->countdownTimer->isActive());
    QVERIFY(ui()->textEdit_ErrorMsgs->toPlainText().contains(
        "New device connection before the report transaction could complete. The following "
        "message was not sent: '" +
        old + "'."));

    units.push_back(std::make_unique<PtyPair>());
    PtyPair& next = *units.back();
    start(&next);
    clock->advanceSecs(3600);
    next.write(observationFrame('1', "18:55:00"));
    QTRY_COMPARE_WITH_TIMEOUT(form->history.size(), 2, kWaitMs);
    const QString report = storedReport(1);
    QCOMPARE(form->transaction.state(), ReportTransaction::State::CountingDownSemiAutomatic);
    for (int i = 0; i < 120; ++i)
        form->on_timer_tick();
    QTRY_COMPARE_WITH_TIMEOUT(next.received(), ("send " + report + "\r").toUtf8(), kWaitMs);
    QVERIFY(!ui()->textEdit_ErrorMsgs->toPlainText().contains("before prior transaction"));
    QVERIFY(!unit->received().contains("send "));
}

QTEST_MAIN(TestReportEndToEnd)
#include "tst_reportendtoend.moc"
