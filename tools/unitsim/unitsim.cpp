#include "tools/unitsim/unitsim.h"

#include "link/linkcrypto.h"
#include "tools/unitsim/ptypair.h"

#include <QRegularExpression>
#include <QTimer>

#include <cmath>
#include <utility>

namespace unitsim
{

namespace
{

// Longer than the station's wait of more than five 100 ms ticks, with room for a busy machine.
constexpr int kBrqQuietMs = 850;
// Keeps a legacy block out of the read that carries a keyword answer, which would drop both.
constexpr int kLegacyQuietMs = 300;
constexpr int kPollMs = 5;
// Bytes that never end a line are noise; a unit does not keep them for ever.
constexpr int kMaxLine = 4096;

QString oneDecimal(double v)
{
    return QString::number(v, 'f', 1);
}

} // namespace

QString checkOptions(const UnitOptions& o)
{
    if (o.periodMs <= 0)
        return QStringLiteral("the record period must be above 0");
    if (o.completionDelayMs < 0)
        return QStringLiteral("the completion delay must not be negative");
    if (o.paceBaud < 0)
        return QStringLiteral("the line rate must not be negative");
    if (o.keyAnswerDelayMs < 0 || o.ivAnswerDelayMs < 0)
        return QStringLiteral("the key and IV answer delays must not be negative");
    if (!QRegularExpression(QStringLiteral("^[A-Za-z0-9_-]{1,32}$")).match(o.stationId).hasMatch())
        return QStringLiteral("the station identifier must be 1 to 32 letters, digits, _ or -");

    const auto key = QByteArray::fromBase64Encoding(o.key, QByteArray::AbortOnBase64DecodingErrors);
    const auto iv = QByteArray::fromBase64Encoding(o.iv, QByteArray::AbortOnBase64DecodingErrors);
    if (!o.key.isEmpty() && (!key || key.decoded.size() != kAesKeyLength))
        return QStringLiteral("the key must be the Base64 text of 32 bytes");
    if (!o.iv.isEmpty() && (!iv || iv.decoded.size() != kAesIvLength))
        return QStringLiteral("the IV must be the Base64 text of 8 bytes");
    if (o.key.isEmpty() != o.iv.isEmpty())
        return QStringLiteral("a key needs an IV and an IV a key");

    const bool encrypted =
        o.frames == FrameWrap::Encrypted || o.frames == FrameWrap::CompressedEncrypted;
    if (encrypted && o.key.isEmpty())
        return QStringLiteral("encrypted frames need a key and an IV");
    if (o.frames != FrameWrap::Plain && o.family != Family::Orva)
        return QStringLiteral("only an ORVA unit wraps its frames");
    if (o.oldBitLine && o.family != Family::Orva)
        return QStringLiteral("only an ORVA unit sends built-in-test lines");
    const bool compressed =
        o.frames == FrameWrap::Compressed || o.frames == FrameWrap::CompressedEncrypted;
    if (compressed &&
        !QRegularExpression(QStringLiteral("^[A-Z0-9]+$")).match(o.stationId).hasMatch())
        return QStringLiteral("compressed records need a station identifier of upper-case "
                              "letters and digits");
    return QString();
}

WeatherSample weatherSample(int index)
{
    const double n = index;
    WeatherSample w;
    const double pressure = 1013.2 + 2.0 * std::sin(n * 0.05);
    const double speed = 9.0 + 4.0 * std::sin(n * 0.3);
    w.temperature = oneDecimal(15.0 + 4.0 * std::sin(n * 0.15));
    w.humidity = QString::number(std::lround(60.0 + 15.0 * std::sin(n * 0.1 + 1.0)));
    w.pressure = oneDecimal(pressure);
    // Reduced to sea level for the unit's 100 m, in hundredths of an inch.
    w.altimeter = QString::number(std::lround((pressure + 12.0) * 2.953));
    w.windSpeed = oneDecimal(speed);
    w.windSpeedInst = oneDecimal(speed + 1.5 * std::sin(n * 1.7));
    w.windDirection = QString::number(std::lround(240.0 + 30.0 * std::sin(n * 0.2)));
    w.gustSpeed = oneDecimal(speed + 6.0);
    w.gustDirection = QString::number(std::lround(250.0 + 30.0 * std::sin(n * 0.2)));
    w.voltage = oneDecimal(12.6 - 0.1 * (index % 3));
    return w;
}

UnitSim::UnitSim(const UnitOptions& unitOptions, QObject* parent)
    : QObject(parent), options(unitOptions)
{
    icao = options.stationId.toUpper();
    key = QByteArray::fromBase64(options.key);
    iv = QByteArray::fromBase64(options.iv);
    encryptFrames =
        options.frames == FrameWrap::Encrypted || options.frames == FrameWrap::CompressedEncrypted;
    for (char letter : {'C', 'I', 'T', 'V', 'W', 'G', 'R'})
        modules.insert(letter, true);
    orvaDefaults();

    recordTimer = new QTimer(this);
    connect(recordTimer, &QTimer::timeout, this, &UnitSim::sendRecord);
}

bool UnitSim::open()
{
    if (pty)
        return true;
    auto* pair = new PtyPair(this);
    if (!pair->isOpen()) {
        error = pair->errorString();
        delete pair;
        return false;
    }
    pty = pair;
    pty->setPollInterval(kPollMs);
    connect(pty, &PtyPair::polled, this, &UnitSim::poll);
    return true;
}

QString UnitSim::deviceName() const
{
    return pty ? pty->slavePath() : QString();
}

QString UnitSim::portPath() const
{
    return pty ? pty->portPath() : QString();
}

void UnitSim::unplug()
{
    if (pty)
        pty->closeMaster();
    setLinked(false);
}

bool UnitSim::plugIn()
{
    return pty && pty->reopen();
}

void UnitSim::poll()
{
    const QByteArray got = pty->takeReceived();
    const bool hungUp = !pty->slaveHeld();
    if (!hungUp)
        setLinked(true);
    if (!got.isEmpty() && linked)
        received(got);
    if (hungUp)
        setLinked(false);
    pump();
}

void UnitSim::setLinked(bool on)
{
    if (on == linked)
        return;
    linked = on;
    ++linkGeneration;
    inBuffer.clear();
    outPending.clear();
    replies.clear();
    packets.clear();
    recordWaiting = false;
    blankRun = 0;
    sinceSend.invalidate();
    if (on) {
        emit activity(QStringLiteral("station connected"));
        if (options.family == Family::Brq)
            brqLinked();
        for (const std::function<void()>& send : std::exchange(answersForNextLink, {}))
            send();
        recordTimer->start(options.periodMs);
    } else {
        emit activity(QStringLiteral("station disconnected"));
        recordTimer->stop();
    }
    emit linkChanged(on);
}

void UnitSim::received(const QByteArray& bytes)
{
    switch (options.family) {
    case Family::Orva:
        orvaReceived(bytes);
        break;
    case Family::LegacyOrva:
        legacyReceived(bytes);
        break;
    case Family::Brq:
        brqReceived(bytes);
        break;
    }
    if (inBuffer.size() > kMaxLine)
        inBuffer.clear();
}

// Commands end in "\r\n", "\r" alone or "\n" alone.
bool UnitSim::takeLine(QByteArray& buffer, QByteArray* line)
{
    const int cr = buffer.indexOf('\r');
    const int lf = buffer.indexOf('\n');
    const int end = cr < 0 ? lf : (lf < 0 ? cr : qMin(cr, lf));
    if (end < 0)
        return false;
    *line = buffer.left(end);
    buffer.remove(0, end + 1);
    return true;
}

void UnitSim::sendRecord()
{
    // A record still waiting for silence is not joined by another: the newer would only be
    // stale by the time it went out.
    if (recordWaiting)
        return;
    switch (options.family) {
    case Family::Orva: {
        char type = '0';
        const QByteArray frame = orvaRecord(&type);
        sendOrva(frame, true);
        emit activity(QStringLiteral("record %1 sent as type %2").arg(recordIndex).arg(type));
        break;
    }
    case Family::LegacyOrva:
        queuePacket(legacyRecord(), true);
        emit activity(QStringLiteral("record %1 queued").arg(recordIndex));
        break;
    case Family::Brq:
        brqSchedule();
        queuePacket(brqRecord(), true);
        emit activity(QStringLiteral("record %1 queued").arg(recordIndex));
        break;
    }
    emit recordSent(recordIndex);
    ++recordIndex;
}

void UnitSim::reply(const QByteArray& bytes)
{
    replies.append(bytes);
    pump();
}

void UnitSim::queuePacket(const QByteArray& bytes, bool record)
{
    packets.append({bytes, record});
    if (record)
        recordWaiting = true;
    pump();
}

int UnitSim::quietMs() const
{
    switch (options.family) {
    case Family::Brq:
        return kBrqQuietMs;
    case Family::LegacyOrva:
        return kLegacyQuietMs;
    case Family::Orva:
        break;
    }
    return 0;
}

void UnitSim::pump()
{
    if (!linked)
        return;
    flushOut();
    while (!replies.isEmpty())
        writeOut(replies.takeFirst());
    // A packet waits until the bytes before it are on the line and the quiet time has passed.
    while (!packets.isEmpty() && outPending.isEmpty() &&
           (!sinceSend.isValid() || sinceSend.elapsed() >= quietMs())) {
        const Packet packet = packets.takeFirst();
        writeOut(packet.bytes);
        if (packet.record)
            recordWaiting = false;
    }
}

void UnitSim::writeOut(const QByteArray& bytes)
{
    // A line that has sent everything starts a new run: silence earns no burst.
    if (outPending.isEmpty() && (!paceClock.isValid() || lineDue() > pacedBytes)) {
        paceClock.start();
        pacedBytes = 0;
    }
    outPending += bytes;
    flushOut();
}

// The bytes of the current run that the line has begun to send by now: the first at once, each
// further one a character time later.
qint64 UnitSim::lineDue() const
{
    return paceClock.nsecsElapsed() / 1000 * options.paceBaud / 10 / 1000000 + 1;
}

qint64 UnitSim::lineAllows() const
{
    if (options.paceBaud <= 0)
        return outPending.size();
    return qMin<qint64>(outPending.size(), lineDue() - pacedBytes);
}

void UnitSim::flushOut()
{
    while (!outPending.isEmpty()) {
        const qint64 allowed = lineAllows();
        if (allowed <= 0)
            break; // the rest goes with a later poll
        const qint64 n = pty->writeSome(outPending.constData(), allowed);
        if (n > 0) {
            outPending.remove(0, int(n));
            pacedBytes += n;
            sinceSend.start();
            continue;
        }
        if (n < 0)
            outPending.clear(); // the line is gone; poll() notices
        break;                  // 0: the rest goes with the next poll
    }
}

void UnitSim::later(int ms, const std::function<void()>& step)
{
    const int generation = linkGeneration;
    QTimer::singleShot(ms, this, [this, generation, step] {
        if (linked && generation == linkGeneration)
            step();
    });
}

} // namespace unitsim
