#pragma once

// The settings file "options_json.json": one flat JSON object in the application data folder
// that keeps the operator's choices from one run to the next. Values are mostly upper-case words
// in JSON strings; the file has no version and no header.

#include "decoder/sharedtypes.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTime>

namespace SettingsKey
{
inline const QString Orva = QStringLiteral("ORVA");
inline const QString MetarMode = QStringLiteral("ORVAMETAR");
inline const QString Popups = QStringLiteral("ORVAPOPUP");
inline const QString TransmitDelayMinutes = QStringLiteral("ORVAMETARTRANSMITDELAYMINS");
inline const QString TransmitDelaySeconds = QStringLiteral("ORVAMETARTRANSMITDELAYSECS");
inline const QString KeyLocation = QStringLiteral("KEYLOCATION");
inline const QString TemperatureUnits = QStringLiteral("TEMPUNITS");
inline const QString PrecipInterval = QStringLiteral("PRECIPACCUM24HINTERVAL");
inline const QString Logging = QStringLiteral("LOGGING");
inline const QString RunwayStatus = QStringLiteral("RUNWAYSTATUS");
inline const QString RunwayDirection = QStringLiteral("RUNWAYDIRECTION");
inline const QString DevMode = QStringLiteral("DEVMODE");
inline const QString LogLocation = QStringLiteral("LOGLOCATION");
inline const QString SpeciAlerts = QStringLiteral("SPECIALERTS");
inline const QString Alerts = QStringLiteral("ALERTS");
} // namespace SettingsKey

// The "ORVA" value that marks a legacy ORVA unit.
inline const QString kLegacyOrvaMarker = QStringLiteral("ORVAV1");

// The operator's choices that the file keeps. Left as constructed they give the shipped default
// file, but for its transmit delay of 5:00, the form's own.
struct SettingsValues {
    QString orvaType; // the "ORVA" entry, written back as it was read
    ORVAMetarMode metarMode = ORVAMetarMode::Automatic;
    bool showMetarPopups = true;
    // Read: valid only when both delay entries are there and make a time of day.
    QTime transmitDelay = QTime(0, 0);
    QString keyLocation;
    bool fahrenheit = false;
    PrecipAccum24hInterval precipInterval = PrecipAccum24hInterval::Previous24Hours;
    LoggingType logging = LoggingType::Default;
    bool runwayHidden = false;
    double runwayDirection = 0.0;
    bool devMode = false;
    QString logLocation;
    bool speciAlerts = false;
    QJsonArray alerts;

    bool legacyOrva() const { return orvaType == kLegacyOrvaMarker; }
};

QJsonObject settingsObject(const SettingsValues& values);

// The bytes of the file: the indented JSON text (four blanks per level, keys sorted) and one
// more line feed.
QByteArray settingsFileText(const QJsonObject& settings);

// Every comparison is exact and case-sensitive; a value of another JSON type counts as absent.
// An absent or unknown entry reads as the default above, but for two: the transmit delay is
// invalid (the form keeps its own), and the interval is the one since 12Z.
SettingsValues readSettings(const QJsonObject& settings);

// The runway heading as the window shows and logs it: at most 6 significant digits.
QString runwayDirectionText(double degrees);

// "options_json.json" in the application data folder.
QString settingsFilePath();

// The copy a missing file is made from: "options_json.json" in the working folder, by its
// relative name (./run.sh starts the program from the checkout, which holds the default copy).
QString defaultSettingsSource();

struct SettingsFileLoad {
    enum State { Read, Missing, Unreadable, Unparsable };
    State state = Missing;
    QJsonObject settings; // empty unless Read
    QString keptCopy;     // Unparsable: where the file was kept; empty when it could not be
    QString errorText;    // Unreadable: why
};

// Reads the file at path. A missing file is first made from source (its folder too) and left
// writable. A file that is not a JSON object is copied beside itself with ".bad" added, so that
// the next save cannot destroy what the operator may still want from it.
SettingsFileLoad loadSettingsFile(const QString& path, const QString& source);

// Writes the whole file or nothing: the file on disk is replaced only once the new text is
// completely written. A file that exists and is not writable is left alone. Returns the log
// line of a failure, empty on success.
QString saveSettingsFile(const QString& path, const QJsonObject& settings);
