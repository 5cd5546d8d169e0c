// ORVA command panel: the General tab's commands, the status cells of all ORVA command rows, the
// confirmation of sent commands and the METAR preparation schedule.

#include "app/orvacommands.h"

#include "app/maingui.h"
#include "app/modalrunner.h"
#include "app/navigation.h"
#include "app/orvacommandrules.h"
#include "forms/maingui_ui.h"

#include <QDebug>
#include <QMessageBox>
#include <QTextCursor>

using namespace OrvaCommandRules;

namespace
{
constexpr int kMessageClearMs = 10000;
constexpr int kConfirmationClearMs = 20000;

// A sent batch: the panel's button is ready again, and its status line says so for a while.
void showCommandsSent(MainGUI& window, QPushButton* sendButton, QLabel* statusLine)
{
    sendButton->setText(QStringLiteral("Send Commands"));
    sendButton->setChecked(false);
    statusLine->setText(QStringLiteral("Command(s) Sent"));
    QTimer::singleShot(kConfirmationClearMs, &window,
                       [statusLine] { statusLine->setText(QString()); });
}

// The elevation row: off, or a value that must pass its check first.
void queueElevationRow(MainGUI& window)
{
    switch (window.ui->comboBox_ORVAElevation->currentIndex()) {
    case 1:
        queueCommandRow(window, CmdElevation, "elevation OFF\r\n");
        break;
    case 2: {
        const ElevationResult elevation =
            checkElevation(window.ui->lineEdit_ORVAElevationInput->text());
        if (elevation.accepted) {
            queueCommandRow(window, CmdElevation, elevation.command);
        } else {
            emit window.logDataMainMsg(elevation.logText.toUtf8());
            qDebug().noquote() << elevation.logText;
            window.displayErrorMessages(elevation.errorText);
            window.update_orva_command_statuses(CmdElevation, CmdStatusFailed);
        }
        break;
    }
    default:
        window.update_orva_command_statuses(CmdElevation, CmdStatusBlank);
        break;
    }
}

// After a send the General tab starts blank again, the module boxes too.
void clearGeneralTab(Ui_MainGUI& ui)
{
    ui.textEdit_ORVASendMsg->clear();
    ui.lineEdit_ORVAICAO->clear();
    ui.lineEdit_ORVADateTimeInput->clear();
    ui.lineEdit_ORVAElevationInput->clear();
    for (QComboBox* combo :
         {ui.comboBox_ORVADataLog, ui.comboBox_ORVALEDStatus, ui.comboBox_ORVAHeater,
          ui.comboBox_ORVABlower, ui.comboBox_ORVAElevation, ui.comboBox_ORVAtransmitFrequency,
          ui.comboBox_ORVAGPS, ui.comboBox_ORVARFCmd})
        combo->setCurrentIndex(0);
    for (QCheckBox* box :
         {ui.checkBox_ORVADisableCeilometer, ui.checkBox_ORVADisableIridium,
          ui.checkBox_ORVADisableLightning, ui.checkBox_ORVADisablePresentWeather,
          ui.checkBox_ORVADisableRadio, ui.checkBox_ORVADisableTPH, ui.checkBox_ORVADisableWind,
          ui.checkBox_ORVAEnableCeilometer, ui.checkBox_ORVAEnableIridium,
          ui.checkBox_ORVAEnableLightning, ui.checkBox_ORVAEnablePresentWeather,
          ui.checkBox_ORVAEnableRadio, ui.checkBox_ORVAEnableTPH, ui.checkBox_ORVAEnableWind})
        box->setChecked(false);
}

} // namespace

void queueCommandRow(MainGUI& window, CommandIndex cell, const QByteArray& command)
{
    if (command.isEmpty()) {
        window.update_orva_command_statuses(cell, CmdStatusBlank);
        return;
    }
    window.writecommands(command);
    window.update_orva_command_statuses(cell, CmdStatusQueued);
}

void queueReportScheduleQueries(MainGUI& window)
{
    if (window.deviceType != DeviceTypes::ORVA || window.legacyOrva)
        return;
    window.writecommands("frequency\r\n");
    window.writecommands("metar_offset\r\n");
}

void clearCommandStatuses(MainGUI& window)
{
    for (QLabel* cell : window.commandStatusLabels) {
        if (cell)
            cell->clear();
    }
}

void MainGUI::on_pushButtonSettings_clicked()
{
    leaveStoredObservation(*this);
    ui->stackedWidget_mainPages->setCurrentWidget(ui->pageSettings);
    uncheckMenuButtons();
    ui->pushButtonSettings->setChecked(true);
    ui->stackedWidget_Settings->setCurrentIndex(0);
    queueReportScheduleQueries(*this);
}

void MainGUI::commandConfirmation()
{
    if (deviceType == DeviceTypes::BRQ) {
        for (QComboBox* combo :
             {ui->comboBoxCmdMode, ui->comboBoxCmdGps, ui->comboBoxCmdSpeci, ui->comboBoxCmdCamera,
              ui->comboBoxCmdCeil, ui->cameraNumbercomboBox})
            combo->setCurrentIndex(0);
        ui->spinBox_elevationValue->clear();
        showCommandsSent(*this, ui->pushButtonSendCmds, ui->cmdstatus_label);
    } else if (deviceType == DeviceTypes::ORVA) {
        ui->comboBoxCmdFreq->setCurrentIndex(0);
        ui->comboBoxORVAGPS->setCurrentIndex(0);
        ui->lineEditCmdDate->clear();
        ui->lineEditCmdIcaoId->clear();
        showCommandsSent(*this, ui->pushButtonCmdORVA, ui->cmdStatusORVA_label);
    }
}

