// The device selection dialog: the port list from the port layer (refresh, "N/A" texts, typed
// paths only when no port is listed), the three device buttons and their signals, the BRQ start
// options, the power-off command page with its start-up string, and the "POWER ON BRQ" notice.

#include "tests/support/testsupport.h"

#include "app/brqcommands.h"
#include "app/dialogimageschedule.h"
#include "app/dialogselectdevice.h"
#include "decoder/sharedtypes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGraphicsOpacityEffect>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QSignalSpy>
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

template <typename T> T* child(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

QStringList comboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// Everything the dialog hands on, in the order it was emitted.
struct Emitted {
    QStringList events;
    void watch(DialogSelectDevice* dialog)
    {
        QObject::connect(dialog, &DialogSelectDevice::orvaSetEncryptWritecommands, dialog,
                         [this](bool encrypt) {
                             events << QStringLiteral("encrypt %1").arg(encrypt ? "on" : "off");
                         });
        QObject::connect(
            dialog, &DialogSelectDevice::deviceSelected, dialog,
            [this](DeviceTypes type, const QString& port) {
                events << QStringLiteral("device %1 %2").arg(static_cast<int>(type)).arg(port);
            });
        QObject::connect(dialog, &DialogSelectDevice::brqStartupSequence, dialog,
                         [this](DeviceTypes type, const QString& port, const QByteArray& cmds) {
                             events
                                 << QStringLiteral("startup %1 %2 %3")
                                        .arg(static_cast<int>(type))
                                        .arg(port, QString::fromLatin1(cmds.toPercentEncoding()));
                         });
    }
};

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

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commandString_data();
    void commandString();
    void comboItemsEndAtTheEmptyLabel_data();
    void comboItemsEndAtTheEmptyLabel();

    void startsOnDeviceSetup();
    void listsPortsWithTheirTexts();
    void refreshFollowsThePortLayerWithinTwoSeconds();
    void noPortAtAllKeepsTheListAndAllowsATypedPath();
    void typedPathSurvivesReturn();
    void aPortArrivingEndsTheTypedPath();

    void orvaButtonsTellEncryptionFirst_data();
    void orvaButtonsTellEncryptionFirst();
    void brqToggleShowsAndHidesStartOptions();
    void activeBrqIsHandedOnAtOnce();
    void powerOffPageBuildsTheStartupString();
    void autoImageCaptureTakesTheSchedule();
    void autoImageCaptureFallsBackWithoutHours_data();
    void autoImageCaptureFallsBackWithoutHours();
    void shownAgainAfterPowerOffKeepsPageAndPort();
    void exitClosesTheDialog();

    void powerOnNotice();
    void powerOnNoticeDoesNotKeepTheApplicationAlive();

private:
    std::unique_ptr<DialogSelectDevice> makeDialog();
    void openPowerOffPage(DialogSelectDevice* dialog);
};

void TestDialogSelectDevice::initTestCase()
{
    registerSharedMetaTypes();
    DialogSelectDevice::setPortSource([] { return injectedPorts; });
}

void TestDialogSelectDevice::init()
{
    injectedPorts = {
        {QStringLiteral("/dev/pts/3"), QStringLiteral("Unit line"), QStringLiteral("Maker A")}};
}

void TestDialogSelectDevice::cleanup()
{
    dialogImageSchedule::setRunner({});
}

std::unique_ptr<DialogSelectDevice> TestDialogSelectDevice::makeDialog()
{
    auto dialog = std::make_unique<DialogSelectDevice>();
    dialog->show();
    return dialog;
}

void TestDialogSelectDevice::openPowerOffPage(DialogSelectDevice* dialog)
{
    child<QPushButton>(dialog, "pushButton_SelectBrq")->click();
    child<QPushButton>(dialog, "pushButton_BrqIsOff")->click();
}

