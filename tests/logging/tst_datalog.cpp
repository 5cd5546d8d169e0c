#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "logging/logging.h"
#include "tests/support/logrun.h"
#include "tools/unitsim/unitframes.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace logrun;

namespace
{

// A record as the data log keeps it: the packet's keys and the three of its own.
QJsonObject record(const QDateTime& t, const QByteArray& raw, const QString& device = "ORVA",
                   QJsonObject packet = {})
{
    packet.insert("logtimestamp", lineStamp(t));
    packet.insert("rawdata", QString::fromUtf8(raw));
    packet.insert("device", device);
    return packet;
}

const QJsonObject kWeather{{"Air Temperature", "21.4"}, {"Obs METAR", true}, {"Obs SPECI", false}};

qint64 textLength(const QByteArray& text)
{
    return QString::fromUtf8(text).size();
}

} // namespace

class tst_DataLog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerSharedMetaTypes(); }

    // The first record's text is known; every later append leaves exactly the text that writing
    // the whole array anew would give.
    void appendsEqualAFullRewrite()
    {
        LogRun run;
        run.worker->logData("@0\r\nTA:21.4\r\n", QJsonObject(), DeviceTypes::ORVA);
        QCOMPARE(bytes(run.dataPath()), QByteArray("[\n    {\n        \"device\": \"ORVA\",\n"
                                                   "        \"logtimestamp\": \"2026-03-05 "
                                                   "14:03:09.120\",\n        \"rawdata\": "
                                                   "\"@0\\r\\nTA:21.4\\r\\n\"\n    }\n]\n\n"));
        const QList<QPair<QByteArray, QJsonObject>> packets = {
            {"\x01\x02 binary \xc3\xa9\t\"quoted\" back\\slash",
             {{"Nested", QJsonObject{{"b", QJsonArray{1, 2.5, "x"}}, {"a", QJsonValue()}}},
              {"Empty object", QJsonObject()},
              {"Empty array", QJsonArray()}}},
            {"", {{"Numbers", QJsonArray{0, -1, 1e300, 3.25, -0.0}}}},
            {"\xf0\x9f\x98\x80 emoji", {{"Text \xc3\xa9", "line\nbreak\r\n"}}},
        };
        // An unknown device type is written as no device.
        const QList<QPair<DeviceTypes, QString>> devices = {
            {DeviceTypes::BRQ, "BRQ"}, {DeviceTypes::None, "None"}, {DeviceTypes(7), "None"}};
        QJsonArray expected = array(run.dataPath());
        for (int i = 0; i < packets.size(); ++i) {
            run.clock.advanceMSecs(1005);
            run.worker->logData(packets.at(i).first, packets.at(i).second, devices.at(i).first);
            expected.append(record(Clock::now(), packets.at(i).first, devices.at(i).second,
                                   packets.at(i).second));
            QCOMPARE(bytes(run.dataPath()), dataText(expected));
        }
    }

    // Which of the unit's frames reach the data log in each logging mode, and what their records
    // hold: a weather record in every mode, with its decoded values except in Data mode; every
    // other frame only in Data and Debug mode. The one table of this rule, from the link's parser
    // of each family to the file.
    void modes_data()
    {
        QTest::addColumn<int>("family"); // 0 ORVA, 1 legacy ORVA, 2 BRQ
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("raw"); // the record's "rawdata"; empty: the bytes
        // Per mode (Default, Data, Debug): '-' no record, 'r' raw copy, 'd' with decoded values.
        QTest::addColumn<QString>("kept");
        const QByteArray orvaWeather = unitsim::orvaFrame('0', "\r\nTA:21.4\r\nRH:55\r\n");
        const QByteArray block = "@I:UNIT7\r\nTA:21.4\r\n@0:00~\r\n\r\n";
        QByteArray image = "@1" + QByteArray::fromHex("2403071405093000");
        image += QByteArray(330, 'a') + "\r\n\r\n";
        QTest::newRow("ORVA weather") << 0 << orvaWeather << QByteArray() << "drd";
        QTest::newRow("ORVA METAR")
            << 0 << unitsim::orvaFrame('1', "\r\nTA:21.4\r\n") << QByteArray() << "drd";
        QTest::newRow("ORVA @3 answer")
            << 0 << unitsim::orvaAnswer('3', {"status=OK"}) << QByteArray() << "-rr";
        QTest::newRow("ORVA @5 module answer")
            << 0 << unitsim::orvaAnswer('5', {"B", "status", "status=OK"}) << QByteArray() << "-rr";
        QTest::newRow("ORVA @6 status")
            << 0 << unitsim::orvaAnswer('6', {"STATUS:OK"}) << QByteArray() << "-rr";
        const QByteArray strike = unitsim::orvaAnswer('8', {"STRIKE_1:12:270"});
        QTest::newRow("ORVA @8 lightning, blanks for underscores")
            << 0 << strike << QByteArray(strike).replace('_', ' ') << "-rr";
        QTest::newRow("legacy weather")
            << 1 << QByteArray("@I:LEG0042\r\nTA:21.4\r\n@0:00~\r\n\r\n") << QByteArray() << "drd";
        QTest::newRow("legacy @6 answer")
            << 1 << QByteArray("@6:status=OK\r\n") << QByteArray() << "-rr";
        QTest::newRow("legacy @6 answer, line not ended")
            << 1 << QByteArray("@6:status=OK") << QByteArray() << "---";
        QTest::newRow("BRQ weather") << 2 << block << QByteArray() << "drd";
        QTest::newRow("BRQ prompt") << 2 << QByteArray("C0 OK\r\n>") << QByteArray() << "-rr";
        QTest::newRow("BRQ image packet") << 2 << image << QByteArray() << "-rr";
    }
    void modes()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, raw);
        QFETCH(QString, kept);
        for (int mode = 0; mode < 3; ++mode) {
            LogRun run;
            data_incoming link;
            link.setDeviceTypeState(family == 2 ? DeviceTypes::BRQ : DeviceTypes::ORVA);
            link.legacyorvadevicecheck(family == 1);
            link.setLoggingState(LoggingType(mode));
            run.worker->setLogState(LoggingType(mode));
            connect(&link, &data_incoming::sendLogData, run.worker.data(), &logging::logData);
            frameBuffer.clear();
            idleTicks = 0;
            if (family == 0)
                link.parseData_ORVA(bytes);
            else if (family == 1)
                link.parseData_ORVA_Legacy(bytes);
            else
                link.parseData_BRQ(bytes);
            // A BRQ reply may still grow until the line falls silent.
            while (family == 2 && idleTicks < data_incoming::brqSilenceTicks)
                link.dataTimer();

            const QJsonArray records = array(run.dataPath());
            const QChar want = kept.at(mode);
            QVERIFY2(records.size() == (want == '-' ? 0 : 1), qPrintable(QString::number(mode)));
            if (records.isEmpty())
                continue;
            const QJsonObject r = records.at(0).toObject();
            QCOMPARE(r.value("rawdata").toString(), QString::fromUtf8(raw.isEmpty() ? bytes : raw));
            QCOMPARE(r.value("device").toString(), QString(family == 2 ? "BRQ" : "ORVA"));
            QVERIFY2(r.contains("Obs METAR") == (want == 'd'), qPrintable(QString::number(mode)));
        }
    }

    // A file that is not a JSON array (found at start or appearing later) is left as it is; the
    // records go to a new file, and the log says why. The search for a free name goes on to the
    // last suffix, _1000.
    void notAnArrayIsLeftUntouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("atStart"); // names taken by such files before the log starts
        QTest::newRow("object") << QByteArray("{\n    \"a\": 1\n}\n") << 0;
        QTest::newRow("cut short") << QByteArray("[\n    {\n        \"rawdata\": \"@0") << 0;
        QTest::newRow("plain text") << QByteArray("operator notes\n") << 0;
        QTest::newRow("text after the array") << QByteArray("[\n]\n# kept\n") << 0;
        QTest::newRow("object at start") << QByteArray("{\"not\": \"an array\"}") << 1;
        QTest::newRow("every name but the last at start") << QByteArray("operator notes\n") << 999;
    }
    void notAnArrayIsLeftUntouched()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, atStart);
        LogRun run([&](const QTemporaryDir& dir) {
            for (int n = 1; n <= atStart; ++n)
                write(dir.filePath(dataName(startTime(), n > 1 ? "_" + QString::number(n) : "")),
                      content);
        });
        if (!atStart) {
            run.worker->logData("first", QJsonObject(), DeviceTypes::ORVA);
            write(run.dataPath(), content);
        }
        run.clock.advanceMSecs(10);
        run.worker->logData("second", QJsonObject(), DeviceTypes::ORVA);
        QCOMPARE(bytes(run.dataPath()), content);
        const QString next = dataName(startTime(), "_" + QString::number(qMax(atStart, 1) + 1));
        QCOMPARE(bytes(run.path(next)), dataText({record(Clock::now(), "second")}));
        if (!atStart)
            QCOMPARE(lines(run.logPath()).at(2),
                     "[2026-03-05 14:03:09.130] ERROR: Data Log File does not hold a JSON array "
                     "and is left unchanged [ " +
                         dataName(startTime()).toUtf8() + " ]");
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
        LogRun run(
            [&](const QTemporaryDir& dir) { write(dir.filePath(dataName(startTime())), content); });
        QJsonArray expected = QJsonDocument::fromJson(content).array();
        for (const char* raw : {"y", "z"}) {
            run.worker->logData(raw, QJsonObject(), DeviceTypes::ORVA);
            expected.append(record(Clock::now(), raw));
            QCOMPARE(bytes(run.dataPath()), dataText(expected));
            run.clock.advanceMSecs(1);
        }
    }

    // The rotation counts characters of the file's text: a file of exactly 10,000,000 takes
    // the next record and stays; one past that takes one more record, then the log moves on.
    // The same whether the file is known from appends or was written anew, having been laid
    // out by another program; a file another program filled past the limit while the log was
    // open rotates right after the record that rewrote it.
    void rotationAtCharacterCount_data()
    {
        QTest::addColumn<bool>("compact");
        QTest::addColumn<bool>("whileOpen");
        // The file reaches the limit exactly with its first record, or is past it before.
        QTest::addColumn<bool>("pastLimit");
        QTest::addColumn<int>("kept"); // records the file takes before the log moves on
        QTest::newRow("appended in place") << false << false << false << 3;
        QTest::newRow("whole file written anew") << true << false << false << 3;
        QTest::newRow("filled past the limit while open") << false << true << true << 1;
    }
    void rotationAtCharacterCount()
    {
        QFETCH(bool, compact);
        QFETCH(bool, whileOpen);
        QFETCH(bool, pastLimit);
        QFETCH(int, kept);
        const QJsonObject blank{{"rawdata", ""}};
        const qint64 added =
            textLength(dataText({blank, record(startTime(), "A")})) - textLength(dataText({blank}));
        const qint64 before =
            pastLimit ? logging::kRotationSize + 1 : logging::kRotationSize - added;
        const int wide = 1000; // two bytes each, one character each
        const qint64 narrow = before - textLength(dataText({blank})) - wide;
        const QJsonObject big{
            {"rawdata", QString(int(narrow), QLatin1Char('n')) + QString(wide, QChar(0xe9))}};
        const QByteArray content =
            compact ? QJsonDocument(QJsonArray{big}).toJson(QJsonDocument::Compact)
                    : dataText({big});
        LogRun run([&](const QTemporaryDir& dir) {
            if (!whileOpen)
                write(dir.filePath(dataName(startTime())), content);
        });
        const QString path = run.dataPath();
        if (whileOpen)
            write(path, content);

        // A record a second, so that the next file has a name of its own.
        QJsonArray expected{big};
        QString next;
        for (int i = 0; i <= kept; ++i) {
            run.clock.advanceSecs(1);
            const QByteArray raw(1, char('A' + i));
            run.worker->logData(raw, QJsonObject(), DeviceTypes::ORVA);
            const QJsonObject written = record(Clock::now(), raw);
            if (i == 0)
                QCOMPARE(textLength(bytes(path)), before + added);
            if (i < kept)
                expected.append(written);
            if (i == kept - 1) {
                next = run.path(dataName(Clock::now()));
                QVERIFY(QFileInfo::exists(next));
                QCOMPARE(QFileInfo(next).size(), 0);
            } else if (i == kept) {
                QCOMPARE(bytes(next), dataText({written}));
            }
        }
        QCOMPARE(bytes(path), dataText(expected));
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
            run.worker->logData("kept", kWeather, DeviceTypes::ORVA);
            expected.append(record(startTime(), "kept", "ORVA", kWeather));
        }
        const QByteArray before = bytes(path);

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = rlim_t(before.size() + 40);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        run.worker->logData("lost", kWeather, DeviceTypes::ORVA);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(bytes(path), before);
        QCOMPARE(entries(run.dir.path()),
                 QStringList({dataName(startTime()), logName(startTime())}));
        run.clock.advanceMSecs(7);
        run.worker->logData("next", QJsonObject(), DeviceTypes::ORVA);
        expected.append(record(Clock::now(), "next"));
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
        run.worker->logData("lost", kWeather, DeviceTypes::ORVA);
        setDiskSync({});
        QVERIFY(QFileInfo::exists(path + ".journal"));

        run.clock.advanceMSecs(5);
        run.worker->logData("next", QJsonObject(), DeviceTypes::ORVA);
        const QByteArray expected =
            dataText({record(startTime(), "kept"), record(Clock::now(), "next")});
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
            records.append(record(earlier.addSecs(i), "old " + QByteArray::number(i)));
        const QByteArray oldText = oldRecords ? dataText(records) : QByteArray();
        QJsonArray onDiskRecords = records;
        records.append(record(earlier.addSecs(10), "new", "ORVA", kWeather));
        onDiskRecords.append(
            record(earlier.addSecs(10), other.isEmpty() ? "new" : other, "ORVA", kWeather));
        const QByteArray newText = dataText(records);

        const int kept = oldRecords ? oldText.size() - 4 : 0;
        const int tail = newText.size() - kept;
        const int onDisk = writtenOfNew == -1 ? tail
                           : writtenOfNew < 0 ? tail + writtenOfNew
                                              : writtenOfNew;
        const QByteArray fileText = oldText.left(kept) + dataText(onDiskRecords).mid(kept, onDisk);
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
        const QString name = dataName(startTime().addSecs(-3600));
        const QByteArray two = dataText({record(startTime(), "a"), record(startTime(), "b")});
        LogRun run([&](const QTemporaryDir& dir) {
            write(dir.filePath(name), two);
            write(dir.filePath(name + ".journal"), "10 20\n");
        });
        QCOMPARE(bytes(run.path(name)), two);
        QVERIFY(!QFileInfo::exists(run.path(name + ".journal")));
    }
};

QTEST_GUILESS_MAIN(tst_DataLog)
#include "tst_datalog.moc"
