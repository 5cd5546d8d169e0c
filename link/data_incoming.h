#pragma once

#include "decoder/sharedtypes.h"
#include "link/unittracker.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <array>
#include <bitset>
#include <memory>
#include <optional>

class QTimer;
class WeatherDataDecoder;

// Counted by the pacing tick and cleared by the BRQ and legacy ORVA parsers: the link's measure
// of silence on the line. One counter for the whole process, touched only on the link thread.
extern qint32 idleTicks;

// Reassembly buffer of the ORVA frame parser: bytes of frames not yet complete. One for the whole
// process, touched only on the link thread.
extern QByteArray frameBuffer;

// The 29 record keys that a high-speed packet refreshes in the last full record. Read-only.
extern const QStringList highSpeedKeys;

// The one object through which the application talks to the sensor unit. Created without a
// parent and moved to a thread of its own; every slot runs on that thread.
class data_incoming : public QObject
{
    Q_OBJECT
public:
    explicit data_incoming(QObject* parent = nullptr);
    ~data_incoming() override;

    void reportError(const QByteArray& message, const QByteArray& detail);
    void reportInfo(const QByteArray& message, const QByteArray& detail);

    // [last line beginning "@I", last other line beginning "@"], each empty when there is none.
    static QStringList extractAtLines(const QByteArray& data);
    // Time-stamp part of a camera image file name, from the packet's capture time.
    static QString imageTimestamp(const QByteArray& packet);
    static bool isDeviceTimeUnset(const QByteArray& packet);
    // The frame with every "key=" and "iv=" value replaced by "***": the unit echoes the key and
    // IV it was given, and neither may reach a log file or the debug output. Its answer words
    // ("OK", "INVALID") stay, so that a refusal reads as one.
    static QByteArray maskKeyValues(const QByteArray& frame);

    // Lets a test run the reconnect and held-command timers without waiting 30 s and 10 s.
    void setRetryIntervals(int reconnectMs, int waitWriteMs);
    // Lets a test age a partial ORVA frame without waiting a whole second.
    void setFrameTimeout(int ms);
    // Lets a test pass `ms` of silence over a partial ORVA frame, so no real pause has to fit.
    void ageFrame(int ms);
    // Lets a test end a camera picture whose packets stopped without waiting five seconds.
    void setImageTimeout(int ms);
    // Pacing ticks of silence after which a BRQ message that may still grow is judged as it
    // stands and what is left is dropped: the idle limit, about 600 ms after the last byte. A
    // shorter pause, inside a message or between two, changes nothing.
    static constexpr int brqSilenceTicks = 6;

    // A new key for the unit. The window hands the change's "key" and "iv" commands in clear
    // behind this; the link writes them (through the station radio so that the unit reads them
    // under whichever key it may hold), and from the moment the key goes out reads frames under
    // both keys: the key of the frames is the key in use, until the change is complete on the
    // unit's side. Link thread only.
    void beginKeyChange(const QByteArray& key, const QByteArray& iv, bool radio);
    // The window stopped waiting for the change (its time-out): nothing more of it goes to the
    // unit, `why` names what is dropped for it, and the frames still tell which key is in use.
    // Link thread only.
    void stopSendingKeyChange(const QByteArray& why);
    // The station-radio text of a key or IV command, which the link cannot read: wherever the
    // command would be shown, `shown` stands instead. The window names it before it hands the
    // command over; the name goes with the command once it is written or dropped. Link thread
    // only.
    void hideCommandText(const QByteArray& wire, const QByteArray& shown);

