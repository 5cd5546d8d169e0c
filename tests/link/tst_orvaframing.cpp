#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "link/linkcrypto.h"
#include "link/packetcode.h"
#include "tests/link/linktest.h"
#include "tests/support/recordtext.h"
#include "tests/support/runonthread.h"
#include "tools/unitsim/ptypair.h"
#include "tools/unitsim/unitframes.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QtTest>

using unitsim::orvaAnswer;
using unitsim::orvaChecksum;
using unitsim::orvaFrame;
using unitsim::packetEncode;
using unitsim::PtyPair;

namespace
{

// Opens the worker's state to the test.
class Probe : public data_incoming
{
public:
    using data_incoming::aesErrorCount;
    using data_incoming::data_incoming;
    using data_incoming::emptyRecord;
    using data_incoming::frameTimer;
    using data_incoming::verifyBypass;

    // A key change whose key has reached the unit, as far as the link can know.
    void keyWentOut(const QByteArray& key, const QByteArray& iv)
    {
        beginKeyChange(key, iv, false);
        keyChange.step = KeyStep::OnLine;
        keyChange.keyWentOut = true;
    }
};

const QByteArray kKeyNotSet("CRITICAL: Encryption Key Not Set, Unable to Decrypt Data");
const QByteArray kAesError("CRITICAL: AES_ERROR, Unable to Decrypt Data");

// The key and IV of the known encrypted frame below (key bytes 0..31, IV bytes A0..A7).
const QByteArray kKey("AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8=");
const QByteArray kIv("oKGio6Slpqc=");

// Enciphered with an independent AES-256-CTR implementation: counter block 00000000 A0..A7
// 00000000, six padding bytes of 6, Base64 with "-" for value 63.
const QByteArray kKnownEncrypted(
    "@F00AAAAAKChoqOkpaanAAAAABzuejddNiNp0ifys7nypSad6SSPOzwwp1lOKNDKTY7U~178C\r\n\r\n");
const QByteArray kKnownPlain("@600\r\nSTATUS OK\r\n~0420\r\n\r\n");

QByteArray statusFrame(const QByteArray& text)
{
    return orvaAnswer('6', {text});
}

QByteArray statusLine(const QByteArray& frame)
{
    return "INFO: ORVA Status Message Received [ " + frame + " ]";
}

// Text mode of the link encryption with a limit large enough for any test frame.
QByteArray encrypt(const QByteArray& key, const QByteArray& plain)
{
    QByteArray out(8192, '\0');
    quint16 length = 0;
    const bool failed = aesEncryptMessage(
        QByteArray::fromBase64(key), 7, QByteArray::fromBase64(kIv), plain.constData(),
        quint16(plain.size()), out.data(), &length, quint16(out.size()), false);
    return failed ? QByteArray() : out.left(length - 1);
}

// The unit on a real port to a worker on its own thread whose partial frames age only by the
// silences the test passes over them. Each write is read before the next one goes.
class OrvaLine
{
public:
    OrvaLine() : worker(new data_incoming), thread(worker)
    {
        QObject::connect(worker, &data_incoming::sendRawData, &context,
                         [this](const QByteArray& bytes) { read += bytes.size(); });
        QObject::connect(worker, &data_incoming::sendLogMsg, &context,
                         [this](const QByteArray& line) { log << line; });
    }
    // Opens the port with the key and IV loaded when a key is given; the log starts empty.
    bool open(const QByteArray& key, const QByteArray& iv)
    {
        runOnThread(worker, [&] {
            worker->setDeviceTypeState(DeviceTypes::ORVA);
            worker->setFrameTimeout(kFrameAgeLimitMs);
            if (!key.isEmpty())
                worker->setEncryptionKey(key, iv);
            worker->openSerialPort(pty.portPath());
        });
        const bool opened = QTest::qWaitFor(
            [this] { return !log.isEmpty() && log.last().contains("Opened Serial Port"); }, 10000);
        log.clear();
        return opened;
    }
    bool write(const QByteArray& bytes)
    {
        sent += bytes.size();
        return pty.write(bytes) && QTest::qWaitFor([this] { return read >= sent; }, 10000);
    }
    // The line stays silent for `ms` behind what was written.
    void silence(int ms)
    {
        runOnThread(worker, [this, ms] { worker->ageFrame(ms); });
    }

