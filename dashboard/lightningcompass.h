#pragma once

// Rules of the lightning compass: reading the unit's lightning frame, placing a strike's dot
// among the range rings and colouring it by age.

#include "link/unittracker.h"

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QPointF>
#include <QString>
#include <QStringList>

// One received strike; all texts as the unit sent them, plus when the window got it.
struct LightningStrike {
    QString deviceTime;
    QString distance;    // statute miles
    QString bearing;     // degrees, 0 north, clockwise
    QString receivedUtc; // "yyyy-MM-dd hh:mm:ss"
};

// A lightning record of a BRQ unit: time stamp "yyyy-MM-dd hh:mm:ss" and two numeric texts.
struct BrqLightningRecord {
    QString timeStamp;
    QString first;
    QString second;
};

namespace LightningCompass
{

// Whose strikes the compass shows. A record of another unit, by the rule with which the link
// starts its windows afresh, takes the strikes of the unit before off the compass; those that
// came over the same connection since the last record may be the new unit's own and stay.
class StrikeOwner
{
public:
    void strikeKept() { ++newStrikes; }
    void connectionEnded();
    // How many of the newest of `strikes` stay after a live record of `family` that names
    // `identifier`; `checked`: the unit's frames carry a checksum.
    int strikesKept(DeviceTypes family, const QString& identifier, bool checked, int strikes);

private:
    UnitTracker tracker;
    int newStrikes = 0; // kept since the last record over this connection
};

constexpr qint64 kKeepMs = 900000;     // a strike is dropped when older than this
constexpr qint64 kRedMs = 300000;      // up to this age the dot is red, then yellow
constexpr qint64 kYellowMs = 600000;   // up to this age yellow, then green
constexpr qint64 kBrqKeepMs = 3600000; // BRQ records are dropped when older than this
constexpr double kDisplayRange = 50;   // outer ring, statute miles
constexpr double kDotSize = 7;
extern const char* const kTimeFormat;

// The entries of a lightning frame's entry line; empty when the frame has fewer than three lines.
QStringList frameEntries(const QByteArray& frame);
// Scene radius of a strike `distance` away, on the rings 47.3 (5), 82.9 (10), 111.2 (25), 130 (50).
double ringRadius(double distance);
// Top-left corner of the dot of a strike at `distance` and `bearing` around the scene origin.
QPointF dotCorner(double distance, double bearing);
QColor ageColour(qint64 ageMs);

// "now" in UTC cut to whole seconds, the way the stored times are.
QDateTime wholeSecondsUtc(const QDateTime& instant);
// A stored "yyyy-MM-dd hh:mm:ss" text read back as UTC.
QDateTime parseUtc(const QString& text);
QString formatUtc(const QDateTime& instant);

} // namespace LightningCompass
