#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "tests/link/linktest.h"
#include "tests/support/runonthread.h"
#include "tests/support/scopedclock.h"
#include "tools/unitsim/ptypair.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

using unitsim::PtyPair;

namespace
{

// Opens the worker's state to the test.
class Probe : public data_incoming
{
public:
    using data_incoming::data_incoming;
    using data_incoming::imageFolder;
    using data_incoming::pacingTimer;
    using data_incoming::pendingCommands;
    using data_incoming::positionReset;
    using data_incoming::receiveBuffer;
    using data_incoming::startupSequence;
    using data_incoming::transmitQueue;
};

// Every message the BRQ parser can give, as "kind:text" in emission order.
class Events : public QObject
{
public:
    explicit Events(data_incoming* worker)
    {
        connect(worker, &data_incoming::sendLogMsg, this,
                [this](const QByteArray& line) { seen << "log:" + QString::fromUtf8(line); });
        connect(worker, &data_incoming::sendDisplaySysMsg, this,
                [this](const QString& line) { seen << "sys:" + line; });
        connect(worker, &data_incoming::sendDisplayErrorMsg, this,
                [this](const QString& line) { seen << "err:" + line; });
        connect(worker, &data_incoming::sendRawData, this,
                [this](const QByteArray& data) { seen << "raw:" + QString::fromLatin1(data); });
        connect(worker, &data_incoming::sendLogData, this,
                [this](const QByteArray& data, const QJsonObject&, DeviceTypes) {
                    seen << "data:" + QString::fromLatin1(data);
                });
        connect(worker, &data_incoming::sendCommandConfirmation, this,
                [this] { seen << QStringLiteral("confirmed"); });
        connect(worker, &data_incoming::sendConfiguration, this,
                [this](const QString& state) { seen << "config:" + state; });
        connect(worker, &data_incoming::weather_data_received, this,
                [this](const QJsonObject& record) {
                    seen << QStringLiteral("record");
                    records << record;
                });
    }
    QStringList only(const QString& kind) const
    {
        QStringList out;
        for (const QString& e : seen)
            if (e.startsWith(kind + ':'))
                out << e.mid(kind.size() + 1);
        return out;
    }
    int count(const QString& event) const { return seen.count(event); }

    QStringList seen;
    QList<QJsonObject> records;
};

const QByteArray kPrompt("\r\n>");

// A complete weather packet as the unit sends it.
QByteArray weatherPacket(const QByteArray& station = "BRQ00042",
                         const QByteArray& temperature = "15.2")
{
    return "@I:" + station + ":2.1\r\n@0:00\r\nT:24/03/07,14:05:09\r\nTA:" + temperature +
           "\r\nRH:50\r\nWI:10:270\r\nBA:1013.2:2992\r\n~\r\n\r\n";
}

// A worker that parses what the test feeds it, on the test's thread, with the clock stopped.
struct Fixture {
    Fixture()
    {
        worker.pacingTimer->stop();
        worker.setDeviceTypeState(DeviceTypes::BRQ);
        idleTicks = 0;
        events.seen.clear();
    }
    // One read, then the line falls silent: a message that may still grow is judged.
    void feed(const QByteArray& bytes)
    {
        read(bytes);
        silence();
    }
    void read(const QByteArray& bytes) { worker.parseData_BRQ(bytes); }
    void silence() { lineFallsSilent(&worker); }
    Probe worker;
    Events events{&worker};
};

// Everything a worker tells the rest of the application about one stream from the unit, one
// line per emission in order, with each finished picture's bytes. Each run starts a fresh
// worker, as after the program's start: the unit is started from power-off and, when asked, a
// command waits for its prompt.
QStringList toldAbout(const QByteArrayList& reads, const QByteArray& command)
{
    QTemporaryDir pictures;
    QStringList told;
    // Each run has a folder of its own.
    const auto tell = [&told, &pictures](const char* kind, QString text) {
        told << QString::fromLatin1(kind) + ':' + text.replace(pictures.path(), "pictures");
    };
    Probe worker;
    worker.pacingTimer->stop();
    worker.imageFolder = pictures.path();
    worker.setDeviceTypeState(DeviceTypes::BRQ);
    worker.setLoggingState(LoggingType::Data);
    worker.setStartupSequence(true);
    if (!command.isEmpty())
        worker.setCommandBuffer(command);
    idleTicks = 0;

    const auto text = [](const QByteArray& bytes) { return QString::fromLatin1(bytes); };
    QObject::connect(&worker, &data_incoming::sendLogMsg,
                     [&](const QByteArray& line) { tell("log", text(line)); });
    QObject::connect(&worker, &data_incoming::sendDisplaySysMsg,
                     [&](const QString& line) { tell("sys", line); });
    QObject::connect(&worker, &data_incoming::sendDisplayErrorMsg,
                     [&](const QString& line) { tell("err", line); });
    QObject::connect(&worker, &data_incoming::sendRawData,
                     [&](const QByteArray& data) { tell("raw", text(data)); });
    QObject::connect(&worker, &data_incoming::sendLogData,
                     [&](const QByteArray& data, const QJsonObject& record, DeviceTypes) {
                         tell("data",
                              text(data) + QJsonDocument(record).toJson(QJsonDocument::Compact));
                     });
    QObject::connect(&worker, &data_incoming::weather_data_received,
                     [&](const QJsonObject& record) {
                         tell("record", QJsonDocument(record).toJson(QJsonDocument::Compact));
                     });
    QObject::connect(&worker, &data_incoming::sendCommandConfirmation,
                     [&] { tell("confirmed", QString()); });
    QObject::connect(&worker, &data_incoming::sendConfiguration,
                     [&](const QString& state) { tell("config", state); });
    QObject::connect(&worker, &data_incoming::enableCamera,
                     [&](bool on) { tell("camera", QString::number(on)); });
    QObject::connect(&worker, &data_incoming::sendImageProgressInfo, [&](int camera, int sequence) {
        tell("packet", QStringLiteral("%1 %2").arg(camera).arg(sequence));
    });
    QObject::connect(
        &worker, &data_incoming::sendCameraProgress,
        [&](const QString& path, int, const QString& time, double angle, const QString& date) {
            tell("progress", path + time + QString::number(angle) + date);
        });
    QObject::connect(&worker, &data_incoming::sendCameraFinal, [&](int, const QString& path) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        tell("picture", QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex());
    });

    for (const QByteArray& read : reads)
        worker.parseData_BRQ(read);
    lineFallsSilent(&worker);
    tell("left", text(worker.receiveBuffer));
    return told;
}

} // namespace

