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
        if (++keys.sinceBlank >= kRecordsPerBlank)
            startFromBlank();
        record = keys.last;
        // The texts move in and out; a record built while another one is (a slot called from
        // within) finds none and writes every value.
        texts.swap(keys.texts);
        if (texts.size() != keys.blank.size())
            texts = QVector<QString>(keys.blank.size());
        written.resize(keys.blank.size());
        std::fill(written.begin(), written.end(), false);
    }

    // Texts come without a QJsonValue: one holds its own copy of the text, costly to make for
    // ninety values that mostly have not changed.
    void insert(const QString& key, const QString& text)
    {
        const int at = positionOf(key);
        if (at < 0) {
            newKeys.append(qMakePair(key, QJsonValue(text)));
            return;
        }
        written[at] = true;
        // A null text would read as "write it again"; the record holds it as an empty one.
        const QString& value = text.isNull() ? emptyText() : text;
        QString& last = texts[at];
        if (!last.isNull() && last == value)
            return;
        last = value;
        (record.begin() + at).value() = QJsonValue(value);
    }

    void insert(const QString& key, const QJsonValue& value)
    {
        if (value.isString()) {
            insert(key, value.toString());
            return;
        }
        const int at = positionOf(key);
        if (at < 0) {
            newKeys.append(qMakePair(key, value));
            return;
        }
        // An undefined value removes the key, as QJsonObject::insert does.
        written[at] = !value.isUndefined();
        texts[at] = QString();
        if (written[at])
            (record.begin() + at).value() = value;
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
        startFromBlank();
        return record;
    }

private:
    // -1 for a key not seen before.
    int positionOf(const QString& key) const
    {
        const auto position = positions.constFind(key);
        return position == positions.constEnd() ? -1 : *position;
    }

    static const QString& emptyText()
    {
        static const QString empty(QLatin1String(""));
        return empty;
    }

    void startFromBlank()
    {
        keys.sinceBlank = 0;
        keys.last = keys.blank;
        keys.texts = QVector<QString>(keys.blank.size());
    }

    RecordKeys& keys;
    const QHash<QString, int> positions;
    QJsonObject record;
    QVector<QString> texts;
    QVarLengthArray<bool, 128> written;
    QVector<QPair<QString, QJsonValue>> newKeys;
};

} // namespace

// One weather record built from the decoder's values, topic by topic. The record's order is kept:
// the decoder notes a field's errors when it first reads it.
class data_incoming::WeatherRecord
{
public:
    explicit WeatherRecord(data_incoming& worker)
        : worker(worker), decoder(*worker.decoder), orva(worker.deviceType == DeviceTypes::ORVA)
    {
    }

    void writeValues()
    {
        writeTimes();
        writeStation();
        writeTemperatures();
        writeWind();
        writeAir();
        writeClouds();
        writeLightning();
        const PositionSample position = writePosition();
        writeDerived();
        writeSea();
        writeRadio();
        if (!worker.buildingAside)
            record.insert(QStringLiteral("Tampering"),
                          worker.checkTampering(position, worker.packetKind));
    }

    QJsonObject finish() { return record.finish(); }

private:
    // A device clock that was never set reports the year 2000.
    void writeTimes()
    {
        const QString timestamp = decoder.getTimestamp();
        record.insert(QStringLiteral("Timestamp"), timestamp);
        if (timestamp.isEmpty() || timestamp.startsWith(QLatin1String("2000"))) {
            record.insert(QStringLiteral("Timestamp UTC"), shortTimeText(Clock::nowUtc()));
            record.insert(QStringLiteral("Timestamp Device"), timestamp.mid(2));
            sampleTime = parseRecordTime(timestamp, Qt::LocalTime);
            return;
        }
        sampleTime = parseRecordTime(timestamp, Qt::UTC);
        const QString text = sampleTime.isValid() ? shortTimeText(sampleTime) : QString();
        record.insert(QStringLiteral("Timestamp UTC"), text);
        record.insert(QStringLiteral("Timestamp Device"), text);
    }

