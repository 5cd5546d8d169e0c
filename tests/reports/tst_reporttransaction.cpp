#include "reports/reporttransaction.h"
#include "tests/support/scopedclock.h"
#include "tests/support/testsupport.h"

#include <QJsonObject>
#include <QtTest>

using State = ReportTransaction::State;

namespace
{

const QString M1 = QStringLiteral("METAR KXYZ 041755Z 27010KT 10SM CLR 21/08 A3002 RMK AO2");
const QString M2 = QStringLiteral("METAR KXYZ 041855Z 28012KT 10SM FEW050 22/08 A3001 RMK AO2");
const QString S1 =
    QStringLiteral("SPECI KXYZ 041812Z 27015G25KT 3SM -RA BKN008 19/12 A2998 RMK AO2");
const QString E1 = QStringLiteral("METAR KXYZ 041755Z 27010KT 10SM CLR 21/08 A3002 RMK AO2 TSNO");

QJsonObject reportRecord(const QString& text, bool speci = false)
{
    return QJsonObject{
        {"METAR", text}, {"Obs METAR", !speci}, {"Obs SPECI", speci}, {"Temperature", "21.0"}};
}

Observation reviewed(const QString& text)
{
    return Observation{reportRecord(text), QDateTime(), false, true};
}

// Everything the transaction tells its owner, in order, as "info|..", "error|..", "send|..",
// "status|..", "cancel|shown"/"cancel|hidden", "timer|start"/"timer|stop".
class Recorder
{
public:
    explicit Recorder(ReportTransaction& t)
    {
        QObject::connect(&t, &ReportTransaction::info,
                         [this](const QString& s) { log << "info|" + s; });
        QObject::connect(&t, &ReportTransaction::error,
                         [this](const QString& s) { log << "error|" + s; });
        QObject::connect(&t, &ReportTransaction::sendCommand, [this](const QByteArray& b) {
            log << "send|" + QString::fromUtf8(b).replace("\r", "\\r");
        });
        QObject::connect(&t, &ReportTransaction::statusTextChanged,
                         [this](const QString& s) { log << "status|" + s; });
        QObject::connect(&t, &ReportTransaction::outsideCancelShownChanged,
                         [this](bool shown) { log << (shown ? "cancel|shown" : "cancel|hidden"); });
        QObject::connect(&t, &ReportTransaction::countdownStarted,
                         [this] { log << "timer|start"; });
        QObject::connect(&t, &ReportTransaction::countdownStopped, [this] { log << "timer|stop"; });
    }
    // Only the lines that an operator or the unit sees, in order.
    QStringList messages() const
    {
        QStringList out;
        for (const QString& line : log) {
            if (line.startsWith("info|") || line.startsWith("error|") || line.startsWith("send|"))
                out << line;
        }
        return out;
    }
    QStringList log;
};

struct Inputs {
    QTime transmitDelay = QTime(0, 0, 5);
    QTime manualDelay;                  // null: Review never took one
    QTime editorDelay = QTime(0, 0, 3); // the window's delay editor
};

// Events: "mode:N", "metar:T", "speci:T", "tick", "tick*N", "echo:R", "cancel", "reset",
// "newconnection",
// "send:T" (reviewed send, delay box unchecked), "senddelay:T" (delay box checked).
void run(ReportTransaction& t, const QStringList& events, const Inputs& in)
{
    for (const QString& event : events) {
        const QString name = event.section(':', 0, 0);
        const QString arg = event.section(':', 1);
        if (name == "mode") {
            t.changeMode(static_cast<ORVAMetarMode>(arg.toInt()));
        } else if (name == "metar") {
            t.start(ReportKind::Metar, reportRecord(arg), in.transmitDelay);
        } else if (name == "speci") {
            t.start(ReportKind::Speci, reportRecord(arg, true), in.transmitDelay);
        } else if (name == "tick") {
            t.tick();
        } else if (name.startsWith("tick*")) {
            const int n = name.mid(5).toInt();
            for (int i = 0; i < n; ++i)
                t.tick();
        } else if (name == "echo") {
            t.confirm(arg);
        } else if (name == "cancel") {
            t.cancel();
        } else if (name == "reset") {
            t.reset();
        } else if (name == "newconnection") {
            t.endForNewConnection();
        } else if (name == "send") {
            t.sendReviewed(reviewed(arg), false, in.manualDelay, in.editorDelay);
        } else if (name == "senddelay") {
            t.sendReviewed(reviewed(arg), true, in.manualDelay, in.editorDelay);
        } else {
            qFatal("unknown event %s", qPrintable(event));
        }
    }
}

QString send(const QString& text)
{
    return "send|send " + text + "\\r";
}

const QString kMetarGenerated = "info|METAR generated: '";
const QString kSpeciGenerated = "info|SPECI generated: '";
const QString kMetarAutoTriggered = "info|METAR send triggered (Automatic).";
const QString kSpeciAutoTriggered = "info|SPECI send triggered (Automatic).";
const QString kMetarBusy = "error|New METAR generated before prior transaction could complete. "
                           "The following message will not send: '";
const QString kSpeciBusy = "error|New SPECI generated before prior transaction could complete. "
                           "The following message will not send: '";
const QString kConfirmed = "info|METAR/SPECI send confirmed. Message = '";
const QString kUnexpected = "error|METAR/SPECI unexpected message received = '";
const QString kCancelled = "info|SEMIAUTOMATIC MODE: User manually cancelled METAR/SPECI send.";
const QString kDropping =
    "error|METAR mode changed while transaction in progress. Dropping message.";
const QString kTimerComplete = "info|SEMIAUTOMATIC MODE: transmit delay timer complete with no "
                               "user review. Sending unedited METAR'";
const QString kReviewComplete =
    "info|SEMIAUTOMATIC MODE: Review complete and submitted for transmit";
const QString kManualSend = "info|MANUAL MODE: The following metar will be sent to the ORVA, '";
const QString kOffcycle = "info|Offcycle Observation sent to ORVA: '";
const QString kEmpty = "error|METAR/SPECI not sent: the report text is empty.";
const QString kNewConnection = "error|New device connection before the report transaction could "
                               "complete. The following message was not ";

} // namespace

