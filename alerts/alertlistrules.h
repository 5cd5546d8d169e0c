#pragma once

// Rules of the alert settings page: which grid row and buttons belong to which parameter and
// direction, the threshold texts of the rows, the stored form of a typed threshold, the audio
// toggle's error texts, and the rewrite of the alerts pane after a temperature unit switch.

#include "alerts/alertstore.h"

#include <QString>
#include <QVector>

struct AlertListRow {
    QString parameter; // definition's parameter text
    QString rowWord;   // middle part of the row's widget names
    QString logWord;   // label text, also the end of the row's log line
    QString errorWord; // word of the audio toggle's error text
    int audioId = -1;  // less-than id in the audio group; greater-than is the next one
    int deleteId = -1; // less-than id in the delete group; greater-than is the next one
};

const QVector<AlertListRow>& alertListRows();
const AlertListRow* alertListRowForParameter(const QString& parameter);

struct AlertRowRef {
    const AlertListRow* row = nullptr; // null: the id names no row
    bool greater = false;
    QString setting() const { return greater ? kAlertGreaterThan : kAlertLessThan; }
    QString direction() const
    {
        return greater ? QStringLiteral("GreaterThan") : QStringLiteral("LessThan");
    }
};

AlertRowRef alertRowForAudioId(int id);
AlertRowRef alertRowForDeleteId(int id);

// "> 30 °C", "< 5 kt": the row's value text. Temperatures are held in Celsius and shown in the
// display unit.
QString alertRowValueText(const AlertDef& def, bool fahrenheit);

// What the add form stores for a typed threshold: temperatures typed in Fahrenheit are kept in
// Celsius, everything else as typed.
QString alertStoredValue(const QString& parameter, const QString& typed, bool fahrenheit);

struct AlertAudioError {
    QString pane;
    QString log;
};
AlertAudioError alertAudioErrorTexts(const AlertRowRef& ref);

// The alerts pane's text with every temperature line rewritten into the new display unit.
// Other lines, and temperature lines too short for their layout, stay as they are.
QString convertAlertPaneText(const QString& text, bool toFahrenheit);
