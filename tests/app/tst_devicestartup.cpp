// Starting a unit from the setup dialog: ORVA over serial and radio, BRQ active or from
// power-off, a new connection from the setup button, against a simulated unit on a pty; and what
// the simulated ORVA unit fills first, the Bit Status and SPECI pages.

#include "tests/support/testsupport.h"

#include "app/dialogselectdevice.h"
#include "app/maingui.h"
#include "app/modalrunner.h"
#include "forms/maingui_ui.h"
#include "link/data_incoming.h"
#include "reports/criteriatablemodel.h"
#include "reports/metarform.h"
#include "tests/app/apptest.h"
#include "tools/unitsim/unitsim.h"

#include <QDialog>
#include <QGraphicsView>
#include <QJsonDocument>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

using unitsim::Family;
using unitsim::UnitOptions;
using unitsim::UnitSim;

namespace
{

UnitOptions unitOptions(Family family, int periodMs)
{
    UnitOptions options;
    options.family = family;
    options.periodMs = periodMs;
    return options;
}

// The window's signals to the link and the logger, in the order the window emits them.
class SignalTrace : public QObject
{
public:
    explicit SignalTrace(MainGUI* window)
    {
        connect(window, &MainGUI::setDeviceType, this,
                [this](DeviceTypes t) { add("setDeviceType", deviceTypeName(t)); });
        connect(window, &MainGUI::openSerial, this,
                [this](const QString& port) { add("openSerial", port); });
        connect(window, &MainGUI::closeSerial, this, [this] { add("closeSerial"); });
        connect(window, &MainGUI::clearTamperingData, this, [this] { add("clearTamperingData"); });
        connect(window, &MainGUI::setStartupSequence, this,
                [this](bool on) { add("setStartupSequence", on ? "true" : "false"); });
        connect(window, &MainGUI::writeSerial, this, [this](const QByteArray& bytes) {
            add("writeSerial", QString::fromLatin1(bytes.toPercentEncoding()));
        });
        // Only the start-up's own log lines; the page layout may write others.
        connect(window, &MainGUI::logDataMainMsg, this, [this](const QByteArray& line) {
            if (line.startsWith("INFO: Starting BRQ Startup Sequence") ||
                line.startsWith("INFO: New Device Connection"))
                add("log", QString::fromUtf8(line));
        });
    }

    QStringList calls;

private:
    void add(const char* name, const QString& argument = QString())
    {
        calls << (argument.isNull() ? QString::fromLatin1(name)
                                    : QString::fromLatin1(name) + QLatin1Char(' ') + argument);
    }
};

// Counts the BIT view's note on an old firmware's controller line; other debug lines, from any
// thread, are dropped.
class DeprecatedBitNotes
{
public:
    DeprecatedBitNotes()
    {
        enableDebugOutput();
        count = 0;
        previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                if (type != QtDebugMsg)
                    previous(type, context, text);
                else if (text.contains(QLatin1String("Deprecated BIT firmware")))
                    ++count;
            });
    }
    ~DeprecatedBitNotes() { qInstallMessageHandler(previous); }
    int seen() const { return count; }

private:
    static inline std::atomic<int> count{0};
    static inline QtMessageHandler previous = nullptr;
};

} // namespace

