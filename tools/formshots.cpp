// Shows the main window form at its design size with the application's style sheets and writes
// one PNG per page, for looking at the layout without a unit attached.
//
//   xvfb-run -a -s "-screen 0 1920x1080x24" vd-formshots <output folder> [--light]
//
// The pages are named after their object names: 00-page_encryptionStart.png (the key page),
// then 01-pageDashboardTrends.png to 09-pageRawData.png in the order of the page stack.
// The command page's panels and tabs follow its own picture, as 03-pageCommand-<panel or tab>.png.

#include "forms/formresources.h"
#include "forms/maingui_ui.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QRegularExpression>
#include <QWindow>

#include <cstdio>

namespace
{

QString themeSheet(bool light)
{
    QString sheet;
    for (const QString& name :
         {QStringLiteral("base"), light ? QStringLiteral("light") : QStringLiteral("dark")}) {
        QFile file(QStringLiteral(":/resources/stylesheet-%1.qss").arg(name));
        if (file.open(QIODevice::ReadOnly))
            sheet += QString::fromUtf8(file.readAll());
    }
    return sheet;
}

// Lets the window system show and lay out what was just switched to.
void settle(QWidget* window)
{
    QDeadlineTimer deadline(2000);
    while (!deadline.hasExpired() &&
           !(window->windowHandle() && window->windowHandle()->isExposed()))
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool shoot(QWidget* window, const QDir& dir, int number, const QString& page)
{
    settle(window);
    const QString path =
        dir.filePath(QStringLiteral("%1-%2.png").arg(number, 2, 10, QLatin1Char('0')).arg(page));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    const QStringList folders = args.filter(QRegularExpression(QStringLiteral("^[^-]")));
    if (folders.size() != 1) {
        std::fprintf(stderr, "usage: %s <output folder> [--light]\n", argv[0]);
        return 2;
    }
    QDir dir(folders.first());
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }

    registerFormFonts();
    QMainWindow window;
    Ui_MainGUI ui;
    ui.setupUi(&window);
    // After setupUi, as the window does it: a sheet applied before the widgets exist stops the
    // window's font from reaching the widgets that have none of their own.
    app.setStyleSheet(themeSheet(args.contains(QStringLiteral("--light"))));
    window.resize(1656, 877);
    window.show();
    settle(&window);
    if (window.size() != QSize(1656, 877))
        std::fprintf(stderr, "window is %dx%d, not 1656x877\n", window.width(), window.height());

    bool ok = true;
    ui.stackedWidget_MainLayout->setCurrentWidget(ui.page_encryptionStart);
    ok &= shoot(&window, dir, 0, ui.page_encryptionStart->objectName());
    ui.stackedWidget_MainLayout->setCurrentWidget(ui.page_mainLayout);
    for (int i = 0; i < ui.stackedWidget_mainPages->count(); ++i) {
        ui.stackedWidget_mainPages->setCurrentIndex(i);
        ok &= shoot(&window, dir, i + 1, ui.stackedWidget_mainPages->widget(i)->objectName());
    }

    // The command page shows one panel per kind of unit, and the ORVA panel has four tabs.
    const int commandShot = ui.stackedWidget_mainPages->indexOf(ui.pageCommand) + 1;
    ui.stackedWidget_mainPages->setCurrentWidget(ui.pageCommand);
    for (int panel = 0; panel < ui.stackedWidget_CommandConfiguration->count(); ++panel) {
        ui.stackedWidget_CommandConfiguration->setCurrentIndex(panel);
        QWidget* shown = ui.stackedWidget_CommandConfiguration->currentWidget();
        if (shown != ui.page_ORVACmdsMain) {
            ok &= shoot(&window, dir, commandShot,
                        QStringLiteral("pageCommand-") + shown->objectName());
            continue;
        }
        for (int tab = 0; tab < ui.tabWidget->count(); ++tab) {
            ui.tabWidget->setCurrentIndex(tab);
            ok &= shoot(&window, dir, commandShot,
                        QStringLiteral("pageCommand-") + ui.tabWidget->widget(tab)->objectName());
        }
        ui.tabWidget->setCurrentIndex(0);
    }
    return ok ? 0 : 1;
}
