// RFLOS radio panel of the ORVA command page.

#include "app/maingui.h"

#include "app/commandstyles.h"
#include "app/orvacommandrules.h"
#include "app/orvacommands.h"
#include "forms/maingui_ui.h"
#include "link/constanttables.h"

#include <QDebug>

using namespace OrvaCommandRules;

namespace
{
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
        field->setStyleSheet(styleLineEditInvalid);
        window.update_orva_command_statuses(cell, CmdStatusFailed);
        return;
    }
    if (programIndex == 0) {
        programCombo->setStyleSheet(styleComboInvalid);
        window.update_orva_command_statuses(cell, CmdStatusFailed);
        return;
    }
    window.writecommands(command);
    field->setStyleSheet(styleLineEditNormal);
    programCombo->setStyleSheet(styleComboNormal);
    window.update_orva_command_statuses(cell, CmdStatusQueued);
}
} // namespace

void MainGUI::on_pushButton_orva_commands_rflos_clear_clicked()
{
    ui->lineEdit_ORVALOSRFInput->clear();
    ui->lineEdit_ORVARFLOSReceiveFreq->clear();
    ui->comboBox_ORVARFLOSProgramChannel->setCurrentIndex(0);
    ui->comboBox_ORVARFLOSSelectedChannel->setCurrentIndex(0);
    ui->comboBox_ORVARFMessageRate->setCurrentIndex(0);
    for (CommandIndex cell :
         {CmdRflosTransmitFrequency, CmdRflosReceiveFrequency, CmdRflosSelectedChannel,
          CmdRflosProgrammedChannel, CmdRflosTransmitRate})
        update_orva_command_statuses(cell, CmdStatusBlank);
    const QString plain = CommandStyles::neutral();
    ui->lineEdit_ORVALOSRFInput->setStyleSheet(plain);
    ui->lineEdit_ORVARFLOSReceiveFreq->setStyleSheet(plain);
}

void MainGUI::on_pushButton_RFLOS_send_commands_clicked()
{
    const int program = ui->comboBox_ORVARFLOSProgramChannel->currentIndex();
    const int selected = ui->comboBox_ORVARFLOSSelectedChannel->currentIndex();
    const int rate = ui->comboBox_ORVARFMessageRate->currentIndex();

    sendFrequency(*this, ui->lineEdit_ORVALOSRFInput, ui->comboBox_ORVARFLOSProgramChannel, program,
                  CmdRflosTransmitFrequency, "txf", "Invalid transmit frequency.");
    sendFrequency(*this, ui->lineEdit_ORVARFLOSReceiveFreq, ui->comboBox_ORVARFLOSProgramChannel,
                  program, CmdRflosReceiveFrequency, "rxf", "Invalid receive frequency.");

    queueCommandRow(*this, CmdRflosSelectedChannel, rflosChannelCommand(selected));
    queueCommandRow(*this, CmdRflosTransmitRate, rflosRateCommand(rate));
}
