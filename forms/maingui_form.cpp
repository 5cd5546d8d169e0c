// Including the generated header here makes uic run for the form within this library, and a
// form that stops compiling fails in its own library rather than in the first window that uses it.
#include "ui_maingui.h"
