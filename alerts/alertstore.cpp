#include "alerts/alertstore.h"

#include <QJsonValue>

const QString kAlertLessThan = QStringLiteral("LESSTHAN");
const QString kAlertGreaterThan = QStringLiteral("GREATERTHAN");
const QString kAlertsSettingsKey = QStringLiteral("ALERTS");

bool operator==(const AlertDef& a, const AlertDef& b)
{
    return a.parameter == b.parameter && a.setting == b.setting && a.value == b.value &&
           a.unit == b.unit && a.audio == b.audio;
}

QString alertStoreKey(const QString& parameter, const QString& setting)
{
    return parameter + QLatin1Char('_') + setting;
}

QJsonObject alertDefToJson(const AlertDef& def)
{
    QJsonObject object;
    object.insert(QStringLiteral("parameter"), def.parameter);
    object.insert(QStringLiteral("setting"), def.setting);
    object.insert(QStringLiteral("value"), def.value);
    object.insert(QStringLiteral("unit"), def.unit);
    object.insert(QStringLiteral("audio"), def.audio);
    return object;
}

AlertDef alertDefFromJson(const QJsonObject& object)
{
    AlertDef def;
    def.parameter = object.value(QStringLiteral("parameter")).toString();
    def.setting = object.value(QStringLiteral("setting")).toString();
    def.value = object.value(QStringLiteral("value")).toString();
    def.unit = object.value(QStringLiteral("unit")).toString();
    def.audio = object.value(QStringLiteral("audio")).toBool(false);
    return def;
}

QJsonArray alertDefsToJson(const QList<AlertDef>& defs)
{
    QJsonArray array;
    for (const AlertDef& def : defs)
        array.append(alertDefToJson(def));
    return array;
}

QList<AlertDef> alertDefsFromJson(const QJsonArray& array)
{
    QList<AlertDef> defs;
    defs.reserve(array.size());
    for (const QJsonValue& value : array)
        defs.append(alertDefFromJson(value.toObject()));
    return defs;
}

QJsonArray readAlertsSetting(const QJsonObject& settings)
{
    return settings.value(kAlertsSettingsKey).toArray();
}

void writeAlertsSetting(QJsonObject& settings, const QList<AlertDef>& defs)
{
    settings.insert(kAlertsSettingsKey, alertDefsToJson(defs));
}
