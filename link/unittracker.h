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
    // not name it). True when it is another unit than that of the records before: another
    // family, or another identifier than the last one named. A record that names no unit is
    // taken for the unit before; a change of family is always another unit.
    bool startsAnotherUnit(DeviceTypes family, const QString& identifier);

private:
    bool seen = false;
    DeviceTypes family = DeviceTypes::None;
    QString identifier; // the last one named since the family changed
};
