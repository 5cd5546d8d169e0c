#include "decoder/sharedtypes.h"

QString deviceTypeName(DeviceTypes type)
{
    switch (type) {
    case DeviceTypes::BRQ:
        return QStringLiteral("BRQ");
    case DeviceTypes::ORVA:
        return QStringLiteral("ORVA");
    default:
        return QStringLiteral("None");
    }
}

QString loggingTypeName(LoggingType type)
{
    switch (type) {
    case LoggingType::Data:
        return QStringLiteral("Data");
    case LoggingType::Debug:
        return QStringLiteral("Debug");
    default:
        return QStringLiteral("Default");
    }
}

void registerSharedMetaTypes()
{
    qRegisterMetaType<DeviceTypes>("DeviceTypes");
    qRegisterMetaType<LoggingType>("LoggingType");
    qRegisterMetaType<ORVAMetarMode>("ORVAMetarMode");
    qRegisterMetaType<PrecipAccum24hInterval>("PrecipAccum24hInterval");
    qRegisterMetaType<KeyChangeState>("KeyChangeState");
}
