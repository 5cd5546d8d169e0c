#include "app/brqcommands.h"

namespace
{

template <std::size_t N> QByteArray tableCommand(const char* const (&table)[N], int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return QByteArray();
    return QByteArray(table[index]);
}

} // namespace

QByteArray brqElevationText(int metres)
{
    const char* format = metres >= 0 ? "%+05d" : "%05d";
    return QString::asprintf(format, metres).toLatin1();
}

QByteArray brqCommandString(const BrqCommandSelection& selection)
{
    using namespace BrqVocabulary;

    QByteArray commands;
    commands += tableCommand(brqModeCommands, selection.mode);
    commands += tableCommand(brqCeilometerCommands, selection.ceilometer);
    commands += tableCommand(brqSpeciCommands, selection.speci);

    if (selection.gps == GpsSetElevation)
        commands += brqGpsCommands[GpsSetElevation] + brqElevationText(selection.elevation) + '\r';
    else
        commands += tableCommand(brqGpsCommands, selection.gps);

    switch (selection.camera) {
    case CameraRequestSingle:
        commands +=
            brqCameraCommands[CameraRequestSingle] + selection.cameraNumber.toLatin1() + '\r';
        break;
    case CameraAutoImage:
        commands += selection.autoImageCommand.toLatin1() + '\r';
        break;
    default:
        commands += tableCommand(brqCameraCommands, selection.camera);
        break;
    }
    return commands;
}

QStringList brqComboItems(const char* const* labels, std::size_t size)
{
    QStringList items;
    for (std::size_t i = 0; i < size && items.size() < BrqVocabulary::maxComboItems; ++i) {
        if (labels[i][0] == '\0')
            break;
        items << QString::fromLatin1(labels[i]);
    }
    return items;
}

QString imageScheduleCommands(const std::array<bool, 24>& ticked)
{
    QString commands;
    for (int hour = 0; hour < 24; ++hour) {
        if (ticked[static_cast<std::size_t>(hour)])
            commands += QStringLiteral("i%1\r").arg(hour, 2, 10, QLatin1Char('0'));
    }
    return commands;
}
