#pragma once

#include "alerts/alertrules.h"
#include "app/brqcommands.h"
#include "app/legacycommands.h"
#include "app/orvacommandrules.h"
#include "dashboard/lightningcompass.h"
#include "dashboard/trendcharts.h"
#include "decoder/sharedtypes.h"
#include "reports/observation.h"

#include <QButtonGroup>
#include <QByteArray>
#include <QGraphicsScene>
#include <QHash>
#include <QJsonObject>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QModelIndex>
#include <QPen>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

class BITView;
class DialogAbout;
class DialogEncryptionKey;
class QMovie;
class DialogSelectDevice;
class MetarForm;
class QMediaPlayer;
class QMessageBox;
class QStackedWidget;
class QThread;
class SPECITableModel;
class Ui_MainGUI;
class VDEventFilter;
class checkEncryptionKey;
class data_incoming;
class logging;
class QProgressBar;
class QPushButton;
namespace QtCharts
{
class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;
} // namespace QtCharts

// Display unit of temperatures; records always carry Celsius.
enum class TemperatureUnits : int { Celsius = 0, Fahrenheit = 1 };

// Index of the four trend charts and of the arrays that hold their parts.
enum TrendChart : int {
    WindSpeedChart = 0,
    TemperatureChart = 1,
    PressureChart = 2,
    HumidityChart = 3
};
constexpr int TrendChartCount = 4;

// The main window. Declared once here; each subsystem defines its own members in its folder
// (app/, dashboard/, reports/, alerts/), one file per topic. Members are public so that the
// subsystems' tests can reach the widgets and state they check.
class MainGUI : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainGUI(QWidget* parent = nullptr);
    ~MainGUI() override;

signals:
    void openSerial(QString port);
    void closeSerial();
    void writeSerial(QByteArray bytes);
    void logDataMainMsg(QByteArray line);
    void closeLogFile();
    void setLoggingState(LoggingType mode);
    void setLogLocation(QString path);
    void setDeviceType(DeviceTypes type);
    void displayLiveData(bool on);
    void setStartupSequence(bool on);
    void manualMetarConfirm(bool confirmed);
    void metarFormValues(QString report, ORVAMetarMode mode);
    void clearTamperingData();
    void setORVAType(bool legacy);
    void setEncryptionKeyMain(QByteArray key, QByteArray iv);
    void clearEncryptionData();
    void startEncryptionKeyCheck(QString password, QString salt, int code);
    void setDevMode(bool on);
    void updateRunwayDirection(double degrees);
    void setPrecipAccum24Int(PrecipAccum24hInterval interval);

