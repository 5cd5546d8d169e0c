#include "tests/support/testsupport.h"

#include "logging/logging.h"
#include "tests/logging/logfiles.h"
#include "tests/support/scopedclock.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace logfiles;

// Plays the senders that the main window connects to the worker.
class Feeder : public QObject
{
    Q_OBJECT
signals:
    void sendLogData(const QByteArray& raw, const QJsonObject& packet, DeviceTypes type);
    void sendLogMsg(const QByteArray& message);
    void info(const QString& message);
    void setLoggingState(LoggingType mode);
};

class tst_DataLog : public QObject
{
    Q_OBJECT

private:
    // A record as the data log keeps it: the packet's keys and the three of its own.
    static QJsonObject record(const QDateTime& t, const QByteArray& raw, const QString& device,
                              QJsonObject packet = QJsonObject())
    {
        packet.insert(QStringLiteral("logtimestamp"), lineStamp(t));
        packet.insert(QStringLiteral("rawdata"), QString::fromUtf8(raw));
        packet.insert(QStringLiteral("device"), device);
        return packet;
    }
    static QJsonObject weatherPacket()
    {
        return QJsonObject{{"Air Temperature", "21.4"}, {"Dew Point", "12.0"},
                           {"Wind Direction", "270"},   {"Obs METAR", true},
                           {"Obs SPECI", false},        {"Backlog Status", false}};
    }
    static qint64 textLength(const QByteArray& text) { return QString::fromUtf8(text).size(); }

private slots:
    void initTestCase() { registerSharedMetaTypes(); }

    void firstRecordKnownText()
    {
        LogRun run;
        run.worker->logData("@0\r\nTA:21.4\r\n", QJsonObject(), DeviceTypes::ORVA);
        QCOMPARE(bytes(run.dataPath()),
                 QByteArray("[\n"
                            "    {\n"
                            "        \"device\": \"ORVA\",\n"
                            "        \"logtimestamp\": \"2026-03-05 14:03:09.120\",\n"
                            "        \"rawdata\": \"@0\\r\\nTA:21.4\\r\\n\"\n"
                            "    }\n"
                            "]\n"
                            "\n"));
    }

    // Every append leaves exactly the text that writing the whole array anew would give.
    void appendsEqualAFullRewrite()
    {
        LogRun run;
        const QList<QPair<QByteArray, QJsonObject>> packets = {
            {"@0\r\nTA:21.4\r\n", weatherPacket()},
            {"@3 frequency=60\r\n", QJsonObject()},
            {"\x01\x02 binary \xc3\xa9\t\"quoted\" back\\slash",
             QJsonObject{
                 {"Nested", QJsonObject{{"b", QJsonArray{1, 2.5, "x"}}, {"a", QJsonValue()}}},
                 {"Empty object", QJsonObject()},
                 {"Empty array", QJsonArray()}}},
            {"", QJsonObject{{"Numbers", QJsonArray{0, -1, 1e300, 3.25, -0.0}}}},
            {"\xf0\x9f\x98\x80 emoji", QJsonObject{{"Text \xc3\xa9", "line\nbreak\r\n"}}},
            {"@I\r\n", weatherPacket()},
        };
        QJsonArray expected;
        for (const auto& packet : packets) {
            run.clock.advanceMSecs(1005);
            run.worker->logData(packet.first, packet.second, DeviceTypes::BRQ);
            expected.append(record(Clock::now(), packet.first, "BRQ", packet.second));
            QCOMPARE(bytes(run.dataPath()), dataText(expected));
        }
        QCOMPARE(array(run.dataPath()).size(), packets.size());
    }

