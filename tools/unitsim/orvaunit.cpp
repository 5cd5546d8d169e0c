#include "tools/unitsim/unitsim.h"

#include "decoder/clock.h"
#include "link/linkcrypto.h"
#include "tools/unitsim/unitframes.h"

#include <QRegularExpression>
#include <QTimer>

namespace unitsim
{

namespace
{

// SPECI thresholds of criterion 0 onwards, whole numbers in the units of the station's tables
// (visibility in metres: 3, 2, 1 and 1/2 mile; ceiling in feet); -1 is an unset criterion.
const QList<QByteArray> kSpeciVisibility = {"4800", "3200", "1600", "800", "-1", "-1"};
const QList<QByteArray> kSpeciCeiling = {"3000", "1500", "1000", "500", "-1", "-1"};

bool isOnOff(const QByteArray& value)
{
    return value == "ON" || value == "OFF";
}

QByteArray joinLines(const QList<QByteArray>& lines)
{
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + "\r\n";
    return text;
}

QByteArray joinBlank(const QList<QByteArray>& values)
{
    QByteArray text;
    for (const QByteArray& v : values)
        text += (text.isEmpty() ? "" : " ") + v;
    return text;
}

// A real unit's full record also carries a status line for each module of its stack, which the
// station keeps in the data log but does not read: enabled, firmware, serial number, supply
// voltage, board temperature, uptime in seconds, error count and ten raw channel readings.
// They make the record as long as a real one: about 1 kB, 1.3 kB once encrypted.
QList<QByteArray> moduleStatusLines(const QMap<char, bool>& modules, const QByteArray& voltage,
                                    int index)
{
    QList<QByteArray> lines;
    int module = 0;
    for (auto it = modules.cbegin(); it != modules.cend(); ++it) {
        const char letter = it.key();
        QByteArray line = QByteArray("M") + letter + (it.value() ? ":1" : ":0") +
                          ":2.14:" + letter + "00" + QByteArray::number(41207 + module) + ":" +
                          voltage + ":" + QByteArray::number(21.5 + 0.5 * module, 'f', 1) + ":" +
                          QByteArray::number(86400 + 60 * index) + ":0";
        for (int channel = 0; channel < 10; ++channel)
            line += ":" + QByteArray::number(1000 + 37 * channel + 11 * module + index % 50);
        lines << line;
        ++module;
    }
    return lines;
}

// The record lines of the modules that report a built-in-test result. Current firmware ends each
// with the module's two-digit status ("00": no fault), which makes the main controller's line
// eight fields long; the station skips a shorter controller line as old firmware's.
const QList<QByteArray> kBitModules = {"B", "CL", "LT", "IR", "RA", "TA", "PW", "WI"};
const QByteArray kBitStatusOk = "00";

void addBitStatus(QList<QByteArray>& lines)
{
    for (QByteArray& line : lines) {
        if (kBitModules.contains(line.left(line.indexOf(':'))))
            line += ":" + kBitStatusOk;
    }
}

} // namespace

// Blank lines carry nothing.
QList<QByteArray> UnitSim::takeLines(QByteArray& buffer)
{
    QList<QByteArray> lines;
    QByteArray line;
    while (takeLine(buffer, &line)) {
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

void UnitSim::orvaDefaults()
{
    frequency = 60;
    metarOffset = 0;
    gpsOn = true;
    elevation = QStringLiteral("100");
    declination = QStringLiteral("0.000");
    radioRate = 0;
    switches = {{"rf", "ON"}, {"heater", "ON"}, {"led", "ON"}, {"log", "ON"}};
    speciMode = QStringLiteral("AFMAN");
    speciVisibility = kSpeciVisibility;
    speciCeiling = kSpeciCeiling;
    lightningParameters = {4, 2, 7, 0, 0, 0, 0, 0, 0};
}

void UnitSim::orvaReceived(const QByteArray& bytes)
{
    inBuffer += bytes;
    for (const QByteArray& line : takeLines(inBuffer)) {
        // Through the station radio a command arrives encrypted as one line of text; its
        // plaintext carries the command's own line end.
        QByteArray plain;
        if (!key.isEmpty() && decryptText(key, line, &plain) &&
            (plain.endsWith('\r') || plain.endsWith('\n'))) {
            for (const QByteArray& command : takeLines(plain))
                orvaCommand(command, true);
            continue;
        }
        orvaCommand(line, false);
    }
}

void UnitSim::orvaCommand(const QByteArray& line, bool encrypted)
{
    emit commandReceived(line, encrypted);
    // The key and IV commands carry the link key and IV, which do not belong in a log.
    const bool secret = line.startsWith("key") || line.startsWith("iv");
    emit activity(QStringLiteral("%1command: %2")
                      .arg(encrypted ? QStringLiteral("encrypted ") : QString(),
                           secret ? QString::fromLatin1(line.left(line.startsWith("iv") ? 2 : 3)) +
                                        QStringLiteral(" ...")
                                  : QString::fromUtf8(line)));

    if (secret) {
        if (options.answerKeyCommands)
            orvaKeyCommand(line);
        return;
    }
    const int blank = line.indexOf(' ');
    const QByteArray word = blank < 0 ? line : line.left(blank);
    const QByteArray arg = blank < 0 ? QByteArray() : line.mid(blank + 1).trimmed();
    if (orvaSettingCommand(word, arg) || orvaModuleCommand(line, word, arg, encrypted))
        return;
    emit activity(QStringLiteral("unknown command, no answer"));
}

bool UnitSim::orvaSettingCommand(const QByteArray& word, const QByteArray& arg)
{
    if (word == "encrypt") {
        const QByteArray value =
            arg == "OFF" || (arg == "ON" && !key.isEmpty()) ? arg : QByteArray("INVALID");
        // The answer still goes out the way the station expects it before the change.
        answer('3', {"encrypt=" + value});
        if (value == arg)
            encryptFrames = arg == "ON";
        return true;
    }
    if (word == "speci_write_visibility" || word == "speci_write_ceiling") {
        QList<QByteArray>& list = word == "speci_write_visibility" ? speciVisibility : speciCeiling;
        const QList<QByteArray> parts = arg.split(' ');
        bool ok = false;
        const int row = parts.value(0).toInt(&ok);
        if (ok && parts.size() == 2 && row >= 0 && row < list.size())
            list[row] = parts.at(1);
        return true; // the unit does not answer a criterion it stores
    }
    QByteArray value = "INVALID";
    if (!orvaUnitSetting(word, arg, &value) && !orvaSpeciSetting(word, arg, &value))
        return false;
    answer('3', {word + "=" + value});
    return true;
}

// The settings the unit answers with "word=value"; `*value` stays "INVALID" for an argument it
// refuses.
bool UnitSim::orvaUnitSetting(const QByteArray& word, const QByteArray& arg, QByteArray* value)
{
    bool ok = false;
    if (word == "frequency" || word == "metar_offset") {
        int& setting = word == "frequency" ? frequency : metarOffset;
        const int n = arg.toInt(&ok);
        if (arg.isEmpty()) {
            *value = QByteArray::number(setting);
        } else if (ok && (word == "metar_offset" || n > 0)) {
            setting = n;
            *value = QByteArray::number(n);
        }
    } else if (word == "gps") {
        if (isOnOff(arg) || arg == "ELEVATION_ONLY") {
            gpsOn = arg == "ON";
            *value = arg;
        }
    } else if (word == "elevation") {
        arg.toDouble(&ok);
        if (arg == "OFF" || ok) {
            elevation = arg == "OFF" ? QString() : QString::fromLatin1(arg);
            *value = arg;
        }
    } else if (word == "decl") {
        arg.toFloat(&ok);
        if (ok) {
            declination = QString::fromLatin1(arg);
            *value = arg;
        }
    } else if (switches.contains(word)) {
        if (isOnOff(arg)) {
            switches[word] = arg;
            *value = arg;
        }
    } else if (word == "datetime") {
        if (!arg.isEmpty())
            *value = arg;
    } else if (word == "icao") {
        if (QRegularExpression(QStringLiteral("^[A-Za-z0-9]{3,8}$"))
                .match(QString::fromLatin1(arg))
                .hasMatch()) {
            icao = QString::fromLatin1(arg).toUpper();
            *value = icao.toLatin1();
        }
    } else if (word == "radio_freq") {
        const QList<QByteArray> rates = {"5", "10", "60"};
        if (rates.contains(arg)) {
            radioRate = rates.indexOf(arg);
            *value = arg;
        }
    } else if (word == "default") {
        orvaDefaults();
        *value = "OK";
    } else {
        return false;
    }
    return true;
}

bool UnitSim::orvaSpeciSetting(const QByteArray& word, const QByteArray& arg, QByteArray* value)
{
    if (word == "speci_default") {
        speciVisibility = kSpeciVisibility;
        speciCeiling = kSpeciCeiling;
        *value = "OK";
    } else if (word == "speci_clear") {
        for (QByteArray& v : speciVisibility)
            v = "-1";
        for (QByteArray& v : speciCeiling)
            v = "-1";
        *value = "OK";
    } else if (word == "speci_mode") {
        if (arg.isEmpty()) {
            *value = speciMode.toLatin1();
        } else if (arg == "AFMAN" || arg == "CUSTOM") {
            speciMode = QString::fromLatin1(arg);
            *value = arg;
        }
    } else if (word == "speci_read_visibility") {
        *value = joinBlank(speciVisibility);
    } else if (word == "speci_read_ceiling") {
        *value = joinBlank(speciCeiling);
    } else {
        return false;
    }
    return true;
}

bool UnitSim::orvaModuleCommand(const QByteArray& line, const QByteArray& word,
                                const QByteArray& arg, bool encrypted)
{
    const int delay = options.completionDelayMs;
    if (word == "txf" || word == "rxf" || word == "channel") {
        orvaRadioCommand(line, word, arg, encrypted);
        return true;
    }
    if (word == "dsm")
        return orvaLightningCommand(arg);
    if (word == "blower") {
        if (arg != "AUTO" && !isOnOff(arg)) {
            answer('3', {"blower=INVALID"});
        } else if (!modules.value('C')) {
            answer('3', {"blower=ERR"});
        } else {
            answer('3', {"blower=QUEUED"});
            later(delay, [this, line, arg] { answer('5', {"C", line, "blower=" + arg}); });
        }
        return true;
    }
    if (word == "enable" || word == "disable") {
        const char letter = arg.size() == 1 ? arg.at(0) : '\0';
        if (!modules.contains(letter)) {
            answer('3', {word + "=" + arg, word + "=INVALID"});
            return true;
        }
        answer('3', {word + "=" + arg, word + "=QUEUED"});
        const bool on = word == "enable";
        later(delay, [this, line, word, letter, on] {
            modules[letter] = on;
            answer('5', {QByteArray(1, letter), line, word + (on ? "=ON" : "=OFF")});
        });
        return true;
    }
    if (word == "send") {
        if (arg.isEmpty()) {
            answer('3', {line, "send=INVALID"});
            return true;
        }
        answer('3', {line, "send=QUEUED"});
        later(delay, [this, line] { answer('5', {"I", line, "send=OK"}); });
        return true;
    }
    if (word == "flash_erase") {
        answer('3', {"flash_erase=START"});
        later(2 * delay, [this] { answer('3', {"flash_erase=OK"}); });
        return true;
    }
    if (word == "stack") {
        QList<QByteArray> lines = {"stack=FOUND", ">:MAIN,en=1"};
        for (auto it = modules.cbegin(); it != modules.cend(); ++it)
            lines << QByteArray(1, it.key()) + ":MOD," + (it.value() ? "en=1" : "en=0");
        answer('3', lines);
        return true;
    }
    return false;
}

void UnitSim::orvaRadioCommand(const QByteArray& line, const QByteArray& word,
                               const QByteArray& arg, bool encrypted)
{
    const QList<QByteArray> parts = arg.split(' ');
    QByteArray value = "INVALID";
    bool ok = false;
    if (word == "channel") {
        arg.toInt(&ok);
        if (ok)
            value = "OK";
    } else if (parts.size() == 2) {
        bool hzOk = false;
        parts.at(0).toInt(&ok);
        const qlonglong hz = parts.at(1).toLongLong(&hzOk);
        if (ok && hzOk && hz > 0) {
            (word == "txf" ? transmitMhz : receiveMhz) = QString::number(hz / 1e6, 'f', 3);
            value = "OK";
        }
    }
    // Through the station radio the radio itself answers; on a cable the unit's radio
    // module does, once it has taken the setting.
    if (encrypted)
        answer('R', {word + "=" + value});
    else
        later(options.completionDelayMs, [this, line, word, value] {
            answer('5', {"R", line, word + "=" + value});
        });
}

// "dsm G <task>": the lightning module's calibration and parameters.
bool UnitSim::orvaLightningCommand(const QByteArray& arg)
{
    const QList<QByteArray> parts = arg.split(' ');
    if (parts.size() != 2 || parts.at(0) != "G")
        return false;
    const QByteArray task = parts.at(1);
    QByteArray result;
    bool ok = false;
    if (task == "auto_cal") {
        result = "auto_cal=OK";
    } else if (task == "param_read" || task == "param_clear" ||
               (task.startsWith("param_set") && task.contains(','))) {
        if (task == "param_clear")
            for (int& v : lightningParameters)
                v = 0;
        const int which = task.mid(9, 1).toInt(&ok);
        if (task.startsWith("param_set") && ok && which >= 0 && which < 3)
            lightningParameters[which] = task.mid(task.indexOf(',') + 1).toInt();
        QList<QByteArray> values;
        for (int v : lightningParameters)
            values << QByteArray::number(v);
        result = task.left(task.indexOf(',') < 0 ? task.size() : task.indexOf(',')) + "=" +
                 values.join(',');
    } else {
        return false;
    }
    later(options.completionDelayMs, [this, task, result] { answer('5', {"G", task, result}); });
    return true;
}

void UnitSim::orvaKeyCommand(const QByteArray& line)
{
    const bool isKey = line.startsWith("key");
    const QByteArray text = line.mid(isKey ? 3 : 2).trimmed();
    const auto decoded =
        QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    const int wanted = isKey ? kAesKeyLength : kAesIvLength;
    const bool valid =
        decoded && decoded.decoded.size() == wanted && !(isKey && options.refuseKeys);
    const QByteArray reply = QByteArray(isKey ? "key=" : "iv=") + (valid ? "OK" : "INVALID");
    std::function<void()> then;
    if (valid && isKey && options.keyTaking == KeyTaking::AtCommand) {
        key = decoded.decoded;
        newKey.clear();
        reportKeyInUse();
    } else if (valid && isKey) {
        // Taken once the answer to the key, or the IV's, has gone out under the key before.
        newKey = decoded.decoded;
        if (options.keyTaking == KeyTaking::WithAnswer)
            then = [this] { takeNewKey(); };
    } else if (valid) {
        then = [this, taken = decoded.decoded] {
            iv = taken;
            takeNewKey();
        };
    }
    sendKeyAnswer(reply, isKey ? options.keyAnswerDelayMs : options.ivAnswerDelayMs, then);
}

void UnitSim::sendKeyAnswer(const QByteArray& reply, int delayMs, const std::function<void()>& then)
{
    const auto send = [this, reply, then] {
        answer('3', {reply});
        if (then)
            then();
    };
    if (delayMs <= 0) {
        send();
    } else if (options.keyAnswerOutlivesLine) {
        QTimer::singleShot(delayMs, this, [this, send] {
            if (linked)
                send();
            else
                answersForNextLink << send;
        });
    } else {
        later(delayMs, send);
    }
}

void UnitSim::takeNewKey()
{
    if (!newKey.isEmpty())
        key = newKey;
    newKey.clear();
    reportKeyInUse();
}

// A unit keeps the key it took when it is switched off and on: a simulator started again without
// these options plays one reset to its first key.
void UnitSim::reportKeyInUse()
{
    emit activity(
        QStringLiteral("new link key and IV in use; to keep them when started again: "
                       "--key %1 --iv %2")
            .arg(QString::fromLatin1(key.toBase64()), QString::fromLatin1(iv.toBase64())));
}

void UnitSim::answer(char type, const QList<QByteArray>& lines)
{
    sendOrva(orvaAnswer(type, lines));
}

void UnitSim::sendOrva(const QByteArray& frame, bool record)
{
    queuePacket(wrapOrva(frame), record);
}

QByteArray UnitSim::wrapOrva(const QByteArray& inner)
{
    const bool compress =
        options.frames == FrameWrap::Compressed || options.frames == FrameWrap::CompressedEncrypted;
    bool packable = false;
    // Answers hold "=" and lower-case words, which the code cannot carry: they go uncompressed.
    const QByteArray packed = compress ? packetEncode(inner, &packable) : QByteArray();
    if (packable) {
        if (!encryptFrames)
            return orvaFrame('E', packed);
        const QByteArray text = encryptText(key, iv, messageCounter++, packed);
        if (!text.isEmpty())
            return orvaFrame('C', text);
    }
    if (encryptFrames) {
        const QByteArray text = encryptText(key, iv, messageCounter++, inner);
        if (!text.isEmpty())
            return orvaFrame('F', text);
    }
    return inner;
}

QByteArray UnitSim::orvaRecord(char* type)
{
    const QDateTime now = Clock::nowUtc();
    const WeatherSample w = weatherSample(recordIndex);

    // The hourly observation is prepared at minute 55, moved by the unit's METAR offset.
    const int metarMinute = ((55 + metarOffset) % 60 + 60) % 60;
    const qint64 hour = now.toSecsSinceEpoch() / 3600;
    *type = '0';
    if (now.time().minute() == metarMinute && hour != lastMetarHour) {
        *type = '1';
        lastMetarHour = hour;
    }

    const QByteArray gps = gpsOn ? "" : "?";
    QList<QByteArray> lines = {
        "N:METAR:0:0:0:" + icao.toLatin1() + ":1:1",
        "B:" + w.voltage.toLatin1() + ":" + QByteArray::number(frequency) +
            ":0:E1:0:" + QByteArray::number(radioRate),
        "T:" + now.toString(QStringLiteral("yy/MM/dd,hh:mm:ss")).toLatin1(),
        "IR:0:0:0:" + options.stationId.toLatin1(),
        "WI:" + w.windSpeedInst.toLatin1() + ":" + w.windDirection.toLatin1() + ":" +
            w.windSpeed.toLatin1() + ":" + w.windDirection.toLatin1(),
        "GU:0:0:" + w.gustSpeed.toLatin1() + ":" + w.gustDirection.toLatin1() + ":0:0:0:0",
        "TA:" + w.temperature.toLatin1(),
        "RH:" + w.humidity.toLatin1(),
        "BA:" + w.pressure.toLatin1() + ":" + w.altimeter.toLatin1() + ":0.0",
    };
    if (!elevation.isEmpty())
        lines << "EL:" + elevation.toLatin1();
    lines << "CL:1:90:250:0:0:0:0:2:6:0:0:0:0:760"
          << "PW:0.0:XX:0:16.0:16.0:XX"
          << "LT:0:0:0:0:0:0"
          << "LA:" + (gpsOn ? QByteArray("45.5") : gps)
          << "LO:" + (gpsOn ? QByteArray("-73.6") : gps) << "OR:30:1"
          << "RA:" + transmitMhz.toLatin1() + ":" + receiveMhz.toLatin1() + ":1"
          << "PA:0:0:0:0:0:0.00:0.00:0.00:0.00";
    if (!options.oldBitLine)
        addBitStatus(lines);
    lines << moduleStatusLines(modules, w.voltage.toLatin1(), recordIndex);
    return orvaFrame(*type, "\r\n" + joinLines(lines));
}

} // namespace unitsim
