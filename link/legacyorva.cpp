#include "link/data_incoming.h"

#include <QDebug>

namespace
{

// At 9600 baud a unit that never pauses for a second sends about 1 KiB per second; a buffer
// this large holds nothing but noise that no response or block will ever match.
constexpr int kMaxLegacyBuffer = 64 * 1024;

// The idle tick count above which the next chunk starts a fresh buffer (more than a second).
constexpr qint32 kLegacyIdleTicks = 10;

struct KeywordResponse {
    const char* keyword;
    const char* debugLine;
    const char* message;
    bool errorPane;
    bool resetsPosition;
};

// Tested in this order, the first match wins: "GPS not enabled" must come before "GPS enabled".
const KeywordResponse kKeywordResponses[] = {
    {"Invalid Command Received.", "Invalid Command Received",
     "WARNING: ORVA Invalid Command Received", true, false},
    {"ICAO:", "New ICAO Set.", "INFO: ORVA New ICAO Set", false, false},
    {"default", "Default Settings Set", "INFO: ORVA Default ICAO Set", false, false},
    {"Rate:", "Module Frequency Set", "INFO: ORVA Module Frequency Set", false, false},
    {"GPS not enabled", "GPS is not currently enabled", "INFO: ORVA GPS is not currently enabled",
     false, false},
    {"GPS enabled", "GPS is enabled.", "INFO: ORVA GPS Enabled", false, true},
    {"GPS disabled", "GPS disabled.", "INFO: ORVA GPS Disabled", false, true},
    {"GPS read started", "GPS read started", "INFO: ORVA GPS Read Started", false, false},
    {"RESET", "Unit RESET", "INFO: ORVA Unit Reset", false, false},
    {"EL ", "Elevation set", "INFO: ORVA Elevation Set", false, true},
    {"DATE SET", "Date Time Manually set", "INFO: ORVA Date Time Manually Set", false, false},
};

} // namespace

void data_incoming::parseData_ORVA_Legacy(const QByteArray& data)
{
    // Kept for the dispatch test of the serial port.
    ++pending.orvaLegacyCalls;
    pending.lastOrvaLegacy = data;

    if (idleTicks > kLegacyIdleTicks)
        receiveBuffer.clear();

    if (receiveBuffer.size() + data.size() > kMaxLegacyBuffer) {
        receiveBuffer.clear();
        qDebug() << "Legacy receive buffer overflow, cleared";
        emit sendLogMsg("WARNING: ORVA legacy receive buffer exceeded " +
                        QByteArray::number(kMaxLegacyBuffer) +
                        " bytes without a pause; buffer cleared");
    }
    // A single read larger than the whole buffer cannot hold anything worth keeping either.
    if (data.size() <= kMaxLegacyBuffer)
        receiveBuffer.append(data);

    const QString otherLine = extractAtLines(receiveBuffer).at(1);

    if (receiveBuffer.contains("@6")) {
        qDebug() << "Response Received";
        qDebug() << receiveBuffer;
        emit sendRawData(receiveBuffer);
        if (receiveBuffer.endsWith("\r\n") &&
            (loggingMode == LoggingType::Data || loggingMode == LoggingType::Debug))
            emit sendLogData(receiveBuffer, emptyRecord, deviceType);
    }

    for (const KeywordResponse& response : kKeywordResponses) {
        if (!receiveBuffer.contains(response.keyword))
            continue;
        qDebug() << response.debugLine;
        const QByteArray message(response.message);
        emit sendLogMsg(message);
        if (response.errorPane)
            emit sendDisplayErrorMsg(QString::fromLatin1(message));
        else
            emit sendDisplaySysMsg(QString::fromLatin1(message));
        receiveBuffer.clear();
        if (response.resetsPosition)
            positionReset = true;
        break;
    }

    if (receiveBuffer.startsWith("@I") && otherLine.startsWith(QLatin1String("@0")) &&
        receiveBuffer.contains('~') && receiveBuffer.endsWith("\r\n\r\n")) {
        // The block leaves the buffer as it is handed on, so a block that follows within the
        // idle time is published on its own instead of behind this one again.
        const QByteArray block = receiveBuffer;
        receiveBuffer.clear();
        emit sendRawData(block);
        handleWeatherData(block, '0', QByteArray());
    }

    idleTicks = 0;
}
