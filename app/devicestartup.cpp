// Device start-up: from the operator's choice in the device dialog to an open link, and back
// to the dialog for a new connection.

#include "app/maingui.h"

#include "app/dialogselectdevice.h"
#include "app/modalrunner.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"

#include <QDebug>
#include <QMessageBox>
#include <QThread>

namespace
{

const char kWaitingForData[] = "Waiting for Data...";
const char kReportHistoryNote[] =
    "* History of standard METARs (hourly observations on the 55th minute), edited METARs and "
    "SPECIs are tracked on this page (max 24 hours)";

// How a new connection leaves one group of widgets for each family.
enum class Vis { Shown, Hidden, Keep };

struct VisibilityRow {
    QList<QWidget*> widgets;
    Vis brq;
    Vis orva;
    Vis legacy;
};

void apply(const QList<QWidget*>& widgets, Vis vis)
{
    if (vis == Vis::Keep)
        return;
    for (QWidget* widget : widgets)
        widget->setVisible(vis == Vis::Shown);
}

// A new connection shows what the unit's family has, from the pages to the report widgets; a
// non-legacy ORVA unit is asked for its report schedule.
void applyNewConnectionLayout(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    const QList<VisibilityRow> rows = {
        {{ui.page_BrqCommand}, Vis::Shown, Vis::Hidden, Vis::Hidden},
        {{ui.page_ORVACmdsMain}, Vis::Hidden, Vis::Shown, Vis::Shown},
        {{ui.page_OrvaCommands}, Vis::Hidden, Vis::Keep, Vis::Keep},
        {{ui.pushButtonImages}, Vis::Shown, Vis::Hidden, Vis::Hidden},
        {{ui.labelTableBitStatus, ui.label_orvabitstatus, ui.pushButtonBitStatus},
         Vis::Hidden,
         Vis::Shown,
         Vis::Hidden},
        {{ui.label_ORVAMETARMode, ui.radioButtonORVAMETAR_Semiauto, ui.radioButtonORVAMETAR_Auto,
          ui.radioButtonORVAMETAR_Manual},
         Vis::Hidden,
         Vis::Shown,
         Vis::Hidden},
        {{ui.pushButton_editMetar}, Vis::Hidden, Vis::Keep, Vis::Keep},
        {{ui.NoteMETARSentIcon, ui.NoteMETARSentIconText}, Vis::Hidden, Vis::Shown, Vis::Hidden},
        {{ui.pushButton_saveAndSendMetar}, Vis::Keep, Vis::Shown, Vis::Hidden},
        {{ui.checkBox_hideMETARModePopUp, ui.label_ORVAMETARSchedule,
          ui.label_ORVA_METAR_prep_schedule, ui.spinBox_ORVA_METAR_prep_schedule,
          ui.pushButton_ORVA_METAR_prep_schedule},
         Vis::Hidden,
         Vis::Shown,
         Vis::Hidden},
        {{ui.label_ORVA_METAR_transmit_delay, ui.timeEdit_ORVA_METAR_transmit_delay,
          ui.label_ORVA_METAR_transmit_delay_2},
         Vis::Hidden,
         Vis::Keep,
         Vis::Hidden},
        {{ui.graphicsView_Lightning, ui.label_9, ui.pushButton_lightninglegend_green,
          ui.pushButton_lightninglegend_red, ui.pushButton_lightninglegend_yellow},
         Vis::Hidden,
         Vis::Shown,
         Vis::Hidden},
    };
    if (window.deviceType == DeviceTypes::BRQ || window.deviceType == DeviceTypes::ORVA) {
        for (const VisibilityRow& row : rows) {
            apply(row.widgets, window.deviceType == DeviceTypes::BRQ ? row.brq
                               : window.legacyOrva                   ? row.legacy
                                                                     : row.orva);
        }
    }
    if (window.deviceType == DeviceTypes::ORVA && !window.legacyOrva) {
        ui.label_10->setText(QString::fromLatin1(kReportHistoryNote));
        window.writecommands("frequency\r\n");
        window.writecommands("metar_offset\r\n");
    }
    if (window.deviceType == DeviceTypes::ORVA)
        qDebug() << "ORVA Legacy Flag at startup " << window.legacyOrva;
}

} // namespace

void MainGUI::showSelectDevice()
{
    selectDeviceDialog->show();
}

