// The command page (page 2): a scroll area around the stack of command panels, one per kind of
// unit: the BRQ panel, the ORVA tabs (General, Stack, RFLOS, Lightning) and the legacy ORVA page.

#include "formcheck.h"

// One row per object; the formatter would give every field a line of its own.
// clang-format off

namespace
{

const char kBorder[] = "border: 1px solid #3E4C59\n";
const FormProps kNoItems{{"count", "0"}, {"currentIndex", "-1"}};

// ---- BRQ panel ----

FormObject brqLabel(const char *name, const char *layout, const char *cell, const char *text)
{
    return {name, "QLabel", "groupBox_12", layout, cell, QString::fromLatin1(text),
            {{"font", "Muli, 10, regular"}, {"alignment", "AlignRight|AlignVCenter"}}};
}

FormObject brqChoice(const char *name, const char *cell)
{
    return {name, "QComboBox", "groupBox_12", "gridLayout_6", cell, kNoText,
            FormProps{{"minimumSize", "0 x 34"}, {"font", "Muli, 10, regular"}} + kNoItems};
}

QVector<FormObject> brqPanel()
{
    return {
        {"page_BrqCommand", "QWidget", "stackedWidget_CommandConfiguration",
         "stackedWidget_CommandConfiguration", "page 0", kNoText,
         {{"sizePolicy", "Maximum/Preferred"}}},
        {"verticalLayout_42", "QVBoxLayout", "", "page_BrqCommand", "layout", kNoText,
         {{"margins", "0, 0, 0, 0"}, {"spacing", "0"}}},
        {"frameBrqCmd", "QFrame", "page_BrqCommand", "verticalLayout_42", "item 0", kNoText,
         {{"sizePolicy", "Maximum/Preferred"}, {"frameShape", "NoFrame"},
          {"frameShadow", "Raised"}}},
        {"verticalLayout_21", "QVBoxLayout", "", "frameBrqCmd", "layout", kNoText,
         {{"margins", "0, 0, 0, 0"}, {"spacing", "0"}}},
        {"labelHeaderBRQConfiguration", "QLabel", "frameBrqCmd", "verticalLayout_21", "item 0",
         "Configuration", {{"font", "Muli, 10, bold"}}},
        {"groupBox_12", "QGroupBox", "frameBrqCmd", "verticalLayout_21", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Preferred"}, {"font", "Muli, 10, bold"}}},
        {"verticalLayout_20", "QVBoxLayout", "", "groupBox_12", "layout", kNoText,
         {{"spacing", "24"}}},
        {"gridLayout_6", "QGridLayout", "", "verticalLayout_20", "item 0", kNoText,
         {{"spacing", "24"}}},

        brqLabel("label_18", "gridLayout_6", "row 1, column 1", "Camera"),
        {"pushButtonSendCmds", "QPushButton", "groupBox_12", "gridLayout_6", "row 7, column 2",
         "Send",
         {{"minimumSize", "30 x 36"}, {"font", "Muli, 10, regular"}, {"checkable", "true"},
          {"checked", "false"}}},
        brqChoice("comboBoxCmdSpeci", "row 6, column 2"),
        {"horizontalLayout_cameraNumberParam", "QHBoxLayout", "", "gridLayout_6",
         "row 2, column 2", kNoText, {}},
        brqLabel("label_camNumber", "horizontalLayout_cameraNumberParam", "item 0",
                 "Camera Number"),
        {"cameraNumbercomboBox", "QComboBox", "groupBox_12",
         "horizontalLayout_cameraNumberParam", "item 1", kNoText, kNoItems},
        {"label_LookAtSendCommandsButton", "QLabel", "groupBox_12", "gridLayout_6",
         "row 7, column 1", kEmptyText, {{"alignment", "AlignRight|AlignVCenter"}}},
        brqChoice("comboBoxCmdCamera", "row 1, column 2"),
        brqLabel("label_17", "gridLayout_6", "row 0, column 1", "Reporting Mode"),
        brqChoice("comboBoxCmdCeil", "row 3, column 2"),
        brqLabel("label_26", "gridLayout_6", "row 6, column 1", "SPECI Mode"),
        brqChoice("comboBoxCmdMode", "row 0, column 2"),
        brqChoice("comboBoxCmdGps", "row 4, column 2"),
        brqLabel("label_25", "gridLayout_6", "row 4, column 1", "GPS"),
        brqLabel("label_22", "gridLayout_6", "row 3, column 1", "Ceilometer"),
        {"horizontalLayout_acousticParam_2", "QHBoxLayout", "", "gridLayout_6",
         "row 5, column 2", kNoText, {}},
        brqLabel("label_setElevation", "horizontalLayout_acousticParam_2", "item 0",
                 "Elevation (m)"),
        {"spinBox_elevationValue", "QSpinBox", "groupBox_12", "horizontalLayout_acousticParam_2",
         "item 1", kNoText,
         {{"font", "Muli, 10, regular"}, {"alignment", "AlignRight|AlignVCenter"},
          {"minimum", "-9999"}, {"maximum", "9999"}, {"value", "0"}}},
        {"", "QSpacerItem", "", "gridLayout_6", "row 3, column 0", kNoText,
         {{"sizeHint", "110 x 20"}, {"policy", "Expanding/Minimum"}}},

        {"label_ReportingModeWarning", "QLabel", "groupBox_12", "verticalLayout_20", "item 1",
         kEmptyText, {{"wordWrap", "true"}}},
        {"cmdstatus_label", "QLabel", "groupBox_12", "verticalLayout_20", "item 2", kEmptyText,
         {{"font", "Muli, 10, regular"}, {"alignment", "AlignRight|AlignVCenter"}}},
        {"", "QSpacerItem", "", "verticalLayout_20", "item 3", kNoText,
         {{"sizeHint", "308 x 38"}, {"policy", "Minimum/Expanding"}}},
    };
}

// ---- ORVA General tab ----

FormObject cell(const char *name, const char *className, const char *at,
                std::optional<QString> text, const FormProps &props)
{
    return {name, className, "groupBox", "gridLayout_24", at, text, props};
}

FormObject header(const char *name, const char *at, const char *text)
{
    return cell(name, "QLabel", at, QString::fromLatin1(text),
                {{"font", "Muli, 10, bold"}, {"alignment", "AlignCenter"}});
}

FormObject commandName(const char *name, const char *at, const char *text,
                       const FormProps &extra = {})
{
    return cell(name, "QLabel", at, QString::fromLatin1(text),
                FormProps{{"font", "Muli, 10, regular"}, {"alignment", "AlignRight|AlignVCenter"}} +
                    extra);
}

FormObject help(const char *name, const char *at)
{
    return cell(name, "QLabel", at, QStringLiteral("?"),
                {{"styleSheet", kBorder}, {"alignment", "AlignCenter"}, {"toolTip", ""}});
}

FormObject status(const char *name, const char *at)
{
    return cell(name, "QLabel", at, kEmptyText,
                {{"sizePolicy", "Fixed/Preferred"}, {"minimumSize", "50 x 0"},
                 {"styleSheet", kBorder}, {"alignment", "AlignCenter"}});
}

FormObject input(const char *name, const char *className, const char *at,
                 const FormProps &extra = {})
{
    FormProps props{{"minimumSize", "0 x 34"}};
    if (QLatin1String(className) == QLatin1String("QComboBox"))
        props += kNoItems;
    return cell(name, className, at, kNoText, props + extra);
}

QVector<FormObject> generalTab()
{
    const FormProps muli10{{"font", "Muli, 10, regular"}};
    return {
        {"page_ORVACmdsMain", "QWidget", "stackedWidget_CommandConfiguration",
         "stackedWidget_CommandConfiguration", "page 1", kNoText, {}},
        {"verticalLayout_12", "QVBoxLayout", "", "page_ORVACmdsMain", "layout", kNoText,
         {{"margins", "0, 0, default, 0"}, {"spacing", "0"}}},
        {"tabWidget", "QTabWidget", "page_ORVACmdsMain", "verticalLayout_12", "item 0", kNoText,
         {{"sizePolicy", "Expanding/Expanding"}, {"currentIndex", "0"}, {"count", "4"}}},
        {"tab_orva_commands_general", "QWidget", "", "tabWidget", "tab 0", "General", {}},
        // Placed by geometry on a tab without a layout.
        {"groupBox", "QGroupBox", "tab_orva_commands_general", "", "", kEmptyText,
         {{"x", "0"}, {"y", "0"}, {"size", "1391 x 1101"}, {"sizePolicy", "Preferred/Preferred"}}},
        {"verticalLayout_50", "QVBoxLayout", "", "groupBox", "layout", kNoText,
         {{"margins", "default, default, 24, default"}, {"spacing", "6"}}},
        {"gridLayout_25", "QGridLayout", "", "verticalLayout_50", "item 0", kNoText,
         {{"margins", "default, default, 0, 25"}}},
        {"verticalLayout_29", "QVBoxLayout", "", "gridLayout_25", "row 0, column 0", kNoText, {}},
        {"gridLayout_24", "QGridLayout", "", "verticalLayout_29", "item 0", kNoText, {}},

        help("label_command_help_gps", "row 2, column 2"),
        help("label_command_help_heater", "row 8, column 2"),
        help("label_command_help_blower", "row 7, column 2"),
        help("label_command_help_log", "row 10, column 2"),
        help("label_command_help_send", "row 13, column 2"),
        header("label_47", "row 0, column 1", "Input"),
        help("label_command_help_timestamp", "row 11, column 2"),
        header("label_49", "row 0, column 2", "Help"),
        status("label_command_gps_status", "row 2, column 3"),
        status("label_command_log_status", "row 10, column 3"),
        cell("label_48", "QLabel", "row 4, column 3", kEmptyText,
             {{"sizePolicy", "Fixed/Preferred"}, {"minimumSize", "50 x 0"},
              {"alignment", "AlignLeft|AlignVCenter"}}),
        commandName("ORVADateTimeLabel", "row 11, column 0", "Date/Time (YYYY-MM-DD HH:MM:SS)"),
        status("label_command_rf_status", "row 6, column 3"),
        cell("label_ORVACmdSendMsgError", "QLabel", "row 14, column 1",
             QStringLiteral("Message greater than 1024 characters, extra characters have been "
                            "truncated."),
             {{"styleSheet", "color:#ff8700;"}, {"alignment", "AlignLeft|AlignVCenter"}}),
        status("label_command_blower_status", "row 7, column 3"),
        status("label_command_led_status", "row 9, column 3"),
        status("label_command_icao_status", "row 12, column 3"),
        status("label_command_heater_status", "row 8, column 3"),
        help("label_command_help_led", "row 9, column 2"),
        input("comboBox_ORVAElevation", "QComboBox", "row 3, column 1"),
        help("label_command_help_icao", "row 12, column 2"),
        commandName("ORVAElevationLabel", "row 3, column 0", "Elevation"),
        cell("label_devcmds", "QLabel", "row 16, column 0", QStringLiteral("Developer Commands"),
             {{"alignment", "AlignRight|AlignVCenter"}}),
        input("comboBox_ORVALEDStatus", "QComboBox", "row 9, column 1"),
        input("lineEdit_ORVADateTimeInput", "QLineEdit", "row 11, column 1"),
        commandName("ORVAsendMsgLabel", "row 13, column 0", "Send Message"),
        input("lineEdit_ORVAICAO", "QLineEdit", "row 12, column 1"),
        input("comboBox_ORVADataLog", "QComboBox", "row 10, column 1"),
        cell("textEdit_ORVASendMsg", "QTextEdit", "row 13, column 1", kNoText,
             {{"sizePolicy", "Expanding/Maximum"}, {"maximumSize", "16777215 x 100"},
              {"tabChangesFocus", "false"}}),
        commandName("ORVAGPSLabel", "row 2, column 0", "GPS"),
        commandName("ORVAStatusLEDLabel", "row 9, column 0", "Status LED"),
        cell("lineEdit_devcmds", "QLineEdit", "row 16, column 1", kNoText,
             {{"minimumSize", "0 x 0"}}),
        commandName("ORVARFTransmitLabel", "row 6, column 0",
                    "RF Global Enable/Disalble (Iridium & RFLOS)"),
        commandName("ORVAHeaterLabel", "row 8, column 0", "Heater"),
        input("comboBox_ORVARFCmd", "QComboBox", "row 6, column 1"),
        input("comboBox_ORVAGPS", "QComboBox", "row 2, column 1", muli10),
        commandName("ORVATransmitFrequencyLabel", "row 1, column 0", "Iridium Message Rate"),
        input("comboBox_ORVABlower", "QComboBox", "row 7, column 1"),
        input("comboBox_ORVAHeater", "QComboBox", "row 8, column 1"),
        input("lineEdit_ORVAElevationInput", "QLineEdit", "row 4, column 1", muli10),
        commandName("ORVAICAOLabel", "row 12, column 0", "ICAO", {{"minimumSize", "227 x 0"}}),
        commandName("ORVADatLogLabel", "row 10, column 0", "Data Log"),
        commandName("ORVABlowerLabel", "row 7, column 0", "Ceilometer Blower Control"),
        input("comboBox_ORVAtransmitFrequency", "QComboBox", "row 1, column 1",
              muli10 + FormProps{{"styleSheet", "border: 1px solid #3E4C59"}}),
        status("label_command_transmit_frequency_status", "row 1, column 3"),
        status("label_command_elevation_status", "row 3, column 3"),
        status("label_command_send_status", "row 13, column 3"),
        status("label_command_timestamp_status", "row 11, column 3"),
        help("label_command_help_frequency", "row 1, column 2"),
        help("label_command_help_rf", "row 6, column 2"),
        help("label_command_help_elevation", "row 3, column 2"),
        header("label_50", "row 0, column 3", "Status"),
        header("label_44", "row 0, column 0", "Command"),
        commandName("label_23", "row 5, column 0", "Compass Declination"),
        input("lineEdit_command_declination", "QLineEdit", "row 5, column 1"),
        help("label_command_help_decl", "row 5, column 2"),
        // A status cell without the fixed width of the others.
        cell("label_command_decl_status", "QLabel", "row 5, column 3", kEmptyText,
             {{"sizePolicy", "Preferred/Preferred"}, {"minimumSize", "0 x 0"},
              {"styleSheet", kBorder}, {"alignment", "AlignCenter"}}),

        {"label_ORVACmdStatusMsg", "QLabel", "groupBox", "verticalLayout_29", "item 1",
         kEmptyText,
         {{"sizePolicy", "Preferred/Maximum"}, {"styleSheet", "color:#ff8700;padding:15px;"},
          {"alignment", "AlignCenter"}}},
        {"pushButton_ORVAsendcommands", "QPushButton", "groupBox", "verticalLayout_29", "item 2",
         "Send  Commands", {{"minimumSize", "0 x 34"}, {"checkable", "false"}}},
        {"pushButton_ORVADefaultSetting", "QPushButton", "groupBox", "verticalLayout_29",
         "item 3", "Restore Defaults", {{"minimumSize", "0 x 34"}, {"checkable", "false"}}},
        {"", "QSpacerItem", "", "verticalLayout_29", "item 4", kNoText,
         {{"sizeHint", "20 x 40"}, {"policy", "Minimum/Expanding"}}},
    };
}

// ---- ORVA Stack tab ----

FormObject module(const char *name, const char *at, const char *text)
{
    return {name, "QLabel", "groupBox_orva_commands_stack_functionality", "gridLayout_45", at,
            QString::fromLatin1(text), {}};
}

FormObject light(const char *name, const char *at)
{
    return {name, "QPushButton", "groupBox_orva_commands_stack_functionality", "gridLayout_45",
            at, kEmptyText,
            {{"styleSheet", "border : 0;\nbackground: transparent;"},
             {"icon", ":/resources/greenlight_icon.png"},
             {"checkable", "false"}}};
}

FormObject tick(const char *name, const char *at)
{
    return {name, "QCheckBox", "groupBox_orva_commands_stack_functionality", "gridLayout_45", at,
            kEmptyText,
            {{"styleSheet", "margin-left:50%; margin-right:50%;"}, {"checked", "false"}}};
}

QVector<FormObject> stackTab()
{
    const QString group = QStringLiteral("groupBox_orva_commands_stack_functionality");
    return {
        {"tab_orva_commands_stack", "QWidget", "", "tabWidget", "tab 1", "Stack", {}},
        {"verticalLayout_90", "QVBoxLayout", "", "tab_orva_commands_stack", "layout", kNoText,
         {}},
        {"horizontalLayout_3", "QHBoxLayout", "", "verticalLayout_90", "item 0", kNoText, {}},
        {"", "QSpacerItem", "", "horizontalLayout_3", "item 0", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        {"label_orva_commands_stack_help", "QLabel", "tab_orva_commands_stack",
         "horizontalLayout_3", "item 1", "?",
         {{"sizePolicy", "Minimum/Preferred"}, {"minimumSize", "50 x 0"},
          {"font", "Muli, 10, regular"}, {"alignment", "AlignCenter"}}},
        {"pushButton_orva_stack_clear", "QPushButton", "tab_orva_commands_stack",
         "horizontalLayout_3", "item 2", "CLEAR",
         {{"sizePolicy", "Maximum/Fixed"}, {"maximumSize", "100 x 16777215"}}},
        {"pushButton_orva_stack_refresh", "QPushButton", "tab_orva_commands_stack",
         "horizontalLayout_3", "item 3", "REFRESH", {}},
        {"label_orva_commands_stack_none", "QLabel", "tab_orva_commands_stack",
         "verticalLayout_90", "item 1",
         QStringLiteral("No modules found... Press refresh & wait 5 seconds to re-enumerate the "
                        "stack. Module statuses are updated internally once per minute. May take "
                        "up to 2 minutes after a hard power cycle."),
         {{"sizePolicy", "Preferred/Minimum"}, {"minimumSize", "0 x 200"},
          {"font", "Muli, 10, regular"}, {"alignment", "AlignCenter"}, {"wordWrap", "false"}}},
        {group, "QGroupBox", "tab_orva_commands_stack", "verticalLayout_90", "item 2", kEmptyText,
         {}},
        {"verticalLayout_3", "QVBoxLayout", "", group, "layout", kNoText, {}},
        {"gridLayout_45", "QGridLayout", "", "verticalLayout_3", "item 0", kNoText, {}},

        module("label_24", "row 1, column 0", "Module"),
        module("label_ModuleLightning", "row 2, column 0", "Lightning"),
        module("label_59", "row 1, column 3", "Disable"),
        module("label_ModuleCeilometer", "row 3, column 0", "Ceilometer"),
        module("label_27", "row 1, column 1", "Status"),
        module("label_ModulePW", "row 4, column 0", "Present Weather"),
        module("label_ModuleRadio", "row 5, column 0", "Radio"),
        module("label_52", "row 1, column 2", "Enable"),
        module("label_ModuleIridium", "row 7, column 0", "Iridium"),
        module("label_ModuleTPH", "row 8, column 0", "Temperature, Pressure, & Humidity"),
        module("label_ModuleWind", "row 6, column 0", "Wind"),
        light("iconModule_Iridium", "row 7, column 1"),
        light("iconModule_TPH", "row 8, column 1"),
        light("iconModule_Radio", "row 5, column 1"),
        light("iconModule_Wind", "row 6, column 1"),
        light("iconModule_Ceilometer", "row 3, column 1"),
        light("iconModule_Lightning", "row 2, column 1"),
        light("iconModule_PresentWeather", "row 4, column 1"),
        tick("checkBox_ORVADisableIridium", "row 7, column 3"),
        tick("checkBox_ORVADisableTPH", "row 8, column 3"),
        tick("checkBox_ORVAEnableLightning", "row 2, column 2"),
        tick("checkBox_ORVAEnableIridium", "row 7, column 2"),
        tick("checkBox_ORVAEnableCeilometer", "row 3, column 2"),
        tick("checkBox_ORVAEnablePresentWeather", "row 4, column 2"),
        tick("checkBox_ORVAEnableTPH", "row 8, column 2"),
        tick("checkBox_ORVAEnableRadio", "row 5, column 2"),
        tick("checkBox_ORVAEnableWind", "row 6, column 2"),
        tick("checkBox_ORVADisableRadio", "row 5, column 3"),
        tick("checkBox_ORVADisableCeilometer", "row 3, column 3"),
        tick("checkBox_ORVADisablePresentWeather", "row 4, column 3"),
        tick("checkBox_ORVADisableLightning", "row 2, column 3"),
        tick("checkBox_ORVADisableWind", "row 6, column 3"),

        {"pushButton_orva_stack_submit", "QPushButton", group, "verticalLayout_3", "item 1",
         "Submit", {}},
        {"progressBar_orva_stack", "QProgressBar", group, "verticalLayout_3", "item 2", kNoText,
         {{"font", "Muli, 10, regular"}, {"minimum", "0"}, {"maximum", "100"}, {"value", "24"},
          {"text", "24%"}}},
        {"label_orva_commands_success_indicator", "QLabel", group, "verticalLayout_3", "item 3",
         QStringLiteral("Stack settings/refresh completed successfully. Units may require 1 full "
                        "minute to reflect changes in the above table."),
         {{"font", "Muli, 10, regular"}, {"alignment", "AlignCenter"}}},
        {"", "QSpacerItem", "", "verticalLayout_90", "item 3", kNoText,
         {{"sizeHint", "17 x 445"}, {"policy", "Minimum/Expanding"}}},
    };
}

// ---- ORVA RFLOS and Lightning tabs ----

FormObject rflos(const char *name, const char *className, const char *at,
                 std::optional<QString> text, const FormProps &props)
{
    return {name, className, "groupBox_26", "gridLayout_31", at, text, props};
}

FormObject rflosName(const char *name, const char *at, const char *text)
{
    return rflos(name, "QLabel", at, QString::fromLatin1(text),
                 {{"sizePolicy", "Maximum/Preferred"}, {"minimumSize", "0 x 34"},
                  {"maximumSize", "300 x 16777215"}, {"font", "Muli, 10, regular"},
                  {"alignment", "AlignRight|AlignVCenter"}});
}

FormObject rflosInput(const char *name, const char *className, const char *at)
{
    FormProps props{{"sizePolicy", "Maximum/Fixed"}, {"maximumSize", "600 x 34"}};
    if (QLatin1String(className) == QLatin1String("QComboBox"))
        props += kNoItems;
    return rflos(name, className, at, kNoText, props);
}

FormObject rflosHelp(const char *name, const char *at)
{
    return rflos(name, "QLabel", at, QStringLiteral("?"),
                 {{"sizePolicy", "Fixed/Preferred"}, {"minimumSize", "40 x 0"},
                  {"alignment", "AlignCenter"}, {"toolTip", ""}});
}

FormObject rflosStatus(const char *name, const char *at)
{
    return rflos(name, "QLabel", at, kEmptyText,
                 {{"sizePolicy", "Fixed/Preferred"}, {"minimumSize", "40 x 0"},
                  {"alignment", "AlignLeft|AlignVCenter"}});
}

FormObject lightning(const char *name, const char *className, const char *at,
                     std::optional<QString> text, const FormProps &props = {})
{
    return {name, className, "tab_orva_commands_lightning", "gridLayout_44", at, text, props};
}

QVector<FormObject> rflosAndLightningTabs()
{
    const FormProps muli10{{"font", "Muli, 10, regular"}};
    const FormProps threshold{{"sizePolicy", "Expanding/Maximum"}};
    const FormProps thresholdName{{"sizePolicy", "Preferred/Maximum"}};
    return {
        {"tab_orva_commands_rflos", "QWidget", "", "tabWidget", "tab 2", "RFLOS", {}},
        {"verticalLayout_75", "QVBoxLayout", "", "tab_orva_commands_rflos", "layout", kNoText,
         {{"spacing", "20"}}},
        {"horizontalLayout_22", "QHBoxLayout", "", "verticalLayout_75", "item 0", kNoText, {}},
        {"", "QSpacerItem", "", "horizontalLayout_22", "item 0", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        {"label_75", "QLabel", "tab_orva_commands_rflos", "horizontalLayout_22", "item 1", "?",
         {{"sizePolicy", "Minimum/Preferred"}, {"minimumSize", "50 x 0"},
          {"font", "Muli, 10, regular"}, {"alignment", "AlignCenter"}}},
        {"pushButton_orva_commands_rflos_clear", "QPushButton", "tab_orva_commands_rflos",
         "horizontalLayout_22", "item 2", "CLEAR", {}},
        {"groupBox_26", "QGroupBox", "tab_orva_commands_rflos", "verticalLayout_75", "item 1",
         kEmptyText, {}},
        {"gridLayout_31", "QGridLayout", "", "groupBox_26", "layout", kNoText, {}},

        rflosHelp("label_command_help_rxf", "row 2, column 2"),
        rflosInput("lineEdit_ORVARFLOSReceiveFreq", "QLineEdit", "row 2, column 1"),
        rflos("label_61", "QLabel", "row 0, column 5", QStringLiteral("Status"), muli10),
        rflosName("label_73", "row 6, column 0", "RFLOS Message Rate"),
        rflosName("label_67", "row 4, column 0", "RFLOS Selected Channel"),
        rflosName("label_63", "row 1, column 0", "RFLOS Transmit Frequency (MHz)"),
        rflos("label_60", "QLabel", "row 0, column 1", QStringLiteral("Input"), muli10),
        rflosName("label_65", "row 2, column 0", "RFLOS Receive Frequency (MHz)"),
        rflosHelp("label_command_help_prog_chan", "row 3, column 2"),
        rflosInput("comboBox_ORVARFMessageRate", "QComboBox", "row 6, column 1"),
        rflosName("label_66", "row 3, column 0", "RFLOS Program Channel"),
        rflosInput("comboBox_ORVARFLOSProgramChannel", "QComboBox", "row 3, column 1"),
        rflos("label_62", "QLabel", "row 0, column 2", QStringLiteral("Help"), muli10),
        rflos("lineEdit_ORVALOSRFInput", "QLineEdit", "row 1, column 1", kNoText,
              {{"sizePolicy", "Minimum/Fixed"}, {"minimumSize", "34 x 0"},
               {"maximumSize", "600 x 32"}}),
        rflosInput("comboBox_ORVARFLOSSelectedChannel", "QComboBox", "row 4, column 1"),
        rflosHelp("label_command_help_sel_chan", "row 4, column 2"),
        rflos("label_57", "QLabel", "row 0, column 0", QStringLiteral("Command"),
              {{"minimumSize", "0 x 34"}, {"font", "Muli, 10, regular"},
               {"alignment", "AlignCenter"}}),
        rflosHelp("label_command_help_txf", "row 1, column 2"),
        rflosStatus("label_command_rflos_txf_status", "row 1, column 3"),
        rflosStatus("label_command_rflos_program_channel_status", "row 3, column 3"),
        rflosHelp("label_command_help_rflos_message_rate", "row 6, column 2"),
        rflosStatus("label_command_rflos_message_rate_status", "row 6, column 3"),
        rflosStatus("label_command_rflos_rxf_status", "row 2, column 3"),
        rflosStatus("label_command_rflos_selected_channel_status", "row 4, column 3"),

        {"pushButton_RFLOS_send_commands", "QPushButton", "tab_orva_commands_rflos",
         "verticalLayout_75", "item 2", "Send Commands",
         {{"minimumSize", "0 x 34"}, {"font", "Muli, 10, regular"}}},
        {"", "QSpacerItem", "", "verticalLayout_75", "item 3", kNoText,
         {{"sizeHint", "20 x 40"}, {"policy", "Minimum/Expanding"}}},

        {"tab_orva_commands_lightning", "QWidget", "", "tabWidget", "tab 3", "Lightning", {}},
        {"gridLayout_44", "QGridLayout", "", "tab_orva_commands_lightning", "layout", kNoText,
         {{"horizontalSpacing", "default"}, {"verticalSpacing", "7"},
          {"margins", "10, 10, 10, 10"}, {"sizeConstraint", "SetDefaultConstraint"}}},
        lightning("progressBar_orva_lightning_autocal", "QProgressBar", "row 8, column 2",
                  kNoText,
                  {{"minimum", "0"}, {"maximum", "240"}, {"value", "24"},
                   {"alignment", "AlignCenter"}, {"text", "10%"}}),
        lightning("lineEdit_orva_lightning_bz_step_threshold", "QLineEdit", "row 6, column 2",
                  kNoText, threshold),
        {"", "QSpacerItem", "", "gridLayout_44", "row 10, column 2", kNoText,
         {{"sizeHint", "20 x 40"}, {"policy", "Minimum/Expanding"}}},
        lightning("label_53", "QLabel", "row 3, column 2",
                  QStringLiteral("Read / Input Parameters"), thresholdName),
        lightning("pushButton_orva_lightning_set_bz", "QPushButton", "row 6, column 3",
                  QStringLiteral("Set")),
        lightning("pushButton_orva_lightning_set_bx", "QPushButton", "row 4, column 3",
                  QStringLiteral("Set")),
        lightning("pushButton_orva_lightning_set_by", "QPushButton", "row 5, column 3",
                  QStringLiteral("Set")),
        {"", "QSpacerItem", "", "gridLayout_44", "row 5, column 4", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        lightning("label_55", "QLabel", "row 5, column 0", QStringLiteral("BY Step Threshold"),
                  thresholdName),
        lightning("label_54", "QLabel", "row 4, column 0", QStringLiteral("BX Step Threshold"),
                  thresholdName),
        lightning("lineEdit_orva_lightning_by_step_threshold", "QLineEdit", "row 5, column 2",
                  kNoText, threshold),
        lightning("lineEdit_orva_lightning_bx_step_threshold", "QLineEdit", "row 4, column 2",
                  kNoText, threshold),
        lightning("label_56", "QLabel", "row 6, column 0", QStringLiteral("BZ Step Threshold"),
                  thresholdName),
        lightning("pushButton_orva_lightning_autocal", "QPushButton", "row 8, column 3",
                  QStringLiteral("Auto Calibrate")),
        lightning("pushButton_orva_lightning_clear", "QPushButton", "row 7, column 3",
                  QStringLiteral("Clear Params")),
        lightning("pushButton_orva_lightning_refresh", "QPushButton", "row 3, column 3",
                  QStringLiteral("Refresh Params")),
        lightning("label_orva_commands_lightning_autocal_hint", "QLabel", "row 9, column 2",
                  QStringLiteral("May take up to 5 minutes... Do not switch tabs / issue other "
                                 "commands."),
                  {{"alignment", "AlignCenter"}}),
    };
}

// ---- Legacy ORVA page ----

FormObject legacyName(const char *name, const char *at, const char *text)
{
    return {name, "QLabel", "groupBox_13", "gridLayout", at, QString::fromLatin1(text),
            {{"font", "Muli, 10, regular"}, {"alignment", "AlignRight|AlignVCenter"}}};
}

FormObject legacyInput(const char *name, const char *className, const char *at)
{
    FormProps props{{"minimumSize", "0 x 34"}, {"font", "Muli, 10, regular"}};
    if (QLatin1String(className) == QLatin1String("QComboBox"))
        props += kNoItems;
    return {name, className, "groupBox_13", "gridLayout", at, kNoText, props};
}

QVector<FormObject> legacyPage()
{
    return {
        {"page_OrvaCommands", "QWidget", "stackedWidget_CommandConfiguration",
         "stackedWidget_CommandConfiguration", "page 2", kNoText,
         {{"sizePolicy", "Maximum/Preferred"}}},
        {"verticalLayout_41", "QVBoxLayout", "", "page_OrvaCommands", "layout", kNoText,
         {{"spacing", "0"}, {"margins", "0, 0, 0, 0"}}},
        {"frameOrvaCmd", "QFrame", "page_OrvaCommands", "verticalLayout_41", "item 0", kNoText,
         {{"sizePolicy", "Maximum/Preferred"}, {"frameShape", "StyledPanel"},
          {"frameShadow", "Raised"}}},
        {"verticalLayout_25", "QVBoxLayout", "", "frameOrvaCmd", "layout", kNoText,
         {{"spacing", "0"}, {"margins", "0, 0, 0, 0"}}},
        {"labelHeaderORVAConfiguration", "QLabel", "frameOrvaCmd", "verticalLayout_25", "item 0",
         "Configuration", {{"font", "Muli, 10, bold"}}},
        {"groupBox_13", "QGroupBox", "frameOrvaCmd", "verticalLayout_25", "item 1", kEmptyText,
         {{"sizePolicy", "Maximum/Preferred"}, {"font", "Muli, 10, bold"}}},
        {"verticalLayout_5", "QVBoxLayout", "", "groupBox_13", "layout", kNoText, {}},
        {"verticalLayout_8", "QVBoxLayout", "", "verticalLayout_5", "item 0", kNoText, {}},
        {"gridLayout", "QGridLayout", "", "verticalLayout_8", "item 0", kNoText,
         {{"spacing", "24"}}},
        legacyName("label_192", "row 1, column 0", "Date/Time (MM/DD/YY HH:MM:SS)"),
        legacyName("label_190", "row 2, column 0", "Transmit Module\nFrequency"),
        legacyInput("comboBoxCmdFreq", "QComboBox", "row 2, column 1"),
        legacyName("label_194", "row 3, column 0", "GPS"),
        legacyInput("comboBoxORVAGPS", "QComboBox", "row 3, column 1"),
        {"pushButtonCmdORVA", "QPushButton", "groupBox_13", "gridLayout", "row 4, column 1",
         "Send Commands",
         {{"minimumSize", "30 x 36"}, {"font", "Muli, 10, regular"}, {"checkable", "true"},
          {"checked", "false"}}},
        legacyName("label_193", "row 0, column 0", "ICAO Identifier"),
        legacyInput("lineEditCmdIcaoId", "QLineEdit", "row 0, column 1"),
        legacyInput("lineEditCmdDate", "QLineEdit", "row 1, column 1"),
        {"label_188", "QLabel", "groupBox_13", "verticalLayout_8", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Fixed"}, {"font", "Muli, 10, bold"}}},
        {"gridLayout_10", "QGridLayout", "", "verticalLayout_8", "item 2", kNoText, {}},
        {"pushButtonCmdResetSettings", "QPushButton", "groupBox_13", "gridLayout_10",
         "row 0, column 1", "Settings", {{"minimumSize", "0 x 36"}, {"font", "Muli, 10, regular"}}},
        {"label_189", "QLabel", "groupBox_13", "gridLayout_10", "row 0, column 0", "Reset",
         {{"font", "Muli, 10, regular"}, {"alignment", "AlignRight|AlignVCenter"}}},
        {"pushButtonCmdResetUnit", "QPushButton", "groupBox_13", "gridLayout_10",
         "row 0, column 2", "Unit", {{"minimumSize", "0 x 36"}, {"font", "Muli, 10, regular"}}},
        {"cmdStatusORVA_label", "QLabel", "groupBox_13", "verticalLayout_5", "item 1", kEmptyText,
         {{"alignment", "AlignRight|AlignVCenter"}}},
        {"", "QSpacerItem", "", "verticalLayout_5", "item 2", kNoText,
         {{"sizeHint", "308 x 38"}, {"policy", "Minimum/Expanding"}}},
    };
}

} // namespace

QVector<FormObject> commandPageObjects()
{
    QVector<FormObject> objects{
        {"horizontalLayout", "QHBoxLayout", "", "pageCommand", "layout", kNoText,
         {{"margins", "0, 24, 24, 0"}, {"spacing", "18"}}},
        {"scrollArea_3", "QScrollArea", "pageCommand", "horizontalLayout", "item 0", kNoText,
         {{"frameShape", "NoFrame"}, {"frameShadow", "Plain"}, {"widgetResizable", "true"}}},
        {"scrollAreaWidgetContents_5", "QWidget", "", "scrollArea_3", "content", kNoText, {}},
        {"horizontalLayout_6", "QHBoxLayout", "", "scrollAreaWidgetContents_5", "layout", kNoText,
         {{"margins", "0, 0, 0, 0"}, {"spacing", "6"}}},
        {"stackedWidget_CommandConfiguration", "QStackedWidget", "scrollAreaWidgetContents_5",
         "horizontalLayout_6", "item 0", kNoText, {{"currentIndex", "1"}, {"count", "3"}}},
    };
    objects << brqPanel() << generalTab() << stackTab() << rflosAndLightningTabs()
            << legacyPage();
    return objects;
}
// clang-format on
