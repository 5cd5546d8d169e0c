// The window laid out at the first device start-up for a BRQ, an ORVA and a legacy ORVA unit:
// what each family shows and hides, the combo lists, the status bar, the two drawing views, the
// timers, the alert list's button ids, and the two report-schedule queries of an ORVA unit.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "app/settingsfile.h"
#include "forms/maingui_ui.h"
#include "tests/app/apptest.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDoubleValidator>
#include <QFile>
#include <QGraphicsView>
#include <QMediaPlayer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>

#include <memory>

namespace
{

enum Family { Brq, Orva, Legacy };

// Pixels of a picture within a few steps of the colour in each channel: the inside of a glyph,
// not its smoothed edge.
int pixelsNear(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - colour.red()) <= 24 &&
                qAbs(pixel.green() - colour.green()) <= 24 &&
                qAbs(pixel.blue() - colour.blue()) <= 24)
                ++count;
        }
    return count;
}

// What the layout leaves of a widget: shown, hidden, or as the form had it.
enum Vis { S, H, K };

struct FamilyRow {
    QStringList widgets;
    Vis brq;
    Vis orva;
    Vis legacy;
};

// clang-format off
const QList<FamilyRow> familyRows = {
    {{"page_BrqCommand"}, S, H, H},
    {{"page_OrvaCommands"}, H, K, K},
    {{"page_ORVACmdsMain"}, H, S, S},
    {{"labelTablePrecipitation", "label_117"}, K, H, H},
    {{"labelTableBitStatus", "label_orvabitstatus", "pushButtonBitStatus"}, H, S, H},
    {{"pushButtonImages"}, S, H, H},
    {{"pushButton_editMetar"}, H, K, K},
    {{"NoteMETARSentIcon", "NoteMETARSentIconText"}, H, S, H},
    {{"pushButton_saveAndSendMetar"}, K, S, H},
    {{"label_headerRadioStatus", "groupBox_RadioStatus"}, H, S, S},
    {{"label_ORVAMETARMode", "radioButtonORVAMETAR_Auto", "radioButtonORVAMETAR_Semiauto",
      "radioButtonORVAMETAR_Manual", "checkBox_hideMETARModePopUp", "label_ORVAMETARSchedule",
      "label_ORVA_METAR_prep_schedule", "spinBox_ORVA_METAR_prep_schedule",
      "pushButton_ORVA_METAR_prep_schedule"}, H, S, H},
    {{"graphicsView_Lightning", "label_9", "pushButton_lightninglegend_green",
      "pushButton_lightninglegend_red", "pushButton_lightninglegend_yellow"}, H, S, H},
    {{"lightning_strikecount_one", "lightning_strikecount_ten", "lightning_strikecount_sixty",
      "label_strikecount_onemin", "label_strikecount_tenmin", "label_strikecount_sixtymin",
      "label_strikecount_onemin_distance", "label_strikecount_tenmin_distance",
      "label_strikecount_sixtymin_distance", "label_lightning_sm1", "label_lightning_sm2",
      "label_lightning_sm3"}, H, S, S},
    {{"label_strikecount_five", "label_strikecount_fivemin", "label_strikecount_fivemin_distance",
      "label_lightning_nm"}, S, H, H},
    {{"label_speciSettings", "pushButton_editSpeciSettings", "groupBox_25",
      "label_encryptionSettings"}, H, S, K},
};

// Hidden whatever the family.
const QStringList alwaysHidden = {
    "label_TimestampWarning", "label_ReportingModeWarning", "lineEdit_ORVAElevationInput",
    "label_VerticalVisibility", "labelVerticalVisibility", "label_UnitVertFt",
    "label_ORVACmdSendMsgError", "label_runwayadjusteddirection",
    "labelRunwayAdjustedWindDirection", "label_runwayadjusteddirectionUnits",
    "label_runwayadjustedgustdirection", "labelRunwayAdjustedGustDirection",
    "label_runwayadjustedgustdirectionUnits", "labelrunwayadjustedxwind",
    "label_runwayadjustedxwindvalue", "label_runawayadjustedxwindunits",
    "labelRunwayAdjusted_XGust", "label_runwayadjustedxgustvalue",
    "label_xgustrunwayadjustedunits", "checkBox_ORVAEnableLightning",
    "checkBox_ORVAEnableCeilometer", "checkBox_ORVAEnablePresentWeather",
    "checkBox_ORVAEnableRadio", "checkBox_ORVAEnableWind", "checkBox_ORVAEnableIridium",
    "checkBox_ORVAEnableTPH", "checkBox_ORVADisableLightning", "checkBox_ORVADisableCeilometer",
    "checkBox_ORVADisablePresentWeather", "checkBox_ORVADisableRadio", "checkBox_ORVADisableWind",
    "checkBox_ORVADisableIridium", "checkBox_ORVADisableTPH", "iconModule_Iridium",
    "iconModule_Ceilometer", "iconModule_Lightning", "iconModule_PresentWeather",
    "iconModule_Radio", "iconModule_Wind", "iconModule_TPH", "label_ModuleLightning",
    "label_ModuleCeilometer", "label_ModulePW", "label_ModuleIridium", "label_ModuleRadio",
    "label_ModuleTPH", "label_ModuleWind", "label_camNumber", "cameraNumbercomboBox",
    "label_setElevation", "spinBox_elevationValue", "pushButton_ClearTamperingWarning",
};
// clang-format on

