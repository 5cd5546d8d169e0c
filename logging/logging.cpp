#include "logging/logging.h"

#include "decoder/clock.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

const char kLogPrefix[] = "Vantora_Direct_LogFile_";
const char kDataPrefix[] = "Vantora_Direct_DataFile_";
const char kNameStampFormat[] = "yyyyMMdd_hhmmss";
// Beside a data file while an append is under way: "<old size> <new size>".
const char kJournalSuffix[] = ".journal";
// Closing bracket and line end that end every data file written here.
const char kTailText[] = "\n]\n\n";
// Enough to step past files that cannot be continued; never reached in practice.
constexpr int kMaxNameSuffix = 1000;

// "yyyy-MM-dd hh:mm:ss.z" with the milliseconds as a plain number (5 ms gives ".5");
// Qt's own "z" drops trailing zeros instead in some versions.
QString lineStamp(const QDateTime& t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.")) + QString::number(t.time().msec());
}

// The data file is a text-mode file: line ends follow the platform.
QByteArray platformText(QByteArray text)
{
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    return text;
}

QByteArray fromPlatformText(QByteArray text)
{
#ifdef Q_OS_WIN
    text.replace("\r\n", "\n");
#endif
    return text;
}

const QByteArray& dataTail()
{
    static const QByteArray tail = platformText(kTailText);
    return tail;
}

qint64 textLength(const QByteArray& utf8)
{
    return QString::fromUtf8(utf8).size();
}

// Second and later files made within the same second get "_2", "_3", ... so a file
// that may not be continued is never reopened.
QString stampedName(const char* prefix, const QString& stamp, int n)
{
    QString name = QLatin1String(prefix) + stamp;
    if (n > 1)
        name += QLatin1Char('_') + QString::number(n);
    return name + QLatin1String(".txt");
}

bool fileSync(QFile& file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

DiskSync& diskSync()
{
    static DiskSync sync;
    return sync;
}

bool syncToDisk(QFile& file)
{
    return diskSync() ? diskSync()(file) : fileSync(file);
}

struct DataFileContent {
    enum Kind { Missing, Empty, Array, NotArray } kind = Missing;
    QJsonArray array;
    qint64 size = 0;
    qint64 chars = 0;
    bool canonical = false; // byte for byte what this worker would have written
};

DataFileContent readDataFile(const QString& path)
{
    DataFileContent content;
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return content;
    content.size = file.size();
    if (content.size == 0) {
        content.kind = DataFileContent::Empty;
        return content;
    }
    // Unreadable content is treated as foreign: it must not be overwritten.
    content.kind = DataFileContent::NotArray;
    if (!file.open(QIODevice::ReadOnly))
        return content;
    const QByteArray bytes = file.readAll();
    file.close();
    if (bytes.size() != content.size)
        return content;
    const QByteArray text = fromPlatformText(bytes);
    content.chars = textLength(text);
    if (text.trimmed().isEmpty()) {
        content.kind = DataFileContent::Empty;
        return content;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return content;
    content.kind = DataFileContent::Array;
    content.array = document.array();
    content.canonical = platformText(document.toJson(QJsonDocument::Indented) + '\n') == bytes;
    return content;
}

// The indented text of one record as an element of the top-level array: what
// toJson(Indented) writes between "[\n" and "\n]\n" for a one-element array.
QByteArray arrayElement(const QJsonObject& record)
{
    const QByteArray single = QJsonDocument(QJsonArray{record}).toJson(QJsonDocument::Indented);
    return single.mid(2, single.size() - 5);
}

// Where an append begins: at the old tail, which it overwrites, or at the start of an empty file.
qint64 appendStart(qint64 oldSize)
{
    return oldSize == 0 ? 0 : oldSize - dataTail().size();
}

// What a journal holds: "<old size> <new size>\n", then the bytes its append writes from
// appendStart(old size) on.
struct Journal {
    qint64 oldSize = 0;
    qint64 newSize = 0;
    QByteArray chunk;
};

// False for a journal cut short (its append had not touched the data file yet) or one that is
// not this worker's.
bool parseJournal(const QByteArray& text, Journal* journal)
{
    const int lineEnd = text.indexOf('\n');
    const QList<QByteArray> fields = text.left(lineEnd).split(' ');
    if (lineEnd < 0 || fields.size() != 2)
        return false;
    bool okOld = false;
    bool okNew = false;
    journal->oldSize = fields.at(0).toLongLong(&okOld);
    journal->newSize = fields.at(1).toLongLong(&okNew);
    journal->chunk = text.mid(lineEnd + 1);
    return okOld && okNew && journal->oldSize >= 0 && journal->newSize > journal->oldSize &&
           appendStart(journal->oldSize) >= 0 &&
           journal->chunk.size() == journal->newSize - appendStart(journal->oldSize);
}

enum class JournalMatch { Foreign, Completed, Interrupted };

// Whether the data file is the one the journal's append was writing: from the append's start on
// it holds, byte for byte, the journal's bytes or, where the old file reached, its old tail. A
// file rewritten since, or any other file of that name, is foreign and is left alone.
JournalMatch matchJournal(QFile& data, const Journal& journal)
{
    const qint64 start = appendStart(journal.oldSize);
    const qint64 size = data.size();
    if (size < start || size > journal.newSize || !data.seek(start))
        return JournalMatch::Foreign;
    const QByteArray region = data.read(size - start);
    if (region.size() != size - start)
        return JournalMatch::Foreign;
    const QByteArray& tail = dataTail();
    for (int i = 0; i < region.size(); ++i) {
        const bool written = region.at(i) == journal.chunk.at(i);
        const bool old = start + i < journal.oldSize && region.at(i) == tail.at(i);
        if (!written && !old)
            return JournalMatch::Foreign;
    }
    return region == journal.chunk ? JournalMatch::Completed : JournalMatch::Interrupted;
}

} // namespace

namespace
{
QString defaultLogFolder()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) +
           QLatin1String("/logging");
}
} // namespace

