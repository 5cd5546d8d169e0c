#include "app/brqcommands.h"

#include "app/commandtable.h"

QByteArray brqElevationText(int metres)
{
    const char* format = metres >= 0 ? "%+05d" : "%05d";
    return QString::asprintf(format, metres).toLatin1();
}

QByteArray brqCommandString(const BrqCommandSelection& selection)
{
    using namespace BrqVocabulary;

    QByteArray commands;
    commands += commandAt(brqModeCommands, selection.mode);
    commands += commandAt(brqCeilometerCommands, selection.ceilometer);
    commands += commandAt(brqSpeciCommands, selection.speci);

    if (selection.gps == GpsSetElevation)
        commands += brqGpsCommands[GpsSetElevation] + brqElevationText(selection.elevation) + '\r';
    else
        commands += commandAt(brqGpsCommands, selection.gps);

    switch (selection.camera) {
    case CameraRequestSingle:
        commands +=
            brqCameraCommands[CameraRequestSingle] + selection.cameraNumber.toLatin1() + '\r';
        break;
    case CameraAutoImage:
        commands += selection.autoImageCommand.toLatin1() + '\r';
        break;
    default:
        commands += commandAt(brqCameraCommands, selection.camera);
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
