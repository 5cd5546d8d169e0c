#pragma once

#include <QByteArray>
#include <QString>

// Commands and timings of the lightning module's calibration tab.
namespace LightningCalibration
{

constexpr int kAnswerTimeoutMs = 30000;
constexpr int kProgressTickMs = 1000;
// The unit's calibration takes about four minutes; the bar counts its seconds.
constexpr int kAutocalSeconds = 240;
// A threshold the unit reports at this value is marked on its field.
constexpr int kFlagThreshold = 850;

enum Axis : int { AxisBx = 0, AxisBy = 1, AxisBz = 2 };

inline QByteArray readCommand()
{
    return QByteArrayLiteral("dsm G param_read\r");
}
inline QByteArray clearCommand()
{
    return QByteArrayLiteral("dsm G param_clear\r");
}
inline QByteArray autocalCommand()
{
    return QByteArrayLiteral("dsm G auto_cal\r");
}

// The field text goes as typed, but a pasted line break would end the command early and have
// the rest run as a command of its own, so CR and LF become blanks.
inline QByteArray setCommand(Axis axis, const QString& fieldText)
{
    QByteArray value = fieldText.toUtf8();
    value.replace('\r', ' ');
    value.replace('\n', ' ');
    return QByteArrayLiteral("dsm G param_set") + QByteArray::number(int(axis)) + ',' + value +
           '\r';
}

inline bool isFlagged(int threshold)
{
    return threshold == kFlagThreshold;
}

} // namespace LightningCalibration
