#pragma once

// Types that travel between the link, the decoder, logging and the window.
// Values are fixed: they cross signals as ints and are stored in settings.

#include <QDateTime>
#include <QMetaType>
#include <QString>

enum class DeviceTypes : int { None = 0, BRQ = 1, ORVA = 2 };

enum class LoggingType : int { Default = 0, Data = 1, Debug = 2 };

enum class ORVAMetarMode : int { Automatic = 0, Manual = 1, SemiAutomatic = 2 };

enum class PrecipAccum24hInterval : int { Since12Z = 0, Previous24Hours = 1 };

// First argument of command_status_changed(int, int): the status cell of an ORVA command row.
enum CommandIndex : int {
    CmdTransmitFrequency = 0,
    CmdGps = 1,
    CmdElevation = 2,
    CmdDeclination = 3,
    CmdRf = 4,
    CmdBlower = 5,
    CmdHeater = 6,
    CmdLed = 7,
    CmdLog = 8, // also "flash_erase="
    CmdDateTime = 9,
    CmdIcao = 10,
    CmdSend = 11,
    CmdRflosTransmitFrequency = 12,
    CmdRflosReceiveFrequency = 13,
    CmdRflosProgrammedChannel = 14,
    CmdRflosSelectedChannel = 15,
    CmdRflosTransmitRate = 16,
    CommandIndexCount = 17
};

// Second argument of command_status_changed(int, int); 0 is the window's blank cell.
enum CommandStatus : int {
    CmdStatusBlank = 0,
    CmdStatusQueued = 1,
    CmdStatusSuccess = 2,
    CmdStatusFailed = 3,
    CmdStatusInProgress = 4
};

// Second argument of sendSpeciData(QString, int): what the unit's SPECI answer carries.
enum SpeciReplyKind : int {
    SpeciReplyMode = 0,       // "speci_mode=" accepted: the mode text
    SpeciReplyVisibility = 1, // "speci_read_visibility=": the visibility thresholds
    SpeciReplyCeiling = 2,    // "speci_read_ceiling=": the ceiling thresholds
    SpeciReplyAccepted = 3    // "speci_default=" / "speci_clear=" answered "OK"
};

// Argument of sendEncryptionStatus(int): how the incoming data is wrapped.
enum IncomingEncryptionState : int {
    IncomingNotEncrypted = 0,
    IncomingEncrypted = 1,
    IncomingDecryptError = 2
};

// Argument of encryption_status_changed(int): the unit's answer to "encrypt ON"/"encrypt OFF".
enum UnitEncryptionState : int {
    UnitEncryptionUnknown = 0, // the answer could not be read, or the switch failed
    UnitEncryptionOn = 1,
    UnitEncryptionOff = 2
};

// Argument of encryption_parse_confirmed(KeyChangeState): how a new link key stands. The unit's
// frames tell which key it uses; its answer to the key alone does not.
enum class KeyChangeState : int {
    Confirmed = 1,   // the unit answered the IV: it holds the new key, which is in use
    SeenNewKey = 2,  // a frame read whole under the new key: the new key is in use
    Refused = 3,     // the unit refused the key or its IV
    GivenUp = 4,     // the link gave the change up (the port closed, a newer command)
    SeenOldKey = 5,  // a frame showed the unit on the key before the change: it is in use
    Closed = 6,      // the change settled: commands may go, and a new change may begin
    KeyAnswered = 7, // the unit took the key: its IV follows, or it may switch with the answer
};

struct TimedValue {
    QDateTime time;
    double value = 0.0;
};

struct TimedPair {
    QDateTime time;
    double speed = 0.0;     // knots
    double direction = 0.0; // degrees
};

struct PositionSample {
    QDateTime time;
    double latitude = 0.0;
    double longitude = 0.0;
    double elevation = 0.0; // metres
    double tilt = 0.0;
    double orientation = 0.0;
};

struct LightningCompassEntry {
    QString name;
    qint32 distance = 0;
    qint32 bearing = 0; // degrees
};

// Names used in log lines and the data log.
QString deviceTypeName(DeviceTypes type);  // "BRQ", "ORVA", otherwise "None"
QString loggingTypeName(LoggingType type); // "Data", "Debug", otherwise "Default"

// Must run before the first queued connection that carries one of these types.
void registerSharedMetaTypes();

Q_DECLARE_METATYPE(DeviceTypes)
Q_DECLARE_METATYPE(LoggingType)
Q_DECLARE_METATYPE(ORVAMetarMode)
Q_DECLARE_METATYPE(PrecipAccum24hInterval)
Q_DECLARE_METATYPE(KeyChangeState)
