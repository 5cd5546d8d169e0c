// Report records join the 24-hour history and its combo box once per report text.

#include "app/maingui.h"
#include "decoder/clock.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"
#include "reports/reporthistory.h"

#include <QMediaPlayer>

void MainGUI::update_METAR_hist(QJsonObject record)
{
    if (!isReportRecord(record))
        return;
    const QString text = reportText(record);
    // A report's record may arrive more than once; the combo holds each text once.
    if (ui->comboBoxViewMetar->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    metarForm->history.append(Observation{record, Clock::now(), false, false});
    if (speciAlerts && alertSound)
        alertSound->play();
    ui->comboBoxViewMetar->addItem(text);
    metarForm->pruneObservations();
}
