#include "link/data_incoming.h"

#include "decoder/clock.h"
#include "decoder/weatherdatadecoder.h"

#include <QDate>
#include <QHash>
#include <QTime>
#include <QVarLengthArray>
#include <QVector>

#include <algorithm>

namespace
{

const QString kNoStation = QStringLiteral("000000000000000");

// Reads the decoder's "yyyy-MM-dd hh:mm:ss" text digit by digit: it is parsed for every record,
// and a local-time parse could shift or void a time that is meant as UTC.
QDateTime parseRecordTime(const QString& text, Qt::TimeSpec timeSpec)
{
    if (text.size() != 19)
        return QDateTime();
    int parts[6] = {};
    const int starts[6] = {0, 5, 8, 11, 14, 17};
    const int lengths[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        for (int k = starts[i]; k < starts[i] + lengths[i]; ++k) {
            const QChar c = text.at(k);
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return QDateTime();
            parts[i] = parts[i] * 10 + (c.unicode() - '0');
        }
    }
    const QDate date(parts[0], parts[1], parts[2]);
    const QTime time(parts[3], parts[4], parts[5]);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, timeSpec);
}

// "yy-MM-dd hh:mm:ss", the form of the record's two derived time keys.
QString shortTimeText(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime c = t.time();
    const int parts[6] = {d.year() % 100, d.month(), d.day(), c.hour(), c.minute(), c.second()};
    const char separators[6] = {'-', '-', ' ', ':', ':', '\0'};
    QString text(17, Qt::Uninitialized);
    QChar* out = text.data();
    for (int i = 0; i < 6; ++i) {
        // A year before 2000 gives a negative remainder; it is written as printf would.
        if (parts[i] < 0 || parts[i] > 99)
            return QString::asprintf("%02d-%02d-%02d %02d:%02d:%02d", parts[0], parts[1], parts[2],
                                     parts[3], parts[4], parts[5]);
        *out++ = QLatin1Char(char('0' + parts[i] / 10));
        *out++ = QLatin1Char(char('0' + parts[i] % 10));
        if (separators[i])
            *out++ = QLatin1Char(separators[i]);
    }
    return text;
}

// A precipitation total the report writer did not fill is written as no value.
QJsonValue precipTotal(const QJsonObject& totals, const QString& period)
{
    const QJsonValue value = totals.value(period);
    return value.isUndefined() || value.isNull() ? QJsonValue(QString()) : value;
}

QString generalNumber(double value)
{
    return QString::number(value, 'g', 6);
}

// The keys that records built on this thread have had: an object with each key and no value,
// one with the value each had last, the text that value was written from (null: write it
// again), and the position of each key in these objects.
struct RecordKeys {
    QJsonObject blank;
    QJsonObject last;
    QVector<QString> texts;
    QHash<QString, int> positions;
    int sinceBlank = 0; // records built on `last` since it was last started from `blank`
};

RecordKeys& recordKeys()
{
    thread_local RecordKeys keys;
    return keys;
}

// Builds a record as a series of QJsonObject::insert calls would, but without searching for and
// inserting each of its ninety keys: values go into a copy of the record before, and a text that
// is the same as then is not written again (most are: writing ninety values costs more than
// building the rest of the record). An object keeps the bytes of every value it has held, so
// every few records start afresh from the keys alone. Keys that the record does not set are
// removed at the end, and keys not seen before are added then.
class RecordWriter
{
public:
    RecordWriter() : keys(recordKeys()), positions(keys.positions)
    {
        constexpr int kRecordsPerBlank = 16;
        if (++keys.sinceBlank >= kRecordsPerBlank) {
            keys.sinceBlank = 0;
            keys.last = keys.blank;
            keys.texts = QVector<QString>(keys.texts.size());
        }
        record = keys.last;
        // The texts move in and out; a record built while another one is (a slot called from
        // within) finds none and writes every value.
        texts.swap(keys.texts);
        if (texts.size() != keys.blank.size())
            texts = QVector<QString>(keys.blank.size());
        written.resize(keys.blank.size());
        std::fill(written.begin(), written.end(), false);
    }

    void insert(const QString& key, const QString& text)
    {
        const auto position = positions.constFind(key);
        if (position == positions.constEnd()) {
            newKeys.append(qMakePair(key, QJsonValue(text)));
            return;
        }
        written[*position] = true;
        // A null text would read as "write it again"; the record holds it as an empty one.
        const QString& value = text.isNull() ? emptyText() : text;
        QString& last = texts[*position];
        if (!last.isNull() && last == value)
            return;
        last = value;
        (record.begin() + *position).value() = QJsonValue(value);
    }

