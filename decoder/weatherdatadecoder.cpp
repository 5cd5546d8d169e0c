#include "decoder/weatherdatadecoder.h"

#include <QDebug>

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

quint32 keyCode(const QChar* key, int size)
{
    quint32 code = quint32(size);
    for (int i = 0; i < size; ++i)
        code = code * 31 + key[i].unicode();
    return code;
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

double decimalValue(const QString& text)
{
    // A plain decimal of at most 15 digits is a whole number below 2^53 divided by a power of
    // ten below 10^16, both exact as doubles, so the one division rounds as a full parse does.
    if (isPlainDecimal(text)) {
        const QChar* c = text.constData();
        const bool negative = c[0] == QLatin1Char('-');
        qint64 digits = 0;
        int count = 0;
        int decimals = -1;
        for (int i = negative ? 1 : 0; i < text.size(); ++i) {
            if (c[i] == QLatin1Char('.')) {
                decimals = 0;
                continue;
            }
            digits = digits * 10 + (c[i].unicode() - '0');
            ++count;
            if (decimals >= 0)
                ++decimals;
        }
        if (count <= 15) {
            static const double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
            const double value = double(digits) / kPowers[qMax(decimals, 0)];
            return negative ? -value : value;
        }
    }
    return text.toDouble();
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

void WeatherDataDecoder::indexLines()
{
    // The texts kept from the record before are let go.
    for (int i = 0; i < lineIndex.lines.size(); ++i) {
        for (quint32 mask = lineIndex.lines.at(i).readMask, slot = 0; mask; mask >>= 1, ++slot) {
            if (mask & 1u)
                lineIndex.reads[i * kKeptFields + int(slot)] = QString();
        }
    }
    lineIndex.lines.clear();
    for (KeyHint& hint : lineIndex.hints)
        hint = KeyHint();

    const QChar* text = recordText.constData();
    const int size = recordText.size();
    // Lines from this one on still wait for their first colon; one colon may end several lines
    // that hold none.
    int firstWaiting = 0;
    for (int i = 0; i < size; ++i) {
        const ushort c = text[i].unicode();
        if (c == ':') {
            for (int k = firstWaiting; k < lineIndex.lines.size(); ++k) {
                LineKey& line = lineIndex.lines[k];
                line.keyLength = i - line.keyStart;
                line.code = keyCode(text + line.keyStart, line.keyLength);
                line.valueStart = i + 1;
            }
            firstWaiting = lineIndex.lines.size();
        } else if (c == '\r' && i + 1 < size && text[i + 1] == QLatin1Char('\n')) {
            lineIndex.lines.append({0, i + 2, 0, 0, 0});
            ++i;
        }
    }
    lineIndex.lines.resize(firstWaiting);
    if (lineIndex.reads.size() < lineIndex.lines.size() * kKeptFields)
        lineIndex.reads.resize(lineIndex.lines.size() * kKeptFields);
    lineIndex.text = recordText;
    lineIndex.filled = true;
}

int WeatherDataDecoder::fieldStart(const QString& key, int* line)
{
    *line = -1;
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

    if (!lineIndex.filled || !lineIndex.text.isSharedWith(recordText))
        indexLines();

    const quint32 code = keyCode(key.constData(), key.size());
    KeyHint& hint = lineIndex.hints[code % kKeyHints];
    if (hint.key.isNull() || hint.key != key) {
        // The first line with the key wins, as a search of the text would find it.
        const QChar* text = recordText.constData();
        hint.key = key;
        hint.line = -1;
        for (int i = 0; i < lineIndex.lines.size(); ++i) {
            const LineKey& candidate = lineIndex.lines.at(i);
            if (candidate.code == code && candidate.keyLength == key.size() &&
                std::equal(key.constData(), key.constData() + key.size(),
                           text + candidate.keyStart)) {
                hint.line = i;
                break;
            }
        }
    }
    if (hint.line < 0)
        return -1;
    *line = hint.line;
    return lineIndex.lines.at(hint.line).valueStart;
}

QString WeatherDataDecoder::getFieldValue(QString key, int index)
{
    // The unit writes its no-value where a sensor has nothing to say: every reader, window,
    // report group, chart and alert must see it as the empty field it stands for.
    QString value = unitFieldValue(key, index);
    if (index >= 0 && isUnitNoValue(value))
        return QString();
    return value;
}

bool WeatherDataDecoder::isUnitNoValue(const QString& text) const
{
    // Read as the readers read it: QString::toDouble passes over blanks of any kind and takes
    // the minus sign in either form. Only a text whose first mark past its blanks is a minus can
    // hold a negative number, which spares most fields the conversion.
    const QChar* c = text.constData();
    const int size = text.size();
    int i = 0;
    while (i < size && c[i].isSpace())
        ++i;
    if (i == size || (c[i] != QLatin1Char('-') && c[i] != QChar(0x2212)))
        return false;
    return decimalValue(text) == noValue;
}

QString WeatherDataDecoder::unitFieldValue(const QString& key, int index)
{
    if (key.isNull())
        return QString();

    int line = -1;
    const int start = fieldStart(key, &line);
    if (start < 0)
        return QString();

    const int slot = index + 1;
    const bool kept = line >= 0 && slot >= 0 && slot < kKeptFields;
    if (kept && (lineIndex.lines.at(line).readMask & (1u << slot)))
        return lineIndex.reads.at(line * kKeptFields + slot);
    bool found = false;
    QString value = readField(key, start, index, &found);
    // A field that is not there is reported on every read.
    if (kept && found) {
        lineIndex.reads[line * kKeptFields + slot] = value;
        lineIndex.lines[line].readMask |= 1u << slot;
    }
    return value;
}

QString WeatherDataDecoder::readField(const QString& key, int start, int index, bool* found)
{
    *found = true;
    const QChar* text = recordText.constData();
    const int end = recordText.size();

    if (index <= 0) {
        const int limit = qMin(end, start + kMaxFieldLength);
        int pos = start;
        while (pos < limit) {
            const QChar c = text[pos];
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n') ||
                (index == 0 && c == QLatin1Char(':')))
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
        if (c == QLatin1Char('\n') ||
            (c == QLatin1Char('\r') && pos + 1 < end && text[pos + 1] == QLatin1Char('\n')))
            break;
        if (c == QLatin1Char(':'))
            ++colons;
        ++pos;
    }
    if (colons < index) {
        *found = false;
        reportFieldError(key + QLatin1Char(':') + QString::number(index) +
                         QStringLiteral(" not found"));
        return QString();
    }

    // A lone carriage return ends the value as well.
    int stop = pos;
    while (stop < end && text[stop] != QLatin1Char(':') && text[stop] != QLatin1Char('\r') &&
           text[stop] != QLatin1Char('\n'))
        ++stop;
    return recordText.mid(pos, stop - pos);
}

WeatherDataDecoder::RecordValues& WeatherDataDecoder::currentRecordValues()
{
    // Fields are read by device type (the wind speed field of an ORVA unit differs), so a new
    // device type starts afresh as a new record text does.
    if (!recordValues.filled || !recordValues.text.isSharedWith(recordText) ||
        recordValues.deviceType != deviceType || recordValues.legacy != legacy) {
        recordValues = RecordValues();
        recordValues.filled = true;
        recordValues.text = recordText;
        recordValues.deviceType = deviceType;
        recordValues.legacy = legacy;
    }
    return recordValues;
}

WeatherDataDecoder::CachedValue& WeatherDataDecoder::cachedValue(RecordValue which)
{
    return currentRecordValues().values[which];
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
