#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "link/packetcode.h"
#include "tests/link/linktest.h"
#include "tests/support/recordtext.h"
#include "tests/support/scopedclock.h"
#include "tools/unitsim/ptypair.h"
#include "tools/unitsim/unitframes.h"

#include <QJsonArray>
#include <QtTest>

using unitsim::orvaFrame;
using unitsim::packetEncode;
using unitsim::PtyPair;

namespace
{

class WorkerProbe : public data_incoming
{
public:
    using data_incoming::lastFullRecord;
    using data_incoming::packetBacklog;
};

using Lines = QList<RecordLine>;

// What left the worker, in the order it left.
struct Event {
    QString signal;
    QJsonObject record;
    QByteArray packet;
};

RecordLine header(int part, int total, const QString& station = QStringLiteral("KXYZ"))
{
    return {"N", {"METAR", "0", "0", "0", station, QString::number(part), QString::number(total)}};
}

const RecordLine kStatus{"B", {"12.6", "10", "X", "E1", "Y", "0"}};

RecordLine timeLine(const QString& hhmmss)
{
    return {"T", {"26/03/05," + hhmmss.left(2), hhmmss.mid(3, 2), hhmmss.mid(6, 2)}};
}

// The lines of a single-part ORVA observation; the values use only characters that the packet
// character code can carry.
Lines orvaLines(const QString& time = QStringLiteral("14:07:09"))
{
    return {header(1, 1),
            kStatus,
            timeLine(time),
            {"IR", {"A", "B", "C", "OV7731"}},
            {"WI", {"12.5", "184", "12", "184"}},
            {"GU", {"0", "0", "18", "190", "0", "0", "150", "220"}},
            {"TA", {"21.4"}},
            {"RH", {"45"}},
            {"BA", {"1013.25", "2992", "-1.6", "0", "2"}},
            {"CL", {"1", "30", "9", "0", "0", "0", "0", "2", "6", "0", "0", "0", "0", "120"}},
            {"PW", {"0.2", "61", "X", "10.0", "10.0", "27"}},
            {"LT", {"3", "5", "9", "12", "12", "12"}},
            {"LA", {"45.5"}},
            {"LO", {"-73.6"}},
            {"EL", {"100"}}};
}

// Part `part` of `total` at 14:07:09 with one field line.
Lines partLines(int part, int total, const RecordLine& field)
{
    return {header(part, total), kStatus, timeLine("14:07:09"), field};
}

QByteArray frameOf(char type, const Lines& lines)
{
    return orvaFrame(type, buildRecord(lines).toUtf8());
}

} // namespace

class TestWeatherPackets : public QObject
{
    Q_OBJECT

private:
    QList<Event> events;

    void record(WorkerProbe& worker, DeviceTypes device = DeviceTypes::ORVA)
    {
        worker.setDeviceTypeState(device);
        events.clear();
        connect(&worker, &data_incoming::metar_detected, this, [this](const QJsonObject& r) {
            events << Event{"metar", r, {}};
        });
        connect(&worker, &data_incoming::speci_detected, this, [this](const QJsonObject& r) {
            events << Event{"speci", r, {}};
        });
        connect(&worker, &data_incoming::sendLogData, this,
                [this](const QByteArray& p, const QJsonObject& r, DeviceTypes) {
                    events << Event{"log", r, p};
                });
        connect(&worker, &data_incoming::weather_data_received, this, [this](const QJsonObject& r) {
            events << Event{"weather", r, {}};
        });
    }
    QStringList signalNames() const
    {
        QStringList names;
        for (const Event& e : events)
            names << e.signal;
        return names;
    }
    QJsonObject lastPublished() const
    {
        for (int i = events.size() - 1; i >= 0; --i)
            if (events.at(i).signal == QLatin1String("weather"))
                return events.at(i).record;
        return QJsonObject();
    }
    void feed(WorkerProbe& worker, char type, const Lines& lines)
    {
        const QByteArray frame = frameOf(type, lines);
        worker.handleWeatherData(frame, type, frame);
    }

private slots:
    void initTestCase()
    {
        registerSharedMetaTypes();
        initPacketCodeTables();
    }

