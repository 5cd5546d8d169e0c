// The device selection dialog: the port list from the port layer (refresh, "N/A" texts, typed
// paths only when no port is listed), the three device buttons and their signals, the BRQ start
// options, the power-off command page with its start-up string, and the "POWER ON BRQ" notice.

#include "tests/support/testsupport.h"

#include "app/brqcommands.h"
#include "app/dialogimageschedule.h"
#include "app/dialogselectdevice.h"
#include "decoder/sharedtypes.h"
#include "tests/app/apptest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGraphicsOpacityEffect>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <vector>

Q_DECLARE_METATYPE(BrqCommandSelection)

namespace
{

QList<SerialPortEntry> injectedPorts;

BrqCommandSelection pick(int mode, int ceil, int speci, int gps, int camera, int elevation = 0)
{
    BrqCommandSelection s;
    s.mode = mode;
    s.ceilometer = ceil;
    s.speci = speci;
    s.gps = gps;
    s.camera = camera;
    s.elevation = elevation;
    return s;
}

// Answers the schedule dialog as the operator would: tick the hours, then press a button.
dialogImageSchedule::Runner ticking(QList<int> hours, QDialogButtonBox::StandardButton button)
{
    return [hours, button](dialogImageSchedule& schedule) {
        for (int hour : hours) {
            const QString name = QStringLiteral("checkBox%1").arg(hour, 2, 10, QLatin1Char('0'));
            schedule.findChild<QCheckBox*>(name)->setChecked(true);
        }
        schedule.findChild<QDialogButtonBox*>()->button(button)->click();
        return schedule.result();
    };
}

} // namespace

class TestDialogSelectDevice : public QObject
{
    Q_OBJECT

    std::unique_ptr<DialogSelectDevice> dialog;
    // Everything the dialog hands on, in the order it was emitted.
    QStringList events;

    // A shown dialog whose signals are written to the event list.
    DialogSelectDevice* open()
    {
        events.clear();
        dialog = std::make_unique<DialogSelectDevice>();
        DialogSelectDevice* d = dialog.get();
        connect(d, &DialogSelectDevice::orvaSetEncryptWritecommands, d,
                [this](bool on) { events << QStringLiteral("encrypt ") + (on ? "on" : "off"); });
        connect(d, &DialogSelectDevice::deviceSelected, d, [this](DeviceTypes t, QString port) {
            events << QStringLiteral("device %1 %2").arg(int(t)).arg(port);
        });
        connect(d, &DialogSelectDevice::brqStartupSequence, d,
                [this](DeviceTypes t, QString port, QByteArray cmds) {
                    events << QStringLiteral("startup %1 %2 %3")
                                  .arg(int(t))
                                  .arg(port, QString::fromLatin1(cmds.toPercentEncoding()));
                });
        d->show();
        return d;
    }
    template <typename T = QComboBox> T* get(const char* name)
    {
        return child<T>(dialog.get(), name);
    }
    void click(const char* button) { get<QPushButton>(button)->click(); }
    int page() { return get<QStackedWidget>("stackedWidget_startupPages")->currentIndex(); }
    void openPowerOffPage()
    {
        open();
        click("pushButton_SelectBrq");
        click("pushButton_BrqIsOff");
    }

private slots:
    void initTestCase()
    {
        registerSharedMetaTypes();
        DialogSelectDevice::setPortSource([] { return injectedPorts; });
    }
    void init() { injectedPorts = {{"/dev/pts/3", "Unit line", "Maker A"}}; }
    void cleanup()
    {
        dialogImageSchedule::setRunner({});
        dialog.reset();
    }

