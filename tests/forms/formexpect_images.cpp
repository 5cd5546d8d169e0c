// The camera images page: a time line over a two-by-two grid of pictures with captions.

#include "formcheck.h"

// One row per object; the formatter would give every field a line of its own.
// clang-format off

static FormObject picture(int camera, const char *layout)
{
    return {QStringLiteral("label_image%1").arg(camera), "QLabel", "groupBox_Images", layout,
            "item 0", kEmptyText,
            {{"sizePolicy", "MinimumExpanding/MinimumExpanding"},
             {"minimumSize", "320 x 240"},
             {"sizeIncrement", "4 x 3"},
             {"baseSize", "320 x 240"},
             {"frameShape", "NoFrame"},
             {"frameShadow", "Plain"},
             {"lineWidth", "0"},
             {"scaledContents", "true"},
             {"alignment", "AlignCenter"}}};
}

static FormObject caption(int camera, const char *layout)
{
    return {QStringLiteral("label_camera%1_info").arg(camera), "QLabel", "groupBox_Images", layout,
            "item 1", QStringLiteral("Camera %1").arg(camera),
            {{"sizePolicy", "Minimum/Minimum"}, {"alignment", "AlignCenter"}}};
}

QVector<FormObject> imagesPageObjects()
{
    const FormProps cameraCell{{"stretch", "5, 0"}};
    return {
        {"pageImages", "QWidget", "stackedWidget_mainPages", "stackedWidget_mainPages", "page 3",
         kNoText, {}},
        {"verticalLayout_22", "QVBoxLayout", "", "pageImages", "layout", kNoText,
         {{"margins", "0, 24, 24, 0"}}},
        {"scrollArea_5", "QScrollArea", "pageImages", "verticalLayout_22", "item 0", kNoText,
         {{"frameShape", "NoFrame"}, {"frameShadow", "Plain"}, {"widgetResizable", "true"}}},
        {"scrollAreaWidgetContents_7", "QWidget", "", "scrollArea_5", "content", kNoText, {}},
        {"verticalLayout_40", "QVBoxLayout", "", "scrollAreaWidgetContents_7", "layout", kNoText,
         {{"margins", "0, 0, 0, 0"}}},
        {"verticalLayout_39", "QVBoxLayout", "", "verticalLayout_40", "item 0", kNoText,
         {{"spacing", "0"}}},
        {"label_CameraTime", "QLabel", "scrollAreaWidgetContents_7", "verticalLayout_39", "item 0",
         kEmptyText, {{"alignment", "AlignCenter"}}},
        {"groupBox_Images", "QGroupBox", "scrollAreaWidgetContents_7", "verticalLayout_39",
         "item 1",
         kEmptyText, {}},
        {"gridLayout_16", "QGridLayout", "", "groupBox_Images", "layout", kNoText,
         {{"spacing", "36"}, {"rowStretch", "1, 0, 1"}}},

        {"verticalLayout_38", "QVBoxLayout", "", "gridLayout_16", "row 2, column 1", kNoText,
         cameraCell},
        picture(4, "verticalLayout_38"),
        caption(4, "verticalLayout_38"),
        {"verticalLayout_2", "QVBoxLayout", "", "gridLayout_16", "row 0, column 0", kNoText,
         cameraCell},
        picture(1, "verticalLayout_2"),
        caption(1, "verticalLayout_2"),
        {"verticalLayout_33", "QVBoxLayout", "", "gridLayout_16", "row 0, column 1", kNoText,
         cameraCell},
        picture(2, "verticalLayout_33"),
        caption(2, "verticalLayout_33"),
        {"verticalLayout_37", "QVBoxLayout", "", "gridLayout_16", "row 2, column 0", kNoText,
         cameraCell},
        picture(3, "verticalLayout_37"),
        caption(3, "verticalLayout_37"),
        {"", "QSpacerItem", "", "gridLayout_16", "row 1, column 0", kNoText,
         {{"sizeHint", "20 x 10"}, {"policy", "Minimum/Expanding"}}},
    };
}
// clang-format on
