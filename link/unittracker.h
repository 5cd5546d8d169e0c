#pragma once

#include "decoder/sharedtypes.h"

#include <QString>

// Which unit the weather records come from, as far as they tell. The rolling windows and the
// report memories hold one unit's samples: after "Setup..." to another unit its reports must
// not carry the extremes, rain or thunder of the unit before.
class UnitTracker
{
public:
    // Notes the unit of the next record: its family and identifier (empty when the record does
    // not name it). True when it is another unit than that of the records before. A change of
    // family is always another unit; a record that names no unit is taken for the unit before.
    // Another identifier counts at once when `checked` (it came in a frame whose checksum held)
    // or when it is the first one named over a new connection. Otherwise a byte lost on the line
    // could make one: it counts when the next record names it too.
    bool startsAnotherUnit(DeviceTypes family, const QString& named, bool checked);
    // The link closed: the next connection may reach another unit.
    void connectionEnded();
    // True while a new connection has not yet told whether its records come from the unit
    // before: the family is the same and no record over it has named a unit.
    bool awaitsUnit(DeviceTypes family) const
    {
        return seen && newConnection && family == this->family;
    }
    // The last record named another unit, which counts only if the next record names it too;
    // until then the record is taken for the unit before.
    bool awaitsSecondRecord() const { return !candidate.isEmpty(); }
    // The last record was taken for another unit because the record before named it too: that
    // record, the new unit's first, was taken for the unit before.
    bool confirmedBySecondRecord() const { return confirmed; }

private:
    bool seen = false;
    DeviceTypes family = DeviceTypes::None;
    QString identifier; // the last one taken, since the family changed
    QString candidate;  // another one, named by the last record only
    bool newConnection = false;
    bool confirmed = false;
};
