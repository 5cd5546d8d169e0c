#include "link/data_incoming.h"

#include "decoder/weatherdatadecoder.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <iterator>

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

int decimalOrZero(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    return ok ? n : 0;
}

// The four switch commands answer alike; only their texts differ.
struct OnOffRow {
    const char* name;
    const char* command; // in the parse-failure message
    int index;
    const char* failed;
    const char* failedPane; // nullptr: the log command shows none
    const char* failedList;
    const char* enabled;
    const char* disabled;
    const char* unknown;
};

const OnOffRow kOnOffRows[] = {
    {"led=", "LED", CmdLed, "ERROR: LED command failed [ ", "ERROR: LED command failed",
     "ERROR: LED Command Failed.", "INFO: LED enabled successfully [ ",
     "INFO: LED disabled successfully [ ", "ERROR: Unknown LED command response received [ "},
    {"log=", "Log", CmdLog, "ERROR: Log command failed [ ", nullptr, "ERROR: Log Command Failed.",
     "INFO: Log enabled successfully [ ", "INFO: Log disabled successfully [ ",
     "ERROR: Unknown Log command response received [ "},
    {"rf=", "RF", CmdRf, "ERROR: RF command failed [ ", "ERROR: RF command failed",
     "ERROR: RF Command Failed.", "INFO: RF enabled successfully [ ",
     "INFO: RF disabled successfully [ ", "ERROR: Unknown RF command response received [ "},
    {"heater=", "Heater", CmdHeater, "ERROR: Heater command failed [ ",
     "ERROR: Heater command failed", "ERROR: Heater Command Failed.",
     "INFO: Heater enabled successfully [ ", "INFO: Heater disabled successfully [ ",
     "EROR: Unknown Heater command response received [ "},
};

// The key and IV answers read alike: five parts and no refusal confirm what the unit took.
bool confirmKeyPart(data_incoming& worker, const QByteArray& frame, const QByteArray& confirmed,
                    const QByteArray& refused)
{
    const QByteArray shown = data_incoming::maskKeyValues(frame);
    const QStringList lines = frameLines(frame);
    const bool taken =
        lines.size() == 5 && splitPair(lines.at(1)).value(1) != QLatin1String("INVALID");
    if (taken) {
        worker.reportInfo(confirmed, shown);
    } else if (lines.size() == 5) {
        // Refused in the unit's own word: the error pane names it, as the log's copy does.
        emit worker.sendLogMsg("ERROR: " + refused + "[ " + shown + " ]");
        emit worker.sendDisplayErrorMsg(QStringLiteral("ERROR: ") + QString::fromUtf8(refused) +
                                        QStringLiteral(" [ ") + lines.at(1) + QStringLiteral(" ]"));
        qDebug().noquote() << "ERROR: " + refused;
    } else {
        worker.reportError(refused, shown);
    }
    return taken;
}

// What the unit answers to a command, which is no secret, as against a key or IV it echoes.
bool isAnswerWord(const QByteArray& value)
{
    return value == "OK" || value == "INVALID" || value == "ERR" || value == "ERROR";
}

// Emits the messages of an answer's outcome in the order the window and the log expect them:
// debug line, log line, command pane, message list, status.
class AnswerMessages
{
public:
    AnswerMessages(data_incoming& worker, const QByteArray& frame) : worker(worker), frame(frame) {}

    // The log line is the text, the frame and " ]"; the debug output gets it first.
    AnswerMessages& log(const char* text, const char* debugClose = " ]")
    {
        return log(text, text, debugClose);
    }
    // The debug line differs in its words from the log line.
    AnswerMessages& log(const char* text, const char* debugText, const char* debugClose)
    {
        debug(debugText, debugClose);
        return logOnly(text);
    }
    AnswerMessages& logOnly(const char* text)
    {
        emit worker.sendLogMsg(text + frame + " ]");
        return *this;
    }
    AnswerMessages& debug(const char* text, const char* close)
    {
        qDebug().noquote() << QString::fromUtf8(text + data_incoming::maskKeyValues(frame) + close);
        return *this;
    }
    AnswerMessages& pane(const char* text)
    {
        emit worker.sendORVACmdStatus(QString::fromUtf8(text));
        return *this;
    }
    AnswerMessages& system(const char* text)
    {
        emit worker.sendDisplaySysMsg(QString::fromUtf8(text));
        return *this;
    }
    AnswerMessages& error(const char* text)
    {
        emit worker.sendDisplayErrorMsg(QString::fromUtf8(text));
        return *this;
    }
    AnswerMessages& errorWithFrame(const char* text, const char* close = " ]")
    {
        emit worker.sendDisplayErrorMsg(QString::fromUtf8(text + frame + close));
        return *this;
    }
    AnswerMessages& systemWithFrame(const char* text)
    {
        emit worker.sendDisplaySysMsg(QString::fromUtf8(text + frame + " ]"));
        return *this;
    }
    void status(int index, int status) { emit worker.command_status_changed(index, status); }

protected:
    data_incoming& worker;
    const QByteArray& frame;
};

} // namespace

