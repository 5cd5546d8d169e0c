#include "tools/unitsim/unitsim.h"

#include "decoder/clock.h"

namespace unitsim
{

namespace
{

// The one command that comes without a line end.
const QByteArray kSetElevation("gps_set_elev");

} // namespace

void UnitSim::legacyReceived(const QByteArray& bytes)
{
    inBuffer += bytes;
    for (;;) {
        if (inBuffer.startsWith(kSetElevation)) {
            inBuffer.remove(0, kSetElevation.size());
            legacyCommand(kSetElevation);
            continue;
        }
        QByteArray line;
        if (!takeLine(inBuffer, &line))
            break;
        if (!line.isEmpty())
            legacyCommand(line);
    }
}

void UnitSim::legacyCommand(const QByteArray& line)
{
    emit commandReceived(line, false);
    emit activity(QStringLiteral("command: %1").arg(QString::fromUtf8(line)));

    const int blank = line.indexOf(' ');
    const QByteArray word = blank < 0 ? line : line.left(blank);
    const QByteArray arg = blank < 0 ? QByteArray() : line.mid(blank + 1).trimmed();
    bool ok = false;
    QByteArray text = "Invalid Command Received.";

    if (word == "rate") {
        const int minutes = arg.toInt(&ok);
        if (ok && minutes > 0) {
            frequency = minutes;
            text = "Rate: " + arg;
        }
    } else if (line == "gps_enable" || line == "gps_disable") {
        gpsOn = line == "gps_enable";
        text = gpsOn ? "GPS enabled" : "GPS disabled";
    } else if (line == "gps_read" || line == "gps_read_loc") {
        text = gpsOn ? "GPS read started" : "GPS not enabled";
    } else if (line == kSetElevation) {
        text = "EL " + elevation.toLatin1();
    } else if (word == "set_id" && !arg.isEmpty()) {
        icao = QString::fromUtf8(arg).toUpper();
        text = "ICAO:" + arg;
    } else if (word == "set_date" && !arg.isEmpty()) {
        text = "DATE SET";
    } else if (line == "reset") {
        orvaDefaults();
        text = "RESET";
    }
    reply(text + "\r\n");
}

QByteArray UnitSim::legacyRecord()
{
    const WeatherSample w = weatherSample(recordIndex);
    const QByteArray gps = gpsOn ? "" : "?";
    QList<QByteArray> lines = {
        "@I:" + options.stationId.toLatin1(),
        "N:METAR:0:0:0:" + icao.toUtf8() + ":1:1",
        "T:" + Clock::nowUtc().toString(QStringLiteral("yy/MM/dd,hh:mm:ss")).toLatin1(),
        "B:" + w.voltage.toLatin1() + ":" + QByteArray::number(frequency) + ":0:E1:0:0",
        "IR:0:0:0:" + options.stationId.toLatin1(),
        "WI:" + w.windSpeedInst.toLatin1() + ":" + w.windDirection.toLatin1() + ":" +
            w.windSpeed.toLatin1() + ":" + w.windDirection.toLatin1(),
        "GU:0:0:" + w.gustSpeed.toLatin1() + ":" + w.gustDirection.toLatin1(),
        "TA:" + w.temperature.toLatin1(),
        "RH:" + w.humidity.toLatin1(),
        "BA:" + w.pressure.toLatin1() + ":" + w.altimeter.toLatin1(),
        "EL:" + elevation.toLatin1(),
        // Heights in metres on this variant.
        "CL:1:900:2500:0:0:0:0:2:6:0:0:0:0:760",
        "PW:0.0:XX:0:16.0:16.0:XX",
        "LA:" + (gpsOn ? QByteArray("45.5") : gps),
        "LO:" + (gpsOn ? QByteArray("-73.6") : gps),
        "@0:00~",
    };
    QByteArray block;
    for (const QByteArray& line : lines)
        block += line + "\r\n";
    return block + "\r\n";
}

} // namespace unitsim
