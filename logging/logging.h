#pragma once

#include "decoder/sharedtypes.h"

#include <QByteArray>
#include <QFile>
#include <QJsonObject>
#include <QObject>
#include <QString>

#include <functional>

class QTimer;

// Makes a written data log file, or its journal, durable. A test replaces it to make the disk
// fail; an empty function restores the real one.
using DiskSync = std::function<bool(QFile& file)>;
void setDiskSync(DiskSync sync);

// Keeps the application log (one text line per message) and the JSON data log
// (one array of packet records) in one folder, and clears old files from it daily.
// Built on the GUI thread, then moved to a thread of its own; reached only through
// queued connections, so its slots never overlap.
class logging : public QObject
{
    Q_OBJECT
public:
    // Logs go to the "logging" folder of the application data folder.
    explicit logging(QObject* parent = nullptr);
    // Logs go to logFolder itself (used where the data folder must not be touched).
    logging(const QString& logFolder, QObject* parent);

    // Starts a new application log file.
    void createLog();

    static constexpr qint64 kRotationSize = 10000000;
    static constexpr int kClearIntervalMs = 86400000;

public slots:
    void log(const QString& message);
    void logData(const QByteArray& raw, const QJsonObject& packet, DeviceTypes type);
    void logMessages(const QByteArray& message);
    void closeLog();
    void createDataLog();
    void setLogState(LoggingType mode);
    void setLogLocation(const QString& path);
    void checkFileSize();
    void clearLogDir();

private:
    enum class AppendResult { Written, Lost, Unusable };

    void init();
    QString usableFolder(const char* foundMessage, const char* createdMessage) const;
    void writeLine(const QByteArray& message);
    AppendResult appendRecord(const QJsonObject& record, qint64* charsBefore);
    AppendResult appendInPlace(const QByteArray& element, qint64* charsBefore);
    void recoverInterruptedAppends(const QString& folder);
    void settleJournal(const QString& dataPath);

    QFile logFile;
    QFile dataFile;
    QString logDir;
    int retentionDays = 30;
    LoggingType logState = LoggingType::Default;
    QTimer* clearTimer = nullptr;

    // What this worker last wrote to dataFile, so that an append can trust the file
    // without reading it again; -1 when the file has to be read first.
    qint64 dataKnownSize = -1;
    qint64 dataKnownChars = 0;
};
