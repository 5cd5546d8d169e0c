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

void collectCommandStatusLabels(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    QLabel* const statusCells[CommandIndexCount] = {
        ui.label_command_transmit_frequency_status,
        ui.label_command_gps_status,
        ui.label_command_elevation_status,
        ui.label_command_decl_status,
        ui.label_command_rf_status,
        ui.label_command_blower_status,
        ui.label_command_heater_status,
        ui.label_command_led_status,
        ui.label_command_log_status,
        ui.label_command_timestamp_status,
        ui.label_command_icao_status,
        ui.label_command_send_status,
        ui.label_command_rflos_txf_status,
        ui.label_command_rflos_rxf_status,
        ui.label_command_rflos_program_channel_status,
        ui.label_command_rflos_selected_channel_status,
        ui.label_command_rflos_message_rate_status,
    };
    std::copy(std::begin(statusCells), std::end(statusCells),
              std::begin(window.commandStatusLabels));
}

// The link, the logger and the key derivation each run on a thread of their own.
void createWorkers(MainGUI& window)
{
    window.dataIncoming = new data_incoming(nullptr);
    window.threadData = new QThread(nullptr);
    window.dataIncoming->moveToThread(window.threadData);
    // A worker is deleted on its own thread as that thread ends, after its last slot.
    QObject::connect(window.threadData, &QThread::finished, window.dataIncoming,
                     &QObject::deleteLater);

    window.logger = new logging(nullptr);
    window.threadLogging = new QThread(nullptr);
    window.logger->moveToThread(window.threadLogging);
    QObject::connect(window.threadLogging, &QThread::finished, window.logger,
                     &QObject::deleteLater);

    window.keyChecker = new checkEncryptionKey(nullptr);
    window.threadEncCheck = new QThread(nullptr);
    window.keyChecker->moveToThread(window.threadEncCheck);
}

void createDialogs(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    // The device dialog is the one window besides this that ends the application when closed.
    window.selectDeviceDialog = new DialogSelectDevice(nullptr);

    window.aboutDialog = new DialogAbout(nullptr);
    window.aboutDialog->setAttribute(Qt::WA_QuitOnClose, false);

    window.eventFilter = new VDEventFilter(nullptr, &window);
    QCoreApplication::instance()->installEventFilter(window.eventFilter);

    window.metarForm =
        new MetarForm(nullptr, ui.label_metar_edit_status, ui.pushbutton_metar_semiauto_cancel,
                      ui.comboBoxViewMetar, ui.checkBox_hideMETARModePopUp,
                      ui.timeEdit_ORVA_METAR_transmit_delay);
    window.metarForm->setAttribute(Qt::WA_QuitOnClose, false);

    window.encryptionKeyDialog = new DialogEncryptionKey(nullptr);
    window.encryptionKeyDialog->setAttribute(Qt::WA_QuitOnClose, false);
}

void connectReportForm(MainGUI& window)
{
    MetarForm* const form = window.metarForm;
    data_incoming* const link = window.dataIncoming;
    QObject::connect(form, &MetarForm::info, &window, &MainGUI::displaySystemMessages);
    QObject::connect(form, &MetarForm::error, &window, &MainGUI::displayErrorMessages);
    QObject::connect(form, &MetarForm::info, window.logger, &logging::log);
    QObject::connect(form, &MetarForm::error, window.logger, &logging::log);
    QObject::connect(link, &data_incoming::send_metar_confirmed, form,
                     &MetarForm::on_send_metar_confirmed);
    QObject::connect(form, &MetarForm::send_metar, &window, &MainGUI::writecommands);
    QObject::connect(form, &MetarForm::metar_ready_for_review, &window, &MainGUI::reviewMetar);
    QObject::connect(window.ui->pushbutton_metar_semiauto_cancel, &QPushButton::clicked, form,
                     &MetarForm::on_pushButton_cancel_send_clicked);
    QObject::connect(link, &data_incoming::weather_data_received, form, &MetarForm::on_realtime);
    QObject::connect(link, &data_incoming::metar_detected, form, &MetarForm::on_metar_generated);
    QObject::connect(link, &data_incoming::speci_detected, form, &MetarForm::on_speci_generated);
    QObject::connect(form, &MetarForm::realtime_updated, &window, &MainGUI::on_realtime_updated);
}

