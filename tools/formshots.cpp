// Shows the main window at its design size as the operator gets it (the window's own layout, style
// sheets and bundled fonts) and writes one PNG per page and dialog, for looking at the layout
// without a unit attached.
//
//   xvfb-run -a -s "-screen 0 1920x1080x24" vd-formshots <output folder> [--light] [--brq]
//
// Every page of every page stack and tab widget is shot in turn, named after its object name
// (01-pageDashboardTrends.png, ...); the dialogs follow, named after their own object names.
// The window is laid out for an ORVA unit, or for a BRQ unit with --brq.

#include "app/dialogabout.h"
#include "app/dialogencryptionkey.h"
#include "app/dialogimageschedule.h"
#include "app/dialogselectdevice.h"
#include "app/maingui.h"
#include "forms/formresources.h"
#include "reports/metarform.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdio>

namespace
{

QString sheet(const QString& name)
{
    QFile file(QStringLiteral(":/resources/stylesheet-%1.qss").arg(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
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

// Switches every page stack and tab widget above the widget to the page that holds it.
void reveal(QWidget* widget)
{
    for (QWidget* child = widget; child->parentWidget(); child = child->parentWidget()) {
        QWidget* parent = child->parentWidget();
        if (auto* stack = qobject_cast<QStackedWidget*>(parent)) {
            stack->setCurrentWidget(child);
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                tabs->setCurrentWidget(child);
        }
    }
}

class Shooter
{
public:
    explicit Shooter(const QDir& dir) : m_dir(dir) {}

    bool shoot(QWidget* window, const QString& name)
    {
        settle(window);
        const QString path = m_dir.filePath(
            QStringLiteral("%1-%2.png").arg(++m_number, 2, 10, QLatin1Char('0')).arg(name));
        if (!window->grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
        std::printf("%s\n", qPrintable(path));
        return true;
    }

    // Every page of every stack and tab widget of the window, the window's first page last.
    bool shootPages(QWidget* window)
    {
        bool ok = true;
        for (auto* stack : window->findChildren<QStackedWidget*>()) {
            if (qobject_cast<QTabWidget*>(stack->parentWidget()) || stack->objectName().isEmpty())
                continue; // a tab widget's own stack; its tabs are the pages
            for (int i = 0; i < stack->count(); ++i) {
                reveal(stack->widget(i));
                ok &= shoot(window, stack->widget(i)->objectName());
            }
        }
        for (auto* tabs : window->findChildren<QTabWidget*>()) {
            for (int i = 0; i < tabs->count(); ++i) {
                reveal(tabs->widget(i));
                ok &= shoot(window, tabs->widget(i)->objectName());
            }
        }
        return ok;
    }

private:
    QDir m_dir;
    int m_number = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    // The window reads and writes its settings and logs: keep the operator's own out of it.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantora Direct"));
    const QStringList args = QApplication::arguments().mid(1);
    const QStringList folders = args.filter(QRegularExpression(QStringLiteral("^[^-]")));
    if (folders.size() != 1) {
        std::fprintf(stderr, "usage: %s <output folder> [--light] [--brq]\n", argv[0]);
        return 2;
    }
    QDir dir(folders.first());
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }

    registerFormFonts();
    MainGUI window;
    window.deviceType =
        args.contains(QStringLiteral("--brq")) ? DeviceTypes::BRQ : DeviceTypes::ORVA;
    window.updateLayout();
    if (args.contains(QStringLiteral("--light")))
        app.setStyleSheet(sheet(QStringLiteral("base")) + sheet(QStringLiteral("light")));
    window.resize(1656, 877);
    settle(&window);
    // The settings and SPECI pages are laid out as the operator first opens them.
    window.on_pushButtonSettings_clicked();
    settle(&window);
    window.on_pushButton_editSpeciSettings_clicked();
    settle(&window);
    window.on_pushButton_returnSPECISettings_clicked();
    window.on_pushButtonDashboard_clicked();
    if (window.size() != QSize(1656, 877))
        std::fprintf(stderr, "window is %dx%d, not 1656x877\n", window.width(), window.height());

    // A round target in a 4:3 picture on every camera shows how pictures are scaled.
    QTemporaryDir pictures;
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(QColor(0x43, 0xA7, 0xA2));
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::white, 8));
    painter.drawEllipse(QPoint(320, 240), 200, 200);
    painter.end();
    const QString picturePath = pictures.filePath(QStringLiteral("camera.png"));
    picture.save(picturePath);
    for (int camera = 1; camera <= 4; ++camera)
        window.displayImageDataProgress(picturePath, camera, QStringLiteral("12:00:00"),
                                        90.0 * camera, QStringLiteral("2026-01-01"));

    Shooter shooter(dir);
    bool ok = shooter.shootPages(&window);

    dialogImageSchedule schedule(&window);
    const QList<QWidget*> dialogs = {window.selectDeviceDialog, window.encryptionKeyDialog,
                                     window.aboutDialog, window.metarForm, &schedule};
    for (QWidget* dialog : dialogs) {
        dialog->show();
        ok &= shooter.shootPages(dialog);
        if (dialog->findChildren<QStackedWidget*>().isEmpty())
            ok &= shooter.shoot(dialog, dialog->objectName());
        dialog->hide();
    }
    return ok ? 0 : 1;
}
