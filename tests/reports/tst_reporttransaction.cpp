// The report rules without a window: every transition of the report transaction in one table, the
// countdowns, the report text as it goes out and comes back, and the 24-hour report history.

#include "reports/reporthistory.h"
#include "reports/reporttransaction.h"
#include "tests/support/scopedclock.h"
#include "tests/support/testsupport.h"

#include <QJsonObject>
#include <QtTest>

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

// What the operator and the unit see of a transaction, in order: "info|..", "error|..",
// "send|.." lines.
struct Messages {
    explicit Messages(ReportTransaction& t)
    {
        QObject::connect(&t, &ReportTransaction::info,
                         [this](const QString& s) { lines << "info|" + s; });
        QObject::connect(&t, &ReportTransaction::error,
                         [this](const QString& s) { lines << "error|" + s; });
        QObject::connect(&t, &ReportTransaction::sendCommand, [this](const QByteArray& b) {
            lines << "send|" + QString::fromUtf8(b).replace("\r", "\\r");
        });
    }
    QStringList lines;
};

// The state as one text: its name, the countdown of the status line, and "cancel" while the
// main window's cancel button is shown.
QString stateText(const ReportTransaction& t)
{
    static const char* const names[] = {"idle", "review", "semi", "manual", "echo"};
    QString text = names[int(t.state())];
    if (!t.statusText().isEmpty())
        text += t.statusText().startsWith("Sending in: ") ? " " + t.statusText().mid(12)
                                                          : " [" + t.statusText() + "]";
    if (t.outsideCancelShown())
        text += " cancel";
    const bool counting = text.startsWith("semi") || text.startsWith("manual");
    return t.isCountingDown() == counting ? text : text + " (countdown flag wrong)";
}

// Events: "mode:N", "metar:T", "speci:T", "tick", "tick*N", "echo:R", "cancel",
// "newconnection", "send:T" (reviewed send), "senddelay:T" (with the delay box checked; Review
// took no delay, the window's editor shows 0:03). New reports count down from 0:05.
void run(ReportTransaction& t, const QStringList& events)
{
    for (const QString& event : events) {
        const QString name = event.section(':', 0, 0);
        const QString arg = event.section(':', 1);
        if (name == "mode")
            t.changeMode(static_cast<ORVAMetarMode>(arg.toInt()));
        else if (name == "metar" || name == "speci")
            t.start(name == "speci" ? ReportKind::Speci : ReportKind::Metar,
                    reportRecord(arg, name == "speci"), QTime(0, 0, 5));
        else if (name.startsWith("tick"))
            for (int i = name == "tick" ? 1 : name.mid(5).toInt(); i > 0; --i)
                t.tick();
        else if (name == "echo")
            t.confirm(arg);
        else if (name == "cancel")
            t.cancel();
        else if (name == "newconnection")
            t.endForNewConnection();
        else if (name == "send" || name == "senddelay")
            t.sendReviewed(reviewed(arg), name == "senddelay", QTime(), QTime(0, 0, 3));
        else
            qFatal("unknown event %s", qPrintable(event));
    }
}

QString send(const QString& text)
{
    return "send|send " + text + "\\r";
}
QString generated(const QString& text)
{
    return (text.startsWith("SPECI") ? "info|SPECI" : "info|METAR") + QString(" generated: '") +
           text + "'.";
}
QString busy(const QString& text)
{
    return "error|New " + text.left(5) +
           " generated before prior transaction could complete. The following message will not "
           "send: '" +
           text + "'.";
}
QString confirmed(const QString& text)
{
    return "info|METAR/SPECI send confirmed. Message = '" + text + "'.";
}
QString unexpected(const QString& text)
{
    return "error|METAR/SPECI unexpected message received = '" + text + "'.";
}
QString modeChanged(const QString& name)
{
    return "info|METAR mode changed to '" + name + "'.";
}
QString manualSend(const QString& text)
{
    return "info|MANUAL MODE: The following metar will be sent to the ORVA, '" + text + "'.";
}
QString timerComplete(const QString& text)
{
    return "info|SEMIAUTOMATIC MODE: transmit delay timer complete with no user review. Sending "
           "unedited METAR'" +
           text + "'.";
}
QString offcycle(const QString& text)
{
    return "info|Offcycle Observation sent to ORVA: '" + text + "'.";
}
QString notCompleted(const QString& how, const QString& text)
{
    return "error|New device connection before the report transaction could complete. The "
           "following message was not " +
           how + ": '" + text + "'.";
}
const QString kCancelled = "info|SEMIAUTOMATIC MODE: User manually cancelled METAR/SPECI send.";
const QString kDropping =
    "error|METAR mode changed while transaction in progress. Dropping message.";