void createBitView(MainGUI& window)
{
    window.bitView =
        new BITView(&window, window.ui->treeViewBitStatus, window.ui->waitingBitStatusMessage);
    BITView* const view = window.bitView;
    QObject::connect(view, &BITView::info, &window, &MainGUI::displaySystemMessages);
    QObject::connect(view, &BITView::error, &window, &MainGUI::displayErrorMessages);
    QObject::connect(view, &BITView::info, window.logger, &logging::log);
    QObject::connect(view, &BITView::error, window.logger, &logging::log);
    QObject::connect(window.dataIncoming, &data_incoming::sendBITcheckPacket, view,
                     &BITView::on_bit_packet_received);
    // Its messages reach the panes and the log from here on.
    view->loadBitConfig();
}

void setUpSpeciTables(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    // Each view opens its own menu; the handler works on the view that asked.
    for (QTableView* view : {static_cast<QTableView*>(ui.tableView_SPECISettings_Visibility),
                             static_cast<QTableView*>(ui.tableView_SPECISettings_Ceiling)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(view, SIGNAL(customContextMenuRequested(QPoint)), view,
                         SLOT(showContextMenu(QPoint)));
    }
    ui.tableView_SPECISettings_Visibility->setModel(window.speciVisibilityModel);
    ui.tableView_SPECISettings_Ceiling->setModel(window.speciCeilingModel);
    QObject::connect(window.speciVisibilityModel, &SPECITableModel::dataChanged, &window,
                     &MainGUI::on_SPECI_visibilitymodel_datachanged);
    QObject::connect(window.speciCeilingModel, &SPECITableModel::dataChanged, &window,
                     &MainGUI::on_SPECI_ceilingmodel_datachanged);
    QObject::connect(window.speciVisibilityModel, &SPECITableModel::validationSPECIFailed, &window,
                     &MainGUI::on_speciValidationError);
    QObject::connect(window.speciCeilingModel, &SPECITableModel::validationSPECIFailed, &window,
                     &MainGUI::on_speciValidationError);
}

// What the window asks of the link. Made before the logger's, which share setLoggingState.
void connectWindowToLink(MainGUI& window)
{
    data_incoming* const link = window.dataIncoming;
    QObject::connect(&window, &MainGUI::openSerial, link, &data_incoming::openSerialPort);
    QObject::connect(&window, &MainGUI::closeSerial, link, &data_incoming::closeSerialPort);
    QObject::connect(&window, &MainGUI::writeSerial, link, &data_incoming::setCommandBuffer);
    QObject::connect(&window, &MainGUI::setLoggingState, link, &data_incoming::setLoggingState);
    QObject::connect(&window, &MainGUI::setDeviceType, link, &data_incoming::setDeviceTypeState);
    QObject::connect(&window, &MainGUI::displayLiveData, link, &data_incoming::showLiveData);
    QObject::connect(&window, &MainGUI::setPrecipAccum24Int, link,
                     &data_incoming::setPrecipAccum24IntState);
    QObject::connect(&window, &MainGUI::setStartupSequence, link,
                     &data_incoming::setStartupSequence);
    QObject::connect(&window, &MainGUI::clearTamperingData, link, &data_incoming::clearTampering);
    QObject::connect(&window, &MainGUI::setORVAType, link, &data_incoming::legacyorvadevicecheck);
    QObject::connect(&window, &MainGUI::setEncryptionKeyMain, link,
                     &data_incoming::setEncryptionKey);
    QObject::connect(&window, &MainGUI::setDevMode, link, &data_incoming::setDevModeState);
    QObject::connect(&window, &MainGUI::updateRunwayDirection, link,
                     &data_incoming::updateRunwayDirection);
}

// What the link reports to the window: decoded data, camera transfers, command answers, errors.
void connectLinkToWindow(MainGUI& window)
{
    data_incoming* const link = window.dataIncoming;
    MainGUI* const gui = &window;
    QObject::connect(link, &data_incoming::sendDecodedData, gui, &MainGUI::on_send_decoded_data);
    QObject::connect(link, &data_incoming::enableCamera, gui, &MainGUI::imageAcqisitionActive);
    QObject::connect(link, &data_incoming::sendImageProgressInfo, gui, &MainGUI::imageProgressInfo);
    QObject::connect(link, &data_incoming::sendCameraProgress, gui,
                     &MainGUI::displayImageDataProgress);
    QObject::connect(link, &data_incoming::sendCameraFinal, gui, &MainGUI::displayImageDataFinal);
    QObject::connect(link, &data_incoming::sendRawData, gui, &MainGUI::updateRawData);
    QObject::connect(link, &data_incoming::sendConfiguration, gui, &MainGUI::setupConfiguration);
    QObject::connect(link, &data_incoming::sendCommandConfirmation, gui,
                     &MainGUI::commandConfirmation);
    QObject::connect(link, &data_incoming::sendCommandsNotSent, gui, &MainGUI::commandsNotSent);
    QObject::connect(link, &data_incoming::sendStackData, gui, &MainGUI::orvaLoadStack);
    QObject::connect(link, &data_incoming::sendORVACmdStatus, gui, &MainGUI::updateORVACmdMsgs);
    QObject::connect(link, &data_incoming::sendDisplayErrorMsg, gui,
                     &MainGUI::displayErrorMessages);
    QObject::connect(link, &data_incoming::sendDisplaySysMsg, gui, &MainGUI::displaySystemMessages);
    QObject::connect(link, &data_incoming::sendLightningCompassData, gui,
                     &MainGUI::displayORVALightning);
    QObject::connect(link, &data_incoming::sendModuleStatus, gui, &MainGUI::updateModuleIcon);
    QObject::connect(link, &data_incoming::sendSpeciData, gui, &MainGUI::displayORVASpeciSettings);
    QObject::connect(link, &data_incoming::command_status_changed, gui,
                     &MainGUI::update_orva_command_statuses);
    QObject::connect(link, &data_incoming::on_error_station_radio, gui,
                     &MainGUI::increment_receive_error_count);
    QObject::connect(link, &data_incoming::prepSchedReceived, gui, &MainGUI::on_prepSchedReceived);
    QObject::connect(link, &data_incoming::lightning_parameters_received, gui,
                     &MainGUI::on_lightning_parameters_received);
    QObject::connect(link, &data_incoming::lightning_autocal_confirmed, gui,
                     &MainGUI::on_lightning_autocal_confirmed);
    QObject::connect(link, &data_incoming::sig_orva_enable_disable, gui,
                     &MainGUI::on_enable_disable_response);
}

// The link's reports on encryption, and the key worker and dialog that make a new key.
void connectEncryption(MainGUI& window)
{
    data_incoming* const link = window.dataIncoming;
    MainGUI* const gui = &window;
    QObject::connect(link, &data_incoming::sendEncryptionStatus, gui,
                     &MainGUI::setEncryptionStatus);
    QObject::connect(link, &data_incoming::setEncryptionKeyRequired, gui,
                     &MainGUI::setupEncryptionMode);
    QObject::connect(link, &data_incoming::encryption_status_changed, gui,
                     &MainGUI::on_encryption_status_change);
    QObject::connect(link, &data_incoming::encryption_parse_confirmed, gui,
                     &MainGUI::on_encryption_confirmation_status_change);
    QObject::connect(&window.passkeyTimer, &QTimer::timeout, gui,
                     &MainGUI::on_encryption_passkey_set_timeout);
    QObject::connect(window.keyChecker, &checkEncryptionKey::encryptionKeyReady, gui,
                     &MainGUI::finishedEncryptionSetup);
    QObject::connect(gui, &MainGUI::startEncryptionKeyCheck, window.keyChecker,
                     &checkEncryptionKey::checkEncryptionInfo);
    QObject::connect(window.encryptionKeyDialog, &DialogEncryptionKey::sendData, gui,
                     &MainGUI::generateEncryptionKey);
    QObject::connect(gui, &MainGUI::clearEncryptionData, window.encryptionKeyDialog,
                     &DialogEncryptionKey::clearValues);
}

void connectLogger(MainGUI& window)
{
    logging* const logger = window.logger;
    QObject::connect(window.dataIncoming, &data_incoming::sendLogMsg, logger,
                     &logging::logMessages);
    QObject::connect(window.dataIncoming, &data_incoming::sendLogData, logger, &logging::logData);
    QObject::connect(&window, &MainGUI::logDataMainMsg, logger, &logging::logMessages);
    QObject::connect(&window, &MainGUI::setLoggingState, logger, &logging::setLogState);
    QObject::connect(&window, &MainGUI::closeLogFile, logger, &logging::closeLog);
    QObject::connect(&window, &MainGUI::setLogLocation, logger, &logging::setLogLocation);
}

void connectDeviceDialog(MainGUI& window)
{
    DialogSelectDevice* const dialog = window.selectDeviceDialog;
    QObject::connect(dialog, &DialogSelectDevice::deviceSelected, &window, &MainGUI::startupDevice);
    QObject::connect(dialog, &DialogSelectDevice::brqStartupSequence, &window,
                     &MainGUI::startupBRQPowerOff);
    QObject::connect(dialog, &DialogSelectDevice::orvaSetEncryptWritecommands, &window,
                     &MainGUI::setORVAencryptWritecommands);
}

// The time-outs of the lightning calibration and module stack panels.
void connectPanelTimers(MainGUI& window)
{
    QObject::connect(&window.lightningProgressTimer, &QTimer::timeout, &window,
                     &MainGUI::on_lightning_progress);
    QObject::connect(&window.lightningCmdTimer, &QTimer::timeout, &window,
                     &MainGUI::on_lightning_command_error);
    QObject::connect(&window.stackCmdTimer, &QTimer::timeout, &window,
                     &MainGUI::on_stack_command_timeout);
}

// The developer's key that has the link dump its last ORVA packet.
void addPacketDumpShortcut(MainGUI& window)
{
    auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+I")), &window, nullptr,
                                   nullptr, Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window.dataIncoming,
                     &data_incoming::debugORVApacket);
}

