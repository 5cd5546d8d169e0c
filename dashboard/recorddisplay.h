#pragma once

// How the dashboard and the data table write the values of a weather record. Values travel as
// text and an empty text means "no value"; these rules turn them into what the labels show.

#include <QJsonObject>
#include <QString>

namespace RecordDisplay
{

// The record's text for the key; empty when the key is missing or its value is not a string.
QString text(const QJsonObject& record, const QString& key);

// True for a finite decimal number ("nan" and "inf" are not numbers here).
bool isNumber(const QString& text, double* value = nullptr);
// The number of the text; 0 when it is not a number.
double number(const QString& text);

// "-" for the empty text, otherwise the text followed by the suffix.
QString dash(const QString& text, const QString& suffix = QString());
// The number times the factor in fixed notation ("%.nf").
QString fixed(const QString& text, int decimals, double factor = 1.0);
// The number times the factor like "%g" with six significant digits.
QString general6(const QString& text, double factor = 1.0);
// The number rounded to an integer (halves up), at least three digits, zero-filled: 5 -> "005".
QString threeDigit(const QString& text);
// How many characters of the text are decimal digits.
int countDigits(const QString& text);
// A precipitation total in hundredths: two decimals of the whole unit; the empty text stays empty.
QString precipitation(const QString& hundredths);

// Conversion constants of the dashboard's second units.
constexpr double kHpaPerInHg = 33.8639;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kMetresPerStatuteMile = 1609.34;

} // namespace RecordDisplay
