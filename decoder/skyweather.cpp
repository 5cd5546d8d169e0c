#include "decoder/weatherdatadecoder.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr double kMetresToFeet = 3.281;
constexpr double kMetresPerStatuteMile = 1609.34;
constexpr int kLayerCount = 6;
constexpr int kLowestBrokenField = 13;
// Layers closer than this to the one below them are not reported separately.
constexpr int kMinLayerSeparationFt = 100;

// Reported heights are coarser the higher the cloud.
double layerStep(double feet)
{
    if (feet <= 5000.0)
        return 100.0;
    if (feet <= 10000.0)
        return 500.0;
    return 1000.0;
}

bool noWeatherReport(const QString& field)
{
    return field.isEmpty() || field.contains(QLatin1String("XX")) ||
           field.contains(QLatin1String("00"));
}

int wholeNumberOrZero(const QString& text)
{
    return validInt(text).toInt();
}

struct Layer {
    int height;
    QString cover;
};

} // namespace

QString WeatherDataDecoder::getCloudLayers(QList<int>& heights, QStringList& covers)
{
    // The report and the record both ask; the layers are read once per record.
    CachedLayers& layers = currentRecordValues().layers;
    if (!layers.filled) {
        const int errorsBefore = parseErrors.size();
        layers.sky = readCloudLayers(layers.heights, layers.covers);
        layers.errors = parseErrors.mid(errorsBefore);
        layers.filled = true;
    } else {
        for (const QString& error : qAsConst(layers.errors))
            reportFieldError(error);
    }
    heights = layers.heights;
    covers = layers.covers;
    return layers.sky;
}

QString WeatherDataDecoder::readCloudLayers(QList<int>& heights, QStringList& covers)
{
    heights.clear();
    covers.clear();

    const QString state = getFieldValue(QStringLiteral("CL"), 0);
    if (state.isEmpty())
        return QString();
    if (state.startsWith(QLatin1Char('-')))
        return QStringLiteral("Ceilometer OFF");
    if (state.startsWith(QLatin1Char('?')))
        return QStringLiteral("No Ceilometer");

    // A non-legacy ORVA unit sends heights in tens of metres.
    const double scale = (isOrva() && !legacy) ? 10.0 : 1.0;
    bool anyPresent = false;
    QVector<Layer> candidates;
    for (int i = 1; i <= kLayerCount; ++i) {
        const double v = decimalValue(validDouble(getFieldValue(QStringLiteral("CL"), i))) * scale;
        const double feet = std::trunc(v * kMetresToFeet);
        const int oktas = wholeNumberOrZero(getFieldValue(QStringLiteral("CL"), i + kLayerCount));
        const QString cover = cloudCoverFromOktas(oktas);
        if (!(feet > 0.0))
            continue;
        anyPresent = true;
        const double rounded = std::trunc(roundToStep(feet, layerStep(feet)));
        // A height beyond any integer is noise from the wire, not a cloud layer.
        if (rounded > 0.0 && rounded <= std::numeric_limits<int>::max())
            candidates.append({static_cast<int>(rounded), cover});
    }

    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Layer& a, const Layer& b) { return a.height < b.height; });

    for (int i = 0; i < candidates.size(); ++i) {
        if (i > 0 && candidates.at(i).height - candidates.at(i - 1).height <= kMinLayerSeparationFt)
            continue;
        heights.append(candidates.at(i).height);
        covers.append(candidates.at(i).cover);
    }

    if (isOrva() && !anyPresent)
        return QStringLiteral("CLR");
    return QString();
}

QString WeatherDataDecoder::cloudCoverFromOktas(int oktas) const
{
    if (oktas < 0)
        return QString();
    if (oktas == 8)
        return QStringLiteral("OVC");
    if (oktas >= 5)
        return QStringLiteral("BKN");
    if (oktas >= 3)
        return QStringLiteral("SCT");
    if (oktas >= 1)
        return QStringLiteral("FEW");
    return QStringLiteral("CLR");
}

QString WeatherDataDecoder::getLowestBrokenLayer()
{
    const QString field = getFieldValue(QStringLiteral("CL"), kLowestBrokenField);
    if (field.isEmpty() || field.contains(QLatin1Char('?')))
        return QString();

    // Always in metres, whatever the unit's layer heights use.
    const double feet = decimalValue(validDouble(field)) * kMetresToFeet;
    if (!(feet > 0.0))
        return QStringLiteral("0");
    return QString::number(roundToStep(feet, layerStep(feet)), 'g', 6);
}

