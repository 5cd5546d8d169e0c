#include "link/data_incoming.h"

#include "decoder/weatherdatadecoder.h"

#include <QDebug>

#include <cmath>

namespace
{

QStringList frameLines(const QByteArray& frame)
{
    return QString::fromUtf8(frame).split(QStringLiteral("\r\n"), Qt::KeepEmptyParts);
}

QStringList splitPair(const QString& line)
{
    return line.split(QLatin1Char('='), Qt::KeepEmptyParts);
}

// The unit echoes the key or IV it was given; neither may reach a log file.
QByteArray maskKeyValues(const QByteArray& frame)
{
    QByteArray out = frame;
    for (const QByteArray& name : {QByteArray("key="), QByteArray("iv=")}) {
        int at = out.indexOf(name);
        while (at >= 0) {
            const int start = at + name.size();
            int end = out.indexOf("\r\n", start);
            if (end < 0)
                end = out.size();
            out.replace(start, end - start, "***");
            at = out.indexOf(name, start + 3);
        }
    }
    return out;
}

// Emits the messages of one answer in the order the window and the log expect them:
// debug line, log line, command pane, message list.
class Answer
{
public:
    Answer(data_incoming& worker, const QByteArray& frame) : w(worker), f(frame) {}

    // The log line is the text, the frame and " ]"; the debug output gets it first.
    Answer& log(const char* text, const char* debugClose = " ]")
    {
        return log(text, text, debugClose);
    }
    // The debug line differs in its words from the log line.
    Answer& log(const char* text, const char* debugText, const char* debugClose)
    {
        debug(debugText, debugClose);
        return logOnly(text);
    }
    Answer& logOnly(const char* text)
    {
        emit w.sendLogMsg(text + f + " ]");
        return *this;
    }
    Answer& debug(const char* text, const char* close)
    {
        qDebug().noquote() << QString::fromUtf8(text + f + close);
        return *this;
    }
    Answer& pane(const char* text)
    {
        emit w.sendORVACmdStatus(QString::fromUtf8(text));
        return *this;
    }
    Answer& error(const char* text)
    {
        emit w.sendDisplayErrorMsg(QString::fromUtf8(text));
        return *this;
    }
    Answer& errorWithFrame(const char* text, const char* close = " ]")
    {
        emit w.sendDisplayErrorMsg(QString::fromUtf8(text + f + close));
        return *this;
    }
    Answer& systemWithFrame(const char* text)
    {
        emit w.sendDisplaySysMsg(QString::fromUtf8(text + f + " ]"));
        return *this;
    }
    void status(int index, int value) { emit w.command_status_changed(index, value); }

private:
    data_incoming& w;
    const QByteArray& f;
};

// The first name found anywhere in the frame decides; "speci_default=" holds "default=".
const char* const kResponseNames[] = {
    "stack=",
    "decl=",
    "flash_erase=",
    "key=",
    "iv=",
    "enable=",
    "encrypt=",
    "send=",
    "frequency=",
    "metar_offset=",
    "gps=",
    "elevation=",
    "datetime=",
    "icao=",
    "led=",
    "log=",
    "blower=",
    "radio_freq=",
    "rf=",
    "heater=",
    "speci_default=",
    "default=",
    "speci_mode=",
    "speci_read_visibility=",
    "speci_read_ceiling=",
    "speci_clear=",
    "speci_criteria_source=",
};

QByteArray findResponseName(const QByteArray& frame)
{
    for (const char* name : kResponseNames) {
        const QByteArray key(name);
        if (key == "enable=") {
            if (frame.contains("enable=") || frame.contains("disable="))
                return key;
            continue;
        }
        // "enabled=" and "disabled=" end in "led=" and are not LED answers.
        if (key == "led=" && (frame.contains("enabled=") || frame.contains("disabled=")))
            continue;
        if (frame.contains(key))
            return key;
    }
    return QByteArray();
}

int decimalOrZero(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    return ok ? n : 0;
}

} // namespace

