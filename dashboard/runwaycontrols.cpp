// Runway and tampering controls of the dashboard.

#include "app/maingui.h"

#include "app/modalrunner.h"
#include "dashboard/recorddisplay.h"
#include "forms/maingui_ui.h"

#include <QMessageBox>

namespace
{

// The wind arrow is drawn only for a direction the label actually shows.
void redrawWindArrow(MainGUI& window, bool runwayShown)
{
    const QString direction = window.ui->labelWindDirection->text();
    const bool draw = runwayShown ? !direction.isEmpty() && direction != QLatin1String("0") &&
                                        direction != QLatin1String("-")
                                  : !direction.isEmpty() && !direction.contains(QLatin1Char('-'));
    // With the runway drawn, drawRunwayPicture has already put the arrow of a positive direction
    // on the scene; a second copy would only stack on top of it.
    if (draw && !(runwayShown && RecordDisplay::number(direction) > 0))
        window.drawGustArrow(direction.toDouble());
}

} // namespace

void MainGUI::on_pushButton_HideRunway_clicked()
{
    const QString text = ui->pushButton_HideRunway->text();
    if (text == QLatin1String("Hide")) {
        ui->pushButton_HideRunway->setText(QStringLiteral("Show"));
        runwayHidden = true;
        drawBaseWindPicture();
        redrawWindArrow(*this, false);
    } else if (text == QLatin1String("Show")) {
        ui->pushButton_HideRunway->setText(QStringLiteral("Hide"));
        runwayHidden = false;
        drawBaseWindPicture();
        drawRunwayPicture(ui->labelWindDirection->text(), ui->labelWindSpeed->text());
    }
}

void MainGUI::on_pushButton_UpdateRunwayDirection_clicked()
{
    if (runwayHidden) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Error"),
                        QStringLiteral("Runway Currently Hidden, Please Enable Runway \n\n"),
                        QMessageBox::Close, this);
        runModal(box);
        return;
    }
    // A heading that does not read as a finite number ("nan", "inf" included) is taken as north.
    runwayDirection = RecordDisplay::number(ui->lineEdit_RunwayDirection->text());
    emit updateRunwayDirection(runwayDirection);

    drawBaseWindPicture();
    drawRunwayPicture(ui->labelWindDirection->text(), ui->labelWindSpeed->text());
    redrawWindArrow(*this, true);
}

void MainGUI::on_pushButton_ClearTamperingWarning_clicked()
{
    ui->pushButton_ClearTamperingWarning->hide();
    emit clearTamperingData();
    ui->labelTableTampering->clear();
    emit logDataMainMsg("INFO: User cleared tamper warning.");
}