const QStringList rflosChannels = {"No command", "0", "1", "2", "3",  "4", "5",
                                   "6",          "7", "8", "9", "10", "11"};

// Shown within its own parent: the page a widget lies on need not be the current one.
bool shown(QWidget* widget)
{
    return widget->isVisibleTo(widget->parentWidget());
}

void setFamily(MainGUI& window, Family family)
{
    window.deviceType = family == Brq ? DeviceTypes::BRQ : DeviceTypes::ORVA;
    window.legacyOrva = family == Legacy;
}

// The repeating timer of the window that fires at this interval; null when there is none.
QTimer* timerOf(MainGUI& window, int interval)
{
    for (QTimer* timer : window.findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (timer->interval() == interval)
            return timer;
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Family)

class TestPageLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerSharedMetaTypes(); }
    void init()
    {
        // Every window starts from the default copy in the working folder; the previous one saved
        // its own at exit.
        QFile::remove(settingsFilePath());
    }
    void cleanupTestCase()
    {
        for (auto& window : shared)
            window.reset();
    }

    // Each with a window of its own, made before the shared ones: every window restyles the
    // whole application, so the fewer windows alive, the quicker.
    void familyWidgets_data()
    {
        QTest::addColumn<Family>("family");
        QTest::newRow("BRQ") << Brq;
        QTest::newRow("ORVA") << Orva;
        QTest::newRow("legacy ORVA") << Legacy;
    }
    void familyWidgets()
    {
        QFETCH(Family, family);
        MainGUI window;
        setFamily(window, family);
        QSignalSpy written(&window, &MainGUI::writeSerial);
        QHash<QString, bool> before;
        for (const FamilyRow& row : familyRows) {
            for (const QString& name : row.widgets)
                before.insert(name, shown(window.findChild<QWidget*>(name)));
        }

        window.updateLayout();

        for (const FamilyRow& row : familyRows) {
            const Vis vis = family == Brq ? row.brq : family == Orva ? row.orva : row.legacy;
            for (const QString& name : row.widgets) {
                auto* widget = window.findChild<QWidget*>(name);
                QVERIFY2(widget, qPrintable(name));
                const bool expected = vis == K ? before.value(name) : vis == S;
                QVERIFY2(shown(widget) == expected, qPrintable(name));
            }
        }
        for (const QString& name : alwaysHidden) {
            auto* widget = window.findChild<QWidget*>(name);
            QVERIFY2(widget && !shown(widget), qPrintable(name));
        }
        // The label texts set with the family.
        const bool orva = family == Orva;
        QCOMPARE(window.ui->label_10->text().contains("edited METARs"), orva);

        // An ORVA unit is asked for its two report schedules through the paced queue.
        if (orva) {
            QCOMPARE(window.commandQueue, (QList<QByteArray>{"frequency\r\n", "metar_offset\r\n"}));
            QVERIFY(window.cmdWriteTimer->isActive());
        } else {
            QVERIFY(window.commandQueue.isEmpty());
        }
        QCOMPARE(written.count(), 0);
    }
    // The settings read at start-up reach the page: units, interval, runway on the rose.
    void settingsAtLayout_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<bool>("fahrenheit");
        QTest::addColumn<PrecipAccum24hInterval>("interval");
        QTest::addColumn<bool>("runwayHidden");
        QTest::newRow("BRQ, Celsius, 12Z")
            << Brq << false << PrecipAccum24hInterval::Since12Z << false;
        QTest::newRow("ORVA, Fahrenheit, previous 24 hours, runway hidden")
            << Orva << true << PrecipAccum24hInterval::Previous24Hours << true;
    }
    void settingsAtLayout()
    {
        QFETCH(Family, family);
        QFETCH(bool, fahrenheit);
        QFETCH(PrecipAccum24hInterval, interval);
        QFETCH(bool, runwayHidden);
        MainGUI window;
        const auto units = fahrenheit ? TemperatureUnits::Fahrenheit : TemperatureUnits::Celsius;
        window.temperatureUnits = units;
        window.precipAccum24hInterval = interval;
        window.runwayHidden = runwayHidden;
        setFamily(window, family);
        QSignalSpy sent(&window, &MainGUI::setPrecipAccum24Int);
        window.updateLayout();

        Ui_MainGUI& f = *window.ui;
        QCOMPARE(f.radioButtonUnitsImperial->isChecked(), fahrenheit);
        QCOMPARE(f.radioButtonUnitsMetric->isChecked(), !fahrenheit);
        QCOMPARE(window.temperatureUnits, units);
        const bool since12Z = interval == PrecipAccum24hInterval::Since12Z;
        QCOMPARE(f.radioButton24HrPrecipAccum12Z->isChecked(), since12Z);
        QCOMPARE(f.radioButton24HrPrecipAccum->isChecked(), !since12Z);
        // The device link hears the interval once more.
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.at(0).at(0).value<PrecipAccum24hInterval>(), interval);
        QCOMPARE(window.windScene.items().isEmpty(), runwayHidden);
    }

    void dashboardIsCurrentAndShown()
    {
        MainGUI window;
        setFamily(window, Orva);
        window.ui->pushButtonSettings->setChecked(true);
        window.ui->pushButtonTrends->setChecked(true);
        QVERIFY(!window.isVisible());
        window.updateLayout();
        QVERIFY(window.isVisible());
        QCOMPARE(window.ui->stackedWidget_mainPages->currentWidget(),
                 window.ui->pageDashboardTrends);
        Ui_MainGUI& f = *window.ui;
        for (QPushButton* button : {f.pushButtonTable, f.pushButtonCommand, f.pushButtonImages,
                                    f.pushButtonSettings, f.pushButtonTrends, f.pushButtonBitStatus,
                                    f.pushButtonRawData, f.pushButtonNotifications})
            QVERIFY2(!button->isChecked(), qPrintable(button->objectName()));
        QVERIFY(f.pushButtonDashboard->isChecked());
    }

    // On the shared windows
    void lightningCompass_data() { familyWidgets_data(); }
    void lightningCompass()
    {
        QFETCH(Family, family);
        MainGUI* const window = &laidOut(family);
        QGraphicsView* view = window->ui->graphicsView_Lightning;
        if (family != Orva) {
            QVERIFY(!window->lightningRedrawTimer);
            QVERIFY(!view->scene());
            QVERIFY(!timerOf(*window, 100000));
            return;
        }
        QVERIFY(window->lightningRedrawTimer);
        QCOMPARE(window->lightningRedrawTimer->parent(), window);
        QCOMPARE(window->lightningRedrawTimer->interval(), 100000);
        QVERIFY(window->lightningRedrawTimer->isActive());
        QVERIFY(!window->lightningRedrawTimer->isSingleShot());
        QCOMPARE(view->scene(), &window->lightningScene);
        QCOMPARE(window->lightningScene.sceneRect(), QRectF(0, 0, 2, 4));
        QCOMPARE(view->styleSheet(),
                 QStringLiteral("background-image: url(:/resources/lightningcompass7.png);"
                                "background-repeat: no-repeat;background-position: center top; "
                                "padding:0px;"));
        QVERIFY(view->renderHints().testFlag(QPainter::Antialiasing));
        QVERIFY(view->renderHints().testFlag(QPainter::SmoothPixmapTransform));
    }
    void comboItems_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* combo, const QStringList& expected) {
            QTest::newRow(combo) << QString(combo) << expected;
        };
        row("comboBoxCmdFreq", {"No command", "5 Minutes", "10 Minutes", "60 Minutes"});
        row("comboBoxCmdMode", BrqItems::mode);
        row("comboBoxCmdCamera", BrqItems::camera);
        row("comboBoxCmdCeil", BrqItems::ceilometer);
        row("comboBoxCmdGps", BrqItems::gps);
        row("comboBoxCmdSpeci", BrqItems::speci);
        row("comboBoxORVAGPS", {"No command", "Enable GPS", "Disable GPS", "GPS Immediate Read",
                                "GPS Immediate Read No Elevation", "Set Elevation"});
        row("cameraNumbercomboBox", BrqItems::cameraNumber);
        row("comboBox_ORVAtransmitFrequency",
            {"No command", "60 minutes", "10 minutes", "5 minutes"});
        row("comboBox_ORVABlower", {"No command", "Auto (default)", "Always On", "Always Off"});
        row("comboBox_ORVADataLog",
            {"No command", "Enabled", "Disabled", "Clear (Will take up to 5 Minutes)"});
        row("comboBox_ORVAGPS", {"No command", "Enabled", "Disabled", "Enable Elevation Only"});
        row("comboBox_ORVAElevation", {"No command", "Disabled", "Set Elevation Value to Enable:"});
        row("comboBox_ORVAHeater", {"No command", "Enabled (default)", "Disabled"});
        row("comboBox_ORVALEDStatus", {"No command", "Enabled", "Disabled"});
        row("comboBox_ORVARFCmd", {"No command", "Comms Enabled (default)", "Comms Disabled"});
        row("comboBox_ORVARFLOSProgramChannel", rflosChannels);
        row("comboBox_ORVARFLOSSelectedChannel", rflosChannels);
        row("comboBox_ORVARFMessageRate",
            {"No command", "60 Seconds (default)", "10 Seconds", "5 Seconds"});
        row("comboBox_alertParameterSetting",
            {"Temperature", "Wind Speed", "Gust Speed", "Wind Direction", "Wind Chill",
             "Visibility", "Dew Point", "Heat Index", "Altimeter", "Relative Humidity",
             "Station Pressure", "Sea Level Pressure", "Pressure Altitude", "Density Altitude",
             "Cross Wind Speed", "3Hr Pressure Change", "Lightning"});
        row("comboBox_alertThresholdSetting", {">", "<", "set range"});
        row("comboBox_alertAudioSetting", {"True", "False"});
        row("comboBoxViewMetar", {"Latest (Auto-Refresh)"});
        row("comboBox_Logging", {"Default", "Data", "Debug"});
    }
    void comboItems()
    {
        QFETCH(QString, combo);
        QFETCH(QStringList, expected);
        // Every family gets every list; the combos of the other family are hidden, not left empty.
        for (Family family : {Brq, Legacy}) {
            MainGUI* const window = &laidOut(family);
            auto* box = window->findChild<QComboBox*>(combo);
            QVERIFY(box);
            QCOMPARE(comboTexts(box), expected);
        }
    }
    void fastModesCarryTheIridiumNote()
    {
        MainGUI* const window = &laidOut(Brq);
        const QComboBox* modes = window->ui->comboBoxCmdMode;
        const QString note = QStringLiteral(
            "Note: Modes faster than 5 minute mode will disable Iridium communications");
        for (int item = 0; item < modes->count(); ++item) {
            const bool fast = item >= 5;
            QCOMPARE(modes->itemData(item, Qt::ToolTipRole).toString(), fast ? note : QString());
            const QVariant brush = modes->itemData(item, Qt::ForegroundRole);
            QCOMPARE(brush.isValid(), fast);
            if (fast) {
                QCOMPARE(brush.value<QBrush>().color(), QColor(238, 156, 55));
                QCOMPARE(brush.value<QBrush>().style(), Qt::SolidPattern);
            }
        }

        // The open list as the operator sees it under the application's sheet: the fast modes in
        // orange, the others in the list's colour. The current item is drawn highlighted. The
        // grab paints the list at once; an event loop here would let the other windows' command
        // queues run.
        QComboBox* list = window->ui->comboBoxCmdMode;
        const QColor listColour(0xF5, 0xF7, 0xFA);
        QVERIFY(pixelsNear(list->grab().toImage(), listColour) > 0);
        list->showPopup();
        QAbstractItemView* view = list->view();
        QVERIFY(view->isVisible());
        const QImage shown = view->viewport()->grab().toImage();
        list->hidePopup();
        for (int item = 0; item < list->count(); ++item) {
            if (item == list->currentIndex())
                continue;
            const QImage row = shown.copy(view->visualRect(list->model()->index(item, 0)));
            const int orange = pixelsNear(row, QColor(238, 156, 55));
            const int light = pixelsNear(row, listColour);
            const bool fast = item >= 5;
            QVERIFY2(fast ? orange > 0 && light == 0 : light > 0 && orange == 0,
                     qPrintable(QStringLiteral("%1: %2 orange and %3 light pixels")
                                    .arg(list->itemText(item))
                                    .arg(orange)
                                    .arg(light)));
        }
    }
    void statusBar()
    {
        MainGUI* const window = &laidOut(Orva);
        QStatusBar* bar = window->ui->statusbar;
        QStackedWidget* right = window->statusRightStack;
        QVERIFY(right);
        QCOMPARE(window->statusLabel.parentWidget(), bar);
        QCOMPARE(window->statusCentreLabel.parentWidget(), bar);
        QCOMPARE(right->parentWidget(), bar);
        // Left to right: message, centre text taking the spare width, connection or image progress.
        QVERIFY(window->statusLabel.geometry().right() <
                window->statusCentreLabel.geometry().left());
        QVERIFY(window->statusCentreLabel.geometry().right() < right->geometry().left());
        QVERIFY(window->statusCentreLabel.width() > right->width());
        QCOMPARE(window->statusCentreLabel.alignment(), Qt::AlignCenter);

        QCOMPARE(right->count(), 2);
        QCOMPARE(right->widget(0), &window->connectionStatusLabel);
        QCOMPARE(right->widget(1), window->imageProgressBar);
        QCOMPARE(right->currentIndex(), 0);
        QCOMPARE(window->connectionStatusLabel.alignment(), Qt::AlignRight | Qt::AlignVCenter);
        QVERIFY(window->connectionStatusLabel.text().isEmpty());
        QVERIFY(window->connectionStatusText.isEmpty());

        QProgressBar* progress = window->imageProgressBar;
        QVERIFY(!progress->isVisible());
        QCOMPARE(progress->minimum(), 0);
        QCOMPARE(progress->maximum(), 44);
        QCOMPARE(progress->alignment(), Qt::AlignCenter);
    }
    void notesTipsAndInputChecks()
    {
        MainGUI* const window = &laidOut(Orva);
        Ui_MainGUI& f = *window->ui;
        const QList<std::tuple<QLabel*, QLabel*, QString>> tips = {
            {f.labelWarning, f.label_StatusWarning, "No Tampering Detected"},
            {f.labelRain, f.label_StatusRain, "No Rain Detected"},
            {f.labelLightning, f.label_StatusLightning, "No Lightning Detected"},
            {f.labelCamera, f.label_StatusCamera, "Cameras Inactive"},
            {f.labelBattery, f.label_StatusBattery, "No Battery Value"}};
        for (const auto& [icon, status, tip] : tips) {
            QCOMPARE(icon->toolTip(), tip);
            QCOMPARE(status->toolTip(), tip);
        }

        QCOMPARE(f.label_TimestampWarning->text(),
                 QStringLiteral("Note: GPS is currently unsynced. 'Device' time denotes time since "
                                "device power up. Certain measurements may be unavailable during "
                                "this time."));
        QCOMPARE(f.label_ReportingModeWarning->text(),
                 QStringLiteral("Note: Modes faster than 5 minute mode will disable Iridium "
                                "communications"));
        QCOMPARE(f.pushButtonNotifications->text().size(), 37);
        QVERIFY(f.pushButtonNotifications->text().startsWith("  Notifications      "));
        QCOMPARE(f.stacked_METAR->currentIndex(), 0);

        const QList<std::tuple<QLineEdit*, double, double>> ranges = {
            {f.lineEdit_command_declination, -180, 180},
            {f.lineEdit_ORVALOSRFInput, 138, 470},
            {f.lineEdit_ORVARFLOSReceiveFreq, 138, 470}};
        for (const auto& [edit, bottom, top] : ranges) {
            const auto* validator = qobject_cast<const QDoubleValidator*>(edit->validator());
            QVERIFY(validator);
            QCOMPARE(validator->bottom(), bottom);
            QCOMPARE(validator->top(), top);
            QCOMPARE(validator->decimals(), 4);
        }
        // Each field has its own validator: tuning one must not change the other.
        QVERIFY(f.lineEdit_ORVALOSRFInput->validator() !=
                f.lineEdit_ORVARFLOSReceiveFreq->validator());
        QVERIFY(f.lineEdit_ORVALOSRFInput->toolTip().startsWith("Transmit frequency."));
        QVERIFY(f.lineEdit_ORVARFLOSReceiveFreq->toolTip().startsWith("Receive frequency."));
        QVERIFY(f.comboBox_ORVARFLOSProgramChannel->toolTip().endsWith("Index from 0 to 11."));
        QVERIFY(f.comboBox_ORVARFLOSSelectedChannel->toolTip().endsWith("Index from 0 to 11."));
        QCOMPARE(f.label_camNumber->text(), QStringLiteral("Camera Number: "));

        QCOMPARE(window->precipIntervalGroup.buttons().size(), 2);
        QVERIFY(window->precipIntervalGroup.exclusive());
        QCOMPARE(
            window->metarModeGroup.buttons(),
            (QList<QAbstractButton*>{f.radioButtonORVAMETAR_Auto, f.radioButtonORVAMETAR_Semiauto,
                                     f.radioButtonORVAMETAR_Manual}));
    }
    void windRose()
    {
        MainGUI* const window = &laidOut(Brq);
        QGraphicsView* view = window->ui->graphicsViewWind;
        QCOMPARE(window->windScene.sceneRect(), QRectF(0, 0, 270, 240));
        QVERIFY(view->renderHints().testFlag(QPainter::Antialiasing));
        QVERIFY(view->renderHints().testFlag(QPainter::SmoothPixmapTransform));
        QVERIFY(view->styleSheet().startsWith(
            "background-image: url(:/resources/windrosecompass.png);background-repeat: "
            "no-repeat;"));
        // The runway is on the rose at once, before any record.
        QCOMPARE(view->scene(), &window->windScene);
        QVERIFY(!window->windScene.items().isEmpty());
    }
    void alertButtonIds_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("audioId");
        QTest::addColumn<int>("deleteId");
        const auto row = [](const char* name, int audio, int remove) {
            QTest::newRow(name) << QString(name) << audio << remove;
        };
        row("TempLessThan", 0, 0);
        row("WindGustSpeedGreaterThan", 9, 9);
        row("RelativeHumidityGreaterThan", 19, 19);
        row("StationPressureLessThan", 20, 28);
        row("StationPressureGreaterThan", 21, 29);
        row("SeaLevelPressureGreaterThan", 23, 31);
        row("PressureAltitudeLessThan", 24, 20);
        row("DensityAltitudeGreaterThan", 27, 23);
        row("3hrPressureChangeLessThan", 28, 24);
        row("CrossWindSpeedGreaterThan", 31, 27);
        row("LightningGreaterThan", 33, 33);
    }
    void alertButtonIds()
    {
        QFETCH(QString, row);
        QFETCH(int, audioId);
        QFETCH(int, deleteId);
        MainGUI* const window = &laidOut(Orva);
        QCOMPARE(window->alertAudioGroup.buttons().size(), 34);
        QCOMPARE(window->alertDeleteGroup.buttons().size(), 34);

        QSignalSpy audio(&window->alertAudioGroup, &QButtonGroup::idClicked);
        QSignalSpy remove(&window->alertDeleteGroup, &QButtonGroup::idClicked);
        window->findChild<QPushButton*>("pushButton_audio" + row)->click();
        window->findChild<QPushButton*>("pushButton_delete" + row)->click();
        QCOMPARE(audio.count(), 1);
        QCOMPARE(audio.at(0).at(0).toInt(), audioId);
        QCOMPARE(remove.count(), 1);
        QCOMPARE(remove.at(0).at(0).toInt(), deleteId);
    }
    void alertCountTimerAndSound()
    {
        MainGUI* const window = &laidOut(Brq);
        QTimer* counts = timerOf(*window, 10000);
        QVERIFY(counts);
        QVERIFY(counts->isActive());
        QVERIFY(!counts->isSingleShot());
        QVERIFY(QObject::disconnect(counts, &QTimer::timeout, window, &MainGUI::updateAlertsCount));
        QVERIFY(window->alertSound);
        QCOMPARE(window->alertSound->volume(), 50);
    }

private:
    // One window per family for the checks that only look; made on first use.
    MainGUI& laidOut(Family family)
    {
        if (!shared[family]) {
            shared[family] = std::make_unique<MainGUI>();
            setFamily(*shared[family], family);
            shared[family]->updateLayout();
        }
        return *shared[family];
    }
    std::unique_ptr<MainGUI> shared[3];
};

QTEST_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
