#include "decoder/weatherdatadecoder.h"

QString WeatherDataDecoder::calcDewPoint() { return QString(); }
QString WeatherDataDecoder::calcHeatIndex() { return QString(); }
QString WeatherDataDecoder::calcWindChill() { return QString(); }
QString WeatherDataDecoder::calcSeaLevelPressure() { return QString(); }
QString WeatherDataDecoder::calcPressureAltitude() { return QString(); }
QString WeatherDataDecoder::calcDensityAltitude() { return QString(); }
QString WeatherDataDecoder::compassPoint(int /*degrees*/) const { return QStringLiteral("N"); }
