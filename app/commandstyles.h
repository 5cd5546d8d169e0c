#pragma once

// Style sheets of the command buttons and fields that show how a command went: on the dark
// theme's button colour by default, blue while the unit's answer is awaited, green when it came,
// red when it failed, the alert red on a value the operator should look at.

#include "link/constanttables.h"

#include <QString>

namespace CommandStyles
{

inline QString background(const QString& colour)
{
    return QStringLiteral("background: ") + colour;
}
inline QString neutral()
{
    return background(colorButtonBase);
}
inline QString flagged()
{
    return background(colorAlertRed);
}
inline QString waiting()
{
    return background(QStringLiteral("blue"));
}
inline QString received()
{
    return background(QStringLiteral("green"));
}
inline QString failed()
{
    return background(QStringLiteral("red"));
}

} // namespace CommandStyles
