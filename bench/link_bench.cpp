// Records per second from ORVA frames to weather records with their report text, and the
// memory the link holds while a long stream goes through it.
// Usage: link_bench [records]   (default 100000)
//
// The stream is what a unit on the station radio sends: mostly plain routine frames, a METAR
// candidate every tenth frame, and among them encrypted and compressed frames. Frames arrive in
// chunks of 128 bytes, as the serial port delivers them. Only the time spent in parseData_ORVA
// counts; building the frames does not. Time is the thread's CPU time, so that other work on the
// machine does not count.

#include "decoder/clock.h"
#include "link/data_incoming.h"
#include "link/packetcode.h"
#include "tools/unitsim/unitframes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <cmath>
#include <cstdio>
#include <ctime>

namespace
{

constexpr int kChunk = 128;

const QByteArray kKey =
    QByteArray::fromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
const QByteArray kIv = "IV012345";

// A routine observation at time t whose values drift from record to record.
QByteArray record(char type, const QDateTime& t, qint64 n)
{
    const double wave = std::sin(double(n) / 97.0);
    QByteArray text = QByteArray("@") + type + "00\r\n";
    text += "N:METAR:0:0:0:KXYZ:1:1\r\n";
    text += "B:12.8:10:0:E1:0:1\r\n";
    text += "T:" + t.toString(QStringLiteral("yy/MM/dd,hh:mm:ss")).toLatin1() + "\r\n";
    text += "IR:0:0:0:OV7731\r\n";
    text += "WI:" + QByteArray::number(14 + 6 * wave, 'f', 1) +
            ":184:" + QByteArray::number(12 + 5 * wave, 'f', 1) + ":186\r\n";
    text += "GU:0:0:18:200:0:0:150:220\r\n";
    text += "TA:" + QByteArray::number(12.5 + 8 * wave, 'f', 1) + "\r\n";
    text += "RH:80\r\n";
    text += "BA:" + QByteArray::number(1009.8 + 3 * wave, 'f', 1) + ":2982:-1.6:0:2\r\n";
    text += "EL:120\r\n";
    text += "CL:0:46:120:0:0:0:0:3:7:0:0:0:0:0\r\n";
    text += "PW:0:61:0:8:16.09:XX\r\n";
    text += "LT:0:0:0:0:0:0\r\n";
    text += "LA:45.5\r\nLO:-73.6\r\nOR:10:1\r\n";
    text += "RA:433.5:434.25:1\r\n";
    text += "PA:0:0:0:0:0:0:0.12:0.35:0.5:1.01:0.8\r\n";
    return unitsim::orvaFrame(type, text.mid(4));
}

// Resident and peak resident memory in kB, from the kernel's view of this process.
void memory(long* resident, long* peak)
{
    *resident = *peak = -1;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() < 2)
            continue;
        if (parts.at(0) == "VmRSS:")
            *resident = parts.at(1).toLong();
        else if (parts.at(0) == "VmHWM:")
            *peak = parts.at(1).toLong();
    }
}

qint64 threadCpuNanos()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

enum Kind { Plain, Encrypted, Compressed, KindCount };
const char* const kKindNames[KindCount] = {"plain", "encrypted", "compressed"};

// The record count asked for on the command line.
qint64 recordsAsked(int argc, char** argv)
{
    constexpr qint64 kDefault = 100000;
    const qint64 asked = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : kDefault;
    return asked < 1 ? kDefault : asked;
}

// The n-th frame of the stream: a METAR candidate every tenth, and in every twenty one
// encrypted and one compressed.
QByteArray streamFrame(qint64 n, const QDateTime& recordTime, Kind* kind)
{
    const char type = n % 10 == 9 ? '1' : '0';
    const QByteArray inner = record(type, recordTime, n);
    if (n % 20 == 5) {
        *kind = Encrypted;
        return unitsim::orvaFrame('F', unitsim::encryptText(kKey, kIv, 0, inner));
    }
    if (n % 20 == 15) {
        *kind = Compressed;
        return unitsim::orvaFrame('E', unitsim::packetEncode(inner));
    }
    *kind = Plain;
    return inner;
}

// Frames sent, records they gave and CPU time spent, per kind of frame.
struct Tally {
    qint64 frames[KindCount] = {};
    qint64 produced[KindCount] = {};
    qint64 nanos[KindCount] = {};

