#include "decoder/fieldnumber.h"
#include "decoder/weatherdatadecoder.h"

#include <cmath>

namespace
{

const char* const kPrecipitationTypes[] = {"RA", "SN", "DZ", "GR"};

// Accumulations beyond this many hundredths are not a measurement; they are left out.
constexpr double kMaxAccumulation = 1.0e9;

bool isSynopticHour(int hour)
{
    return hour == 5 || hour == 11 || hour == 17 || hour == 23;
}

bool isThreeHourPoint(int hour)
{
    return hour == 2 || hour == 8 || hour == 14 || hour == 20;
}

// Tenths of the magnitude in three digits behind a sign digit: "1" for a value below zero,
// however small, else "0". Empty when the value cannot be written.
QString signedTenths(double value)
{
    const QString tenths = formatReportNumber(std::fabs(value) * 10.0, 0);
    if (tenths.isEmpty())
        return QString();
    return QLatin1Char(value < 0.0 ? '1' : '0') + tenths.rightJustified(3, QLatin1Char('0'));
}

// Tenths of hPa from the sea-level pressure text: the last two whole digits and the first
// decimal, so 1013.25 gives 132 and a whole 1013 gives 130. Empty outside 950.0-1049.9 hPa: the
// group's readers put its digits back in that range, so 850.0 would be read as 950.0.
QString seaLevelDigits(const QString& text)
{
    const double value = validDouble(text).toDouble();
    if (text.isEmpty() || !(value >= 950.0 && value < 1050.0) ||
        text.contains(QLatin1Char('e'), Qt::CaseInsensitive))
        return QString();
    const int point = text.indexOf(QLatin1Char('.'));
    const QString whole = (point < 0 ? text : text.left(point)).rightJustified(2, QLatin1Char('0'));
    const QChar tenth =
        point < 0 || point + 1 >= text.size() ? QLatin1Char('0') : text.at(point + 1);
    return whole.right(2) + tenth;
}

// Which additive groups a routine report carries, by the hour and minute of its record.
struct AdditiveHours {
    bool threeHour = false;
    bool sixHour = false;
    bool dayEnd = false;
};

AdditiveHours additiveHours(const QString& stamp)
{
    const int blank = stamp.indexOf(QLatin1Char(' '));
    const int colon = stamp.indexOf(QLatin1Char(':'));
    bool hourOk = false;
    bool minuteOk = false;
    const int hour = blank < 0 ? -1 : stamp.mid(blank + 1, 2).toInt(&hourOk);
    const int minute = colon < 0 ? -1 : stamp.mid(colon + 1, 2).toInt(&minuteOk);
    const bool window = hourOk && minuteOk && minute >= 45 && minute <= 59;
    AdditiveHours hours;
    hours.threeHour = window && isThreeHourPoint(hour);
    hours.sixHour = window && isSynopticHour(hour);
    hours.dayEnd = window && hour == 11;
    return hours;
}

void appendPrecipitationGroups(QString& report, const std::array<qint64, 4>& amounts,
                               const AdditiveHours& hours)
{
    const auto group = [&report](char code, qint64 amount) {
        report += QLatin1Char(code) + formatReportNumber(amount, 4) + QLatin1Char(' ');
    };
    if (amounts[0] > 0)
        group('P', amounts[0]);
    if (hours.threeHour && amounts[1] > 0)
        group('6', amounts[1]);
    if (hours.sixHour && amounts[2] > 0)
        group('6', amounts[2]);
    if (hours.dayEnd && amounts[3] > 0)
        group('7', amounts[3]);
}

QString firstTenths(const QList<TimedValue>& samples)
{
    return samples.isEmpty() ? QString() : signedTenths(samples.first().value);
}

// The begin time and, where it can be read, the end time from the unit's event letters;
// an end that cannot be read is left out, never written as a bare end word.
QString beginEndRemark(WeatherDataDecoder& decoder, QString (WeatherDataDecoder::*time)(int),
                       const char* beginWord, const char* endWord)
{
    const QString begin = (decoder.*time)(0);
    if (begin.isEmpty() || begin.contains(QLatin1Char('-')))
        return QString();
    const QString end = (decoder.*time)(1);
    QString remark = QLatin1String(beginWord) + begin;
    if (!end.isEmpty())
        remark += QLatin1String(endWord) + end;
    return remark + QLatin1Char(' ');
}

} // namespace

