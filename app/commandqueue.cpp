#include "app/maingui.h"

void MainGUI::writecommands(QByteArray)
{

}

void MainGUI::try_command_write()
{

}