    // What the receive step handed to each family's parser; lets a test see the dispatch
    // without depending on what each parser makes of the bytes.
    struct PendingCalls {
        int brqCalls = 0;
        QByteArray lastBrq;
        qint64 brqBytes = 0; // all reads together
        int orvaCalls = 0;
        QByteArray lastOrva;
        bool orvaBypassDuringCall = false;
        int orvaLegacyCalls = 0;
        QByteArray lastOrvaLegacy;
    };
    const PendingCalls& pendingCalls() const { return pending; }

signals:
    void weather_data_received(const QJsonObject& record);
    void sendLogData(const QByteArray& packet, const QJsonObject& record, DeviceTypes device);
    void sendLogMsg(const QByteArray& line);
    void enableCamera(bool active);
    void sendImageProgressInfo(int camera, int sequence);
    void sendCameraProgress(const QString& path, int camera, const QString& timeText, double angle,
                            const QString& dateText);
    void sendCameraFinal(int camera, const QString& path);
    void sendRawData(const QByteArray& data);
    void sendDecodedData(const QByteArray& data);
    void sendConfiguration(const QString& state);
    void sendCommandConfirmation();
    void sendBITcheckPacket(const QByteArray& frame);
    void sendMetarStatus(const QByteArray& status);
    void sendStackData(const QStringList& lines);
    void sendORVACmdStatus(const QString& text);
    void sendDisplayErrorMsg(const QString& line);
    void sendDisplaySysMsg(const QString& line);
    void sendLightningCompassData(const QByteArray& frame);
    void sendModuleStatus(const QString& module, const QString& status);
    void sendSpeciData(const QString& value, int kind);
    void sendEncryptionStatus(int status);
    void setEncryptionKeyRequired();
    void command_status_changed(int index, int status);
    void on_error_station_radio();
    void encryption_status_changed(int status);
    void send_metar_confirmed(const QString& text);
    void metar_detected(const QJsonObject& record);
    void speci_detected(const QJsonObject& record);
    void prepSchedReceived(const QString& name, int value);
    void sig_orva_enable_disable(const QString& text);
    void lightning_autocal_confirmed();
    void lightning_parameters_received(int first, int second, int third);
    // How a new key stands at the unit and the link (see KeyChangeState).
    void encryption_parse_confirmed(KeyChangeState state);
    // Closing the port dropped BRQ commands that had not reached the unit whole.
    void sendCommandsNotSent();

public slots:
    void closeSerialPort();
    void openSerialPort(const QString& name);
    void receiveData();
    void parseData_BRQ(const QByteArray& data);
    void parseData_ORVA(const QByteArray& data);
    void parseData_ORVA_Legacy(const QByteArray& data);
    void writeData(const QByteArray& data);
    void setCommandBuffer(const QByteArray& cmd);
    void setLoggingState(LoggingType mode);
    void setDeviceTypeState(DeviceTypes type);
    void sendLogMsgLocal(const QByteArray& msg);
    void showLiveData(bool on);
    void setStartupSequence(bool on);
    void clearTampering();
    void legacyorvadevicecheck(bool legacy);
    void waitSerialWrite();
    void setEncryptionKey(const QByteArray& key, const QByteArray& iv);
    void setDevModeState(bool on);
    void updateRunwayDirection(double degrees);
    void debugORVApacket();
    void setPrecipAccum24IntState(PrecipAccum24hInterval interval);
    void handleError(QSerialPort::SerialPortError error);
    void dataTimer();
    void reconnectTimer();
    void handleWeatherData(const QByteArray& data, char type, const QByteArray& raw);
    QByteArray translateConstants(int which);
    void sendLogC(const QByteArray& msg);
    bool verify_packet(const QByteArray& frame);
    bool validate_list(const QStringList& list, int n);