void TestDialogSelectDevice::commandString_data()
{
    QTest::addColumn<BrqCommandSelection>("selection");
    QTest::addColumn<QByteArray>("expected");

    const auto pick = [](int mode, int ceil, int speci, int gps, int camera) {
        BrqCommandSelection s;
        s.mode = mode;
        s.ceilometer = ceil;
        s.speci = speci;
        s.gps = gps;
        s.camera = camera;
        return s;
    };

    QTest::newRow("nothing chosen") << pick(0, 0, 0, 0, 0) << QByteArray();

    BrqCommandSelection worked = pick(5, 2, 0, 5, 3);
    worked.elevation = 12;
    worked.cameraNumber = QStringLiteral("2");
    QTest::newRow("1 Minute, Enable Auto, elevation 12, camera 2")
        << worked << QByteArray("m4\rC1\rGE+0012\rI2\r");
    BrqCommandSelection all = pick(5, 2, 0, 5, 2);
    all.elevation = 12;
    QTest::newRow("same with all cameras") << all << QByteArray("m4\rC1\rGE+0012\rI5\r");

    const char* const modes[] = {"m0\r", "m1\r", "m2\r", "m3\r", "m4\r", "m5\r", "m6\r"};
    for (int i = 1; i <= 7; ++i)
        QTest::addRow("mode %d", i) << pick(i, 0, 0, 0, 0) << QByteArray(modes[i - 1]);
    QTest::newRow("ceilometer off") << pick(0, 1, 0, 0, 0) << QByteArray("C0\r");
    QTest::newRow("ceilometer always") << pick(0, 3, 0, 0, 0) << QByteArray("C2\r");
    QTest::newRow("speci off") << pick(0, 0, 1, 0, 0) << QByteArray("S0\r");
    QTest::newRow("speci on") << pick(0, 0, 2, 0, 0) << QByteArray("S1\r");
    QTest::newRow("gps off") << pick(0, 0, 0, 1, 0) << QByteArray("G0\r");
    QTest::newRow("gps on") << pick(0, 0, 0, 2, 0) << QByteArray("G1\r");
    QTest::newRow("gps update") << pick(0, 0, 0, 3, 0) << QByteArray("GI\r");
    QTest::newRow("gps update with elevation") << pick(0, 0, 0, 4, 0) << QByteArray("Gi\r");
    QTest::newRow("camera off") << pick(0, 0, 0, 0, 1) << QByteArray("I0\r");
    QTest::newRow("cancel auto capture") << pick(0, 0, 0, 0, 5) << QByteArray("i-\r");

    const struct {
        int metres;
        const char* command;
    } elevations[] = {{0, "GE+0000\r"},      {12, "GE+0012\r"},    {-12, "GE-0012\r"},
                      {9999, "GE+9999\r"},   {-9999, "GE-9999\r"}, {12345, "GE+12345\r"},
                      {-12345, "GE-12345\r"}};
    for (const auto& e : elevations) {
        BrqCommandSelection s = pick(0, 0, 0, 5, 0);
        s.elevation = e.metres;
        QTest::addRow("elevation %d", e.metres) << s << QByteArray(e.command);
    }

    BrqCommandSelection schedule = pick(0, 0, 0, 0, 4);
    schedule.autoImageCommand = QStringLiteral("i00\ri13\r");
    QTest::newRow("auto capture 00 and 13") << schedule << QByteArray("i00\ri13\r\r");

    BrqCommandSelection order = pick(1, 1, 1, 1, 1);
    QTest::newRow("order mode, ceilometer, speci, gps, camera")
        << order << QByteArray("m0\rC0\rS0\rG0\rI0\r");

    QTest::newRow("indexes beyond the tables send nothing") << pick(8, 4, 3, 6, 6) << QByteArray();
    QTest::newRow("empty combos send nothing") << pick(-1, -1, -1, -1, -1) << QByteArray();
}

void TestDialogSelectDevice::commandString()
{
    QFETCH(BrqCommandSelection, selection);
    QFETCH(QByteArray, expected);
    QCOMPARE(brqCommandString(selection), expected);
}

void TestDialogSelectDevice::comboItemsEndAtTheEmptyLabel_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("expected");
    using namespace BrqVocabulary;
    QTest::newRow("mode") << brqComboItems(brqModeLabels)
                          << QStringList{"No command", "3 Hour",   "1 Hour",    "20 Minute",
                                         "5 Minute",   "1 Minute", "20 Second", "10 Second"};
    QTest::newRow("camera") << brqComboItems(brqCameraLabels)
                            << QStringList{"No command",
                                           "Off",
                                           "Request Images (All)",
                                           "Request Single Camera",
                                           "Set Auto Image Capture",
                                           "Cancel Auto Image Capture"};
    QTest::newRow("ceilometer") << brqComboItems(brqCeilometerLabels)
                                << QStringList{"No command", "Disable", "Enable Auto",
                                               "Enable Always"};
    QTest::newRow("gps") << brqComboItems(brqGpsLabels)
                         << QStringList{"No command",
                                        "Disable Lat/Lon",
                                        "Enable Lat/Lon",
                                        "Update GPS Lat/Lon",
                                        "Update GPS Lat/Lon and Elevation",
                                        "Set Elevation (m)"};
    QTest::newRow("speci") << brqComboItems(brqSpeciLabels)
                           << QStringList{"No command", "Disable", "Enable"};
    QTest::newRow("camera number")
        << brqComboItems(brqCameraNumbers) << QStringList{"1", "2", "3", "4"};

    const std::vector<const char*> endless(40, "x");
    QStringList thirty;
    for (int i = 0; i < 30; ++i)
        thirty << QStringLiteral("x");
    QTest::newRow("at most 30 items") << brqComboItems(endless.data(), endless.size()) << thirty;
}

