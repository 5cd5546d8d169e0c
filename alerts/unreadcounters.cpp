// Unread counts on the notification tabs and the Notifications menu button.

#include "app/maingui.h"

#include "alerts/notificationcounts.h"
#include "app/navigation.h"
#include "forms/maingui_ui.h"

#include <QIcon>

namespace
{
const QString kNotificationsIcon = QStringLiteral(":/resources/notifications_icon.png");
}

void MainGUI::updateAlertsCount()
{
    QTabWidget* tabs = ui->tabWidget_Notifications;
    const int current = tabs->currentIndex();
    const bool pageOpen = ui->pushButtonNotifications->isChecked();
    const int counts[3] = {unreadAlerts, unreadErrors, unreadSystem};
    for (int tab = 0; tab < 3; ++tab) {
        const bool show = notificationTabShowsCount(tab, counts[tab], current, pageOpen);
        tabs->setTabText(tab, notificationTabText(tab, counts[tab], show));
    }
    setNotificationNumber(
        notificationMenuNumberText(notificationMenuNumber(current, unreadAlerts, unreadErrors)));
}

void MainGUI::setNotificationNumber(QString number)
{
    const QString text = notificationButtonText(number);
    if (text.isEmpty())
        return;
    ui->pushButtonNotifications->setText(text);
    if (number == QLatin1String("0"))
        ui->pushButtonNotifications->setIcon(QIcon(kNotificationsIcon));
}

int MainGUI::getTotalNotificationNumber()
{
    return totalNotificationNumber(unreadAlerts, unreadErrors);
}

void MainGUI::on_tabWidget_Notifications_currentChanged(int index)
{
    switch (index) {
    case 0:
        unreadAlerts = 0;
        break;
    case 1:
        unreadErrors = 0;
        break;
    case 2:
        unreadSystem = 0;
        break;
    default:
        return;
    }
    ui->tabWidget_Notifications->setTabText(index, notificationTabText(index, 0, false));
    if (index != 2)
        setNotificationNumber(QString::number(getTotalNotificationNumber()));
}

void MainGUI::on_pushButtonNotifications_clicked()
{
    leaveStoredObservation(*this);
    ui->stackedWidget_mainPages->setCurrentWidget(ui->pageNotifications);
    ui->tabWidget_Notifications->setCurrentIndex(0);
    unreadAlerts = 0;
    uncheckMenuButtons();
    ui->pushButtonNotifications->setChecked(true);
    ui->pushButtonNotifications->setIcon(QIcon(kNotificationsIcon));
    setNotificationNumber(QString::number(getTotalNotificationNumber()));
}

void MainGUI::on_pushButton_clearNotifications_clicked()
{
    ui->textEdit_ActiveAlerts->clear();
    ui->textEdit_ErrorMsgs->clear();
    ui->textEdit_SysMsgs->clear();
    ui->tabWidget_Notifications->setCurrentIndex(0);
    ui->pushButtonNotifications->setIcon(QIcon(kNotificationsIcon));
    unreadAlerts = 0;
    unreadErrors = 0;
    unreadSystem = 0;
    setNotificationNumber(QStringLiteral("0"));
    updateAlertsCount();
}

int MainGUI::getDigits(int n)
{
    return digitCount(n);
}
