// The message panes' lines, limit and colours, and the unread-count texts of the notification
// tabs and the menu button, without the main window.

#include "alerts/messagepanerules.h"
#include "alerts/notificationcounts.h"

#include "tests/support/testsupport.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

#include <climits>

namespace
{

const QDateTime kAt(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::LocalTime);

QStringList lines(const QTextEdit& edit)
{
    return edit.toPlainText().split(QLatin1Char('\n'));
}

QColor lineColor(const QTextBlock& block)
{
    return block.begin().fragment().charFormat().foreground().color();
}

QString padded(int width)
{
    return QStringLiteral("  Notifications") + QString(width - 15, QLatin1Char(' '));
}

} // namespace

class TestMessagePaneRules : public QObject
{
    Q_OBJECT

private slots:
    // Newest first, stamped; line breaks of system and error messages are blanks, any other line
    // break splits the message over lines of the pane; markup is shown as written.
    void newestFirst()
    {
        QTextEdit edit;
        int unread = 0;
        const QString markup = "<b>bold</b> &amp; <br>y";
        addPaneMessage(&edit, MessagePane::System, "one", kAt, unread);
        addPaneMessage(&edit, MessagePane::Errors, "ERROR: a\r\nb\r\n", kAt.addSecs(61), unread);
        addPaneMessage(&edit, MessagePane::System, "", kAt.addDays(1), unread);
        addPaneMessage(&edit, MessagePane::System, "a\nb", kAt, unread);
        addPaneMessage(&edit, MessagePane::Alerts, "c\r\nd", kAt, unread);
        addPaneMessage(&edit, MessagePane::Alerts, markup, kAt, unread);
        QCOMPARE(lines(edit),
                 QStringList({"2024-05-01 12:00:00 " + markup, "2024-05-01 12:00:00 c", "d",
                              "2024-05-01 12:00:00 a", "b", "2024-05-02 12:00:00 ",
                              "2024-05-01 12:01:01 ERROR: a b ", "2024-05-01 12:00:00 one", ""}));
        QCOMPARE(unread, 6);
        QCOMPARE(paneLineCount(&edit), 8);
        QVERIFY(edit.document()->firstBlock().begin().fragment().charFormat().fontWeight() !=
                QFont::Bold);
        QCOMPARE(messagePaneLine(MessagePane::Alerts, "a\r\nb", kAt),
                 QString("2024-05-01 12:00:00 a\r\nb"));
    }

    // 200 lines at most, the oldest go first, even when one message brings several lines; the
    // unread count stops at the limit; a pane that runs for weeks keeps no undo history.
    void lineLimit()
    {
        QTextEdit edit;
        int unread = 0;
        for (int i = 1; i <= 200; ++i)
            addPaneMessage(&edit, MessagePane::Errors, QString("message %1").arg(i), kAt, unread);
        QCOMPARE(lines(edit).at(199), QString("2024-05-01 12:00:00 message 1"));
        addPaneMessage(&edit, MessagePane::Errors, "message 201", kAt, unread);
        QCOMPARE(lines(edit).size(), 201);
        QCOMPARE(lines(edit).at(199), QString("2024-05-01 12:00:00 message 2"));
        QCOMPARE(unread, 200);

        QTextEdit multi;
        unread = 0;
        for (int i = 0; i < 300; ++i)
            addPaneMessage(&multi, MessagePane::Alerts, QString("m%1 a\r\nb\nc").arg(i), kAt,
                           unread);
        QCOMPARE(paneLineCount(&multi), 200);
        QCOMPARE(lines(multi).mid(0, 3), QStringList({"2024-05-01 12:00:00 m299 a", "b", "c"}));
        QCOMPARE(unread, 200);
        QCOMPARE(multi.document()->availableUndoSteps(), 0);
    }

    // Amber for a warning, red for anything else; each line keeps its own colour.
    void errorColours_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QColor>("colour");
        const QColor amber(252, 200, 43);
        const QColor red(209, 0, 0);
        QTest::newRow("warning") << "WARNING: Unable to save" << amber;
        QTest::newRow("warning inside") << "Port reports WARNING state" << amber;
        QTest::newRow("error") << "ERROR: Unable to parse" << red;
        QTest::newRow("lower case warning") << "warning: low battery" << red;
    }
    void errorColours()
    {
        QFETCH(QString, message);
        QFETCH(QColor, colour);
        QTextEdit edit;
        int unread = 0;
        addPaneMessage(&edit, MessagePane::Errors, message, kAt, unread);
        const QString other = colour == QColor(209, 0, 0) ? "WARNING: next" : "ERROR: next";
        addPaneMessage(&edit, MessagePane::Errors, other, kAt, unread);
        QCOMPARE(lineColor(edit.document()->firstBlock().next()), colour);
        QVERIFY(lineColor(edit.document()->firstBlock()) != colour);
    }

    void digits()
    {
        const QList<QPair<int, int>> cases = {{0, 0},   {7, 1},        {9, 1},       {10, 2},
                                              {99, 2},  {100, 3},      {1000, 4},    {-1, 2},
                                              {-10, 3}, {INT_MAX, 10}, {INT_MIN, 11}};
        for (const auto& c : cases)
            QCOMPARE(digitCount(c.first), c.second);
    }

    // A count is padded to three places on the alert and error tabs.
    void tabTexts()
    {
        QCOMPARE(notificationTabText(0, 7, true), QString("Alerts [7]  "));
        QCOMPARE(notificationTabText(0, 12, true), QString("Alerts [12] "));
        QCOMPARE(notificationTabText(0, 200, true), QString("Alerts [200]"));
        QCOMPARE(notificationTabText(0, 1000, true), QString("Alerts [1000]  "));
        QCOMPARE(notificationTabText(1, 100, true), QString("Error Messages [100]"));
        QCOMPARE(notificationTabText(2, 55, true), QString("System Messages [55]"));
        QCOMPARE(notificationTabText(2, 3, false), QString("System Messages      "));
        QCOMPARE(notificationTabText(3, 3, false), QString("      "));
        QCOMPARE(notificationMenuNumberText(9), QString("9  "));
        QCOMPARE(notificationMenuNumberText(10), QString("10 "));
        QCOMPARE(notificationMenuNumberText(99), QString("99 "));
        QCOMPARE(notificationMenuNumberText(100), QString("100"));
    }

    // The menu button's text: the number right-aligned in 40 places; a number that cannot be
    // shown leaves the button as it is (empty text).
    void buttonText_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << "0" << padded(40);
        QTest::newRow("one digit, padded") << "7  " << padded(36) + "7  ";
        QTest::newRow("one digit, bare") << "7" << padded(36) + "7";
        QTest::newRow("two digits") << "12 " << padded(35) + "12 ";
        QTest::newRow("three digits") << "100" << padded(34) + "100";
        QTest::newRow("four blanks") << "    "
                                     << "";
        QTest::newRow("four digits") << "1000"
                                     << "";
        QTest::newRow("not a number") << "abc"
                                      << "";
    }
    void buttonText()
    {
        QFETCH(QString, number);
        QFETCH(QString, text);
        QCOMPARE(notificationButtonText(number), text);
    }
};

QTEST_MAIN(TestMessagePaneRules)
#include "tst_messagepanerules.moc"