const QString kEmpty = "error|METAR/SPECI not sent: the report text is empty.";
const QString kDelay3 = "info|MANUAL MODE: Transmit Delay: 0 minutes, 3 seconds";

const QDateTime kNoon(QDate(2024, 3, 5), QTime(12, 0, 0));

Observation entry(const QString& text, qint64 ageSecs, bool sent = false)
{
    return Observation{QJsonObject{{"METAR", text}, {"Obs METAR", true}}, kNoon.addSecs(-ageSecs),
                       sent, false};
}

QStringList texts(const ReportHistory& history)
{
    QStringList out;
    for (const Observation& o : history.entries())
        out << reportText(o.record);
    return out;
}

void row(const char* name, const QStringList& setup, const QStringList& events,
         const QStringList& messages, const QString& state)
{
    QTest::newRow(name) << setup << events << messages << state;
}

} // namespace

class TestReportTransaction : public QObject
{
    Q_OBJECT

private slots:
    // From a state reached by `setup`, the events: the messages, commands and resulting state.
    void transitions_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("state");

        const QStringList idle;
        const QStringList review{"mode:1", "metar:" + M1};
        const QStringList semi{"mode:2", "metar:" + M1};
        const QStringList manual{"mode:1", "metar:" + M1, "senddelay:" + E1};
        const QStringList echo{"metar:" + M1};

        row("idle, METAR in automatic: sent at once", idle, {"metar:" + M1},
            {generated(M1), "info|METAR send triggered (Automatic).", send(M1)}, "echo");
        row("idle, SPECI in automatic: its own texts", idle, {"speci:" + S1},
            {generated(S1), "info|SPECI send triggered (Automatic).", send(S1)}, "echo");
        row("idle, METAR in manual: held", {"mode:1"}, {"metar:" + M1}, {generated(M1)}, "review");
        row("idle, METAR in semi-automatic: counted down", {"mode:2"}, {"metar:" + M1},
            {generated(M1)}, "semi 00:05 cancel");
        row("idle, unknown mode: held, nothing sent", {"mode:5"}, {"metar:" + M1}, {generated(M1)},
            "review");
        row("idle, blank report: nothing pending", idle, {"metar:   "},
            {"info|METAR generated: '   '.", kEmpty}, "idle");
        row("idle, bare \"send \" echo confirms nothing", idle, {"echo:send "}, {unexpected("")},
            "idle");
        row("idle, cancel: message only", idle, {"cancel"}, {kCancelled}, "idle");
        row("idle, new connection: nothing to say", idle, {"newconnection"}, {}, "idle");
        row("idle, tick: nothing sent", idle, {"tick"}, {}, "idle");
        row("idle, mode change: no drop message", idle, {"mode:2"}, {modeChanged("Semi-Automatic")},
            "idle");
        row("idle, off-cycle send in automatic", idle, {"send:" + E1}, {offcycle(E1), send(E1)},
            "echo");
        row("idle, off-cycle send in semi-automatic", {"mode:2"}, {"send:" + E1},
            {offcycle(E1), send(E1)}, "echo");
        row("idle, manual send", {"mode:1"}, {"send:" + E1}, {manualSend(E1), send(E1)}, "echo");
        row("idle, blank reviewed send", {"mode:1"}, {"send: "}, {kEmpty}, "idle");

        row("review, METAR dropped", review, {"metar:" + M2}, {generated(M2), busy(M2)}, "review");
        row("review, SPECI dropped", review, {"speci:" + S1}, {generated(S1), busy(S1)}, "review");
        row("review, reviewed send", review, {"send:" + E1}, {manualSend(E1), send(E1)}, "echo");
        row("review, reviewed send with delay", review, {"senddelay:" + E1},
            {manualSend(E1), kDelay3}, "manual");
        row("review, cancel", review, {"cancel"}, {kCancelled}, "idle");
        row("review, same mode again drops it", review, {"mode:1"},
            {modeChanged("Manual"), kDropping}, "idle");
        row("review, matching echo", review, {"echo:send " + M1}, {confirmed(M1)}, "idle");
        row("review, tick", review, {"tick"}, {}, "review");