void showEmptyModuleStack(MainGUI& window)
{
    window.on_pushButton_orva_stack_clear_clicked();
    window.ui->label_orva_commands_stack_none->show();
    window.ui->groupBox_orva_commands_stack_functionality->hide();
    window.ui->label_orva_commands_success_indicator->hide();
}

} // namespace

MainGUI::MainGUI(QWidget* parent) : QMainWindow(parent), ui(new Ui_MainGUI)
{
    speciVisibilityModel = new SPECITableModel(QStringLiteral("Visibility"));
    speciCeilingModel = new SPECITableModel(QStringLiteral("Ceiling"));

    ui->setupUi(this);
    collectCommandStatusLabels(*this);
    resetLightningButtonStyles();

    cmdWriteTimer = new QTimer(this);
    connect(cmdWriteTimer, &QTimer::timeout, this, &MainGUI::try_command_write);

    ui->progressBar_orva_lightning_autocal->hide();

    // Queued connections copy their arguments, so the enumerations must be known by name first.
    registerSharedMetaTypes();

    createWorkers(*this);
    createDialogs(*this);
    connectReportForm(*this);
    createBitView(*this);
    setUpSpeciTables(*this);
    connectWindowToLink(*this);
    connectLinkToWindow(*this);
    connectEncryption(*this);
    connectLogger(*this);
    connectDeviceDialog(*this);
    connectPanelTimers(*this);
    addPacketDumpShortcut(*this);
    showEmptyModuleStack(*this);

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