void WeatherDataDecoder::appendMetarRemarks(QString& report, const MetarBodyValues& body)
{
    const bool orva = isOrva();
    report += QStringLiteral("RMK AO2 ");
    appendPeakWindRemark(report, body);
    if (orva) {
        appendDistantStrikeRemark(report);
        appendPrecipitationEvents(report, body);
        appendThunderEvents(report, body);
    }

    if (!orva && body.lowCloud)
        report += QStringLiteral("CLD LYR BLO 004 ");

    const double lightningFrequency = fieldNumber(getFieldValue(QStringLiteral("LD"), 1));
    const double lightningDistance = fieldNumber(getFieldValue(QStringLiteral("LD"), 0));
    if (lightningFrequency > 0.0 && lightningDistance < 10.0)
        report +=
            lightningFrequency >= 15.0 ? QStringLiteral("FRQ LTG ") : QStringLiteral("OCNL LTG ");
    if (!orva)
        appendLightningAndRainTimes(report, lightningFrequency, lightningDistance);
    if (orva)
        appendPressureChangeRemark(report);

    const QString seaLevel = seaLevelDigits(calcSeaLevelPressure());
    report += seaLevel.isEmpty() ? QStringLiteral("SLPNO ")
                                 : QStringLiteral("SLP") + seaLevel + QLatin1Char(' ');

    if (orva) {
        const std::array<qint64, 4> amounts = readPrecipitationTotals();
        if (!isSpeci())
            appendAdditiveData(report, body, amounts);
    }

    if (!orva) {
        const QString latitude = getLatitude();
        const QString longitude = getLongitude();
        if (!latitude.isEmpty() && !longitude.isEmpty())
            report += latitude + QChar(0x00B0) + QLatin1Char(' ') + longitude + QChar(0x00B0);
    }
}

// Wind maximum; a group is written only from measured speeds and direction.
void WeatherDataDecoder::appendPeakWindRemark(QString& report, const MetarBodyValues& body)
{
    if (!body.peakPresent || !body.gustDirectionPresent)
        return;
    const QString peakGroup = formatReportNumber(body.gustDirection, 3) +
                              formatReportNumber(body.peak, 2) + QStringLiteral("KT ");
    if (!isOrva() && body.speedPresent &&
        (std::fabs(body.speed - body.peak) > 5.0 || body.peak > 25.0))
        report += QStringLiteral("MAX WND ") + peakGroup;
    else if (isOrva() && body.peak > 25.0)
        report += QStringLiteral("PK WND ") + peakGroup;
}

// A strike between 10 and 30 miles is told by the newest compass bearing, once.
void WeatherDataDecoder::appendDistantStrikeRemark(QString& report)
{
    if (!(fieldNumber(getFieldValue(QStringLiteral("LT"), 0)) > 0.0))
        return;
    const double distance = fieldNumber(getFieldValue(QStringLiteral("LT"), 3));
    if (distance > 10.0 && distance < 30.0 && !lightningCompass.isEmpty()) {
        report += QStringLiteral("LTG DSNT ") + compassPoint(lightningCompass.last().bearing) +
                  QLatin1Char(' ');
        lightningCompass.clear();
    }
}

// Precipitation begin and end, seen by the change of the weather group.
void WeatherDataDecoder::appendPrecipitationEvents(QString& report, const MetarBodyValues& body)
{
    setMetarTimeFromDayTime(body.dayTime);
    const QString minute = formatReportNumber(metarMinute, 2);
    QString events;
    for (const char* type : kPrecipitationTypes) {
        const QString name = QString::fromLatin1(type);
        // Only the begin time of an event in progress is kept.
        if (body.weather.contains(name) && !weatherBeginTimes.contains(name)) {
            weatherBeginTimes.insert(name, {qMakePair(metarHour, metarMinute)});
            events += name + QLatin1Char('B') + minute;
        }
    }
    for (const char* type : kPrecipitationTypes) {
        const QString name = QString::fromLatin1(type);
        if (weatherBeginTimes.contains(name) && !body.weather.contains(name)) {
            events += name + QLatin1Char('E') + minute;
            weatherBeginTimes.remove(name);
        }
    }
    report += events;
    if (!report.endsWith(QLatin1Char(' ')))
        report += QLatin1Char(' ');
}

// A thunderstorm begins with its first close strike and ends 15 minutes after its newest.
void WeatherDataDecoder::appendThunderEvents(QString& report, const MetarBodyValues& body)
{
    if (thunderTimes.isEmpty())
        return;
    setMetarTimeFromDayTime(body.dayTime);
    const QPair<qint32, qint32> newest = thunderTimes.last();
    if (minutesBetween(metarHour, metarMinute, newest.first, newest.second) < 15) {
        if (!thunderBeginReported) {
            report += QStringLiteral("TSB") + formatReportNumber(thunderTimes.first().second, 2) +
                      QLatin1Char(' ');
            thunderBeginReported = true;
        }
    } else {
        report += QStringLiteral("TSE") + formatReportNumber(metarMinute, 2) + QLatin1Char(' ');
        thunderBeginReported = false;
        thunderTimes.clear();
    }
}

