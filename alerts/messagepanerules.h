#pragma once

// The three notification panes: each message becomes one time-stamped line at the top of its
// pane, shown as plain text, and a pane keeps only its newest lines.

#include <QColor>
#include <QDateTime>
#include <QString>

class QTextEdit;

// Also the index of the pane's tab on the notifications page.
enum class MessagePane : int { Alerts = 0, Errors = 1, System = 2 };

constexpr int kMessagePaneLineLimit = 200;

extern const QString kMessagePaneTimeFormat; // "yyyy-MM-dd hh:mm:ss"

// The time stamp, one blank and the message. The error and system panes fold each carriage
// return and line feed pair of the message into one blank; the alerts pane keeps the message.
QString messagePaneLine(MessagePane pane, const QString& message, const QDateTime& localTime);

// Error pane colour: amber for a message that contains "WARNING" (exact case), else red.
QColor errorMessageColor(const QString& message);

// Puts the line at the top of the pane as plain text, adds 1 to the unread count and trims the
// pane to its newest kMessagePaneLineLimit lines (the count then stays within the limit too).
void addPaneMessage(QTextEdit* edit, MessagePane pane, const QString& message,
                    const QDateTime& localTime, int& unread);

// Lines of the pane, newest first, without the pane's empty last line.
int paneLineCount(const QTextEdit* edit);
