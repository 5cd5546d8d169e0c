#include "decoder/weatherdatadecoder.h"

WeatherDataDecoder::WeatherDataDecoder() = default;
