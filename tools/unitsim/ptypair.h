#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

class QTimer;

namespace unitsim
{

// A pseudo-terminal pair standing in for a serial line. The station opens portPath() with a real
// QSerialPort; the unit writes to it with write() and finds what the station sent in received().
//
// portPath() is a symlink that survives closeMaster()/reopen(), so a port that was lost can be
// brought back under the same name.
class PtyPair : public QObject
{
    Q_OBJECT
public:
    explicit PtyPair(QObject* parent = nullptr);
    ~PtyPair() override;

    bool isOpen() const { return masterFd >= 0; }
    // Why the system refused a pair.
    QString errorString() const { return error; }
    QString portPath() const { return linkPath; }
    QString slavePath() const { return slaveName; }
    // The unit's end, -1 while closed. The line settings of the pair can be read here: a second
    // open of the slave fails while the station holds it for exclusive use (root excepted).
    int masterHandle() const { return masterFd; }
    // Some process holds the slave end open, as seen at the last poll.
    bool slaveHeld() const { return held; }
    void setPollInterval(int ms);

    // Bytes from the unit to the station, all of them.
    bool write(const QByteArray& bytes);
    // As many of the bytes as the line takes now: 0 when it is full, -1 when it is gone.
    qint64 writeSome(const char* data, qint64 size);

    // Everything the station wrote since the last clear.
    QByteArray received() const { return buffer; }
    QByteArray takeReceived();
    void clearReceived() { buffer.clear(); }

    // The unit disappears: the master end closes (the port sees read errors).
    void closeMaster();
    // The unit is back: a new pair behind the same portPath().
    bool reopen();

signals:
    void bytesReceived(const QByteArray& bytes);
    // After every poll of an open master end, whether bytes came or not.
    void polled();

private:
    bool openPair();
    void poll();

    QTemporaryDir dir;
    QString linkPath;
    QString slaveName;
    QString error;
    int masterFd = -1;
    bool held = false;
    QByteArray buffer;
    QTimer* pollTimer = nullptr;
};

} // namespace unitsim
