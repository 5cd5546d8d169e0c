#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "tests/link/linktest.h"
#include "tests/support/runonthread.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <limits>

namespace
{

// Opens the worker's state to the test.
class Probe : public data_incoming
{
public:
    using data_incoming::data_incoming;
    using data_incoming::emptyRecord;
    using data_incoming::encryptionIV;
    using data_incoming::encryptionKey;
    using data_incoming::frameTimer;
    using data_incoming::imageFolder;
    using data_incoming::pacingTimer;
    using data_incoming::packetBacklog;
    using data_incoming::serialPort;
};

QStringList methodsOf(QMetaMethod::MethodType type)
{
    const QMetaObject& mo = data_incoming::staticMetaObject;
    QStringList out;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
        const QMetaMethod m = mo.method(i);
        if (m.methodType() == type)
            out << QString::fromLatin1(m.typeName()) + QLatin1Char(' ') +
                       QString::fromLatin1(m.methodSignature());
    }
    return out;
}

} // namespace

class TestLinkWorker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerSharedMetaTypes(); }
    void init() { idleTicks = 0; }

    // Other parts of the application connect by these signatures and rely on this order.
    void signalTableInOrder()
    {
        const QStringList expected{
            "void weather_data_received(QJsonObject)",
            "void sendLogData(QByteArray,QJsonObject,DeviceTypes)",
            "void sendLogMsg(QByteArray)",
            "void enableCamera(bool)",
            "void sendImageProgressInfo(int,int)",
            "void sendCameraProgress(QString,int,QString,double,QString)",
            "void sendCameraFinal(int,QString)",
            "void sendRawData(QByteArray)",
            "void sendDecodedData(QByteArray)",
            "void sendConfiguration(QString)",
            "void sendCommandConfirmation()",
            "void sendBITcheckPacket(QByteArray)",
            "void sendMetarStatus(QByteArray)",
            "void sendStackData(QStringList)",
            "void sendORVACmdStatus(QString)",
            "void sendDisplayErrorMsg(QString)",
            "void sendDisplaySysMsg(QString)",
            "void sendLightningCompassData(QByteArray)",
            "void sendModuleStatus(QString,QString)",
            "void sendSpeciData(QString,int)",
            "void sendEncryptionStatus(int)",
            "void setEncryptionKeyRequired()",
            "void command_status_changed(int,int)",
            "void on_error_station_radio()",
            "void encryption_status_changed(int)",
            "void send_metar_confirmed(QString)",
            "void metar_detected(QJsonObject)",
            "void speci_detected(QJsonObject)",
            "void prepSchedReceived(QString,int)",
            "void sig_orva_enable_disable(QString)",
            "void lightning_autocal_confirmed()",
            "void lightning_parameters_received(int,int,int)",
            "void encryption_parse_confirmed(KeyChangeState)",
            "void sendCommandsNotSent()",
        };
        QCOMPARE(methodsOf(QMetaMethod::Signal), expected);
    }

    void slotTableInOrder()
    {
        const QStringList expected{
            "void closeSerialPort()",
            "void openSerialPort(QString)",
            "void receiveData()",
            "void parseData_BRQ(QByteArray)",
            "void parseData_ORVA(QByteArray)",
            "void parseData_ORVA_Legacy(QByteArray)",
            "void writeData(QByteArray)",
            "void setCommandBuffer(QByteArray)",
            "void setLoggingState(LoggingType)",
            "void setDeviceTypeState(DeviceTypes)",
            "void sendLogMsgLocal(QByteArray)",
            "void showLiveData(bool)",
            "void setStartupSequence(bool)",
            "void clearTampering()",
            "void legacyorvadevicecheck(bool)",
            "void waitSerialWrite()",
            "void setEncryptionKey(QByteArray,QByteArray)",
            "void setDevModeState(bool)",
            "void updateRunwayDirection(double)",
            "void debugORVApacket()",
            "void setPrecipAccum24IntState(PrecipAccum24hInterval)",
            "void handleError(QSerialPort::SerialPortError)",
            "void dataTimer()",
            "void reconnectTimer()",
            "void handleWeatherData(QByteArray,char,QByteArray)",
            "QByteArray translateConstants(int)",
            "void sendLogC(QByteArray)",
            "bool verify_packet(QByteArray)",
            "bool validate_list(QStringList,int)",
        };
        QCOMPARE(methodsOf(QMetaMethod::Slot), expected);
    }

    void freshWorker()
    {
        Probe worker;
        QVERIFY(!worker.serialPort->isOpen());
        QVERIFY(worker.pacingTimer->isActive());
        QCOMPARE(worker.pacingTimer->interval(), 100);
        QVERIFY(!worker.frameTimer->isActive());
        QVERIFY(!worker.findChild<QTimer*>("portReconnectTimer"));
        QVERIFY(!worker.findChild<QTimer*>("waitWriteTimer"));
        QCOMPARE(worker.packetBacklog, QStringList({QString(), QString(), QString()}));
        QVERIFY(worker.emptyRecord.isEmpty());
        QCOMPARE(worker.pendingCalls().orvaCalls, 0);
    }

    // Image files must land in one known folder, not wherever the process was started.
    void imageFolderIsAbsoluteAndMade()
    {
        const QString expected = QDir::cleanPath(
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/temp");
        QDir(expected).removeRecursively();
        Probe worker;
        QCOMPARE(worker.imageFolder, expected);
        QVERIFY(QDir::isAbsolutePath(worker.imageFolder));
        QVERIFY(QDir(expected).exists());
    }

    void translateConstants_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("logging");
        QTest::addColumn<int>("which");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no device yet") << -1 << -1 << 1 << QByteArray("None");
        QTest::newRow("BRQ") << 1 << 0 << 1 << QByteArray("BRQ");
        QTest::newRow("ORVA") << 2 << 0 << 1 << QByteArray("ORVA");
        QTest::newRow("unknown device") << 9 << 0 << 1 << QByteArray("None");
        QTest::newRow("default logging") << -1 << -1 << 2 << QByteArray("Default");
        QTest::newRow("data logging") << 0 << 1 << 2 << QByteArray("Data");
        QTest::newRow("debug logging") << 0 << 2 << 2 << QByteArray("Debug");
        QTest::newRow("unknown logging") << 0 << 7 << 2 << QByteArray("Default");
        QTest::newRow("other selector") << 2 << 2 << 3 << QByteArray();
        QTest::newRow("zero selector") << 2 << 2 << 0 << QByteArray();
    }
    void translateConstants()
    {
        QFETCH(int, device);
        QFETCH(int, logging);
        QFETCH(int, which);
        QFETCH(QByteArray, expected);
        Probe worker;
        if (device >= 0)
            worker.setDeviceTypeState(static_cast<DeviceTypes>(device));
        if (logging >= 0)
            worker.setLoggingState(static_cast<LoggingType>(logging));
        QCOMPARE(worker.translateConstants(which), expected);
    }

    void validateList_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("expected");
        QTest::newRow("empty, none needed") << QStringList() << 0 << true;
        QTest::newRow("one, two needed") << QStringList{"a"} << 2 << false;
        QTest::newRow("exactly enough") << QStringList{"a", "b"} << 2 << true;
        QTest::newRow("more than enough") << QStringList{"a", "b", "c"} << 2 << true;
        QTest::newRow("empty, one needed") << QStringList() << 1 << false;
    }
    void validateList()
    {
        QFETCH(QStringList, list);
        QFETCH(int, n);
        QFETCH(bool, expected);
        Probe worker;
        QCOMPARE(worker.validate_list(list, n), expected);
    }

    void reportTexts()
    {
        Probe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy errors(&worker, &data_incoming::sendDisplayErrorMsg);
        QSignalSpy system(&worker, &data_incoming::sendDisplaySysMsg);
        const QByteArray frame("@3:send=QUEUED~1A2B\r\n\r\n");

        worker.reportInfo("Send command enqueued.", frame);
        QCOMPARE(textArgs(log), QStringList{"INFO: Send command enqueued.[ " + frame + " ]"});
        QCOMPARE(textArgs(system), QStringList{"INFO: Send command enqueued."});
        QCOMPARE(errors.count(), 0);

        log.clear();
        system.clear();
        worker.reportError("Declination setting failed.", frame);
        QCOMPARE(textArgs(log), QStringList{"ERROR: Declination setting failed.[ " + frame + " ]"});
        QCOMPARE(textArgs(errors), QStringList{"ERROR: Declination setting failed."});
        QCOMPARE(system.count(), 0);
    }

    // Each setter emits exactly the lines listed and nothing else.
    void setterMessages_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("logLines");
        QTest::addColumn<QStringList>("systemLines");
        QTest::newRow("device BRQ")
            << "device 1" << QStringList{"INFO: Setting Device Type to BRQ"} << QStringList();
        QTest::newRow("device ORVA")
            << "device 2" << QStringList{"INFO: Setting Device Type to ORVA"} << QStringList();
        QTest::newRow("device None")
            << "device 0" << QStringList{"INFO: Setting Device Type to None"} << QStringList();
        QTest::newRow("device unknown")
            << "device 5" << QStringList{"INFO: Setting Device Type to None"} << QStringList();
        QTest::newRow("dev mode on")
            << "devmode 1" << QStringList{"INFO: Sending DEV MODE state to [TRUE]"}
            << QStringList();
        QTest::newRow("dev mode off")
            << "devmode 0" << QStringList{"INFO: Sending DEV MODE state to [FALSE]"}
            << QStringList();
        QTest::newRow("encryption key")
            << "key" << QStringList{"INFO: Encryption Key Has been loaded."}
            << QStringList{"INFO: Encryption Key Has been loaded."};
        QTest::newRow("local log line") << "local" << QStringList{"INFO: a line"} << QStringList();
        QTest::newRow("log line C") << "logc" << QStringList{"INFO: a line"} << QStringList();
        for (const char* silent :
             {"logging", "precip", "legacy", "startup", "live", "runway", "tamper"})
            QTest::newRow(silent) << silent << QStringList() << QStringList();
    }
    void setterMessages()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, logLines);
        QFETCH(QStringList, systemLines);
        Probe worker;
        AllSignals all(&worker);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        QSignalSpy system(&worker, &data_incoming::sendDisplaySysMsg);

        const QStringList words = action.split(' ');
        const int arg = words.value(1).toInt();
        if (words[0] == "device")
            worker.setDeviceTypeState(static_cast<DeviceTypes>(arg));
        else if (words[0] == "devmode")
            worker.setDevModeState(arg != 0);
        else if (words[0] == "key")
            worker.setEncryptionKey("a2V5", "iv");
        else if (words[0] == "local")
            worker.sendLogMsgLocal("INFO: a line");
        else if (words[0] == "logc")
            worker.sendLogC("INFO: a line");
        else if (words[0] == "logging")
            worker.setLoggingState(LoggingType::Debug);
        else if (words[0] == "precip")
            worker.setPrecipAccum24IntState(PrecipAccum24hInterval::Since12Z);
        else if (words[0] == "legacy")
            worker.legacyorvadevicecheck(true);
        else if (words[0] == "startup")
            worker.setStartupSequence(true);
        else if (words[0] == "live")
            worker.showLiveData(false);
        else if (words[0] == "runway")
            worker.updateRunwayDirection(270.0);
        else if (words[0] == "tamper")
            worker.clearTampering();
        else
            QFAIL("unknown action");

        QCOMPARE(textArgs(log), logLines);
        QCOMPARE(textArgs(system), systemLines);
        QCOMPARE(all.total(), logLines.size() + systemLines.size());
    }

    void encryptionKeyReplacedWhole()
    {
        Probe worker;
        worker.setEncryptionKey("Zmlyc3Q=", "iv-one");
        worker.setEncryptionKey("", "iv-two");
        QVERIFY(worker.encryptionKey.isEmpty());
        QCOMPARE(worker.encryptionIV, QByteArray("iv-two"));
    }

    // With no device type a tick only counts; the counter must not wrap to negative.
    void idleTicksCountAndSaturate()
    {
        Probe worker;
        worker.pacingTimer->stop();
        AllSignals all(&worker);
        for (int i = 0; i < 3; ++i)
            worker.dataTimer();
        QCOMPARE(idleTicks, 3);
        idleTicks = std::numeric_limits<qint32>::max() - 1;
        worker.dataTimer();
        worker.dataTimer();
        QCOMPARE(idleTicks, std::numeric_limits<qint32>::max());
        QCOMPARE(all.total(), 0);
    }

    // The pacing timer keeps ticking after the worker moved to its own thread.
    void pacingRunsOnWorkerThread()
    {
        QThread thread;
        auto* worker = new Probe();
        worker->moveToThread(&thread);
        connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        thread.start();
        const auto stop = qScopeGuard([&thread] {
            thread.quit();
            thread.wait();
        });
        // The counter belongs to the worker's thread: read it there.
        auto ticks = [worker] {
            qint32 n = 0;
            runOnThread(worker, [&n] { n = idleTicks; });
            return n;
        };
        QTRY_VERIFY_WITH_TIMEOUT(ticks() >= 3, 10000);
    }
};

QTEST_GUILESS_MAIN(TestLinkWorker)
#include "tst_linkworker.moc"
