#include "link/data_incoming.h"

#include "decoder/clock.h"
#include "decoder/weatherdatadecoder.h"

#include <QDebug>
#include <QLoggingCategory>

#include <cmath>
#include <cstring>

namespace
{

constexpr qint64 kDaySecs = 86400;
constexpr qint64 kPressureSecs = 10800;
constexpr qint64 kTenMinuteSecs = 600;
constexpr qint64 kHourSecs = 3600;
constexpr qint64 kTamperReferenceMs = 21600000;

// Times that run backwards or far ahead keep entries from ageing out; these caps keep the
// lists bounded whatever the unit sends. Real units stay far below them.
constexpr int kMaxWindowEntries = 4096;
constexpr int kMaxTamperReferences = 4096;

constexpr double kPi = 3.141592653589793;

// The fronts of the windows stay the same for many records, so the texts of the last few
// numbers are kept rather than formatted again each time.
QString generalNumber(double value)
{
    struct Kept {
        quint64 bits = 0;
        QString text;
    };
    thread_local Kept kept[16];
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Kept& slot = kept[(bits ^ (bits >> 29) ^ (bits >> 47)) % 16];
    if (slot.text.isNull() || slot.bits != bits) {
        slot.bits = bits;
        slot.text = QString::number(value, 'g', 6);
    }
    return slot.text;
}

double valueOf(const TimedValue& entry)
{
    return entry.value;
}

double valueOf(const TimedPair& entry)
{
    return entry.speed;
}

// Drops the front entries that lie more than `windowSecs` whole seconds before `time`. An entry
// later than `time`, or an invalid time on either side, stops the ageing.
template <typename Entry>
void ageWindow(QList<Entry>& queue, const QDateTime& time, qint64 windowSecs)
{
    while (!queue.isEmpty()) {
        const QDateTime& entryTime = queue.first().time;
        const qint64 age = entryTime.isValid() && time.isValid() ? entryTime.secsTo(time) : 0;
        if (age <= windowSecs)
            return;
        queue.removeFirst();
    }
}

// Running-maximum (or minimum) queue: values strictly decreasing (increasing) from the front,
// so the front is the extreme of the window; of two equal values the newer one stays.
template <typename Entry> void pushExtreme(QList<Entry>& queue, const Entry& entry, bool maximum)
{
    const double value = valueOf(entry);
    while (!queue.isEmpty() &&
           (maximum ? valueOf(queue.last()) <= value : valueOf(queue.last()) >= value))
        queue.removeLast();
    queue.append(entry);
    while (queue.size() > kMaxWindowEntries)
        queue.removeFirst();
}

QPair<QString, QString> runDailyWindow(QList<TimedValue>& maxQueue, QList<TimedValue>& minQueue,
                                       const QDateTime& time, const QString& text)
{
    ageWindow(maxQueue, time, kDaySecs);
    ageWindow(minQueue, time, kDaySecs);
    // A sample without a valid time could never age out.
    if (!text.isEmpty() && time.isValid()) {
        const TimedValue sample{time, decimalValue(text)};
        pushExtreme(maxQueue, sample, true);
        pushExtreme(minQueue, sample, false);
    }
    const QString maxText =
        maxQueue.isEmpty() ? QStringLiteral("-") : generalNumber(maxQueue.first().value);
    const QString minText =
        minQueue.isEmpty() ? QStringLiteral("-") : generalNumber(minQueue.first().value);
    return qMakePair(maxText, minText);
}

// A quantity differs when both values pass its guard and they lie further apart than its
// threshold. The guards keep the unit's "no reading" codes out of the comparison.
struct TamperDifferences {
    bool latitude = false;
    bool longitude = false;
    bool elevation = false;
    bool tilt = false;
    bool orientation = false;

    bool any() const { return latitude || longitude || elevation || tilt || orientation; }
};

TamperDifferences compareSamples(const PositionSample& reference, const PositionSample& sample)
{
    constexpr double kCode = 65534.0;
    const auto guarded = [kCode](double a, double b) { return a < kCode && b < kCode; };
    TamperDifferences d;
    d.latitude = guarded(reference.latitude, sample.latitude) &&
                 std::fabs(sample.latitude - reference.latitude) > 0.005;
    d.longitude = guarded(reference.longitude, sample.longitude) &&
                  std::fabs(sample.longitude - reference.longitude) > 0.005;
    d.elevation = reference.elevation > -kCode && sample.elevation < kCode &&
                  std::fabs(sample.elevation - reference.elevation) > 3.0;
    d.tilt = guarded(reference.tilt, sample.tilt) && std::fabs(sample.tilt - reference.tilt) > 5.0;
    d.orientation = guarded(reference.orientation, sample.orientation) &&
                    std::fabs(sample.orientation - reference.orientation) > 10.0;
    return d;
}

bool samePosition(const PositionSample& a, const PositionSample& b)
{
    return a.latitude == b.latitude && a.longitude == b.longitude && a.elevation == b.elevation &&
           a.tilt == b.tilt && a.orientation == b.orientation;
}

QString tamperTextOf(const TamperDifferences& d)
{
    QString text = QStringLiteral("Tampering Detected:\n");
    if (d.latitude)
        text += QStringLiteral("Latitude has changed by more than 0.005\u00B0\n");
    if (d.longitude)
        text += QStringLiteral("Longitude has changed by more than 0.005\u00B0\n");
    if (d.elevation)
        text += QStringLiteral("Elevation has changed by more than 3 meters\n");
    if (d.tilt)
        text += QStringLiteral("Tilt position has changed by more than 5\u00B0\n");
    if (d.orientation)
        text += QStringLiteral("Orientation has changed by more than 10\u00B0");
    return text;
}

} // namespace

