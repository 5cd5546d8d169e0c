// BRQ command panel.

#include "app/brqchoiceinputs.h"
#include "app/brqcommands.h"
#include "app/maingui.h"
#include "forms/maingui_ui.h"

#include <QDebug>

namespace
{
constexpr int kFirstWarnedModeIndex = 5; // "1 Minute" and faster
}

void MainGUI::on_pushButtonSendCmds_clicked()
{
    if (deviceType != DeviceTypes::BRQ)
        return;

    BrqCommandSelection selection;
    selection.mode = ui->comboBoxCmdMode->currentIndex();
    selection.ceilometer = ui->comboBoxCmdCeil->currentIndex();
    selection.speci = ui->comboBoxCmdSpeci->currentIndex();
    selection.gps = ui->comboBoxCmdGps->currentIndex();
    selection.camera = ui->comboBoxCmdCamera->currentIndex();
    selection.elevation = ui->spinBox_elevationValue->value();
    selection.cameraNumber = ui->cameraNumbercomboBox->currentText();
    selection.autoImageCommand = autoImageCommand;
    const QByteArray commands = brqCommandString(selection) + '\r';

    if (loggingType == LoggingType::Debug) {
        qDebug() << "Built Command String: " << commands;
        emit logDataMainMsg("DEBUG: Built Command String [ " + commands + " ]");
    }
    ui->cmdstatus_label->setText(QStringLiteral("Waiting for Commands to Send..."));
    ui->pushButtonSendCmds->setText(QStringLiteral("Sending Commands..."));
    writecommands(commands);
}

// The port closed before the commands reached the unit whole: the page must not go on claiming
// them sent, or waiting for them.
void MainGUI::commandsNotSent()
{
    ui->pushButtonSendCmds->setText(QStringLiteral("Send Commands"));
    ui->pushButtonSendCmds->setChecked(false);
    ui->cmdstatus_label->setText(QStringLiteral("Command(s) Not Sent"));
}

void MainGUI::on_comboBoxCmdMode_currentIndexChanged(int index)
{
    ui->label_ReportingModeWarning->setVisible(index >= kFirstWarnedModeIndex);
}

void MainGUI::on_comboBoxCmdGps_currentIndexChanged(int index)
{
    followGpsChoice(index, ui->label_setElevation, ui->spinBox_elevationValue);
}

void MainGUI::on_comboBoxCmdCamera_currentIndexChanged(int index)
{
    if (!followCameraChoice(this, ui->comboBoxCmdCamera, index, ui->label_camNumber,
                            ui->cameraNumbercomboBox, &autoImageCommand))
        return;
    if (loggingType == LoggingType::Debug) {
        qDebug() << "Auto Image Command:" << autoImageCommand;
        emit logDataMainMsg("DEBUG: Auto Image Command [ " + autoImageCommand.toUtf8() + " ]");
    }
}
