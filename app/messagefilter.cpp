#include "app/messagefilter.h"

namespace
{

QtMessageHandler g_previous = nullptr;

const char kUnmatchedSlot[] = "QMetaObject::connectSlotsByName: No matching signal for ";

// Every slot of the forms' classes that is named on_..._... but is connected by hand to a worker,
// a model or a timer, or called directly; setupUi can find no signal for any of them. A by-name
// slot whose widget was renamed on its form is not here, so its warning still shows.
const char* const kHandWiredSlots[] = {
    // MainGUI
    "on_realtime_updated(QJsonObject)",
    "on_send_decoded_data(QByteArray)",
    "on_SPECI_visibilitymodel_datachanged(QModelIndex,QModelIndex,QVector<int>)",
    "on_SPECI_ceilingmodel_datachanged(QModelIndex,QModelIndex,QVector<int>)",
    "on_lightning_parameters_received(int,int,int)",
    "on_lightning_autocal_confirmed()",
    "on_lightning_autocal_complete()",
    "on_lightning_progress()",
    "on_lightning_command_error()",
    "on_enable_disable_response(QString)",
    "on_stack_command_timeout()",
    "on_encryption_status_change(int)",
    "on_encryption_confirmation_status_change(KeyChangeState)",
    "on_encryption_passkey_set_timeout()",
    // MetarForm
    "on_metar_mode_change(ORVAMetarMode)",
    "on_metar_generated(QJsonObject)",
    "on_speci_generated(QJsonObject)",
    "on_send_metar_confirmed(QString)",
    "on_send_metar_manual_or_semiauto(Observation)",
    "on_timer_tick()",
};

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!isUnmatchedSlotWarning(type, message))
        g_previous(type, context, message);
}

} // namespace

bool isUnmatchedSlotWarning(QtMsgType type, const QString& message)
{
    if (type != QtWarningMsg || !message.startsWith(QLatin1String(kUnmatchedSlot)))
        return false;
    const QStringRef slot = message.midRef(int(sizeof kUnmatchedSlot) - 1);
    for (const char* handWired : kHandWiredSlots) {
        if (slot == QLatin1String(handWired))
            return true;
    }
    return false;
}

void installOperatorMessageFilter()
{
    // Qt hands back its default handler when none was installed, so there is always one to call.
    const QtMessageHandler previous = qInstallMessageHandler(filterMessage);
    if (previous != filterMessage)
        g_previous = previous;
}