    PtyPair pty;
    data_incoming* worker;
    QByteArrayList log;

private:
    QObject context;
    WorkerThread thread;
    qint64 sent = 0;
    qint64 read = 0;
};

// A weather frame of the size of a real full record (about 1 kB; 1.4 kB once encrypted).
QByteArray fullRecordFrame(const QString& temperature)
{
    const QString record = buildRecord({
        {"N", {"METAR", "0", "0", "0", "KVDS", "1", "1"}},
        {"B", {"12.6", "60", "0", "E1", "0", "60"}},
        {"T", {"24/03/05,17:55:00"}},
        {"IR", {"0", "0", "0", "KVDS"}},
        {"WI", {"8", "240", "9", "240"}},
        {"GU", {"0", "0", "12", "250", "0", "0", "0", "0"}},
        {"TA", {temperature}},
        {"RH", {"55"}},
        {"BA", {"1013.2", "2992", "0.0"}},
        {"CL", {"1", "90", "250", "0", "0", "0", "0", "2", "6", "0", "0", "0", "0", "760"}},
        {"PW", {"0.0", "XX", "0", "16.0", "16.0", "XX"}},
        {"LT", {"0", "0", "0", "0", "0", "0"}},
        {"PA", {"0", "0", "0", "0", "0", "0.00", "0.00", "0.00", "0.00"}},
        {"ZZ", {QString(640, QLatin1Char('0'))}}, // the rest of a full record, unread here
    });
    return orvaFrame('0', record.toUtf8());
}

void feed(data_incoming& worker, const QByteArrayList& chunks)
{
    for (const QByteArray& chunk : chunks)
        worker.parseData_ORVA(chunk);
}

} // namespace

