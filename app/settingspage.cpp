// The window's side of the settings file: reading it once at start-up, writing it every five
// minutes and at exit, and the settings-page controls whose values it keeps.

#include "app/maingui.h"

#include "alerts/alertstore.h"
#include "alerts/temperatureunitstate.h"
#include "app/modalrunner.h"
#include "app/settingsfile.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"

#include <QDebug>
#include <QFileDialog>

namespace
{

// Tells the operator and the log why the file gave nothing; false when nothing can be applied.
bool reportLoadProblem(MainGUI& window, const SettingsFileLoad& load)
{
    switch (load.state) {
    case SettingsFileLoad::Missing:
        qDebug("ERROR: Unable to locate settings JSON file.");
        emit window.logDataMainMsg("ERROR: Unable to locate Saved Settings File");
        window.displayErrorMessages(QStringLiteral(
            "Unable to locate Saved Settings JSON File. No user settings can be loaded."));
        return false;
    case SettingsFileLoad::Unreadable:
        emit window.logDataMainMsg(
            QStringLiteral("ERROR: Unable to open Saved Settings File [ %1 ]")
                .arg(load.errorText)
                .toUtf8());
        window.displayErrorMessages(QStringLiteral(
            "Unable to open Saved Settings JSON File. No user settings can be loaded."));
        return false;
    case SettingsFileLoad::Unparsable:
        if (load.keptCopy.isEmpty()) {
            emit window.logDataMainMsg("ERROR: Unable to read Saved Settings File, and no copy of "
                                       "it could be kept");
            window.displayErrorMessages(QStringLiteral(
                "Unable to read Saved Settings JSON File, and no copy of it could be kept. "
                "Default settings are in use."));
        } else {
            emit window.logDataMainMsg(
                QStringLiteral("ERROR: Unable to read Saved Settings File, kept as %1")
                    .arg(load.keptCopy)
                    .toUtf8());
            window.displayErrorMessages(
                QStringLiteral("Unable to read Saved Settings JSON File, kept as "
                               "%1. Default settings are in use.")
                    .arg(load.keptCopy));
        }
        return true;
    case SettingsFileLoad::Read:
        break;
    }
    return true;
}

// A legacy unit has no report modes: the marker leaves the report entries unread.
void applyReportSettings(MainGUI& window, const SettingsValues& read)
{
    Ui_MainGUI& ui = *window.ui;
    window.orvaType = read.orvaType;
    if (read.legacyOrva()) {
        window.legacyOrva = true;
        emit window.setORVAType(true);
        qDebug("INFO: LEGACY ORVA Flag found");
        emit window.logDataMainMsg("INFO: LEGACY ORVA Flag found in Settings File");
        return;
    }
    switch (read.metarMode) {
    case ORVAMetarMode::SemiAutomatic:
        ui.radioButtonORVAMETAR_Semiauto->click();
        break;
    case ORVAMetarMode::Manual:
        ui.radioButtonORVAMETAR_Manual->click();
        break;
    case ORVAMetarMode::Automatic:
        ui.radioButtonORVAMETAR_Auto->click();
        break;
    }
    ui.checkBox_hideMETARModePopUp->setChecked(!read.showMetarPopups);
    window.on_checkBox_hideMETARModePopUp_clicked();
    if (read.transmitDelay.isValid())
        ui.timeEdit_ORVA_METAR_transmit_delay->setTime(read.transmitDelay);
}

void applyKeyLocation(MainGUI& window, const SettingsValues& read)
{
    if (read.keyLocation.isEmpty())
        return;
    window.ui->lineEdit_encryptionPasskey->setText(read.keyLocation);
    // The key workflow reads the key file; it is reached by name so that this file does not
    // depend on it.
    QMetaObject::invokeMethod(&window, "loadEncryptionFile", Qt::DirectConnection);
}

void applyUnitsAndLogging(MainGUI& window, const SettingsValues& read)
{
    if (read.fahrenheit) {
        window.temperatureUnits = TemperatureUnits::Fahrenheit;
        window.on_radioButtonUnitsImperial_clicked();
        window.temperatureUnitText = temperatureUnitText(true);
    }

    window.precipAccum24hInterval = read.precipInterval;
    emit window.setPrecipAccum24Int(window.precipAccum24hInterval);

    window.ui->comboBox_Logging->setCurrentIndex(static_cast<int>(read.logging));
}

void applyRunwaySettings(MainGUI& window, const SettingsValues& read)
{
    Ui_MainGUI& ui = *window.ui;
    // The heading is kept while the runway is hidden, so that it is still there when the runway
    // is shown again, and the link computes crosswinds against the same heading either way.
    window.runwayDirection = read.runwayDirection;
    const QString heading = runwayDirectionText(window.runwayDirection);
    if (window.runwayDirection > 0)
        emit window.logDataMainMsg(("INFO: Setting Runway Direction to " + heading).toUtf8());
    ui.lineEdit_RunwayDirection->setText(heading);
    if (read.runwayHidden) {
        ui.pushButton_HideRunway->setText(QStringLiteral("Show"));
        window.runwayHidden = true;
        window.drawBaseWindPicture();
        window.windScene.clear();
        emit window.updateRunwayDirection(window.runwayDirection);
    } else {
        window.runwayHidden = false;
        window.on_pushButton_UpdateRunwayDirection_clicked();
    }
}

void applyOperatorSettings(MainGUI& window, const SettingsValues& read)
{
    Ui_MainGUI& ui = *window.ui;
    window.devMode = read.devMode;
    ui.label_devcmds->setVisible(window.devMode);
    ui.lineEdit_devcmds->setVisible(window.devMode);

    if (!read.logLocation.isEmpty()) {
        ui.lineEditLogFileLocation->setText(read.logLocation);
        emit window.logDataMainMsg(
            ("INFO: Changing log file location to " + read.logLocation).toUtf8());
        emit window.setLogLocation(read.logLocation);
    }

    window.speciAlerts = read.speciAlerts;
    ui.checkBox_SPECI_alerts->setChecked(window.speciAlerts);

    window.storedAlerts = read.alerts;
    qDebug() << "ALERTS: " << window.storedAlerts;
    qDebug() << "ALERTS ARRAY EMPTY?" << window.storedAlerts.isEmpty();
}

} // namespace

void MainGUI::readOptions()
{
    qDebug("INFO: Read Options File");
    const SettingsFileLoad load = loadSettingsFile(settingsFilePath(), defaultSettingsSource());
    if (!reportLoadProblem(*this, load))
        return;
    // A file that does not parse reads as an empty object: every entry takes its fallback.
    const SettingsValues read = readSettings(load.settings);
    applyReportSettings(*this, read);
    applyKeyLocation(*this, read);
    applyUnitsAndLogging(*this, read);
    applyRunwaySettings(*this, read);
    applyOperatorSettings(*this, read);
}

void MainGUI::saveSettings()
{
    SettingsValues values;
    values.orvaType = orvaType;
    values.metarMode = metarForm->mode();
    values.showMetarPopups = showMetarPopups;
    values.transmitDelay = ui->timeEdit_ORVA_METAR_transmit_delay->time();
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
