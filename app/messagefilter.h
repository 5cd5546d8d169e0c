#pragma once

// What the program's messages leave out of the operator's terminal.

#include <QString>
#include <QtGlobal>

// The warning that setupUi gives for a slot named on_<object>_<signal> whose object has no such
// signal, when the slot is one of those that keep such a name but are connected by hand or called
// directly: every start would print one line for each, which reads like a fault. The same warning
// for any other slot (a widget renamed on its form) is no such case.
bool isUnmatchedSlotWarning(QtMsgType type, const QString& message);

// Installs a handler that drops the warnings above and hands every other message to the handler
// that was in place.
void installOperatorMessageFilter();