    void framesFromTheSerialPort()
    {
        PtyPair unit;
        WorkerProbe worker;
        record(worker);
        worker.setFrameTimeout(kFrameAgeLimitMs);
        worker.openSerialPort(unit.portPath());

        const QByteArray speci = frameOf('2', orvaLines());
        const QByteArray plain = frameOf('0', orvaLines("14:10:00"));
        unit.write(speci + plain.left(20));
        QTRY_COMPARE_WITH_TIMEOUT(events.size(), 3, 10000);
        unit.write(plain.mid(20));
        QTRY_COMPARE_WITH_TIMEOUT(events.size(), 5, 10000);

        QCOMPARE(signalNames(), (QStringList{"speci", "log", "weather", "log", "weather"}));
        for (int i = 0; i < 3; ++i) {
            const QJsonObject& r = events.at(i).record;
            QCOMPARE(r.size(), 86);
            QCOMPARE(r.value("Obs SPECI"), QJsonValue(true));
            QCOMPARE(r.value("Obs METAR"), QJsonValue(false));
            QCOMPARE(r.value("Backlog Status"), QJsonValue(false));
            QCOMPARE(r.value("Temperature").toString(), QStringLiteral("21.4"));
            QCOMPARE(r.value("Serial Port").toString(),
                     worker.findChild<QSerialPort*>()->portName());
            QVERIFY(r.value("METAR").toString().startsWith(QStringLiteral("SPECI KXYZ 051407Z ")));
        }
        QCOMPARE(events.at(1).packet, speci);
        QCOMPARE(events.at(3).packet, plain);
        QCOMPARE(events.at(4).record.value("Obs SPECI"), QJsonValue(false));
        QCOMPARE(events.at(4).record.value("Timestamp").toString(),
                 QStringLiteral("2026-03-05 14:10:00"));

        // A compressed METAR candidate: the unwrapped frame is what gets decoded and logged.
        events.clear();
        const QByteArray inner = frameOf('1', orvaLines("14:20:00"));
        unit.write(orvaFrame('E', packetEncode(inner)));
        QTRY_COMPARE_WITH_TIMEOUT(events.size(), 3, 10000);
        QCOMPARE(signalNames(), (QStringList{"metar", "log", "weather"}));
        QCOMPARE(events.at(1).packet, inner);
        QCOMPARE(events.at(2).record.value("Obs METAR"), QJsonValue(true));
        QCOMPARE(events.at(2).record.value("Timestamp").toString(),
                 QStringLiteral("2026-03-05 14:20:00"));
        QVERIFY(events.at(2).record.value("METAR").toString().startsWith(
            QStringLiteral("METAR KXYZ 051420Z ")));
    }

    void signalOrder_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<char>("type");
        QTest::addColumn<QStringList>("expectedSignals");
        QTest::addColumn<bool>("metar");
        QTest::addColumn<bool>("speci");