void MainGUI::startupDevice(DeviceTypes type, QString port)
{
    deviceType = type;
    emit setDeviceType(type);

    ui->textEditRawData->setPlainText(QString::fromLatin1(kWaitingForData));
    ui->labelUnitType->clear();

    if (firstLayoutPending) {
        updateLayout();
        firstLayoutPending = false;
    }

    if (deviceLayoutPending) {
        applyNewConnectionLayout(*this);
        deviceLayoutPending = false;
    }

    show();
    openserialport(port);

    if (ui->pushButton_show_live_data->isVisible())
        on_pushButton_show_live_data_clicked();

    ui->stackedWidget_mainPages->setCurrentWidget(ui->pageDashboardTrends);
    uncheckMenuButtons();
    ui->pushButtonDashboard->setChecked(true);
}

void MainGUI::startupBRQPowerOff(DeviceTypes type, QString port, QByteArray commands)
{
    const char line[] = "INFO: Starting BRQ Startup Sequence from Power OFF State";
    qDebug("%s", line);
    emit logDataMainMsg(line);

    ui->textEditRawData->setPlainText(QString::fromLatin1(kWaitingForData));
    ui->labelUnitType->clear();

    deviceType = type;
    emit setDeviceType(type);

    if (firstLayoutPending) {
        updateLayout();
        firstLayoutPending = false;
    }

    if (deviceLayoutPending) {
        if (deviceType == DeviceTypes::BRQ) {
            ui->page_BrqCommand->show();
            ui->page_OrvaCommands->hide();
            ui->page_ORVACmdsMain->hide();
            ui->pushButtonImages->show();
            for (QWidget* widget : {static_cast<QWidget*>(ui->pushButton_editMetar),
                                    static_cast<QWidget*>(ui->pushButtonBitStatus),
                                    static_cast<QWidget*>(ui->label_ORVAMETARMode),
                                    static_cast<QWidget*>(ui->radioButtonORVAMETAR_Semiauto),
                                    static_cast<QWidget*>(ui->radioButtonORVAMETAR_Auto),
                                    static_cast<QWidget*>(ui->radioButtonORVAMETAR_Manual)})
                widget->hide();
        }
        deviceLayoutPending = false;
    }

    brqStartupPending = true;
    emit setStartupSequence(true);

    show();
    openserialport(port);
    writecommands(commands);

    if (QMessageBox* notice = showBrqPowerOnNotice())
        brqPowerOnNotices.append(notice);
}

void MainGUI::setupConfiguration(QString status)
{
    // Only the power-off start-up that is still running may end in success; an end of
    // configuration left over from an abandoned one says nothing about this connection.
    if (status != QLatin1String("EndSequence") || !brqStartupPending)
        return;
    brqStartupPending = false;
    connectionStatusLabel.setText(QStringLiteral("BRQ Configured. Waiting for Data..."));
    QMessageBox box(QMessageBox::Information, QStringLiteral("Success"),
                    QStringLiteral("BRQ setup sent to unit! \n\nData will be received according "
                                   "to the selected reporting mode."),
                    QMessageBox::Close, this);
    runModal(box);
}

void MainGUI::SetConfiguration(QString status)
{
    setupConfiguration(status);
}

void MainGUI::openserialport(QString port)
{
    if (!threadData->isRunning())
        threadData->start(QThread::InheritPriority);
    emit openSerial(port);
    statusLabel.clear();
    connectionStatusLabel.setText(QStringLiteral("Connecting to Device..."));
}

void MainGUI::closeserialport()
{
    emit closeSerial();
    statusLabel.setText(QStringLiteral("Disconnected from Device."));
    connectionStatusLabel.clear();
}

void MainGUI::on_pushButtonSetupConnection_clicked()
{
    metarForm->close();

    // Commands belong to the connection they were queued for; none may reach the next unit.
    commandQueue.clear();
    cmdWriteTimer->stop();
    if (brqStartupPending) {
        brqStartupPending = false;
        emit setStartupSequence(false);
    }

    emit clearTamperingData();
    emit closeSerial();
    statusLabel.setText(QStringLiteral("Disconnected from Device."));
    connectionStatusLabel.clear();
    clearValues();
    // After the panes are cleared, so that the operator still sees which report was not sent.
    metarForm->transaction.endForNewConnection();
    deviceLayoutPending = true;
    emit logDataMainMsg("INFO: New Device Connection requested");
    selectDeviceDialog->show();
}
