// The window completed once, at the first device start-up, for the family chosen then: pages
// and groups per family, the fixed combo lists, the status bar, notes, tool tips and input
// checks, the two drawing views, the charts, the alert list's button groups, two timers.

#include "app/pagelayout.h"

#include "alerts/alertsound.h"
#include "app/brqcommands.h"
#include "app/maingui.h"
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

// Legacy ORVA command lists, each ended by an empty entry like the BRQ vocabulary.
const char* const legacyRateLabels[] = {"No command", "5 Minutes", "10 Minutes", "60 Minutes", ""};
const char* const legacyGpsLabels[] = {"No command",
                                       "Enable GPS",
                                       "Disable GPS",
                                       "GPS Immediate Read",
                                       "GPS Immediate Read No Elevation",
                                       "Set Elevation",
                                       ""};

const QStringList orvaTransmitFrequencyItems = {"No command", "60 minutes", "10 minutes",
                                                "5 minutes"};
const QStringList orvaBlowerItems = {"No command", "Auto (default)", "Always On", "Always Off"};
const QStringList orvaDataLogItems = {"No command", "Enabled", "Disabled",
                                      "Clear (Will take up to 5 Minutes)"};
const QStringList orvaGpsItems = {"No command", "Enabled", "Disabled", "Enable Elevation Only"};
const QStringList orvaElevationItems = {"No command", "Disabled", "Set Elevation Value to Enable:"};
const QStringList orvaHeaterItems = {"No command", "Enabled (default)", "Disabled"};
const QStringList orvaLedItems = {"No command", "Enabled", "Disabled"};
const QStringList orvaRfItems = {"No command", "Comms Enabled (default)", "Comms Disabled"};
const QStringList orvaRflosChannelItems = {"No command", "0", "1", "2", "3",  "4", "5",
                                           "6",          "7", "8", "9", "10", "11"};
const QStringList orvaRflosRateItems = {"No command", "60 Seconds (default)", "10 Seconds",
                                        "5 Seconds"};

// How the family block leaves a group of widgets.
enum class Vis { Shown, Hidden, Keep };

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

} // namespace

void applyDeviceFamilyLayout(MainGUI& window)
{
    if (window.deviceType != DeviceTypes::BRQ && window.deviceType != DeviceTypes::ORVA)
        return;

    Ui_MainGUI& f = *window.ui;
    // clang-format off
    const QList<FamilyRow> rows = {
        {{f.page_BrqCommand}, Vis::Shown, Vis::Hidden, Vis::Hidden},
        {{f.page_OrvaCommands}, Vis::Hidden, Vis::Keep, Vis::Keep},
        {{f.page_ORVACmdsMain}, Vis::Hidden, Vis::Shown, Vis::Shown},
        {{f.labelTablePrecipitation, f.label_117}, Vis::Keep, Vis::Hidden, Vis::Hidden},
        {{f.labelTableBitStatus, f.label_orvabitstatus, f.pushButtonBitStatus}, Vis::Hidden,
         Vis::Shown, Vis::Hidden},
        {{f.pushButtonImages}, Vis::Shown, Vis::Hidden, Vis::Hidden},
        {{f.pushButton_editMetar}, Vis::Hidden, Vis::Keep, Vis::Keep},
        {{f.NoteMETARSentIcon, f.NoteMETARSentIconText}, Vis::Hidden, Vis::Shown, Vis::Hidden},
        {{f.pushButton_saveAndSendMetar}, Vis::Keep, Vis::Shown, Vis::Hidden},
        {{f.label_headerRadioStatus, f.groupBox_RadioStatus}, Vis::Hidden, Vis::Shown,
         Vis::Shown},
        {{f.label_ORVAMETARMode, f.radioButtonORVAMETAR_Auto, f.radioButtonORVAMETAR_Semiauto,
          f.radioButtonORVAMETAR_Manual, f.checkBox_hideMETARModePopUp, f.label_ORVAMETARSchedule,
          f.label_ORVA_METAR_prep_schedule, f.spinBox_ORVA_METAR_prep_schedule,
          f.pushButton_ORVA_METAR_prep_schedule},
         Vis::Hidden, Vis::Shown, Vis::Hidden},
        // For an ORVA unit the report-mode radio's slot decides.
        {{f.label_ORVA_METAR_transmit_delay, f.timeEdit_ORVA_METAR_transmit_delay,
          f.label_ORVA_METAR_transmit_delay_2},
         Vis::Hidden, Vis::Keep, Vis::Hidden},
        {{f.graphicsView_Lightning, f.label_9, f.pushButton_lightninglegend_green,
          f.pushButton_lightninglegend_red, f.pushButton_lightninglegend_yellow},
         Vis::Hidden, Vis::Shown, Vis::Hidden},
        {{f.lightning_strikecount_one, f.lightning_strikecount_ten, f.lightning_strikecount_sixty,
          f.label_strikecount_onemin, f.label_strikecount_tenmin, f.label_strikecount_sixtymin,
          f.label_strikecount_onemin_distance, f.label_strikecount_tenmin_distance,
          f.label_strikecount_sixtymin_distance, f.label_lightning_sm1, f.label_lightning_sm2,
          f.label_lightning_sm3},
         Vis::Hidden, Vis::Shown, Vis::Shown},
        {{f.label_strikecount_five, f.label_strikecount_fivemin,
          f.label_strikecount_fivemin_distance, f.label_lightning_nm},
         Vis::Shown, Vis::Hidden, Vis::Hidden},
        {{f.pushButton_ClearTamperingWarning}, Vis::Keep, Vis::Hidden, Vis::Hidden},
        {{f.label_speciSettings, f.pushButton_editSpeciSettings, f.groupBox_25,
          f.label_encryptionSettings},
         Vis::Hidden, Vis::Shown, Vis::Keep},
    };
    // clang-format on
    const bool brq = window.deviceType == DeviceTypes::BRQ;
    for (const FamilyRow& row : rows) {
        const Vis vis = brq ? row.brq : window.legacyOrva ? row.legacy : row.orva;
        if (vis == Vis::Keep)
            continue;
        for (QWidget* widget : row.widgets)
            widget->setVisible(vis == Vis::Shown);
    }
    if (brq)
        return;

    if (!window.legacyOrva)
        f.label_10->setText(QString::fromLatin1(kReportHistoryNote));
    qDebug() << "ORVA Legacy Flag at startup " << window.legacyOrva;
    if (!window.legacyOrva) {
        // The report schedule needs the unit's reporting frequency and report offset.
        window.writecommands("frequency\r\n");
        window.writecommands("metar_offset\r\n");
    }
}

