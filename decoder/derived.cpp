#include "decoder/weatherdatadecoder.h"

#include <QVector>

#include <cmath>

namespace
{

constexpr double kKnotsToMph = 1.1507794;
constexpr double kMagnusA = 17.271;
constexpr double kMagnusB = 237.7;
constexpr double kLowestElevation = -1000.0;
constexpr double kHighestElevation = 11000.0;

double fahrenheit(double celsius)
{
    return celsius * 1.8 + 32.0;
}

double celsius(double fahrenheit)
{
    return (fahrenheit - 32.0) * 5.0 / 9.0;
}

// Adding 0.0 turns a negative zero into a positive one, so no "-0" reaches the record.
QString generalText(double value)
{
    return QString::number(value + 0.0, 'g', 6);
}

QString oneDecimalText(double value)
{
    QString text = QString::number(value + 0.0, 'f', 1);
    if (text == QLatin1String("-0.0"))
        text.remove(0, 1);
    return text;
}

} // namespace

template <typename Compute> QString WeatherDataDecoder::readOnce(RecordValue which, Compute compute)
{
    CachedValue& cached = cachedValue(which);
    if (cached.filled) {
        for (const QString& error : qAsConst(cached.errors))
            reportFieldError(error);
        return cached.value;
    }
    const int errorsBefore = parseErrors.size();
    cached.value = compute();
    cached.errors = parseErrors.mid(errorsBefore);
    cached.filled = true;
    return cached.value;
}

QString WeatherDataDecoder::calcDewPoint()
{
    return readOnce(DewPointValue, [this]() -> QString {
        const QString temperature = getTemperature();
        const QString humidity = getHumidity();
        if (temperature.isEmpty() || humidity.isEmpty())
            return QString();

        const double t = decimalValue(temperature);
        const double rh = qMax(decimalValue(humidity), 1.0);
        const double g = std::log(rh / 100.0) + kMagnusA * t / (t + kMagnusB);
        const double td = kMagnusB * g / (kMagnusA - g);
        // At -237.7 degrees, or when g reaches the Magnus constant, the formula has no value.
        if (!std::isfinite(td))
            return QString();
        return generalText(roundToStep(td, 0.1));
    });
}

QString WeatherDataDecoder::calcHeatIndex()
{
    return readOnce(HeatIndexValue, [this]() -> QString {
        const QString temperature = getTemperature();
        const QString humidity = getHumidity();
        if (temperature.isEmpty() || humidity.isEmpty())
            return QString();

        const double f = fahrenheit(decimalValue(temperature));
        const double r = decimalValue(humidity);
        double hi = -42.379 + 2.04901523 * f + 10.14333127 * r - 0.22475541 * f * r -
                    0.00683783 * f * f - 0.05481717 * r * r + 0.00122874 * f * f * r +
                    0.00085282 * f * r * r - 0.00000199 * f * f * r * r;
        if (r < 13.0 && f >= 80.0 && f < 112.0)
            hi -= ((13.0 - r) * 0.25) * std::sqrt((17.0 - std::fabs(f - 95.0)) / 17.0);
        if (r > 85.0 && f >= 80.0 && f < 87.0)
            hi += ((r - 85.0) / 10.0) * ((87.0 - f) / 5.0);
        if (f < 80.0)
            hi = 0.5 * (f + 61.0 + (f - 68.0) * 1.2 + r * 0.094);

        const double result = celsius(hi);
        if (!std::isfinite(result))
            return QString();
        return oneDecimalText(roundToStep(result, 0.02));
    });
}

QString WeatherDataDecoder::calcWindChill()
{
    return readOnce(WindChillValue, [this]() -> QString {
        const QString speed = getWindSpeed(false);
        const QString temperature = getTemperature();
        if (speed.isEmpty() || temperature.isEmpty())
            return QString();

        const double v = decimalValue(speed) * kKnotsToMph;
        if (!(v > 3.0))
            return QString();
        const double f = fahrenheit(decimalValue(temperature));
        if (f > 50.0)
            return QString();

        const double v16 = std::pow(v, 0.16);
        const double wc = 35.74 + 0.6215 * f - 35.75 * v16 + 0.4275 * f * v16;
        const double result = celsius(wc);
        if (!std::isfinite(result))
            return QString();
        return generalText(roundToStep(result, 0.02));
    });
}

