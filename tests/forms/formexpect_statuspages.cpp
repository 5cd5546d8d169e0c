// The module status, notifications, trend plots and raw data pages (pages 5 to 8).

#include "formcheck.h"

// One row per object; the formatter would give every field a line of its own.
// clang-format off

static const char kTreeSheet[] =
    "margin: 10px; \ncolor:#ffffff;\npadding:10px;\n\nQTreeView::item {\nmargin: 10px;\n}";

static QVector<FormObject> trendCell(const QString &position, const char *cell,
                                     const char *groupBox, const char *groupLayout)
{
    const QString cellLayout = QStringLiteral("verticalLayout_Trends") + position;
    const FormProps regular{{"font", "Muli, 10, regular"}};
    return {
        {cellLayout, "QVBoxLayout", "", "gridLayout_17", cell, kNoText,
         {{"spacing", "0"}, {"stretch", "0, 1"}}},
        {QStringLiteral("labelHeaderTrends") + position, "QLabel", "scrollAreaWidgetContents",
         cellLayout, "item 0", kEmptyText, regular},
        {groupBox, "QGroupBox", "scrollAreaWidgetContents", cellLayout, "item 1", kEmptyText,
         regular},
        {groupLayout, "QVBoxLayout", "", groupBox, "layout", kNoText, {}},
        {QStringLiteral("verticalLayoutTrends%1PlotArea").arg(position), "QVBoxLayout", "",
         groupLayout, "item 0", kNoText, {{"spacing", "6"}}},
    };
}