        row("semi, tick", semi, {"tick"}, {}, "semi 00:04 cancel");
        row("semi, fifth tick sends", semi, {"tick*5"}, {timerComplete(M1), send(M1)}, "echo");
        row("semi, SPECI at 0:00 with the METAR wording", {"mode:2", "speci:" + S1}, {"tick*5"},
            {timerComplete(S1), send(S1)}, "echo");
        row("semi, reviewed send", semi, {"tick", "send:" + E1},
            {"info|SEMIAUTOMATIC MODE: Review complete and submitted for transmit", send(E1)},
            "echo");
        row("semi, METAR dropped", semi, {"metar:" + M2}, {generated(M2), busy(M2)},
            "semi 00:05 cancel");
        row("semi, cancel", semi, {"tick", "cancel"}, {kCancelled}, "idle");
        row("semi, mode change drops it", semi, {"tick", "mode:0"},
            {modeChanged("Automatic"), kDropping}, "idle");
        row("semi, matching echo stops the countdown", semi, {"tick", "echo:send " + M1, "tick*9"},
            {confirmed(M1)}, "idle");
        row("semi, other echo", semi, {"echo:send " + M2}, {unexpected(M2)}, "semi 00:05 cancel");
        row("semi, new connection: never sent, the next METAR counted down", semi,
            {"tick", "newconnection", "tick*10", "metar:" + M2},
            {notCompleted("sent", M1), generated(M2)}, "semi 00:05 cancel");

        row("manual delay, two ticks", manual, {"tick*2"}, {}, "manual 00:01");
        row("manual delay, third tick sends", manual, {"tick*3"}, {send(E1)}, "echo");
        row("manual delay, a new delayed send restarts it", manual,
            {"tick*2", "senddelay:" + M2, "tick*2"}, {manualSend(M2), kDelay3}, "manual 00:01");
        row("manual delay, send without delay", manual, {"send:" + M2}, {manualSend(M2), send(M2)},
            "echo");
        row("manual delay after a send awaiting its echo: the new one is not sent yet",
            {"mode:1", "send:" + M1}, {"senddelay:" + E1, "newconnection"},
            {manualSend(E1), kDelay3, notCompleted("sent", E1)}, "idle");
        row("manual delay, mode change drops it", manual, {"tick", "mode:2"},
            {modeChanged("Semi-Automatic"), kDropping}, "idle");