void MainGUI::updateLayout()
{
    Ui_MainGUI& f = *ui;

    const QList<QPair<QLabel*, QLabel*>> statusIcons = {{f.labelWarning, f.label_StatusWarning},
                                                        {f.labelRain, f.label_StatusRain},
                                                        {f.labelLightning, f.label_StatusLightning},
                                                        {f.labelCamera, f.label_StatusCamera},
                                                        {f.labelBattery, f.label_StatusBattery}};
    for (int i = 0; i < statusIcons.size(); ++i) {
        statusIcons[i].first->setToolTip(statusOffTexts.value(i));
        statusIcons[i].second->setToolTip(statusOffTexts.value(i));
    }

    f.label_TimestampWarning->hide();
    f.label_TimestampWarning->setText(
        QStringLiteral("Note: GPS is currently unsynced. 'Device' time denotes time since device "
                       "power up. Certain measurements may be unavailable during this time."));

    f.comboBoxViewMetar->addItem(QStringLiteral("Latest (Auto-Refresh)"));
    f.pushButtonNotifications->setText(QStringLiteral("  Notifications") + QString(22, ' '));
    f.label_ReportingModeWarning->setText(QString::fromLatin1(kIridiumNote));
    f.label_ReportingModeWarning->hide();

    imageProgressBar = new QProgressBar(nullptr);
    imageProgressBar->hide();
    imageProgressBar->setAlignment(Qt::AlignCenter);
    imageProgressBar->setRange(0, imageProgressMaximum);
    statusRightStack = new QStackedWidget(nullptr);
    statusRightStack->addWidget(&connectionStatusLabel);
    statusRightStack->addWidget(imageProgressBar);
    statusRightStack->setCurrentIndex(0);

    f.stacked_METAR->setCurrentIndex(0);

    hideAll({f.lineEdit_ORVAElevationInput, f.label_VerticalVisibility, f.labelVerticalVisibility,
             f.label_UnitVertFt, f.label_ORVACmdSendMsgError});

    setValidatedInput(*this, f.lineEdit_command_declination, -180, 180);
    setValidatedInput(*this, f.lineEdit_ORVALOSRFInput, 138, 470);
    setValidatedInput(*this, f.lineEdit_ORVARFLOSReceiveFreq, 138, 470);
    f.lineEdit_ORVALOSRFInput->setToolTip(
        QStringLiteral("Transmit frequency. Set to VHF band between 138-178 MHz or UHF band "
                       "between 410-470 MHz."));
    f.lineEdit_ORVARFLOSReceiveFreq->setToolTip(
        QStringLiteral("Receive frequency. Set to VHF band between 138-178 MHz or UHF band "
                       "between 410-470 MHz."));
    f.comboBox_ORVARFLOSProgramChannel->setToolTip(
        QStringLiteral("Select the RFLOS frequency table entry to program with the above "
                       "frequencies. Index from 0 to 11."));
    f.comboBox_ORVARFLOSSelectedChannel->setToolTip(
        QStringLiteral("Select the RFLOS frequency table entry to activate. Index from 0 to 11."));

    hideAll({f.label_runwayadjusteddirection, f.labelRunwayAdjustedWindDirection,
             f.label_runwayadjusteddirectionUnits, f.label_runwayadjustedgustdirection,
             f.labelRunwayAdjustedGustDirection, f.label_runwayadjustedgustdirectionUnits,
             f.labelrunwayadjustedxwind, f.label_runwayadjustedxwindvalue,
             f.label_runawayadjustedxwindunits, f.labelRunwayAdjusted_XGust,
             f.label_runwayadjustedxgustvalue, f.label_xgustrunwayadjustedunits});

    precipIntervalGroup.addButton(f.radioButton24HrPrecipAccum12Z);
    precipIntervalGroup.addButton(f.radioButton24HrPrecipAccum);
    metarModeGroup.addButton(f.radioButtonORVAMETAR_Auto);
    metarModeGroup.addButton(f.radioButtonORVAMETAR_Semiauto);
    metarModeGroup.addButton(f.radioButtonORVAMETAR_Manual);

    applyDeviceFamilyLayout(*this);

    f.statusbar->addPermanentWidget(&statusLabel, 0);
    statusCentreLabel.setAlignment(Qt::AlignCenter);
    f.statusbar->addPermanentWidget(&statusCentreLabel, 1);
    connectionStatusLabel.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    f.statusbar->addPermanentWidget(statusRightStack, 0);

    imagePaths = QStringList{QStringLiteral("temp"), QStringLiteral("temp"), QStringLiteral("temp"),
                             QStringLiteral("temp")};
    QLabel* const images[4] = {f.label_image1, f.label_image2, f.label_image3, f.label_image4};
    QLabel* const infos[4] = {f.label_camera1_info, f.label_camera2_info, f.label_camera3_info,
                              f.label_camera4_info};
    std::copy(std::begin(images), std::end(images), std::begin(imageLabels));
    std::copy(std::begin(infos), std::end(infos), std::begin(cameraInfoLabels));

    using namespace BrqVocabulary;
    f.comboBoxCmdFreq->addItems(brqComboItems(legacyRateLabels));
    f.comboBoxCmdMode->addItems(brqComboItems(brqModeLabels));
    f.comboBoxCmdCamera->addItems(brqComboItems(brqCameraLabels));
    f.comboBoxCmdCeil->addItems(brqComboItems(brqCeilometerLabels));
    f.comboBoxCmdGps->addItems(brqComboItems(brqGpsLabels));
    f.comboBoxCmdSpeci->addItems(brqComboItems(brqSpeciLabels));
    f.comboBoxORVAGPS->addItems(brqComboItems(legacyGpsLabels));
    f.cameraNumbercomboBox->addItems(brqComboItems(brqCameraNumbers));

    hideAll({f.checkBox_ORVAEnableLightning,
             f.checkBox_ORVAEnableCeilometer,
             f.checkBox_ORVAEnablePresentWeather,
             f.checkBox_ORVAEnableRadio,
             f.checkBox_ORVAEnableWind,
             f.checkBox_ORVAEnableIridium,
             f.checkBox_ORVAEnableTPH,
             f.checkBox_ORVADisableLightning,
             f.checkBox_ORVADisableCeilometer,
             f.checkBox_ORVADisablePresentWeather,
             f.checkBox_ORVADisableRadio,
             f.checkBox_ORVADisableWind,
             f.checkBox_ORVADisableIridium,
             f.checkBox_ORVADisableTPH,
             f.iconModule_Iridium,
             f.iconModule_Ceilometer,
             f.iconModule_Lightning,
             f.iconModule_PresentWeather,
             f.iconModule_Radio,
             f.iconModule_Wind,
             f.iconModule_TPH,
             f.label_ModuleLightning,
             f.label_ModuleCeilometer,
             f.label_ModulePW,
             f.label_ModuleIridium,
             f.label_ModuleRadio,
             f.label_ModuleTPH,
             f.label_ModuleWind});

    if (deviceType == DeviceTypes::ORVA && !legacyOrva) {
        f.graphicsView_Lightning->setStyleSheet(QStringLiteral(
            "background-image: url(:/resources/lightningcompass7.png);background-repeat: "
            "no-repeat;background-position: center top; padding:0px;"));
        f.graphicsView_Lightning->setRenderHints(QPainter::Antialiasing |
                                                 QPainter::SmoothPixmapTransform);
        lightningScene.setSceneRect(0, 0, 2, 4);
        f.graphicsView_Lightning->setScene(&lightningScene);
        lightningRedrawTimer = new QTimer(this);
        // The lightning compass owns the redraw; it is connected by signature.
        connect(lightningRedrawTimer, SIGNAL(timeout()), this, SLOT(drawLightning()));
        lightningRedrawTimer->start(100000);
    }

    f.comboBox_ORVAtransmitFrequency->addItems(orvaTransmitFrequencyItems);
    f.comboBox_ORVABlower->addItems(orvaBlowerItems);
    f.comboBox_ORVADataLog->addItems(orvaDataLogItems);
    f.comboBox_ORVAGPS->addItems(orvaGpsItems);
    f.comboBox_ORVAElevation->addItems(orvaElevationItems);
    f.comboBox_ORVAHeater->addItems(orvaHeaterItems);
    f.comboBox_ORVALEDStatus->addItems(orvaLedItems);
    f.comboBox_ORVARFCmd->addItems(orvaRfItems);
    f.comboBox_ORVARFLOSProgramChannel->addItems(orvaRflosChannelItems);
    f.comboBox_ORVARFLOSSelectedChannel->addItems(orvaRflosChannelItems);
    f.comboBox_ORVARFMessageRate->addItems(orvaRflosRateItems);

    // The modes faster than five minutes ("1 Minute", "20 Second", "10 Second").
    for (int item = 5; item <= 7; ++item) {
        f.comboBoxCmdMode->setItemData(item, QString::fromLatin1(kIridiumNote), Qt::ToolTipRole);
        f.comboBoxCmdMode->setItemData(item, QBrush(QColor(238, 156, 55)), Qt::ForegroundRole);
    }

    f.label_camNumber->hide();
    f.label_camNumber->setText(QStringLiteral("Camera Number: "));
    hideAll({f.cameraNumbercomboBox, f.label_setElevation, f.spinBox_elevationValue});

    connectionStatusText.clear();
    connectionStatusLabel.setText(connectionStatusText);

    f.graphicsViewWind->setStyleSheet(
        QStringLiteral("background-image: url(:/resources/windrosecompass.png);background-repeat: "
                       "no-repeat;background-position: center;"));
    f.graphicsViewWind->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    windScene.setSceneRect(0, 0, 270, 240);
    // Attached here, so that the runway drawn below shows before the first record arrives.
    f.graphicsViewWind->setScene(&windScene);

    drawInitialCharts();

    if (temperatureUnits == TemperatureUnits::Fahrenheit)
        f.radioButtonUnitsImperial->click();
    else
        f.radioButtonUnitsMetric->setChecked(true);

    if (precipAccum24hInterval == PrecipAccum24hInterval::Previous24Hours)
        f.radioButton24HrPrecipAccum->click();
    else
        f.radioButton24HrPrecipAccum12Z->click();

    f.comboBox_alertParameterSetting->addItems(alertParameters);
    f.comboBox_alertThresholdSetting->addItems(
        {QStringLiteral(">"), QStringLiteral("<"), QStringLiteral("set range")});
    f.comboBox_alertAudioSetting->addItems({QStringLiteral("True"), QStringLiteral("False")});

    buildAlertButtonGroups(*this);

    if (!alertSound)
        alertSound = makeAlertSoundPlayer();

    // The settings reader may have drawn the runway already: the scene holds one drawing only.
    drawBaseWindPicture();
    if (!runwayHidden)
        drawRunwayPicture(QString(), QString());

    // The window is still hidden here, so what counts is whether the button is shown within it.
    if (f.pushButton_show_live_data->isVisibleTo(this))
        on_pushButton_show_live_data_clicked();

    f.stackedWidget_mainPages->setCurrentWidget(f.pageDashboardTrends);
    for (QPushButton* button :
         {f.pushButtonDashboard, f.pushButtonTable, f.pushButtonCommand, f.pushButtonImages,
          f.pushButtonSettings, f.pushButtonTrends, f.pushButtonBitStatus, f.pushButtonRawData,
          f.pushButtonNotifications})
        button->setChecked(false);
    f.pushButtonDashboard->setChecked(true);

    // The alert list turns the definitions read from the settings file into its rows; until it
    // has, saves write them back as they were read.
    storedAlertsApplied = QMetaObject::invokeMethod(this, "loadAlerts", Qt::DirectConnection,
                                                    Q_ARG(QJsonArray, storedAlerts));

    auto* alertCountTimer = new QTimer(this);
    connect(alertCountTimer, &QTimer::timeout, this, &MainGUI::updateAlertsCount);
    alertCountTimer->start(10000);

    show();
}
