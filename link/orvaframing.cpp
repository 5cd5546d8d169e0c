#include "link/data_incoming.h"

#include "decoder/weatherdatadecoder.h"
#include "link/linkcrypto.h"
#include "link/packetcode.h"

#include <QDebug>
#include <QLoggingCategory>
#include <QTimer>

#include <cstring>

QByteArray frameBuffer;

namespace
{

const QByteArray kTerminator("\r\n\r\n");
// "~", four checksum digits and the terminator.
constexpr int kTailLength = 9;
// "@", the type character and the two head bytes.
constexpr int kHeadLength = 4;

// An encrypted full record is about 1.4 kB of Base64 text; a buffer that grows past this without
// yielding a frame holds nothing worth waiting for.
constexpr int kFrameBufferLimit = 4096;

constexpr int kWorkAreaSize = 2048;
char decipherOutput[kWorkAreaSize];
char packetCodeInput[kWorkAreaSize];
char decodedText[kWorkAreaSize];

const char kKeyNotSet[] = "CRITICAL: Encryption Key Not Set, Unable to Decrypt Data";
const char kAesError[] = "CRITICAL: AES_ERROR, Unable to Decrypt Data";

// Errors repeat while the key stays wrong; the operator is asked again every this many.
constexpr quint16 kKeyRequestEvery = 10;
constexpr quint16 kAesErrorWrap = 1023;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A pair that is not two hexadecimal digits reads as 0 instead of failing the frame outright.
int hexPair(const char* p)
{
    const int high = hexValue(p[0]);
    const int low = hexValue(p[1]);
    return high < 0 || low < 0 ? 0 : high * 16 + low;
}

// The tail is where a frame's tail must be, whatever its sum: the bytes end a frame.
bool endsLikeFrame(const QByteArray& candidate)
{
    const int tilde = candidate.lastIndexOf('~');
    return tilde >= 0 && tilde == candidate.size() - kTailLength;
}

// A candidate that ends like a frame but fails its sum may be a cut-off frame or junk holding "@"
// in front of a whole frame. Returns the first later "@" from which the sum checks out, or -1;
// one pass, since every such start shares the candidate's tail.
int laterFrameStart(const QByteArray& candidate)
{
    const int tilde = candidate.size() - kTailLength;
    const char* tail = candidate.constData() + tilde + 1;
    const int expected = hexPair(tail) * 256 + hexPair(tail + 2);
    quint16 sum = 0;
    for (int i = 0; i <= tilde; ++i)
        sum = quint16(sum + quint8(candidate.at(i)));
    for (int from = 0; from < tilde; ++from) {
        if (from > 0 && candidate.at(from) == '@' && sum == expected)
            return from;
        sum = quint16(sum - quint8(candidate.at(from)));
    }
    return -1;
}

// Overlapping occurrences count: CR LF CR LF CR LF holds two. Stops at the second, so a long
// debug file is not scanned to its end once per frame.
bool holdsTwoTerminators(const QByteArray& buffer)
{
    const int first = buffer.indexOf(kTerminator);
    return first >= 0 && buffer.indexOf(kTerminator, first + 1) >= 0;
}

// qDebug formats a whole frame before the logging rules drop the message; on the record path the
// frame dumps are formatted only when debug output is on.
bool debugOutputOn()
{
    const QLoggingCategory* category = QLoggingCategory::defaultCategory();
    return !category || category->isDebugEnabled();
}

enum class Deciphered { NoKey, Failed, Plain };

// Deciphers `payload` under the key whose Base64 text is `keyText`; NoKey: the text gives no
// whole key.
Deciphered decipher(const QByteArray& keyText, const QByteArray& payload, QByteArray* plain)
{
    const QByteArray key = QByteArray::fromBase64(keyText);
    if (key.size() != kAesKeyLength)
        return Deciphered::NoKey;
    quint16 length = 0;
    if (aesDecryptMessage(key, payload.constData(), 0, decipherOutput, &length, kWorkAreaSize,
                          false))
        return Deciphered::Failed;
    *plain = QByteArray(decipherOutput, length);
    return Deciphered::Plain;
}

bool beginsFrame(const QByteArray& plain)
{
    return !plain.isEmpty() && (plain.at(0) == '@' || (quint8(plain.at(0)) & 0xFE) == 0xC0);
}

// The frame's tail stands where a tail belongs and its sum matches the bytes before it.
bool checksumHolds(const QByteArray& frame)
{
    const int tilde = frame.lastIndexOf('~');
    if (tilde < 0) {
        qDebug() << "NO ~";
        return false;
    }
    if (tilde != frame.size() - kTailLength) {
        qDebug() << "BAD LENGTH ~";
        return false;
    }

    const char* tail = frame.constData() + tilde + 1;
    const int expected = hexPair(tail) * 256 + hexPair(tail + 2);
    quint16 sum = 0;
    for (int i = 0; i <= tilde; ++i)
        sum = quint16(sum + quint8(frame.at(i)));
    return sum == expected;
}

} // namespace

