#pragma once

// The settings texts and file helpers that the settings-file suites share.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace SettingsTexts
{

// What a fresh window saves, and the default file shipped in the checkout: the form's transmit
// delay is 5:00.
const QByteArray kDefaultsText = R"({
    "ALERTS": [
    ],
    "DEVMODE": "FALSE",
    "KEYLOCATION": "",
    "LOGGING": "DEFAULT",
    "LOGLOCATION": "",
    "ORVA": "",
    "ORVAMETAR": "AUTOMATIC",
    "ORVAMETARTRANSMITDELAYMINS": 5,
    "ORVAMETARTRANSMITDELAYSECS": 0,
    "ORVAPOPUP": "TRUE",
    "PRECIPACCUM24HINTERVAL": "INTERVAL_PREV24H",
    "RUNWAYDIRECTION": 0,
    "RUNWAYSTATUS": "TRUE",
    "SPECIALERTS": "FALSE",
    "TEMPUNITS": "CELCIUS"
}

)";

// Every entry away from its default, as the window writes it.
const QByteArray kOperatorText = R"({
    "ALERTS": [
        {
            "audio": true,
            "parameter": "Temperature",
            "setting": "LESSTHAN",
            "unit": "IMPERIAL",
            "value": "-5"
        },
        {
            "audio": false,
            "parameter": "3Hr Pressure Change",
            "setting": "GREATERTHAN",
            "unit": "METRIC",
            "value": "2.5"
        }
    ],
    "DEVMODE": "TRUE",
    "KEYLOCATION": "/keys/Keyfile_abc.txt",
    "LOGGING": "DEBUG",
    "LOGLOCATION": "/var/log/vantora",
    "ORVA": "ORVA",
    "ORVAMETAR": "MANUAL",
    "ORVAMETARTRANSMITDELAYMINS": 2,
    "ORVAMETARTRANSMITDELAYSECS": 30,
    "ORVAPOPUP": "FALSE",
    "PRECIPACCUM24HINTERVAL": "INTERVAL_12Z",
    "RUNWAYDIRECTION": 275.5,
    "RUNWAYSTATUS": "TRUE",
    "SPECIALERTS": "TRUE",
    "TEMPUNITS": "FAHRENHEIT"
}

)";

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QJsonObject object(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

} // namespace SettingsTexts
