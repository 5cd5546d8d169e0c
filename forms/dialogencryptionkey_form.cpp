// Makes uic run for the form within the forms library.
#include "ui_dialogencryptionkey.h"
