#pragma once

#include <QDateTime>

// The one source of "now" for code whose behaviour depends on elapsed time
// (rolling windows, re-raise gates, report countdowns). Tests pin it so that
// nothing waits on the wall clock.
namespace Clock
{

QDateTime now();    // local time
QDateTime nowUtc(); // UTC

// Pin "now" to a fixed instant (any thread may read it afterwards).
void setFixed(const QDateTime& instant);
// Move a pinned clock forward; no effect on the real clock.
void advance(qint64 msecs);
// Back to the real clock.
void reset();
bool isFixed();

} // namespace Clock
