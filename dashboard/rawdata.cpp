// Raw and decoded data views of the raw data page: every chunk the link receives, and the inner
// text of encrypted or compressed frames.

#include "app/maingui.h"

#include "forms/maingui_ui.h"
#include "link/constanttables.h"
#include "link/data_incoming.h"

#include <QTextCursor>
#include <QTextDocument>

namespace
{

// The view runs as long as the program; older lines are dropped beyond this many.
constexpr int kRawViewBlocks = 200;

// New text always goes to the end of the document: the view's own cursor may sit at the start
// (after "Waiting for Data...") or on a selection the operator made, which an insertion there
// would overwrite.
QTextCursor endCursor(QTextEdit* view)
{
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    return cursor;
}

void moveToEnd(QTextEdit* view)
{
    view->moveCursor(QTextCursor::End, QTextCursor::MoveAnchor);
}

} // namespace

void MainGUI::on_send_decoded_data(QByteArray text)
{
    if (text.isEmpty())
        return;
    // The frame's text comes from the wire: shown as it is, never taken as markup. The unit
    // echoes the key and the IV it was given; they stay hidden as in the log.
    QString shown = QString::fromUtf8(data_incoming::maskKeyValues(text)).toHtmlEscaped();
    shown.replace(QLatin1String("\r\n"), QLatin1String("<br />"));
    QTextEdit* const view = ui->textEditRawData;
    endCursor(view).insertHtml(htmlFontOrange + shown + htmlFontEnd);
    moveToEnd(view);
}

void MainGUI::updateRawData(QByteArray bytes)
{
    QTextEdit* const view = ui->textEditRawData;
    view->document()->setMaximumBlockCount(kRawViewBlocks);
    QString text = QString::fromUtf8(bytes);
    text.remove(QLatin1Char('\r'));
    endCursor(view).insertText(text);
    moveToEnd(view);
}
