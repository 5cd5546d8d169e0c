#include "decoder/fieldnumber.h"
#include "decoder/weatherdatadecoder.h"

#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kMaxReportedSpeed = 99.0;
constexpr int kThunderPersistenceMinutes = 15;

// The wind fields: a missing value is -1.
double windNumber(const QString& validated)
{
    return validated.isEmpty() ? -1.0 : validated.toDouble();
}

// Direction range bounds are whole degrees; a bound with a fractional part reads as 0.
int rangeBound(const QString& raw)
{
    const QString validated = validDouble(raw);
    if (validated.isEmpty())
        return -1;
    bool whole = false;
    const int value = validated.toInt(&whole);
    return whole ? value : 0;
}

double roundToTens(double value)
{
    return std::round(value / 10.0) * 10.0;
}

QString twoDigits(double value)
{
    return formatReportNumber(value, 2);
}

QString threeDigits(double value)
{
    return formatReportNumber(value, 3);
}

// Degrees between the bounds of a direction range, clockwise; equal bounds are a full turn.
// Bounds come from the wire: the difference is taken wide so that it cannot overflow.
qint64 rangeExtent(int rangeLow, int rangeHigh)
{
    const qint64 lowBound = rangeLow;
    const qint64 highBound = rangeHigh;
    const qint64 extent = lowBound < highBound ? highBound - lowBound : highBound - lowBound + 360;
    return extent == 0 ? 360 : extent;
}