    void insert(const QString& key, const QJsonValue& value)
    {
        if (value.isString()) {
            insert(key, value.toString());
            return;
        }
        const auto position = positions.constFind(key);
        if (position == positions.constEnd()) {
            newKeys.append(qMakePair(key, value));
            return;
        }
        // An undefined value removes the key, as insert does.
        written[*position] = !value.isUndefined();
        texts[*position] = QString();
        if (written[*position])
            (record.begin() + *position).value() = value;
    }

    QJsonObject finish()
    {
        keys.last = record;
        keys.texts.swap(texts);
        for (int i = written.size() - 1; i >= 0; --i) {
            if (!written[i])
                record.erase(record.begin() + i);
        }
        if (newKeys.isEmpty())
            return record;

        for (const auto& entry : qAsConst(newKeys)) {
            record.insert(entry.first, entry.second);
            keys.blank.insert(entry.first, QJsonValue());
        }
        keys.positions.clear();
        int position = 0;
        for (auto it = keys.blank.constBegin(); it != keys.blank.constEnd(); ++it)
            keys.positions.insert(it.key(), position++);
        keys.last = keys.blank;
        keys.texts = QVector<QString>(keys.blank.size());
        keys.sinceBlank = 0;
        return record;
    }

private:
    static const QString& emptyText()
    {
        static const QString empty(QLatin1String(""));
        return empty;
    }

    RecordKeys& keys;
    const QHash<QString, int> positions;
    QJsonObject record;
    QVector<QString> texts;
    QVarLengthArray<bool, 128> written;
    QVector<QPair<QString, QJsonValue>> newKeys;
};

} // namespace

