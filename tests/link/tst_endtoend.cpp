#include "tests/support/testsupport.h"

#include "decoder/sharedtypes.h"
#include "link/data_incoming.h"
#include "link/linkcrypto.h"
#include "link/packetcode.h"
#include "tests/link/linktest.h"
#include "tests/support/runonthread.h"
#include "tests/support/scopedclock.h"
#include "tools/unitsim/camerapicture.h"
#include "tools/unitsim/unitframes.h"
#include "tools/unitsim/unitsim.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QJsonObject>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

using namespace unitsim;

Q_DECLARE_METATYPE(unitsim::FrameWrap)

namespace
{

const QDateTime kNow(QDate(2026, 3, 5), QTime(14, 7, 9), Qt::UTC);
// Key and IV as the key workflow keeps them: Base64 texts of 32 and 8 bytes.
const QByteArray kKey =
    QByteArray::fromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4")
        .toBase64();
const QByteArray kIv = QByteArray::fromHex("f0f1f2f3f4f5f6f7").toBase64();

constexpr int kRecordWaitMs = 10000;
constexpr int kPictureWaitMs = 60000;

// What the link worker tells the rest of the application, collected on the test's thread.
class Recorder : public QObject
{
public:
    explicit Recorder(data_incoming* worker)
    {
        connect(worker, &data_incoming::weather_data_received, this,
                [this](const QJsonObject& r) { records << r; });
        connect(worker, &data_incoming::command_status_changed, this,
                [this](int index, int status) { statuses << index << status; });
        connect(worker, &data_incoming::sendLogMsg, this,
                [this](const QByteArray& line) { log << QString::fromUtf8(line); });
        connect(worker, &data_incoming::sendDisplaySysMsg, this,
                [this](const QString& line) { system << line; });
        connect(worker, &data_incoming::sendDisplayErrorMsg, this,
                [this](const QString& line) { errors << line; });
        connect(worker, &data_incoming::sendDecodedData, this,
                [this](const QByteArray& frame) { decoded << frame; });
        connect(worker, &data_incoming::sendEncryptionStatus, this,
                [this](int status) { encryption << status; });
        connect(worker, &data_incoming::sendCommandConfirmation, this, [this] { ++confirmations; });
        connect(worker, &data_incoming::sendConfiguration, this,
                [this](const QString& state) { configurations << state; });
        connect(worker, &data_incoming::send_metar_confirmed, this,
                [this](const QString& text) { reportsSent << text; });
        connect(worker, &data_incoming::sendCameraFinal, this,
                [this](int camera, const QString& path) { pictures << qMakePair(camera, path); });
    }

    QList<QJsonObject> records;
    QList<int> statuses; // pairs of CommandIndex and CommandStatus
    QStringList log;
    QStringList system;
    QStringList errors;
    QList<QByteArray> decoded;
    QList<int> encryption;
    int confirmations = 0;
    QStringList configurations;
    QStringList reportsSent;
    QList<QPair<int, QString>> pictures;
};

// The link worker on a thread of its own, as the application runs it, against the unit on a
// pseudo-terminal that the test's thread serves.
class Rig
{
public:
    Rig(const UnitOptions& options, DeviceTypes type, bool legacy = false)
        : unit(options), worker(new data_incoming), recorder(worker)
    {
        worker->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        thread.start();
        onWorker([=] {
            worker->setDeviceTypeState(type);
            worker->legacyorvadevicecheck(legacy);
        });
    }
    ~Rig()
    {
        onWorker([this] { worker->closeSerialPort(); });
        thread.quit();
        thread.wait();
    }

    // False, with why in `failure`, when the system gives no pseudo-terminal or the line does
    // not open.
    bool connect()
    {
        if (!unit.open()) {
            failure = unit.errorString();
            return false;
        }
        const QString port = unit.portPath();
        onWorker([this, port] { worker->openSerialPort(port); });
        // The open's log line is queued to this thread by now.
        QCoreApplication::processEvents();
        for (const QString& line : qAsConst(recorder.log)) {
            if (line.startsWith(QLatin1String("ERROR: Unable to Open Serial Port")))
                failure = line;
        }
        return failure.isEmpty();
    }
    void command(const QByteArray& bytes)
    {
        onWorker([this, bytes] { worker->setCommandBuffer(bytes); });
    }
    template <typename F> void onWorker(F f) { runOnThread(worker, f); }