class TestBrqProtocol : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerSharedMetaTypes(); }
    void init() { idleTicks = 0; }

    void extractAtLines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("iLine");
        QTest::addColumn<QString>("other");
        QTest::newRow("I-line and the last of two others")
            << QByteArray("@I:A\r\n@0:first\r\n@0:second") << "@I:A"
            << "@0:second";
        QTest::newRow("no line begins with @") << QByteArray("T:1\r\nTA:2\r\n") << ""
                                               << "";
        QTest::newRow("empty") << QByteArray() << ""
                               << "";
        QTest::newRow("@ alone is an other line") << QByteArray("x\r\n@\r\n") << ""
                                                  << "@";
        QTest::newRow("last I-line wins") << QByteArray("@I:1\r\n@1\r\n@Ix") << "@Ix"
                                          << "@1";
        QTest::newRow("lowercase i is no I-line") << QByteArray("@i:1\r\n") << ""
                                                  << "@i:1";
        QTest::newRow("@ inside a line is not a start") << QByteArray("T:@I\r\n @0\r\n") << ""
                                                        << "";
        QTest::newRow("high bytes read as Latin-1")
            << QByteArray("@1\xb0\xff\r\n") << "" << QString::fromLatin1("@1\xb0\xff");
    }
    void extractAtLines()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, iLine);
        QFETCH(QString, other);
        QCOMPARE(data_incoming::extractAtLines(text), (QStringList{iLine, other}));
    }

    void acknowledgementWords_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("expected"); // log, display, log, display, ...
        QTest::addColumn<bool>("positionReset");
        const auto row = [](const char* name, const char* reply, const char* log,
                            const char* display, bool reset) {
            QTest::newRow(name) << QByteArray(reply)
                                << QStringList{QString::fromLatin1(log),
                                               QString::fromLatin1(display)}
                                << reset;
        };
        row("m0 20 s", "m0\r\nM 20S", "INFO: BRQ M 20S confirmation received.",
            "INFO: BRQ 20sec confirmation received", false);
        row("m1 10 s", "M 10S", "INFO: BRQ M 10S confirmation received.",
            "INFO: BRQ 10sec confirmation received", false);
        row("5 min", "M 5M", "INFO: BRQ M 5M confirmation received.",
            "INFO: BRQ 5min confirmation received", false);
        row("1 min", "M 1M", "INFO: BRQ M 1M confirmation received.",
            "INFO: BRQ 1min confirmation received", false);
        row("20 min", "M 20M", "INFO: BRQ M 20M confirmation received.",
            "INFO: BRQ 20min command confirmation received", false);
        row("1 h", "M 1H", "INFO: BRQ M 1H confirmation received.",
            "INFO: BRQ 1hr command confirmation received", false);
        row("3 h", "M 3H", "INFO: BRQ M 3H confirmation received.",
            "INFO: BRQ 3hr mode command confirmation received", false);
        row("all cameras", "I5", "INFO: BRQ I5 confirmation received.",
            "INFO: BRQ Take All Images command confirmation received", false);
        row("camera 1", "I1", "INFO: BRQ I1 confirmation received.",
            "INFO: BRQ Take Image from Camera 1 command confirmation received", false);
        row("camera 2", "I2", "INFO: BRQ I2 confirmation received.",
            "INFO: BRQ Take Image from Camera 2 command  confirmation received", false);
        row("camera 3", "I3", "INFO: BRQ I3 confirmation received.",
            "INFO: BRQ Take Image from Camera 3 command  confirmation received", false);
        row("camera 4", "I4", "INFO: BRQ I4 confirmation received.",
            "INFO: BRQ Take Image from Camera 4 command  confirmation received", false);
        row("GPS on", "G1 OK", "INFO: BRQ G1 OK confirmation received.",
            "INFO: BRQ Enable GPS Lat/Lon reporting command confirmation received", true);
        row("GPS off", "G0 OK", "INFO: BRQ G0 OK confirmation received.",
            "INFO: BRQ Disable GPS Lat/Lon reporting command confirmation received", true);
        row("elevation", "GE+0123\r\nGE OK", "INFO: BRQ GE OK confirmation received.",
            "INFO: BRQ Set Elevation command confirmation received", true);
        row("SPECI off", "S0 OK", "INFO: BRQ S0 OK confirmation received.",
            "INFO: BRQ Disable SPECI reports (default) command confirmation received", false);
        row("SPECI on", "S1 OK", "INFO: BRQ S1 OK confirmation received.",
            "INFO: BRQ Enable SPECI reports command confirmation received", false);
        row("ceilometer off", "C0 OK", "INFO: BRQ C0 OK confirmation received.",
            "INFO: BRQ Disable Ceilometer command confirmation received", false);
        row("ceilometer auto", "C1 OK", "INFO: BRQ C1 OK confirmation received.",
            "INFO: BRQ Enable Ceilometer in auto mode command confirmation received", false);
        row("ceilometer always", "C2 OK", "INFO: BRQ C2 OK confirmation received.",
            "INFO: BRQ Enable Ceilometer in always mode command confirmation received", false);
        for (const char* word : {"i20 OK", "i21 OK", "i22 OK", "i23 OK"})
            row(word, word, "INFO: BRQ Auto-Schedule Image OK confirmation received.",
                "INFO: BRQ Auto-Schedule Image OK command confirmation received", false);

        QTest::newRow("several rows, in table order")
            << QByteArray("C2 OK\r\nS1 OK")
            << QStringList{"INFO: BRQ S1 OK confirmation received.",
                           "INFO: BRQ Enable SPECI reports command confirmation received",
                           "INFO: BRQ C2 OK confirmation received.",
                           "INFO: BRQ Enable Ceilometer in always mode command confirmation "
                           "received"}
            << false;
        QTest::newRow("GE OK without GE+") << QByteArray("GE OK") << QStringList() << false;
        QTest::newRow("lowercase word") << QByteArray("s1 ok") << QStringList() << false;
        QTest::newRow("scheduled image that is not a schedule slot")
            << QByteArray("i00 OK") << QStringList() << false;
    }
    void acknowledgementWords()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, expected);
        QFETCH(bool, positionReset);
        Fixture f;
        f.feed(reply + kPrompt);

        QStringList messages;
        for (const QString& e : f.events.seen)
            if (e.startsWith("log:") || e.startsWith("sys:"))
                messages << e.mid(4);
        QCOMPARE(messages, expected);
        QCOMPARE(f.worker.positionReset, positionReset);
        // A buffer that ends with the prompt also goes to the raw-data view.
        QCOMPARE(f.events.only("raw"), QStringList{QString::fromLatin1(reply + kPrompt)});
        QCOMPARE(f.events.count("confirmed"), 0);
    }

    // The prompt may come after a pause shorter than the idle limit.
    void acknowledgementWaitsForThePrompt()
    {
        Fixture f;
        f.read("M 20S");
        lineFallsSilent(&f.worker, data_incoming::brqSilenceTicks - 1);
        QVERIFY(f.events.seen.isEmpty());
        f.feed(kPrompt);
        QCOMPARE(f.events.only("log"), QStringList{"INFO: BRQ M 20S confirmation received."});
        QCOMPARE(f.events.only("sys"), QStringList{"INFO: BRQ 20sec confirmation received"});
    }

    // The words count only with the unit's prompt behind them. A reply whose prompt lets a
    // waiting command go is reported all the same, behind the command sent.
    void positionWordsNeedThePrompt()
    {
        Fixture f;
        f.feed("G1 OK\r\n");
        QVERIFY(!f.worker.positionReset);
        QCOMPARE(f.events.seen,
                 QStringList{"log:WARNING: BRQ data incomplete at a pause in the data, dropped "
                             "[ 7 bytes ]"});

        Fixture pending;
        pending.worker.setCommandBuffer("C1\r");
        pending.feed("G1 OK" + kPrompt);
        QVERIFY(pending.worker.positionReset);
        QCOMPARE(pending.events.seen,
                 (QStringList{"raw:G1 OK\r\n>", "log:INFO: BRQ Command Sent C1",
                              "sys:INFO: BRQ Command Sent C1", "confirmed",
                              "log:INFO: BRQ G1 OK confirmation received.",
                              "sys:INFO: BRQ Enable GPS Lat/Lon reporting command confirmation "
                              "received"}));
    }

    void errorPromptReportedBeforeTheAcknowledgements()
    {
        Fixture f;
        f.worker.setLoggingState(LoggingType::Data);
        const QByteArray buffer = "S0 OK" + kPrompt + QByteArray("\x02\x02\x02", 3);
        f.feed(buffer);
        QCOMPARE(
            f.events.seen,
            (QStringList{
                "log:ERROR: Error in BRQ command processing, received spaces in response.",
                "err:WARNING: Error in BRQ command processing, received spaces in response.",
                "data:" + QString::fromLatin1(buffer), "log:INFO: BRQ S0 OK confirmation received.",
                "sys:INFO: BRQ Disable SPECI reports (default) command confirmation "
                "received"}));
    }

    // The data log gets the parser's copies only in the Data and Debug modes.
    void dataLogCopyByMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("copies");
        QTest::newRow("Default") << 0 << 0;
        QTest::newRow("Data") << 1 << 1;
        QTest::newRow("Debug") << 2 << 1;
    }
    void dataLogCopyByMode()
    {
        QFETCH(int, mode);
        QFETCH(int, copies);
        Fixture f;
        f.worker.setLoggingState(static_cast<LoggingType>(mode));
        f.feed("C0 OK" + kPrompt);
        QCOMPARE(f.events.only("data").size(), copies);
    }

    void promptSendsThePendingCommands()
    {
        Fixture f;
        f.worker.setCommandBuffer("m1\r");
        f.worker.setCommandBuffer("C0\r");
        f.feed("   " + kPrompt);

        QCOMPARE(f.worker.transmitQueue, QByteArray("m1\r C0\r"));
        QVERIFY(f.worker.pendingCommands.isEmpty());
        QCOMPARE(f.events.seen, (QStringList{"raw:   \r\n>", "log:INFO: BRQ Command Sent m1\r C0",
                                             "sys:INFO: BRQ Command Sent m1\r C0", "confirmed"}));

        // The unit's answer on the next read is reported, not sent again.
        f.events.seen.clear();
        f.feed("m1\r\nM 10S\r\n>");
        QCOMPARE(f.events.only("log"), QStringList{"INFO: BRQ M 10S confirmation received."});
        QCOMPARE(f.events.count("confirmed"), 0);
        QCOMPARE(f.worker.transmitQueue, QByteArray("m1\r C0\r"));

        // The unit answers the first of two commands while the second is still going out: the
        // next command follows it, and neither is lost.
        f.worker.transmitQueue = " S1\r";
        f.worker.setCommandBuffer("X9\r");
        f.feed("C1\r\nC1 OK" + kPrompt);
        QCOMPARE(f.worker.transmitQueue, QByteArray(" S1\r X9\r"));
        QCOMPARE(f.events.only("log").filter("Sent"), QStringList{"INFO: BRQ Command Sent X9"});
    }

    void startupBanner_data()
    {
        QTest::addColumn<QByteArrayList>("reads");
        QTest::addColumn<int>("noise"); // bytes before the banner; -1: no banner
        QTest::newRow("banner") << QByteArrayList{"\r\n\rBRQ v3.07 (c) 2019\r\n"} << 0;
        QTest::newRow("banner in two reads")
            << QByteArrayList{"\r\n\rBRQ v3.", "07 (c) 2019\r\n"} << 0;
        QTest::newRow("banner with a prompt") << QByteArrayList{"\r\n\rBRQ v3.07\r\n>"} << -1;
        QTest::newRow("banner, then a prompt in the next read")
            << QByteArrayList{"\r\n\rBRQ v3.07\r\n", ">"} << -1;
        QTest::newRow("banner behind a byte that matches nothing")
            << QByteArrayList{"x\r\n\rBRQ v3.07\r\n"} << 1;
        QTest::newRow("lowercase") << QByteArrayList{"\r\n\rbrq v3.07"} << -1;
    }
    void startupBanner()
    {
        QFETCH(QByteArrayList, reads);
        QFETCH(int, noise);
        Fixture f;
        f.worker.setLoggingState(LoggingType::Debug);
        for (const QByteArray& read : reads)
            f.read(read);
        f.silence();
        // The whole line, once, to the raw-data view and the data log.
        const QString banner = QString::fromLatin1(reads.join().mid(qMax(noise, 0)));
        QStringList expected{"log:INFO: BRQ Startup Message Received",
                             "sys:INFO: BRQ Startup Message Received", "raw:" + banner,
                             "data:" + banner};
        if (noise > 0)
            expected.prepend(QStringLiteral("log:WARNING: BRQ data matching no message dropped "
                                            "[ %1 bytes ]")
                                 .arg(noise));
        if (noise >= 0)
            QCOMPARE(f.events.seen, expected);
        else
            QVERIFY(!f.events.seen.contains(expected.at(0)));
    }

    void startupSequenceEndsOnce_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<bool>("isWeather");
        QTest::newRow("weather packet") << weatherPacket() << true;
        QTest::newRow("ON block") << QByteArray("\r\nON 12.6V\r\nM 10S\r\n\r\n") << false;
    }
    void startupSequenceEndsOnce()
    {
        QFETCH(QByteArray, first);
        QFETCH(bool, isWeather);
        Fixture f;
        f.worker.setLoggingState(LoggingType::Data);
        f.worker.setStartupSequence(true);
        QSignalSpy config(&f.worker, &data_incoming::sendConfiguration);
        QSignalSpy logData(&f.worker, &data_incoming::sendLogData);

        f.feed(first);
        QCOMPARE(config.count(), 1);
        QCOMPARE(config.at(0).at(0).toString(), QStringLiteral("EndSequence"));
        QVERIFY(!f.worker.startupSequence);
        QVERIFY(f.events.only("raw").contains(QString::fromLatin1(first)));
        QCOMPARE(f.events.only("log").filter("Configured").size(), 1);
        QCOMPARE(f.events.only("log").filter("Configured").at(0),
                 QStringLiteral("INFO: BRQ Configured and Started from Power OFF"));
        QCOMPARE(f.events.only("sys").filter("Configured"),
                 QStringList{"INFO: BRQ Configured and Started from Power OFF"});
        // A weather packet also reaches the data log through the weather step.
        QCOMPARE(logData.count(), isWeather ? 2 : 1);
        QCOMPARE(logData.first().at(1).toJsonObject(), QJsonObject());
        QCOMPARE(logData.last().at(0).toByteArray(), first);
        QCOMPARE(logData.last().at(2).value<DeviceTypes>(), DeviceTypes::BRQ);

        idleTicks = 6;
        f.feed(first);
        QCOMPARE(config.count(), 1);
    }

    void startupDataWithoutTheFlagOnlyShown()
    {
        Fixture f;
        f.feed("\r\nON 12.6V\r\n\r\n");
        QCOMPARE(f.events.seen, QStringList{"raw:\r\nON 12.6V\r\n\r\n"});
    }

    void weatherPacketHandedOn()
    {
        Fixture f;
        QSignalSpy logData(&f.worker, &data_incoming::sendLogData);
        f.read(weatherPacket());
        // In the Default mode only the weather step writes to the data log, with the packet.
        QCOMPARE(logData.count(), 1);
        QCOMPARE(logData.at(0).at(0).toByteArray(), weatherPacket());
        QCOMPARE(f.events.count("record"), 1);
        QCOMPARE(f.events.only("raw"), QStringList{QString::fromLatin1(weatherPacket())});
        // The packet handed on leaves the buffer.
        QVERIFY(f.worker.receiveBuffer.isEmpty());
        QCOMPARE(idleTicks, 0);
    }

    void incompleteWeatherPacketWaits_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("rest");
        const QByteArray packet = weatherPacket();
        QTest::newRow("no closing empty line") << packet.left(packet.size() - 2) << packet.right(2);
        const int tilde = packet.indexOf('~');
        QTest::newRow("no ~ yet") << packet.left(tilde) << packet.mid(tilde);
        const int dataLine = packet.indexOf("\r\n@0") + 2;
        QTest::newRow("the @0 line not yet in") << packet.left(dataLine) << packet.mid(dataLine);
    }
    void incompleteWeatherPacketWaits()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, rest);
        Fixture f;
        f.read(first);
        // Silent for five ticks: still within the idle limit.
        lineFallsSilent(&f.worker, data_incoming::brqSilenceTicks - 1);
        QCOMPARE(f.events.count("record"), 0);
        f.read(rest);
        QCOMPARE(f.events.count("record"), 1);
        QVERIFY(f.worker.receiveBuffer.isEmpty());
    }

    // What the idle limit drops unread is counted in a line.
    void idleDropsTheBuffer()
    {
        Fixture f;
        const QByteArray packet = weatherPacket();
        f.feed(packet.left(20));
        f.feed(packet.mid(20));
        QCOMPARE(f.events.count("record"), 0);
        QVERIFY(f.worker.receiveBuffer.isEmpty());
        QCOMPARE(f.events.only("log"),
                 QStringList({"WARNING: BRQ data incomplete at a pause in the data, dropped [ 20 "
                              "bytes ]",
                              "WARNING: BRQ data incomplete at a pause in the data, dropped [ " +
                                  QString::number(packet.size() - 20) + " bytes ]"}));
    }

    // Packets closer together than the idle time: each is published once, in order, with its
    // own values and its own bytes in the data log.
    void packetsCloserThanTheIdleTime_data()
    {
        QTest::addColumn<QByteArrayList>("reads");
        const QByteArray a = weatherPacket("BRQ00001", "10.0");
        const QByteArray b = weatherPacket("BRQ00002", "20.0");
        const QByteArray c = weatherPacket("BRQ00003", "30.0");
        QTest::newRow("three reads") << QByteArrayList{a, b, c};
        QTest::newRow("one read") << QByteArrayList{a + b + c};
        QTest::newRow("reads across packets")
            << QByteArrayList{a + b.left(30), b.mid(30) + c.left(5), c.mid(5)};
    }
    void packetsCloserThanTheIdleTime()
    {
        QFETCH(QByteArrayList, reads);
        Fixture f;
        QSignalSpy logData(&f.worker, &data_incoming::sendLogData);
        for (const QByteArray& read : reads)
            f.read(read); // no idle tick between the reads
        QStringList temperatures;
        for (const QJsonObject& record : f.events.records)
            temperatures << record.value("Temperature").toString();
        QCOMPARE(temperatures, QStringList({"10.0", "20.0", "30.0"}));
        QCOMPARE(byteArgs(logData), QByteArrayList({weatherPacket("BRQ00001", "10.0"),
                                                    weatherPacket("BRQ00002", "20.0"),
                                                    weatherPacket("BRQ00003", "30.0")}));
        QVERIFY(f.worker.receiveBuffer.isEmpty());
    }

    // The same on a real port, the idle ticks counted for real: each packet goes once the one
    // before it is read and a pacing tick has passed behind it.
    void packetsCloserThanTheIdleTimeOnAPort()
    {
        PtyPair unit;
        auto* worker = new data_incoming;
        Events events(worker);
        worker->setDeviceTypeState(DeviceTypes::BRQ);
        WorkerThread thread(worker);
        QMetaObject::invokeMethod(worker, "openSerialPort", Q_ARG(QString, unit.portPath()));
        QTRY_VERIFY_WITH_TIMEOUT(!events.only("log").filter("Opened Serial Port").isEmpty(), 10000);
        // The counter belongs to the worker's thread: read it there.
        const auto ticks = [worker] {
            qint32 n = 0;
            runOnThread(worker, [&n] { n = idleTicks; });
            return n;
        };

        int written = 0;
        for (const char* t : {"10.0", "20.0", "30.0"}) {
            QVERIFY(unit.write(weatherPacket("BRQ00042", t)));
            ++written;
            QTRY_COMPARE_WITH_TIMEOUT(events.records.size(), written, 10000);
            QTRY_VERIFY_WITH_TIMEOUT(ticks() >= 1, 10000);
        }
        QCOMPARE(events.records.size(), 3);
        QCOMPARE(events.records.at(0).value("Temperature").toString(), QStringLiteral("10.0"));
        QCOMPARE(events.records.at(1).value("Temperature").toString(), QStringLiteral("20.0"));
        QCOMPARE(events.records.at(2).value("Temperature").toString(), QStringLiteral("30.0"));
    }

    // A message that the unit sends with less silence behind it than the protocol asks, a pause
    // inside a message shorter than the idle limit, and bytes that match nothing: each message
    // is reported once, and the records behind it are read as if they had come after a pause.
    void recordRightBehindAMessage_data()
    {
        QTest::addColumn<QByteArrayList>("writes");
        QTest::addColumn<QList<int>>("gaps"); // pacing ticks of silence before each later write
        QTest::addColumn<QString>("report");
        QTest::addColumn<QStringList>("warnings");
        const QByteArray a = weatherPacket("BRQ00042", "10.0");
        const QByteArray b = weatherPacket("BRQ00042", "20.0");
        const QByteArray reply = "\r\nI5 OK\r\n>";
        const QByteArray marks("\x02\x02\x02");
        const QByteArray banner = "\r\n\rBRQ v2.1 BRQ00042\r\n";
        const QString taken = "INFO: BRQ I5 confirmation received.";
        const QString started = "INFO: BRQ Configured and Started from Power OFF";
        const QString announced = "INFO: BRQ Startup Message Received";
        const QString error =
            "ERROR: Error in BRQ command processing, received spaces in response.";
        const QByteArray noise = lineNoise(200);
        const QStringList dropped{"WARNING: BRQ data matching no message dropped [ 200 bytes ]"};
        const QList<int> none{0, 0, 0};

        QTest::newRow("a reply and a record in one write")
            << QByteArrayList{reply + a, b} << QList<int>{6} << taken << QStringList();
        QTest::newRow("a reply, then records 0.1 s apart")
            << QByteArrayList{reply, a, b} << QList<int>{1, 1} << taken << QStringList();
        QTest::newRow("a reply between two records")
            << QByteArrayList{a + "\r\nC1 OK\r\n>", b} << none
            << "INFO: BRQ C1 OK confirmation received." << QStringList();
        QTest::newRow("the error marks in the next read")
            << QByteArrayList{"\r\nX9\r\n>\x02", "\x02\x02" + a, b} << none << error
            << QStringList();
        QTest::newRow("all the error marks in the next read")
            << QByteArrayList{"\r\nX9\r\n>", marks + a, b} << none << error << QStringList();
        QTest::newRow("the error marks 0.2 s behind the prompt, a record right behind them")
            << QByteArrayList{"\r\nX9\r\n>", marks, a, b} << QList<int>{2, 0, 1} << error
            << QStringList();
        QTest::newRow("the error marks half a second behind the prompt")
            << QByteArrayList{"\r\nX9\r\n>", marks + a, b} << QList<int>{5, 1} << error
            << QStringList();
        QTest::newRow("the start-up data")
            << QByteArrayList{"\r\nON 12.6V\r\n\r\n" + a, b} << none << started << QStringList();
        QTest::newRow("the start-up data, then a prompt")
            << QByteArrayList{"\r\nON 12.6V\r\n\r\n\r\n>" + a, b} << none << started
            << QStringList();
        QTest::newRow("the banner")
            << QByteArrayList{banner + a, b} << none << announced << QStringList();
        QTest::newRow("the banner in two reads")
            << QByteArrayList{"\r\n\rBRQ v2.", "1 BRQ00042\r\n" + a, b} << none << announced
            << QStringList();
        QTest::newRow("line noise, a record 0.4 s later")
            << QByteArrayList{noise, a, b} << QList<int>{4, 1} << started << dropped;
        QTest::newRow("line noise between two records")
            << QByteArrayList{a + noise, b} << QList<int>{3} << started << dropped;
        QTest::newRow("line noise before the start-up data")
            << QByteArrayList{noise + "\r\nON 12.6V\r\n\r\n", a, b} << QList<int>{2, 2} << started
            << dropped;
        QTest::newRow("line noise before the banner")
            << QByteArrayList{noise, banner, a, b} << QList<int>{1, 1, 1} << announced << dropped;
        // Text before a prompt is the reply's, whatever it holds.
        QTest::newRow("line noise before a reply")
            << QByteArrayList{noise + "\r\nC1 OK\r\n>", a, b} << QList<int>{1, 1}
            << "INFO: BRQ C1 OK confirmation received." << QStringList();
        QByteArray emptyLine = a;
        emptyLine.insert(emptyLine.indexOf("~"), "\r\n");
        QTest::newRow("an empty line before the ~")
            << QByteArrayList{emptyLine, b} << QList<int>{1} << started << QStringList();
        QTest::newRow("a pause in the middle of a record")
            << QByteArrayList{a.left(40), a.mid(40), b} << QList<int>{5, 1} << started
            << QStringList();
        // A damaged record is named, and takes nothing of the message behind it.
        const QString incomplete = "WARNING: BRQ weather packet incomplete, not read [ %1 bytes ]";
        const QByteArray cut = weatherPacket("BRQ00042", "99.9").chopped(5);
        QTest::newRow("a record that lost its end, the next record right behind it")
            << QByteArrayList{a, cut, b} << QList<int>{1, 1} << started
            << QStringList{incomplete.arg(cut.size())};
        QByteArray cutInLine = weatherPacket("BRQ00042", "99.9");
        cutInLine.truncate(cutInLine.indexOf("TA:") + 4);
        cutInLine += "#$\r";
        QTest::newRow("a record cut inside a line, noise and the next record behind it")
            << QByteArrayList{a, cutInLine + b} << QList<int>{1} << started
            << QStringList{incomplete.arg(cutInLine.size())};
        QByteArray noTilde = weatherPacket("BRQ00042", "99.9");
        noTilde.remove(noTilde.indexOf('~'), 1);
        QTest::newRow("a record that lost its ~, the banner right behind it")
            << QByteArrayList{a, noTilde + banner, b} << QList<int>{1, 1} << announced
            << QStringList{incomplete.arg(noTilde.size())};
        QTest::newRow("a record that lost its ~, then a pause")
            << QByteArrayList{noTilde, a, b} << QList<int>{6, 1} << started
            << QStringList{incomplete.arg(noTilde.size())};
        QByteArray strayAt = a;
        strayAt[strayAt.indexOf("WI:") + 2] = '@';
        const QString read = "WARNING: BRQ weather packet damaged, read as it stands [ 93 bytes ]";
        QTest::newRow("a record with a byte turned into @ before a 1, the next record behind it")
            << QByteArrayList{strayAt + b} << QList<int>() << read << QStringList{read};
        const QString damaged =
            "WARNING: BRQ image packet damaged, not stored: %1 bytes [ Cam: 1, Seq: 0 ]";
        const QByteArray packet = imagePacket(1, 0, 0, QByteArray());
        QTest::newRow("a picture packet cut short, a record 0.3 s behind it")
            << QByteArrayList{packet.left(200), a, b} << QList<int>{3, 6} << damaged.arg(200)
            << QStringList{damaged.arg(200)};
        const int filled = packet.size() - a.size();
        QTest::newRow("a picture packet cut short, a record right behind it in its length")
            << QByteArrayList{packet.left(filled) + a, b} << QList<int>{1} << damaged.arg(filled)
            << QStringList{damaged.arg(filled)};
        QTest::newRow("a picture packet cut short, the start-up data right behind it")
            << QByteArrayList{packet.left(200) + "\r\nON 12.6V\r\n\r\n", a, b} << QList<int>{6, 1}
            << damaged.arg(200) << QStringList{damaged.arg(200)};
    }
    void recordRightBehindAMessage()
    {
        QFETCH(QByteArrayList, writes);
        QFETCH(QList<int>, gaps);
        QFETCH(QString, report);
        QFETCH(QStringList, warnings);
        Fixture f;
        f.worker.setStartupSequence(true);
        QSignalSpy camera(&f.worker, &data_incoming::enableCamera);
        UnitLine line(&f.worker);
        for (int i = 0; i < writes.size(); ++i)
            QVERIFY(
                line.send(writes.at(i), i == 0 ? data_incoming::brqSilenceTicks : gaps.at(i - 1)));
        line.pause();

        QStringList temperatures;
        for (const QJsonObject& record : f.events.records)
            temperatures << record.value("Temperature").toString();
        QCOMPARE(temperatures, QStringList({"10.0", "20.0"}));
        QCOMPARE(f.events.only("log").count(report), 1);
        QCOMPARE(f.events.only("log").filter("WARNING"), warnings);
        QCOMPARE(f.events.count("config:EndSequence"), 1);
        QVERIFY(f.worker.receiveBuffer.isEmpty());
        // Only a picture packet of the stream, never a record's bytes, turns the camera on.
        QCOMPARE(spyArgs<bool>(camera).contains(true), report.contains("image packet"));
    }

    // What the operator is told depends only on the bytes: the stream read whole, cut in two at
    // every byte, and cut into random reads of 1 to 64 bytes, with no pause between the reads.
    void sameWhereverTheReadsEnd_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QByteArray>("command");   // waiting for the first prompt
        QTest::addColumn<QStringList>("reported"); // among the lines told, in this order
        const QByteArray banner = "\r\n\rBRQ v2.1 BRQ00042\r\n";
        const QByteArray startup = "\r\nON 12.6V\r\nM 10S\r\n\r\n";
        // A chunk whose last bytes are CR LF: two bytes before its end the packet ends in the
        // terminator.
        QByteArray crlfChunk = QByteArray(328, 'c') + "\r\n";
        // The terminator as the last four bytes of a 340-byte packet.
        QByteArray shortForm = imagePacket(2, 0, 1, QByteArray(326, 'b') + "\r\n\r\n");
        shortForm.chop(4);
        const QByteArray picture = imagePacket(2, 0, 0, crlfChunk) + shortForm +
                                   imagePacket(2, 11, 2, QByteArray(330, 'd'));
        const QByteArray error("\r\nX9\r\n>\x02\x02\x02", 10);

        QTest::newRow("every kind of message")
            << banner + startup + "\r\nC1 OK\r\n>" + weatherPacket("BRQ00042", "10.0") + error +
                   weatherPacket("BRQ00042", "20.0") + "m3\r\nM 5M\r\n>" + picture +
                   "@I:BRQ00042\r\n" + imagePacket(3, 11, 0, "SND" + QByteArray(327, 'e')) +
                   weatherPacket("BRQ00042", "30.0") + "\r\nS1 OK\r\n>"
            << QByteArray("C1\r")
            << QStringList{"log:INFO: BRQ Startup Message Received",
                           "raw:" + QString::fromLatin1(banner),
                           "log:INFO: BRQ Configured and Started from Power OFF",
                           "log:INFO: BRQ Command Sent C1",
                           "log:INFO: BRQ C1 OK confirmation received.",
                           "record",
                           "err:WARNING: Error in BRQ command processing, received spaces in "
                           "response.",
                           "record",
                           "log:INFO: BRQ M 5M confirmation received.",
                           "sys:INFO: BRQ Image received from Camera 2",
                           "sys:INFO: BRQ Image received from Camera 3",
                           "record",
                           "log:INFO: BRQ S1 OK confirmation received.",
                           "left:"};
        QByteArray lost = imagePacket(1, 0, 0, QByteArray(330, 'a'));
        lost.remove(100, 1);
        QByteArray added = imagePacket(1, 11, 1, QByteArray(330, 'f'));
        added.insert(200, 'x');
        QTest::newRow("damaged packets, a prompt inside a chunk, the error marks last")
            << lost + added + imagePacket(1, 11, 0, "\r\n>" + QByteArray(327, 'g')) + error
            << QByteArray()
            << QStringList{"log:WARNING: BRQ image packet damaged, not stored: 343 bytes [ Cam: 1, "
                           "Seq: 0 ]",
                           "log:WARNING: BRQ image packet damaged, not stored: 345 bytes [ Cam: 1, "
                           "Seq: 1 ]",
                           "log:ERROR: BRQ Image from Camera 1 abandoned, 2 of 2 packets damaged",
                           "sys:INFO: BRQ Image received from Camera 1",
                           "log:ERROR: Error in BRQ command processing, received spaces in "
                           "response.",
                           "left:"};
        // Its eighth byte would make it a packet of camera 3.
        QByteArray noI = weatherPacket("BRQ00042", "40.0");
        noI[1] = '1';
        QTest::newRow("a record whose @I turned @1, a picture of camera 3 behind it")
            << noI + imagePacket(3, 11, 0, QByteArray(330, 'h')) << QByteArray()
            << QStringList{"log:WARNING: BRQ weather packet damaged, not read [ " +
                               QString::number(noI.size()) + " bytes ]",
                           "sys:INFO: BRQ Image received from Camera 3", "left:"};
    }
    void sameWhereverTheReadsEnd()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QByteArray, command);
        QFETCH(QStringList, reported);
        ScopedClock clock(QDateTime(QDate(2024, 3, 7), QTime(14, 10), Qt::UTC));

        const QStringList whole = toldAbout({stream}, command);
        int at = 0;
        for (const QString& line : reported) {
            const int found = whole.indexOf(QRegularExpression(QRegularExpression::escape(line) +
                                                               (line.contains(':') ? "$" : ":.*")),
                                            at);
            QVERIFY2(found >= 0, qPrintable(line + "\n" + whole.mid(at).join('\n')));
            at = found + 1;
        }

        for (int cut = 1; cut < stream.size(); ++cut) {
            const QStringList told = toldAbout({stream.left(cut), stream.mid(cut)}, command);
            if (told != whole) {
                for (int i = 0; i < qMin(told.size(), whole.size()); ++i)
                    QVERIFY2(told.at(i) == whole.at(i),
                             qPrintable(QStringLiteral("cut at %1: %2 / %3")
                                            .arg(cut)
                                            .arg(told.at(i), whole.at(i))));
                QCOMPARE(told.size(), whole.size());
            }
        }

        QRandomGenerator random(20261207);
        for (int run = 0; run < 50; ++run) {
            QByteArrayList reads;
            for (int from = 0; from < stream.size();) {
                const int length = random.bounded(1, 65);
                reads << stream.mid(from, length);
                from += length;
            }
            QCOMPARE(toldAbout(reads, command), whole);
        }
    }

    void packetOtherLineMustBeData()
    {
        Fixture f;
        f.feed("@I:BRQ00042\r\n@2:00\r\n~\r\n\r\n");
        QCOMPARE(f.events.count("record"), 0);
    }

    // The unit never pauses: what the buffer holds at its limit is judged before the limit drops
    // what matches nothing, wherever the reads end.
    void bufferIsCapped_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("log");
        const QByteArray record = weatherPacket();
        const QString limit = "WARNING: BRQ receive buffer exceeded 65536 bytes without a pause in "
                              "the data, dropped [ %1 bytes ]";
        const QString noise = "WARNING: BRQ data matching no message dropped [ %1 bytes ]";
        QTest::newRow("bytes that match nothing")
            << QByteArray(65536, 'x') + "y" + record << QStringList{limit.arg(65536), noise.arg(1)};
        QTest::newRow("bytes that match nothing, a read ending in a line end's first byte")
            << QByteArray(4095, 'x') + "\r" + QByteArray(61440, 'x') + "y" + record
            << QStringList{limit.arg(65536), noise.arg(1)};
        QTest::newRow("a reply whose prompt is the last byte that fits")
            << QByteArray(65528, 'x') + "C1 OK" + kPrompt + record
            << QStringList{"INFO: BRQ C1 OK confirmation received."};
        QTest::newRow("a prompt cut by the limit")
            << QByteArray(65534, 'x') + kPrompt + "C0 OK" + kPrompt + record
            << QStringList{limit.arg(65534), "INFO: BRQ C0 OK confirmation received."};
    }
    void bufferIsCapped()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, log);
        Fixture cut;
        for (int at = 0; at < stream.size(); at += 4096)
            cut.read(stream.mid(at, 4096));
        QVERIFY(cut.worker.receiveBuffer.size() <= 65536);
        cut.silence();
        QCOMPARE(cut.events.only("log"), log);
        QCOMPARE(cut.events.count("record"), 1);

        Fixture whole;
        whole.feed(stream);
        QCOMPARE(whole.events.seen, cut.events.seen);
    }

    // Once the record builder runs, the packet's fields come back as a record.
    void weatherPacketBecomesRecord()
    {
        Fixture f;
        f.feed(weatherPacket("BRQ00777"));
        QCOMPARE(f.events.records.size(), 1);
        const QJsonObject record = f.events.records.at(0);
        QCOMPARE(record.value("IMEI").toString(), QStringLiteral("BRQ00777"));
        QCOMPARE(record.value("Temperature").toString(), QStringLiteral("15.2"));
        QCOMPARE(record.value("Humidity").toString(), QStringLiteral("50"));
        QCOMPARE(record.value("Obs METAR").toBool(true), false);
        QCOMPARE(record.value("Obs SPECI").toBool(true), false);
    }

    // A unit that shows its prompt for every four blanks it gets at a line start, as a real one
    // does, on a port left open across the pacing ticks: the prompt lets the commands go on the
    // read that brings it, so that the next tick writes no more blanks.
    void oneBurstAndOnePromptPerCommand_data()
    {
        QTest::addColumn<QByteArrayList>("commands"); // given together
        QTest::addColumn<QByteArray>("written");      // what the unit gets
        QTest::newRow("one command") << QByteArrayList{"C1\r"} << QByteArray("    C1\r");
        QTest::newRow("two commands")
            << QByteArrayList{"m1\r", "C0\r"} << QByteArray("    m1\r C0\r");
    }
    void oneBurstAndOnePromptPerCommand()
    {
        QFETCH(QByteArrayList, commands);
        QFETCH(QByteArray, written);
        Fixture f;
        UnitLine line(&f.worker);
        PtyPair& unit = line.unit;
        int wakePrompts = 0;
        qint64 fromUnit = 0;
        int blanks = 0;
        QByteArray command;
        QObject::connect(&unit, &PtyPair::bytesReceived, [&](const QByteArray& bytes) {
            for (const char c : bytes) {
                QByteArray answer;
                if (c == ' ' && command.isEmpty()) {
                    if (++blanks < 4)
                        continue;
                    ++wakePrompts;
                    answer = kPrompt;
                } else if (c == '\r') {
                    answer = "\r\n" + command.trimmed() + " OK" + kPrompt;
                    command.clear();
                } else {
                    command += c;
                }
                blanks = 0;
                fromUnit += answer.size();
                QVERIFY(unit.write(answer));
            }
        });

        for (const QByteArray& c : commands)
            f.worker.setCommandBuffer(c);
        qint64 toUnit = 0;
        for (int tick = 0; tick < 20; ++tick) {
            toUnit += !f.worker.transmitQueue.isEmpty()     ? 1
                      : !f.worker.pendingCommands.isEmpty() ? 4
                                                            : 0;
            f.worker.dataTimer();
            // What the tick wrote has reached the unit, and its answer the worker.
            QVERIFY(QTest::qWaitFor([&] { return unit.received().size() == toUnit; }, 10000));
            QVERIFY(QTest::qWaitFor([&] { return f.worker.pendingCalls().brqBytes == fromUnit; },
                                    10000));
        }

        QCOMPARE(unit.received(), written);
        QCOMPARE(wakePrompts, 1);
        QCOMPARE(f.events.count("confirmed"), 1);
        QCOMPARE(f.events.only("log").filter("Command Sent").size(), 1);
        // The prompt that let the commands go is shown with them, once.
        QCOMPARE(f.events.only("raw").count(QString::fromLatin1(kPrompt)), 1);
        QCOMPARE(f.events.only("log").filter("C").filter(" OK confirmation received").size(), 1);
    }

    // Closing the port ("Setup..." to another unit) drops the commands of the connection: those
    // whose closing "\r" had not gone out are named, and the window learns that they were not
    // sent.
    void closingNamesTheCommandsNotSent_data()
    {
        QTest::addColumn<bool>("prompt"); // the unit showed it and the commands began to go out
        QTest::addColumn<int>("ticks");   // bytes written after the prompt
        QTest::addColumn<QString>("unsent");
        QTest::addColumn<QByteArray>("left");    // sent last by the unit, waiting at the close
        QTest::addColumn<QStringList>("judged"); // told of it before the close
        QTest::addColumn<bool>("unplugged");     // the unit went, not the operator's close
        const QByteArray none;
        QTest::newRow("waiting for the prompt")
            << false << 0 << "m3, C1" << none << QStringList() << false;
        QTest::newRow("the first byte gone")
            << true << 1 << "m3, C1" << none << QStringList() << false;
        QTest::newRow("the first command gone")
            << true << 3 << "C1" << none << QStringList() << false;
        QTest::newRow("all but the last byte gone")
            << true << 6 << "C1" << none << QStringList() << false;
        QTest::newRow("all gone") << true << 7 << "" << none << QStringList() << false;
        QTest::newRow("the first command's end left, the unit unplugged")
            << true << 2 << "m3, C1" << none << QStringList() << true;
        QTest::newRow("the first command gone, the unit unplugged")
            << true << 3 << "C1" << none << QStringList() << true;
        QTest::newRow("a reply waiting for its error marks")
            << true << 7 << "" << QByteArray("C1\r\nC1 OK\r\n>")
            << QStringList{"INFO: BRQ C1 OK confirmation received."} << false;
        const QByteArray cutPicture =
            imagePacket(1, 0, 0, QByteArray()) + imagePacket(1, 0, 1, QByteArray()).left(200);
        const QStringList cutPictureJudged{
            "WARNING: BRQ data incomplete when the serial port closed, dropped [ 200 bytes ]",
            "ERROR: BRQ Image from Camera 1 abandoned, the serial port was closed"};
        QTest::newRow("a picture cut short")
            << true << 7 << "" << cutPicture << cutPictureJudged << false;
        QTest::newRow("a picture cut short, the unit unplugged")
            << true << 7 << "" << cutPicture << cutPictureJudged << true;
    }
    void closingNamesTheCommandsNotSent()
    {
        QFETCH(bool, prompt);
        QFETCH(int, ticks);
        QFETCH(QString, unsent);
        QFETCH(QByteArray, left);
        QFETCH(QStringList, judged);
        QFETCH(bool, unplugged);
        Fixture f;
        QTemporaryDir pictures;
        f.worker.imageFolder = pictures.path();
        QSignalSpy notSent(&f.worker, &data_incoming::sendCommandsNotSent);
        QSignalSpy camera(&f.worker, &data_incoming::enableCamera);
        UnitLine line(&f.worker);
        f.worker.setCommandBuffer("m3\r");
        f.worker.setCommandBuffer("C1\r");
        if (prompt)
            QVERIFY(line.send(kPrompt, 1));
        for (int i = 0; i < ticks; ++i)
            f.worker.dataTimer();
        const QByteArray gone = QByteArray("m3\r C1\r").left(ticks);
        QVERIFY(QTest::qWaitFor([&] { return line.unit.received().endsWith(gone); }, 10000));
        if (!left.isEmpty())
            QVERIFY(line.send(left, 1));
        f.events.seen.clear();
        const QString closed = "INFO: Successfully Closed Serial Port " + line.unit.portPath();
        QStringList log;
        if (unplugged) {
            line.unit.closeMaster();
            QVERIFY(QTest::qWaitFor([&] { return f.events.only("log").contains(closed); }, 10000));
            // The port's own error lines, whose reason the system words, are not the unit's.
            for (const QString& entry : f.events.only("log"))
                if (!entry.startsWith("ERROR: ") || judged.contains(entry))
                    log << entry;
            QVERIFY(line.unit.reopen());
        } else {
            f.worker.closeSerialPort();
            log = f.events.only("log");
        }

        const QString text =
            "WARNING: BRQ Commands Not Sent, Serial Port Closed [ " + unsent + " ]";
        // What the unit sent is told of before the close, none of it behind.
        QCOMPARE(log, judged + (unsent.isEmpty() ? QStringList() : QStringList{text}) +
                          QStringList{closed});
        QCOMPARE(f.events.only("sys").filter("Not Sent"),
                 unsent.isEmpty() ? QStringList() : QStringList{text});
        QCOMPARE(notSent.count(), unsent.isEmpty() ? 0 : 1);
        QVERIFY(camera.isEmpty() || !camera.last().at(0).toBool());
        // Nothing of this connection goes to the next, whose first record is read whole.
        QVERIFY(f.worker.pendingCommands.isEmpty() && f.worker.transmitQueue.isEmpty());
        line.unit.clearReceived();
        f.worker.openSerialPort(line.unit.portPath());
        QVERIFY(line.send(weatherPacket("BRQ00042", "10.0"), 1));
        line.pause();
        QCOMPARE(f.events.records.size(), 1);
        QCOMPARE(f.events.records.at(0).value("Temperature").toString(), QStringLiteral("10.0"));

        // The next connection's unit gets its own command after its own prompt, and nothing else.
        f.events.seen.clear();
        f.worker.setCommandBuffer("S1\r");
        f.worker.dataTimer();
        QVERIFY(line.send(kPrompt, 1));
        for (int i = 0; i < 3; ++i)
            f.worker.dataTimer();
        QVERIFY(QTest::qWaitFor([&] { return line.unit.received().endsWith("S1\r"); }, 10000));
        QCOMPARE(line.unit.received(), QByteArray("    S1\r"));
        QCOMPARE(f.events.only("log").filter("Command"), QStringList{"INFO: BRQ Command Sent S1"});
    }

    // The whole exchange on a real port, with the worker on its own thread and the real
    // 100 ms pacing: wake-up blanks, prompt, one byte per tick, acknowledgement.
    void commandExchangeOnAPort()
    {
        PtyPair unit;
        auto* worker = new data_incoming;
        Events events(worker);
        worker->setDeviceTypeState(DeviceTypes::BRQ);
        WorkerThread thread(worker);

        QMetaObject::invokeMethod(worker, "openSerialPort", Q_ARG(QString, unit.portPath()));
        QTRY_VERIFY_WITH_TIMEOUT(
            events.only("log").contains("INFO: Successfully Opened Serial Port " + unit.portPath()),
            10000);

        QMetaObject::invokeMethod(worker, "setCommandBuffer", Q_ARG(QByteArray, "m3\r"));
        // Woken with four blanks a tick until the prompt comes.
        QTRY_VERIFY_WITH_TIMEOUT(unit.received().size() >= 8, 10000);
        QCOMPARE(unit.received(), QByteArray(unit.received().size(), ' '));
        QCOMPARE(unit.received().size() % 4, 0);

        unit.write("\r\n>");
        QTRY_COMPARE_WITH_TIMEOUT(events.count("confirmed"), 1, 10000);
        // The pacing tick may already have sent the first byte; only blanks come before it.
        QTRY_VERIFY_WITH_TIMEOUT(unit.received().endsWith("m3\r"), 10000);
        const QByteArray sent = unit.received().chopped(3);
        QCOMPARE(sent, QByteArray(sent.size(), ' '));
        QCOMPARE(events.only("log").filter("Command Sent"),
                 QStringList{"INFO: BRQ Command Sent m3"});

        unit.write("m3\r\nM 5M\r\n>");
        QTRY_COMPARE_WITH_TIMEOUT(events.only("sys").filter("5min"),
                                  QStringList{"INFO: BRQ 5min confirmation received"}, 10000);
        QCOMPARE(events.only("log").filter("M 5M"),
                 QStringList{"INFO: BRQ M 5M confirmation received."});
        QCOMPARE(events.count("confirmed"), 1);
    }
};

QTEST_GUILESS_MAIN(TestBrqProtocol)
#include "tst_brqprotocol.moc"
