// The encryption key page (page 0 of the outer stack) and the menu column beside the pages.

#include "formcheck.h"

// One row per object; the formatter would give every field a line of its own.
// clang-format off

static FormObject menuButton(const char *name, int item, const char *text, const char *icon,
                             const char *policy = "Preferred/Preferred",
                             const char *sheet = "text-align:left")
{
    return {name, "QPushButton", "frameMenu", "verticalLayout_MainMenu",
            QStringLiteral("item %1").arg(item), QString::fromLatin1(text),
            {{"sizePolicy", QString::fromLatin1(policy)},
             {"font", "Muli, 10, regular"},
             {"styleSheet", QString::fromLatin1(sheet)},
             {"icon", QString::fromLatin1(icon)},
             {"iconSize", "25 x 25"},
             {"checkable", "true"},
             {"checked", "false"}}};
}

QVector<FormObject> menuAndKeyPageObjects()
{
    const FormProps centred{{"alignment", "AlignCenter"}};
    return {
        {"page_encryptionStart", "QWidget", "stackedWidget_MainLayout", "stackedWidget_MainLayout",
         "page 0", kNoText, {}},
        {"verticalLayout_76", "QVBoxLayout", "", "page_encryptionStart", "layout", kNoText, {}},
        {"verticalLayout_69", "QVBoxLayout", "", "verticalLayout_76", "item 0", kNoText, {}},
        {"gridLayout_42", "QGridLayout", "", "verticalLayout_69", "item 0", kNoText, {}},

        {"label_encryptionKeyProgramMessage", "QLabel", "page_encryptionStart", "gridLayout_42",
         "row 7, column 1, spans 1 x 2", "Encryption key required to view data", centred},
        {"", "QSpacerItem", "", "gridLayout_42", "row 4, column 0", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        {"lineEdit_enterEncryptionKey", "QLineEdit", "page_encryptionStart", "gridLayout_42",
         "row 3, column 1, spans 1 x 2", kNoText, {{"echoMode", "Normal"}}},
        {"pushButton_enterEncryptionKeyProgram", "QPushButton", "page_encryptionStart",
         "gridLayout_42", "row 4, column 1, spans 1 x 2", "Set Encryption Key", {}},
        {"", "QSpacerItem", "", "gridLayout_42", "row 0, column 1", kNoText,
         {{"sizeHint", "20 x 40"}, {"policy", "Minimum/Expanding"}}},
        {"label_encryptionKeyEnter", "QLabel", "page_encryptionStart", "gridLayout_42",
         "row 1, column 1, spans 1 x 2", "Please Input Encryption Key", centred},
        {"label_loadingEncryptionKey", "QLabel", "page_encryptionStart", "gridLayout_42",
         "row 6, column 1, spans 1 x 2", "Loading", centred},
        {"pushButton_forceSelectKeyFile", "QPushButton", "page_encryptionStart", "gridLayout_42",
         "row 2, column 1, spans 1 x 2", "Select File with Key Info", {}},
        {"", "QSpacerItem", "", "gridLayout_42", "row 8, column 1", kNoText,
         {{"sizeHint", "20 x 40"}, {"policy", "Minimum/Expanding"}}},
        {"", "QSpacerItem", "", "gridLayout_42", "row 4, column 3", kNoText,
         {{"sizeHint", "40 x 20"}, {"policy", "Expanding/Minimum"}}},
        {"pushButton_forgotCurrentEncryptionKey", "QPushButton", "page_encryptionStart",
         "gridLayout_42", "row 5, column 1, spans 1 x 2", "Forgot Key?", {}},

        {"frameMenu", "QFrame", "page_mainLayout", "horizontalLayout_14", "item 0", kNoText,
         {{"sizePolicy", "Fixed/MinimumExpanding"},
          {"frameShape", "NoFrame"},
          {"frameShadow", "Plain"}}},
        {"verticalLayout_27", "QVBoxLayout", "", "frameMenu", "layout", kNoText,
         {{"margins", "0, 0, 0, 0"}, {"spacing", "0"}}},
        {"verticalLayout_7", "QVBoxLayout", "", "verticalLayout_27", "item 0", kNoText,
         {{"margins", "0, 0, 0, 0"}, {"stretch", "0, 0, 1"}}},
        {"verticalLayout_Logo", "QVBoxLayout", "", "verticalLayout_7", "item 0", kNoText,
         {{"margins", "36, 24, 36, 48"}, {"spacing", "36"}}},
        {"labelLogo", "QLabel", "frameMenu", "verticalLayout_Logo", "item 0", kNoText,
         {{"sizePolicy", "Fixed/Fixed"},
          {"pixmap", ":/resources/Vantora Logo 150x50.png"},
          {"scaledContents", "true"},
          {"alignment", "AlignCenter"}}},
        {"verticalLayout_36", "QVBoxLayout", "", "verticalLayout_Logo", "item 1", kNoText,
         {{"spacing", "0"}}},
        {"labelConnectedTo", "QLabel", "frameMenu", "verticalLayout_36", "item 0", "Connected To",
         {{"sizePolicy", "Expanding/Preferred"},
          {"font", "Muli, 7, bold"},
          {"alignment", "AlignCenter"}}},
        {"labelUnitType", "QLabel", "frameMenu", "verticalLayout_36", "item 1", kEmptyText,
         {{"sizePolicy", "Preferred/Preferred"},
          {"font", "Muli, 18, bold"},
          {"alignment", "AlignCenter"}}},
        {"labelMenuSpacer", "QLabel", "frameMenu", "verticalLayout_7", "item 1", kEmptyText,
         {{"sizePolicy", "MinimumExpanding/Minimum"}, {"maximumSize", "16777215 x 5"}}},
        {"verticalLayout_MainMenu", "QVBoxLayout", "", "verticalLayout_7", "item 2", kNoText, {}},

        menuButton("pushButtonDashboard", 0, "  Dashboard", ":/resources/icon-dashboard.png"),
        menuButton("pushButtonTable", 1, "  Table", ":/resources/icon-table.png"),
        menuButton("pushButtonTrends", 2, "  Trend Plots", ":/resources/icon-trends.png"),
        menuButton("pushButtonCommand", 3, "  Command", ":/resources/icon-command.png"),
        // Keeps the push button's own policy (Minimum/Fixed): its height never grows.
        menuButton("pushButtonRawData", 4, "  Raw Data", ":/resources/icon-rawdata.png",
                   "Minimum/Fixed"),
        menuButton("pushButtonImages", 5, "  Images", ":/resources/icon-images.png"),
        menuButton("pushButtonBitStatus", 6, "  Bit Status",
                   ":/resources/status_icon_grey_transparent.png"),
        menuButton("pushButtonNotifications", 7, "  Notifications                          ",
                   ":/resources/notifications_icon.png", "Preferred/Preferred, stretch 1/0",
                   "text-align: left;"),
        menuButton("pushButtonSettings", 8, "  Settings", ":/resources/icon-settings.png"),

        {"pushButton_show_live_data", "QPushButton", "frameMenu", "verticalLayout_MainMenu",
         "item 9", "Historical Data Active:\nClick to Show Live Data",
         {{"sizePolicy", "Minimum/Minimum"}, {"minimumSize", "0 x 100"}, {"checkable", "false"}}},
        {"", "QSpacerItem", "", "verticalLayout_MainMenu", "item 10", kNoText,
         {{"sizeHint", "20 x 40"}, {"policy", "Minimum/Expanding"}}},
    };
}
// clang-format on