// Temperatures are written "M" for a value that rounds below zero, then two digits.
QString temperatureDigits(double value)
{
    const QString whole = formatReportNumber(value, 0);
    if (whole.startsWith(QLatin1Char('-')))
        return QLatin1Char('M') + whole.mid(1).rightJustified(2, QLatin1Char('0'));
    return whole.rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString formatReportNumber(double value, int width)
{
    if (!std::isfinite(value))
        return QString();
    // Snapping to 15 significant digits first makes a decimal half such as 0.15 x 10, which
    // the binary product leaves a hair below 1.5, round as its decimal text reads. Below 1e9 the
    // snap moves a value by less than 1e-6, so it can change the rounding only within 1e-5 of a
    // half; whole values and values further from a half round the same without it.
    // Beyond 1e15 every double is whole already, and the text could overflow back to inf.
    const double magnitude = std::fabs(value);
    double whole = value;
    if (magnitude >= 1e9 || std::fabs(magnitude - std::floor(magnitude) - 0.5) <= 1e-5)
        whole = magnitude < 1e15 ? QString::number(value, 'g', 15).toDouble() : value;
    whole = std::round(whole);
    if (whole == 0.0)
        whole = 0.0; // a negative zero must not print its sign
    const bool negative = whole < 0.0;
    // Whole values below 1e15 are exact in an integer, which formats far faster than a double.
    QString digits = std::fabs(whole) < 1e15
                         ? QString::number(static_cast<qint64>(std::fabs(whole)))
                         : QString::number(std::fabs(whole), 'f', 0);
    const int digitWidth = width - (negative ? 1 : 0);
    if (digits.size() < digitWidth)
        digits.prepend(QString(digitWidth - digits.size(), QLatin1Char('0')));
    return negative ? QLatin1Char('-') + digits : digits;
}

bool WeatherDataDecoder::isSpeci()
{
    if (deviceType == static_cast<int>(DeviceTypes::BRQ)) {
        return getFieldValue(QStringLiteral("N"), 1).toUpper().endsWith(QLatin1Char('S')) &&
               !getFieldValue(QStringLiteral("T"), 0).startsWith(QLatin1Char('-'));
    }
    if (isOrva())
        return recordText.left(6).contains(QLatin1String("@2"));
    return false;
}

QString WeatherDataDecoder::metarVisibilityGroup(double visibility) const
{
    if (std::isnan(visibility))
        return QString();
    if (visibility < 0.0)
        return QStringLiteral("////");

    struct Row {
        double upTo;
        const char* group;
    };
    static const Row rows[] = {
        {0.25, "M1/4SM"}, {0.375, "1/4SM"},   {0.625, "1/2SM"},   {0.875, "3/4SM"},
        {1.125, "1SM"},   {1.375, "1 1/4SM"}, {1.625, "1 1/2SM"}, {1.875, "1 3/4SM"},
        {2.5, "2SM"},     {3.5, "3SM"},       {4.5, "4SM"},       {5.5, "5SM"},
    };
    for (const Row& row : rows) {
        if (visibility <= row.upTo)
            return QString::fromLatin1(row.group);
    }
    return visibility < 6.2 ? QStringLiteral("6SM") : QStringLiteral("10SM");
}

int WeatherDataDecoder::minutesBetween(int hour1, int minute1, int hour2, int minute2) const
{
    const QTime first(hour1, minute1);
    const QTime second(hour2, minute2);
    if (!first.isValid() || !second.isValid())
        return 0;
    const int minutes = std::abs(first.secsTo(second)) / 60;
    return minutes <= 720 ? minutes : 1440 - minutes;
}

void WeatherDataDecoder::setMetarTimeFromDayTime(const QString& dayTime)
{
    metarHour = dayTime.mid(2, 2).toInt();
    metarMinute = dayTime.mid(4, 2).toInt();
}

QString WeatherDataDecoder::createMetar()
{
    MetarBodyValues body;
    QString report = metarHeading(body);
    appendMetarWind(report, body);
    const QString visibilityText = appendMetarVisibility(report);
    appendMetarSquallAndLightning(report);
    const QString thunder = orvaThunderGroup(body.dayTime);
    appendMetarWeather(report, body, thunder);
    QString freezingFog;
    if (isOrva()) {
        freezingFog = getFreezingFog();
        report += freezingFog;
        if (!report.endsWith(QLatin1Char(' ')))
            report += QLatin1Char(' ');
    }
    appendMetarSky(report, body, freezingFog, visibilityText);
    appendMetarTemperature(report, body);

    const QString altimeter = validDouble(getFieldValue(QStringLiteral("BA"), 1));
    if (getGpsText() != QLatin1String("No GPS") && !altimeter.isEmpty() &&
        altimeter.toDouble() > noValue)
        report += QLatin1Char('A') + formatReportNumber(altimeter.toDouble(), 4) + QLatin1Char(' ');

    appendMetarRemarks(report, body);
    // Entries left now were there for this unit's record.
    newCompassEntries = 0;
    return report;
}

// Report type, station, day and time; the time is kept in the body for the remarks.
QString WeatherDataDecoder::metarHeading(MetarBodyValues& body)
{
    QString report = isSpeci() ? QStringLiteral("SPECI ") : QStringLiteral("METAR ");
    static const QRegularExpression timePattern(QStringLiteral(
        "([0-9][0-9])/([0-9][0-9])/([0-9][0-9]),([0-9][0-9]):([0-9][0-9]):([0-9][0-9])$"));
    const QRegularExpressionMatch time = timePattern.match(getFieldValue(QStringLiteral("T"), -1));
    body.dayTime = time.hasMatch() ? time.captured(3) + time.captured(4) + time.captured(5)
                                   : QStringLiteral("000000");

    // Without an identifier the fifteen zeros hold the place that the record builder fills
    // with the unit identifier; the observation time is kept all the same.
    const QString station = getStationId(true);
    report += station.isEmpty() ? QStringLiteral("000000000000000") : station;
    report += QLatin1Char(' ') + body.dayTime + QStringLiteral("Z ");

    if (!isOrva())
        report += QStringLiteral("AUTO ");
    return report;
}

void WeatherDataDecoder::appendMetarWind(QString& report, MetarBodyValues& body)
{
    const bool orva = isOrva();
    const QString speedText = getWindSpeed(false);
    const QString directionText = getWindDirection2MinAvg();
    const QString gustText = getGustSpeed();
    const QString gustDirectionText = getGustDirection();
    const QString peakText = orva ? getWindSpeed(true) : gustText;
    const double rawSpeed = windNumber(speedText);
    const double direction = roundToTens(windNumber(directionText));
    const double gustSpeed = windNumber(gustText);
    const int rangeLow = orva ? rangeBound(getFieldValue(QStringLiteral("GU"), 6)) : -1;
    const int rangeHigh = orva ? rangeBound(getFieldValue(QStringLiteral("GU"), 7)) : -1;

    body.speedPresent = !speedText.isEmpty();
    body.speed = std::min(rawSpeed, kMaxReportedSpeed);
    body.peakPresent = !peakText.isEmpty();
    body.peak = windNumber(peakText);
    body.gustDirectionPresent = !gustDirectionText.isEmpty();
    body.gustDirection = roundToTens(windNumber(gustDirectionText));

    const bool gust = !gustDirectionText.isEmpty() && gustSpeed >= 10.0;
    const bool low = body.peak < 6.0;
    const bool variable = orva && rangeExtent(rangeLow, rangeHigh) >= 60 && rangeLow >= 0;

    // A missing speed, or a missing direction where one is needed, leaves the group out
    // rather than reporting a calm or a direction that nobody measured.
    if (body.speedPresent && rawSpeed < 1.0) {
        report += QStringLiteral("00000KT ");
    } else if (body.speedPresent && low) {
        report += QStringLiteral("VRB") + twoDigits(body.speed) + QStringLiteral("KT ");
    } else if (body.speedPresent && !directionText.isEmpty()) {
        report += threeDigits(direction) + twoDigits(body.speed);
        if (gust)
            report += QLatin1Char('G') + twoDigits(std::min(gustSpeed, kMaxReportedSpeed));
        report += QStringLiteral("KT ");
        if (variable && rangeLow >= 0 && rangeHigh >= 0)
            report += threeDigits(rangeLow) + QLatin1Char('V') + threeDigits(rangeHigh) +
                      QLatin1Char(' ');
    }
}

// Returns the visibility text, which the sky group reads again.
QString WeatherDataDecoder::appendMetarVisibility(QString& report)
{
    const QString visibilityText = getVisibility();
    if (visibilityText.isEmpty()) {
        report += QStringLiteral("M ");
    } else {
        const double visibility = visibilityText.toDouble();
        report += visibility >= 0.0 ? metarVisibilityGroup(visibility) + QLatin1Char(' ')
                                    : QStringLiteral("//// ");
    }
    return visibilityText;
}

// The ORVA squall flag, and the thunderstorm of the other family by its lightning distance.
void WeatherDataDecoder::appendMetarSquallAndLightning(QString& report)
{
    const bool orva = isOrva();
    if (orva && validDouble(getFieldValue(QStringLiteral("GU"), 5)) == QLatin1String("1"))
        report += QStringLiteral("SQ ");

    if (!orva && fieldNumber(getFieldValue(QStringLiteral("LD"), 1)) > 0.0) {
        const double distance = fieldNumber(getFieldValue(QStringLiteral("LD"), 0));
        if (distance <= 5.0)
            report += QStringLiteral("TS ");
        else if (distance < 10.0)
            report += QStringLiteral("VCTS ");
        else
            report += QStringLiteral("LTG DSNT ");
    }
}

// Thunderstorm from the ORVA strike counts; it persists 15 minutes after the last close
// strike. Empty for the other family.
QString WeatherDataDecoder::orvaThunderGroup(const QString& dayTime)
{
    vicinityThunder = false;
    if (!isOrva())
        return QString();
    if (fieldNumber(getFieldValue(QStringLiteral("LT"), 0)) > 0.0) {
        const double distance = fieldNumber(getFieldValue(QStringLiteral("LT"), 3));
        if (distance <= 5.0) {
            setMetarTimeFromDayTime(dayTime);
            // Only the first and the newest close strike of an event are ever read.
            const QPair<qint32, qint32> strike(metarHour, metarMinute);
            if (thunderTimes.size() < 2)
                thunderTimes.append(strike);
            else
                thunderTimes.last() = strike;
            return QStringLiteral("TS");
        }
        if (distance <= 10.0) {
            vicinityThunder = true;
            return QStringLiteral("VCTS");
        }
    } else if (!thunderTimes.isEmpty()) {
        setMetarTimeFromDayTime(dayTime);
        const QPair<qint32, qint32> newest = thunderTimes.last();
        if (minutesBetween(metarHour, metarMinute, newest.first, newest.second) <
            kThunderPersistenceMinutes)
            return QStringLiteral("TS");
    }
    return QString();
}

// Present weather, with the thunderstorm merged in.
void WeatherDataDecoder::appendMetarWeather(QString& report, MetarBodyValues& body,
                                            const QString& thunder)
{
    body.weather = getPresentWeather(false);
    cachedWeatherGroup.clear();
    const QString& weather = body.weather;
    if (weather.contains(QLatin1String("NA")))
        return;
    if (isOrva() && !thunder.isEmpty() && !weather.contains(QLatin1String("TS"))) {
        if (weather.startsWith(QLatin1Char('+')) || weather.startsWith(QLatin1Char('-'))) {
            cachedWeatherGroup = weather.left(1) + thunder + weather.mid(1);
            report += cachedWeatherGroup;
        } else {
            report += thunder + QLatin1Char(' ') + weather;
            cachedWeatherGroup = thunder + weather;
        }
    } else {
        report += weather;
    }
    if (!report.endsWith(QLatin1Char(' ')))
        report += QLatin1Char(' ');
}

// Sky condition; notes in the body whether a written layer lies low.
void WeatherDataDecoder::appendMetarSky(QString& report, MetarBodyValues& body,
                                        const QString& freezingFog, const QString& visibilityText)
{
    QList<int> heights;
    QStringList covers;
    const QString sky = getCloudLayers(heights, covers);
    if (sky.contains(QLatin1String("CLR"))) {
        report += QStringLiteral("CLR ");
        return;
    }
    if (sky.contains(QLatin1String("No Ceilometer")) ||
        sky.contains(QLatin1String("Ceilometer OFF")))
        return;
    const bool obscured =
        (freezingFog.contains(QLatin1String("FG")) || body.weather.contains(QLatin1String("SN"))) &&
        !visibilityText.isEmpty() && visibilityText.toDouble() <= 0.25;
    for (int i = 0; i < heights.size(); ++i) {
        const int hundreds = heights.at(i) / 100;
        if (hundreds * 100 < 400)
            body.lowCloud = true;
        if (hundreds <= 0)
            continue;
        const QString cover = covers.value(i);
        // A layer with a height but no cloud amount ("CLR" from 0 oktas) has an unknown
        // cover, like a layer without one.
        if (cover.isEmpty() || cover == QLatin1String("CLR"))
            report += QStringLiteral("///");
        else if (cover == QLatin1String("OVC") && obscured)
            report += QStringLiteral("VV");
        else
            report += cover;
        report += threeDigits(hundreds) + QLatin1Char(' ');
    }
}

// Temperature and dew point; a value that was not measured is not reported, and no dew point
// is derived from it.
void WeatherDataDecoder::appendMetarTemperature(QString& report, MetarBodyValues& body)
{
    body.temperature = getTemperature();
    if (body.temperature.isEmpty())
        return;
    if (!getHumidity().isEmpty())
        body.dewPoint = validDouble(calcDewPoint());
    report += temperatureDigits(body.temperature.toDouble()) + QLatin1Char('/');
    if (!body.dewPoint.isEmpty())
        report += temperatureDigits(body.dewPoint.toDouble());
    report += QLatin1Char(' ');
}
