#include "link/data_incoming.h"

#include <QDebug>

namespace
{

const QByteArray kPrompt("\r\n>");
const QByteArray kErrorPrompt("\r\n>\x02\x02\x02", 6);
const QByteArray kBanner("\r\n\rBRQ v");
const QByteArray kBlankLine("\r\n\r\n");

// A unit that never pauses would otherwise grow the buffer without end: the idle rule is the
// only other thing that drops it.
constexpr int kMaxReceiveBuffer = 64 * 1024;

// The unit's reply words and what each one is reported as. A row fires when all of its words
// (or, for `anyWord`, one of them) are in the buffer.
struct AckRow {
    const char* words[4]; // unused places are null
    bool anyWord;
    const char* logText;
    const char* displayText;
    bool positionReset;
};

const AckRow kAckRows[] = {
    {{"M 20S"},
     false,
     "INFO: BRQ M 20S confirmation received.",
     "INFO: BRQ 20sec confirmation received",
     false},
    {{"M 10S"},
     false,
     "INFO: BRQ M 10S confirmation received.",
     "INFO: BRQ 10sec confirmation received",
     false},
    {{"M 5M"},
     false,
     "INFO: BRQ M 5M confirmation received.",
     "INFO: BRQ 5min confirmation received",
     false},
    {{"M 1M"},
     false,
     "INFO: BRQ M 1M confirmation received.",
     "INFO: BRQ 1min confirmation received",
     false},
    {{"M 20M"},
     false,
     "INFO: BRQ M 20M confirmation received.",
     "INFO: BRQ 20min command confirmation received",
     false},
    {{"M 1H"},
     false,
     "INFO: BRQ M 1H confirmation received.",
     "INFO: BRQ 1hr command confirmation received",
     false},
    {{"M 3H"},
     false,
     "INFO: BRQ M 3H confirmation received.",
     "INFO: BRQ 3hr mode command confirmation received",
     false},
    {{"I5"},
     false,
     "INFO: BRQ I5 confirmation received.",
     "INFO: BRQ Take All Images command confirmation received",
     false},
    {{"I1"},
     false,
     "INFO: BRQ I1 confirmation received.",
     "INFO: BRQ Take Image from Camera 1 command confirmation received",
     false},
    {{"I2"},
     false,
     "INFO: BRQ I2 confirmation received.",
     "INFO: BRQ Take Image from Camera 2 command  confirmation received",
     false},
    {{"I3"},
     false,
     "INFO: BRQ I3 confirmation received.",
     "INFO: BRQ Take Image from Camera 3 command  confirmation received",
     false},
    {{"I4"},
     false,
     "INFO: BRQ I4 confirmation received.",
     "INFO: BRQ Take Image from Camera 4 command  confirmation received",
     false},
    {{"G1 OK"},
     false,
     "INFO: BRQ G1 OK confirmation received.",
     "INFO: BRQ Enable GPS Lat/Lon reporting command confirmation received",
     true},
    {{"G0 OK"},
     false,
     "INFO: BRQ G0 OK confirmation received.",
     "INFO: BRQ Disable GPS Lat/Lon reporting command confirmation received",
     true},
    {{"GE+", "GE OK"},
     false,
     "INFO: BRQ GE OK confirmation received.",
     "INFO: BRQ Set Elevation command confirmation received",
     true},
    {{"S0 OK"},
     false,
     "INFO: BRQ S0 OK confirmation received.",
     "INFO: BRQ Disable SPECI reports (default) command confirmation received",
     false},
    {{"S1 OK"},
     false,
     "INFO: BRQ S1 OK confirmation received.",
     "INFO: BRQ Enable SPECI reports command confirmation received",
     false},
    {{"C0 OK"},
     false,
     "INFO: BRQ C0 OK confirmation received.",
     "INFO: BRQ Disable Ceilometer command confirmation received",
     false},
    {{"C1 OK"},
     false,
     "INFO: BRQ C1 OK confirmation received.",
     "INFO: BRQ Enable Ceilometer in auto mode command confirmation received",
     false},
    {{"C2 OK"},
     false,
     "INFO: BRQ C2 OK confirmation received.",
     "INFO: BRQ Enable Ceilometer in always mode command confirmation received",
     false},
    {{"i20 OK", "i21 OK", "i22 OK", "i23 OK"},
     true,
     "INFO: BRQ Auto-Schedule Image OK confirmation received.",
     "INFO: BRQ Auto-Schedule Image OK command confirmation received",
     false},
};

bool rowMatches(const AckRow& row, const QByteArray& buffer)
{
    for (const char* word : row.words) {
        if (!word)
            break;
        const bool found = buffer.contains(word);
        if (row.anyWord && found)
            return true;
        if (!row.anyWord && !found)
            return false;
    }
    return !row.anyWord;
}

} // namespace

