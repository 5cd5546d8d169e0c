#include "tools/unitsim/unitsim.h"

#include "decoder/clock.h"
#include "tools/unitsim/camerapicture.h"

#include <QRegularExpression>

namespace unitsim
{

namespace
{

const QByteArray kPrompt("\r\n>");
// The unit's prompt followed by three 0x02 bytes: it could not make sense of the command.
const QByteArray kErrorPrompt("\r\n>\x02\x02\x02", 6);
// The station wakes the unit with four blanks per 100 ms tick; a single blank only separates
// two commands. Every four blanks at a line start draw a prompt, as on a real unit.
constexpr int kWakeBlanks = 4;
constexpr int kChunkLength = 330;
constexpr int kLastPacketKind = 11;

// Acknowledgement of the reporting-mode commands m0 to m6.
const char* const kModeAcks[7] = {"M 3H", "M 1H", "M 20M", "M 5M", "M 1M", "M 20S", "M 10S"};

char bcd(int value)
{
    return char((value / 10) << 4 | value % 10);
}

} // namespace

void UnitSim::brqLinked()
{
    reply("\r\n\rBRQ v2.1 " + options.stationId.toLatin1() + "\r\n");
}

void UnitSim::brqReceived(const QByteArray& bytes)
{
    for (char c : bytes) {
        if (c == ' ') {
            if (inBuffer.isEmpty() && ++blankRun == kWakeBlanks) {
                blankRun = 0;
                ++wakeCount;
                reply(kPrompt);
            }
            continue;
        }
        blankRun = 0;
        if (c == '\n')
            continue;
        if (c != '\r') {
            inBuffer += c;
            continue;
        }
        if (!inBuffer.isEmpty()) {
            const QByteArray command = inBuffer;
            inBuffer.clear();
            brqCommand(command);
        }
    }
}

void UnitSim::brqAck(const QByteArray& words)
{
    reply("\r\n" + words + kPrompt);
}

void UnitSim::brqCommand(const QByteArray& command)
{
    emit commandReceived(command, false);
    emit activity(QStringLiteral("command: %1").arg(QString::fromLatin1(command)));

    const QString text = QString::fromLatin1(command);
    const QRegularExpressionMatch elevationSet =
        QRegularExpression(QStringLiteral("^GE([+-][0-9]{4,5})$")).match(text);
    const QRegularExpressionMatch picture =
        QRegularExpression(QStringLiteral("^I([1-4])$")).match(text);
    const QRegularExpressionMatch hour =
        QRegularExpression(QStringLiteral("^i([01][0-9]|2[0-3])$")).match(text);

    if (command.size() == 2 && command.at(0) == 'm' && command.at(1) >= '0' &&
        command.at(1) <= '6') {
        brqMode = command.at(1) - '0';
        brqAck(kModeAcks[brqMode]);
    } else if (command == "C0" || command == "C1" || command == "C2") {
        ceilometerOn = command != "C0";
        brqAck(command + " OK");
    } else if (command == "S0" || command == "S1" || command == "GI" || command == "Gi") {
        brqAck(command + " OK");
    } else if (command == "G0" || command == "G1") {
        gpsOn = command == "G1";
        brqAck(command + " OK");
    } else if (elevationSet.hasMatch()) {
        elevation = QString::number(elevationSet.captured(1).toInt());
        brqAck(command + "\r\nGE OK");
    } else if (command == "I0") {
        // Pictures not yet sent are dropped; a record waiting among them stays.
        QList<Packet> kept;
        for (const Packet& p : qAsConst(packets))
            if (p.record)
                kept << p;
        packets = kept;
        brqAck(command);
    } else if (command == "I5") {
        brqAck(command);
        for (int camera = 1; camera <= 4; ++camera)
            queuePicture(camera);
    } else if (picture.hasMatch()) {
        brqAck(command);
        queuePicture(picture.captured(1).toInt());
    } else if (command == "i-") {
        imageHours.clear();
        brqAck(command + " OK");
    } else if (hour.hasMatch()) {
        imageHours.insert(hour.captured(1).toInt());
        brqAck(command + " OK");
    } else {
        reply(kErrorPrompt);
        emit activity(QStringLiteral("unknown command, error prompt"));
    }
}

void UnitSim::queuePicture(int camera)
{
    if (camera < 1 || camera > 4)
        return;
    static QByteArray scans[5];
    QByteArray& scan = scans[camera];
    if (scan.isEmpty())
        scan = cameraScan(camera);

    const QDateTime t = Clock::nowUtc();
    QByteArray time;
    for (int v : {t.date().year() % 100, t.date().month(), t.date().day(), t.time().hour(),
                  t.time().minute(), t.time().second()})
        time += bcd(v);

    const int count = (scan.size() + kChunkLength - 1) / kChunkLength;
    for (int sequence = 0; sequence < count; ++sequence) {
        QByteArray chunk = scan.mid(sequence * kChunkLength, kChunkLength);
        // 0xFF is a fill byte before a marker: the end-of-image marker follows the last chunk.
        chunk.append(kChunkLength - chunk.size(), char(0xFF));
        queuePacket(brqImagePacket(time, camera, sequence == count - 1, sequence, chunk));
    }
    emit pictureQueued(camera, count);
    emit activity(QStringLiteral("picture of camera %1 queued, %2 packets").arg(camera).arg(count));
}

void UnitSim::brqSchedule()
{
    const QDateTime now = Clock::nowUtc();
    const qint64 hour = now.toSecsSinceEpoch() / 3600;
    if (!imageHours.contains(now.time().hour()) || hour == lastImageHour)
        return;
    lastImageHour = hour;
    for (int camera = 1; camera <= 4; ++camera)
        queuePicture(camera);
}

QByteArray UnitSim::brqRecord()
{
    return brqWeatherPacket(options.stationId.toLatin1(), weatherSample(recordIndex),
                            Clock::nowUtc(), brqMode, ceilometerOn, gpsOn, elevation);
}

QByteArray brqWeatherPacket(const QByteArray& station, const WeatherSample& w,
                            const QDateTime& time, int mode, bool ceilometerOn, bool gpsOn,
                            const QString& elevation)
{
    QList<QByteArray> lines = {
        "@I:" + station + ":2.1",
        "@0:00",
        "T:" + time.toString(QStringLiteral("yy/MM/dd,hh:mm:ss")).toLatin1(),
        "B:" + w.voltage.toLatin1() + ":" + QByteArray::number(mode) + ":0:64:0:1",
        "WI:" + w.windSpeed.toLatin1() + ":" + w.windDirection.toLatin1(),
        "GU:" + w.gustSpeed.toLatin1() + ":" + w.gustDirection.toLatin1(),
        "TA:" + w.temperature.toLatin1(),
        "RH:" + w.humidity.toLatin1(),
        "BA:" + w.pressure.toLatin1() + ":" + w.altimeter.toLatin1(),
        "VI:10",
        "PW:0.00",
        // Heights in metres on this family; "-" in front marks the ceilometer switched off.
        QByteArray(ceilometerOn ? "CL:1" : "CL:-") + ":275:760:0:0:0:0:2:6:0:0:0:0:760",
        "LD:0:0",
    };
    if (gpsOn)
        lines << "LA:45.5"
              << "LO:-73.6";
    lines << "EL:" + elevation.toLatin1() << "OR:30:1"
          << "~";
    QByteArray packet;
    for (const QByteArray& line : lines)
        packet += line + "\r\n";
    return packet + "\r\n";
}

QByteArray brqImagePacket(const QByteArray& time, int camera, bool last, int sequence,
                          const QByteArray& chunk)
{
    const int kind = last ? kLastPacketKind : 0;
    return "@1" + time + char(camera << 4 | kind) + char(sequence) + chunk + "\r\n\r\n";
}

} // namespace unitsim
