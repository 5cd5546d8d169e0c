// The settings file: its rules, reading it once at start-up, writing it every five minutes and
// at exit, and the settings-page controls whose values it keeps.

#include "app/settingsfile.h"

#include "alerts/alertstore.h"
#include "alerts/temperatureunitstate.h"
#include "app/maingui.h"
#include "app/modalrunner.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSaveFile>
#include <QStandardPaths>

namespace
{

const QString kSettingsFileName = QStringLiteral("options_json.json");
const QString kBuiltInSettings = QStringLiteral(":/resources/options_json.json");

const QString kTrue = QStringLiteral("TRUE");
const QString kFalse = QStringLiteral("FALSE");

QString metarModeSetting(ORVAMetarMode mode)
{
    switch (mode) {
    case ORVAMetarMode::SemiAutomatic:
        return QStringLiteral("SEMIAUTOMATIC");
    case ORVAMetarMode::Manual:
        return QStringLiteral("MANUAL");
    case ORVAMetarMode::Automatic:
        break;
    }
    return QStringLiteral("AUTOMATIC");
}

ORVAMetarMode metarModeFromSetting(const QString& text)
{
    if (text == QLatin1String("SEMIAUTOMATIC"))
        return ORVAMetarMode::SemiAutomatic;
    if (text == QLatin1String("MANUAL"))
        return ORVAMetarMode::Manual;
    return ORVAMetarMode::Automatic;
}

QString loggingSetting(LoggingType type)
{
    switch (type) {
    case LoggingType::Data:
        return QStringLiteral("DATA");
    case LoggingType::Debug:
        return QStringLiteral("DEBUG");
    case LoggingType::Default:
        break;
    }
    return QStringLiteral("DEFAULT");
}

LoggingType loggingFromSetting(const QString& text)
{
    if (text == QLatin1String("DATA"))
        return LoggingType::Data;
    if (text == QLatin1String("DEBUG"))
        return LoggingType::Debug;
    return LoggingType::Default;
}

const QString kPrevious24Hours = QStringLiteral("INTERVAL_PREV24H");
const QString kSince12Z = QStringLiteral("INTERVAL_12Z");

} // namespace

QJsonObject settingsObject(const SettingsValues& values)
{
    QJsonObject settings;
    settings.insert(SettingsKey::Orva, values.orvaType);
    settings.insert(SettingsKey::MetarMode, metarModeSetting(values.metarMode));
    settings.insert(SettingsKey::Popups, values.showMetarPopups ? kTrue : kFalse);
    settings.insert(SettingsKey::TransmitDelayMinutes, values.transmitDelayMinutes);
    settings.insert(SettingsKey::TransmitDelaySeconds, values.transmitDelaySeconds);
    settings.insert(SettingsKey::KeyLocation, values.keyLocation);
    settings.insert(SettingsKey::TemperatureUnits, temperatureUnitsSetting(values.fahrenheit));
    settings.insert(SettingsKey::PrecipInterval,
                    values.precipInterval == PrecipAccum24hInterval::Previous24Hours
                        ? kPrevious24Hours
                        : kSince12Z);
    settings.insert(SettingsKey::Logging, loggingSetting(values.logging));
    // The entry says whether the runway is shown.
    settings.insert(SettingsKey::RunwayStatus, values.runwayHidden ? kFalse : kTrue);
    settings.insert(SettingsKey::RunwayDirection, values.runwayDirection);
    settings.insert(SettingsKey::DevMode, values.devMode ? kTrue : kFalse);
    settings.insert(SettingsKey::LogLocation, values.logLocation);
    settings.insert(SettingsKey::SpeciAlerts, values.speciAlerts ? kTrue : kFalse);
    settings.insert(SettingsKey::Alerts, values.alerts);
    return settings;
}

QByteArray settingsFileText(const QJsonObject& settings)
{
    return QJsonDocument(settings).toJson(QJsonDocument::Indented) + '\n';
}

