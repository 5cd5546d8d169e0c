#include "reports/reporttransaction.h"

#include "decoder/clock.h"

#include <QRegularExpression>

namespace
{

const QString countdownFormat = QStringLiteral("mm:ss");

struct KindTexts {
    QString generated;
    QString droppedWhileBusy;
    QString automaticTriggered;
    QString automaticInformation;
    QString semiAutomaticInformation;
    QString manualInformation;
};

const KindTexts& textsFor(ReportKind kind)
{
    static const KindTexts metar{
        QStringLiteral("METAR generated: '"),
        QStringLiteral("New METAR generated before prior transaction could complete. The "
                       "following message will not send: '"),
        QStringLiteral("METAR send triggered (Automatic)."),
        QStringLiteral("AUTOMATIC MODE: The above METAR has been sent to the ORVA."),
        QStringLiteral("SEMI-AUTOMATIC MODE: The above METAR will be sent to the ORVA "
                       "automatically when the timer expires even if this window is closed.\r\n"
                       "Select 'Cancel' below to stop the process."),
        QStringLiteral("MANUAL MODE: The above METAR is ready for review. The observation will "
                       "not be sent unless you manually review and send via the TABLE menu."),
    };
    static const KindTexts speci{
        QStringLiteral("SPECI generated: '"),
        QStringLiteral("New SPECI generated before prior transaction could complete. The "
                       "following message will not send: '"),
        QStringLiteral("SPECI send triggered (Automatic)."),
        QStringLiteral("AUTOMATIC MODE: The above SPECI has been sent to the ORVA."),
        QStringLiteral("SEMI-AUTOMATIC MODE: The above SPECI will be sent to the ORVA "
                       "automatically when the timer expires even if this window is closed.\r\n"
                       "Select 'Cancel' below to stop the process."),
        QStringLiteral("MANUAL MODE: The above SPECI is ready for review. The observation will "
                       "not be sent unless you manually review and send via the TABLE menu."),
    };
    return kind == ReportKind::Speci ? speci : metar;
}

const QString emptyReportError = QStringLiteral("METAR/SPECI not sent: the report text is empty.");

// Countdowns run on minutes and seconds only, so one always ends; a delay that is not a valid
// time counts down from 0:00.
QTime countdownFrom(const QTime& delay)
{
    return delay.isValid() ? QTime(0, delay.minute(), delay.second()) : QTime(0, 0);
}

QString textOf(const QJsonObject& record)
{
    return record.value(QLatin1String("METAR")).toString();
}

// Keeps the pending report as it will go out, so that its echo can match.
QJsonObject withSingleLineReport(QJsonObject record, const QString& text)
{
    if (textOf(record) != text)
        record.insert(QLatin1String("METAR"), text);
    return record;
}

} // namespace

QString singleLineReport(const QString& text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("\r\n|[\r\n]"));
    QString line = text;
    return line.replace(lineBreaks, QStringLiteral(" "));
}

QString echoedReport(const QString& reply)
{
    return reply.size() < 5 ? reply : reply.mid(5);
}

QByteArray sendCommandFor(const QString& text)
{
    return (QStringLiteral("send ") + text + QLatin1Char('\r')).toUtf8();
}

ReportTransaction::ReportTransaction(QObject* parent) : QObject(parent)
{
    pending_.time = Clock::now();
}

ReportTransaction::State ReportTransaction::state() const
{
    if (!inProgress())
        return State::Idle;
    switch (countdown_) {
    case Countdown::SemiAutomatic:
        return State::CountingDownSemiAutomatic;
    case Countdown::ManualDelay:
        return State::CountingDownManualDelay;
    case Countdown::None:
        break;
    }
    return pendingSent_ ? State::AwaitingEcho : State::AwaitingReview;
}

bool ReportTransaction::start(ReportKind kind, const QJsonObject& record,
                              const QTime& transmitDelay, Popup* popup)
{
    const KindTexts& texts = textsFor(kind);
    const QString text = singleLineReport(textOf(record));
    emit info(texts.generated + text + QStringLiteral("'."));
    if (inProgress()) {
        emit error(texts.droppedWhileBusy + text + QStringLiteral("'."));
        return false;
    }
    // A report without text would be pending for an echo that can never come.
    if (text.trimmed().isEmpty()) {
        emit error(emptyReportError);
        return false;
    }

    pending_ = Observation{withSingleLineReport(record, text), Clock::now(), false, false};
    pendingSent_ = false;

    Popup shown;
    shown.report = text;
    switch (mode_) {
    case ORVAMetarMode::Automatic:
        emit info(texts.automaticTriggered);
        send(text);
        shown.modeKnown = true;
        shown.information = texts.automaticInformation;
        break;
    case ORVAMetarMode::Manual:
        shown.modeKnown = true;
        shown.information = texts.manualInformation;
        shown.delayBoxShown = true;
        break;
    case ORVAMetarMode::SemiAutomatic:
        shown.modeKnown = true;
        shown.information = texts.semiAutomaticInformation;
        shown.timerShown = true;
        shown.cancelShown = true;
        startCountdown(Countdown::SemiAutomatic, transmitDelay);
        setStatusText(QStringLiteral("Sending in: ") + remaining_.toString(countdownFormat));
        setOutsideCancelShown(true);
        break;
    }
    if (popup)
        *popup = shown;
    return true;
}