QStringList data_incoming::extractAtLines(const QByteArray& data)
{
    QString iLine;
    QString otherLine;
    const QStringList lines = QString::fromLatin1(data).split(QStringLiteral("\r\n"));
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1Char('@')))
            continue;
        if (line.size() > 1 && line.at(1) == QLatin1Char('I'))
            iLine = line;
        else
            otherLine = line;
    }
    return {iLine, otherLine};
}

void data_incoming::copyBufferToDataLog()
{
    copyToDataLog(receiveBuffer);
}

void data_incoming::copyToDataLog(const QByteArray& bytes)
{
    if (loggingMode == LoggingType::Data || loggingMode == LoggingType::Debug)
        emit sendLogData(bytes, emptyRecord, deviceType);
}

void data_incoming::parseData_BRQ(const QByteArray& data)
{
    // Kept for the dispatch test of the serial port.
    ++pending.brqCalls;
    pending.lastBrq = data;
    pending.brqBytes += data.size();

    if (idleTicks > 5)
        dropReceiveBuffer();
    receiveBuffer.append(data);
    if (receiveBuffer.size() > kMaxReceiveBuffer) {
        qDebug() << "WARNING: BRQ receive buffer overflow, buffer cleared";
        emit sendLogMsg("WARNING: BRQ receive buffer exceeded " +
                        QByteArray::number(kMaxReceiveBuffer) +
                        " bytes without a pause in the data, buffer cleared.");
        receiveBuffer.clear();
        bannerReported = false;
        idleTicks = 0;
        return;
    }

    // Messages that came with less silence between them than the unit should keep share the
    // buffer. Each one is read at the front and leaves it, so that the next is read as if it had
    // come after a pause; one still arriving ends the reading until the next read.
    int before = 0;
    do {
        before = receiveBuffer.size();
        readBrqFront();
    } while (!receiveBuffer.isEmpty() && receiveBuffer.size() < before);

    idleTicks = 0;
}

// One message from the front of the buffer.
void data_incoming::readBrqFront()
{
    const int promptAt = receiveBuffer.indexOf(kPrompt);
    const int reply = replyLength(promptAt);
    if (reply > 0) {
        const QByteArray message = receiveBuffer.left(reply);
        receiveBuffer.remove(0, reply);
        bannerReported = false;
        if (pendingCommands.isEmpty())
            reportBrqAcknowledgements(message);
        else
            sendPendingBrqCommands(message);
        return;
    }
    if (reportBanner(promptAt) || reportStartupData(promptAt))
        return;
    takeWeatherPackets();
    takeImagePackets();
}

// The unit's reply: everything up to its first prompt, with the error marks right behind it.
// 0 while there is none at the front: no prompt yet, or a packet, the start-up data or the banner
// comes first (a prompt inside a camera packet is picture data).
int data_incoming::replyLength(int promptAt)
{
    if (promptAt < 0 || weatherPacketLength() > 0 || startupDataLength(promptAt) > 0 ||
        bannerLength(promptAt) > 0)
        return 0;
    const int imageAt = receiveBuffer.startsWith("@1") ? 0 : imagePacketStart();
    if (imageAt >= 0 &&
        (promptAt < imageAt + imageHeaderLength + imageChunkLength + kBlankLine.size() ||
         imagePacketLength(receiveBuffer.mid(imageAt)) > 0))
        return 0;

    const int errorEnd = promptAt + kErrorPrompt.size();
    int end = promptAt + kPrompt.size();
    while (end < receiveBuffer.size() && end < errorEnd && receiveBuffer.at(end) == '\x02')
        ++end;
    // The rest of the error marks is still on its way.
    if (end == receiveBuffer.size() && end > promptAt + kPrompt.size() && end < errorEnd)
        return 0;
    return end;
}

