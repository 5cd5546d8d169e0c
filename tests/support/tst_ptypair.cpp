#include "tests/support/testsupport.h"
#include "tools/unitsim/ptypair.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

using unitsim::PtyPair;

// The test harness itself: a real QSerialPort talks to the scripted end.
class TestPtyPair : public QObject
{
    Q_OBJECT
private slots:
    void bytesPassRawBothWays()
    {
        PtyPair pty;
        QVERIFY(pty.isOpen());
        QSerialPort port;
        port.setPortName(pty.portPath());
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        QVERIFY(port.setBaudRate(57600));

        const QByteArray fromUnit("@0\x00\xff\r\n~", 7);
        QVERIFY(pty.write(fromUnit));
        QByteArray got;
        QTRY_VERIFY((got += port.readAll()).size() >= fromUnit.size());
        QCOMPARE(got, fromUnit);

        const QByteArray toUnit("status\r\n\x00\xfe", 10);
        port.write(toUnit);
        port.flush();
        QTRY_COMPARE(pty.received(), toUnit);
    }

    void reopenKeepsThePortName()
    {
        PtyPair pty;
        const QString name = pty.portPath();
        const QString firstSlave = pty.slavePath();
        pty.closeMaster();
        QVERIFY(!pty.isOpen());
        QVERIFY(pty.reopen());
        QCOMPARE(pty.portPath(), name);
        QSerialPort port;
        port.setPortName(name);
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        Q_UNUSED(firstSlave);
    }
};

QTEST_GUILESS_MAIN(TestPtyPair)
#include "tst_ptypair.moc"
