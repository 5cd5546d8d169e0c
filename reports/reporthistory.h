#pragma once

#include "reports/observation.h"

#include <QList>
#include <QString>

// True when the record belongs to a METAR or SPECI candidate packet ("Obs METAR" or "Obs SPECI"
// is boolean true; a missing or non-boolean value counts as false).
bool isReportRecord(const QJsonObject& record);

// The report text of a record, METAR or SPECI alike.
QString reportText(const QJsonObject& record);

// The copy of `from` that an edit stores: the text as one line, stamped with Clock::now(),
// marked edited and not sent, since only the unit's echo of its own text marks a report sent.
Observation editedObservation(const Observation& from, const QString& text);

// The reports of the last 24 hours, oldest first: appended at the end, dropped from the front.
class ReportHistory
{
public:
    static constexpr qint64 maxAgeSecs = 86400;

    int size() const { return entries_.size(); }
    bool isEmpty() const { return entries_.isEmpty(); }
    const QList<Observation>& entries() const { return entries_; }

    // A copy of entry i; an empty observation when there is no such entry.
    Observation value(int i) const;

    void append(const Observation& observation);

    // Drops the oldest entry when it is 24 hours old or older by Clock::now(). Only the front
    // is examined, so an older entry behind a younger one stays. One at a time, so that a
    // mirror of the list can drop its item in step.
    bool dropExpiredFront();

    // Marks the first entry, from the oldest, whose report text is `text` as sent; returns its
    // index, or -1 when no entry has that text.
    int markSent(const QString& text);

    QList<int> sentIndexes() const;

private:
    QList<Observation> entries_;
};