    void commandString_data()
    {
        QTest::addColumn<BrqCommandSelection>("selection");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("nothing chosen") << pick(0, 0, 0, 0, 0) << QByteArray();
        BrqCommandSelection worked = pick(5, 2, 0, 5, 3, 12);
        worked.cameraNumber = QStringLiteral("2");
        QTest::newRow("1 Minute, Enable Auto, elevation 12, camera 2")
            << worked << QByteArray("m4\rC1\rGE+0012\rI2\r");
        QTest::newRow("same with all cameras")
            << pick(5, 2, 0, 5, 2, 12) << QByteArray("m4\rC1\rGE+0012\rI5\r");
        // clang-format off
        const struct { BrqCommandSelection selection; const char* command; } rows[] = {
            {pick(1, 0, 0, 0, 0), "m0\r"}, {pick(2, 0, 0, 0, 0), "m1\r"}, {pick(3, 0, 0, 0, 0), "m2\r"},
            {pick(4, 0, 0, 0, 0), "m3\r"}, {pick(5, 0, 0, 0, 0), "m4\r"}, {pick(6, 0, 0, 0, 0), "m5\r"},
            {pick(7, 0, 0, 0, 0), "m6\r"},
            {pick(0, 1, 0, 0, 0), "C0\r"}, {pick(0, 3, 0, 0, 0), "C2\r"},
            {pick(0, 0, 1, 0, 0), "S0\r"}, {pick(0, 0, 2, 0, 0), "S1\r"},
            {pick(0, 0, 0, 1, 0), "G0\r"}, {pick(0, 0, 0, 2, 0), "G1\r"},
            {pick(0, 0, 0, 3, 0), "GI\r"}, {pick(0, 0, 0, 4, 0), "Gi\r"},
            {pick(0, 0, 0, 0, 1), "I0\r"}, {pick(0, 0, 0, 0, 5), "i-\r"},
            {pick(0, 0, 0, 5, 0, 0), "GE+0000\r"}, {pick(0, 0, 0, 5, 0, -12), "GE-0012\r"},
            {pick(0, 0, 0, 5, 0, 9999), "GE+9999\r"}, {pick(0, 0, 0, 5, 0, -9999), "GE-9999\r"},
            {pick(0, 0, 0, 5, 0, 12345), "GE+12345\r"}, {pick(0, 0, 0, 5, 0, -12345), "GE-12345\r"},
            // Mode, ceilometer, speci, gps, camera, in that order.
            {pick(1, 1, 1, 1, 1), "m0\rC0\rS0\rG0\rI0\r"},
            // Indexes beyond the tables, and empty combos, send nothing.
            {pick(8, 4, 3, 6, 6), ""}, {pick(-1, -1, -1, -1, -1), ""},
        };
        // clang-format on
        int n = 0;
        for (const auto& row : rows)
            QTest::addRow("%d %s", ++n, QByteArray(row.command).toPercentEncoding().constData())
                << row.selection << QByteArray(row.command);
        BrqCommandSelection schedule = pick(0, 0, 0, 0, 4);
        schedule.autoImageCommand = QStringLiteral("i00\ri13\r");
        QTest::newRow("auto capture 00 and 13") << schedule << QByteArray("i00\ri13\r\r");
    }
    void commandString()
    {
        QFETCH(BrqCommandSelection, selection);
        QFETCH(QByteArray, expected);
        QCOMPARE(brqCommandString(selection), expected);
    }

