#include "app/maingui.h"

#include "app/checkencryptionkey.h"
#include "app/dialogabout.h"
#include "app/dialogencryptionkey.h"
#include "app/dialogselectdevice.h"
#include "app/vdeventfilter.h"
#include "dashboard/bitview.h"
#include "forms/maingui_ui.h"
#include "link/constanttables.h"
#include "link/data_incoming.h"
#include "logging/logging.h"
#include "reports/criteriatablemodel.h"
#include "reports/metarform.h"

#include <QApplication>
#include <QDebug>
#include <QMessageBox>
#include <QShortcut>
#include <QThread>

namespace
{
constexpr int kAutosaveIntervalMs = 300000;

// Ends a worker thread behind everything already queued for its worker (the close request, the
// last log lines), and waits for it. A quit() from outside could overtake them, or come before
// the thread's event loop has even started.
void quitAfterQueued(QThread* thread, QObject* worker)
{
    QMetaObject::invokeMethod(
        worker, [thread] { thread->quit(); }, Qt::QueuedConnection);
    thread->wait();
}
} // namespace

MainGUI::MainGUI(QWidget* parent) : QMainWindow(parent), ui(new Ui_MainGUI)
{
    speciVisibilityModel = new SPECITableModel(QStringLiteral("Visibility"));
    speciCeilingModel = new SPECITableModel(QStringLiteral("Ceiling"));

    ui->setupUi(this);

    QLabel* const statusCells[CommandIndexCount] = {
        ui->label_command_transmit_frequency_status,
        ui->label_command_gps_status,
        ui->label_command_elevation_status,
        ui->label_command_decl_status,
        ui->label_command_rf_status,
        ui->label_command_blower_status,
        ui->label_command_heater_status,
        ui->label_command_led_status,
        ui->label_command_log_status,
        ui->label_command_timestamp_status,
        ui->label_command_icao_status,
        ui->label_command_send_status,
        ui->label_command_rflos_txf_status,
        ui->label_command_rflos_rxf_status,
        ui->label_command_rflos_program_channel_status,
        ui->label_command_rflos_selected_channel_status,
        ui->label_command_rflos_message_rate_status,
    };
    std::copy(std::begin(statusCells), std::end(statusCells), std::begin(commandStatusLabels));

    resetLightningButtonStyles();

    cmdWriteTimer = new QTimer(this);
    connect(cmdWriteTimer, &QTimer::timeout, this, &MainGUI::try_command_write);

    ui->progressBar_orva_lightning_autocal->hide();

    // Queued connections copy their arguments, so the enumerations must be known by name first.
    registerSharedMetaTypes();

    dataIncoming = new data_incoming(nullptr);
    threadData = new QThread(nullptr);
    dataIncoming->moveToThread(threadData);
    // A worker is deleted on its own thread as that thread ends, after its last slot.
    connect(threadData, &QThread::finished, dataIncoming, &QObject::deleteLater);
    connect(dataIncoming, &data_incoming::sendDecodedData, this, &MainGUI::on_send_decoded_data);

    logger = new logging(nullptr);
    threadLogging = new QThread(nullptr);
    logger->moveToThread(threadLogging);
    connect(threadLogging, &QThread::finished, logger, &QObject::deleteLater);

    keyChecker = new checkEncryptionKey(nullptr);
    threadEncCheck = new QThread(nullptr);
    keyChecker->moveToThread(threadEncCheck);

    // The device dialog is the one window besides this that ends the application when closed.
    selectDeviceDialog = new DialogSelectDevice(nullptr);

    aboutDialog = new DialogAbout(nullptr);
    aboutDialog->setAttribute(Qt::WA_QuitOnClose, false);

    eventFilter = new VDEventFilter(nullptr, this);
    QCoreApplication::instance()->installEventFilter(eventFilter);

    metarForm =
        new MetarForm(nullptr, ui->label_metar_edit_status, ui->pushbutton_metar_semiauto_cancel,
                      ui->comboBoxViewMetar, ui->checkBox_hideMETARModePopUp,
                      ui->timeEdit_ORVA_METAR_transmit_delay);
    metarForm->setAttribute(Qt::WA_QuitOnClose, false);
    connect(metarForm, &MetarForm::info, this, &MainGUI::displaySystemMessages);
    connect(metarForm, &MetarForm::error, this, &MainGUI::displayErrorMessages);
    connect(metarForm, &MetarForm::info, logger, &logging::log);
    connect(metarForm, &MetarForm::error, logger, &logging::log);
    connect(dataIncoming, &data_incoming::send_metar_confirmed, metarForm,
            &MetarForm::on_send_metar_confirmed);
    connect(metarForm, &MetarForm::send_metar, this, &MainGUI::writecommands);
    connect(metarForm, &MetarForm::metar_ready_for_review, this, &MainGUI::reviewMetar);
    connect(ui->pushbutton_metar_semiauto_cancel, &QPushButton::clicked, metarForm,
            &MetarForm::on_pushButton_cancel_send_clicked);
    connect(dataIncoming, &data_incoming::weather_data_received, metarForm,
            &MetarForm::on_realtime);
    connect(dataIncoming, &data_incoming::metar_detected, metarForm,
            &MetarForm::on_metar_generated);
    connect(dataIncoming, &data_incoming::speci_detected, metarForm,
            &MetarForm::on_speci_generated);
    connect(metarForm, &MetarForm::realtime_updated, this, &MainGUI::on_realtime_updated);

    encryptionKeyDialog = new DialogEncryptionKey(nullptr);
    encryptionKeyDialog->setAttribute(Qt::WA_QuitOnClose, false);

    bitView = new BITView(this, ui->treeViewBitStatus, ui->waitingBitStatusMessage);
    connect(bitView, &BITView::info, this, &MainGUI::displaySystemMessages);
    connect(bitView, &BITView::error, this, &MainGUI::displayErrorMessages);
    connect(bitView, &BITView::info, logger, &logging::log);
    connect(bitView, &BITView::error, logger, &logging::log);
    connect(dataIncoming, &data_incoming::sendBITcheckPacket, bitView,
            &BITView::on_bit_packet_received);
    bitView->loadBitConfig();

    // Each view opens its own menu; the handler works on the view that asked.
    for (QTableView* view : {static_cast<QTableView*>(ui->tableView_SPECISettings_Visibility),
                             static_cast<QTableView*>(ui->tableView_SPECISettings_Ceiling)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, SIGNAL(customContextMenuRequested(QPoint)), view,
                SLOT(showContextMenu(QPoint)));
    }
    ui->tableView_SPECISettings_Visibility->setModel(speciVisibilityModel);
    ui->tableView_SPECISettings_Ceiling->setModel(speciCeilingModel);
    connect(speciVisibilityModel, &SPECITableModel::dataChanged, this,
            &MainGUI::on_SPECI_visibilitymodel_datachanged);
    connect(speciCeilingModel, &SPECITableModel::dataChanged, this,
            &MainGUI::on_SPECI_ceilingmodel_datachanged);
    connect(speciVisibilityModel, &SPECITableModel::validationSPECIFailed, this,
            &MainGUI::on_speciValidationError);
    connect(speciCeilingModel, &SPECITableModel::validationSPECIFailed, this,
            &MainGUI::on_speciValidationError);

    connect(this, &MainGUI::openSerial, dataIncoming, &data_incoming::openSerialPort);
    connect(this, &MainGUI::closeSerial, dataIncoming, &data_incoming::closeSerialPort);
    connect(this, &MainGUI::writeSerial, dataIncoming, &data_incoming::setCommandBuffer);
    connect(this, &MainGUI::setLoggingState, dataIncoming, &data_incoming::setLoggingState);
    connect(this, &MainGUI::setDeviceType, dataIncoming, &data_incoming::setDeviceTypeState);
    connect(this, &MainGUI::displayLiveData, dataIncoming, &data_incoming::showLiveData);
    connect(this, &MainGUI::setPrecipAccum24Int, dataIncoming,
            &data_incoming::setPrecipAccum24IntState);
    connect(dataIncoming, &data_incoming::enableCamera, this, &MainGUI::imageAcqisitionActive);
    connect(dataIncoming, &data_incoming::sendImageProgressInfo, this, &MainGUI::imageProgressInfo);
    connect(dataIncoming, &data_incoming::sendCameraProgress, this,
            &MainGUI::displayImageDataProgress);
    connect(dataIncoming, &data_incoming::sendCameraFinal, this, &MainGUI::displayImageDataFinal);
    connect(dataIncoming, &data_incoming::sendRawData, this, &MainGUI::updateRawData);
    connect(dataIncoming, &data_incoming::sendConfiguration, this, &MainGUI::setupConfiguration);
    connect(this, &MainGUI::setStartupSequence, dataIncoming, &data_incoming::setStartupSequence);
    connect(dataIncoming, &data_incoming::sendCommandConfirmation, this,
            &MainGUI::commandConfirmation);
    connect(this, &MainGUI::clearTamperingData, dataIncoming, &data_incoming::clearTampering);
    connect(this, &MainGUI::setORVAType, dataIncoming, &data_incoming::legacyorvadevicecheck);
    connect(dataIncoming, &data_incoming::sendStackData, this, &MainGUI::orvaLoadStack);
    connect(dataIncoming, &data_incoming::sendORVACmdStatus, this, &MainGUI::updateORVACmdMsgs);
    connect(dataIncoming, &data_incoming::sendDisplayErrorMsg, this,
            &MainGUI::displayErrorMessages);
    connect(dataIncoming, &data_incoming::sendDisplaySysMsg, this, &MainGUI::displaySystemMessages);
    connect(dataIncoming, &data_incoming::sendLightningCompassData, this,
            &MainGUI::displayORVALightning);
    connect(dataIncoming, &data_incoming::sendModuleStatus, this, &MainGUI::updateModuleIcon);
    connect(dataIncoming, &data_incoming::sendSpeciData, this, &MainGUI::displayORVASpeciSettings);
    connect(dataIncoming, &data_incoming::sendEncryptionStatus, this,
            &MainGUI::setEncryptionStatus);
    connect(this, &MainGUI::setEncryptionKeyMain, dataIncoming, &data_incoming::setEncryptionKey);
    connect(dataIncoming, &data_incoming::setEncryptionKeyRequired, this,
            &MainGUI::setupEncryptionMode);
    connect(this, &MainGUI::setDevMode, dataIncoming, &data_incoming::setDevModeState);
    connect(this, &MainGUI::updateRunwayDirection, dataIncoming,
            &data_incoming::updateRunwayDirection);
    connect(dataIncoming, &data_incoming::command_status_changed, this,
            &MainGUI::update_orva_command_statuses);
    connect(dataIncoming, &data_incoming::on_error_station_radio, this,
            &MainGUI::increment_receive_error_count);
    connect(dataIncoming, &data_incoming::encryption_status_changed, this,
            &MainGUI::on_encryption_status_change);
    connect(dataIncoming, &data_incoming::prepSchedReceived, this, &MainGUI::on_prepSchedReceived);
    connect(dataIncoming, &data_incoming::lightning_parameters_received, this,
            &MainGUI::on_lightning_parameters_received);
    connect(dataIncoming, &data_incoming::lightning_autocal_confirmed, this,
            &MainGUI::on_lightning_autocal_confirmed);
    connect(&lightningProgressTimer, &QTimer::timeout, this, &MainGUI::on_lightning_progress);
    connect(&lightningCmdTimer, &QTimer::timeout, this, &MainGUI::on_lightning_command_error);
    connect(dataIncoming, &data_incoming::encryption_parse_confirmed, this,
            &MainGUI::on_encryption_confirmation_status_change);
    connect(&passkeyTimer, &QTimer::timeout, this, &MainGUI::on_encryption_passkey_set_timeout);
    connect(dataIncoming, &data_incoming::sendLogMsg, logger, &logging::logMessages);
    connect(dataIncoming, &data_incoming::sendLogData, logger, &logging::logData);
    connect(this, &MainGUI::logDataMainMsg, logger, &logging::logMessages);
    connect(this, &MainGUI::setLoggingState, logger, &logging::setLogState);
    connect(this, &MainGUI::closeLogFile, logger, &logging::closeLog);
    connect(this, &MainGUI::setLogLocation, logger, &logging::setLogLocation);
    connect(keyChecker, &checkEncryptionKey::encryptionKeyReady, this,
            &MainGUI::finishedEncryptionSetup);
    connect(this, &MainGUI::startEncryptionKeyCheck, keyChecker,
            &checkEncryptionKey::checkEncryptionInfo);
    connect(selectDeviceDialog, &DialogSelectDevice::deviceSelected, this, &MainGUI::startupDevice);
    connect(selectDeviceDialog, &DialogSelectDevice::brqStartupSequence, this,
            &MainGUI::startupBRQPowerOff);
    connect(selectDeviceDialog, &DialogSelectDevice::orvaSetEncryptWritecommands, this,
            &MainGUI::setORVAencryptWritecommands);
    connect(encryptionKeyDialog, &DialogEncryptionKey::sendData, this,
            &MainGUI::generateEncryptionKey);
    connect(this, &MainGUI::clearEncryptionData, encryptionKeyDialog,
            &DialogEncryptionKey::clearValues);

    auto* debugShortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+I")), this, nullptr,
                                        nullptr, Qt::WindowShortcut);
    connect(debugShortcut, &QShortcut::activated, dataIncoming, &data_incoming::debugORVApacket);

    connect(&stackCmdTimer, &QTimer::timeout, this, &MainGUI::on_stack_command_timeout);
    connect(dataIncoming, &data_incoming::sig_orva_enable_disable, this,
            &MainGUI::on_enable_disable_response);

    on_pushButton_orva_stack_clear_clicked();
    ui->label_orva_commands_stack_none->show();
    ui->groupBox_orva_commands_stack_functionality->hide();
    ui->label_orva_commands_success_indicator->hide();

    auto* autosaveTimer = new QTimer(this);
    connect(autosaveTimer, &QTimer::timeout, this, &MainGUI::saveSettings);
    autosaveTimer->start(kAutosaveIntervalMs);

    threadLogging->start(QThread::InheritPriority);

    layoutSetup();
    readOptions();
    emit setLoggingState(loggingType);

    for (const auto& help : commandHelpTexts) {
        if (auto* label = findChild<QLabel*>(help.first))
            label->setToolTip(help.second);
    }

    ui->pushButton_show_live_data->hide();
}