void TestDialogSelectDevice::comboItemsEndAtTheEmptyLabel()
{
    QFETCH(QStringList, items);
    QFETCH(QStringList, expected);
    QCOMPARE(items, expected);
}

void TestDialogSelectDevice::startsOnDeviceSetup()
{
    auto dialog = makeDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Vantora Direct - Setup"));
    QCOMPARE(dialog->minimumSize(), QSize(550, 764));
    QVERIFY(!dialog->isModal());
    QCOMPARE(child<QStackedWidget>(dialog.get(), "stackedWidget_startupPages")->currentIndex(), 0);
    QVERIFY(child<QGroupBox>(dialog.get(), "groupBox_BrqStartOptions")->isHidden());
    QVERIFY(child<QPushButton>(dialog.get(), "pushButton_SelectBrq")->isCheckable());

    const QList<QTimer*> timers =
        dialog->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(timers.size(), 1);
    QVERIFY(timers.first()->isActive());
    QCOMPARE(timers.first()->interval(), 100);

    QWidget* const order[] = {child<QPushButton>(dialog.get(), "pushButton_SelectBrq"),
                              child<QPushButton>(dialog.get(), "pushButton_SelectOrva"),
                              child<QPushButton>(dialog.get(), "pushButton_BrqIsOn"),
                              child<QPushButton>(dialog.get(), "pushButton_BrqIsOff")};
    for (int i = 0; i + 1 < 4; ++i)
        QCOMPARE(order[i]->nextInFocusChain(), order[i + 1]);
}

void TestDialogSelectDevice::listsPortsWithTheirTexts()
{
    injectedPorts = {
        {"COM1", "USB Serial Port", "FTDI"}, {"COM10", "", ""}, {"/dev/ttyUSB0", "", "Prolific"}};
    auto dialog = makeDialog();
    auto* ports = child<QComboBox>(dialog.get(), "serialPortInfoListBox");
    auto* description = child<QLabel>(dialog.get(), "label_DescriptionText");
    auto* manufacturer = child<QLabel>(dialog.get(), "label_ManufacturerText");

    QCOMPARE(comboTexts(ports), (QStringList{"COM1", "COM10", "/dev/ttyUSB0"}));
    QCOMPARE(ports->itemData(1).toStringList(), (QStringList{"COM10", "N/A", "N/A"}));
    QVERIFY(!ports->isEditable());
    QCOMPARE(description->text(), QStringLiteral("USB Serial Port"));
    QCOMPARE(manufacturer->text(), QStringLiteral("FTDI"));

    ports->setCurrentIndex(1);
    QCOMPARE(description->text(), QStringLiteral("N/A"));
    QCOMPARE(manufacturer->text(), QStringLiteral("N/A"));
    ports->setCurrentIndex(2);
    QCOMPARE(description->text(), QStringLiteral("N/A"));
    QCOMPARE(manufacturer->text(), QStringLiteral("Prolific"));

    // An item with a short data list shows "N/A" rather than reading past its end.
    ports->setItemData(0, QStringList{"COM1"});
    ports->setCurrentIndex(0);
    QCOMPARE(description->text(), QStringLiteral("N/A"));
}

