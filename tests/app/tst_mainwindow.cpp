#include "tests/support/testsupport.h"

#include "app/checkencryptionkey.h"
#include "app/dialogabout.h"
#include "app/dialogencryptionkey.h"
#include "app/dialogselectdevice.h"
#include "app/maingui.h"
#include "app/modalrunner.h"
#include "dashboard/bitview.h"
#include "forms/maingui_ui.h"
#include "link/constanttables.h"
#include "link/data_incoming.h"
#include "logging/logging.h"
#include "reports/metarform.h"
#include "reports/criteriatablemodel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMutex>
#include <QShortcut>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QTreeView>

#include <functional>
#include <memory>

namespace
{

// Everything the logging worker has written to application logs in this run.
QByteArray applicationLogs()
{
    const QDir dir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                   QStringLiteral("/logging"));
    QByteArray all;
    for (const QString& name :
         dir.entryList({QStringLiteral("Vantora_Direct_LogFile_*")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            all += file.readAll();
    }
    return all;
}

QByteArray resourceText(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// A connection is there exactly when it can be taken away again; used where the receiving slot
// belongs to another subsystem and has nothing to observe yet.
template <typename S, typename Signal, typename R, typename Slot>
bool connected(S* sender, Signal signal, R* receiver, Slot slot)
{
    return QObject::disconnect(sender, signal, receiver, slot);
}

using Check = std::function<bool(MainGUI&)>;

} // namespace

Q_DECLARE_METATYPE(Check)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void startsWithOnlyTheDeviceDialog();
    void threadsAndTimersAfterConstruction();
    void widgetsAndToolTipsAfterConstruction();
    void longLivedWindowsDoNotKeepTheApplication();
    void darkStyleApplies();
    void aboutBoxShowsVersion();

    void everyConnectionIsMade_data();
    void everyConnectionIsMade();
    void connectionsReachTheirReceivers();

    void destructionStopsThreadsInOrder();

private:
    // One window for the connection rows: each row only takes its own connection away.
    std::unique_ptr<MainGUI> shared;
};

void TestMainWindow::initTestCase()
{
    registerSharedMetaTypes();
    shared = std::make_unique<MainGUI>();
}

void TestMainWindow::cleanupTestCase()
{
    shared.reset();
}

void TestMainWindow::cleanup()
{
    setModalRunner({});
}

void TestMainWindow::startsWithOnlyTheDeviceDialog()
{
    MainGUI window;
    window.showSelectDevice();
    QWidgetList visible;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            visible << w;
    }
    QCOMPARE(visible.size(), 1);
    QCOMPARE(visible.first(), static_cast<QWidget*>(window.selectDeviceDialog));
    QVERIFY(!window.isVisible());
    window.selectDeviceDialog->hide();
}

void TestMainWindow::threadsAndTimersAfterConstruction()
{
    MainGUI window;
    QVERIFY(window.threadLogging->isRunning());
    QVERIFY(!window.threadData->isRunning());
    QVERIFY(!window.threadEncCheck->isRunning());
    QCOMPARE(window.logger->thread(), window.threadLogging);
    QCOMPARE(window.dataIncoming->thread(), window.threadData);
    QCOMPARE(window.keyChecker->thread(), window.threadEncCheck);

    QCOMPARE(window.cmdWriteTimer->parent(), &window);
    QVERIFY(!window.cmdWriteTimer->isActive());
    for (QTimer* timer : {&window.stackCmdTimer, &window.lightningProgressTimer,
                          &window.lightningCmdTimer, &window.passkeyTimer}) {
        QVERIFY(!timer->isActive());
        QVERIFY(!timer->parent());
    }

    // The autosave timer is the only one running: a repeating 300000 ms child of the window.
    QList<QTimer*> running;
    for (QTimer* timer : window.findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (timer->isActive())
            running << timer;
    }
    QCOMPARE(running.size(), 1);
    QCOMPARE(running.first()->interval(), 300000);
    QVERIFY(!running.first()->isSingleShot());

    const auto shortcuts = window.findChildren<QShortcut*>();
    QCOMPARE(shortcuts.size(), 1);
    QCOMPARE(shortcuts.first()->key(), QKeySequence(QStringLiteral("Ctrl+Shift+I")));
    QCOMPARE(shortcuts.first()->context(), Qt::WindowShortcut);

    QCOMPARE(window.deviceType, DeviceTypes::None);
    QCOMPARE(window.loggingType, LoggingType::Default);
    QCOMPARE(window.temperatureUnitText, QStringLiteral("°C"));
    QCOMPARE(window.precipAccum24hInterval, PrecipAccum24hInterval::Previous24Hours);
    QVERIFY(window.firstLayoutPending);
    QVERIFY(!window.deviceLayoutPending);
    QVERIFY(window.encryptWriteCommands);
    QVERIFY(window.commandQueue.isEmpty());
}