void data_incoming::setFrameTimeout(int ms)
{
    frameTimeoutMs = ms;
}

void data_incoming::ageFrame(int ms)
{
    if (!frameTimer->isActive())
        return;
    // Qt rounds a long timer to whole seconds, which may leave it past the limit.
    const int left = qMin(frameTimer->remainingTime(), frameTimeoutMs) - ms;
    if (left > 0)
        frameTimer->start(left);
    else
        frameTimer->stop();
}

bool data_incoming::verify_packet(const QByteArray& frame)
{
    return verifyBypass || checksumHolds(frame);
}

void data_incoming::parseData_ORVA(const QByteArray& data)
{
    // Kept for the dispatch test of the serial port.
    ++pending.orvaCalls;
    pending.lastOrva = data;
    pending.orvaBypassDuringCall = verifyBypass;

    // Each further frame of the same chunk gets a pass of its own, fed with no new bytes. A loop,
    // not recursion, so that a long debug file cannot exhaust the stack.
    bool again = orvaPass(data, true);
    while (again)
        again = orvaPass(QByteArray(), false);
}

bool data_incoming::orvaPass(const QByteArray& data, bool arrival)
{
    emit sendRawData(data);

    // A partial frame after which no byte came for a whole timer period was cut off on the line.
    // Every byte counts: an encrypted full record takes more than a second at 9600 baud. Only a
    // new arrival can find it stale: the passes after the first belong to the same chunk.
    if (arrival && !frameBuffer.isEmpty() &&
        (!frameTimer->isActive() || frameTimer->remainingTime() == 0)) {
        qDebug() << "Discarding a partial ORVA frame silent for" << frameTimeoutMs << "ms";
        frameBuffer.clear();
    }
    if (!data.isEmpty()) {
        frameTimer->setSingleShot(true);
        frameTimer->start(frameTimeoutMs);
    }
    frameBuffer.append(data);

    for (;;) {
        const int at = frameBuffer.indexOf('@');
        if (at < 0) {
            frameBuffer.clear();
            return false;
        }
        frameBuffer.remove(0, at);

        int start = 0;
        int end = 0;
        const FrameSearch found = findOrvaFrame(&start, &end);
        if (found == FrameSearch::Wait) {
            if (frameBuffer.size() > kFrameBufferLimit) {
                qDebug() << "Discarding" << frameBuffer.size()
                         << "bytes of ORVA data that hold no complete frame";
                frameBuffer.clear();
            }
            return false;
        }
        if (found == FrameSearch::Bad) {
            // A frame that fails its check must not hold back the frames behind it.
            qDebug() << "Discarding an ORVA frame that fails its check";
            frameBuffer.remove(0, end);
            continue;
        }

        if (start > 0) {
            qDebug() << "Discarding" << start << "bytes of a damaged ORVA frame";
            frameBuffer.remove(0, start);
            end -= start;
        }
        const bool more = holdsTwoTerminators(frameBuffer);
        QByteArray frame = frameBuffer.left(end);
        frameBuffer.remove(0, end);

        // A frame that cannot be unwrapped is consumed; the frames behind it go on at once, since
        // the next read may come after the age limit.
        std::optional<QByteArray> readUnder;
        if (unwrapOrvaFrame(frame, &readUnder)) {
            dispatchOrvaFrame(frame);
            if (readUnder)
                keyChangeFrameDone(*readUnder);
        }
        return more;
    }
}