bool ReportTransaction::tick()
{
    if (!isCountingDown())
        return false;
    // Whatever ended the transaction should have stopped the countdown; never send nothing.
    if (!inProgress()) {
        stopCountdown();
        return false;
    }
    if (remaining_ > QTime(0, 0))
        remaining_ = remaining_.addSecs(-1);
    setStatusText(QStringLiteral("Sending in: ") + remaining_.toString(countdownFormat));
    if (remaining_ > QTime(0, 0))
        return false;

    const QString text = textOf(pending_.record);
    if (mode_ == ORVAMetarMode::SemiAutomatic)
        emit info(QStringLiteral("SEMIAUTOMATIC MODE: transmit delay timer complete with no user "
                                 "review. Sending unedited METAR'") +
                  text + QStringLiteral("'."));
    send(text);
    stopCountdown();
    setStatusText(QString());
    setOutsideCancelShown(false);
    return true;
}

bool ReportTransaction::confirm(const QString& reply)
{
    const QString tail = echoedReport(reply);
    // While idle the pending text is empty; an echo of nothing confirms nothing.
    if (!inProgress() || tail != textOf(pending_.record)) {
        emit error(QStringLiteral("METAR/SPECI unexpected message received = '") + tail +
                   QStringLiteral("'."));
        return false;
    }
    emit info(QStringLiteral("METAR/SPECI send confirmed. Message = '") + tail +
              QStringLiteral("'."));
    pending_.record = QJsonObject();
    pendingSent_ = false;
    // The report is already at the unit: a countdown still running would send it twice.
    if (isCountingDown()) {
        stopCountdown();
        setStatusText(QString());
        setOutsideCancelShown(false);
    }
    return true;
}

void ReportTransaction::cancel()
{
    emit info(QStringLiteral("SEMIAUTOMATIC MODE: User manually cancelled METAR/SPECI send."));
    reset();
}

void ReportTransaction::changeMode(ORVAMetarMode mode)
{
    mode_ = mode;
    switch (mode) {
    case ORVAMetarMode::Automatic:
        emit info(QStringLiteral("METAR mode changed to 'Automatic'."));
        break;
    case ORVAMetarMode::Manual:
        emit info(QStringLiteral("METAR mode changed to 'Manual'."));
        break;
    case ORVAMetarMode::SemiAutomatic:
        emit info(QStringLiteral("METAR mode changed to 'Semi-Automatic'."));
        break;
    default:
        emit error(QStringLiteral("METAR mode changed to unknown setting."));
        break;
    }
    if (inProgress())
        emit error(QStringLiteral("METAR mode changed while transaction in progress. Dropping "
                                  "message."));
    reset();
}

void ReportTransaction::sendReviewed(Observation observation, bool delayBoxChecked,
                                     const QTime& manualDelay, const QTime& editorDelay)
{
    const QString text = singleLineReport(textOf(observation.record));
    if (text.trimmed().isEmpty()) {
        emit error(emptyReportError);
        return;
    }
    observation.record = withSingleLineReport(observation.record, text);

    if (mode_ == ORVAMetarMode::Manual)
        emit info(QStringLiteral("MANUAL MODE: The following metar will be sent to the ORVA, '") +
                  text + QStringLiteral("'."));
    else if (inProgress() && mode_ == ORVAMetarMode::SemiAutomatic)
        emit info(QStringLiteral("SEMIAUTOMATIC MODE: Review complete and submitted for transmit"));
    else
        emit info(QStringLiteral("Offcycle Observation sent to ORVA: '") + text +
                  QStringLiteral("'."));

    if (mode_ == ORVAMetarMode::Manual && delayBoxChecked) {
        const QTime delay = countdownFrom(manualDelay.isValid() ? manualDelay : editorDelay);
        pending_ = observation;
        pendingSent_ = false;
        emit info(QStringLiteral("MANUAL MODE: Transmit Delay: ") +
                  QString::number(delay.minute()) + QStringLiteral(" minutes, ") +
                  QString::number(delay.second()) + QStringLiteral(" seconds"));
        startCountdown(Countdown::ManualDelay, delay);
        return;
    }
    reset();
    pending_ = observation;
    send(text);
}

void ReportTransaction::reset()
{
    pending_ = Observation{QJsonObject(), Clock::now(), false, false};
    pendingSent_ = false;
    stopCountdown();
    setStatusText(QString());
    setOutsideCancelShown(false);
}

void ReportTransaction::endForNewConnection()
{
    if (inProgress())
        emit error(QStringLiteral("New device connection before the report transaction could "
                                  "complete. The following message was not ") +
                   (pendingSent_ ? QStringLiteral("confirmed: '") : QStringLiteral("sent: '")) +
                   textOf(pending_.record) + QStringLiteral("'."));
    reset();
}

void ReportTransaction::send(const QString& text)
{
    emit sendCommand(sendCommandFor(singleLineReport(text)));
    pendingSent_ = true;
}

void ReportTransaction::startCountdown(Countdown kind, const QTime& from)
{
    remaining_ = countdownFrom(from);
    countdown_ = kind;
    emit countdownStarted();
}

void ReportTransaction::stopCountdown()
{
    countdown_ = Countdown::None;
    emit countdownStopped();
}

void ReportTransaction::setStatusText(const QString& text)
{
    statusText_ = text;
    emit statusTextChanged(text);
}

void ReportTransaction::setOutsideCancelShown(bool shown)
{
    outsideCancelShown_ = shown;
    emit outsideCancelShownChanged(shown);
}