    // State is protected so that test probes derived from the worker can inspect it.
protected:
    QSerialPort* serialPort = nullptr;
    bool resourceErrorSeen = false;
    bool reconnectActive = false;
    QString portName;
    DeviceTypes deviceType = DeviceTypes::None;
    PrecipAccum24hInterval precipInterval = PrecipAccum24hInterval::Previous24Hours;
    LoggingType loggingMode = LoggingType::Default;
    WeatherDataDecoder* decoder = nullptr;
    bool legacyOrva = false;
    QByteArray lastRead;
    QByteArray receiveBuffer;
    QByteArray pendingCommands;
    QByteArray transmitQueue;
    QByteArray transmitLine; // what went out of the command line being written, up to its "\r"
    QTimer* frameTimer = nullptr;
    QJsonObject lastFullRecord;
    QString stationId;
    QString imageFolder = QStringLiteral("temp");
    QString imageTimestampText;
    QTimer* pacingTimer = nullptr;
    QTimer* portReconnectTimer = nullptr;
    QList<PositionSample> tamperReferences;
    QList<TimedValue> temperatureMaxHistory;
    QList<TimedValue> temperatureMinHistory;
    QList<TimedValue> dewPointMaxHistory;
    QList<TimedValue> dewPointMinHistory;
    QList<TimedValue> pressureMaxHistory;
    QList<TimedValue> pressureMinHistory;
    QList<TimedPair> windMax10MinHistory;
    QList<TimedPair> windMin10MinHistory;
    QList<TimedPair> windMax1HourHistory;
    QList<TimedPair> windMin1HourHistory;
    UnitTracker unitTracker; // whose samples the windows and the decoder's memories hold
    double runwayDirection = 0.0;
    bool liveData = true;
    bool startupSequence = false;
    qint32 imageChunkLength = 330;
    qint32 imageHeaderLength = 10;
    qint32 imageLastPacketKind = 11;
    bool tamperSampleFlag = false;
    const QJsonObject emptyRecord;
    QString tamperText;
    bool tamperActive = false;
    bool positionReset = false;
    QTimer* waitWriteTimer = nullptr;
    QByteArray heldCommand; // empty: none
    // A unit takes an IV that comes without its key as a new IV for the key it holds, and no
    // longer matches the station: a key change goes whole or not at all. Its commands are kept
    // apart from the one held command, and its IV waits for the unit's answer to the key. Which
    // key the unit uses is told by its frames, not by the exchange: a unit may take the key at its
    // command, with its answer or with its IV, a late answer may come on the next connection, and
    // a unit started again keeps a new key only with its IV.
    enum class KeyStep {
        None,     // no change: only the key in use is read
        Waiting,  // the window has yet to hand the key over
        Given,    // the key goes (again) when the port takes it
        OnLine,   // the key went out on this connection; the unit's answer decides
        KeyTaken, // the unit took the key on this connection: its IV follows, on this one only
        IvOnLine, // the IV went out on this connection; its answer decides
        Sent,     // the unit answered the IV: nothing more goes unless the line is lost first
        Ended,    // refused, timed out or given up: nothing more goes
    };
    // From the moment its key goes out until the change is complete on the unit's side (the unit
    // answered the IV and a frame under the new key followed), a new change begins or the
    // operator loads a key, frames that do not read under the key in use are read under the
    // change's other key, and one that reads whole under it puts that key in use.
    struct LinkKeyChange {
        QByteArray oldKey; // Base64 texts: the key in use when the change began, with its IV
        QByteArray oldIv;
        QByteArray newKey;
        QByteArray newIv;
        bool radio = false;
        KeyStep step = KeyStep::None;
        bool keyWentOut = false; // on some connection: the unit may hold either key
        bool ivHanded = false;   // the window handed the IV over
        bool ivWaiting = false;  // the IV waits here until it may go
        bool ivAnswered = false; // the unit took the IV
        bool settled = false;    // the window heard that the change settled (Closed)
        QByteArray toldInUse;    // the key the window was last told is in use; empty: none yet
        // The frame being read answers the key after the change ended: it shows no key.
        bool answerInFrame = false;
    } keyChange;
    QByteArray droppedIv; // the IV of a change that ended before it went: it never goes
    QByteArray encryptionKey;
    QByteArray encryptionIV;
    bool devMode = false;
    quint16 aesErrorCount = 0;
    QStringList packetBacklog{QString(), QString(), QString()};
    bool verifyBypass = false;

    // Entry points of the parsers of the unit's answers; the ORVA frame dispatch calls them.
    void parseCommandResponse(const QByteArray& frame);
    void parseAmqResponse(const QByteArray& frame);
    void parseStationRadioResponse(const QByteArray& frame);

    // Sub-parsers of the unit's answers: "@3" from the main controller, "@5" from a module.
    void parseDeclinationResponse(const QByteArray& frame);
    void parseFlashEraseResponse(const QByteArray& frame);
    void parseEncryptionKeyResponse(const QByteArray& frame);
    void parseEncryptionIvResponse(const QByteArray& frame);
    void parseEnableDisableQueued(const QByteArray& frame);
    void parseSendQueuedResponse(const QByteArray& frame);
    void parseBlowerAmqResponse(const QByteArray& frame);
    void parseModuleEnableResponse(const QByteArray& frame);
    void parseLightningParamResponse(const QByteArray& frame);
    void parseSendResponse(const QByteArray& frame);

