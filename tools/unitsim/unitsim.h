#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class QTimer;

// A scripted sensor unit on the master side of a pseudo-terminal: what the station opens is the
// slave device. It speaks the unit's side of the serial link of one family and sends weather
// records on a fixed period for as long as the station holds the port open.
namespace unitsim
{

class PtyPair;

enum class Family { Orva, LegacyOrva, Brq };

// How an ORVA unit wraps its frames.
enum class FrameWrap { Plain, Encrypted, Compressed, CompressedEncrypted };

// When an ORVA unit takes a new key: with its IV, once the IV's answer has gone out under the key
// before; when the "key" command arrives, answering under the new key; or once its answer to the
// key has gone out under the key before.
enum class KeyTaking { WithIv, AtCommand, WithAnswer };

struct UnitOptions {
    Family family = Family::Orva;
    FrameWrap frames = FrameWrap::Plain;
    int periodMs = 5000; // between weather records
    // The unit's identifier in its records; an ORVA unit also starts with it as its ICAO.
    QString stationId = QStringLiteral("KVDS");
    QByteArray key; // Base64 text of the 32-byte link key
    QByteArray iv;  // Base64 text of the 8-byte IV
    // A module reports a command it carries out ("@5") this long after the "@3" answer; a log
    // erasure takes twice as long.
    int completionDelayMs = 1500;
    // False: "key" and "iv" commands are neither taken nor answered, as if lost on the way.
    bool answerKeyCommands = true;
    KeyTaking keyTaking = KeyTaking::WithIv;
    // Every "key" command is refused ("key=INVALID"); the unit keeps its key.
    bool refuseKeys = false;
    // The answer to a "key" command goes out this long after the command, as over a slow radio
    // link; the unit takes the command at once.
    int keyAnswerDelayMs = 0;
    // The same for the answer to an "iv" command; a unit that takes its key with the IV takes it
    // when this answer has gone out.
    int ivAnswerDelayMs = 0;
    // A late answer to a "key" or "iv" command that falls due while the station's line is down
    // goes out on the next connection, instead of being lost with the line.
    bool keyAnswerOutlivesLine = false;
    // Above 0: the unit sends no faster than a serial line at this many baud, ten bits a byte
    // (8N1), as a real line delivers it. 0: as fast as the pseudo-terminal takes the bytes.
    int paceBaud = 0;
    // Records as old firmware sends them: no built-in-test statuses, a seven-field main
    // controller line.
    bool oldBitLine = false;
};

// Empty when the options describe a unit that can run, otherwise the reason.
QString checkOptions(const UnitOptions& options);

// The values of the unit's record number `index` (from 0), as written in the record.
struct WeatherSample {
    QString temperature;   // degrees Celsius
    QString humidity;      // per cent
    QString pressure;      // station pressure, hPa
    QString altimeter;     // hundredths of an inch of mercury
    QString windSpeed;     // knots
    QString windSpeedInst; // knots
    QString windDirection; // degrees
    QString gustSpeed;     // knots
    QString gustDirection; // degrees
    QString voltage;
};
WeatherSample weatherSample(int index);

// A BRQ weather packet: the unit's lines for `sample` taken at `time`, "~" and an empty line.
// `mode` is the reporting-mode code of the "m" commands.
QByteArray brqWeatherPacket(const QByteArray& station, const WeatherSample& sample,
                            const QDateTime& time, int mode = 4, bool ceilometerOn = true,
                            bool gpsOn = true, const QString& elevation = QStringLiteral("100"));

// One BRQ image packet: "@1", the capture time (six BCD bytes: year in the century, month, day,
// hour, minute, second), camera and kind (11 for the picture's last packet), the sequence number,
// the 330-byte chunk and "\r\n\r\n".
QByteArray brqImagePacket(const QByteArray& time, int camera, bool last, int sequence,
                          const QByteArray& chunk);

class UnitSim : public QObject
{
    Q_OBJECT
public:
    explicit UnitSim(const UnitOptions& options, QObject* parent = nullptr);

    // Creates the pseudo-terminal. False, with errorString(), when the system refuses one.
    bool open();
    QString errorString() const { return error; }
    // The device the station opens, for example /dev/pts/3.
    QString deviceName() const;
    // A name for the same device that stays when the unit is unplugged and plugged in again.
    QString portPath() const;
    // The unit is unplugged: the station's port sees read errors until it closes.
    void unplug();
    // The unit is back behind portPath(), with the settings and keys it had.
    bool plugIn();
    // The station holds the port open.
    bool isLinked() const { return linked; }
    // BRQ: how often the station's wake-up blanks were answered with the prompt.
    int wakeUps() const { return wakeCount; }

signals:
    void linkChanged(bool linked);
    void commandReceived(const QByteArray& command, bool encrypted);
    void recordSent(int index);
    void pictureQueued(int camera, int packets);
    // One line about what the unit does, for a person watching it.
    void activity(const QString& line);

private:
    void poll();
    void setLinked(bool on);
    void received(const QByteArray& bytes);
    // The first line of `buffer`, taken off it; false while no line is complete.
    static bool takeLine(QByteArray& buffer, QByteArray* line);
    static QList<QByteArray> takeLines(QByteArray& buffer);
    void sendRecord();