MainGUI::~MainGUI()
{
    saveSettings();
    emit closeSerial();
    emit logDataMainMsg("INFO: Exiting Program");
    const QPointer<data_incoming> link = dataIncoming;
    if (threadData->isRunning())
        quitAfterQueued(threadData, dataIncoming);
    qDebug("INFO: Exiting Program.");
    // Lets the logging thread write the last lines before it is asked to stop.
    QThread::msleep(200);
    if (threadLogging->isRunning())
        quitAfterQueued(threadLogging, logger);

    delete eventFilter;
    eventFilter = nullptr;
    delete bitView;
    bitView = nullptr;
    delete metarForm;
    metarForm = nullptr;
    delete cmdWriteTimer;
    cmdWriteTimer = nullptr;
    for (const QPointer<QMessageBox>& notice : qAsConst(brqPowerOnNotices))
        delete notice.data();
    delete ui;
    ui = nullptr;

    // Nothing else owns these. The link worker's timers belong to its thread, so a thread that
    // never ran is run once, through what is queued for it, for the worker to be deleted there.
    // A key derivation still running keeps its worker and thread, which end with the process.
    if (link) {
        threadData->start(QThread::InheritPriority);
        quitAfterQueued(threadData, link);
    }
    delete threadData;
    delete threadLogging;
    if (!threadEncCheck->isRunning()) {
        delete keyChecker;
        delete threadEncCheck;
    }
    delete selectDeviceDialog;
    delete aboutDialog;
    delete encryptionKeyDialog;
    delete speciVisibilityModel;
    delete speciCeilingModel;
}
