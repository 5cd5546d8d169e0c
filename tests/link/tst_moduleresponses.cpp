#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "tests/link/linktest.h"
#include "tests/support/runonthread.h"
#include "tools/unitsim/ptypair.h"
#include "tools/unitsim/unitframes.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

using unitsim::orvaAnswer;
using unitsim::PtyPair;

namespace
{

class Probe : public data_incoming
{
public:
    using data_incoming::data_incoming;
    using data_incoming::parseAmqResponse;
    using data_incoming::parseStationRadioResponse;
};

// Parts of the frame after its head, one per entry.
QByteArray moduleFrame(char type, const QStringList& parts)
{
    QList<QByteArray> lines;
    for (const QString& part : parts)
        lines << part.toUtf8();
    return orvaAnswer(type, lines);
}

QStringList withFrame(QStringList expected, const QByteArray& frame)
{
    for (QString& e : expected)
        e.replace(QStringLiteral("{F}"), QString::fromUtf8(frame));
    return expected;
}

const QStringList txfOk{"log|INFO: Txf command success [ {F} ]",
                        "system|INFO: Txf command success [ {F} ]", "status|12,2"};
const QStringList txfUnparsed{
    "error|WARNING: Unable to parse data packet response for Txf command, List index out of "
    "range error encountered.",
    "status|12,3"};

} // namespace

