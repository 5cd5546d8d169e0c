// The main window as constructed: its threads, timers, widgets and look, every signal
// connection it makes, and the order in which it shuts down.

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
#include "reports/criteriatablemodel.h"
#include "reports/metarform.h"
#include "tests/app/apptest.h"
#include "tools/unitsim/ptypair.h"

#include <QApplication>
#include <QDir>
#include <QShortcut>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeView>

#include <functional>
#include <memory>
#include <mutex>

namespace
{

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

    // One window for the checks that only look and for the connection rows: each row only
    // takes its own connection away.
    std::unique_ptr<MainGUI> shared;

private slots:
    void initTestCase()
    {
        registerSharedMetaTypes();
        // The built-in-test configuration is read from the working folder at start-up.
        QTemporaryDir folder;
        QFile config(folder.filePath(QStringLiteral("bit_json.json")));
        QVERIFY(config.open(QIODevice::WriteOnly) && config.write(R"({"version":1.5})") > 0);
        config.close();
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        shared = std::make_unique<MainGUI>();
        QDir::setCurrent(previous);
    }
    void cleanup() { setModalRunner({}); }
    void cleanupTestCase() { shared.reset(); }

    void startsWithOnlyTheDeviceDialog()
    {
        MainGUI window;
        window.showSelectDevice();
        QWidgetList visible;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                visible << w;
        }
        QCOMPARE(visible, QWidgetList{window.selectDeviceDialog});
        QVERIFY(!window.isVisible());
        window.selectDeviceDialog->hide();
    }

    void stateAfterConstruction()
    {
        MainGUI& window = *shared;
        QVERIFY(window.threadLogging->isRunning());
        QVERIFY(!window.threadData->isRunning());
        QVERIFY(!window.threadEncCheck->isRunning());
        QCOMPARE(window.logger->thread(), window.threadLogging);
        QCOMPARE(window.dataIncoming->thread(), window.threadData);
        QCOMPARE(window.keyChecker->thread(), window.threadEncCheck);

        QCOMPARE(window.cmdWriteTimer->parent(), &window);
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

        // Long-lived windows and workers have no parent and do not keep the application alive.
        QVERIFY(window.selectDeviceDialog->testAttribute(Qt::WA_QuitOnClose));
        for (QWidget* w :
             QWidgetList{window.aboutDialog, window.metarForm, window.encryptionKeyDialog})
            QVERIFY(!w->testAttribute(Qt::WA_QuitOnClose));
        for (QObject* parentless :
             QObjectList{window.selectDeviceDialog, window.aboutDialog, window.metarForm,
                         window.encryptionKeyDialog, window.dataIncoming, window.logger,
                         window.keyChecker, window.speciVisibilityModel, window.speciCeilingModel})
            QVERIFY(!parentless->parent());
        QCOMPARE(window.bitView->parent(), &window);
    }

    void widgetsAndToolTipsAfterConstruction()
    {
        MainGUI& window = *shared;
        Ui_MainGUI& f = *window.ui;
        QVERIFY(f.progressBar_orva_lightning_autocal->isHidden());
        QVERIFY(!f.label_orva_commands_stack_none->isHidden());
        QVERIFY(f.groupBox_orva_commands_stack_functionality->isHidden());
        QVERIFY(f.label_orva_commands_success_indicator->isHidden());
        QVERIFY(f.pushButton_show_live_data->isHidden());
        QCOMPARE(f.stackedWidget_MainLayout->currentWidget(), f.page_mainLayout);

        const QStringList statusCells = {"transmit_frequency",
                                         "gps",
                                         "elevation",
                                         "decl",
                                         "rf",
                                         "blower",
                                         "heater",
                                         "led",
                                         "log",
                                         "timestamp",
                                         "icao",
                                         "send",
                                         "rflos_txf",
                                         "rflos_rxf",
                                         "rflos_program_channel",
                                         "rflos_selected_channel",
                                         "rflos_message_rate"};
        for (int i = 0; i < CommandIndexCount; ++i) {
            QVERIFY(window.commandStatusLabels[i]);
            QCOMPARE(window.commandStatusLabels[i]->objectName(),
                     "label_command_" + statusCells.at(i) + "_status");
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

    void darkStyleApplies()
    {
        MainGUI& window = *shared;
        const QByteArray base = fileBytes(QStringLiteral(":/resources/stylesheet-base.qss"));
        const QByteArray dark = fileBytes(QStringLiteral(":/resources/stylesheet-dark.qss"));
        QVERIFY(!base.isEmpty() && !dark.isEmpty());
        QCOMPARE(qApp->styleSheet(), QString::fromUtf8(base + dark));
        QVERIFY(!qApp->styleSheet().contains(
            QString::fromUtf8(fileBytes(QStringLiteral(":/resources/stylesheet-light.qss")))));

        // The dark look reaches the widgets: fields #1F2933 with #F5F7FA text, page #121212.
        QTextEdit* pane = window.ui->textEditRawData;
        pane->ensurePolished();
        QCOMPARE(pane->palette().color(QPalette::Base), QColor(0x1F, 0x29, 0x33));
        QCOMPARE(pane->palette().color(QPalette::Text), QColor(0xF5, 0xF7, 0xFA));
        QWidget* page = window.ui->pageSettings;
        page->ensurePolished();
        QCOMPARE(page->palette().color(QPalette::Window), QColor(0x12, 0x12, 0x12));
    }

    // The about box from its button: version line and texts, and an OK that hides it for the
    // next showing.
    void aboutBox()
    {
        MainGUI window;
        window.show();
        QDialog* about = window.aboutDialog;
        QCOMPARE(about->size(), QSize(498, 407));
        QTest::mouseClick(window.ui->pushButtonAboutSoftware, Qt::LeftButton);
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("About"));
        QCOMPARE(child<QLabel>(about, "labelVersion")->text(),
                 QStringLiteral("Vantora Direct Version 3.1.13b"));
        QVERIFY(!child<QLabel>(about, "label_Copyright")->text().isEmpty());
        QCOMPARE(about->windowModality(), Qt::ApplicationModal);
        QCOMPARE(about->contextMenuPolicy(), Qt::NoContextMenu);
        QVERIFY(!about->windowIcon().isNull());
        auto* ok = child<QPushButton>(about, "pushButtonClose");
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about->isVisible());
        QTest::mouseClick(window.ui->pushButtonAboutSoftware, Qt::LeftButton);
        QVERIFY(about->isVisible());
        about->hide();
    }

    void everyConnectionIsMade_data();
    void everyConnectionIsMade()
    {
        QFETCH(Check, check);
        QVERIFY(check(*shared));
    }

    void connectionsReachTheirReceivers()
    {
        MainGUI window;

        // The command-write timer drives the queue.
        window.deviceType = DeviceTypes::ORVA;
        window.encryptWriteCommands = false;
        QSignalSpy written(&window, &MainGUI::writeSerial);
        window.writecommands("led=ON\r\n");
        window.cmdWriteTimer->setInterval(10);
        QTRY_COMPARE_WITH_TIMEOUT(written.count(), 1, 10000);
        QCOMPARE(written.at(0).at(0).toByteArray(), QByteArray("led=ON\r\n"));

        // The report form's transmissions go through the same sink.
        window.deviceType = DeviceTypes::BRQ;
        emit window.metarForm->send_metar("send METAR KVDS\r");
        QCOMPARE(written.count(), 2);
        QCOMPARE(written.at(1).at(0).toByteArray(), QByteArray("send METAR KVDS\r"));

        // The window's log line reaches the logging thread and its file.
        emit window.logDataMainMsg("INFO: connection check of the window log line");
        QTRY_VERIFY_WITH_TIMEOUT(
            applicationLogs().contains("INFO: connection check of the window log line"), 10000);

        // The window's settings reach the link worker on its own thread.
        window.threadData->start();
        QueuedSpy linkLog(window.dataIncoming, &data_incoming::sendLogMsg);
        emit window.setDeviceType(DeviceTypes::ORVA);
        emit window.openSerial(QStringLiteral("/dev/vd-no-such-port"));
        const auto lineStarting = [&linkLog](const QByteArray& start) {
            for (const QList<QVariant>& args : qAsConst(linkLog)) {
                if (args.at(0).toByteArray().startsWith(start))
                    return true;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(
            lineStarting("ERROR: Unable to Open Serial Port /dev/vd-no-such-port"), 10000);
        QCOMPARE(linkLog.at(0).at(0).toByteArray(),
                 QByteArray("INFO: Setting Device Type to ORVA"));

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
        emit window.selectDeviceDialog->deviceSelected(DeviceTypes::ORVA,
                                                       QStringLiteral("/dev/null"));
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

    // Closing the window closes the port through the link worker, whose line reaches the log
    // before the logging thread ends: the threads end link first, then logging.
    void destructionStopsThreadsInOrder_data()
    {
        QTest::addColumn<bool>("portOpen");
        QTest::newRow("port open") << true;
        QTest::newRow("port that would not open") << false;
    }
    void destructionStopsThreadsInOrder()
    {
        QFETCH(bool, portOpen);
        unitsim::PtyPair line;
        QVERIFY2(line.isOpen(), qPrintable(line.errorString()));
        // A name of this run's own: the windows of every suite and run log into the same folder.
        const QByteArray port =
            QFile::encodeName(portOpen ? line.portPath() : line.portPath() + "-absent");
        auto window = std::make_unique<MainGUI>();
        window->threadData->start();
        QTRY_VERIFY_WITH_TIMEOUT(window->threadData->isRunning(), 10000);
        emit window->openSerial(QFile::decodeName(port));
        const QByteArray opened = portOpen ? "INFO: Successfully Opened Serial Port " + port + '\n'
                                           : "ERROR: Unable to Open Serial Port " + port + ' ';
        QTRY_VERIFY_WITH_TIMEOUT(applicationLogs().contains(opened), 10000);

        // Order in which the threads end, recorded on the threads themselves. A std::mutex, which
        // ThreadSanitizer sees (it does not see QMutex, nor the wait for the threads' end).
        std::mutex mutex;
        QStringList ended;
        connect(
            window->threadData, &QThread::finished, window->threadData,
            [&] {
                const std::lock_guard<std::mutex> lock(mutex);
                ended << QStringLiteral("link");
            },
            Qt::DirectConnection);
        connect(
            window->threadLogging, &QThread::finished, window->threadLogging,
            [&] {
                const std::lock_guard<std::mutex> lock(mutex);
                ended << QStringLiteral("logging");
            },
            Qt::DirectConnection);
        const QPointer<QThread> link = window->threadData;
        const QPointer<QThread> log = window->threadLogging;
        const QPointer<data_incoming> linkWorker = window->dataIncoming;
        const QPointer<logging> logWorker = window->logger;
        const QPointer<QDialog> dialog = window->selectDeviceDialog;

        // Whatever the start-up made of the settings file, the shutdown writes it anew.
        const QString settings =
            QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                .filePath(QStringLiteral("options_json.json"));
        QFile::remove(settings);

        window.reset();

        QVERIFY(QFile::exists(settings));
        const std::lock_guard<std::mutex> lock(mutex);
        QCOMPARE(ended, (QStringList{QStringLiteral("link"), QStringLiteral("logging")}));
        QVERIFY(!link && !log && !linkWorker && !logWorker && !dialog);
        QVERIFY(applicationLogs().contains("INFO: Exiting Program"));
        QVERIFY(applicationLogs().contains("INFO: Successfully Closed Serial Port " + port + '\n'));
    }
};

#define ROW(s, sig, r, slot)                                                                       \
    QTest::newRow(#s " " #sig " " #slot)                                                           \
        << Check([](MainGUI& w) { return connected(s, sig, r, slot); })

void TestMainWindow::everyConnectionIsMade_data()
{
    QTest::addColumn<Check>("check");
    using D = data_incoming;
    using M = MainGUI;
    ROW(w.cmdWriteTimer, &QTimer::timeout, &w, &M::try_command_write);
    ROW(w.dataIncoming, &D::sendDecodedData, &w, &M::on_send_decoded_data);
    ROW(w.metarForm, &MetarForm::info, &w, &M::displaySystemMessages);
    ROW(w.metarForm, &MetarForm::error, &w, &M::displayErrorMessages);
    ROW(w.metarForm, &MetarForm::info, w.logger, &logging::log);
    ROW(w.metarForm, &MetarForm::error, w.logger, &logging::log);
    ROW(w.dataIncoming, &D::send_metar_confirmed, w.metarForm, &MetarForm::on_send_metar_confirmed);
    ROW(w.metarForm, &MetarForm::send_metar, &w, &M::writecommands);
    ROW(w.metarForm, &MetarForm::metar_ready_for_review, &w, &M::reviewMetar);
    ROW(w.ui->pushbutton_metar_semiauto_cancel, &QPushButton::clicked, w.metarForm,
        &MetarForm::on_pushButton_cancel_send_clicked);
    ROW(w.dataIncoming, &D::weather_data_received, w.metarForm, &MetarForm::on_realtime);
    ROW(w.dataIncoming, &D::metar_detected, w.metarForm, &MetarForm::on_metar_generated);
    ROW(w.dataIncoming, &D::speci_detected, w.metarForm, &MetarForm::on_speci_generated);
    ROW(w.metarForm, &MetarForm::realtime_updated, &w, &M::on_realtime_updated);
    ROW(w.bitView, &BITView::info, &w, &M::displaySystemMessages);
    ROW(w.bitView, &BITView::error, &w, &M::displayErrorMessages);
    ROW(w.bitView, &BITView::info, w.logger, &logging::log);
    ROW(w.bitView, &BITView::error, w.logger, &logging::log);
    ROW(w.dataIncoming, &D::sendBITcheckPacket, w.bitView, &BITView::on_bit_packet_received);
    QTest::newRow("bit_json.json loaded at start-up") << Check([](MainGUI& w) {
        return w.ui->textEdit_SysMsgs->toPlainText().contains(
            "INFO: Bit Status Config File Version 1.5 Loaded");
    });
    ROW(w.speciVisibilityModel, &SPECITableModel::dataChanged, &w,
        &M::on_SPECI_visibilitymodel_datachanged);
    ROW(w.speciCeilingModel, &SPECITableModel::dataChanged, &w,
        &M::on_SPECI_ceilingmodel_datachanged);
    ROW(w.speciVisibilityModel, &SPECITableModel::validationSPECIFailed, &w,
        &M::on_speciValidationError);
    ROW(w.speciCeilingModel, &SPECITableModel::validationSPECIFailed, &w,
        &M::on_speciValidationError);
    ROW(&w, &M::openSerial, w.dataIncoming, &D::openSerialPort);
    ROW(&w, &M::closeSerial, w.dataIncoming, &D::closeSerialPort);
    ROW(&w, &M::writeSerial, w.dataIncoming, &D::setCommandBuffer);
    ROW(&w, &M::setLoggingState, w.dataIncoming, &D::setLoggingState);
    ROW(&w, &M::setDeviceType, w.dataIncoming, &D::setDeviceTypeState);
    ROW(&w, &M::displayLiveData, w.dataIncoming, &D::showLiveData);
    ROW(&w, &M::setPrecipAccum24Int, w.dataIncoming, &D::setPrecipAccum24IntState);
    ROW(w.dataIncoming, &D::enableCamera, &w, &M::imageAcqisitionActive);
    ROW(w.dataIncoming, &D::sendImageProgressInfo, &w, &M::imageProgressInfo);
    ROW(w.dataIncoming, &D::sendCameraProgress, &w, &M::displayImageDataProgress);
    ROW(w.dataIncoming, &D::sendCameraFinal, &w, &M::displayImageDataFinal);
    ROW(w.dataIncoming, &D::sendRawData, &w, &M::updateRawData);
    ROW(w.dataIncoming, &D::sendConfiguration, &w, &M::setupConfiguration);
    ROW(&w, &M::setStartupSequence, w.dataIncoming, &D::setStartupSequence);
    ROW(w.dataIncoming, &D::sendCommandConfirmation, &w, &M::commandConfirmation);
    ROW(w.dataIncoming, &D::sendCommandsNotSent, &w, &M::commandsNotSent);
    ROW(&w, &M::clearTamperingData, w.dataIncoming, &D::clearTampering);
    ROW(&w, &M::setORVAType, w.dataIncoming, &D::legacyorvadevicecheck);
    ROW(w.dataIncoming, &D::sendStackData, &w, &M::orvaLoadStack);
    ROW(w.dataIncoming, &D::sendORVACmdStatus, &w, &M::updateORVACmdMsgs);
    ROW(w.dataIncoming, &D::sendDisplayErrorMsg, &w, &M::displayErrorMessages);
    ROW(w.dataIncoming, &D::sendDisplaySysMsg, &w, &M::displaySystemMessages);
    ROW(w.dataIncoming, &D::sendLightningCompassData, &w, &M::displayORVALightning);
    ROW(w.dataIncoming, &D::sendModuleStatus, &w, &M::updateModuleIcon);
    ROW(w.dataIncoming, &D::sendSpeciData, &w, &M::displayORVASpeciSettings);
    ROW(w.dataIncoming, &D::sendEncryptionStatus, &w, &M::setEncryptionStatus);
    ROW(&w, &M::setEncryptionKeyMain, w.dataIncoming, &D::setEncryptionKey);
    ROW(w.dataIncoming, &D::setEncryptionKeyRequired, &w, &M::setupEncryptionMode);
    ROW(&w, &M::setDevMode, w.dataIncoming, &D::setDevModeState);
    ROW(&w, &M::updateRunwayDirection, w.dataIncoming, &D::updateRunwayDirection);
    ROW(w.dataIncoming, &D::command_status_changed, &w, &M::update_orva_command_statuses);
    ROW(w.dataIncoming, &D::on_error_station_radio, &w, &M::increment_receive_error_count);
    ROW(w.dataIncoming, &D::encryption_status_changed, &w, &M::on_encryption_status_change);
    ROW(w.dataIncoming, &D::prepSchedReceived, &w, &M::on_prepSchedReceived);
    ROW(w.dataIncoming, &D::lightning_parameters_received, &w,
        &M::on_lightning_parameters_received);
    ROW(w.dataIncoming, &D::lightning_autocal_confirmed, &w, &M::on_lightning_autocal_confirmed);
    ROW(&w.lightningProgressTimer, &QTimer::timeout, &w, &M::on_lightning_progress);
    ROW(&w.lightningCmdTimer, &QTimer::timeout, &w, &M::on_lightning_command_error);
    ROW(w.dataIncoming, &D::encryption_parse_confirmed, &w,
        &M::on_encryption_confirmation_status_change);
    ROW(&w.passkeyTimer, &QTimer::timeout, &w, &M::on_encryption_passkey_set_timeout);
    ROW(w.dataIncoming, &D::sendLogMsg, w.logger, &logging::logMessages);
    ROW(w.dataIncoming, &D::sendLogData, w.logger, &logging::logData);
    ROW(&w, &M::logDataMainMsg, w.logger, &logging::logMessages);
    ROW(&w, &M::setLoggingState, w.logger, &logging::setLogState);
    ROW(&w, &M::closeLogFile, w.logger, &logging::closeLog);
    ROW(&w, &M::setLogLocation, w.logger, &logging::setLogLocation);
    ROW(w.keyChecker, &checkEncryptionKey::encryptionKeyReady, &w, &M::finishedEncryptionSetup);
    ROW(&w, &M::startEncryptionKeyCheck, w.keyChecker, &checkEncryptionKey::checkEncryptionInfo);
    ROW(w.selectDeviceDialog, &DialogSelectDevice::deviceSelected, &w, &M::startupDevice);
    ROW(w.selectDeviceDialog, &DialogSelectDevice::brqStartupSequence, &w, &M::startupBRQPowerOff);
    ROW(w.selectDeviceDialog, &DialogSelectDevice::orvaSetEncryptWritecommands, &w,
        &M::setORVAencryptWritecommands);
    ROW(w.encryptionKeyDialog, &DialogEncryptionKey::sendData, &w, &M::generateEncryptionKey);
    ROW(&w, &M::clearEncryptionData, w.encryptionKeyDialog, &DialogEncryptionKey::clearValues);
    ROW(w.findChild<QShortcut*>(), &QShortcut::activated, w.dataIncoming, &D::debugORVApacket);
    ROW(&w.stackCmdTimer, &QTimer::timeout, &w, &M::on_stack_command_timeout);
    ROW(w.dataIncoming, &D::sig_orva_enable_disable, &w, &M::on_enable_disable_response);
    QTest::newRow("autosave timer") << Check([](MainGUI& w) {
        for (QTimer* t : w.findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (t->interval() == 300000 && connected(t, &QTimer::timeout, &w, &M::saveSettings))
                return true;
        }
        return false;
    });
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
