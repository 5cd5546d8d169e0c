#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "tests/link/linktest.h"
#include "tools/unitsim/ptypair.h"

#include <QSignalSpy>
#include <QtTest>

using unitsim::PtyPair;

namespace
{

// Opens the worker's state to the test.
class Probe : public data_incoming
{
public:
    using data_incoming::data_incoming;
    using data_incoming::pacingTimer;
    using data_incoming::positionReset;
    using data_incoming::receiveBuffer;
    using data_incoming::serialPort;
};

// Every signal this parser may emit, recorded in one place.
struct Spies {
    explicit Spies(data_incoming* w)
        : log(w, &data_incoming::sendLogMsg), sys(w, &data_incoming::sendDisplaySysMsg),
          errors(w, &data_incoming::sendDisplayErrorMsg), raw(w, &data_incoming::sendRawData),
          dataLog(w, &data_incoming::sendLogData), records(w, &data_incoming::weather_data_received)
    {
    }
    QSignalSpy log, sys, errors, raw, dataLog, records;
};

// A legacy weather block as the unit sends it, with its own temperature.
QByteArray weatherBlock(const QByteArray& temperature, const QByteArray& time = "12:30:45")
{
    return "@I:LEG0042\r\n"
           "T:24/05/01," +
           time +
           "\r\n"
           "WI:5.2:180:6.1:175\r\n"
           "TA:" +
           temperature +
           "\r\n"
           "RH:40\r\n"
           "@0:00~\r\n"
           "\r\n";
}

void makeLegacy(Probe& worker)
{
    worker.pacingTimer->stop();
    worker.setDeviceTypeState(DeviceTypes::ORVA);
    worker.legacyorvadevicecheck(true);
}

// A second of silence, counted the way the link counts it.
void idle(data_incoming& worker, int ticks)
{
    for (int i = 0; i < ticks; ++i)
        worker.dataTimer();
}

} // namespace