SettingsRead readSettings(const QJsonObject& settings)
{
    // toString() of a value that is not a string is empty, which no comparison below matches.
    const auto text = [&settings](const QString& key) { return settings.value(key).toString(); };

    SettingsRead read;
    read.orvaType = text(SettingsKey::Orva);
    read.legacyOrva = read.orvaType == kLegacyOrvaMarker;
    read.metarMode = metarModeFromSetting(text(SettingsKey::MetarMode));
    read.hidePopups = text(SettingsKey::Popups) == kFalse;
    if (settings.contains(SettingsKey::TransmitDelayMinutes) &&
        settings.contains(SettingsKey::TransmitDelaySeconds)) {
        // toInt() gives 0 for anything but a whole JSON number.
        read.transmitDelay = QTime(0, settings.value(SettingsKey::TransmitDelayMinutes).toInt(),
                                   settings.value(SettingsKey::TransmitDelaySeconds).toInt());
    }
    read.keyLocation = text(SettingsKey::KeyLocation);
    read.fahrenheit = fahrenheitFromSetting(text(SettingsKey::TemperatureUnits));
    read.precipInterval = text(SettingsKey::PrecipInterval) == kPrevious24Hours
                              ? PrecipAccum24hInterval::Previous24Hours
                              : PrecipAccum24hInterval::Since12Z;
    read.logging = loggingFromSetting(text(SettingsKey::Logging));
    read.runwayHidden = text(SettingsKey::RunwayStatus) == kFalse;
    read.runwayDirection = settings.value(SettingsKey::RunwayDirection).toDouble(0.0);
    read.devMode = text(SettingsKey::DevMode) == kTrue;
    read.logLocation = text(SettingsKey::LogLocation);
    read.speciAlerts = text(SettingsKey::SpeciAlerts) == kTrue;
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
    return QFileInfo(kSettingsFileName).isFile() ? kSettingsFileName : kBuiltInSettings;
}

