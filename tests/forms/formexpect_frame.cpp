// The window itself, its actions, the central widget with the two page stacks, the pages that
// later areas fill, and the status bar.

#include "formcheck.h"

// One row per object; the formatter would give every field a line of its own.
// clang-format off

QVector<FormObject> frameObjects()
{
    const FormProps action{{"checkable", "false"}};
    return {
        {"MainGUI", "QMainWindow", "", "", "", "Vantora Direct",
         {{"size", "1656 x 877"},
          {"sizePolicy", "Preferred/Preferred"},
          {"minimumSize", "1000 x 600"},
          {"font", "Muli, regular"},
          {"windowIcon", ":/resources/norvalis.ico"}}},

        {"actionExit", "QAction", "", "MainGUI", "child", "Exit", action},
        {"actionAbout", "QAction", "", "MainGUI", "child", "About", action},
        {"actionSerial_Connect", "QAction", "", "MainGUI", "child", "Serial Connect", action},
        {"actionDisconnect_2", "QAction", "", "MainGUI", "child", "Disconnect", action},
        {"actionDark_Mode_Default", "QAction", "", "MainGUI", "child", "Dark Mode (Default)",
         {{"checkable", "true"}, {"checked", "true"}}},
        {"actionLight_Mode", "QAction", "", "MainGUI", "child", "Light Mode",
         {{"checkable", "true"}, {"checked", "false"}}},
        {"actionSetup_Connection", "QAction", "", "MainGUI", "child", "Setup Connection...",
         action},

        {"centralwidget", "QWidget", "MainGUI", "MainGUI", "central widget", kNoText,
         {{"sizePolicy", "Expanding/Expanding"}}},
        {"horizontalLayout_5", "QHBoxLayout", "", "centralwidget", "layout", kNoText,
         {{"margins", "0, 0, 0, 0"}}},
        {"stackedWidget_MainLayout", "QStackedWidget", "centralwidget", "horizontalLayout_5",
         "item 0", kNoText,
         {{"sizePolicy", "Expanding/Expanding"}, {"currentIndex", "1"}, {"count", "2"}}},

        {"page_mainLayout", "QWidget", "stackedWidget_MainLayout", "stackedWidget_MainLayout",
         "page 1", kNoText, {{"sizePolicy", "Expanding/Expanding"}}},
        {"horizontalLayout_14", "QHBoxLayout", "", "page_mainLayout", "layout", kNoText,
         {{"margins", "0, 0, 0, 0"}, {"spacing", "24"}}},
        {"stackedWidget_mainPages", "QStackedWidget", "page_mainLayout", "horizontalLayout_14",
         "item 1", kNoText,
         {{"sizePolicy", "Preferred/Preferred"}, {"currentIndex", "0"}, {"count", "9"}}},

        // Pages whose content comes with their own areas.
        {"pageDashboardTrends", "QWidget", "stackedWidget_mainPages", "stackedWidget_mainPages",
         "page 0", kNoText, {}},
        {"pageTable", "QWidget", "stackedWidget_mainPages", "stackedWidget_mainPages", "page 1",
         kNoText, {}},
        {"pageCommand", "QWidget", "stackedWidget_mainPages", "stackedWidget_mainPages", "page 2",
         kNoText, {}},
        {"pageSettings", "QWidget", "stackedWidget_mainPages", "stackedWidget_mainPages", "page 4",
         kNoText, {}},

        {"statusbar", "QStatusBar", "MainGUI", "MainGUI", "status bar", kNoText, {}},
    };
}
// clang-format on