Q_DECLARE_METATYPE(State)

class TestReportTransaction : public QObject
{
    Q_OBJECT
private slots:
    void transitions_data();
    void transitions();
    void semiAutomaticCountdown_data();
    void semiAutomaticCountdown();
    void manualDelayCountdown_data();
    void manualDelayCountdown();
    void presentationByMode_data();
    void presentationByMode();
    void unknownModeHoldsTheReport();
    void resetClearsTheWindowSideState();
    void pendingKeepsTheReportAsSent();
    void sendCommandBytes_data();
    void sendCommandBytes();
    void singleLineReport_data();
    void singleLineReport();
    void echoedReport_data();
    void echoedReport();
};

// From a state reached by `setup`, one event: the messages, commands, resulting state, status
// line and outside cancel button.
void TestReportTransaction::transitions_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<State>("state");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("outsideCancel");

    const QStringList idle;
    const QStringList awaitingReview{"mode:1", "metar:" + M1};
    const QStringList countingSemi{"mode:2", "metar:" + M1};
    const QStringList countingManual{"mode:1", "metar:" + M1, "senddelay:" + E1};
    const QStringList awaitingEcho{"metar:" + M1};

    // Idle
    QTest::newRow("idle, METAR in automatic: sent at once")
        << idle << QStringList{"metar:" + M1}
        << QStringList{kMetarGenerated + M1 + "'.", kMetarAutoTriggered, send(M1)}
        << State::AwaitingEcho << "" << false;
    QTest::newRow("idle, SPECI in automatic: SPECI texts, sent with its own text")
        << idle << QStringList{"speci:" + S1}
        << QStringList{kSpeciGenerated + S1 + "'.", kSpeciAutoTriggered, send(S1)}
        << State::AwaitingEcho << "" << false;
    QTest::newRow("idle, METAR in manual: held for review")
        << QStringList{"mode:1"} << QStringList{"metar:" + M1}
        << QStringList{kMetarGenerated + M1 + "'."} << State::AwaitingReview << "" << false;
    QTest::newRow("idle, METAR in semi-automatic: counted down")
        << QStringList{"mode:2"} << QStringList{"metar:" + M1}
        << QStringList{kMetarGenerated + M1 + "'."} << State::CountingDownSemiAutomatic
        << "Sending in: 00:05" << true;
    QTest::newRow("idle, SPECI in semi-automatic")
        << QStringList{"mode:2"} << QStringList{"speci:" + S1}
        << QStringList{kSpeciGenerated + S1 + "'."} << State::CountingDownSemiAutomatic
        << "Sending in: 00:05" << true;
    QTest::newRow("idle, blank report: error, nothing pending")
        << idle << QStringList{"metar:   "} << QStringList{kMetarGenerated + "   '.", kEmpty}
        << State::Idle << "" << false;
    QTest::newRow("idle, echo: unexpected")
        << idle << QStringList{"echo:send " + M1} << QStringList{kUnexpected + M1 + "'."}
        << State::Idle << "" << false;
    QTest::newRow("idle, bare \"send \" echo confirms nothing")
        << idle << QStringList{"echo:send "} << QStringList{kUnexpected + "'."} << State::Idle << ""
        << false;
    QTest::newRow("idle, cancel: message only")
        << idle << QStringList{"cancel"} << QStringList{kCancelled} << State::Idle << "" << false;
    QTest::newRow("idle, new connection: nothing to say")
        << idle << QStringList{"newconnection"} << QStringList{} << State::Idle << "" << false;
    QTest::newRow("idle, tick: nothing sent")
        << idle << QStringList{"tick"} << QStringList{} << State::Idle << "" << false;
    QTest::newRow("idle, mode change: no drop message")
        << idle << QStringList{"mode:2"}
        << QStringList{"info|METAR mode changed to 'Semi-Automatic'."} << State::Idle << ""
        << false;
    QTest::newRow("idle, off-cycle send in automatic")
        << idle << QStringList{"send:" + E1} << QStringList{kOffcycle + E1 + "'.", send(E1)}
        << State::AwaitingEcho << "" << false;
    QTest::newRow("idle, off-cycle send in semi-automatic")
        << QStringList{"mode:2"} << QStringList{"send:" + E1}
        << QStringList{kOffcycle + E1 + "'.", send(E1)} << State::AwaitingEcho << "" << false;
    QTest::newRow("idle, manual send without delay")
        << QStringList{"mode:1"} << QStringList{"send:" + E1}
        << QStringList{kManualSend + E1 + "'.", send(E1)} << State::AwaitingEcho << "" << false;
    QTest::newRow("idle, blank reviewed send: error only")
        << QStringList{"mode:1"} << QStringList{"send: "} << QStringList{kEmpty} << State::Idle
        << "" << false;

    // Awaiting review
    QTest::newRow("review, second METAR dropped")
        << awaitingReview << QStringList{"metar:" + M2}
        << QStringList{kMetarGenerated + M2 + "'.", kMetarBusy + M2 + "'."} << State::AwaitingReview
        << "" << false;
    QTest::newRow("review, SPECI dropped with the SPECI text")
        << awaitingReview << QStringList{"speci:" + S1}
        << QStringList{kSpeciGenerated + S1 + "'.", kSpeciBusy + S1 + "'."} << State::AwaitingReview
        << "" << false;
    QTest::newRow("review, reviewed send")
        << awaitingReview << QStringList{"send:" + E1}
        << QStringList{kManualSend + E1 + "'.", send(E1)} << State::AwaitingEcho << "" << false;
    QTest::newRow("review, reviewed send with delay: counted down, nothing sent yet")
        << awaitingReview << QStringList{"senddelay:" + E1}
        << QStringList{kManualSend + E1 + "'.",
                       "info|MANUAL MODE: Transmit Delay: 0 minutes, 3 seconds"}
        << State::CountingDownManualDelay << "" << false;
    QTest::newRow("review, cancel") << awaitingReview << QStringList{"cancel"}
                                    << QStringList{kCancelled} << State::Idle << "" << false;
    QTest::newRow("review, same mode again drops the report")
        << awaitingReview << QStringList{"mode:1"}
        << QStringList{"info|METAR mode changed to 'Manual'.", kDropping} << State::Idle << ""
        << false;
    QTest::newRow("review, matching echo ends it")
        << awaitingReview << QStringList{"echo:send " + M1} << QStringList{kConfirmed + M1 + "'."}
        << State::Idle << "" << false;
    QTest::newRow("review, tick: nothing sent")
        << awaitingReview << QStringList{"tick"} << QStringList{} << State::AwaitingReview << ""
        << false;

    // Counting down, semi-automatic
    QTest::newRow("semi, tick: one second off")
        << countingSemi << QStringList{"tick"} << QStringList{} << State::CountingDownSemiAutomatic
        << "Sending in: 00:04" << true;
    QTest::newRow("semi, fifth tick sends the unedited report")
        << countingSemi << QStringList{"tick*5"}
        << QStringList{kTimerComplete + M1 + "'.", send(M1)} << State::AwaitingEcho << "" << false;
    QTest::newRow("semi, SPECI at 0:00 keeps the METAR wording")
        << QStringList{"mode:2", "speci:" + S1} << QStringList{"tick*5"}
        << QStringList{kTimerComplete + S1 + "'.", send(S1)} << State::AwaitingEcho << "" << false;
    QTest::newRow("semi, reviewed text sent before 0:00")
        << countingSemi << QStringList{"tick", "send:" + E1}
        << QStringList{kReviewComplete, send(E1)} << State::AwaitingEcho << "" << false;
    QTest::newRow("semi, new METAR dropped")
        << countingSemi << QStringList{"metar:" + M2}
        << QStringList{kMetarGenerated + M2 + "'.", kMetarBusy + M2 + "'."}
        << State::CountingDownSemiAutomatic << "Sending in: 00:05" << true;
    QTest::newRow("semi, cancel") << countingSemi << QStringList{"tick", "cancel"}
                                  << QStringList{kCancelled} << State::Idle << "" << false;
    QTest::newRow("semi, mode change drops it")
        << countingSemi << QStringList{"tick", "mode:0"}
        << QStringList{"info|METAR mode changed to 'Automatic'.", kDropping} << State::Idle << ""
        << false;
    QTest::newRow("semi, matching echo stops the countdown")
        << countingSemi << QStringList{"tick", "echo:send " + M1, "tick*10"}
        << QStringList{kConfirmed + M1 + "'."} << State::Idle << "" << false;
    QTest::newRow("semi, new connection: named, never sent, the next METAR counted down")
        << countingSemi << QStringList{"tick", "newconnection", "tick*10", "metar:" + M2}
        << QStringList{kNewConnection + "sent: '" + M1 + "'.", kMetarGenerated + M2 + "'."}
        << State::CountingDownSemiAutomatic << "Sending in: 00:05" << true;
    QTest::newRow("semi, other echo leaves the countdown running")
        << countingSemi << QStringList{"echo:send " + M2} << QStringList{kUnexpected + M2 + "'."}
        << State::CountingDownSemiAutomatic << "Sending in: 00:05" << true;

    // Counting down with the manual delay (editor shows 0:03, Review took none)
    QTest::newRow("manual delay, two ticks")
        << countingManual << QStringList{"tick*2"} << QStringList{}
        << State::CountingDownManualDelay << "Sending in: 00:01" << false;
    QTest::newRow("manual delay, third tick sends the reviewed text")
        << countingManual << QStringList{"tick*3"} << QStringList{send(E1)} << State::AwaitingEcho
        << "" << false;
    QTest::newRow("manual delay, another delayed send restarts with it")
        << countingManual << QStringList{"tick*2", "senddelay:" + M2, "tick*2"}
        << QStringList{kManualSend + M2 + "'.",
                       "info|MANUAL MODE: Transmit Delay: 0 minutes, 3 seconds"}
        << State::CountingDownManualDelay << "Sending in: 00:01" << false;
    QTest::newRow("manual delay, send without delay goes at once")
        << countingManual << QStringList{"send:" + M2}
        << QStringList{kManualSend + M2 + "'.", send(M2)} << State::AwaitingEcho << "" << false;
    QTest::newRow("manual delay, mode change drops it")
        << countingManual << QStringList{"tick", "mode:2"}
        << QStringList{"info|METAR mode changed to 'Semi-Automatic'.", kDropping} << State::Idle
        << "" << false;
    QTest::newRow("manual delay, new METAR dropped")
        << countingManual << QStringList{"metar:" + M2}
        << QStringList{kMetarGenerated + M2 + "'.", kMetarBusy + M2 + "'."}
        << State::CountingDownManualDelay << "" << false;

    // Awaiting echo
    QTest::newRow("echo, matching echo ends it")
        << awaitingEcho << QStringList{"echo:send " + M1} << QStringList{kConfirmed + M1 + "'."}
        << State::Idle << "" << false;
    QTest::newRow("echo, other text is unexpected")
        << awaitingEcho << QStringList{"echo:send " + M2} << QStringList{kUnexpected + M2 + "'."}
        << State::AwaitingEcho << "" << false;
    QTest::newRow("echo, case differs: unexpected")
        << awaitingEcho << QStringList{"echo:send " + M1.toLower()}
        << QStringList{kUnexpected + M1.toLower() + "'."} << State::AwaitingEcho << "" << false;
    QTest::newRow("echo, short reply is taken whole")
        << awaitingEcho << QStringList{"echo:OK"} << QStringList{kUnexpected + "OK'."}
        << State::AwaitingEcho << "" << false;
    QTest::newRow("echo, new connection: named as not confirmed")
        << awaitingEcho << QStringList{"newconnection"}
        << QStringList{kNewConnection + "confirmed: '" + M1 + "'."} << State::Idle << "" << false;
    QTest::newRow("echo, second METAR dropped")
        << awaitingEcho << QStringList{"metar:" + M2}
        << QStringList{kMetarGenerated + M2 + "'.", kMetarBusy + M2 + "'."} << State::AwaitingEcho
        << "" << false;
    QTest::newRow("echo, after the echo the next METAR goes out")
        << awaitingEcho << QStringList{"echo:send " + M1, "metar:" + M2}
        << QStringList{kConfirmed + M1 + "'.", kMetarGenerated + M2 + "'.", kMetarAutoTriggered,
                       send(M2)}
        << State::AwaitingEcho << "" << false;
    QTest::newRow("echo, off-cycle send replaces the pending report")
        << awaitingEcho << QStringList{"send:" + E1, "echo:send " + M1}
        << QStringList{kOffcycle + E1 + "'.", send(E1), kUnexpected + M1 + "'."}
        << State::AwaitingEcho << "" << false;
    QTest::newRow("echo, cancel") << awaitingEcho << QStringList{"cancel"}
                                  << QStringList{kCancelled} << State::Idle << "" << false;
    QTest::newRow("echo, mode change drops it")
        << awaitingEcho << QStringList{"mode:1"}
        << QStringList{"info|METAR mode changed to 'Manual'.", kDropping} << State::Idle << ""
        << false;
    QTest::newRow("echo, unknown mode: error, stored all the same, dropped")
        << awaitingEcho << QStringList{"mode:7"}
        << QStringList{"error|METAR mode changed to unknown setting.", kDropping} << State::Idle
        << "" << false;
    QTest::newRow("echo, stray tick resends nothing")
        << awaitingEcho << QStringList{"tick*3"} << QStringList{} << State::AwaitingEcho << ""
        << false;
}

