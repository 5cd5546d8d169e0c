#include "alerts/messagepanerules.h"

#include "tests/support/testsupport.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

Q_DECLARE_METATYPE(MessagePane)

namespace
{

const QDateTime kAt(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::LocalTime);

QStringList lines(const QTextEdit& edit)
{
    QStringList result = edit.toPlainText().split(QLatin1Char('\n'));
    return result;
}

// The colour of the text of the pane's first line.
QColor firstLineColor(const QTextEdit& edit)
{
    const QTextBlock block = edit.document()->firstBlock();
    return block.begin().fragment().charFormat().foreground().color();
}

} // namespace

class TestMessagePaneRules : public QObject
{
    Q_OBJECT

private slots:
    void lineText_data();
    void lineText();
    void newestFirst();
    void lineLimit();
    void multiLineMessagesStayWithinLimit();
    void errorColours_data();
    void errorColours();
    void markupShownAsWritten();
    void noUndoHistory();
};

// clang-format off
void TestMessagePaneRules::lineText_data()
{
    QTest::addColumn<MessagePane>("pane");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("line");
    QTest::newRow("alert")
        << MessagePane::Alerts << "Visibility 2.5SM is Less Than Threshold of 3SM"
        << "2024-05-01 12:00:00 Visibility 2.5SM is Less Than Threshold of 3SM";
    QTest::newRow("system CRLF") << MessagePane::System << "first\r\nsecond"
                                 << "2024-05-01 12:00:00 first second";
    QTest::newRow("error CRLF") << MessagePane::Errors << "ERROR: a\r\nb\r\n"
                                << "2024-05-01 12:00:00 ERROR: a b ";
    QTest::newRow("alert keeps CRLF") << MessagePane::Alerts << "a\r\nb"
                                      << "2024-05-01 12:00:00 a\r\nb";
    QTest::newRow("empty") << MessagePane::System << "" << "2024-05-01 12:00:00 ";
}
// clang-format on

void TestMessagePaneRules::lineText()
{
    QFETCH(MessagePane, pane);
    QFETCH(QString, message);
    QFETCH(QString, line);
    QCOMPARE(messagePaneLine(pane, message, kAt), line);
}

void TestMessagePaneRules::newestFirst()
{
    QTextEdit edit;
    edit.setReadOnly(true);
    int unread = 0;
    addPaneMessage(&edit, MessagePane::System, "one", kAt, unread);
    addPaneMessage(&edit, MessagePane::System, "two\r\nlines", kAt.addSecs(61), unread);
    addPaneMessage(&edit, MessagePane::System, "", kAt.addDays(1), unread);
    QCOMPARE(lines(edit), QStringList({"2024-05-02 12:00:00 ", "2024-05-01 12:01:01 two lines",
                                       "2024-05-01 12:00:00 one", ""}));
    QCOMPARE(unread, 3);
    QCOMPARE(paneLineCount(&edit), 3);

    // Any other line break splits the message over lines of the pane; so does CRLF in the
    // alerts pane.
    addPaneMessage(&edit, MessagePane::System, "a\nb", kAt, unread);
    addPaneMessage(&edit, MessagePane::Alerts, "c\r\nd", kAt, unread);
    QCOMPARE(lines(edit).mid(0, 4),
             QStringList({"2024-05-01 12:00:00 c", "d", "2024-05-01 12:00:00 a", "b"}));
    QCOMPARE(paneLineCount(&edit), 7);
}

void TestMessagePaneRules::lineLimit()
{
    const MessagePane pane = MessagePane::Errors;
    QTextEdit edit;
    int unread = 0;
    for (int i = 1; i <= 200; ++i)
        addPaneMessage(&edit, pane, QString("message %1").arg(i), kAt, unread);
    QCOMPARE(paneLineCount(&edit), 200);
    QCOMPARE(lines(edit).at(199), QString("2024-05-01 12:00:00 message 1"));

    addPaneMessage(&edit, pane, "message 201", kAt, unread);
    const QStringList after = lines(edit);
    QCOMPARE(after.size(), 201); // 200 lines and the empty last one
    QCOMPARE(after.first(), QString("2024-05-01 12:00:00 message 201"));
    QCOMPARE(after.at(199), QString("2024-05-01 12:00:00 message 2"));
    QCOMPARE(after.last(), QString());
    QCOMPARE(unread, 200);
}

