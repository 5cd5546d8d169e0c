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

        QTest::newRow("plain") << false << QByteArray("INFO: Port opened")
                               << QByteArray("INFO: Port opened");
        QTest::newRow("line feed")
            << false << QByteArray("first\nsecond") << QByteArray("first\\nsecond");
        QTest::newRow("ends in CR LF") << false << QByteArray("ERROR: frame [ @3ok ]\r\n")
                                       << QByteArray("ERROR: frame [ @3ok ]\\r\\n");
        QTest::newRow("empty") << false << QByteArray() << QByteArray();
        QTest::newRow("text with line feed")
            << true << QByteArray("METAR sent\nSPECI due") << QByteArray("METAR sent\\nSPECI due");
        QTest::newRow("text non-ASCII") << true
                                        << QByteArray("Temp\xc3\xa9rature 21\xc2\xb0"
                                                      "C")
                                        << QByteArray("Temp\xc3\xa9rature 21\xc2\xb0"
                                                      "C");
    }
    void lineText()
    {
        QFETCH(bool, asText);
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, written);
        QTemporaryDir dir;
        ScopedClock clock(startTime());
        logging worker(dir.path(), nullptr);
        clock.advanceMSecs(2000);
        if (asText)
            worker.log(QString::fromUtf8(message));
        else
            worker.logMessages(message);
        const QList<QByteArray> got = lines(dir.filePath(logName(startTime())));
        QCOMPARE(got.size(), 3);
        QCOMPARE(got.last(), stamped(startTime().addMSecs(2000), written));
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
        QTemporaryDir dir;
        ScopedClock clock(startTime());
        logging worker(dir.path(), nullptr);
        clock.set(QDateTime(QDate(2026, 3, 5), QTime(14, 3, 10, ms)));
        worker.log(QStringLiteral("tick"));
        QCOMPARE(lines(dir.filePath(logName(startTime()))).last(), line);
    }

    // The line that takes the file past 10,000,000 bytes stays in it; the next line opens
    // a new file that starts with its own header.
    void rotationAtSize()
    {
        QTemporaryDir dir;
        ScopedClock clock(startTime());
        const QString oldPath = dir.filePath(logName(startTime()));
        prefill(oldPath, 9999000);
        logging worker(dir.path(), nullptr);

        // "[2026-03-05 14:03:09.120] " is 26 bytes, the line feed one more.
        const qint64 room = logging::kRotationSize - QFileInfo(oldPath).size() - 27;
        worker.logMessages(QByteArray(int(room), 'a'));
        QCOMPARE(QFileInfo(oldPath).size(), logging::kRotationSize);
        QCOMPARE(entries(dir.path()).size(), 2);

        clock.advanceSecs(1);
        const QDateTime later = startTime().addSecs(1);
        worker.logMessages("crossing");
        QCOMPARE(lines(oldPath).last(), stamped(later, "crossing"));
        QCOMPARE(QFileInfo(oldPath).size(), logging::kRotationSize + 35);

        worker.log(QStringLiteral("after"));
        const QString newPath = dir.filePath(logName(later));
        QCOMPARE(lines(newPath),
                 QList<QByteArray>({logHeader(later, logName(later)), stamped(later, "after")}));
        QCOMPARE(lines(oldPath).last(), stamped(later, "crossing"));
    }

    // A full file of the current second is not reopened (that rotated again at once,
    // without end); the new file takes a running number.
    void rotationWithinTheSameSecond()
    {
        QTemporaryDir dir;
        ScopedClock clock(startTime());
        const QString oldPath = dir.filePath(logName(startTime()));
        prefill(oldPath, logging::kRotationSize - 1000);
        logging worker(dir.path(), nullptr);
        worker.logMessages(QByteArray(1000, 'b'));
        worker.logMessages("next");
        const QString second = logName(startTime(), "_2");
        QCOMPARE(lines(dir.filePath(second)),
                 QList<QByteArray>({logHeader(startTime(), second), stamped(startTime(), "next")}));
        QCOMPARE(lines(oldPath).last(), stamped(startTime(), QByteArray(1000, 'b')));
    }

    void checkFileSizeRotatesWithoutWriting()
    {
        QTemporaryDir dir;
        ScopedClock clock(startTime());
        logging worker(dir.path(), nullptr);
        const QString oldPath = dir.filePath(logName(startTime()));
        worker.checkFileSize();
        QCOMPARE(entries(dir.path()).size(), 2);

        QFile grow(oldPath);
        QVERIFY(grow.open(QIODevice::Append));
        grow.write(QByteArray(int(logging::kRotationSize), 'z'));
        grow.close();
        const qint64 size = QFileInfo(oldPath).size();
        clock.advanceSecs(5);
        worker.checkFileSize();
        QCOMPARE(QFileInfo(oldPath).size(), size);
        const QDateTime later = startTime().addSecs(5);
        QCOMPARE(lines(dir.filePath(logName(later))),
                 QList<QByteArray>({logHeader(later, logName(later))}));
    }

    void setLogLocationStartsBothFilesAfresh()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        ScopedClock clock(startTime());
        logging worker(first.path(), nullptr);
        clock.advanceSecs(60);
        const QDateTime moved = startTime().addSecs(60);
        worker.setLogLocation(second.path());
        worker.log(QStringLiteral("here"));

        const QString folder = second.filePath(QStringLiteral("logging"));
        QCOMPARE(entries(folder), QStringList({dataName(moved), logName(moved)}));
        QCOMPARE(lines(folder + '/' + logName(moved)),
                 QList<QByteArray>({logHeader(moved, logName(moved)),
                                    dataHeader(moved, dataName(moved)), stamped(moved, "here")}));
        QCOMPARE(lines(first.filePath(logName(startTime()))).size(), 2);
    }

    void emptyLogLocationMeansTheDefaultFolder()
    {
        logging worker(nullptr);
        worker.setLogLocation(QString());
        const QString expected =
            QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            + "/logging";
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
        QTemporaryDir dir;
        QTemporaryDir other;
        ScopedClock clock(startTime());
        logging worker(dir.path(), nullptr);
        const QString path = dir.filePath(logName(startTime()));
        worker.closeLog();
        worker.log(QStringLiteral("lost"));
        worker.logMessages("lost too");
        QCOMPARE(lines(path).size(), 2);

        clock.advanceSecs(1);
        worker.setLogLocation(other.path());
        worker.log(QStringLiteral("kept"));
        const QString reopened = other.filePath("logging/" + logName(startTime().addSecs(1)));
        QCOMPARE(lines(reopened).last(), stamped(startTime().addSecs(1), "kept"));
        QCOMPARE(lines(path).size(), 2);
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
