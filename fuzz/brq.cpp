// BRQ bytes as the serial port delivers them: prompts, acknowledgements, start-up data, weather
// packets and camera packets, with commands waiting for the unit's prompt. The worker's port is
// open on a pseudo-terminal, so that its pacing ticks really write; what reaches the far end is
// part of what each run records, with everything the worker tells the operator.
//
// Input: four bytes of set-up, then the stream.
//   byte 0: bits 0 to 2, the cut into reads; bits 3 and 4, the longest read (64, 4, 16 or 256
//           bytes); bit 5, also a run where the line falls silent before every read; bit 6, the
//           start-up sequence is on; bit 7, a command waits for the first prompt.
//   byte 1: bits 0 to 2, a second command (0: none), given between two reads;
//   byte 2: the stream offset where it is given, in 256ths of the stream;
//   byte 3: from 0x50 to 0x55, the last 32 << (byte - 0x50) bytes of the stream are repeated
//           until they alone reach past the 64 KiB receive buffer limit: one message that does
//           not end in time, or many that do. (Not 0xFF, which the mutations favour: such a
//           stream takes long to read.)
//           From 0x60 to 0x6F, the rest of the input is no stream but the recipe of one: known
//           whole messages (see `Generator`).
//
// What the operator is told may depend only on the bytes: the stream read whole and cut into
// reads tell the same, and a pause of 1 to 5 pacing ticks, shorter than the idle limit, before
// every read changes nothing, read by read. What is written to the unit is checked against the
// queue rule, and a read that brings a prompt while commands wait lets them go. In every run,
// by the sixth silent tick every byte read is in exactly one message told or in one drop count,
// and no more records are handed on than the stream holds weather packets. A generated stream
// must tell every message once, with its content (see `checkMessages`).

#include "fuzz/fuzzsupport.h"
#include "fuzz/linkfuzz.h"
#include "tools/unitsim/unitsim.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <signal.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{

const QByteArray kFirstCommand("m4\r");
// Commands as the window gives them: one line each, no blank inside.
const QByteArray kSecondCommands[] = {"",     "C1\r", "S1\r",  "I5\r",
                                      "m1\r", "G1\r", "i21\r", "GE+0120\r"};
const int kLongestRead[] = {64, 4, 16, 256};
const QByteArray kNotSent("log WARNING: BRQ Commands Not Sent, Serial Port Closed [ ");
const QByteArray kPrompt("\r\n>");
// The unit's idle limit is the sixth silent pacing tick, about 600 ms; a shorter pause changes
// nothing. Fixed here rather than taken from the link, whose limit is under test.
constexpr int kIdleLimitTicks = 6;
constexpr int kLongestPause = 5;

// The unit's end of the line: one pseudo-terminal for the whole process, whose slave end the
// worker opens in every run. The target holds the slave end open too, so that the line stays up
// between runs and a mark it writes comes out behind everything the worker wrote before it.
class UnitEnd
{
public:
    UnitEnd()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        char name[128] = {};
        FUZZ_CHECK(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0 &&
                   ptsname_r(master, name, sizeof name) == 0);
        slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        FUZZ_CHECK(slave >= 0 && tcgetattr(slave, &tio) == 0);
        cfmakeraw(&tio);
        FUZZ_CHECK(tcsetattr(slave, TCSANOW, &tio) == 0);
        // The serial port locks the name it opens: under a /dev/pts name, a stale lock that
        // another user left there would keep the line shut.
        path = dir.path() + QStringLiteral("/ttyVDbrq%1").arg(::getpid());
        FUZZ_CHECK(QFile::link(QString::fromLocal8Bit(name), path));
    }

    // A run whose line did not open checks nothing: it ends here and says why.
    void expectOpen(const QByteArrayList& heard) const
    {
        for (const QByteArray& line : heard) {
            if (line.contains("Unable to Open Serial Port")) {
                std::fprintf(stderr, "The unit's line did not open: %s\n", line.constData());
                std::abort();
            }
        }
    }

    // Takes what has arrived, so that a long run never fills the line.
    void drain()
    {
        char chunk[4096];
        for (;;) {
            const ssize_t n = ::read(master, chunk, sizeof chunk);
            if (n > 0)
                arrived.append(chunk, int(n));
            else if (n == 0 || errno != EINTR)
                return;
        }
    }

    // Everything the worker wrote since the last call. The worker writes no NUL byte. The
    // fuzzer's alarm may interrupt a call on the line (EINTR).
    QByteArray takeWritten()
    {
        for (ssize_t n; (n = ::write(slave, "", 1)) != 1;) {
            if (n < 0 && errno != EINTR && errno != EAGAIN)
                lineFailed("write");
            drain();
            wait(slave, POLLOUT);
        }
        for (;;) {
            drain();
            const int mark = arrived.indexOf('\0');
            if (mark >= 0) {
                const QByteArray out = arrived.left(mark);
                FUZZ_CHECK(mark == arrived.size() - 1);
                arrived.clear();
                return out;
            }
            wait(master, POLLIN);
        }
    }

    QString path;

private:
    void wait(int fd, short event)
    {
        pollfd ready{fd, event, 0};
        const int n = ::poll(&ready, 1, 10000);
        if (n == 0)
            errno = ETIMEDOUT;
        if (n == 0 || (n < 0 && errno != EINTR))
            lineFailed("poll");
    }
    [[noreturn]] static void lineFailed(const char* call)
    {
        std::fprintf(stderr, "%s on the line: %s\n", call, std::strerror(errno));
        fuzzFail("the line to the unit works", __FILE__, __LINE__);
    }

    QTemporaryDir dir;
    int master = -1;
    int slave = -1;
    QByteArray arrived;
};