    // Has the decoder read `text` and builds its record.
    QJsonObject buildRecordFrom(const QString& text);
    // Weather record building, run by handleWeatherData in record order.
    QJsonObject buildWeatherJson();
    // Starts the windows and the decoder's report memories afresh when the record being built
    // comes from another unit than the records before it.
    void followUnit(const QString& identifier);
    // A high-speed packet of a new connection ahead of its first full record: it names no unit,
    // and may be another unit's than the one before. Such packets are built on
    // `provisionalUnit`.
    bool isProvisional(char type) const;
    // The link closed: what its records left that a record of the next one must not take.
    void forgetConnection();
    // The rolling windows and a decoder with its report memories.
    struct UnitMemories {
        std::array<QList<TimedValue>, 6> values;
        std::array<QList<TimedPair>, 4> pairs;
        std::unique_ptr<WeatherDataDecoder> decoder;
    };
    void swapUnitMemories(UnitMemories& other);
    void swapWindows(UnitMemories& other);
    // The worker's windows in the order of UnitMemories: each quantity's running maximum, then
    // its minimum.
    std::array<QList<TimedValue>*, 6> valueWindows();
    std::array<QList<TimedPair>*, 4> pairWindows();
    // What the high-speed packets of a new connection, which name no unit, are built on while
    // they come ahead of its first full record: they may be another unit's.
    std::unique_ptr<UnitMemories> provisionalUnit;
    // A record named another unit, which counts only when the next record names it too. The
    // record was taken for the unit before; it is also built on fresh windows and a fresh
    // decoder, which the new unit starts from once its next record confirms it.
    void keepFirstRecordAside(const QString& text);
    std::unique_ptr<UnitMemories> candidateUnit;
    bool buildingAside = false; // nothing is told, and the tamper references stay as they are
    QByteArray joinPacketParts(const QByteArray& data, int slot);
    QPair<QString, QString> runTemperatureWindow(const QDateTime& time, const QString& text);
    QPair<QString, QString> runDewPointWindow(const QDateTime& time, const QString& text);
    // The eight wind keys, each with its text, in record order.
    using WindExtremes = std::array<QPair<QString, QString>, 8>;
    WindExtremes runWindWindows(const QDateTime& time, const QString& speed,
                                const QString& direction);
    QString crosswind(const QString& speed, const QString& direction, bool trace);
    QString runPressureWindow(const QDateTime& time, const QString& pressure);
    QString checkTampering(const PositionSample& sample, char kind);
    bool isPositionUnset(const PositionSample& sample) const;
    char packetKind = 0; // second character of the record text being built

private:
    // One "@3" answer being read, with the table of answer names (link/orvaresponses.cpp).
    class CommandAnswer;
    // One weather record being built (link/recordbuilder.cpp).
    class WeatherRecord;

    bool putOrvaCommand(const QByteArray& cmd, const QByteArray& named = QByteArray());
    void holdOrvaCommand(const QByteArray& cmd);
    // The key change (link/keychange.cpp).
    bool takeKeyChangeCommand(const QByteArray& cmd);
    void sendKeyChange();
    bool keyChangeIvMayGo() const;
    bool writeKeyChangeKey();
    bool writeKeyChangeIv();
    bool writeKeyChangeCommand(const QByteArray& cmd, bool eitherKey);
    bool writeUnderKey(const QByteArray& cmd, const QByteArray& key, const QByteArray& iv);
    void keyAnswered(bool taken);
    void keyAnsweredAfterEnd();
    void ivAnswered(bool taken);
    void keyChangeLostWithPort();
    void dropUnsentKeyCommands(const QByteArray& why);
    void endKeyChange(const QByteArray& why, std::optional<KeyChangeState> told);
    void settleKeyChange();
    void forgetKeyChange();
    bool readsOtherKey() const { return keyChange.keyWentOut; }
    QByteArray otherKey() const;
    void useKeyOfChange(const QByteArray& key, KeyChangeState told);
    void keyChangeFrameRead(const QByteArray& key);
    void keyChangeFrameDone(const QByteArray& key);
    QByteArray keyChangeKeyCommand() const { return "key" + keyChange.newKey + "\r"; }
    QByteArray keyChangeIvCommand() const { return "iv" + keyChange.newIv + "\r"; }
    void waitForPort();
    void reportHeldCommandDropped(const QByteArray& cmd, const QByteArray& why);
    QByteArray shownCommand(const QByteArray& cmd) const;
    bool isKeyCommand(const QByteArray& cmd) const;
    void forgetHiddenCommand(const QByteArray& cmd);

    // ORVA framing passes.
    enum class FrameSearch { Wait, Found, Bad };
    bool orvaPass(const QByteArray& data, bool arrival);
    FrameSearch findOrvaFrame(int* start, int* end);
    // False when the frame is consumed without a dispatch (cannot be unwrapped). `readUnder`: the
    // key it read whole under, empty in clear; none when that is not known.
    bool unwrapOrvaFrame(QByteArray& frame, std::optional<QByteArray>* readUnder);
    bool decryptOrvaPayload(const QByteArray& payload, QByteArray& plain);
    bool decodeInnerFrame(const QByteArray& code, QByteArray* frame);
    QByteArray keyReadingWhole(char type, const QByteArray& payload, QByteArray* inner);
    void reportKeyMissing();
    void reportAesError();
    void dispatchOrvaFrame(QByteArray frame);
    int frameTimeoutMs = 1000;
    void copyToDataLog(const QByteArray& bytes);

