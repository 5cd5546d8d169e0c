// The 24-hour report history and the record rules it rests on, without a window.

#include "reports/reporthistory.h"
#include "tests/support/scopedclock.h"
#include "tests/support/testsupport.h"

#include <QJsonObject>
#include <QtTest>

namespace
{

const QDateTime kNow(QDate(2024, 3, 5), QTime(12, 0, 0));

Observation entry(const QString& text, qint64 ageSecs, bool sent = false)
{
    return Observation{QJsonObject{{"METAR", text}, {"Obs METAR", true}}, kNow.addSecs(-ageSecs),
                       sent, false};
}

QStringList texts(const ReportHistory& history)
{
    QStringList out;
    for (const Observation& o : history.entries())
        out << reportText(o.record);
    return out;
}

} // namespace

class TestReportHistory : public QObject
{
    Q_OBJECT

private slots:
    void isReportRecord_data()
    {
        QTest::addColumn<QJsonObject>("record");
        QTest::addColumn<bool>("report");
        QTest::newRow("ordinary record") << QJsonObject{{"METAR", "METAR KXYZ"}} << false;
        QTest::newRow("both false")
            << QJsonObject{{"Obs METAR", false}, {"Obs SPECI", false}} << false;
        QTest::newRow("METAR") << QJsonObject{{"Obs METAR", true}, {"Obs SPECI", false}} << true;
        QTest::newRow("SPECI") << QJsonObject{{"Obs METAR", false}, {"Obs SPECI", true}} << true;
        QTest::newRow("text \"true\"") << QJsonObject{{"Obs METAR", "true"}} << false;
        QTest::newRow("number 1") << QJsonObject{{"Obs SPECI", 1}} << false;
    }
    void isReportRecord()
    {
        QFETCH(QJsonObject, record);
        QFETCH(bool, report);
        QCOMPARE(::isReportRecord(record), report);
    }

    // Ages in seconds, oldest first, at the pinned "now"; what a prune keeps.
    void pruning_data()
    {
        QTest::addColumn<QList<qint64>>("ages");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("empty") << QList<qint64>{} << QStringList{};
        QTest::newRow("86,399 s old stays") << QList<qint64>{86399} << QStringList{"r0"};
        QTest::newRow("86,400 s old goes") << QList<qint64>{86400} << QStringList{};
        QTest::newRow("front first, up to the first young one")
            << QList<qint64>{90000, 86400, 3600, 60} << QStringList{"r2", "r3"};
        QTest::newRow("an old entry behind a young one stays")
            << QList<qint64>{3600, 90000} << QStringList{"r0", "r1"};
        QTest::newRow("an entry from the future stays")
            << QList<qint64>{-600, 90000} << QStringList{"r0", "r1"};
    }
    void pruning()
    {
        QFETCH(QList<qint64>, ages);
        QFETCH(QStringList, kept);
        ScopedClock clock(kNow);
        ReportHistory history;
        for (int i = 0; i < ages.size(); ++i)
            history.append(entry(QStringLiteral("r%1").arg(i), ages.at(i)));
        int dropped = 0;
        while (history.dropExpiredFront())
            ++dropped;
        QCOMPARE(texts(history), kept);
        QCOMPARE(dropped, ages.size() - kept.size());
    }

    void markSent_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("echoed");
        QTest::addColumn<int>("index");
        QTest::newRow("the matching entry") << QStringList{"A", "B", "C"} << "B" << 1;
        QTest::newRow("the oldest of two") << QStringList{"A", "B", "A"} << "A" << 0;
        QTest::newRow("no match") << QStringList{"A", "B"} << "C" << -1;
        QTest::newRow("exact text only") << QStringList{"METAR A", "METAR AB"} << "METAR A " << -1;
    }
    void markSent()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, echoed);
        QFETCH(int, index);
        ReportHistory history;
        for (const QString& text : entries)
            history.append(entry(text, 60));
        // A second echo of the same text finds the same, already marked, entry.
        for (int echo = 0; echo < 2; ++echo) {
            QCOMPARE(history.markSent(echoed), index);
            QCOMPARE(history.sentIndexes(), index < 0 ? QList<int>{} : QList<int>{index});
        }
        QVERIFY(history.value(index).record.isEmpty() == (index < 0));
        QVERIFY(history.value(entries.size()).record.isEmpty());
    }

    // The copy an edit stores: one line, stamped now, edited and not sent, even when its source
    // was confirmed; the record's other values stay.
    void editedCopy()
    {
        ScopedClock clock(kNow);
        const QJsonObject record{{"METAR", "METAR KXYZ"}, {"Obs METAR", true}, {"TA", "21.0"}};
        const Observation copy = editedObservation(
            Observation{record, kNow.addSecs(-3600), true, false}, "METAR KXYZ\r\n041755Z\nAUTO");
        QCOMPARE(copy.record.value("METAR").toString(), QString("METAR KXYZ 041755Z AUTO"));
        QCOMPARE(copy.record.value("TA").toString(), QString("21.0"));
        QCOMPARE(copy.time, kNow);
        QVERIFY(copy.edited && !copy.sent);
    }
};

QTEST_GUILESS_MAIN(TestReportHistory)
#include "tst_reporthistory.moc"
