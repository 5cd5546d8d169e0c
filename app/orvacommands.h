#pragma once

#include "decoder/sharedtypes.h"

#include <QByteArray>

class MainGUI;

// One row of the ORVA command pages: its command, if it has one, is queued and its status cell
// shows it queued; a row without a command leaves its cell blank.
void queueCommandRow(MainGUI& window, CommandIndex cell, const QByteArray& command);
// Asks a non-legacy ORVA unit for its reporting frequency and report offset, which set the report
// schedule; a legacy unit knows neither command, and no other unit is asked.
void queueReportScheduleQueries(MainGUI& window);
// A new connection starts with every command row's status cell empty, as at start-up: a cell
// left by the previous unit would report a command the new unit never had.
void clearCommandStatuses(MainGUI& window);
