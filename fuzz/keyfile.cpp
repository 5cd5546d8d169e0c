// A key file as the operator picks it or the settings name it: a regular file, a pipe or a
// device. Salt and IV come only from a regular file of at most 64 KiB; anything else reads as
// unreadable (no salt, no IV), and whatever the file is, reading it comes to an end.
//
// Input: a byte for the kind of file (regular, pipe, an empty device, an endless device), then
// what the file holds.

#include "app/maingui.h"
#include "forms/maingui_ui.h"
#include "fuzz/fuzzsupport.h"
#include "fuzz/windowfuzz.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace
{

constexpr int kMaxKeyFileBytes = 64 * 1024;

// Feeds `bytes` into the pipe at `path` once a reader opens it; gives up when `done` is set.
void feedPipe(const QByteArray path, const QByteArray bytes, const std::atomic<bool>* done)
{
    int fd = -1;
    while (fd < 0 && !*done) {
        fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
        if (fd < 0)
            ::usleep(1000);
    }
    if (fd < 0)
        return;
    ::fcntl(fd, F_SETFL, 0);
    for (int at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + at, size_t(bytes.size() - at));
        if (n <= 0)
            break; // the reader stopped reading
        at += int(n);
    }
    ::close(fd);
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A pipe whose reader stops early must not end the run.
void start()
{
    fuzzStartWindow();
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace

FUZZ_START(start)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int kind = in.byte() % 4;
    const QByteArray bytes = in.rest();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    const QString own = folder + QStringLiteral("/Keyfile_fuzz.txt");
    QFile::remove(own);

    QString path = own;
    std::atomic<bool> done{false};
    std::thread feeder;
    if (kind == 0) {
        QFile file(own);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    } else if (kind == 1) {
        FUZZ_CHECK(::mkfifo(QFile::encodeName(own).constData(), 0600) == 0);
        feeder = std::thread(feedPipe, QFile::encodeName(own), bytes, &done);
    } else {
        path = kind == 2 ? QStringLiteral("/dev/null") : QStringLiteral("/dev/zero");
    }

    MainGUI& window = fuzzWindow();
    window.encryptionSalt = window.encryptionIV = QStringLiteral("earlier");
    window.ui->lineEdit_encryptionPasskey->setText(path);
    const long peakBefore = peakKilobytes();
    window.loadEncryptionFile();
    // Reading stopped near the limit: an endless device must not fill the memory.
    FUZZ_CHECK(peakKilobytes() - peakBefore < 64 * 1024);
    done = true;
    if (feeder.joinable())
        feeder.join();

    QJsonObject expected;
    if (kind == 0 && bytes.size() <= kMaxKeyFileBytes)
        expected = QJsonDocument::fromJson(bytes).object();
    FUZZ_CHECK(window.encryptionSalt == expected.value(QStringLiteral("Salt")).toString());
    FUZZ_CHECK(window.encryptionIV == expected.value(QStringLiteral("IV")).toString());
    return 0;
}
