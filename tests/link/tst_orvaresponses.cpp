#include "tests/support/testsupport.h"

#include "decoder/weatherdatadecoder.h"
#include "link/data_incoming.h"
#include "tests/link/linktest.h"
#include "tests/support/runonthread.h"
#include "tools/unitsim/ptypair.h"
#include "tools/unitsim/unitframes.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

using unitsim::orvaFrame;
using unitsim::PtyPair;

namespace
{

class Probe : public data_incoming
{
public:
    using data_incoming::data_incoming;
    using data_incoming::decoder;
    using data_incoming::parseCommandResponse;
    using data_incoming::positionReset;
};

// One response line per entry. A first entry that starts with "^" continues the head line
// instead: the name then stands in the frame but outside line 1.
QByteArray frame3(QStringList lines)
{
    QByteArray payload = "\r\n";
    if (!lines.isEmpty() && lines.first().startsWith(QLatin1Char('^')))
        payload = lines.takeFirst().mid(1).toUtf8() + "\r\n";
    if (!lines.isEmpty())
        payload += lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    return orvaFrame('3', payload);
}

// Expected events name the frame as {F}, and its lines joined by "/" as {LINES}.
QStringList withFrame(QStringList expected, const QByteArray& frame)
{
    const QString text = QString::fromUtf8(frame);
    for (QString& e : expected) {
        e.replace(QStringLiteral("{F}"), text);
        e.replace(QStringLiteral("{LINES}"), text.split(QStringLiteral("\r\n")).join('/'));
    }
    return expected;
}

// Logged and shown with the frame, and the command's status set to success.
QStringList done(const QString& text, int index)
{
    return {"log|" + text + " [ {F} ]", "system|" + text + " [ {F} ]",
            QStringLiteral("status|%1,2").arg(index)};
}

} // namespace