QString WeatherDataDecoder::getPresentWeatherCode(bool useCached)
{
    if (useCached && !cachedWeatherGroup.isEmpty())
        return cachedWeatherGroup;

    const QString field = getFieldValue(QStringLiteral("PW"), 1);
    if (noWeatherReport(field))
        return QString();

    const int code = wholeNumberOrZero(field);
    switch (code) {
    case 4:
        return QStringLiteral("HZ");
    case 10:
        return QStringLiteral("BR");
    case 30:
        return QStringLiteral("FG");
    case 31:
        return QStringLiteral("FZFG");
    case 40:
        return QStringLiteral("UP");
    case 51:
        return QStringLiteral("-DZ");
    case 52: {
        // Drizzle at the unit's no-value is plain drizzle; an empty temperature reads as 0.
        if (isUnitNoValue(unitFieldValue(QStringLiteral("TA"), 0)))
            return QStringLiteral("DZ");
        const double t = decimalValue(getTemperature());
        return roundToStep(t, 1.0) <= 0.0 ? QStringLiteral("FZDZ") : QStringLiteral("DZ");
    }
    case 53:
        return QStringLiteral("+DZ");
    case 54:
        return QStringLiteral("-FZDZ");
    case 55:
        return QStringLiteral("FZDZ");
    case 56:
        return QStringLiteral("+FZDZ");
    case 61:
        return QStringLiteral("-RA");
    case 62:
        return QStringLiteral("RA");
    case 63:
        return QStringLiteral("+RA");
    case 64:
        return QStringLiteral("-FZRA");
    case 65:
        return QStringLiteral("FZRA");
    case 66:
        return QStringLiteral("+FZRA");
    case 67:
        return QStringLiteral("-RASN");
    case 68:
        return QStringLiteral("RASN");
    case 69:
        return QStringLiteral("+RASN");
    case 71:
        return QStringLiteral("-SN");
    case 72:
        return QStringLiteral("SN");
    case 73:
        return QStringLiteral("+SN");
    case 87:
        return QStringLiteral("GS");
    case 89:
        return QStringLiteral("GR");
    case 90:
        return vicinityThunder ? QStringLiteral("VCTS") : QStringLiteral("TS");
    case 92:
        return vicinityThunder ? QStringLiteral("VCTSRA") : QStringLiteral("TSRA");
    case 93:
        return vicinityThunder ? QStringLiteral("VCTSGS") : QStringLiteral("TSGS");
    case 95:
        return vicinityThunder ? QStringLiteral("+VCTSRA") : QStringLiteral("+TSRA");
    case 96:
        return vicinityThunder ? QStringLiteral("VCTSGR") : QStringLiteral("TSGR");
    default:
        return QString();
    }
}

QString WeatherDataDecoder::getPresentWeather(bool useCached)
{
    if (isOrva())
        return getPresentWeatherCode(useCached);
    if (deviceType != static_cast<int>(DeviceTypes::BRQ))
        return QString();

    const QString rain = getRainIntensity();
    const QString obscuration = getObscuration();
    if (!rain.isEmpty() && !obscuration.isEmpty())
        return rain + QLatin1Char(' ') + obscuration;
    return rain + obscuration;
}

QString WeatherDataDecoder::getRainIntensity()
{
    const double rate = decimalValue(getPrecipitation());
    if (rate > 0.4)
        return QStringLiteral("+RA");
    if (rate > 0.1)
        return QStringLiteral("RA");
    if (rate > 0.0)
        return QStringLiteral("-RA");
    return QString();
}

QString WeatherDataDecoder::getObscuration()
{
    const QString temperature = getTemperature();
    const QString dewPoint = calcDewPoint();
    const QString visibility = getVisibility();
    if (temperature.isEmpty() || dewPoint.isEmpty() || visibility.isEmpty())
        return QString();

    const double miles = decimalValue(visibility);
    // A negative visibility is the unit's "not determined", not a visibility near zero.
    if (miles < 0.0)
        return QString();
    const double spread = decimalValue(temperature) - decimalValue(dewPoint);
    const double metres = miles * kMetresPerStatuteMile;
    if (metres < 1000.0)
        return QStringLiteral("FG");
    if (metres < 4000.0)
        return spread <= 5.0 ? QStringLiteral("BR") : QStringLiteral("HZ");
    return QString();
}

