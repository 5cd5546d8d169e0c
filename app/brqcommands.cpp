#include "app/brqcommands.h"

QByteArray brqCommandString(const BrqCommandSelection&)
{
    return QByteArray();
}

QByteArray brqElevationText(int)
{
    return QByteArray();
}

QStringList brqComboItems(const char* const*, std::size_t)
{
    return QStringList();
}

QString imageScheduleCommands(const std::array<bool, 24>&)
{
    return QString();
}
