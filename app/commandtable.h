#pragma once

#include <QByteArray>

#include <cstddef>

// The command of a combo index in a command table. Index 0, "No command", is an empty entry;
// an index outside the table sends nothing either.
template <std::size_t N> QByteArray commandAt(const char* const (&table)[N], int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return QByteArray();
    return QByteArray(table[index]);
}