// The buffer starts with "@". Candidates run from there to each terminator in turn, since a
// payload may itself hold "\r\n\r\n". A candidate that fails its sum although its tail is where a
// frame's tail belongs is a damaged frame, unless a whole frame starts at a later "@" inside it.
data_incoming::FrameSearch data_incoming::findOrvaFrame(int* start, int* end)
{
    for (int at = frameBuffer.indexOf(kTerminator); at >= 0;
         at = frameBuffer.indexOf(kTerminator, at + 1)) {
        *end = at + kTerminator.size();
        const QByteArray candidate = frameBuffer.left(*end);
        if (debugOutputOn())
            qDebug() << maskKeyValues(candidate);
        if (verify_packet(candidate)) {
            *start = 0;
            return FrameSearch::Found;
        }
        qDebug() << "VERIFY FAILED";
        if (!endsLikeFrame(candidate))
            continue;
        *start = laterFrameStart(candidate);
        return *start > 0 ? FrameSearch::Found : FrameSearch::Bad;
    }
    return FrameSearch::Wait;
}

bool data_incoming::unwrapOrvaFrame(QByteArray& frame, std::optional<QByteArray>* readUnder)
{
    const char type = frame.size() > 1 ? frame.at(1) : '\0';
    if (type != 'F' && type != 'E' && type != 'C') {
        // The debug file passes frames whose sum fails: they tell nothing of the unit's key.
        if (readsOtherKey() && checksumHolds(frame))
            *readUnder = QByteArray();
        return true;
    }

    if (frame.size() < kHeadLength + kTailLength) {
        qDebug() << "Wrapped ORVA frame too short for a payload, dropped:" << frame;
        return false;
    }
    const QByteArray payload = frame.mid(kHeadLength, frame.size() - kHeadLength - kTailLength);

    if (type == 'E') {
        qDebug() << "COMPRESSED PACKET";
        if (payload.size() > kWorkAreaSize) {
            qDebug() << "Compressed ORVA payload of" << payload.size() << "bytes exceeds"
                     << kWorkAreaSize << "bytes, dropped";
            return false;
        }
        if (!decodeInnerFrame(payload, &frame))
            return false;
        if (readsOtherKey() && checksumHolds(frame))
            *readUnder = QByteArray();
        emit sendDecodedData(frame);
        return true;
    }

    // While the unit may use either key of a key change, a frame is taken under the key it reads
    // whole under, every check of the inner frame passed: that tells which key the unit uses.
    QByteArray inner;
    const QByteArray key = keyReadingWhole(type, payload, &inner);
    if (!key.isEmpty()) {
        emit sendEncryptionStatus(IncomingEncrypted);
        keyChangeFrameRead(key);
        *readUnder = key;
        frame = inner;
        emit sendDecodedData(frame);
        return true;
    }
    QByteArray plain;
    if (!decryptOrvaPayload(payload, plain))
        return false;
    if (type == 'F')
        frame = plain;
    else if (!decodeInnerFrame(plain, &frame))
        return false;
    emit sendDecodedData(frame);
    return true;
}

// The frame a packet-coded text decodes to, up to its checksum; false when it has no whole tail.
// The text never exceeds the work area: a deciphered text is no longer than the deciphering area.
bool data_incoming::decodeInnerFrame(const QByteArray& code, QByteArray* frame)
{
    std::memcpy(packetCodeInput, code.constData(), size_t(code.size()));
    const quint32 length =
        decodeCompressedPacket(decodedText, packetCodeInput, quint32(code.size()), kWorkAreaSize);
    const QByteArray decoded(decodedText, int(length));
    const int tilde = decoded.indexOf('~');
    if (tilde < 0 || decoded.size() - tilde < kTailLength) {
        qDebug() << "Decompressed ORVA frame has no complete tail, dropped:" << decoded;
        return false;
    }
    *frame = decoded.left(tilde + kTailLength);
    return true;
}

