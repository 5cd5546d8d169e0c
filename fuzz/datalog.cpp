// The data log: appends, restarts with their start-up recovery, and what can befall the folder
// in between (a crash in the middle of an append, a journal left behind, a file written by
// something else). After every step each data file is a JSON array holding every record written
// to it, in order, and a file that is not the log's own is left byte for byte as it was.
//
// Input: steps, each a step byte and bytes up to the next NUL.

#include "fuzz/fuzzsupport.h"
#include "logging/logging.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>

#include <memory>

namespace
{

// What a data file must hold: a value put there from outside, or a record with its raw data.
struct Entry {
    QJsonValue planted;
    QString raw;
    bool logged;
};

void putFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class Folder
{
public:
    // On a memory file system where there is one: every append is synced to disk.
    Folder()
        : dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/vdfuzz-XXXXXX")
                                                        : QDir::tempPath() + "/vdfuzz-XXXXXX")
    {
        FUZZ_CHECK(dir.isValid());
        restart();
    }

    void append(const QByteArray& raw)
    {
        const QString path = currentFile();
        const QByteArray before = fileBytes(path);
        log->logData(raw, QJsonObject{{"Wind Speed", raw.size()}}, DeviceTypes::ORVA);
        // Where the worker went on writing is the first file that takes it, by the same rule.
        current.clear();
        const QString written = currentFile();
        files[written].append({QJsonValue(), QString::fromUtf8(raw), true});
        last = {written, written == path ? before : QByteArray(), fileBytes(written)};
    }

    void restart()
    {
        log.reset();
        log = std::make_unique<logging>(dir.path(), nullptr);
        current.clear();
        last = {};
    }

    // The worker dies in the middle of its last append: the journal is written, and `cut` bytes
    // of the new text are (or, for a torn journal, nothing is) over the old tail.
    void crash(quint8 cut, bool tornJournal)
    {
        const QByteArray tail("\n]\n\n");
        // Only an append that kept the old text up to its closing bracket was made in place.
        const bool inPlace = !last.path.isEmpty() && fileBytes(last.path) == last.after &&
                             (last.before.isEmpty() ||
                              (last.before.endsWith(tail) &&
                               last.after.startsWith(last.before.left(last.before.size() - 4))));
        log.reset();
        if (inPlace) {
            const int start = last.before.isEmpty() ? 0 : last.before.size() - tail.size();
            const QByteArray chunk = last.after.mid(start);
            const int written = tornJournal ? 0 : cut % (chunk.size() + 1);
            QByteArray torn = last.before;
            torn.replace(start, qMin(written, torn.size() - start), chunk.left(written));
            putFile(last.path, torn);
            // The journal holds the sizes and then the bytes the append writes.
            const QByteArray journal = QByteArray::number(last.before.size()) + ' ' +
                                       QByteArray::number(last.after.size()) + '\n' + chunk;
            putFile(last.path + ".journal",
                    tornJournal ? journal.left(cut % journal.size()) : journal);
            if (written < chunk.size())
                files[last.path].removeLast();
        }
        restart();
    }

    void leaveJournal(const QByteArray& text) { putFile(currentFile() + ".journal", text); }

    // Another program writes the file the worker uses. An array, or nothing, may be continued;
    // anything else must be left alone.
    void overwrite(const QByteArray& bytes)
    {
        const QString path = currentFile();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
        // Numbers beyond a double come back as null once the worker rewrites the file.
        if (document.isArray() && QJsonDocument::fromJson(document.toJson()) != document)
            return;
        putFile(path, bytes);
        files[path].clear();
        if (error.error == QJsonParseError::NoError && document.isArray()) {
            for (const QJsonValue& v : document.array())
                files[path].append({v, QString(), false});
        } else if (!bytes.trimmed().isEmpty()) {
            files.remove(path);
            foreign[path] = bytes;
        }
        current.clear();
        last = {};
    }

    void check() const
    {
        for (auto it = foreign.cbegin(); it != foreign.cend(); ++it)
            FUZZ_CHECK(fileBytes(it.key()) == it.value());
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            const QByteArray bytes = fileBytes(it.key());
            if (bytes.trimmed().isEmpty() && it.value().isEmpty())
                continue;
            const QJsonDocument document = QJsonDocument::fromJson(bytes);
            FUZZ_CHECK(document.isArray());
            const QJsonArray array = document.array();
            FUZZ_CHECK(array.size() == it.value().size());
            for (int i = 0; i < array.size(); ++i) {
                const Entry& e = it.value().at(i);
                FUZZ_CHECK(e.logged ? array.at(i).toObject().value("rawdata").toString() == e.raw
                                    : array.at(i) == e.planted);
            }
        }
    }

private:
    // The first name of this second that is free, empty or a JSON array.
    QString currentFile()
    {
        for (int n = 1; current.isEmpty(); ++n) {
            const QString path = dir.filePath(
                QStringLiteral("Vantora_Direct_DataFile_20260305_140709") +
                (n > 1 ? '_' + QString::number(n) : QString()) + QStringLiteral(".txt"));
            if (!foreign.contains(path))
                current = path;
        }
        return current;
    }

    QTemporaryDir dir;
    std::unique_ptr<logging> log;
    QString current;
    QMap<QString, QList<Entry>> files;
    QMap<QString, QByteArray> foreign;
    // The last append, while nothing else has happened since.
    struct Append {
        QString path;
        QByteArray before;
        QByteArray after;
    } last;
};

} // namespace

FUZZ_START(fuzzStart)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    Folder folder;
    for (int steps = 0; !in.atEnd() && steps < 64; ++steps) {
        const quint8 step = in.byte();
        const QByteArray bytes = in.upTo('\0');
        switch (step % 5) {
        case 0:
            folder.append(bytes);
            break;
        case 1:
            folder.restart();
            break;
        case 2:
            folder.crash(bytes.isEmpty() ? 0 : quint8(bytes.at(0)), step & 0x80);
            break;
        case 3:
            folder.leaveJournal(bytes);
            folder.restart();
            break;
        default:
            folder.overwrite(bytes);
            break;
        }
        folder.check();
    }
    return 0;
}