QJsonObject data_incoming::buildWeatherJson()
{
    RecordWriter record;
    const bool orva = deviceType == DeviceTypes::ORVA;

    // Record time. A device clock that was never set reports the year 2000.
    const QString timestamp = decoder->getTimestamp();
    record.insert(QStringLiteral("Timestamp"), timestamp);
    QDateTime sampleTime;
    if (timestamp.isEmpty() || timestamp.startsWith(QLatin1String("2000"))) {
        record.insert(QStringLiteral("Timestamp UTC"), shortTimeText(Clock::nowUtc()));
        record.insert(QStringLiteral("Timestamp Device"), timestamp.mid(2));
        sampleTime = parseRecordTime(timestamp, Qt::LocalTime);
    } else {
        sampleTime = parseRecordTime(timestamp, Qt::UTC);
        const QString text = sampleTime.isValid() ? shortTimeText(sampleTime) : QString();
        record.insert(QStringLiteral("Timestamp UTC"), text);
        record.insert(QStringLiteral("Timestamp Device"), text);
    }

    stationId = decoder->getStationId(false);
    record.insert(QStringLiteral("IMEI"), stationId);

    decoder->setPrecipAccum24Interval(static_cast<int>(precipInterval));
    QString report = decoder->createMetar();
    if (orva) {
        // Without an ICAO identifier the report names the unit in the station field. Only the
        // placeholder of zeros is replaced: an identifier already there is the unit's own.
        if (decoder->getIcao().isEmpty() && report.mid(6, 15) == kNoStation)
            report.replace(6, 15, stationId);
        const QJsonObject totals = decoder->getPrecipTotals();
        record.insert(QStringLiteral("precip_total_1hr"),
                      precipTotal(totals, QStringLiteral("1hr")));
        record.insert(QStringLiteral("precip_total_3hr"),
                      precipTotal(totals, QStringLiteral("3hr")));
        record.insert(QStringLiteral("precip_total_6hr"),
                      precipTotal(totals, QStringLiteral("6hr")));
        record.insert(QStringLiteral("precip_total_24hr"),
                      precipTotal(totals, QStringLiteral("24hr")));
    }
    record.insert(QStringLiteral("METAR"), report.trimmed());

    record.insert(QStringLiteral("Type"), decoder->getDeviceModel());
    record.insert(QStringLiteral("Voltage"), decoder->getVoltage());

    const QString temperature = decoder->getTemperature();
    const QPair<QString, QString> temperatureExtremes =
        runTemperatureWindow(sampleTime, temperature);
    record.insert(QStringLiteral("Temperature"), temperature);
    record.insert(QStringLiteral("Temperature 24 Hrs Max"), temperatureExtremes.first);
    record.insert(QStringLiteral("Temperature 24 Hrs Min"), temperatureExtremes.second);

    const QString windSpeed = decoder->getWindSpeed(false);
    const QString windDirection = decoder->getWindDirection();
    record.insert(QStringLiteral("Wind Speed"), windSpeed);
    record.insert(QStringLiteral("Wind Direction"), windDirection);
    record.insert(QStringLiteral("Wind Speed Inst"), decoder->getWindSpeed(true));
    record.insert(QStringLiteral("Wind Direction 2minAvg"), decoder->getWindDirection2MinAvg());
    for (const auto& extreme : runWindWindows(sampleTime, windSpeed, windDirection))
        record.insert(extreme.first, extreme.second);
    record.insert(QStringLiteral("X Wind"), crosswind(windSpeed, windDirection, true));

    const QString gustSpeed = decoder->getGustSpeed();
    const QString gustDirection = decoder->getGustDirection();
    record.insert(QStringLiteral("Gust Speed"), gustSpeed);
    record.insert(QStringLiteral("Gust Direction"), gustDirection);
    record.insert(QStringLiteral("X Gust"), crosswind(gustSpeed, gustDirection, false));

    record.insert(QStringLiteral("Pressure"), decoder->getStationPressure());
    record.insert(QStringLiteral("HA Pressure"), decoder->getHAPressure());
    record.insert(QStringLiteral("Humidity"), decoder->getHumidity());

    const QString dewPoint = decoder->calcDewPoint();
    const QPair<QString, QString> dewPointExtremes = runDewPointWindow(sampleTime, dewPoint);
    record.insert(QStringLiteral("Dewpoint"), dewPoint);
    record.insert(QStringLiteral("Dew Point 24 Hrs Max"), dewPointExtremes.first);
    record.insert(QStringLiteral("Dew Point 24 Hrs Min"), dewPointExtremes.second);

    constexpr int kLayerCount = 6;
    static const QString kLayerKeys[kLayerCount] = {
        QStringLiteral("Cloud Layer 1"), QStringLiteral("Cloud Layer 2"),
        QStringLiteral("Cloud Layer 3"), QStringLiteral("Cloud Layer 4"),
        QStringLiteral("Cloud Layer 5"), QStringLiteral("Cloud Layer 6")};
    const auto layerKey = [](int position) -> const QString& { return kLayerKeys[position - 1]; };
    for (int position = 1; position <= kLayerCount; ++position)
        record.insert(layerKey(position), QString());
    QList<int> heights;
    QStringList covers;
    QString sky = decoder->getCloudLayers(heights, covers);
    if (!sky.contains(QLatin1String("Ceilometer OFF")) &&
        !sky.contains(QLatin1String("No Ceilometer"))) {
        record.insert(QStringLiteral("Cloud Vertical Visibility"), QStringLiteral("0"));
        const int layers = qMin(heights.size(), kLayerCount);
        for (int i = 0; i < layers; ++i) {
            const QString height = QString::number(heights.at(i));
            record.insert(layerKey(i + 1), height);
            if (i > 0)
                sky += QStringLiteral(", ");
            sky += height;
        }
        if (layers > 0)
            sky += QStringLiteral(" ft");
    } else {
        record.insert(QStringLiteral("Cloud Vertical Visibility"), QStringLiteral("-"));
        for (int position = 1; position <= kLayerCount; ++position)
            record.insert(layerKey(position), QStringLiteral("-"));
    }
    record.insert(QStringLiteral("Clouds"), sky);

    record.insert(QStringLiteral("Lowest Broken Layer"), decoder->getLowestBrokenLayer());
    record.insert(QStringLiteral("Precipitation"), decoder->getPrecipitation());
    record.insert(QStringLiteral("Lightning Frequency"), decoder->getLightningFrequency());
    record.insert(QStringLiteral("Lightning Distance"), decoder->getLightningDistance());
    const QStringList strikes = decoder->getLightningStrikes();
    record.insert(QStringLiteral("Lightning Strikes 1 Min"), strikes.value(0));
    record.insert(QStringLiteral("Lightning Strikes 10 Min"), strikes.value(1));
    record.insert(QStringLiteral("Lightning Strikes 60 Min"), strikes.value(2));
    record.insert(QStringLiteral("Lightning Min Distance 1 Min"), strikes.value(3));
    record.insert(QStringLiteral("Lightning Min Distance 10 Min"), strikes.value(4));
    record.insert(QStringLiteral("Lightning Min Distance 60 Min"), strikes.value(5));

    PositionSample position;
    position.time = sampleTime;
    const QString latitude = decoder->getLatitude();
    const QString longitude = decoder->getLongitude();
    const QString elevation = decoder->getElevation();
    const QString orientation = decoder->getOrientation();
    const QString tilt = decoder->getTilt();
    record.insert(QStringLiteral("Latitude"), latitude);
    record.insert(QStringLiteral("Longitude"), longitude);
    record.insert(QStringLiteral("Elevation"), elevation);
    record.insert(QStringLiteral("Orientation"), orientation);
    record.insert(QStringLiteral("Tilt"), tilt);
    position.latitude = decimalValue(latitude);
    position.longitude = decimalValue(longitude);
    position.elevation = decimalValue(elevation);
    position.orientation = decimalValue(orientation);
    position.tilt = decimalValue(tilt);

    record.insert(QStringLiteral("Reporting Mode"), decoder->getReportingInterval());
    record.insert(QStringLiteral("Heat Index"), decoder->calcHeatIndex());
    record.insert(QStringLiteral("Wind Chill"), decoder->calcWindChill());
    record.insert(QStringLiteral("Altimeter"), decoder->getAltimeter());

    const QString stationPressure = decoder->getStationPressure();
    record.insert(QStringLiteral("Station Pressure"),
                  stationPressure.isEmpty()
                      ? QStringLiteral("-")
                      : generalNumber(decimalValue(stationPressure) / 33.8639));
    const QString pressureChange = runPressureWindow(sampleTime, stationPressure);
    record.insert(QStringLiteral("3 Hr Pressure"), deviceType == DeviceTypes::BRQ
                                                       ? pressureChange
                                                       : decoder->getThreeHourPressure());

    record.insert(QStringLiteral("Sea Level Pressure"), decoder->calcSeaLevelPressure());
    record.insert(QStringLiteral("Pressure Altitude"), decoder->calcPressureAltitude());
    record.insert(QStringLiteral("Density Altitude"), decoder->calcDensityAltitude());
    record.insert(QStringLiteral("Present Weather"),
                  decoder->describePresentWeather(decoder->getPresentWeather(true)));
    record.insert(QStringLiteral("Contamination"), decoder->getContamination());
    const QString waveDirection = decoder->getSigWaveDirection();
    const QString wavePeriod = decoder->getSigWavePeriod();
    const QString waveHeight = decoder->getSigWaveHeight();
    const QString seaTemperature = decoder->getSeaSurfaceTemp();
    const QString heading = decoder->getCompassHeading();
    record.insert(QStringLiteral("Sig Wave Direction"), waveDirection);
    record.insert(QStringLiteral("Sig Wave Period"), wavePeriod);
    record.insert(QStringLiteral("Sig Wave Height"), waveHeight);
    record.insert(QStringLiteral("Sea Surface Temp"), seaTemperature);
    record.insert(QStringLiteral("Compass Heading"), heading);

    record.insert(QStringLiteral("Serial Port"), serialPort->portName());
    record.insert(QStringLiteral("Visibility"), decoder->getVisibility());
    if (orva)
        record.insert(QStringLiteral("Visibility1"), decoder->getVisibility1());
    record.insert(QStringLiteral("RFLOS Transmit Frequency"), decoder->getRflosTransmitFrequency());
    record.insert(QStringLiteral("RFLOS Receive Frequency"), decoder->getRflosReceiveFrequency());
    record.insert(QStringLiteral("RFLOS Band"), decoder->getRflosBand());
    record.insert(QStringLiteral("Radio Transmit Rate"), decoder->getRadioTransmitRate());

    record.insert(QStringLiteral("Tampering"), checkTampering(position, packetKind));

    if (loggingMode == LoggingType::Debug) {
        const QStringList errors = decoder->getParseErrors();
        decoder->clearParseErrors();
        if (!errors.isEmpty())
            emit sendLogMsg("DEBUG: List of Parsing Errors [ " +
                            errors.join(QLatin1Char(',')).toUtf8() + " ]");
    }
    return record.finish();
}
