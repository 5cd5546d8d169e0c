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
        QTest::newRow("empty array as written here") << dataText(QJsonArray());
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
    void writeCutShortIsUndone_data()
    {
        QTest::addColumn<QByteArray>("foreign"); // a file continued by writing it anew
        QTest::newRow("record appended in place") << QByteArray();
        QTest::newRow("whole file written anew") << QByteArray("[{\"a\":1}]");
    }
    void writeCutShortIsUndone()
    {
        QFETCH(QByteArray, foreign);
        LogRun run([&foreign](const QTemporaryDir& dir) {
            if (!foreign.isEmpty())
                write(dir.filePath(dataName(startTime())), foreign);
        });
        const QString path = run.dataPath();
        QJsonArray expected = QJsonDocument::fromJson(foreign).array();
        if (foreign.isEmpty()) {
            run.worker->logData("kept", weatherPacket(), DeviceTypes::ORVA);
            expected.append(record(startTime(), "kept", "ORVA", weatherPacket()));
        }
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
        expected.append(record(Clock::now(), "next", "ORVA"));
        QCOMPARE(bytes(path), dataText(expected));
    }
#endif

    // The record's sync fails and so does the sync of its undo: the journal stays only until the
    // next record settles the file, so no later start can cut records reported written.
    void failedSyncAndFailedUndo()
    {
        LogRun run;
        const QString path = run.dataPath();
        run.worker->logData("kept", QJsonObject(), DeviceTypes::ORVA);
        setDiskSync([](QFile& file) { return file.fileName().endsWith(".journal"); });
        run.worker->logData("lost", weatherPacket(), DeviceTypes::ORVA);
        setDiskSync({});
        QVERIFY(QFileInfo::exists(path + ".journal"));

        run.clock.advanceMSecs(5);
        run.worker->logData("next", QJsonObject(), DeviceTypes::ORVA);
        const QByteArray expected =
            dataText({record(startTime(), "kept", "ORVA"), record(Clock::now(), "next", "ORVA")});
        QCOMPARE(bytes(path), expected);
        QVERIFY(!QFileInfo::exists(path + ".journal"));

        run.worker.reset(new logging(run.dir.path(), nullptr));
        QCOMPARE(bytes(path), expected);
    }

    // A journal left by a run that stopped during an append is settled at the next start, and
    // only when the data file is still the one its append was writing.
    void interruptedAppendIsSettled_data()
    {
        QTest::addColumn<int>("oldRecords");
        QTest::addColumn<int>("writtenOfNew"); // bytes of the new tail on disk, -1: all
        QTest::addColumn<int>("journalCut");   // bytes missing at the journal's end
        QTest::addColumn<QByteArray>("other"); // the record on disk instead of the journal's
        QTest::addColumn<bool>("keepsNew");
        QTest::addColumn<bool>("reported");

        const QByteArray none;
        QTest::newRow("cut in the record") << 2 << 40 << 0 << none << false << true;
        QTest::newRow("cut before the record") << 2 << 0 << 0 << none << false << true;
        QTest::newRow("cut before the closing bracket") << 2 << -2 << 0 << none << false << true;
        QTest::newRow("record complete") << 2 << -1 << 0 << none << true << false;
        QTest::newRow("journal itself cut") << 2 << 0 << 5 << none << false << false;
        QTest::newRow("first record cut") << 0 << 30 << 0 << none << false << true;
        // The file was rewritten with another record since: it is left as it is.
        QTest::newRow("file holds another record")
            << 2 << -1 << 0 << QByteArray("NEW") << true << false;
    }
    void interruptedAppendIsSettled()
    {
        QFETCH(int, oldRecords);
        QFETCH(int, writtenOfNew);
        QFETCH(int, journalCut);
        QFETCH(QByteArray, other);
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
        QJsonArray onDiskRecords = records;
        records.append(record(earlier.addSecs(10), "new", "ORVA", weatherPacket()));
        onDiskRecords.append(
            record(earlier.addSecs(10), other.isEmpty() ? "new" : other, "ORVA", weatherPacket()));
        const QByteArray newText = dataText(records);
        const QByteArray onDiskText = dataText(onDiskRecords);

        const int kept = oldRecords ? oldText.size() - 4 : 0;
        const int tail = newText.size() - kept;
        const int onDisk = writtenOfNew == -1 ? tail
                           : writtenOfNew < 0 ? tail + writtenOfNew
                                              : writtenOfNew;
        const QByteArray fileText = oldText.left(kept) + onDiskText.mid(kept, onDisk);
        write(path, writtenOfNew == 0 ? oldText : fileText);
        const QByteArray journal = QByteArray::number(oldText.size()) + ' ' +
                                   QByteArray::number(newText.size()) + '\n' + newText.mid(kept);
        write(path + ".journal", journal.left(journal.size() - journalCut));

        ScopedClock clock(startTime());
        logging worker(dir.path(), nullptr);
        QCOMPARE(bytes(path), !other.isEmpty() ? fileText : keepsNew ? newText : oldText);
        QVERIFY(!QFileInfo::exists(path + ".journal"));
        const QByteArray notice = "[2026-03-05 14:03:09.120] ERROR: Data Log File write was "
                                  "interrupted; its last record is lost [ " +
                                  name.toUtf8() + " ]";
        QCOMPARE(lines(dir.filePath(logName(startTime()))).contains(notice), reported);
    }

    // A journal that does not describe the file beside it changes nothing.
    void foreignJournalLeavesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(dataName(startTime().addSecs(-3600)));
        const QByteArray two =
            dataText({record(startTime(), "a", "ORVA"), record(startTime(), "b", "ORVA")});
        write(path, two);
        write(path + ".journal", "10 20\n");
        ScopedClock clock(startTime());
        logging worker(dir.path(), nullptr);
        QCOMPARE(bytes(path), two);
        QVERIFY(!QFileInfo::exists(path + ".journal"));
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
