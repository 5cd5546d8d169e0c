#include "tests/support/testsupport.h"

#include "logging/logging.h"
#include "tests/logging/logfiles.h"
#include "tests/support/scopedclock.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace logfiles;

class tst_ApplicationLog : public QObject
{
    Q_OBJECT

private:
    static QByteArray stamped(const QDateTime& t, const QByteArray& text)
    {
        return '[' + lineStamp(t).toUtf8() + "] " + text;
    }
    static QByteArray logHeader(const QDateTime& t, const QString& name)
    {
        return stamped(t, "INFO: Application Log File Created [ " + name.toUtf8() + " ]");
    }
    static QByteArray dataHeader(const QDateTime& t, const QString& name)
    {
        return stamped(t, "INFO: Data Log File Created [ " + name.toUtf8() + " ]");
    }
    // A file of exactly `size` bytes made of short lines.
    static void prefill(const QString& path, qint64 size)
    {
        QByteArray line(99, 'x');
        line += '\n';
        QByteArray content;
        content.reserve(int(size));
        while (content.size() + line.size() <= size)
            content += line;
        content += QByteArray(int(size - content.size()), 'y');
        write(path, content);
    }

private slots:
    void defaultFolderAndFirstLines()
    {
        ScopedClock clock(startTime());
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/logging";
        QDir(folder).removeRecursively();
        {
            logging worker;
            const QString logPath = folder + '/' + logName(startTime());
            const QString dataPath = folder + '/' + dataName(startTime());
            QCOMPARE(lines(logPath),
                     QList<QByteArray>({logHeader(startTime(), logName(startTime())),
                                        dataHeader(startTime(), dataName(startTime()))}));
            QVERIFY(QFileInfo(dataPath).isFile());
            QCOMPARE(QFileInfo(dataPath).size(), 0);
        }
        QDir(folder).removeRecursively();
    }

