// Camera transfer status in the status bar and on the dashboard.

#include "app/maingui.h"

#include "forms/maingui_ui.h"

#include <QEvent>
#include <QProgressBar>
#include <QStackedWidget>

namespace
{

// Whoever hides the progress bar (a finished image, a shown record), the connection text must
// come back to the front of the status bar's stack.
class ProgressBarHideWatch : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::HideToParent) {
            auto* bar = qobject_cast<QWidget*>(watched);
            // The cast fails while the stack is being destroyed, which keeps this out of it.
            auto* stack = bar ? qobject_cast<QStackedWidget*>(bar->parentWidget()) : nullptr;
            if (stack && stack->currentWidget() == bar)
                stack->setCurrentIndex(0);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void MainGUI::imageAcqisitionActive(bool active)
{
    const QString pixmap = active ? QStringLiteral(":/resources/camera-on.png")
                                  : QStringLiteral(":/resources/camera-off-grey.png");
    const QString tip =
        active ? QStringLiteral("Cameras Active") : QStringLiteral("Cameras Inactive");
    ui->labelCamera->setPixmap(QPixmap(pixmap));
    ui->labelCamera->setToolTip(tip);
    ui->label_StatusCamera->setEnabled(active);
    ui->label_StatusCamera->setToolTip(tip);
    // A transfer that ended, finished or abandoned, has no progress left to show.
    if (!active && imageProgressBar)
        imageProgressBar->hide();
}

void MainGUI::imageProgressInfo(int camera, int packet)
{
    // Both exist once the pages are laid out; no packet can be shown before that.
    if (!statusRightStack || !imageProgressBar)
        return;
    const QString watchName = QStringLiteral("progressBarHideWatch");
    if (!imageProgressBar->findChild<QObject*>(watchName, Qt::FindDirectChildrenOnly)) {
        auto* watch = new ProgressBarHideWatch(imageProgressBar);
        watch->setObjectName(watchName);
        imageProgressBar->installEventFilter(watch);
    }

    statusRightStack->setCurrentIndex(1);
    imageProgressBar->setFormat(QStringLiteral("Camera %1 Data").arg(camera));
    imageProgressBar->show();
    imageProgressBar->setValue(
        packet <= imageProgressMaximum ? packet : qRound(imageProgressMaximum * 0.99));
}
