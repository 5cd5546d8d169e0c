// The table page (page 1): the latest report with its edit controls, the observation grid and the
// history selector, one column of sections in a scroll area.

#include "formcheck.h"

// One row per object; the formatter would give every field a line of its own.
// clang-format off

namespace
{

const char kNote[] =
    "* History of standard METARs (hourly observations on the 55th minute) and SPECIs are "
    "tracked on this page (max 24 standard observations)";

// The observation grid in creation order: field names (even columns) are right-aligned, values
// (odd columns) are empty labels with nothing of their own; all take the box's bold font.
struct GridCell {
    const char *name;
    int row;
    int column;
    const char *text; // nullptr for a value label
};

const GridCell kGrid[] = {
    {"label_3", 1, 0, "Wind Direction"},
    {"label_129", 2, 4, "Elevation"},
    {"labelTableCompassHeading", 16, 1, nullptr},
    {"label_35", 2, 2, "Relative Humidity"},
    {"labelTableMaxWindDirection", 3, 1, nullptr},
    {"label_80", 3, 2, "Wind Chill Index"},
    {"labelTablePresentWeather", 7, 3, nullptr},
    {"label_119", 0, 4, "Latitude"},
    {"label_4", 2, 0, "Wind Speed"},
    {"label_40", 12, 0, "Sig Wave Period"},
    {"label_84", 11, 2, "Station Pressure"},
    {"labelTablePressureAltitude", 12, 3, nullptr},
    {"label_72", 13, 2, "Density Altitude"},
    {"label_29", 6, 0, "Cloud Layers"},
    {"label_87", 16, 0, "Compass Heading"},
    {"labelTableWindChillIndex", 3, 3, nullptr},
    {"labelTableLowestBrokenLayer", 7, 1, nullptr},
    {"label_82", 12, 2, "Pressure Altitude"},
    {"labelTableDate", 0, 1, nullptr},
    {"labelTableTemperature", 0, 3, nullptr},
    {"label_6", 7, 2, "Present Weather"},
    {"label_36", 10, 2, "Altimeter"},
    {"labelTableStationPressure", 11, 3, nullptr},
    {"labelTableDensityAltitude", 13, 3, nullptr},
    {"label_39", 11, 0, "Sig Wave Direction"},
    {"labelTableWindDirection", 1, 1, nullptr},
    {"label_64", 1, 2, "Dew Point"},
    {"labelTablePrecipitation", 8, 3, nullptr},
    {"label_45", 3, 0, "Peak Wind Direction"},
    {"label_37", 8, 0, "Lightning Frequency"},
    {"labelTableHeatIndex", 4, 3, nullptr},
    {"label_34", 7, 0, "Cloud Ceiling"},
    {"labelTableSigWavePeriod", 12, 1, nullptr},
    {"label_2", 0, 0, "Date/Time (UTC)"},
    {"labelTableCloudLayers", 6, 1, nullptr},
    {"label_74", 15, 0, "Sea Surface Temperature"},
    {"label_86", 4, 0, "Peak Wind Speed"},
    {"labelTableSigWaveDirection", 11, 1, nullptr},
    {"label_5", 6, 2, "Visibility"},
    {"labelTableDewPoint", 1, 3, nullptr},
    {"labelTableLon", 1, 5, nullptr},
    {"label_38", 9, 0, "Lightning Distance"},
    {"labelTableElevation", 2, 5, nullptr},
    {"label_78", 4, 2, "Heat Index"},
    {"labelTableMaxWindSpeed", 4, 1, nullptr},
    {"labelTableLightningDistance", 9, 1, nullptr},
    {"labelTableAltimeter", 10, 3, nullptr},
    {"labelTableSeaSurfaceTemp", 15, 1, nullptr},
    {"labelTableRelativeHumidity", 2, 3, nullptr},
    {"labelTableWindSpeed", 2, 1, nullptr},
    {"labelTableLat", 0, 5, nullptr},
    {"label_117", 8, 2, "Precip Accumulation (1hr)"},
    {"label_76", 0, 2, "Temperature"},
    {"label_135", 1, 4, "Longitude"},
    {"labelTableLightningFrequency", 8, 1, nullptr},
    {"label_41", 13, 0, "Sig Wave Height"},
    {"labelTableVisibility", 6, 3, nullptr},
    {"labelTableSigWaveHeight", 13, 1, nullptr},
    {"label_46", 4, 4, "IMEI"},
    {"labelTableImei", 4, 5, nullptr},
    {"label_122", 5, 4, "Type"},
    {"labelTableType", 5, 5, nullptr},
    {"label_118", 6, 4, "Tilt"},
    {"labelTableTilt", 6, 5, nullptr},
    {"label_125", 7, 4, "Orientation"},
    {"labelTableOrientation", 7, 5, nullptr},
    {"label_123", 8, 4, "Voltage"},
    {"labelTableVoltage", 8, 5, nullptr},
    {"label_128", 9, 4, "Mode"},
    {"labelTableMode", 9, 5, nullptr},
    {"label_126", 10, 4, "Vis Contamination"},
    {"labelTableVisContamination", 10, 5, nullptr},
    {"label_120", 11, 4, "Tampering Detection"},
    {"labelTableTampering", 11, 5, nullptr},
    {"label_orvabitstatus", 12, 4, "Bit Status"},
    {"labelTableBitStatus", 12, 5, nullptr},
    {"label_33", 13, 4, "RF Transmit Frequency"},
    {"label_table_rflos_txf", 13, 5, nullptr},
    {"label_42", 14, 4, "RF Receive Frequency"},
    {"label_table_rflos_rxf", 14, 5, nullptr},
    {"label_43", 15, 4, "RF Band"},
    {"label_table_rflos_band", 15, 5, nullptr},
};

FormObject gridLabel(const GridCell &cell)
{
    const QString at = QStringLiteral("row %1, column %2").arg(cell.row).arg(cell.column);
    if (!cell.text)
        return {cell.name, "QLabel", "groupBox_2", "gridLayout_14", at, kEmptyText,
                {{"alignment", "AlignLeft|AlignVCenter"}, {"wordWrap", "false"}}};
    const bool wraps = QLatin1String(cell.name) == QLatin1String("label_117");
    return {cell.name, "QLabel", "groupBox_2", "gridLayout_14", at, QString::fromUtf8(cell.text),
            {{"alignment", "AlignRight|AlignVCenter"}, {"wordWrap", wraps ? "true" : "false"}}};
}

} // namespace

