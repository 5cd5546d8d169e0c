#include "decoder/weatherdatadecoder.h"

#include <QDebug>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

// Bounds the scan of one field whatever the unit sends.
constexpr int kMaxFieldLength = 1024;

// A plain decimal ("-12.5", "1013") of at most 16 characters is always a finite double.
bool isPlainDecimal(const QString& text)
{
    const int size = text.size();
    if (size == 0 || size > 16)
        return false;
    const QChar* c = text.constData();
    const auto isDigit = [](QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); };
    int i = c[0] == QLatin1Char('-') ? 1 : 0;
    const int wholeStart = i;
    while (i < size && isDigit(c[i]))
        ++i;
    if (i == wholeStart)
        return false;
    if (i == size)
        return true;
    if (c[i] != QLatin1Char('.'))
        return false;
    const int fractionStart = ++i;
    while (i < size && isDigit(c[i]))
        ++i;
    return i == size && i > fractionStart;
}

} // namespace

QString validDouble(const QString& text)
{
    // Most fields are plain decimals, which need no conversion to be checked.
    if (isPlainDecimal(text))
        return text;
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
    if (whole < static_cast<double>(std::numeric_limits<qint32>::min()) ||
        whole > static_cast<double>(std::numeric_limits<qint32>::max()))
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
    accum24hPrevious =
        interval == static_cast<int>(PrecipAccum24hInterval::Previous24Hours) ? 1 : 0;
}

int WeatherDataDecoder::fieldStart(const QString& key)
{
    // The unit's identity line may open the text, so it is not anchored to a line start. A key
    // holding a colon cannot be told by the index; both are searched for as they stand.
    bool identity = false;
    bool colon = false;
    for (int i = 0; i < key.size(); ++i) {
        colon = colon || key.at(i) == QLatin1Char(':');
        identity = identity || (key.at(i) == QLatin1Char('@') && i + 1 < key.size() &&
                                key.at(i + 1) == QLatin1Char('I'));
    }
    if (identity || colon) {
        const QString needle =
            identity ? key + QLatin1Char(':') : QStringLiteral("\r\n") + key + QLatin1Char(':');
        const int found = recordText.indexOf(needle);
        return found < 0 ? -1 : found + needle.size();
    }

    if (!lineIndex.filled || !lineIndex.text.isSharedWith(recordText)) {
        lineIndex.lines.clear();
        const QChar* text = recordText.constData();
        const int size = recordText.size();
        // Line starts still waiting for their first colon; one colon may end several lines
        // that hold none.
        QVarLengthArray<int, 8> waiting;
        for (int i = 0; i < size; ++i) {
            const ushort c = text[i].unicode();
            if (c == ':') {
                for (int lineStart : qAsConst(waiting))
                    lineIndex.lines.append({lineStart, i - lineStart, i + 1});
                waiting.clear();
            } else if (c == '\r' && i + 1 < size && text[i + 1] == QLatin1Char('\n')) {
                waiting.append(i + 2);
                ++i;
            }
        }
        lineIndex.text = recordText;
        lineIndex.filled = true;
    }

    // The first line with the key wins, as a search of the text would find it.
    const QChar* text = recordText.constData();
    for (const LineKey& line : qAsConst(lineIndex.lines)) {
        if (line.keyLength == key.size() &&
            std::equal(key.constData(), key.constData() + key.size(), text + line.keyStart))
            return line.valueStart;
    }
    return -1;
}

QString WeatherDataDecoder::getFieldValue(QString key, int index)
{
    if (key.isNull())
        return QString();

    const int start = fieldStart(key);
    if (start < 0)
        return QString();

    const QChar* text = recordText.constData();
    const int end = recordText.size();

    if (index <= 0) {
        const int limit = qMin(end, start + kMaxFieldLength);
        int pos = start;
        while (pos < limit) {
            const QChar c = text[pos];
            if (c == QLatin1Char('\r') || (index == 0 && c == QLatin1Char(':')))
                break;
            ++pos;
        }
        return recordText.mid(start, pos - start);
    }

    // The line runs to its "\r\n", or to the end of the text for a last line without one.
    int pos = start;
    int colons = 0;
    while (colons < index && pos < end) {
        const QChar c = text[pos];
        if (c == QLatin1Char('\r') && pos + 1 < end && text[pos + 1] == QLatin1Char('\n'))
            break;
        if (c == QLatin1Char(':'))
            ++colons;
        ++pos;
    }
    if (colons < index) {
        reportFieldError(key + QLatin1Char(':') + QString::number(index) +
                         QStringLiteral(" not found"));
        return QString();
    }

    // A lone carriage return ends the value as well.
    int stop = pos;
    while (stop < end && text[stop] != QLatin1Char(':') && text[stop] != QLatin1Char('\r'))
        ++stop;
    return recordText.mid(pos, stop - pos);
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
