// The window completed once, at the first device start-up, for the family chosen then: pages
// and groups per family, the fixed combo lists, the status bar, notes, tool tips and input
// checks, the two drawing views, the charts, the alert list's button groups, two timers.

#include "app/pagelayout.h"

#include "alerts/alertsound.h"
#include "app/brqcommands.h"
#include "app/maingui.h"
#include "app/orvacommands.h"
#include "forms/maingui_ui.h"

#include <QBrush>
#include <QColor>
#include <QDebug>
#include <QDoubleValidator>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStatusBar>

namespace
{

const char kReportHistoryNote[] =
    "* History of standard METARs (hourly observations on the 55th minute), edited METARs and "
    "SPECIs are tracked on this page (max 24 hours)";
const char kIridiumNote[] =
    "Note: Modes faster than 5 minute mode will disable Iridium communications";

// How the family block leaves a group of widgets: shown, hidden, as the form built it, or (the
// transmit-delay row of an ORVA unit) as the report-mode radio decides.
enum class Vis { Shown, Hidden, AsBuilt, ByReportMode };

struct FamilyRow {
    QList<QWidget*> widgets;
    Vis brq;
    Vis orva;
    Vis legacy;
};

void hideAll(std::initializer_list<QWidget*> widgets)
{
    for (QWidget* widget : widgets)
        widget->hide();
}

// No BRQ record writes the table's radio rows: what they hold is another unit's radio.
void clearRadioRows(Ui_MainGUI& ui)
{
    for (QLabel* label :
         {ui.label_table_rflos_txf, ui.label_table_rflos_rxf, ui.label_table_rflos_band})
        label->clear();
}

// What each family does with each group of widgets.
QList<FamilyRow> familyRows(Ui_MainGUI& ui)
{
    // clang-format off
    return {
        {{ui.page_BrqCommand}, Vis::Shown, Vis::Hidden, Vis::Hidden},
        {{ui.page_OrvaCommands}, Vis::Hidden, Vis::AsBuilt, Vis::AsBuilt},
        {{ui.page_ORVACmdsMain}, Vis::Hidden, Vis::Shown, Vis::Shown},
        {{ui.labelTablePrecipitation, ui.label_117}, Vis::AsBuilt, Vis::Hidden, Vis::Hidden},
        {{ui.labelTableBitStatus, ui.label_orvabitstatus, ui.pushButtonBitStatus}, Vis::Hidden,
         Vis::Shown, Vis::Hidden},
        {{ui.pushButtonImages}, Vis::Shown, Vis::Hidden, Vis::Hidden},
        {{ui.pushButton_editMetar}, Vis::Hidden, Vis::AsBuilt, Vis::AsBuilt},
        {{ui.NoteMETARSentIcon, ui.NoteMETARSentIconText}, Vis::Hidden, Vis::Shown, Vis::Hidden},
        {{ui.pushButton_saveAndSendMetar}, Vis::AsBuilt, Vis::Shown, Vis::Hidden},
        {{ui.label_headerRadioStatus, ui.groupBox_RadioStatus}, Vis::Hidden, Vis::Shown,
         Vis::Shown},
        {{ui.label_ORVAMETARMode, ui.radioButtonORVAMETAR_Auto,
          ui.radioButtonORVAMETAR_Semiauto, ui.radioButtonORVAMETAR_Manual,
          ui.checkBox_hideMETARModePopUp, ui.label_ORVAMETARSchedule,
          ui.label_ORVA_METAR_prep_schedule, ui.spinBox_ORVA_METAR_prep_schedule,
          ui.pushButton_ORVA_METAR_prep_schedule},
         Vis::Hidden, Vis::Shown, Vis::Hidden},
        {{ui.label_ORVA_METAR_transmit_delay, ui.timeEdit_ORVA_METAR_transmit_delay,
          ui.label_ORVA_METAR_transmit_delay_2},
         Vis::Hidden, Vis::ByReportMode, Vis::Hidden},
        {{ui.graphicsView_Lightning, ui.label_9, ui.pushButton_lightninglegend_green,
          ui.pushButton_lightninglegend_red, ui.pushButton_lightninglegend_yellow},
         Vis::Hidden, Vis::Shown, Vis::Hidden},
        {{ui.lightning_strikecount_one, ui.lightning_strikecount_ten,
          ui.lightning_strikecount_sixty, ui.label_strikecount_onemin,
          ui.label_strikecount_tenmin, ui.label_strikecount_sixtymin,
          ui.label_strikecount_onemin_distance, ui.label_strikecount_tenmin_distance,
          ui.label_strikecount_sixtymin_distance, ui.label_lightning_sm1, ui.label_lightning_sm2,
          ui.label_lightning_sm3},
         Vis::Hidden, Vis::Shown, Vis::Shown},
        {{ui.label_strikecount_five, ui.label_strikecount_fivemin,
          ui.label_strikecount_fivemin_distance, ui.label_lightning_nm},
         Vis::Shown, Vis::Hidden, Vis::Hidden},
        {{ui.label_speciSettings, ui.pushButton_editSpeciSettings, ui.groupBox_25,
          ui.label_encryptionSettings},
         Vis::Hidden, Vis::Shown, Vis::AsBuilt},
    };
    // clang-format on
}

// A stack sizes only its current page: a panel shown while another page is current keeps the
// size it last had (640 x 480 if it never was current), cut off and with no scroll bar.
void showCommandPanel(Ui_MainGUI& ui, bool brq)
{
    ui.stackedWidget_CommandConfiguration->setCurrentWidget(brq ? ui.page_BrqCommand
                                                                : ui.page_ORVACmdsMain);
}

void setValidatedInput(MainGUI& window, QLineEdit* edit, double bottom, double top)
{
    edit->setValidator(new QDoubleValidator(bottom, top, 4, &window));
}

// The alert list's buttons, by parameter, in the order of their ids in the audio group; the
// delete group numbers the rows from station pressure to cross wind in another order.
struct AlertRow {
    const char* name;
    int audioId;
    int deleteId;
};
const AlertRow alertRows[] = {
    {"Temp", 0, 0},
    {"WindSpeed", 2, 2},
    {"WindChill", 4, 4},
    {"WindDirection", 6, 6},
    {"WindGustSpeed", 8, 8},
    {"Visibility", 10, 10},
    {"DewPoint", 12, 12},
    {"HeatIndex", 14, 14},
    {"Altimeter", 16, 16},
    {"RelativeHumidity", 18, 18},
    {"StationPressure", 20, 28},
    {"SeaLevelPressure", 22, 30},
    {"PressureAltitude", 24, 20},
    {"DensityAltitude", 26, 22},
    {"3hrPressureChange", 28, 24},
    {"CrossWindSpeed", 30, 26},
    {"Lightning", 32, 32},
};

void buildAlertButtonGroups(MainGUI& window)
{
    for (const AlertRow& row : alertRows) {
        const QString name = QString::fromLatin1(row.name);
        // The LessThan button takes the even id, the GreaterThan button the next one.
        for (int greater = 0; greater < 2; ++greater) {
            const QString direction =
                greater ? QStringLiteral("GreaterThan") : QStringLiteral("LessThan");
            auto* audio = window.findChild<QPushButton*>("pushButton_audio" + name + direction);
            auto* remove = window.findChild<QPushButton*>("pushButton_delete" + name + direction);
            window.alertAudioGroup.addButton(audio, row.audioId + greater);
            window.alertDeleteGroup.addButton(remove, row.deleteId + greater);
        }
    }
    // The alert list owns these slots; they are connected by signature.
    QObject::connect(&window.alertAudioGroup, SIGNAL(idClicked(int)), &window,
                     SLOT(onalerts_Audio_clicked(int)));
    QObject::connect(&window.alertDeleteGroup, SIGNAL(idClicked(int)), &window,
                     SLOT(onalerts_Delete_clicked(int)));
}

// Status icon tool tips for the off state, the fixed notes and texts, and the first report
// history entry.
void setNotesAndToolTips(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    const QList<QPair<QLabel*, QLabel*>> statusIcons = {
        {ui.labelWarning, ui.label_StatusWarning},
        {ui.labelRain, ui.label_StatusRain},
        {ui.labelLightning, ui.label_StatusLightning},
        {ui.labelCamera, ui.label_StatusCamera},
        {ui.labelBattery, ui.label_StatusBattery}};
    for (int i = 0; i < statusIcons.size(); ++i) {
        statusIcons[i].first->setToolTip(window.statusOffTexts.value(i));
        statusIcons[i].second->setToolTip(window.statusOffTexts.value(i));
    }

    ui.label_TimestampWarning->hide();
    ui.label_TimestampWarning->setText(
        QStringLiteral("Note: GPS is currently unsynced. 'Device' time denotes time since device "
                       "power up. Certain measurements may be unavailable during this time."));

    ui.comboBoxViewMetar->addItem(QStringLiteral("Latest (Auto-Refresh)"));
    ui.pushButtonNotifications->setText(QStringLiteral("  Notifications") + QString(22, ' '));
    ui.label_ReportingModeWarning->setText(QString::fromLatin1(kIridiumNote));
    ui.label_ReportingModeWarning->hide();
    ui.label_camNumber->setText(QStringLiteral("Camera Number: "));
}

// Validators and tool tips of the numeric command inputs.
void setInputChecks(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    setValidatedInput(window, ui.lineEdit_command_declination, -180, 180);
    setValidatedInput(window, ui.lineEdit_ORVALOSRFInput, 138, 470);
    setValidatedInput(window, ui.lineEdit_ORVARFLOSReceiveFreq, 138, 470);
    ui.lineEdit_ORVALOSRFInput->setToolTip(
        QStringLiteral("Transmit frequency. Set to VHF band between 138-178 MHz or UHF band "
                       "between 410-470 MHz."));
    ui.lineEdit_ORVARFLOSReceiveFreq->setToolTip(
        QStringLiteral("Receive frequency. Set to VHF band between 138-178 MHz or UHF band "
                       "between 410-470 MHz."));
    ui.comboBox_ORVARFLOSProgramChannel->setToolTip(
        QStringLiteral("Select the RFLOS frequency table entry to program with the above "
                       "frequencies. Index from 0 to 11."));
    ui.comboBox_ORVARFLOSSelectedChannel->setToolTip(
        QStringLiteral("Select the RFLOS frequency table entry to activate. Index from 0 to 11."));
}

void groupRadioButtons(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    window.precipIntervalGroup.addButton(ui.radioButton24HrPrecipAccum12Z);
    window.precipIntervalGroup.addButton(ui.radioButton24HrPrecipAccum);
    window.metarModeGroup.addButton(ui.radioButtonORVAMETAR_Auto);
    window.metarModeGroup.addButton(ui.radioButtonORVAMETAR_Semiauto);
    window.metarModeGroup.addButton(ui.radioButtonORVAMETAR_Manual);
}

// Left the status text, in the middle the messages, on the right the connection text or, while
// images arrive, their progress.
void buildStatusBar(MainGUI& window)
{
    window.imageProgressBar = new QProgressBar(nullptr);
    window.imageProgressBar->hide();
    window.imageProgressBar->setAlignment(Qt::AlignCenter);
    window.imageProgressBar->setRange(0, window.imageProgressMaximum);
    window.statusRightStack = new QStackedWidget(nullptr);
    window.statusRightStack->addWidget(&window.connectionStatusLabel);
    window.statusRightStack->addWidget(window.imageProgressBar);
    window.statusRightStack->setCurrentIndex(0);

    QStatusBar* const bar = window.ui->statusbar;
    bar->addPermanentWidget(&window.statusLabel, 0);
    window.statusCentreLabel.setAlignment(Qt::AlignCenter);
    bar->addPermanentWidget(&window.statusCentreLabel, 1);
    window.connectionStatusLabel.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addPermanentWidget(window.statusRightStack, 0);

    window.connectionStatusText.clear();
    window.connectionStatusLabel.setText(window.connectionStatusText);
}

void keepCameraLabels(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    window.imagePaths = QStringList{QStringLiteral("temp"), QStringLiteral("temp"),
                                    QStringLiteral("temp"), QStringLiteral("temp")};
    QLabel* const images[4] = {ui.label_image1, ui.label_image2, ui.label_image3, ui.label_image4};
    QLabel* const infos[4] = {ui.label_camera1_info, ui.label_camera2_info, ui.label_camera3_info,
                              ui.label_camera4_info};
    std::copy(std::begin(images), std::end(images), std::begin(window.imageLabels));
    std::copy(std::begin(infos), std::end(infos), std::begin(window.cameraInfoLabels));
}

// Filling a combo runs its index slot, which shows or hides the inputs that go with the choice.
void fillCommandLists(Ui_MainGUI& ui)
{
    constexpr const BrqCommandTables& brq = MainGUI::brqCommandTables;
    ui.comboBoxCmdFreq->addItems(brqComboItems(MainGUI::legacyRateLabels));
    ui.comboBoxCmdMode->addItems(brqComboItems(brq.brqModeLabels));
    ui.comboBoxCmdCamera->addItems(brqComboItems(brq.brqCameraLabels));
    ui.comboBoxCmdCeil->addItems(brqComboItems(brq.brqCeilometerLabels));
    ui.comboBoxCmdGps->addItems(brqComboItems(brq.brqGpsLabels));
    ui.comboBoxCmdSpeci->addItems(brqComboItems(brq.brqSpeciLabels));
    ui.comboBoxORVAGPS->addItems(brqComboItems(MainGUI::legacyGpsLabels));
    ui.cameraNumbercomboBox->addItems(brqComboItems(brq.brqCameraNumbers));

    const OrvaCommandRules::OrvaComboItems& orva = MainGUI::orvaComboItems;
    ui.comboBox_ORVAtransmitFrequency->addItems(orva.transmitFrequency);
    ui.comboBox_ORVABlower->addItems(orva.blower);
    ui.comboBox_ORVADataLog->addItems(orva.dataLog);
    ui.comboBox_ORVAGPS->addItems(orva.gps);
    ui.comboBox_ORVAElevation->addItems(orva.elevation);
    ui.comboBox_ORVAHeater->addItems(orva.heater);
    ui.comboBox_ORVALEDStatus->addItems(orva.led);
    ui.comboBox_ORVARFCmd->addItems(orva.rf);
    ui.comboBox_ORVARFLOSProgramChannel->addItems(orva.rflosChannel);
    ui.comboBox_ORVARFLOSSelectedChannel->addItems(orva.rflosChannel);
    ui.comboBox_ORVARFMessageRate->addItems(orva.rflosRate);

    // The modes faster than five minutes ("1 Minute", "20 Second", "10 Second").
    for (int item = 5; item <= 7; ++item) {
        ui.comboBoxCmdMode->setItemData(item, QString::fromLatin1(kIridiumNote), Qt::ToolTipRole);
        ui.comboBoxCmdMode->setItemData(item, QBrush(QColor(238, 156, 55)), Qt::ForegroundRole);
    }
}

// Widgets that only a choice, a record or a module list shows. After the command lists, whose
// index slots show some of them.
void hideUntilAsked(Ui_MainGUI& ui)
{
    hideAll({ui.lineEdit_ORVAElevationInput, ui.label_VerticalVisibility,
             ui.labelVerticalVisibility, ui.label_UnitVertFt, ui.label_ORVACmdSendMsgError});
    hideAll({ui.label_runwayadjusteddirection, ui.labelRunwayAdjustedWindDirection,
             ui.label_runwayadjusteddirectionUnits, ui.label_runwayadjustedgustdirection,
             ui.labelRunwayAdjustedGustDirection, ui.label_runwayadjustedgustdirectionUnits,
             ui.labelrunwayadjustedxwind, ui.label_runwayadjustedxwindvalue,
             ui.label_runawayadjustedxwindunits, ui.labelRunwayAdjusted_XGust,
             ui.label_runwayadjustedxgustvalue, ui.label_xgustrunwayadjustedunits});
    hideAll({ui.checkBox_ORVAEnableLightning,
             ui.checkBox_ORVAEnableCeilometer,
             ui.checkBox_ORVAEnablePresentWeather,
             ui.checkBox_ORVAEnableRadio,
             ui.checkBox_ORVAEnableWind,
             ui.checkBox_ORVAEnableIridium,
             ui.checkBox_ORVAEnableTPH,
             ui.checkBox_ORVADisableLightning,
             ui.checkBox_ORVADisableCeilometer,
             ui.checkBox_ORVADisablePresentWeather,
             ui.checkBox_ORVADisableRadio,
             ui.checkBox_ORVADisableWind,
             ui.checkBox_ORVADisableIridium,
             ui.checkBox_ORVADisableTPH,
             ui.iconModule_Iridium,
             ui.iconModule_Ceilometer,
             ui.iconModule_Lightning,
             ui.iconModule_PresentWeather,
             ui.iconModule_Radio,
             ui.iconModule_Wind,
             ui.iconModule_TPH,
             ui.label_ModuleLightning,
             ui.label_ModuleCeilometer,
             ui.label_ModulePW,
             ui.label_ModuleIridium,
             ui.label_ModuleRadio,
             ui.label_ModuleTPH,
             ui.label_ModuleWind});
    hideAll({ui.label_camNumber, ui.cameraNumbercomboBox, ui.label_setElevation,
             ui.spinBox_elevationValue});
    // Until a record reports tampering, whatever the family.
    ui.pushButton_ClearTamperingWarning->hide();
}

void setUpWindView(MainGUI& window)
{
    QGraphicsView* const view = window.ui->graphicsViewWind;
    view->setStyleSheet(
        QStringLiteral("background-image: url(:/resources/windrosecompass.png);background-repeat: "
                       "no-repeat;background-position: center;"));
    view->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    window.windScene.setSceneRect(0, 0, 270, 240);
    // Attached here, so that the runway drawn later shows before the first record arrives.
    view->setScene(&window.windScene);
}

// The units and the precipitation interval read from the settings, set through their buttons
// so that their slots run.
void applyStoredChoices(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    if (window.temperatureUnits == TemperatureUnits::Fahrenheit)
        ui.radioButtonUnitsImperial->click();
    else
        ui.radioButtonUnitsMetric->setChecked(true);

    if (window.precipAccum24hInterval == PrecipAccum24hInterval::Previous24Hours)
        ui.radioButton24HrPrecipAccum->click();
    else
        ui.radioButton24HrPrecipAccum12Z->click();
}

void setUpAlertForm(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    ui.comboBox_alertParameterSetting->addItems(window.alertParameters);
    ui.comboBox_alertThresholdSetting->addItems(
        {QStringLiteral(">"), QStringLiteral("<"), QStringLiteral("set range")});
    ui.comboBox_alertAudioSetting->addItems({QStringLiteral("True"), QStringLiteral("False")});

    buildAlertButtonGroups(window);

    if (!window.alertSound)
        window.alertSound = makeAlertSoundPlayer();
}

} // namespace

