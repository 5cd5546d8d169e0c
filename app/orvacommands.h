#pragma once

#include "decoder/sharedtypes.h"

#include <QByteArray>

class MainGUI;

// One row of the ORVA command pages: its command, if it has one, is queued and its status cell
// shows it queued; a row without a command leaves its cell blank.
void queueCommandRow(MainGUI& window, CommandIndex cell, const QByteArray& command);