QString WeatherDataDecoder::calcSeaLevelPressure()
{
    return readOnce(SeaLevelPressureValue, [this]() -> QString {
        if (!isOrva())
            return QString();

        // A unit at sea (a buoy, a ship) may have its elevation switched off: an elevation left
        // out is sea level. Only the unit's no-value says the elevation is not known; the field
        // read empties it, so the unit's own text tells the two apart.
        if (isUnitNoValue(unitFieldValue(QStringLiteral("EL"), 0)))
            return QString();
        // Without a station pressure there is no sea-level pressure to report.
        const QString pressure = getStationPressure();
        if (pressure.isEmpty())
            return QString();
        const double h = decimalValue(getElevation());
        // The reduction assumes the standard lapse rate, which holds from below the lowest
        // land up to 11000 m; outside that an elevation is noise and near the formula's pole
        // it would yield absurd pressures.
        if (h < kLowestElevation || h > kHighestElevation)
            return QString();
        const double p = decimalValue(pressure);
        if (!(p > 0.0))
            return QString();

        const double t = 0.0;
        const double base = 1.0 - 0.0065 * h / (t + 0.0065 * h + 273.15);
        const double slp = p * std::pow(base, -5.257);
        if (!std::isfinite(slp) || !(slp > 0.0))
            return QString();
        return generalText(slp);
    });
}

QString WeatherDataDecoder::calcPressureAltitude()
{
    return readOnce(PressureAltitudeValue, [this]() -> QString {
        const QString pressure = getStationPressure();
        if (pressure.isEmpty())
            return QString();
        const double p = decimalValue(pressure);
        if (p < 337.0 || p > 1084.0)
            return QString();

        const double altitude =
            145366.45 * (1.0 - std::pow(p / stdPressure, pressureAltitudeExponent));
        return generalText(roundToStep(altitude, 10.0));
    });
}

QString WeatherDataDecoder::calcDensityAltitude()
{
    return readOnce(DensityAltitudeValue, [this]() -> QString {
        const QString pressure = getStationPressure();
        const QString temperature = getTemperature();
        const QString humidity = getHumidity();
        if (pressure.isEmpty() || temperature.isEmpty() || humidity.isEmpty())
            return QString();

        const double p = decimalValue(pressure);
        // A zero pressure would pass the formula as a plausible-looking altitude.
        if (!(p > 0.0))
            return QString();
        const QString dewPoint = calcDewPoint();
        if (dewPoint.isEmpty())
            return QString();

        const double tk = decimalValue(temperature) + 273.16;
        const double pin = p / 33.8639;
        const double td = decimalValue(dewPoint);
        const double e = 6.11 * std::pow(10.0, 7.5 * td / (td + 237.7));
        const double tv = tk / (1.0 - 0.378 * e / p);
        const double tvRankine = (tv - 273.16) * 1.8 + 32.0 + 459.69;
        const double altitude = 145366.0 * (1.0 - std::pow(17.326 * pin / tvRankine, 0.235));
        if (!std::isfinite(altitude))
            return QString();
        return generalText(roundToStep(altitude, 10.0));
    });
}

QString WeatherDataDecoder::compassPoint(int degrees) const
{
    static const QVector<QString> points{
        QStringLiteral("N"), QStringLiteral("NE"), QStringLiteral("E"), QStringLiteral("SE"),
        QStringLiteral("S"), QStringLiteral("SW"), QStringLiteral("W"), QStringLiteral("NW")};

    int bearing = degrees % 360;
    if (bearing < 0)
        bearing += 360;
    const int index = static_cast<int>((bearing + 22.5) / 45.0) % 8;
    return points.at(index);
}
