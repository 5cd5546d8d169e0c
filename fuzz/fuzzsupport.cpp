#include "fuzz/fuzzsupport.h"

#include "decoder/clock.h"
#include "link/packetcode.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <utility>

namespace
{
void (*endAction)() = nullptr;

void quiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

void fuzzStart(FuzzAppMaker make)
{
    qputenv("TZ", "UTC");
    tzset();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QStandardPaths::setTestModeEnabled(true);
    // Qt keeps argc by reference; libFuzzer's own arguments are not for Qt.
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (make)
        make(argc, argv);
    else
        new QCoreApplication(argc, argv);
    Clock::setFixed(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9), Qt::UTC));
    initPacketCodeTables();
}

void fuzzAtEnd(void (*end)())
{
    endAction = end;
    std::atexit(fuzzEnd);
}

void fuzzEnd()
{
    if (void (*const end)() = std::exchange(endAction, nullptr))
        end();
}

void fuzzFail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "Invariant broken: %s (%s:%d)\n", what, file, line);
    std::fflush(stderr);
    std::abort();
}

quint8 FuzzInput::byte()
{
    if (left == 0)
        return 0;
    --left;
    return *p++;
}

QByteArray FuzzInput::take(int n)
{
    const size_t count = qMin(size_t(qMax(n, 0)), left);
    const QByteArray out(reinterpret_cast<const char*>(p), int(count));
    p += count;
    left -= count;
    return out;
}

QByteArray FuzzInput::upTo(char separator)
{
    const void* found = std::memchr(p, separator, left);
    if (!found)
        return rest();
    const QByteArray out = take(int(static_cast<const uint8_t*>(found) - p));
    byte();
    return out;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QByteArray> chunked(const QByteArray& stream, quint32 seed, int maxChunk)
{
    std::minstd_rand random(seed + 1);
    QList<QByteArray> chunks;
    for (int at = 0; at < stream.size();) {
        const int n = 1 + int(random() % quint32(maxChunk));
        chunks << stream.mid(at, n);
        at += n;
    }
    return chunks;
}
