// The settings file "options_json.json": its entries, its text and the file on disk. No window
// is needed: the window reads and saves it through these (app/settingspage.cpp).

#include "app/settingsfile.h"

#include "alerts/alertstore.h"
#include "alerts/temperatureunitstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSaveFile>
#include <QStandardPaths>

namespace
{

const QString kSettingsFileName = QStringLiteral("options_json.json");

const QString kTrue = QStringLiteral("TRUE");
const QString kFalse = QStringLiteral("FALSE");

// The words of one choice entry. An unknown word reads as the first row.
template <typename Choice> struct ChoiceWord {
    Choice choice;
    const char* word;
};

const ChoiceWord<ORVAMetarMode> kMetarModeWords[] = {
    {ORVAMetarMode::Automatic, "AUTOMATIC"},
    {ORVAMetarMode::SemiAutomatic, "SEMIAUTOMATIC"},
    {ORVAMetarMode::Manual, "MANUAL"},
};
const ChoiceWord<LoggingType> kLoggingWords[] = {
    {LoggingType::Default, "DEFAULT"},
    {LoggingType::Data, "DATA"},
    {LoggingType::Debug, "DEBUG"},
};
const ChoiceWord<PrecipAccum24hInterval> kPrecipIntervalWords[] = {
    {PrecipAccum24hInterval::Since12Z, "INTERVAL_12Z"},
    {PrecipAccum24hInterval::Previous24Hours, "INTERVAL_PREV24H"},
};

template <typename Choice, std::size_t N>
QString choiceWord(const ChoiceWord<Choice> (&words)[N], Choice choice)
{
    for (const ChoiceWord<Choice>& row : words) {
        if (row.choice == choice)
            return QString::fromLatin1(row.word);
    }
    return QString::fromLatin1(words[0].word);
}

template <typename Choice, std::size_t N>
Choice choiceFromWord(const ChoiceWord<Choice> (&words)[N], const QString& word)
{
    for (const ChoiceWord<Choice>& row : words) {
        if (word == QLatin1String(row.word))
            return row.choice;
    }
    return words[0].choice;
}

QString flagWord(bool on)
{
    return on ? kTrue : kFalse;
}

// A flag entry is "TRUE" or "FALSE"; anything else reads as the fallback.
bool flagFromWord(const QString& word, bool fallback)
{
    if (word == kTrue)
        return true;
    if (word == kFalse)
        return false;
    return fallback;
}

} // namespace

QJsonObject settingsObject(const SettingsValues& values)
{
    QJsonObject settings;
    settings.insert(SettingsKey::Orva, values.orvaType);
    settings.insert(SettingsKey::MetarMode, choiceWord(kMetarModeWords, values.metarMode));
    settings.insert(SettingsKey::Popups, flagWord(values.showMetarPopups));
    settings.insert(SettingsKey::TransmitDelayMinutes, values.transmitDelay.minute());
    settings.insert(SettingsKey::TransmitDelaySeconds, values.transmitDelay.second());
    settings.insert(SettingsKey::KeyLocation, values.keyLocation);
    settings.insert(SettingsKey::TemperatureUnits, temperatureUnitsSetting(values.fahrenheit));
    settings.insert(SettingsKey::PrecipInterval,
                    choiceWord(kPrecipIntervalWords, values.precipInterval));
    settings.insert(SettingsKey::Logging, choiceWord(kLoggingWords, values.logging));
    // The entry says whether the runway is shown.
    settings.insert(SettingsKey::RunwayStatus, flagWord(!values.runwayHidden));
    settings.insert(SettingsKey::RunwayDirection, values.runwayDirection);
    settings.insert(SettingsKey::DevMode, flagWord(values.devMode));
    settings.insert(SettingsKey::LogLocation, values.logLocation);
    settings.insert(SettingsKey::SpeciAlerts, flagWord(values.speciAlerts));
    settings.insert(SettingsKey::Alerts, values.alerts);
    return settings;
}