    void modes_data()
    {
        QTest::addColumn<LoggingType>("mode");
        QTest::addColumn<QJsonObject>("packet");
        QTest::addColumn<QStringList>("keys");

        const QStringList own{"device", "logtimestamp", "rawdata"};
        QStringList all = own + weatherPacket().keys();
        all.sort();
        QTest::newRow("Default, weather") << LoggingType::Default << weatherPacket() << all;
        QTest::newRow("Debug, weather") << LoggingType::Debug << weatherPacket() << all;
        QTest::newRow("Data, weather") << LoggingType::Data << weatherPacket() << own;
        QTest::newRow("Default, other packet") << LoggingType::Default << QJsonObject() << own;
        QTest::newRow("Data, other packet") << LoggingType::Data << QJsonObject() << own;
    }
    void modes()
    {
        QFETCH(LoggingType, mode);
        QFETCH(QJsonObject, packet);
        QFETCH(QStringList, keys);
        LogRun run;
        run.worker->setLogState(mode);
        run.worker->logData("@0 packet", packet, DeviceTypes::ORVA);
        const QJsonArray records = array(run.dataPath());
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.at(0).toObject().keys(), keys);
        QCOMPARE(records.at(0).toObject().value("rawdata").toString(), QStringLiteral("@0 packet"));
    }

    void deviceNames_data()
    {
        QTest::addColumn<DeviceTypes>("type");
        QTest::addColumn<QString>("name");
        QTest::newRow("BRQ") << DeviceTypes::BRQ << "BRQ";
        QTest::newRow("ORVA") << DeviceTypes::ORVA << "ORVA";
        QTest::newRow("no device yet") << DeviceTypes::None << "None";
        QTest::newRow("unknown value") << static_cast<DeviceTypes>(7) << "None";
    }
    void deviceNames()
    {
        QFETCH(DeviceTypes, type);
        QFETCH(QString, name);
        LogRun run;
        run.worker->logData("x", QJsonObject(), type);
        QCOMPARE(array(run.dataPath()).at(0).toObject().value("device"), QJsonValue(name));
    }

    void notAnArrayIsLeftUntouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("object") << QByteArray("{\n    \"a\": 1\n}\n");
        QTest::newRow("cut short") << QByteArray("[\n    {\n        \"rawdata\": \"@0");
        QTest::newRow("plain text") << QByteArray("operator notes\n");
        QTest::newRow("number") << QByteArray("42\n");
        QTest::newRow("text after the array") << QByteArray("[\n]\n# kept\n");
    }
    void notAnArrayIsLeftUntouched()
    {
        QFETCH(QByteArray, content);
        LogRun run;
        run.worker->logData("first", QJsonObject(), DeviceTypes::ORVA);
        write(run.dataPath(), content);

        run.clock.advanceMSecs(10);
        run.worker->logData("second", QJsonObject(), DeviceTypes::ORVA);
        QCOMPARE(bytes(run.dataPath()), content);
        const QString next = dataName(startTime(), "_2");
        QCOMPARE(bytes(run.path(next)), dataText({record(Clock::now(), "second", "ORVA")}));
        const QList<QByteArray> log = lines(run.logPath());
        QCOMPARE(log.at(log.size() - 2),
                 "[2026-03-05 14:03:09.130] ERROR: Data Log File does not hold a JSON array and "
                 "is left unchanged [ " +
                     dataName(startTime()).toUtf8() + " ]");
        QCOMPARE(log.last(),
                 "[2026-03-05 14:03:09.130] INFO: Data Log File Created [ " + next.toUtf8() + " ]");
    }

    void foreignFileOfTheSameNameAtStartIsLeftAlone()
    {
        LogRun run([](const QTemporaryDir& dir) {
            write(dir.filePath(dataName(startTime())), "{\"not\": \"an array\"}");
        });
        run.worker->logData("x", QJsonObject(), DeviceTypes::BRQ);
        QCOMPARE(bytes(run.dataPath()), QByteArray("{\"not\": \"an array\"}"));
        QCOMPARE(bytes(run.path(dataName(startTime(), "_2"))),
                 dataText({record(startTime(), "x", "BRQ")}));
    }

    void foreignArrayIsContinued_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty array") << QByteArray("[]");
        QTest::newRow("compact") << QByteArray("[{\"b\":2,\"a\":1}]");
        QTest::newRow("other elements") << QByteArray("[\n  1,\n  \"x\",\n  null\n]\n");
        QTest::newRow("blank") << QByteArray("\n");
    }
    void foreignArrayIsContinued()
    {
        QFETCH(QByteArray, content);
        LogRun run([&content](const QTemporaryDir& dir) {
            write(dir.filePath(dataName(startTime())), content);
        });
        QJsonArray expected = QJsonDocument::fromJson(content).array();
        for (const char* raw : {"y", "z"}) {
            run.worker->logData(raw, QJsonObject(), DeviceTypes::ORVA);
            expected.append(record(Clock::now(), raw, "ORVA"));
            QCOMPARE(bytes(run.dataPath()), dataText(expected));
            run.clock.advanceMSecs(1);
        }
    }

    // The rotation counts characters of the file's text: a file of exactly 10,000,000 takes
    // the next record and stays; one past that takes one more record, then the log moves on.
    void rotationAtCharacterCount()
    {
        QTemporaryDir dir;
        ScopedClock clock(startTime());
        const QString path = dir.filePath(dataName(startTime()));

        const QJsonObject a = record(startTime(), "A", "ORVA");
        const QJsonObject blank{{"rawdata", ""}};
        const qint64 added = textLength(dataText({blank, a})) - textLength(dataText({blank}));
        const int wide = 1000; // two bytes each, one character each
        const qint64 narrow = logging::kRotationSize - added - textLength(dataText({blank})) - wide;
        const QJsonObject big{
            {"rawdata", QString(int(narrow), QLatin1Char('n')) + QString(wide, QChar(0xe9))}};
        write(path, dataText({big}));
        QCOMPARE(textLength(bytes(path)) + added, logging::kRotationSize);
        QCOMPARE(QFileInfo(path).size(), textLength(bytes(path)) + wide);

        logging worker(dir.path(), nullptr);
        worker.logData("A", QJsonObject(), DeviceTypes::ORVA);
        QCOMPARE(textLength(bytes(path)), logging::kRotationSize);
        worker.logData("B", QJsonObject(), DeviceTypes::ORVA);
        clock.advanceSecs(1);
        const QDateTime later = Clock::now();
        worker.logData("C", QJsonObject(), DeviceTypes::ORVA);
        const QString next = dir.filePath(dataName(later));
        QVERIFY(QFileInfo::exists(next));
        QCOMPARE(QFileInfo(next).size(), 0);
        worker.logData("D", QJsonObject(), DeviceTypes::ORVA);

        QCOMPARE(bytes(path),
                 dataText({big, a, record(startTime(), "B", "ORVA"), record(later, "C", "ORVA")}));
        QCOMPARE(bytes(next), dataText({record(later, "D", "ORVA")}));
    }