class TestOrvaFraming : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        registerSharedMetaTypes();
        initPacketCodeTables();
    }
    void init() { frameBuffer.clear(); }

    // Test frames are only as good as the builder that makes them.
    void frameBuilder()
    {
        // "@301\r\nfrequency=60\r\n~": 212 + 23 + 1141 + 23 + 126 = 1525 = 0x05F5.
        const QByteArray known("@301\r\nfrequency=60\r\n~05F5\r\n\r\n");
        QCOMPARE(orvaAnswer('3', {"frequency=60"}, "01"), known);
        // 300 x 255 = 76500, less 65536 = 10964 = 0x2AD4: the sum wraps at 16 bits.
        QCOMPARE(orvaChecksum(QByteArray(300, '\xff')), QByteArray("2AD4"));

        QCOMPARE(packetEncode("2"), QByteArray("\x50", 1));
        QCOMPARE(packetEncode("A:"), QByteArray("\xc2\x00", 2));
        // CR 10101, "~" 1111100, four zero bits: 1010 1111 1100 0000.
        QCOMPARE(packetEncode("\r\n~"), QByteArray("\xaf\xc0", 2));
        bool ok = true;
        QVERIFY(packetEncode("a", &ok).isEmpty());
        QVERIFY(!ok);
    }

    void verifyPacket_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("bypass");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("debugLine");
        const QByteArray known("@301\r\nfrequency=60\r\n~05F5\r\n\r\n");
        // Sums to 0x0800, so a low pair that is no number reads as the 00 it needs.
        const QByteArray zeroLow("@600\r\nSTATUS XXXXXXXXXXXXZ\r\n~08zz\r\n\r\n");

        QTest::newRow("known frame") << known << false << true << QString();
        QTest::newRow("lower-case digits")
            << QByteArray("@301\r\nfrequency=60\r\n~05f5\r\n\r\n") << false << true << QString();
        QTest::newRow("sum off by one")
            << QByteArray("@301\r\nfrequency=60\r\n~05F6\r\n\r\n") << false << false << QString();
        QTest::newRow("high and low swapped")
            << QByteArray("@301\r\nfrequency=60\r\n~F505\r\n\r\n") << false << false << QString();
        QTest::newRow("low pair not a number") << zeroLow << false << true << QString();
        QTest::newRow("high pair not a number")
            << QByteArray("@600\r\nSTATUS XXXXXXXXXXXXZ\r\n~zz00\r\n\r\n") << false << false
            << QString();
        QTest::newRow("no tilde") << QByteArray("@301\r\nfrequency=60\r\n05F5\r\n\r\n") << false
                                  << false << "NO ~";
        QTest::newRow("five checksum digits")
            << QByteArray("@301\r\nfrequency=60\r\n~05F50\r\n\r\n") << false << false
            << "BAD LENGTH ~";
        QTest::newRow("tilde inside the checksum")
            << QByteArray("@301\r\nfrequency=60\r\n~05~5\r\n\r\n") << false << false
            << "BAD LENGTH ~";
        QTest::newRow("bypass takes anything")
            << QByteArray("@6 no tail\r\n\r\n") << true << true << QString();
    }
    void verifyPacket()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, bypass);
        QFETCH(bool, expected);
        QFETCH(QString, debugLine);
        Probe worker;
        worker.verifyBypass = bypass;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);

        DebugOutput debug;
        if (!debugLine.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, debugLine.toLatin1().constData());
        QCOMPARE(worker.verify_packet(frame), expected);
        QCOMPARE(log.count() + errors.count(), 0);
    }

    // However the bytes are cut into reads, the same frames come out, in order.
    void reassembly_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        const QByteArray a = statusFrame("STATUS A");
        const QByteArray b = statusFrame("STATUS B");
        const QByteArray c = statusFrame("STATUS C");
        const QByteArray all = a + b + c;

        QByteArrayList bytes;
        for (char ch : all)
            bytes << QByteArray(1, ch);
        QByteArrayList insideTerminators;
        for (const QByteArray& f : {a, b, c})
            insideTerminators << f.left(f.size() - 2) << f.right(2);

        QTest::newRow("whole frames") << QByteArrayList{a, b, c};
        QTest::newRow("one read") << QByteArrayList{all};
        QTest::newRow("byte by byte") << bytes;
        QTest::newRow("cut inside each terminator") << insideTerminators;
        QTest::newRow("reads across frame boundaries")
            << QByteArrayList{a + b.left(5), b.mid(5) + c.left(1), c.mid(1)};
        QTest::newRow("noise before and between frames")
            << QByteArrayList{QByteArray("\x00\xff~\r\n", 5) + a, "zz" + b + "\r\n" + c};
        QTest::newRow("six-byte CR LF run after a frame") << QByteArrayList{a + "\r\n" + b, c};
    }
    void reassembly()
    {
        QFETCH(QByteArrayList, chunks);
        Probe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);

        feed(worker, chunks);
        QCOMPARE(byteArgs(log), QByteArrayList({statusLine(statusFrame("STATUS A")),
                                                statusLine(statusFrame("STATUS B")),
                                                statusLine(statusFrame("STATUS C"))}));
        QCOMPARE(decoded.count(), 0);
        QVERIFY(frameBuffer.isEmpty());
    }

    // Every pass reports its input; the passes for further frames of a read get no new bytes.
    void rawDataPerPass()
    {
        Probe worker;
        QSignalSpy raw(&worker, &data_incoming::sendRawData);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        const QByteArray two = statusFrame("ONE") + statusFrame("TWO");

        worker.parseData_ORVA(two);
        QCOMPARE(byteArgs(raw), QByteArrayList({two, QByteArray()}));
        QCOMPARE(log.count(), 2);

        raw.clear();
        worker.parseData_ORVA("@6");
        worker.parseData_ORVA("no frame start");
        QCOMPARE(byteArgs(raw), QByteArrayList({"@6", "no frame start"}));
        QCOMPARE(log.count(), 2);
    }

    // A frame whose payload holds "\r\n\r\n" ends at a later terminator.
    void terminatorInsidePayload_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        const QByteArray frame = orvaFrame('6', "\r\nLINE 1\r\n\r\nLINE 2\r\n");
        const int inner = frame.indexOf("\r\n\r\n") + 4;
        QTest::newRow("one read") << QByteArrayList{frame};
        QTest::newRow("read ends at the inner terminator")
            << QByteArrayList{frame.left(inner), frame.mid(inner)};
    }
    void terminatorInsidePayload()
    {
        QFETCH(QByteArrayList, chunks);
        Probe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        feed(worker, chunks);
        QCOMPARE(byteArgs(log),
                 QByteArrayList{statusLine(orvaFrame('6', "\r\nLINE 1\r\n\r\nLINE 2\r\n"))});
        QVERIFY(frameBuffer.isEmpty());
    }

    // A damaged frame is dropped up to its terminator; the good frames behind it go through.
    void damagedFramesDoNotHoldBack_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArrayList>("passed");
        const QByteArray good = statusFrame("GOOD");
        const QByteArray later = statusFrame("LATER");
        QByteArray badSum = statusFrame("BAD");
        badSum.replace("BAD", "BAX");
        QByteArray noTilde = statusFrame("NO TILDE");
        noTilde.remove(noTilde.lastIndexOf('~'), 1);
        QByteArray fiveDigits = statusFrame("FIVE");
        fiveDigits.insert(fiveDigits.size() - 4, '0');

        QTest::newRow("bad sum, good, same read")
            << QByteArrayList{badSum + good} << QByteArrayList{good};
        QTest::newRow("bad sum, then good in the next read")
            << QByteArrayList{badSum, good} << QByteArrayList{good};
        QTest::newRow("no tilde, good") << QByteArrayList{noTilde + good} << QByteArrayList{good};
        QTest::newRow("five checksum digits, good")
            << QByteArrayList{fiveDigits, good} << QByteArrayList{good};
        QTest::newRow("good, bad, bad, good")
            << QByteArrayList{good + badSum + noTilde + later} << QByteArrayList{good, later};
    }
    void damagedFramesDoNotHoldBack()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArrayList, passed);
        Probe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);

        feed(worker, chunks);
        QByteArrayList expected;
        for (const QByteArray& frame : passed)
            expected << statusLine(frame);
        QCOMPARE(byteArgs(log), expected);
        QCOMPARE(errors.count(), 0);
        QVERIFY(frameBuffer.isEmpty());
    }

    void bufferLimit()
    {
        Probe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);

        // Past 4096 bytes without a frame end, the bytes are given up.
        worker.parseData_ORVA("@6" + QByteArray(4100, 'A'));
        QVERIFY(frameBuffer.isEmpty());
        const QByteArray small = statusFrame("AFTER");
        worker.parseData_ORVA(small);
        QCOMPARE(byteArgs(log), QByteArrayList{statusLine(small)});

        // An encrypted full record is well past the old 1600 bytes; it must survive its reads.
        const QByteArray big = statusFrame(QByteArray(3500, 'R'));
        log.clear();
        feed(worker, {big.left(1000), big.mid(1000, 1000), big.mid(2000, 1000), big.mid(3000)});
        QCOMPARE(byteArgs(log), QByteArrayList{statusLine(big)});

        // The limit does not apply to a read full of complete frames.
        QByteArray many;
        QByteArrayList expected;
        for (int i = 0; i < 40; ++i) {
            const QByteArray frame =
                statusFrame("FRAME " + QByteArray::number(i).rightJustified(100, '0'));
            many += frame;
            expected << statusLine(frame);
        }
        QVERIFY(many.size() > 4096);
        log.clear();
        worker.parseData_ORVA(many);
        QCOMPARE(byteArgs(log), expected);
        QVERIFY(frameBuffer.isEmpty());
    }

    void partialFrameAges()
    {
        Probe worker;
        worker.setFrameTimeout(40);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        const QByteArray frame = statusFrame("SLOW");

        worker.parseData_ORVA(frame.left(10));
        QVERIFY(worker.frameTimer->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!worker.frameTimer->isActive(), 10000);
        worker.parseData_ORVA(frame.mid(10));
        QCOMPARE(log.count(), 0);
        QVERIFY(frameBuffer.isEmpty());

        // Within the period the same frame goes through, and a new frame is not held up.
        worker.setFrameTimeout(60000);
        worker.parseData_ORVA(frame.left(10));
        worker.parseData_ORVA(frame.mid(10));
        QCOMPARE(byteArgs(log), QByteArrayList{statusLine(frame)});
    }

    // A stale partial frame must not swallow the whole frames that follow it.
    void stalePartialGivesWayToNewFrames()
    {
        Probe worker;
        worker.setFrameTimeout(40);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        const QByteArray first = statusFrame("FIRST");
        const QByteArray second = statusFrame("SECOND");

        worker.parseData_ORVA(first.left(10));
        QTRY_VERIFY_WITH_TIMEOUT(!worker.frameTimer->isActive(), 10000);
        worker.parseData_ORVA(first + second);
        QCOMPARE(byteArgs(log), QByteArrayList({statusLine(first), statusLine(second)}));
    }

    void dispatch_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("bit");
        QTest::addColumn<bool>("weather");
        QTest::addColumn<QByteArray>("logLine");
        QTest::addColumn<QByteArray>("lightning");
        QTest::addColumn<bool>("dataLog");
        const QByteArray status = statusFrame("STATUS:OK");
        const QByteArray strike = orvaAnswer('8', {"STRIKE_1:12:270"});
        const QByteArray shown = QByteArray(strike).replace('_', ' ');
        const QByteArray none;

        QTest::newRow("0 routine")
            << orvaAnswer('0', {"T:1"}) << 0 << true << true << none << none << false;
        QTest::newRow("1 METAR") << orvaAnswer('1', {"T:1"}) << 0 << true << true << none << none
                                 << false;
        QTest::newRow("2 SPECI") << orvaAnswer('2', {"T:1"}) << 0 << true << true << none << none
                                 << false;
        QTest::newRow("D high speed")
            << orvaAnswer('D', {"T:1"}) << 0 << false << true << none << none << false;
        QTest::newRow("6 default")
            << status << 0 << false << false << statusLine(status) << none << false;
        QTest::newRow("6 data") << status << 1 << false << false << statusLine(status) << none
                                << true;
        QTest::newRow("6 debug") << status << 2 << false << false << statusLine(status) << none
                                 << true;
        QTest::newRow("8 default") << strike << 0 << false << false << none << shown << false;
        QTest::newRow("8 debug") << strike << 2 << false << false << none << shown << true;
        QTest::newRow("4 ignored")
            << orvaAnswer('4', {"X"}) << 2 << false << false << none << none << false;
        QTest::newRow("7 ignored")
            << orvaAnswer('7', {"X"}) << 2 << false << false << none << none << false;
        QTest::newRow("9 ignored")
            << orvaAnswer('9', {"X"}) << 2 << false << false << none << none << false;
    }
    void dispatch()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, mode);
        QFETCH(bool, bit);
        QFETCH(bool, weather);
        QFETCH(QByteArray, logLine);
        QFETCH(QByteArray, lightning);
        QFETCH(bool, dataLog);
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.setLoggingState(static_cast<LoggingType>(mode));
        QSignalSpy bits(&worker, &data_incoming::sendBITcheckPacket);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy strikes(&worker, &data_incoming::sendLightningCompassData);
        QSignalSpy data(&worker, &data_incoming::sendLogData);
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);

        worker.parseData_ORVA(frame);
        QCOMPARE(byteArgs(bits), bit ? QByteArrayList{frame} : QByteArrayList());
        QCOMPARE(byteArgs(log), logLine.isEmpty() ? QByteArrayList() : QByteArrayList{logLine});
        QCOMPARE(byteArgs(strikes),
                 lightning.isEmpty() ? QByteArrayList() : QByteArrayList{lightning});
        QCOMPARE(decoded.count(), 0);
        if (weather) {
            // The weather step logs every packet with the frame as received.
            QVERIFY(data.count() >= 1);
            QCOMPARE(data.first().at(0).toByteArray(), frame);
        } else if (dataLog) {
            QCOMPARE(data.count(), 1);
            QCOMPARE(data.first().at(0).toByteArray(), lightning.isEmpty() ? frame : lightning);
            QVERIFY(data.first().at(1).toJsonObject().isEmpty());
            QCOMPARE(data.first().at(2).value<DeviceTypes>(), DeviceTypes::ORVA);
        } else {
            QCOMPARE(data.count(), 0);
        }
    }

    // Answer frames reach the answer parsers.
    void answersReachTheirParsers()
    {
        Probe worker;
        QSignalSpy statuses(&worker, &data_incoming::command_status_changed);
        QSignalSpy autocal(&worker, &data_incoming::lightning_autocal_confirmed);
        QSignalSpy radioErrors(&worker, &data_incoming::on_error_station_radio);

        worker.parseData_ORVA(orvaAnswer('3', {"datetime=2024-01-01"}) +
                              orvaAnswer('5', {"auto_cal"}, "0G") + orvaAnswer('R', {"ERROR"}));
        QCOMPARE(statuses.count(), 1);
        QCOMPARE(statuses.first(), QList<QVariant>({int(CmdDateTime), int(CmdStatusSuccess)}));
        QCOMPARE(autocal.count(), 1);
        QCOMPARE(radioErrors.count(), 1);
    }

    void compressedFrames()
    {
        Probe worker;
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy bits(&worker, &data_incoming::sendBITcheckPacket);
        const QByteArray status = statusFrame("STATUS:OK");
        const QByteArray metar = orvaAnswer('1', {"N:1:2:3", "T:12.5"});

        worker.parseData_ORVA(orvaFrame('E', packetEncode(status)) +
                              orvaFrame('E', packetEncode(metar)));
        QCOMPARE(byteArgs(decoded), QByteArrayList({status, metar}));
        QCOMPARE(byteArgs(log), QByteArrayList{statusLine(status)});
        // The inner frame's type decides; the wrapper's own is never dispatched.
        QCOMPARE(byteArgs(bits), QByteArrayList{metar});

        // Bytes after the inner frame's tail are not part of the frame.
        decoded.clear();
        worker.parseData_ORVA(orvaFrame('E', packetEncode(status + "EXTRA")));
        QCOMPARE(byteArgs(decoded), QByteArrayList{status});
    }

    void encryptedFrames()
    {
        Probe worker;
        worker.setEncryptionKey(kKey, kIv);
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);
        QSignalSpy statuses(&worker, &data_incoming::sendEncryptionStatus);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy requests(&worker, &data_incoming::setEncryptionKeyRequired);

        worker.parseData_ORVA(kKnownEncrypted);
        QCOMPARE(byteArgs(decoded), QByteArrayList{kKnownPlain});
        QCOMPARE(spyArgs<int>(statuses), QList<int>{1});
        QCOMPARE(byteArgs(log), QByteArrayList{statusLine(kKnownPlain)});

        // "C": the plaintext is packet code.
        const QByteArray status = statusFrame("STATUS:OK");
        const QByteArray sealed = encrypt(kKey, packetEncode(status));
        QVERIFY(!sealed.isEmpty());
        worker.parseData_ORVA(orvaFrame('C', sealed));
        QCOMPARE(byteArgs(decoded), QByteArrayList({kKnownPlain, status}));
        QCOMPARE(spyArgs<int>(statuses), QList<int>({1, 1}));

        // A full record's worth of cipher text in several reads.
        const QByteArray record = statusFrame(QByteArray(1000, 'W'));
        const QByteArray wrapped = orvaFrame('F', encrypt(kKey, record));
        QVERIFY(wrapped.size() > 1300);
        feed(worker, {wrapped.left(700), wrapped.mid(700)});
        QCOMPARE(byteArgs(decoded).last(), record);
        QCOMPARE(byteArgs(log).last(), statusLine(record));
        QCOMPARE(requests.count(), 0);
    }

    void keyMissing_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("iv");
        QTest::newRow("nothing loaded") << QByteArray() << QByteArray();
        QTest::newRow("no key") << QByteArray() << kIv;
        QTest::newRow("key of 31 bytes") << QByteArray(31, 'k').toBase64() << kIv;
        QTest::newRow("key of 33 bytes") << QByteArray(33, 'k').toBase64() << kIv;
    }
    void keyMissing()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, iv);
        Probe worker;
        if (!key.isEmpty() || !iv.isEmpty())
            worker.setEncryptionKey(key, iv);
        QSignalSpy statuses(&worker, &data_incoming::sendEncryptionStatus);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);
        QSignalSpy requests(&worker, &data_incoming::setEncryptionKeyRequired);
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);

        // Every encrypted frame asks for the key again.
        for (int i = 0; i < 3; ++i)
            worker.parseData_ORVA(kKnownEncrypted);
        QCOMPARE(spyArgs<int>(statuses), QList<int>({2, 2, 2}));
        QCOMPARE(byteArgs(log), QByteArrayList({kKeyNotSet, kKeyNotSet, kKeyNotSet}));
        QCOMPARE(errors.count(), 3);
        QCOMPARE(errors.last().at(0).toString(), QString::fromLatin1(kKeyNotSet));
        QCOMPARE(requests.count(), 3);
        QCOMPARE(decoded.count(), 0);
        QCOMPARE(worker.aesErrorCount, quint16(0));

        // The frame is consumed; the one behind it in the same read goes through at once.
        log.clear();
        const QByteArray first = statusFrame("FIRST");
        worker.parseData_ORVA(kKnownEncrypted + first);
        QCOMPARE(byteArgs(log), QByteArrayList({kKeyNotSet, statusLine(first)}));
        QVERIFY(frameBuffer.isEmpty());
    }

    // The counter block travels in the message: whatever the IV, the key deciphers the frame.
    void ivIsNotNeededToDecrypt_data()
    {
        QTest::addColumn<QByteArray>("iv");
        QTest::newRow("no IV") << QByteArray();
        QTest::newRow("IV of 7 bytes") << QByteArray(7, 'v').toBase64();
        QTest::newRow("IV not Base64") << QByteArray("%%%%");
    }
    void ivIsNotNeededToDecrypt()
    {
        QFETCH(QByteArray, iv);
        Probe worker;
        worker.setEncryptionKey(kKey, iv);
        QSignalSpy statuses(&worker, &data_incoming::sendEncryptionStatus);
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);
        worker.parseData_ORVA(kKnownEncrypted);
        QCOMPARE(spyArgs<int>(statuses), QList<int>{1});
        QCOMPARE(byteArgs(decoded), QByteArrayList{kKnownPlain});
    }

    // The keys the window hands over, in order; "+" marks a change whose key went out, under which
    // frames are read until the operator's key replaces both.
    void decryptionFailures_data()
    {
        QTest::addColumn<QByteArrayList>("keys");
        QByteArray wrong(32, '\0');
        for (int i = 0; i < 32; ++i)
            wrong[i] = char(i + 1);
        QTest::newRow("wrong key") << QByteArrayList{wrong.toBase64()};
        QTest::newRow("the key before a third one")
            << QByteArrayList{QByteArray(32, 'o').toBase64(), "+" + kKey, wrong.toBase64()};
    }
    void decryptionFailures()
    {
        QFETCH(QByteArrayList, keys);
        Probe worker;
        for (const QByteArray& key : qAsConst(keys)) {
            if (key.startsWith('+'))
                worker.keyWentOut(key.mid(1), kIv);
            else
                worker.setEncryptionKey(key, kIv);
        }
        QSignalSpy statuses(&worker, &data_incoming::sendEncryptionStatus);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);
        QSignalSpy requests(&worker, &data_incoming::setEncryptionKeyRequired);
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);

        worker.parseData_ORVA(kKnownEncrypted);
        QCOMPARE(spyArgs<int>(statuses), QList<int>{2});
        QCOMPARE(byteArgs(log), QByteArrayList{kAesError});
        // The error pane shows the key text, which tells the operator what to do.
        QCOMPARE(errors.first().at(0).toString(), QString::fromLatin1(kKeyNotSet));
        QCOMPARE(worker.aesErrorCount, quint16(1));

        // The key is asked for again on every tenth failure.
        for (int i = 2; i <= 25; ++i) {
            worker.parseData_ORVA(kKnownEncrypted);
            QCOMPARE(requests.count(), i / 10);
        }
        QCOMPARE(statuses.count(), 25);
        QCOMPARE(decoded.count(), 0);

        // After 1024 failures the count starts over at 1.
        worker.aesErrorCount = 1019;
        requests.clear();
        for (int i = 0; i < 5; ++i)
            worker.parseData_ORVA(kKnownEncrypted);
        QCOMPARE(requests.count(), 1); // at 1020
        QCOMPARE(worker.aesErrorCount, quint16(1));
        for (int i = 0; i < 8; ++i)
            worker.parseData_ORVA(kKnownEncrypted);
        QCOMPARE(requests.count(), 1);
        worker.parseData_ORVA(kKnownEncrypted);
        QCOMPARE(requests.count(), 2);
        QCOMPARE(worker.aesErrorCount, quint16(10));
    }

    // Once a new key has gone out, the unit may write under either key: each frame is read, and
    // only one that reads whole under the new key (its inner checksum too, not its first byte
    // alone) shows that key in use.
    void framesDuringAKeyChange_data()
    {
        QTest::addColumn<QByteArrayList>("frames"); // "old", "new", "new, broken": key and state
        QTest::addColumn<QStringList>("told");
        QTest::newRow("under the new key") << QByteArrayList{"new"} << QStringList{"SeenNewKey"};
        QTest::newRow("under the key in use, then the new key")
            << QByteArrayList{"old", "new"} << QStringList{"SeenNewKey"};
        QTest::newRow("under the new key, its inner checksum broken")
            << QByteArrayList{"new, broken", "old"} << QStringList();
    }
    void framesDuringAKeyChange()
    {
        QFETCH(QByteArrayList, frames);
        QFETCH(QStringList, told);
        const QByteArray waiting = QByteArray(32, 'n').toBase64();
        Probe worker;
        worker.setEncryptionKey(kKey, kIv);
        worker.keyWentOut(waiting, kIv);
        QSignalSpy statuses(&worker, &data_incoming::sendEncryptionStatus);
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);
        QStringList heard;
        connect(&worker, &data_incoming::encryption_parse_confirmed, &worker,
                [&heard](KeyChangeState state) { heard << keyChangeStateName(state); });
        QByteArrayList read;
        for (const QByteArray& kind : qAsConst(frames)) {
            QByteArray frame = statusFrame("UNDER THE " + kind.toUpper() + " KEY");
            if (kind.endsWith("broken")) {
                const int digit = frame.indexOf('~') + 1;
                frame[digit] = frame.at(digit) == '0' ? '1' : '0';
            } else {
                read << frame;
            }
            worker.parseData_ORVA(
                orvaFrame('F', encrypt(kind.startsWith("new") ? waiting : kKey, frame)));
        }
        QCOMPARE(byteArgs(decoded), read);
        QCOMPARE(spyArgs<int>(statuses).count(1), read.size());
        QCOMPARE(heard, told);
    }

    // Wrappers that cannot hold a frame are dropped without touching anything outside them;
    // the frame behind them still goes through.
    void unusableWrappers_data()
    {
        QTest::addColumn<QByteArray>("wrapper");
        QTest::newRow("F without room for a payload") << orvaFrame('F', "", "0");
        QTest::newRow("E without room for a payload") << orvaFrame('E', "", "");
        QTest::newRow("E payload over 2048 bytes") << orvaFrame('E', QByteArray(2049, 'U'));
        QTest::newRow("E text without a tilde")
            << orvaFrame('E', packetEncode("@600\r\nSTATUS:OK\r\n"));
        QTest::newRow("E text cut short after its tilde")
            << orvaFrame('E', packetEncode("@600\r\nSTATUS:OK\r\n~0A1\r\n"));
    }
    void unusableWrappers()
    {
        QFETCH(QByteArray, wrapper);
        Probe worker;
        worker.setEncryptionKey(kKey, kIv);
        QSignalSpy decoded(&worker, &data_incoming::sendDecodedData);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);
        QSignalSpy statuses(&worker, &data_incoming::sendEncryptionStatus);
        const QByteArray behind = statusFrame("BEHIND");

        worker.parseData_ORVA(wrapper + behind);
        QCOMPARE(decoded.count(), 0);
        QCOMPARE(errors.count() + statuses.count(), 0);
        QCOMPARE(byteArgs(log), QByteArrayList{statusLine(behind)});
        QVERIFY(frameBuffer.isEmpty());
    }

    void debugFileBypassesTheCheck()
    {
        const QString path =
            QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                            "/VD_debug_msgs.txt");
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        const QByteArray first("@600\r\nSTATUS:OK\r\n~0000\r\n\r\n");
        const QByteArray second("@600 NO TAIL\r\n\r\n");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(first + second);
        file.close();

        Probe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        worker.debugORVApacket();
        QFile::remove(path);
        QCOMPARE(byteArgs(log), QByteArrayList({statusLine(first), statusLine(second)}));
        QVERIFY(!worker.verifyBypass);

        // Outside the debug file the same bytes fail their check.
        log.clear();
        worker.parseData_ORVA(first + second);
        QCOMPARE(log.count(), 0);
    }

    // A slow or noisy line on a real port, the worker on its own thread. Between the writes the
    // line falls silent for a part of the age limit of a partial frame, or for the whole of it.
    void slowAndNoisyLine_data()
    {
        QTest::addColumn<QByteArrayList>("writes");
        QTest::addColumn<int>("silenceMs");  // after each write but the last
        QTest::addColumn<QByteArray>("key"); // with an IV of 7 bytes
        QTest::addColumn<QByteArrayList>("log");
        const QByteArray good = statusFrame("GOOD");
        const QByteArray later = statusFrame("LATER");
        const QByteArray slow = statusFrame(QByteArray(300, 'S'));
        QByteArrayList paced; // 16 writes a tenth of the limit apart: 1.5 limits for the frame
        for (int at = 0; at < slow.size(); at += slow.size() / 16 + 1)
            paced << slow.mid(at, slow.size() / 16 + 1);

        QTest::newRow("frame slower than the age limit")
            << paced << kFrameAgeLimitMs / 10 << kKey << QByteArrayList{statusLine(slow)};
        QTest::newRow("@@junk between two frames")
            << QByteArrayList{good + "@@junk" + later} << 0 << kKey
            << QByteArrayList{statusLine(good), statusLine(later)};
        QTest::newRow("truncated frame before a frame") << QByteArrayList{later.left(9) + good} << 0
                                                        << kKey << QByteArrayList{statusLine(good)};
        QTest::newRow("frame missing its final CR LF before a frame")
            << QByteArrayList{later.chopped(2), good} << 0 << kKey
            << QByteArrayList{statusLine(good)};
        QTest::newRow("frame behind an undecryptable one")
            << QByteArrayList{kKnownEncrypted + good} << 0 << QByteArray()
            << QByteArrayList{kKeyNotSet, statusLine(good)};
        QTest::newRow("encrypted frame in slow pieces, IV of 7 bytes")
            << QByteArrayList{kKnownEncrypted.left(30), kKnownEncrypted.mid(30, 30),
                              kKnownEncrypted.mid(60)}
            << kFrameAgeLimitMs * 3 / 5 << kKey << QByteArrayList{statusLine(kKnownPlain)};
        // The rest of the frame holds no "@": it is dropped with the part before the silence.
        QTest::newRow("frame cut by a silence as long as the age limit")
            << QByteArrayList{slow.left(40), slow.mid(40) + good} << kFrameAgeLimitMs << kKey
            << QByteArrayList{statusLine(good)};
    }
    void slowAndNoisyLine()
    {
        QFETCH(QByteArrayList, writes);
        QFETCH(int, silenceMs);
        QFETCH(QByteArray, key);
        QFETCH(QByteArrayList, log);
        OrvaLine line;
        QVERIFY(line.open(key, QByteArray(7, 'v').toBase64()));

        for (int i = 0; i < writes.size(); ++i) {
            if (i > 0)
                line.silence(silenceMs);
            QVERIFY(line.write(writes.at(i)));
        }
        QTRY_COMPARE_WITH_TIMEOUT(line.log, log, 10000);
    }

    // An encrypted full record takes about 1.4 s at 9600 baud, longer than the age limit of a
    // partial frame (1 s by default): it comes in many reads, each close behind the one before,
    // and every record is decoded. Each piece the line carries in 100 ms is followed by a
    // silence of a tenth of the limit.
    void encryptedFullRecordsAt9600Baud()
    {
        OrvaLine line;
        QStringList temperatures;
        QObject context;
        connect(line.worker, &data_incoming::weather_data_received, &context,
                [&](const QJsonObject& r) { temperatures << r["Temperature"].toString(); });
        QVERIFY(line.open(kKey, kIv));

        const int piece = 9600 / 10 / 10; // bytes in 100 ms, ten bits a byte
        const QStringList sent{"11.5", "12.5"};
        for (const QString& t : sent) {
            const QByteArray frame = orvaFrame('F', encrypt(kKey, fullRecordFrame(t)));
            QVERIFY2(frame.size() > 1200, QByteArray::number(frame.size()));
            for (int at = 0; at < frame.size(); at += piece) {
                QVERIFY(line.write(frame.mid(at, piece)));
                line.silence(kFrameAgeLimitMs / 10);
            }
        }
        QTRY_COMPARE_WITH_TIMEOUT(temperatures, sent, 10000);
    }

    // The unit on a serial line: frames cut into arbitrary writes, plain, compressed,
    // encrypted and an answer, reach the worker on its own thread.
    void framesOverSerialPort()
    {
        PtyPair pty;
        auto* worker = new data_incoming;
        QList<QByteArray> log;
        QList<QByteArray> decoded;
        QList<QPair<int, int>> statuses;
        QObject context;
        connect(worker, &data_incoming::sendLogMsg, &context,
                [&](const QByteArray& line) { log << line; });
        connect(worker, &data_incoming::sendDecodedData, &context,
                [&](const QByteArray& frame) { decoded << frame; });
        connect(worker, &data_incoming::command_status_changed, &context,
                [&](int index, int status) { statuses << qMakePair(index, status); });
        WorkerThread thread(worker);
        runOnThread(worker, [&] {
            worker->setDeviceTypeState(DeviceTypes::ORVA);
            worker->setFrameTimeout(kFrameAgeLimitMs);
            worker->setEncryptionKey(kKey, kIv);
            worker->openSerialPort(pty.portPath());
        });
        QTRY_VERIFY_WITH_TIMEOUT(log.size() == 3, 10000);
        log.clear();

        const QByteArray status = statusFrame("STATUS:OK");
        const QByteArray answer = orvaAnswer('3', {"datetime=2024-05-01T12:00:00"});
        const QByteArray stream =
            "\r\n" + status + orvaFrame('E', packetEncode(status)) + kKnownEncrypted + answer;
        for (int at = 0; at < stream.size(); at += 7)
            QVERIFY(pty.write(stream.mid(at, 7)));

        QTRY_VERIFY_WITH_TIMEOUT(statuses.size() == 1, 10000);
        QCOMPARE(statuses.first(), qMakePair(int(CmdDateTime), int(CmdStatusSuccess)));
        QCOMPARE(decoded, QList<QByteArray>({status, kKnownPlain}));
        QCOMPARE(log.mid(0, 3), QList<QByteArray>({statusLine(status), statusLine(status),
                                                   statusLine(kKnownPlain)}));
        QVERIFY(log.last().contains("DateTime"));
    }
};

QTEST_GUILESS_MAIN(TestOrvaFraming)
#include "tst_orvaframing.moc"