QByteArray settingsFileText(const QJsonObject& settings)
{
    return QJsonDocument(settings).toJson(QJsonDocument::Indented) + '\n';
}

SettingsValues readSettings(const QJsonObject& settings)
{
    // toString() of a value that is not a string is empty, which no word matches.
    const auto text = [&settings](const QString& key) { return settings.value(key).toString(); };

    SettingsValues read;
    read.orvaType = text(SettingsKey::Orva);
    read.metarMode = choiceFromWord(kMetarModeWords, text(SettingsKey::MetarMode));
    read.showMetarPopups = flagFromWord(text(SettingsKey::Popups), true);
    read.transmitDelay = QTime();
    if (settings.contains(SettingsKey::TransmitDelayMinutes) &&
        settings.contains(SettingsKey::TransmitDelaySeconds)) {
        // toInt() gives 0 for anything but a whole JSON number.
        read.transmitDelay = QTime(0, settings.value(SettingsKey::TransmitDelayMinutes).toInt(),
                                   settings.value(SettingsKey::TransmitDelaySeconds).toInt());
    }
    read.keyLocation = text(SettingsKey::KeyLocation);
    read.fahrenheit = fahrenheitFromSetting(text(SettingsKey::TemperatureUnits));
    read.precipInterval = choiceFromWord(kPrecipIntervalWords, text(SettingsKey::PrecipInterval));
    read.logging = choiceFromWord(kLoggingWords, text(SettingsKey::Logging));
    read.runwayHidden = !flagFromWord(text(SettingsKey::RunwayStatus), true);
    read.runwayDirection = settings.value(SettingsKey::RunwayDirection).toDouble(0.0);
    read.devMode = flagFromWord(text(SettingsKey::DevMode), false);
    read.logLocation = text(SettingsKey::LogLocation);
    read.speciAlerts = flagFromWord(text(SettingsKey::SpeciAlerts), false);
    read.alerts = readAlertsSetting(settings);
    return read;
}

QString runwayDirectionText(double degrees)
{
    return QString::number(degrees, 'g', 6);
}

QString settingsFilePath()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                           QDir::separator() + kSettingsFileName);
}

QString defaultSettingsSource()
{
    return kSettingsFileName;
}

SettingsFileLoad loadSettingsFile(const QString& path, const QString& source)
{
    SettingsFileLoad load;
    if (!QFileInfo(path).isFile()) {
        // On a first run the application data folder does not exist yet.
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (QFile::copy(source, path)) {
            // A copy keeps its source's permissions: from a read-only checkout or install, saves
            // would then be refused.
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOwner |
                                            QFileDevice::WriteOwner);
        }
    }
    if (!QFileInfo(path).isFile()) {
        load.state = SettingsFileLoad::Missing;
        return load;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        load.state = SettingsFileLoad::Unreadable;
        load.errorText = file.errorString();
        return load;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        load.state = SettingsFileLoad::Unparsable;
        const QString kept = path + QStringLiteral(".bad");
        QFile::remove(kept);
        if (QFile::copy(path, kept))
            load.keptCopy = kept;
        return load;
    }
    load.state = SettingsFileLoad::Read;
    load.settings = document.object();
    return load;
}

QString saveSettingsFile(const QString& path, const QJsonObject& settings)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isWritable())
        return QStringLiteral("ERROR: File '%1' is not writable.").arg(path);
    QDir().mkpath(info.absolutePath());

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Failed to open file '%1': %2").arg(path, file.errorString());
    const QByteArray text = settingsFileText(settings);
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return QStringLiteral("Error writing to file '%1'.").arg(path);
    }
    if (!file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("Failed to flush file '%1': %2").arg(path, reason);
    }
    if (!file.commit())
        return QStringLiteral("Failed to close file '%1': %2").arg(path, file.errorString());
    return QString();
}
