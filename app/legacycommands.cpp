// Legacy ORVA command panel and the raw command line.

#include "app/legacycommands.h"

#include "app/commandtable.h"
#include "app/maingui.h"
#include "forms/maingui_ui.h"
#include "link/constanttables.h"

#include <QTextCursor>

QList<QByteArray> legacyCommandList(int rateIndex, int gpsIndex, const QString& stationId,
                                    const QString& date)
{
    using namespace LegacyCommands;

    QList<QByteArray> commands;
    const QByteArray rate = commandAt(legacyRateCommands, rateIndex);
    if (!rate.isEmpty())
        commands << rate;
    const QByteArray gps = commandAt(legacyGpsCommands, gpsIndex);
    if (!gps.isEmpty())
        commands << gps;
    if (!stationId.isEmpty())
        commands << "set_id " + stationId.toUtf8() + '\n';
    if (!date.isEmpty())
        commands << "set_date " + date.toUtf8() + '\n';
    return commands;
}

void MainGUI::on_pushButtonCmdORVA_clicked()
{
    // Each command is queued on its own so that the queue paces them one per second.
    const QList<QByteArray> commands =
        legacyCommandList(ui->comboBoxCmdFreq->currentIndex(), ui->comboBoxORVAGPS->currentIndex(),
                          ui->lineEditCmdIcaoId->text(), ui->lineEditCmdDate->text());
    for (const QByteArray& command : commands)
        writecommands(command);
}

void MainGUI::on_pushButtonCmdResetSettings_clicked()
{
    writecommands(LegacyCommands::reset);
}

void MainGUI::on_pushButtonCmdResetUnit_clicked()
{
    writecommands(LegacyCommands::reset);
}

void MainGUI::on_pushButton_rawSendMsg_clicked()
{
    const QString text = ui->lineEdit_rawSendMsg->text();
    if (text.isEmpty())
        return;
    writecommands(text.toUtf8() + '\r');

    QTextCursor cursor = ui->textEditRawData->textCursor();
    cursor.insertHtml(htmlFontLime + text + htmlFontEnd);
    ui->textEditRawData->moveCursor(QTextCursor::End);
    ui->lineEdit_rawSendMsg->clear();
}