std::array<QList<TimedValue>*, 6> data_incoming::valueWindows()
{
    return {&temperatureMaxHistory, &temperatureMinHistory, &dewPointMaxHistory,
            &dewPointMinHistory,    &pressureMaxHistory,    &pressureMinHistory};
}

std::array<QList<TimedPair>*, 4> data_incoming::pairWindows()
{
    return {&windMax10MinHistory, &windMin10MinHistory, &windMax1HourHistory, &windMin1HourHistory};
}

void data_incoming::swapWindows(UnitMemories& other)
{
    const auto values = valueWindows();
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i]->swap(other.values[i]);
    const auto pairs = pairWindows();
    for (std::size_t i = 0; i < pairs.size(); ++i)
        pairs[i]->swap(other.pairs[i]);
}

void data_incoming::swapUnitMemories(UnitMemories& other)
{
    swapWindows(other);
    WeatherDataDecoder* const held = other.decoder.release();
    other.decoder.reset(decoder);
    decoder = held;
}

bool data_incoming::isProvisional(char type) const
{
    return type == 'D' && lastFullRecord.isEmpty() && unitTracker.awaitsUnit(deviceType);
}

// The tamper references are left to "Setup...", which empties them.
void data_incoming::followUnit(const QString& identifier)
{
    if (buildingAside || isProvisional(packetKind))
        return;
    // Only a non-legacy ORVA frame carries a checksum.
    const bool checked = deviceType == DeviceTypes::ORVA && !legacyOrva;
    const std::unique_ptr<UnitMemories> firstRecord = std::move(candidateUnit);
    if (unitTracker.startsAnotherUnit(deviceType, identifier, checked)) {
        if (firstRecord && unitTracker.confirmedBySecondRecord()) {
            // The new unit's first record, taken for the unit before, is its own after all.
            swapWindows(*firstRecord);
            decoder->startNewUnitFrom(*firstRecord->decoder);
        } else {
            for (QList<TimedValue>* window : valueWindows())
                window->clear();
            for (QList<TimedPair>* window : pairWindows())
                window->clear();
            decoder->startNewUnit();
        }
        // A high-speed packet refreshes the last full record; it must not refresh another
        // unit's.
        lastFullRecord = QJsonObject();
    }
    if (provisionalUnit) {
        // The samples of the high-speed packets before it are this unit's. Pushed in the order
        // they came, the running extremes they left end the windows as the samples would.
        const auto values = valueWindows();
        for (std::size_t i = 0; i < values.size(); ++i) {
            for (const TimedValue& entry : qAsConst(provisionalUnit->values[i]))
                pushExtreme(*values[i], entry, i % 2 == 0);
        }
        const auto pairs = pairWindows();
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            for (const TimedPair& entry : qAsConst(provisionalUnit->pairs[i]))
                pushExtreme(*pairs[i], entry, i % 2 == 0);
        }
        provisionalUnit.reset();
    }
}

QPair<QString, QString> data_incoming::runTemperatureWindow(const QDateTime& time,
                                                            const QString& text)
{
    return runDailyWindow(temperatureMaxHistory, temperatureMinHistory, time, text);
}

QPair<QString, QString> data_incoming::runDewPointWindow(const QDateTime& time, const QString& text)
{
    return runDailyWindow(dewPointMaxHistory, dewPointMinHistory, time, text);
}

data_incoming::WindExtremes
data_incoming::runWindWindows(const QDateTime& time, const QString& speed, const QString& direction)
{
    ageWindow(windMax10MinHistory, time, kTenMinuteSecs);
    ageWindow(windMin10MinHistory, time, kTenMinuteSecs);
    ageWindow(windMax1HourHistory, time, kHourSecs);
    ageWindow(windMin1HourHistory, time, kHourSecs);

    if (!speed.isEmpty() && !direction.isEmpty() && time.isValid()) {
        const TimedPair sample{time, decimalValue(speed), decimalValue(direction)};
        pushExtreme(windMax10MinHistory, sample, true);
        pushExtreme(windMin10MinHistory, sample, false);
        pushExtreme(windMax1HourHistory, sample, true);
        pushExtreme(windMin1HourHistory, sample, false);
    }

    // The direction keys carry the direction of the fastest (slowest) sample.
    const auto front = [](const QList<TimedPair>& queue, bool ofDirection) {
        if (queue.isEmpty())
            return QString();
        return generalNumber(ofDirection ? queue.first().direction : queue.first().speed);
    };
    return {{{QStringLiteral("Wind Direction Max 10 Minutes"), front(windMax10MinHistory, true)},
             {QStringLiteral("Wind Speed Max 10 Minutes"), front(windMax10MinHistory, false)},
             {QStringLiteral("Wind Direction Min 10 Minutes"), front(windMin10MinHistory, true)},
             {QStringLiteral("Wind Speed Min 10 Minutes"), front(windMin10MinHistory, false)},
             {QStringLiteral("Wind Direction Max 1 Hour"), front(windMax1HourHistory, true)},
             {QStringLiteral("Wind Speed Max 1 Hour"), front(windMax1HourHistory, false)},
             {QStringLiteral("Wind Direction Min 1 Hour"), front(windMin1HourHistory, true)},
             {QStringLiteral("Wind Speed Min 1 Hour"), front(windMin1HourHistory, false)}}};
}