void TestDialogSelectDevice::refreshFollowsThePortLayerWithinTwoSeconds()
{
    auto dialog = makeDialog();
    auto* ports = child<QComboBox>(dialog.get(), "serialPortInfoListBox");
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
    QCOMPARE(child<QLabel>(dialog.get(), "label_DescriptionText")->text(), QStringLiteral("N/A"));
    QCOMPARE(child<QLabel>(dialog.get(), "label_ManufacturerText")->text(),
             QStringLiteral("Maker B"));

    // A port already listed keeps its item; a vanished one goes while another remains.
    injectedPorts = {{"/dev/pts/30", "Renamed", "Other"}};
    QVERIFY(ticksUntil({"/dev/pts/30"}) > 0);
    QCOMPARE(ports->itemData(0).toStringList(), (QStringList{"/dev/pts/30", "N/A", "Maker B"}));

    // Names are matched exactly: a different case is a different port.
    injectedPorts = {{"/DEV/PTS/30", "", ""}};
    QVERIFY(ticksUntil({"/DEV/PTS/30"}) > 0);
}

void TestDialogSelectDevice::noPortAtAllKeepsTheListAndAllowsATypedPath()
{
    auto dialog = makeDialog();
    auto* ports = child<QComboBox>(dialog.get(), "serialPortInfoListBox");
    injectedPorts.clear();
    for (int tick = 0; tick < 40; ++tick)
        dialog->Timer();
    QCOMPARE(comboTexts(ports), QStringList{"/dev/pts/3"});
    QVERIFY(!ports->isEditable());

    auto empty = makeDialog();
    Emitted emitted;
    emitted.watch(empty.get());
    auto* typed = child<QComboBox>(empty.get(), "serialPortInfoListBox");
    QCOMPARE(typed->count(), 0);
    QVERIFY(typed->isEditable());
    QTest::keyClicks(typed->lineEdit(), "/dev/ttyACM7");
    child<QPushButton>(empty.get(), "pushButton_SelectOrva")->click();
    QCOMPARE(emitted.events, (QStringList{"encrypt off", "device 2 /dev/ttyACM7"}));

    // Nothing typed: the empty name is handed on unchecked.
    emitted.events.clear();
    typed->clearEditText();
    child<QPushButton>(empty.get(), "pushButton_SelectOrva_Radio")->click();
    QCOMPARE(emitted.events, (QStringList{"encrypt on", "device 2 "}));
}

void TestDialogSelectDevice::typedPathSurvivesReturn()
{
    injectedPorts.clear();
    auto dialog = makeDialog();
    Emitted emitted;
    emitted.watch(dialog.get());
    auto* ports = child<QComboBox>(dialog.get(), "serialPortInfoListBox");
    QTest::keyClicks(ports->lineEdit(), "/dev/ttyUSB3");
    QTest::keyClick(ports->lineEdit(), Qt::Key_Return);
    QCOMPARE(ports->currentText(), QStringLiteral("/dev/ttyUSB3"));
    QCOMPARE(ports->count(), 0);

    child<QPushButton>(dialog.get(), "pushButton_SelectOrva")->click();
    QCOMPARE(emitted.events.last(), QStringLiteral("device 2 /dev/ttyUSB3"));
}

void TestDialogSelectDevice::aPortArrivingEndsTheTypedPath()
{
    injectedPorts.clear();
    auto dialog = makeDialog();
    auto* ports = child<QComboBox>(dialog.get(), "serialPortInfoListBox");
    QVERIFY(ports->isEditable());
    QTest::keyClicks(ports->lineEdit(), "/dev/typed");

    injectedPorts = {{"/dev/pts/9", "Unit line", "Maker A"}};
    dialog->fillPortsInfo();
    QVERIFY(!ports->isEditable());
    QCOMPARE(ports->currentText(), QStringLiteral("/dev/pts/9"));
    QCOMPARE(child<QLabel>(dialog.get(), "label_DescriptionText")->text(),
             QStringLiteral("Unit line"));
}

void TestDialogSelectDevice::orvaButtonsTellEncryptionFirst_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("serial") << "pushButton_SelectOrva"
                            << QStringList{"encrypt off", "device 2 /dev/pts/3"};
    QTest::newRow("radio") << "pushButton_SelectOrva_Radio"
                           << QStringList{"encrypt on", "device 2 /dev/pts/3"};
}

void TestDialogSelectDevice::orvaButtonsTellEncryptionFirst()
{
    QFETCH(QString, button);
    QFETCH(QStringList, expected);
    auto dialog = makeDialog();
    Emitted emitted;
    emitted.watch(dialog.get());
    // The receiver finds the dialog already hidden.
    bool hiddenWhenSelected = false;
    connect(dialog.get(), &DialogSelectDevice::deviceSelected, this,
            [&] { hiddenWhenSelected = !dialog->isVisible(); });

    child<QPushButton>(dialog.get(), qPrintable(button))->click();
    QCOMPARE(emitted.events, expected);
    QVERIFY(hiddenWhenSelected);
}

