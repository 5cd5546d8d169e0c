#include "link/unittracker.h"

bool UnitTracker::startsAnotherUnit(DeviceTypes family, const QString& named, bool checked)
{
    confirmed = false;
    if (!seen || family != this->family) {
        // The identifier of the unit before means nothing to a unit of another family.
        const bool another = seen;
        seen = true;
        this->family = family;
        identifier = named;
        candidate.clear();
        newConnection = false;
        return another;
    }

    const bool firstNamed = newConnection && !named.isEmpty();
    if (!named.isEmpty())
        newConnection = false;
    if (named.isEmpty() || named == identifier || identifier.isEmpty()) {
        if (!named.isEmpty())
            identifier = named;
        candidate.clear();
        return false;
    }
    if (checked || firstNamed || named == candidate) {
        confirmed = named == candidate;
        identifier = named;
        candidate.clear();
        return true;
    }
    candidate = named;
    return false;
}

void UnitTracker::connectionEnded()
{
    candidate.clear();
    confirmed = false;
    newConnection = true;
}
