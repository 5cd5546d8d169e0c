// Time of one data-log append into an empty file and into a file of about 9 MB.
// Usage: datalog_bench [folder]   (default: a temporary folder, removed afterwards)

#include "decoder/clock.h"
#include "logging/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kRuns = 15;
constexpr qint64 kLargeSize = 9 * 1000 * 1000;

// About the size of a decoded weather record with its raw packet.
QJsonObject weatherRecord(int serial)
{
    QJsonObject record;
    for (int i = 0; i < 60; ++i)
        record.insert(QStringLiteral("Field %1").arg(i, 2, 10, QLatin1Char('0')),
                      QString::number(serial * 0.25 + i, 'f', 2));
    record.insert(QStringLiteral("Obs METAR"), true);
    return record;
}

QByteArray rawPacket(int serial)
{
    return "@0\r\nTA:" + QByteArray::number(serial) + ":21.4\r\nWS:12.0:270\r\n~0a1b\r\n\r\n";
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Appends one record and returns its time in microseconds.
double timedAppend(logging& worker, int serial)
{
    const QByteArray raw = rawPacket(serial);
    const QJsonObject record = weatherRecord(serial);
    QElapsedTimer timer;
    timer.start();
    worker.logData(raw, record, DeviceTypes::ORVA);
    return timer.nsecsElapsed() / 1000.0;
}

// A data file of about kLargeSize bytes, in the form the worker writes.
void writeLargeFile(const QString& path)
{
    QJsonArray array;
    int serial = 0;
    qint64 estimate = 0;
    while (estimate < kLargeSize) {
        QJsonObject record = weatherRecord(serial);
        record.insert(QStringLiteral("rawdata"), QString::fromUtf8(rawPacket(serial)));
        record.insert(QStringLiteral("device"), QStringLiteral("ORVA"));
        record.insert(QStringLiteral("logtimestamp"), QStringLiteral("2026-03-05 14:03:09.120"));
        estimate += QJsonDocument(QJsonArray{record}).toJson().size();
        array.append(record);
        ++serial;
    }
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(QJsonDocument(array).toJson(QJsonDocument::Indented) + '\n');
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QTemporaryDir temporary(argc > 1
                                ? QString::fromLocal8Bit(argv[1]) + QLatin1String("/bench-XXXXXX")
                                : QDir::tempPath() + QLatin1String("/datalog-bench-XXXXXX"));
    if (!temporary.isValid()) {
        std::fprintf(stderr, "cannot make a working folder\n");
        return 1;
    }
    QDateTime start(QDate(2026, 3, 5), QTime(14, 3, 9));
    Clock::setFixed(start);

    std::vector<double> empty;
    for (int run = 0; run < kRuns; ++run) {
        logging worker(temporary.filePath(QStringLiteral("empty%1").arg(run)), nullptr);
        empty.push_back(timedAppend(worker, run));
    }

    const QString largeFolder = temporary.filePath(QStringLiteral("large"));
    QDir().mkpath(largeFolder);
    Clock::setFixed(start.addSecs(60));
    const QString largePath = largeFolder + QLatin1String("/Vantora_Direct_DataFile_") +
                              Clock::now().toString(QStringLiteral("yyyyMMdd_hhmmss")) +
                              QLatin1String(".txt");
    writeLargeFile(largePath);
    const qint64 largeSize = QFileInfo(largePath).size();
    std::vector<double> large;
    {
        logging worker(largeFolder, nullptr); // continues the large file
        for (int run = 0; run < kRuns; ++run)
            large.push_back(timedAppend(worker, run));
    }
    if (QFileInfo(largePath).size() <= largeSize) {
        std::fprintf(stderr, "the large file did not grow\n");
        return 1;
    }

    const double emptyUs = median(empty);
    const double largeUs = median(large);
    std::printf("append into an empty file:   %9.1f us (median of %d)\n", emptyUs, kRuns);
    std::printf("append into a %.1f MB file:   %9.1f us (median of %d)\n", largeSize / 1e6, largeUs,
                kRuns);
    std::printf("ratio large/empty:           %9.2f (goal: below 2)\n", largeUs / emptyUs);
    Clock::reset();
    return 0;
}