QByteArray data_incoming::maskKeyValues(const QByteArray& frame)
{
    QByteArray out = frame;
    for (const QByteArray& name : {QByteArray("key="), QByteArray("iv=")}) {
        int at = out.indexOf(name);
        while (at >= 0) {
            const int start = at + name.size();
            int end = out.indexOf("\r\n", start);
            if (end < 0)
                end = out.size();
            if (isAnswerWord(out.mid(start, end - start))) {
                at = out.indexOf(name, end);
                continue;
            }
            out.replace(start, end - start, "***");
            at = out.indexOf(name, start + 3);
        }
    }
    return out;
}

class data_incoming::CommandAnswer : private AnswerMessages
{
public:
    struct Row {
        const char* name;
        void (data_incoming::*wholeFrame)(const QByteArray&); // a sub-parser reads the frame
        void (CommandAnswer::*handle)();                      // reads the value of line 1
    };
    // In the order the names are searched for in the frame.
    static const Row rows[];
    // The row of the first name found anywhere in the frame, or nullptr.
    static const Row* find(const QByteArray& frame);

    CommandAnswer(data_incoming& worker, const QByteArray& frame, const char* name)
        : AnswerMessages(worker, frame), name(name), lines(frameLines(frame)),
          pair(splitPair(lines.value(1))), value(pair.value(1))
    {
    }

private:
    void stack();
    void encrypt();
    void frequency();
    void metarOffset();
    void gps();
    void elevation();
    void dateTime();
    void icao();
    void onOff();
    void blower();
    void radioFrequency();
    void speciDefaultOrClear();
    void defaults();
    void speciMode();
    void speciVisibility();
    void speciCeiling();
    void speciCriteriaSource();

    bool hasValue() const { return worker.validate_list(pair, 2); }
    // False, with the parse-failure messages of the command, when line 1 holds no "=".
    bool readValue(const char* command, int index = -1);
    bool is(const char* word) const { return value == QLatin1String(word); }

    const QByteArray name;
    const QStringList lines;
    const QStringList pair;
    const QString value;
};

// "speci_default=" holds "default=", so it comes first.
const data_incoming::CommandAnswer::Row data_incoming::CommandAnswer::rows[] = {
    {"stack=", nullptr, &CommandAnswer::stack},
    {"decl=", &data_incoming::parseDeclinationResponse, nullptr},
    {"flash_erase=", &data_incoming::parseFlashEraseResponse, nullptr},
    {"key=", &data_incoming::parseEncryptionKeyResponse, nullptr},
    {"iv=", &data_incoming::parseEncryptionIvResponse, nullptr},
    {"enable=", &data_incoming::parseEnableDisableQueued, nullptr}, // also "disable="
    {"encrypt=", nullptr, &CommandAnswer::encrypt},
    {"send=", &data_incoming::parseSendQueuedResponse, nullptr},
    {"frequency=", nullptr, &CommandAnswer::frequency},
    {"metar_offset=", nullptr, &CommandAnswer::metarOffset},
    {"gps=", nullptr, &CommandAnswer::gps},
    {"elevation=", nullptr, &CommandAnswer::elevation},
    {"datetime=", nullptr, &CommandAnswer::dateTime},
    {"icao=", nullptr, &CommandAnswer::icao},
    {"led=", nullptr, &CommandAnswer::onOff},
    {"log=", nullptr, &CommandAnswer::onOff},
    {"blower=", nullptr, &CommandAnswer::blower},
    {"radio_freq=", nullptr, &CommandAnswer::radioFrequency},
    {"rf=", nullptr, &CommandAnswer::onOff},
    {"heater=", nullptr, &CommandAnswer::onOff},
    {"speci_default=", nullptr, &CommandAnswer::speciDefaultOrClear},
    {"default=", nullptr, &CommandAnswer::defaults},
    {"speci_mode=", nullptr, &CommandAnswer::speciMode},
    {"speci_read_visibility=", nullptr, &CommandAnswer::speciVisibility},
    {"speci_read_ceiling=", nullptr, &CommandAnswer::speciCeiling},
    {"speci_clear=", nullptr, &CommandAnswer::speciDefaultOrClear},
    {"speci_criteria_source=", nullptr, &CommandAnswer::speciCriteriaSource},
};

