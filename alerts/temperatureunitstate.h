#pragma once

// The window's temperature display unit. Records and stored temperature thresholds are always in
// degrees Celsius; only what is shown follows the unit. The window holds the unit itself
// (MainGUI::temperatureUnits); these rules take "Fahrenheit is shown" as a flag.

#include <QString>

// "°C" or "°F" (degree sign U+00B0 and the letter).
QString temperatureUnitText(bool fahrenheit);

// The "TEMPUNITS" entry of the settings file: "FAHRENHEIT", else "CELCIUS" (spelled so in the
// files already out there). Reading: only "FAHRENHEIT" gives Fahrenheit.
extern const QString kTemperatureUnitsSettingsKey; // "TEMPUNITS"
QString temperatureUnitsSetting(bool fahrenheit);
bool fahrenheitFromSetting(const QString& value);

// Conversions of shown texts, one decimal, never "-0.0"; every view that shows a temperature in the
// other unit (dashboard, table, alert texts, alert panes) writes it through these. A text that is
// not a finite number counts as 0.
QString celsiusToFahrenheitText(const QString& celsius);
QString fahrenheitToCelsiusText(const QString& fahrenheit);
