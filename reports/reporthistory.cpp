#include "reports/reporthistory.h"

#include "decoder/clock.h"
#include "reports/reporttransaction.h"

bool isReportRecord(const QJsonObject& record)
{
    return record.value(QLatin1String("Obs METAR")).toBool(false) ||
           record.value(QLatin1String("Obs SPECI")).toBool(false);
}

QString reportText(const QJsonObject& record)
{
    return record.value(QLatin1String("METAR")).toString();
}

Observation editedObservation(const Observation& from, const QString& text)
{
    Observation edited = from;
    edited.record.insert(QLatin1String("METAR"), singleLineReport(text));
    edited.time = Clock::now();
    edited.edited = true;
    edited.sent = false;
    return edited;
}

Observation ReportHistory::value(int i) const
{
    return entries_.value(i);
}

void ReportHistory::append(const Observation& observation)
{
    entries_.append(observation);
}

bool ReportHistory::dropExpiredFront()
{
    if (entries_.isEmpty())
        return false;
    if (Clock::now().secsTo(entries_.first().time) > -maxAgeSecs)
        return false;
    entries_.removeFirst();
    return true;
}

int ReportHistory::markSent(const QString& text)
{
    for (int i = 0; i < entries_.size(); ++i) {
        if (reportText(entries_.at(i).record) == text) {
            entries_[i].sent = true;
            return i;
        }
    }
    return -1;
}

QList<int> ReportHistory::sentIndexes() const
{
    QList<int> sent;
    for (int i = 0; i < entries_.size(); ++i) {
        if (entries_.at(i).sent)
            sent.append(i);
    }
    return sent;
}