class TestLegacyOrva : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerSharedMetaTypes(); }
    void init() { idleTicks = 0; }

    void keywordResponses_data()
    {
        QTest::addColumn<QByteArray>("chunk");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("errorPane");
        QTest::addColumn<bool>("resetsPosition");

        QTest::newRow("invalid command")
            << QByteArray("Invalid Command Received.\r\n")
            << "WARNING: ORVA Invalid Command Received" << true << false;
        QTest::newRow("ICAO") << QByteArray("ICAO:KXYZ\r\n") << "INFO: ORVA New ICAO Set" << false
                              << false;
        QTest::newRow("default") << QByteArray("ICAO set to default\r\n")
                                 << "INFO: ORVA Default ICAO Set" << false << false;
        QTest::newRow("rate") << QByteArray("Rate: 60\r\n") << "INFO: ORVA Module Frequency Set"
                              << false << false;
        QTest::newRow("GPS not enabled")
            << QByteArray("GPS not enabled\r\n") << "INFO: ORVA GPS is not currently enabled"
            << false << false;
        QTest::newRow("GPS enabled")
            << QByteArray("GPS enabled\r\n") << "INFO: ORVA GPS Enabled" << false << true;
        QTest::newRow("GPS disabled")
            << QByteArray("GPS disabled\r\n") << "INFO: ORVA GPS Disabled" << false << true;
        QTest::newRow("GPS read") << QByteArray("GPS read started\r\n")
                                  << "INFO: ORVA GPS Read Started" << false << false;
        QTest::newRow("reset") << QByteArray("RESET\r\n") << "INFO: ORVA Unit Reset" << false
                               << false;
        QTest::newRow("elevation")
            << QByteArray("EL 1234\r\n") << "INFO: ORVA Elevation Set" << false << true;
        QTest::newRow("date") << QByteArray("DATE SET\r\n") << "INFO: ORVA Date Time Manually Set"
                              << false << false;

        // Several keywords in one buffer: the earlier row of the table wins, wherever it stands.
        QTest::newRow("reset before date")
            << QByteArray("DATE SET\r\nRESET\r\n") << "INFO: ORVA Unit Reset" << false << false;
        QTest::newRow("invalid before rate")
            << QByteArray("Rate: 5\r\nInvalid Command Received.\r\n")
            << "WARNING: ORVA Invalid Command Received" << true << false;
        // Case matters: "gps enabled" is no answer, "GPS disabled" is.
        QTest::newRow("case-sensitive") << QByteArray("gps enabled\r\nGPS disabled\r\n")
                                        << "INFO: ORVA GPS Disabled" << false << true;
        // A weather block that holds a keyword is taken as the answer and dropped.
        QTest::newRow("keyword inside a block")
            << QByteArray("@I:LEG0042\r\nB:RESET\r\nTA:21.5\r\n@0:00~\r\n\r\n")
            << "INFO: ORVA Unit Reset" << false << false;
    }
    void keywordResponses()
    {
        QFETCH(QByteArray, chunk);
        QFETCH(QString, message);
        QFETCH(bool, errorPane);
        QFETCH(bool, resetsPosition);

        Probe worker;
        makeLegacy(worker);
        Spies spies(&worker);
        worker.parseData_ORVA_Legacy(chunk);

        QCOMPARE(textArgs(spies.log), QStringList{message});
        QCOMPARE(textArgs(spies.errors), errorPane ? QStringList{message} : QStringList{});
        QCOMPARE(textArgs(spies.sys), errorPane ? QStringList{} : QStringList{message});
        QCOMPARE(worker.positionReset, resetsPosition);
        QVERIFY(worker.receiveBuffer.isEmpty());
        QCOMPARE(spies.raw.count() + spies.dataLog.count() + spies.records.count(), 0);
        QCOMPARE(idleTicks, 0);
    }

    void unknownTextWaitsInTheBuffer()
    {
        Probe worker;
        makeLegacy(worker);
        Spies spies(&worker);
        worker.parseData_ORVA_Legacy("OK\r\n");
        worker.parseData_ORVA_Legacy("ready\r\n");
        QCOMPARE(worker.receiveBuffer, QByteArray("OK\r\nready\r\n"));
        QCOMPARE(spies.log.count() + spies.sys.count() + spies.errors.count() + spies.raw.count(),
                 0);
    }

    // The idle rule: up to ten ticks of silence keep the buffer, the eleventh drops it.
    void keywordSplitOverChunks_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<bool>("recognised");
        QTest::newRow("no pause") << 0 << true;
        QTest::newRow("ten ticks") << 10 << true;
        QTest::newRow("eleven ticks") << 11 << false;
    }
    void keywordSplitOverChunks()
    {
        QFETCH(int, ticks);
        QFETCH(bool, recognised);
        Probe worker;
        makeLegacy(worker);
        Spies spies(&worker);

        idle(worker, 20); // a long silence before the answer starts does not matter
        worker.parseData_ORVA_Legacy("GPS ena");
        QCOMPARE(spies.log.count(), 0);
        QCOMPARE(idleTicks, 0);
        idle(worker, ticks);
        worker.parseData_ORVA_Legacy("bled\r\n");

        QCOMPARE(textArgs(spies.sys),
                 recognised ? QStringList{"INFO: ORVA GPS Enabled"} : QStringList{});
        QCOMPARE(worker.positionReset, recognised);
        QCOMPARE(worker.receiveBuffer, recognised ? QByteArray() : QByteArray("bled\r\n"));
    }

    void weatherBlockHandedOn()
    {
        Probe worker;
        makeLegacy(worker);
        Spies spies(&worker);
        const QByteArray block = weatherBlock("21.5");

        worker.parseData_ORVA_Legacy(block);

        QCOMPARE(spies.raw.count(), 1);
        QCOMPARE(spies.raw.at(0).at(0).toByteArray(), block);
        // The record step sends every weather packet to the data log with its record.
        QCOMPARE(spies.dataLog.count(), 1);
        QCOMPARE(spies.dataLog.at(0).at(0).toByteArray(), block);
        QCOMPARE(spies.dataLog.at(0).at(2).value<DeviceTypes>(), DeviceTypes::ORVA);
        QCOMPARE(spies.records.count(), 1);
        QCOMPARE(spies.log.count() + spies.sys.count() + spies.errors.count(), 0);
        QVERIFY(worker.receiveBuffer.isEmpty());
        QCOMPARE(idleTicks, 0);
    }

    void weatherBlockBecomesRecord()
    {
        Probe worker;
        makeLegacy(worker);
        QSignalSpy records(&worker, &data_incoming::weather_data_received);
        QSignalSpy metars(&worker, &data_incoming::metar_detected);

        worker.parseData_ORVA_Legacy(weatherBlock("21.5"));

        QCOMPARE(records.count(), 1);
        const QJsonObject record = records.at(0).at(0).toJsonObject();
        QCOMPARE(record.value("Timestamp").toString(), QString("2024-05-01 12:30:45"));
        QCOMPARE(record.value("Temperature").toString(), QString("21.5"));
        QCOMPARE(record.value("Humidity").toString(), QString("40"));
        QCOMPARE(record.value("Wind Direction").toString(), QString("180"));
        QCOMPARE(record.value("Obs METAR").toBool(), false);
        QCOMPARE(record.value("Obs SPECI").toBool(), false);
        QCOMPARE(record.value("Backlog Status").toBool(), false);
        QCOMPARE(metars.count(), 0);
    }

    // Each piece of a block that arrives within the idle limit extends it; only the piece that
    // completes it hands it on, once.
    void weatherBlockOverChunks()
    {
        Probe worker;
        makeLegacy(worker);
        Spies spies(&worker);
        const QByteArray block = weatherBlock("21.5");
        const int cuts[] = {5, 30, block.size() - 3, block.size() - 1};

        int from = 0;
        for (int cut : cuts) {
            worker.parseData_ORVA_Legacy(block.mid(from, cut - from));
            from = cut;
            idle(worker, 3);
        }
        QCOMPARE(spies.records.count(), 0);
        worker.parseData_ORVA_Legacy(block.mid(from));
        QCOMPARE(spies.records.count(), 1);
        QCOMPARE(spies.dataLog.at(0).at(0).toByteArray(), block);
    }

    void incompleteBlockNotHandedOn_data()
    {
        QTest::addColumn<QByteArray>("chunk");
        const QByteArray block = weatherBlock("21.5");
        QTest::newRow("no tilde") << QByteArray(block).replace('~', "");
        QTest::newRow("no closing empty line") << block.left(block.size() - 2);
        QTest::newRow("last @-line is not @0")
            << QByteArray("@I:LEG0042\r\nTA:21.5\r\n@0:00\r\n@1:SND~\r\n\r\n");
        QTest::newRow("no @0 line") << QByteArray("@I:LEG0042\r\nTA:21.5~\r\n\r\n");
        QTest::newRow("text before @I") << "\r\n" + block;
    }
    void incompleteBlockNotHandedOn()
    {
        QFETCH(QByteArray, chunk);
        Probe worker;
        makeLegacy(worker);
        Spies spies(&worker);
        worker.parseData_ORVA_Legacy(chunk);
        QCOMPARE(spies.raw.count() + spies.dataLog.count() + spies.records.count(), 0);
        QCOMPARE(worker.receiveBuffer, chunk);
    }

    // Once handed on, a block is gone: the next block within a second is published with its own
    // values, and trailing bytes never publish the old block again.
    void nextBlockPublishedOnItsOwn()
    {
        Probe worker;
        makeLegacy(worker);
        Spies spies(&worker);
        const QByteArray first = weatherBlock("21.5", "12:30:45");
        const QByteArray second = weatherBlock("18.25", "12:30:50");

        worker.parseData_ORVA_Legacy(first);
        idle(worker, 2);
        worker.parseData_ORVA_Legacy(second);

        QCOMPARE(spies.records.count(), 2);
        QCOMPARE(spies.dataLog.count(), 2);
        QCOMPARE(spies.dataLog.at(1).at(0).toByteArray(), second);
        const QJsonObject record = spies.records.at(1).at(0).toJsonObject();
        QCOMPARE(record.value("Temperature").toString(), QString("18.25"));
        QCOMPARE(record.value("Timestamp").toString(), QString("2024-05-01 12:30:50"));

        idle(worker, 2);
        worker.parseData_ORVA_Legacy("\r\n\r\n");
        QCOMPARE(spies.records.count(), 2);
    }

    void responsePacket_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("chunk");
        QTest::addColumn<bool>("logged");
        QTest::newRow("default mode") << 0 << QByteArray("@6:status=OK\r\n") << false;
        QTest::newRow("data mode") << 1 << QByteArray("@6:status=OK\r\n") << true;
        QTest::newRow("debug mode") << 2 << QByteArray("@6:status=OK\r\n") << true;
        QTest::newRow("line not ended") << 1 << QByteArray("@6:status=OK") << false;
    }
    void responsePacket()
    {
        QFETCH(int, mode);
        QFETCH(QByteArray, chunk);
        QFETCH(bool, logged);
        Probe worker;
        makeLegacy(worker);
        worker.setLoggingState(static_cast<LoggingType>(mode));
        Spies spies(&worker);

        worker.parseData_ORVA_Legacy(chunk);

        QCOMPARE(spies.raw.count(), 1);
        QCOMPARE(spies.raw.at(0).at(0).toByteArray(), chunk);
        QCOMPARE(spies.dataLog.count(), logged ? 1 : 0);
        if (logged) {
            QCOMPARE(spies.dataLog.at(0).at(0).toByteArray(), chunk);
            QVERIFY(spies.dataLog.at(0).at(1).toJsonObject().isEmpty());
            QCOMPARE(spies.dataLog.at(0).at(2).value<DeviceTypes>(), DeviceTypes::ORVA);
        }
        QCOMPARE(worker.receiveBuffer, chunk);

        // It stays in the buffer, so the next chunk shows it again with the new bytes.
        worker.parseData_ORVA_Legacy("more");
        QCOMPARE(spies.raw.count(), 2);
        QCOMPARE(spies.raw.at(1).at(0).toByteArray(), chunk + "more");
        QCOMPARE(spies.log.count(), 0);
    }

    // A unit that never pauses cannot grow the buffer past 64 KiB.
    void bufferIsCapped()
    {
        Probe worker;
        makeLegacy(worker);
        Spies spies(&worker);
        const QByteArray kib(1024, 'x');
        for (int i = 0; i < 64; ++i)
            worker.parseData_ORVA_Legacy(kib);
        QCOMPARE(worker.receiveBuffer.size(), 65536);
        QCOMPARE(spies.log.count(), 0);

        worker.parseData_ORVA_Legacy("y");
        QCOMPARE(worker.receiveBuffer, QByteArray("y"));
        QCOMPARE(spies.log.count(), 1);
        QVERIFY(textArgs(spies.log).at(0).startsWith("WARNING: "));

        // Answers are recognised again straight after.
        worker.parseData_ORVA_Legacy("RESET\r\n");
        QCOMPARE(textArgs(spies.log).last(), QString("INFO: ORVA Unit Reset"));
    }

    void oversizedReadDropped()
    {
        Probe worker;
        makeLegacy(worker);
        Spies spies(&worker);
        worker.parseData_ORVA_Legacy("RES");
        worker.parseData_ORVA_Legacy(QByteArray(65537, 'z'));
        QVERIFY(worker.receiveBuffer.isEmpty());
        QCOMPARE(spies.log.count(), 1);
        QVERIFY(textArgs(spies.log).at(0).startsWith("WARNING: "));
        QCOMPARE(idleTicks, 0);
    }

    // The unit on a real serial line: answers and weather blocks arrive through the port.
    void overSerialLine()
    {
        PtyPair pty;
        Probe worker;
        makeLegacy(worker);
        worker.openSerialPort(pty.portPath());
        QVERIFY(worker.serialPort->isOpen());
        Spies spies(&worker);

        QVERIFY(pty.write("GPS enabled\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(textArgs(spies.sys), QStringList{"INFO: ORVA GPS Enabled"},
                                  10000);
        QCOMPARE(textArgs(spies.log), QStringList{"INFO: ORVA GPS Enabled"});
        QVERIFY(worker.positionReset);

        QVERIFY(pty.write("Invalid Command Received.\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(textArgs(spies.errors),
                                  QStringList{"WARNING: ORVA Invalid Command Received"}, 10000);

        QVERIFY(pty.write(weatherBlock("21.5")));
        QTRY_COMPARE_WITH_TIMEOUT(spies.records.count(), 1, 10000);
        QCOMPARE(spies.records.at(0).at(0).toJsonObject().value("Temperature").toString(),
                 QString("21.5"));
    }
};

QTEST_GUILESS_MAIN(TestLegacyOrva)
#include "tst_legacyorva.moc"
