#include "app/maingui.h"

void MainGUI::startupDevice(DeviceTypes, QString)
{

}

void MainGUI::startupBRQPowerOff(DeviceTypes, QString, QByteArray)
{

}

void MainGUI::setupConfiguration(QString)
{

}

void MainGUI::openserialport(QString)
{

}

void MainGUI::closeserialport()
{

}

void MainGUI::on_pushButtonSetupConnection_clicked()
{

}

void MainGUI::SetConfiguration(QString)
{

}

void MainGUI::showSelectDevice()
{

}