    // Replies go out at once; packets wait until the unit has been silent for the family's
    // quiet time, because the BRQ and legacy parsers only recognise a packet at the start of
    // their receive buffer.
    void reply(const QByteArray& bytes);
    void queuePacket(const QByteArray& bytes, bool record = false);
    void pump();
    void writeOut(const QByteArray& bytes);
    void flushOut();
    // Pacing: how many of the pending bytes the line can take now.
    qint64 lineDue() const;
    qint64 lineAllows() const;
    int quietMs() const;
    // Runs `step` after `ms` unless the link has been lost in between.
    void later(int ms, const std::function<void()>& step);

    // ORVA
    void orvaDefaults();
    void orvaReceived(const QByteArray& bytes);
    void orvaCommand(const QByteArray& line, bool encrypted);
    bool orvaSettingCommand(const QByteArray& word, const QByteArray& arg);
    bool orvaUnitSetting(const QByteArray& word, const QByteArray& arg, QByteArray* value);
    bool orvaSpeciSetting(const QByteArray& word, const QByteArray& arg, QByteArray* value);
    bool orvaModuleCommand(const QByteArray& line, const QByteArray& word, const QByteArray& arg,
                           bool encrypted);
    void orvaRadioCommand(const QByteArray& line, const QByteArray& word, const QByteArray& arg,
                          bool encrypted);
    bool orvaLightningCommand(const QByteArray& arg);
    void orvaKeyCommand(const QByteArray& line);
    // Sends a key or IV answer `delayMs` late, then does `then`.
    void sendKeyAnswer(const QByteArray& reply, int delayMs, const std::function<void()>& then);
    void takeNewKey();
    void reportKeyInUse();
    void sendOrva(const QByteArray& frame, bool record = false);
    void answer(char type, const QList<QByteArray>& lines);
    QByteArray orvaRecord(char* type);
    QByteArray wrapOrva(const QByteArray& inner);

    // Legacy ORVA
    void legacyReceived(const QByteArray& bytes);
    void legacyCommand(const QByteArray& line);
    QByteArray legacyRecord();

    // BRQ
    void brqLinked();
    void brqReceived(const QByteArray& bytes);
    void brqCommand(const QByteArray& command);
    void brqAck(const QByteArray& words);
    void queuePicture(int camera);
    QByteArray brqRecord();
    void brqSchedule();

    UnitOptions options;
    QString error;
    PtyPair* pty = nullptr;
    bool linked = false;
    int linkGeneration = 0;
    QTimer* recordTimer = nullptr;
    QByteArray inBuffer;
    QByteArray outPending;
    QList<QByteArray> replies;
    struct Packet {
        QByteArray bytes;
        bool record;
    };
    QList<Packet> packets;
    bool recordWaiting = false; // a record sits in `packets`
    QElapsedTimer sinceSend;    // since the last byte went to the line
    QElapsedTimer paceClock;    // since the line began its current run of bytes
    qint64 pacedBytes = 0;      // bytes sent in that run
    int recordIndex = 0;

    // The unit's settings, as its commands leave them.
    QString icao;
    int frequency = 60;
    int metarOffset = 0;
    qint64 lastMetarHour = -1;             // hours since the epoch
    QMap<QByteArray, QByteArray> switches; // "rf", "heater", "led", "log": "ON" or "OFF"
    bool gpsOn = true;
    QString elevation = QStringLiteral("100");
    QString declination = QStringLiteral("0.000");
    int radioRate = 0; // 0: 5 s, 1: 10 s, 2: 60 s
    QString transmitMhz = QStringLiteral("150.0");
    QString receiveMhz = QStringLiteral("150.0");
    QMap<char, bool> modules;
    bool encryptFrames = false;
    QByteArray key;                                  // raw 32 bytes
    QByteArray iv;                                   // raw 8 bytes
    QByteArray newKey;                               // raw, waits for its IV
    QList<std::function<void()>> answersForNextLink; // late answers that outlived a line
    quint32 messageCounter = 0;
    QString speciMode = QStringLiteral("AFMAN");
    QList<QByteArray> speciVisibility;
    QList<QByteArray> speciCeiling;
    QList<int> lightningParameters;

    int brqMode = 4; // reporting mode code of the "m" commands
    bool ceilometerOn = true;
    int wakeCount = 0;
    int blankRun = 0;
    QSet<int> imageHours;
    qint64 lastImageHour = -1; // hours since the epoch
};

} // namespace unitsim