        const int orva = int(DeviceTypes::ORVA);
        QTest::newRow("routine") << orva << false << '0' << QStringList{"log", "weather"} << false
                                 << false;
        QTest::newRow("METAR candidate")
            << orva << false << '1' << QStringList{"metar", "log", "weather"} << true << false;
        QTest::newRow("SPECI candidate")
            << orva << false << '2' << QStringList{"speci", "log", "weather"} << false << true;
        QTest::newRow("legacy unit tells no candidate")
            << orva << true << '1' << QStringList{"log", "weather"} << true << false;
        QTest::newRow("BRQ") << int(DeviceTypes::BRQ) << false << '0'
                             << QStringList{"log", "weather"} << false << false;
    }

    void signalOrder()
    {
        QFETCH(int, device);
        QFETCH(bool, legacy);
        QFETCH(char, type);
        QFETCH(QStringList, expectedSignals);
        QFETCH(bool, metar);
        QFETCH(bool, speci);

        WorkerProbe worker;
        record(worker, DeviceTypes(device));
        worker.legacyorvadevicecheck(legacy);
        feed(worker, type, orvaLines());

        QCOMPARE(signalNames(), expectedSignals);
        for (const Event& e : qAsConst(events)) {
            QCOMPARE(e.record.value("Obs METAR"), QJsonValue(metar));
            QCOMPARE(e.record.value("Obs SPECI"), QJsonValue(speci));
            QCOMPARE(e.record.value("Backlog Status"), QJsonValue(false));
            QCOMPARE(e.record, events.last().record);
        }
    }

    void multiPartPacket()
    {
        WorkerProbe worker;
        record(worker);

        const QByteArray part1 = frameOf('0', partLines(1, 3, {"TA", {"21.4"}}));
        const QByteArray part2 =
            frameOf('0', partLines(2, 3, {"WI", {"12.5", "184", "12", "184"}}));
        const QByteArray part3 = frameOf('0', partLines(3, 3, {"RH", {"45"}}));

        worker.handleWeatherData(part1, '0', part1);
        QCOMPARE(worker.packetBacklog.at(0), QString::fromUtf8(part1));
        QJsonObject r = lastPublished();
        QCOMPARE(r.value("Temperature").toString(), QStringLiteral("21.4"));
        QCOMPARE(r.value("Wind Speed").toString(), QString());

        worker.handleWeatherData(part2, '0', part2);
        r = lastPublished();
        QCOMPARE(r.value("Temperature").toString(), QStringLiteral("21.4"));
        QCOMPARE(r.value("Wind Speed").toString(), QStringLiteral("12"));
        QCOMPARE(r.value("Humidity").toString(), QString());

        worker.handleWeatherData(part3, '0', part3);
        r = lastPublished();
        QCOMPARE(r.value("Temperature").toString(), QStringLiteral("21.4"));
        QCOMPARE(r.value("Wind Speed").toString(), QStringLiteral("12"));
        QCOMPARE(r.value("Humidity").toString(), QStringLiteral("45"));
        QVERIFY(worker.packetBacklog.at(0).isEmpty());

        // Every part is logged as it came and published.
        QCOMPARE(signalNames(),
                 (QStringList{"log", "weather", "log", "weather", "log", "weather"}));
        QCOMPARE(events.at(0).packet, part1);
        QCOMPARE(events.at(2).packet, part2);
        QCOMPARE(events.at(4).packet, part3);

        // The next packet starts afresh.
        worker.handleWeatherData(part2, '0', part2);
        r = lastPublished();
        QCOMPARE(r.value("Temperature").toString(), QString());
        QCOMPARE(r.value("Wind Speed").toString(), QStringLiteral("12"));
    }

    void packetTypesJoinedApart()
    {
        WorkerProbe worker;
        record(worker);

        feed(worker, '0', partLines(1, 2, {"TA", {"21.4"}}));
        feed(worker, '1', partLines(1, 2, {"TA", {"-3.5"}}));
        feed(worker, '2', orvaLines());
        QCOMPARE(worker.packetBacklog.at(2), QString());

        feed(worker, '0', partLines(2, 2, {"RH", {"45"}}));
        QCOMPARE(lastPublished().value("Temperature").toString(), QStringLiteral("21.4"));
        QCOMPARE(lastPublished().value("Humidity").toString(), QStringLiteral("45"));
        QVERIFY(worker.packetBacklog.at(0).isEmpty());
        QVERIFY(!worker.packetBacklog.at(1).isEmpty());

        feed(worker, '1', partLines(2, 2, {"RH", {"80"}}));
        QCOMPARE(lastPublished().value("Temperature").toString(), QStringLiteral("-3.5"));
        QCOMPARE(lastPublished().value("Humidity").toString(), QStringLiteral("80"));
        QVERIFY(worker.packetBacklog.at(1).isEmpty());
    }

    void malformedHeaderDropsBacklog_data()
    {
        QTest::addColumn<QStringList>("headerValues");
        QTest::addColumn<bool>("statusLine");

        QTest::newRow("no header") << QStringList() << true;
        QTest::newRow("no status line after the header")
            << QStringList{"METAR", "0", "0", "0", "KXYZ", "2", "3"} << false;
        QTest::newRow("six values") << QStringList{"METAR", "0", "0", "KXYZ", "2", "3"} << true;
        QTest::newRow("eight values")
            << QStringList{"METAR", "0", "0", "0", "0", "KXYZ", "2", "3"} << true;
        QTest::newRow("no parts") << QStringList{"METAR", "0", "0", "0", "KXYZ", "2", "0"} << true;
        QTest::newRow("total not a number")
            << QStringList{"METAR", "0", "0", "0", "KXYZ", "2", "X"} << true;
        QTest::newRow("part beyond total")
            << QStringList{"METAR", "0", "0", "0", "KXYZ", "4", "3"} << true;
    }

    void malformedHeaderDropsBacklog()
    {
        QFETCH(QStringList, headerValues);
        QFETCH(bool, statusLine);

        WorkerProbe worker;
        record(worker);
        feed(worker, '0', partLines(1, 3, {"TA", {"21.4"}}));
        QVERIFY(!worker.packetBacklog.at(0).isEmpty());

        Lines lines;
        if (!headerValues.isEmpty())
            lines << RecordLine{"N", headerValues};
        if (statusLine)
            lines << kStatus;
        lines << timeLine("14:07:09") << RecordLine{"RH", {"45"}};
        feed(worker, '0', lines);

        QVERIFY(worker.packetBacklog.at(0).isEmpty());
        QCOMPARE(lastPublished().value("Humidity").toString(), QStringLiteral("45"));
        QCOMPARE(lastPublished().value("Temperature").toString(), QString());
    }

    void partBelowOneKeepsBacklog()
    {
        WorkerProbe worker;
        record(worker);
        feed(worker, '0', partLines(1, 3, {"TA", {"21.4"}}));
        const QString held = worker.packetBacklog.at(0);

        feed(worker, '0', partLines(0, 3, {"RH", {"45"}}));
        QCOMPARE(worker.packetBacklog.at(0), held);
        QCOMPARE(lastPublished().value("Temperature").toString(), QString());

        feed(worker, '0', partLines(2, 3, {"RH", {"50"}}));
        QCOMPARE(lastPublished().value("Temperature").toString(), QStringLiteral("21.4"));
        QCOMPARE(lastPublished().value("Humidity").toString(), QStringLiteral("50"));
    }

    void keysFoundOnlyAtLineStart()
    {
        WorkerProbe worker;
        record(worker);
        feed(worker, '0', partLines(1, 2, {"TA", {"21.4"}}));

        // "SN" ends like the header key and "LT" like the time key; neither may stand in for them.
        feed(worker, '0',
             {{"SN", {"5"}},
              header(2, 2),
              kStatus,
              {"LT", {"3", "5", "9", "12", "12", "12"}},
              {"WI", {"12.5", "184", "12", "184"}},
              timeLine("14:07:09"),
              {"RH", {"45"}}});
        const QJsonObject r = lastPublished();
        QCOMPARE(r.value("Temperature").toString(), QStringLiteral("21.4"));
        QCOMPARE(r.value("Humidity").toString(), QStringLiteral("45"));
        // Only the lines after the part's time line are joined.
        QCOMPARE(r.value("Wind Speed").toString(), QString());
        QCOMPARE(r.value("Lightning Strikes 1 Min").toString(), QString());
        QVERIFY(worker.packetBacklog.at(0).isEmpty());
    }

    void unfinishedPacketStaysBounded()
    {
        WorkerProbe worker;
        record(worker);
        feed(worker, '0', partLines(1, 1000, {"TA", {"21.4"}}));

        const RecordLine filler{"SS", QString("1.5:").repeated(40).split(':')};
        int longest = 0;
        for (int part = 2; part <= 400; ++part) {
            feed(worker, '0', {header(part, 1000), kStatus, timeLine("14:07:09"), filler});
            longest = qMax(longest, worker.packetBacklog.at(0).size());
        }
        QCOMPARE(events.size(), 2 * 400);
        QVERIFY(longest > 8000);
        QVERIFY2(longest <= 16384, qPrintable(QString::number(longest)));
    }

    void highSpeedPacketRefreshesLastRecord()
    {
        WorkerProbe worker;
        record(worker);
        feed(worker, '1', orvaLines());
        const QJsonObject full = lastPublished();

        const Lines fast = {timeLine("14:07:39"),
                            {"WI", {"20.5", "200", "21", "205"}},
                            {"GU", {"0", "0", "30", "210"}},
                            {"LT", {"7", "8", "9", "4", "4", "4"}},
                            {"TA", {"30.0"}}};
        events.clear();
        const QByteArray frame = frameOf('D', fast);
        worker.handleWeatherData(frame, 'D', frame);

        QCOMPARE(signalNames(), (QStringList{"log", "weather"}));
        const QJsonObject own = events.at(0).record;
        const QJsonObject merged = events.at(1).record;
        QCOMPARE(events.at(0).packet, frame);
        QCOMPARE(own.value("Temperature").toString(), QStringLiteral("30.0"));
        QCOMPARE(own.value("Obs METAR"), QJsonValue(false));

        QCOMPARE(highSpeedKeys.size(), 29);
        for (const QString& key : highSpeedKeys) {
            const QJsonValue expected =
                own.contains(key) ? own.value(key) : QJsonValue(QJsonValue::Null);
            QVERIFY2(merged.value(key) == expected, qPrintable(key));
        }
        for (const char* key :
             {"Wind Average Direction 10 Minutes", "Wind Average Speed 10 Minutes",
              "Wind Average Direction 1 Hour", "Wind Average Speed 1 Hour"})
            QVERIFY(merged.value(key).isNull());
        QCOMPARE(merged.value("Wind Speed").toString(), QStringLiteral("21"));
        QCOMPARE(merged.value("Gust Speed").toString(), QStringLiteral("30"));
        QCOMPARE(merged.value("Lightning Strikes 1 Min").toString(), QStringLiteral("7"));
        QCOMPARE(merged.value("Timestamp").toString(), QStringLiteral("2026-03-05 14:07:39"));

        // Everything outside the list keeps the full packet's value.
        for (const QString& key : full.keys())
            if (!highSpeedKeys.contains(key))
                QVERIFY2(merged.value(key) == full.value(key), qPrintable(key));
        QCOMPARE(merged.value("Obs METAR"), QJsonValue(true));
        QCOMPARE(merged.value("Temperature").toString(), QStringLiteral("21.4"));
        QCOMPARE(merged.size(), full.size() + 4);
        QCOMPARE(worker.lastFullRecord, merged);

        // Weather goes to the data log in every mode, high-speed packets included.
        worker.setLoggingState(LoggingType::Default);
        events.clear();
        worker.handleWeatherData(frame, 'D', frame);
        QCOMPARE(signalNames(), (QStringList{"log", "weather"}));

        // The next full packet replaces the record whole.
        feed(worker, '0', orvaLines("14:08:09"));
        QCOMPARE(lastPublished().size(), 86);
        QCOMPARE(worker.lastFullRecord.value("Obs METAR"), QJsonValue(false));
    }

    void highSpeedPacketBeforeAnyFullPacket()
    {
        WorkerProbe worker;
        record(worker);
        const QByteArray frame =
            frameOf('D', {timeLine("14:07:39"), {"WI", {"20", "200", "21", "205"}}});
        worker.handleWeatherData(frame, 'D', frame);
        QCOMPARE(signalNames(), QStringList{"log"});
        QCOMPARE(events.at(0).record.value("Wind Speed").toString(), QStringLiteral("21"));
        QVERIFY(worker.lastFullRecord.isEmpty());
    }

    // After "Setup..." a high-speed packet names no unit: until the connection's first full
    // record it is published nowhere and logged as after a fresh start. Then another unit's
    // record is what a fresh start gives, the same unit's what it gives without "Setup...".
    void highSpeedPacketsAfterSetup_data()
    {
        QTest::addColumn<QString>("unit"); // named by the full record after "Setup..."
        QTest::newRow("another ORVA unit") << "OV2";
        QTest::newRow("the same ORVA unit") << "OV7731";
    }
    void highSpeedPacketsAfterSetup()
    {
        QFETCH(QString, unit);
        const bool sameUnit = unit == QLatin1String("OV7731");

        Lines warm = orvaLines("14:07:09");
        warm[6] = {"TA", {"30.0"}};
        const QList<QByteArray> before = {frameOf('1', warm),
                                          frameOf('0', partLines(1, 2, {"RH", {"80"}}))};
        const auto highSpeed = [](const QString& time, const QString& speed) {
            return frameOf('D', {timeLine(time),
                                 {"WI", {"20", "200", speed, "205"}},
                                 {"GU", {"0", "0", "30", "210"}},
                                 {"LT", {"7", "8", "9", "12", "12", "12"}}});
        };
        const QList<QByteArray> fast = {highSpeed("14:20:00", "25"), highSpeed("14:20:30", "9")};
        Lines next = orvaLines("14:21:00");
        next[3] = {"IR", {"A", "B", "C", unit}};
        next[4] = {"WI", {"12.5", "184", "12", "184"}};
        const QByteArray after = frameOf('0', next);

        WorkerProbe worker;
        record(worker);
        for (const QByteArray& frame : before)
            worker.handleWeatherData(frame, frame.at(1), frame);
        worker.clearTampering();
        worker.closeSerialPort();
        QVERIFY(worker.packetBacklog.at(0).isEmpty());

        events.clear();
        for (const QByteArray& frame : fast)
            worker.handleWeatherData(frame, 'D', frame);
        QCOMPARE(signalNames(), (QStringList{"log", "log"}));
        const QList<Event> logged = events;
        worker.handleWeatherData(after, '0', after);
        const QJsonObject published = lastPublished();

        // A fresh start with the packets after "Setup...", and one without "Setup...".
        WorkerProbe fresh;
        record(fresh);
        for (const QByteArray& frame : fast + QList<QByteArray>{after})
            fresh.handleWeatherData(frame, frame.at(1), frame);
        QCOMPARE(events.at(0).record, logged.at(0).record);
        QCOMPARE(events.at(1).record, logged.at(1).record);
        QCOMPARE(logged.at(1).record.value("Temperature 24 Hrs Max").toString(), QString("-"));
        QCOMPARE(logged.at(1).record.value("Wind Speed Max 10 Minutes").toString(), QString("25"));
        if (sameUnit) {
            WorkerProbe kept;
            record(kept);
            for (const QByteArray& frame : before + fast + QList<QByteArray>{after})
                kept.handleWeatherData(frame, frame.at(1), frame);
        }
        QCOMPARE(published, lastPublished());
        QCOMPARE(published.value("Temperature 24 Hrs Max").toString(),
                 sameUnit ? QString("30") : QString("21.4"));
        QCOMPARE(published.value("Wind Speed Max 10 Minutes").toString(), QString("25"));
    }

    void brqPacketNeverJoined()
    {
        WorkerProbe worker;
        record(worker, DeviceTypes::BRQ);
        const QByteArray packet = "@I:UNIT7\r\nN:METAR:0:0:0:KXYZ:1:2\r\nB:12.6:1:X:64\r\n"
                                  "T:26/03/05,14:07:09\r\nTA:18.5\r\n";
        worker.handleWeatherData(packet, '0', QByteArray());

        QCOMPARE(signalNames(), (QStringList{"log", "weather"}));
        QCOMPARE(events.at(0).packet, packet);
        QCOMPARE(events.at(1).record.size(), 81);
        QCOMPARE(events.at(1).record.value("Temperature").toString(), QStringLiteral("18.5"));
        QVERIFY(worker.packetBacklog.at(0).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWeatherPackets)
#include "tst_weatherpackets.moc"