logging::logging(QObject* parent) : QObject(parent), logDir(defaultLogFolder())
{
    init();
}

logging::logging(const QString& logFolder, QObject* parent)
    : QObject(parent), logDir(QDir::cleanPath(logFolder))
{
    init();
}

void logging::init()
{
    createLog();
    createDataLog();
    clearTimer = new QTimer(this);
    connect(clearTimer, &QTimer::timeout, this, &logging::clearLogDir);
    clearTimer->start(kClearIntervalMs);
}

QString logging::usableFolder(const char* foundMessage, const char* createdMessage) const
{
    if (QDir(logDir).exists()) {
        qDebug().noquote() << foundMessage;
        return logDir;
    }
    if (QDir().mkpath(logDir)) {
        qDebug().noquote() << createdMessage;
        return logDir;
    }
    qDebug().noquote() << "ERROR: Unable to create Log File Directory. Setting to default path.";
    qDebug().noquote() << "INFO: Logging set to current path " + QDir::currentPath();
    return QDir::currentPath();
}

void logging::createLog()
{
    const QString folder =
        usableFolder("INFO: Log File Directory found.", "INFO: Log File Directory created.");
    const QString stamp = Clock::now().toString(QLatin1String(kNameStampFormat));
    QString name;
    QString path;
    for (int n = 1; n <= kMaxNameSuffix && path.isEmpty(); ++n) {
        name = stampedName(kLogPrefix, stamp, n);
        const QString candidate = QDir::cleanPath(folder + QLatin1Char('/') + name);
        // A file of the same name is continued unless it is already due for rotation:
        // reopening that one would rotate again at once, for ever.
        const QFileInfo info(candidate);
        if (!info.exists() || (info.isFile() && info.size() <= kRotationSize))
            path = candidate;
    }
    logFile.close();
    logFile.setFileName(path);
    if (!path.isEmpty())
        logFile.open(QIODevice::ReadWrite | QIODevice::Append);
    logMessages("INFO: Application Log File Created [ " + name.toUtf8() + " ]");
}

void logging::writeLine(const QByteArray& message)
{
    QByteArray text = QString::fromUtf8(message).toUtf8();
    text.replace('\n', "\\n");
    text.replace('\r', "\\r");
    const QByteArray line = '[' + lineStamp(Clock::now()).toUtf8() + "] " + text + '\n';
    if (logFile.isOpen()) {
        logFile.write(line);
        logFile.flush();
    }
    checkFileSize();
}

void logging::log(const QString& message)
{
    writeLine(message.toUtf8());
}

void logging::logMessages(const QByteArray& message)
{
    writeLine(message);
}

void logging::checkFileSize()
{
    if (logFile.size() > kRotationSize) {
        logFile.close();
        createLog();
    }
}

void logging::closeLog()
{
    logFile.close();
    dataFile.close();
}

void logging::setLogState(LoggingType mode)
{
    logState = mode;
}

void logging::setLogLocation(const QString& path)
{
    // "/" rather than a backslash: Qt takes it on every platform, a backslash only on Windows.
    // No location means the default folder, not "/logging" at the root of the file system.
    logDir =
        path.isEmpty() ? defaultLogFolder() : QDir::cleanPath(path + QLatin1String("/logging"));
    logFile.close();
    dataFile.close();
    createLog();
    createDataLog();
}