        row("echo, matching echo", echo, {"echo:send " + M1}, {confirmed(M1)}, "idle");
        row("echo, other text", echo, {"echo:send " + M2}, {unexpected(M2)}, "echo");
        row("echo, new connection: not confirmed", echo, {"newconnection"},
            {notCompleted("confirmed", M1)}, "idle");
        row("echo, after the echo the next METAR goes", echo, {"echo:send " + M1, "metar:" + M2},
            {confirmed(M1), generated(M2), "info|METAR send triggered (Automatic).", send(M2)},
            "echo");
        row("echo, off-cycle send replaces the pending report", echo,
            {"send:" + E1, "echo:send " + M1}, {offcycle(E1), send(E1), unexpected(M1)}, "echo");
        row("echo, unknown mode drops it", echo, {"mode:7"},
            {"error|METAR mode changed to unknown setting.", kDropping}, "idle");
        row("echo, stray ticks resend nothing", echo, {"tick*3"}, {}, "echo");
    }
    void transitions()
    {
        QFETCH(QStringList, setup);
        QFETCH(QStringList, events);
        QFETCH(QStringList, messages);
        QFETCH(QString, state);
        ReportTransaction t;
        run(t, setup);
        Messages seen(t);
        run(t, events);
        QCOMPARE(seen.lines, messages);
        QCOMPARE(stateText(t), state);
    }

    // The status line before each tick, and the tick that sends. Minutes and seconds only, so
    // every countdown ends.
    void countdowns_data()
    {
        QTest::addColumn<bool>("manual");
        QTest::addColumn<QTime>("delay");  // semi-automatic: the transmit delay; manual: Review's
        QTest::addColumn<QTime>("editor"); // the window's delay editor
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("ticks");
        const QTime none;
        QTest::newRow("0:05") << false << QTime(0, 0, 5) << none
                              << QStringList{"05", "04", "03", "02", "01"} << 5;
        QTest::newRow("0:00 at the first tick")
            << false << QTime(0, 0, 0) << none << QStringList{"00"} << 1;
        QTest::newRow("1:01 across the minute")
            << false << QTime(0, 1, 1) << none << QStringList{"01:01", "01:00", "00:59"} << 61;
        QTest::newRow("an hour part is ignored")
            << false << QTime(2, 0, 4) << none << QStringList{"04"} << 4;
        QTest::newRow("no valid delay") << false << none << none << QStringList{"00"} << 1;
        QTest::newRow("manual, Review took 1:30")
            << true << QTime(0, 1, 30) << QTime(0, 4, 0) << QStringList{"", "01:29"} << 90;
        QTest::newRow("manual, never reviewed: the editor's time")
            << true << none << QTime(0, 0, 7) << QStringList{"", "00:06"} << 7;
        QTest::newRow("manual, neither valid") << true << none << none << QStringList{""} << 1;
    }
    void countdowns()
    {
        QFETCH(bool, manual);
        QFETCH(QTime, delay);
        QFETCH(QTime, editor);
        QFETCH(QStringList, before);
        QFETCH(int, ticks);
        ReportTransaction t;
        t.changeMode(manual ? ORVAMetarMode::Manual : ORVAMetarMode::SemiAutomatic);
        QVERIFY(t.start(ReportKind::Metar, reportRecord(M1), manual ? QTime(0, 5) : delay));
        Messages seen(t);
        if (manual)
            t.sendReviewed(reviewed(E1), true, delay, editor);
        for (int tick = 1; tick <= ticks; ++tick) {
            if (tick <= before.size()) {
                const QString left = before.at(tick - 1);
                QCOMPARE(t.statusText(), left.isEmpty()       ? QString()
                                         : left.contains(':') ? "Sending in: " + left
                                                              : "Sending in: 00:" + left);
            }
            QCOMPARE(seen.lines.filter("send|").size(), 0);
            QCOMPARE(t.tick(), tick == ticks);
        }
        QCOMPARE(seen.lines.last(), send(manual ? E1 : M1));
        if (manual) {
            const QTime took = delay.isValid() ? delay : editor.isValid() ? editor : QTime(0, 0);
            QCOMPARE(seen.lines.at(1), QString("info|MANUAL MODE: Transmit Delay: %1 minutes, %2 "
                                               "seconds")
                                           .arg(took.minute())
                                           .arg(took.second()));
            QCOMPARE(seen.lines.size(), 3); // no semi-automatic wording
        }
        QCOMPARE(stateText(t), QString("echo"));
    }

    // An edited copy with line breaks goes out and is awaited as one line; the pending report
    // keeps its record and time.
    void pendingKeepsTheReportAsSent()
    {
        ScopedClock clock(QDateTime(QDate(2024, 3, 5), QTime(17, 55, 3)));
        ReportTransaction t;
        t.changeMode(ORVAMetarMode::Manual);
        QVERIFY(t.start(ReportKind::Metar, reportRecord(M1), QTime(0, 0, 5)));
        QCOMPARE(t.pending().record, reportRecord(M1));
        QCOMPARE(t.pending().time, QDateTime(QDate(2024, 3, 5), QTime(17, 55, 3)));

        Observation edited = reviewed("METAR KXYZ 041755Z\r\n27010KT\n10SM");
        edited.time = QDateTime(QDate(2024, 3, 5), QTime(17, 56, 0));
        Messages seen(t);
        t.sendReviewed(edited, false, QTime(), QTime());
        QCOMPARE(seen.lines.last(), send("METAR KXYZ 041755Z 27010KT 10SM"));
        QCOMPARE(t.pending().time, edited.time);
        QVERIFY(t.pending().edited);
        QVERIFY(t.confirm("send METAR KXYZ 041755Z 27010KT 10SM"));
        QVERIFY(t.pending().record.isEmpty());
    }

    void reportTexts()
    {
        QCOMPARE(::singleLineReport("A\r\nB\nC\rD\n\rE\r\n"), QString("A B C D  E "));
        QCOMPARE(sendCommandFor(QString::fromUtf8("SPECI RMK \xc2\xb0")),
                 QByteArray("send SPECI RMK \xc2\xb0\r"));
        QCOMPARE(::echoedReport("send METAR KXYZ"), QString("METAR KXYZ"));
        QCOMPARE(::echoedReport("send "), QString());
        QCOMPARE(::echoedReport("send"), QString("send"));
    }

    void isReportRecord_data()
    {
        QTest::addColumn<QJsonObject>("record");
        QTest::addColumn<bool>("report");
        QTest::newRow("ordinary record") << QJsonObject{{"METAR", "METAR KXYZ"}} << false;
        QTest::newRow("both false")
            << QJsonObject{{"Obs METAR", false}, {"Obs SPECI", false}} << false;
        QTest::newRow("METAR") << QJsonObject{{"Obs METAR", true}, {"Obs SPECI", false}} << true;
        QTest::newRow("SPECI") << QJsonObject{{"Obs METAR", false}, {"Obs SPECI", true}} << true;
        QTest::newRow("text \"true\"") << QJsonObject{{"Obs METAR", "true"}} << false;
        QTest::newRow("number 1") << QJsonObject{{"Obs SPECI", 1}} << false;
    }
    void isReportRecord()
    {
        QFETCH(QJsonObject, record);
        QFETCH(bool, report);
        QCOMPARE(::isReportRecord(record), report);
    }

    // Ages in seconds, oldest first, at the pinned "now"; what a prune keeps.
    void pruning_data()
    {
        QTest::addColumn<QList<qint64>>("ages");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("empty") << QList<qint64>{} << QStringList{};
        QTest::newRow("86,399 s old stays") << QList<qint64>{86399} << QStringList{"r0"};
        QTest::newRow("86,400 s old goes") << QList<qint64>{86400} << QStringList{};
        QTest::newRow("front first, up to the first young one")
            << QList<qint64>{90000, 86400, 3600, 60} << QStringList{"r2", "r3"};
        QTest::newRow("an old entry behind a young one stays")
            << QList<qint64>{3600, 90000} << QStringList{"r0", "r1"};
        QTest::newRow("an entry from the future stays")
            << QList<qint64>{-600, 90000} << QStringList{"r0", "r1"};
    }
    void pruning()
    {
        QFETCH(QList<qint64>, ages);
        QFETCH(QStringList, kept);
        ScopedClock clock(kNoon);
        ReportHistory history;
        for (int i = 0; i < ages.size(); ++i)
            history.append(entry(QStringLiteral("r%1").arg(i), ages.at(i)));
        int dropped = 0;
        while (history.dropExpiredFront())
            ++dropped;
        QCOMPARE(texts(history), kept);
        QCOMPARE(dropped, ages.size() - kept.size());
    }

    void markSent_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("echoed");
        QTest::addColumn<int>("index");
        QTest::newRow("the matching entry") << QStringList{"A", "B", "C"} << "B" << 1;
        QTest::newRow("the oldest of two") << QStringList{"A", "B", "A"} << "A" << 0;
        QTest::newRow("no match") << QStringList{"A", "B"} << "C" << -1;
        QTest::newRow("exact text only") << QStringList{"METAR A", "METAR AB"} << "METAR A " << -1;
    }
    void markSent()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, echoed);
        QFETCH(int, index);
        ReportHistory history;
        for (const QString& text : entries)
            history.append(entry(text, 60));
        // A second echo of the same text finds the same, already marked, entry.
        for (int echo = 0; echo < 2; ++echo) {
            QCOMPARE(history.markSent(echoed), index);
            QCOMPARE(history.sentIndexes(), index < 0 ? QList<int>{} : QList<int>{index});
        }
        QVERIFY(history.value(index).record.isEmpty() == (index < 0));
        QVERIFY(history.value(entries.size()).record.isEmpty());
    }

    // The copy an edit stores: one line, stamped now, edited and not sent, even when its source
    // was confirmed; the record's other values stay.
    void editedCopy()
    {
        ScopedClock clock(kNoon);
        const QJsonObject record{{"METAR", "METAR KXYZ"}, {"Obs METAR", true}, {"TA", "21.0"}};
        const Observation copy = editedObservation(
            Observation{record, kNoon.addSecs(-3600), true, false}, "METAR KXYZ\r\n041755Z\nAUTO");
        QCOMPARE(copy.record.value("METAR").toString(), QString("METAR KXYZ 041755Z AUTO"));
        QCOMPARE(copy.record.value("TA").toString(), QString("21.0"));
        QCOMPARE(copy.time, kNoon);
        QVERIFY(copy.edited && !copy.sent);
    }
};

QTEST_GUILESS_MAIN(TestReportTransaction)
#include "tst_reporttransaction.moc"
