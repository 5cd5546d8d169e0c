// The application log's lines, files and folder, and the daily clean-up of the log folder.

#include "tests/support/testsupport.h"

#include "logging/logging.h"
#include "tests/support/logrun.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

using namespace logrun;

namespace
{

QByteArray stamped(const QDateTime& t, const QByteArray& text)
{
    return '[' + lineStamp(t).toUtf8() + "] " + text;
}
QByteArray logHeader(const QDateTime& t, const QString& name)
{
    return stamped(t, "INFO: Application Log File Created [ " + name.toUtf8() + " ]");
}
QByteArray dataHeader(const QDateTime& t, const QString& name)
{
    return stamped(t, "INFO: Data Log File Created [ " + name.toUtf8() + " ]");
}

// A file of exactly `size` bytes made of short lines.
void prefill(const QString& path, qint64 size)
{
    const QByteArray line = QByteArray(99, 'x') + '\n';
    QByteArray content = line.repeated(int(size / line.size()));
    write(path, content + QByteArray(int(size - content.size()), 'y'));
}

// A name dated `days` from the start day, in the log file pattern.
QString datedLogName(int days)
{
    return "Vantora_Direct_LogFile_" + startTime().date().addDays(days).toString("yyyyMMdd") +
           "_101500.txt";
}

} // namespace

class tst_ApplicationLog : public QObject
{
    Q_OBJECT

private slots:
    void defaultFolderAndFirstLines()
    {
        ScopedClock clock(startTime());
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/logging";
        QDir(folder).removeRecursively();
        {
            logging worker;
            QCOMPARE(lines(folder + '/' + logName(startTime())),
                     QList<QByteArray>({logHeader(startTime(), logName(startTime())),
                                        dataHeader(startTime(), dataName(startTime()))}));
            QCOMPARE(QFileInfo(folder + '/' + dataName(startTime())).size(), 0);
            // No location means the default folder, not "/logging" at the root.
            worker.setLogLocation(QString());
            QCOMPARE(lines(folder + '/' + logName(startTime())).size(), 4);
            QVERIFY(!QFileInfo::exists("/logging"));
        }
        QDir(folder).removeRecursively();
    }