const data_incoming::CommandAnswer::Row* data_incoming::CommandAnswer::find(const QByteArray& frame)
{
    for (const Row& row : rows) {
        const QByteArray key(row.name);
        if (key == "enable=") {
            if (frame.contains("enable=") || frame.contains("disable="))
                return &row;
            continue;
        }
        // "enabled=" and "disabled=" end in "led=" and are not LED answers.
        if (key == "led=" && (frame.contains("enabled=") || frame.contains("disabled=")))
            continue;
        if (frame.contains(key))
            return &row;
    }
    return nullptr;
}

void data_incoming::parseCommandResponse(const QByteArray& frame)
{
    const CommandAnswer::Row* row = CommandAnswer::find(frame);
    const QByteArray name = row ? row->name : "";

    if (loggingMode == LoggingType::Data || loggingMode == LoggingType::Debug)
        emit sendLogData(name == "key=" || name == "iv=" ? maskKeyValues(frame) : frame,
                         emptyRecord, deviceType);

    if (!row)
        return;
    if (row->wholeFrame)
        return (this->*row->wholeFrame)(frame);
    CommandAnswer answer(*this, frame, row->name);
    (answer.*row->handle)();
}

bool data_incoming::CommandAnswer::readValue(const char* command, int index)
{
    if (hasValue())
        return true;
    qDebug().noquote() << "ERROR: Unable to parse data, List index out of range error encountered. "
                       << pair;
    emit worker.sendDisplayErrorMsg(
        QStringLiteral("ERROR: Unable to parse data packet response for %1 command, List index "
                       "out of range error encountered.")
            .arg(QLatin1String(command)));
    if (index >= 0)
        status(index, CmdStatusFailed);
    return false;
}

void data_incoming::CommandAnswer::stack()
{
    qDebug().noquote() << "Stack Command response received!";
    if (!readValue("Stack"))
        return;
    if (is("NONE")) {
        log("INFO: Stack command returned no Modules [ ");
    } else if (is("FOUND")) {
        log("INFO: Stack command found Modules [ ");
        emit worker.sendStackData(lines);
    } else {
        log("WARNING: Unknown Stack command response received [ ",
            "ERROR: Unknown Stack Command response received [ ", " ] ")
            .error("WARNING: Unknown stack command response received.");
    }
}

void data_incoming::CommandAnswer::encrypt()
{
    if (!hasValue()) {
        emit worker.encryption_status_changed(UnitEncryptionUnknown);
    } else if (is("ON")) {
        logOnly("INFO: Encryption enabled. [ ").system("INFO: Encryption enabled.");
        emit worker.encryption_status_changed(UnitEncryptionOn);
    } else if (is("OFF")) {
        logOnly("INFO: Encryption disabled. [ ").error("INFO: Encryption disabled.");
        emit worker.encryption_status_changed(UnitEncryptionOff);
    } else {
        logOnly("ERROR: Encryption status change failed. [ ")
            .error("WARNING: Encryption status change failed.");
        emit worker.encryption_status_changed(UnitEncryptionUnknown);
    }
}

void data_incoming::CommandAnswer::frequency()
{
    if (!readValue("Frequency", CmdTransmitFrequency))
        return;
    if (is("INVALID")) {
        log("ERROR: Frequency command failed [ ")
            .pane("ERROR: Frequency command failed")
            .error("ERROR: Frequency command failed.")
            .status(CmdTransmitFrequency, CmdStatusFailed);
    } else {
        status(CmdTransmitFrequency, CmdStatusSuccess);
        emit worker.prepSchedReceived(QStringLiteral("frequency"), decimalOrZero(value));
    }
}

void data_incoming::CommandAnswer::metarOffset()
{
    if (hasValue() && !is("INVALID"))
        emit worker.prepSchedReceived(QStringLiteral("metar_offset"), decimalOrZero(value));
}

void data_incoming::CommandAnswer::gps()
{
    if (!readValue("GPS", CmdGps))
        return;
    const char* text = is("ON")               ? "INFO: GPS enabled successfully [ "
                       : is("OFF")            ? "INFO: GPS disabled successfully [ "
                       : is("ELEVATION_ONLY") ? "INFO: GPS elevation only set successfully [ "
                                              : nullptr;
    if (is("INVALID")) {
        log("ERROR: GPS command failed [ ")
            .pane("ERROR: GPS command failed")
            .error("ERROR: GPS command failed.")
            .status(CmdGps, CmdStatusFailed);
    } else if (text) {
        log(text).systemWithFrame(text);
        worker.positionReset = true;
        status(CmdGps, CmdStatusSuccess);
    } else {
        log("ERROR: Unknown GPS command response received [ ", " ] ")
            .error("WARNING: Unknown GPS command response received")
            .status(CmdGps, CmdStatusFailed);
    }
}

