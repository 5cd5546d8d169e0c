#include "decoder/weatherdatadecoder.h"

// Temperature extremes are not tracked yet; readers may already call this.
void WeatherDataDecoder::updateTemperatureHistory(double /*temperature*/) {}