void TestDialogSelectDevice::brqToggleShowsAndHidesStartOptions()
{
    auto dialog = makeDialog();
    auto* brq = child<QPushButton>(dialog.get(), "pushButton_SelectBrq");
    auto* options = child<QGroupBox>(dialog.get(), "groupBox_BrqStartOptions");
    const int collapsed = dialog->height();

    brq->click();
    QVERIFY(brq->isChecked());
    QVERIFY(options->isVisible());
    QVERIFY(qobject_cast<QGraphicsOpacityEffect*>(options->graphicsEffect()));
    const int expanded = dialog->height();
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

void TestDialogSelectDevice::activeBrqIsHandedOnAtOnce()
{
    auto dialog = makeDialog();
    Emitted emitted;
    emitted.watch(dialog.get());
    auto* brq = child<QPushButton>(dialog.get(), "pushButton_SelectBrq");
    brq->click();
    child<QPushButton>(dialog.get(), "pushButton_BrqIsOn")->click();

    QCOMPARE(emitted.events, QStringList{"device 1 /dev/pts/3"});
    QVERIFY(!brq->isChecked());
    QVERIFY(child<QGroupBox>(dialog.get(), "groupBox_BrqStartOptions")->isHidden());
    QVERIFY(!dialog->isVisible());
    QCOMPARE(child<QStackedWidget>(dialog.get(), "stackedWidget_startupPages")->currentIndex(), 0);
}

void TestDialogSelectDevice::powerOffPageBuildsTheStartupString()
{
    auto dialog = makeDialog();
    Emitted emitted;
    emitted.watch(dialog.get());
    openPowerOffPage(dialog.get());

    QCOMPARE(child<QStackedWidget>(dialog.get(), "stackedWidget_startupPages")->currentIndex(), 1);
    QVERIFY(dialog->isVisible());
    QVERIFY(emitted.events.isEmpty());
    auto* mode = child<QComboBox>(dialog.get(), "comboBoxReportingMode");
    auto* ceilometer = child<QComboBox>(dialog.get(), "comboBoxCeilometer");
    auto* gps = child<QComboBox>(dialog.get(), "comboBoxGPS");
    auto* camera = child<QComboBox>(dialog.get(), "comboBoxCameraOptions");
    auto* cameraNumber = child<QComboBox>(dialog.get(), "comboBoxCameraOptions_2");
    auto* elevation = child<QSpinBox>(dialog.get(), "spinBoxElevation");
    QCOMPARE(comboTexts(mode), brqComboItems(BrqVocabulary::brqModeLabels));
    QCOMPARE(comboTexts(camera), brqComboItems(BrqVocabulary::brqCameraLabels));
    QCOMPARE(comboTexts(cameraNumber), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(child<QComboBox>(dialog.get(), "comboBoxSpeci")->count(), 3);
    QVERIFY(!cameraNumber->isVisible());
    QVERIFY(!elevation->isVisible());
    QCOMPARE(elevation->minimum(), 0);
    QCOMPARE(elevation->maximum(), 99);

    mode->setCurrentIndex(5);
    ceilometer->setCurrentIndex(2);
    gps->setCurrentIndex(5);
    QVERIFY(elevation->isVisible());
    QVERIFY(child<QLabel>(dialog.get(), "label_Elevation")->isVisible());
    elevation->setValue(12);
    camera->setCurrentIndex(3);
    QVERIFY(cameraNumber->isVisible());
    QVERIFY(child<QLabel>(dialog.get(), "label_CameraNumber")->isVisible());
    cameraNumber->setCurrentIndex(1);

    child<QPushButton>(dialog.get(), "pushButton_SetCommands")->click();
    QCOMPARE(emitted.events, QStringList{"startup 1 /dev/pts/3 m4%0DC1%0DGE%2B0012%0DI2%0D"});
    QVERIFY(!dialog->isVisible());

    gps->setCurrentIndex(2);
    QVERIFY(!elevation->isVisible());
    camera->setCurrentIndex(1);
    QVERIFY(!cameraNumber->isVisible());
}

void TestDialogSelectDevice::autoImageCaptureTakesTheSchedule()
{
    auto dialog = makeDialog();
    Emitted emitted;
    emitted.watch(dialog.get());
    openPowerOffPage(dialog.get());
    auto* camera = child<QComboBox>(dialog.get(), "comboBoxCameraOptions");

    dialogImageSchedule::setRunner(ticking({0, 13}, QDialogButtonBox::Ok));
    camera->setCurrentIndex(BrqVocabulary::CameraAutoImage);
    QCOMPARE(camera->currentIndex(), 4);
    QVERIFY(!child<QComboBox>(dialog.get(), "comboBoxCameraOptions_2")->isVisible());

    child<QPushButton>(dialog.get(), "pushButton_SetCommands")->click();
    QCOMPARE(emitted.events, QStringList{"startup 1 /dev/pts/3 i00%0Di13%0D%0D"});

    // A finished schedule does not stay behind as a child of the dialog.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(dialog->findChildren<dialogImageSchedule*>().size(), 0);
}

void TestDialogSelectDevice::autoImageCaptureFallsBackWithoutHours_data()
{
    QTest::addColumn<QList<int>>("hours");
    QTest::addColumn<int>("button");
    QTest::newRow("cancelled") << QList<int>{5} << int(QDialogButtonBox::Cancel);
    QTest::newRow("accepted with no hour") << QList<int>{} << int(QDialogButtonBox::Ok);
}

void TestDialogSelectDevice::autoImageCaptureFallsBackWithoutHours()
{
    QFETCH(QList<int>, hours);
    QFETCH(int, button);
    auto dialog = makeDialog();
    Emitted emitted;
    emitted.watch(dialog.get());
    openPowerOffPage(dialog.get());
    auto* camera = child<QComboBox>(dialog.get(), "comboBoxCameraOptions");

    // An earlier accepted schedule is forgotten when the next one is not.
    dialogImageSchedule::setRunner(ticking({7}, QDialogButtonBox::Ok));
    camera->setCurrentIndex(4);
    camera->setCurrentIndex(0);

    dialogImageSchedule::setRunner(
        ticking(hours, static_cast<QDialogButtonBox::StandardButton>(button)));
    camera->setCurrentIndex(4);
    QCOMPARE(camera->currentIndex(), 0);

    child<QPushButton>(dialog.get(), "pushButton_SetCommands")->click();
    QCOMPARE(emitted.events, QStringList{"startup 1 /dev/pts/3 "});
}

void TestDialogSelectDevice::shownAgainAfterPowerOffKeepsPageAndPort()
{
    auto dialog = makeDialog();
    Emitted emitted;
    emitted.watch(dialog.get());
    openPowerOffPage(dialog.get());
    child<QComboBox>(dialog.get(), "comboBoxSpeci")->setCurrentIndex(2);
    child<QPushButton>(dialog.get(), "pushButton_SetCommands")->click();

    // The port list moves on meanwhile; the power-off page keeps the port chosen then.
    injectedPorts = {{"/dev/pts/4", "", ""}};
    dialog->fillPortsInfo();
    dialog->show();
    QCOMPARE(child<QStackedWidget>(dialog.get(), "stackedWidget_startupPages")->currentIndex(), 1);
    QCOMPARE(child<QComboBox>(dialog.get(), "comboBoxSpeci")->currentIndex(), 2);
    QCOMPARE(child<QComboBox>(dialog.get(), "comboBoxReportingMode")->count(), 8);
    child<QPushButton>(dialog.get(), "pushButton_SetCommands")->click();
    QCOMPARE(emitted.events,
             (QStringList{"startup 1 /dev/pts/3 S1%0D", "startup 1 /dev/pts/3 S1%0D"}));
}

void TestDialogSelectDevice::exitClosesTheDialog()
{
    auto dialog = makeDialog();
    QVERIFY(dialog->testAttribute(Qt::WA_QuitOnClose));
    child<QPushButton>(dialog.get(), "pushButton_CancelSetup")->click();
    QVERIFY(!dialog->isVisible());
}

void TestDialogSelectDevice::powerOnNotice()
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
    QTRY_VERIFY_WITH_TIMEOUT(notice.isNull(), 2000);
}

void TestDialogSelectDevice::powerOnNoticeDoesNotKeepTheApplicationAlive()
{
    // The application ends when its main window closes, even with the notice still up. The
    // notice appears while the selection dialog hides and the main window is not yet active, so
    // it belongs to no other window.
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
    stuck.start(5000);

    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(lastClosed.count(), 1);
    delete notice.data();
}

QTEST_MAIN(TestDialogSelectDevice)
#include "tst_dialogselectdevice.moc"