void data_incoming::parseCommandResponse(const QByteArray& frame)
{
    const QByteArray name = findResponseName(frame);

    if (loggingMode == LoggingType::Data || loggingMode == LoggingType::Debug)
        emit sendLogData(name == "key=" || name == "iv=" ? maskKeyValues(frame) : frame,
                         emptyRecord, deviceType);

    if (name.isEmpty())
        return;
    if (name == "decl=")
        return parseDeclinationResponse(frame);
    if (name == "flash_erase=")
        return parseFlashEraseResponse(frame);
    if (name == "key=")
        return parseEncryptionKeyResponse(frame);
    if (name == "iv=")
        return parseEncryptionIvResponse(frame);
    if (name == "enable=")
        return parseEnableDisableQueued(frame);
    if (name == "send=")
        return parseSendQueuedResponse(frame);

    if (name == "stack=")
        qDebug().noquote() << "Stack Command response received!";

    Answer a(*this, frame);
    const QStringList lines = frameLines(frame);
    const QStringList pair = splitPair(lines.value(1));

    if (name == "datetime=") {
        a.logOnly("INFO: DateTime command response received [ ")
            .systemWithFrame("INFO: DateTime command response received [ ")
            .status(CmdDateTime, CmdStatusSuccess);
        return;
    }

    if (!validate_list(pair, 2)) {
        if (name == "encrypt=") {
            emit encryption_status_changed(0);
            return;
        }
        if (name == "metar_offset=")
            return;

        struct ParseFailure {
            const char* name;
            const char* text;
            int index;
        };
        static const ParseFailure failures[] = {
            {"stack=", "Stack", -1},
            {"frequency=", "Frequency", CmdTransmitFrequency},
            {"gps=", "GPS", CmdGps},
            {"elevation=", "Elevation", CmdElevation},
            {"icao=", "ICAO", CmdIcao},
            {"led=", "LED", CmdLed},
            {"log=", "Log", CmdLog},
            {"blower=", "Blower", CmdBlower},
            {"radio_freq=", "RFLOS frequency", CmdRflosTransmitRate},
            {"rf=", "RF", CmdRf},
            {"heater=", "Heater", CmdHeater},
            {"speci_default=", "set Default SPECI", -1},
            {"default=", "Default", -1},
            {"speci_mode=", "SPECI Criteria Mode", -1},
            {"speci_read_visibility=", "Read SPECI Visibility", -1},
            {"speci_read_ceiling=", "Read SPECI Ceiling", -1},
            {"speci_clear=", "set Clear SPECI", -1},
            {"speci_criteria_source=", "SPECI Criteria Mode to AFMAN", -1},
        };
        for (const ParseFailure& failure : failures) {
            if (name != failure.name)
                continue;
            qDebug().noquote()
                << "ERROR: Unable to parse data, List index out of range error encountered. "
                << pair;
            emit sendDisplayErrorMsg(
                QStringLiteral("ERROR: Unable to parse data packet response for %1 command, List "
                               "index out of range error encountered.")
                    .arg(QLatin1String(failure.text)));
            if (failure.index >= 0)
                emit command_status_changed(failure.index, CmdStatusFailed);
            if (name == "icao=")
                decoder->setIcao(QString());
            return;
        }
        return;
    }

    const QString value = pair.at(1);
    const auto is = [&value](const char* word) { return value == QLatin1String(word); };

    if (name == "stack=") {
        if (is("NONE")) {
            a.log("INFO: Stack command returned no Modules [ ");
        } else if (is("FOUND")) {
            a.log("INFO: Stack command found Modules [ ");
            emit sendStackData(lines);
        } else {
            a.log("WARNING: Unknown Stack command response received [ ",
                  "ERROR: Unknown Stack Command response received [ ", " ] ")
                .error("WARNING: Unknown stack command response received.");
        }
    } else if (name == "encrypt=") {
        if (is("ON")) {
            a.logOnly("INFO: Encryption enabled. [ ");
            emit sendDisplaySysMsg(QStringLiteral("INFO: Encryption enabled."));
            emit encryption_status_changed(1);
        } else if (is("OFF")) {
            a.logOnly("INFO: Encryption disabled. [ ").error("INFO: Encryption disabled.");
            emit encryption_status_changed(2);
        } else {
            a.logOnly("ERROR: Encryption status change failed. [ ")
                .error("WARNING: Encryption status change failed.");
            emit encryption_status_changed(0);
        }
    } else if (name == "frequency=") {
        if (is("INVALID")) {
            a.log("ERROR: Frequency command failed [ ")
                .pane("ERROR: Frequency command failed")
                .error("ERROR: Frequency command failed.")
                .status(CmdTransmitFrequency, CmdStatusFailed);
        } else {
            a.status(CmdTransmitFrequency, CmdStatusSuccess);
            emit prepSchedReceived(QStringLiteral("frequency"), decimalOrZero(value));
        }
    } else if (name == "metar_offset=") {
        if (!is("INVALID"))
            emit prepSchedReceived(QStringLiteral("metar_offset"), decimalOrZero(value));
    } else if (name == "gps=") {
        const char* text = is("ON")               ? "INFO: GPS enabled successfully [ "
                           : is("OFF")            ? "INFO: GPS disabled successfully [ "
                           : is("ELEVATION_ONLY") ? "INFO: GPS elevation only set successfully [ "
                                                  : nullptr;
        if (is("INVALID")) {
            a.log("ERROR: GPS command failed [ ")
                .pane("ERROR: GPS command failed")
                .error("ERROR: GPS command failed.")
                .status(CmdGps, CmdStatusFailed);
        } else if (text) {
            a.log(text).systemWithFrame(text);
            positionReset = true;
            a.status(CmdGps, CmdStatusSuccess);
        } else {
            a.log("ERROR: Unknown GPS command response received [ ", " ] ")
                .error("WARNING: Unknown GPS command response received")
                .status(CmdGps, CmdStatusFailed);
        }
    } else if (name == "elevation=") {
        if (is("INVALID")) {
            a.log("ERROR: Elevation command failed [ ")
                .pane("ERROR: Elevation command failed")
                .error("ERROR: Elevation GPS command failed")
                .status(CmdElevation, CmdStatusFailed);
        } else {
            const char* text = is("OFF") ? "INFO: Elevation disabled [ "
                                         : "INFO: Elevation command successfully sent [ ";
            a.log(text, " ] ").systemWithFrame(text);
            positionReset = true;
            a.status(CmdElevation, CmdStatusSuccess);
        }
    } else if (name == "icao=") {
        if (is("INVALID")) {
            a.log("INFO: ICAO command failed [ ", "ERROR: ICAO command failed [ ", " ]")
                .pane("ERROR: ICAO command failed")
                .error("ERROR: ICAO Command Failed.")
                .status(CmdIcao, CmdStatusFailed);
            decoder->setIcao(QString());
        } else {
            a.log("INFO: ICAO command successfully sent [ ", " ] ")
                .systemWithFrame("INFO: ICAO command successfully sent [ ")
                .status(CmdIcao, CmdStatusSuccess);
            decoder->setIcao(value);
        }
    } else if (name == "led=" || name == "log=" || name == "rf=" || name == "heater=") {
        struct OnOffRow {
            const char* name;
            int index;
            const char* failed;
            const char* failedPane; // nullptr: the log command shows none
            const char* failedList;
            const char* enabled;
            const char* disabled;
            const char* unknown;
        };
        static const OnOffRow rows[] = {
            {"led=", CmdLed, "ERROR: LED command failed [ ", "ERROR: LED command failed",
             "ERROR: LED Command Failed.", "INFO: LED enabled successfully [ ",
             "INFO: LED disabled successfully [ ",
             "ERROR: Unknown LED command response received [ "},
            {"log=", CmdLog, "ERROR: Log command failed [ ", nullptr, "ERROR: Log Command Failed.",
             "INFO: Log enabled successfully [ ", "INFO: Log disabled successfully [ ",
             "ERROR: Unknown Log command response received [ "},
            {"rf=", CmdRf, "ERROR: RF command failed [ ", "ERROR: RF command failed",
             "ERROR: RF Command Failed.", "INFO: RF enabled successfully [ ",
             "INFO: RF disabled successfully [ ", "ERROR: Unknown RF command response received [ "},
            {"heater=", CmdHeater, "ERROR: Heater command failed [ ",
             "ERROR: Heater command failed", "ERROR: Heater Command Failed.",
             "INFO: Heater enabled successfully [ ", "INFO: Heater disabled successfully [ ",
             "EROR: Unknown Heater command response received [ "},
        };
        for (const OnOffRow& row : rows) {
            if (name != row.name)
                continue;
            if (is("INVALID")) {
                a.log(row.failed);
                if (row.failedPane)
                    a.pane(row.failedPane);
                a.error(row.failedList).status(row.index, CmdStatusFailed);
            } else if (is("ON") || is("OFF")) {
                const char* text = is("ON") ? row.enabled : row.disabled;
                a.log(text).systemWithFrame(text).status(row.index, CmdStatusSuccess);
            } else if (name == "heater=") {
                a.log(row.unknown, "ERROR: Unknown Heater command response received [ ", " ] ")
                    .error("WARNING: Unknown Heater command response received.")
                    .status(row.index, CmdStatusFailed);
            } else {
                a.log(row.unknown, " ] ")
                    .errorWithFrame(row.unknown, name == "rf=" ? " ] " : " ]")
                    .status(row.index, CmdStatusFailed);
            }
        }
    } else if (name == "blower=") {
        if (is("INVALID") || is("ERR")) {
            a.log("INFO: Blower command failed [ ", "ERROR: Blower command failed [ ", " ]")
                .pane("ERROR: Blower command failed")
                .error("ERROR: Blower Command Failed.")
                .status(CmdBlower, CmdStatusFailed);
        } else if (is("QUEUED")) {
            a.log("INFO: Blower command successfully queued [ ", " ] ")
                .systemWithFrame("INFO: Blower command successfully queued[ ")
                .status(CmdBlower, CmdStatusQueued);
        } else {
            a.log("ERROR: Unknown Blower command response received [ ", " ] ")
                .errorWithFrame("ERROR: Unknown Blower command response received [ ")
                .status(CmdBlower, CmdStatusFailed);
        }
    } else if (name == "radio_freq=") {
        if (is("INVALID") || is("ERR")) {
            a.log("INFO: RFLOS frequency command failed [ ",
                  "ERROR: RFLOS frequency command failed [ ", " ]")
                .pane("ERROR: RFLOS frequency command failed")
                .error("ERROR: RFLOS frequency Command Failed.")
                .status(CmdRflosTransmitRate, CmdStatusFailed);
        } else if (is("60")) {
            a.log("INFO: RFLOS frequency command successfully changed to 60 [ ", " ] ")
                .systemWithFrame("INFO: RFLOS frequency command successfully changed to 60[ ")
                .status(CmdRflosTransmitRate, CmdStatusSuccess);
        } else if (is("10")) {
            a.log("INFO: RFLOS frequency command successfully changed to 10 [ ", " ] ")
                .status(CmdRflosTransmitRate, CmdStatusSuccess);
        } else {
            a.log("ERROR: Unknown RFLOS frequency command response received [ ", " ] ")
                .errorWithFrame("ERROR: Unknown RFLOS frequency command response received [ ")
                .status(CmdRflosTransmitRate, CmdStatusFailed);
        }
    } else if (name == "speci_default=" || name == "speci_clear=") {
        const bool clear = name == "speci_clear=";
        if (is("OK")) {
            emit sendSpeciData(QStringLiteral("OK"), SpeciReplyAccepted);
            const char* text = clear ? "INFO: Set SPECI Clear command successful [ "
                                     : "INFO: Set SPECI Default command successful [ ";
            a.log(text, " ] ").systemWithFrame(text);
        } else if (clear) {
            a.log("ERROR: Unknown Set SPECI Clear command response received [ ", " ] ")
                .error("ERROR: SPECI Clear Command Failed.");
        } else {
            a.log("ERROR: Unknown Set SPECI Default command response received [ ", " ] ")
                .error("ERROR: SPECI Default Command Failed.");
        }
    } else if (name == "default=") {
        if (is("OK")) {
            a.log("INFO: Set Default command successful [ ", " ] ")
                .systemWithFrame("INFO: Set Default command successful [ ");
        } else {
            a.log("ERROR: Unknown Set Default command response received [ ", " ] ")
                .pane("ERROR: Default command failed")
                .error("ERROR: Default Command Failed.");
        }
    } else if (name == "speci_mode=") {
        if (is("AFMAN") || is("CUSTOM")) {
            const char* text = "INFO: SPECI Criteria Mode command successful [ ";
            a.debug(text, " ] ");
            emit sendSpeciData(value, SpeciReplyMode);
            a.logOnly(text).systemWithFrame(text);
        } else if (is("INVALID")) {
            a.log("INFO: SPECI Criteria Mode command Invalid [ ", " ] ")
                .errorWithFrame("INFO: SPECI Criteria Mode command Invalid [ ");
        } else {
            a.log("ERROR: Unknown SPECI Criteria Mode command response received [ ", " ] ")
                .error("ERROR: SPECI Criteria Mode Command Failed.");
        }
    } else if (name == "speci_read_visibility=") {
        emit sendSpeciData(value, SpeciReplyVisibility);
    } else if (name == "speci_read_ceiling=") {
        emit sendSpeciData(value, SpeciReplyCeiling);
    } else if (name == "speci_criteria_source=") {
        // Both modes answer with the AFMAN texts; the window reads the mode from elsewhere.
        if (is("AFMAN") || is("CUSTOM")) {
            const char* shown = "INFO: Set SPECI Criteria Mode to AFMAN command successful [ ";
            a.log("INFO: Set Criteria Mode to AFMAN command successful [ ", shown, " ] ")
                .systemWithFrame(shown);
        } else if (is("INVALID")) {
            const char* shown = "INFO: Set SPECI Criteria Mode to AFMAN command Invalid [ ";
            a.log("INFO: Set Criteria Mode to AFMAN command Invalid [ ", shown, " ] ")
                .errorWithFrame(shown);
        } else {
            a.log("ERROR: Unknown Set SPECI Criteria Mode to AFMAN command response received [ ",
                  " ] ")
                .error("ERROR: SPECI Criteria Mode to AFMAN Command Failed.");
        }
    }
}