void logging::createDataLog()
{
    const QString folder = usableFolder("INFO: Data Log File Directory found.",
                                        "INFO: Data Log File Directory created.");
    recoverInterruptedAppends(folder);

    const QString stamp = Clock::now().toString(QLatin1String(kNameStampFormat));
    QString name;
    QString path;
    DataFileContent content;
    for (int n = 1; n <= kMaxNameSuffix; ++n) {
        name = stampedName(kDataPrefix, stamp, n);
        path = QDir::cleanPath(folder + QLatin1Char('/') + name);
        content = DataFileContent();
        const QFileInfo info(path);
        if (!info.exists())
            break;
        // Only a JSON array below the rotation size is continued; anything else is left
        // as it is (it may be the only copy of its records).
        if (!info.isFile() || info.size() > 4 * kRotationSize)
            continue;
        content = readDataFile(path);
        if (content.kind == DataFileContent::Empty ||
            (content.kind == DataFileContent::Array && content.chars <= kRotationSize))
            break;
    }
    dataFile.close();
    dataFile.setFileName(path);
    if (dataFile.open(QIODevice::ReadWrite | QIODevice::Append))
        dataFile.close();

    dataKnownSize = -1;
    if (content.kind == DataFileContent::Array && content.canonical) {
        dataKnownSize = content.size;
        dataKnownChars = content.chars;
    } else if (dataFile.exists() && dataFile.size() == 0) {
        dataKnownSize = 0;
        dataKnownChars = 0;
    }
    logMessages("INFO: Data Log File Created [ " + name.toUtf8() + " ]");
}

void logging::logData(const QByteArray& raw, const QJsonObject& packet, DeviceTypes type)
{
    QJsonObject record;
    record.insert(QStringLiteral("logtimestamp"), lineStamp(Clock::now()));
    record.insert(QStringLiteral("rawdata"), QString::fromUtf8(raw));
    record.insert(QStringLiteral("device"), deviceTypeName(type));
    if (logState == LoggingType::Default || logState == LoggingType::Debug) {
        for (auto it = packet.constBegin(); it != packet.constEnd(); ++it)
            record.insert(it.key(), it.value());
    }

    qint64 charsBefore = 0;
    AppendResult result = appendRecord(record, &charsBefore);
    if (result == AppendResult::Unusable) {
        logMessages("ERROR: Data Log File does not hold a JSON array and is left unchanged [ " +
                    QFileInfo(dataFile.fileName()).fileName().toUtf8() + " ]");
        createDataLog();
        result = appendRecord(record, &charsBefore);
    }
    if (result == AppendResult::Written && charsBefore > kRotationSize)
        createDataLog();
}

logging::AppendResult logging::appendRecord(const QJsonObject& record, qint64* charsBefore)
{
    const QByteArray element = arrayElement(record);
    if (dataKnownSize >= 0) {
        const AppendResult result = appendInPlace(element, charsBefore);
        if (result != AppendResult::Unusable)
            return result;
    }

    // The file is not known from this worker's own writes: read it, and write the whole
    // array anew through a save file, which replaces the old file only once complete. An
    // append whose undo failed left its journal: that is settled first.
    dataKnownSize = -1;
    const QString path = dataFile.fileName();
    settleJournal(path);
    const DataFileContent content = readDataFile(path);
    if (content.kind == DataFileContent::NotArray)
        return AppendResult::Unusable;

    QJsonArray array = content.array;
    array.append(record);
    const QByteArray text = QJsonDocument(array).toJson(QJsonDocument::Indented) + '\n';
    const QByteArray bytes = platformText(text);
    // Unbuffered: a buffered short write is not seen, and the save file would be committed cut.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        out.write(bytes) != bytes.size() || !out.commit())
        return AppendResult::Lost;
    // The journal described the file just replaced.
    QFile::remove(path + QLatin1String(kJournalSuffix));
    *charsBefore = content.chars;
    dataKnownSize = bytes.size();
    dataKnownChars = textLength(text);
    return AppendResult::Written;
}

