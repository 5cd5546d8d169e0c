// Module stack panel of the ORVA command page.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_pushButton_orva_stack_clear_clicked()
{
}

void MainGUI::on_pushButton_orva_stack_refresh_clicked()
{
}

void MainGUI::on_pushButton_orva_stack_submit_clicked()
{
}

void MainGUI::orvaLoadStack(QStringList)
{
}

void MainGUI::updateModuleIcon(QString, QString)
{
}

void MainGUI::on_stack_command_timeout()
{
}

void MainGUI::on_enable_disable_response(QString)
{
}
