#pragma once

// A logging worker writing into a fresh folder, and readers of what it wrote there: the
// application log (one line per message) and the JSON data log.

#include "logging/logging.h"
#include "tests/support/scopedclock.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QScopedPointer>
#include <QTemporaryDir>

#include <functional>

namespace logrun
{

// 14:03:09.120 on 5 March 2026, local time (the suites run in UTC).
inline QDateTime startTime()
{
    return QDateTime(QDate(2026, 3, 5), QTime(14, 3, 9, 120));
}

// The log's time stamp: milliseconds as a plain number, so 5 ms gives ".5".
inline QString lineStamp(const QDateTime& t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.")) + QString::number(t.time().msec());
}

inline QString fileName(const char* kind, const QDateTime& t, const QString& suffix)
{
    return QLatin1String("Vantora_Direct_") + QLatin1String(kind) + QLatin1Char('_') +
           t.toString(QStringLiteral("yyyyMMdd_hhmmss")) + suffix + QLatin1String(".txt");
}
inline QString logName(const QDateTime& t, const QString& suffix = QString())
{
    return fileName("LogFile", t, suffix);
}
inline QString dataName(const QDateTime& t, const QString& suffix = QString())
{
    return fileName("DataFile", t, suffix);
}

inline QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

// Lines without their line feeds; a final line feed ends the last line.
inline QList<QByteArray> lines(const QString& path)
{
    QList<QByteArray> result = bytes(path).split('\n');
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

inline QJsonArray array(const QString& path)
{
    return QJsonDocument::fromJson(bytes(path)).array();
}

// What the data log must hold for these records: the indented array and a line end.
inline QByteArray dataText(const QJsonArray& records)
{
    return QJsonDocument(records).toJson(QJsonDocument::Indented) + '\n';
}

inline QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

// The records of every data log in `folder`, oldest file first.
inline QJsonArray dataLogRecords(const QString& folder)
{
    QJsonArray all;
    for (const QString& name : QDir(folder).entryList({"Vantora_Direct_DataFile_*"}, QDir::Files))
        for (const QJsonValue& value : array(QDir(folder).filePath(name)))
            all.append(value);
    return all;
}

// A worker writing into a fresh folder from startTime() on. Files that must be there before the
// worker starts are written by `prepare`, which gets the folder.
struct LogRun {
    explicit LogRun(const std::function<void(const QTemporaryDir&)>& prepare = {})
        : clock(startTime())
    {
        if (prepare)
            prepare(dir);
        worker.reset(new logging(dir.path(), nullptr));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString dataPath() const { return dir.filePath(dataName(startTime())); }
    QString logPath() const { return dir.filePath(logName(startTime())); }

    QTemporaryDir dir;
    ScopedClock clock;
    QScopedPointer<logging> worker;
};

} // namespace logrun
