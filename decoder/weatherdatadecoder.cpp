#include "decoder/weatherdatadecoder.h"

#include <QDebug>

#include <cmath>
#include <limits>

namespace {

// Bounds the scan of one field whatever the unit sends.
constexpr int kMaxFieldLength = 1024;

} // namespace

QString validDouble(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    // "nan" and "inf" parse, but no reader or formula can use them.
    if (!ok || !std::isfinite(value))
        return QString();
    return text;
}

QString validInt(const QString& text)
{
    bool ok = false;
    text.toInt(&ok, 10);
    return ok ? text : QString();
}

double roundToStep(double value, double step)
{
    if (step == 0.0)
        return value;
    double q = value / step;
    if (!std::isfinite(q))
        return value;
    q = value > 0.0 ? q + 0.5 : q - 0.5;
    const double whole = std::trunc(q);
    // Converting an out-of-range double to int is undefined; such values are not rounded.
    if (whole < static_cast<double>(std::numeric_limits<qint32>::min())
        || whole > static_cast<double>(std::numeric_limits<qint32>::max()))
        return value;
    return static_cast<double>(static_cast<qint32>(whole)) * step;
}

WeatherDataDecoder::WeatherDataDecoder() = default;

void WeatherDataDecoder::setRecordText(const QString& text)
{
    recordText = text;
}

void WeatherDataDecoder::setDeviceType(int type, bool legacy)
{
    deviceType = type;
    // Only the legacy start-up path knows the variant; later records must not clear it.
    if (legacy)
        this->legacy = true;
    parseErrors.clear();
}

void WeatherDataDecoder::setLoggingType(int type)
{
    loggingType = type;
}

void WeatherDataDecoder::setIcao(QString icao)
{
    this->icao = icao;
}

void WeatherDataDecoder::setPrecipAccum24Interval(int interval)
{
    accum24hPrevious = interval == static_cast<int>(PrecipAccum24hInterval::Previous24Hours) ? 1 : 0;
}

QString WeatherDataDecoder::getFieldValue(QString key, int index)
{
    if (key.isNull())
        return QString();

    // The unit's identity line may open the text, so it is not anchored to a line start.
    const QString needle = key.contains(QLatin1String("@I"))
                               ? key + QLatin1Char(':')
                               : QStringLiteral("\r\n") + key + QLatin1Char(':');
    const int found = recordText.indexOf(needle);
    if (found < 0)
        return QString();

    const int start = found + needle.size();
    const int end = recordText.size();

    if (index <= 0) {
        const int limit = qMin(end, start + kMaxFieldLength);
        int pos = start;
        while (pos < limit) {
            const QChar c = recordText.at(pos);
            if (c == QLatin1Char('\r') || (index == 0 && c == QLatin1Char(':')))
                break;
            ++pos;
        }
        return recordText.mid(start, pos - start);
    }

    // A last line without its "\r\n" runs to the end of the text.
    const int lineEnd = recordText.indexOf(QLatin1String("\r\n"), start);
    const QString line =
        lineEnd < 0 ? recordText.mid(start) : recordText.mid(start, lineEnd + 2 - start);
    if (line.count(QLatin1Char(':')) < index) {
        const QString error = key + QLatin1Char(':') + QString::number(index)
                              + QStringLiteral(" not found");
        reportFieldError(error);
        return QString();
    }

    QString part = line.split(QLatin1Char(':')).at(index);
    const int cr = part.indexOf(QLatin1Char('\r'));
    if (cr >= 0)
        part.truncate(cr);
    return part;
}

void WeatherDataDecoder::reportFieldError(const QString& error)
{
    qDebug().noquote() << error;
    parseErrors.append(error);
}

QStringList WeatherDataDecoder::getParseErrors() const
{
    return parseErrors;
}

void WeatherDataDecoder::clearParseErrors()
{
    parseErrors.clear();
}

QString WeatherDataDecoder::getIcao() const
{
    return icao;
}

QJsonObject WeatherDataDecoder::getPrecipTotals() const
{
    return precipTotals;
}
