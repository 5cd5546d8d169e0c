#include "alerts/alertrules.h"

#include "alerts/temperatureunitstate.h"
#include "decoder/clock.h"

#include <cmath>

namespace
{

QVector<AlertParameter> buildTable()
{
    const QString degC = temperatureUnitText(false);
    const QString degF = temperatureUnitText(true);
    const auto same = [](const QString& name, const QString& key, const QString& unit) {
        return AlertParameter{name, key, unit, unit, false};
    };
    const auto temp = [&](const QString& name, const QString& key) {
        return AlertParameter{name, key, degF, degC, true};
    };
    return {
        temp(QStringLiteral("Temperature"), QStringLiteral("Temperature")),
        same(QStringLiteral("Wind Speed"), QStringLiteral("Wind Speed"), QStringLiteral("kt")),
        same(QStringLiteral("Gust Speed"), QStringLiteral("Gust Speed"), QStringLiteral("kt")),
        same(QStringLiteral("Wind Direction"), QStringLiteral("Wind Direction"),
             QStringLiteral("\u00B0")),
        temp(QStringLiteral("Wind Chill"), QStringLiteral("Wind Chill")),
        same(QStringLiteral("Visibility"), QStringLiteral("Visibility"), QStringLiteral("SM")),
        temp(QStringLiteral("Dew Point"), QStringLiteral("Dewpoint")),
        temp(QStringLiteral("Heat Index"), QStringLiteral("Heat Index")),
        same(QStringLiteral("Altimeter"), QStringLiteral("Altimeter"), QStringLiteral("inHg")),
        same(QStringLiteral("Relative Humidity"), QStringLiteral("Humidity"), QStringLiteral("%")),
        same(QStringLiteral("Station Pressure"), QStringLiteral("Station Pressure"),
             QStringLiteral("inHg")),
        same(QStringLiteral("Sea Level Pressure"), QStringLiteral("Sea Level Pressure"),
             QStringLiteral("inHg")),
        same(QStringLiteral("Pressure Altitude"), QStringLiteral("Pressure Altitude"),
             QStringLiteral("ft")),
        same(QStringLiteral("Density Altitude"), QStringLiteral("Density Altitude"),
             QStringLiteral("ft")),
        same(QStringLiteral("Cross Wind Speed"), QStringLiteral("X Wind"), QStringLiteral("kt")),
        same(QStringLiteral("3Hr Pressure Change"), QStringLiteral("3 Hr Pressure"),
             QStringLiteral("hPa")),
        same(QStringLiteral("Lightning"), QString(), QStringLiteral("NM")),
    };
}

const AlertParameter* findParameter(const QString& name)
{
    for (const AlertParameter& row : alertParameterTable()) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

// One column of the table, in the table's order.
QStringList tableColumn(QString AlertParameter::*column)
{
    QStringList texts;
    for (const AlertParameter& row : alertParameterTable())
        texts.append(row.*column);
    return texts;
}

// Threshold texts are compared as numbers; one that is not a number counts as 0.
double numberOf(const QString& text)
{
    return text.toDouble();
}

} // namespace

const QVector<AlertParameter>& alertParameterTable()
{
    static const QVector<AlertParameter> table = buildTable();
    return table;
}

QStringList alertParameterNames()
{
    return tableColumn(&AlertParameter::name);
}

QStringList alertUnitsImperialList()
{
    return tableColumn(&AlertParameter::unitImperial);
}

QStringList alertUnitsMetricList()
{
    return tableColumn(&AlertParameter::unitMetric);
}

bool isTemperatureParameter(const QString& parameter)
{
    const AlertParameter* row = findParameter(parameter);
    return row && row->temperature;
}

QString alertUnitText(const QString& parameter, bool fahrenheit)
{
    const AlertParameter* row = findParameter(parameter);
    if (!row)
        return QString();
    return fahrenheit ? row->unitImperial : row->unitMetric;
}

AlertEvaluation evaluateAlert(const QString& parameter, const QString& value,
                              const AlertThresholdMap& thresholds, const AlertFlagMap& audio,
                              bool fahrenheit)
{
    AlertEvaluation result;
    // A missing reading is not zero: comparing it would raise "less than" alerts on every gap.
    bool numeric = false;
    const double reading = value.trimmed().toDouble(&numeric);
    if (!numeric || !std::isfinite(reading))
        return result;

    const QString lessKey = alertStoreKey(parameter, kAlertLessThan);
    const QString greaterKey = alertStoreKey(parameter, kAlertGreaterThan);
    const QString unit = alertUnitText(parameter, fahrenheit);
    const bool convert = fahrenheit && isTemperatureParameter(parameter);
    const auto shown = [convert](const QString& celsius) {
        return convert ? celsiusToFahrenheitText(celsius) : celsius;
    };

    const QString valueText = shown(value);
    const double v = numberOf(valueText);
    const bool hasLess = thresholds.contains(lessKey);
    const bool hasGreater = thresholds.contains(greaterKey);

    if (hasLess) {
        const QString less = shown(thresholds.value(lessKey));
        if (hasGreater) {
            const QString greater = shown(thresholds.value(greaterKey));
            if (numberOf(greater) < v && v < numberOf(less)) {
                result.text = parameter + QLatin1Char(' ') + valueText + unit +
                              QStringLiteral(" is in Threshold Range of ") + greater +
                              QStringLiteral(" - ") + less + unit;
            }
        } else if (v < numberOf(less)) {
            result.text = parameter + QLatin1Char(' ') + valueText + unit +
                          QStringLiteral(" is Less Than Threshold of ") + less + unit;
        }
        if (!result.text.isEmpty() && audio.value(lessKey, false))
            result.playSound = true;
    }
    if (hasGreater) {
        if (!hasLess) {
            const QString greater = shown(thresholds.value(greaterKey));
            if (v > numberOf(greater)) {
                result.text = parameter + QLatin1Char(' ') + valueText + unit +
                              QStringLiteral(" is Greater Than Threshold of ") + greater + unit;
            }
        }
        if (!result.text.isEmpty() && audio.value(greaterKey, false))
            result.playSound = true;
    }
    return result;
}

QDateTime alertGateNow()
{
    return QDateTime::fromSecsSinceEpoch(Clock::nowUtc().toSecsSinceEpoch(), Qt::UTC);
}

bool alertGateOpen(const QDateTime& lastRaised, const QDateTime& now, qint64* elapsedMs)
{
    if (elapsedMs)
        *elapsedMs = 0;
    if (!lastRaised.isValid())
        return true;
    const qint64 elapsed = lastRaised.msecsTo(now);
    if (elapsedMs)
        *elapsedMs = elapsed;
    return elapsed > kAlertReraiseMs;
}
