#include "app/dialogselectdevice.h"

#include "forms/dialogselectdevice_ui.h"

#include <QMessageBox>
#include <QTimer>

DialogSelectDevice::DialogSelectDevice(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui_DialogSelectDevice)
{
    ui->setupUi(this);
    portPollTimer = new QTimer(this);
}

DialogSelectDevice::~DialogSelectDevice()
{
    delete ui;
}

void DialogSelectDevice::setPortSource(PortSource) {}
void DialogSelectDevice::Timer() {}
void DialogSelectDevice::on_pushButton_SelectBrq_clicked(bool) {}
void DialogSelectDevice::on_pushButton_SelectOrva_clicked() {}
void DialogSelectDevice::on_pushButton_SelectOrva_Radio_clicked() {}
void DialogSelectDevice::on_pushButton_BrqIsOn_clicked() {}
void DialogSelectDevice::on_pushButton_BrqIsOff_clicked() {}
void DialogSelectDevice::showPortInfo(int) {}
void DialogSelectDevice::checkCustomDevicePathPolicy(int) {}
void DialogSelectDevice::fillPortsInfo() {}
void DialogSelectDevice::on_pushButton_CancelSetup_clicked() {}
void DialogSelectDevice::on_pushButton_SetCommands_clicked() {}
void DialogSelectDevice::on_comboBoxGPS_currentIndexChanged(int) {}
void DialogSelectDevice::on_comboBoxCameraOptions_currentIndexChanged(int) {}
void DialogSelectDevice::chooseOrva(bool) {}

QMessageBox* showBrqPowerOnNotice()
{
    return nullptr;
}
