#include "alerts/temperatureunitstate.h"

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

QString celsiusToFahrenheitText(const QString& celsius)
{
    return QString::number(celsius.toDouble() * 1.8 + 32.0, 'f', 1);
}

QString fahrenheitToCelsiusText(const QString& fahrenheit)
{
    return QString::number((fahrenheit.toDouble() - 32.0) * 0.5555555555555556, 'f', 1);
}
