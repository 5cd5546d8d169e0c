// The one-time layout of the window for the first device family.
// The full layout comes with its own work; until then only the schedule queries of an ORVA unit,
// which the report schedule needs from the first connection on.

#include "app/maingui.h"

void MainGUI::updateLayout()
{
    if (deviceType == DeviceTypes::ORVA && !legacyOrva) {
        writecommands("frequency\r\n");
        writecommands("metar_offset\r\n");
    }
}
