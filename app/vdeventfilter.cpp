#include "app/vdeventfilter.h"

#include "app/maingui.h"

#include <QKeyEvent>
#include <QWidget>

VDEventFilter::VDEventFilter(QObject* parent, MainGUI* mainWindow)
    : QObject(parent), mainWindow(mainWindow)
{
}

VDEventFilter::~VDEventFilter() = default;

bool VDEventFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    // The keypad's Enter is deliberately not Return.
    if (watched->objectName() != QLatin1String("lineEdit_rawSendMsg") ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Return)
        return QObject::eventFilter(watched, event);
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !widget->hasFocus() || !mainWindow)
        return QObject::eventFilter(watched, event);
    mainWindow->on_pushButton_rawSendMsg_clicked();
    return true;
}