    void lineText_data()
    {
        QTest::addColumn<bool>("asText");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("written");

        const auto add = [](const char* name, bool asText, const char* message,
                            const char* written) {
            QTest::newRow(name) << asText << QByteArray(message) << QByteArray(written);
        };
        add("plain", false, "INFO: Port opened", "INFO: Port opened");
        add("line feed", false, "first\nsecond", "first\\nsecond");
        add("ends in CR LF", false, "ERROR: frame [ @3ok ]\r\n", "ERROR: frame [ @3ok ]\\r\\n");
        add("empty", false, "", "");
        add("text with line feed", true, "METAR sent\nSPECI due", "METAR sent\\nSPECI due");
        add("text non-ASCII", true, "Temp\303\251rature 21\302\260C",
            "Temp\303\251rature 21\302\260C");
    }
    void lineText()
    {
        QFETCH(bool, asText);
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, written);
        LogRun run;
        run.clock.advanceMSecs(2000);
        if (asText)
            run.worker->log(QString::fromUtf8(message));
        else
            run.worker->logMessages(message);
        const QList<QByteArray> got = lines(run.logPath());
        QCOMPARE(got.size(), 3);
        QCOMPARE(got.last(), "[2026-03-05 14:03:11.120] " + written);
    }

    void millisecondsWithoutLeadingZeros_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("0") << 0 << QByteArray("[2026-03-05 14:03:10.0] tick");
        QTest::newRow("5") << 5 << QByteArray("[2026-03-05 14:03:10.5] tick");
        QTest::newRow("45") << 45 << QByteArray("[2026-03-05 14:03:10.45] tick");
        QTest::newRow("50") << 50 << QByteArray("[2026-03-05 14:03:10.50] tick");
        QTest::newRow("100") << 100 << QByteArray("[2026-03-05 14:03:10.100] tick");
        QTest::newRow("120") << 120 << QByteArray("[2026-03-05 14:03:10.120] tick");
    }
    void millisecondsWithoutLeadingZeros()
    {
        QFETCH(int, ms);
        QFETCH(QByteArray, line);
        LogRun run;
        run.clock.set(QDateTime(QDate(2026, 3, 5), QTime(14, 3, 10, ms)));
        run.worker->log(QStringLiteral("tick"));
        QCOMPARE(lines(run.logPath()).last(), line);
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
        QCOMPARE(lines(oldPath).last(), stamped(later, "crossing"));
        QCOMPARE(QFileInfo(oldPath).size(), logging::kRotationSize + 35);

        run.worker->log(QStringLiteral("after"));
        const QString newPath = run.path(logName(later));
        QCOMPARE(lines(newPath),
                 QList<QByteArray>({logHeader(later, logName(later)), stamped(later, "after")}));
        QCOMPARE(lines(oldPath).last(), stamped(later, "crossing"));
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
        QCOMPARE(lines(run.logPath()).last(), stamped(startTime(), QByteArray(1000, 'b')));
    }

    void checkFileSizeRotatesWithoutWriting()
    {
        LogRun run;
        const QString oldPath = run.logPath();
        run.worker->checkFileSize();
        QCOMPARE(entries(run.dir.path()).size(), 2);

        QFile grow(oldPath);
        QVERIFY(grow.open(QIODevice::Append));
        grow.write(QByteArray(int(logging::kRotationSize), 'z'));
        grow.close();
        const qint64 size = QFileInfo(oldPath).size();
        run.clock.advanceSecs(5);
        run.worker->checkFileSize();
        QCOMPARE(QFileInfo(oldPath).size(), size);
        const QDateTime later = startTime().addSecs(5);
        QCOMPARE(lines(run.path(logName(later))),
                 QList<QByteArray>({logHeader(later, logName(later))}));
    }

    void setLogLocationStartsBothFilesAfresh()
    {
        LogRun run;
        QTemporaryDir second;
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
    }

    void emptyLogLocationMeansTheDefaultFolder()
    {
        logging worker(nullptr);
        worker.setLogLocation(QString());
        const QString expected =
            QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) +
            "/logging";
        QTRY_VERIFY(!QDir(expected).entryList({"Vantora_Direct_LogFile_*"}).isEmpty());
        QVERIFY(!QFileInfo::exists("/logging"));
    }

    void setLogLocationFallsBackToCurrentFolder()
    {
        QTemporaryDir dir;
        QTemporaryDir current;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        ScopedClock clock(startTime());
        {
            logging worker(dir.path(), nullptr);
            // A regular file where the folder would be: the folder cannot be made.
            write(dir.filePath(QStringLiteral("blocked")), "not a folder");
            clock.advanceSecs(1);
            worker.setLogLocation(dir.filePath(QStringLiteral("blocked")));
            worker.log(QStringLiteral("still logged"));
        }
        QDir::setCurrent(previous);
        const QDateTime moved = startTime().addSecs(1);
        QCOMPARE(entries(current.path()), QStringList({dataName(moved), logName(moved)}));
        QCOMPARE(lines(current.filePath(logName(moved))).last(), stamped(moved, "still logged"));
    }

    void closeLogDropsLinesUntilANewFile()
    {
        LogRun run;
        QTemporaryDir other;
        run.worker->closeLog();
        run.worker->log(QStringLiteral("lost"));
        run.worker->logMessages("lost too");
        QCOMPARE(lines(run.logPath()).size(), 2);

        run.clock.advanceSecs(1);
        run.worker->setLogLocation(other.path());
        run.worker->log(QStringLiteral("kept"));
        const QString reopened = other.filePath("logging/" + logName(startTime().addSecs(1)));
        QCOMPARE(lines(reopened).last(), stamped(startTime().addSecs(1), "kept"));
        QCOMPARE(lines(run.logPath()).size(), 2);
    }

    // Other code connects by these signatures and relies on the order.
    void slotsInOrder()
    {
        const QMetaObject& meta = logging::staticMetaObject;
        QStringList found;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            QCOMPARE(meta.method(i).methodType(), QMetaMethod::Slot);
            found << QString::fromLatin1(meta.method(i).methodSignature());
        }
        QCOMPARE(found, QStringList({"log(QString)", "logData(QByteArray,QJsonObject,DeviceTypes)",
                                     "logMessages(QByteArray)", "closeLog()", "createDataLog()",
                                     "setLogState(LoggingType)", "setLogLocation(QString)",
                                     "checkFileSize()", "clearLogDir()"}));
    }
};

QTEST_GUILESS_MAIN(tst_ApplicationLog)
#include "tst_applicationlog.moc"
