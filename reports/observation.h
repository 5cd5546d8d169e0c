#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QMetaType>

// One stored report: the weather record (its "METAR" key holds the report text, for a SPECI too),
// when it was stored or arrived, whether the unit echoed a send of its text, and whether it was
// saved from the METAR page.
struct Observation {
    QJsonObject record;
    QDateTime time;
    bool sent = false;
    bool edited = false;
};

Q_DECLARE_METATYPE(Observation)