    UnitSim unit;
    QThread thread;
    data_incoming* worker;
    Recorder recorder;
    QString failure;
};

UnitOptions fastUnit(Family family, const QString& station)
{
    UnitOptions o;
    o.family = family;
    o.stationId = station;
    o.periodMs = 250;
    o.completionDelayMs = 50;
    return o;
}

// A command as the command queue sends it through the station radio: encrypted with counter 0,
// as Base64-variant text and "\r".
QByteArray radioCommand(const QByteArray& command)
{
    char out[304];
    quint16 length = 0;
    if (aesEncryptMessage(QByteArray::fromBase64(kKey), 0, QByteArray::fromBase64(kIv),
                          command.constData(), quint16(command.size()), out, &length, 302, false))
        return QByteArray();
    return QByteArray(out, length - 1) + "\r";
}

bool near(QRgb got, const Rgb& want)
{
    const int tolerance = 10;
    return qAbs(qRed(got) - want.r) <= tolerance && qAbs(qGreen(got) - want.g) <= tolerance &&
           qAbs(qBlue(got) - want.b) <= tolerance;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        registerSharedMetaTypes();
        initPacketCodeTables();
    }

    void packetCodeEncoder_data()
    {
        QTest::addColumn<QByteArray>("text");
        // Hexadecimal; empty: the code has no such character.
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<QByteArray>("decoded");
        QTest::newRow("digit 2, three filling bits")
            << QByteArray("2") << QByteArray("50") << QByteArray("2");
        QTest::newRow("A then :, the : lost with the filling")
            << QByteArray("A:") << QByteArray("c200") << QByteArray("A");
        QTest::newRow("CR LF is one symbol")
            << QByteArray("\r\n") << QByteArray("a8") << QByteArray("\r\n");
        QTest::newRow("frame start and end")
            << QByteArray("@0~") << QByteArray("c08f80") << QByteArray("@0~");
        QTest::newRow("lower case") << QByteArray("gps") << QByteArray() << QByteArray();
        QTest::newRow("blank") << QByteArray("A B") << QByteArray() << QByteArray();
        QTest::newRow("equals sign") << QByteArray("gps=ON") << QByteArray() << QByteArray();
        QTest::newRow("lone line feed") << QByteArray("A\nB") << QByteArray() << QByteArray();
    }