// Distant lightning, then the begin and end letters of rain and lightning.
void WeatherDataDecoder::appendLightningAndRainTimes(QString& report, double lightningFrequency,
                                                     double lightningDistance)
{
    if (lightningFrequency > 0.0 && lightningDistance >= 10.0)
        report += QStringLiteral("LTG DSNT ");

    if (fieldNumber(getPrecipitation()) > 0.0)
        report += beginEndRemark(*this, &WeatherDataDecoder::getPrecipBeginEnd, "RAB", "E");
    if (lightningFrequency > 0.0)
        report +=
            beginEndRemark(*this, &WeatherDataDecoder::getLightningBeginEnd, "LTG B", " LTG E");
}

void WeatherDataDecoder::appendPressureChangeRemark(QString& report)
{
    // The change code is a number: "03" and "+3" are 3.
    const QString change = validInt(getFieldValue(QStringLiteral("BA"), 3));
    if (!change.isEmpty() && change.toInt() == 3)
        report += QStringLiteral("PRESRR ");
    else if (!change.isEmpty() && change.toInt() == 4)
        report += QStringLiteral("PRESFR ");
}

// Hundredths over 1, 3, 6 and 24 hours; they are kept as the precipitation totals too.
std::array<qint64, 4> WeatherDataDecoder::readPrecipitationTotals()
{
    const int periods[] = {1, 3, 6, 24};
    const char* const keys[] = {"1hr", "3hr", "6hr", "24hr"};
    std::array<qint64, 4> amounts = {0, 0, 0, 0};
    precipTotals = QJsonObject();
    for (int i = 0; i < 4; ++i)
        precipTotals.insert(QLatin1String(keys[i]), QString());
    for (int i = 0; i < 4; ++i) {
        const double value =
            fieldNumber(getFieldValue(QStringLiteral("PA"), getPrecipAccumIndex(periods[i])));
        const double hundredths = formatReportNumber(value * 100.0, 0).toDouble();
        if (hundredths > 0.0 && hundredths < kMaxAccumulation) {
            amounts[i] = static_cast<qint64>(hundredths);
            precipTotals.insert(QLatin1String(keys[i]), QString::number(amounts[i]));
        }
    }
    return amounts;
}

// The additive data of a routine report.
void WeatherDataDecoder::appendAdditiveData(QString& report, const MetarBodyValues& body,
                                            const std::array<qint64, 4>& amounts)
{
    const AdditiveHours hours = additiveHours(getTimestamp());
    appendPrecipitationGroups(report, amounts, hours);
    appendTemperatureGroups(report, body, hours.sixHour, hours.dayEnd);
    if (hours.threeHour || hours.sixHour)
        appendTendencyGroup(report);
}

// Temperature and dew point in tenths, then the 6-hour and 24-hour extremes.
void WeatherDataDecoder::appendTemperatureGroups(QString& report, const MetarBodyValues& body,
                                                 bool sixHour, bool dayEnd)
{
    // A value too large to write in tenths leaves its group out.
    const QString tenths =
        body.temperature.isEmpty() ? QString() : signedTenths(body.temperature.toDouble());
    if (!tenths.isEmpty()) {
        const QString dewTenths =
            body.dewPoint.isEmpty() ? QString() : signedTenths(body.dewPoint.toDouble());
        report += QLatin1Char('T') + tenths + dewTenths + QLatin1Char(' ');
    }

    if (sixHour) {
        const QString highest = firstTenths(maxTemp6h);
        const QString lowest = firstTenths(minTemp6h);
        if (!highest.isEmpty())
            report += QLatin1Char('1') + highest + QLatin1Char(' ');
        if (!lowest.isEmpty())
            report += QLatin1Char('2') + lowest + QLatin1Char(' ');
    }
    if (dayEnd) {
        const QString highest = firstTenths(maxTemp24h);
        const QString lowest = firstTenths(minTemp24h);
        if (!highest.isEmpty() && !lowest.isEmpty())
            report += QLatin1Char('4') + highest + lowest + QLatin1Char(' ');
    }
}

// The tendency is a single code figure; without it the group cannot be read.
void WeatherDataDecoder::appendTendencyGroup(QString& report)
{
    const QString tendency = validInt(getFieldValue(QStringLiteral("BA"), 4));
    const QString change = validDouble(getFieldValue(QStringLiteral("BA"), 2));
    const int code = tendency.toInt();
    const QString tenthsOfChange =
        change.isEmpty() ? QString() : formatReportNumber(std::fabs(change.toDouble()) * 10.0, 3);
    if (!tendency.isEmpty() && code >= 0 && code <= 8 && !tenthsOfChange.isEmpty())
        report += QLatin1Char('5') + QString::number(code) + tenthsOfChange + QLatin1Char(' ');
}