public slots:
    // Program entry and lifecycle
    void showSelectDevice();

    // Page navigation, style sheets
    void on_pushButtonDashboard_clicked();
    void on_pushButtonTable_clicked();
    void on_pushButtonTrends_clicked();
    void on_pushButtonCommand_clicked();
    void on_pushButtonRawData_clicked();
    void on_pushButtonImages_clicked();
    void on_pushButtonBitStatus_clicked();
    void on_pushButtonAboutSoftware_clicked();
    void uncheckMenuButtons();
    void showStatusMessage(QString message);
    QByteArray translateConstants(int which);
    void debug1();
    void layoutSetup();

    // Device start-up and connection
    void startupDevice(DeviceTypes type, QString port);
    void startupBRQPowerOff(DeviceTypes type, QString port, QByteArray commands);
    void setupConfiguration(QString status);
    void openserialport(QString port);
    void closeserialport();
    void on_pushButtonSetupConnection_clicked();
    void SetConfiguration(QString status);

    // Outgoing command queue
    void writecommands(QByteArray cmd);
    void try_command_write();

    // Settings file
    void readOptions();
    void saveSettings();
    void on_comboBox_Logging_currentIndexChanged(int index);
    void on_pushButtonLogFileLocationOpen_clicked();
    void on_radioButton24HrPrecipAccum12Z_clicked();
    void on_radioButton24HrPrecipAccum_clicked();

    // Per-device page layout
    void updateLayout();

    // ORVA command panel and command status
    void on_pushButtonSettings_clicked();
    void commandConfirmation();
    void updateORVACmdMsgs(QString text);
    void update_orva_command_statuses(int index, int status);
    void on_prepSchedReceived(QString name, int value);
    void on_pushButton_ORVAsendcommands_clicked();
    void on_pushButton_ORVADefaultSetting_clicked();
    void on_comboBox_ORVAElevation_currentIndexChanged(int index);
    void on_textEdit_ORVASendMsg_cursorPositionChanged();
    void on_lineEdit_ORVAElevationInput_cursorPositionChanged();
    void on_pushButton_ORVA_METAR_prep_schedule_clicked();
    void confirmCommandPopup(QString title, QString text);

    // RFLOS radio panel
    void on_pushButton_orva_commands_rflos_clear_clicked();
    void on_pushButton_RFLOS_send_commands_clicked();

    // BRQ command panel
    void on_pushButtonSendCmds_clicked();
    void on_comboBoxCmdMode_currentIndexChanged(int index);
    void on_comboBoxCmdGps_currentIndexChanged(int index);
    void on_comboBoxCmdCamera_currentIndexChanged(int index);
    void commandsNotSent();

    // Legacy ORVA command panel and raw command entry
    void on_pushButtonCmdORVA_clicked();
    void on_pushButtonCmdResetSettings_clicked();
    void on_pushButtonCmdResetUnit_clicked();
    void on_pushButton_rawSendMsg_clicked();

    // Module stack panel
    void on_pushButton_orva_stack_clear_clicked();
    void on_pushButton_orva_stack_refresh_clicked();
    void on_pushButton_orva_stack_submit_clicked();
    void orvaLoadStack(QStringList lines);
    void updateModuleIcon(QString module, QString status);
    void on_stack_command_timeout();
    void on_enable_disable_response(QString ack);

    // Lightning sensor calibration panel
    void resetLightningButtonStyles();
    void on_pushButton_orva_lightning_set_bx_clicked();
    void on_pushButton_orva_lightning_set_by_clicked();
    void on_pushButton_orva_lightning_set_bz_clicked();
    void on_pushButton_orva_lightning_autocal_clicked();
    void on_pushButton_orva_lightning_clear_clicked();
    void on_pushButton_orva_lightning_refresh_clicked();
    void on_lightning_parameters_received(int bx, int by, int bz);
    void on_lightning_autocal_confirmed();
    void on_lightning_progress();
    void on_lightning_command_error();
    void on_lightning_autocal_complete();

    // Link encryption key workflow
    void on_pushButton_enterEncryptionKeyProgram_clicked();
    void on_pushButton_forceSelectKeyFile_clicked();
    void on_pushButton_createEncryptionPasskey_clicked();
    void on_pushButton_chooseEncryptionKeyLocation_clicked();
    void on_pushButtonEnableEncryption_clicked();
    void on_pushButtonDisableEncryption_clicked();
    void setEncryptionStatus(int state);
    void setupEncryptionMode();
    void on_encryption_status_change(int state);
    void on_encryption_confirmation_status_change(KeyChangeState state);
    void on_encryption_passkey_set_timeout();
    void finishedEncryptionSetup(QString key, int code, QString salt, QByteArray iv);
    void setORVAencryptWritecommands(bool encrypt);
    void generateEncryptionKey(QString password, QString salt, bool manualSalt);
    void forceEncryptionKeySetup();
    void loadEncryptionFile();
    bool saveEncryptedFile(QString salt, QString key, QByteArray iv, bool protect);

    // Dashboard: live and stored record view
    void on_realtime_updated(QJsonObject record);
    void on_comboBoxViewMetar_currentIndexChanged(int index);
    void on_pushButton_show_live_data_clicked();
    void on_pushButton_viewLatest_clicked();

    // Dashboard: temperature unit switching
    void on_radioButtonUnitsImperial_clicked();
    void on_radioButtonUnitsMetric_clicked();

    // Dashboard: temperature unit state
    QString fahrenheitToCelcius(QString text);
    void updateUnitLabels(QString unit);

    // Dashboard: runway and tampering controls
    void on_pushButton_HideRunway_clicked();
    void on_pushButton_UpdateRunwayDirection_clicked();
    void on_pushButton_ClearTamperingWarning_clicked();

    // Dashboard: raw and decoded data views
    void on_send_decoded_data(QByteArray text);
    void updateRawData(QByteArray bytes);

    // Dashboard: camera transfer status
    void imageAcqisitionActive(bool active);
    void imageProgressInfo(int camera, int packet);

    // Dashboard update from a weather record
    void display_weather_data(QJsonObject record);
    QString celsiusToFahrenheit(QString celsius);
    int countDigits(QString text);
    void increment_receive_error_count();

    // Dashboard: wind picture and runway
    void drawBaseWindPicture();
    void drawGustArrow(double direction);
    void drawRunwayPicture(QString direction, QString speed);
    void drawRunway_rotate(double angle);

    // Dashboard: trend charts
    void drawInitialCharts();
    void plotCharts(int chart, double value);
    void scaleCharts();

    // Dashboard: camera image display
    void displayImageDataProgress(QString imagePath, int camera, QString time, double angle,
                                  QString date);
    void displayImageDataFinal(int camera, QString imagePath);

    // Dashboard: lightning compass
    void displayORVALightning(QByteArray frame);
    void drawLightning();
    void checkBRQLightning();

    // Dashboard: clearing the views
    void clearValues();

    // Reports: METAR page and transmission mode
    void reviewMetar(QString report);
    void on_pushButton_editMetar_clicked();
    void on_pushButton_saveAndSendMetar_clicked();
    void on_pushButton_saveMetar_clicked();
    void on_pushButton_cancelSaveMetar_clicked();
    void on_radioButtonORVAMETAR_Auto_clicked();
    void on_radioButtonORVAMETAR_Semiauto_clicked();
    void on_radioButtonORVAMETAR_Manual_clicked();
    void on_checkBox_hideMETARModePopUp_clicked();
    void on_checkBox_SPECI_alerts_clicked();

    // Reports: report history
    void update_METAR_hist(QJsonObject record);

    // Reports: SPECI page
    void displayORVASpeciSettings(QString value, int kind);
    void on_SPECI_visibilitymodel_datachanged(QModelIndex topLeft, QModelIndex bottomRight,
                                              QVector<int> roles);
    void on_SPECI_ceilingmodel_datachanged(QModelIndex topLeft, QModelIndex bottomRight,
                                           QVector<int> roles);
    void on_speciValidationError(int row, QString message);
    void on_pushButton_editSpeciSettings_clicked();
    void on_pushButton_returnSPECISettings_clicked();
    void on_pushButton_setSPECIdefaults_clicked();
    void on_pushButton_saveSPECItoDevice_clicked();
    void loadSpeciSettings();
    void on_speciSaveSettings();
    void on_speciCustomDefault();
    void on_speciBlankError(int row, QString table);

    // Alerts: alert evaluation
    void checkAlert(QString parameter, QString value);
    QString validateAlertMessage(QString parameter, QString value, bool unused);
    QString setAlertUnits(QString parameter);
    void soundAlert();

    // Alerts: message panes
    void displayAlertMessages(QString message);
    void displaySystemMessages(QString message);
    void displayErrorMessages(QString message);

    // Alerts: unread counters and notification button
    void updateAlertsCount();
    void setNotificationNumber(QString number);
    int getTotalNotificationNumber();
    void on_pushButtonNotifications_clicked();
    void on_pushButton_clearNotifications_clicked();
    void on_tabWidget_Notifications_currentChanged(int index);
    int getDigits(int n);

    // Alerts: alert definitions and settings form
    void on_pushButton_alertSettings_clicked();
    void on_pushButton_addAlert_clicked();
    void on_pushButton_cancelAddAlert_clicked();
    void on_pushButton_saveAlert_clicked();
    void on_pushButton_returnAlertsSettings_clicked();
    void on_comboBox_alertParameterSetting_currentIndexChanged(int index);
    void on_comboBox_alertThresholdSetting_currentIndexChanged(int index);
    void clearAlertForm();
    void loadAlerts(QJsonArray alerts);

    // Alerts: active alert list
    void displayAlerts();
    void hideAlerts();

    // Alerts: alert list row actions
    void onalerts_Audio_clicked(int id);
    void onalerts_Delete_clicked(int id);
    void removeCurrentAlerts(QString parameter, QString setting);

    // Alerts: alert text unit conversion
    void updateAlertsUnits();

