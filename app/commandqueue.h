#pragma once

#include "link/radiocommand.h"

#include <QByteArray>
#include <QString>

// What the window makes of the commands it sends to the station radio.
namespace RadioCommand
{

// "key <hidden>" or "iv <hidden>" for a command that carries the key or the IV, else empty.
QByteArray hiddenText(const QByteArray& command);
// The command as the operator may see it: without its line end, the key and the IV hidden.
QString shownCommand(const QByteArray& command);
// The CommandIndex of the command row whose status cell shows the command, or -1.
int statusCell(const QByteArray& command);

} // namespace RadioCommand
