#include "decoder/weatherdatadecoder.h"

void WeatherDataDecoder::updateTemperatureHistory(double /*temperature*/) {}
void WeatherDataDecoder::pruneTemperatureHistory() {}
void WeatherDataDecoder::parseLightningCompassData(QByteArray /*packet*/) {}
QString WeatherDataDecoder::getPrecipBeginEnd(int /*which*/) { return QString(); }
QString WeatherDataDecoder::getLightningBeginEnd(int /*which*/) { return QString(); }