void TestReportTransaction::transitions()
{
    QFETCH(QStringList, setup);
    QFETCH(QStringList, events);
    QFETCH(QStringList, messages);
    QFETCH(State, state);
    QFETCH(QString, status);
    QFETCH(bool, outsideCancel);

    ReportTransaction t;
    const Inputs in;
    run(t, setup, in);
    Recorder recorder(t);
    run(t, events, in);

    QCOMPARE(recorder.messages(), messages);
    QCOMPARE(t.state(), state);
    QCOMPARE(t.statusText(), status);
    QCOMPARE(t.outsideCancelShown(), outsideCancel);
    QCOMPARE(t.isCountingDown(),
             state == State::CountingDownSemiAutomatic || state == State::CountingDownManualDelay);
}

void TestReportTransaction::semiAutomaticCountdown_data()
{
    QTest::addColumn<QTime>("delay");
    QTest::addColumn<QStringList>("statusBeforeEachTick");
    QTest::addColumn<int>("ticksToSend");

    QTest::newRow("0:05") << QTime(0, 0, 5)
                          << QStringList{"Sending in: 00:05", "Sending in: 00:04",
                                         "Sending in: 00:03", "Sending in: 00:02",
                                         "Sending in: 00:01"}
                          << 5;
    QTest::newRow("0:00 goes at the first tick")
        << QTime(0, 0, 0) << QStringList{"Sending in: 00:00"} << 1;
    QTest::newRow("1:01 crosses the minute")
        << QTime(0, 1, 1)
        << QStringList{"Sending in: 01:01", "Sending in: 01:00", "Sending in: 00:59"} << 61;
    QTest::newRow("5:00, the editor's maximum")
        << QTime(0, 5, 0) << QStringList{"Sending in: 05:00"} << 300;
    QTest::newRow("an hour part is ignored: the countdown ends")
        << QTime(2, 0, 4) << QStringList{"Sending in: 00:04"} << 4;
    QTest::newRow("no valid delay: sent at the first tick")
        << QTime() << QStringList{"Sending in: 00:00"} << 1;
}

