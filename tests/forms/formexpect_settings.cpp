// The settings page (page 4; the page itself is the frame's row): its stack with the main
// settings, the alert settings with the fixed alert list, and the SPECI settings with the two
// criteria tables.

#include "formcheck.h"

// One row per object; the formatter would give every field a line of its own.
// clang-format off

namespace
{

const char kRed[] = ":/resources/redlight_icon_small.png";
const char kGray[] = ":/resources/graylight_icon_small.png";
const char kRightClickTip[] =
    "<html><head/><body><p>Right-click for menu options.</p></body></html>";

const FormProps kBold{{"font", "Muli, 10, bold"}};
const FormProps kFormLabel{{"font", "Muli, 10, bold, italic off"}};
const FormProps kHorizontalSpacer{{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}};

// The alert list: one parameter per pair of rows, less-than above greater-than.
struct AlertParameter {
    const char *part;
    const char *text;
};

const AlertParameter kAlertParameters[] = {
    {"Temp", "Temperature"},
    {"Lightning", "Lightning"},
    {"WindSpeed", "Wind Speed"},
    {"WindDirection", "Wind Direction"},
    {"WindGustSpeed", "Wind Gust Speed"},
    {"CrossWindSpeed", "Cross Wind Speed"},
    {"DewPoint", "Dew Point"},
    {"RelativeHumidity", "Relative Humidity"},
    {"HeatIndex", "Heat Index"},
    {"WindChill", "Wind Chill"},
    {"Altimeter", "Altimeter"},
    {"StationPressure", "Station Pressure"},
    {"SeaLevelPressure", "Sea Level Pressure"},
    {"PressureAltitude", "Pressure Altitude"},
    {"DensityAltitude", "Density Altitude"},
    {"3hrPressureChange", "3Hr Pressure Change"},
    {"Visibility", "Visibility"},
};

QVector<FormObject> alertRows()
{
    const QString list = QStringLiteral("scrollAreaWidgetContents_6");
    QVector<FormObject> rows;
    int row = 2;
    for (const AlertParameter &parameter : kAlertParameters) {
        for (const char *direction : {"LessThan", "GreaterThan"}) {
            const QString name = QLatin1String(parameter.part) + QLatin1String(direction);
            const QString cell = QStringLiteral("row %1, column %2").arg(row);
            FormProps label{{"styleSheet", "padding-left: 5px; padding-right:10px;"},
                            {"alignment", "AlignLeft|AlignVCenter"}};
            if (name == QLatin1String("VisibilityGreaterThan"))
                label.prepend({"font", "Muli, 10, bold"});
            // Only the off image is compared here; the on images are checked by clicking.
            const char *offImage = name.startsWith(QLatin1String("Temp"))
                                       ? ":/resources/redcheckmark.png" : kRed;
            rows << FormObject{"pushButton_delete" + name, "QPushButton", list, "gridLayout_37",
                               cell.arg(0), "X", {{"checkable", "false"}}}
                 << FormObject{"label_parameter" + name, "QLabel", list, "gridLayout_37",
                               cell.arg(1), QString::fromLatin1(parameter.text), label}
                 << FormObject{"label_value" + name, "QLabel", list, "gridLayout_37",
                               cell.arg(2) + QStringLiteral(", spans 1 x 2"), "Value",
                               {{"alignment", "AlignCenter"}}}
                 << FormObject{"pushButton_audio" + name, "QPushButton", list, "gridLayout_37",
                               cell.arg(4), kEmptyText,
                               {{"styleSheet", "background: transparent;"},
                                {"icon", offImage},
                                {"checkable", row <= 22 ? "true" : "false"},
                                {"checked", "false"}}};
            ++row;
        }
    }
    return rows;
}

QVector<FormObject> mainSettings()
{
    const QString page = QStringLiteral("page_mainSettings");
    return {
        {"page_mainSettings", "QWidget", "stackedWidget_Settings", "stackedWidget_Settings",
         "page 0", kNoText, {}},
        {"verticalLayout_80", "QVBoxLayout", "", "page_mainSettings", "layout", kNoText,
         {{"margins", "0, default, default, 0"}}},

        // Data logging
        {"verticalLayout_DataLoggingSection", "QVBoxLayout", "", "verticalLayout_80", "item 0",
         kNoText, {{"spacing", "0"}}},
        {"labelHeaderOptions", "QLabel", page, "verticalLayout_DataLoggingSection", "item 0",
         "Data Logging", kBold},
        {"groupBox_15", "QGroupBox", page, "verticalLayout_DataLoggingSection", "item 1",
         kEmptyText, kBold},
        {"verticalLayout_60", "QVBoxLayout", "", "groupBox_15", "layout", kNoText, {}},
        {"formLayout_3", "QFormLayout", "", "verticalLayout_60", "item 0", kNoText,
         {{"horizontalSpacing", "48"}, {"verticalSpacing", "24"}}},
        {"label_DataLoggingFolder", "QLabel", "groupBox_15", "formLayout_3", "row 0, label",
         "Destination Folder", kFormLabel},
        {"horizontalLayout_8", "QHBoxLayout", "", "formLayout_3", "row 0, field", kNoText,
         {{"spacing", "48"}, {"margins", "default, 0, 0, default"}}},
        {"pushButtonLogFileLocationOpen", "QPushButton", "groupBox_15", "horizontalLayout_8",
         "item 0", "Select Folder...",
         {{"sizePolicy", "Preferred/Preferred"},
          {"minimumSize", "120 x 0"},
          {"icon", ":/resources/open_icon.ico"},
          {"iconSize", "16 x 16"}}},
        {"lineEditLogFileLocation", "QLineEdit", "groupBox_15", "horizontalLayout_8", "item 1",
         kNoText,
         {{"maximumSize", "16777215 x 34"},
          {"alignment", "AlignLeft|AlignTop"},
          {"readOnly", "false"}}},
        {"label_DataLoggingFrequency", "QLabel", "groupBox_15", "formLayout_3", "row 1, label",
         "Logging*", kFormLabel},
        {"horizontalLayout_7", "QHBoxLayout", "", "formLayout_3", "row 1, field", kNoText,
         {{"spacing", "48"}, {"margins", "default, 0, default, default"}}},
        {"comboBox_Logging", "QComboBox", "groupBox_15", "horizontalLayout_7", "item 0", kNoText,
         {{"sizePolicy", "Maximum/Maximum"},
          {"minimumSize", "200 x 34"},
          {"maximumSize", "350 x 34"},
          {"count", "3"},
          {"currentIndex", "0"},
          {"currentText", "Default"}}},
        {"", "QSpacerItem", "", "horizontalLayout_7", "item 1", kNoText, kHorizontalSpacer},
        {"horizontalLayout_15", "QHBoxLayout", "", "verticalLayout_60", "item 1", kNoText, {}},
        {"label", "QLabel", "groupBox_15", "horizontalLayout_15", "item 0",
         "*Images are always saved", {{"alignment", "AlignRight|AlignVCenter"}}},

        // Data processing
        {"verticalLayout_85", "QVBoxLayout", "", "verticalLayout_80", "item 1", kNoText,
         {{"spacing", "0"}, {"margins", "0, 0, 0, 0"}}},
        {"label_settingsDataInfo", "QLabel", page, "verticalLayout_85", "item 0",
         "Data Processing Settings", kBold},
        {"groupBox_22", "QGroupBox", page, "verticalLayout_85", "item 1", kEmptyText, {}},
        {"verticalLayout_86", "QVBoxLayout", "", "groupBox_22", "layout", kNoText, {}},
        {"gridLayout_41", "QGridLayout", "", "verticalLayout_86", "item 0", kNoText,
         {{"horizontalSpacing", "48"},
          {"verticalSpacing", "24"},
          {"margins", "default, 0, default, default"}}},
        {"", "QSpacerItem", "", "gridLayout_41", "row 0, column 3", kNoText, kHorizontalSpacer},
        {"label_alertSettings", "QLabel", "groupBox_22", "gridLayout_41", "row 0, column 0",
         "Alert Settings", kBold},
        {"", "QSpacerItem", "", "gridLayout_41", "row 1, column 3", kNoText, kHorizontalSpacer},
        {"label_speciSettings", "QLabel", "groupBox_22", "gridLayout_41", "row 1, column 0",
         "SPECI Settings", kBold},
        {"pushButton_editSpeciSettings", "QPushButton", "groupBox_22", "gridLayout_41",
         "row 1, column 1", "Edit SPECI Settings", kBold},
        {"pushButton_alertSettings", "QPushButton", "groupBox_22", "gridLayout_41",
         "row 0, column 1", "Edit Alert Settings", kBold},
        {"checkBox_SPECI_alerts", "QCheckBox", "groupBox_22", "gridLayout_41", "row 1, column 2",
         "METAR / SPECI Alerts", {{"font", "Muli, 10, bold"}, {"checked", "false"}}},

        // Encryption
        {"verticalLayout_encryption", "QVBoxLayout", "", "verticalLayout_80", "item 2", kNoText,
         {{"spacing", "0"}, {"margins", "default, 0, default, default"}}},
        {"label_encryptionSettings", "QLabel", page, "verticalLayout_encryption", "item 0",
         "Encryption Settings", {{"font", "Muli, bold"}}},
        {"verticalLayout_innerEncryption", "QVBoxLayout", "", "verticalLayout_encryption",
         "item 1", kNoText, {{"margins", "0, 0, 0, 0"}}},
        {"groupBox_25", "QGroupBox", page, "verticalLayout_innerEncryption", "item 0", kEmptyText,
         {}},
        {"gridLayout_29", "QGridLayout", "", "groupBox_25", "layout", kNoText, {}},
        {"gridLayout_27", "QGridLayout", "", "gridLayout_29", "row 0, column 0", kNoText,
         {{"margins", "default, 0, default, default"}}},
        {"label_encryptionStatus", "QLabel", "groupBox_25", "gridLayout_27", "row 0, column 0",
         "Current Encryption Status", {{"font", "Muli, bold"}}},
        {"formLayout_7", "QFormLayout", "", "gridLayout_27", "row 0, column 2", kNoText,
         {{"margins", "default, default, 0, default"}}},
        {"pushButton_encryptionStatus", "QPushButton", "groupBox_25", "formLayout_7",
         "row 0, label", kEmptyText,
         {{"maximumSize", "30 x 16777215"},
          {"styleSheet", "background: transparent;"},
          {"icon", kGray}}},
        {"", "QSpacerItem", "", "formLayout_7", "row 0, field", kNoText, kHorizontalSpacer},
        {"lineEdit_encryptionPasskey", "QLineEdit", "groupBox_25", "gridLayout_27",
         "row 2, column 2", kNoText, {{"maximumSize", "16777215 x 34"}, {"readOnly", "true"}}},
        {"pushButton_createEncryptionPasskey", "QPushButton", "groupBox_25", "gridLayout_27",
         "row 2, column 5", "Generate New Passkey", {{"maximumSize", "16777215 x 34"}}},
        {"", "QSpacerItem", "", "gridLayout_27", "row 2, column 6, spans 1 x 3", kNoText,
         kHorizontalSpacer},
        {"pushButton_chooseEncryptionKeyLocation", "QPushButton", "groupBox_25", "gridLayout_27",
         "row 2, column 4", "Select Location", {{"maximumSize", "16777215 x 34"}}},
        {"label_encryptionPasskey", "QLabel", "groupBox_25", "gridLayout_27", "row 2, column 0",
         "Key Location", {{"font", "Muli, bold"}}},
        {"gridLayout_35", "QGridLayout", "", "gridLayout_27", "row 0, column 3, spans 1 x 6",
         kNoText, {{"horizontalSpacing", "3"}, {"margins", "default, 0, 0, default"}}},
        {"pushButton_encryptionlegend_gray", "QPushButton", "groupBox_25", "gridLayout_35",
         "row 1, column 3", "No Encryption",
         {{"font", "Muli, 6, regular"},
          {"styleSheet", "background: transparent;\npadding: 0px;"},
          {"icon", kGray}}},
        {"pushButton_encryptionlegend_red", "QPushButton", "groupBox_25", "gridLayout_35",
         "row 1, column 2", "Encryption Error",
         {{"font", "Muli, 6, regular"},
          {"styleSheet", "background: transparent;\npadding: 0px;"},
          {"icon", kRed}}},
        {"pushButton_encryptionlegend_green", "QPushButton", "groupBox_25", "gridLayout_35",
         "row 1, column 0", "Encryption OK",
         {{"font", "Muli, 6, regular"},
          {"styleSheet", "background: transparent;\npadding:0px;"},
          {"icon", ":/resources/greenlight_icon_small.png"}}},
        {"label_19", "QLabel", "groupBox_25", "gridLayout_35", "row 0, column 0", "Status Legend",
         {}},
        {"pushButtonEnableEncryption", "QPushButton", "groupBox_25", "gridLayout_27",
         "row 3, column 4", "Enable Encryption", {}},
        {"pushButtonDisableEncryption", "QPushButton", "groupBox_25", "gridLayout_27",
         "row 3, column 5", "Disable Encryption", {}},

        // General, the one section that scrolls
        {"scrollArea_6", "QScrollArea", page, "verticalLayout_80", "item 3", kNoText,
         {{"frameShape", "NoFrame"}, {"frameShadow", "Plain"}, {"widgetResizable", "true"}}},
        {"scrollAreaWidgetContents_8", "QWidget", "", "scrollArea_6", "content", kNoText, {}},
        {"verticalLayout_34", "QVBoxLayout", "", "scrollAreaWidgetContents_8", "layout", kNoText,
         {{"margins", "0, 0, 0, 0"}, {"spacing", "24"}}},
        {"verticalLayout_ConnectionSection", "QVBoxLayout", "", "verticalLayout_34", "item 0",
         kNoText, {{"spacing", "0"}, {"margins", "default, 0, default, default"}}},
        {"labelHeaderGeneralSettings", "QLabel", "scrollAreaWidgetContents_8",
         "verticalLayout_ConnectionSection", "item 0", "General", kBold},
        {"groupBox_GeneralSettings", "QGroupBox", "scrollAreaWidgetContents_8",
         "verticalLayout_ConnectionSection", "item 1", kEmptyText, kBold},
    };
}

QVector<FormObject> generalSettings()
{
    const QString box = QStringLiteral("groupBox_GeneralSettings");
    const FormProps rightAligned{{"alignment", "AlignRight|AlignVCenter"}};
    const FormProps setupButton{{"sizePolicy", "Preferred/Fixed"}, {"minimumSize", "120 x 0"}};
    const FormProps wideSpacer{{"sizeHint", "923 x 17"}, {"policy", "Expanding/Minimum"}};
    return {
        {"verticalLayout_51", "QVBoxLayout", "", box, "layout", kNoText, {}},
        {"gridLayout_12", "QGridLayout", "", "verticalLayout_51", "item 0", kNoText,
         {{"horizontalSpacing", "48"}, {"verticalSpacing", "24"}}},
        {"label_ORVAMETARSchedule", "QLabel", box, "gridLayout_12", "row 5, column 0",
         "ORVA Metar Schedule", kFormLabel},
        {"label_GeneralAbout", "QLabel", box, "gridLayout_12", "row 1, column 0",
         "About this Application", kFormLabel},
        {"horizontalLayout_12", "QHBoxLayout", "", "gridLayout_12", "row 1, column 1", kNoText,
         {{"margins", "default, default, 15, default"}}},
        {"pushButtonAboutSoftware", "QPushButton", box, "horizontalLayout_12", "item 0", "About",
         setupButton},
        {"", "QSpacerItem", "", "horizontalLayout_12", "item 1", kNoText, kHorizontalSpacer},
        {"verticalLayout_61", "QVBoxLayout", "", "gridLayout_12", "row 3, column 1", kNoText,
         {{"spacing", "10"}, {"margins", "default, 5, default, 5"}}},
        // Checked by the form, then cleared by "Automatic": the five ungrouped radios of the box
        // are one auto-exclusive set until the window groups them.
        {"radioButton24HrPrecipAccum12Z", "QRadioButton", box, "verticalLayout_61", "item 0",
         "24 Hr Precipitation Accumulation (12Z to 12Z)",
         {{"checked", "false"}, {"autoExclusive", "true"}}},
        {"radioButton24HrPrecipAccum", "QRadioButton", box, "verticalLayout_61", "item 1",
         "24 Hr Precipitation Accumulation", {{"checked", "false"}}},
        {"label_24hrprecipaccum", "QLabel", box, "gridLayout_12", "row 3, column 0",
         "<html><head/><body><p>24 Hr Precipitation Accumulation</p></body></html>", kFormLabel},
        {"horizontalLayout_13", "QHBoxLayout", "", "gridLayout_12", "row 0, column 1", kNoText,
         {{"margins", "default, default, 15, default"}}},
        {"pushButtonSetupConnection", "QPushButton", box, "horizontalLayout_13", "item 0",
         "Setup...", setupButton},
        {"checkBox_retrydeviceconnect", "QCheckBox", box, "horizontalLayout_13", "item 1",
         "Retry Device Connection",
         {{"font", "Muli, 10, bold"}, {"styleSheet", "padding-left:15px;"}, {"checked", "true"}}},
        {"", "QSpacerItem", "", "horizontalLayout_13", "item 2", kNoText, kHorizontalSpacer},
        {"horizontalLayout_20", "QHBoxLayout", "", "gridLayout_12", "row 4, column 1", kNoText,
         {{"spacing", "48"}}},
        {"radioButtonORVAMETAR_Auto", "QRadioButton", box, "horizontalLayout_20", "item 0",
         "Automatic", {{"checked", "true"}}},
        {"radioButtonORVAMETAR_Semiauto", "QRadioButton", box, "horizontalLayout_20", "item 1",
         "Semi-Automatic", {{"checked", "false"}}},
        {"radioButtonORVAMETAR_Manual", "QRadioButton", box, "horizontalLayout_20", "item 2",
         "Manual", {{"checked", "false"}}},
        {"checkBox_hideMETARModePopUp", "QCheckBox", box, "horizontalLayout_20", "item 3",
         "Hide Popup Messages", {{"checked", "false"}}},
        {"label_GeneralSetup", "QLabel", box, "gridLayout_12", "row 0, column 0", "Device Setup",
         kFormLabel},
        {"horizontalLayout_9", "QHBoxLayout", "", "gridLayout_12", "row 2, column 1", kNoText,
         {{"spacing", "48"}}},
        {"radioButtonUnitsImperial", "QRadioButton", box, "horizontalLayout_9", "item 0", "F",
         {{"checked", "true"}}},
        {"buttonGroupUnitsDisplay", "QButtonGroup", "", "MainGUI", "child", kNoText,
         {{"exclusive", "true"}, {"buttons", "radioButtonUnitsImperial, radioButtonUnitsMetric"}}},
        {"radioButtonUnitsMetric", "QRadioButton", box, "horizontalLayout_9", "item 1", "C",
         {{"checked", "false"}}},
        {"", "QSpacerItem", "", "horizontalLayout_9", "item 2", kNoText, wideSpacer},
        {"label_ORVAMETARMode", "QLabel", box, "gridLayout_12", "row 4, column 0",
         "ORVA Metar Mode", kFormLabel},
        {"horizontalLayout_25", "QHBoxLayout", "", "gridLayout_12", "row 5, column 1", kNoText,
         {{"spacing", "5"}}},
        {"label_ORVA_METAR_prep_schedule", "QLabel", box, "horizontalLayout_25", "item 0",
         "Prep Schedule ", rightAligned},
        {"spinBox_ORVA_METAR_prep_schedule", "QSpinBox", box, "horizontalLayout_25", "item 1",
         kNoText,
         {{"toolTip", "<html><head/><body><p> minutes after the hour</p></body></html>"},
          {"minimum", "50"},
          {"maximum", "60"},
          {"value", "50"}}},
        {"pushButton_ORVA_METAR_prep_schedule", "QPushButton", box, "horizontalLayout_25",
         "item 2", "Apply", {}},
        {"", "QSpacerItem", "", "horizontalLayout_25", "item 3", kNoText,
         {{"sizeHint", "100 x 17"}, {"policy", "Fixed/Minimum"}}},
        {"label_ORVA_METAR_transmit_delay", "QLabel", box, "horizontalLayout_25", "item 4",
         "Transmit Delay", rightAligned},
        // The bounds are QTime values, which the checker has no rule for; they are stepped
        // through in the whole-form suite.
        {"timeEdit_ORVA_METAR_transmit_delay", "QTimeEdit", box, "horizontalLayout_25", "item 5",
         kNoText,
         {{"minimumSize", "50 x 0"}, {"displayFormat", "m:ss"}, {"text", "5:00"}}},
        {"label_ORVA_METAR_transmit_delay_2", "QLabel", box, "horizontalLayout_25", "item 6",
         "min:sec", rightAligned},
        {"", "QSpacerItem", "", "horizontalLayout_25", "item 7", kNoText, wideSpacer},
        {"label_GeneralUnits", "QLabel", box, "gridLayout_12", "row 2, column 0",
         "Temperature Units", kFormLabel},
        {"", "QSpacerItem", "", "verticalLayout_51", "item 1", kNoText,
         {{"sizeHint", "20 x 20"}, {"policy", "Minimum/Expanding"}}},
    };
}

QVector<FormObject> alertSettings()
{
    const QString box = QStringLiteral("groupBox_23");
    const FormProps formButton{{"sizePolicy", "Fixed/Fixed"},
                               {"maximumSize", "300 x 16777215"},
                               {"font", "Muli, 10, regular"}};
    const FormProps emptyCombo{{"count", "0"}, {"currentIndex", "-1"}};
    const FormProps header{{"font", "Muli, 15, bold"}, {"alignment", "AlignCenter"}};
    const FormProps addButton = formButton + FormProps{{"styleSheet", "background-color:#43A7A2;"}};
    QVector<FormObject> objects{
        {"page_alertSettings", "QWidget", "stackedWidget_Settings", "stackedWidget_Settings",
         "page 1", kNoText, {}},
        {"verticalLayout_81", "QVBoxLayout", "", "page_alertSettings", "layout", kNoText,
         {{"margins", "0, default, default, 0"}}},
        {"verticalLayout_87", "QVBoxLayout", "", "verticalLayout_81", "item 0", kNoText,
         {{"spacing", "0"}, {"margins", "default, 0, default, default"}}},
        {"label_editAlertSettingHeader", "QLabel", "page_alertSettings", "verticalLayout_87",
         "item 0", "Editing Alert Settings", kBold},
        {"groupBox_23", "QGroupBox", "page_alertSettings", "verticalLayout_87", "item 1",
         kEmptyText, {}},
        {"verticalLayout_88", "QVBoxLayout", "", box, "layout", kNoText, {}},
        {"verticalLayout_77", "QVBoxLayout", "", "verticalLayout_88", "item 0", kNoText, {}},
        {"", "QSpacerItem", "", "verticalLayout_88", "item 1", kNoText,
         {{"sizeHint", "20 x 5"}, {"policy", "Minimum/Expanding"}}},
        {"", "QSpacerItem", "", "verticalLayout_77", "item 0", kNoText, kHorizontalSpacer},
        {"gridLayout_36", "QGridLayout", "", "verticalLayout_77", "item 1", kNoText, {}},
        {"", "QSpacerItem", "", "verticalLayout_77", "item 2", kNoText, kHorizontalSpacer},
        {"label_noAlertsSetup", "QLabel", box, "verticalLayout_77", "item 3", "No Alerts Setup",
         {{"font", "Muli, 25, bold"}}},
        // The one scroll area of the form that keeps its frame.
        {"scrollArea_8", "QScrollArea", box, "verticalLayout_77", "item 4", kNoText,
         {{"frameShape", "StyledPanel"},
          {"frameShadow", "Sunken"},
          {"widgetResizable", "true"},
          {"horizontalScrollBarPolicy", "ScrollBarAsNeeded"},
          {"verticalScrollBarPolicy", "ScrollBarAsNeeded"}}},

        // The add-alert form
        {"label_addalertaudio", "QLabel", box, "gridLayout_36", "row 2, column 7",
         "Audio Alert Setting", {}},
        {"comboBox_alertAudioSetting", "QComboBox", box, "gridLayout_36", "row 3, column 7",
         kNoText, emptyCombo},
        {"label_addalertvalue2", "QLabel", box, "gridLayout_36", "row 2, column 5",
         "Value Less Than", {}},
        {"label_addalertvalue", "QLabel", box, "gridLayout_36", "row 2, column 4", "Value", {}},
        {"", "QSpacerItem", "", "gridLayout_36", "row 0, column 7", kNoText, kHorizontalSpacer},
        {"pushButton_cancelAddAlert", "QPushButton", box, "gridLayout_36", "row 3, column 9",
         "Cancel", {}},
        {"label_addalertparameter", "QLabel", box, "gridLayout_36", "row 2, column 2",
         "Parameter", {}},
        {"", "QSpacerItem", "", "gridLayout_36", "row 0, column 3", kNoText, kHorizontalSpacer},
        {"comboBox_alertParameterSetting", "QComboBox", box, "gridLayout_36", "row 3, column 2",
         kNoText, emptyCombo},
        {"pushButton_saveAlert", "QPushButton", box, "gridLayout_36", "row 3, column 8", "Save",
         {}},
        {"pushButton_returnAlertsSettings", "QPushButton", box, "gridLayout_36",
         "row 0, column 2", "<< Return to Main Settings", formButton},
        {"lineEdit_alertValueSettings2", "QLineEdit", box, "gridLayout_36", "row 3, column 5",
         kNoText, {}},
        {"pushButton_addAlert", "QPushButton", box, "gridLayout_36",
         "row 0, column 8, spans 1 x 2", "Add Alert +", addButton},
        {"comboBox_alertThresholdSetting", "QComboBox", box, "gridLayout_36", "row 3, column 3",
         kNoText, emptyCombo},
        {"lineEdit_alertValeuSettings", "QLineEdit", box, "gridLayout_36", "row 3, column 4",
         kNoText, {}},
        {"label_alertvalue_units", "QLabel", box, "gridLayout_36", "row 3, column 6", "TextLabel",
         {}},
        {"label_addalertunits", "QLabel", box, "gridLayout_36", "row 2, column 6", "Units", {}},

        // The alert list
        {"scrollAreaWidgetContents_6", "QWidget", "", "scrollArea_8", "content", kNoText, {}},
        {"horizontalLayout_23", "QHBoxLayout", "", "scrollAreaWidgetContents_6", "layout",
         kNoText, {}},
        {"gridLayout_37", "QGridLayout", "", "horizontalLayout_23", "item 0", kNoText, {}},
        {"", "QSpacerItem", "", "horizontalLayout_23", "item 1", kNoText, kHorizontalSpacer},
        {"label_alertParameterHeader", "QLabel", "scrollAreaWidgetContents_6", "gridLayout_37",
         "row 1, column 1", "Parameter", header},
        {"label_alertValueHeader", "QLabel", "scrollAreaWidgetContents_6", "gridLayout_37",
         "row 1, column 2, spans 1 x 2", "Value", header},
        {"label_alertAudioHeader", "QLabel", "scrollAreaWidgetContents_6", "gridLayout_37",
         "row 1, column 4", "Audio", header},
        {"", "QSpacerItem", "", "gridLayout_37", "row 36, column 2", kNoText,
         {{"sizeHint", "20 x 40"}, {"policy", "Minimum/Expanding"}}},
    };
    return objects << alertRows();
}

QVector<FormObject> speciSettings()
{
    const QString box = QStringLiteral("groupBox_24");
    const FormProps gap{{"sizeHint", "20 x 60"}, {"policy", "Minimum/Preferred"}};
    const FormProps column{{"sizeHint", "80 x 20"}, {"policy", "Preferred/Minimum"}};
    return {
        {"page_speciSettings", "QWidget", "stackedWidget_Settings", "stackedWidget_Settings",
         "page 2", kNoText, {}},
        {"verticalLayout_84", "QVBoxLayout", "", "page_speciSettings", "layout", kNoText,
         {{"margins", "0, 9, default, 0"}, {"spacing", "6"}}},
        {"verticalLayout_82", "QVBoxLayout", "", "verticalLayout_84", "item 0", kNoText,
         {{"spacing", "0"}, {"margins", "default, 0, default, default"}}},
        {"label_editSPECISetting", "QLabel", "page_speciSettings", "verticalLayout_82", "item 0",
         "Edit SPECI Settings", {{"font", "Muli, 9, bold"}}},
        {"groupBox_24", "QGroupBox", "page_speciSettings", "verticalLayout_82", "item 1",
         kEmptyText, {}},
        {"verticalLayout_64", "QVBoxLayout", "", box, "layout", kNoText,
         {{"margins", "default, 9, default, 9"}}},
        {"", "QSpacerItem", "", "verticalLayout_64", "item 0", kNoText,
         {{"sizeHint", "20 x 20"}, {"policy", "Minimum/Preferred"}}},
        {"gridLayout_38", "QGridLayout", "", "verticalLayout_64", "item 1", kNoText,
         {{"spacing", "6"}}},
        {"", "QSpacerItem", "", "gridLayout_38", "row 1, column 0", kNoText,
         {{"sizeHint", "80 x 20"}, {"policy", "Minimum/Minimum"}}},
        {"pushButton_returnSPECISettings", "QPushButton", box, "gridLayout_38", "row 1, column 1",
         "<< Return to Main Settings", {}},
        {"pushButton_setSPECIdefaults", "QPushButton", box, "gridLayout_38", "row 2, column 6",
         "Set Defaults", {}},
        {"pushButton_saveSPECItoDevice", "QPushButton", box, "gridLayout_38", "row 1, column 6",
         "Save to Device", {}},
        {"", "QSpacerItem", "", "gridLayout_38", "row 1, column 5", kNoText, kHorizontalSpacer},
        {"", "QSpacerItem", "", "gridLayout_38", "row 1, column 2", kNoText, kHorizontalSpacer},
        {"", "QSpacerItem", "", "verticalLayout_64", "item 2", kNoText, gap},
        {"gridLayout_33", "QGridLayout", "", "verticalLayout_64", "item 3", kNoText, {}},
        {"label_21", "QLabel", box, "gridLayout_33", "row 0, column 1", "Visibility Settings",
         {}},
        {"", "QSpacerItem", "", "gridLayout_33", "row 1, column 4", kNoText, column},
        {"", "QSpacerItem", "", "gridLayout_33", "row 1, column 0", kNoText, column},
        {"tableView_SPECISettings_Ceiling", "SPECITableView", box, "gridLayout_33",
         "row 1, column 3", kNoText,
         {{"sizePolicy", "Expanding/Expanding"},
          {"toolTip", kRightClickTip},
          {"contextMenuPolicy", "DefaultContextMenu"}}},
        {"", "QSpacerItem", "", "gridLayout_33", "row 1, column 2", kNoText, column},
        {"label_77", "QLabel", box, "gridLayout_33", "row 0, column 3", "Ceiling Settings", {}},
        {"tableView_SPECISettings_Visibility", "SPECITableView", box, "gridLayout_33",
         "row 1, column 1", kNoText,
         {{"sizePolicy", "Expanding/Expanding"},
          {"toolTip", kRightClickTip},
          {"contextMenuPolicy", "DefaultContextMenu"}}},
        {"textEdit_SPECI_status", "QTextEdit", box, "gridLayout_33", "row 1, column 5", kNoText,
         {{"sizePolicy", "Preferred/Expanding"}, {"readOnly", "true"}}},
        {"label_79", "QLabel", box, "gridLayout_33", "row 0, column 5", "Status Messages:",
         {{"alignment", "AlignLeft|AlignVCenter"}}},
        {"", "QSpacerItem", "", "verticalLayout_64", "item 4", kNoText, gap},
    };
}

} // namespace

QVector<FormObject> settingsPageObjects()
{
    QVector<FormObject> objects{
        {"verticalLayout_6", "QVBoxLayout", "", "pageSettings", "layout", kNoText,
         {{"margins", "0, 16, 20, 0"}, {"spacing", "18"}}},
        {"stackedWidget_Settings", "QStackedWidget", "pageSettings", "verticalLayout_6", "item 0",
         kNoText, {{"currentIndex", "0"}, {"count", "3"}}},
    };
    return objects << mainSettings() << generalSettings() << alertSettings() << speciSettings();
}
// clang-format on