void MainGUI::updateORVACmdMsgs(QString text)
{
    QLabel* label = ui->label_ORVACmdStatusMsg;
    label->setText(label->text().isEmpty() ? text : label->text() + QLatin1Char('\n') + text);
    QTimer::singleShot(kMessageClearMs, this, [this] { ui->label_ORVACmdStatusMsg->clear(); });
}

void MainGUI::update_orva_command_statuses(int index, int status)
{
    if (index < 0 || index >= CommandIndexCount || !commandStatusLabels[index])
        return;
    commandStatusLabels[index]->setText(statusText(status));
}

void MainGUI::on_prepSchedReceived(QString name, int value)
{
    if (name == QLatin1String("frequency")) {
        prepFrequency = value;
    } else if (name == QLatin1String("metar_offset")) {
        prepMetarOffset = value;
        ui->spinBox_ORVA_METAR_prep_schedule->setValue(prepMinutes(prepFrequency, value));
    }
}

void MainGUI::on_pushButton_ORVAsendcommands_clicked()
{
    queueCommandRow(
        *this, CmdTransmitFrequency,
        comboCommand(RowTransmitFrequency, ui->comboBox_ORVAtransmitFrequency->currentIndex()));
    queueCommandRow(*this, CmdGps, comboCommand(RowGps, ui->comboBox_ORVAGPS->currentIndex()));

    queueElevationRow(*this);

    // An empty declination leaves its cell as it was.
    const QByteArray declination = declinationCommand(ui->lineEdit_command_declination->text());
    if (!declination.isEmpty())
        queueCommandRow(*this, CmdDeclination, declination);

    queueCommandRow(*this, CmdRf, comboCommand(RowRf, ui->comboBox_ORVARFCmd->currentIndex()));
    queueCommandRow(*this, CmdBlower,
                    comboCommand(RowBlower, ui->comboBox_ORVABlower->currentIndex()));
    queueCommandRow(*this, CmdHeater,
                    comboCommand(RowHeater, ui->comboBox_ORVAHeater->currentIndex()));
    queueCommandRow(*this, CmdLed,
                    comboCommand(RowLed, ui->comboBox_ORVALEDStatus->currentIndex()));
    queueCommandRow(*this, CmdLog,
                    comboCommand(RowDataLog, ui->comboBox_ORVADataLog->currentIndex()));
    queueCommandRow(*this, CmdDateTime,
                    textCommand("datetime", ui->lineEdit_ORVADateTimeInput->text()));
    queueCommandRow(*this, CmdIcao, textCommand("icao", ui->lineEdit_ORVAICAO->text()));
    queueCommandRow(*this, CmdSend, textCommand("send", ui->textEdit_ORVASendMsg->toPlainText()));

    const QByteArray developer = developerCommand(ui->lineEdit_devcmds->text(), devMode);
    if (!developer.isEmpty())
        writecommands(developer);

    updateORVACmdMsgs(QStringLiteral("Commands Sent to ORVA"));

    clearGeneralTab(*ui);
}

void MainGUI::on_pushButton_ORVADefaultSetting_clicked()
{
    writecommands("default\r\n");
}

void MainGUI::on_comboBox_ORVAElevation_currentIndexChanged(int index)
{
    QLineEdit* input = ui->lineEdit_ORVAElevationInput;
    if (index == 2) {
        input->show();
        input->setStyleSheet(QStringLiteral("background-color:#FFEFBD; color:black;"));
    } else {
        input->hide();
        input->setStyleSheet(QString());
    }
}

void MainGUI::on_textEdit_ORVASendMsg_cursorPositionChanged()
{
    QTextEdit* edit = ui->textEdit_ORVASendMsg;
    const QString text = edit->toPlainText();
    if (text.size() <= kMaxMessageLength)
        return;
    ui->label_ORVACmdSendMsgError->show();
    // Setting the text moves the cursor again; the shortened text ends the recursion here.
    edit->setPlainText(truncatedMessage(text));
    edit->moveCursor(QTextCursor::End);
    QTimer::singleShot(kMessageClearMs, this, [this] { ui->label_ORVACmdSendMsgError->hide(); });
}

void MainGUI::on_lineEdit_ORVAElevationInput_cursorPositionChanged()
{
    // The form binds it by name; the elevation is checked only when the commands are sent.
}

void MainGUI::on_pushButton_ORVA_METAR_prep_schedule_clicked()
{
    const int minutes = ui->spinBox_ORVA_METAR_prep_schedule->value();
    writecommands(prepFrequencyCommand(minutes));
    writecommands(prepOffsetCommand(minutes));
    const QString note = QStringLiteral("INFO: ORVA METAR prep schedule changed to: %1 minutes "
                                        "after the hour.")
                             .arg(minutes);
    emit logDataMainMsg(note.toUtf8());
    displaySystemMessages(note);
}

void MainGUI::confirmCommandPopup(QString title, QString text)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, this);
    runModal(box);
}