void TestReportTransaction::semiAutomaticCountdown()
{
    QFETCH(QTime, delay);
    QFETCH(QStringList, statusBeforeEachTick);
    QFETCH(int, ticksToSend);

    ReportTransaction t;
    t.changeMode(ORVAMetarMode::SemiAutomatic);
    QVERIFY(t.start(ReportKind::Metar, reportRecord(M1), delay));
    QSignalSpy sent(&t, &ReportTransaction::sendCommand);

    for (int tick = 1; tick <= ticksToSend; ++tick) {
        if (tick <= statusBeforeEachTick.size())
            QCOMPARE(t.statusText(), statusBeforeEachTick.at(tick - 1));
        QVERIFY2(sent.isEmpty(), qPrintable(QString("sent before tick %1").arg(tick)));
        QCOMPARE(t.tick(), tick == ticksToSend);
    }
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray(), ("send " + M1 + "\r").toUtf8());
    QCOMPARE(t.remaining(), QTime(0, 0));
    QCOMPARE(t.statusText(), QString());
    QVERIFY(!t.outsideCancelShown());
    QVERIFY(!t.isCountingDown());
}

void TestReportTransaction::manualDelayCountdown_data()
{
    QTest::addColumn<QTime>("manualDelay");
    QTest::addColumn<QTime>("editorDelay");
    QTest::addColumn<QString>("delayText");
    QTest::addColumn<int>("ticksToSend");

    QTest::newRow("review took 1:30") << QTime(0, 1, 30) << QTime(0, 4, 0)
                                      << "MANUAL MODE: Transmit Delay: 1 minutes, 30 seconds" << 90;
    QTest::newRow("review took 0:00") << QTime(0, 0, 0) << QTime(0, 4, 0)
                                      << "MANUAL MODE: Transmit Delay: 0 minutes, 0 seconds" << 1;
    QTest::newRow("never reviewed: the editor's time")
        << QTime() << QTime(0, 0, 7) << "MANUAL MODE: Transmit Delay: 0 minutes, 7 seconds" << 7;
    QTest::newRow("neither valid: still ends")
        << QTime() << QTime() << "MANUAL MODE: Transmit Delay: 0 minutes, 0 seconds" << 1;
}

