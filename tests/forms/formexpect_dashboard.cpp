// The dashboard page (page 0): a scroll area around one raised frame with three columns of
// sections. Left: observation time, temperature, pressure, visibility. Middle: status pictures,
// wind with the nested weather group. Right: clouds, station radio, lightning.

#include "formcheck.h"

#include <algorithm>

// One row per object; the formatter would give every field a line of its own.
// clang-format off

namespace
{

const char kSelectable[] = "TextSelectableByMouse|TextSelectableByKeyboard";
const char kNotSelectable[] = "LinksAccessibleByMouse"; // QLabel's own default
const char kRight[] = "AlignRight|AlignVCenter";
const char kLeft[] = "AlignLeft|AlignVCenter"; // QLabel's own default
const char kCentre[] = "AlignCenter";
const char kBold10[] = "Muli, 10, bold";
const char kBold8[] = "Muli, 8, bold";

const QString kDegree = QStringLiteral("\u00b0");
const QString kDegreeC = QStringLiteral("\u00b0C");

// A bundle with some entries added or replaced.
FormProps plus(FormProps props, const FormProps& more)
{
    for (const auto& prop : more) {
        auto same = std::find_if(props.begin(), props.end(),
                                 [&prop](const auto& p) { return p.first == prop.first; });
        if (same != props.end())
            same->second = prop.second;
        else
            props << prop;
    }
    return props;
}

// A label that sets nothing but its text.
const FormProps kPlain{{"sizePolicy", "Preferred/Preferred"}, {"alignment", kLeft},
                       {"textInteractionFlags", kNotSelectable}, {"wordWrap", "false"}};

// Section header: the title above an untitled group; not selectable.
const FormProps kHeader{{"font", kBold10}, {"textInteractionFlags", kNotSelectable}};

// Label kinds of the timestamp, temperature, pressure and visibility grids; they set no font.
const FormProps kCaption{{"sizePolicy", "Minimum/Minimum"}, {"alignment", kRight},
                         {"textInteractionFlags", kSelectable}};
const FormProps kValue{{"sizePolicy", "Preferred/Preferred"}, {"alignment", kRight},
                       {"textInteractionFlags", kSelectable}};
const FormProps kUnit{{"sizePolicy", "Fixed/Minimum"}, {"alignment", kLeft},
                      {"textInteractionFlags", kSelectable}};
const FormProps kHead{{"sizePolicy", "Minimum/Maximum"}, {"alignment", kCentre},
                      {"textInteractionFlags", kSelectable}};

// Bundles of the wind, weather and cloud grids: the same kinds with Muli 10 pt bold of their own.
const FormProps kBoldValue = plus(kValue, {{"font", kBold10}});
const FormProps kBoldCaption = plus(kCaption, {{"font", kBold10}});
const FormProps kBoldUnit = plus(kUnit, {{"font", kBold10}});
const FormProps kBoldHead = plus(kHead, {{"font", kBold10}});

// Runway-adjusted rows: bold, right-aligned, wrapped captions that cannot be selected.
const FormProps kRunwayCaption{{"font", kBold10}, {"alignment", kRight}, {"wordWrap", "true"},
                               {"textInteractionFlags", kNotSelectable}};
const FormProps kRunwayValue{{"font", kBold10}, {"alignment", kRight},
                             {"textInteractionFlags", kNotSelectable}};

FormObject picture(const char* name, const char* cell, const char* path, const char* size)
{
    return {name, "QLabel", "groupBox_4", "gridLayout_2", cell, kEmptyText,
            {{"sizePolicy", "Preferred/Preferred"}, {"font", kBold8},
             {"cursor", "WhatsThisCursor"}, {"toolTip", ""}, {"pixmap", path},
             {"sizeHint", size}, {"scaledContents", "false"}, {"alignment", kCentre},
             {"textInteractionFlags", kSelectable}}};
}

FormObject statusCaption(const char* name, const char* cell, const char* text)
{
    return {name, "QLabel", "groupBox_4", "gridLayout_2", cell, QString::fromUtf8(text),
            {{"enabled", "false"}, {"sizePolicy", "Minimum/Minimum"}, {"font", kBold8},
             {"cursor", "ArrowCursor"}, {"toolTip", ""}, {"alignment", kCentre},
             {"textInteractionFlags", kSelectable}}};
}

FormObject legendButton(const char* name, const char* cell, const QString& text,
                        const char* path)
{
    return {name, "QPushButton", "groupBox_lightninglegend", "gridLayout_lightninglegend", cell,
            text,
            {{"styleSheet", "background-color: rgba(255, 255, 255, 0);\npadding:3px;"},
             {"icon", path}, {"iconSize", "12 x 12"}, {"checkable", "false"}}};
}

const FormProps kVerticalSpacer{{"sizeHint", "20 x 5"}, {"policy", "Minimum/Expanding"}};
const FormProps kSection{{"spacing", "0"}, {"margins", "default, 0, default, default"}};

QVector<FormObject> frameAndLeftColumn()
{
    // The page itself is described with the frame.
    return {
        {"horizontalLayout_2", "QHBoxLayout", "", "pageDashboardTrends", "layout", kNoText,
         {{"spacing", "6"}, {"margins", "0, 24, 24, 0"}}},
        {"scrollArea", "QScrollArea", "pageDashboardTrends", "horizontalLayout_2", "item 0",
         kNoText,
         {{"sizePolicy", "MinimumExpanding/MinimumExpanding"}, {"frameShape", "NoFrame"},
          {"frameShadow", "Plain"}, {"widgetResizable", "true"},
          {"verticalScrollBarPolicy", "ScrollBarAsNeeded"},
          {"horizontalScrollBarPolicy", "ScrollBarAsNeeded"}}},
        {"scrollAreaWidgetContents_2", "QWidget", "", "scrollArea", "content", kNoText, {}},
        {"verticalLayout_31", "QVBoxLayout", "", "scrollAreaWidgetContents_2", "layout", kNoText,
         {{"spacing", "0"}, {"margins", "0, 0, 0, 0"}}},
        {"frame_5", "QFrame", "scrollAreaWidgetContents_2", "verticalLayout_31", "item 0",
         kNoText,
         {{"minimumSize", "492 x 0"}, {"font", kBold8}, {"frameShape", "StyledPanel"},
          {"frameShadow", "Raised"}}},
        {"horizontalLayout_4", "QHBoxLayout", "", "frame_5", "layout", kNoText,
         {{"spacing", "18"}, {"margins", "0, 0, 0, 0"}, {"stretch", "0, 0, 1"}}},
        {"verticalLayout_15", "QVBoxLayout", "", "horizontalLayout_4", "item 0", kNoText,
         {{"spacing", "24"}}},

        // Last observation timestamp
        {"verticalLayout_52", "QVBoxLayout", "", "verticalLayout_15", "item 0", kNoText, kSection},
        {"labelHeaderTime", "QLabel", "frame_5", "verticalLayout_52", "item 0",
         "Last Observation Timestamp", kHeader},
        {"groupBox_5", "QGroupBox", "frame_5", "verticalLayout_52", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Maximum"}, {"font", kBold10}}},
        {"verticalLayout_14", "QVBoxLayout", "", "groupBox_5", "layout", kNoText,
         {{"spacing", "18"}}},
        {"gridLayout_5", "QGridLayout", "", "verticalLayout_14", "item 0", kNoText,
         {{"spacing", "6"}, {"columnStretch", "0, 1"}}},
        {"labelUTC", "QLabel", "groupBox_5", "gridLayout_5", "row 0, column 1", kEmptyText,
         plus(kValue, {{"alignment", kLeft}})},
        {"label_TimestampDevice", "QLabel", "groupBox_5", "gridLayout_5", "row 1, column 0",
         "Device", kCaption},
        {"label_TimestampUtc", "QLabel", "groupBox_5", "gridLayout_5", "row 0, column 0",
         "PC Time (UTC)", kCaption},
        {"labelDeviceTime", "QLabel", "groupBox_5", "gridLayout_5", "row 1, column 1", kEmptyText,
         plus(kValue, {{"alignment", kLeft}})},
        {"label_TimestampWarning", "QLabel", "groupBox_5", "verticalLayout_14", "item 1",
         "[add text]", plus(kPlain, {{"wordWrap", "true"}})},

        // Temperature
        {"verticalLayout_53", "QVBoxLayout", "", "verticalLayout_15", "item 1", kNoText, kSection},
        {"labelHeaderTemperature", "QLabel", "frame_5", "verticalLayout_53", "item 0",
         "Temperature", kHeader},
        {"groupBox_7", "QGroupBox", "frame_5", "verticalLayout_53", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Maximum"}, {"font", kBold10}}},
        {"verticalLayout_35", "QVBoxLayout", "", "groupBox_7", "layout", kNoText,
         {{"spacing", "18"}}},
        {"gridLayout_4", "QGridLayout", "", "verticalLayout_35", "item 0", kNoText,
         {{"spacing", "6"}}},
        {"label_TempCurrent", "QLabel", "groupBox_7", "gridLayout_4", "row 0, column 1", "Current",
         kHead},
        {"label_UnitTempC", "QLabel", "groupBox_7", "gridLayout_4", "row 1, column 4", kDegreeC,
         kUnit},
        {"label_UnitDewC", "QLabel", "groupBox_7", "gridLayout_4", "row 2, column 4", kDegreeC,
         kUnit},
        {"label_UnitHeatIndexC", "QLabel", "groupBox_7", "gridLayout_4", "row 4, column 4",
         kDegreeC, kUnit},
        {"label_Temp24hrMax", "QLabel", "groupBox_7", "gridLayout_4", "row 0, column 3", "24hr Max",
         kHead},
        {"label_Temp24hrMin", "QLabel", "groupBox_7", "gridLayout_4", "row 0, column 2", "24hr Min",
         kHead},
        {"label_UnitRH", "QLabel", "groupBox_7", "gridLayout_4", "row 3, column 4", "%", kUnit},
        {"label24hoursTemperatureMaxC", "QLabel", "groupBox_7", "gridLayout_4", "row 1, column 3",
         kEmptyText, kValue},
        {"label_15", "QLabel", "groupBox_7", "gridLayout_4", "row 4, column 0", "Heat Index",
         kCaption},
        {"labelCurrentTempC", "QLabel", "groupBox_7", "gridLayout_4", "row 1, column 1", kEmptyText,
         kValue},
        {"label24hoursDewPointMinC", "QLabel", "groupBox_7", "gridLayout_4", "row 2, column 2",
         kEmptyText, kValue},
        {"labelRH", "QLabel", "groupBox_7", "gridLayout_4", "row 3, column 1", kEmptyText, kValue},
        {"label_14", "QLabel", "groupBox_7", "gridLayout_4", "row 3, column 0", "Relative Humidity",
         kCaption},
        {"labelHeatIndexC", "QLabel", "groupBox_7", "gridLayout_4", "row 4, column 1", kEmptyText,
         kValue},
        {"label_12", "QLabel", "groupBox_7", "gridLayout_4", "row 2, column 0", "Dew Point",
         kCaption},
        {"labelDewPointC", "QLabel", "groupBox_7", "gridLayout_4", "row 2, column 1", kEmptyText,
         kValue},
        {"label_11", "QLabel", "groupBox_7", "gridLayout_4", "row 1, column 0", "Temperature",
         kCaption},
        {"label24hoursDewPointMaxC", "QLabel", "groupBox_7", "gridLayout_4", "row 2, column 3",
         kEmptyText, kValue},
        {"label24hoursTemperatureMinC", "QLabel", "groupBox_7", "gridLayout_4", "row 1, column 2",
         kEmptyText, kValue},
        {"label_16", "QLabel", "groupBox_7", "gridLayout_4", "row 5, column 0", "Wind Chill",
         kCaption},
        {"label_UnitWindChillC", "QLabel", "groupBox_7", "gridLayout_4", "row 5, column 4",
         kDegreeC, kUnit},
        {"labelWindChillC", "QLabel", "groupBox_7", "gridLayout_4", "row 5, column 1", kEmptyText,
         kValue},

        // Pressure: every label carries its own bold font; the values take spare width.
        {"verticalLayout_54", "QVBoxLayout", "", "verticalLayout_15", "item 2", kNoText, kSection},
        {"labelHeaderPressure", "QLabel", "frame_5", "verticalLayout_54", "item 0", "Pressure",
         kHeader},
        {"groupBox_8", "QGroupBox", "frame_5", "verticalLayout_54", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Preferred"}, {"font", kBold10}}},
        {"verticalLayout_13", "QVBoxLayout", "", "groupBox_8", "layout", kNoText,
         {{"spacing", "18"}}},
        {"gridLayout_13", "QGridLayout", "", "verticalLayout_13", "item 0", kNoText,
         {{"spacing", "6"}}},
        {"", "QSpacerItem", "", "verticalLayout_13", "item 1", kNoText, kVerticalSpacer},
    };
}

QVector<FormObject> pressureAndVisibility()
{
    const FormProps value = plus(kBoldValue, {{"sizePolicy", "Expanding/Preferred"}});
    return {
        {"label_UnitStationPressureInHg", "QLabel", "groupBox_8", "gridLayout_13",
         "row 1, column 2", "inHg", kBoldUnit},
        {"label_UnitAltimeterInHg", "QLabel", "groupBox_8", "gridLayout_13", "row 0, column 2",
         "inHg", kBoldUnit},
        {"label_UnitDAFt", "QLabel", "groupBox_8", "gridLayout_13", "row 4, column 2", "ft",
         kBoldUnit},
        {"label_UnitPressure3hrHpa", "QLabel", "groupBox_8", "gridLayout_13", "row 5, column 2",
         "hPa", kBoldUnit},
        {"label_UnitPAFt", "QLabel", "groupBox_8", "gridLayout_13", "row 3, column 2", "ft",
         kBoldUnit},
        {"labelDA_m", "QLabel", "groupBox_8", "gridLayout_13", "row 4, column 3", kEmptyText,
         value},
        {"labelPA_m", "QLabel", "groupBox_8", "gridLayout_13", "row 3, column 3", kEmptyText,
         value},
        {"labelSLP_hPa", "QLabel", "groupBox_8", "gridLayout_13", "row 2, column 3", kEmptyText,
         value},
        {"labelStationPressure_inHg", "QLabel", "groupBox_8", "gridLayout_13", "row 1, column 1",
         kEmptyText, value},
        {"labelPA_ft", "QLabel", "groupBox_8", "gridLayout_13", "row 3, column 1", kEmptyText,
         value},
        {"labelDA_ft", "QLabel", "groupBox_8", "gridLayout_13", "row 4, column 1", kEmptyText,
         value},
        {"labelALSTG_inHg", "QLabel", "groupBox_8", "gridLayout_13", "row 0, column 1", kEmptyText,
         value},
        {"label3hrChg_hPa", "QLabel", "groupBox_8", "gridLayout_13", "row 5, column 1", kEmptyText,
         value},
        {"labelALSTG_hPa", "QLabel", "groupBox_8", "gridLayout_13", "row 0, column 3", kEmptyText,
         value},
        {"labelStationPressure_hPa", "QLabel", "groupBox_8", "gridLayout_13", "row 1, column 3",
         kEmptyText, value},
        {"label_30", "QLabel", "groupBox_8", "gridLayout_13", "row 1, column 0", "Station",
         kBoldCaption},
        {"label_69", "QLabel", "groupBox_8", "gridLayout_13", "row 3, column 0", "PA",
         kBoldCaption},
        {"label_70", "QLabel", "groupBox_8", "gridLayout_13", "row 4, column 0", "DA",
         kBoldCaption},
        {"label_58", "QLabel", "groupBox_8", "gridLayout_13", "row 0, column 0", "Altimeter",
         kBoldCaption},
        {"label_68", "QLabel", "groupBox_8", "gridLayout_13", "row 2, column 0", "SLP",
         kBoldCaption},
        {"label_71", "QLabel", "groupBox_8", "gridLayout_13", "row 5, column 0",
         QStringLiteral("\u0394 3hr"), kBoldCaption},
        {"label_UnitAltimeterHpa", "QLabel", "groupBox_8", "gridLayout_13", "row 0, column 4",
         "hPa", kBoldUnit},
        {"label_UnitStationPressureHpa", "QLabel", "groupBox_8", "gridLayout_13", "row 1, column 4",
         "hPa", kBoldUnit},
        {"label_UnitSLPHpa", "QLabel", "groupBox_8", "gridLayout_13", "row 2, column 4", "hPa",
         kBoldUnit},
        {"label_UnitPAM", "QLabel", "groupBox_8", "gridLayout_13", "row 3, column 4", "m",
         kBoldUnit},
        {"label_UnitDAM", "QLabel", "groupBox_8", "gridLayout_13", "row 4, column 4", "m",
         kBoldUnit},

        // Visibility: as the pressure grid, but the values keep their size policy.
        {"verticalLayout_57", "QVBoxLayout", "", "verticalLayout_15", "item 3", kNoText, kSection},
        {"labelHeaderVisibility", "QLabel", "frame_5", "verticalLayout_57", "item 0",
         "Visibility", kHeader},
        {"groupBox_11", "QGroupBox", "frame_5", "verticalLayout_57", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Maximum"}, {"font", kBold10}}},
        {"verticalLayout_11", "QVBoxLayout", "", "groupBox_11", "layout", kNoText,
         {{"spacing", "18"}}},
        {"gridLayout_9", "QGridLayout", "", "verticalLayout_11", "item 0", kNoText,
         {{"spacing", "6"}}},
        {"", "QSpacerItem", "", "verticalLayout_11", "item 1", kNoText, kVerticalSpacer},
        {"label_UnitVisSM", "QLabel", "groupBox_11", "gridLayout_9", "row 1, column 2", "SM",
         kBoldUnit},
        {"label_UnitVisM", "QLabel", "groupBox_11", "gridLayout_9", "row 1, column 4", "m",
         kBoldUnit},
        {"labelVisibilityM", "QLabel", "groupBox_11", "gridLayout_9", "row 1, column 3", kEmptyText,
         kBoldValue},
        {"label_111", "QLabel", "groupBox_11", "gridLayout_9", "row 1, column 0", "10 min Vis",
         kBoldCaption},
        {"labelVisibilitySM", "QLabel", "groupBox_11", "gridLayout_9", "row 1, column 1",
         kEmptyText, kBoldValue},
        {"label_112", "QLabel", "groupBox_11", "gridLayout_9", "row 0, column 0", "1 min Vis",
         kBoldCaption},
        {"labelVisibilitySM_1", "QLabel", "groupBox_11", "gridLayout_9", "row 0, column 1",
         kEmptyText, kBoldValue},
        {"label_UnitVisSM_2", "QLabel", "groupBox_11", "gridLayout_9", "row 0, column 2", "SM",
         kBoldUnit},
        {"labelVisibilityM_1", "QLabel", "groupBox_11", "gridLayout_9", "row 0, column 3",
         kEmptyText, kBoldValue},
        {"label_UnitVisM_2", "QLabel", "groupBox_11", "gridLayout_9", "row 0, column 4", "m",
         kBoldUnit},
    };
}

QVector<FormObject> statusSection()
{
    return {
        {"verticalLayout_17", "QVBoxLayout", "", "horizontalLayout_4", "item 1", kNoText,
         {{"spacing", "24"}, {"margins", "default, default, 0, default"}}},
        {"verticalLayout_59", "QVBoxLayout", "", "verticalLayout_17", "item 0", kNoText, kSection},
        {"labelHeaderStatus", "QLabel", "frame_5", "verticalLayout_59", "item 0", "Status",
         kHeader},
        {"groupBox_4", "QGroupBox", "frame_5", "verticalLayout_59", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Maximum"}, {"minimumSize", "200 x 0"}}},
        {"verticalLayout_4", "QVBoxLayout", "", "groupBox_4", "layout", kNoText,
         {{"spacing", "18"}, {"margins", "9, 9, 9, 9"}}},
        {"gridLayout_2", "QGridLayout", "", "verticalLayout_4", "item 0", kNoText,
         {{"spacing", "6"}, {"margins", "0, default, default, default"}}},
        picture("labelBattery", "row 0, column 4", ":/resources/battery-none-grey.png", "29 x 52"),
        statusCaption("label_StatusLightning", "row 1, column 2", "Lightning"),
        statusCaption("label_StatusRain", "row 1, column 1", "Rain"),
        statusCaption("label_StatusCamera", "row 1, column 3", "Camera"),
        {"pushButton_ClearTamperingWarning", "QPushButton", "groupBox_4", "gridLayout_2",
         "row 2, column 0, alignment AlignHCenter", "Clear", {}},
        picture("labelRain", "row 0, column 1", ":/resources/rain-off-grey.png", "53 x 48"),
        picture("labelCamera", "row 0, column 3", ":/resources/camera-off-grey.png", "53 x 42"),
        picture("labelLightning", "row 0, column 2", ":/resources/lightning-off-grey.png",
                "29 x 52"),
        picture("labelWarning", "row 0, column 0", ":/resources/tampering-off-grey.png",
                "53 x 46"),
        statusCaption("label_StatusBattery", "row 1, column 4", "Battery"),
        statusCaption("label_StatusWarning", "row 1, column 0", "Tampering"),
    };
}

QVector<FormObject> windSection()
{
    const FormProps directionHistory =
        plus(kBoldValue, {{"sizePolicy", "Expanding/Preferred"}, {"minimumSize", "45 x 0"}});
    return {
        {"verticalLayout_58", "QVBoxLayout", "", "verticalLayout_17", "item 1", kNoText, kSection},
        {"labelHeaderWind", "QLabel", "frame_5", "verticalLayout_58", "item 0", "Wind", kHeader},
        {"groupBox_6", "QGroupBox", "frame_5", "verticalLayout_58", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Preferred"}}},
        {"verticalLayout_10", "QVBoxLayout", "", "groupBox_6", "layout", kNoText,
         {{"spacing", "24"}, {"margins", "9, 9, 9, 9"}, {"stretch", "0, 0, 0, 0, 1"}}},
        {"gridLayout_19", "QGridLayout", "", "verticalLayout_10", "item 0", kNoText,
         {{"spacing", "6"}}},
        {"gridLayout_8", "QGridLayout", "", "verticalLayout_10", "item 1", kNoText,
         {{"spacing", "6"}}},
        {"verticalLayout_56", "QVBoxLayout", "", "verticalLayout_10", "item 2", kNoText,
         {{"spacing", "0"}, {"margins", "0, 0, 0, 0"}}},
        {"", "QSpacerItem", "", "verticalLayout_10", "item 3", kNoText,
         {{"sizeHint", "500 x 20"}, {"policy", "MinimumExpanding/Minimum"}}},
        {"", "QSpacerItem", "", "verticalLayout_10", "item 4", kNoText, kVerticalSpacer},

        // Picture, current values, runway heading and 2-minute averages
        {"gridLayout_7", "QGridLayout", "", "gridLayout_19", "row 3, column 1", kNoText,
         {{"horizontalSpacing", "0"}, {"verticalSpacing", "6"},
          {"margins", "3, default, 3, default"}}},
        {"", "QSpacerItem", "", "gridLayout_19", "row 3, column 2", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        {"label_WindDirChart", "QLabel", "groupBox_6", "gridLayout_19", "row 1, column 0",
         "Wind Direction", kBoldHead},
        {"gridLayout_20", "QGridLayout", "", "gridLayout_19", "row 5, column 0", kNoText,
         {{"horizontalSpacing", "12"}}},
        {"gridLayout_34", "QGridLayout", "", "gridLayout_19", "row 5, column 1", kNoText,
         {{"horizontalSpacing", "0"}, {"verticalSpacing", "6"},
          {"margins", "3, default, 3, default"}}},
        {"label_WindCurrent", "QLabel", "groupBox_6", "gridLayout_19", "row 2, column 1",
         "Current", kBoldHead},
        {"graphicsViewWind", "QGraphicsView", "groupBox_6", "gridLayout_19",
         "row 2, column 0, spans 2 x 1", kNoText,
         {{"sizePolicy", "Minimum/Minimum"}, {"minimumSize", "270 x 250"},
          {"frameShape", "NoFrame"}, {"frameShadow", "Plain"},
          {"verticalScrollBarPolicy", "ScrollBarAlwaysOff"},
          {"horizontalScrollBarPolicy", "ScrollBarAlwaysOff"},
          {"sizeAdjustPolicy", "AdjustToContents"}, {"mouseTracking", "false"}}},
        {"label_Wind2min", "QLabel", "groupBox_6", "gridLayout_19", "row 4, column 1",
         "2 Minute Average", kBoldHead},

        {"label_UnitWindDirDeg", "QLabel", "groupBox_6", "gridLayout_7", "row 2, column 2", kDegree,
         kBoldUnit},
        {"label_UnitGustKt", "QLabel", "groupBox_6", "gridLayout_7", "row 7, column 2", "kt",
         kBoldUnit},
        {"label_runwayadjusteddirection", "QLabel", "groupBox_6", "gridLayout_7", "row 3, column 0",
         "Runway Adjusted Direction", kRunwayCaption},
        {"labelRunwayAdjustedWindDirection", "QLabel", "groupBox_6", "gridLayout_7",
         "row 3, column 1", kEmptyText,
         {{"alignment", kRight}, {"textInteractionFlags", kNotSelectable}}},
        {"label_131", "QLabel", "groupBox_6", "gridLayout_7", "row 4, column 0", "Speed",
         kBoldCaption},
        {"labelRunwayAdjustedGustDirection", "QLabel", "groupBox_6", "gridLayout_7",
         "row 6, column 1", kEmptyText, kRunwayValue},
        {"label_runwayadjusteddirectionUnits", "QLabel", "groupBox_6", "gridLayout_7",
         "row 3, column 2", kDegree, kPlain},
        {"labelX_Gust", "QLabel", "groupBox_6", "gridLayout_7", "row 10, column 1", kEmptyText,
         kBoldValue},
        {"labelWindSpeed", "QLabel", "groupBox_6", "gridLayout_7", "row 4, column 1", kEmptyText,
         kBoldValue},
        {"labelWindDirection", "QLabel", "groupBox_6", "gridLayout_7", "row 2, column 1",
         kEmptyText, kBoldValue},
        {"label_136", "QLabel", "groupBox_6", "gridLayout_7", "row 5, column 0", "Gust Direction",
         kBoldCaption},
        {"labelRunwayAdjusted_XGust", "QLabel", "groupBox_6", "gridLayout_7", "row 11, column 0",
         "Runway Adjusted X-Gust", kRunwayCaption},
        {"label_xgustrunwayadjustedunits", "QLabel", "groupBox_6", "gridLayout_7",
         "row 11, column 2", "kt",
         {{"font", kBold10}, {"alignment", kLeft}, {"textInteractionFlags", kNotSelectable}}},
        {"label_runwayadjustedgustdirectionUnits", "QLabel", "groupBox_6", "gridLayout_7",
         "row 6, column 2", kDegree, kPlain},
        {"label_runwayadjustedxgustvalue", "QLabel", "groupBox_6", "gridLayout_7",
         "row 11, column 1", kEmptyText, kRunwayValue},
        {"label_140", "QLabel", "groupBox_6", "gridLayout_7", "row 8, column 0", "X-Wind",
         kBoldCaption},
        // The names of the two crosswind unit labels are swapped against their rows.
        {"label_UnitXWindKt", "QLabel", "groupBox_6", "gridLayout_7", "row 10, column 2", "kt",
         kBoldUnit},
        {"labelGustSpeed", "QLabel", "groupBox_6", "gridLayout_7", "row 7, column 1", kEmptyText,
         kBoldValue},
        {"label_UnitWindSpeedKt", "QLabel", "groupBox_6", "gridLayout_7", "row 4, column 2", "kt",
         kBoldUnit},
        {"label_124", "QLabel", "groupBox_6", "gridLayout_7", "row 2, column 0", "Direction",
         kBoldCaption},
        {"gridLayout_18", "QGridLayout", "", "gridLayout_7", "row 12, column 3", kNoText, {}},
        {"label_UnitGustDirDeg", "QLabel", "groupBox_6", "gridLayout_7", "row 5, column 2", kDegree,
         kBoldUnit},
        {"label_134", "QLabel", "groupBox_6", "gridLayout_7", "row 7, column 0", "Gust Speed",
         kBoldCaption},
        {"labelGustDirection", "QLabel", "groupBox_6", "gridLayout_7", "row 5, column 1",
         kEmptyText, kBoldValue},
        {"label_UnitXGustKt", "QLabel", "groupBox_6", "gridLayout_7", "row 8, column 2", "kt",
         kBoldUnit},
        {"labelX_Wind", "QLabel", "groupBox_6", "gridLayout_7", "row 8, column 1", kEmptyText,
         plus(kBoldValue, {{"sizePolicy", "Preferred/Preferred, stretch 3/0"}})},
        {"label_143", "QLabel", "groupBox_6", "gridLayout_7", "row 10, column 0", "X-Gust",
         kBoldCaption},
        {"label_runwayadjustedgustdirection", "QLabel", "groupBox_6", "gridLayout_7",
         "row 6, column 0", "Runway Adjusted Gust Direction", kRunwayCaption},
        {"labelrunwayadjustedxwind", "QLabel", "groupBox_6", "gridLayout_7", "row 9, column 0",
         "Runway Adjusted X-Wind", kRunwayCaption},
        {"label_runwayadjustedxwindvalue", "QLabel", "groupBox_6", "gridLayout_7",
         "row 9, column 1", kEmptyText, kRunwayValue},
        {"label_runawayadjustedxwindunits", "QLabel", "groupBox_6", "gridLayout_7",
         "row 9, column 2", "kt",
         {{"font", kBold10}, {"alignment", kLeft}, {"textInteractionFlags", kNotSelectable}}},

        {"horizontalLayout_18", "QHBoxLayout", "", "gridLayout_20", "row 0, column 1", kNoText,
         {{"spacing", "12"}, {"margins", "0, default, 0, default"}}},
        {"lineEdit_RunwayDirection", "QLineEdit", "groupBox_6", "horizontalLayout_18", "item 0",
         kNoText,
         {{"minimumSize", "35 x 0"}, {"maximumSize", "200 x 16777215"}, {"alignment", kCentre},
          {"inputMask", ""}, {"readOnly", "false"}}},
        {"label_20", "QLabel", "groupBox_6", "horizontalLayout_18", "item 1", kDegree, kPlain},
        {"pushButton_UpdateRunwayDirection", "QPushButton", "groupBox_6", "horizontalLayout_18",
         "item 2", "Set",
         {{"minimumSize", "35 x 0"}, {"maximumSize", "125 x 30"}, {"font", kBold8}}},
        {"pushButton_HideRunway", "QPushButton", "groupBox_6", "horizontalLayout_18", "item 3",
         "Hide", {{"minimumSize", "35 x 0"}, {"maximumSize", "125 x 30"}}},
        {"", "QSpacerItem", "", "horizontalLayout_18", "item 4", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        {"label_13", "QLabel", "groupBox_6", "gridLayout_20", "row 0, column 0",
         "Runway Direction", kPlain},

        {"labelAvgDirectionIn2Minutes", "QLabel", "groupBox_6", "gridLayout_34",
         "row 2, column 1", kEmptyText,
         plus(kBoldValue, {{"minimumSize", "45 x 0"}})},
        {"labelAvgWindIn2Minutes", "QLabel", "groupBox_6", "gridLayout_34", "row 3, column 1",
         kEmptyText, kBoldValue},
        {"label_UnitWindDirDeg_2", "QLabel", "groupBox_6", "gridLayout_34", "row 2, column 2",
         kDegree, kBoldUnit},
        {"label_132", "QLabel", "groupBox_6", "gridLayout_34", "row 3, column 0", "Speed",
         kBoldCaption},
        {"label_UnitWindSpeedKt_2", "QLabel", "groupBox_6", "gridLayout_34", "row 3, column 2",
         "kt", kBoldUnit},
        {"label_127", "QLabel", "groupBox_6", "gridLayout_34", "row 2, column 0", "Direction",
         plus(kBoldCaption, {{"minimumSize", "99 x 0"}})},
        {"gridLayout_39", "QGridLayout", "", "gridLayout_34", "row 4, column 3", kNoText, {}},

        // History
        {"label_Wind10minMin", "QLabel", "groupBox_6", "gridLayout_8", "row 2, column 1", "Min",
         kBoldHead},
        {"label_WindHistory", "QLabel", "groupBox_6", "gridLayout_8",
         "row 0, column 0, spans 1 x 8", "History", kBoldHead},
        {"label_Wind10min", "QLabel", "groupBox_6", "gridLayout_8", "row 1, column 1, spans 1 x 3",
         "10 Minute", kBoldHead},
        {"label_UnitWindDirHistoryDeg", "QLabel", "groupBox_6", "gridLayout_8", "row 3, column 7",
         kDegree, kBoldUnit},
        {"labelMinWindIn1Hour", "QLabel", "groupBox_6", "gridLayout_8", "row 4, column 4",
         kEmptyText, kBoldValue},
        {"label_Wind1hrMin", "QLabel", "groupBox_6", "gridLayout_8", "row 2, column 4", "Min",
         kBoldHead},
        {"labelMinDirectionIn10Minutes", "QLabel", "groupBox_6", "gridLayout_8", "row 3, column 1",
         kEmptyText, directionHistory},
        {"labelMinWindIn10Minutes", "QLabel", "groupBox_6", "gridLayout_8", "row 4, column 1",
         kEmptyText, kBoldValue},
        {"label_153", "QLabel", "groupBox_6", "gridLayout_8", "row 3, column 0", "Direction",
         kBoldCaption},
        {"label_154", "QLabel", "groupBox_6", "gridLayout_8", "row 4, column 0", "Speed",
         kBoldCaption},
        {"labelMaxDirectionIn10Minutes", "QLabel", "groupBox_6", "gridLayout_8", "row 3, column 2",
         kEmptyText, directionHistory},
        {"label_Wind10minMax", "QLabel", "groupBox_6", "gridLayout_8", "row 2, column 2", "Max",
         kBoldHead},
        {"labelMinDirectionIn1Hour", "QLabel", "groupBox_6", "gridLayout_8", "row 3, column 4",
         kEmptyText, directionHistory},
        {"label_UnitWindSpeedHistoryKt", "QLabel", "groupBox_6", "gridLayout_8", "row 4, column 7",
         "kt", kBoldUnit},
        {"label_Wind1hr", "QLabel", "groupBox_6", "gridLayout_8", "row 1, column 4, spans 1 x 3",
         "1 Hour", kBoldHead},
        {"labelMaxDirectionIn1Hour", "QLabel", "groupBox_6", "gridLayout_8", "row 3, column 5",
         kEmptyText, directionHistory},
        {"labelMaxWindIn1Hour", "QLabel", "groupBox_6", "gridLayout_8", "row 4, column 5",
         kEmptyText, kBoldValue},
        {"label_Wind1hrMax", "QLabel", "groupBox_6", "gridLayout_8", "row 2, column 5", "Max",
         kBoldHead},
        {"labelMaxWindIn10Minutes", "QLabel", "groupBox_6", "gridLayout_8", "row 4, column 2",
         kEmptyText, kBoldValue},

        // Weather, nested in the wind group
        {"labelHeaderWeather", "QLabel", "groupBox_6", "verticalLayout_56", "item 0", "Weather",
         kHeader},
        {"groupBox_9", "QGroupBox", "groupBox_6", "verticalLayout_56", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Maximum"}}},
        {"verticalLayout_9", "QVBoxLayout", "", "groupBox_9", "layout", kNoText,
         {{"spacing", "18"}, {"margins", "9, 9, 9, 9"}}},
        {"gridLayout_11", "QGridLayout", "", "verticalLayout_9", "item 0", kNoText,
         {{"spacing", "6"}}},
        {"", "QSpacerItem", "", "verticalLayout_9", "item 1", kNoText, kVerticalSpacer},
        {"gridLayout_26", "QGridLayout", "", "verticalLayout_9", "item 2", kNoText,
         {{"spacing", "6"}}},
        {"labelPresentWeather", "QLabel", "groupBox_9", "gridLayout_11", "row 0, column 1",
         kEmptyText, kBoldValue},
        {"label_175", "QLabel", "groupBox_9", "gridLayout_11", "row 0, column 0", "Present Weather",
         kBoldCaption},
    };
}

QVector<FormObject> precipitation()
{
    const FormProps rightUnit =
        plus(kBoldUnit, {{"sizePolicy", "Minimum/Minimum"}, {"alignment", kRight}});
    return {
        {"label_Precip24", "QLabel", "groupBox_9", "gridLayout_26", "row 3, column 1", kEmptyText,
         kBoldValue},
        {"label_180", "QLabel", "groupBox_9", "gridLayout_26", "row 2, column 0",
         "6 hr Precipitation", kBoldCaption},
        {"label_UnitPrecip24", "QLabel", "groupBox_9", "gridLayout_26", "row 3, column 2", "in",
         rightUnit},
        {"label_176", "QLabel", "groupBox_9", "gridLayout_26", "row 0, column 0",
         "1 hr Precipitation", kBoldCaption},
        {"label_UnitPrecip1", "QLabel", "groupBox_9", "gridLayout_26", "row 0, column 2", "in",
         plus(kBoldUnit, {{"alignment", kRight}})},
        {"label_178", "QLabel", "groupBox_9", "gridLayout_26", "row 3, column 0",
         "24 hr Precipitation", kBoldCaption},
        {"label_Precip1", "QLabel", "groupBox_9", "gridLayout_26", "row 0, column 1", kEmptyText,
         kBoldValue},
        {"label_181", "QLabel", "groupBox_9", "gridLayout_26", "row 1, column 0",
         "3 hr Precipitation", kBoldCaption},
        {"label_Precip6", "QLabel", "groupBox_9", "gridLayout_26", "row 2, column 1", kEmptyText,
         kBoldValue},
        {"label_Precip3", "QLabel", "groupBox_9", "gridLayout_26", "row 1, column 1", kEmptyText,
         kBoldValue},
        {"label_UnitPrecip6", "QLabel", "groupBox_9", "gridLayout_26", "row 2, column 2", "in",
         rightUnit},
        {"label_UnitPrecip3", "QLabel", "groupBox_9", "gridLayout_26", "row 1, column 2", "in",
         rightUnit},
    };
}

QVector<FormObject> rightColumn()
{
    const FormProps layer = plus(kBoldHead, {{"sizePolicy", "Minimum/Minimum"}});
    const FormProps radio = plus(kPlain, {{"font", kBold10}});
    return {
        {"verticalLayout_16", "QVBoxLayout", "", "horizontalLayout_4", "item 2", kNoText,
         {{"spacing", "18"}}},

        // Clouds
        {"verticalLayout_55", "QVBoxLayout", "", "verticalLayout_16", "item 0", kNoText, kSection},
        {"labelHeaderClouds", "QLabel", "frame_5", "verticalLayout_55", "item 0", "Clouds",
         kHeader},
        {"groupBox_10", "QGroupBox", "frame_5", "verticalLayout_55", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Maximum"}, {"font", kBold10}}},
        {"gridLayout_3", "QGridLayout", "", "groupBox_10", "layout", kNoText, {}},
        {"label_UnitLayer2Ft", "QLabel", "groupBox_10", "gridLayout_3", "row 4, column 2", "ft",
         kBoldUnit},
        {"label_98", "QLabel", "groupBox_10", "gridLayout_3", "row 4, column 0", "Layer 2", layer},
        {"label_107", "QLabel", "groupBox_10", "gridLayout_3", "row 5, column 3", "Layer 6", layer},
        {"label_106", "QLabel", "groupBox_10", "gridLayout_3", "row 2, column 3", "Layer 4", layer},
        // Unlike its neighbours: no font of its own, and not selectable.
        {"label_8", "QLabel", "groupBox_10", "gridLayout_3", "row 4, column 3", "Layer 5",
         {{"sizePolicy", "Minimum/Minimum"}, {"alignment", kCentre},
          {"textInteractionFlags", kNotSelectable}}},
        {"label_UnitVertFt", "QLabel", "groupBox_10", "gridLayout_3", "row 0, column 6", "ft",
         kBoldUnit},
        {"labelLayer2Height", "QLabel", "groupBox_10", "gridLayout_3", "row 4, column 1",
         kEmptyText, kBoldValue},
        {"label_94", "QLabel", "groupBox_10", "gridLayout_3", "row 2, column 0", "Layer 1", layer},
        {"label_UnitLayer4Ft", "QLabel", "groupBox_10", "gridLayout_3", "row 4, column 6", "ft",
         kBoldUnit},
        {"labelVerticalVisibility", "QLabel", "groupBox_10", "gridLayout_3", "row 0, column 5",
         kEmptyText, kBoldValue},
        {"label_UnitLayer6Ft", "QLabel", "groupBox_10", "gridLayout_3", "row 5, column 6", "ft",
         kBoldUnit},
        {"label_UnitLayer1Ft", "QLabel", "groupBox_10", "gridLayout_3", "row 2, column 2", "ft",
         kBoldUnit},
        {"label_102", "QLabel", "groupBox_10", "gridLayout_3", "row 5, column 0", "Layer 3", layer},
        {"labelLayer6Height", "QLabel", "groupBox_10", "gridLayout_3", "row 5, column 5",
         kEmptyText, kBoldValue},
        {"label_VerticalVisibility", "QLabel", "groupBox_10", "gridLayout_3",
         "row 0, column 1, spans 1 x 3",
         "Vertical Visibility", kBoldCaption},
        // The feet labels of layers 3, 4 and 5 are named after other layers.
        {"label_UnitLayer5Ft", "QLabel", "groupBox_10", "gridLayout_3", "row 5, column 2", "ft",
         kBoldUnit},
        {"label_UnitLayer3Ft", "QLabel", "groupBox_10", "gridLayout_3", "row 2, column 6", "ft",
         kBoldUnit},
        {"labelLayer1Height", "QLabel", "groupBox_10", "gridLayout_3", "row 2, column 1",
         kEmptyText, kBoldValue},
        {"labelLayer3Height", "QLabel", "groupBox_10", "gridLayout_3", "row 5, column 1",
         kEmptyText, kBoldValue},
        {"labelLayer4Height", "QLabel", "groupBox_10", "gridLayout_3", "row 2, column 5",
         kEmptyText, kBoldValue},
        {"labelLayer5Height", "QLabel", "groupBox_10", "gridLayout_3", "row 4, column 5",
         kEmptyText, kBoldValue},

        // Station radio
        {"verticalLayout_RFStatus", "QVBoxLayout", "", "verticalLayout_16", "item 1", kNoText,
         {{"spacing", "0"}}},
        {"label_headerRadioStatus", "QLabel", "frame_5", "verticalLayout_RFStatus", "item 0",
         "ORVA RADIO Status", kHeader},
        {"groupBox_RadioStatus", "QGroupBox", "frame_5", "verticalLayout_RFStatus", "item 1",
         kEmptyText, {}},
        {"verticalLayout_89", "QVBoxLayout", "", "groupBox_RadioStatus", "layout", kNoText, {}},
        {"gridLayout_43", "QGridLayout", "", "verticalLayout_89", "item 0", kNoText,
         {{"horizontalSpacing", "6"}}},
        {"label_31", "QLabel", "groupBox_RadioStatus", "gridLayout_43", "row 1, column 0",
         "Receive Frequency", radio},
        {"label_32", "QLabel", "groupBox_RadioStatus", "gridLayout_43", "row 2, column 0",
         "Operating Band", radio},
        {"labelRFRxf", "QLabel", "groupBox_RadioStatus", "gridLayout_43", "row 1, column 1",
         "INACTIVE", radio},
        {"label_28", "QLabel", "groupBox_RadioStatus", "gridLayout_43", "row 0, column 0",
         "Transmit Frequency", radio},
        {"labelRFTxf", "QLabel", "groupBox_RadioStatus", "gridLayout_43", "row 0, column 1",
         "INACTIVE",
         plus(radio, {{"wordWrap", "true"}})},
        {"labelRFOperatingBand", "QLabel", "groupBox_RadioStatus", "gridLayout_43",
         "row 2, column 1", "INACTIVE", radio},
    };
}

QVector<FormObject> lightningSection()
{
    const FormProps count{{"alignment", kCentre}, {"margin", "2"},
                          {"textInteractionFlags", kNotSelectable}};
    const FormProps fiveMinutes{{"alignment", kCentre}, {"margin", "0"},
                                {"textInteractionFlags", kNotSelectable}};
    const FormProps nauticalMiles = plus(kPlain, {{"margin", "0"}});
    return {
        {"verticalLayout_19", "QVBoxLayout", "", "verticalLayout_16", "item 2", kNoText, kSection},
        {"labelHeaderLightning", "QLabel", "frame_5", "verticalLayout_19", "item 0", "Lightning",
         kHeader},
        {"groupBox_20", "QGroupBox", "frame_5", "verticalLayout_19", "item 1", kEmptyText, {}},
        {"verticalLayout_45", "QVBoxLayout", "", "groupBox_20", "layout", kNoText,
         {{"spacing", "18"}, {"margins", "default, default, default, 0"}}},
        {"graphicsView_Lightning", "QGraphicsView", "groupBox_20", "verticalLayout_45", "item 0",
         kNoText,
         {{"sizePolicy", "Expanding/Expanding"}, {"minimumSize", "0 x 300"}, {"font", kBold8},
          {"mouseTracking", "true"}}},
        {"groupBox_lightninglegend", "QGroupBox", "groupBox_20", "verticalLayout_45", "item 1",
         kEmptyText, {}},
        {"label_9", "QLabel", "groupBox_20", "verticalLayout_45", "item 2",
         "Range Rings: 5, 10, 25, 50 NM", {{"alignment", kCentre}}},
        {"verticalLayout", "QVBoxLayout", "", "verticalLayout_45", "item 3", kNoText,
         {{"spacing", "6"}, {"margins", "default, 0, default, default"}}},
        {"", "QSpacerItem", "", "verticalLayout_45", "item 4", kNoText, kVerticalSpacer},

        {"verticalLayout_66", "QVBoxLayout", "", "groupBox_lightninglegend", "layout", kNoText,
         {{"spacing", "0"}, {"margins", "default, 0, default, 0"}}},
        {"gridLayout_lightninglegend", "QGridLayout", "", "verticalLayout_66", "item 0", kNoText,
         {{"verticalSpacing", "0"}, {"margins", "default, 0, default, default"}}},
        legendButton("pushButton_lightninglegend_yellow", "row 0, column 1",
                     QStringLiteral(">5 to \u226410 min"),
                     ":/resources/yellowlight_icon_small.png"),
        legendButton("pushButton_lightninglegend_red", "row 0, column 0",
                     QStringLiteral("\u22645 min"), ":/resources/redlight_icon_small.png"),
        legendButton("pushButton_lightninglegend_green", "row 0, column 2",
                     QStringLiteral(">10 to \u226415 min"),
                     ":/resources/greenlight_icon_small.png"),

        {"gridLayout_28", "QGridLayout", "", "verticalLayout", "item 0", kNoText,
         {{"spacing", "4"}, {"margins", "default, 0, default, 0"}}},
        {"label_lightning_sm2", "QLabel", "groupBox_20", "gridLayout_28", "row 2, column 3", " NM",
         nauticalMiles},
        {"label_strikecount_onemin_distance", "QLabel", "groupBox_20", "gridLayout_28",
         "row 1, column 2", "-", count},
        {"lightning_strikecount_one", "QLabel", "groupBox_20", "gridLayout_28", "row 1, column 1",
         "-", count},
        {"label_lightning_sm1", "QLabel", "groupBox_20", "gridLayout_28", "row 1, column 3", " NM",
         nauticalMiles},
        {"lightning_strikecount_sixty", "QLabel", "groupBox_20", "gridLayout_28", "row 3, column 1",
         "-", count},
        {"label_strikecount_sixtymin", "QLabel", "groupBox_20", "gridLayout_28", "row 3, column 0",
         "60 min ", count},
        {"label_lightning_sm3", "QLabel", "groupBox_20", "gridLayout_28", "row 3, column 3", " NM",
         nauticalMiles},
        {"label_strikecount_tenmin", "QLabel", "groupBox_20", "gridLayout_28", "row 2, column 0",
         "10 min ", count},
        {"lightning_strikecount_ten", "QLabel", "groupBox_20", "gridLayout_28", "row 2, column 1",
         "-", count},
        {"label_strikecount_onemin", "QLabel", "groupBox_20", "gridLayout_28", "row 1, column 0",
         "1 min", count},
        {"label_strikecount_tenmin_distance", "QLabel", "groupBox_20", "gridLayout_28",
         "row 2, column 2", "-", count},
        {"label_strikecount_header", "QLabel", "groupBox_20", "gridLayout_28",
         "row 0, column 0, spans 1 x 4",
         "Strike Count        Min Distance", count},
        {"label_strikecount_sixtymin_distance", "QLabel", "groupBox_20", "gridLayout_28",
         "row 3, column 2", "-", count},
        {"label_strikecount_five", "QLabel", "groupBox_20", "gridLayout_28", "row 4, column 0",
         "5 min", fiveMinutes},
        {"label_lightning_nm", "QLabel", "groupBox_20", "gridLayout_28", "row 4, column 3", " NM",
         nauticalMiles},
        {"label_strikecount_fivemin", "QLabel", "groupBox_20", "gridLayout_28", "row 4, column 1",
         "-", fiveMinutes},
        {"label_strikecount_fivemin_distance", "QLabel", "groupBox_20", "gridLayout_28",
         "row 4, column 2", "-", fiveMinutes},
    };
}

} // namespace

QVector<FormObject> dashboardPageObjects()
{
    return frameAndLeftColumn() + pressureAndVisibility() + statusSection() + windSection() +
           precipitation() + rightColumn() + lightningSection();
}
// clang-format on