// The start-up data at the front, "\r\nON" to its empty line; 0 when it is not whole or the
// unit's prompt begins inside it.
int data_incoming::startupDataLength(int promptAt) const
{
    if (!receiveBuffer.startsWith("\r\nON"))
        return 0;
    const int end = receiveBuffer.indexOf(kBlankLine, 2);
    if (end < 0)
        return 0;
    const int length = end + kBlankLine.size();
    return promptAt >= 0 && promptAt < length ? 0 : length;
}

// The banner's line at the front; 0 when it is not whole or its line end is the prompt's.
int data_incoming::bannerLength(int promptAt) const
{
    if (!receiveBuffer.startsWith(kBanner))
        return 0;
    const int end = receiveBuffer.indexOf("\r\n", kBanner.size());
    if (end < 0)
        return 0;
    const int length = end + 2;
    return promptAt >= 0 && promptAt < length ? 0 : length;
}

// Reported once, as soon as it is seen; it leaves the buffer when its line is whole. True when
// it left.
bool data_incoming::reportBanner(int promptAt)
{
    if (!receiveBuffer.startsWith(kBanner))
        return false;
    const int length = bannerLength(promptAt);
    if (length == 0 && promptAt >= 0)
        return false;
    if (!bannerReported) {
        const QByteArray message = length > 0 ? receiveBuffer.left(length) : receiveBuffer;
        qDebug() << "BRQ start up received.";
        emit sendLogMsg("INFO: BRQ Startup Message Received");
        emit sendDisplaySysMsg(QStringLiteral("INFO: BRQ Startup Message Received"));
        emit sendRawData(message);
        copyToDataLog(message);
    }
    bannerReported = length == 0;
    receiveBuffer.remove(0, length);
    return length > 0;
}

// The start-up data, or the first weather packets, end a start-up from power-off. True when the
// start-up data left the buffer (weather packets are taken by their own step).
bool data_incoming::reportStartupData(int promptAt)
{
    if (deviceType != DeviceTypes::BRQ)
        return false;
    QByteArray message;
    int length = 0;
    if (receiveBuffer.startsWith("@I")) {
        int packets = 0;
        for (int n = weatherPacketLength(); n > 0; n = weatherPacketLength(packets))
            packets += n;
        if (packets > 0)
            message = receiveBuffer.left(packets);
        else if (receiveBuffer.endsWith(kBlankLine))
            message = receiveBuffer;
    } else {
        length = startupDataLength(promptAt);
        message = receiveBuffer.left(length);
    }
    if (message.isEmpty())
        return false;

    emit sendRawData(message);
    if (startupSequence) {
        copyToDataLog(message);
        qDebug() << "BRQ Configured and Started.";
        emit sendLogMsg("INFO: BRQ Configured and Started from Power OFF");
        emit sendDisplaySysMsg(QStringLiteral("INFO: BRQ Configured and Started from Power OFF"));
        startupSequence = false;
        emit sendConfiguration(QStringLiteral("EndSequence"));
    }
    receiveBuffer.remove(0, length);
    return length > 0;
}

// The complete weather packet that begins at `from`; 0 when there is none.
int data_incoming::weatherPacketLength(int from) const
{
    if (receiveBuffer.mid(from, 2) != "@I")
        return 0;
    const int tilde = receiveBuffer.indexOf('~', from);
    const int end = tilde < 0 ? -1 : receiveBuffer.indexOf(kBlankLine, tilde);
    if (end < 0)
        return 0;
    const int length = end + kBlankLine.size() - from;
    if (!extractAtLines(receiveBuffer.mid(from, length)).at(1).startsWith(QLatin1String("@0")))
        return 0;
    return length;
}