void applyDeviceFamilyLayout(MainGUI& window)
{
    if (window.deviceType != DeviceTypes::BRQ && window.deviceType != DeviceTypes::ORVA)
        return;

    Ui_MainGUI& ui = *window.ui;
    const QList<FamilyRow> rows = familyRows(ui);
    // The first layout finds these widgets as the form built them. Later ones return what a
    // family leaves alone to that state, so that no unit's window depends on the unit before.
    const bool first = window.familyLayoutHidden.isEmpty();
    if (first) {
        for (const FamilyRow& row : rows) {
            for (QWidget* widget : row.widgets)
                window.familyLayoutHidden.insert(widget, widget->isHidden());
        }
        window.familyLayoutNote = ui.label_10->text();
    }

    const bool brq = window.deviceType == DeviceTypes::BRQ;
    for (const FamilyRow& row : rows) {
        const Vis vis = brq ? row.brq : window.legacyOrva ? row.legacy : row.orva;
        for (QWidget* widget : row.widgets) {
            if (vis == Vis::Shown || vis == Vis::Hidden)
                widget->setVisible(vis == Vis::Shown);
            else if (first)
                continue;
            else if (vis == Vis::AsBuilt)
                widget->setHidden(window.familyLayoutHidden.value(widget));
            else
                widget->setHidden(ui.radioButtonORVAMETAR_Auto->isChecked());
        }
    }
    showCommandPanel(ui, brq);
    if (brq) {
        ui.label_10->setText(window.familyLayoutNote);
        clearRadioRows(ui);
        return;
    }

    ui.label_10->setText(window.legacyOrva ? window.familyLayoutNote
                                           : QString::fromLatin1(kReportHistoryNote));
    qDebug() << "ORVA Legacy Flag at startup " << window.legacyOrva;
    queueReportScheduleQueries(window);
}