class TestDeviceStartup : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        boxes.clear();
        statusWhileBoxShown.clear();
        setModalRunner([this](QDialog& dialog) {
            boxes << dialog.windowTitle();
            statusWhileBoxShown = window->connectionStatusLabel.text();
            return 0;
        });
        window = std::make_unique<MainGUI>();
        linkLog = std::make_unique<QueuedSpy>(window->dataIncoming, &data_incoming::sendLogMsg);
    }
    void cleanup()
    {
        linkLog.reset();
        window.reset();
        setModalRunner({});
    }

    void orvaStartShowsDashboardAndQueriesUnit()
    {
        UnitSim unit(unitOptions(Family::Orva, 60000));
        QVERIFY2(unit.open(), qPrintable(unit.errorString()));
        QSignalSpy heard(&unit, &UnitSim::commandReceived);
        SignalTrace trace(window.get());

        window->showSelectDevice();
        startOrva(unit.portPath());

        QVERIFY(window->isVisible());
        QCOMPARE(window->deviceType, DeviceTypes::ORVA);
        QCOMPARE(window->ui->stackedWidget_mainPages->currentWidget(),
                 window->ui->pageDashboardTrends);
        QVERIFY(window->ui->pushButtonDashboard->isChecked());
        QCOMPARE(window->ui->textEditRawData->toPlainText(), QStringLiteral("Waiting for Data..."));
        QCOMPARE(window->connectionStatusLabel.text(), QStringLiteral("Connecting to Device..."));
        QVERIFY(window->statusLabel.text().isEmpty());
        QVERIFY(window->threadData->isRunning());
        QVERIFY(!window->firstLayoutPending);

        // The device type goes out before the open request; the queries wait for the queue.
        QCOMPARE(trace.calls, (QStringList{QStringLiteral("setDeviceType ORVA"),
                                           QStringLiteral("openSerial ") + unit.portPath()}));

        VERIFY_OPENED(*linkLog, unit.portPath());
        QTRY_VERIFY_WITH_TIMEOUT(unit.isLinked(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(heard.count(), 2, 10000);
        QCOMPARE(firstArgs(heard), (QStringList{"frequency", "metar_offset"}));
        QCOMPARE(trace.calls.mid(2),
                 (QStringList{"writeSerial frequency%0D%0A", "writeSerial metar_offset%0D%0A"}));
    }
    void setupReturnsToDialogAndReconnects()
    {
        UnitSim first(unitOptions(Family::Orva, 60000));
        QVERIFY(first.open());
        startOrva(first.portPath());
        VERIFY_OPENED(*linkLog, first.portPath());
        QTRY_VERIFY_WITH_TIMEOUT(first.isLinked(), 10000);

        SignalTrace trace(window.get());
        window->ui->pushButtonSetupConnection->click();
        QVERIFY(window->selectDeviceDialog->isVisible());
        QVERIFY(window->isVisible());
        QVERIFY(window->deviceLayoutPending);
        QCOMPARE(window->statusLabel.text(), QStringLiteral("Disconnected from Device."));
        QVERIFY(window->connectionStatusLabel.text().isEmpty());
        QCOMPARE(trace.calls, (QStringList{"clearTamperingData", "closeSerial",
                                           "log INFO: New Device Connection requested"}));
        QTRY_VERIFY_WITH_TIMEOUT(!first.isLinked(), 10000);

        UnitSim second(unitOptions(Family::Orva, 60000));
        QVERIFY(second.open());
        QSignalSpy heard(&second, &UnitSim::commandReceived);
        window->selectDeviceDialog->hide();
        startOrva(second.portPath());
        QVERIFY(!window->deviceLayoutPending);
        VERIFY_OPENED(*linkLog, second.portPath());
        QTRY_VERIFY_WITH_TIMEOUT(second.isLinked(), 10000);
        // The new connection asks its unit for the schedule again.
        QTRY_COMPARE_WITH_TIMEOUT(heard.count(), 2, 10000);
        QCOMPARE(firstArgs(heard), (QStringList{"frequency", "metar_offset"}));
        QCOMPARE(
            window->ui->label_10->text(),
            QStringLiteral("* History of standard METARs (hourly observations on the 55th "
                           "minute), edited METARs and SPECIs are tracked on this page (max 24 "
                           "hours)"));
    }
    void radioStartEncryptsQueries()
    {
        const QByteArray key =
            QByteArray::fromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
        const QByteArray iv = QByteArray::fromHex("0102030405060708");
        UnitOptions options = unitOptions(Family::Orva, 60000);
        options.key = key.toBase64();
        options.iv = iv.toBase64();
        UnitSim unit(options);
        QVERIFY(unit.open());
        QSignalSpy heard(&unit, &UnitSim::commandReceived);
        window->encryptionKey = key.toBase64();
        window->encryptionIV = QString::fromLatin1(iv.toBase64());

        startOrva(unit.portPath(), true);
        QVERIFY(window->encryptWriteCommands);
        VERIFY_OPENED(*linkLog, unit.portPath());
        QTRY_COMPARE_WITH_TIMEOUT(heard.count(), 2, 10000);
        QCOMPARE(firstArgs(heard), (QStringList{"frequency", "metar_offset"}));
        QVERIFY(heard.at(0).at(1).toBool() && heard.at(1).at(1).toBool());
    }
    void brqPowerOffSendsStringAndEndsConfigured()
    {
        // A second connection, so that only the power-off start-up itself acts on the page (the
        // first one lays the window out and opens the dashboard).
        startOrva(QStringLiteral("/dev/vd-no-such-port"));
        pressSetup();
        window->ui->stackedWidget_mainPages->setCurrentWidget(window->ui->pageSettings);

        UnitSim unit(unitOptions(Family::Brq, 400));
        QVERIFY(unit.open());
        QSignalSpy heard(&unit, &UnitSim::commandReceived);
        SignalTrace trace(window.get());

        emit window->selectDeviceDialog->brqStartupSequence(DeviceTypes::BRQ, unit.portPath(),
                                                            "m4\rC1\r");

        QCOMPARE(trace.calls,
                 (QStringList{"log INFO: Starting BRQ Startup Sequence from Power OFF State",
                              "setDeviceType BRQ", "setStartupSequence true",
                              QStringLiteral("openSerial ") + unit.portPath(),
                              "writeSerial m4%0DC1%0D"}));
        QVERIFY(window->isVisible());
        // Unlike a direct start, the page stays as it was.
        QCOMPARE(window->ui->stackedWidget_mainPages->currentWidget(), window->ui->pageSettings);

        VERIFY_OPENED(*linkLog, unit.portPath());
        QTRY_COMPARE_WITH_TIMEOUT(heard.count(), 2, 10000);
        QCOMPARE(firstArgs(heard), (QStringList{"m4", "C1"}));
        QTRY_COMPARE_WITH_TIMEOUT(boxes, QStringList{QStringLiteral("Success")}, 10000);
        // What the status bar said while the box was up; later records write their own status.
        QCOMPARE(statusWhileBoxShown, QStringLiteral("BRQ Configured. Waiting for Data..."));
        QVERIFY(!window->brqStartupPending);
    }
    void abandonedPowerOffDoesNotReportSuccess()
    {
        UnitSim quiet(unitOptions(Family::Brq, 60000));
        QVERIFY(quiet.open());
        emit window->selectDeviceDialog->brqStartupSequence(DeviceTypes::BRQ, quiet.portPath(),
                                                            "m4\r");
        VERIFY_OPENED(*linkLog, quiet.portPath());
        QTRY_VERIFY_WITH_TIMEOUT(quiet.isLinked(), 10000);

        SignalTrace trace(window.get());
        window->on_pushButtonSetupConnection_clicked();
        QVERIFY(trace.calls.contains(QStringLiteral("setStartupSequence false")));
        QVERIFY(trace.calls.indexOf(QStringLiteral("setStartupSequence false")) <
                trace.calls.indexOf(QStringLiteral("closeSerial")));

        UnitSim active(unitOptions(Family::Brq, 300));
        QVERIFY(active.open());
        QueuedSpy records(window->dataIncoming, &data_incoming::weather_data_received);
        emit window->selectDeviceDialog->deviceSelected(DeviceTypes::BRQ, active.portPath());
        VERIFY_OPENED(*linkLog, active.portPath());
        // Records have come through the link, so a configuration end would have arrived by now.
        QTRY_VERIFY_WITH_TIMEOUT(records.count() >= 2, 10000);
        QCoreApplication::processEvents();
        QVERIFY(boxes.isEmpty());
        // The abandoned start-up's end of configuration, arriving late, is not this one's.
        window->setupConfiguration(QStringLiteral("EndSequence"));
        QVERIFY(boxes.isEmpty());
        QVERIFY(window->connectionStatusLabel.text() !=
                QStringLiteral("BRQ Configured. Waiting for Data..."));
    }
    void newConnectionLaysOutForItsFamily_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("report"); // edited, saved and sent before the first record
        QTest::newRow("BRQ, then ORVA") << int(Brq) << int(Orva) << "";
        QTest::newRow("ORVA, then BRQ") << int(Orva) << int(Brq) << "";
        QTest::newRow("ORVA, then legacy ORVA") << int(Orva) << int(LegacyOrva) << "";
        QTest::newRow("legacy ORVA, then ORVA") << int(LegacyOrva) << int(Orva) << "";
        QTest::newRow("legacy ORVA, then BRQ") << int(LegacyOrva) << int(Brq) << "";
        QTest::newRow("BRQ, then BRQ") << int(Brq) << int(Brq) << "";
        QTest::newRow("ORVA, then ORVA") << int(Orva) << int(Orva) << "";
        QTest::newRow("ORVA, then ORVA with a report sent before its first record")
            << int(Orva) << int(Orva) << "METAR KVDS 051755Z AUTO";
    }
    void newConnectionLaysOutForItsFamily()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(QString, report);
        // The window that a first start-up gives the second family.
        start(Layout(after));
        sendEditedReport(report);
        openCommandPage(*window);
        const QMap<QString, QString> firstLayout = windowState(*window);
        window = std::make_unique<MainGUI>();

        start(Layout(before));
        // The first unit's record, with its second visibility sensor, its radio and tampering.
        window->metarForm->on_realtime(QJsonObject{{"Visibility", "10"},
                                                   {"Visibility1", "0.25"},
                                                   {"RFLOS Transmit Frequency", "150.0"},
                                                   {"RFLOS Receive Frequency", "150.0"},
                                                   {"RFLOS Band", "UHF"},
                                                   {"Tampering", "Unit moved"},
                                                   {"METAR", "METAR KVDS 051655Z AUTO"},
                                                   {"IMEI", "300234010000001"},
                                                   {"Serial Port", "/dev/ttyUSB7"}});
        QVERIFY(!window->ui->pushButton_ClearTamperingWarning->isHidden());
        // Status cells that the first connection left on the command pages.
        emit window->dataIncoming->command_status_changed(CmdElevation, CmdStatusSuccess);
        emit window->dataIncoming->command_status_changed(CmdRflosTransmitRate, CmdStatusFailed);
        QCOMPARE(window->ui->label_command_elevation_status->text(), QStringLiteral("\u2705"));
        pressSetup();
        start(Layout(after));
        sendEditedReport(report);
        openCommandPage(*window);

        QMap<QString, QString> newConnection = windowState(*window);
        // Kept until the next record: the wind chill, and the radio labels that an ORVA unit's
        // first record rewrites (the dashboard's are hidden for a BRQ unit).
        QStringList kept = {"labelWindChillC text", "labelRFTxf text", "labelRFRxf text",
                            "labelRFOperatingBand text"};
        if (after != Brq)
            kept << "label_table_rflos_txf text"
                 << "label_table_rflos_rxf text"
                 << "label_table_rflos_band text";
        for (const QString& key : kept)
            newConnection.insert(key, firstLayout.value(key));
        QStringList differing;
        QStringList keys = firstLayout.keys() + newConnection.keys();
        keys.removeDuplicates();
        for (const QString& key : keys) {
            if (newConnection.value(key) != firstLayout.value(key))
                differing << key + ": " + newConnection.value(key) + " instead of " +
                                 firstLayout.value(key);
        }
        QVERIFY2(differing.isEmpty(), qPrintable(differing.join('\n')));
        QVERIFY(window->ui->pushButton_ClearTamperingWarning->isHidden());
        // The compass redraws on its own timer, made for the first current ORVA unit of the run.
        if (after == Orva)
            QVERIFY(window->lightningRedrawTimer && window->lightningRedrawTimer->isActive());
    }
    void powerOffKeepsItsShorterSet()
    {
        startOrva(QStringLiteral("/dev/vd-no-such-port"));
        Ui_MainGUI& ui = *window->ui;
        window->display_weather_data(QJsonObject{{"RFLOS Transmit Frequency", "150.0"}});
        pressSetup();
        emit window->selectDeviceDialog->brqStartupSequence(
            DeviceTypes::BRQ, QStringLiteral("/dev/vd-no-such-port"), QByteArray());

        for (QWidget* w : {static_cast<QWidget*>(ui.page_BrqCommand),
                           static_cast<QWidget*>(ui.pushButtonImages)})
            QVERIFY2(!w->isHidden(), qPrintable(w->objectName()));
        for (QWidget* w : {static_cast<QWidget*>(ui.page_ORVACmdsMain),
                           static_cast<QWidget*>(ui.page_OrvaCommands),
                           static_cast<QWidget*>(ui.pushButtonBitStatus),
                           static_cast<QWidget*>(ui.pushButton_editMetar),
                           static_cast<QWidget*>(ui.label_ORVAMETARMode),
                           static_cast<QWidget*>(ui.radioButtonORVAMETAR_Auto),
                           static_cast<QWidget*>(ui.radioButtonORVAMETAR_Semiauto),
                           static_cast<QWidget*>(ui.radioButtonORVAMETAR_Manual)})
            QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
        // The lightning compass, the schedule widgets and the bit status labels stay as the
        // ORVA connection left them.
        for (QWidget* w : {static_cast<QWidget*>(ui.graphicsView_Lightning),
                           static_cast<QWidget*>(ui.pushButton_lightninglegend_green),
                           static_cast<QWidget*>(ui.spinBox_ORVA_METAR_prep_schedule),
                           static_cast<QWidget*>(ui.labelTableBitStatus)})
            QVERIFY2(!w->isHidden(), qPrintable(w->objectName()));
        QVERIFY(!window->deviceLayoutPending);
        QCOMPARE(ui.stackedWidget_CommandConfiguration->currentWidget(), ui.page_BrqCommand);
        // No BRQ record writes the table's radio rows: the ORVA unit's are gone.
        QVERIFY(ui.label_table_rflos_txf->text().isEmpty());
    }
    // Every module of the simulated unit's built-in test shows on the Bit Status page, without a
    // fault; records of old firmware leave the page empty.
    void simulatedOrvaFillsBitStatus_data()
    {
        QTest::addColumn<bool>("oldBitLine");
        QTest::addColumn<QStringList>("modules");
        QTest::newRow("current firmware") << false
                                          << QStringList{"Ceilometer Module",
                                                         "Iridium Module",
                                                         "Lightning Module",
                                                         "Main Controller",
                                                         "Present Weather Module",
                                                         "Radio Module",
                                                         "Temperature, Pressure & Humidity Module",
                                                         "Wind Module"};
        QTest::newRow("old firmware") << true << QStringList{};
    }
    void simulatedOrvaFillsBitStatus()
    {
        QFETCH(bool, oldBitLine);
        QFETCH(QStringList, modules);
        UnitOptions options = unitOptions(Family::Orva, 200);
        options.oldBitLine = oldBitLine;
        UnitSim unit(options);
        QVERIFY(unit.open());
        DeprecatedBitNotes notes;
        // Connected after the BIT view, so a packet counted here has reached the view.
        QueuedSpy packets(window->dataIncoming, &data_incoming::sendBITcheckPacket);
        startOrva(unit.portPath());
        VERIFY_OPENED(*linkLog, unit.portPath());
        QTRY_VERIFY_WITH_TIMEOUT(packets.count() >= 2, 10000);

        const auto* model =
            qobject_cast<const QStandardItemModel*>(window->ui->treeViewBitStatus->model());
        QVERIFY(model);
        QStringList shown;
        for (int row = 0; row < model->rowCount(); ++row) {
            shown << model->item(row)->text();
            QCOMPARE(model->item(row)->rowCount(), 0); // a fault would have a detail row
        }
        shown.sort();
        QCOMPARE(shown, modules);
        QCOMPARE(notes.seen() > 0, oldBitLine);
        QVERIFY(!window->ui->textEdit_ErrorMsgs->toPlainText().contains(QLatin1String("BIT")));
    }
    // The SPECI page takes the simulated unit's criteria as they come: whole numbers within the
    // tables' ranges or unset, with no error line.
    void simulatedOrvaCriteriaLoadWithoutError()
    {
        UnitSim unit(unitOptions(Family::Orva, 60000));
        QVERIFY(unit.open());
        startOrva(unit.portPath());
        VERIFY_OPENED(*linkLog, unit.portPath());
        QTRY_VERIFY_WITH_TIMEOUT(unit.isLinked(), 10000);

        window->ui->pushButton_editSpeciSettings->click();
        QTRY_VERIFY_WITH_TIMEOUT(window->ui->textEdit_SPECI_status->toPlainText().contains(
                                     QLatin1String("Parsing Complete!")),
                                 10000);
        QCOMPARE(window->ui->textEdit_ErrorMsgs->toPlainText(), QString());
        const QList<QPair<QAbstractItemModel*, int>> tables{{window->speciVisibilityModel, 15999},
                                                            {window->speciCeilingModel, 24999}};
        for (const auto& table : tables) {
            QAbstractItemModel* model = table.first;
            int criteria = 0;
            for (int row = 0; row < model->rowCount(); ++row) {
                const QVariant value = model->index(row, 0).data();
                const bool disabled =
                    model->index(row, 1).data(Qt::CheckStateRole).toInt() == Qt::Checked;
                QCOMPARE(disabled, !value.isValid());
                if (disabled)
                    continue;
                QVERIFY2(value.toInt() >= 1 && value.toInt() <= table.second,
                         qPrintable(value.toString()));
                ++criteria;
            }
            QVERIFY(criteria > 0);
        }
    }
    void endSequenceWithoutPowerOffIsIgnored()
    {
        window->setupConfiguration(QStringLiteral("EndSequence"));
        window->brqStartupPending = true;
        window->setupConfiguration(QStringLiteral("Something else"));
        QVERIFY(boxes.isEmpty());
        QVERIFY(window->connectionStatusLabel.text().isEmpty());
        window->SetConfiguration(QStringLiteral("EndSequence"));
        QCOMPARE(boxes, QStringList{QStringLiteral("Success")});
    }
    // The raw data page drops the previous unit's lines and waits for the new unit's.
    void powerOffWaitsForData_data()
    {
        QTest::addColumn<bool>("afterSetup");
        QTest::newRow("first start") << false;
        QTest::newRow("after Setup...") << true;
    }
    void powerOffWaitsForData()
    {
        QFETCH(bool, afterSetup);
        if (afterSetup) {
            startOrva(QStringLiteral("/dev/vd-no-such-port"));
            pressSetup();
        }
        window->ui->textEditRawData->setPlainText(QStringLiteral("a record of the last unit"));
        window->ui->labelUnitType->setText(QStringLiteral("ORVA"));
        emit window->selectDeviceDialog->brqStartupSequence(
            DeviceTypes::BRQ, QStringLiteral("/dev/vd-no-such-port"), QByteArray());
        QCOMPARE(window->ui->textEditRawData->toPlainText(), QStringLiteral("Waiting for Data..."));
        QVERIFY(window->ui->labelUnitType->text().isEmpty());
    }
    void linkThreadStartsOnce()
    {
        // "started" comes from the link's own thread: counted on this one, through the queue.
        QThread* thread = window->threadData;
        QObject counter;
        int starts = 0;
        connect(
            thread, &QThread::started, &counter, [&] { ++starts; }, Qt::QueuedConnection);
        const int expected = thread->isRunning() ? 0 : 1;
        window->openserialport(QStringLiteral("/dev/vd-no-such-port"));
        QVERIFY(thread->isRunning());
        QTRY_COMPARE_WITH_TIMEOUT(starts, expected, 10000);
        window->openserialport(QStringLiteral("/dev/vd-no-such-port"));
        window->closeserialport();
        QCOMPARE(window->statusLabel.text(), QStringLiteral("Disconnected from Device."));
        QVERIFY(window->connectionStatusLabel.text().isEmpty());
        window->openserialport(QStringLiteral("/dev/vd-no-such-port"));
        QCoreApplication::processEvents();
        QCOMPARE(starts, expected);
        QVERIFY(thread->isRunning());
    }

