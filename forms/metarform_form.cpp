// Makes uic run for the report window form inside the forms library.
#include "ui_metarform.h"
