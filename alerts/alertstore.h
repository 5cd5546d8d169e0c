#pragma once

// The operator's alert definitions and the form they take in the settings file. The window keeps
// the list and the maps derived from it (thresholds, audio flags, active parameters, last-raised
// times); the evaluation of each record reads the maps.

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>

struct AlertDef {
    QString parameter; // one of the seventeen alert parameter names
    QString setting;   // "LESSTHAN" or "GREATERTHAN"
    QString value;     // threshold text; degrees Celsius for the temperature parameters
    QString unit;      // "METRIC" or "IMPERIAL": the temperature display when it was saved
    bool audio = false;
};

bool operator==(const AlertDef& a, const AlertDef& b);
inline bool operator!=(const AlertDef& a, const AlertDef& b)
{
    return !(a == b);
}

extern const QString kAlertLessThan;     // "LESSTHAN"
extern const QString kAlertGreaterThan;  // "GREATERTHAN"
extern const QString kAlertsSettingsKey; // "ALERTS"

// The store key of thresholds and audio flags: parameter, "_" and the setting.
QString alertStoreKey(const QString& parameter, const QString& setting);

using AlertThresholdMap = QMap<QString, QString>; // store key -> threshold text
using AlertFlagMap = QMap<QString, bool>;         // store key or parameter -> flag
using AlertTimeMap = QMap<QString, QDateTime>;    // parameter -> last raise

// One settings-file object: "parameter", "setting", "value", "unit" (strings), "audio" (bool).
QJsonObject alertDefToJson(const AlertDef& def);
// Missing keys and values of the wrong type read as an empty text, or false for "audio".
AlertDef alertDefFromJson(const QJsonObject& object);

QJsonArray alertDefsToJson(const QList<AlertDef>& defs);
QList<AlertDef> alertDefsFromJson(const QJsonArray& array);

// The "ALERTS" entry of a settings object; a missing entry or one that is not an array gives an
// empty array.
QJsonArray readAlertsSetting(const QJsonObject& settings);
void writeAlertsSetting(QJsonObject& settings, const QList<AlertDef>& defs);
