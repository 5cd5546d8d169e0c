#pragma once

// The record values that the dashboard and the data table show as they come, each with its
// suffix and "-" when missing. Clearing the views empties the same labels.

#include <QJsonObject>

class Ui_MainGUI;

void showCopiedValues(Ui_MainGUI& ui, const QJsonObject& record);
void clearCopiedValues(Ui_MainGUI& ui);
