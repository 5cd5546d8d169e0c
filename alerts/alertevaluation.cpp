// Threshold alerts on every shown record: the re-raise gate, the alert text and the sound.

#include "app/maingui.h"

#include <QDebug>
#include <QMediaPlayer>

void MainGUI::checkAlert(QString parameter, QString value)
{
    const QDateTime now = alertGateNow();
    qint64 elapsed = 0;
    if (!alertGateOpen(alertLastRaised.value(parameter), now, &elapsed)) {
        qDebug().noquote() << "ALERT: Don't Update Alert Message List Yet " +
                                  QString::number(elapsed);
        return;
    }
    const QString text = validateAlertMessage(parameter, value, false);
    if (text.isEmpty()) {
        qDebug().noquote() << "INFO: No Alert Message to Update.";
        return;
    }
    displayAlertMessages(text);
    alertLastRaised.insert(parameter, now);
}

QString MainGUI::validateAlertMessage(QString parameter, QString value, bool)
{
    const AlertEvaluation result = evaluateAlert(parameter, value, alertThresholds, alertAudio,
                                                 temperatureUnits == TemperatureUnits::Fahrenheit);
    if (!result.text.isEmpty() && loggingType == LoggingType::Debug)
        emit logDataMainMsg("DEBUG: " + result.text.toUtf8());
    if (result.playSound)
        soundAlert();
    return result.text;
}

QString MainGUI::setAlertUnits(QString parameter)
{
    return alertUnitText(parameter, temperatureUnits == TemperatureUnits::Fahrenheit);
}

void MainGUI::soundAlert()
{
    // The player exists from the first page layout on; before that no alert can be evaluated.
    if (alertSound)
        alertSound->play();
}
