#include "app/dataprotection.h"

bool protectData(const QByteArray& plain, const QString& description, QByteArray* protectedOut)
{
    Q_UNUSED(description)
    if (protectedOut)
        *protectedOut = plain;
    return true;
}