    // One line per message, line breaks written as "\n" and "\r", milliseconds without
    // leading zeros.
    void lineText_data()
    {
        QTest::addColumn<bool>("asText");
        QTest::addColumn<int>("ms");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("line");
        const auto add = [](const char* name, bool asText, int ms, const char* message,
                            const char* line) {
            QTest::newRow(name) << asText << ms << QByteArray(message) << QByteArray(line);
        };
        add("plain", false, 120, "INFO: Port opened",
            "[2026-03-05 14:03:10.120] INFO: Port opened");
        add("line feed", false, 100, "first\nsecond", "[2026-03-05 14:03:10.100] first\\nsecond");
        add("ends in CR LF", false, 0, "ERROR: [ @3ok ]\r\n",
            "[2026-03-05 14:03:10.0] ERROR: [ @3ok ]\\r\\n");
        add("empty", false, 5, "", "[2026-03-05 14:03:10.5] ");
        add("text with line feed", true, 45, "METAR sent\nSPECI due",
            "[2026-03-05 14:03:10.45] METAR sent\\nSPECI due");
        add("text non-ASCII", true, 50, "Temp\303\251rature 21\302\260C",
            "[2026-03-05 14:03:10.50] Temp\303\251rature 21\302\260C");
    }
    void lineText()
    {
        QFETCH(bool, asText);
        QFETCH(int, ms);
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, line);
        LogRun run;
        run.clock.set(QDateTime(QDate(2026, 3, 5), QTime(14, 3, 10, ms)));
        if (asText)
            run.worker->log(QString::fromUtf8(message));
        else
            run.worker->logMessages(message);
        QCOMPARE(lines(run.logPath()).mid(2), QList<QByteArray>{line});
    }

    // The line that takes the file past 10,000,000 bytes stays in it; the next line opens
    // a new file that starts with its own header.
    void rotationAtSize()
    {
        LogRun run(
            [](const QTemporaryDir& dir) { prefill(dir.filePath(logName(startTime())), 9999000); });
        const QString oldPath = run.logPath();
        // "[2026-03-05 14:03:09.120] " is 26 bytes, the line feed one more.
        const qint64 room = logging::kRotationSize - QFileInfo(oldPath).size() - 27;
        run.worker->logMessages(QByteArray(int(room), 'a'));
        QCOMPARE(QFileInfo(oldPath).size(), logging::kRotationSize);
        QCOMPARE(entries(run.dir.path()).size(), 2);

        run.clock.advanceSecs(1);
        const QDateTime later = startTime().addSecs(1);
        run.worker->logMessages("crossing");
        run.worker->log(QStringLiteral("after"));
        QCOMPARE(lines(oldPath).last(), stamped(later, "crossing"));
        QCOMPARE(lines(run.path(logName(later))),
                 QList<QByteArray>({logHeader(later, logName(later)), stamped(later, "after")}));
    }

    // A full file of the current second is not reopened (that rotated again at once,
    // without end); the new file takes a running number.
    void rotationWithinTheSameSecond()
    {
        LogRun run([](const QTemporaryDir& dir) {
            prefill(dir.filePath(logName(startTime())), logging::kRotationSize - 1000);
        });
        run.worker->logMessages(QByteArray(1000, 'b'));
        run.worker->logMessages("next");
        const QString second = logName(startTime(), "_2");
        QCOMPARE(lines(run.path(second)),
                 QList<QByteArray>({logHeader(startTime(), second), stamped(startTime(), "next")}));
    }

    // A new location starts both files afresh there; a location that cannot be made falls back
    // to the current folder; a closed log drops lines until the next location.
    void locations()
    {
        LogRun run;
        QTemporaryDir second;
        QTemporaryDir current;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        run.worker->closeLog();
        run.worker->log(QStringLiteral("lost"));
        run.clock.advanceSecs(60);
        const QDateTime moved = startTime().addSecs(60);
        run.worker->setLogLocation(second.path());
        run.worker->log(QStringLiteral("here"));
        const QString folder = second.filePath(QStringLiteral("logging"));
        QCOMPARE(entries(folder), QStringList({dataName(moved), logName(moved)}));
        QCOMPARE(lines(folder + '/' + logName(moved)),
                 QList<QByteArray>({logHeader(moved, logName(moved)),
                                    dataHeader(moved, dataName(moved)), stamped(moved, "here")}));
        QCOMPARE(lines(run.logPath()).size(), 2);

        // A regular file where the folder would be: the folder cannot be made.
        write(second.filePath("blocked"), "not a folder");
        run.clock.advanceSecs(1);
        run.worker->setLogLocation(second.filePath("blocked"));
        run.worker->log(QStringLiteral("still logged"));
        QDir::setCurrent(previous);
        QCOMPARE(entries(current.path()),
                 QStringList({dataName(moved.addSecs(1)), logName(moved.addSecs(1))}));
        QCOMPARE(lines(current.filePath(logName(moved.addSecs(1)))).last(),
                 stamped(moved.addSecs(1), "still logged"));
    }

    // Files dated more than 60 days from today either way go; names that do not parse stay.
    void oldFilesCleared_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("kept");
        QTest::newRow("today") << datedLogName(0) << false << true;
        QTest::newRow("60 days back") << datedLogName(-60) << false << true;
        QTest::newRow("61 days back") << datedLogName(-61) << false << false;
        QTest::newRow("tomorrow") << datedLogName(1) << false << false;
        QTest::newRow("data file 61 days back")
            << "Vantora_Direct_DataFile_20260103_000000.txt" << false << false;
        QTest::newRow("data file 60 days back")
            << "Vantora_Direct_DataFile_20260104_235959.txt" << false << true;
        QTest::newRow("four parts, old") << "Vantora_Direct_20000101_x.txt" << false << true;
        QTest::newRow("fourth part not a date")
            << "Vantora_Direct_LogFile_2000-01-01_101500.txt" << false << true;
        QTest::newRow("any name with five parts") << "a_b_c_20000101_d" << false << false;
        QTest::newRow("empty parts count") << "x__y_20000101_z" << false << false;
        QTest::newRow("old folder") << "Vantora_Direct_LogFile_20000101_101500.txt" << true << true;
    }
    void oldFilesCleared()
    {
        QFETCH(QString, name);
        QFETCH(bool, folder);
        QFETCH(bool, kept);
        LogRun run;
        const QString path = run.path(name);
        if (folder)
            QVERIFY(QDir().mkpath(path));
        else
            write(path, "x");
        run.worker->clearLogDir();
        QCOMPARE(QFileInfo::exists(path), kept);
        QVERIFY(QFileInfo::exists(run.logPath()) && QFileInfo::exists(run.dataPath()));
    }

    // The files in use survive any change of the clock; others follow the dates.
    void cleanupKeepsFilesInUse_data()
    {
        QTest::addColumn<int>("days");
        QTest::newRow("set back 100 days") << -100;
        QTest::newRow("set forward 90 days") << 90;
    }
    void cleanupKeepsFilesInUse()
    {
        QFETCH(int, days);
        LogRun run([](const QTemporaryDir& dir) { write(dir.filePath(datedLogName(-1)), "x"); });
        run.worker->logData("@0", QJsonObject(), DeviceTypes::ORVA);
        run.clock.set(startTime().addDays(days));
        run.worker->clearLogDir();
        QVERIFY(QFileInfo::exists(run.logPath()));
        QCOMPARE(array(run.dataPath()).size(), 1);
        QCOMPARE(QFileInfo::exists(run.path(datedLogName(-1))), false);
        run.worker->log(QStringLiteral("still here"));
        QCOMPARE(lines(run.logPath()).last(), stamped(startTime().addDays(days), "still here"));
    }

    // Not at start: the worker's daily timer clears the folder.
    void cleanupRunsDaily()
    {
        LogRun run([](const QTemporaryDir& dir) { write(dir.filePath(datedLogName(-100)), "x"); });
        const QString old = run.path(datedLogName(-100));
        QVERIFY(QFileInfo::exists(old));
        QTimer* timer = run.worker->findChild<QTimer*>();
        QCOMPARE(timer->interval(), 86400000);
        timer->start(1);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(old), 10000);
        write(old, "x");
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(old), 10000);
    }
};

QTEST_GUILESS_MAIN(tst_ApplicationLog)
#include "tst_applicationlog.moc"
