#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "tests/link/linktest.h"
#include "tests/support/runonthread.h"
#include "tools/unitsim/ptypair.h"
#include "tools/unitsim/unitframes.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <termios.h>
#include <utility>

using unitsim::PtyPair;

namespace
{

// Opens the worker's state to the test.
class Probe : public data_incoming
{
public:
    using data_incoming::data_incoming;
    using data_incoming::encryptionKey;
    using data_incoming::heldCommand;
    using data_incoming::lastRead;
    using data_incoming::pacingTimer;
    using data_incoming::pendingCommands;
    using data_incoming::reconnectActive;
    using data_incoming::resourceErrorSeen;
    using data_incoming::serialPort;
    using data_incoming::transmitQueue;
    using data_incoming::verifyBypass;

    QTimer* reconnect() const { return findChild<QTimer*>("portReconnectTimer"); }
    QTimer* waitWrite() const { return findChild<QTimer*>("waitWriteTimer"); }
    int reconnectTimers() const { return findChildren<QTimer*>("portReconnectTimer").size(); }
    bool reconnectRunning() const { return reconnect() && reconnect()->isActive(); }
    bool waitWriteRunning() const { return waitWrite() && waitWrite()->isActive(); }
    // A BRQ link on `port` whose pacing ticks the test drives itself.
    void openBrq(const QString& port)
    {
        pacingTimer->stop();
        setDeviceTypeState(DeviceTypes::BRQ);
        openSerialPort(port);
    }
};

// The speed the line really runs at, read from the far side: a pseudo-terminal pair shares
// one set of line settings.
speed_t lineSpeed(const PtyPair& pty)
{
    termios tio{};
    if (tcgetattr(pty.masterHandle(), &tio) != 0)
        return 0;
    return cfgetispeed(&tio) == cfgetospeed(&tio) ? cfgetospeed(&tio) : 0;
}

// Collects the worker's messages on the test thread (queued from the worker's thread).
class Recorder : public QObject
{
public:
    explicit Recorder(data_incoming* worker)
    {
        connect(worker, &data_incoming::sendLogMsg, this,
                [this](const QByteArray& line) { log << QString::fromUtf8(line); });
        connect(worker, &data_incoming::sendDisplayErrorMsg, this,
                [this](const QString& line) { errors << line; });
        connect(worker, &data_incoming::sendCommandConfirmation, this, [this] { ++confirmations; });
        connect(worker, &data_incoming::encryption_parse_confirmed, this, [this](KeyChangeState s) {
            if (s != KeyChangeState::KeyAnswered)
                told << keyChangeStateName(s);
        });
    }
    int logCount(const QString& prefix) const
    {
        int n = 0;
        for (const QString& line : log)
            n += line.startsWith(prefix) ? 1 : 0;
        return n;
    }
    QStringList log;
    QStringList errors;
    QStringList told; // what the window hears of the key in use and of the change settling
    int confirmations = 0;
};

// Runs f on the worker's thread and waits for it.
template <typename F> void onWorker(QObject* worker, F f)
{
    runOnThread(worker, f);
}

const QString kOpened = QStringLiteral("INFO: Successfully Opened Serial Port ");
const QString kClosed = QStringLiteral("INFO: Successfully Closed Serial Port ");
const QString kLost = QStringLiteral("ERROR: Closing Serial Port Due to Error -- ");
const QString kLostShown = QStringLiteral("ERROR: Serial Port closing due to resource error");

const QByteArray kOldKey = QByteArray(32, 'o');
const QByteArray kOldIv = QByteArray(8, 'i');
const QByteArray kNewKey = QByteArray::fromBase64("5Hj31ujWRxPZl34F9rCK5VD4QU2T491Kpq2oRvYnNAI=");
const QByteArray kNewIv = QByteArray::fromHex("0102030405060708");

// A unit that holds a link key, on the far end of the line. Through the station radio it reads
// only what comes under the key it holds; the rest is noise to it. It takes a new key with its IV,
// after the IV's answer (kind "i"), when the key arrives, answering under it ("ii"), or when its
// answer to the key goes ("iii"); it keeps a new key over a restart only with its IV. It writes
// every frame under the key it holds.
class KeyUnit
{
public:
    KeyUnit(PtyPair& pty, bool radio, const QString& kind, bool ivAnswerWaits)
        : pty(pty), radio(radio), kind(kind), ivAnswerWaits(ivAnswerWaits)
    {
    }
    // Reads what the station wrote since the last look; a key among it is refused when `refusing`.
    // The IV is answered at once, unless its answer waits for its step.
    void read(bool refusing)
    {
        QSignalSpy polled(&pty, &PtyPair::polled);
        QVERIFY(polled.wait(10000));
        for (const QByteArray& line : pty.takeReceived().split('\r')) {
            QByteArray command = line.trimmed();
            if (command.isEmpty())
                continue;
            QByteArray plain;
            if (radio)
                command = unitsim::decryptText(key, command, &plain) && plain.endsWith('\r')
                              ? plain.trimmed()
                              : QByteArray("noise");
            if (command.startsWith("key")) {
                heard << "key";
                const QByteArray taken = QByteArray::fromBase64(command.mid(3));
                if (!refusing && kind == "ii")
                    key = taken;
                else if (!refusing)
                    pending = taken;
            } else if (command.startsWith("iv")) {
                heard << "iv";
                ivTaken = QByteArray::fromBase64(command.mid(2));
                if (!ivAnswerWaits)
                    answerIv();
            } else {
                heard << command.split(' ').constFirst();
            }
        }
    }
    void answerKey(const QByteArray& word)
    {
        heard << word;
        write(unitsim::orvaAnswer('3', {"key=" + word}));
        if (kind == "iii" && !pending.isEmpty())
            key = std::exchange(pending, QByteArray());
    }
    void answerIv()
    {
        write(unitsim::orvaAnswer('3', {"iv=OK"}));
        iv = std::exchange(ivTaken, QByteArray());
        if (!pending.isEmpty())
            key = std::exchange(pending, QByteArray());
        kept = key;
    }
    void write(const QByteArray& frame)
    {
        QVERIFY(
            pty.write(unitsim::orvaFrame('F', unitsim::encryptText(key, iv, counter++, frame))));
        ++frames;
    }
    // Started again: a key taken without its IV is gone.
    void restart()
    {
        pending.clear();
        key = kept;
    }

