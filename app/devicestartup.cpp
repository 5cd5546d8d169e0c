// Device start-up: from the operator's choice in the device dialog to an open link, and back
// to the dialog for a new connection.

#include "app/maingui.h"

#include "app/dialogselectdevice.h"
#include "app/modalrunner.h"
#include "app/orvacommands.h"
#include "app/pagelayout.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"

#include <QDebug>
#include <QMessageBox>
#include <QThread>

namespace
{

const char kWaitingForData[] = "Waiting for Data...";

// The first start-up lays the whole window out; one after "Setup..." lays it out again for the
// new unit's family, with the set of widgets that start-up has.
void layOutForDevice(MainGUI& window, void (*familyLayout)(MainGUI&))
{
    if (window.firstLayoutPending) {
        window.updateLayout();
        window.firstLayoutPending = false;
        // The whole layout is the family's too: a second pass would ask the unit twice.
        window.deviceLayoutPending = false;
    }
    if (window.deviceLayoutPending) {
        familyLayout(window);
        window.deviceLayoutPending = false;
    }
    // A current ORVA unit after one of another family finds no compass made for it yet.
    setUpLightningCompass(window);
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

    layOutForDevice(*this, applyDeviceFamilyLayout);

    show();
    openserialport(port);
    // Back to live data, if a stored report is shown, and to the dashboard.
    on_pushButtonDashboard_clicked();
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

    layOutForDevice(*this, applyPowerOffFamilyLayout);

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
    strikeOwner.connectionEnded();
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

    // Strikes from now on may be the next unit's.
    strikeOwner.connectionEnded();
    // The link forgets its tamper reference: no warning of this unit is left to clear.
    emit clearTamperingData();
    ui->pushButton_ClearTamperingWarning->hide();
    emit closeSerial();
    statusLabel.setText(QStringLiteral("Disconnected from Device."));
    connectionStatusLabel.clear();
    clearValues();
    clearCommandStatuses(*this);
    // After the panes are cleared, so that the operator still sees which report was not sent.
    metarForm->endConnection();
    deviceLayoutPending = true;
    emit logDataMainMsg("INFO: New Device Connection requested");
    selectDeviceDialog->show();
}
