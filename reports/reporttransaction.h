#pragma once

#include "decoder/sharedtypes.h"
#include "reports/observation.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTime>

enum class ReportKind { Metar, Speci };

// The report as one command line: every line break becomes a blank, so that an edited report
// can never turn into two commands.
QString singleLineReport(const QString& text);

// The report text that a send echo carries: the echo less its leading "send " (an echo shorter
// than that is taken whole).
QString echoedReport(const QString& reply);

// The device command that sends a report: "send ", the text and "\r", as UTF-8.
QByteArray sendCommandFor(const QString& text);

// One report transaction at a time: a new METAR or SPECI is sent at once, held for review or
// counted down by the transmission mode, and stays pending until the unit echoes it, the
// operator cancels or the mode changes. The owner drives the countdown: it runs a 1000 ms timer
// between countdownStarted() and countdownStopped() and calls tick() on each timeout.
class ReportTransaction : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,
        AwaitingReview, // pending, not sent, no countdown (also a report held in an unknown mode)
        CountingDownSemiAutomatic,
        CountingDownManualDelay,
        AwaitingEcho
    };
    Q_ENUM(State)

    // How the report window presents a transaction that has just started.
    struct Popup {
        bool modeKnown = false; // false: the window is left as it is and not shown
        QString report;
        QString information;
        bool timerShown = false;    // countdown label
        bool cancelShown = false;   // the window's Cancel Send
        bool delayBoxShown = false; // shown unchecked; the delay editor and caption start hidden
    };

    explicit ReportTransaction(QObject* parent = nullptr);

    ORVAMetarMode mode() const { return mode_; }
    State state() const;
    bool inProgress() const { return !pending_.record.isEmpty(); }
    const Observation& pending() const { return pending_; }
    QTime remaining() const { return remaining_; }
    bool isCountingDown() const { return countdown_ != Countdown::None; }
    QString statusText() const { return statusText_; }
    bool outsideCancelShown() const { return outsideCancelShown_; }

    // A new candidate; false when it was dropped (a transaction is in progress, or no text).
    bool start(ReportKind kind, const QJsonObject& record, const QTime& transmitDelay,
               Popup* popup = nullptr);
    // One countdown second; true when this tick ended the countdown (the report went out).
    bool tick();
    // The unit's echo of a send; true when it matched the pending report and ended the transaction.
    bool confirm(const QString& reply);
    void cancel();
    void changeMode(ORVAMetarMode mode);
    // A reviewed or off-cycle send. `manualDelay` is the delay taken at review; when it is not
    // valid, `editorDelay` (what the window's delay editor shows) is used.
    void sendReviewed(Observation observation, bool delayBoxChecked, const QTime& manualDelay,
                      const QTime& editorDelay);
    void reset();
    // The unit the pending report was for is gone: the report is dropped with an error that
    // names it, and a running countdown stops, so that it never reaches the next unit.
    void endForNewConnection();

signals:
    void info(const QString& text);
    void error(const QString& text);
    void sendCommand(const QByteArray& command);
    void countdownStarted();
    void countdownStopped();
    void statusTextChanged(const QString& text);
    void outsideCancelShownChanged(bool shown);

private:
    enum class Countdown { None, SemiAutomatic, ManualDelay };

    void send(const QString& text);
    void startCountdown(Countdown kind, const QTime& from);
    void stopCountdown();
    void setStatusText(const QString& text);
    void setOutsideCancelShown(bool shown);

    ORVAMetarMode mode_ = ORVAMetarMode::Automatic;
    Observation pending_;
    bool pendingSent_ = false;
    QTime remaining_;
    Countdown countdown_ = Countdown::None;
    QString statusText_;
    bool outsideCancelShown_ = false;
};
