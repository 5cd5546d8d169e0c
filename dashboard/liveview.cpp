// Which record the window shows: the live one, refreshed as records arrive, or a stored report
// picked from the history, while incoming records only feed the history.

#include "app/maingui.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"

#include <QDebug>

namespace
{

const QString kCurrentObs = QStringLiteral("Displaying Current Weather Data");
const QString kHistoricalObs = QStringLiteral("Displaying Historical Weather Data");
const QString kReceivedData = QStringLiteral("Received Weather Data");

void showRealtimeRecord(MainGUI& window)
{
    if (window.metarForm->realtime.record.isEmpty())
        return;
    window.showingStoredRecord = true;
    window.display_weather_data(QJsonObject(window.metarForm->realtime.record));
    window.showingStoredRecord = false;
}

// The live view's state; the caller shows the live record.
void enterLiveView(MainGUI& window)
{
    if (window.loggingType == LoggingType::Debug)
        emit window.logDataMainMsg(QByteArrayLiteral("DEBUG: Showing Live Data"));
    window.viewMode = 0;
    window.ui->pushButton_show_live_data->hide();
}

// The live view's texts. Set after a re-shown record, the status text shows from the next
// record on.
void showLiveViewTexts(MainGUI& window)
{
    window.ui->label_currentObsType->setText(kCurrentObs);
    window.ui->pushButton_viewLatest->hide();
    window.connectionStatusText = kReceivedData;
}

} // namespace

void MainGUI::on_realtime_updated(QJsonObject record)
{
    // Live records only: a stored report says nothing of the unit now connected.
    const int kept = strikeOwner.strikesKept(
        deviceType, record.value(QStringLiteral("IMEI")).toString(),
        deviceType == DeviceTypes::ORVA && !legacyOrva, lightningStrikes.size());
    if (kept < lightningStrikes.size()) {
        lightningStrikes = lightningStrikes.mid(lightningStrikes.size() - kept);
        drawLightning();
    }
    if (viewMode == 0)
        display_weather_data(record);
    else
        update_METAR_hist(record);
}

void MainGUI::on_comboBoxViewMetar_currentIndexChanged(int index)
{
    qDebug().nospace() << "Selected index: " << index;
    if (index < 0)
        return;

    if (index == 0) {
        enterLiveView(*this);
        showRealtimeRecord(*this);
        showLiveViewTexts(*this);
        return;
    }

    // The combo mirrors the history item for item; an index without an entry shows nothing.
    if (index > metarForm->history.size())
        return;
    if (loggingType == LoggingType::Debug) {
        qDebug() << "Show Selected Observation Data";
        emit logDataMainMsg(
            QByteArrayLiteral("DEBUG: Show Selected Observation Data (Live Data disabled)"));
    }
    const Observation stored = metarForm->observationAt(index - 1);
    viewMode = 1;
    ui->pushButton_show_live_data->show();
    showingStoredRecord = true;
    display_weather_data(stored.record);
    showingStoredRecord = false;
    ui->label_currentObsType->setText(kHistoricalObs);
}

void MainGUI::on_pushButton_show_live_data_clicked()
{
    enterLiveView(*this);
    showLiveViewTexts(*this);
    // An edit freezes the view with the live item still current: no index change would redraw.
    if (ui->comboBoxViewMetar->currentIndex() == 0)
        showRealtimeRecord(*this);
    else
        ui->comboBoxViewMetar->setCurrentIndex(0);
}

void MainGUI::on_pushButton_viewLatest_clicked()
{
    ui->comboBoxViewMetar->setCurrentIndex(0);
}