void TestReportTransaction::manualDelayCountdown()
{
    QFETCH(QTime, manualDelay);
    QFETCH(QTime, editorDelay);
    QFETCH(QString, delayText);
    QFETCH(int, ticksToSend);

    ReportTransaction t;
    t.changeMode(ORVAMetarMode::Manual);
    t.start(ReportKind::Metar, reportRecord(M1), QTime(0, 5));
    QSignalSpy infos(&t, &ReportTransaction::info);
    QSignalSpy sent(&t, &ReportTransaction::sendCommand);
    t.sendReviewed(reviewed(E1), true, manualDelay, editorDelay);
    QCOMPARE(infos.size(), 2);
    QCOMPARE(infos.at(1).at(0).toString(), delayText);
    // The status line is left alone until the first tick.
    QCOMPARE(t.statusText(), QString());

    int ticks = 0;
    while (sent.isEmpty() && ticks < 1000) {
        t.tick();
        ++ticks;
    }
    QCOMPARE(ticks, ticksToSend);
    QCOMPARE(sent.at(0).at(0).toByteArray(), ("send " + E1 + "\r").toUtf8());
    // No semi-automatic wording for a manual countdown.
    QCOMPARE(infos.size(), 2);
    QCOMPARE(t.state(), State::AwaitingEcho);
}