QString data_incoming::crosswind(const QString& speed, const QString& direction, bool trace)
{
    if (speed.isEmpty() || direction.isEmpty())
        return QString();
    const double windDirection = decimalValue(direction);
    const double angle = runwayDirection - windDirection;
    // The trace lines are only formatted when the debug output is on.
    if (trace && QLoggingCategory::defaultCategory()->isDebugEnabled()) {
        qDebug() << "RWD: " << runwayDirection;
        qDebug() << "WD: " << windDirection * kPi / 180.0;
        qDebug() << "RELANGLE: " << std::fabs(angle * kPi / 180.0);
    }
    const double cross = std::fabs(decimalValue(speed) * std::sin(angle * kPi / 180.0));
    // As "%4.1f" writes it: both round the exact value to one decimal.
    if (!(cross < 1e15))
        return QString::asprintf("%4.1f", cross);
    return QString::number(cross, 'f', 1).rightJustified(4, QLatin1Char(' '));
}

QString data_incoming::runPressureWindow(const QDateTime& time, const QString& pressure)
{
    if (!pressure.isEmpty() && time.isValid()) {
        const TimedValue sample{time, decimalValue(pressure)};
        pushExtreme(pressureMaxHistory, sample, true);
        pushExtreme(pressureMinHistory, sample, false);
    }
    ageWindow(pressureMaxHistory, time, kPressureSecs);
    ageWindow(pressureMinHistory, time, kPressureSecs);

    if (pressureMaxHistory.isEmpty() || pressureMinHistory.isEmpty())
        return QStringLiteral("-");
    const TimedValue& highest = pressureMaxHistory.first();
    const TimedValue& lowest = pressureMinHistory.first();
    // The later of the two extremes tells a fall from a rise.
    const double change =
        highest.time <= lowest.time ? lowest.value - highest.value : highest.value - lowest.value;
    return QString::number(change, 'f', 2);
}

bool data_incoming::isPositionUnset(const PositionSample& sample) const
{
    return sample.latitude == 0.0 && sample.longitude == 0.0 && sample.elevation == 0.0;
}

QString data_incoming::checkTampering(const PositionSample& sample, char kind)
{
    const QDateTime now = Clock::nowUtc();
    while (!tamperReferences.isEmpty()) {
        const QDateTime& time = tamperReferences.first().time;
        const qint64 age = time.isValid() ? time.msecsTo(now) : 0;
        if (age < kTamperReferenceMs)
            break;
        tamperReferences.removeFirst();
    }

    const auto keep = [this](const PositionSample& s) {
        // A reference without a valid time would never age out.
        if (!s.time.isValid())
            return;
        tamperReferences.append(s);
        while (tamperReferences.size() > kMaxTamperReferences)
            tamperReferences.removeFirst();
    };

    // High-speed packets carry no position worth comparing; they only expire a warning.
    if (kind != 'D') {
        if (positionReset)
            tamperReferences.clear();

        const PositionSample* differing = nullptr;
        const PositionSample* previous = nullptr;
        TamperDifferences differences;
        for (const PositionSample& reference : qAsConst(tamperReferences)) {
            // A unit at rest gives the same reading record after record; a reference equal to
            // the one before differs no more than that one did.
            if (previous && samePosition(reference, *previous))
                continue;
            previous = &reference;
            differences = compareSamples(reference, sample);
            if (differences.any()) {
                differing = &reference;
                break;
            }
        }

        if (!differing) {
            keep(sample);
            positionReset = false;
        } else if (isPositionUnset(sample) != isPositionUnset(*differing)) {
            // The GPS fix came or went: the new sample starts the references afresh.
            tamperReferences.clear();
            keep(sample);
            positionReset = false;
        } else {
            const QString text = tamperTextOf(differences);
            if (text == tamperText) {
                if (loggingMode == LoggingType::Debug)
                    qDebug() << "Tampering Flag Active.";
            } else {
                tamperText = text;
                tamperActive = true;
                emit sendLogMsg("WARNING: " + text.simplified().toUtf8());
            }
            keep(sample);
            positionReset = false;
            return text;
        }
    }

    if (tamperActive) {
        tamperText.clear();
        tamperActive = false;
        emit sendLogMsg("INFO: Tampering Warning Now Expired.");
    }
    return QString();
}
