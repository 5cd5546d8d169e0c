#pragma once

// What decides whether a value raises an alert: the seventeen alert parameters, their units,
// the threshold comparison with its exact texts, and the per-parameter re-raise gate.

#include "alerts/alertstore.h"
#include "alerts/temperatureunitstate.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

struct AlertParameter {
    QString name;         // shown to the operator; first part of every store key and alert text
    QString recordKey;    // weather record key of the value; empty for "Lightning"
    QString unitImperial; // unit text while Fahrenheit is shown
    QString unitMetric;   // unit text while Celsius is shown
    bool temperature = false;
};

// In the order of the add-alert form's parameter list.
const QVector<AlertParameter>& alertParameterTable();
QStringList alertParameterNames();
QStringList alertUnitsImperialList();
QStringList alertUnitsMetricList();

// "Temperature", "Wind Chill", "Dew Point", "Heat Index": held in Celsius, shown in either unit.
bool isTemperatureParameter(const QString& parameter);

// The unit text of the parameter in the given display unit; empty for an unknown parameter.
QString alertUnitText(const QString& parameter, bool fahrenheit);

struct AlertEvaluation {
    QString text;           // empty when no threshold is crossed
    bool playSound = false; // the audio flag of a direction that raised is on
};

// Compares one value with the parameter's thresholds (strictly). A parameter with both directions
// raises only inside the open range between its greater-than and less-than thresholds. While
// Fahrenheit is shown, temperature values and thresholds are compared and written in Fahrenheit.
// A value that is not a number (missing, empty, "-") is never compared.
AlertEvaluation evaluateAlert(const QString& parameter, const QString& value,
                              const AlertThresholdMap& thresholds, const AlertFlagMap& audio,
                              bool fahrenheit);

// Re-raise gate: after a parameter raised, none of its alerts is raised again until more than
// this many milliseconds have passed.
constexpr qint64 kAlertReraiseMs = 300000;

// The gate's clock reading: now in UTC, cut to whole seconds.
QDateTime alertGateNow();

// True when a value may be evaluated: never raised (invalid time) or more than kAlertReraiseMs
// since the last raise. *elapsedMs receives the milliseconds since the last raise (0 if none).
bool alertGateOpen(const QDateTime& lastRaised, const QDateTime& now, qint64* elapsedMs = nullptr);
