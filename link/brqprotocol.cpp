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
    if (loggingMode == LoggingType::Data || loggingMode == LoggingType::Debug)
        emit sendLogData(receiveBuffer, emptyRecord, deviceType);
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
        idleTicks = 0;
        return;
    }

    const bool prompt = receiveBuffer.contains(kPrompt);
    if (prompt && pendingCommands.isEmpty())
        reportBrqAcknowledgements();
    else if (prompt)
        sendPendingBrqCommands();

    if (receiveBuffer.startsWith(kBanner) && !prompt) {
        qDebug() << "BRQ start up received.";
        emit sendLogMsg("INFO: BRQ Startup Message Received");
        emit sendDisplaySysMsg(QStringLiteral("INFO: BRQ Startup Message Received"));
        emit sendRawData(receiveBuffer);
        copyBufferToDataLog();
    }

    const bool startsWithRecord = receiveBuffer.startsWith("@I");
    if (deviceType == DeviceTypes::BRQ &&
        (receiveBuffer.startsWith("\r\nON") || startsWithRecord) &&
        receiveBuffer.endsWith(kBlankLine)) {
        emit sendRawData(receiveBuffer);
        if (startupSequence) {
            copyBufferToDataLog();
            qDebug() << "BRQ Configured and Started.";
            emit sendLogMsg("INFO: BRQ Configured and Started from Power OFF");
            emit sendDisplaySysMsg(
                QStringLiteral("INFO: BRQ Configured and Started from Power OFF"));
            startupSequence = false;
            emit sendConfiguration(QStringLiteral("EndSequence"));
        }
    }

    takeWeatherPackets();
    takeImagePackets();

    idleTicks = 0;
}

// Each complete weather packet at the front of the buffer goes to the record builder once, in
// order, and leaves the buffer: a packet that follows within the idle time is then published on
// its own, not behind the first one again.
void data_incoming::takeWeatherPackets()
{
    while (receiveBuffer.startsWith("@I")) {
        const int tilde = receiveBuffer.indexOf('~');
        const int end = tilde < 0 ? -1 : receiveBuffer.indexOf(kBlankLine, tilde);
        if (end < 0)
            return;
        const QByteArray packet = receiveBuffer.left(end + kBlankLine.size());
        if (!extractAtLines(packet).at(1).startsWith(QLatin1String("@0")))
            return;
        receiveBuffer.remove(0, packet.size());
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
}

void data_incoming::reportBrqAcknowledgements()
{
    if (receiveBuffer.contains(kErrorPrompt)) {
        qDebug() << "ERROR: Received spaces in response, please resend command. ";
        emit sendLogMsg("ERROR: Error in BRQ command processing, received spaces in response.");
        emit sendDisplayErrorMsg(QStringLiteral(
            "WARNING: Error in BRQ command processing, received spaces in response."));
    }

    qDebug().noquote() << "Received command acknowledgement: " + QString::fromLatin1(receiveBuffer);
    copyBufferToDataLog();
    if (receiveBuffer.endsWith('>'))
        emit sendRawData(receiveBuffer);
    if (receiveBuffer.contains("G1 OK") || receiveBuffer.contains("G0 OK"))
        positionReset = true;

    for (const AckRow& row : kAckRows) {
        if (!rowMatches(row, receiveBuffer))
            continue;
        emit sendLogMsg(row.logText);
        emit sendDisplaySysMsg(QString::fromLatin1(row.displayText));
        if (row.positionReset)
            positionReset = true;
    }
}

void data_incoming::sendPendingBrqCommands()
{
    qDebug().noquote() << "INFO: BRQ Prompt Received, now sending command " +
                              QString::fromLatin1(pendingCommands);
    emit sendRawData(receiveBuffer);
    copyBufferToDataLog();

    transmitQueue = pendingCommands;
    const QByteArray sent = "INFO: BRQ Command Sent " + pendingCommands.trimmed();
    emit sendLogMsg(sent);
    emit sendDisplaySysMsg(QString::fromLatin1(sent));

    pendingCommands.clear();
    emit sendCommandConfirmation();
}
