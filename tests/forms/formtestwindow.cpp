#include "formtestwindow.h"

#include <QAbstractButton>
#include <QMetaMethod>

FormTestWindow::FormTestWindow(QWidget* parent) : QMainWindow(parent) {}

void FormTestWindow::record(const QString& slot, const QVariantList& args)
{
    Call call;
    call.slot = slot;
    call.args = args;
    if (QObject* from = sender()) {
        call.senderName = from->objectName();
        const int index = senderSignalIndex();
        if (index >= 0)
            call.senderSignal =
                QString::fromLatin1(from->metaObject()->method(index).methodSignature());
        if (auto* button = qobject_cast<QAbstractButton*>(from); button && button->isCheckable())
            call.senderChecked = button->isChecked();
    }
    calls.append(call);
}

void FormTestWindow::on_pushButton_enterEncryptionKeyProgram_clicked()
{
    record(QStringLiteral("on_pushButton_enterEncryptionKeyProgram_clicked()"));
}

void FormTestWindow::on_pushButton_forceSelectKeyFile_clicked()
{
    record(QStringLiteral("on_pushButton_forceSelectKeyFile_clicked()"));
}

void FormTestWindow::on_pushButtonDashboard_clicked()
{
    record(QStringLiteral("on_pushButtonDashboard_clicked()"));
}

void FormTestWindow::on_pushButtonTable_clicked()
{
    record(QStringLiteral("on_pushButtonTable_clicked()"));
}

void FormTestWindow::on_pushButtonTrends_clicked()
{
    record(QStringLiteral("on_pushButtonTrends_clicked()"));
}

void FormTestWindow::on_pushButtonCommand_clicked()
{
    record(QStringLiteral("on_pushButtonCommand_clicked()"));
}

void FormTestWindow::on_pushButtonRawData_clicked()
{
    record(QStringLiteral("on_pushButtonRawData_clicked()"));
}

void FormTestWindow::on_pushButtonImages_clicked()
{
    record(QStringLiteral("on_pushButtonImages_clicked()"));
}

void FormTestWindow::on_pushButtonBitStatus_clicked()
{
    record(QStringLiteral("on_pushButtonBitStatus_clicked()"));
}

void FormTestWindow::on_pushButtonNotifications_clicked()
{
    record(QStringLiteral("on_pushButtonNotifications_clicked()"));
}

void FormTestWindow::on_pushButtonSettings_clicked()
{
    record(QStringLiteral("on_pushButtonSettings_clicked()"));
}

void FormTestWindow::on_pushButton_show_live_data_clicked()
{
    record(QStringLiteral("on_pushButton_show_live_data_clicked()"));
}

void FormTestWindow::on_pushButton_ClearTamperingWarning_clicked()
{
    record(QStringLiteral("on_pushButton_ClearTamperingWarning_clicked()"));
}

void FormTestWindow::on_pushButton_UpdateRunwayDirection_clicked()
{
    record(QStringLiteral("on_pushButton_UpdateRunwayDirection_clicked()"));
}

void FormTestWindow::on_pushButton_HideRunway_clicked()
{
    record(QStringLiteral("on_pushButton_HideRunway_clicked()"));
}

void FormTestWindow::on_pushButton_editMetar_clicked()
{
    record(QStringLiteral("on_pushButton_editMetar_clicked()"));
}

void FormTestWindow::on_pushButton_saveAndSendMetar_clicked()
{
    record(QStringLiteral("on_pushButton_saveAndSendMetar_clicked()"));
}

void FormTestWindow::on_pushButton_saveMetar_clicked()
{
    record(QStringLiteral("on_pushButton_saveMetar_clicked()"));
}

void FormTestWindow::on_pushButton_cancelSaveMetar_clicked()
{
    record(QStringLiteral("on_pushButton_cancelSaveMetar_clicked()"));
}

void FormTestWindow::on_comboBoxViewMetar_currentIndexChanged(int index)
{
    record(QStringLiteral("on_comboBoxViewMetar_currentIndexChanged(int)"), {index});
}

void FormTestWindow::on_pushButton_viewLatest_clicked()
{
    record(QStringLiteral("on_pushButton_viewLatest_clicked()"));
}

void FormTestWindow::on_pushButtonSendCmds_clicked()
{
    record(QStringLiteral("on_pushButtonSendCmds_clicked()"));
}

void FormTestWindow::on_comboBoxCmdCamera_currentIndexChanged(int index)
{
    record(QStringLiteral("on_comboBoxCmdCamera_currentIndexChanged(int)"), {index});
}

void FormTestWindow::on_comboBoxCmdMode_currentIndexChanged(int index)
{
    record(QStringLiteral("on_comboBoxCmdMode_currentIndexChanged(int)"), {index});
}

