#include "tools/unitsim/ptypair.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace unitsim
{

namespace
{
std::atomic<int> pairCounter{0};
}

PtyPair::PtyPair(QObject* parent) : QObject(parent)
{
    // The symlink name becomes the serial lock file name: keep it unique per process and pair.
    linkPath = dir.path() + QStringLiteral("/ttyVD%1x%2")
                                .arg(QCoreApplication::applicationPid())
                                .arg(pairCounter.fetch_add(1));
    openPair();
    pollTimer = new QTimer(this);
    pollTimer->setInterval(2);
    connect(pollTimer, &QTimer::timeout, this, &PtyPair::poll);
    pollTimer->start();
}

PtyPair::~PtyPair()
{
    closeMaster();
}

void PtyPair::setPollInterval(int ms)
{
    pollTimer->setInterval(ms);
}

bool PtyPair::openPair()
{
    masterFd = posix_openpt(O_RDWR | O_NOCTTY);
    char name[128] = {};
    if (masterFd < 0 || grantpt(masterFd) != 0 || unlockpt(masterFd) != 0 ||
        ptsname_r(masterFd, name, sizeof name) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        closeMaster();
        return false;
    }
    slaveName = QString::fromLocal8Bit(name);
    fcntl(masterFd, F_SETFL, fcntl(masterFd, F_GETFL) | O_NONBLOCK);

    // Raw from the start: bytes the unit writes before the station configures the line must not
    // be echoed back or translated.
    const int slaveFd = ::open(name, O_RDWR | O_NOCTTY);
    if (slaveFd >= 0) {
        termios tio{};
        if (tcgetattr(slaveFd, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(slaveFd, TCSANOW, &tio);
        }
        ::close(slaveFd);
    }

    QFile::remove(linkPath);
    return QFile::link(slaveName, linkPath);
}

bool PtyPair::write(const QByteArray& bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = writeSome(bytes.constData() + done, bytes.size() - done);
        if (n < 0)
            return false;
        done += n;
    }
    return true;
}

qint64 PtyPair::writeSome(const char* data, qint64 size)
{
    while (masterFd >= 0) {
        const ssize_t n = ::write(masterFd, data, size_t(size));
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return errno == EAGAIN ? 0 : -1;
    }
    return -1;
}

QByteArray PtyPair::takeReceived()
{
    QByteArray out;
    out.swap(buffer);
    return out;
}

void PtyPair::closeMaster()
{
    // The device name goes with the device: left behind, the link could point at a
    // pseudo-terminal that another process opens under the same number.
    QFile::remove(linkPath);
    if (masterFd >= 0) {
        ::close(masterFd);
        masterFd = -1;
    }
    held = false;
}

bool PtyPair::reopen()
{
    closeMaster();
    return openPair();
}

void PtyPair::poll()
{
    if (masterFd < 0)
        return;
    QByteArray got;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(masterFd, chunk, sizeof chunk);
        if (n > 0) {
            got.append(chunk, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EIO: no process holds the slave open; EAGAIN: one does, and is silent.
        held = !(n < 0 && errno == EIO);
        break;
    }
    if (!got.isEmpty()) {
        buffer += got;
        emit bytesReceived(got);
    }
    emit polled();
}

} // namespace unitsim