    PtyPair& pty;
    const bool radio;
    const QString kind;
    const bool ivAnswerWaits;
    QByteArray key = kOldKey;
    QByteArray kept = kOldKey;
    QByteArray iv = kOldIv;
    QByteArray pending;
    QByteArray ivTaken;
    quint32 counter = 0;
    int frames = 0; // written since the change began
    QByteArrayList heard;
};

} // namespace

class TestSerialPort : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        registerSharedMetaTypes();
        qRegisterMetaType<QSerialPort::SerialPortError>();
    }
    void init() { idleTicks = 0; }

    void openSpeed_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<uint>("speed");
        QTest::newRow("ORVA") << 2 << false << uint(B57600);
        QTest::newRow("legacy ORVA") << 2 << true << uint(B9600);
        QTest::newRow("BRQ") << 1 << false << uint(B9600);
        QTest::newRow("no device") << 0 << false << uint(B9600);
    }
    void openSpeed()
    {
        QFETCH(int, device);
        QFETCH(bool, legacy);
        QFETCH(uint, speed);
        PtyPair pty;
        Probe worker;
        worker.setDeviceTypeState(static_cast<DeviceTypes>(device));
        worker.legacyorvadevicecheck(legacy);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);

        worker.openSerialPort(pty.portPath());
        QVERIFY(worker.serialPort->isOpen());
        QCOMPARE(textArgs(log), QStringList{kOpened + pty.portPath()});
        QCOMPARE(errors.count(), 0);
        QCOMPARE(uint(lineSpeed(pty)), speed);
        QCOMPARE(worker.serialPort->dataBits(), QSerialPort::Data8);
        QCOMPARE(worker.serialPort->parity(), QSerialPort::NoParity);
        QCOMPARE(worker.serialPort->stopBits(), QSerialPort::OneStop);
        QCOMPARE(worker.serialPort->flowControl(), QSerialPort::NoFlowControl);
    }

    void openFailureReported()
    {
        Probe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);
        const QString name = QDir::tempPath() + "/vd-no-such-port";

        worker.openSerialPort(name);
        QVERIFY(!worker.serialPort->isOpen());
        const QString expected =
            "ERROR: Unable to Open Serial Port " + name + " " + worker.serialPort->errorString();
        QCOMPARE(textArgs(log).last(), expected);
        QCOMPARE(textArgs(errors).last(), QString("CRITICAL: Unable to open serial port"));
        QVERIFY(!worker.reconnect());
    }

    void closeAlwaysReports()
    {
        PtyPair pty;
        Probe worker;
        worker.openSerialPort(pty.portPath());
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);

        worker.closeSerialPort();
        QVERIFY(!worker.serialPort->isOpen());
        worker.closeSerialPort();
        QCOMPARE(textArgs(log), QStringList({kClosed + pty.portPath(), kClosed + pty.portPath()}));
        QCOMPARE(errors.count(), 0);
    }

    void orvaCommandWrittenAtOnce_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("hiddenAs"); // what the window says the command is
        QTest::addColumn<QString>("logLine");
        QTest::newRow("plain") << QByteArray("frequency=60\r\n") << QByteArray()
                               << "INFO: ORVA Command Sent [ frequency=60\r\n ]";
        QTest::newRow("key update") << QByteArray("key=c2VjcmV0LWtleQ==\r\n") << QByteArray()
                                    << "INFO: ORVA Command to Update the Key Encryption File Sent";
        QTest::newRow("key inside") << QByteArray("set_iv_key=abc\r\n") << QByteArray()
                                    << "INFO: ORVA Command to Update the Key Encryption File Sent";
        QTest::newRow("upper-case KEY is a plain command")
            << QByteArray("KEY?\r\n") << QByteArray() << "INFO: ORVA Command Sent [ KEY?\r\n ]";
        QTest::newRow("station-radio text") << QByteArray("AAAAAPDx9PX29/h2c2Vj\r") << QByteArray()
                                            << "INFO: ORVA Command Sent [ AAAAAPDx9PX29/h2c2Vj\r ]";
        QTest::newRow("station-radio key")
            << QByteArray("AAAAAPDx9PX29/h2a2V5\r") << QByteArray("key <hidden>")
            << "INFO: ORVA Command to Update the Key Encryption File Sent";
        QTest::newRow("station-radio iv")
            << QByteArray("AAAAAPDx9PX29/h2aXYw\r") << QByteArray("iv <hidden>")
            << "INFO: ORVA Command Sent [ iv <hidden> ]";
    }
    void orvaCommandWrittenAtOnce()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, hiddenAs);
        QFETCH(QString, logLine);
        PtyPair pty;
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.openSerialPort(pty.portPath());
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy confirmed(&worker, &data_incoming::sendCommandConfirmation);

        if (!hiddenAs.isEmpty())
            worker.hideCommandText(command, hiddenAs);
        worker.setCommandBuffer(command);
        QCOMPARE(textArgs(log), QStringList{logLine});
        QCOMPARE(confirmed.count(), 1);
        QVERIFY(!worker.waitWrite());
        QTRY_COMPARE_WITH_TIMEOUT(pty.received(), command, 10000);
    }

    void heldCommandReplaced()
    {
        PtyPair pty;
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy confirmed(&worker, &data_incoming::sendCommandConfirmation);

        // A key change's key that never reached the unit gives way too; the held command stays
        // held beside it until then.
        worker.beginKeyChange("c2VjcmV0", "AQIDBAUGBwg=", false);
        worker.setCommandBuffer("led=1\r\n");
        worker.setCommandBuffer("keyc2VjcmV0\r");
        worker.setCommandBuffer("heater=0\r\n");
        // Without its key the IV would change the unit's IV alone.
        worker.setCommandBuffer("ivAQIDBAUGBwg=\r");
        QCOMPARE(
            textArgs(log),
            QStringList({"WARNING: Held ORVA Command to Update the Key Encryption File "
                         "Dropped, Replaced by a Newer Command",
                         "WARNING: Held ORVA Command Dropped, Replaced by a Newer Command [ "
                         "led=1\r\n ]",
                         "WARNING: ORVA Command Dropped, Key Change Given Up [ iv <hidden> ]"}));
        QVERIFY(worker.waitWriteRunning());
        QCOMPARE(worker.waitWrite()->interval(), 10000);
        QCOMPARE(confirmed.count(), 0);

        worker.openSerialPort(pty.portPath());
        log.clear();
        worker.waitSerialWrite();
        QVERIFY(!worker.waitWriteRunning());
        QCOMPARE(textArgs(log), QStringList{"INFO: ORVA Command Sent [ heater=0\r\n ]"});
        QCOMPARE(confirmed.count(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("heater=0\r\n"), 10000);
        // Nothing else follows once the held command went out.
        QTest::qWait(50);
        QCOMPARE(pty.received(), QByteArray("heater=0\r\n"));
    }

    void commandAfterReopenGoesFirst()
    {
        PtyPair pty;
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.setCommandBuffer("held\r\n");
        worker.openSerialPort(pty.portPath());

        worker.setCommandBuffer("fresh\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("fresh\r\n"), 10000);
        QVERIFY(worker.waitWriteRunning());
        worker.waitSerialWrite();
        QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("fresh\r\nheld\r\n"), 10000);
        QVERIFY(!worker.waitWriteRunning());
    }

    // The unit vanished but the port has not noticed yet: the write fails, so no confirmation.
    void failedWriteIsHeldNotConfirmed()
    {
        PtyPair pty;
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.openSerialPort(pty.portPath());
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy confirmed(&worker, &data_incoming::sendCommandConfirmation);

        pty.closeMaster();
        worker.setCommandBuffer("blower=1\r\n");
        QCOMPARE(confirmed.count(), 0);
        QVERIFY(textArgs(log).contains("ERROR: ORVA Command Not Sent [ blower=1\r\n ]"));
        QVERIFY(!textArgs(log).contains("INFO: ORVA Command Sent [ blower=1\r\n ]"));
        QVERIFY(!worker.serialPort->isOpen());
        QVERIFY(worker.waitWriteRunning());
        QCOMPARE(worker.heldCommand, QByteArray("blower=1\r\n"));

        QVERIFY(pty.reopen());
        worker.reconnectTimer();
        QVERIFY(worker.serialPort->isOpen());
        worker.waitSerialWrite();
        QCOMPARE(confirmed.count(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("blower=1\r\n"), 10000);
    }

    // The unit's frames tell which key it uses: whatever the unit does, the link ends on the key
    // of its frames and reads every frame it sent, also when the unit switches after a frame has
    // shown its key; the IV goes only once the unit took the key on the connection the IV goes
    // on. A refusal, the window's time-out or the operator's close keep what has not gone off the
    // line. Kinds of unit as KeyUnit. Steps: the window's "key", "iv" and "led" commands; the
    // unit's "OK" and "INVALID" answers to the key, "ivOK" (its answer to the IV, which then waits
    // for this step; otherwise it answers at once), "frame" (one under the key it holds), "drop"
    // (what is on the line is lost), "restart"; the unit "lost" and "back" (no command goes before
    // "tick", the held-command timer), "cut" (lost as the timer's tick writes) and "timer" (the
    // timer runs on its own until it holds nothing); "timeout", "close", "open" from the window and
    // "load", the unit's key loaded on the start page.
    void keyChangeSettlesInOrder_data()
    {
        QTest::addColumn<bool>("radio");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QByteArrayList>("line"); // commands heard and answers given, in order
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QStringList>("told"); // what the window hears
        const QString ivDropped =
            QStringLiteral("WARNING: Held ORVA Command Dropped, %1 [ iv <hidden> ]");
        const QString ivGivenUp =
            QStringLiteral("WARNING: ORVA Command Dropped, Key Change Given Up [ iv <hidden> ]");
        const QStringList confirmed{"Confirmed", "Closed"};
        const QStringList seenNew{"SeenNewKey", "Closed"};
        const QStringList seenOld{"SeenOldKey", "Closed"};

        QTest::newRow("answer after the IV")
            << false << "i" << QStringList{"key", "iv", "OK"} << QByteArrayList{"key", "OK", "iv"}
            << QStringList() << confirmed;
        QTest::newRow("answer after the IV, at command")
            << true << "ii" << QStringList{"key", "iv", "OK"} << QByteArrayList{"key", "OK", "iv"}
            << QStringList() << seenNew;
        // Through the radio the IV goes under both keys: a unit that took the key with its
        // answer reads it under the new one, the others under the key before.
        QTest::newRow("answer after the IV, taken with the answer")
            << true << "iii" << QStringList{"key", "iv", "OK"}
            << QByteArrayList{"key", "OK", "iv", "noise"} << QStringList() << seenNew;
        QTest::newRow("refusal after the IV")
            << true << "i" << QStringList{"key", "iv", "INVALID"}
            << QByteArrayList{"key", "INVALID"} << QStringList{ivDropped.arg("Key Refused")}
            << QStringList{"Refused", "SeenOldKey", "Closed"};
        QTest::newRow("time-out before the answer")
            << false << "i" << QStringList{"key", "iv", "timeout", "OK"}
            << QByteArrayList{"key", "OK"} << QStringList{ivDropped.arg("Key Change Timed Out")}
            << seenOld;
        QTest::newRow("time-out before the answer, at command")
            << false << "ii" << QStringList{"key", "iv", "timeout", "OK"}
            << QByteArrayList{"key", "OK"} << QStringList{ivDropped.arg("Key Change Timed Out")}
            << seenNew;
        QTest::newRow("time-out before the answer, taken with the answer")
            << true << "iii" << QStringList{"key", "iv", "timeout", "OK"}
            << QByteArrayList{"key", "OK"} << QStringList{ivDropped.arg("Key Change Timed Out")}
            << seenNew;
        // The IV's answer is the unit's only word that it holds the new key.
        QTest::newRow("IV lost on the line")
            << false << "i" << QStringList{"key", "iv", "OK", "drop", "timeout"}
            << QByteArrayList{"key", "OK", "drop"} << QStringList() << seenOld;
        QTest::newRow("IV lost on the line, at command")
            << true << "ii" << QStringList{"key", "iv", "OK", "drop", "timeout"}
            << QByteArrayList{"key", "OK", "drop"} << QStringList() << seenNew;
        // A unit that answers its IV under the key before and then switches: the answer comes
        // after the change was given up, and the frames behind it come under the new key.
        QTest::newRow("the IV's answer after the time-out")
            << true << "i" << QStringList{"key", "iv", "OK", "timeout", "ivOK"}
            << QByteArrayList{"key", "OK", "noise", "iv", "ivOK"} << QStringList() << confirmed;
        QTest::newRow("the IV's answer after the time-out, taken with the answer")
            << true << "iii" << QStringList{"key", "iv", "OK", "timeout", "ivOK"}
            << QByteArrayList{"key", "OK", "iv", "noise", "ivOK"} << QStringList() << seenNew;
        QTest::newRow("the IV's answer after a close")
            << false << "i" << QStringList{"key", "iv", "OK", "close", "open", "ivOK"}
            << QByteArrayList{"key", "OK", "iv", "ivOK"} << QStringList()
            << QStringList{"GivenUp", "Confirmed", "Closed"};
        QTest::newRow("the IV's answer after a close, taken with the answer")
            << true << "iii" << QStringList{"key", "iv", "OK", "close", "open", "ivOK"}
            << QByteArrayList{"key", "OK", "iv", "noise", "ivOK"} << QStringList()
            << QStringList{"GivenUp"} + seenNew;
        // "Setup...": the link gives the change up, and the frames on the next connection tell
        // which key the unit holds, also when it takes the new key after the first of them.
        QTest::newRow("closed before the answer")
            << false << "i" << QStringList{"key", "iv", "close", "open", "OK"}
            << QByteArrayList{"key", "OK"} << QStringList{ivDropped.arg("Serial Port Closed")}
            << QStringList{"GivenUp", "SeenOldKey", "Closed"};
        QTest::newRow("closed before the answer, at command")
            << true << "ii" << QStringList{"key", "iv", "close", "open", "OK"}
            << QByteArrayList{"key", "OK"} << QStringList{ivDropped.arg("Serial Port Closed")}
            << QStringList{"GivenUp", "SeenNewKey", "Closed"};
        QTest::newRow("closed before the answer, taken with the answer")
            << false << "iii" << QStringList{"key", "iv", "close", "open", "OK"}
            << QByteArrayList{"key", "OK"} << QStringList{ivDropped.arg("Serial Port Closed")}
            << QStringList{"GivenUp"} + seenNew;
        QTest::newRow("closed before the answer, taken with the answer, radio")
            << true << "iii" << QStringList{"key", "iv", "close", "open", "OK"}
            << QByteArrayList{"key", "OK"} << QStringList{ivDropped.arg("Serial Port Closed")}
            << QStringList{"GivenUp"} + seenNew;
        // A late answer after a frame settled the change unsettles it: the unit may switch.
        QTest::newRow("closed before the answer, a frame, then the answer taken with it")
            << true << "iii" << QStringList{"key", "iv", "close", "open", "frame", "OK"}
            << QByteArrayList{"key", "frame", "OK"}
            << QStringList{ivDropped.arg("Serial Port Closed")}
            << QStringList{"GivenUp"} + seenOld + seenNew;
        QTest::newRow("closed, the key taken at its command and never answered")
            << true << "ii" << QStringList{"key", "close", "open"} << QByteArrayList{"key"}
            << QStringList() << QStringList{"GivenUp", "SeenNewKey", "Closed"};
        QTest::newRow("closed after the answer, before the IV")
            << true << "i" << QStringList{"key", "OK", "close", "open", "iv", "tick"}
            << QByteArrayList{"key", "OK"} << QStringList{ivGivenUp}
            << QStringList{"GivenUp", "SeenOldKey", "Closed"};
        QTest::newRow("given while lost, refused when back")
            << false << "i" << QStringList{"lost", "key", "iv", "back", "tick", "INVALID"}
            << QByteArrayList{"lost", "key", "INVALID"} << QStringList{ivDropped.arg("Key Refused")}
            << QStringList{"Refused", "SeenOldKey", "Closed"};
        QTest::newRow("given while lost, confirmed when back")
            << true << "i" << QStringList{"lost", "key", "iv", "back", "tick", "OK"}
            << QByteArrayList{"lost", "key", "OK", "noise", "iv"} << QStringList() << confirmed;
        // A tick whose key is lost with the line leaves the timer running for the next one.
        QTest::newRow("lost as the timer's tick writes the key")
            << false << "i"
            << QStringList{"lost", "key", "iv", "back", "cut", "back", "timer", "OK"}
            << QByteArrayList{"lost", "key", "OK", "iv"} << QStringList() << confirmed;
        // After a loss the key goes again under both keys: the unit may hold either.
        QTest::newRow("lost after the key")
            << true << "i" << QStringList{"key", "lost", "iv", "back", "tick", "OK"}
            << QByteArrayList{"key", "lost", "noise", "key", "OK", "noise", "iv"} << QStringList()
            << confirmed;
        QTest::newRow("lost after the key, taken at its command")
            << true << "ii" << QStringList{"key", "lost", "iv", "back", "tick", "OK"}
            << QByteArrayList{"key", "lost", "key", "noise", "OK", "iv"} << QStringList()
            << seenNew;
        QTest::newRow("lost after the key, taken with the answer")
            << true << "iii" << QStringList{"key", "lost", "iv", "back", "tick", "OK"}
            << QByteArrayList{"key", "lost", "noise", "key", "OK", "iv", "noise"} << QStringList()
            << seenNew;
        QTest::newRow("lost after the answer, before the IV, restarted, confirmed when back")
            << true << "i"
            << QStringList{"key", "OK", "lost", "restart", "iv", "back", "tick", "OK"}
            << QByteArrayList{"key", "OK", "lost", "noise", "key", "OK", "noise", "iv"}
            << QStringList() << confirmed;
        // Confirmed under the new key, the unit comes back from a restart on the key before: the
        // station follows it there, and the key and its IV go again.
        const QStringList backOnOld{"key",  "OK",    "lost", "restart", "iv",
                                    "back", "frame", "tick", "OK"};
        const QStringList newOldNew{"SeenNewKey", "SeenOldKey", "SeenNewKey", "Closed"};
        QTest::newRow("lost after the answer, before the IV, restarted, at command")
            << true << "ii" << backOnOld
            << QByteArrayList{"key", "OK", "lost", "frame", "noise", "key", "OK", "iv"}
            << QStringList() << newOldNew;
        QTest::newRow("lost after the answer, before the IV, restarted, at command, serial")
            << false << "ii" << backOnOld
            << QByteArrayList{"key", "OK", "lost", "frame", "key", "OK", "iv"} << QStringList()
            << newOldNew;
        // Its answer went under the key before, so the station never left that key.
        QTest::newRow("lost after the answer, before the IV, restarted, taken with the answer")
            << true << "iii" << backOnOld
            << QByteArrayList{"key", "OK", "lost", "frame", "noise", "key", "OK", "iv", "noise"}
            << QStringList() << seenNew;
        QTest::newRow("lost after the answer, before the IV, restarted, refused when back")
            << false << "i"
            << QStringList{"key", "OK", "lost", "restart", "iv", "back", "tick", "INVALID"}
            << QByteArrayList{"key", "OK", "lost", "key", "INVALID"}
            << QStringList{ivDropped.arg("Key Refused")}
            << QStringList{"Refused", "SeenOldKey", "Closed"};
        QTest::newRow("an answer to the key on the lost line confirms nothing")
            << false << "i" << QStringList{"key", "iv", "lost", "back", "OK", "tick", "OK"}
            << QByteArrayList{"key", "lost", "OK", "key", "OK", "iv"} << QStringList() << confirmed;
        QTest::newRow("a late answer on the next connection, at command")
            << false << "ii" << QStringList{"key", "iv", "lost", "back", "OK", "tick", "OK"}
            << QByteArrayList{"key", "lost", "OK", "key", "OK", "iv"} << QStringList() << seenNew;
        QTest::newRow("a command while lost keeps a change whose key went out")
            << false << "i" << QStringList{"key", "lost", "led", "iv", "back", "tick", "OK"}
            << QByteArrayList{"key", "lost", "key", "led", "OK", "iv"} << QStringList()
            << confirmed;
        // The operator's key ends the reading of the other one.
        QTest::newRow("a key loaded on the start page after a confirmed change")
            << false << "i" << QStringList{"key", "iv", "OK", "ivOK", "load"}
            << QByteArrayList{"key", "OK", "iv", "ivOK"} << QStringList() << confirmed;
    }
    void keyChangeSettlesInOrder()
    {
        QFETCH(bool, radio);
        QFETCH(QString, kind);
        QFETCH(QStringList, steps);
        QFETCH(QByteArrayList, line);
        QFETCH(QStringList, warnings);
        QFETCH(QStringList, told);
        PtyPair pty;
        Probe worker;
        worker.setRetryIntervals(60000, 60000); // the test says when the port and timer act
        worker.setFrameTimeout(kFrameAgeLimitMs);
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.setEncryptionKey(kOldKey.toBase64(), kOldIv.toBase64());
        worker.openSerialPort(pty.portPath());
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);
        Recorder rec(&worker);
        KeyUnit unit(pty, radio, kind, steps.contains("ivOK"));
        // Every frame the unit writes is read before the next step.
        const auto allRead = [&] {
            QTRY_COMPARE_WITH_TIMEOUT(decoded.count(), unit.frames, 10000);
        };

        worker.beginKeyChange(kNewKey.toBase64(), kNewIv.toBase64(), radio);
        for (const QString& step : qAsConst(steps)) {
            if (step == "key") {
                worker.setCommandBuffer("key" + kNewKey.toBase64() + "\r");
            } else if (step == "iv") {
                worker.setCommandBuffer("iv" + kNewIv.toBase64() + "\r");
            } else if (step == "led") {
                worker.setCommandBuffer("led ON\r\n");
            } else if (step == "OK" || step == "INVALID") {
                unit.read(step == "INVALID");
                unit.answerKey(step.toLatin1());
            } else if (step == "ivOK" || step == "frame") {
                unit.read(false);
                unit.heard << step.toLatin1();
                if (step == "ivOK")
                    unit.answerIv();
                else
                    unit.write(unitsim::orvaAnswer('6', {"STATUS OK"}));
            } else if (step == "drop") {
                QSignalSpy polled(&pty, &PtyPair::polled);
                QVERIFY(polled.wait(10000));
                pty.takeReceived();
                unit.heard << "drop";
            } else if (step == "restart") {
                unit.restart();
            } else if (step == "lost") {
                unit.read(false);
                unit.heard << "lost";
                allRead();
                pty.closeMaster();
                QTRY_VERIFY_WITH_TIMEOUT(!worker.serialPort->isOpen(), 10000);
            } else if (step == "back") {
                QVERIFY(pty.reopen());
                worker.reconnectTimer();
                QVERIFY(worker.serialPort->isOpen());
            } else if (step == "cut") {
                worker.setRetryIntervals(60000, 20);
                pty.closeMaster();
                worker.waitSerialWrite();
                QVERIFY(!worker.serialPort->isOpen());
            } else if (step == "timer") {
                QTRY_VERIFY_WITH_TIMEOUT(!worker.waitWriteRunning(), 10000);
            } else if (step == "tick") {
                worker.waitSerialWrite();
            } else if (step == "timeout") {
                worker.stopSendingKeyChange("Key Change Timed Out");
            } else if (step == "close") {
                worker.closeSerialPort();
            } else if (step == "load") {
                // From now on a frame under the change's other key is not read.
                worker.setEncryptionKey(unit.key.toBase64(), unit.iv.toBase64());
                QSignalSpy status(&worker, &data_incoming::sendEncryptionStatus);
                const QByteArray other = unit.key == kOldKey ? kNewKey : kOldKey;
                QVERIFY(pty.write(unitsim::orvaFrame(
                    'F', unitsim::encryptText(other, kOldIv, 0,
                                              unitsim::orvaAnswer('6', {"STATUS OK"})))));
                QTRY_VERIFY_WITH_TIMEOUT(spyArgs<int>(status).contains(IncomingDecryptError),
                                         10000);
            } else {
                worker.openSerialPort(pty.portPath());
            }
            allRead();
            if (QTest::currentTestFailed())
                return;
        }
        unit.read(false);
        allRead();
        // The unit's next frame, under the key it holds, is read and leaves the link on that key.
        unit.write(unitsim::orvaAnswer('6', {"STATUS OK"}));
        allRead();
        QCOMPARE(unit.heard, line);
        QCOMPARE(rec.log.filter("WARNING:"), warnings);
        QCOMPARE(rec.told, told);
        QCOMPARE(worker.encryptionKey, unit.key.toBase64());
        // Neither the key nor the IV shows in the log, whatever became of them.
        const QString log = rec.log.join('\n');
        QVERIFY(!log.contains(kNewKey.toBase64()) && !log.contains(kNewIv.toBase64()));
    }

    void commandWithoutDeviceTypeDropped()
    {
        PtyPair pty;
        Probe worker;
        worker.openSerialPort(pty.portPath());
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        worker.setCommandBuffer("status\r\n");
        QCOMPARE(log.count(), 0);
        QVERIFY(!worker.waitWrite());
        QVERIFY(worker.pendingCommands.isEmpty());
        QTest::qWait(30);
        QVERIFY(pty.received().isEmpty());
    }

    void brqCommandsWaitForPrompt()
    {
        PtyPair pty;
        Probe worker;
        worker.openBrq(pty.portPath());
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy confirmed(&worker, &data_incoming::sendCommandConfirmation);

        worker.setCommandBuffer("m0\r");
        worker.setCommandBuffer("I5\r");
        QCOMPARE(worker.pendingCommands, QByteArray("m0\r I5\r"));
        QCOMPARE(log.count() + confirmed.count(), 0);

        for (int tick = 1; tick <= 3; ++tick) {
            worker.dataTimer();
            QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray(4 * tick, ' '), 10000);
        }
        QVERIFY(worker.transmitQueue.isEmpty());
        QCOMPARE(worker.pendingCommands, QByteArray("m0\r I5\r"));
    }

    void brqQueueOneBytePerTick()
    {
        PtyPair pty;
        Probe worker;
        worker.openBrq(pty.portPath());
        const QByteArray bytes("GE12\r");
        worker.transmitQueue = bytes;

        for (int tick = 1; tick <= 5; ++tick) {
            worker.dataTimer();
            QCOMPARE(worker.transmitQueue, bytes.mid(tick));
            QTRY_COMPARE_WITH_TIMEOUT(pty.received(), bytes.left(tick), 10000);
        }
        worker.dataTimer();
        QTest::qWait(30);
        QCOMPARE(pty.received(), bytes);
    }

    // A command given while another is going out waits until that one is complete.
    void brqCommandInTransmitIsNotInterrupted()
    {
        PtyPair pty;
        Probe worker;
        worker.openBrq(pty.portPath());
        worker.transmitQueue = "m0\r";
        worker.setCommandBuffer("I5\r");

        for (int tick = 0; tick < 4; ++tick)
            worker.dataTimer();
        QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("m0\r    "), 10000);
        QCOMPARE(worker.pendingCommands, QByteArray("I5\r"));
    }

    // A closed port takes nothing, so nothing may leave the queues.
    void brqClosedPortTickSkips()
    {
        Probe worker;
        worker.pacingTimer->stop();
        worker.setDeviceTypeState(DeviceTypes::BRQ);
        worker.transmitQueue = "ab";
        worker.dataTimer();
        worker.dataTimer();
        QCOMPARE(worker.transmitQueue, QByteArray("ab"));
        worker.setCommandBuffer("m1\r");
        worker.dataTimer();
        QCOMPARE(worker.pendingCommands, QByteArray("m1\r"));
        QCOMPARE(idleTicks, 3);
    }

    void receivedBytesDispatched_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<bool>("devMode");
        QTest::addColumn<QString>("parser");
        QTest::newRow("BRQ") << 1 << false << false << "brq";
        QTest::newRow("ORVA") << 2 << false << false << "orva";
        QTest::newRow("legacy ORVA") << 2 << true << false << "legacy";
        QTest::newRow("no device type") << 0 << false << false << "none";
        QTest::newRow("dev mode") << 2 << false << true << "none";
    }
    void receivedBytesDispatched()
    {
        QFETCH(int, device);
        QFETCH(bool, legacy);
        QFETCH(bool, devMode);
        QFETCH(QString, parser);
        PtyPair pty;
        Probe worker;
        worker.pacingTimer->stop();
        worker.setDeviceTypeState(static_cast<DeviceTypes>(device));
        worker.legacyorvadevicecheck(legacy);
        worker.setDevModeState(devMode);
        worker.openSerialPort(pty.portPath());
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);

        const QByteArray bytes("@0\x00\xff\r\n~", 7);
        QVERIFY(pty.write(bytes));
        QTRY_COMPARE_WITH_TIMEOUT(worker.lastRead, bytes, 10000);

        const data_incoming::PendingCalls& calls = worker.pendingCalls();
        QCOMPARE(calls.brqCalls, parser == "brq" ? 1 : 0);
        QCOMPARE(calls.orvaCalls, parser == "orva" ? 1 : 0);
        QCOMPARE(calls.orvaLegacyCalls, parser == "legacy" ? 1 : 0);
        if (parser == "brq")
            QCOMPARE(calls.lastBrq, bytes);
        if (parser == "orva")
            QCOMPARE(calls.lastOrva, bytes);
        if (parser == "legacy")
            QCOMPARE(calls.lastOrvaLegacy, bytes);

        if (device == 0) {
            QCOMPARE(textArgs(log),
                     QStringList{"ERROR: Device Type Not Set, Unable to parse Data. "});
            QCOMPARE(textArgs(errors),
                     QStringList{"CRITICAL: Device Type Not Set, unable to parse data."});
        } else {
            QCOMPARE(log.count() + errors.count(), 0);
        }
    }

    void debugFileFedToOrvaParser()
    {
        const QString path =
            QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                            "/VD_debug_msgs.txt");
        QFile::remove(path);
        Probe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);

        worker.debugORVApacket();
        QCOMPARE(worker.pendingCalls().orvaCalls, 0);
        QCOMPARE(log.count(), 0);

        const QByteArray content("@6:status=OK~0000\r\n\r\n@6:second~0000\r\n\r\n");
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        worker.debugORVApacket();
        QFile::remove(path);
        QCOMPARE(worker.pendingCalls().orvaCalls, 1);
        QCOMPARE(worker.pendingCalls().lastOrva, content);
        QVERIFY(worker.pendingCalls().orvaBypassDuringCall);
        QVERIFY(!worker.verifyBypass);
    }

    void resourceErrorStartsOneReconnectTimer()
    {
        PtyPair pty;
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.openSerialPort(pty.portPath());
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);

        worker.handleError(QSerialPort::ResourceError);
        QVERIFY(!worker.serialPort->isOpen());
        QVERIFY(worker.resourceErrorSeen && worker.reconnectActive);
        QVERIFY(worker.reconnectRunning());
        QCOMPARE(worker.reconnect()->interval(), 30000);
        QVERIFY(textArgs(log).contains(kClosed + pty.portPath()));
        QVERIFY(textArgs(log).filter(kLost).size() == 1);
        QCOMPARE(textArgs(errors).filter(kLostShown).size(), 1);

        worker.handleError(QSerialPort::ResourceError);
        QCOMPARE(worker.reconnectTimers(), 1);

        worker.reconnectTimer();
        QVERIFY(worker.serialPort->isOpen());
        QVERIFY(!worker.reconnectRunning());
        QVERIFY(!worker.resourceErrorSeen && !worker.reconnectActive);

        worker.handleError(QSerialPort::ResourceError);
        QVERIFY(worker.reconnectRunning());
        QCOMPARE(worker.reconnectTimers(), 1);
    }

    void otherErrorsOnlyReported()
    {
        PtyPair pty;
        Probe worker;
        worker.openSerialPort(pty.portPath());
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);
        // A pseudo-terminal refuses 7 data bits: the port reports it and stays open.
        worker.serialPort->setDataBits(QSerialPort::Data7);
        QVERIFY(worker.serialPort->isOpen());
        QVERIFY(!worker.reconnect());
        QVERIFY(textArgs(errors).contains("ERROR: Serial Port Error"));
    }

    // A command held for one connection must not go out on the next one.
    void closeDropsTheHeldCommand()
    {
        PtyPair pty;
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.setCommandBuffer("led ON\r\n");
        QVERIFY(worker.waitWriteRunning());
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        worker.closeSerialPort();
        QVERIFY(!worker.waitWriteRunning());
        QVERIFY(worker.heldCommand.isEmpty());
        // The operator learns which command never went out.
        QCOMPARE(textArgs(log).first(),
                 QStringLiteral("WARNING: Held ORVA Command Dropped, Serial Port Closed [ led "
                                "ON\r\n ]"));

        worker.openSerialPort(pty.portPath());
        worker.waitSerialWrite();
        QTest::qWait(50);
        QVERIFY(pty.received().isEmpty());

        // A BRQ command waiting for the prompt, and the rest of one going out, neither.
        PtyPair brq;
        Probe next;
        next.pacingTimer->stop();
        next.setDeviceTypeState(DeviceTypes::BRQ);
        next.setCommandBuffer("C1\r");
        next.transmitQueue = " S1\r";
        next.closeSerialPort();
        next.openSerialPort(brq.portPath());
        for (int tick = 0; tick < 3; ++tick)
            next.dataTimer();
        QTest::qWait(50);
        QVERIFY(brq.received().isEmpty());
    }

    // A port the operator closed must stay closed.
    void closeStopsReconnecting()
    {
        PtyPair pty;
        Probe worker;
        worker.setRetryIntervals(20, 20);
        worker.openSerialPort(pty.portPath());
        worker.handleError(QSerialPort::ResourceError);
        QVERIFY(worker.reconnectRunning());

        worker.closeSerialPort();
        QVERIFY(!worker.reconnectRunning());
        QVERIFY(!worker.resourceErrorSeen && !worker.reconnectActive);
        QTest::qWait(100);
        QVERIFY(!worker.serialPort->isOpen());
    }

    // The unit disappears and comes back, with the worker on its own thread as in the
    // application, and every timer running by itself.
    void lostPortComesBack()
    {
        PtyPair pty;
        auto* worker = new Probe();
        worker->setRetryIntervals(50, 50);
        Recorder rec(worker);
        WorkerThread running(worker);

        QMetaObject::invokeMethod(worker, "setDeviceTypeState",
                                  Q_ARG(DeviceTypes, DeviceTypes::ORVA));
        QMetaObject::invokeMethod(worker, "openSerialPort", Q_ARG(QString, pty.portPath()));
        QMetaObject::invokeMethod(worker, "setCommandBuffer", Q_ARG(QByteArray, "icao?\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("icao?\r\n"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(rec.confirmations, 1, 10000);

        for (int loss = 1; loss <= 2; ++loss) {
            pty.closeMaster();
            QTRY_COMPARE_WITH_TIMEOUT(rec.logCount(kLost), loss, 10000);
            // A vanished pseudo-terminal repeats its read error without end unless the port
            // is closed at the first one.
            QTest::qWait(200);
            QCOMPARE(rec.logCount(kLost), loss);
            QCOMPARE(rec.errors.filter(kLostShown).size(), loss);
            // Each reconnect attempt, every 50 ms, logs its error and that the port did not open.
            const int reconnects =
                rec.logCount(QStringLiteral("ERROR: Unable to Open Serial Port"));
            QVERIFY2(rec.log.size() - 2 * reconnects < 40 * loss, qPrintable(rec.log.join('\n')));

            const QByteArray cmd = "frequency?" + QByteArray::number(loss) + "\r\n";
            QMetaObject::invokeMethod(worker, "setCommandBuffer", Q_ARG(QByteArray, cmd));
            pty.clearReceived();
            QVERIFY(pty.reopen());
            QTRY_COMPARE_WITH_TIMEOUT(rec.logCount(kOpened), loss + 1, 10000);
            QTRY_COMPARE_WITH_TIMEOUT(pty.received(), cmd, 10000);
            QTRY_COMPARE_WITH_TIMEOUT(rec.confirmations, loss + 1, 10000);

            bool reconnecting = true;
            bool waiting = true;
            int timers = 0;
            onWorker(worker, [&] {
                reconnecting = worker->reconnectRunning();
                waiting = worker->waitWriteRunning();
                timers = worker->reconnectTimers();
            });
            QVERIFY(!reconnecting);
            QVERIFY(!waiting);
            QCOMPARE(timers, 1);
        }

        QMetaObject::invokeMethod(worker, "closeSerialPort");
        QTRY_COMPARE_WITH_TIMEOUT(rec.logCount(kClosed + pty.portPath()), 3, 10000);
    }

    // On its own thread the pacing timer wakes a BRQ unit with blanks while commands wait.
    void brqWakeUpOnWorkerThread()
    {
        PtyPair pty;
        auto* worker = new Probe();
        WorkerThread running(worker);

        QMetaObject::invokeMethod(worker, "setDeviceTypeState",
                                  Q_ARG(DeviceTypes, DeviceTypes::BRQ));
        QMetaObject::invokeMethod(worker, "openSerialPort", Q_ARG(QString, pty.portPath()));
        QMetaObject::invokeMethod(worker, "setCommandBuffer", Q_ARG(QByteArray, "m0\r"));
        QTRY_VERIFY_WITH_TIMEOUT(pty.received().size() >= 8, 10000);
        QMetaObject::invokeMethod(worker, "closeSerialPort", Qt::BlockingQueuedConnection);
        const QByteArray got = pty.received();
        QCOMPARE(got.size() % 4, 0);
        QCOMPARE(got, QByteArray(got.size(), ' '));
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
