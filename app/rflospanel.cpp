// RFLOS radio panel of the ORVA command page.

#include "app/maingui.h"

#include "app/orvacommandrules.h"
#include "forms/maingui_ui.h"

#include <QDebug>

using namespace OrvaCommandRules;

namespace
{
const char kFieldNormal[] = "QLineEdit {color:#F5F7FA; border: 1px solid #3E4C59; background: "
                            "#1F2933;font-weight: bold; }";
const char kFieldRefused[] = "QLineEdit {color:#F5F7FA; border: 1px solid #3E4C59; background: "
                             "#FF0000;font-weight: bold; }";
const char kChannelNormal[] = "QComboBox { background-color: #1F2933; color: #F5F7FA; }";
const char kChannelMissing[] = "QComboBox { background-color: #FF0000; color: #F5F7FA; }";

// One frequency row; both frequencies go to the program channel's table entry.
void sendFrequency(MainGUI& window, QLineEdit* field, QComboBox* programCombo, int programIndex,
                   CommandIndex cell, const char* word, const char* invalidText)
{
    const QString text = field->text();
    if (text.isEmpty()) {
        window.update_orva_command_statuses(cell, CmdStatusBlank);
        return;
    }
    const double hz = rflosHz(text);
    const QByteArray command = rflosFrequencyCommand(word, programIndex - 1, hz);
    if (!rflosFrequencyAccepted(hz)) {
        qDebug() << invalidText;
        qDebug() << command;
        field->setStyleSheet(QLatin1String(kFieldRefused));
        window.update_orva_command_statuses(cell, CmdStatusFailed);
        return;
    }
    if (programIndex == 0) {
        programCombo->setStyleSheet(QLatin1String(kChannelMissing));
        window.update_orva_command_statuses(cell, CmdStatusFailed);
        return;
    }
    window.writecommands(command);
    field->setStyleSheet(QLatin1String(kFieldNormal));
    programCombo->setStyleSheet(QLatin1String(kChannelNormal));
    window.update_orva_command_statuses(cell, CmdStatusQueued);
}
} // namespace

void MainGUI::on_pushButton_orva_commands_rflos_clear_clicked()
{
    Ui_MainGUI& f = *ui;
    f.lineEdit_ORVALOSRFInput->clear();
    f.lineEdit_ORVARFLOSReceiveFreq->clear();
    f.comboBox_ORVARFLOSProgramChannel->setCurrentIndex(0);
    f.comboBox_ORVARFLOSSelectedChannel->setCurrentIndex(0);
    f.comboBox_ORVARFMessageRate->setCurrentIndex(0);
    for (CommandIndex cell :
         {CmdRflosTransmitFrequency, CmdRflosReceiveFrequency, CmdRflosSelectedChannel,
          CmdRflosProgrammedChannel, CmdRflosTransmitRate})
        update_orva_command_statuses(cell, CmdStatusBlank);
    const QString plain = QStringLiteral("background: #1F2933");
    f.lineEdit_ORVALOSRFInput->setStyleSheet(plain);
    f.lineEdit_ORVARFLOSReceiveFreq->setStyleSheet(plain);
}

void MainGUI::on_pushButton_RFLOS_send_commands_clicked()
{
    Ui_MainGUI& f = *ui;
    const int program = f.comboBox_ORVARFLOSProgramChannel->currentIndex();
    const int selected = f.comboBox_ORVARFLOSSelectedChannel->currentIndex();
    const int rate = f.comboBox_ORVARFMessageRate->currentIndex();

    sendFrequency(*this, f.lineEdit_ORVALOSRFInput, f.comboBox_ORVARFLOSProgramChannel, program,
                  CmdRflosTransmitFrequency, "txf", "Invalid transmit frequency.");
    sendFrequency(*this, f.lineEdit_ORVARFLOSReceiveFreq, f.comboBox_ORVARFLOSProgramChannel,
                  program, CmdRflosReceiveFrequency, "rxf", "Invalid receive frequency.");

    const QByteArray channel = rflosChannelCommand(selected);
    if (channel.isEmpty()) {
        update_orva_command_statuses(CmdRflosSelectedChannel, CmdStatusBlank);
    } else {
        writecommands(channel);
        update_orva_command_statuses(CmdRflosSelectedChannel, CmdStatusQueued);
    }

    const QByteArray rateCommand = rflosRateCommand(rate);
    if (rateCommand.isEmpty()) {
        update_orva_command_statuses(CmdRflosTransmitRate, CmdStatusBlank);
    } else {
        writecommands(rateCommand);
        update_orva_command_statuses(CmdRflosTransmitRate, CmdStatusQueued);
    }
}