    void packetCodeEncoder()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, packed);
        QFETCH(QByteArray, decoded);
        bool ok = packed.isEmpty();
        const QByteArray out = packetEncode(text, &ok);
        QCOMPARE(ok, !packed.isEmpty());
        QCOMPARE(out.toHex(), packed);
        if (packed.isEmpty())
            return;
        // The station's decoder reads what the unit's encoder wrote.
        char back[64];
        const quint32 length =
            decodeCompressedPacket(back, out.constData(), quint32(out.size()), sizeof back);
        QCOMPARE(QByteArray(back, int(length)), decoded);
    }

    void orvaRecords_data()
    {
        QTest::addColumn<FrameWrap>("wrap");
        QTest::addColumn<bool>("wrapped");
        QTest::newRow("plain") << FrameWrap::Plain << false;
        QTest::newRow("encrypted (F)") << FrameWrap::Encrypted << true;
        QTest::newRow("compressed (E)") << FrameWrap::Compressed << true;
        QTest::newRow("compressed and encrypted (C)") << FrameWrap::CompressedEncrypted << true;
    }

    void orvaRecords()
    {
        QFETCH(FrameWrap, wrap);
        QFETCH(bool, wrapped);
        ScopedClock clock(kNow);
        UnitOptions options = fastUnit(Family::Orva, QStringLiteral("KVDS"));
        options.frames = wrap;
        options.key = kKey;
        options.iv = kIv;
        QCOMPARE(checkOptions(options), QString());

        Rig rig(options, DeviceTypes::ORVA);
        rig.onWorker([&rig] { rig.worker->setEncryptionKey(kKey, kIv); });
        QVERIFY2(rig.connect(), qPrintable(rig.failure));
        const Recorder& seen = rig.recorder;
        QTRY_VERIFY_WITH_TIMEOUT(!seen.records.isEmpty(), kRecordWaitMs);

        const QJsonObject record = seen.records.first();
        const WeatherSample sent = weatherSample(0);
        QCOMPARE(record["Timestamp"].toString(), QString("2026-03-05 14:07:09"));
        QCOMPARE(record["IMEI"].toString(), QString("KVDS"));
        QCOMPARE(record["Type"].toString(), QString("ORVA"));
        QCOMPARE(record["Reporting Mode"].toString(), QString("1 hour"));
        QCOMPARE(record["Temperature"].toString(), sent.temperature);
        QCOMPARE(record["Humidity"].toString(), sent.humidity);
        QCOMPARE(record["Pressure"].toString(), sent.pressure);
        QCOMPARE(record["Wind Speed"].toString(), sent.windSpeed);
        QCOMPARE(record["Wind Speed Inst"].toString(), sent.windSpeedInst);
        QCOMPARE(record["Wind Direction"].toString(), sent.windDirection);
        QCOMPARE(record["Gust Speed"].toString(), sent.gustSpeed);
        QCOMPARE(record["Altimeter"].toString(),
                 QString::number(sent.altimeter.toInt() / 100.0, 'f', 2));
        QVERIFY2(record["METAR"].toString().startsWith("METAR KVDS 051407Z "),
                 qPrintable(record["METAR"].toString()));

        if (wrapped) {
            QVERIFY(!seen.decoded.isEmpty());
            QVERIFY(seen.decoded.first().startsWith("@000\r\nN:METAR:0:0:0:KVDS:1:1\r\n"));
            QVERIFY(seen.decoded.first().endsWith("\r\n\r\n"));
        } else {
            QVERIFY(seen.decoded.isEmpty());
        }
        const bool encrypted =
            wrap == FrameWrap::Encrypted || wrap == FrameWrap::CompressedEncrypted;
        QCOMPARE(seen.encryption.isEmpty(), !encrypted);
        QVERIFY(!seen.encryption.contains(2));
        QVERIFY(seen.errors.isEmpty());
    }

    // Encrypted full records at the pace of a real line: every one decoded, in order, and none
    // sooner than its bytes can cross the line, although each takes more than a second. The pace
    // is real here, so partial frames are kept however long a loaded machine stalls between two
    // reads; tst_orvaframing holds the age limit, passing the line's silences over a frame itself.
    void pacedEncryptedRecords_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("count");
        QTest::newRow("9600 baud") << 9600 << 3;
        QTest::newRow("4800 baud") << 4800 << 2;
    }
    void pacedEncryptedRecords()
    {
        QFETCH(int, baud);
        QFETCH(int, count);
        UnitOptions options = fastUnit(Family::Orva, QStringLiteral("KVDS"));
        options.frames = FrameWrap::Encrypted;
        options.key = kKey;
        options.iv = kIv;
        options.paceBaud = baud;
        options.periodMs = 800;
        QCOMPARE(checkOptions(options), QString());

        Rig rig(options, DeviceTypes::ORVA);
        rig.onWorker([&rig] {
            rig.worker->setEncryptionKey(kKey, kIv);
            rig.worker->setFrameTimeout(kFrameAgeLimitMs);
        });
        QElapsedTimer clock;
        clock.start();
        QList<qint64> sentAt;
        QList<qint64> decodedAt;
        QObject context;
        connect(&rig.unit, &UnitSim::recordSent, &context, [&] { sentAt << clock.elapsed(); });
        connect(rig.worker, &data_incoming::weather_data_received, &context,
                [&] { decodedAt << clock.elapsed(); });
        QVERIFY2(rig.connect(), qPrintable(rig.failure));
        const Recorder& seen = rig.recorder;
        // About 1.3 kB a record on the wire.
        const int lineMsPerRecord = 1500 * 10 * 1000 / baud;
        QTRY_VERIFY_WITH_TIMEOUT(seen.records.size() >= count,
                                 count * lineMsPerRecord + kRecordWaitMs);

        QCOMPARE(sentAt.mid(0, count).size(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(seen.records.at(i)["Temperature"].toString(), weatherSample(i).temperature);
            QVERIFY(seen.decoded.at(i).size() > 900);
            // The wire frame is longer than the text it deciphers to.
            const qint64 lineMs = seen.decoded.at(i).size() * 10 * 1000 / baud;
            QVERIFY2(decodedAt.at(i) - sentAt.at(i) >= lineMs,
                     qPrintable(QStringLiteral("%1 ms").arg(decodedAt.at(i) - sentAt.at(i))));
        }
        QVERIFY(!seen.encryption.contains(2));
        QVERIFY(seen.errors.isEmpty());
    }

    void orvaCommandAnswers_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QList<int>>("statuses");
        QTest::newRow("gps ON") << QByteArray("gps ON\r\n") << QList<int>{CmdGps, CmdStatusSuccess};
        QTest::newRow("gps on is refused")
            << QByteArray("gps on\r\n") << QList<int>{CmdGps, CmdStatusFailed};
        QTest::newRow("led OFF") << QByteArray("led OFF\r\n")
                                 << QList<int>{CmdLed, CmdStatusSuccess};
        QTest::newRow("frequency")
            << QByteArray("frequency 10\r\n") << QList<int>{CmdTransmitFrequency, CmdStatusSuccess};
        QTest::newRow("elevation")
            << QByteArray("elevation 150.00\r\n") << QList<int>{CmdElevation, CmdStatusSuccess};
        QTest::newRow("declination")
            << QByteArray("decl 12.500\r\n") << QList<int>{CmdDeclination, CmdStatusSuccess};
        QTest::newRow("icao") << QByteArray("icao KABC\r\n")
                              << QList<int>{CmdIcao, CmdStatusSuccess};
        QTest::newRow("icao refused")
            << QByteArray("icao K\r\n") << QList<int>{CmdIcao, CmdStatusFailed};
        QTest::newRow("blower: queued, then done by the module")
            << QByteArray("blower AUTO\r\n")
            << QList<int>{CmdBlower, CmdStatusQueued, CmdBlower, CmdStatusSuccess};
        QTest::newRow("log erasure: started, then complete")
            << QByteArray("flash_erase\r")
            << QList<int>{CmdLog, CmdStatusInProgress, CmdLog, CmdStatusSuccess};
        QTest::newRow("report transmission queued")
            << QByteArray("send METAR KVDS 051407Z AUTO 24009KT 10SM CLR 15/07 A3027\r")
            << QList<int>{CmdSend, CmdStatusSuccess};
        QTest::newRow("radio transmit frequency, answered by the radio module")
            << QByteArray("txf 3 150000000\r\n")
            << QList<int>{CmdRflosTransmitFrequency, CmdStatusSuccess};
        QTest::newRow("radio transmit rate") << QByteArray("radio_freq 60\r\n")
                                             << QList<int>{CmdRflosTransmitRate, CmdStatusSuccess};
    }

    void orvaCommandAnswers()
    {
        QFETCH(QByteArray, command);
        QFETCH(QList<int>, statuses);
        UnitOptions options = fastUnit(Family::Orva, QStringLiteral("KVDS"));
        options.periodMs = 60000; // no records in the way
        Rig rig(options, DeviceTypes::ORVA);
        QSignalSpy heard(&rig.unit, &UnitSim::commandReceived);
        QVERIFY2(rig.connect(), qPrintable(rig.failure));
        QTRY_VERIFY_WITH_TIMEOUT(rig.unit.isLinked(), kRecordWaitMs);

        rig.command(command);
        QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.statuses, statuses, kRecordWaitMs);
        QCOMPARE(heard.count(), 1);
        QCOMPARE(heard.first().at(0).toByteArray(), command.trimmed());
        QCOMPARE(heard.first().at(1).toBool(), false);

        if (command.startsWith("send "))
            QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.reportsSent,
                                      QStringList{QString::fromLatin1(command.trimmed())},
                                      kRecordWaitMs);
    }

    void orvaStationRadioCommands()
    {
        UnitOptions options = fastUnit(Family::Orva, QStringLiteral("KVDS"));
        options.periodMs = 60000;
        options.frames = FrameWrap::Encrypted;
        options.key = kKey;
        options.iv = kIv;
        Rig rig(options, DeviceTypes::ORVA);
        rig.onWorker([&rig] { rig.worker->setEncryptionKey(kKey, kIv); });
        QSignalSpy heard(&rig.unit, &UnitSim::commandReceived);
        QVERIFY2(rig.connect(), qPrintable(rig.failure));
        QTRY_VERIFY_WITH_TIMEOUT(rig.unit.isLinked(), kRecordWaitMs);

        const QByteArray gps = radioCommand("gps OFF\r\n");
        const QByteArray txf = radioCommand("txf 0 150000000\r\n");
        QVERIFY(gps.endsWith('\r') && !gps.contains("gps"));
        rig.command(gps);
        rig.command(txf);

        const QList<int> expected{CmdGps, CmdStatusSuccess, CmdRflosTransmitFrequency,
                                  CmdStatusSuccess};
        QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.statuses, expected, kRecordWaitMs);
        QCOMPARE(heard.count(), 2);
        QCOMPARE(heard.at(0).at(0).toByteArray(), QByteArray("gps OFF"));
        QCOMPARE(heard.at(1).at(0).toByteArray(), QByteArray("txf 0 150000000"));
        QVERIFY(heard.at(0).at(1).toBool() && heard.at(1).at(1).toBool());
        // The answers came back encrypted: "@3" from the unit, "@R" from the station radio.
        QCOMPARE(rig.recorder.decoded.size(), 2);
        QVERIFY(rig.recorder.decoded.at(0).startsWith("@300\r\ngps=OFF\r\n~"));
        QVERIFY(rig.recorder.decoded.at(1).startsWith("@R00\r\ntxf=OK\r\n~"));
        QCOMPARE(rig.recorder.encryption, QList<int>({1, 1}));
    }

    void legacyOrva()
    {
        ScopedClock clock(kNow);
        Rig rig(fastUnit(Family::LegacyOrva, QStringLiteral("LEG0042")), DeviceTypes::ORVA, true);
        QVERIFY2(rig.connect(), qPrintable(rig.failure));
        const Recorder& seen = rig.recorder;
        QTRY_VERIFY_WITH_TIMEOUT(!seen.records.isEmpty(), kRecordWaitMs);

        const QJsonObject record = seen.records.first();
        QCOMPARE(record["Timestamp"].toString(), QString("2026-03-05 14:07:09"));
        QCOMPARE(record["IMEI"].toString(), QString("LEG0042"));
        QCOMPARE(record["Temperature"].toString(), weatherSample(0).temperature);
        // Heights in metres on the legacy unit: 900 m is 2953 ft, reported as 3000.
        QCOMPARE(record["Cloud Layer 1"].toString(), QString("3000"));

        rig.command("gps_disable\n");
        QTRY_VERIFY_WITH_TIMEOUT(seen.system.contains("INFO: ORVA GPS Disabled"), kRecordWaitMs);
        // The elevation command is the one without a line end.
        rig.command("gps_set_elev");
        QTRY_VERIFY_WITH_TIMEOUT(seen.system.contains("INFO: ORVA Elevation Set"), kRecordWaitMs);
        rig.command("status\n");
        QTRY_VERIFY_WITH_TIMEOUT(seen.errors.contains("WARNING: ORVA Invalid Command Received"),
                                 kRecordWaitMs);
        // Records keep coming between the answers.
        const int before = seen.records.size();
        QTRY_VERIFY_WITH_TIMEOUT(seen.records.size() > before, kRecordWaitMs);
    }

    void brqPromptCommandsAndRecords()
    {
        ScopedClock clock(kNow);
        Rig rig(fastUnit(Family::Brq, QStringLiteral("BRQ0042")), DeviceTypes::BRQ);
        rig.onWorker([&rig] { rig.worker->setStartupSequence(true); });
        QVERIFY2(rig.connect(), qPrintable(rig.failure));
        const Recorder& seen = rig.recorder;
        QTRY_VERIFY_WITH_TIMEOUT(seen.log.contains("INFO: BRQ Startup Message Received"),
                                 kRecordWaitMs);

        // The command waits for the prompt that the wake-up blanks bring.
        rig.command("m4\r");
        QTRY_VERIFY_WITH_TIMEOUT(seen.log.contains("INFO: BRQ M 1M confirmation received."),
                                 kRecordWaitMs);
        QVERIFY(rig.unit.wakeUps() > 0);
        QVERIFY(seen.confirmations > 0);
        QVERIFY(seen.log.contains("INFO: BRQ Command Sent m4"));
        QVERIFY(seen.system.contains("INFO: BRQ 1min confirmation received"));

        // The next record reports the new mode.
        QTRY_VERIFY_WITH_TIMEOUT(!seen.records.isEmpty() &&
                                     seen.records.last()["Reporting Mode"] == "1 Minute",
                                 kRecordWaitMs);
        const QJsonObject record = seen.records.last();
        QCOMPARE(record["Timestamp"].toString(), QString("2026-03-05 14:07:09"));
        QCOMPARE(record["IMEI"].toString(), QString("BRQ0042"));
        QCOMPARE(record["Type"].toString(), QString("R200"));
        QCOMPARE(record["Orientation"].toString(), QString("30"));
        // The first weather packet ended the power-on start-up.
        QCOMPARE(seen.configurations, QStringList{"EndSequence"});

        rig.command("G0\r");
        QTRY_VERIFY_WITH_TIMEOUT(
            seen.system.contains(
                "INFO: BRQ Disable GPS Lat/Lon reporting command confirmation received"),
            kRecordWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(seen.records.last()["Latitude"] == "", kRecordWaitMs);

        // A command the unit does not know comes back with the error prompt.
        rig.command("x9\r");
        QTRY_VERIFY_WITH_TIMEOUT(
            seen.errors.contains(
                "WARNING: Error in BRQ command processing, received spaces in response."),
            kRecordWaitMs);
    }

    void brqCameraPicture()
    {
        ScopedClock clock(kNow);
        Rig rig(fastUnit(Family::Brq, QStringLiteral("BRQ0042")), DeviceTypes::BRQ);
        rig.onWorker([&rig] { rig.worker->setImageTimeout(kNoImageTimeoutMs); });
        QSignalSpy queued(&rig.unit, &UnitSim::pictureQueued);
        QVERIFY2(rig.connect(), qPrintable(rig.failure));
        const Recorder& seen = rig.recorder;
        // The file name takes the station and the orientation from the last record.
        QTRY_VERIFY_WITH_TIMEOUT(!seen.records.isEmpty(), kRecordWaitMs);

        rig.command("I1\r");
        QTRY_VERIFY_WITH_TIMEOUT(seen.log.contains("INFO: BRQ I1 confirmation received."),
                                 kRecordWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(seen.pictures.size(), 1, kPictureWaitMs);
        QCOMPARE(queued.count(), 1);
        const int packets = queued.first().at(1).toInt();

        const int camera = seen.pictures.first().first;
        const QString path = seen.pictures.first().second;
        QCOMPARE(camera, 1);
        const QFileInfo file(path);
        const QString folder = QDir::cleanPath(
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/temp");
        QCOMPARE(file.absolutePath(), folder);
        QCOMPARE(file.fileName(),
                 QString::fromUtf8("BRQ0042 2026-03-05_14-07-09Z_BRQtime Cam1 (30\u00b0).jpg"));
        QCOMPARE(file.size(), qint64(632 + packets * 330 + 2));
        QVERIFY(seen.log.contains("INFO: Final Image Output to " + path));
        QVERIFY(seen.system.contains("INFO: BRQ Image received from Camera 1"));

        // The station's header and the unit's scan make one picture.
        const QImage picture(path);
        QCOMPARE(picture.size(), QSize(kPictureWidth, kPictureHeight));
        const QList<QPoint> spots = {{8, 8}, {40, 40}, {24, 192}, {56, 192}, {300, 230}};
        for (const QPoint& p : spots)
            QVERIFY2(near(picture.pixel(p), cameraPixel(1, p.x(), p.y())),
                     qPrintable(QStringLiteral("pixel %1,%2").arg(p.x()).arg(p.y())));
        QFile::remove(path);
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
