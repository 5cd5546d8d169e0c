// Clearing the views for a new connection, so that nothing of the previous unit stays on show.

#include "app/maingui.h"

#include "dashboard/copiedvalues.h"
#include "forms/maingui_ui.h"

namespace
{

// The labels that a record fills by a rule of their own, beside those it copies.
void clearDerivedValues(Ui_MainGUI& ui)
{
    QLabel* const values[] = {ui.labelCurrentTempC,
                              ui.labelDewPointC,
                              ui.labelHeatIndexC,
                              ui.label24hoursDewPointMaxC,
                              ui.label24hoursDewPointMinC,
                              ui.label24hoursTemperatureMaxC,
                              ui.label24hoursTemperatureMinC,
                              ui.labelALSTG_hPa,
                              ui.labelDA_m,
                              ui.labelPA_m,
                              ui.labelSLP_hPa,
                              ui.labelStationPressure_hPa,
                              ui.labelStationPressure_inHg,
                              ui.labelMaxDirectionIn10Minutes,
                              ui.labelMaxDirectionIn1Hour,
                              ui.labelMaxWindIn10Minutes,
                              ui.labelMinDirectionIn10Minutes,
                              ui.labelMinDirectionIn1Hour,
                              ui.labelMinWindIn10Minutes,
                              ui.labelAvgDirectionIn2Minutes,
                              ui.labelAvgWindIn2Minutes,
                              ui.labelWindDirection,
                              ui.labelWindSpeed,
                              ui.labelGustDirection,
                              ui.labelVisibilityM,
                              ui.labelVisibilitySM_1,
                              ui.labelVisibilityM_1,
                              ui.labelTableDewPoint,
                              ui.labelTableHeatIndex,
                              ui.labelTableImei,
                              ui.labelTableLightningDistance,
                              ui.labelTableLightningFrequency,
                              ui.labelTableMaxWindDirection,
                              ui.labelTablePrecipitation,
                              ui.labelTableStationPressure,
                              ui.labelTableTampering,
                              ui.labelTableTemperature,
                              ui.labelTableWindChillIndex,
                              ui.labelTableWindDirection,
                              ui.label_Metar};
    for (QLabel* label : values)
        label->clear();
}

} // namespace

void MainGUI::clearValues()
{
    clearCopiedValues(*ui);
    clearDerivedValues(*ui);
    ui->lineEdit_Metar->clear();
    ui->label_TimestampWarning->hide();
    ui->textEdit_SysMsgs->clear();
    ui->textEdit_ErrorMsgs->clear();
    ui->textEdit_ActiveAlerts->clear();
    for (int chart = 0; chart < TrendChartCount; ++chart) {
        trendTraces[chart].clear();
        drawTrendChart(chart);
    }
    drawBaseWindPicture();
    if (!runwayHidden)
        drawRunwayPicture(QString(), QString());
}
