// The alert, error and system message panes of the notifications page.

#include "app/maingui.h"

#include "alerts/messagepanerules.h"
#include "decoder/clock.h"
#include "forms/maingui_ui.h"

void MainGUI::displayAlertMessages(QString message)
{
    addPaneMessage(ui->textEdit_ActiveAlerts, MessagePane::Alerts, message, Clock::now(),
                   unreadAlerts);
    if (ui->tabWidget_Notifications->currentIndex() != int(MessagePane::Alerts))
        updateAlertsCount();
}

void MainGUI::displaySystemMessages(QString message)
{
    addPaneMessage(ui->textEdit_SysMsgs, MessagePane::System, message, Clock::now(), unreadSystem);
    if (ui->tabWidget_Notifications->currentIndex() != int(MessagePane::System))
        updateAlertsCount();
}

void MainGUI::displayErrorMessages(QString message)
{
    addPaneMessage(ui->textEdit_ErrorMsgs, MessagePane::Errors, message, Clock::now(),
                   unreadErrors);
    if (ui->tabWidget_Notifications->currentIndex() != int(MessagePane::Errors))
        updateAlertsCount();
}