    // The BRQ reader: one message at a time from the front of the receive buffer, each judged
    // once it can no longer grow (link/brqprotocol.cpp).
    struct BrqMessage {
        enum Kind { None, Reply, Banner, StartupData, Block, Image, Noise, BadRecord } kind = None;
        int length = 0;
        int packetAt = -1; // Image: where the packet begins behind the unit's identity line
    };
    // Where the search for the end of the front message goes on; valid while that message waits.
    struct BrqScan {
        int lineFrom = 0;
        int packetAt = -1;
        int terminatorFrom = 0;
        int huntFrom = 0;      // bytes that begin no message: where the search for a start goes on
        int promptAt = -1;     // the reply's prompt, once seen
        bool released = false; // that prompt let the waiting commands go
        bool dataLine = false; // a block: its last "@" line after the first begins "@0"
        int tildeAt = -1;      // a block: its first "~"
        int tildeFrom = 0;     // where the search for it goes on
        int damagedFrom = 0;   // a damaged image packet: where the search for its end goes on
        int aheadAt = -1;      // ...: the message start behind it that `brqAhead` follows
        bool strayStart = false; // a block: an "@I" or "@1" inside a line that began nothing
    };
    void readBrqMessages(bool silent);
    BrqMessage::Kind brqFrontKind() const;
    BrqMessage nextBrqMessage(bool silent);
    int brqStartAt(int at, BrqMessage::Kind* kind) const;
    int findBrqStart();
    BrqMessage brqReplyEnding(int promptAt, bool silent);
    bool brqTildeBefore(BrqScan& scan, int from, int at);
    BrqMessage brqLineMessage(BrqMessage::Kind kind, bool silent, int at, BrqScan& scan);
    std::optional<BrqMessage> brqBehindLineEnd(BrqMessage::Kind kind, bool silent, int at,
                                               BrqScan& scan, int lineEnd);
    std::optional<BrqMessage> brqEmptyLine(BrqMessage::Kind kind, bool silent, int at,
                                           BrqScan& scan, int lineEnd);
    static bool endsBlock(const BrqScan& scan, char second);
    std::optional<BrqMessage> brqStartInLine(BrqScan& scan, int from, int to, bool silent,
                                             bool ahead);
    int brqWholeImageLength(int at, bool silent);
    int brqCountedImageLength(int at, bool silent) const;
    int brqMessageEndsPacket(int packetAt, int length, bool silent);
    BrqMessage brqImageMessage(int packetAt, bool silent);
    int brqRecordInPacket(int at) const;
    BrqMessage brqDamagedPacket(int packetAt, bool silent);
    int brqStandsWhole(BrqMessage::Kind kind, int at, bool silent);
    void takeBrqMessage(const BrqMessage& message);
    void readWeatherPacket(const QByteArray& packet, bool strayStart);
    void reportBanner(const QByteArray& line);
    void reportStartupData(const QByteArray& block);
    void reportBrqAcknowledgements(const QByteArray& reply, bool shown);
    void sendPendingBrqCommands(const QByteArray& reply);
    void reportUnsentBrqCommands();
    void dropBrqCommandsGoingOut();
    void nameUnsentBrqCommands(const QByteArray& unsent);
    void reportDroppedBrqData(const QByteArray& what, int bytes);
    void dropReceiveBuffer(const QByteArray& when = "at a pause in the data");
    void overflowReceiveBuffer();
    void handleImagePacket(const QByteArray& packet, const QByteArray& message);
    void openImageTransfer(int camera, int sequence);
    void storeImageChunk(const QByteArray& packet, int camera, int sequence, bool last);
    void finishImage(int camera, double angle, int fileLength, bool written, int sequence);
    void damagedImagePacket(int camera, int sequence, bool last, int length);
    QByteArray missingPackets(int sequence) const;
    void abandonImage(int camera, const QByteArray& reason);
    void imageTimedOut();
    QString imageFilePath(int camera, double angle);
    void losePort(const QString& reason);
    void judgeBrqConnectionEnd();
    QByteArray portNameBytes() const { return portName.toUtf8(); }

    // The picture being received: its camera (-1: none) and the packets stored so far. A packet
    // takes 0.36 s at 9600 baud; a picture whose packets stop for this long is abandoned.
    int imageCamera = -1;
    std::bitset<256> imageSequences;
    int imageDamaged = 0; // packets of a length the unit never sends; not stored
    QTimer* imageWatchdog = nullptr;
    int imageTimeoutMs = 5000;

    int reconnectIntervalMs = 30000;
    int waitWriteIntervalMs = 10000;
    bool losingPort = false; // closing the port can raise errors of its own
    BrqScan brqScan;
    BrqScan brqAhead; // the message behind a damaged image packet, looked at but not read yet
    QList<QPair<QByteArray, QByteArray>> hiddenCommands; // wire text, text shown instead
    PendingCalls pending;
};