    void comboItems_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("mode") << "comboBoxReportingMode" << BrqItems::mode;
        QTest::newRow("camera") << "comboBoxCameraOptions" << BrqItems::camera;
        QTest::newRow("ceilometer") << "comboBoxCeilometer" << BrqItems::ceilometer;
        QTest::newRow("gps") << "comboBoxGPS" << BrqItems::gps;
        QTest::newRow("speci") << "comboBoxSpeci" << BrqItems::speci;
        QTest::newRow("camera number") << "comboBoxCameraOptions_2" << BrqItems::cameraNumber;
    }
    void comboItems()
    {
        QFETCH(QString, combo);
        QFETCH(QStringList, expected);
        openPowerOffPage();
        QCOMPARE(comboTexts(get(qPrintable(combo))), expected);
    }

    // A label table without its empty end stops at a sane size.
    void comboItemsAreCapped()
    {
        const std::vector<const char*> endless(40, "x");
        QCOMPARE(brqComboItems(endless.data(), endless.size()),
                 QStringList(QVector<QString>(30, "x").toList()));
    }

    void startsOnDeviceSetup()
    {
        open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Vantora Direct - Setup"));
        QCOMPARE(dialog->minimumSize(), QSize(550, 764));
        QVERIFY(!dialog->isModal());
        QCOMPARE(page(), 0);
        QVERIFY(get<QGroupBox>("groupBox_BrqStartOptions")->isHidden());
        QVERIFY(get<QPushButton>("pushButton_SelectBrq")->isCheckable());
        QVERIFY(dialog->testAttribute(Qt::WA_QuitOnClose));

        const QList<QTimer*> timers =
            dialog->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(timers.size(), 1);
        QVERIFY(timers.first()->isActive());
        QCOMPARE(timers.first()->interval(), 100);

        const char* const order[] = {"pushButton_SelectBrq", "pushButton_SelectOrva",
                                     "pushButton_BrqIsOn", "pushButton_BrqIsOff"};
        for (int i = 0; i + 1 < 4; ++i)
            QCOMPARE(get<QWidget>(order[i])->nextInFocusChain(), get<QWidget>(order[i + 1]));

        click("pushButton_CancelSetup");
        QVERIFY(!dialog->isVisible());
    }

    void listsPortsWithTheirTexts()
    {
        injectedPorts = {{"COM1", "USB Serial Port", "FTDI"},
                         {"COM10", "", ""},
                         {"/dev/ttyUSB0", "", "Prolific"}};
        open();
        auto* ports = get("serialPortInfoListBox");
        const auto texts = [this] {
            return QStringList{get<QLabel>("label_DescriptionText")->text(),
                               get<QLabel>("label_ManufacturerText")->text()};
        };
        QCOMPARE(comboTexts(ports), (QStringList{"COM1", "COM10", "/dev/ttyUSB0"}));
        QCOMPARE(ports->itemData(1).toStringList(), (QStringList{"COM10", "N/A", "N/A"}));
        QVERIFY(!ports->isEditable());
        QCOMPARE(texts(), (QStringList{"USB Serial Port", "FTDI"}));
        ports->setCurrentIndex(1);
        QCOMPARE(texts(), (QStringList{"N/A", "N/A"}));
        ports->setCurrentIndex(2);
        QCOMPARE(texts(), (QStringList{"N/A", "Prolific"}));

        // An item with a short data list shows "N/A" rather than reading past its end.
        ports->setItemData(0, QStringList{"COM1"});
        ports->setCurrentIndex(0);
        QCOMPARE(texts().first(), QStringLiteral("N/A"));
    }

    void refreshFollowsThePortLayerWithinTwoSeconds()
    {
        open();
        auto* ports = get("serialPortInfoListBox");
        const auto ticksUntil = [&](const QStringList& expected) {
            for (int tick = 1; tick <= 20; ++tick) {
                dialog->Timer(); // one 100 ms poll
                if (comboTexts(ports) == expected)
                    return tick;
            }
            return -1;
        };
        injectedPorts << SerialPortEntry{"/dev/pts/30", "", "Maker B"};
        QVERIFY(ticksUntil({"/dev/pts/3", "/dev/pts/30"}) > 0);
        ports->setCurrentIndex(1);
        QCOMPARE(get<QLabel>("label_DescriptionText")->text(), QStringLiteral("N/A"));
        QCOMPARE(get<QLabel>("label_ManufacturerText")->text(), QStringLiteral("Maker B"));

        // A port already listed keeps its item; a vanished one goes while another remains.
        injectedPorts = {{"/dev/pts/30", "Renamed", "Other"}};
        QVERIFY(ticksUntil({"/dev/pts/30"}) > 0);
        QCOMPARE(ports->itemData(0).toStringList(), (QStringList{"/dev/pts/30", "N/A", "Maker B"}));

        // Names are matched exactly: a different case is a different port.
        injectedPorts = {{"/DEV/PTS/30", "", ""}};
        QVERIFY(ticksUntil({"/DEV/PTS/30"}) > 0);

        // No port at all keeps the last list rather than leaving none to choose.
        injectedPorts.clear();
        for (int tick = 0; tick < 40; ++tick)
            dialog->Timer();
        QCOMPARE(comboTexts(ports), QStringList{"/DEV/PTS/30"});
        QVERIFY(!ports->isEditable());
    }

    void typedPathWhenNoPortIsListed()
    {
        injectedPorts.clear();
        open();
        auto* ports = get("serialPortInfoListBox");
        QCOMPARE(ports->count(), 0);
        QVERIFY(ports->isEditable());
        QTest::keyClicks(ports->lineEdit(), "/dev/ttyACM7");
        QTest::keyClick(ports->lineEdit(), Qt::Key_Return);
        QCOMPARE(ports->currentText(), QStringLiteral("/dev/ttyACM7"));
        QCOMPARE(ports->count(), 0);
        click("pushButton_SelectOrva");
        QCOMPARE(events, (QStringList{"encrypt off", "device 2 /dev/ttyACM7"}));

        // Nothing typed: the empty name is handed on unchecked.
        events.clear();
        ports->clearEditText();
        click("pushButton_SelectOrva_Radio");
        QCOMPARE(events, (QStringList{"encrypt on", "device 2 "}));

        // A port arriving ends the typed path.
        injectedPorts = {{"/dev/pts/9", "Unit line", "Maker A"}};
        dialog->fillPortsInfo();
        QVERIFY(!ports->isEditable());
        QCOMPARE(ports->currentText(), QStringLiteral("/dev/pts/9"));
        QCOMPARE(get<QLabel>("label_DescriptionText")->text(), QStringLiteral("Unit line"));
    }

    void orvaButtonsTellEncryptionFirst_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("encrypt");
        QTest::newRow("serial") << "pushButton_SelectOrva"
                                << "encrypt off";
        QTest::newRow("radio") << "pushButton_SelectOrva_Radio"
                               << "encrypt on";
    }
    void orvaButtonsTellEncryptionFirst()
    {
        QFETCH(QString, button);
        QFETCH(QString, encrypt);
        open();
        // The receiver finds the dialog already hidden.
        bool hiddenWhenSelected = false;
        connect(dialog.get(), &DialogSelectDevice::deviceSelected, this,
                [&] { hiddenWhenSelected = !dialog->isVisible(); });
        click(qPrintable(button));
        QCOMPARE(events, (QStringList{encrypt, "device 2 /dev/pts/3"}));
        QVERIFY(hiddenWhenSelected);
    }

    void brqToggleShowsAndHidesStartOptions()
    {
        open();
        auto* brq = get<QPushButton>("pushButton_SelectBrq");
        auto* options = get<QGroupBox>("groupBox_BrqStartOptions");
        const int collapsed = dialog->height();

        brq->click();
        QVERIFY(brq->isChecked());
        QVERIFY(options->isVisible());
        QVERIFY(qobject_cast<QGraphicsOpacityEffect*>(options->graphicsEffect()));
        // The options open inside the dialog's height.
        const int expanded = dialog->height();
        QCOMPARE(expanded, collapsed);
        QCOMPARE(dialog->minimumHeight(), expanded);
        QCOMPARE(dialog->maximumHeight(), expanded);

        const int top = dialog->frameGeometry().top();
        brq->click();
        QVERIFY(!options->isVisible());
        QCOMPARE(dialog->minimumHeight(), collapsed);
        QCOMPARE(dialog->maximumHeight(), collapsed);
        QCOMPARE(dialog->frameGeometry().top(), top + 1);

        // Later toggles switch between the two remembered heights and leave no objects behind.
        for (int i = 0; i < 10; ++i) {
            brq->click();
            QCOMPARE(dialog->maximumHeight(), brq->isChecked() ? expanded : collapsed);
        }
        QCOMPARE(options->findChildren<QGraphicsOpacityEffect*>().size(), 1);
        QVERIFY(options->findChildren<QPropertyAnimation*>().size() <= 1);
    }

    // Either start option closes the options again: an active unit is handed on at once, a unit
    // to reconfigure first gets the power-off page.
    void brqStartOptionClosesTheOptions_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("handedOn");
        QTest::addColumn<int>("shownPage");
        QTest::addColumn<bool>("shown");
        QTest::newRow("active unit")
            << "pushButton_BrqIsOn" << QStringList{"device 1 /dev/pts/3"} << 0 << false;
        QTest::newRow("reconfigure first") << "pushButton_BrqIsOff" << QStringList() << 1 << true;
    }
    void brqStartOptionClosesTheOptions()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, handedOn);
        QFETCH(int, shownPage);
        QFETCH(bool, shown);
        open();
        auto* brq = get<QPushButton>("pushButton_SelectBrq");
        const int collapsed = dialog->height();
        brq->click();
        click(qPrintable(option));
        QCOMPARE(events, handedOn);
        QVERIFY(!brq->isChecked());
        QVERIFY(get<QGroupBox>("groupBox_BrqStartOptions")->isHidden());
        QCOMPARE(dialog->maximumHeight(), collapsed);
        QCOMPARE(dialog->isVisible(), shown);
        QCOMPARE(page(), shownPage);
    }

    void powerOffPageBuildsTheStartupString()
    {
        openPowerOffPage();
        QCOMPARE(page(), 1);
        QVERIFY(dialog->isVisible());
        QVERIFY(events.isEmpty());
        auto* gps = get("comboBoxGPS");
        auto* camera = get("comboBoxCameraOptions");
        auto* cameraNumber = get("comboBoxCameraOptions_2");
        auto* elevation = get<QSpinBox>("spinBoxElevation");
        QVERIFY(!cameraNumber->isVisible());
        QVERIFY(!elevation->isVisible());
        QCOMPARE(elevation->minimum(), 0);
        QCOMPARE(elevation->maximum(), 99);

        get("comboBoxReportingMode")->setCurrentIndex(5);
        get("comboBoxCeilometer")->setCurrentIndex(2);
        gps->setCurrentIndex(5);
        QVERIFY(elevation->isVisible());
        QVERIFY(get<QLabel>("label_Elevation")->isVisible());
        elevation->setValue(12);
        camera->setCurrentIndex(3);
        QVERIFY(cameraNumber->isVisible());
        QVERIFY(get<QLabel>("label_CameraNumber")->isVisible());
        cameraNumber->setCurrentIndex(1);

        click("pushButton_SetCommands");
        QCOMPARE(events, QStringList{"startup 1 /dev/pts/3 m4%0DC1%0DGE%2B0012%0DI2%0D"});
        QVERIFY(!dialog->isVisible());

        gps->setCurrentIndex(2);
        QVERIFY(!elevation->isVisible());
        camera->setCurrentIndex(1);
        QVERIFY(!cameraNumber->isVisible());
    }

    void autoImageCaptureTakesTheSchedule()
    {
        openPowerOffPage();
        dialogImageSchedule::setRunner(ticking({0, 13}, QDialogButtonBox::Ok));
        get("comboBoxCameraOptions")->setCurrentIndex(BrqVocabulary::CameraAutoImage);
        QCOMPARE(get("comboBoxCameraOptions")->currentIndex(), 4);
        QVERIFY(!get("comboBoxCameraOptions_2")->isVisible());
        click("pushButton_SetCommands");
        QCOMPARE(events, QStringList{"startup 1 /dev/pts/3 i00%0Di13%0D%0D"});

        // A finished schedule does not stay behind as a child of the dialog.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(dialog->findChildren<dialogImageSchedule*>().size(), 0);
    }

    void autoImageCaptureFallsBackWithoutHours_data()
    {
        QTest::addColumn<QList<int>>("hours");
        QTest::addColumn<int>("button");
        QTest::newRow("cancelled") << QList<int>{5} << int(QDialogButtonBox::Cancel);
        QTest::newRow("accepted with no hour") << QList<int>{} << int(QDialogButtonBox::Ok);
    }
    void autoImageCaptureFallsBackWithoutHours()
    {
        QFETCH(QList<int>, hours);
        QFETCH(int, button);
        openPowerOffPage();
        auto* camera = get("comboBoxCameraOptions");
        // An earlier accepted schedule is forgotten when the next one is not.
        dialogImageSchedule::setRunner(ticking({7}, QDialogButtonBox::Ok));
        camera->setCurrentIndex(4);
        camera->setCurrentIndex(0);
        dialogImageSchedule::setRunner(
            ticking(hours, static_cast<QDialogButtonBox::StandardButton>(button)));
        camera->setCurrentIndex(4);
        QCOMPARE(camera->currentIndex(), 0);
        click("pushButton_SetCommands");
        QCOMPARE(events, QStringList{"startup 1 /dev/pts/3 "});
    }

    void shownAgainAfterPowerOffKeepsPageAndPort()
    {
        openPowerOffPage();
        get("comboBoxSpeci")->setCurrentIndex(2);
        click("pushButton_SetCommands");
        // The port list moves on meanwhile; the power-off page keeps the port chosen then.
        injectedPorts = {{"/dev/pts/4", "", ""}};
        dialog->fillPortsInfo();
        dialog->show();
        QCOMPARE(page(), 1);
        QCOMPARE(get("comboBoxSpeci")->currentIndex(), 2);
        QCOMPARE(get("comboBoxReportingMode")->count(), 8);
        click("pushButton_SetCommands");
        QCOMPARE(events, (QStringList{"startup 1 /dev/pts/3 S1%0D", "startup 1 /dev/pts/3 S1%0D"}));
    }

    void powerOnNotice()
    {
        QPointer<QMessageBox> notice = showBrqPowerOnNotice();
        QVERIFY(notice);
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->parent(), nullptr);
        QCOMPARE(notice->windowModality(), Qt::NonModal);
        QCOMPARE(notice->windowTitle(), QStringLiteral("BRQ Configuration Start-up"));
        QCOMPARE(notice->text(), QStringLiteral("\r\r\r\t\t\tPOWER ON BRQ\t\t\t\r\r\r"));
        QCOMPARE(notice->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!notice->testAttribute(Qt::WA_QuitOnClose));
        notice->button(QMessageBox::Ok)->click();
        QTRY_VERIFY_WITH_TIMEOUT(notice.isNull(), 10000);
    }

    void powerOnNoticeDoesNotKeepTheApplicationAlive()
    {
        // The application ends when its main window closes, even with the notice still up. The
        // notice appears while the selection dialog hides and the main window is not yet active,
        // so it belongs to no other window.
        QPointer<QMessageBox> notice = showBrqPowerOnNotice();
        QWidget window;
        window.show();
        QVERIFY(notice->windowHandle());
        QCOMPARE(notice->windowHandle()->transientParent(), nullptr);
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        QTimer::singleShot(0, &window, &QWidget::close);
        QTimer stuck;
        stuck.setSingleShot(true);
        connect(&stuck, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        stuck.start(10000);
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(lastClosed.count(), 1);
        delete notice.data();
    }
};

QTEST_MAIN(TestDialogSelectDevice)
#include "tst_dialogselectdevice.moc"
