#include "decoder/clock.h"

#include <atomic>
#include <limits>

namespace
{
constexpr qint64 kUnpinned = std::numeric_limits<qint64>::min();
std::atomic<qint64> pinnedMsecs{kUnpinned};
} // namespace

namespace Clock
{

QDateTime nowUtc()
{
    const qint64 pinned = pinnedMsecs.load();
    if (pinned == kUnpinned)
        return QDateTime::currentDateTimeUtc();
    return QDateTime::fromMSecsSinceEpoch(pinned, Qt::UTC);
}

QDateTime now()
{
    const qint64 pinned = pinnedMsecs.load();
    if (pinned == kUnpinned)
        return QDateTime::currentDateTime();
    return QDateTime::fromMSecsSinceEpoch(pinned, Qt::LocalTime);
}

void setFixed(const QDateTime& instant)
{
    pinnedMsecs.store(instant.toMSecsSinceEpoch());
}

void advance(qint64 msecs)
{
    qint64 current = pinnedMsecs.load();
    while (current != kUnpinned && !pinnedMsecs.compare_exchange_weak(current, current + msecs)) {
    }
}

void reset()
{
    pinnedMsecs.store(kUnpinned);
}

bool isFixed()
{
    return pinnedMsecs.load() != kUnpinned;
}

} // namespace Clock
