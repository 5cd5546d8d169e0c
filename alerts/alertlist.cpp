// The list of active alerts on the alert settings page, its row buttons, and the alerts pane's
// temperature lines after a unit switch.

#include "alerts/alertlistrules.h"
#include "alerts/temperatureunitstate.h"
#include "app/maingui.h"
#include "forms/maingui_ui.h"

#include <QDebug>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace
{

const QString kAudioEnabled = QStringLiteral(" Enabled");
const QString kAudioDisabled = QStringLiteral(" Disabled");

struct RowWidgets {
    QLabel* parameter = nullptr;
    QLabel* value = nullptr;
    QPushButton* audio = nullptr;
    QPushButton* remove = nullptr;
};

RowWidgets rowWidgets(MainGUI& window, const AlertListRow& row, bool greater)
{
    const QString suffix =
        row.rowWord + (greater ? QStringLiteral("GreaterThan") : QStringLiteral("LessThan"));
    return {window.findChild<QLabel*>(QStringLiteral("label_parameter") + suffix),
            window.findChild<QLabel*>(QStringLiteral("label_value") + suffix),
            window.findChild<QPushButton*>(QStringLiteral("pushButton_audio") + suffix),
            window.findChild<QPushButton*>(QStringLiteral("pushButton_delete") + suffix)};
}

void setAudioLook(QPushButton* button, bool enabled)
{
    button->setIcon(QIcon(enabled ? QStringLiteral(":/resources/greencheckmark.png")
                                  : QStringLiteral(":/resources/redcheckmark.png")));
    button->setText(enabled ? kAudioEnabled : kAudioDisabled);
}

} // namespace

void MainGUI::displayAlerts()
{
    ui->scrollArea_8->show();
    ui->label_alertAudioHeader->show();
    ui->label_alertValueHeader->show();
    ui->label_alertParameterHeader->show();
    qDebug() << "Loading Display Alerts";

    const bool fahrenheit = temperatureUnits == TemperatureUnits::Fahrenheit;
    const QList<AlertDef> defs = alertDefs;
    for (const AlertDef& def : defs) {
        const QString key = alertStoreKey(def.parameter, def.setting);
        alertAudio[key] = def.audio;
        alertActive[def.parameter] = true;
        qDebug().noquote() << def.parameter << "Audio List Status:" << alertAudio.value(key);

        const AlertListRow* row = alertListRowForParameter(def.parameter);
        if (!row)
            continue;
        emit logDataMainMsg(
            QStringLiteral("INFO: Adding Active Alert Config to Alerts Settings for %1")
                .arg(row->logWord)
                .toUtf8());
        if (def.setting != kAlertGreaterThan && def.setting != kAlertLessThan)
            continue;

        const RowWidgets w = rowWidgets(*this, *row, def.setting == kAlertGreaterThan);
        w.parameter->show();
        w.value->show();
        w.value->setText(alertRowValueText(def, fahrenheit));
        w.audio->show();
        setAudioLook(w.audio, alertAudio.value(key));
        w.remove->show();
    }
}

void MainGUI::hideAlerts()
{
    for (QWidget* widget : std::initializer_list<QWidget*>{
             ui->comboBox_alertAudioSetting, ui->comboBox_alertParameterSetting,
             ui->comboBox_alertThresholdSetting, ui->lineEdit_alertValeuSettings,
             ui->lineEdit_alertValueSettings2, ui->label_alertvalue_units, ui->label_addalertunits,
             ui->pushButton_saveAlert, ui->pushButton_cancelAddAlert, ui->label_addalertvalue,
             ui->label_addalertvalue2, ui->label_addalertparameter, ui->label_addalertaudio,
             ui->label_alertParameterHeader, ui->label_alertValueHeader, ui->label_alertAudioHeader,
             ui->scrollArea_8})
        widget->setVisible(false);
    for (const AlertListRow& row : alertListRows()) {
        for (bool greater : {false, true}) {
            const RowWidgets w = rowWidgets(*this, row, greater);
            for (QWidget* widget :
                 std::initializer_list<QWidget*>{w.parameter, w.value, w.audio, w.remove})
                widget->setVisible(false);
        }
    }
}

void MainGUI::onalerts_Audio_clicked(int id)
{
    qDebug() << "AUDIO STATUS:" << id;
    const AlertRowRef ref = alertRowForAudioId(id);
    QString key;
    bool flag = false;
    if (ref.row) {
        key = alertStoreKey(ref.row->parameter, ref.setting());
        QPushButton* button = rowWidgets(*this, *ref.row, ref.greater).audio;
        if (button->text() == kAudioEnabled) {
            setAudioLook(button, false);
            flag = false;
        } else if (button->text() == kAudioDisabled) {
            setAudioLook(button, true);
            flag = true;
        } else {
            const AlertAudioError error = alertAudioErrorTexts(ref);
            displayErrorMessages(error.pane);
            emit logDataMainMsg(error.log.toUtf8());
            qDebug().noquote() << "Change this:" << key;
            return;
        }
        alertAudio[key] = flag;
    }
    qDebug().noquote() << "Change this:" << key;
    if (key.isEmpty())
        return;
    for (AlertDef& def : alertDefs) {
        if (alertStoreKey(def.parameter, def.setting) == key)
            def.audio = flag;
    }
}

void MainGUI::onalerts_Delete_clicked(int id)
{
    qDebug() << "DELETE ALERT INDEX:" << id;
    const AlertRowRef ref = alertRowForDeleteId(id);
    if (ref.row) {
        const RowWidgets w = rowWidgets(*this, *ref.row, ref.greater);
        w.parameter->hide();
        w.value->hide();
        w.audio->hide();
        w.remove->hide();
        removeCurrentAlerts(ref.row->parameter, ref.setting());
    }
    ui->pushButton_addAlert->show();
    ui->pushButton_returnAlertsSettings->show();
}

void MainGUI::removeCurrentAlerts(QString parameter, QString setting)
{
    const QString key = alertStoreKey(parameter, setting);
    for (int i = alertDefs.size() - 1; i >= 0; --i) {
        if (alertDefs.at(i).parameter != parameter || alertDefs.at(i).setting != setting)
            continue;
        alertDefs.removeAt(i);
        emit logDataMainMsg(
            (QStringLiteral("INFO: Removing Active Alert Config to Alerts Settings for ") +
             parameter)
                .toUtf8());
        alertThresholds.remove(key);
        alertAudio.remove(key);
        // The gate is per parameter, so the other direction may raise at once too.
        alertLastRaised.remove(parameter);
        qDebug().noquote() << "parameter to remove:" << key << alertThresholds.keys();
        if (!alertThresholds.contains(alertStoreKey(parameter, kAlertLessThan)) &&
            !alertThresholds.contains(alertStoreKey(parameter, kAlertGreaterThan)))
            alertActive.remove(parameter);
    }

    if (alertDefs.isEmpty()) {
        alertActive.clear();
        hideAlerts();
        ui->label_noAlertsSetup->show();
    }
}

void MainGUI::updateAlertsUnits()
{
    const bool fahrenheit = temperatureUnits == TemperatureUnits::Fahrenheit;
    const QString text = convertAlertPaneText(ui->textEdit_ActiveAlerts->toPlainText(), fahrenheit);
    ui->textEdit_ActiveAlerts->clear();
    ui->textEdit_ActiveAlerts->setPlainText(text);

    const QStringList& units = fahrenheit ? alertUnitsImperial : alertUnitsMetric;
    const int index = ui->comboBox_alertParameterSetting->currentIndex();
    if (index >= 0 && index < units.size())
        ui->label_alertvalue_units->setText(units.at(index));
}