#ifdef Q_OS_UNIX
    // A write cut short (here by a file size limit, as by a full disk) leaves the file as it
    // was before the record, and the next record is appended normally.
    void writeCutShortIsUndone()
    {
        LogRun run;
        const QString path = run.dataPath();
        run.worker->logData("kept", weatherPacket(), DeviceTypes::ORVA);
        const QByteArray before = bytes(path);

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = rlim_t(before.size() + 40);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        run.worker->logData("lost", weatherPacket(), DeviceTypes::ORVA);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(bytes(path), before);
        QCOMPARE(entries(run.dir.path()),
                 QStringList({dataName(startTime()), logName(startTime())}));
        run.clock.advanceMSecs(7);
        run.worker->logData("next", QJsonObject(), DeviceTypes::ORVA);
        QCOMPARE(bytes(path), dataText({record(startTime(), "kept", "ORVA", weatherPacket()),
                                        record(Clock::now(), "next", "ORVA")}));
    }
#endif

    // A journal left by a run that stopped during an append is settled at the next start.
    void interruptedAppendIsSettled_data()
    {
        QTest::addColumn<int>("oldRecords");
        QTest::addColumn<int>("writtenOfNew"); // bytes of the new tail on disk, -1: all
        QTest::addColumn<bool>("journalComplete");
        QTest::addColumn<bool>("keepsNew");
        QTest::addColumn<bool>("reported");

        QTest::newRow("cut in the record") << 2 << 40 << true << false << true;
        QTest::newRow("cut before the record") << 2 << 0 << true << false << true;
        QTest::newRow("cut before the closing bracket") << 2 << -2 << true << false << true;
        QTest::newRow("record complete") << 2 << -1 << true << true << false;
        QTest::newRow("journal itself cut") << 2 << 0 << false << false << false;
        QTest::newRow("first record cut") << 0 << 30 << true << false << true;
    }
    void interruptedAppendIsSettled()
    {
        QFETCH(int, oldRecords);
        QFETCH(int, writtenOfNew);
        QFETCH(bool, journalComplete);
        QFETCH(bool, keepsNew);
        QFETCH(bool, reported);

        QTemporaryDir dir;
        const QDateTime earlier = startTime().addSecs(-3600);
        const QString name = dataName(earlier);
        const QString path = dir.filePath(name);
        QJsonArray records;
        for (int i = 0; i < oldRecords; ++i)
            records.append(record(earlier.addSecs(i), "old " + QByteArray::number(i), "ORVA"));
        const QByteArray oldText = oldRecords ? dataText(records) : QByteArray();
        records.append(record(earlier.addSecs(10), "new", "ORVA", weatherPacket()));
        const QByteArray newText = dataText(records);

        const int kept = oldRecords ? oldText.size() - 4 : 0;
        const int tail = newText.size() - kept;
        const int onDisk = writtenOfNew == -1 ? tail
                           : writtenOfNew < 0 ? tail + writtenOfNew
                                              : writtenOfNew;
        write(path, oldText.left(kept) + newText.mid(kept, onDisk));
        if (writtenOfNew == 0)
            write(path, oldText);
        const QByteArray journal =
            QByteArray::number(oldText.size()) + ' ' + QByteArray::number(newText.size());
        write(path + ".journal", journalComplete ? journal + '\n' : journal.left(3));

        ScopedClock clock(startTime());
        logging worker(dir.path(), nullptr);
        QCOMPARE(bytes(path), keepsNew ? newText : oldText);
        QVERIFY(!QFileInfo::exists(path + ".journal"));
        const QByteArray notice = "[2026-03-05 14:03:09.120] ERROR: Data Log File write was "
                                  "interrupted; its last record is lost [ " +
                                  name.toUtf8() + " ]";
        QCOMPARE(lines(dir.filePath(logName(startTime()))).contains(notice), reported);
    }

    void workerOnItsOwnThread()
    {
        QTemporaryDir dir;
        ScopedClock clock(startTime());
        auto* worker = new logging(dir.path(), nullptr);
        QThread thread;
        worker->moveToThread(&thread);
        connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        Feeder feeder;
        connect(&feeder, &Feeder::sendLogData, worker, &logging::logData);
        connect(&feeder, &Feeder::sendLogMsg, worker, &logging::logMessages);
        connect(&feeder, &Feeder::info, worker, &logging::log);
        connect(&feeder, &Feeder::setLoggingState, worker, &logging::setLogState);
        thread.start();
        auto stop = qScopeGuard([&thread] {
            thread.quit();
            thread.wait();
        });

        emit feeder.sendLogMsg("INFO: Serial port opened");
        emit feeder.sendLogData("@0 one", weatherPacket(), DeviceTypes::ORVA);
        emit feeder.setLoggingState(LoggingType::Data);
        emit feeder.sendLogData("@0 two", weatherPacket(), DeviceTypes::BRQ);
        emit feeder.info(QStringLiteral("METAR sent"));

        const QString logPath = dir.filePath(logName(startTime()));
        QTRY_COMPARE_WITH_TIMEOUT(lines(logPath).size(), 4, 5000);
        QCOMPARE(lines(logPath).at(2),
                 QByteArray("[2026-03-05 14:03:09.120] INFO: Serial port opened"));
        QCOMPARE(lines(logPath).at(3), QByteArray("[2026-03-05 14:03:09.120] METAR sent"));
        QCOMPARE(bytes(dir.filePath(dataName(startTime()))),
                 dataText({record(startTime(), "@0 one", "ORVA", weatherPacket()),
                           record(startTime(), "@0 two", "BRQ")}));
        QCOMPARE(worker->findChild<QTimer*>()->thread(), &thread);

        stop.dismiss();
        QPointer<logging> alive(worker);
        thread.quit();
        QVERIFY(thread.wait(5000));
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 5000);
    }
};

QTEST_GUILESS_MAIN(tst_DataLog)
#include "tst_datalog.moc"
