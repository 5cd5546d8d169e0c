#include "tests/support/testsupport.h"

#include "logging/logging.h"
#include "tests/logging/logfiles.h"
#include "tests/support/scopedclock.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace logfiles;

class tst_LogCleanup : public QObject
{
    Q_OBJECT

private:
    // A name dated `days` from the start day, in the log file pattern.
    static QString datedLogName(int days)
    {
        return QLatin1String("Vantora_Direct_LogFile_") +
               startTime().date().addDays(days).toString(QStringLiteral("yyyyMMdd")) +
               QLatin1String("_101500.txt");
    }

private slots:
    void entries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("kept");

        QTest::newRow("today") << datedLogName(0) << false << true;
        QTest::newRow("30 days back") << datedLogName(-30) << false << true;
        QTest::newRow("60 days back") << datedLogName(-60) << false << true;
        QTest::newRow("61 days back") << datedLogName(-61) << false << false;
        QTest::newRow("a year back") << datedLogName(-365) << false << false;
        QTest::newRow("tomorrow") << datedLogName(1) << false << false;
        QTest::newRow("data file 61 days back")
            << "Vantora_Direct_DataFile_20260103_000000.txt" << false << false;
        QTest::newRow("data file 60 days back")
            << "Vantora_Direct_DataFile_20260104_235959.txt" << false << true;
        QTest::newRow("four parts, old") << "Vantora_Direct_20000101_x.txt" << false << true;
        QTest::newRow("no underscore") << "notes.txt" << false << true;
        QTest::newRow("fourth part not a date")
            << "Vantora_Direct_LogFile_2000-01-01_101500.txt" << false << true;
        QTest::newRow("any name with five parts") << "a_b_c_20000101_d" << false << false;
        QTest::newRow("empty parts count") << "x__y_20000101_z" << false << false;
        QTest::newRow("old folder") << "Vantora_Direct_LogFile_20000101_101500.txt" << true << true;
    }
    void entries()
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
        QVERIFY(QFileInfo::exists(run.logPath()));
        QVERIFY(QFileInfo::exists(run.dataPath()));
    }

    // The files in use survive any change of the clock; others follow the dates.
    void filesInUseStay_data()
    {
        QTest::addColumn<int>("days");
        QTest::newRow("set back a day") << -1;
        QTest::newRow("set back 100 days") << -100;
        QTest::newRow("set forward 90 days") << 90;
    }
    void filesInUseStay()
    {
        QFETCH(int, days);
        LogRun run(
            [](const QTemporaryDir& dir) { write(dir.filePath(datedLogName(0)), "earlier run"); });
        run.worker->logData("@0", QJsonObject(), DeviceTypes::ORVA);

        run.clock.set(startTime().addDays(days));
        run.worker->clearLogDir();
        QVERIFY(QFileInfo::exists(run.logPath()));
        QCOMPARE(array(run.dataPath()).size(), 1);
        QCOMPARE(QFileInfo::exists(run.path(datedLogName(0))), days >= 0 && days <= 60);

        run.worker->log(QStringLiteral("still here"));
        QCOMPARE(lines(run.logPath()).last(),
                 "[" + lineStamp(startTime().addDays(days)).toUtf8() + "] still here");
    }

    void timerClearsDailyNotAtStart()
    {
        LogRun run([](const QTemporaryDir& dir) { write(dir.filePath(datedLogName(-100)), "x"); });
        const QString old = run.path(datedLogName(-100));
        QVERIFY(QFileInfo::exists(old));

        QTimer* timer = run.worker->findChild<QTimer*>();
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 86400000);
        QVERIFY(timer->isActive());
        QVERIFY(!timer->isSingleShot());

        timer->start(1);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(old), 2000);
        write(old, "x");
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(old), 2000);
    }
};

QTEST_GUILESS_MAIN(tst_LogCleanup)
#include "tst_logcleanup.moc"