void FormTestWindow::on_comboBoxCmdGps_currentIndexChanged(int index)
{
    record(QStringLiteral("on_comboBoxCmdGps_currentIndexChanged(int)"), {index});
}

void FormTestWindow::on_comboBox_ORVAElevation_currentIndexChanged(int index)
{
    record(QStringLiteral("on_comboBox_ORVAElevation_currentIndexChanged(int)"), {index});
}

void FormTestWindow::on_textEdit_ORVASendMsg_cursorPositionChanged()
{
    record(QStringLiteral("on_textEdit_ORVASendMsg_cursorPositionChanged()"));
}

void FormTestWindow::on_lineEdit_ORVAElevationInput_cursorPositionChanged()
{
    record(QStringLiteral("on_lineEdit_ORVAElevationInput_cursorPositionChanged()"));
}

void FormTestWindow::on_pushButton_ORVAsendcommands_clicked()
{
    record(QStringLiteral("on_pushButton_ORVAsendcommands_clicked()"));
}

void FormTestWindow::on_pushButton_ORVADefaultSetting_clicked()
{
    record(QStringLiteral("on_pushButton_ORVADefaultSetting_clicked()"));
}

void FormTestWindow::on_pushButton_orva_stack_clear_clicked()
{
    record(QStringLiteral("on_pushButton_orva_stack_clear_clicked()"));
}

void FormTestWindow::on_pushButton_orva_stack_refresh_clicked()
{
    record(QStringLiteral("on_pushButton_orva_stack_refresh_clicked()"));
}

void FormTestWindow::on_pushButton_orva_stack_submit_clicked()
{
    record(QStringLiteral("on_pushButton_orva_stack_submit_clicked()"));
}

void FormTestWindow::on_pushButton_orva_commands_rflos_clear_clicked()
{
    record(QStringLiteral("on_pushButton_orva_commands_rflos_clear_clicked()"));
}

void FormTestWindow::on_pushButton_RFLOS_send_commands_clicked()
{
    record(QStringLiteral("on_pushButton_RFLOS_send_commands_clicked()"));
}

void FormTestWindow::on_pushButton_orva_lightning_set_bz_clicked()
{
    record(QStringLiteral("on_pushButton_orva_lightning_set_bz_clicked()"));
}

void FormTestWindow::on_pushButton_orva_lightning_set_bx_clicked()
{
    record(QStringLiteral("on_pushButton_orva_lightning_set_bx_clicked()"));
}

void FormTestWindow::on_pushButton_orva_lightning_set_by_clicked()
{
    record(QStringLiteral("on_pushButton_orva_lightning_set_by_clicked()"));
}

void FormTestWindow::on_pushButton_orva_lightning_autocal_clicked()
{
    record(QStringLiteral("on_pushButton_orva_lightning_autocal_clicked()"));
}

void FormTestWindow::on_pushButton_orva_lightning_clear_clicked()
{
    record(QStringLiteral("on_pushButton_orva_lightning_clear_clicked()"));
}

void FormTestWindow::on_pushButton_orva_lightning_refresh_clicked()
{
    record(QStringLiteral("on_pushButton_orva_lightning_refresh_clicked()"));
}

void FormTestWindow::on_pushButtonCmdORVA_clicked()
{
    record(QStringLiteral("on_pushButtonCmdORVA_clicked()"));
}

void FormTestWindow::on_pushButtonCmdResetSettings_clicked()
{
    record(QStringLiteral("on_pushButtonCmdResetSettings_clicked()"));
}

void FormTestWindow::on_pushButtonCmdResetUnit_clicked()
{
    record(QStringLiteral("on_pushButtonCmdResetUnit_clicked()"));
}

void FormTestWindow::on_pushButtonLogFileLocationOpen_clicked()
{
    record(QStringLiteral("on_pushButtonLogFileLocationOpen_clicked()"));
}

void FormTestWindow::on_comboBox_Logging_currentIndexChanged(int index)
{
    record(QStringLiteral("on_comboBox_Logging_currentIndexChanged(int)"), {index});
}

void FormTestWindow::on_pushButton_editSpeciSettings_clicked()
{
    record(QStringLiteral("on_pushButton_editSpeciSettings_clicked()"));
}

void FormTestWindow::on_pushButton_alertSettings_clicked()
{
    record(QStringLiteral("on_pushButton_alertSettings_clicked()"));
}

void FormTestWindow::on_checkBox_SPECI_alerts_clicked()
{
    record(QStringLiteral("on_checkBox_SPECI_alerts_clicked()"));
}

void FormTestWindow::on_pushButton_createEncryptionPasskey_clicked()
{
    record(QStringLiteral("on_pushButton_createEncryptionPasskey_clicked()"));
}