void TestReportTransaction::presentationByMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("speci");
    QTest::addColumn<QString>("information");
    QTest::addColumn<bool>("timer");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("delayBox");

    QTest::newRow("automatic METAR")
        << 0 << false << "AUTOMATIC MODE: The above METAR has been sent to the ORVA." << false
        << false << false;
    QTest::newRow("automatic SPECI")
        << 0 << true << "AUTOMATIC MODE: The above SPECI has been sent to the ORVA." << false
        << false << false;
    QTest::newRow("manual METAR")
        << 1 << false
        << "MANUAL MODE: The above METAR is ready for review. The observation will not be sent "
           "unless you manually review and send via the TABLE menu."
        << false << false << true;
    QTest::newRow("manual SPECI")
        << 1 << true
        << "MANUAL MODE: The above SPECI is ready for review. The observation will not be sent "
           "unless you manually review and send via the TABLE menu."
        << false << false << true;
    QTest::newRow("semi-automatic METAR")
        << 2 << false
        << "SEMI-AUTOMATIC MODE: The above METAR will be sent to the ORVA automatically when the "
           "timer expires even if this window is closed.\r\nSelect 'Cancel' below to stop the "
           "process."
        << true << true << false;
    QTest::newRow("semi-automatic SPECI")
        << 2 << true
        << "SEMI-AUTOMATIC MODE: The above SPECI will be sent to the ORVA automatically when the "
           "timer expires even if this window is closed.\r\nSelect 'Cancel' below to stop the "
           "process."
        << true << true << false;
}