void data_incoming::parseDeclinationResponse(const QByteArray& frame)
{
    const QStringList lines = frameLines(frame);
    if (lines.size() != 5) {
        reportError("Invalid declination packet response.", frame);
        emit command_status_changed(CmdDeclination, CmdStatusFailed);
        return;
    }
    const QString value = splitPair(lines.at(1)).value(1);
    bool ok = false;
    const float degrees = value.toFloat(&ok);
    // "nan" and "inf" convert, but no compass holds them.
    if (!ok || !std::isfinite(degrees)) {
        reportError("Declination setting failed.", frame);
        emit command_status_changed(CmdDeclination, CmdStatusFailed);
        return;
    }
    reportInfo("Declination set to " + value.toUtf8() + ".", frame);
    emit command_status_changed(CmdDeclination, CmdStatusSuccess);
}

void data_incoming::parseFlashEraseResponse(const QByteArray& frame)
{
    const QStringList lines = frameLines(frame);
    const QString value = lines.size() == 5 ? splitPair(lines.at(1)).value(1) : QString();
    if (value == QLatin1String("START")) {
        reportInfo("Log erasure started.", frame);
        emit command_status_changed(CmdLog, CmdStatusInProgress);
    } else if (value == QLatin1String("OK")) {
        reportInfo("Log erasure complete.", frame);
        emit command_status_changed(CmdLog, CmdStatusSuccess);
    } else {
        reportError("Invalid flash_erase packet response.", frame);
        emit command_status_changed(CmdLog, CmdStatusFailed);
    }
}