void TestMessagePaneRules::multiLineMessagesStayWithinLimit()
{
    QTextEdit edit;
    int unread = 0;
    for (int i = 0; i < 300; ++i)
        addPaneMessage(&edit, MessagePane::Alerts, QString("m%1 a\r\nb\nc").arg(i), kAt, unread);
    QCOMPARE(paneLineCount(&edit), 200);
    const QStringList all = lines(edit);
    QCOMPARE(all.at(0), QString("2024-05-01 12:00:00 m299 a"));
    QCOMPARE(all.at(1), QString("b"));
    QCOMPARE(all.at(2), QString("c"));
    QCOMPARE(all.last(), QString());
    QCOMPARE(unread, 200);
}

// clang-format off
void TestMessagePaneRules::errorColours_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QColor>("colour");
    const QColor amber(252, 200, 43);
    const QColor red(209, 0, 0);
    QTest::newRow("warning") << "WARNING: Unable to save" << amber;
    QTest::newRow("warning inside") << "Port reports WARNING state" << amber;
    QTest::newRow("error") << "ERROR: Unable to parse" << red;
    QTest::newRow("critical") << "CRITICAL: lost" << red;
    QTest::newRow("lower case warning") << "warning: low battery" << red;
    QTest::newRow("mixed case warning") << "Warning: low battery" << red;
}
// clang-format on

void TestMessagePaneRules::errorColours()
{
    QFETCH(QString, message);
    QFETCH(QColor, colour);
    QCOMPARE(errorMessageColor(message), colour);

    // Each line keeps its own colour when later lines in the other colour arrive.
    QTextEdit edit;
    int unread = 0;
    addPaneMessage(&edit, MessagePane::Errors, message, kAt, unread);
    QCOMPARE(firstLineColor(edit), colour);
    const QString other = message.contains("WARNING") ? "ERROR: next" : "WARNING: next";
    addPaneMessage(&edit, MessagePane::Errors, other, kAt, unread);
    QCOMPARE(firstLineColor(edit), errorMessageColor(other));
    QCOMPARE(
        edit.document()->firstBlock().next().begin().fragment().charFormat().foreground().color(),
        colour);
}

void TestMessagePaneRules::markupShownAsWritten()
{
    QTextEdit edit;
    int unread = 0;
    const QString message = "<b>bold</b> &amp; <font color=\"red\">x</font><br>y";
    addPaneMessage(&edit, MessagePane::System, message, kAt, unread);
    addPaneMessage(&edit, MessagePane::Errors, message, kAt, unread);
    addPaneMessage(&edit, MessagePane::Alerts, message, kAt, unread);
    const QString line = "2024-05-01 12:00:00 " + message;
    QCOMPARE(lines(edit).mid(0, 3), QStringList({line, line, line}));
    for (QTextBlock block = edit.document()->firstBlock(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            QVERIFY(it.fragment().charFormat().fontWeight() != QFont::Bold);
    }
}

void TestMessagePaneRules::noUndoHistory()
{
    // A pane that runs for weeks must not keep every insertion and trim for undo.
    QTextEdit edit;
    edit.setReadOnly(true);
    int unread = 0;
    for (int i = 0; i < 205; ++i)
        addPaneMessage(&edit, MessagePane::System, "x", kAt, unread);
    QCOMPARE(edit.document()->availableUndoSteps(), 0);
}

QTEST_MAIN(TestMessagePaneRules)
#include "tst_messagepanerules.moc"
