// BRQ command panel.

#include "app/brqcommands.h"
#include "app/dialogimageschedule.h"
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

void MainGUI::on_comboBoxCmdMode_currentIndexChanged(int index)
{
    ui->label_ReportingModeWarning->setVisible(index >= kFirstWarnedModeIndex);
}

void MainGUI::on_comboBoxCmdGps_currentIndexChanged(int index)
{
    const bool elevation = index == BrqVocabulary::GpsSetElevation;
    ui->label_setElevation->setVisible(elevation);
    ui->spinBox_elevationValue->setVisible(elevation);
}

void MainGUI::on_comboBoxCmdCamera_currentIndexChanged(int index)
{
    const bool single = index == BrqVocabulary::CameraRequestSingle;
    ui->label_camNumber->setVisible(single);
    ui->cameraNumbercomboBox->setVisible(single);
    if (index != BrqVocabulary::CameraAutoImage)
        return;

    autoImageCommand = askImageSchedule(this);
    if (autoImageCommand.isEmpty()) {
        // A cancelled schedule or one with no hour ticked leaves nothing to send.
        ui->comboBoxCmdCamera->setCurrentIndex(0);
        return;
    }
    if (loggingType == LoggingType::Debug) {
        qDebug() << "Auto Image Command:" << autoImageCommand;
        emit logDataMainMsg("DEBUG: Auto Image Command [ " + autoImageCommand.toUtf8() + " ]");
    }
}
