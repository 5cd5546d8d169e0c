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
    void isReportRecord_data();
    void isReportRecord();
    void pruning_data();
    void pruning();
    void pruningFollowsTheClock();
    void markSent_data();
    void markSent();
    void valueOutsideTheHistoryIsEmpty();
    void editedCopy_data();
    void editedCopy();
};

void TestReportHistory::isReportRecord_data()
{
    QTest::addColumn<QJsonObject>("record");
    QTest::addColumn<bool>("report");

    QTest::newRow("ordinary record")
        << QJsonObject{{"METAR", "METAR KXYZ"}, {"Temperature", "2"}} << false;
    QTest::newRow("both false") << QJsonObject{{"Obs METAR", false}, {"Obs SPECI", false}} << false;
    QTest::newRow("METAR") << QJsonObject{{"Obs METAR", true}, {"Obs SPECI", false}} << true;
    QTest::newRow("SPECI") << QJsonObject{{"Obs METAR", false}, {"Obs SPECI", true}} << true;
    QTest::newRow("SPECI only key") << QJsonObject{{"Obs SPECI", true}} << true;
    QTest::newRow("text \"true\" is not a boolean") << QJsonObject{{"Obs METAR", "true"}} << false;
    QTest::newRow("number 1 is not a boolean") << QJsonObject{{"Obs SPECI", 1}} << false;
    QTest::newRow("empty") << QJsonObject{} << false;
}

void TestReportHistory::isReportRecord()
{
    QFETCH(QJsonObject, record);
    QFETCH(bool, report);
    QCOMPARE(::isReportRecord(record), report);
}

// Ages in seconds, oldest first, at the pinned "now"; what a prune keeps.
void TestReportHistory::pruning_data()
{
    QTest::addColumn<QList<qint64>>("ages");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("empty") << QList<qint64>{} << QStringList{};
    QTest::newRow("86,399 s old stays") << QList<qint64>{86399} << QStringList{"r0"};
    QTest::newRow("exactly 86,400 s old goes") << QList<qint64>{86400} << QStringList{};
    QTest::newRow("front first, up to the first young one")
        << QList<qint64>{90000, 86400, 3600, 60} << QStringList{"r2", "r3"};
    QTest::newRow("an old entry behind a young one stays")
        << QList<qint64>{3600, 90000, 60} << QStringList{"r0", "r1", "r2"};
    QTest::newRow("an entry from the future stays")
        << QList<qint64>{-600, 90000} << QStringList{"r0", "r1"};
    QTest::newRow("all old") << QList<qint64>{200000, 100000, 86401} << QStringList{};
}

void TestReportHistory::pruning()
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

void TestReportHistory::pruningFollowsTheClock()
{
    ScopedClock clock(kNow);
    ReportHistory history;
    history.append(entry("r0", 0));
    history.append(entry("r1", -10));

    clock.advanceSecs(86399);
    QVERIFY(!history.dropExpiredFront());
    clock.advanceSecs(1);
    QVERIFY(history.dropExpiredFront());
    QVERIFY(!history.dropExpiredFront());
    clock.advanceSecs(10);
    QVERIFY(history.dropExpiredFront());
    QVERIFY(history.isEmpty());
    QVERIFY(!history.dropExpiredFront());
}

void TestReportHistory::markSent_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("echoed");
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("sent");

    QTest::newRow("the matching entry") << QStringList{"A", "B", "C"} << "B" << 1 << QList<int>{1};
    QTest::newRow("the oldest of two") << QStringList{"A", "B", "A"} << "A" << 0 << QList<int>{0};
    QTest::newRow("no match: nothing") << QStringList{"A", "B"} << "C" << -1 << QList<int>{};
    QTest::newRow("exact text only")
        << QStringList{"METAR A", "METAR AB"} << "METAR A " << -1 << QList<int>{};
    QTest::newRow("empty history") << QStringList{} << "A" << -1 << QList<int>{};
}

void TestReportHistory::markSent()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, echoed);
    QFETCH(int, index);
    QFETCH(QList<int>, sent);

    ScopedClock clock(kNow);
    ReportHistory history;
    for (const QString& text : entries)
        history.append(entry(text, 60));
    QCOMPARE(history.markSent(echoed), index);
    QCOMPARE(history.sentIndexes(), sent);
    // A second echo of the same text finds the same, already marked, entry.
    if (index >= 0) {
        QCOMPARE(history.markSent(echoed), index);
        QCOMPARE(history.sentIndexes(), sent);
    }
}

void TestReportHistory::valueOutsideTheHistoryIsEmpty()
{
    ScopedClock clock(kNow);
    ReportHistory history;
    history.append(entry("A", 60, true));
    QCOMPARE(reportText(history.value(0).record), QString("A"));
    QVERIFY(history.value(0).sent);
    QCOMPARE(history.value(0).time, kNow.addSecs(-60));
    for (int i : {-1, 1, 1000}) {
        const Observation o = history.value(i);
        QVERIFY(o.record.isEmpty());
        QVERIFY(!o.sent);
        QVERIFY(!o.time.isValid());
    }
}

void TestReportHistory::editedCopy_data()
{
    QTest::addColumn<bool>("sourceSent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");

    QTest::newRow("unsent source") << false << "METAR KXYZ 041755Z AUTO"
                                   << "METAR KXYZ 041755Z AUTO";
    QTest::newRow("a confirmed source's copy starts unsent") << true << "METAR KXYZ 041755Z AUTO"
                                                             << "METAR KXYZ 041755Z AUTO";
    QTest::newRow("line breaks become blanks") << false << "METAR KXYZ\r\n041755Z\nAUTO"
                                               << "METAR KXYZ 041755Z AUTO";
}

void TestReportHistory::editedCopy()
{
    QFETCH(bool, sourceSent);
    QFETCH(QString, text);
    QFETCH(QString, stored);

    ScopedClock clock(kNow);
    const QJsonObject record{
        {"METAR", "METAR KXYZ 041755Z"}, {"Obs METAR", true}, {"Temperature", "21.0"}};
    const Observation source{record, kNow.addSecs(-3600), sourceSent, false};
    const Observation copy = editedObservation(source, text);
    QCOMPARE(reportText(copy.record), stored);
    QCOMPARE(copy.record.value("Temperature").toString(), QString("21.0"));
    QCOMPARE(copy.record.value("Obs METAR").toBool(), true);
    QCOMPARE(copy.time, kNow);
    QVERIFY(copy.edited);
    QVERIFY(!copy.sent);
}

QTEST_GUILESS_MAIN(TestReportHistory)
#include "tst_reporthistory.moc"