void data_incoming::CommandAnswer::elevation()
{
    if (!readValue("Elevation", CmdElevation))
        return;
    if (is("INVALID")) {
        log("ERROR: Elevation command failed [ ")
            .pane("ERROR: Elevation command failed")
            .error("ERROR: Elevation GPS command failed")
            .status(CmdElevation, CmdStatusFailed);
    } else {
        const char* text = is("OFF") ? "INFO: Elevation disabled [ "
                                     : "INFO: Elevation command successfully sent [ ";
        log(text, " ] ").systemWithFrame(text);
        worker.positionReset = true;
        status(CmdElevation, CmdStatusSuccess);
    }
}

// The value is not read: every answer counts.
void data_incoming::CommandAnswer::dateTime()
{
    logOnly("INFO: DateTime command response received [ ")
        .systemWithFrame("INFO: DateTime command response received [ ")
        .status(CmdDateTime, CmdStatusSuccess);
}

void data_incoming::CommandAnswer::icao()
{
    if (!readValue("ICAO", CmdIcao)) {
        worker.decoder->setIcao(QString());
    } else if (is("INVALID")) {
        log("INFO: ICAO command failed [ ", "ERROR: ICAO command failed [ ", " ]")
            .pane("ERROR: ICAO command failed")
            .error("ERROR: ICAO Command Failed.")
            .status(CmdIcao, CmdStatusFailed);
        worker.decoder->setIcao(QString());
    } else {
        log("INFO: ICAO command successfully sent [ ", " ] ")
            .systemWithFrame("INFO: ICAO command successfully sent [ ")
            .status(CmdIcao, CmdStatusSuccess);
        worker.decoder->setIcao(value);
    }
}

void data_incoming::CommandAnswer::onOff()
{
    const OnOffRow& row = *std::find_if(std::begin(kOnOffRows), std::end(kOnOffRows),
                                        [this](const OnOffRow& r) { return name == r.name; });
    if (!readValue(row.command, row.index))
        return;
    if (is("INVALID")) {
        log(row.failed);
        if (row.failedPane)
            pane(row.failedPane);
        error(row.failedList).status(row.index, CmdStatusFailed);
    } else if (is("ON") || is("OFF")) {
        const char* text = is("ON") ? row.enabled : row.disabled;
        log(text).systemWithFrame(text).status(row.index, CmdStatusSuccess);
    } else if (name == "heater=") {
        log(row.unknown, "ERROR: Unknown Heater command response received [ ", " ] ")
            .error("WARNING: Unknown Heater command response received.")
            .status(row.index, CmdStatusFailed);
    } else {
        log(row.unknown, " ] ")
            .errorWithFrame(row.unknown, name == "rf=" ? " ] " : " ]")
            .status(row.index, CmdStatusFailed);
    }
}

void data_incoming::CommandAnswer::blower()
{
    if (!readValue("Blower", CmdBlower))
        return;
    if (is("INVALID") || is("ERR")) {
        log("INFO: Blower command failed [ ", "ERROR: Blower command failed [ ", " ]")
            .pane("ERROR: Blower command failed")
            .error("ERROR: Blower Command Failed.")
            .status(CmdBlower, CmdStatusFailed);
    } else if (is("QUEUED")) {
        log("INFO: Blower command successfully queued [ ", " ] ")
            .systemWithFrame("INFO: Blower command successfully queued[ ")
            .status(CmdBlower, CmdStatusQueued);
    } else {
        log("ERROR: Unknown Blower command response received [ ", " ] ")
            .errorWithFrame("ERROR: Unknown Blower command response received [ ")
            .status(CmdBlower, CmdStatusFailed);
    }
}

void data_incoming::CommandAnswer::radioFrequency()
{
    if (!readValue("RFLOS frequency", CmdRflosTransmitRate))
        return;
    if (is("INVALID") || is("ERR")) {
        log("INFO: RFLOS frequency command failed [ ", "ERROR: RFLOS frequency command failed [ ",
            " ]")
            .pane("ERROR: RFLOS frequency command failed")
            .error("ERROR: RFLOS frequency Command Failed.")
            .status(CmdRflosTransmitRate, CmdStatusFailed);
    } else if (is("60")) {
        log("INFO: RFLOS frequency command successfully changed to 60 [ ", " ] ")
            .systemWithFrame("INFO: RFLOS frequency command successfully changed to 60[ ")
            .status(CmdRflosTransmitRate, CmdStatusSuccess);
    } else if (is("10")) {
        log("INFO: RFLOS frequency command successfully changed to 10 [ ", " ] ")
            .status(CmdRflosTransmitRate, CmdStatusSuccess);
    } else {
        log("ERROR: Unknown RFLOS frequency command response received [ ", " ] ")
            .errorWithFrame("ERROR: Unknown RFLOS frequency command response received [ ")
            .status(CmdRflosTransmitRate, CmdStatusFailed);
    }
}

