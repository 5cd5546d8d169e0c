#pragma once

#include "decoder/weatherdatadecoder.h"

// A field read straight as a number, for the report body and its remarks: empty, malformed or
// non-finite text reads as 0.
inline double fieldNumber(const QString& text)
{
    return validDouble(text).toDouble();
}
