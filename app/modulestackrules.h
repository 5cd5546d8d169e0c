#pragma once

// Rules of the module stack panel that do not need the window: the order the module commands go
// out in, and the reading of one module line of the unit's stack response.

#include <QByteArray>
#include <QString>
#include <QVector>

namespace ModuleStackRules
{
// Letters of the modules the panel has a row for, in the order their commands are queued.
inline const QVector<QChar>& commandOrder()
{
    static const QVector<QChar> order = {'C', 'I', 'G', 'V', 'R', 'T', 'W'};
    return order;
}

inline QByteArray moduleCommand(bool enable, QChar letter)
{
    return (enable ? QByteArray("enable ") : QByteArray("disable ")) + letter.toLatin1() + "\r\n";
}

inline QString moduleAck(bool enable, QChar letter)
{
    return (enable ? QStringLiteral("enable=") : QStringLiteral("disable=")) + letter;
}

struct ModuleLine {
    // A known module whose state field does not split at "=" is still reported as found.
    enum Kind { Malformed, UnknownModule, ModuleWithoutState, Module };
    Kind kind = Malformed;
    QString letter; // first character of the head; empty when the head is
    QString name;   // from the module table
    bool enabled = false;
};

// One line after the result line: letter and any head text, ":", a field, ",", key "=" value, ...
ModuleLine parseModuleLine(const QString& line);
} // namespace ModuleStackRules
