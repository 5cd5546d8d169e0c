#include "alerts/notificationcounts.h"

#include "tests/support/testsupport.h"

#include <QtTest>

#include <climits>

namespace
{
QString padded(int width)
{
    return QStringLiteral("  Notifications") + QString(width - 15, QLatin1Char(' '));
}
} // namespace

class TestNotificationCounts : public QObject
{
    Q_OBJECT

private slots:
    void digits_data();
    void digits();
    void tabTexts_data();
    void tabTexts();
    void buttonText_data();
    void buttonText();
};

// clang-format off
void TestNotificationCounts::digits_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("digits");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("7") << 7 << 1;
    QTest::newRow("9") << 9 << 1;
    QTest::newRow("10") << 10 << 2;
    QTest::newRow("42") << 42 << 2;
    QTest::newRow("123") << 123 << 3;
    QTest::newRow("200") << 200 << 3;
    QTest::newRow("1000") << 1000 << 4;
    QTest::newRow("-1") << -1 << 2;
    QTest::newRow("-5") << -5 << 2;
    QTest::newRow("-10") << -10 << 3;
    QTest::newRow("INT_MAX") << INT_MAX << 10;
    QTest::newRow("INT_MIN") << INT_MIN << 11;
}
// clang-format on

void TestNotificationCounts::digits()
{
    QFETCH(int, n);
    QFETCH(int, digits);
    QCOMPARE(digitCount(n), digits);
}

// clang-format off
void TestNotificationCounts::tabTexts_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("show");
    QTest::addColumn<QString>("text");
    QTest::newRow("alerts 7") << 0 << 7 << true << "Alerts [7]  ";
    QTest::newRow("alerts 12") << 0 << 12 << true << "Alerts [12] ";
    QTest::newRow("alerts 200") << 0 << 200 << true << "Alerts [200]";
    QTest::newRow("alerts 1000") << 0 << 1000 << true << "Alerts [1000]  ";
    QTest::newRow("errors 1") << 1 << 1 << true << "Error Messages [1]  ";
    QTest::newRow("errors 12") << 1 << 12 << true << "Error Messages [12] ";
    QTest::newRow("errors 100") << 1 << 100 << true << "Error Messages [100]";
    QTest::newRow("system 5") << 2 << 5 << true << "System Messages [5]";
    QTest::newRow("system 55") << 2 << 55 << true << "System Messages [55]";
    QTest::newRow("alerts hidden") << 0 << 7 << false << "Alerts      ";
    QTest::newRow("errors hidden") << 1 << 0 << false << "Error Messages      ";
    QTest::newRow("system hidden") << 2 << 3 << false << "System Messages      ";
}
// clang-format on

void TestNotificationCounts::tabTexts()
{
    QFETCH(int, tab);
    QFETCH(int, count);
    QFETCH(bool, show);
    QFETCH(QString, text);
    QCOMPARE(notificationTabText(tab, count, show), text);
}

// clang-format off
void TestNotificationCounts::buttonText_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("text"); // empty: the button keeps its text
    QTest::newRow("zero") << "0" << padded(40);
    QTest::newRow("one digit, padded") << "7  " << padded(36) + "7  ";
    QTest::newRow("one digit, bare") << "7" << padded(36) + "7";
    QTest::newRow("two digits") << "12 " << padded(35) + "12 ";
    QTest::newRow("three digits") << "100" << padded(34) + "100";
    QTest::newRow("four blanks") << "    " << "";
    QTest::newRow("four digits") << "1000" << "";
    QTest::newRow("not a number") << "abc" << "";
    QTest::newRow("zero padded") << "0  " << "";
}
// clang-format on

void TestNotificationCounts::buttonText()
{
    QFETCH(QString, number);
    QFETCH(QString, text);
    QCOMPARE(notificationButtonText(number), text);
    QCOMPARE(notificationButtonPlainText().size(), 40);
}

QTEST_GUILESS_MAIN(TestNotificationCounts)
#include "tst_notificationcounts.moc"