// Each complete weather packet at the front of the buffer goes to the record builder once, in
// order, and leaves the buffer: a packet that follows within the idle time is then published on
// its own, not behind the first one again.
void data_incoming::takeWeatherPackets()
{
    for (int length = weatherPacketLength(); length > 0; length = weatherPacketLength()) {
        const QByteArray packet = receiveBuffer.left(length);
        receiveBuffer.remove(0, length);
        handleWeatherData(packet, '0', QByteArray());
    }
}

// Where the image packet of the buffer starts: at the front, or behind the unit's identity line
// when the buffer says "SND". -1: the buffer holds no image packet to read.
int data_incoming::imagePacketStart()
{
    if (receiveBuffer.size() <= imageHeaderLength)
        return -1;
    if (receiveBuffer.startsWith("@1"))
        return 0;
    const QStringList lines = extractAtLines(receiveBuffer);
    if (!lines.at(0).startsWith(QLatin1String("@I")) ||
        !lines.at(1).startsWith(QLatin1String("@1")) || !receiveBuffer.contains("SND"))
        return -1;
    // The image header is read from the packet itself, not from the record line before it.
    const int packetAt = receiveBuffer.indexOf("\r\n@1");
    return packetAt < 0 ? -1 : packetAt + 2;
}

// Each image packet goes to the image step; once stored it leaves the buffer with what stood
// before it, so that a weather record or a packet behind it is taken in turn, each once.
void data_incoming::takeImagePackets()
{
    for (int at = imagePacketStart(); at >= 0; at = imagePacketStart()) {
        const int used = handleImagePacket(receiveBuffer.mid(at));
        if (used == 0)
            return;
        receiveBuffer.remove(0, at + used);
        takeWeatherPackets();
    }
}

// The idle rule. A picture whose last packet is dropped unread here will never be completed.
void data_incoming::dropReceiveBuffer()
{
    if (imageCamera >= 0) {
        // The packet may follow the unit's prompt or reply directly.
        const int at = receiveBuffer.indexOf("@1");
        if (at >= 0 && receiveBuffer.size() > at + 8 &&
            (quint8(receiveBuffer.at(at + 8)) & 0x0f) == imageLastPacketKind)
            abandonImage(imageCamera, "its last packet could not be read");
    }
    receiveBuffer.clear();
    bannerReported = false;
}

void data_incoming::reportBrqAcknowledgements(const QByteArray& reply)
{
    if (reply.contains(kErrorPrompt)) {
        qDebug() << "ERROR: Received spaces in response, please resend command. ";
        emit sendLogMsg("ERROR: Error in BRQ command processing, received spaces in response.");
        emit sendDisplayErrorMsg(QStringLiteral(
            "WARNING: Error in BRQ command processing, received spaces in response."));
    }

    qDebug().noquote() << "Received command acknowledgement: " + QString::fromLatin1(reply);
    copyToDataLog(reply);
    if (reply.endsWith('>'))
        emit sendRawData(reply);
    if (reply.contains("G1 OK") || reply.contains("G0 OK"))
        positionReset = true;

    for (const AckRow& row : kAckRows) {
        if (!rowMatches(row, reply))
            continue;
        emit sendLogMsg(row.logText);
        emit sendDisplaySysMsg(QString::fromLatin1(row.displayText));
        if (row.positionReset)
            positionReset = true;
    }
}

void data_incoming::sendPendingBrqCommands(const QByteArray& reply)
{
    qDebug().noquote() << "INFO: BRQ Prompt Received, now sending command " +
                              QString::fromLatin1(pendingCommands);
    emit sendRawData(reply);
    copyToDataLog(reply);

    transmitQueue = pendingCommands;
    const QByteArray sent = "INFO: BRQ Command Sent " + pendingCommands.trimmed();
    emit sendLogMsg(sent);
    emit sendDisplaySysMsg(QString::fromLatin1(sent));

    pendingCommands.clear();
    emit sendCommandConfirmation();
}