// The key of a key change under which the payload reads as a whole inner frame, the key in use
// tried first, so that a frame under it costs one deciphering; empty when no change may have
// reached the unit, or under neither key.
QByteArray data_incoming::keyReadingWhole(char type, const QByteArray& payload, QByteArray* inner)
{
    if (!readsOtherKey())
        return {};
    for (const QByteArray& key : {encryptionKey, otherKey()}) {
        QByteArray plain;
        if (key.isEmpty() || decipher(key, payload, &plain) != Deciphered::Plain ||
            !beginsFrame(plain))
            continue;
        QByteArray frame = plain;
        if (type == 'C' && !decodeInnerFrame(plain, &frame))
            continue;
        if (frame.startsWith('@') && checksumHolds(frame)) {
            *inner = frame;
            return key;
        }
    }
    return {};
}

bool data_incoming::decryptOrvaPayload(const QByteArray& payload, QByteArray& plain)
{
    // The counter block travels in each message: deciphering needs the key, never the IV.
    if (encryptionKey.isEmpty()) {
        reportKeyMissing();
        return false;
    }
    switch (decipher(encryptionKey, payload, &plain)) {
    case Deciphered::NoKey:
        qDebug() << "Encryption key decodes to" << QByteArray::fromBase64(encryptionKey).size()
                 << "bytes, not" << kAesKeyLength;
        reportKeyMissing();
        return false;
    case Deciphered::Failed:
        reportAesError();
        return false;
    case Deciphered::Plain:
        break;
    }
    emit sendEncryptionStatus(IncomingEncrypted);
    return true;
}

void data_incoming::reportAesError()
{
    qDebug() << kAesError;
    emit sendEncryptionStatus(IncomingDecryptError);
    emit sendLogMsg(kAesError);
    // The error pane tells the operator what to do about it: load the key.
    emit sendDisplayErrorMsg(QString::fromLatin1(kKeyNotSet));
    ++aesErrorCount;
    if (aesErrorCount % kKeyRequestEvery == 0)
        emit setEncryptionKeyRequired();
    if (aesErrorCount > kAesErrorWrap)
        aesErrorCount = 1;
}

void data_incoming::reportKeyMissing()
{
    qDebug() << kKeyNotSet;
    emit sendEncryptionStatus(IncomingDecryptError);
    emit sendLogMsg(kKeyNotSet);
    emit sendDisplayErrorMsg(QString::fromLatin1(kKeyNotSet));
    emit setEncryptionKeyRequired();
}

void data_incoming::dispatchOrvaFrame(QByteArray frame)
{
    if (frame.size() < 2)
        return;
    const bool dataLog = loggingMode == LoggingType::Data || loggingMode == LoggingType::Debug;

    const char type = frame.at(1);
    switch (type) {
    case '1':
    case '2':
        if (debugOutputOn())
            qDebug() << (type == '1' ? "Found METAR Candidate Packet!"
                                     : "Found SPECI Candidate Packet!")
                     << maskKeyValues(frame);
        Q_FALLTHROUGH();
    case '0':
        handleWeatherData(frame, type, frame);
        emit sendBITcheckPacket(frame);
        break;
    case '3':
        qDebug() << "Found @3 command response packet!" << maskKeyValues(frame);
        parseCommandResponse(frame);
        break;
    case '5':
        qDebug() << "Found @5 amq response packet!" << maskKeyValues(frame);
        parseAmqResponse(frame);
        break;
    case '6':
        qDebug() << "Found General Status Packet! : " << maskKeyValues(frame);
        emit sendLogMsg("INFO: ORVA Status Message Received [ " + frame + " ]");
        if (dataLog)
            emit sendLogData(frame, emptyRecord, deviceType);
        break;
    case '8':
        qDebug() << "Received Lightning Information: ";
        frame.replace('_', ' ');
        emit sendLightningCompassData(frame);
        decoder->parseLightningCompassData(frame);
        if (dataLog)
            emit sendLogData(frame, emptyRecord, deviceType);
        break;
    case 'D':
        if (debugOutputOn())
            qDebug() << "Found High Speed Candidate Packet!" << maskKeyValues(frame);
        handleWeatherData(frame, 'D', frame);
        break;
    case 'R':
        qDebug() << "Found station radio response!" << maskKeyValues(frame);
        parseStationRadioResponse(frame);
        break;
    default:
        break;
    }
}
