#pragma once

// What the program's messages leave out of the operator's terminal.

#include <QString>
#include <QtGlobal>

// The warning that setupUi gives for a slot named on_<object>_<signal> whose object has no such
// signal. Several slots keep such names and are connected by hand to the workers' signals, so
// every start would print one line for each that reads like a fault.
bool isUnmatchedSlotWarning(QtMsgType type, const QString& message);

// Installs a handler that drops the warnings above and hands every other message to the handler
// that was in place.
void installOperatorMessageFilter();
