#pragma once

// Reading back what the logging worker wrote.

#include "logging/logging.h"
#include "tests/support/scopedclock.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QScopedPointer>
#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace logfiles
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

inline QString logName(const QDateTime& t, const QString& suffix = QString())
{
    return QLatin1String("Vantora_Direct_LogFile_") +
           t.toString(QStringLiteral("yyyyMMdd_hhmmss")) + suffix + QLatin1String(".txt");
}

inline QString dataName(const QDateTime& t, const QString& suffix = QString())
{
    return QLatin1String("Vantora_Direct_DataFile_") +
           t.toString(QStringLiteral("yyyyMMdd_hhmmss")) + suffix + QLatin1String(".txt");
}

inline QByteArray bytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
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

// A worker writing into a fresh folder from startTime() on. Files that must be there
// before the worker starts are written by `prepare`, which gets the folder.
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

} // namespace logfiles