void TestReportTransaction::presentationByMode()
{
    QFETCH(int, mode);
    QFETCH(bool, speci);
    QFETCH(QString, information);
    QFETCH(bool, timer);
    QFETCH(bool, cancel);
    QFETCH(bool, delayBox);

    ReportTransaction t;
    t.changeMode(static_cast<ORVAMetarMode>(mode));
    ReportTransaction::Popup popup;
    const QString text = speci ? S1 : M1;
    QVERIFY(t.start(speci ? ReportKind::Speci : ReportKind::Metar, reportRecord(text, speci),
                    QTime(0, 0, 5), &popup));
    QVERIFY(popup.modeKnown);
    QCOMPARE(popup.report, text);
    QCOMPARE(popup.information, information);
    QCOMPARE(popup.timerShown, timer);
    QCOMPARE(popup.cancelShown, cancel);
    QCOMPARE(popup.delayBoxShown, delayBox);
}

void TestReportTransaction::unknownModeHoldsTheReport()
{
    ReportTransaction t;
    t.changeMode(static_cast<ORVAMetarMode>(5));
    QCOMPARE(int(t.mode()), 5);
    Recorder recorder(t);
    ReportTransaction::Popup popup;
    QVERIFY(t.start(ReportKind::Metar, reportRecord(M1), QTime(0, 0, 5), &popup));
    QVERIFY(!popup.modeKnown);
    QCOMPARE(recorder.messages(), QStringList{kMetarGenerated + M1 + "'."});
    QCOMPARE(t.state(), State::AwaitingReview);
    QVERIFY(!t.isCountingDown());
}

void TestReportTransaction::resetClearsTheWindowSideState()
{
    ReportTransaction t;
    t.changeMode(ORVAMetarMode::SemiAutomatic);
    t.start(ReportKind::Metar, reportRecord(M1), QTime(0, 0, 5));
    Recorder recorder(t);
    t.changeMode(ORVAMetarMode::SemiAutomatic);
    QCOMPARE(recorder.log, (QStringList{"info|METAR mode changed to 'Semi-Automatic'.", kDropping,
                                        "timer|stop", "status|", "cancel|hidden"}));
}

