#pragma once

#include "decoder/sharedtypes.h"

#include <QByteArray>

class MainGUI;

// One row of the ORVA command pages: its command, if it has one, is queued and its status cell
// shows it queued; a row without a command leaves its cell blank.
void queueCommandRow(MainGUI& window, CommandIndex cell, const QByteArray& command);
// A new connection starts with every command row's status cell empty, as at start-up: a cell
// left by the previous unit would report a command the new unit never had.
void clearCommandStatuses(MainGUI& window);