UnitEnd& unitEnd()
{
    static UnitEnd unit;
    return unit;
}

// A picture file is a whole JPEG stream that fits the assembly area; its bytes are part of what
// the worker reports.
QByteArray pictureDigest(const QString& path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    FUZZ_CHECK(bytes.size() <= 65536);
    FUZZ_CHECK(bytes.startsWith("\xff\xd8") && bytes.endsWith("\xff\xd9"));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

// Everything the unit test's recorder writes down, on top of what every link target hears.
class BrqProbe : public LinkProbe
{
public:
    BrqProbe() : LinkProbe(DeviceTypes::BRQ)
    {
        pacingTimer->stop();
        connect(this, &data_incoming::sendRawData, [this](const QByteArray& data) {
            heard << "raw " + data;
            lastRaw = data;
        });
        connect(this, &data_incoming::sendConfiguration,
                [this](const QString& state) { heard << "config " + state.toUtf8(); });
        connect(this, &data_incoming::sendCommandConfirmation, [this] { heard << "confirmed"; });
        connect(this, &data_incoming::sendCommandsNotSent, [this] { heard << "not sent"; });
        connect(this, &data_incoming::enableCamera,
                [this](bool on) { heard << "camera " + QByteArray::number(on); });
        connect(this, &data_incoming::sendCameraProgress,
                [this](const QString&, int camera, const QString& time, double angle,
                       const QString& date) {
                    heard << "shown " + QByteArray::number(camera) + ' ' + time.toUtf8() + ' ' +
                                 QByteArray::number(angle) + ' ' + date.toUtf8();
                });
        connect(this, &data_incoming::sendCameraFinal, [this](int, const QString& path) {
            heard << "md5 " + pictureDigest(path);
            pictures << fileBytes(path);
        });
    }

    QByteArray lastRaw;
    QByteArrayList pictures; // each finished picture's file
};

// What the queue rule lets the pacing ticks write: while commands wait for the prompt, four
// wake-up blanks a tick; once the prompt has let them go, one byte of the transmit queue a tick,
// the commands that waited behind those still going out joined to them by a blank.
class QueueRule
{
public:
    void give(const QByteArray& command) { pending += pending.isEmpty() ? command : ' ' + command; }
    void release()
    {
        queue += queue.isEmpty() ? pending : ' ' + pending;
        pending.clear();
    }
    // Whether the tick wrote a wake-up burst.
    bool tick()
    {
        if (!queue.isEmpty()) {
            written += queue.at(0);
            queue.remove(0, 1);
            return false;
        }
        if (pending.isEmpty())
            return false;
        written += "    ";
        return true;
    }

    QByteArray written;

private:
    QByteArray pending;
    QByteArray queue;
};

// What the told messages carried, in order. The raw-data view and the data log each give a
// message's bytes (a weather packet's record goes to the data log with its bytes too), one
// right behind the other when both tell it; a drop line gives a count. The reply whose prompt
// lets the commands go is shown up to its prompt: the error marks behind it are not shown.
class Ledger
{
public:
    explicit Ledger(data_incoming& link)
    {
        const auto add = [this](unsigned kind, const QByteArray& bytes) {
            if (closed)
                return;
            if (!entries.isEmpty()) {
                Entry& last = entries.last();
                if (last.dropped < 0 && !(last.kinds & kind) && last.bytes == bytes) {
                    last.kinds |= kind;
                    return;
                }
            }
            entries << Entry{bytes, -1, kind, false};
        };
        QObject::connect(&link, &data_incoming::sendImageProgressInfo, [this] { dump = true; });
        QObject::connect(&link, &data_incoming::sendRawData, [this, add](const QByteArray& data) {
            // A picture packet's hexadecimal dump follows its progress; its bytes go to the
            // data log.
            if (std::exchange(dump, false) || data == "\r\nLast Packet of Image Received")
                return;
            add(kRaw, data);
        });
        QObject::connect(&link, &data_incoming::sendLogData,
                         [add](const QByteArray& data, const QJsonObject& record, DeviceTypes) {
                             add(record.isEmpty() ? kCopy : kRecord, data);
                         });
        QObject::connect(&link, &data_incoming::sendLogMsg, [this](const QByteArray& line) {
            static const QRegularExpression drop(QStringLiteral("dropped \\[ (\\d+) bytes \\]$"));
            const QRegularExpressionMatch match = drop.match(QString::fromLatin1(line));
            if (!closed && match.hasMatch())
                entries << Entry{{}, match.captured(1).toInt(), 0, false};
        });
        QObject::connect(&link, &data_incoming::sendCommandConfirmation, [this] {
            if (!closed && !entries.isEmpty() && entries.last().dropped < 0)
                entries.last().released = true;
        });
    }

    // What the port's close tells is not counted: the line was silent for the idle limit.
    void close() { closed = true; }

    // Each byte of the stream, in order, is in exactly one message told or in one drop count.
    void check(const QByteArray& stream) const
    {
        int releases = 0;
        for (const Entry& entry : entries)
            releases += entry.released;
        FUZZ_CHECK(releases <= 2); // one per command given
        Tiling best;
        for (unsigned marks = 0; marks < 1u << (2 * releases); ++marks) {
            const Tiling tiling = tile(stream, marks);
            if (tiling.entries == entries.size() && tiling.at == stream.size())
                return;
            if (tiling.entries > best.entries ||
                (tiling.entries == best.entries && tiling.at > best.at))
                best = tiling;
        }
        const Entry next = entries.value(best.entries);
        std::fprintf(stderr,
                     "told messages and drop counts cover the %d bytes read up to byte %lld, "
                     "message %d of %d; next told: %s\n  stream there: %s\n",
                     int(stream.size()), best.at, best.entries, int(entries.size()),
                     next.dropped >= 0
                         ? QByteArray("dropped " + QByteArray::number(next.dropped)).constData()
                         : next.bytes.left(120).toPercentEncoding(" :").constData(),
                     stream.mid(int(best.at), 120).toPercentEncoding(" :").constData());
        fuzzFail("each byte read in exactly one message told or one drop count", __FILE__,
                 __LINE__);
    }

private:
    static constexpr unsigned kRaw = 1, kCopy = 2, kRecord = 4;
    struct Entry {
        QByteArray bytes;
        int dropped; // a drop count; -1 for a message
        unsigned kinds;
        bool released; // the reply up to the prompt that let the commands go
    };
    struct Tiling {
        int entries = 0;
        qint64 at = 0;
    };

    // How far the entries cover the stream from its start; `marks` gives, two bits per reply
    // that let the commands go, how many error marks behind its prompt belong to it.
    Tiling tile(const QByteArray& stream, unsigned marks) const
    {
        Tiling t;
        for (const Entry& entry : entries) {
            const qint64 left = stream.size() - t.at;
            if (entry.dropped >= 0) {
                if (entry.dropped == 0 || entry.dropped > left)
                    return t;
                t.at += entry.dropped;
            } else {
                if (entry.bytes.isEmpty() || entry.bytes.size() > left ||
                    memcmp(stream.constData() + t.at, entry.bytes.constData(),
                           size_t(entry.bytes.size())) != 0)
                    return t;
                t.at += entry.bytes.size();
                if (entry.released) {
                    for (unsigned n = marks & 3; n > 0; --n, ++t.at) {
                        if (t.at == stream.size() || stream.at(int(t.at)) != '\x02')
                            return t;
                    }
                    marks >>= 2;
                }
            }
            ++t.entries;
        }
        return t;
    }

    QList<Entry> entries;
    bool dump = false;
    bool closed = false;
};

// At most this many weather packets fit the stream, each with its "@I", its line beginning
// "@0" and its "~", whatever the reader makes of the bytes.
int weatherPacketsAtMost(const QByteArray& stream)
{
    return qMin(qMin(stream.count("@I"), stream.count("\r\n@0")), stream.count('~'));
}

// The ends of the prompts that can be nothing else: before the first "@1" (a picture packet may
// hold any bytes), whose line end is not the second half of an empty line (which may end a
// block), and within the first 64 KiB (what the buffer holds before it can overflow).
QList<qint64> promptsAlone(const QByteArray& stream)
{
    const int packet = stream.indexOf("@1");
    const int until = qMin(packet < 0 ? int(stream.size()) : packet, kReceiveCap);
    QList<qint64> ends;
    for (int at = stream.indexOf(kPrompt); at >= 0 && at + kPrompt.size() <= until;
         at = stream.indexOf(kPrompt, at + 1)) {
        if (at < 2 || stream.mid(at - 2, 2) != "\r\n")
            ends << at + kPrompt.size();
    }
    return ends;
}

// A generated stream: whole messages of every kind the unit sends, noise between them, at most
// one record or image packet damaged, and what the operator must be told for it.
struct Told {
    char kind; // 'r' record, 'a' acknowledgement, 'b' banner, 's' start-up data, 'p' prompt,
               // 'i' image packet, 'f' finished picture
    QByteArray what;
    bool mayLack; // the damage may take it, or change it
    int at = -1;  // where the message begins in the stream
    int end = -1; // a record, start-up data and an image packet: where it ends
};

struct Generated {
    QByteArray stream;
    QList<Told> told;
    int named = 0;     // damaged messages the operator may be told of
    int packetAt = -1; // a damaged image packet
};

// The unit's reply words and what each is reported as.
const std::pair<QByteArray, QByteArray> kReplies[] = {
    {"M 20S", "INFO: BRQ M 20S confirmation received."},
    {"M 1H", "INFO: BRQ M 1H confirmation received."},
    {"I5", "INFO: BRQ I5 confirmation received."},
    {"I3", "INFO: BRQ I3 confirmation received."},
    {"G1 OK", "INFO: BRQ G1 OK confirmation received."},
    {"GE+0120\r\nGE OK", "INFO: BRQ GE OK confirmation received."},
    {"C2 OK", "INFO: BRQ C2 OK confirmation received."},
    {"i21 OK", "INFO: BRQ Auto-Schedule Image OK confirmation received."},
};
const QByteArray
    kErrorReported("ERROR: Error in BRQ command processing, received spaces in response.");
const QByteArray kBanner("\r\n\rBRQ v2.1 KVDS\r\n");
const QByteArray kStartupData("\r\nON 12:00\r\n\r\n");
const QByteArray kCaptureTime = QByteArray::fromHex("240307140509");
constexpr int kChunk = 330;

// What a record tells of its values.
QByteArray recordValues(const QString& temperature, const QString& humidity,
                        const QString& pressure, const QString& wind)
{
    return QStringList{temperature, humidity, pressure, wind}.join(' ').toUtf8();
}

// Noise begins and ends no message and holds no reply word: no "@", line end, ">", "~", error
// mark or letter.
char noiseByte(quint8 b)
{
    static const char kNoise[] = " !#$%&'()*+,-./0123456789:;<=?[]^_{|}";
    return b >= 0x80 ? char(b) : kNoise[b % (sizeof kNoise - 1)];
}

// How the recipe damages the one record or image packet it hits: a damage byte (bits 0 to 4:
// which; bits 5 and 6: how; bit 7: the position's high byte follows), the position's low byte and
// a byte to put in. A record is cut short behind its data line, loses its "~" or its empty line,
// or has a byte inside a line turned into "@" (bit 0 of the byte set) or into noise. An image
// packet is cut short, loses a byte or its terminator, or gets the byte added; cut short with
// bit 7 of the byte set, it is cut where the message behind it ends at the place of its
// terminator (bit 6: of a 340-byte packet, else of a 344-byte one).
struct Damage {
    explicit Damage(FuzzInput& in)
    {
        const quint8 damage = in.byte();
        where = damage & 0x1f;
        how = (damage >> 5) & 3;
        position = (damage & 0x80 ? in.byte() << 8 : 0) | in.byte();
        added = in.byte();
    }
    bool fillsPacket() const { return how == 0 && (added & 0x80); }
    int filledLength() const { return added & 0x40 ? 340 : 344; }

    int where;
    int how;
    int position;
    quint8 added;
};

QByteArray damagedRecord(QByteArray record, const Damage& d)
{
    const int dataLine = record.indexOf("\r\n", record.indexOf("@0")) + 2;
    if (d.how == 0) {
        record.truncate(dataLine + d.position % (record.size() - dataLine));
    } else if (d.how == 1) {
        record.remove(record.indexOf('~'), 1);
    } else if (d.how == 2) {
        record.chop(2);
    } else {
        QList<int> inLine;
        for (int i = 0; i < record.size(); ++i)
            if (record.at(i) != '\r' && record.at(i) != '\n')
                inLine << i;
        record[inLine.at(d.position % inLine.size())] = d.added & 1 ? '@' : noiseByte(d.added >> 1);
    }
    return record;
}

QByteArray damagedPacket(QByteArray packet, const Damage& d, int cutTo = 0)
{
    const int at = 2 + d.position % (packet.size() - 1);
    if (d.how == 0)
        packet.truncate(cutTo > 0 ? cutTo : 1 + d.position % (packet.size() - 1));
    else if (d.how == 1)
        packet.remove(qMin(at, int(packet.size()) - 1), 1);
    else if (d.how == 2)
        packet.chop(4);
    else
        packet.insert(at, char(d.added));
    return packet;
}

// The recipe of a generated stream: the damage, then per message a byte (bits 0 to 2: the kind;
// bit 3: noise before it, a length byte and its bytes following; bits 4 to 7: which reply, or
// the picture's camera and packets) and, for a record or a picture, a byte of its values or
// chunks.
class Generator
{
public:
    explicit Generator(FuzzInput& in) : in(in), d(in) {}
    Generated run()
    {
        for (int n = 0; n < 24 && !in.atEnd(); ++n) {
            message(in.byte());
            settleCut();
        }
        cutPacket();
        countedPacket();
        return g;
    }

private:
    void message(quint8 k)
    {
        const int v = k >> 4;
        if (k & 8) {
            const int noise = 1 + in.byte() % 32;
            for (int i = 0; i < noise; ++i)
                g.stream += noiseByte(in.byte());
        }
        const char after = std::exchange(behind, 0);
        const int at = g.stream.size();
        switch (k & 7) {
        case 0:
        case 7: {
            const unitsim::WeatherSample w = unitsim::weatherSample(in.byte());
            add(unitsim::brqWeatherPacket("KVDS", w, QDateTime(QDate(2026, 3, 5), QTime(14, 7))),
                'r', recordValues(w.temperature, w.humidity, w.pressure, w.windSpeed));
            break;
        }
        case 1:
            g.stream += "\r\n" + kReplies[v % 8].first + "\r\n>";
            g.told << Told{'a', kReplies[v % 8].second, after == 'i', at}
                   << Told{'p', {}, false, at};
            break;
        case 2:
            g.stream += "\r\n>";
            g.told << Told{'p', {}, after == 'r', at};
            break;
        case 3:
            g.stream += "\r\n>\x02\x02\x02";
            g.told << Told{'a', kErrorReported, after == 'r', at}
                   << Told{'p', {}, after == 'r', at};
            break;
        case 4:
            g.stream += kBanner;
            g.told << Told{'b', kBanner, after == 'r', at};
            break;
        case 5:
            g.stream += kStartupData;
            g.told << Told{'s', kStartupData, after == 'r', at, int(g.stream.size())};
            break;
        case 6:
            picture(v);
            break;
        }
    }

    void picture(int v)
    {
        const int at = g.stream.size();
        const int camera = 1 + v % 4;
        const int packets = 1 + v / 4 % 3;
        std::minstd_rand random(in.byte() + 1);
        QByteArray picture;
        bool whole = true;
        for (int sequence = 0; sequence < packets; ++sequence) {
            QByteArray chunk(kChunk, '\0');
            for (char& c : chunk)
                c = char(random());
            picture += chunk;
            const QByteArray packet = unitsim::brqImagePacket(
                kCaptureTime, camera, sequence == packets - 1, sequence, chunk);
            whole &=
                !add(packet, 'i', QByteArray::number(camera) + ' ' + QByteArray::number(sequence));
            settleCut();
        }
        g.told << Told{'f', picture + "\xff\xd9", !whole, at};
    }

    // One record or image packet, damaged when the recipe hits it.
    bool add(QByteArray message, char kind, const QByteArray& what)
    {
        const bool hit = index++ == d.where;
        const int start = g.stream.size();
        if (hit && kind == 'i') {
            g.packetAt = start;
            if (d.fillsPacket()) {
                // Its length is settled once the message behind it is in.
                cut = {start, message, int(g.told.size()), -1};
                g.told << Told{kind, what, true, start};
                g.named += 1;
                behind = 'i';
                return true;
            }
        }
        if (hit)
            message = kind == 'r' ? damagedRecord(message, d) : damagedPacket(message, d);
        g.told << Told{kind, what, hit, start, start + int(message.size())};
        g.stream += message;
        g.named += hit;
        if (hit && kind == 'i')
            promptInChunk(message, int(g.told.size()) - 1, start);
        behind = !hit                            ? 0
                 : kind == 'r'                   ? (message.endsWith("~\r\n") ? 'r' : 'R')
                 : !message.endsWith("\r\n\r\n") ? 'i'
                                                 : 0;
        return hit;
    }

    // A prompt inside the chunk of a damaged packet ends it: what follows is read as a reply, and
    // "@1" in the rest of the chunk as one more damaged packet.
    void promptInChunk(const QByteArray& packet, int told, int at)
    {
        if (packet.indexOf("\r\n>", 10) < 0)
            return;
        g.told.insert(told + 1, Told{'p', {}, true, at});
        g.told.insert(told + 2, Told{'i', {}, true, at});
        ++g.named;
    }

    // How far the first message behind a packet still to be cut reaches, its noise included.
    void settleCut()
    {
        if (cut.at >= 0 && cut.reach < 0 && g.stream.size() > cut.at)
            cut.reach = g.stream.size() - cut.at;
    }

    // The packet cut so that the message behind it ends at its terminator's place, where it can;
    // the messages behind it move up.
    void cutPacket()
    {
        if (cut.at < 0)
            return;
        int length = d.filledLength() - qMax(cut.reach, 0);
        if (length < 1 || length >= cut.packet.size())
            length = 0;
        const QByteArray packet = damagedPacket(cut.packet, d, length);
        g.stream.insert(cut.at, packet);
        for (int i = cut.told + 1; i < g.told.size(); ++i) {
            Told& t = g.told[i];
            if (t.at < cut.at)
                continue;
            t.at += packet.size();
            t.end += t.end >= 0 ? packet.size() : 0;
        }
        g.told[cut.told].end = cut.at + packet.size();
        promptInChunk(packet, cut.told, cut.at);
    }

    // A packet is counted: a damaged one whose terminator's place holds an empty line's end, from
    // the messages behind it, reads whole and takes them, unless a whole record or start-up data
    // ends there. Then it was cut short right in front of that message, which is read.
    void countedPacket()
    {
        const auto blankAt = [this](int at) { return g.stream.mid(at, 4) == "\r\n\r\n"; };
        if (g.packetAt < 0)
            return;
        const int end = blankAt(g.packetAt + 340)   ? g.packetAt + 344
                        : blankAt(g.packetAt + 336) ? g.packetAt + 340
                                                    : -1;
        for (Told& t : g.told) {
            const bool filling = t.end == end && (t.kind == 'r' || t.kind == 's');
            t.mayLack |= t.at > g.packetAt && t.at < end && !filling;
        }
    }

    FuzzInput& in;
    const Damage d;
    Generated g;
    int index = 0;
    // Right behind the damaged message: 'r' a record that lost its empty line, 'R' another
    // damaged record, 'i' an image packet that lost its terminator.
    char behind = 0;
    struct {
        int at = -1; // where it goes in the stream
        QByteArray packet;
        int told = -1;  // its place among the messages told
        int reach = -1; // see `settleCut`
    } cut;
};

// A reply as the data log shows it: up to its prompt, or with its error marks.
bool endsWithPrompt(QByteArray bytes)
{
    for (int marks = 0; marks < 3 && bytes.endsWith('\x02'); ++marks)
        bytes.chop(1);
    return bytes.endsWith("\r\n>");
}

// What the operator was told of the generated messages, in order, of the kinds `Told` names.
QList<Told> toldOf(const QByteArrayList& heard, const QByteArrayList& pictures)
{
    QList<Told> told;
    for (const QByteArray& line : heard) {
        if (line.startsWith("record ")) {
            const QJsonObject r = QJsonDocument::fromJson(line.mid(7)).object();
            told << Told{
                'r',
                recordValues(r.value("Temperature").toString(), r.value("Humidity").toString(),
                             r.value("Pressure").toString(), r.value("Wind Speed").toString()),
                false};
        } else if (line.startsWith("log ") &&
                   (line.endsWith("confirmation received.") || line.mid(4) == kErrorReported)) {
            told << Told{'a', line.mid(4), false};
        } else if (line.startsWith("raw " + kBanner.left(7))) {
            told << Told{'b', line.mid(4), false};
        } else if (line.startsWith("raw " + kStartupData.left(4))) {
            told << Told{'s', line.mid(4), false};
        } else if (line.startsWith("data ") && line.endsWith(" {}") &&
                   endsWithPrompt(line.chopped(3))) {
            told << Told{'p', {}, false};
        } else if (line.startsWith("picture ")) {
            told << Told{'i', line.mid(8), false};
        }
    }
    for (const QByteArray& file : pictures)
        told << Told{'f', file.mid(632), false};
    return told;
}

// Every message not damaged is told exactly once with its content, in order among its kind: a
// record's values, a reply's acknowledgement, a picture packet's camera and place and a finished
// picture's chunks. The damaged message may be told or not, changed, or named once. The decided
// limits, which the check allows: a reply's text right behind a packet that lost its terminator
// is read as part of that packet, so its acknowledgement may be lacking; a record that lost its
// empty line ends whole at the first line end of a prompt, banner or start-up data behind it, and
// what is left of that message is dropped; a damaged packet whose terminator's place the bytes
// behind it fill reads whole, unless they end with a whole record or start-up data; a prompt
// inside a damaged packet's chunk ends it (see `Generator`).
void checkMessages(const Generated& g, const BrqProbe& link)
{
    const QList<Told> told = toldOf(link.heard, link.pictures);
    for (const char kind : QByteArray("rabspif")) {
        QList<Told> want, got;
        for (const Told& t : g.told)
            if (t.kind == kind)
                want << t;
        for (const Told& t : told)
            if (t.kind == kind)
                got << t;
        // fits[w][i]: the wanted from w on are what is told from i on. A damaged message may be
        // told changed or not at all.
        const int wants = want.size(), gots = got.size();
        std::vector<std::vector<char>> fits(wants + 1, std::vector<char>(gots + 1, 0));
        fits[wants][gots] = 1;
        for (int w = wants - 1; w >= 0; --w) {
            for (int i = gots; i >= 0; --i) {
                const bool next = i < gots && fits[w + 1][i + 1];
                fits[w][i] = want.at(w).mayLack ? fits[w + 1][i] || next
                                                : next && got.at(i).what == want.at(w).what;
            }
        }
        if (!fits[0][0]) {
            for (const QList<Told>* list : {&want, &got}) {
                std::fprintf(stderr, "messages of kind %c %s:\n", kind,
                             list == &want ? "wanted" : "told");
                for (const Told& t : *list)
                    std::fprintf(stderr, "  %s%s\n", t.mayLack ? "(may lack) " : "",
                                 t.what.left(60).toPercentEncoding(" :").constData());
            }
            std::fprintf(stderr, "stream: %s\n", g.stream.toPercentEncoding(" :").constData());
        }
        FUZZ_CHECK(fits[0][0]);
    }
    int named = 0;
    for (const QByteArray& line : link.heard)
        named += line.startsWith("log WARNING: BRQ weather packet incomplete") ||
                 line.startsWith("log WARNING: BRQ weather packet damaged") ||
                 line.startsWith("log WARNING: BRQ image packet damaged");
    if (named > g.named)
        std::fprintf(stderr, "%d damaged messages named\n", named);
    FUZZ_CHECK(named <= g.named);
}

struct Plan {
    QByteArray stream;
    QList<QByteArray> reads;
    int secondAt = -1; // the read before which the second command is given
    QByteArray second;
    bool firstCommand = false;
    bool startup = false;
    const Generated* generated = nullptr;
};

enum class Pace { None, Short, Silent };

struct Run {
    QByteArrayList told; // one line per emission, in order
    QList<int> toldAfterRead;
    int toldAtClose = 0;
    QByteArray written; // what reached the unit
};

// A prompt that let the waiting commands go.
struct Release {
    int read;       // during this read, or at a tick behind it
    bool atTick;    // at the silence tick
    int ticks;      // ticks before it
    qint64 replyAt; // stream offset of the reply shown with it; -1 where a read was split
    QByteArray reply;
};

void report(const char* what, const QByteArrayList& a, const QByteArrayList& b)
{
    for (int i = 0; i < qMax(a.size(), b.size()); ++i) {
        if (a.value(i) != b.value(i)) {
            std::fprintf(stderr, "%s, line %d\n  %s\n  %s\n", what, i,
                         a.value(i).left(300).toPercentEncoding(" :").constData(),
                         b.value(i).left(300).toPercentEncoding(" :").constData());
            return;
        }
    }
}

void checkSame(const char* what, const QByteArrayList& a, const QByteArrayList& b)
{
    if (a != b)
        report(what, a, b);
    FUZZ_CHECK(a == b);
}

Run play(const Plan& plan, Pace pace, quint32 seed)
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/temp"))
        .removeRecursively();
    UnitEnd& unit = unitEnd();
    BrqProbe link;
    Ledger ledger(link);
    link.setStartupSequence(plan.startup);
    link.openSerialPort(unit.path);
    unit.expectOpen(link.heard);

    Run run;
    QueueRule rule;
    QByteArrayList given;
    QList<Release> releases;
    QList<bool> bursts; // per tick
    QList<int> ticksAfterRead;
    QList<qint64> readEnds;
    QList<qint64> frontAfterRead;
    int read = -1;
    qint64 readEnd = 0;
    bool atTick = false;
    bool exact = true;
    int drainedAt = 0;
    bool waiting = false; // commands wait for the prompt
    int confirmed = 0;
    QObject::connect(&link, &data_incoming::sendCommandConfirmation, [&] {
        waiting = false;
        ++confirmed;
        rule.release();
        // The reply stands at the front of the buffer, which holds the stream up to the end of
        // the read unless the read was split at the buffer limit.
        const qint64 at = exact ? readEnd - link.receiveBuffer.size() : -1;
        releases << Release{read, atTick, int(bursts.size()), at, link.lastRaw};
    });
    const auto tick = [&] {
        atTick = true;
        link.dataTimer();
        atTick = false;
        bursts << rule.tick();
    };
    const auto give = [&](const QByteArray& command) {
        link.setCommandBuffer(command);
        rule.give(command);
        given << command;
        waiting = true;
    };
    const QList<qint64> prompts = promptsAlone(plan.stream);

    if (plan.firstCommand)
        give(kFirstCommand);
    std::minstd_rand random(seed + 1);
    for (int i = 0; i <= plan.reads.size(); ++i) {
        if (i == plan.secondAt)
            give(plan.second);
        if (i == plan.reads.size())
            break;
        const int pause = pace == Pace::Short    ? 1 + int(random() % kLongestPause)
                          : pace == Pace::Silent ? kIdleLimitTicks
                                                 : 0;
        for (int n = 0; n < pause; ++n)
            tick();
        const QByteArray& bytes = plan.reads.at(i);
        exact = link.receiveBuffer.size() + bytes.size() <= kReceiveCap;
        read = i;
        const qint64 readStart = readEnd;
        readEnd += bytes.size();
        const bool waited = waiting;
        const int confirmedBefore = confirmed;
        link.parseData_BRQ(bytes);
        exact = true;
        // After a silence the read's prompt must be whole in it: the buffer was dropped.
        const qint64 promptFrom = pace == Pace::Silent ? readStart + kPrompt.size() : readStart + 1;
        for (const qint64 end : prompts) {
            if (!waited || end < promptFrom || end > readEnd)
                continue;
            if (confirmed == confirmedBefore)
                std::fprintf(stderr,
                             "the prompt ending at %lld came on read %d while commands "
                             "waited, which did not let them go\n",
                             end, i);
            FUZZ_CHECK(confirmed > confirmedBefore);
            break;
        }
        FUZZ_CHECK(link.receiveBuffer.size() <= kReceiveCap);
        readEnds << readEnd;
        frontAfterRead << readEnd - link.receiveBuffer.size();
        ticksAfterRead << bursts.size();
        run.toldAfterRead << link.heard.size();
        if (bursts.size() - drainedAt >= 256) {
            unit.drain();
            drainedAt = bursts.size();
        }
    }
    for (int n = 0; n < kIdleLimitTicks; ++n)
        tick();

    run.toldAtClose = link.heard.size();
    ledger.close();
    ledger.check(plan.stream);
    if (plan.generated && pace != Pace::Silent)
        checkMessages(*plan.generated, link);
    int records = 0;
    for (const QByteArray& line : link.heard)
        records += line.startsWith("record ");
    if (records > weatherPacketsAtMost(plan.stream))
        std::fprintf(stderr, "%d records handed on, the stream holds at most %d weather packets\n",
                     records, weatherPacketsAtMost(plan.stream));
    FUZZ_CHECK(records <= weatherPacketsAtMost(plan.stream));
    link.closeSerialPort();
    run.told = link.heard;
    run.written = unit.takeWritten();

    // Exact: what reached the unit is what the queue rule writes, given when each command was
    // given and when the prompt let it go. How many wake-up bursts that makes depends on how many
    // ticks passed before the prompt; that none comes after it is checked below.
    if (run.written != rule.written)
        std::fprintf(stderr, "written: %s\nexpected: %s\n",
                     run.written.toPercentEncoding().constData(),
                     rule.written.toPercentEncoding().constData());
    FUZZ_CHECK(run.written == rule.written);

    // The prompt that let the commands go is shown with them, as the stream holds it, and the
    // commands go on the read that brings it: when the reply stood at the front of the buffer
    // once that read was in, no later read or tick may be the one that lets them go, and no tick
    // in between may wake the unit again. (Behind a message that waits for more bytes, an image
    // packet say, the prompt may be read later; so may a prompt behind "@1" inside the reply's
    // text, which is a reply only once no whole packet begins there.)
    for (const Release& release : releases) {
        FUZZ_CHECK(release.reply.endsWith("\r\n>"));
        if (release.replyAt < 0)
            continue;
        FUZZ_CHECK(plan.stream.mid(int(release.replyAt), release.reply.size()) == release.reply);
        const qint64 promptEnd = release.replyAt + release.reply.size();
        int brought = 0;
        while (readEnds.at(brought) < promptEnd)
            ++brought;
        if (frontAfterRead.at(brought) != release.replyAt || release.reply.contains("@1"))
            continue;
        int late = 0;
        for (int t = ticksAfterRead.at(brought); t < release.ticks; ++t)
            late += bursts.at(t);
        if (release.read != brought || release.atTick)
            std::fprintf(stderr,
                         "prompt ending at %lld came on read %d, the commands went %s read %d, "
                         "%d wake-up bursts written after it\n",
                         promptEnd, brought, release.atTick ? "at a tick behind" : "on",
                         release.read, late);
        FUZZ_CHECK(late == 0);
        FUZZ_CHECK(release.read == brought && !release.atTick);
    }

    // Every command given is sent whole or named as not sent when the port closes.
    const int sentWhole = run.written.count('\r');
    QByteArrayList unsent;
    for (const QByteArray& command : given.mid(sentWhole))
        unsent << command.chopped(1);
    int named = 0;
    for (const QByteArray& line : run.told.mid(run.toldAtClose))
        named += line.startsWith(kNotSent);
    FUZZ_CHECK(named == (unsent.isEmpty() ? 0 : 1));
    FUZZ_CHECK(unsent.isEmpty() ||
               run.told.mid(run.toldAtClose).contains(kNotSent + unsent.join(", ") + " ]"));
    FUZZ_CHECK(run.told.mid(run.toldAtClose).contains("not sent") == !unsent.isEmpty());
    return run;
}