    void writeStation()
    {
        worker.stationId = decoder.getStationId(false);
        record.insert(QStringLiteral("IMEI"), worker.stationId);
        // Before the report reads the temperature into the decoder's histories.
        worker.followUnit(worker.stationId);

        decoder.setPrecipAccum24Interval(static_cast<int>(worker.precipInterval));
        QString report = decoder.createMetar();
        if (orva) {
            // Without an ICAO identifier the report names the unit in the station field. Only
            // the placeholder of zeros is replaced: an identifier already there is the unit's own.
            if (decoder.getIcao().isEmpty() && report.mid(6, 15) == kNoStation)
                report.replace(6, 15, worker.stationId);
            const QJsonObject totals = decoder.getPrecipTotals();
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

        record.insert(QStringLiteral("Type"), decoder.getDeviceModel());
        record.insert(QStringLiteral("Voltage"), decoder.getVoltage());
    }

    void writeTemperatures()
    {
        const QString temperature = decoder.getTemperature();
        const QPair<QString, QString> extremes =
            worker.runTemperatureWindow(sampleTime, temperature);
        record.insert(QStringLiteral("Temperature"), temperature);
        record.insert(QStringLiteral("Temperature 24 Hrs Max"), extremes.first);
        record.insert(QStringLiteral("Temperature 24 Hrs Min"), extremes.second);
    }

    void writeWind()
    {
        const QString speed = decoder.getWindSpeed(false);
        const QString direction = decoder.getWindDirection();
        record.insert(QStringLiteral("Wind Speed"), speed);
        record.insert(QStringLiteral("Wind Direction"), direction);
        record.insert(QStringLiteral("Wind Speed Inst"), decoder.getWindSpeed(true));
        record.insert(QStringLiteral("Wind Direction 2minAvg"), decoder.getWindDirection2MinAvg());
        for (const auto& extreme : worker.runWindWindows(sampleTime, speed, direction))
            record.insert(extreme.first, extreme.second);
        record.insert(QStringLiteral("X Wind"), worker.crosswind(speed, direction, true));

        const QString gustSpeed = decoder.getGustSpeed();
        const QString gustDirection = decoder.getGustDirection();
        record.insert(QStringLiteral("Gust Speed"), gustSpeed);
        record.insert(QStringLiteral("Gust Direction"), gustDirection);
        record.insert(QStringLiteral("X Gust"), worker.crosswind(gustSpeed, gustDirection, false));
    }

    // Pressure, humidity and dew point.
    void writeAir()
    {
        record.insert(QStringLiteral("Pressure"), decoder.getStationPressure());
        record.insert(QStringLiteral("HA Pressure"), decoder.getHAPressure());
        record.insert(QStringLiteral("Humidity"), decoder.getHumidity());

        const QString dewPoint = decoder.calcDewPoint();
        const QPair<QString, QString> extremes = worker.runDewPointWindow(sampleTime, dewPoint);
        record.insert(QStringLiteral("Dewpoint"), dewPoint);
        record.insert(QStringLiteral("Dew Point 24 Hrs Max"), extremes.first);
        record.insert(QStringLiteral("Dew Point 24 Hrs Min"), extremes.second);
    }

    // Without a working ceilometer every layer reads "-"; with one, the layers it does not
    // report are empty.
    void writeClouds()
    {
        constexpr int kLayerCount = 6;
        static const QString kLayerKeys[kLayerCount] = {
            QStringLiteral("Cloud Layer 1"), QStringLiteral("Cloud Layer 2"),
            QStringLiteral("Cloud Layer 3"), QStringLiteral("Cloud Layer 4"),
            QStringLiteral("Cloud Layer 5"), QStringLiteral("Cloud Layer 6")};
        QList<int> heights;
        QStringList covers;
        QString sky = decoder.getCloudLayers(heights, covers);
        const bool measured = !sky.contains(QLatin1String("Ceilometer OFF")) &&
                              !sky.contains(QLatin1String("No Ceilometer"));
        record.insert(QStringLiteral("Cloud Vertical Visibility"),
                      measured ? QStringLiteral("0") : QStringLiteral("-"));
        const int layers = measured ? qMin(heights.size(), kLayerCount) : 0;
        for (int i = 0; i < kLayerCount; ++i) {
            QString height = measured ? QString() : QStringLiteral("-");
            if (i < layers) {
                height = QString::number(heights.at(i));
                if (i > 0)
                    sky += QStringLiteral(", ");
                sky += height;
            }
            record.insert(kLayerKeys[i], height);
        }
        if (layers > 0)
            sky += QStringLiteral(" ft");
        record.insert(QStringLiteral("Clouds"), sky);
        record.insert(QStringLiteral("Lowest Broken Layer"), decoder.getLowestBrokenLayer());
    }

    void writeLightning()
    {
        record.insert(QStringLiteral("Precipitation"), decoder.getPrecipitation());
        record.insert(QStringLiteral("Lightning Frequency"), decoder.getLightningFrequency());
        record.insert(QStringLiteral("Lightning Distance"), decoder.getLightningDistance());
        const QStringList strikes = decoder.getLightningStrikes();
        record.insert(QStringLiteral("Lightning Strikes 1 Min"), strikes.value(0));
        record.insert(QStringLiteral("Lightning Strikes 10 Min"), strikes.value(1));
        record.insert(QStringLiteral("Lightning Strikes 60 Min"), strikes.value(2));
        record.insert(QStringLiteral("Lightning Min Distance 1 Min"), strikes.value(3));
        record.insert(QStringLiteral("Lightning Min Distance 10 Min"), strikes.value(4));
        record.insert(QStringLiteral("Lightning Min Distance 60 Min"), strikes.value(5));
    }

    // The position values, also as the sample the tamper check compares.
    PositionSample writePosition()
    {
        const QString latitude = decoder.getLatitude();
        const QString longitude = decoder.getLongitude();
        const QString elevation = decoder.getElevation();
        const QString orientation = decoder.getOrientation();
        const QString tilt = decoder.getTilt();
        record.insert(QStringLiteral("Latitude"), latitude);
        record.insert(QStringLiteral("Longitude"), longitude);
        record.insert(QStringLiteral("Elevation"), elevation);
        record.insert(QStringLiteral("Orientation"), orientation);
        record.insert(QStringLiteral("Tilt"), tilt);
        PositionSample position;
        position.time = sampleTime;
        position.latitude = decimalValue(latitude);
        position.longitude = decimalValue(longitude);
        position.elevation = decimalValue(elevation);
        position.orientation = decimalValue(orientation);
        position.tilt = decimalValue(tilt);
        return position;
    }

    void writeDerived()
    {
        record.insert(QStringLiteral("Reporting Mode"), decoder.getReportingInterval());
        record.insert(QStringLiteral("Heat Index"), decoder.calcHeatIndex());
        record.insert(QStringLiteral("Wind Chill"), decoder.calcWindChill());
        record.insert(QStringLiteral("Altimeter"), decoder.getAltimeter());

        const QString stationPressure = decoder.getStationPressure();
        record.insert(QStringLiteral("Station Pressure"),
                      stationPressure.isEmpty()
                          ? QStringLiteral("-")
                          : generalNumber(decimalValue(stationPressure) / 33.8639));
        const QString pressureChange = worker.runPressureWindow(sampleTime, stationPressure);
        record.insert(QStringLiteral("3 Hr Pressure"), worker.deviceType == DeviceTypes::BRQ
                                                           ? pressureChange
                                                           : decoder.getThreeHourPressure());

        record.insert(QStringLiteral("Sea Level Pressure"), decoder.calcSeaLevelPressure());
        record.insert(QStringLiteral("Pressure Altitude"), decoder.calcPressureAltitude());
        record.insert(QStringLiteral("Density Altitude"), decoder.calcDensityAltitude());
    }

    // The present weather and contamination, then the sea.
    void writeSea()
    {
        record.insert(QStringLiteral("Present Weather"),
                      decoder.describePresentWeather(decoder.getPresentWeather(true)));
        record.insert(QStringLiteral("Contamination"), decoder.getContamination());
        record.insert(QStringLiteral("Sig Wave Direction"), decoder.getSigWaveDirection());
        record.insert(QStringLiteral("Sig Wave Period"), decoder.getSigWavePeriod());
        record.insert(QStringLiteral("Sig Wave Height"), decoder.getSigWaveHeight());
        record.insert(QStringLiteral("Sea Surface Temp"), decoder.getSeaSurfaceTemp());
        record.insert(QStringLiteral("Compass Heading"), decoder.getCompassHeading());
    }

    // The port, the visibility, then the station radio.
    void writeRadio()
    {
        record.insert(QStringLiteral("Serial Port"), worker.serialPort->portName());
        record.insert(QStringLiteral("Visibility"), decoder.getVisibility());
        if (orva)
            record.insert(QStringLiteral("Visibility1"), decoder.getVisibility1());
        record.insert(QStringLiteral("RFLOS Transmit Frequency"),
                      decoder.getRflosTransmitFrequency());
        record.insert(QStringLiteral("RFLOS Receive Frequency"),
                      decoder.getRflosReceiveFrequency());
        record.insert(QStringLiteral("RFLOS Band"), decoder.getRflosBand());
        record.insert(QStringLiteral("Radio Transmit Rate"), decoder.getRadioTransmitRate());
    }

    data_incoming& worker;
    WeatherDataDecoder& decoder;
    const bool orva;
    RecordWriter record;
    QDateTime sampleTime;
};

QJsonObject data_incoming::buildWeatherJson()
{
    WeatherRecord record(*this);
    record.writeValues();
    if (loggingMode == LoggingType::Debug && !buildingAside) {
        const QStringList errors = decoder->getParseErrors();
        decoder->clearParseErrors();
        if (!errors.isEmpty())
            emit sendLogMsg("DEBUG: List of Parsing Errors [ " +
                            errors.join(QLatin1Char(',')).toUtf8() + " ]");
    }
    return record.finish();
}