void FormTestWindow::on_pushButton_chooseEncryptionKeyLocation_clicked()
{
    record(QStringLiteral("on_pushButton_chooseEncryptionKeyLocation_clicked()"));
}

void FormTestWindow::on_pushButtonEnableEncryption_clicked()
{
    record(QStringLiteral("on_pushButtonEnableEncryption_clicked()"));
}

void FormTestWindow::on_pushButtonDisableEncryption_clicked()
{
    record(QStringLiteral("on_pushButtonDisableEncryption_clicked()"));
}

void FormTestWindow::on_pushButtonAboutSoftware_clicked()
{
    record(QStringLiteral("on_pushButtonAboutSoftware_clicked()"));
}

void FormTestWindow::on_radioButton24HrPrecipAccum12Z_clicked()
{
    record(QStringLiteral("on_radioButton24HrPrecipAccum12Z_clicked()"));
}

void FormTestWindow::on_radioButton24HrPrecipAccum_clicked()
{
    record(QStringLiteral("on_radioButton24HrPrecipAccum_clicked()"));
}

void FormTestWindow::on_pushButtonSetupConnection_clicked()
{
    record(QStringLiteral("on_pushButtonSetupConnection_clicked()"));
}

void FormTestWindow::on_radioButtonORVAMETAR_Auto_clicked()
{
    record(QStringLiteral("on_radioButtonORVAMETAR_Auto_clicked()"));
}

void FormTestWindow::on_radioButtonORVAMETAR_Semiauto_clicked()
{
    record(QStringLiteral("on_radioButtonORVAMETAR_Semiauto_clicked()"));
}

void FormTestWindow::on_radioButtonORVAMETAR_Manual_clicked()
{
    record(QStringLiteral("on_radioButtonORVAMETAR_Manual_clicked()"));
}

void FormTestWindow::on_checkBox_hideMETARModePopUp_clicked()
{
    record(QStringLiteral("on_checkBox_hideMETARModePopUp_clicked()"));
}

void FormTestWindow::on_radioButtonUnitsImperial_clicked()
{
    record(QStringLiteral("on_radioButtonUnitsImperial_clicked()"));
}

void FormTestWindow::on_radioButtonUnitsMetric_clicked()
{
    record(QStringLiteral("on_radioButtonUnitsMetric_clicked()"));
}

void FormTestWindow::on_pushButton_ORVA_METAR_prep_schedule_clicked()
{
    record(QStringLiteral("on_pushButton_ORVA_METAR_prep_schedule_clicked()"));
}

void FormTestWindow::on_pushButton_cancelAddAlert_clicked()
{
    record(QStringLiteral("on_pushButton_cancelAddAlert_clicked()"));
}

void FormTestWindow::on_comboBox_alertParameterSetting_currentIndexChanged(int index)
{
    record(QStringLiteral("on_comboBox_alertParameterSetting_currentIndexChanged(int)"), {index});
}

void FormTestWindow::on_pushButton_saveAlert_clicked()
{
    record(QStringLiteral("on_pushButton_saveAlert_clicked()"));
}

void FormTestWindow::on_pushButton_returnAlertsSettings_clicked()
{
    record(QStringLiteral("on_pushButton_returnAlertsSettings_clicked()"));
}

void FormTestWindow::on_pushButton_addAlert_clicked()
{
    record(QStringLiteral("on_pushButton_addAlert_clicked()"));
}

void FormTestWindow::on_comboBox_alertThresholdSetting_currentIndexChanged(int index)
{
    record(QStringLiteral("on_comboBox_alertThresholdSetting_currentIndexChanged(int)"), {index});
}

void FormTestWindow::on_pushButton_returnSPECISettings_clicked()
{
    record(QStringLiteral("on_pushButton_returnSPECISettings_clicked()"));
}

void FormTestWindow::on_pushButton_setSPECIdefaults_clicked()
{
    record(QStringLiteral("on_pushButton_setSPECIdefaults_clicked()"));
}

void FormTestWindow::on_pushButton_saveSPECItoDevice_clicked()
{
    record(QStringLiteral("on_pushButton_saveSPECItoDevice_clicked()"));
}

void FormTestWindow::on_pushButton_clearNotifications_clicked()
{
    record(QStringLiteral("on_pushButton_clearNotifications_clicked()"));
}

void FormTestWindow::on_tabWidget_Notifications_currentChanged(int index)
{
    record(QStringLiteral("on_tabWidget_Notifications_currentChanged(int)"), {index});
}

void FormTestWindow::on_pushButton_rawSendMsg_clicked()
{
    record(QStringLiteral("on_pushButton_rawSendMsg_clicked()"));
}
