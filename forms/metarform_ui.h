#pragma once

// The generated report window form (Ui_MetarForm); include this rather than "ui_metarform.h".
#include "ui_metarform.h"
