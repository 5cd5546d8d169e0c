#pragma once

#include <QMainWindow>
#include <QString>
#include <QVariantList>
#include <QVector>

// Stands in for the main window when the form is tested: it declares every slot that the form
// binds by name, with the window's exact signatures, and records each call together with the
// object and signal that caused it.
class FormTestWindow : public QMainWindow
{
    Q_OBJECT

public:
    struct Call {
        QString slot;         // e.g. "on_pushButtonDashboard_clicked()"
        QString senderName;   // object name of the emitting widget
        QString senderSignal; // normalized signature of the emitted signal
        QVariantList args;
        QVariant senderChecked; // check state of a checkable sender when the slot ran
    };

    explicit FormTestWindow(QWidget* parent = nullptr);

    QVector<Call> calls;

private:
    void record(const QString& slot, const QVariantList& args = {});

private slots:
    void on_pushButton_enterEncryptionKeyProgram_clicked();
    void on_pushButton_forceSelectKeyFile_clicked();
    void on_pushButtonDashboard_clicked();
    void on_pushButtonTable_clicked();
    void on_pushButtonTrends_clicked();
    void on_pushButtonCommand_clicked();
    void on_pushButtonRawData_clicked();
    void on_pushButtonImages_clicked();
    void on_pushButtonBitStatus_clicked();
    void on_pushButtonNotifications_clicked();
    void on_pushButtonSettings_clicked();
    void on_pushButton_show_live_data_clicked();
    void on_pushButton_ClearTamperingWarning_clicked();
    void on_pushButton_UpdateRunwayDirection_clicked();
    void on_pushButton_HideRunway_clicked();
    void on_pushButton_editMetar_clicked();
    void on_pushButton_saveAndSendMetar_clicked();
    void on_pushButton_saveMetar_clicked();
    void on_pushButton_cancelSaveMetar_clicked();
    void on_comboBoxViewMetar_currentIndexChanged(int);
    void on_pushButton_viewLatest_clicked();
    void on_pushButtonSendCmds_clicked();
    void on_comboBoxCmdCamera_currentIndexChanged(int);
    void on_comboBoxCmdMode_currentIndexChanged(int);
    void on_comboBoxCmdGps_currentIndexChanged(int);
    void on_comboBox_ORVAElevation_currentIndexChanged(int);
    void on_textEdit_ORVASendMsg_cursorPositionChanged();
    void on_lineEdit_ORVAElevationInput_cursorPositionChanged();
    void on_pushButton_ORVAsendcommands_clicked();
    void on_pushButton_ORVADefaultSetting_clicked();
    void on_pushButton_orva_stack_clear_clicked();
    void on_pushButton_orva_stack_refresh_clicked();
    void on_pushButton_orva_stack_submit_clicked();
    void on_pushButton_orva_commands_rflos_clear_clicked();
    void on_pushButton_RFLOS_send_commands_clicked();
    void on_pushButton_orva_lightning_set_bz_clicked();
    void on_pushButton_orva_lightning_set_bx_clicked();
    void on_pushButton_orva_lightning_set_by_clicked();
    void on_pushButton_orva_lightning_autocal_clicked();
    void on_pushButton_orva_lightning_clear_clicked();
    void on_pushButton_orva_lightning_refresh_clicked();
    void on_pushButtonCmdORVA_clicked();
    void on_pushButtonCmdResetSettings_clicked();
    void on_pushButtonCmdResetUnit_clicked();
    void on_pushButtonLogFileLocationOpen_clicked();
    void on_comboBox_Logging_currentIndexChanged(int);
    void on_pushButton_editSpeciSettings_clicked();
    void on_pushButton_alertSettings_clicked();
    void on_checkBox_SPECI_alerts_clicked();
    void on_pushButton_createEncryptionPasskey_clicked();
    void on_pushButton_chooseEncryptionKeyLocation_clicked();
    void on_pushButtonEnableEncryption_clicked();
    void on_pushButtonDisableEncryption_clicked();
    void on_pushButtonAboutSoftware_clicked();
    void on_radioButton24HrPrecipAccum12Z_clicked();
    void on_radioButton24HrPrecipAccum_clicked();
    void on_pushButtonSetupConnection_clicked();
    void on_radioButtonORVAMETAR_Auto_clicked();
    void on_radioButtonORVAMETAR_Semiauto_clicked();
    void on_radioButtonORVAMETAR_Manual_clicked();
    void on_checkBox_hideMETARModePopUp_clicked();
    void on_radioButtonUnitsImperial_clicked();
    void on_radioButtonUnitsMetric_clicked();
    void on_pushButton_ORVA_METAR_prep_schedule_clicked();
    void on_pushButton_cancelAddAlert_clicked();
    void on_comboBox_alertParameterSetting_currentIndexChanged(int);
    void on_pushButton_saveAlert_clicked();
    void on_pushButton_returnAlertsSettings_clicked();
    void on_pushButton_addAlert_clicked();
    void on_comboBox_alertThresholdSetting_currentIndexChanged(int);
    void on_pushButton_returnSPECISettings_clicked();
    void on_pushButton_setSPECIdefaults_clicked();
    void on_pushButton_saveSPECItoDevice_clicked();
    void on_pushButton_clearNotifications_clicked();
    void on_tabWidget_Notifications_currentChanged(int);
    void on_pushButton_rawSendMsg_clicked();
};