// The stream read whole, or cut into reads of 1 to `longest` bytes; a read boundary stands where
// the second command is given, at the same stream offset in every run.
void cutInto(Plan& plan, int secondAt, bool whole, quint32 seed, int longest)
{
    plan.reads.clear();
    const auto add = [&](const QByteArray& part) {
        if (!whole)
            plan.reads += chunked(part, seed, longest);
        else if (!part.isEmpty())
            plan.reads << part;
    };
    add(plan.stream.left(secondAt));
    plan.secondAt = plan.second.isEmpty() ? -1 : int(plan.reads.size());
    add(plan.stream.mid(secondAt));
}

void brqStart()
{
    fuzzStart();
    // Each process its own picture folder: two jobs of one run must not remove each other's
    // pictures. In memory where the system has it, since every picture packet is synced to disk.
    // A process that found a fault ends without removing its folder; the next one removes it.
    const QString memory = QStringLiteral("/dev/shm");
    const QDir base(QFileInfo(memory).isWritable() ? memory : QDir::tempPath());
    const QString prefix = QStringLiteral("vd-fuzz-brq-");
    for (const QString& name : base.entryList({prefix + '*'}, QDir::Dirs)) {
        const pid_t owner = pid_t(name.mid(prefix.size()).toLongLong());
        if (owner > 0 && ::kill(owner, 0) != 0 && errno == ESRCH)
            QDir(base.filePath(name)).removeRecursively();
    }
    static const struct Home {
        Home(const QString& path) : path(path) { FUZZ_CHECK(QDir().mkpath(path)); }
        ~Home() { QDir(path).removeRecursively(); }
        const QString path;
    } home(base.filePath(prefix + QString::number(::getpid())));
    qputenv("HOME", QFile::encodeName(home.path));
    unitEnd();
}

} // namespace