void applyPowerOffFamilyLayout(MainGUI& window)
{
    if (window.deviceType != DeviceTypes::BRQ)
        return;
    Ui_MainGUI& ui = *window.ui;
    for (QWidget* widget :
         {static_cast<QWidget*>(ui.page_BrqCommand), static_cast<QWidget*>(ui.pushButtonImages)})
        widget->show();
    hideAll({ui.page_OrvaCommands, ui.page_ORVACmdsMain, ui.pushButton_editMetar,
             ui.pushButtonBitStatus, ui.label_ORVAMETARMode, ui.radioButtonORVAMETAR_Semiauto,
             ui.radioButtonORVAMETAR_Auto, ui.radioButtonORVAMETAR_Manual});
    showCommandPanel(ui, true);
    clearRadioRows(ui);
}

void setUpLightningCompass(MainGUI& window)
{
    // Only a non-legacy ORVA unit sends lightning compass packets; the view and its timer are
    // made once, whichever unit came first.
    if (window.deviceType != DeviceTypes::ORVA || window.legacyOrva || window.lightningRedrawTimer)
        return;
    QGraphicsView* const view = window.ui->graphicsView_Lightning;
    view->setStyleSheet(QStringLiteral(
        "background-image: url(:/resources/lightningcompass7.png);background-repeat: "
        "no-repeat;background-position: center top; padding:0px;"));
    view->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    window.lightningScene.setSceneRect(0, 0, 2, 4);
    view->setScene(&window.lightningScene);
    window.lightningRedrawTimer = new QTimer(&window);
    // The lightning compass owns the redraw; it is connected by signature.
    QObject::connect(window.lightningRedrawTimer, SIGNAL(timeout()), &window,
                     SLOT(drawLightning()));
    window.lightningRedrawTimer->start(100000);
}

void MainGUI::updateLayout()
{
    setNotesAndToolTips(*this);
    ui->stacked_METAR->setCurrentIndex(0);
    setInputChecks(*this);
    groupRadioButtons(*this);
    applyDeviceFamilyLayout(*this);
    buildStatusBar(*this);
    keepCameraLabels(*this);
    fillCommandLists(*ui);
    hideUntilAsked(*ui);
    setUpLightningCompass(*this);
    setUpWindView(*this);
    drawInitialCharts();
    applyStoredChoices(*this);
    setUpAlertForm(*this);

    // The settings reader may have drawn the runway already: the scene holds one drawing only.
    drawBaseWindPicture();
    if (!runwayHidden)
        drawRunwayPicture(QString(), QString());

    on_pushButtonDashboard_clicked();

    // The alert list turns the definitions read from the settings file into its rows; until it
    // has, saves write them back as they were read.
    storedAlertsApplied = QMetaObject::invokeMethod(this, "loadAlerts", Qt::DirectConnection,
                                                    Q_ARG(QJsonArray, storedAlerts));

    auto* alertCountTimer = new QTimer(this);
    connect(alertCountTimer, &QTimer::timeout, this, &MainGUI::updateAlertsCount);
    alertCountTimer->start(10000);

    show();
}