private:
    enum Layout { Brq, Orva, LegacyOrva };
    std::unique_ptr<MainGUI> window;
    std::unique_ptr<QueuedSpy> linkLog; // the window's link
    QStringList boxes;
    QString statusWhileBoxShown;

    void start(Layout family)
    {
        window->legacyOrva = family == LegacyOrva;
        if (family == Brq) {
            emit window->selectDeviceDialog->deviceSelected(DeviceTypes::BRQ,
                                                            QStringLiteral("/dev/vd-no-such-port"));
        } else {
            startOrva(QStringLiteral("/dev/vd-no-such-port"));
        }
    }
    // Whether each named widget of the window is shown within it, and what it shows: its text,
    // its sheet, for a drawing view the scene attached, and on the open command page its layout
    // and the panel its stack has current.
    static QMap<QString, QString> windowState(const MainGUI& window)
    {
        QMap<QString, QString> state;
        for (const QWidget* widget : window.findChildren<QWidget*>()) {
            // Qt's own parts repeat their names; the form's are unique.
            const QString name = widget->objectName();
            if (name.isEmpty() || name.startsWith("qt_"))
                continue;
            state.insert(name, widget->isHidden() ? "hidden" : "shown");
            if (widget->isHidden())
                continue;
            if (!widget->styleSheet().isEmpty())
                state.insert(name + " sheet", widget->styleSheet());
            if (const auto* label = qobject_cast<const QLabel*>(widget))
                state.insert(name + " text", label->text());
            if (const auto* view = qobject_cast<const QGraphicsView*>(widget))
                state.insert(name + " scene", view->scene() ? "attached" : "none");
            if (window.ui->pageCommand->isAncestorOf(widget) && widget->isVisible())
                state.insert(name + " layout", layoutOf(widget));
        }
        state.insert("command panel",
                     window.ui->stackedWidget_CommandConfiguration->currentWidget()->objectName());
        state.insert("status bar", window.statusLabel.text());
        const ReportHistory& history = window.metarForm->history;
        if (!history.isEmpty())
            state.insert("newest stored record",
                         QString::fromUtf8(QJsonDocument(history.value(history.size() - 1).record)
                                               .toJson(QJsonDocument::Compact)));
        return state;
    }
    // Where a widget of the command page lies and what it asks for; for the scroll area, how far
    // it scrolls.
    static QString layoutOf(const QWidget* widget)
    {
        const QRect place = widget->geometry();
        const QSize hint = widget->sizeHint();
        QString layout = QStringLiteral("%1,%2 %3x%4, hint %5x%6, policy %7/%8")
                             .arg(place.x())
                             .arg(place.y())
                             .arg(place.width())
                             .arg(place.height())
                             .arg(hint.width())
                             .arg(hint.height())
                             .arg(widget->sizePolicy().horizontalPolicy())
                             .arg(widget->sizePolicy().verticalPolicy());
        if (const auto* area = qobject_cast<const QScrollArea*>(widget))
            layout += QStringLiteral(", scrolls %1x%2")
                          .arg(area->horizontalScrollBar()->maximum())
                          .arg(area->verticalScrollBar()->maximum());
        return layout;
    }
    // "Command", laid out as before it is painted. The window at the form's size: the offscreen
    // screen is smaller, and whether the window has been maximised to it yet depends on when the
    // platform's events were last delivered.
    static void openCommandPage(MainGUI& window)
    {
        window.ui->pushButtonCommand->click();
        window.setWindowState(Qt::WindowNoState);
        window.resize(window.minimumSize());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    // "Edit METAR", the text typed, "Save and Send Metar"; nothing for an empty text.
    void sendEditedReport(const QString& text)
    {
        if (text.isEmpty())
            return;
        window->ui->pushButton_editMetar->click();
        window->ui->lineEdit_Metar->setText(text);
        window->ui->pushButton_saveAndSendMetar->click();
    }
    // "Setup...", with the dialog it shows put away for the next start-up.
    void pressSetup()
    {
        window->on_pushButtonSetupConnection_clicked();
        window->selectDeviceDialog->hide();
    }
    void startOrva(const QString& port, bool radio = false)
    {
        emit window->selectDeviceDialog->orvaSetEncryptWritecommands(radio);
        emit window->selectDeviceDialog->deviceSelected(DeviceTypes::ORVA, port);
        // The queue keeps its one-per-tick pacing, only faster.
        window->cmdWriteTimer->setInterval(50);
    }
};

QTEST_MAIN(TestDeviceStartup)
#include "tst_devicestartup.moc"