FUZZ_START(brqStart)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 mode = in.byte();
    const quint8 command = in.byte();
    const quint8 offset = in.byte();
    const quint8 repeat = in.byte();

    Plan plan;
    Generated generated;
    if ((repeat & 0xf0) == 0x60) {
        generated = Generator(in).run();
        plan.stream = generated.stream;
        plan.generated = &generated;
    } else {
        plan.stream = in.rest();
    }
    const bool longStream = repeat >= 0x50 && repeat <= 0x55 && !plan.stream.isEmpty();
    if (longStream) {
        const QByteArray chunk = plan.stream.right(32 << (repeat - 0x50));
        const int from = plan.stream.size() - chunk.size();
        while (plan.stream.size() - from <= kReceiveCap)
            plan.stream += chunk;
    }
    plan.firstCommand = mode & 0x80;
    plan.startup = mode & 0x40;
    plan.second = kSecondCommands[command & 7];
    const int secondAt = int(qint64(plan.stream.size()) * offset / 256);
    const quint32 seed = mode & 7;
    const int longest = kLongestRead[(mode >> 3) & 3];

    // The run with pauses goes first: where the commands wait past their prompt, it shows the
    // wake-up bursts that the unit gets for nothing. A stream past the buffer limit is read
    // whole and cut only, since each of its runs takes long; the short streams try the pauses.
    cutInto(plan, secondAt, false, seed, longest);
    const Run paused = longStream ? Run() : play(plan, Pace::Short, seed);
    const Run cut = play(plan, Pace::None, seed);
    cutInto(plan, secondAt, true, seed, longest);
    const Run whole = play(plan, Pace::None, seed);
    checkSame("whole and cut", whole.told, cut.told);
    FUZZ_CHECK(whole.written == cut.written);

    // The reference of the run with pauses is the same reads without any pause, rather than with
    // pauses only where messages end: where the reader ends a message is what is under test, and
    // a pause shorter than the idle limit changes nothing the operator is told, inside a message
    // or between two, so each read tells the same. Only what the ticks of the pauses sent may
    // change what closing the port names, which the queue rule checks in each run.
    if (!longStream) {
        checkSame("cut and paused", cut.told.mid(0, cut.toldAtClose),
                  paused.told.mid(0, paused.toldAtClose));
        FUZZ_CHECK(cut.toldAfterRead == paused.toldAfterRead);
    }

    // The line silent before every read: the idle rule drops what waited; only the invariants.
    if ((mode & 0x20) && !longStream) {
        cutInto(plan, secondAt, false, seed, longest);
        play(plan, Pace::Silent, seed);
    }
    return 0;
}