class TestOrvaResponses : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerSharedMetaTypes(); }

    void answers_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expected");

        const auto row = [](const char* name, QStringList lines, QStringList expected) {
            QTest::newRow(name) << lines << expected;
        };
        const QString parseFail = QStringLiteral(
            "error|ERROR: Unable to parse data packet response for %1 command, List index out "
            "of range error encountered.");

        const QStringList declFailed{"log|ERROR: Declination setting failed.[ {F} ]",
                                     "error|ERROR: Declination setting failed.", "status|3,3"};

        row("stack none", {"stack=NONE"}, {"log|INFO: Stack command returned no Modules [ {F} ]"});
        row("stack found", {"stack=FOUND", "ABCG"},
            {"log|INFO: Stack command found Modules [ {F} ]", "stack|{LINES}"});
        row("stack other", {"stack=MAYBE"},
            {"log|WARNING: Unknown Stack command response received [ {F} ]",
             "error|WARNING: Unknown stack command response received."});
        row("stack without =", {"^stack=", "NAK"}, {parseFail.arg("Stack")});
        // The first name of the fixed order wins, wherever it stands in the frame.
        row("stack= behind gps=", {"gps=ON", "stack=NONE"},
            {"log|WARNING: Unknown Stack command response received [ {F} ]",
             "error|WARNING: Unknown stack command response received."});

        row("decl number", {"decl=12.5"},
            {"log|INFO: Declination set to 12.5.[ {F} ]", "system|INFO: Declination set to 12.5.",
             "status|3,2"});
        row("decl not a number", {"decl=east"}, declFailed);
        row("decl beyond float", {"decl=1e39"}, declFailed);
        row("decl nan", {"decl=nan"}, declFailed);
        row("decl without =", {"^decl=", "NAK"}, declFailed);
        row("decl two lines", {"decl=12.5", "x=1"},
            {"log|ERROR: Invalid declination packet response.[ {F} ]",
             "error|ERROR: Invalid declination packet response.", "status|3,3"});

        row("erase start", {"flash_erase=START"},
            {"log|INFO: Log erasure started.[ {F} ]", "system|INFO: Log erasure started.",
             "status|8,4"});
        row("erase ok", {"flash_erase=OK"},
            {"log|INFO: Log erasure complete.[ {F} ]", "system|INFO: Log erasure complete.",
             "status|8,2"});
        row("erase other", {"flash_erase=BUSY"},
            {"log|ERROR: Invalid flash_erase packet response.[ {F} ]",
             "error|ERROR: Invalid flash_erase packet response.", "status|8,3"});
        row("erase two lines", {"flash_erase=OK", "x"},
            {"log|ERROR: Invalid flash_erase packet response.[ {F} ]",
             "error|ERROR: Invalid flash_erase packet response.", "status|8,3"});

        row("enable queued", {"enable=B", "result=QUEUED"},
            {"log|INFO: Module enable=B enable/disable successfully queued.[ {F} ]",
             "system|INFO: Module enable=B enable/disable successfully queued."});
        row("disable refused", {"disable=G", "result=INVALID"},
            {"log|ERROR: Invalid enable/disable response for module disable=G.[ {F} ]",
             "error|ERROR: Invalid enable/disable response for module disable=G."});
        row("enable one line", {"enable=B"},
            {"log|ERROR: Invalid enable/disable response.[ {F} ]",
             "error|ERROR: Invalid enable/disable response."});

        row("encrypt on", {"encrypt=ON"},
            {"log|INFO: Encryption enabled. [ {F} ]", "system|INFO: Encryption enabled.",
             "encryption|1"});
        row("encrypt off", {"encrypt=OFF"},
            {"log|INFO: Encryption disabled. [ {F} ]", "error|INFO: Encryption disabled.",
             "encryption|2"});
        row("encrypt other", {"encrypt=INVALID"},
            {"log|ERROR: Encryption status change failed. [ {F} ]",
             "error|WARNING: Encryption status change failed.", "encryption|0"});
        row("encrypt without =", {"^encrypt=", "NAK"}, {"encryption|0"});

        row("send queued", {"send=METAR KXYZ", "result=QUEUED"},
            {"log|INFO: Send command enqueued.[ {F} ]", "system|INFO: Send command enqueued.",
             "status|11,2"});
        row("send refused", {"send=METAR KXYZ", "result=FULL"},
            {"log|ERROR: Send command failed.[ {F} ]", "error|ERROR: Send command failed.",
             "status|11,3"});
        row("send one line", {"send=QUEUED"},
            {"log|ERROR: Send command failed.[ {F} ]", "error|ERROR: Send command failed.",
             "status|11,3"});

        row("frequency", {"frequency=30"}, {"status|0,2", "sched|frequency,30"});
        row("frequency not a number", {"frequency=ERR"}, {"status|0,2", "sched|frequency,0"});
        row("frequency refused", {"frequency=INVALID"},
            {"log|ERROR: Frequency command failed [ {F} ]", "pane|ERROR: Frequency command failed",
             "error|ERROR: Frequency command failed.", "status|0,3"});
        row("frequency without =", {"^frequency=", "NAK"},
            {parseFail.arg("Frequency"), "status|0,3"});
        row("metar offset", {"metar_offset=15"}, {"sched|metar_offset,15"});
        row("metar offset refused", {"metar_offset=INVALID"}, {});
        row("metar offset without =", {"^metar_offset=", "NAK"}, {});

        row("gps on", {"gps=ON"}, done("INFO: GPS enabled successfully", 1));
        row("gps elevation only", {"gps=ELEVATION_ONLY"},
            done("INFO: GPS elevation only set successfully", 1));
        row("gps lower case", {"gps=on"},
            {"log|ERROR: Unknown GPS command response received [ {F} ]",
             "error|WARNING: Unknown GPS command response received", "status|1,3"});
        row("gps refused", {"gps=INVALID"},
            {"log|ERROR: GPS command failed [ {F} ]", "pane|ERROR: GPS command failed",
             "error|ERROR: GPS command failed.", "status|1,3"});
        row("elevation off", {"elevation=OFF"}, done("INFO: Elevation disabled", 2));
        row("elevation value", {"elevation=120"},
            done("INFO: Elevation command successfully sent", 2));
        row("elevation refused", {"elevation=INVALID"},
            {"log|ERROR: Elevation command failed [ {F} ]", "pane|ERROR: Elevation command failed",
             "error|ERROR: Elevation GPS command failed", "status|2,3"});

        row("datetime", {"datetime=INVALID"}, done("INFO: DateTime command response received", 9));
        row("datetime without =", {"^datetime=", "NAK"},
            done("INFO: DateTime command response received", 9));

        row("icao", {"icao=KXYZ"}, done("INFO: ICAO command successfully sent", 10));
        row("icao refused", {"icao=INVALID"},
            {"log|INFO: ICAO command failed [ {F} ]", "pane|ERROR: ICAO command failed",
             "error|ERROR: ICAO Command Failed.", "status|10,3"});
        row("icao without =", {"^icao=", "NAK"}, {parseFail.arg("ICAO"), "status|10,3"});

        row("led on", {"led=ON"}, done("INFO: LED enabled successfully", 7));
        row("led other", {"led=DIM"},
            {"log|ERROR: Unknown LED command response received [ {F} ]",
             "error|ERROR: Unknown LED command response received [ {F} ]", "status|7,3"});
        // "enabled=" and "disabled=" end in "led=" but are no LED answers.
        row("enabled= is no led answer", {"enabled=ON"}, {});
        row("disabled= falls through to log=", {"log=OFF", "disabled=B"},
            done("INFO: Log disabled successfully", 8));
        row("log refused has no pane line", {"log=INVALID"},
            {"log|ERROR: Log command failed [ {F} ]", "error|ERROR: Log Command Failed.",
             "status|8,3"});
        row("log without =", {"^log=", "NAK"}, {parseFail.arg("Log"), "status|8,3"});

        row("blower queued", {"blower=QUEUED"},
            {"log|INFO: Blower command successfully queued [ {F} ]",
             "system|INFO: Blower command successfully queued[ {F} ]", "status|5,1"});
        row("blower error", {"blower=ERR"},
            {"log|INFO: Blower command failed [ {F} ]", "pane|ERROR: Blower command failed",
             "error|ERROR: Blower Command Failed.", "status|5,3"});
        row("blower other", {"blower=ON"},
            {"log|ERROR: Unknown Blower command response received [ {F} ]",
             "error|ERROR: Unknown Blower command response received [ {F} ]", "status|5,3"});

        row("rflos rate 60", {"radio_freq=60"},
            {"log|INFO: RFLOS frequency command successfully changed to 60 [ {F} ]",
             "system|INFO: RFLOS frequency command successfully changed to 60[ {F} ]",
             "status|16,2"});
        row("rflos rate 10 is only logged", {"radio_freq=10"},
            {"log|INFO: RFLOS frequency command successfully changed to 10 [ {F} ]",
             "status|16,2"});
        row("rflos rate refused", {"radio_freq=INVALID"},
            {"log|INFO: RFLOS frequency command failed [ {F} ]",
             "pane|ERROR: RFLOS frequency command failed",
             "error|ERROR: RFLOS frequency Command Failed.", "status|16,3"});
        row("rflos rate other", {"radio_freq=30"},
            {"log|ERROR: Unknown RFLOS frequency command response received [ {F} ]",
             "error|ERROR: Unknown RFLOS frequency command response received [ {F} ]",
             "status|16,3"});
        row("rflos rate without =", {"^radio_freq=", "NAK"},
            {parseFail.arg("RFLOS frequency"), "status|16,3"});

        row("rf off", {"rf=OFF"}, done("INFO: RF disabled successfully", 4));
        row("rf refused", {"rf=INVALID"},
            {"log|ERROR: RF command failed [ {F} ]", "pane|ERROR: RF command failed",
             "error|ERROR: RF Command Failed.", "status|4,3"});
        row("rf other", {"rf=AUTO"},
            {"log|ERROR: Unknown RF command response received [ {F} ]",
             "error|ERROR: Unknown RF command response received [ {F} ] ", "status|4,3"});

        row("heater on", {"heater=ON"}, done("INFO: Heater enabled successfully", 6));
        row("heater refused", {"heater=INVALID"},
            {"log|ERROR: Heater command failed [ {F} ]", "pane|ERROR: Heater command failed",
             "error|ERROR: Heater Command Failed.", "status|6,3"});
        row("heater other", {"heater=AUTO"},
            {"log|EROR: Unknown Heater command response received [ {F} ]",
             "error|WARNING: Unknown Heater command response received.", "status|6,3"});
        row("heater without =", {"^heater=", "NAK"}, {parseFail.arg("Heater"), "status|6,3"});

        row("speci default ok", {"speci_default=OK"},
            {"speci|OK,3", "log|INFO: Set SPECI Default command successful [ {F} ]",
             "system|INFO: Set SPECI Default command successful [ {F} ]"});
        row("speci default other", {"speci_default=INVALID"},
            {"log|ERROR: Unknown Set SPECI Default command response received [ {F} ]",
             "error|ERROR: SPECI Default Command Failed."});
        row("speci default without =", {"^speci_default=", "NAK"},
            {parseFail.arg("set Default SPECI")});
        row("default ok", {"default=OK"},
            {"log|INFO: Set Default command successful [ {F} ]",
             "system|INFO: Set Default command successful [ {F} ]"});
        row("default other", {"default=NO"},
            {"log|ERROR: Unknown Set Default command response received [ {F} ]",
             "pane|ERROR: Default command failed", "error|ERROR: Default Command Failed."});

        row("speci mode custom", {"speci_mode=CUSTOM"},
            {"speci|CUSTOM,0", "log|INFO: SPECI Criteria Mode command successful [ {F} ]",
             "system|INFO: SPECI Criteria Mode command successful [ {F} ]"});
        row("speci mode refused", {"speci_mode=INVALID"},
            {"log|INFO: SPECI Criteria Mode command Invalid [ {F} ]",
             "error|INFO: SPECI Criteria Mode command Invalid [ {F} ]"});
        row("speci mode other", {"speci_mode=afman"},
            {"log|ERROR: Unknown SPECI Criteria Mode command response received [ {F} ]",
             "error|ERROR: SPECI Criteria Mode Command Failed."});
        row("speci visibility", {"speci_read_visibility=3,2,1"}, {"speci|3,2,1,1"});
        row("speci ceiling", {"speci_read_ceiling=INVALID"}, {"speci|INVALID,2"});
        row("speci ceiling without =", {"^speci_read_ceiling=", "NAK"},
            {parseFail.arg("Read SPECI Ceiling")});
        row("speci clear ok", {"speci_clear=OK"},
            {"speci|OK,3", "log|INFO: Set SPECI Clear command successful [ {F} ]",
             "system|INFO: Set SPECI Clear command successful [ {F} ]"});
        row("speci clear other", {"speci_clear=FAIL"},
            {"log|ERROR: Unknown Set SPECI Clear command response received [ {F} ]",
             "error|ERROR: SPECI Clear Command Failed."});
        row("criteria source custom", {"speci_criteria_source=CUSTOM"},
            {"log|INFO: Set Criteria Mode to AFMAN command successful [ {F} ]",
             "system|INFO: Set SPECI Criteria Mode to AFMAN command successful [ {F} ]"});
        row("criteria source refused", {"speci_criteria_source=INVALID"},
            {"log|INFO: Set Criteria Mode to AFMAN command Invalid [ {F} ]",
             "error|INFO: Set SPECI Criteria Mode to AFMAN command Invalid [ {F} ]"});
        row("criteria source other", {"speci_criteria_source=NONE"},
            {"log|ERROR: Unknown Set SPECI Criteria Mode to AFMAN command response received [ "
             "{F} ]",
             "error|ERROR: SPECI Criteria Mode to AFMAN Command Failed."});

        row("no known name", {"status=OK"}, {});
    }
    void answers()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, expected);
        Probe worker;
        Trace trace(&worker);
        const QByteArray frame = frame3(lines);

        worker.parseCommandResponse(frame);

        const QStringList want = withFrame(expected, frame);
        QCOMPARE(trace.events, want);
        QCOMPARE(trace.totalEmitted(), want.size());
    }

    // Every frame reaches the data log first in Data and Debug mode, matched or not.
    void dataLogCopy_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("events");
        QTest::newRow("default, unmatched") << 0 << "status=OK" << 0;
        QTest::newRow("data, unmatched") << 1 << "status=OK" << 1;
        QTest::newRow("debug, unmatched") << 2 << "status=OK" << 1;
        QTest::newRow("debug, led answer") << 2 << "led=ON" << 4;
        QTest::newRow("default, led answer") << 0 << "led=ON" << 3;
    }
    void dataLogCopy()
    {
        QFETCH(int, mode);
        QFETCH(QString, line);
        QFETCH(int, events);
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.setLoggingState(LoggingType(mode));
        Trace trace(&worker);
        const QByteArray frame = frame3({line});

        worker.parseCommandResponse(frame);

        QCOMPARE(trace.events.size(), events);
        if (mode != 0)
            QCOMPARE(trace.events.first(), "data|" + QString::fromUtf8(frame) + "|{}|2");
        else
            QVERIFY(trace.events.filter(QStringLiteral("data|")).isEmpty());
    }

    // The unit echoes the key and the IV: no log line, data-log copy or debug line may carry them.
    // Its answer words are no secret: a refusal must read as one. With no key change under way,
    // the window hears nothing of an answer.
    void keyAnswerIsMasked_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("word"); // the unit's answer the error pane names
        QTest::newRow("confirmed")
            << QStringList{"key=c2VjcmV0LWtleQ=="} << "INFO: Key set confirmed." << QString();
        QTest::newRow("one line too many")
            << QStringList{"key=c2VjcmV0LWtleQ==", "extra"}
            << "ERROR: Invalid encryption key setting response." << QString();
        QTest::newRow("one line too few")
            << QStringList{"^key=c2VjcmV0LWtleQ=="}
            << "ERROR: Invalid encryption key setting response." << QString();
        QTest::newRow("key= on the second line")
            << QStringList{"x", "key=c2VjcmV0LWtleQ==", "y"}
            << "ERROR: Invalid encryption key setting response." << QString();
        // A refusal is no acknowledgement: the window would switch to a key the unit lacks.
        QTest::newRow("key refused")
            << QStringList{"key=INVALID"} << "ERROR: Invalid encryption key setting response."
            << "key=INVALID";
        QTest::newRow("iv") << QStringList{"iv=AQIDBAUGBwg="} << "INFO: IV set confirmed."
                            << QString();
        QTest::newRow("iv two lines")
            << QStringList{"iv=AQIDBAUGBwg=", "x"}
            << "ERROR: Invalid encryption iv setting response." << QString();
        QTest::newRow("iv taken") << QStringList{"iv=OK"} << "INFO: IV set confirmed." << QString();
        QTest::newRow("iv refused")
            << QStringList{"iv=INVALID"} << "ERROR: Invalid encryption iv setting response."
            << "iv=INVALID";
    }
    void keyAnswerIsMasked()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        QFETCH(QString, word);
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.setLoggingState(LoggingType::Debug);
        Trace trace(&worker);
        const QByteArray frame = frame3(lines);
        QByteArray masked = frame;
        for (const char* value : {"c2VjcmV0LWtleQ==", "AQIDBAUGBwg="})
            masked.replace(value, "***");

        DebugOutput debugOn;
        DebugOutput::Captured debug;
        worker.parseData_ORVA(frame);

        const bool info = message.startsWith("INFO");
        QCOMPARE(trace.events,
                 QStringList({"data|" + QString::fromUtf8(masked) + "|{}|2",
                              "log|" + message + "[ " + QString::fromUtf8(masked) + " ]",
                              (info ? "system|" : "error|") + message +
                                  (word.isEmpty() ? QString() : " [ " + word + " ]")}));
        const QString seen = (trace.events + DebugOutput::Captured::lines()).join(' ');
        QCOMPARE(seen.contains("***"), masked != frame);
        QVERIFY(!seen.contains("c2VjcmV0"));
        QVERIFY(!seen.contains("AQIDBAUGBwg="));
    }

    void positionResetOnlyOnSuccess_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("reset");
        QTest::newRow("gps on") << "gps=ON" << true;
        QTest::newRow("gps off") << "gps=OFF" << true;
        QTest::newRow("gps elevation only") << "gps=ELEVATION_ONLY" << true;
        QTest::newRow("gps lower case") << "gps=on" << false;
        QTest::newRow("gps refused") << "gps=INVALID" << false;
        QTest::newRow("gps without =") << "^gps=,NAK" << false;
        QTest::newRow("elevation off") << "elevation=OFF" << true;
        QTest::newRow("elevation value") << "elevation=35" << true;
        QTest::newRow("elevation refused") << "elevation=INVALID" << false;
        QTest::newRow("other answer") << "led=ON" << false;
    }
    void positionResetOnlyOnSuccess()
    {
        QFETCH(QString, line);
        QFETCH(bool, reset);
        Probe worker;
        worker.parseCommandResponse(frame3(line.split(',')));
        QCOMPARE(worker.positionReset, reset);

        // Set once, it stays set until the record builder consumes it.
        worker.parseCommandResponse(frame3({"gps=INVALID"}));
        QCOMPARE(worker.positionReset, reset);
    }

    void icaoReachesTheDecoder()
    {
        Probe worker;
        worker.parseCommandResponse(frame3({"icao=KXYZ"}));
        QCOMPARE(worker.decoder->getIcao(), QStringLiteral("KXYZ"));
        worker.parseCommandResponse(frame3({"icao=INVALID"}));
        QCOMPARE(worker.decoder->getIcao(), QString());
        worker.parseCommandResponse(frame3({"icao= PAED"}));
        QCOMPARE(worker.decoder->getIcao(), QStringLiteral(" PAED"));
        worker.parseCommandResponse(frame3({"^icao=", "NAK"}));
        QCOMPARE(worker.decoder->getIcao(), QString());
    }

    // Answers as the unit sends them: through a real serial port to a worker on its own thread.
    void answersOverSerialLine()
    {
        PtyPair pty;
        auto* worker = new Probe();
        Trace trace(worker);
        WorkerThread running(worker);

        QMetaObject::invokeMethod(worker, "setDeviceTypeState",
                                  Q_ARG(DeviceTypes, DeviceTypes::ORVA));
        runOnThread(worker, [worker] { worker->setFrameTimeout(kFrameAgeLimitMs); });
        QMetaObject::invokeMethod(worker, "openSerialPort", Q_ARG(QString, pty.portPath()));
        QTRY_VERIFY_WITH_TIMEOUT(
            trace.events.contains("log|INFO: Successfully Opened Serial Port " + pty.portPath()),
            10000);
        trace.events.clear();

        // Checksum worked out by hand: "@300" 211, CR LF 23, "icao=KXYZ" 815, CR LF 23,
        // "~" 126; 1198 is 0x04AE.
        const QByteArray icao("@300\r\nicao=KXYZ\r\n~04AE\r\n\r\n");
        QCOMPARE(icao, orvaFrame('3', "\r\nicao=KXYZ\r\n", "00"));
        const QByteArray blower = frame3({"blower=QUEUED"});
        pty.write(icao + blower.left(7));
        pty.write(blower.mid(7));

        const QStringList expected =
            withFrame(done("INFO: ICAO command successfully sent", 10), icao) +
            withFrame({"log|INFO: Blower command successfully queued [ {F} ]",
                       "system|INFO: Blower command successfully queued[ {F} ]", "status|5,1"},
                      blower);
        QTRY_COMPARE_WITH_TIMEOUT(trace.events.filter(QRegularExpression("^(log|system|status)")),
                                  expected, 10000);
        QString icaoSeen;
        runOnThread(worker, [&] { icaoSeen = worker->decoder->getIcao(); });
        QCOMPARE(icaoSeen, QStringLiteral("KXYZ"));
    }
};

QTEST_GUILESS_MAIN(TestOrvaResponses)
#include "tst_orvaresponses.moc"
