// The METAR group of the Table page (edit, save, send a report; bring a report under review
// forward) and the report settings: transmission mode, pop-ups and report alerts.

#include "app/maingui.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"
#include "reports/reporthistory.h"
#include "reports/reporttransaction.h"

namespace
{

// Stores the edited copy with its text as a new history entry and combo item.
void storeEdit(MainGUI& window, const QString& text)
{
    window.editObservation = editedObservation(window.editObservation, text);
    window.metarForm->history.append(window.editObservation);
    window.ui->comboBoxViewMetar->addItem(reportText(window.editObservation.record));
    window.metarForm->pruneObservations();
}

// Back to the reading page, showing the newest stored report.
void leaveEdit(MainGUI& window)
{
    window.ui->stacked_METAR->setCurrentIndex(0);
    window.ui->comboBoxViewMetar->setCurrentIndex(window.ui->comboBoxViewMetar->count() - 1);
}

void showTransmitDelayRow(Ui_MainGUI* ui, bool shown)
{
    ui->label_ORVA_METAR_transmit_delay->setVisible(shown);
    ui->timeEdit_ORVA_METAR_transmit_delay->setVisible(shown);
    ui->label_ORVA_METAR_transmit_delay_2->setVisible(shown);
}

} // namespace

void MainGUI::reviewMetar(QString report)
{
    ui->stackedWidget_mainPages->setCurrentWidget(ui->pageTable);
    uncheckMenuButtons();
    ui->pushButtonTable->setChecked(true);
    const int item =
        ui->comboBoxViewMetar->findText(report, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (item >= 0)
        ui->comboBoxViewMetar->setCurrentIndex(item);
}

void MainGUI::on_pushButton_editMetar_clicked()
{
    ui->lineEdit_Metar->setText(ui->label_Metar->text());
    ui->stacked_METAR->setCurrentIndex(1);
    const int item = ui->comboBoxViewMetar->currentIndex();
    if (viewMode == 1 && item >= 1 && item <= metarForm->history.size())
        editObservation = metarForm->observationAt(item - 1);
    else
        editObservation = metarForm->realtime;
    viewMode = 1;
    ui->pushButton_show_live_data->show();
    ui->label_currentObsType->setText(QStringLiteral("Displaying Historical Weather Data"));
}

void MainGUI::on_pushButton_saveAndSendMetar_clicked()
{
    storeEdit(*this, singleLineReport(ui->lineEdit_Metar->text()));
    metarForm->on_send_metar_manual_or_semiauto(editObservation);
    leaveEdit(*this);
}

void MainGUI::on_pushButton_saveMetar_clicked()
{
    const QString text = singleLineReport(ui->lineEdit_Metar->text());
    if (text != reportText(editObservation.record))
        storeEdit(*this, text);
    leaveEdit(*this);
}

void MainGUI::on_pushButton_cancelSaveMetar_clicked()
{
    ui->stacked_METAR->setCurrentIndex(0);
}

void MainGUI::on_radioButtonORVAMETAR_Auto_clicked()
{
    metarForm->on_metar_mode_change(ORVAMetarMode::Automatic);
    showTransmitDelayRow(ui, false);
}

void MainGUI::on_radioButtonORVAMETAR_Semiauto_clicked()
{
    metarForm->on_metar_mode_change(ORVAMetarMode::SemiAutomatic);
    showTransmitDelayRow(ui, true);
}

void MainGUI::on_radioButtonORVAMETAR_Manual_clicked()
{
    metarForm->on_metar_mode_change(ORVAMetarMode::Manual);
    showTransmitDelayRow(ui, true);
}

void MainGUI::on_checkBox_hideMETARModePopUp_clicked()
{
    const bool hide = ui->checkBox_hideMETARModePopUp->isChecked();
    metarForm->showPopup = !hide;
    if (hide)
        metarForm->close();
    showMetarPopups = !hide;
}

void MainGUI::on_checkBox_SPECI_alerts_clicked()
{
    speciAlerts = ui->checkBox_SPECI_alerts->isChecked();
}
