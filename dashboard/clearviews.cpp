// Clearing the views for a new connection, so that nothing of the previous unit stays on show.

#include "app/maingui.h"

#include "forms/maingui_ui.h"

void MainGUI::clearValues()
{
    QLabel* const values[] = {ui->labelCurrentTempC,
                              ui->labelDewPointC,
                              ui->labelHeatIndexC,
                              ui->labelRH,
                              ui->label24hoursDewPointMaxC,
                              ui->label24hoursDewPointMinC,
                              ui->label24hoursTemperatureMaxC,
                              ui->label24hoursTemperatureMinC,
                              ui->label3hrChg_hPa,
                              ui->labelALSTG_hPa,
                              ui->labelALSTG_inHg,
                              ui->labelDA_ft,
                              ui->labelDA_m,
                              ui->labelPA_ft,
                              ui->labelPA_m,
                              ui->labelSLP_hPa,
                              ui->labelStationPressure_hPa,
                              ui->labelStationPressure_inHg,
                              ui->labelVerticalVisibility,
                              ui->labelLayer1Height,
                              ui->labelLayer2Height,
                              ui->labelLayer3Height,
                              ui->labelLayer4Height,
                              ui->labelLayer5Height,
                              ui->labelLayer6Height,
                              ui->labelMaxDirectionIn10Minutes,
                              ui->labelMaxDirectionIn1Hour,
                              ui->labelMaxWindIn10Minutes,
                              ui->labelMaxWindIn1Hour,
                              ui->labelMinDirectionIn10Minutes,
                              ui->labelMinDirectionIn1Hour,
                              ui->labelMinWindIn10Minutes,
                              ui->labelMinWindIn1Hour,
                              ui->labelAvgDirectionIn2Minutes,
                              ui->labelAvgWindIn2Minutes,
                              ui->labelWindDirection,
                              ui->labelWindSpeed,
                              ui->labelGustDirection,
                              ui->labelGustSpeed,
                              ui->labelX_Gust,
                              ui->labelX_Wind,
                              ui->labelVisibilitySM,
                              ui->labelVisibilityM,
                              ui->labelPresentWeather,
                              ui->labelTableAltimeter,
                              ui->labelTableCloudLayers,
                              ui->labelTableCompassHeading,
                              ui->labelTableDate,
                              ui->labelTableDensityAltitude,
                              ui->labelTableDewPoint,
                              ui->labelTableElevation,
                              ui->labelTableHeatIndex,
                              ui->labelTableLat,
                              ui->labelTableLightningDistance,
                              ui->labelTableLightningFrequency,
                              ui->labelTableLon,
                              ui->labelTableLowestBrokenLayer,
                              ui->labelTableMaxWindDirection,
                              ui->labelTableMaxWindSpeed,
                              ui->labelTableMode,
                              ui->labelTableOrientation,
                              ui->labelTablePrecipitation,
                              ui->labelTablePresentWeather,
                              ui->labelTablePressureAltitude,
                              ui->labelTableRelativeHumidity,
                              ui->labelTableSeaSurfaceTemp,
                              ui->labelTableSigWaveDirection,
                              ui->labelTableSigWaveHeight,
                              ui->labelTableSigWavePeriod,
                              ui->labelTableStationPressure,
                              ui->labelTableTampering,
                              ui->labelTableTemperature,
                              ui->labelTableTilt,
                              ui->labelTableType,
                              ui->labelTableVisContamination,
                              ui->labelTableVisibility,
                              ui->labelTableVoltage,
                              ui->labelTableWindChillIndex,
                              ui->labelTableWindDirection,
                              ui->labelTableWindSpeed,
                              ui->label_Metar};
    for (QLabel* label : values)
        label->clear();
    ui->lineEdit_Metar->clear();
    ui->labelUTC->clear();
    ui->labelDeviceTime->clear();
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