QString WeatherDataDecoder::getFreezingFog()
{
    const QString field = getFieldValue(QStringLiteral("PW"), 5);
    if (noWeatherReport(field))
        return QString();

    switch (wholeNumberOrZero(field)) {
    case 0:
        return QStringLiteral("HZ");
    case 6:
        return QStringLiteral("BR");
    case 26:
        return QStringLiteral("FG");
    case 27:
        return QStringLiteral("FZFG");
    default:
        return QString();
    }
}

QString WeatherDataDecoder::describePresentWeather(QString group) const
{
    static const QHash<QString, QString> descriptions{
        {QStringLiteral("HZ"), QStringLiteral("Haze or Smoke")},
        {QStringLiteral("BR"), QStringLiteral("Mist")},
        {QStringLiteral("FG"), QStringLiteral("Fog")},
        {QStringLiteral("FZFG"), QStringLiteral("Freezing Fog")},
        {QStringLiteral("UP"), QStringLiteral("Indeterminate precipitation type")},
        {QStringLiteral("-DZ"), QStringLiteral("Light Drizzle")},
        {QStringLiteral("DZ"), QStringLiteral("Moderate Drizzle")},
        {QStringLiteral("+DZ"), QStringLiteral("Heavy Drizzle")},
        {QStringLiteral("-FZDZ"), QStringLiteral("Light Freezing Drizzle")},
        {QStringLiteral("FZDZ"), QStringLiteral("Moderate Freezing Drizzle")},
        {QStringLiteral("+FZDZ"), QStringLiteral("Heavy Freezing Drizzle")},
        {QStringLiteral("-RA"), QStringLiteral("Light Rain")},
        {QStringLiteral("RA"), QStringLiteral("Moderate Rain")},
        {QStringLiteral("+RA"), QStringLiteral("Heavy Rain")},
        {QStringLiteral("-FZRA"), QStringLiteral("Light Freezing Rain")},
        {QStringLiteral("FZRA"), QStringLiteral("Moderate Freezing Rain")},
        {QStringLiteral("+FZRA"), QStringLiteral("Heavy Freezing Rain")},
        {QStringLiteral("-RASN"), QStringLiteral("Light Rain or Drizzle and Snow")},
        {QStringLiteral("RASN"), QStringLiteral("Moderate Rain or Drizzle and Snow")},
        {QStringLiteral("+RASN"), QStringLiteral("Heavy Rain or Drizzle and Snow")},
        {QStringLiteral("-SN"), QStringLiteral("Light Snow")},
        {QStringLiteral("SN"), QStringLiteral("Moderate Snow")},
        {QStringLiteral("+SN"), QStringLiteral("Heavy Snow")},
        {QStringLiteral("GS"), QStringLiteral("Small Hail")},
        {QStringLiteral("GR"), QStringLiteral("Hail")},
        {QStringLiteral("TS"), QStringLiteral("Thunderstorm")},
        {QStringLiteral("TSRA"), QStringLiteral("Thunderstorm with Rain")},
        {QStringLiteral("TSSN"), QStringLiteral("Thunderstorm with Snow")},
        {QStringLiteral("TSGS"), QStringLiteral("Thunderstorm with Small Hail ")},
        {QStringLiteral("+TSRA"), QStringLiteral("Thunderstorm with Heavy Rain")},
        {QStringLiteral("+TSSN"), QStringLiteral("Thunderstorm with Heavy Snow")},
        {QStringLiteral("TSGR"), QStringLiteral("Thunderstorm with Hail")},
        {QStringLiteral("TSSNGS"), QStringLiteral("Thunderstorm with Snow and Small Hail")},
        {QStringLiteral("VCTS"), QStringLiteral("Vicinity Thunderstorm")},
        {QStringLiteral("VCTSRA"), QStringLiteral("Vicinity Thunderstorm with Rain")},
        {QStringLiteral("VCTSSN"), QStringLiteral("Vicinity Thunderstorm with Snow")},
        {QStringLiteral("VCTSGS"), QStringLiteral("Vicinity Thunderstorm with Small Hail ")},
        {QStringLiteral("+VCTSRA"), QStringLiteral("Vicinity Thunderstorm with Heavy Rain")},
        {QStringLiteral("+VCTSSN"), QStringLiteral("Vicinity Thunderstorm with Heavy Snow")},
        {QStringLiteral("VCTSGR"), QStringLiteral("Vicinity Thunderstorm with Hail")},
    };
    return descriptions.value(group);
}
