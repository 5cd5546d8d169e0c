#pragma once

// Constants built during static initialisation and only read afterwards, from the GUI thread and
// the link thread alike; nothing may write them after start-up, so they need no lock.

#include <QBrush>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The record keys that a high-speed packet refreshes (defined beside the weather packet step).
extern const QStringList highSpeedKeys;

// Colour names; the window builds its style sheets from them with the prefix "background: ".
extern const QString colorAlertRed;
extern const QString colorButtonBase;

// Solid brushes of the dark theme.
extern const QBrush brushChartGrid;
extern const QBrush brushChartSeries;
extern const QBrush brushTransparent;
extern const QBrush brushWhite;

// Rich-text fragments of the raw-data view.
extern const QString htmlFontLime;
extern const QString htmlFontOrange;
extern const QString htmlFontEnd;

// (module label, module letter) in stack order; the letter starts the module's stack line.
extern const QList<QPair<QString, QString>> modulePrefixes;

// The label of the module whose letter starts a stack line; empty when no module has it.
QString moduleLabelForLine(const QString& stackLine);

// Input validation styles of the radio panel.
extern const QString styleComboInvalid;
extern const QString styleComboNormal;
extern const QString styleLineEditInvalid;
extern const QString styleLineEditNormal;

// (help label object name, tool tip) of the command panel, in the order they are applied.
extern const QList<QPair<QString, QString>> commandHelpTexts;
