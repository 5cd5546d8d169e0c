#include "decoder/weatherdatadecoder.h"

#include <QDebug>

namespace
{

constexpr double kKmPerStatuteMile = 1.609;
constexpr unsigned kFirstOrvaModelCode = 0xE1;

unsigned modelCode(const QString& field)
{
    bool ok = false;
    const unsigned code = field.toUInt(&ok, 16);
    return ok ? code : 0;
}

QString kmToMiles(const QString& km)
{
    if (km.isEmpty())
        return QString();
    return QString::number(decimalValue(km) / kKmPerStatuteMile, 'g', 6);
}

QString withoutLeadingZeros(QString text)
{
    int zeros = 0;
    while (zeros < text.size() && text.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return text.mid(zeros);
}

QString withinBounds(const QString& value, double low, double high)
{
    if (value.isEmpty())
        return value;
    const double v = decimalValue(value);
    return (v < low || v > high) ? QString() : value;
}

QString hemisphere(const QString& coordinate, QChar negative, QChar positive)
{
    return coordinate + QChar(0x00B0) +
           (coordinate.startsWith(QLatin1Char('-')) ? negative : positive);
}

// Start and length of year, month, day, hour, minute and second in "yyyy-MM-dd hh:mm:ss".
const int kStampParts[][2] = {{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}, {17, 2}};

// Built from the digits: a parse through local time could shift or void a stamp that falls in
// a DST gap, and it re-reads the zone on every call.
QDateTime utcFromStamp(const QString& stamp)
{
    if (stamp.size() != 19)
        return QDateTime();
    int values[6] = {};
    for (int i = 0; i < 6; ++i) {
        for (int k = kStampParts[i][0]; k < kStampParts[i][0] + kStampParts[i][1]; ++k) {
            const ushort c = stamp.at(k).unicode();
            if (c < '0' || c > '9')
                return QDateTime();
            values[i] = values[i] * 10 + (c - '0');
        }
    }
    const QDate date(values[0], values[1], values[2]);
    const QTime time(values[3], values[4], values[5]);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

// Where "dd/dd/dd,dd:dd:dd" (d an ASCII digit) first occurs in the text, or -1. Read once per
// record, so it is matched by hand rather than by a regular expression.
int stampPatternAt(const QString& text)
{
    static const char kPattern[] = "dd/dd/dd,dd:dd:dd";
    constexpr int kLength = sizeof kPattern - 1;
    const QChar* chars = text.constData();
    for (int at = 0; at + kLength <= text.size(); ++at) {
        int k = 0;
        while (k < kLength) {
            const ushort c = chars[at + k].unicode();
            const bool fits =
                kPattern[k] == 'd' ? (c >= '0' && c <= '9') : c == ushort(kPattern[k]);
            if (!fits)
                break;
            ++k;
        }
        if (k == kLength)
            return at;
    }
    return -1;
}

} // namespace

QString WeatherDataDecoder::getTimestamp()
{
    const bool sameText = timeCache.filled && timeCache.text.isSharedWith(recordText);
    if (!sameText) {
        const int errorsBefore = parseErrors.size();
        timeCache.stamp = readTimestamp(&timeCache.patternMissing);
        timeCache.errors = parseErrors.mid(errorsBefore);
        timeCache.utc = utcFromStamp(timeCache.stamp);
        timeCache.text = recordText;
        timeCache.filled = true;
        return timeCache.stamp;
    }
    for (const QString& error : qAsConst(timeCache.errors))
        reportFieldError(error);
    if (timeCache.patternMissing)
        qDebug() << "Can't find timestamp pattern";
    return timeCache.stamp;
}

QDateTime WeatherDataDecoder::recordTimeUtc()
{
    getTimestamp();
    return timeCache.utc;
}

QString WeatherDataDecoder::readTimestamp(bool* patternMissing)
{
    *patternMissing = false;
    const QString joined = getFieldValue(QStringLiteral("T"), 0) + QLatin1Char(':') +
                           getFieldValue(QStringLiteral("T"), 1) + QLatin1Char(':') +
                           getFieldValue(QStringLiteral("T"), 2);

    const int matched = stampPatternAt(joined);
    if (matched < 0) {
        qDebug() << "Can't find timestamp pattern";
        *patternMissing = true;
        return QString();
    }

    // Cut around the matched comma: a comma in noise before the stamp must not shift the fields.
    const int comma = matched + 8;
    QString date = joined.mid(comma - 8, 8);
    date.replace(QLatin1Char('/'), QLatin1Char('-'));
    // Every part is made of the digits the pattern matched.
    return QStringLiteral("20") + date + QLatin1Char(' ') + joined.mid(comma + 1, 8);
}

QString WeatherDataDecoder::getVoltage()
{
    return validDouble(getFieldValue(QStringLiteral("B"), 0));
}

QString WeatherDataDecoder::getReportingInterval()
{
    const QString interval = validInt(getFieldValue(QStringLiteral("B"), 1));
    const QString model = getFieldValue(QStringLiteral("B"), 3);
    if (interval.isEmpty() || model.isEmpty())
        return QString();

    const int value = interval.toInt();
    if (modelCode(model) < kFirstOrvaModelCode) {
        switch (value) {
        case 0:
            return QStringLiteral("3 Hour");
        case 1:
            return QStringLiteral("1 Hour");
        case 2:
            return QStringLiteral("20 Minute");
        case 3:
            return QStringLiteral("5 Minute");
        case 4:
            return QStringLiteral("1 Minute");
        case 5:
            return QStringLiteral("20 Second");
        case 6:
            return QStringLiteral("10 Second");
        default:
            return QString();
        }
    }
    switch (value) {
    case 5:
        return QStringLiteral("5 minute");
    case 10:
        return QStringLiteral("10 minute");
    case 60:
        return QStringLiteral("1 hour");
    default:
        return QString();
    }
}

QString WeatherDataDecoder::getDeviceModel()
{
    const QString model = getFieldValue(QStringLiteral("B"), 3);
    if (model.isEmpty())
        return QString();

    const unsigned code = modelCode(model);
    switch (code) {
    case 0x64:
        return QStringLiteral("R200");
    case 0x65:
        return QStringLiteral("R210");
    case 0x66:
        return QStringLiteral("R200-T");
    case 0x6E:
        return QStringLiteral("R300");
    case 0x6F:
        return QStringLiteral("R310");
    case 0x70:
        return QStringLiteral("R300-T");
    case 0xC8:
        return QStringLiteral("S200");
    case 0xC9:
        return QStringLiteral("S210");
    case 0xCA:
        return QStringLiteral("S200-T");
    default:
        break;
    }
    return code < kFirstOrvaModelCode ? QStringLiteral("BRQ") : QStringLiteral("ORVA");
}

QString WeatherDataDecoder::getRadioTransmitRate()
{
    const QString rate = getFieldValue(QStringLiteral("B"), 5);
    if (rate.isEmpty())
        return QStringLiteral("INACTIVE");
    if (rate == QLatin1String("0"))
        return QStringLiteral("5 Seconds");
    if (rate == QLatin1String("1"))
        return QStringLiteral("10 Seconds");
    if (rate == QLatin1String("2"))
        return QStringLiteral("60 Seconds");
    return QStringLiteral("ERROR");
}

QString WeatherDataDecoder::getWindSpeed(bool instantaneous)
{
    const int field = (isOrva() && !instantaneous) ? 2 : 0;
    return validDouble(getFieldValue(QStringLiteral("WI"), field));
}

QString WeatherDataDecoder::getWindDirection()
{
    return validDouble(getFieldValue(QStringLiteral("WI"), 1));
}

QString WeatherDataDecoder::getWindDirection2MinAvg()
{
    return validDouble(getFieldValue(QStringLiteral("WI"), isOrva() ? 3 : 1));
}

QString WeatherDataDecoder::getGustSpeed()
{
    return validDouble(getFieldValue(QStringLiteral("GU"), isOrva() ? 2 : 0));
}

QString WeatherDataDecoder::getGustDirection()
{
    return validDouble(getFieldValue(QStringLiteral("GU"), isOrva() ? 3 : 1));
}

QString WeatherDataDecoder::getTemperature()
{
    CachedValue& temperature = cachedValue(TemperatureValue);
    if (!temperature.filled) {
        temperature.value = validDouble(getFieldValue(QStringLiteral("TA"), 0));
        temperature.filled = true;
        if (!temperature.value.isEmpty())
            updateTemperatureHistory(decimalValue(temperature.value));
    } else if (!temperature.value.isEmpty()) {
        // One sample per record however often the temperature is read; the record time is
        // read as the update reads it, so that its messages repeat on every read.
        recordTimeUtc();
    }
    return temperature.value;
}

QString WeatherDataDecoder::getHumidity()
{
    const QString humidity = validDouble(getFieldValue(QStringLiteral("RH"), 0));
    bool whole = false;
    const int value = humidity.toInt(&whole);
    if (whole && value < 0)
        return QString();
    return humidity;
}

QString WeatherDataDecoder::getHAPressure()
{
    return validDouble(getFieldValue(QStringLiteral("HP"), 0));
}

QString WeatherDataDecoder::getStationPressure()
{
    const QString station = validDouble(getFieldValue(QStringLiteral("BA"), 0));
    const QString second = getHAPressure();
    return second.isEmpty() ? station : second;
}

QString WeatherDataDecoder::getAltimeter()
{
    QString altimeter = validInt(getFieldValue(QStringLiteral("BA"), 1));
    if (altimeter.isEmpty())
        altimeter = validDouble(getFieldValue(QStringLiteral("BA"), 1));
    if (altimeter.isEmpty())
        return QString();
    return QString::number(decimalValue(altimeter) / 100.0, 'f', 2);
}

QString WeatherDataDecoder::getThreeHourPressure()
{
    if (!isOrva())
        return QString();
    const QString change = validDouble(getFieldValue(QStringLiteral("BA"), 2));
    return change.isEmpty() ? QStringLiteral("-") : change;
}

QString WeatherDataDecoder::getElevation()
{
    return validDouble(getFieldValue(QStringLiteral("EL"), 0));
}

QString WeatherDataDecoder::getVisibility()
{
    if (deviceType == static_cast<int>(DeviceTypes::BRQ))
        return validDouble(getFieldValue(QStringLiteral("VI"), 0));
    if (isOrva())
        return kmToMiles(validDouble(getFieldValue(QStringLiteral("PW"), 4)));
    return QString();
}

QString WeatherDataDecoder::getVisibility1()
{
    return kmToMiles(validDouble(getFieldValue(QStringLiteral("PW"), 3)));
}

QString WeatherDataDecoder::getPrecipitation()
{
    return validDouble(getFieldValue(QStringLiteral("PW"), 0));
}

QString WeatherDataDecoder::getContamination()
{
    const QString value = validInt(getFieldValue(QStringLiteral("PW"), 4));
    if (value.isEmpty())
        return value;
    return value.toInt() < 50 ? QStringLiteral("Sensor Interference") : QStringLiteral("None");
}

QString WeatherDataDecoder::getLightningDistance()
{
    return validDouble(getFieldValue(QStringLiteral("LD"), 0));
}

QString WeatherDataDecoder::getLightningFrequency()
{
    return validInt(getFieldValue(QStringLiteral("LD"), 1));
}

QStringList WeatherDataDecoder::getLightningStrikes()
{
    QStringList strikes;
    for (int field = 0; field < 6; ++field)
        strikes << withoutLeadingZeros(validInt(getFieldValue(QStringLiteral("LT"), field)));
    return strikes;
}

QString WeatherDataDecoder::getLatitude()
{
    return withinBounds(validDouble(getFieldValue(QStringLiteral("LA"), 0)), -90.0, 90.0);
}

QString WeatherDataDecoder::getLongitude()
{
    return withinBounds(validDouble(getFieldValue(QStringLiteral("LO"), 0)), -180.0, 180.0);
}

QString WeatherDataDecoder::getGpsText()
{
    QString text;
    const QString latitude = getFieldValue(QStringLiteral("LA"), 0);
    if (!latitude.isEmpty())
        text = hemisphere(latitude, QLatin1Char('S'), QLatin1Char('N')) +
               QStringLiteral("&nbsp;&nbsp;");

    const QString longitude = getFieldValue(QStringLiteral("LO"), 0);
    if (longitude.isEmpty())
        text.clear();
    else
        text += hemisphere(longitude, QLatin1Char('W'), QLatin1Char('E'));

    if (text.contains(QLatin1Char('?')))
        return QStringLiteral("No GPS");
    return text;
}

QString WeatherDataDecoder::getOrientation()
{
    return validDouble(getFieldValue(QStringLiteral("OR"), 0));
}

QString WeatherDataDecoder::getTilt()
{
    return validDouble(getFieldValue(QStringLiteral("OR"), 1));
}

QString WeatherDataDecoder::getCompassHeading()
{
    return validDouble(getFieldValue(QStringLiteral("SS"), 0));
}

QString WeatherDataDecoder::getSigWaveHeight()
{
    return validDouble(getFieldValue(QStringLiteral("SS"), 1));
}

QString WeatherDataDecoder::getSigWavePeriod()
{
    return validDouble(getFieldValue(QStringLiteral("SS"), 2));
}

QString WeatherDataDecoder::getSigWaveDirection()
{
    return validDouble(getFieldValue(QStringLiteral("SS"), 3));
}

QString WeatherDataDecoder::getSeaSurfaceTemp()
{
    return validDouble(getFieldValue(QStringLiteral("SS"), 8));
}

QString WeatherDataDecoder::getRflosTransmitFrequency()
{
    const QString raw = getFieldValue(QStringLiteral("RA"), 0);
    return raw.isEmpty() ? QStringLiteral("INACTIVE") : validDouble(raw);
}

QString WeatherDataDecoder::getRflosReceiveFrequency()
{
    const QString raw = getFieldValue(QStringLiteral("RA"), 1);
    return raw.isEmpty() ? QStringLiteral("INACTIVE") : validDouble(raw);
}

QString WeatherDataDecoder::getRflosBand()
{
    const QString raw = getFieldValue(QStringLiteral("RA"), 2);
    if (raw.isEmpty())
        return QStringLiteral("INACTIVE");
    switch (validInt(raw).toInt()) {
    case 0:
        return QStringLiteral("INACTIVE");
    case 1:
        return QStringLiteral("UHF");
    case 2:
        return QStringLiteral("VHF");
    default:
        return QStringLiteral("ERROR");
    }
}

QString WeatherDataDecoder::getStationId(bool fromHeader)
{
    if (deviceType == static_cast<int>(DeviceTypes::BRQ))
        return getFieldValue(QStringLiteral("@I"), 0);
    if (!isOrva())
        return QString();
    if (!fromHeader)
        return getFieldValue(QStringLiteral("IR"), 3);

    const QString station = getFieldValue(QStringLiteral("N"), 4).toUpper();
    if (station == QLatin1String("?"))
        return getFieldValue(QStringLiteral("IR"), 3);
    icao = station;
    return station;
}

int WeatherDataDecoder::getPrecipAccumIndex(int hours)
{
    const bool hasField10 = !getFieldValue(QStringLiteral("PA"), 10).isEmpty();
    switch (hours) {
    case 1:
        return hasField10 ? 6 : 5;
    case 3:
        return hasField10 ? 7 : 6;
    case 6:
        return hasField10 ? 8 : 7;
    case 24:
        if (!hasField10)
            return 8;
        return accum24hPrevious ? 9 : 10;
    default:
        return hours;
    }
}