void TestReportTransaction::pendingKeepsTheReportAsSent()
{
    ScopedClock clock(QDateTime(QDate(2024, 3, 5), QTime(17, 55, 3)));
    ReportTransaction t;
    t.changeMode(ORVAMetarMode::Manual);
    QVERIFY(t.start(ReportKind::Metar, reportRecord(M1), QTime(0, 0, 5)));
    QCOMPARE(t.pending().record, reportRecord(M1));
    QCOMPARE(t.pending().time, QDateTime(QDate(2024, 3, 5), QTime(17, 55, 3)));

    // An edited copy with a line break goes out and is awaited as one line.
    clock.advanceSecs(20);
    Observation edited = reviewed("METAR KXYZ 041755Z\r\n27010KT\n10SM");
    edited.time = QDateTime(QDate(2024, 3, 5), QTime(17, 56, 0));
    QSignalSpy sent(&t, &ReportTransaction::sendCommand);
    t.sendReviewed(edited, false, QTime(), QTime());
    QCOMPARE(sent.at(0).at(0).toByteArray(), QByteArray("send METAR KXYZ 041755Z 27010KT 10SM\r"));
    QCOMPARE(t.pending().record.value("METAR").toString(),
             QString("METAR KXYZ 041755Z 27010KT 10SM"));
    QCOMPARE(t.pending().time, edited.time);
    QVERIFY(t.pending().edited);
    QVERIFY(t.confirm("send METAR KXYZ 041755Z 27010KT 10SM"));
    // The transaction ends; its time stays.
    QVERIFY(t.pending().record.isEmpty());
    QCOMPARE(t.pending().time, edited.time);
}

void TestReportTransaction::sendCommandBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("command");

    QTest::newRow("METAR") << "METAR KXYZ 041755Z AUTO 00000KT 10SM CLR 21/08 A3002"
                           << QByteArray("send METAR KXYZ 041755Z AUTO 00000KT 10SM CLR 21/08 "
                                         "A3002\r");
    QTest::newRow("SPECI") << "SPECI KXYZ 041812Z 3SM -RA"
                           << QByteArray("send SPECI KXYZ 041812Z 3SM -RA\r");
    QTest::newRow("UTF-8") << QString::fromUtf8("RMK \xc2\xb0")
                           << QByteArray("send RMK \xc2\xb0\r");
}

void TestReportTransaction::sendCommandBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, command);
    QCOMPARE(sendCommandFor(text), command);
}

void TestReportTransaction::singleLineReport_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");

    QTest::newRow("one line") << "METAR KXYZ 27010KT"
                              << "METAR KXYZ 27010KT";
    QTest::newRow("CR LF is one blank") << "METAR KXYZ\r\n27010KT"
                                        << "METAR KXYZ 27010KT";
    QTest::newRow("LF") << "METAR KXYZ\n27010KT"
                        << "METAR KXYZ 27010KT";
    QTest::newRow("CR") << "METAR KXYZ\r27010KT"
                        << "METAR KXYZ 27010KT";
    QTest::newRow("LF CR is two") << "A\n\rB"
                                  << "A  B";
    QTest::newRow("trailing") << "A\r\n"
                              << "A ";
}

void TestReportTransaction::singleLineReport()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(::singleLineReport(text), line);
}

void TestReportTransaction::echoedReport_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("report");

    QTest::newRow("send echo") << "send METAR KXYZ"
                               << "METAR KXYZ";
    QTest::newRow("exactly five") << "send "
                                  << "";
    QTest::newRow("four: whole") << "send"
                                 << "send";
    QTest::newRow("empty") << ""
                           << "";
}

void TestReportTransaction::echoedReport()
{
    QFETCH(QString, reply);
    QFETCH(QString, report);
    QCOMPARE(::echoedReport(reply), report);
}

QTEST_GUILESS_MAIN(TestReportTransaction)
#include "tst_reporttransaction.moc"