void data_incoming::CommandAnswer::speciDefaultOrClear()
{
    const bool clear = name == "speci_clear=";
    if (!readValue(clear ? "set Clear SPECI" : "set Default SPECI"))
        return;
    if (is("OK")) {
        emit worker.sendSpeciData(QStringLiteral("OK"), SpeciReplyAccepted);
        const char* text = clear ? "INFO: Set SPECI Clear command successful [ "
                                 : "INFO: Set SPECI Default command successful [ ";
        log(text, " ] ").systemWithFrame(text);
    } else if (clear) {
        log("ERROR: Unknown Set SPECI Clear command response received [ ", " ] ")
            .error("ERROR: SPECI Clear Command Failed.");
    } else {
        log("ERROR: Unknown Set SPECI Default command response received [ ", " ] ")
            .error("ERROR: SPECI Default Command Failed.");
    }
}

void data_incoming::CommandAnswer::defaults()
{
    if (!readValue("Default"))
        return;
    if (is("OK")) {
        log("INFO: Set Default command successful [ ", " ] ")
            .systemWithFrame("INFO: Set Default command successful [ ");
    } else {
        log("ERROR: Unknown Set Default command response received [ ", " ] ")
            .pane("ERROR: Default command failed")
            .error("ERROR: Default Command Failed.");
    }
}

void data_incoming::CommandAnswer::speciMode()
{
    if (!readValue("SPECI Criteria Mode"))
        return;
    if (is("AFMAN") || is("CUSTOM")) {
        const char* text = "INFO: SPECI Criteria Mode command successful [ ";
        debug(text, " ] ");
        emit worker.sendSpeciData(value, SpeciReplyMode);
        logOnly(text).systemWithFrame(text);
    } else if (is("INVALID")) {
        log("INFO: SPECI Criteria Mode command Invalid [ ", " ] ")
            .errorWithFrame("INFO: SPECI Criteria Mode command Invalid [ ");
    } else {
        log("ERROR: Unknown SPECI Criteria Mode command response received [ ", " ] ")
            .error("ERROR: SPECI Criteria Mode Command Failed.");
    }
}

void data_incoming::CommandAnswer::speciVisibility()
{
    if (readValue("Read SPECI Visibility"))
        emit worker.sendSpeciData(value, SpeciReplyVisibility);
}

void data_incoming::CommandAnswer::speciCeiling()
{
    if (readValue("Read SPECI Ceiling"))
        emit worker.sendSpeciData(value, SpeciReplyCeiling);
}

// Both modes answer with the AFMAN texts; the window reads the mode from elsewhere.
void data_incoming::CommandAnswer::speciCriteriaSource()
{
    if (!readValue("SPECI Criteria Mode to AFMAN"))
        return;
    if (is("AFMAN") || is("CUSTOM")) {
        const char* shown = "INFO: Set SPECI Criteria Mode to AFMAN command successful [ ";
        log("INFO: Set Criteria Mode to AFMAN command successful [ ", shown, " ] ")
            .systemWithFrame(shown);
    } else if (is("INVALID")) {
        const char* shown = "INFO: Set SPECI Criteria Mode to AFMAN command Invalid [ ";
        log("INFO: Set Criteria Mode to AFMAN command Invalid [ ", shown, " ] ")
            .errorWithFrame(shown);
    } else {
        log("ERROR: Unknown Set SPECI Criteria Mode to AFMAN command response received [ ", " ] ")
            .error("ERROR: SPECI Criteria Mode to AFMAN Command Failed.");
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

// A refusal ("INVALID") must not count as the unit taking the key. What the answer decides
// belongs to the key change: an answer to a sending on a connection since lost, or with no change
// under way, decides nothing.
void data_incoming::parseEncryptionKeyResponse(const QByteArray& frame)
{
    keyAnswered(confirmKeyPart(*this, frame, "Key set confirmed.",
                               "Invalid encryption key setting response."));
}

void data_incoming::parseEncryptionIvResponse(const QByteArray& frame)
{
    ivAnswered(confirmKeyPart(*this, frame, "IV set confirmed.",
                              "Invalid encryption iv setting response."));
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