SettingsFileLoad loadSettingsFile(const QString& path, const QString& source)
{
    SettingsFileLoad load;
    if (!QFileInfo(path).isFile()) {
        // On a first run the application data folder does not exist yet.
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (QFile::copy(source, path)) {
            // A copy of a built-in file is read-only, and saves would then be refused.
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

void MainGUI::readOptions()
{
    qDebug("INFO: Read Options File");
    const SettingsFileLoad load = loadSettingsFile(settingsFilePath(), defaultSettingsSource());
    switch (load.state) {
    case SettingsFileLoad::Missing:
        qDebug("ERROR: Unable to locate settings JSON file.");
        emit logDataMainMsg("ERROR: Unable to locate Saved Settings File");
        displayErrorMessages(QStringLiteral(
            "Unable to locate Saved Settings JSON File. No user settings can be loaded."));
        return;
    case SettingsFileLoad::Unreadable:
        emit logDataMainMsg(QStringLiteral("ERROR: Unable to open Saved Settings File [ %1 ]")
                                .arg(load.errorText)
                                .toUtf8());
        displayErrorMessages(QStringLiteral(
            "Unable to open Saved Settings JSON File. No user settings can be loaded."));
        return;
    case SettingsFileLoad::Unparsable:
        if (load.keptCopy.isEmpty()) {
            emit logDataMainMsg("ERROR: Unable to read Saved Settings File, and no copy of it "
                                "could be kept");
            displayErrorMessages(QStringLiteral(
                "Unable to read Saved Settings JSON File, and no copy of it could be kept. "
                "Default settings are in use."));
        } else {
            emit logDataMainMsg(
                QStringLiteral("ERROR: Unable to read Saved Settings File, kept as %1")
                    .arg(load.keptCopy)
                    .toUtf8());
            displayErrorMessages(QStringLiteral("Unable to read Saved Settings JSON File, kept as "
                                                "%1. Default settings are in use.")
                                     .arg(load.keptCopy));
        }
        break;
    case SettingsFileLoad::Read:
        break;
    }

    const SettingsRead read = readSettings(load.settings);

    orvaType = read.orvaType;
    if (read.legacyOrva) {
        legacyOrva = true;
        emit setORVAType(true);
        qDebug("INFO: LEGACY ORVA Flag found");
        emit logDataMainMsg("INFO: LEGACY ORVA Flag found in Settings File");
    } else {
        switch (read.metarMode) {
        case ORVAMetarMode::SemiAutomatic:
            ui->radioButtonORVAMETAR_Semiauto->click();
            break;
        case ORVAMetarMode::Manual:
            ui->radioButtonORVAMETAR_Manual->click();
            break;
        case ORVAMetarMode::Automatic:
            ui->radioButtonORVAMETAR_Auto->click();
            break;
        }
        ui->checkBox_hideMETARModePopUp->setChecked(read.hidePopups);
        on_checkBox_hideMETARModePopUp_clicked();
        if (read.transmitDelay.isValid())
            ui->timeEdit_ORVA_METAR_transmit_delay->setTime(read.transmitDelay);
    }

    if (!read.keyLocation.isEmpty()) {
        ui->lineEdit_encryptionPasskey->setText(read.keyLocation);
        // The key workflow reads the key file; it is reached by name so that this file does not
        // depend on it.
        QMetaObject::invokeMethod(this, "loadEncryptionFile", Qt::DirectConnection);
    }

    if (read.fahrenheit) {
        temperatureUnits = TemperatureUnits::Fahrenheit;
        on_radioButtonUnitsImperial_clicked();
        temperatureUnitText = ::temperatureUnitText(true);
    }

    precipAccum24hInterval = read.precipInterval;
    emit setPrecipAccum24Int(precipAccum24hInterval);

    ui->comboBox_Logging->setCurrentIndex(static_cast<int>(read.logging));

    // The heading is kept while the runway is hidden, so that it is still there when the runway
    // is shown again, and the link computes crosswinds against the same heading either way.
    runwayDirection = read.runwayDirection;
    const QString heading = runwayDirectionText(runwayDirection);
    if (runwayDirection > 0)
        emit logDataMainMsg(("INFO: Setting Runway Direction to " + heading).toUtf8());
    ui->lineEdit_RunwayDirection->setText(heading);
    if (read.runwayHidden) {
        ui->pushButton_HideRunway->setText(QStringLiteral("Show"));
        runwayHidden = true;
        drawBaseWindPicture();
        windScene.clear();
        emit updateRunwayDirection(runwayDirection);
    } else {
        runwayHidden = false;
        on_pushButton_UpdateRunwayDirection_clicked();
    }

    devMode = read.devMode;
    ui->label_devcmds->setVisible(devMode);
    ui->lineEdit_devcmds->setVisible(devMode);

    if (!read.logLocation.isEmpty()) {
        ui->lineEditLogFileLocation->setText(read.logLocation);
        emit logDataMainMsg(("INFO: Changing log file location to " + read.logLocation).toUtf8());
        emit setLogLocation(read.logLocation);
    }

    speciAlerts = read.speciAlerts;
    ui->checkBox_SPECI_alerts->setChecked(speciAlerts);

    storedAlerts = read.alerts;
    qDebug() << "ALERTS: " << storedAlerts;
    qDebug() << "ALERTS ARRAY EMPTY?" << storedAlerts.isEmpty();
}

void MainGUI::saveSettings()
{
    SettingsValues values;
    values.orvaType = orvaType;
    values.metarMode = metarForm->mode();
    values.showMetarPopups = showMetarPopups;
    const QTime delay = ui->timeEdit_ORVA_METAR_transmit_delay->time();
    values.transmitDelayMinutes = delay.minute();
    values.transmitDelaySeconds = delay.second();
    values.keyLocation = ui->lineEdit_encryptionPasskey->text();
    values.fahrenheit = temperatureUnits == TemperatureUnits::Fahrenheit;
    values.precipInterval = precipAccum24hInterval;
    values.logging = loggingType;
    values.runwayHidden = runwayHidden;
    values.runwayDirection = runwayDirection;
    values.devMode = devMode;
    values.logLocation = ui->lineEditLogFileLocation->text();
    values.speciAlerts = speciAlerts;
    values.alerts = storedAlertsApplied ? alertDefsToJson(alertDefs) : storedAlerts;

    const QString failure = saveSettingsFile(settingsFilePath(), settingsObject(values));
    if (!failure.isEmpty())
        emit logDataMainMsg(failure.toUtf8());
}

void MainGUI::on_comboBox_Logging_currentIndexChanged(int index)
{
    switch (index) {
    case 0:
    case 1:
    case 2:
        loggingType = static_cast<LoggingType>(index);
        emit logDataMainMsg(
            ("INFO: Changed Logging Mode to " + loggingTypeName(loggingType) + ' ').toUtf8());
        break;
    default:
        loggingType = LoggingType::Default;
        break;
    }
    emit setLoggingState(loggingType);
}

void MainGUI::on_pushButtonLogFileLocationOpen_clicked()
{
    QFileDialog dialog(this, tr("Open Directory"), QStringLiteral("/"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    // A cancelled choice keeps the folder in use; an empty location would move the logs to
    // wherever the program happens to run.
    if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString folder = dialog.selectedFiles().constFirst();
    if (folder.isEmpty())
        return;
    ui->lineEditLogFileLocation->setText(folder);
    emit logDataMainMsg(("INFO: Changing log file location to " + folder).toUtf8());
    emit setLogLocation(folder);
}

void MainGUI::on_radioButton24HrPrecipAccum12Z_clicked()
{
    precipAccum24hInterval = PrecipAccum24hInterval::Since12Z;
    emit setPrecipAccum24Int(precipAccum24hInterval);
}

void MainGUI::on_radioButton24HrPrecipAccum_clicked()
{
    precipAccum24hInterval = PrecipAccum24hInterval::Previous24Hours;
    emit setPrecipAccum24Int(precipAccum24hInterval);
}
