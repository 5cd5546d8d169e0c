#include "alerts/temperatureunitstate.h"

const QString kTemperatureUnitsSettingsKey = QStringLiteral("TEMPUNITS");

QString temperatureUnitText(TemperatureUnits units)
{
    return units == TemperatureUnits::Fahrenheit ? QStringLiteral("\u00B0F")
                                                 : QStringLiteral("\u00B0C");
}

QString temperatureUnitsSetting(TemperatureUnits units)
{
    return units == TemperatureUnits::Fahrenheit ? QStringLiteral("FAHRENHEIT")
                                                 : QStringLiteral("CELCIUS");
}

TemperatureUnits temperatureUnitsFromSetting(const QString& value)
{
    return value == QLatin1String("FAHRENHEIT") ? TemperatureUnits::Fahrenheit
                                                : TemperatureUnits::Celsius;
}

QString celsiusToFahrenheitText(const QString& celsius)
{
    return QString::number(celsius.toDouble() * 1.8 + 32.0, 'f', 1);
}

QString fahrenheitToCelsiusText(const QString& fahrenheit)
{
    return QString::number((fahrenheit.toDouble() - 32.0) * 0.5555555555555556, 'f', 1);
}
