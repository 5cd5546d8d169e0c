#include "app/dataprotection.h"

namespace
{
DataProtector& currentProtector()
{
    static DataProtector protector;
    return protector;
}
} // namespace

void setDataProtector(DataProtector protector)
{
    currentProtector() = std::move(protector);
}

bool protectData(const QByteArray& plain, const QString& description, QByteArray* protectedOut)
{
    Q_UNUSED(description)
    if (currentProtector())
        return currentProtector()(plain, protectedOut);
    if (protectedOut)
        *protectedOut = plain;
    return true;
}