// The window takes a new key into use on the unit's "KEY": a refusal ("INVALID") must not count
// as one, or the window would switch to a key the unit does not hold.
void data_incoming::parseEncryptionKeyResponse(const QByteArray& frame)
{
    const QByteArray shown = maskKeyValues(frame);
    const QStringList lines = frameLines(frame);
    if (lines.size() == 5 && splitPair(lines.at(1)).value(1) != QLatin1String("INVALID")) {
        reportInfo("Key set confirmed.", shown);
        emit encryption_parse_confirmed(QStringLiteral("KEY"));
    } else {
        reportError("Invalid encryption key setting response.", shown);
        emit encryption_parse_confirmed(QStringLiteral("ERROR"));
    }
}

void data_incoming::parseEncryptionIvResponse(const QByteArray& frame)
{
    const QByteArray shown = maskKeyValues(frame);
    const QStringList lines = frameLines(frame);
    if (lines.size() == 5 && splitPair(lines.at(1)).value(1) != QLatin1String("INVALID")) {
        reportInfo("IV set confirmed.", shown);
        emit encryption_parse_confirmed(QStringLiteral("IV"));
    } else {
        reportError("Invalid encryption iv setting response.", shown);
        emit encryption_parse_confirmed(QStringLiteral("ERROR"));
    }
}

void data_incoming::parseEnableDisableQueued(const QByteArray& frame)
{
    const QStringList lines = frameLines(frame);
    if (lines.size() != 6) {
        reportError("Invalid enable/disable response.", frame);
        return;
    }
    const QByteArray module = lines.at(1).toUtf8();
    if (splitPair(lines.at(2)).value(1) == QLatin1String("QUEUED"))
        reportInfo("Module " + module + " enable/disable successfully queued.", frame);
    else
        reportError("Invalid enable/disable response for module " + module + ".", frame);
}

void data_incoming::parseSendQueuedResponse(const QByteArray& frame)
{
    const QStringList lines = frameLines(frame);
    if (lines.size() == 6 && splitPair(lines.at(2)).value(1) == QLatin1String("QUEUED")) {
        reportInfo("Send command enqueued.", frame);
        emit command_status_changed(CmdSend, CmdStatusSuccess);
        return;
    }
    reportError("Send command failed.", frame);
    emit command_status_changed(CmdSend, CmdStatusFailed);
}
