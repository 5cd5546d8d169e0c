#include "alerts/messagepanerules.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

const QString kMessagePaneTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

QString messagePaneLine(MessagePane pane, const QString& message, const QDateTime& localTime)
{
    QString text = message;
    if (pane != MessagePane::Alerts)
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return localTime.toString(kMessagePaneTimeFormat) + QLatin1Char(' ') + text;
}

QColor errorMessageColor(const QString& message)
{
    return message.contains(QLatin1String("WARNING")) ? QColor(252, 200, 43) : QColor(209, 0, 0);
}

int paneLineCount(const QTextEdit* edit)
{
    return edit->document()->blockCount() - 1;
}

void addPaneMessage(QTextEdit* edit, MessagePane pane, const QString& message,
                    const QDateTime& localTime, int& unread)
{
    // Insertions and trims are never undone; an undo history would grow for as long as the
    // program runs.
    if (edit->isUndoRedoEnabled())
        edit->setUndoRedoEnabled(false);
    QTextCursor cursor(edit->document());
    cursor.setPosition(0);
    edit->setTextCursor(cursor);
    if (pane == MessagePane::Errors)
        edit->setTextColor(errorMessageColor(message));
    // insertPlainText never reads markup, so text from the unit or the operator that looks like
    // HTML is shown as written.
    edit->insertPlainText(messagePaneLine(pane, message, localTime) + QLatin1Char('\r'));
    ++unread;

    // A message with line breaks adds several lines; trim until the limit holds again, or the
    // pane would grow with every such message.
    QTextDocument* document = edit->document();
    bool trimmed = false;
    while (document->blockCount() - 1 > kMessagePaneLineLimit) {
        const QTextBlock oldest = document->lastBlock().previous();
        QTextCursor remove(document);
        remove.setPosition(oldest.position());
        remove.setPosition(document->lastBlock().position(), QTextCursor::KeepAnchor);
        remove.removeSelectedText();
        trimmed = true;
    }
    if (trimmed && unread > kMessagePaneLineLimit)
        unread = kMessagePaneLineLimit;
}
