// Raw and decoded data views.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_send_decoded_data(QByteArray)
{
}

void MainGUI::updateRawData(QByteArray)
{
}
