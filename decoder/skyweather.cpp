#include "decoder/weatherdatadecoder.h"

QString WeatherDataDecoder::getCloudLayers(QList<int>& heights, QStringList& covers)
{
    heights.clear();
    covers.clear();
    return QString();
}
QString WeatherDataDecoder::cloudCoverFromOktas(int /*oktas*/) const { return QString(); }
QString WeatherDataDecoder::getLowestBrokenLayer() { return QString(); }
QString WeatherDataDecoder::getPresentWeatherCode(bool /*useCached*/) { return QString(); }
QString WeatherDataDecoder::getPresentWeather(bool /*useCached*/) { return QString(); }
QString WeatherDataDecoder::getRainIntensity() { return QString(); }
QString WeatherDataDecoder::getObscuration() { return QString(); }
QString WeatherDataDecoder::getFreezingFog() { return QString(); }
QString WeatherDataDecoder::describePresentWeather(QString /*group*/) const { return QString(); }
