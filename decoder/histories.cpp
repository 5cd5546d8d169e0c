#include "decoder/weatherdatadecoder.h"

#include <QDebug>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{

// Only the newest entry is ever reported; a few more cover packets that arrive between reports.
constexpr int kMaxCompassEntries = 8;
constexpr int kMinCompassDistance = 11;
constexpr int kMaxCompassDistance = 29;

// Bounds each list whatever times the unit sends (a time that runs backwards keeps values from
// leaving), as the device link bounds its windows.
constexpr int kMaxHistorySamples = 4096;

// Samples are pushed in record order, so the expired ones lie at the front: an out-of-order
// sample behind a later one leaves with it at the latest, before it could ever be read.
void dropBefore(QList<TimedValue>& samples, const QDateTime& start)
{
    const qint64 startMs = start.toMSecsSinceEpoch();
    while (!samples.isEmpty() &&
           (!samples.first().time.isValid() || samples.first().time.toMSecsSinceEpoch() < startMs))
        samples.removeFirst();
}

// Keeps the list monotonic so that its first sample is the window's extreme.
template <typename Dominates>
void pushExtreme(QList<TimedValue>& samples, const QDateTime& time, double value,
                 Dominates dominates)
{
    while (!samples.isEmpty() && dominates(value, samples.last().value))
        samples.removeLast();
    samples.append({time, value});
    while (samples.size() > kMaxHistorySamples)
        samples.removeFirst();
}

QString beginEndTime(WeatherDataDecoder& decoder, const QString& key, int field, const char* tag,
                     int which)
{
    const QString letters = decoder.getFieldValue(key, field);
    qDebug().noquote() << tag << letters;
    if (letters.isEmpty() || letters.contains(QLatin1Char('-')) ||
        letters.contains(QLatin1Char('?')))
        return QStringLiteral("-");

    static const QRegularExpression timePattern(
        QStringLiteral("(\\d\\d)/(\\d\\d)/(\\d\\d),(\\d\\d):(\\d\\d):(\\d\\d)$"));
    const QRegularExpressionMatch match =
        timePattern.match(decoder.getFieldValue(QStringLiteral("T"), -1));
    if (!match.hasMatch())
        return QString();
    const QString recordHour = match.captured(4);
    const int recordMinute = match.captured(5).toInt();

    const int position = qBound(0, which, 1);
    if (letters.size() <= position)
        return QString();
    const QChar letter = letters.at(position).toUpper();
    if (letter < QLatin1Char('A') || letter > QLatin1Char('L'))
        return QString();
    const int minute = (letter.unicode() - 'A') * 5;

    QString hour = recordHour;
    // A letter at or after the record's minute can only mean the hour before.
    if (minute >= recordMinute) {
        const int previous = recordHour.toInt() - 1;
        hour = previous < 0 ? QStringLiteral("23") : QString::asprintf("%02d", previous);
    }
    return hour + QString::asprintf("%02d", minute);
}

} // namespace

void WeatherDataDecoder::pruneTemperatureHistory()
{
    const QDateTime now = recordTimeUtc();
    if (!now.isValid())
        return;

    const QDateTime dayStart(now.date(), QTime(0, 0), Qt::UTC);
    const QDateTime blockStart(now.date(), QTime(now.time().hour() / 6 * 6, 0), Qt::UTC);
    dropBefore(maxTemp24h, dayStart);
    dropBefore(minTemp24h, dayStart);
    dropBefore(maxTemp6h, blockStart);
    dropBefore(minTemp6h, blockStart);
}

void WeatherDataDecoder::updateTemperatureHistory(double temperature)
{
    // Without a record time there is neither a window nor a stamp for the sample.
    const QDateTime now = recordTimeUtc();
    if (!now.isValid() || !std::isfinite(temperature))
        return;

    pruneTemperatureHistory();
    const auto atLeast = [](double value, double last) { return last <= value; };
    const auto atMost = [](double value, double last) { return last >= value; };
    pushExtreme(maxTemp24h, now, temperature, atLeast);
    pushExtreme(maxTemp6h, now, temperature, atLeast);
    pushExtreme(minTemp24h, now, temperature, atMost);
    pushExtreme(minTemp6h, now, temperature, atMost);
}

void WeatherDataDecoder::parseLightningCompassData(QByteArray packet)
{
    const QStringList lines = QString::fromLatin1(packet).split(QLatin1Char('\n'));
    if (lines.size() < 3)
        return;

    QString entries = lines.at(2);
    entries.chop(2);
    const QStringList parts = entries.split(QLatin1Char(';'));
    if (parts.size() < 2)
        return;

    for (const QString& part : parts) {
        const QStringList fields = part.split(QLatin1Char(','));
        if (fields.size() < 4)
            continue;
        const qint32 distance = fields.at(3).toInt();
        if (distance < kMinCompassDistance || distance > kMaxCompassDistance)
            continue;
        lightningCompass.append({fields.at(1), distance, fields.at(2).toInt()});
        ++newCompassEntries;
        while (lightningCompass.size() > kMaxCompassEntries)
            lightningCompass.removeFirst();
    }
    newCompassEntries = qMin(newCompassEntries, lightningCompass.size());
}

void WeatherDataDecoder::startNewUnit()
{
    maxTemp24h.clear();
    minTemp24h.clear();
    maxTemp6h.clear();
    minTemp6h.clear();
    thunderTimes.clear();
    thunderBeginReported = false;
    vicinityThunder = false;
    weatherBeginTimes.clear();
    cachedWeatherGroup.clear();
    precipTotals = QJsonObject();
    // A unit may send its compass packet before its first record; entries that came after the
    // last report, over the same connection, are taken for the new unit's.
    lightningCompass = lightningCompass.mid(lightningCompass.size() - newCompassEntries);
}

void WeatherDataDecoder::startNewUnitFrom(WeatherDataDecoder& other)
{
    startNewUnit();
    maxTemp24h.swap(other.maxTemp24h);
    minTemp24h.swap(other.minTemp24h);
    maxTemp6h.swap(other.maxTemp6h);
    minTemp6h.swap(other.minTemp6h);
    thunderTimes.swap(other.thunderTimes);
    std::swap(thunderBeginReported, other.thunderBeginReported);
    std::swap(vicinityThunder, other.vicinityThunder);
    weatherBeginTimes.swap(other.weatherBeginTimes);
    cachedWeatherGroup.swap(other.cachedWeatherGroup);
    precipTotals.swap(other.precipTotals);
    // The compass entries stay as startNewUnit left them: compass packets come in checksummed
    // frames, whose records name their unit at once.
}

void WeatherDataDecoder::connectionClosed()
{
    newCompassEntries = 0;
}

QString WeatherDataDecoder::getPrecipBeginEnd(int which)
{
    return beginEndTime(*this, QStringLiteral("PW"), 3, "PR:", which);
}

QString WeatherDataDecoder::getLightningBeginEnd(int which)
{
    return beginEndTime(*this, QStringLiteral("LD"), 2, "LTG:", which);
}