void TestMainWindow::widgetsAndToolTipsAfterConstruction()
{
    MainGUI window;
    Ui_MainGUI& f = *window.ui;
    QVERIFY(f.progressBar_orva_lightning_autocal->isHidden());
    QVERIFY(!f.label_orva_commands_stack_none->isHidden());
    QVERIFY(f.groupBox_orva_commands_stack_functionality->isHidden());
    QVERIFY(f.label_orva_commands_success_indicator->isHidden());
    QVERIFY(f.pushButton_show_live_data->isHidden());
    QCOMPARE(f.stackedWidget_MainLayout->currentWidget(), f.page_mainLayout);

    const QStringList statusCells = {"label_command_transmit_frequency_status",
                                     "label_command_gps_status",
                                     "label_command_elevation_status",
                                     "label_command_decl_status",
                                     "label_command_rf_status",
                                     "label_command_blower_status",
                                     "label_command_heater_status",
                                     "label_command_led_status",
                                     "label_command_log_status",
                                     "label_command_timestamp_status",
                                     "label_command_icao_status",
                                     "label_command_send_status",
                                     "label_command_rflos_txf_status",
                                     "label_command_rflos_rxf_status",
                                     "label_command_rflos_program_channel_status",
                                     "label_command_rflos_selected_channel_status",
                                     "label_command_rflos_message_rate_status"};
    for (int i = 0; i < CommandIndexCount; ++i) {
        QVERIFY(window.commandStatusLabels[i]);
        QCOMPARE(window.commandStatusLabels[i]->objectName(), statusCells.at(i));
    }

    QCOMPARE(commandHelpTexts.size(), 18);
    for (const auto& help : commandHelpTexts) {
        auto* label = window.findChild<QLabel*>(help.first);
        QVERIFY2(label, qPrintable(help.first));
        QCOMPARE(label->toolTip(), help.second);
    }
    QVERIFY(f.label_command_help_frequency->toolTip().startsWith(
        QStringLiteral("Set the sensor's METAR reporting frequency")));

    QCOMPARE(f.tableView_SPECISettings_Visibility->model(), window.speciVisibilityModel);
    QCOMPARE(f.tableView_SPECISettings_Ceiling->model(), window.speciCeilingModel);
    QCOMPARE(f.tableView_SPECISettings_Visibility->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(f.tableView_SPECISettings_Ceiling->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestMainWindow::longLivedWindowsDoNotKeepTheApplication()
{
    MainGUI window;
    QVERIFY(window.selectDeviceDialog->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(!window.aboutDialog->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(!window.metarForm->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(!window.encryptionKeyDialog->testAttribute(Qt::WA_QuitOnClose));
    for (QObject* parentless :
         {static_cast<QObject*>(window.selectDeviceDialog),
          static_cast<QObject*>(window.aboutDialog), static_cast<QObject*>(window.metarForm),
          static_cast<QObject*>(window.encryptionKeyDialog),
          static_cast<QObject*>(window.dataIncoming), static_cast<QObject*>(window.logger),
          static_cast<QObject*>(window.keyChecker),
          static_cast<QObject*>(window.speciVisibilityModel),
          static_cast<QObject*>(window.speciCeilingModel)})
        QVERIFY(!parentless->parent());
    QCOMPARE(window.bitView->parent(), &window);
}

void TestMainWindow::darkStyleApplies()
{
    MainGUI window;
    const QByteArray base = resourceText(QStringLiteral(":/resources/stylesheet-base.qss"));
    const QByteArray dark = resourceText(QStringLiteral(":/resources/stylesheet-dark.qss"));
    QVERIFY(!base.isEmpty() && !dark.isEmpty());
    QCOMPARE(qApp->styleSheet(), QString::fromUtf8(base + dark));
    QVERIFY(!qApp->styleSheet().contains(
        QString::fromUtf8(resourceText(QStringLiteral(":/resources/stylesheet-light.qss")))));

    // The dark look reaches the widgets: fields #1F2933 with #F5F7FA text, page #121212.
    QTextEdit* pane = window.ui->textEditRawData;
    pane->ensurePolished();
    QCOMPARE(pane->palette().color(QPalette::Base), QColor(0x1F, 0x29, 0x33));
    QCOMPARE(pane->palette().color(QPalette::Text), QColor(0xF5, 0xF7, 0xFA));
    QWidget* page = window.ui->pageSettings;
    page->ensurePolished();
    QCOMPARE(page->palette().color(QPalette::Window), QColor(0x12, 0x12, 0x12));
}

void TestMainWindow::aboutBoxShowsVersion()
{
    MainGUI window;
    window.show();
    QTest::mouseClick(window.ui->pushButtonAboutSoftware, Qt::LeftButton);
    QVERIFY(window.aboutDialog->isVisible());
    auto* version = window.aboutDialog->findChild<QLabel*>(QStringLiteral("labelVersion"));
    QVERIFY(version);
    QCOMPARE(version->text(), QStringLiteral("Vantora Direct Version 3.1.13b"));
    window.aboutDialog->hide();
}

#define ROW(name, ...) QTest::newRow(name) << Check([](MainGUI& w) { return __VA_ARGS__; })

void TestMainWindow::everyConnectionIsMade_data()
{
    QTest::addColumn<Check>("check");
    using D = data_incoming;
    using M = MainGUI;

    ROW("A cmdWriteTimer", connected(w.cmdWriteTimer, &QTimer::timeout, &w, &M::try_command_write));
    ROW("A sendDecodedData",
        connected(w.dataIncoming, &D::sendDecodedData, &w, &M::on_send_decoded_data));
    ROW("B form info", connected(w.metarForm, &MetarForm::info, &w, &M::displaySystemMessages));
    ROW("B form error", connected(w.metarForm, &MetarForm::error, &w, &M::displayErrorMessages));
    ROW("B form info log", connected(w.metarForm, &MetarForm::info, w.logger, &logging::log));
    ROW("B form error log", connected(w.metarForm, &MetarForm::error, w.logger, &logging::log));
    ROW("B send_metar_confirmed", connected(w.dataIncoming, &D::send_metar_confirmed, w.metarForm,
                                            &MetarForm::on_send_metar_confirmed));
    ROW("B send_metar", connected(w.metarForm, &MetarForm::send_metar, &w, &M::writecommands));
    ROW("B metar_ready_for_review",
        connected(w.metarForm, &MetarForm::metar_ready_for_review, &w, &M::reviewMetar));
    ROW("B cancel button", connected(w.ui->pushbutton_metar_semiauto_cancel, &QPushButton::clicked,
                                     w.metarForm, &MetarForm::on_pushButton_cancel_send_clicked));
    ROW("B weather_data_received",
        connected(w.dataIncoming, &D::weather_data_received, w.metarForm, &MetarForm::on_realtime));
    ROW("B metar_detected",
        connected(w.dataIncoming, &D::metar_detected, w.metarForm, &MetarForm::on_metar_generated));
    ROW("B speci_detected",
        connected(w.dataIncoming, &D::speci_detected, w.metarForm, &MetarForm::on_speci_generated));
    ROW("B realtime_updated",
        connected(w.metarForm, &MetarForm::realtime_updated, &w, &M::on_realtime_updated));
    ROW("C bit info", connected(w.bitView, &BITView::info, &w, &M::displaySystemMessages));
    ROW("C bit error", connected(w.bitView, &BITView::error, &w, &M::displayErrorMessages));
    ROW("C bit info log", connected(w.bitView, &BITView::info, w.logger, &logging::log));
    ROW("C bit error log", connected(w.bitView, &BITView::error, w.logger, &logging::log));
    ROW("C sendBITcheckPacket", connected(w.dataIncoming, &D::sendBITcheckPacket, w.bitView,
                                          &BITView::on_bit_packet_received));
    ROW("D visibility dataChanged", connected(w.speciVisibilityModel, &SPECITableModel::dataChanged,
                                              &w, &M::on_SPECI_visibilitymodel_datachanged));
    ROW("D ceiling dataChanged", connected(w.speciCeilingModel, &SPECITableModel::dataChanged, &w,
                                           &M::on_SPECI_ceilingmodel_datachanged));
    ROW("D visibility validation",
        connected(w.speciVisibilityModel, &SPECITableModel::validationSPECIFailed, &w,
                  &M::on_speciValidationError));
    ROW("D ceiling validation",
        connected(w.speciCeilingModel, &SPECITableModel::validationSPECIFailed, &w,
                  &M::on_speciValidationError));
    ROW("E openSerial", connected(&w, &M::openSerial, w.dataIncoming, &D::openSerialPort));
    ROW("E closeSerial", connected(&w, &M::closeSerial, w.dataIncoming, &D::closeSerialPort));
    ROW("E writeSerial", connected(&w, &M::writeSerial, w.dataIncoming, &D::setCommandBuffer));
    ROW("E setLoggingState",
        connected(&w, &M::setLoggingState, w.dataIncoming, &D::setLoggingState));
    ROW("E setDeviceType",
        connected(&w, &M::setDeviceType, w.dataIncoming, &D::setDeviceTypeState));
    ROW("E displayLiveData", connected(&w, &M::displayLiveData, w.dataIncoming, &D::showLiveData));
    ROW("E setPrecipAccum24Int",
        connected(&w, &M::setPrecipAccum24Int, w.dataIncoming, &D::setPrecipAccum24IntState));
    ROW("F enableCamera",
        connected(w.dataIncoming, &D::enableCamera, &w, &M::imageAcqisitionActive));
    ROW("F sendImageProgressInfo",
        connected(w.dataIncoming, &D::sendImageProgressInfo, &w, &M::imageProgressInfo));
    ROW("F sendCameraProgress",
        connected(w.dataIncoming, &D::sendCameraProgress, &w, &M::displayImageDataProgress));
    ROW("F sendCameraFinal",
        connected(w.dataIncoming, &D::sendCameraFinal, &w, &M::displayImageDataFinal));
    ROW("F sendRawData", connected(w.dataIncoming, &D::sendRawData, &w, &M::updateRawData));
    ROW("F sendConfiguration",
        connected(w.dataIncoming, &D::sendConfiguration, &w, &M::setupConfiguration));
    ROW("E setStartupSequence",
        connected(&w, &M::setStartupSequence, w.dataIncoming, &D::setStartupSequence));
    ROW("F sendCommandConfirmation",
        connected(w.dataIncoming, &D::sendCommandConfirmation, &w, &M::commandConfirmation));
    ROW("E clearTamperingData",
        connected(&w, &M::clearTamperingData, w.dataIncoming, &D::clearTampering));
    ROW("E setORVAType", connected(&w, &M::setORVAType, w.dataIncoming, &D::legacyorvadevicecheck));
    ROW("F sendStackData", connected(w.dataIncoming, &D::sendStackData, &w, &M::orvaLoadStack));
    ROW("F sendORVACmdStatus",
        connected(w.dataIncoming, &D::sendORVACmdStatus, &w, &M::updateORVACmdMsgs));
    ROW("F sendDisplayErrorMsg",
        connected(w.dataIncoming, &D::sendDisplayErrorMsg, &w, &M::displayErrorMessages));
    ROW("F sendDisplaySysMsg",
        connected(w.dataIncoming, &D::sendDisplaySysMsg, &w, &M::displaySystemMessages));
    ROW("F sendLightningCompassData",
        connected(w.dataIncoming, &D::sendLightningCompassData, &w, &M::displayORVALightning));
    ROW("F sendModuleStatus",
        connected(w.dataIncoming, &D::sendModuleStatus, &w, &M::updateModuleIcon));
    ROW("F sendSpeciData",
        connected(w.dataIncoming, &D::sendSpeciData, &w, &M::displayORVASpeciSettings));
    ROW("F sendEncryptionStatus",
        connected(w.dataIncoming, &D::sendEncryptionStatus, &w, &M::setEncryptionStatus));
    ROW("E setEncryptionKeyMain",
        connected(&w, &M::setEncryptionKeyMain, w.dataIncoming, &D::setEncryptionKey));
    ROW("F setEncryptionKeyRequired",
        connected(w.dataIncoming, &D::setEncryptionKeyRequired, &w, &M::setupEncryptionMode));
    ROW("E setDevMode", connected(&w, &M::setDevMode, w.dataIncoming, &D::setDevModeState));
    ROW("E updateRunwayDirection",
        connected(&w, &M::updateRunwayDirection, w.dataIncoming, &D::updateRunwayDirection));
    ROW("F command_status_changed", connected(w.dataIncoming, &D::command_status_changed, &w,
                                              &M::update_orva_command_statuses));
    ROW("F on_error_station_radio", connected(w.dataIncoming, &D::on_error_station_radio, &w,
                                              &M::increment_receive_error_count));
    ROW("F encryption_status_changed", connected(w.dataIncoming, &D::encryption_status_changed, &w,
                                                 &M::on_encryption_status_change));
    ROW("F prepSchedReceived",
        connected(w.dataIncoming, &D::prepSchedReceived, &w, &M::on_prepSchedReceived));
    ROW("F lightning_parameters_received",
        connected(w.dataIncoming, &D::lightning_parameters_received, &w,
                  &M::on_lightning_parameters_received));
    ROW("F lightning_autocal_confirmed", connected(w.dataIncoming, &D::lightning_autocal_confirmed,
                                                   &w, &M::on_lightning_autocal_confirmed));
    ROW("G lightningProgressTimer",
        connected(&w.lightningProgressTimer, &QTimer::timeout, &w, &M::on_lightning_progress));
    ROW("G lightningCmdTimer",
        connected(&w.lightningCmdTimer, &QTimer::timeout, &w, &M::on_lightning_command_error));
    ROW("F encryption_parse_confirmed",
        connected(w.dataIncoming, &D::encryption_parse_confirmed, &w,
                  &M::on_encryption_confirmation_status_change));
    ROW("G passkeyTimer",
        connected(&w.passkeyTimer, &QTimer::timeout, &w, &M::on_encryption_passkey_set_timeout));
    ROW("H sendLogMsg", connected(w.dataIncoming, &D::sendLogMsg, w.logger, &logging::logMessages));
    ROW("H sendLogData", connected(w.dataIncoming, &D::sendLogData, w.logger, &logging::logData));
    ROW("H logDataMainMsg", connected(&w, &M::logDataMainMsg, w.logger, &logging::logMessages));
    ROW("H setLoggingState", connected(&w, &M::setLoggingState, w.logger, &logging::setLogState));
    ROW("H closeLogFile", connected(&w, &M::closeLogFile, w.logger, &logging::closeLog));
    ROW("H setLogLocation", connected(&w, &M::setLogLocation, w.logger, &logging::setLogLocation));
    ROW("I encryptionKeyReady", connected(w.keyChecker, &checkEncryptionKey::encryptionKeyReady, &w,
                                          &M::finishedEncryptionSetup));
    ROW("I startEncryptionKeyCheck", connected(&w, &M::startEncryptionKeyCheck, w.keyChecker,
                                               &checkEncryptionKey::checkEncryptionInfo));
    ROW("J deviceSelected", connected(w.selectDeviceDialog, &DialogSelectDevice::deviceSelected, &w,
                                      &M::startupDevice));
    ROW("J brqStartupSequence",
        connected(w.selectDeviceDialog, &DialogSelectDevice::brqStartupSequence, &w,
                  &M::startupBRQPowerOff));
    ROW("J orvaSetEncryptWritecommands",
        connected(w.selectDeviceDialog, &DialogSelectDevice::orvaSetEncryptWritecommands, &w,
                  &M::setORVAencryptWritecommands));
    ROW("J sendData", connected(w.encryptionKeyDialog, &DialogEncryptionKey::sendData, &w,
                                &M::generateEncryptionKey));
    ROW("J clearEncryptionData", connected(&w, &M::clearEncryptionData, w.encryptionKeyDialog,
                                           &DialogEncryptionKey::clearValues));
    ROW("K debug shortcut", connected(w.findChild<QShortcut*>(), &QShortcut::activated,
                                      w.dataIncoming, &D::debugORVApacket));
    ROW("G stackCmdTimer",
        connected(&w.stackCmdTimer, &QTimer::timeout, &w, &M::on_stack_command_timeout));
    ROW("F sig_orva_enable_disable",
        connected(w.dataIncoming, &D::sig_orva_enable_disable, &w, &M::on_enable_disable_response));
    ROW("G autosave timer", [&w] {
        for (QTimer* t : w.findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (t->interval() == 300000 && connected(t, &QTimer::timeout, &w, &M::saveSettings))
                return true;
        }
        return false;
    }());
}

void TestMainWindow::everyConnectionIsMade()
{
    QFETCH(Check, check);
    QVERIFY(check(*shared));
}

void TestMainWindow::connectionsReachTheirReceivers()
{
    MainGUI window;

    // The command-write timer drives the queue.
    window.deviceType = DeviceTypes::ORVA;
    window.encryptWriteCommands = false;
    QSignalSpy written(&window, &MainGUI::writeSerial);
    window.writecommands("led=ON\r\n");
    window.cmdWriteTimer->setInterval(10);
    QTRY_COMPARE_WITH_TIMEOUT(written.count(), 1, 2000);
    QCOMPARE(written.at(0).at(0).toByteArray(), QByteArray("led=ON\r\n"));

    // The report form's transmissions go through the same sink.
    window.deviceType = DeviceTypes::BRQ;
    emit window.metarForm->send_metar("send METAR KVDS\r");
    QCOMPARE(written.count(), 2);
    QCOMPARE(written.at(1).at(0).toByteArray(), QByteArray("send METAR KVDS\r"));

    // The window's log line reaches the logging thread and its file.
    emit window.logDataMainMsg("INFO: connection check of the window log line");
    QTRY_VERIFY_WITH_TIMEOUT(
        applicationLogs().contains("INFO: connection check of the window log line"), 5000);

    // The window's settings reach the link worker on its own thread.
    window.threadData->start();
    QSignalSpy linkLog(window.dataIncoming, &data_incoming::sendLogMsg);
    emit window.setDeviceType(DeviceTypes::ORVA);
    emit window.openSerial(QStringLiteral("/dev/vd-no-such-port"));
    const auto lineStarting = [&linkLog](const QByteArray& start) {
        for (const QList<QVariant>& args : qAsConst(linkLog)) {
            if (args.at(0).toByteArray().startsWith(start))
                return true;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(lineStarting("ERROR: Unable to Open Serial Port /dev/vd-no-such-port"),
                             5000);
    QCOMPARE(linkLog.at(0).at(0).toByteArray(), QByteArray("INFO: Setting Device Type to ORVA"));

    // The link's end of a BRQ power-on configuration reaches the start-up slot.
    QStringList boxes;
    setModalRunner([&boxes](QDialog& d) {
        boxes << d.windowTitle();
        return 0;
    });
    window.brqStartupPending = true;
    emit window.dataIncoming->sendConfiguration(QStringLiteral("EndSequence"));
    QCOMPARE(boxes, QStringList{QStringLiteral("Success")});

    // The dialog's choice starts the device.
    window.deviceType = DeviceTypes::None;
    emit window.selectDeviceDialog->orvaSetEncryptWritecommands(true);
    emit window.selectDeviceDialog->deviceSelected(DeviceTypes::ORVA, QStringLiteral("/dev/null"));
    QVERIFY(window.encryptWriteCommands);
    QCOMPARE(window.deviceType, DeviceTypes::ORVA);
    QVERIFY(window.isVisible());

    // The SPECI views open their menu through their own handler, once it exists.
    for (QTableView* view :
         {static_cast<QTableView*>(window.ui->tableView_SPECISettings_Visibility),
          static_cast<QTableView*>(window.ui->tableView_SPECISettings_Ceiling)}) {
        if (view->metaObject()->indexOfSlot("showContextMenu(QPoint)") < 0) {
            qInfo("The SPECI view has no context-menu handler yet");
            continue;
        }
        QVERIFY(QObject::disconnect(view, SIGNAL(customContextMenuRequested(QPoint)), view,
                                    SLOT(showContextMenu(QPoint))));
    }
}

void TestMainWindow::destructionStopsThreadsInOrder()
{
    auto window = std::make_unique<MainGUI>();
    window->threadData->start();
    QTRY_VERIFY(window->threadData->isRunning());

    // Order in which the threads end, recorded on the threads themselves.
    QMutex mutex;
    QStringList ended;
    connect(
        window->threadData, &QThread::finished, window->threadData,
        [&] {
            QMutexLocker lock(&mutex);
            ended << QStringLiteral("link");
        },
        Qt::DirectConnection);
    connect(
        window->threadLogging, &QThread::finished, window->threadLogging,
        [&] {
            QMutexLocker lock(&mutex);
            ended << QStringLiteral("logging");
        },
        Qt::DirectConnection);
    const QPointer<QThread> link = window->threadData;
    const QPointer<QThread> log = window->threadLogging;
    const QPointer<data_incoming> linkWorker = window->dataIncoming;
    const QPointer<logging> logWorker = window->logger;
    const QPointer<QDialog> dialog = window->selectDeviceDialog;

    // Whatever the start-up made of the settings file, the shutdown writes it anew.
    const QString settings = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                                 .filePath(QStringLiteral("options_json.json"));
    QFile::remove(settings);

    window.reset();

    QVERIFY(QFile::exists(settings));
    QCOMPARE(ended, (QStringList{QStringLiteral("link"), QStringLiteral("logging")}));
    QVERIFY(!link && !log && !linkWorker && !logWorker && !dialog);
    QVERIFY(applicationLogs().contains("INFO: Exiting Program"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
