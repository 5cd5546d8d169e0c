#include "app/maingui.h"

void MainGUI::on_pushButtonDashboard_clicked()
{

}

void MainGUI::on_pushButtonTable_clicked()
{

}

void MainGUI::on_pushButtonTrends_clicked()
{

}

void MainGUI::on_pushButtonCommand_clicked()
{

}

void MainGUI::on_pushButtonRawData_clicked()
{

}

void MainGUI::on_pushButtonImages_clicked()
{

}

void MainGUI::on_pushButtonBitStatus_clicked()
{

}

void MainGUI::on_pushButtonAboutSoftware_clicked()
{

}

void MainGUI::uncheckMenuButtons()
{

}

void MainGUI::showStatusMessage(QString)
{

}

QByteArray MainGUI::translateConstants(int)
{
    return {};
}

void MainGUI::debug1()
{

}

void MainGUI::layoutSetup()
{

}
