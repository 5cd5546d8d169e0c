#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

class QTimer;

// A pseudo-terminal pair standing in for a unit on a serial line. The code
// under test opens portPath() with a real QSerialPort; the test plays the
// unit through write() and reads what the code sent with received().
//
// portPath() is a symlink that survives closeMaster()/reopen(), so a port that
// was lost can be brought back under the same name.
class PtyPair : public QObject
{
    Q_OBJECT
public:
    explicit PtyPair(QObject* parent = nullptr);
    ~PtyPair() override;

    bool isOpen() const { return masterFd >= 0; }
    QString portPath() const { return linkPath; }
    QString slavePath() const { return slaveName; }

    // Bytes from the unit to the code under test.
    bool write(const QByteArray& bytes);

    // Everything the code under test wrote since the last clear.
    QByteArray received() const { return buffer; }
    QByteArray takeReceived();
    void clearReceived() { buffer.clear(); }

    // The unit disappears: the master end closes (the port sees read errors).
    void closeMaster();
    // The unit is back: a new pair behind the same portPath().
    bool reopen();

signals:
    void bytesReceived(const QByteArray& bytes);

private:
    bool openPair();
    void poll();

    QTemporaryDir dir;
    QString linkPath;
    QString slaveName;
    int masterFd = -1;
    QByteArray buffer;
    QTimer* pollTimer = nullptr;
};
