#include "link/unittracker.h"

bool UnitTracker::startsAnotherUnit(DeviceTypes family, const QString& identifier)
{
    const bool another =
        seen && (family != this->family || (!identifier.isEmpty() && !this->identifier.isEmpty() &&
                                            identifier != this->identifier));
    // The identifier of the unit before means nothing to a unit of another family.
    if (another || !identifier.isEmpty())
        this->identifier = identifier;
    this->family = family;
    seen = true;
    return another;
}
