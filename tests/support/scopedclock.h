#pragma once

#include "decoder/clock.h"

// Pins Clock::now() for the life of the object.
class ScopedClock
{
public:
    explicit ScopedClock(const QDateTime& instant) { Clock::setFixed(instant); }
    ~ScopedClock() { Clock::reset(); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

    void set(const QDateTime& instant) { Clock::setFixed(instant); }
    void advanceSecs(qint64 secs) { Clock::advance(secs * 1000); }
    void advanceMSecs(qint64 msecs) { Clock::advance(msecs); }
};