QVector<FormObject> tablePageObjects()
{
    const QString content = QStringLiteral("scrollAreaWidgetContents_4");
    const FormProps noItems{{"count", "0"}, {"currentIndex", "-1"}};
    QVector<FormObject> objects{
        {"gridLayout_22", "QGridLayout", "", "pageTable", "layout", kNoText,
         {{"margins", "0, 24, 24, 0"}}},
        {"scrollArea_2", "QScrollArea", "pageTable", "gridLayout_22", "row 0, column 0", kNoText,
         {{"frameShape", "NoFrame"}, {"frameShadow", "Plain"}, {"widgetResizable", "true"}}},
        {content, "QWidget", "", "scrollArea_2", "content", kNoText, {}},
        {"verticalLayout_32", "QVBoxLayout", "", content, "layout", kNoText,
         {{"spacing", "24"}, {"margins", "0, 0, 0, 0"}, {"stretch", "0, 0, 1"}}},

        // Report
        {"verticalLayout_LatestMetar", "QVBoxLayout", "", "verticalLayout_32", "item 0", kNoText,
         {{"spacing", "0"}, {"stretch", "0, 1"}}},
        {"horizontalLayout_21", "QHBoxLayout", "", "verticalLayout_LatestMetar", "item 0",
         kNoText, {}},
        {"labelHeaderLatestMETAR", "QLabel", content, "horizontalLayout_21", "item 0",
         "METAR/SPECI", {{"alignment", "AlignLeft|AlignVCenter"}}},
        {"", "QSpacerItem", "", "horizontalLayout_21", "item 1", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        {"label_metar_edit_status", "QLabel", content, "horizontalLayout_21", "item 2", "NULL",
         {{"sizePolicy", "Minimum/Preferred"},
          {"minimumSize", "200 x 0"},
          {"font", "Muli, 10, regular"},
          {"alignment", "AlignCenter"}}},
        {"pushbutton_metar_semiauto_cancel", "QPushButton", content, "horizontalLayout_21",
         "item 3", "CANCEL", {}},
        {"groupBox_3", "QGroupBox", content, "verticalLayout_LatestMetar", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Maximum"}, {"font", "Muli, 10, bold"}}},
        {"verticalLayout_24", "QVBoxLayout", "", "groupBox_3", "layout", kNoText,
         {{"spacing", "0"}, {"margins", "default, default, default, 0"}}},
        {"stacked_METAR", "QStackedWidget", "groupBox_3", "verticalLayout_24", "item 0", kNoText,
         {{"maximumSize", "16777215 x 90"}, {"currentIndex", "0"}, {"count", "2"}}},
        {"labelMetarPage", "QWidget", "stacked_METAR", "stacked_METAR", "page 0", kNoText,
         {{"acceptDrops", "false"}}},
        {"horizontalLayout_10", "QHBoxLayout", "", "labelMetarPage", "layout", kNoText,
         {{"spacing", "0"}, {"margins", "default, default, default, 0"}}},
        {"label_Metar", "QLabel", "labelMetarPage", "horizontalLayout_10", "item 0", kEmptyText,
         {{"sizePolicy", "Preferred/MinimumExpanding"},
          {"alignment", "AlignCenter"},
          {"wordWrap", "true"},
          {"textInteractionFlags", "TextSelectableByMouse|TextSelectableByKeyboard|"
                                   "LinksAccessibleByMouse|LinksAccessibleByKeyboard"}}},
        {"pushButton_editMetar", "QPushButton", "labelMetarPage", "horizontalLayout_10", "item 1",
         "Edit METAR", {{"sizePolicy", "Maximum/Fixed"}}},
        {"lineEditMetarPage", "QWidget", "stacked_METAR", "stacked_METAR", "page 1", kNoText, {}},
        {"horizontalLayout_11", "QHBoxLayout", "", "lineEditMetarPage", "layout", kNoText,
         {{"spacing", "0"}}},
        {"lineEdit_Metar", "QLineEdit", "lineEditMetarPage", "horizontalLayout_11", "item 0",
         "Testing", {{"maximumSize", "16777215 x 30"}}},
        {"pushButton_saveAndSendMetar", "QPushButton", "lineEditMetarPage", "horizontalLayout_11",
         "item 1", "Save and Send Metar", {}},
        {"pushButton_saveMetar", "QPushButton", "lineEditMetarPage", "horizontalLayout_11",
         "item 2", "Save Metar", {}},
        {"pushButton_cancelSaveMetar", "QPushButton", "lineEditMetarPage", "horizontalLayout_11",
         "item 3", "Cancel", {}},
        {"label_METARStatus", "QLabel", "groupBox_3", "verticalLayout_24", "item 1", kEmptyText,
         {}},

        // Observation
        {"verticalLayout_LatestObservation", "QVBoxLayout", "", "verticalLayout_32", "item 1",
         kNoText, {{"spacing", "0"}, {"stretch", "0, 1"}}},
        {"formLayout", "QFormLayout", "", "verticalLayout_LatestObservation", "item 0", kNoText,
         {{"margins", "default, default, default, 0"}}},
        {"labelHeaderLatestObservation", "QLabel", content, "formLayout", "row 0, label",
         "Observation", {{"alignment", "AlignLeft|AlignVCenter"}}},
        {"label_currentObsType", "QLabel", content, "formLayout", "row 0, field",
         "Current Weather Data",
         {{"font", "Muli, 8, bold"}, {"alignment", "AlignRight|AlignVCenter"}}},
        {"groupBox_2", "QGroupBox", content, "verticalLayout_LatestObservation", "item 1",
         kEmptyText, {{"sizePolicy", "Preferred/Maximum"}, {"font", "Muli, 10, bold"}}},
        {"verticalLayout_23", "QVBoxLayout", "", "groupBox_2", "layout", kNoText, {}},
        {"gridLayout_14", "QGridLayout", "", "verticalLayout_23", "item 0", kNoText, {}},
    };
    for (const GridCell &cell : kGrid)
        objects << gridLabel(cell);

    objects << QVector<FormObject>{
        // History
        {"verticalLayout_43", "QVBoxLayout", "", "verticalLayout_32", "item 2", kNoText,
         {{"spacing", "0"}, {"margins", "default, 0, default, default"}}},
        {"gridLayout_23", "QGridLayout", "", "verticalLayout_43", "item 0", kNoText,
         {{"margins", "default, default, default, 0"}}},
        {"labelHeaderViewOptions", "QLabel", content, "gridLayout_23", "row 0, column 0",
         "History", {}},
        {"groupBoxViewMetarOptions", "QGroupBox", content, "verticalLayout_43", "item 1",
         kEmptyText, {}},
        {"verticalLayout_30", "QVBoxLayout", "", "groupBoxViewMetarOptions", "layout", kNoText,
         {{"margins", "default, default, default, 0"}}},
        {"formLayout_2", "QFormLayout", "", "verticalLayout_30", "item 0", kNoText,
         {{"horizontalSpacing", "24"},
          {"verticalSpacing", "24"},
          {"margins", "default, 0, default, default"}}},
        {"label_7", "QLabel", "groupBoxViewMetarOptions", "formLayout_2", "row 0, label",
         "Select Observation to View *", {}},
        {"comboBoxViewMetar", "QComboBox", "groupBoxViewMetarOptions", "formLayout_2",
         "row 0, field", kNoText, FormProps{{"minimumSize", "0 x 34"}} + noItems},
        {"gridLayout_21", "QGridLayout", "", "verticalLayout_30", "item 1", kNoText,
         {{"margins", "default, default, default, 0"}}},
        {"pushButton_viewLatest", "QPushButton", "groupBoxViewMetarOptions", "gridLayout_21",
         "row 1, column 3", "Latest",
         {{"sizePolicy", "Fixed/Fixed"}, {"maximumSize", "80 x 30"}}},
        {"label_10", "QLabel", "groupBoxViewMetarOptions", "gridLayout_21",
         "row 1, column 0, spans 1 x 3", QString::fromLatin1(kNote),
         {{"font", "Muli, 6, regular"},
          {"alignment", "AlignRight|AlignVCenter"},
          {"wordWrap", "true"}}},
        {"", "QSpacerItem", "", "gridLayout_21", "row 2, column 0", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        {"NoteMETARSentIconText", "QLabel", "groupBoxViewMetarOptions", "gridLayout_21",
         "row 2, column 2", "METAR Sent to ORVA",
         {{"font", "Muli, 6, regular"},
          {"autoFillBackground", "true"},
          {"alignment", "AlignRight|AlignVCenter"}}},
        {"NoteMETARSentIcon", "QLabel", "groupBoxViewMetarOptions", "gridLayout_21",
         "row 2, column 1", kEmptyText,
         {{"minimumSize", "18 x 18"},
          {"maximumSize", "18 x 18"},
          {"font", "Segoe UI, regular"},
          {"styleSheet", "qproperty-alignment: AlignRight;"},
          {"pixmap", ":/resources/icon_updated.png"},
          {"scaledContents", "true"},
          {"alignment", "AlignRight"}}},
        {"", "QSpacerItem", "", "verticalLayout_30", "item 2", kNoText,
         {{"sizeHint", "20 x 5"}, {"policy", "Minimum/Expanding"}}},
    };
    return objects;
}
// clang-format on
