// The weather record decoder: record texts through every field reader, the derived quantities,
// the sky and weather readers, the lightning compass and the METAR/SPECI writer.
//
// Input: a settings byte (device family, legacy unit, precipitation interval, report number
// width), then record texts separated by NUL bytes, read one after the other by one decoder.

#include "decoder/weatherdatadecoder.h"
#include "fuzz/fuzzsupport.h"

#include <cmath>
#include <cstring>
#include <functional>

namespace
{

const QStringList kKeys = {"N",  "B",  "T",  "IR", "WI", "GU", "TA", "RH", "BA", "EL", "CL",
                           "PW", "LT", "LA", "LO", "OR", "RA", "PA", "HP", "VI", "LD", "SS"};

// A field's first value, found by searching the text as it stands: it ends at a colon or at
// either half of a line end.
QString searchedValue(const QString& text, const QString& key)
{
    const QString needle = QStringLiteral("\r\n") + key + QLatin1Char(':');
    const int at = text.indexOf(needle);
    if (at < 0)
        return QString();
    int end = at + needle.size();
    while (end < text.size() && text.at(end) != QLatin1Char('\r') &&
           text.at(end) != QLatin1Char('\n') && text.at(end) != QLatin1Char(':'))
        ++end;
    return text.mid(at + needle.size(), end - at - needle.size()).left(1024);
}

// Numbers the window shows and the report writer reads: a finite number or no value.
void checkNumber(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    FUZZ_CHECK(text.isEmpty() || (ok && std::isfinite(value)));
}

// Whole-number report groups: digits only after an optional sign, no "-0", at least `width`
// characters, within a half of the value; no text for what is not finite.
void checkReportNumber(double value, int width)
{
    const QString text = formatReportNumber(value, width);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(text.isEmpty());
        return;
    }
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString digits = text.mid(negative ? 1 : 0);
    FUZZ_CHECK(!digits.isEmpty() && text.size() >= width);
    for (QChar c : digits)
        FUZZ_CHECK(c.isDigit());
    FUZZ_CHECK(!(negative && digits.count(QLatin1Char('0')) == digits.size()));
    if (std::fabs(value) < 1e15)
        FUZZ_CHECK(std::fabs(text.toDouble() - value) <= 0.5 + std::fabs(value) * 1e-14);
}

// Every field the record names, and the fixed keys, read as a search of the text finds them.
void checkFields(WeatherDataDecoder& decoder, const QString& text)
{
    QStringList keys = kKeys;
    for (const QString& line : text.split(QStringLiteral("\r\n")).mid(1))
        keys << line.left(line.indexOf(QLatin1Char(':')));
    for (const QString& key : qAsConst(keys)) {
        if (!key.contains(QLatin1String("@I")) && !key.contains(QLatin1Char(':')))
            FUZZ_CHECK(decoder.getFieldValue(key, 0) == searchedValue(text, key));
    }
}

void checkNumbers(WeatherDataDecoder& decoder, int width)
{
    const std::function<QString()> numbers[] = {
        [&] { return decoder.getVoltage(); },
        [&] { return decoder.getWindSpeed(false); },
        [&] { return decoder.getWindSpeed(true); },
        [&] { return decoder.getWindDirection(); },
        [&] { return decoder.getWindDirection2MinAvg(); },
        [&] { return decoder.getGustSpeed(); },
        [&] { return decoder.getGustDirection(); },
        [&] { return decoder.getHAPressure(); },
        [&] { return decoder.getElevation(); },
        [&] { return decoder.getVisibility(); },
        [&] { return decoder.getVisibility1(); },
        [&] { return decoder.getPrecipitation(); },
        [&] { return decoder.getLightningDistance(); },
        [&] { return decoder.getLightningFrequency(); },
        [&] { return decoder.getLatitude(); },
        [&] { return decoder.getLongitude(); },
        [&] { return decoder.getOrientation(); },
        [&] { return decoder.getTilt(); },
        [&] { return decoder.getCompassHeading(); },
        [&] { return decoder.getSigWaveHeight(); },
        [&] { return decoder.getSigWavePeriod(); },
        [&] { return decoder.getSigWaveDirection(); },
        [&] { return decoder.getSeaSurfaceTemp(); },
        [&] { return decoder.getAltimeter(); },
        [&] { return decoder.calcDewPoint(); },
        [&] { return decoder.calcHeatIndex(); },
        [&] { return decoder.calcWindChill(); },
        [&] { return decoder.calcSeaLevelPressure(); },
        [&] { return decoder.calcPressureAltitude(); },
        [&] { return decoder.calcDensityAltitude(); },
    };
    for (const auto& read : numbers) {
        const QString value = read();
        checkNumber(value);
        checkReportNumber(value.toDouble(), width);
    }
}

// Readers of texts: they must only not fail.
void readTexts(WeatherDataDecoder& decoder, const QString& text)
{
    decoder.getTimestamp();
    decoder.getReportingInterval();
    decoder.getDeviceModel();
    decoder.getRadioTransmitRate();
    decoder.getTemperature();
    decoder.getHumidity();
    decoder.getStationPressure();
    decoder.getThreeHourPressure();
    decoder.getContamination();
    decoder.getLightningStrikes();
    decoder.getGpsText();
    decoder.getRflosTransmitFrequency();
    decoder.getRflosReceiveFrequency();
    decoder.getRflosBand();
    decoder.getStationId(true);
    decoder.getStationId(false);
    decoder.getPrecipTotals();
    QList<int> heights;
    QStringList covers;
    decoder.getCloudLayers(heights, covers);
    decoder.getLowestBrokenLayer();
    decoder.describePresentWeather(decoder.getPresentWeather(false));
    decoder.getRainIntensity();
    decoder.getObscuration();
    decoder.getFreezingFog();
    decoder.parseLightningCompassData(text.toUtf8());
}

void checkReport(WeatherDataDecoder& decoder)
{
    const bool speci = decoder.isSpeci();
    FUZZ_CHECK(decoder.createMetar().startsWith(speci ? "SPECI " : "METAR "));
    decoder.getPrecipBeginEnd(0);
    decoder.getPrecipBeginEnd(1);
    decoder.getLightningBeginEnd(0);
    decoder.getLightningBeginEnd(1);
}

void readRecord(WeatherDataDecoder& decoder, const QString& text, int width)
{
    decoder.setRecordText(text);
    checkFields(decoder, text);
    checkNumbers(decoder, width);
    readTexts(decoder, text);
    checkReport(decoder);
    decoder.clearParseErrors();
}

} // namespace

FUZZ_START(fuzzStart)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 settings = in.byte();
    WeatherDataDecoder decoder;
    decoder.setDeviceType(settings & 1 ? int(DeviceTypes::ORVA) : int(DeviceTypes::BRQ),
                          settings & 2);
    decoder.setPrecipAccum24Interval(settings >> 2 & 1);
    const int width = settings >> 3 & 7;
    while (!in.atEnd()) {
        const QByteArray record = in.upTo('\0');
        readRecord(decoder, QString::fromUtf8(record), width);
        // Raw doubles, NaN and infinities among them, straight into the report number format.
        for (int i = 0; i + 8 <= record.size(); i += 8) {
            double value;
            std::memcpy(&value, record.constData() + i, 8);
            checkReportNumber(value, width);
        }
    }
    return 0;
}