public:
    // Lightning sensor calibration panel: queues a command and marks its button as waiting.
    void sendLightningCommand(QPushButton* button, const QByteArray& command);
    // Link encryption key workflow: the start page's busy animation with its message.
    void showKeyDerivationBusy(const QString& message);

    // Program entry and lifecycle: the object graph
    Ui_MainGUI* ui = nullptr;
    BITView* bitView = nullptr;
    VDEventFilter* eventFilter = nullptr;
    DialogSelectDevice* selectDeviceDialog = nullptr;
    DialogAbout* aboutDialog = nullptr;
    MetarForm* metarForm = nullptr;
    DialogEncryptionKey* encryptionKeyDialog = nullptr;
    data_incoming* dataIncoming = nullptr;
    logging* logger = nullptr;
    checkEncryptionKey* keyChecker = nullptr;
    QThread* threadData = nullptr;
    QThread* threadLogging = nullptr;
    QThread* threadEncCheck = nullptr;
    DeviceTypes deviceType = DeviceTypes::None;
    LoggingType loggingType = LoggingType::Default;
    TemperatureUnits temperatureUnits = TemperatureUnits::Celsius;
    QString temperatureUnitText = QStringLiteral("°C");
    int viewMode = 0; // 0 live, 1 a stored observation is shown
    PrecipAccum24hInterval precipAccum24hInterval = PrecipAccum24hInterval::Previous24Hours;
    QLabel statusLabel;
    QLabel statusCentreLabel;
    QLabel connectionStatusLabel; // right of the status bar: connection and data status
    QString connectionStatusText;
    QTimer* cmdWriteTimer = nullptr;
    QTimer stackCmdTimer;
    QTimer lightningProgressTimer;
    QTimer lightningCmdTimer;
    int autocalSeconds = 0; // seconds since the unit confirmed its calibration
    QTimer passkeyTimer;
    SPECITableModel* speciVisibilityModel = nullptr;
    SPECITableModel* speciCeilingModel = nullptr;
    // Cells changed since the SPECI tables were last loaded, saved or reset.
    bool speciEdited = false;
    QSet<int> speciVisibilityChangedRows;
    QSet<int> speciCeilingChangedRows;
    QLabel* commandStatusLabels[CommandIndexCount] = {};
    bool firstLayoutPending = true;
    bool deviceLayoutPending = false;
    // The family widgets and the report history note as the first layout found them; a new
    // connection returns what its family leaves alone to this.
    QHash<QWidget*, bool> familyLayoutHidden;
    QString familyLayoutNote;

    // Device start-up and connection
    // A power-off start-up waits for the unit's end of configuration; only then is success shown.
    bool brqStartupPending = false;
    // The "POWER ON BRQ" notices still open; the window closes them when it goes.
    QList<QPointer<QMessageBox>> brqPowerOnNotices;

    // Module stack panel
    QStringList pendingStackAcks; // "enable="/"disable=" + letter, in queued order
    int stackAcksDone = 0;

    // BRQ command panel
    QString autoImageCommand; // the image schedule's hour commands, kept until chosen again

    // Outgoing command queue
    QList<QByteArray> commandQueue;
    bool encryptWriteCommands = true;
    QByteArray encryptionKey; // Base64 text of the 32-byte link key, set by the key workflow
    QString encryptionIV;     // Base64 text of the 8-byte IV, set by the key workflow

    // Link encryption key workflow
    QString encryptionSalt; // salt of the key file, for a re-derivation on the start page
    bool encryptionStartShown = false;
    QMovie* loadingMovie = nullptr; // made on first use
    bool keyConfirmed = false;
    int incomingEncryptionState = IncomingNotEncrypted;
    // A key as the window uses it: its text, its IV, and the salt and file it is derived from.
    struct LinkKey {
        QByteArray key; // key text
        QString iv;     // Base64 text
        QString salt;
        QString keyFile; // where its salt and IV are kept
    };
    // The last key change. The window uses whichever of its two keys the link tells is in use,
    // until a new change begins or the operator loads a key on the start page.
    struct KeyChange {
        bool pending = false;     // the button waits for the unit (blue, passkeyTimer running)
        bool open = false;        // under way: no new change, radio commands wait (see below)
        bool keyAnswered = false; // the unit took the key; its IV may still be unanswered
        LinkKey before;           // the key in use when the change began
        LinkKey after;            // the new key; empty: no change
        QList<QByteArray> unsent; // the change's "key" and "iv" commands still queued
        // Through the station radio an ordinary command waits from the key leaving the queue
        // until the change settles: the unit may hold either key until then.
        bool holdsRadioCommands() const;
    } keyChange;

    // Settings file
    QString orvaType; // the "ORVA" entry as read, written back unchanged
    bool legacyOrva = false;
    bool devMode = false; // developer command line shown
    // Until the first page layout hands storedAlerts to the alert list, saving writes them back
    // as read, so that a save before any device start-up cannot drop them.
    bool storedAlertsApplied = false;

    // Command tables of the ORVA, BRQ and legacy pages; each names the one shared table.
    static inline const OrvaCommandRules::OrvaComboItems& orvaComboItems =
        OrvaCommandRules::orvaComboItemLists();
    static constexpr BrqCommandTables brqCommandTables{};
    static constexpr const auto& legacyRateLabels = LegacyCommands::legacyRateLabels;
    static constexpr const auto& legacyRateCommands = LegacyCommands::legacyRateCommands;
    static constexpr const auto& legacyGpsLabels = LegacyCommands::legacyGpsLabels;
    static constexpr const auto& legacyGpsCommands = LegacyCommands::legacyGpsCommands;

    // ORVA command panel: the METAR preparation schedule as the unit last reported it
    int prepFrequency = 60;
    int prepMetarOffset = 0;

    // Per-device page layout
    int imageProgressMaximum = 44;
    QStackedWidget* statusRightStack = nullptr; // page 0 connection text, page 1 image progress
    QStringList imagePaths;
    QLabel* imageLabels[4] = {};
    QLabel* cameraInfoLabels[4] = {};
    QButtonGroup precipIntervalGroup;
    QButtonGroup metarModeGroup;
    QButtonGroup alertAudioGroup;
    QButtonGroup alertDeleteGroup;
    QTimer* lightningRedrawTimer = nullptr; // only when the first unit was a non-legacy ORVA
    QGraphicsScene lightningScene;

    // Dashboard: lightning compass
    QList<LightningStrike> lightningStrikes; // arrival order; kept while younger than 15 min
    LightningCompass::StrikeOwner strikeOwner;
    QList<BrqLightningRecord> brqLightningRecords;

    double runwayDirection = 0.0; // runway heading, degrees
    bool runwayHidden = false;

    // Status bar: camera transfer progress, made by the first page layout
    QProgressBar* imageProgressBar = nullptr;

    // Dashboard update from a weather record
    bool showingStoredRecord = false; // a stored report is being shown again
    // Tool tips of the status icons when off: tamper, rain, lightning, camera, battery.
    QStringList statusOffTexts = {
        QStringLiteral("No Tampering Detected"), QStringLiteral("No Rain Detected"),
        QStringLiteral("No Lightning Detected"), QStringLiteral("Cameras Inactive"),
        QStringLiteral("No Battery Value")};

    // Dashboard: wind picture and runway
    QGraphicsScene windScene;
    QPen windPen;
    QRect runwayRect;

    // Dashboard: trend charts, indexed by TrendChart
    QStringList chartNames = {QStringLiteral("Wind Speed"), QStringLiteral("Temperature"),
                              QStringLiteral("Pressure"), QStringLiteral("Humidity"),
                              QStringLiteral("Cloud Layers")};
    QStringList chartTitles = {QStringLiteral("Wind Speed (kt)"),
                               QStringLiteral("Temperature (\u00B0C)"),
                               QStringLiteral("Pressure (mbar)"), QStringLiteral("Humidity (%)"),
                               QStringLiteral("Cloud Layers (ft)")};
    QtCharts::QChart* trendCharts[TrendChartCount] = {};
    QtCharts::QDateTimeAxis* trendXAxes[TrendChartCount] = {};
    QtCharts::QValueAxis* trendYAxes[TrendChartCount] = {};
    QtCharts::QLineSeries* trendSeries[TrendChartCount] = {};
    QtCharts::QChartView* trendChartViews[TrendChartCount] = {};
    // What each chart shows; a chart on screen follows it at once, any other when it is shown.
    TrendTrace trendTraces[TrendChartCount];
    bool trendChartOnScreen(int chart) const;
    void drawTrendChart(int chart);
    // After the points of `chart` change: trims, fits its axes to its points, draws what is shown.
    void refitTrendChart(int chart);

    // Alerts: alert store, with the parameter and unit lists in the add-alert form's order
    QList<AlertDef> alertDefs;
    QMap<QString, QString> alertThresholds;   // parameter + "_LESSTHAN" / "_GREATERTHAN"
    QMap<QString, bool> alertAudio;           // same keys
    QMap<QString, bool> alertActive;          // parameter
    QMap<QString, QDateTime> alertLastRaised; // parameter; invalid or absent: never raised
    QJsonArray storedAlerts;                  // "ALERTS" as read, until the first layout loads it
    QStringList alertParameters = alertParameterNames();
    QStringList alertUnitsImperial = alertUnitsImperialList();
    QStringList alertUnitsMetric = alertUnitsMetricList();

    // Alerts: alert evaluation
    QMediaPlayer* alertSound = nullptr; // created by the first page layout

    // Alerts: unread counters of the three notification panes
    int unreadAlerts = 0;
    int unreadErrors = 0;
    int unreadSystem = 0;

    // Reports: METAR page and transmission mode
    Observation editObservation; // the report being edited, kept until the next edit begins
    bool showMetarPopups = true; // the report window may pop up ("ORVAPOPUP")
    bool speciAlerts = false;    // a new METAR or SPECI sounds the alert ("SPECIALERTS")
};