// Appends one element before the closing bracket, touching only the bytes from the old
// tail on. A journal beside the file names the old size while the write is under way,
// so a write cut short (disk full, crash, power loss) is undone and no record before it
// is ever at risk. Returns Unusable when the file is no longer what this worker wrote.
logging::AppendResult logging::appendInPlace(const QByteArray& element, qint64* charsBefore)
{
    const QByteArray& tail = dataTail();
    if (!dataFile.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return AppendResult::Unusable;
    const qint64 oldSize = dataFile.size();
    const qint64 start = appendStart(oldSize);
    bool trusted = oldSize == dataKnownSize && start >= 0;
    // The byte before the old tail tells an empty array ("[") from one with elements.
    bool emptyArray = false;
    if (trusted && oldSize > 0) {
        const QByteArray last =
            start >= 1 && dataFile.seek(start - 1) ? dataFile.read(tail.size() + 1) : QByteArray();
        trusted = last.mid(1) == tail;
        emptyArray = last.startsWith('[');
    }
    if (!trusted) {
        dataFile.close();
        return AppendResult::Unusable;
    }

    const QByteArray lead = oldSize == 0 ? "[\n" : emptyArray ? "\n" : ",\n";
    const QByteArray added = lead + element;
    const QByteArray chunk = platformText(added + kTailText);
    const qint64 newSize = start + chunk.size();

    QFile journal(dataFile.fileName() + QLatin1String(kJournalSuffix));
    const QByteArray journalText =
        QByteArray::number(oldSize) + ' ' + QByteArray::number(newSize) + '\n' + chunk;
    if (!journal.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        journal.write(journalText) != journalText.size() || !syncToDisk(journal)) {
        journal.close();
        journal.remove();
        dataFile.close();
        return AppendResult::Lost;
    }
    journal.close();

    const bool written =
        dataFile.seek(start) && dataFile.write(chunk) == chunk.size() && syncToDisk(dataFile);
    bool restored = written;
    if (!written) {
        restored = dataFile.resize(start) && dataFile.seek(start) &&
                   (oldSize == 0 || dataFile.write(tail) == tail.size()) && syncToDisk(dataFile);
    }
    dataFile.close();
    // A failed undo keeps the journal, so the next append or start settles it.
    if (restored)
        journal.remove();
    if (!written) {
        dataKnownSize = restored ? oldSize : -1;
        return AppendResult::Lost;
    }
    *charsBefore = dataKnownChars;
    dataKnownChars += textLength(added);
    dataKnownSize = newSize;
    return AppendResult::Written;
}

void logging::recoverInterruptedAppends(const QString& folder)
{
    const QStringList journals =
        QDir(folder).entryList({QLatin1String(kDataPrefix) + QLatin1Char('*') + kJournalSuffix},
                               QDir::Files | QDir::Hidden);
    for (const QString& journalName : journals) {
        const QString dataName = journalName.left(journalName.size() - int(strlen(kJournalSuffix)));
        settleJournal(QDir::cleanPath(folder + QLatin1Char('/') + dataName));
    }
}

// Finishes what an interrupted append left: a record cut short is taken out again; a complete one
// stays. The journal goes once the file is settled, or at once when it does not describe the file.
void logging::settleJournal(const QString& dataPath)
{
    QFile journal(dataPath + QLatin1String(kJournalSuffix));
    if (!journal.exists())
        return;
    Journal described;
    const bool known =
        journal.open(QIODevice::ReadOnly) && parseJournal(journal.readAll(), &described);
    journal.close();
    QFile data(dataPath);
    if (!known || !data.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        journal.remove();
        return;
    }
    const JournalMatch match = matchJournal(data, described);
    bool settled = true;
    if (match == JournalMatch::Interrupted) {
        const qint64 start = appendStart(described.oldSize);
        settled = data.resize(start) && data.seek(start) &&
                  (described.oldSize == 0 || data.write(dataTail()) == dataTail().size()) &&
                  syncToDisk(data);
    }
    data.close();
    if (!settled)
        return;
    journal.remove();
    if (match == JournalMatch::Interrupted)
        logMessages("ERROR: Data Log File write was interrupted; its last record is lost [ " +
                    QFileInfo(dataPath).fileName().toUtf8() + " ]");
}

void logging::clearLogDir()
{
    const QDate reference = Clock::now().date().addDays(-retentionDays);
    // The files in use stay whatever their names say, e.g. after the clock was set back.
    QStringList inUse;
    for (const QFile* file : {&logFile, &dataFile}) {
        if (!file->fileName().isEmpty())
            inUse << QFileInfo(file->fileName()).absoluteFilePath();
    }
    const QFileInfoList entries = QDir(logDir).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        const QString path = entry.absoluteFilePath();
        if (inUse.contains(path))
            continue;
        const QStringList parts = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1)
                                      .split(QLatin1Char('_'), Qt::KeepEmptyParts);
        if (parts.size() < 5)
            continue;
        const QDate date = QDate::fromString(parts.at(3), QStringLiteral("yyyyMMdd"));
        const qint64 distance = date.isValid() ? qAbs(date.daysTo(reference)) : 0;
        if (distance > retentionDays)
            QFile::remove(path); // a subfolder cannot be removed and stays
    }
}

void setDiskSync(DiskSync sync)
{
    diskSync() = std::move(sync);
}
