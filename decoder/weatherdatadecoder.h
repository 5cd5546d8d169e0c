#pragma once

#include <QString>

class WeatherDataDecoder
{
public:
    WeatherDataDecoder();
};
