#pragma once

// The generated main window form (Ui_MainGUI). Other targets include this header rather than
// "ui_maingui.h" itself: with AUTOUIC on, a direct include makes their own uic step look for
// maingui.ui in their folder and fail.
#include "ui_maingui.h"
