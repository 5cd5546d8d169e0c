// SPECI criteria page of the main window.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::displayORVASpeciSettings(QString, int)
{
}

void MainGUI::on_SPECI_visibilitymodel_datachanged(QModelIndex, QModelIndex, QVector<int>)
{
}

void MainGUI::on_SPECI_ceilingmodel_datachanged(QModelIndex, QModelIndex, QVector<int>)
{
}

void MainGUI::on_speciValidationError(int, QString)
{
}

void MainGUI::on_pushButton_editSpeciSettings_clicked()
{
}

void MainGUI::on_pushButton_returnSPECISettings_clicked()
{
}

void MainGUI::on_pushButton_setSPECIdefaults_clicked()
{
}

void MainGUI::on_pushButton_saveSPECItoDevice_clicked()
{
}
