// Lightning sensor calibration panel of the ORVA command page.

#include "app/commandstyles.h"
#include "app/lightningcalibrationrules.h"
#include "app/maingui.h"
#include "forms/maingui_ui.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace LightningCalibration;

void MainGUI::resetLightningButtonStyles()
{
    const QString neutral = CommandStyles::neutral();
    for (QWidget* widget : std::initializer_list<QWidget*>{
             ui->pushButton_orva_lightning_refresh, ui->pushButton_orva_lightning_set_bx,
             ui->pushButton_orva_lightning_set_by, ui->pushButton_orva_lightning_clear,
             ui->pushButton_orva_lightning_set_bz, ui->pushButton_orva_lightning_autocal,
             ui->lineEdit_orva_lightning_bx_step_threshold,
             ui->lineEdit_orva_lightning_by_step_threshold,
             ui->lineEdit_orva_lightning_bz_step_threshold})
        widget->setStyleSheet(neutral);
    ui->label_orva_commands_lightning_autocal_hint->hide();
}

void MainGUI::sendLightningCommand(QPushButton* button, const QByteArray& command)
{
    resetLightningButtonStyles();
    button->setStyleSheet(CommandStyles::waiting());
    lightningCmdTimer.start(kAnswerTimeoutMs);
    writecommands(command);
}

void MainGUI::on_pushButton_orva_lightning_set_bx_clicked()
{
    sendLightningCommand(ui->pushButton_orva_lightning_set_bx,
                         setCommand(AxisBx, ui->lineEdit_orva_lightning_bx_step_threshold->text()));
}

void MainGUI::on_pushButton_orva_lightning_set_by_clicked()
{
    sendLightningCommand(ui->pushButton_orva_lightning_set_by,
                         setCommand(AxisBy, ui->lineEdit_orva_lightning_by_step_threshold->text()));
}

void MainGUI::on_pushButton_orva_lightning_set_bz_clicked()
{
    sendLightningCommand(ui->pushButton_orva_lightning_set_bz,
                         setCommand(AxisBz, ui->lineEdit_orva_lightning_bz_step_threshold->text()));
}

void MainGUI::on_pushButton_orva_lightning_autocal_clicked()
{
    sendLightningCommand(ui->pushButton_orva_lightning_autocal, autocalCommand());
}

void MainGUI::on_pushButton_orva_lightning_clear_clicked()
{
    sendLightningCommand(ui->pushButton_orva_lightning_clear, clearCommand());
}

void MainGUI::on_pushButton_orva_lightning_refresh_clicked()
{
    sendLightningCommand(ui->pushButton_orva_lightning_refresh, readCommand());
}

void MainGUI::on_lightning_parameters_received(int bx, int by, int bz)
{
    QLineEdit* const fields[] = {ui->lineEdit_orva_lightning_bx_step_threshold,
                                 ui->lineEdit_orva_lightning_by_step_threshold,
                                 ui->lineEdit_orva_lightning_bz_step_threshold};
    const int values[] = {bx, by, bz};
    for (int i = 0; i < 3; ++i)
        fields[i]->setText(QString::number(values[i]));
    resetLightningButtonStyles();
    for (int i = 0; i < 3; ++i)
        if (isFlagged(values[i]))
            fields[i]->setStyleSheet(CommandStyles::flagged());
    ui->pushButton_orva_lightning_refresh->setStyleSheet(CommandStyles::received());
    lightningCmdTimer.stop();
}

void MainGUI::on_lightning_autocal_confirmed()
{
    ui->progressBar_orva_lightning_autocal->setValue(0);
    ui->progressBar_orva_lightning_autocal->show();
    lightningCmdTimer.stop();
    lightningProgressTimer.start(kProgressTickMs);
    ui->label_orva_commands_lightning_autocal_hint->show();
    autocalSeconds = 0;
}

void MainGUI::on_lightning_progress()
{
    if (autocalSeconds >= kAutocalSeconds) {
        lightningProgressTimer.stop();
        on_lightning_autocal_complete();
        return;
    }
    ++autocalSeconds;
    ui->progressBar_orva_lightning_autocal->setValue(autocalSeconds);
}

void MainGUI::on_lightning_autocal_complete()
{
    sendLightningCommand(ui->pushButton_orva_lightning_refresh, readCommand());
}

void MainGUI::on_lightning_command_error()
{
    lightningProgressTimer.stop();
    lightningCmdTimer.stop();
    for (QPushButton* button :
         {ui->pushButton_orva_lightning_refresh, ui->pushButton_orva_lightning_set_bx,
          ui->pushButton_orva_lightning_set_by, ui->pushButton_orva_lightning_set_bz,
          ui->pushButton_orva_lightning_clear, ui->pushButton_orva_lightning_autocal})
        button->setStyleSheet(CommandStyles::failed());
    ui->progressBar_orva_lightning_autocal->hide();
}
