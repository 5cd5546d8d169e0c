#include "alerts/temperatureunitstate.h"

#include <cmath>

const QString kTemperatureUnitsSettingsKey = QStringLiteral("TEMPUNITS");

QString temperatureUnitText(bool fahrenheit)
{
    return fahrenheit ? QStringLiteral("\u00B0F") : QStringLiteral("\u00B0C");
}

QString temperatureUnitsSetting(bool fahrenheit)
{
    return fahrenheit ? QStringLiteral("FAHRENHEIT") : QStringLiteral("CELCIUS");
}

bool fahrenheitFromSetting(const QString& value)
{
    return value == QLatin1String("FAHRENHEIT");
}

namespace
{

// One decimal; a text that is not a finite number counts as 0, and a value that rounds to zero
// from below is written "0.0", not "-0.0", which would read as below zero.
QString oneDecimal(double value)
{
    QString text = QString::number(value, 'f', 1);
    if (text == QLatin1String("-0.0"))
        text.remove(0, 1);
    return text;
}

double numberOf(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

} // namespace

QString celsiusToFahrenheitText(const QString& celsius)
{
    return oneDecimal(numberOf(celsius) * 1.8 + 32.0);
}

QString fahrenheitToCelsiusText(const QString& fahrenheit)
{
    return oneDecimal((numberOf(fahrenheit) - 32.0) * 0.5555555555555556);
}
