#include "ptypair.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

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

bool PtyPair::openPair()
{
    masterFd = posix_openpt(O_RDWR | O_NOCTTY);
    if (masterFd < 0)
        return false;
    if (grantpt(masterFd) != 0 || unlockpt(masterFd) != 0) {
        closeMaster();
        return false;
    }
    slaveName = QString::fromLocal8Bit(ptsname(masterFd));
    fcntl(masterFd, F_SETFL, fcntl(masterFd, F_GETFL) | O_NONBLOCK);

    // Raw from the start, so nothing the unit writes early is echoed or translated.
    const int slaveFd = ::open(slaveName.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
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
    if (masterFd < 0)
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(masterFd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
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
    char chunk[4096];
    QByteArray got;
    for (;;) {
        const ssize_t n = ::read(masterFd, chunk, sizeof chunk);
        if (n <= 0)
            break; // EAGAIN: nothing more; EIO: no slave open yet
        got.append(chunk, int(n));
    }
    if (!got.isEmpty()) {
        buffer += got;
        emit bytesReceived(got);
    }
}