    qint64 allNanos() const { return nanos[Plain] + nanos[Encrypted] + nanos[Compressed]; }
};

// A line a tenth of the way: records so far, resident memory, and the rate since the line before.
class Checkpoints
{
public:
    explicit Checkpoints(qint64 total) : total(total), every(qMax<qint64>(1, total / 10))
    {
        std::printf("%12s %12s %14s\n", "records", "RSS kB", "records/s");
    }

    void after(qint64 sent, const Tally& tally, long* peak)
    {
        if (sent % every != 0 && sent != total)
            return;
        long resident = 0;
        memory(&resident, peak);
        const qint64 spent = tally.allNanos();
        const double rate = (sent - lastSent) / ((spent - lastNanos) / 1e9);
        std::printf("%12lld %12ld %14.0f\n", static_cast<long long>(sent), resident, rate);
        std::fflush(stdout);
        lastSent = sent;
        lastNanos = spent;
    }

private:
    const qint64 total;
    const qint64 every;
    qint64 lastSent = 0;
    qint64 lastNanos = 0;
};

void printSummary(const Tally& tally, qint64 total, qint64 records)
{
    std::printf("\n%-11s %10s %10s %14s %12s\n", "frames", "sent", "records", "records/s",
                "us/record");
    for (int k = 0; k < KindCount; ++k) {
        std::printf("%-11s %10lld %10lld %14.0f %12.1f\n", kKindNames[k],
                    static_cast<long long>(tally.frames[k]),
                    static_cast<long long>(tally.produced[k]),
                    tally.produced[k] / (tally.nanos[k] / 1e9),
                    tally.nanos[k] / 1e3 / qMax<qint64>(1, tally.produced[k]));
    }
    const qint64 allNanos = tally.allNanos();
    std::printf("%-11s %10lld %10lld %14.0f %12.1f\n", "all", static_cast<long long>(total),
                static_cast<long long>(records), records / (allNanos / 1e9),
                allNanos / 1e3 / qMax<qint64>(1, records));
    std::printf("\ngoal: at least 10000 plain records/s: %s\n",
                tally.produced[Plain] / (tally.nanos[Plain] / 1e9) >= 10000.0 ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    const qint64 total = recordsAsked(argc, argv);

    initPacketCodeTables();
    QDateTime recordTime(QDate(2026, 3, 5), QTime(0, 0, 0), Qt::UTC);
    Clock::setFixed(recordTime);

    data_incoming worker;
    worker.setDeviceTypeState(DeviceTypes::ORVA);
    worker.setEncryptionKey(kKey.toBase64(), kIv.toBase64());

    qint64 records = 0;
    qint64 emptyReports = 0;
    QObject::connect(&worker, &data_incoming::weather_data_received, [&](const QJsonObject& r) {
        ++records;
        if (r.value(QStringLiteral("METAR")).toString().isEmpty())
            ++emptyReports;
    });

    Tally tally;
    long startResident = 0;
    long peak = 0;
    memory(&startResident, &peak);
    Checkpoints checkpoints(total);
    QElapsedTimer wall;
    wall.start();
    for (qint64 n = 0; n < total; ++n) {
        // One record a minute; the PC clock keeps pace with the unit's.
        recordTime = recordTime.addSecs(60);
        Clock::setFixed(recordTime.addSecs(2));
        Kind kind = Plain;
        const QByteArray stream = streamFrame(n, recordTime, &kind);

        const qint64 before = records;
        const qint64 started = threadCpuNanos();
        for (int at = 0; at < stream.size(); at += kChunk)
            worker.parseData_ORVA(stream.mid(at, kChunk));
        tally.nanos[kind] += threadCpuNanos() - started;
        ++tally.frames[kind];
        tally.produced[kind] += records - before;
        checkpoints.after(n + 1, tally, &peak);
    }

    long resident = 0;
    memory(&resident, &peak);
    printSummary(tally, total, records);
    std::printf("memory: %ld kB at start, %ld kB at the end, peak %ld kB\n", startResident,
                resident, peak);
    std::printf("wall time %.1f s; reports missing: %lld\n", wall.elapsed() / 1000.0,
                static_cast<long long>(emptyReports));
    Clock::reset();
    return records == total && emptyReports == 0 ? 0 : 1;
}
