#include "link/data_incoming.h"

#include "decoder/weatherdatadecoder.h"

#include <QDebug>

const QStringList highSpeedKeys = {
    QStringLiteral("Timestamp"),
    QStringLiteral("Timestamp UTC"),
    QStringLiteral("Timestamp Device"),
    QStringLiteral("Wind Speed"),
    QStringLiteral("Wind Direction"),
    QStringLiteral("Wind Speed Inst"),
    QStringLiteral("Wind Direction 2minAvg"),
    QStringLiteral("Wind Direction Max 10 Minutes"),
    QStringLiteral("Wind Speed Max 10 Minutes"),
    QStringLiteral("Wind Direction Min 10 Minutes"),
    QStringLiteral("Wind Speed Min 10 Minutes"),
    QStringLiteral("Wind Direction Max 1 Hour"),
    QStringLiteral("Wind Speed Max 1 Hour"),
    QStringLiteral("Wind Direction Min 1 Hour"),
    QStringLiteral("Wind Speed Min 1 Hour"),
    QStringLiteral("Wind Average Direction 10 Minutes"),
    QStringLiteral("Wind Average Speed 10 Minutes"),
    QStringLiteral("Wind Average Direction 1 Hour"),
    QStringLiteral("Wind Average Speed 1 Hour"),
    QStringLiteral("X Wind"),
    QStringLiteral("Gust Speed"),
    QStringLiteral("Gust Direction"),
    QStringLiteral("X Gust"),
    QStringLiteral("Lightning Strikes 1 Min"),
    QStringLiteral("Lightning Strikes 10 Min"),
    QStringLiteral("Lightning Strikes 60 Min"),
    QStringLiteral("Lightning Min Distance 1 Min"),
    QStringLiteral("Lightning Min Distance 10 Min"),
    QStringLiteral("Lightning Min Distance 60 Min"),
};

namespace
{

// A frame is at most a couple of kilobytes; parts beyond this size belong to a packet whose
// end never came, and keeping them would let the backlog grow without bound.
constexpr int kMaxBacklogChars = 16384;

} // namespace

// Joins the parts of a multi-part ORVA packet. Returns the text to decode: the packet itself,
// or the parts seen so far when this is a later part.
QByteArray data_incoming::joinPacketParts(const QByteArray& data, int slot)
{
    QString& backlog = packetBacklog[slot];

    // Keys are matched at a line start, so "IN:" or a value holding "T:" cannot stand in. The
    // header is ASCII, so it is read from the bytes; the text is made only for a multi-part packet.
    const int headerAt = data.indexOf("\r\nN:");
    const int statusAt = headerAt < 0 ? -1 : data.indexOf("\r\nB:", headerAt + 2);
    if (statusAt < 0) {
        backlog.clear();
        return data;
    }
    const QList<QByteArray> fields = data.mid(headerAt + 2, statusAt - headerAt - 2).split(':');
    if (fields.size() != 8) {
        backlog.clear();
        return data;
    }
    const int part = fields.at(6).toInt();
    const int total = fields.at(7).toInt();
    if (total < 1 || part > total) {
        backlog.clear();
        return data;
    }
    if (part == 1 && total == 1) {
        backlog.clear();
        return data;
    }

    const QString text = QString::fromUtf8(data);
    QByteArray joined = data;
    if (part == 1) {
        backlog = text;
    } else if (part > 1) {
        // Without a time line the part is taken from its second character on.
        const int timeAt = text.indexOf(QLatin1String("\r\nT:"));
        const int lineEnd = timeAt < 0 ? -1 : text.indexOf(QLatin1String("\r\n"), timeAt + 2);
        const QString rest = text.mid(lineEnd + 2);
        if (backlog.size() + rest.size() > kMaxBacklogChars) {
            qDebug() << "Multi-part packet too long, parts dropped";
            backlog.clear();
            return data;
        }
        // Lines are found after a line end: a part whose first part was never seen must not
        // lose its first line.
        if (!backlog.endsWith(QLatin1String("\r\n")))
            backlog += QLatin1String("\r\n");
        backlog += rest;
        joined = backlog.toUtf8();
    }
    if (part == total)
        backlog.clear();
    return joined;
}

void data_incoming::handleWeatherData(const QByteArray& data, char type, const QByteArray& raw)
{
    const bool full = type == '0' || type == '1' || type == '2';
    const bool orva = deviceType == DeviceTypes::ORVA && !legacyOrva;

    const QByteArray packet = full && orva ? joinPacketParts(data, type - '0') : data;

    const QString text = QString::fromUtf8(packet);
    const bool provisional = isProvisional(type);
    if (provisional) {
        // As after a fresh start; the windows keep the samples for the unit that the first full
        // record names.
        if (!provisionalUnit) {
            provisionalUnit = std::make_unique<UnitMemories>();
            provisionalUnit->decoder = std::make_unique<WeatherDataDecoder>();
        }
        swapUnitMemories(*provisionalUnit);
    }
    QJsonObject record = buildRecordFrom(text);
    if (provisional)
        swapUnitMemories(*provisionalUnit);
    else if (unitTracker.awaitsSecondRecord())
        keepFirstRecordAside(text);
    record.insert(QStringLiteral("Obs METAR"), type == '1');
    record.insert(QStringLiteral("Obs SPECI"), type == '2');
    record.insert(QStringLiteral("Backlog Status"), false);

    if (!legacyOrva) {
        if (type == '1')
            emit metar_detected(record);
        else if (type == '2')
            emit speci_detected(record);
    }

    // The data log keeps the frame as it came, one part at a time; weather goes there in every
    // logging mode.
    emit sendLogData(orva ? raw : data, record, deviceType);

    if (full) {
        lastFullRecord = record;
        emit weather_data_received(record);
        return;
    }
    if (type == 'D' && !lastFullRecord.isEmpty()) {
        for (const QString& key : highSpeedKeys) {
            const QJsonValue value = record.value(key);
            lastFullRecord.insert(key, value.isUndefined() ? QJsonValue(QJsonValue::Null) : value);
        }
        emit weather_data_received(lastFullRecord);
    }
}

QJsonObject data_incoming::buildRecordFrom(const QString& text)
{
    decoder->setRecordText(text);
    packetKind = text.size() > 1 ? text.at(1).toLatin1() : 0;
    decoder->setDeviceType(static_cast<int>(deviceType), legacyOrva);
    decoder->setLoggingType(static_cast<int>(loggingMode));
    return buildWeatherJson();
}

void data_incoming::keepFirstRecordAside(const QString& text)
{
    candidateUnit = std::make_unique<UnitMemories>();
    candidateUnit->decoder = std::make_unique<WeatherDataDecoder>();
    swapUnitMemories(*candidateUnit);
    buildingAside = true;
    buildRecordFrom(text);
    buildingAside = false;
    swapUnitMemories(*candidateUnit);
}

void data_incoming::forgetConnection()
{
    // High-speed packets of a connection that sent no full record told of no unit, and a record
    // that named another unit once is not confirmed by the next connection's.
    provisionalUnit.reset();
    candidateUnit.reset();
    // Neither a record to refresh nor the parts of a packet may pass to the next connection.
    lastFullRecord = QJsonObject();
    for (QString& backlog : packetBacklog)
        backlog.clear();
    unitTracker.connectionEnded();
}