class TestModuleResponses : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerSharedMetaTypes(); }

    void moduleAnswers_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* name, QStringList parts, QStringList expected) {
            QTest::newRow(name) << parts << expected;
        };
        const QStringList sent{"log|INFO: Send command succeeded.[ {F} ]",
                               "system|INFO: Send command succeeded."};
        const auto sendFailed = [](const QString& value) {
            return QStringList{"log|ERROR: Send command failed, response = " + value + ".[ {F} ]",
                               "error|ERROR: Send command failed, response = " + value + "."};
        };
        const QStringList badBlowerLine{"log|ERROR: Invalid blower amq response line.[ {F} ]",
                                        "error|ERROR: Invalid blower amq response line.",
                                        "status|5,3"};
        const QStringList badModule{
            "log|ERROR: Enable/disable response inproperly formatted.[ {F} ]",
            "error|ERROR: Enable/disable response inproperly formatted."};
        const auto lightningError = [](const QString& text) {
            return QStringList{"log|ERROR: " + text + "[ {F} ]", "error|ERROR: " + text};
        };

        row("metar sent", {"A", "send METAR KXYZ 011200Z AUTO", "send=OK"},
            QStringList{"metar|send METAR KXYZ 011200Z AUTO"} + sent);
        // "send" anywhere wins over every later key.
        row("send before blower", {"C", "send SPECI KXYZ", "blower=OK"},
            QStringList{"metar|send SPECI KXYZ"} + sent);
        row("send before txf and enable=", {"A", "send TEST", "enable=OK"}, sent);
        row("send other report", {"A", "send TEST txf", "send=OK"}, sent);
        row("send still queued", {"A", "send METAR KXYZ", "send=QUEUED"}, sendFailed("QUEUED"));
        row("send result without =", {"A", "send METAR KXYZ", "send OK"}, sendFailed(""));
        row("send eight parts", {"A", "send METAR KXYZ", "send=OK", "x"},
            {"log|ERROR: Send response inproperly formatted.[ {F} ]",
             "error|ERROR: Send response inproperly formatted."});

        row("blower as commanded", {"C", "blower AUTO", "blower=AUTO"},
            {"log|INFO: Blower setting changed to AUTO.[ {F} ]",
             "system|INFO: Blower setting changed to AUTO.", "status|5,2"});
        row("blower otherwise", {"C", "blower ON", "blower=AUTO"},
            {"log|ERROR: Blower response invalid.[ {F} ]", "error|ERROR: Blower response invalid.",
             "status|5,3"});
        row("blower from another module", {"D", "blower ON", "blower=AUTO"}, badBlowerLine);
        row("blower two blanks", {"C", "blower  ON", "blower=ON"}, badBlowerLine);
        row("blower result twice =", {"C", "blower ON", "blower=ON=ON"}, badBlowerLine);
        row("blower eight parts", {"C", "blower ON", "blower=ON", "x"},
            {"log|ERROR: Invalid blower amq packet format.[ {F} ]",
             "error|ERROR: Invalid blower amq packet format.", "status|5,3"});

        row("txf refused", {"R", "txf 450", "txf=INVALID"},
            {"log|WARNING: Txf command invalid and failed to send to module [ {F} ]",
             "pane|WARNING: Txf command invalid and failed to send to module",
             "error|WARNING: Txf command invalid and failed to send to module", "status|12,3"});
        row("txf timeout", {"R", "txf 450", "txf=FAIL"},
            {"log|WARNING: Txf command timeout, module did not respond [ {F} ]",
             "pane|WARNING: Txf command timeout, module did not respond",
             "error|WARNING: Txf command timeout, module did not respond [ {F} ]", "status|12,3"});
        for (const char* value : {"OK", "", "invalid"})
            row(qPrintable(QStringLiteral("txf value '%1'").arg(value)),
                {"R", "txf 450", "txf=" + QString(value)}, txfOk);
        row("txf before channel", {"R", "channel 2", "txf=OK"}, txfOk);
        row("txf eight parts", {"R", "txf 450", "txf=OK", "x"}, txfOk);
        row("txf result without =", {"R", "txf 450", "txf OK"}, txfUnparsed);
        row("txf three parts", {"txf"}, txfUnparsed);
        row("rxf", {"R", "rxf 455", "rxf=455"},
            {"log|INFO: Rxf command success [ {F} ]", "system|INFO: Rxf command success [ {F} ]",
             "status|13,2"});
        row("channel timeout", {"R", "channel 3", "channel=FAIL"},
            {"log|WARNING: Channel command timeout, module did not respond [ {F} ]",
             "pane|WARNING: Channel command timeout, module did not respond",
             "error|WARNING: Channel command timeout, module did not respond [ {F} ]",
             "status|15,3"});

        row("module enabled", {"G", "enable G", "enable=ON"},
            {"log|INFO: Module G enable complete.[ {F} ]", "system|INFO: Module G enable complete.",
             "module|enable=G"});
        row("the value decides", {"B", "disable B", "disable=ON"},
            {"log|INFO: Module B enable complete.[ {F} ]", "system|INFO: Module B enable complete.",
             "module|enable=B"});
        row("module disabled", {"B", "disable B", "disable=OFF"},
            {"log|INFO: Module B disable complete.[ {F} ]",
             "system|INFO: Module B disable complete.", "module|disable=B"});
        row("module value lower case", {"G", "enable G", "enable=on"}, badModule);
        row("module eight parts", {"G", "enable G", "enable=ON", "x"}, badModule);

        row("lightning parameters", {"G", "param", "param=12,-3,7,0,0,0,0,0,1"},
            {"lightning|12,-3,7", "log|INFO: Lightning parameter param complete.[ {F} ]",
             "system|INFO: Lightning parameter param complete."});
        row("lightning first not a number", {"G", "param", "param=x,2,3,4,5,6,7,8,9"},
            {"lightning|0,2,3", "log|INFO: Lightning parameter param complete.[ {F} ]",
             "system|INFO: Lightning parameter param complete."});
        row("lightning module among others", {"XG", "param", "param=1,2,3,4,5,6,7,8,9"},
            {"lightning|1,2,3", "log|INFO: Lightning parameter param complete.[ {F} ]",
             "system|INFO: Lightning parameter param complete."});
        row("lightning eight values", {"G", "param", "param=1,2,3,4,5,6,7,8"},
            lightningError("Lightning parameter read failed."));
        row("lightning ten values", {"G", "param", "param=1,2,3,4,5,6,7,8,9,10"},
            lightningError("Lightning parameter read failed."));
        row("lightning result twice =", {"G", "param", "param=1=2"},
            lightningError("Unknown lightning parameter response."));
        row("lightning from another module", {"A", "G", "param=1,2,3,4,5,6,7,8,9"},
            lightningError("Lightning parameter response from non-lightning module."));
        row("lightning eight parts", {"G", "param", "param=1,2,3,4,5,6,7,8,9", "x"},
            lightningError("Invalid lightning param amq response line."));
        row("lightning autocalibration", {"G", "auto_cal", "auto_cal=OK"},
            {"log|INFO: Lightning autocalibration started.[ {F} ]",
             "system|INFO: Lightning autocalibration started.", "autocal"});

        row("no key", {"B", "status", "status=OK"}, {});
    }
    void moduleAnswers()
    {
        QFETCH(QStringList, parts);
        QFETCH(QStringList, expected);
        Probe worker;
        Trace trace(&worker);
        const QByteArray frame = moduleFrame('5', parts);

        worker.parseAmqResponse(frame);

        const QStringList want = withFrame(expected, frame);
        QCOMPARE(trace.events, want);
        QCOMPARE(trace.totalEmitted(), want.size());
    }

    void stationRadioAnswers_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* name, QStringList parts, QStringList expected) {
            QTest::newRow(name) << parts << expected;
        };
        row("txf", {"txf=451.5"},
            {"log|INFO: Station Txf command success [ {F} ]",
             "system|INFO: Station Txf command success [ {F} ]", "status|12,2"});
        row("rxf timeout", {"rxf=FAIL"},
            {"log|WARNING: Station Rxf command timeout, module did not respond [ {F} ]",
             "pane|WARNING: Station Rxf command timeout, module did not respond",
             "error|WARNING: Station Rxf command timeout, module did not respond [ {F} ]",
             "status|13,3"});
        row("channel refused", {"channel=INVALID"},
            {"log|WARNING: Station Channel command invalid and failed to send to module [ {F} ]",
             "pane|WARNING: Station Channel command invalid and failed to send to module",
             "error|WARNING: Station Channel command invalid and failed to send to module",
             "status|15,3"});
        row("txf without =", {"txf"}, txfUnparsed);
        row("channel without =", {"channel"},
            {"error|WARNING: Unable to parse data packet response for Station Channel command, "
             "List index out of range error encountered.",
             "status|15,3"});
        row("radio error", {"ERROR 4"}, {"radioerror"});
        row("radio error naming txf", {"ERROR txf"}, txfUnparsed);
        row("error on a later line", {"status=OK", "ERROR"}, {});
        row("nothing known", {"status=OK"}, {});
    }
    void stationRadioAnswers()
    {
        QFETCH(QStringList, parts);
        QFETCH(QStringList, expected);
        Probe worker;
        worker.setLoggingState(LoggingType::Debug);
        Trace trace(&worker);
        const QByteArray frame = moduleFrame('R', parts);

        worker.parseStationRadioResponse(frame);

        // The station radio's answers never reach the data log.
        const QStringList want = withFrame(expected, frame);
        QCOMPARE(trace.events, want);
        QCOMPARE(trace.totalEmitted(), want.size());
    }

    void moduleDataLogCopy_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<int>("events");
        QTest::newRow("default, no key") << 0 << QStringList{"B", "status", "status=OK"} << 0;
        QTest::newRow("data, no key") << 1 << QStringList{"B", "status", "status=OK"} << 1;
        QTest::newRow("debug, no key") << 2 << QStringList{"B", "status", "status=OK"} << 1;
        QTest::newRow("data, blower") << 1 << QStringList{"C", "blower ON", "blower=ON"} << 4;
    }
    void moduleDataLogCopy()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, parts);
        QFETCH(int, events);
        Probe worker;
        worker.setDeviceTypeState(DeviceTypes::ORVA);
        worker.setLoggingState(LoggingType(mode));
        Trace trace(&worker);
        const QByteArray frame = moduleFrame('5', parts);

        worker.parseAmqResponse(frame);

        QCOMPARE(trace.events.size(), events);
        QCOMPARE(trace.totalEmitted(), events);
        if (mode != 0)
            QCOMPARE(trace.events.first(), "data|" + QString::fromUtf8(frame) + "|{}|2");
    }

    // A module's completion and the station radio's answer, as the unit sends them: through a
    // real serial port to a worker on its own thread.
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

        const QByteArray module = moduleFrame('5', {"G", "enable G", "enable=ON"});
        const QByteArray radio = moduleFrame('R', {"txf=FAIL"});
        const QByteArray radioError = moduleFrame('R', {"ERROR"});
        // Byte by byte for the first frame, then two frames in one write.
        for (char c : module)
            pty.write(QByteArray(1, c));
        pty.write(radio + radioError);

        const QString timeout =
            QStringLiteral("WARNING: Station Txf command timeout, module did not respond");
        const QStringList expected =
            withFrame({"log|INFO: Module G enable complete.[ {F} ]",
                       "system|INFO: Module G enable complete.", "module|enable=G"},
                      module) +
            withFrame({"log|" + timeout + " [ {F} ]", "pane|" + timeout,
                       "error|" + timeout + " [ {F} ]", "status|12,3"},
                      radio) +
            QStringList{"radioerror"};
        const QRegularExpression answers("^(log|system|module|pane|error|status|radioerror)");
        QTRY_COMPARE_WITH_TIMEOUT(trace.events.filter(answers), expected, 10000);
    }
};

QTEST_GUILESS_MAIN(TestModuleResponses)
#include "tst_moduleresponses.moc"
