// Page navigation of the left menu, the application style sheet and the start-up window size.

#include "app/maingui.h"

#include "app/dialogabout.h"
#include "app/navigation.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QScreen>

namespace
{

enum class LiveFirst { No, Yes };

void selectPage(MainGUI& window, QWidget* page, QPushButton* button, LiveFirst liveFirst)
{
    if (liveFirst == LiveFirst::Yes)
        leaveStoredObservation(window);
    window.ui->stackedWidget_mainPages->setCurrentWidget(page);
    window.uncheckMenuButtons();
    button->setChecked(true);
}

QByteArray readWhole(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray text = file.readAll();
    file.close();
    return text;
}

} // namespace

void leaveStoredObservation(MainGUI& window)
{
    // The frozen view is the state, not the button: the button is not visible while the window
    // is hidden or minimised.
    if (window.viewMode != 0 || window.ui->pushButton_show_live_data->isVisibleTo(&window))
        window.on_pushButton_show_live_data_clicked();
}

bool maximizeOnScreen(const QSize& window, const QSize& screen)
{
    return window.width() > screen.width() || window.height() > screen.height();
}

void MainGUI::on_pushButtonDashboard_clicked()
{
    selectPage(*this, ui->pageDashboardTrends, ui->pushButtonDashboard, LiveFirst::Yes);
}

void MainGUI::on_pushButtonTable_clicked()
{
    selectPage(*this, ui->pageTable, ui->pushButtonTable, LiveFirst::No);
}

void MainGUI::on_pushButtonTrends_clicked()
{
    selectPage(*this, ui->pageTrends, ui->pushButtonTrends, LiveFirst::Yes);
}

void MainGUI::on_pushButtonCommand_clicked()
{
    selectPage(*this, ui->pageCommand, ui->pushButtonCommand, LiveFirst::Yes);
}

void MainGUI::on_pushButtonRawData_clicked()
{
    selectPage(*this, ui->pageRawData, ui->pushButtonRawData, LiveFirst::Yes);
}

void MainGUI::on_pushButtonImages_clicked()
{
    selectPage(*this, ui->pageImages, ui->pushButtonImages, LiveFirst::No);
    // Makes the picture labels lay themselves out for the page.
    resize(width() + 1, height() + 1);
}

void MainGUI::on_pushButtonBitStatus_clicked()
{
    selectPage(*this, ui->pageBitStatus, ui->pushButtonBitStatus, LiveFirst::Yes);
}

void MainGUI::on_pushButtonAboutSoftware_clicked()
{
    aboutDialog->show();
}

void MainGUI::uncheckMenuButtons()
{
    for (QPushButton* button :
         {ui->pushButtonDashboard, ui->pushButtonTable, ui->pushButtonCommand, ui->pushButtonImages,
          ui->pushButtonSettings, ui->pushButtonTrends, ui->pushButtonBitStatus,
          ui->pushButtonRawData, ui->pushButtonNotifications})
        button->setChecked(false);
}

void MainGUI::showStatusMessage(QString message)
{
    statusLabel.setText(message);
}

QByteArray MainGUI::translateConstants(int which)
{
    switch (which) {
    case 1:
        return deviceTypeName(deviceType).toUtf8();
    case 2:
        return loggingTypeName(loggingType).toUtf8();
    default:
        return {};
    }
}

void MainGUI::debug1()
{
    qDebug("INFO: debug1  debug1");
}

void MainGUI::layoutSetup()
{
    initFormResources();
    // One sheet for every window and dialog: the common rules, then the dark theme over them.
    const QByteArray sheet = readWhole(QStringLiteral(":/resources/stylesheet-base.qss")) +
                             readWhole(QStringLiteral(":/resources/stylesheet-dark.qss"));
    qApp->setStyleSheet(QString::fromUtf8(sheet));

    ui->stackedWidget_MainLayout->setCurrentWidget(ui->page_mainLayout);
    ui->verticalLayout_Logo->setAlignment(Qt::AlignHCenter);
    ui->verticalLayout_Logo->setAlignment(ui->labelLogo, Qt::AlignHCenter);

    qputenv("QT_AUTO_SCREEN_SCALE_FACTOR", "1");

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Whole steps of 96 DPI only: 120 DPI keeps the form's size, below 96 there is no minimum.
    const int factorX = static_cast<int>(screen->logicalDotsPerInchX()) / 96;
    const int factorY = static_cast<int>(screen->logicalDotsPerInchY()) / 96;
    setMinimumWidth(width() * factorX);
    setMinimumHeight(height() * factorY);

    if (maximizeOnScreen(size(), screen->geometry().size())) {
        setWindowState(Qt::WindowMaximized);
        setMaximumWidth(width());
        setMaximumHeight(height() + 200);
    }
}
