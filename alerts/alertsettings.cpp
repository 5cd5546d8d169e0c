// Alert settings form: the add-alert form, the two settings pages and the stored definitions.

#include "alerts/alertlistrules.h"
#include "app/maingui.h"
#include "forms/maingui_ui.h"

#include <QDebug>

namespace
{

QList<QWidget*> addAlertFormWidgets(Ui_MainGUI* ui)
{
    return {ui->comboBox_alertAudioSetting,
            ui->comboBox_alertParameterSetting,
            ui->comboBox_alertThresholdSetting,
            ui->lineEdit_alertValeuSettings,
            ui->lineEdit_alertValueSettings2,
            ui->label_alertvalue_units,
            ui->label_addalertunits,
            ui->pushButton_saveAlert,
            ui->pushButton_cancelAddAlert,
            ui->label_addalertvalue,
            ui->label_addalertvalue2,
            ui->label_addalertparameter,
            ui->label_addalertaudio};
}

void setAllVisible(const QList<QWidget*>& widgets, bool visible)
{
    for (QWidget* widget : widgets)
        widget->setVisible(visible);
}

} // namespace

void MainGUI::on_pushButton_alertSettings_clicked()
{
    ui->stackedWidget_Settings->setCurrentIndex(1);
}

void MainGUI::on_pushButton_addAlert_clicked()
{
    setAllVisible(addAlertFormWidgets(ui), true);
    ui->lineEdit_alertValueSettings2->hide();
    ui->label_addalertvalue2->hide();
    ui->pushButton_addAlert->hide();
    ui->pushButton_returnAlertsSettings->hide();
    ui->label_noAlertsSetup->hide();
    on_comboBox_alertParameterSetting_currentIndexChanged(
        ui->comboBox_alertParameterSetting->currentIndex());
    clearAlertForm();
}

void MainGUI::on_pushButton_cancelAddAlert_clicked()
{
    setAllVisible(addAlertFormWidgets(ui), false);
    ui->pushButton_addAlert->show();
    ui->pushButton_returnAlertsSettings->show();
    clearAlertForm();
}

void MainGUI::on_pushButton_saveAlert_clicked()
{
    const bool fahrenheit = temperatureUnits == TemperatureUnits::Fahrenheit;
    const QString parameter = ui->comboBox_alertParameterSetting->currentText();
    const bool audio = ui->comboBox_alertAudioSetting->currentText() == QLatin1String("True");
    const QString unit = fahrenheit ? QStringLiteral("IMPERIAL") : QStringLiteral("METRIC");
    const QString first = ui->lineEdit_alertValeuSettings->text();
    const QString second = ui->lineEdit_alertValueSettings2->text();

    auto fail = [this](const QString& warning) {
        qDebug().noquote() << warning;
        displayAlertMessages(warning);
        clearAlertForm();
    };
    auto append = [&](const QString& setting, const QString& typed) {
        const AlertDef def{parameter, setting, alertStoredValue(parameter, typed, fahrenheit), unit,
                           audio};
        alertDefs.append(def);
        alertThresholds[alertStoreKey(parameter, setting)] = def.value;
    };

    if (ui->comboBox_alertThresholdSetting->currentText() == QLatin1String("set range")) {
        if (first.isEmpty() || second.isEmpty()) {
            fail(QStringLiteral("WARNING: Unable to save alert, one or both values are empty."));
            return;
        }
        append(kAlertGreaterThan, first);
        append(kAlertLessThan, second);
    } else {
        if (first.isEmpty()) {
            fail(QStringLiteral("WARNING: Unable to save alert, no value entered."));
            return;
        }
        const bool less = ui->comboBox_alertThresholdSetting->currentText() == QLatin1String("<");
        append(less ? kAlertLessThan : kAlertGreaterThan, first);
    }

    alertActive[parameter] = true;
    // A new threshold is checked against the very next value, whatever was raised before.
    alertLastRaised[parameter] = QDateTime();

    setAllVisible(addAlertFormWidgets(ui), false);
    ui->label_noAlertsSetup->hide();
    hideAlerts();
    displayAlerts();
    ui->pushButton_addAlert->show();
    ui->pushButton_returnAlertsSettings->show();
    clearAlertForm();
}

void MainGUI::on_pushButton_returnAlertsSettings_clicked()
{
    ui->stackedWidget_Settings->setCurrentIndex(0);
}

void MainGUI::on_comboBox_alertParameterSetting_currentIndexChanged(int index)
{
    const QStringList& units =
        temperatureUnits == TemperatureUnits::Fahrenheit ? alertUnitsImperial : alertUnitsMetric;
    if (index >= 0 && index < units.size())
        ui->label_alertvalue_units->setText(units.at(index));
}

void MainGUI::on_comboBox_alertThresholdSetting_currentIndexChanged(int index)
{
    const bool range = index == 2;
    ui->lineEdit_alertValueSettings2->setVisible(range);
    ui->label_addalertvalue2->setVisible(range);
    ui->label_addalertvalue->setText(range ? QStringLiteral("Value Greater Than")
                                           : QStringLiteral("Value"));
}

void MainGUI::clearAlertForm()
{
    ui->comboBox_alertAudioSetting->setCurrentIndex(0);
    ui->comboBox_alertParameterSetting->setCurrentIndex(0);
    ui->comboBox_alertThresholdSetting->setCurrentIndex(0);
    ui->lineEdit_alertValeuSettings->clear();
    ui->lineEdit_alertValueSettings2->clear();
}

void MainGUI::loadAlerts(QJsonArray alerts)
{
    emit logDataMainMsg("INFO: Reading Existing Alerts Config from Options File");
    hideAlerts();
    ui->label_noAlertsSetup->hide();
    if (alerts.isEmpty()) {
        ui->label_noAlertsSetup->show();
        emit logDataMainMsg("INFO: No Alerts in Options File");
        return;
    }
    for (const AlertDef& def : alertDefsFromJson(alerts)) {
        alertDefs.append(def);
        alertThresholds[alertStoreKey(def.parameter, def.setting)] = def.value;
        alertActive[def.parameter] = true;
    }
    displayAlerts();
}