QVector<FormObject> statusPagesObjects()
{
    const FormProps bold{{"font", "Muli, 10, bold"}};
    QVector<FormObject> objects{
        // Module status
        {"pageBitStatus", "QWidget", "stackedWidget_mainPages", "stackedWidget_mainPages", "page 5",
         kNoText, {}},
        {"verticalLayout_63", "QVBoxLayout", "", "pageBitStatus", "layout", kNoText,
         {{"margins", "0, 15, 15, 0"}}},
        {"scrollArea_7", "QScrollArea", "pageBitStatus", "verticalLayout_63", "item 0", kNoText,
         {{"sizePolicy", "Expanding/Expanding"},
          {"frameShape", "NoFrame"},
          {"frameShadow", "Plain"},
          {"widgetResizable", "true"}}},
        {"scrollAreaWidgetContents_9", "QWidget", "", "scrollArea_7", "content", kNoText,
         {{"sizePolicy", "Expanding/Expanding"}}},
        {"gridLayout_30", "QGridLayout", "", "scrollAreaWidgetContents_9", "layout", kNoText,
         {{"margins", "0, default, default, 0"}, {"verticalSpacing", "0"}}},
        {"verticalLayout_ConnectionSection_2", "QVBoxLayout", "", "gridLayout_30",
         "row 0, column 0", kNoText,
         {{"spacing", "0"}, {"margins", "default, 0, default, default"}}},
        {"labelbitStatus_header", "QLabel", "scrollAreaWidgetContents_9",
         "verticalLayout_ConnectionSection_2", "item 0", "Module Status", bold},
        {"groupBox_BitStatus", "QGroupBox", "scrollAreaWidgetContents_9",
         "verticalLayout_ConnectionSection_2", "item 1", kEmptyText,
         {{"sizePolicy", "Expanding/Expanding"}, {"font", "Muli, 10, bold"}}},
        {"verticalLayout_62", "QVBoxLayout", "", "groupBox_BitStatus", "layout", kNoText, {}},
        {"gridLayout_15", "QGridLayout", "", "verticalLayout_62", "item 0", kNoText,
         {{"horizontalSpacing", "48"}, {"verticalSpacing", "24"}}},
        {"horizontalLayout_17", "QHBoxLayout", "", "gridLayout_15", "row 2, column 0", kNoText,
         {{"margins", "default, default, 15, default"}}},
        {"treeViewBitStatus", "QTreeView", "groupBox_BitStatus", "horizontalLayout_17", "item 0",
         kNoText,
         {{"sizePolicy", "Minimum/Expanding"},
          {"font", "Muli, 12, regular"},
          {"styleSheet", kTreeSheet}}},
        {"horizontalLayout_16", "QHBoxLayout", "", "gridLayout_15", "row 0, column 0", kNoText,
         {{"margins", "default, default, 15, default"}}},
        {"horizontalLayout_19", "QHBoxLayout", "", "gridLayout_15", "row 3, column 0", kNoText,
         {{"spacing", "48"}}},
        {"waitingBitStatusMessage", "QLabel", "groupBox_BitStatus", "gridLayout_15",
         "row 1, column 0", "Waiting for Bit Status Data Packet...", {}},

        // Notifications
        {"pageNotifications", "QWidget", "stackedWidget_mainPages", "stackedWidget_mainPages",
         "page 6", kNoText, {}},
        {"verticalLayout_70", "QVBoxLayout", "", "pageNotifications", "layout", kNoText,
         {{"margins", "0, 25, 15, 0"}}},
        {"verticalLayout_74", "QVBoxLayout", "", "verticalLayout_70", "item 0", kNoText,
         {{"spacing", "0"}, {"margins", "default, 0, default, default"}}},
        {"labelHeaderNotifications", "QLabel", "pageNotifications", "verticalLayout_74", "item 0",
         "Notifications", bold},
        {"groupBox_21", "QGroupBox", "pageNotifications", "verticalLayout_74", "item 1", kEmptyText,
         bold},
        {"verticalLayout_65", "QVBoxLayout", "", "groupBox_21", "layout", kNoText, {}},
        {"gridLayout_32", "QGridLayout", "", "verticalLayout_65", "item 0", kNoText,
         {{"margins", "default, 0, default, default"}}},
        {"", "QSpacerItem", "", "gridLayout_32", "row 1, column 1", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        {"pushButton_clearNotifications", "QPushButton", "groupBox_21", "gridLayout_32",
         "row 1, column 2", "Clear Notifications", {}},
        {"tabWidget_Notifications", "QTabWidget", "groupBox_21", "verticalLayout_65", "item 1",
         kNoText, {{"currentIndex", "2"}, {"count", "3"}}},
        {"tab_ActiveAlerts", "QWidget", "", "tabWidget_Notifications", "tab 0", "Alerts", {}},
        {"verticalLayout_44", "QVBoxLayout", "", "tab_ActiveAlerts", "layout", kNoText, {}},
        {"textEdit_ActiveAlerts", "QTextEdit", "tab_ActiveAlerts", "verticalLayout_44", "item 0",
         kNoText, {{"styleSheet", "color: #ee9c37;"}, {"readOnly", "true"}}},
        {"tab_ErrorMsgs", "QWidget", "", "tabWidget_Notifications", "tab 1", "Error Messages", {}},
        {"verticalLayout_72", "QVBoxLayout", "", "tab_ErrorMsgs", "layout", kNoText, {}},
        {"textEdit_ErrorMsgs", "QTextEdit", "tab_ErrorMsgs", "verticalLayout_72", "item 0", kNoText,
         {{"styleSheet", "color: #C62828;"}, {"readOnly", "true"}}},
        {"tab_SysMsgs", "QWidget", "", "tabWidget_Notifications", "tab 2", "System Messages", {}},
        {"verticalLayout_73", "QVBoxLayout", "", "tab_SysMsgs", "layout", kNoText, {}},
        {"verticalLayout_68", "QVBoxLayout", "", "verticalLayout_73", "item 0", kNoText, {}},
        {"textEdit_SysMsgs", "QTextEdit", "tab_SysMsgs", "verticalLayout_68", "item 0", kNoText,
         {{"readOnly", "true"}}},

        // Trend plots
        {"pageTrends", "QWidget", "stackedWidget_mainPages", "stackedWidget_mainPages", "page 7",
         kNoText, {}},
        {"verticalLayout_18", "QVBoxLayout", "", "pageTrends", "layout", kNoText,
         {{"margins", "0, 24, 24, 0"}, {"spacing", "18"}}},
        {"scrollArea_4", "QScrollArea", "pageTrends", "verticalLayout_18", "item 0", kNoText,
         {{"frameShape", "NoFrame"}, {"frameShadow", "Plain"}, {"widgetResizable", "true"}}},
        {"scrollAreaWidgetContents", "QWidget", "", "scrollArea_4", "content", kNoText, {}},
        {"gridLayout_17", "QGridLayout", "", "scrollAreaWidgetContents", "layout", kNoText,
         {{"margins", "0, 0, 0, 0"}, {"spacing", "24"}}},
    };
    objects << trendCell("UpperLeft", "row 0, column 0", "groupBox_16", "verticalLayout_46")
            << trendCell("UpperRight", "row 0, column 1", "groupBox_18", "verticalLayout_48")
            << trendCell("LowerLeft", "row 1, column 0", "groupBox_17", "verticalLayout_47")
            << trendCell("LowerRight", "row 1, column 1", "groupBox_19", "verticalLayout_49");

    objects << QVector<FormObject>{
        // Raw data
        {"pageRawData", "QWidget", "stackedWidget_mainPages", "stackedWidget_mainPages", "page 8",
         kNoText, {}},
        {"verticalLayout_71", "QVBoxLayout", "", "pageRawData", "layout", kNoText,
         {{"margins", "0, 25, 15, 0"}}},
        {"verticalLayout_28", "QVBoxLayout", "", "verticalLayout_71", "item 0", kNoText,
         {{"spacing", "0"}, {"margins", "default, 0, default, default"}}},
        {"labelHeaderRawData", "QLabel", "pageRawData", "verticalLayout_28", "item 0", "Raw Data",
         bold},
        {"groupBox_14", "QGroupBox", "pageRawData", "verticalLayout_28", "item 1", kEmptyText,
         bold},
        {"verticalLayout_26", "QVBoxLayout", "", "groupBox_14", "layout", kNoText, {}},
        {"textEditRawData", "QTextEdit", "groupBox_14", "verticalLayout_26", "item 0", kNoText,
         {{"font", "Muli, 12, regular"}, {"frameShadow", "Raised"}, {"readOnly", "true"}}},
        {"horizontalLayout_211", "QHBoxLayout", "", "verticalLayout_26", "item 1", kNoText,
         {{"margins", "default, 0, default, default"}}},
        {"label_rawSendMsg", "QLabel", "groupBox_14", "horizontalLayout_211", "item 0", "Message",
         {}},
        {"lineEdit_rawSendMsg", "QLineEdit", "groupBox_14", "horizontalLayout_211", "item 1",
         kNoText, {}},
        {"pushButton_rawSendMsg", "QPushButton", "groupBox_14", "horizontalLayout_211", "item 2",
         "Send", {}},
    };
    return objects;
}
// clang-format on
