#include "app/messagefilter.h"

namespace
{

QtMessageHandler g_previous = nullptr;

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!isUnmatchedSlotWarning(type, message))
        g_previous(type, context, message);
}

} // namespace

bool isUnmatchedSlotWarning(QtMsgType type, const QString& message)
{
    return type == QtWarningMsg &&
           message.startsWith(
               QLatin1String("QMetaObject::connectSlotsByName: No matching signal for on_"));
}

void installOperatorMessageFilter()
{
    // Qt hands back its default handler when none was installed, so there is always one to call.
    const QtMessageHandler previous = qInstallMessageHandler(filterMessage);
    if (previous != filterMessage)
        g_previous = previous;
}
