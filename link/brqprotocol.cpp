#include "link/data_incoming.h"

#include <QDebug>

#include <cstring>
#include <optional>
#include <utility>

namespace
{

const QByteArray kPrompt("\r\n>");
const QByteArray kErrorPrompt("\r\n>\x02\x02\x02", 6);
const QByteArray kBanner("\r\n\rBRQ v");
const QByteArray kStartupData("\r\nON");
const QByteArray kBlankLine("\r\n\r\n");
const QByteArray kLineEnd("\r\n");
constexpr char kErrorMark = '\x02';
constexpr int kErrorMarks = 3;

// A unit that never pauses would otherwise grow the buffer without end: the idle rule is the
// only other thing that drops it.
constexpr int kMaxReceiveBuffer = 64 * 1024;

// The unit's reply words and what each one is reported as. A row fires when all of its words
// (or, for `anyWord`, one of them) are in the buffer.
struct AckRow {
    const char* words[4]; // unused places are null
    bool anyWord;
    const char* logText;
    const char* displayText;
    bool positionReset;
};

const AckRow kAckRows[] = {
    {{"M 20S"},
     false,
     "INFO: BRQ M 20S confirmation received.",
     "INFO: BRQ 20sec confirmation received",
     false},
    {{"M 10S"},
     false,
     "INFO: BRQ M 10S confirmation received.",
     "INFO: BRQ 10sec confirmation received",
     false},
    {{"M 5M"},
     false,
     "INFO: BRQ M 5M confirmation received.",
     "INFO: BRQ 5min confirmation received",
     false},
    {{"M 1M"},
     false,
     "INFO: BRQ M 1M confirmation received.",
     "INFO: BRQ 1min confirmation received",
     false},
    {{"M 20M"},
     false,
     "INFO: BRQ M 20M confirmation received.",
     "INFO: BRQ 20min command confirmation received",
     false},
    {{"M 1H"},
     false,
     "INFO: BRQ M 1H confirmation received.",
     "INFO: BRQ 1hr command confirmation received",
     false},
    {{"M 3H"},
     false,
     "INFO: BRQ M 3H confirmation received.",
     "INFO: BRQ 3hr mode command confirmation received",
     false},
    {{"I5"},
     false,
     "INFO: BRQ I5 confirmation received.",
     "INFO: BRQ Take All Images command confirmation received",
     false},
    {{"I1"},
     false,
     "INFO: BRQ I1 confirmation received.",
     "INFO: BRQ Take Image from Camera 1 command confirmation received",
     false},
    {{"I2"},
     false,
     "INFO: BRQ I2 confirmation received.",
     "INFO: BRQ Take Image from Camera 2 command  confirmation received",
     false},
    {{"I3"},
     false,
     "INFO: BRQ I3 confirmation received.",
     "INFO: BRQ Take Image from Camera 3 command  confirmation received",
     false},
    {{"I4"},
     false,
     "INFO: BRQ I4 confirmation received.",
     "INFO: BRQ Take Image from Camera 4 command  confirmation received",
     false},
    {{"G1 OK"},
     false,
     "INFO: BRQ G1 OK confirmation received.",
     "INFO: BRQ Enable GPS Lat/Lon reporting command confirmation received",
     true},
    {{"G0 OK"},
     false,
     "INFO: BRQ G0 OK confirmation received.",
     "INFO: BRQ Disable GPS Lat/Lon reporting command confirmation received",
     true},
    {{"GE+", "GE OK"},
     false,
     "INFO: BRQ GE OK confirmation received.",
     "INFO: BRQ Set Elevation command confirmation received",
     true},
    {{"S0 OK"},
     false,
     "INFO: BRQ S0 OK confirmation received.",
     "INFO: BRQ Disable SPECI reports (default) command confirmation received",
     false},
    {{"S1 OK"},
     false,
     "INFO: BRQ S1 OK confirmation received.",
     "INFO: BRQ Enable SPECI reports command confirmation received",
     false},
    {{"C0 OK"},
     false,
     "INFO: BRQ C0 OK confirmation received.",
     "INFO: BRQ Disable Ceilometer command confirmation received",
     false},
    {{"C1 OK"},
     false,
     "INFO: BRQ C1 OK confirmation received.",
     "INFO: BRQ Enable Ceilometer in auto mode command confirmation received",
     false},
    {{"C2 OK"},
     false,
     "INFO: BRQ C2 OK confirmation received.",
     "INFO: BRQ Enable Ceilometer in always mode command confirmation received",
     false},
    {{"i20 OK", "i21 OK", "i22 OK", "i23 OK"},
     true,
     "INFO: BRQ Auto-Schedule Image OK confirmation received.",
     "INFO: BRQ Auto-Schedule Image OK command confirmation received",
     false},
};

bool rowMatches(const AckRow& row, const QByteArray& buffer)
{
    for (const char* word : row.words) {
        if (!word)
            break;
        const bool found = buffer.contains(word);
        if (row.anyWord && found)
            return true;
        if (!row.anyWord && !found)
            return false;
    }
    return !row.anyWord;
}

} // namespace

QStringList data_incoming::extractAtLines(const QByteArray& data)
{
    QString iLine;
    QString otherLine;
    const QStringList lines = QString::fromLatin1(data).split(QStringLiteral("\r\n"));
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1Char('@')))
            continue;
        if (line.size() > 1 && line.at(1) == QLatin1Char('I'))
            iLine = line;
        else
            otherLine = line;
    }
    return {iLine, otherLine};
}

void data_incoming::copyToDataLog(const QByteArray& bytes)
{
    if (loggingMode == LoggingType::Data || loggingMode == LoggingType::Debug)
        emit sendLogData(bytes, emptyRecord, deviceType);
}

void data_incoming::parseData_BRQ(const QByteArray& data)
{
    // Kept for the dispatch test of the serial port.
    ++pending.brqCalls;
    pending.lastBrq = data;
    pending.brqBytes += data.size();

    if (idleTicks >= brqSilenceTicks)
        dropReceiveBuffer();

    // The buffer is filled to its limit and read before more is added, so that where it
    // overflows depends on the bytes, not on how the port cut them into reads.
    int at = 0;
    while (at < data.size()) {
        if (receiveBuffer.size() == kMaxReceiveBuffer)
            overflowReceiveBuffer();
        const int take = qMin(kMaxReceiveBuffer - int(receiveBuffer.size()), int(data.size()) - at);
        receiveBuffer.append(data.constData() + at, take);
        at += take;
        readBrqMessages(false);
    }

    idleTicks = 0;
}

// Messages are taken off the front one by one, each once it can no longer grow, so that the
// next is read as if it had come after a pause. `silent`: the line has been silent for the idle
// limit, so what waited for more bytes is judged as it stands.
void data_incoming::readBrqMessages(bool silent)
{
    for (BrqMessage message = nextBrqMessage(silent); message.kind != BrqMessage::None;
         message = nextBrqMessage(silent))
        takeBrqMessage(message);
}

// The kind of message that the front of the buffer begins; None for bytes that begin none.
data_incoming::BrqMessage::Kind data_incoming::brqFrontKind() const
{
    if (receiveBuffer.startsWith("@1"))
        return BrqMessage::Image;
    if (receiveBuffer.startsWith("@I"))
        return BrqMessage::Block;
    if (receiveBuffer.startsWith(kBanner))
        return BrqMessage::Banner;
    if (receiveBuffer.startsWith(kStartupData))
        return BrqMessage::StartupData;
    return BrqMessage::None;
}

// The message at the front and its length; None while it may still grow.
data_incoming::BrqMessage data_incoming::nextBrqMessage(bool silent)
{
    if (receiveBuffer.isEmpty())
        return {};
    const BrqMessage::Kind front = brqFrontKind();
    if (front == BrqMessage::Image)
        return brqImageMessage(0, silent);
    if (front != BrqMessage::None)
        return brqLineMessage(front, silent, 0, brqScan);

    // Text that begins no message is a reply when the unit's prompt ends it. Bytes that run into
    // a message start first match nothing and must not hold that message up.
    const int startAt = findBrqStart();
    if (startAt < 0)
        return {};
    // Every start that begins with a line end is three bytes long at least.
    if (receiveBuffer.at(startAt) == '\r' && receiveBuffer.at(startAt + 2) == '>')
        return brqReplyEnding(startAt, silent);
    return {BrqMessage::Noise, startAt};
}

// Whether the prompt or a message start stands at `at`: 1 when one does (its kind in `kind`),
// -1 when the end of the buffer may have cut one, 0 when none does.
int data_incoming::brqStartAt(int at, BrqMessage::Kind* kind) const
{
    struct Start {
        QByteArray bytes;
        BrqMessage::Kind kind;
    };
    static const Start starts[] = {{kPrompt, BrqMessage::Reply},
                                   {"@1", BrqMessage::Image},
                                   {"@I", BrqMessage::Block},
                                   {kBanner, BrqMessage::Banner},
                                   {kStartupData, BrqMessage::StartupData}};
    const char* bytes = receiveBuffer.constData() + at;
    if (*bytes != '@' && *bytes != '\r')
        return 0;
    const int left = receiveBuffer.size() - at;
    for (const Start& start : starts) {
        const int n = qMin(int(start.bytes.size()), left);
        if (memcmp(bytes, start.bytes.constData(), size_t(n)) != 0)
            continue;
        if (n < start.bytes.size())
            return -1;
        *kind = start.kind;
        return 1;
    }
    return 0;
}

// Where the first prompt or message start stands, from where the last search stopped; -1 when
// there is none yet. A start that the end of the buffer may have cut holds the search there.
int data_incoming::findBrqStart()
{
    const int size = receiveBuffer.size();
    BrqMessage::Kind kind = BrqMessage::None;
    for (int at = brqScan.huntFrom; at < size; ++at) {
        const int start = brqStartAt(at, &kind);
        if (start == 0)
            continue;
        brqScan.huntFrom = at;
        return start > 0 ? at : -1;
    }
    brqScan.huntFrom = size;
    return -1;
}

// The reply that ends with the prompt at `promptAt` and the error marks right behind it, which
// may still come while the line is not silent for the idle limit. The prompt alone lets the
// waiting commands go, on the read that brings it: the unit is ready for them, and wake-up
// blanks sent after it would draw a second prompt.
data_incoming::BrqMessage data_incoming::brqReplyEnding(int promptAt, bool silent)
{
    if (brqScan.promptAt != promptAt) {
        brqScan.promptAt = promptAt;
        if (!pendingCommands.isEmpty()) {
            sendPendingBrqCommands(receiveBuffer.left(promptAt + kPrompt.size()));
            brqScan.released = true;
        }
    }
    const int size = receiveBuffer.size();
    const int marksEnd = promptAt + kPrompt.size() + kErrorMarks;
    int end = promptAt + kPrompt.size();
    while (end < size && end < marksEnd && receiveBuffer.at(end) == kErrorMark)
        ++end;
    if (end == size && end < marksEnd && !silent)
        return {};
    return {BrqMessage::Reply, end};
}

// Whether a "~" stands before `at` in the message that `scan` follows from `from`. Searched once
// per byte.
bool data_incoming::brqTildeBefore(BrqScan& scan, int from, int at)
{
    if (scan.tildeAt < 0) {
        scan.tildeAt = receiveBuffer.indexOf('~', qMax(from, scan.tildeFrom));
        scan.tildeFrom = receiveBuffer.size();
    }
    return scan.tildeAt >= 0 && scan.tildeAt < at;
}

// A message read by its lines: the banner (its first line), the start-up data (up to its empty
// line) or a block beginning "@I": other start-up data up to its empty line, a weather packet up
// to the empty line behind its "~", or the unit's identity line before an image packet. A prompt
// that comes first makes it all a reply; the next record's identity line ends a block that lost
// its end, and so do an image packet, the banner and the start-up data once the block has its
// data line (it is a record then). A line end that may be the start of a prompt waits for the
// byte behind it. A message that begins further in, at `at`, is only looked at (behind or inside
// an image packet): `scan` is its own, and a prompt or a packet that it runs into is not acted on.
data_incoming::BrqMessage data_incoming::brqLineMessage(BrqMessage::Kind kind, bool silent, int at,
                                                        BrqScan& scan)
{
    if (scan.packetAt >= 0)
        return brqImageMessage(scan.packetAt, silent);
    const int size = receiveBuffer.size();
    const int first = at + (kind == BrqMessage::Banner ? kBanner.size() : 2);
    for (int from = qMax(first, scan.lineFrom);;) {
        const int lineEnd = receiveBuffer.indexOf(kLineEnd, from);
        if (kind == BrqMessage::Block) {
            const std::optional<BrqMessage> inLine =
                brqStartInLine(scan, from, lineEnd < 0 ? size : lineEnd, silent, at > 0);
            if (inLine)
                return *inLine;
        }
        if (lineEnd < 0) {
            scan.lineFrom = qMax(first, size - 1);
            // A banner cut short is reported as it stands once the line falls silent.
            return kind == BrqMessage::Banner && silent ? BrqMessage{kind, size} : BrqMessage{};
        }
        scan.lineFrom = lineEnd;
        if (const std::optional<BrqMessage> message =
                brqBehindLineEnd(kind, silent, at, scan, lineEnd))
            return *message;
        from = lineEnd + kLineEnd.size();
    }
}

// What the bytes behind the line end at `lineEnd` tell of the line message that `scan` reads
// from `at`: nothing (read on), where it ends, or None while more bytes may change that.
std::optional<data_incoming::BrqMessage> data_incoming::brqBehindLineEnd(BrqMessage::Kind kind,
                                                                         bool silent, int at,
                                                                         BrqScan& scan, int lineEnd)
{
    const bool ahead = at > 0;
    const int size = receiveBuffer.size();
    if (kind == BrqMessage::Block && scan.dataLine) {
        BrqMessage::Kind start = BrqMessage::None;
        const int found = brqStartAt(lineEnd, &start);
        if (found < 0 && !silent)
            return BrqMessage{};
        if (found > 0 && (start == BrqMessage::Banner || start == BrqMessage::StartupData))
            return BrqMessage{kind, lineEnd};
    }
    const int from = lineEnd + kLineEnd.size();
    if (from >= size) {
        // At a pause, a block that ends with an empty line is judged as it stands: a record that
        // lost its "~".
        if (silent && (kind == BrqMessage::Banner ||
                       (kind == BrqMessage::Block && receiveBuffer.endsWith(kBlankLine))))
            return BrqMessage{kind, from};
        return BrqMessage{};
    }
    const char next = receiveBuffer.at(from);
    if (next == '>')
        return ahead ? BrqMessage{BrqMessage::Reply, lineEnd} : brqReplyEnding(lineEnd, silent);
    if (kind == BrqMessage::Banner)
        return BrqMessage{kind, from};
    if (kind == BrqMessage::Block && next == '@') {
        if (from + 1 >= size)
            return BrqMessage{};
        const char second = receiveBuffer.at(from + 1);
        if (endsBlock(scan, second))
            return BrqMessage{kind, from};
        if (second == '1') {
            if (ahead)
                return BrqMessage{BrqMessage::Image, from, from};
            scan.packetAt = from;
            return brqImageMessage(from, silent);
        }
        // The block's data line is its last "@" line after the first, as extractAtLines picks it.
        scan.dataLine = second == '0';
    }
    if (next != '\r')
        return std::nullopt;
    if (from + 1 >= size)
        return BrqMessage{};
    if (receiveBuffer.at(from + 1) != '\n')
        return std::nullopt;
    return brqEmptyLine(kind, silent, at, scan, lineEnd);
}

// The empty line behind the line end at `lineEnd`. A weather packet ends at the one behind its
// "~"; one before it is a line of the packet. The start-up data may still be the text of a reply
// whose prompt begins with the empty line's second half.
std::optional<data_incoming::BrqMessage>
data_incoming::brqEmptyLine(BrqMessage::Kind kind, bool silent, int at, BrqScan& scan, int lineEnd)
{
    const int end = lineEnd + kBlankLine.size();
    if (kind == BrqMessage::Block) {
        if (!scan.dataLine || brqTildeBefore(scan, at, lineEnd))
            return BrqMessage{kind, end};
        return std::nullopt;
    }
    if (end >= receiveBuffer.size())
        return silent ? BrqMessage{kind, end} : BrqMessage{};
    const int from = lineEnd + kLineEnd.size();
    if (receiveBuffer.at(end) == '>')
        return at > 0 ? BrqMessage{BrqMessage::Reply, from} : brqReplyEnding(from, silent);
    return BrqMessage{kind, end};
}

// Whether "@" and `second` begin a message that ends the block: the next record's identity line,
// or an image packet once the block has its data line (it is a record then).
bool data_incoming::endsBlock(const BrqScan& scan, char second)
{
    return second == 'I' || (second == '1' && scan.dataLine);
}

// A message start inside a line of a block, where noise or a lone CR kept it from a line start:
// the next record, or an image packet once the block has its data line. It ends the block that
// the reader takes only once the message stands whole there: a byte of a record turned into "@"
// begins nothing, and the record goes on (named as damaged). A block only looked at (`ahead`)
// ends at any such start. Nothing when no start ends the block before `to`; an "@" that ends the
// buffer is looked at again when more bytes come.
std::optional<data_incoming::BrqMessage>
data_incoming::brqStartInLine(BrqScan& scan, int from, int to, bool silent, bool ahead)
{
    const char* bytes = receiveBuffer.constData();
    for (int at = from; at + 1 < to; ++at) {
        const void* found = memchr(bytes + at, '@', size_t(to - 1 - at));
        if (!found)
            return std::nullopt;
        at = int(static_cast<const char*>(found) - bytes);
        const char second = bytes[at + 1];
        if (!endsBlock(scan, second))
            continue;
        if (ahead)
            return BrqMessage{BrqMessage::Block, at};
        const int whole =
            brqStandsWhole(second == 'I' ? BrqMessage::Block : BrqMessage::Image, at, silent);
        if (whole != 0)
            return whole > 0 ? BrqMessage{BrqMessage::Block, at} : BrqMessage{};
        scan.strayStart = true;
        scan.lineFrom = at + 1;
    }
    return std::nullopt;
}

// The length of the whole image packet at `at`: 344 bytes, or 340 where the terminator is the
// chunk's last four bytes; 0 when it is no whole packet, -1 while it may still become one. A
// packet cut short whose place a whole message behind it fills up to the terminator is no whole
// packet either.
int data_incoming::brqWholeImageLength(int at, bool silent)
{
    const int length = brqCountedImageLength(at, silent);
    if (length <= 0)
        return length;
    const int filled = brqMessageEndsPacket(at, length, silent);
    return filled == 0 ? length : filled < 0 ? -1 : 0;
}

// The packet's length as counted from its start. Until 344 bytes are in, a terminator may be
// chunk data, so a shorter packet waits for more bytes or for the line to be silent for the idle
// limit.
int data_incoming::brqCountedImageLength(int at, bool silent) const
{
    const int chunkEnd = imageHeaderLength + imageChunkLength;
    const int whole = chunkEnd + kBlankLine.size();
    const int available = receiveBuffer.size() - at;
    const auto terminatorAt = [this, at](int offset) {
        return receiveBuffer.mid(at + offset, kBlankLine.size()) == kBlankLine;
    };
    if (available >= whole) {
        if (terminatorAt(chunkEnd))
            return whole;
        return terminatorAt(chunkEnd - kBlankLine.size()) ? chunkEnd : 0;
    }
    if (!silent)
        return -1;
    return available >= chunkEnd && terminatorAt(chunkEnd - kBlankLine.size()) ? chunkEnd : 0;
}

// Whether the packet at `packetAt`, `length` bytes long, ends with a whole weather packet or
// start-up data that begins inside it: the packet was cut short and that message came right
// behind it, its empty line where the terminator stands. 1 it does, 0 not, -1 it may still.
// Scan data holds such a message only by a rare chance. A weather packet holds no "@I" but its
// first, and start-up data ends at its first empty line, so the last start is the one to read;
// a block without a "~" in the packet would read on past it.
int data_incoming::brqMessageEndsPacket(int packetAt, int length, bool silent)
{
    const int end = packetAt + length;
    const std::pair<QByteArray, BrqMessage::Kind> starts[] = {
        {"@I", BrqMessage::Block}, {kStartupData, BrqMessage::StartupData}};
    for (const auto& [bytes, kind] : starts) {
        const int at = receiveBuffer.lastIndexOf(bytes, end - bytes.size());
        if (at <= packetAt)
            continue;
        const int tilde = receiveBuffer.indexOf('~', at);
        if (kind == BrqMessage::Block && (tilde < 0 || tilde >= end))
            continue;
        BrqScan scan;
        const BrqMessage message = brqLineMessage(kind, silent, at, scan);
        // Start-up data needs the byte behind its empty line.
        if (message.kind == BrqMessage::None && !silent)
            return -1;
        if (message.kind == kind && message.length == end &&
            (kind != BrqMessage::Block || scan.dataLine))
            return 1;
    }
    return 0;
}

// The image packet at `packetAt`, whole, or damaged up to where its damage ends; or the record
// that line noise made begin like one.
data_incoming::BrqMessage data_incoming::brqImageMessage(int packetAt, bool silent)
{
    if (receiveBuffer.size() - packetAt <= imageHeaderLength)
        return {};
    const int recordEnd = brqRecordInPacket(packetAt);
    if (recordEnd > 0)
        return {BrqMessage::BadRecord, recordEnd};
    const int length = brqWholeImageLength(packetAt, silent);
    if (length < 0)
        return {};
    if (length > 0)
        return {BrqMessage::Image, packetAt + length, packetAt};
    return brqDamagedPacket(packetAt, silent);
}

// Where a record ends that begins at `at` with "@1" where its "@I" line lost the "I" on the
// line; 0 when the bytes are no such record, or not yet. Its own lines tell it from a packet: a
// data line, a "~" and its empty line within a packet's length, and no other message start in
// between. Chunk data holds all of them only by a rare chance, and such a record would otherwise
// open a picture that spoils the next one of its camera.
int data_incoming::brqRecordInPacket(int at) const
{
    const int packetLength = imageHeaderLength + imageChunkLength + kBlankLine.size();
    const QByteArray head = QByteArray::fromRawData(
        receiveBuffer.constData() + at, qMin(int(receiveBuffer.size()) - at, packetLength));
    const int blank = head.indexOf(kBlankLine, 2);
    if (blank < 0 || !head.left(blank).contains('~'))
        return 0;
    BrqMessage::Kind kind = BrqMessage::None;
    for (int i = at + 2; i < at + blank; ++i) {
        if (brqStartAt(i, &kind) != 0)
            return 0;
    }
    const int length = blank + kBlankLine.size();
    return extractAtLines(head.left(length)).at(1).startsWith(QLatin1String("@0")) ? at + length
                                                                                   : 0;
}

// A damaged packet (the unit stopped part-way, a byte was lost or added, or noise held "@1") ends
// at its first terminator, or before a message that stands whole behind it if that comes first:
// the next message's empty line must not end it. Chunk bytes may look like a message start, so a
// start ends the packet only once the message behind it stands whole.
data_incoming::BrqMessage data_incoming::brqDamagedPacket(int packetAt, bool silent)
{
    const int size = receiveBuffer.size();
    const int from = qMax(packetAt + imageHeaderLength, brqScan.terminatorFrom);
    const int terminator = receiveBuffer.indexOf(kBlankLine, from);
    if (terminator < 0)
        brqScan.terminatorFrom = qMax(from, size - (kBlankLine.size() - 1));
    const int end = terminator < 0 ? size : terminator + kBlankLine.size();
    BrqMessage::Kind kind = BrqMessage::None;
    for (int at = qMax(packetAt + 2, brqScan.damagedFrom); at < end; ++at) {
        const int start = brqStartAt(at, &kind);
        if (start == 0 || (start < 0 && silent))
            continue;
        brqScan.damagedFrom = at;
        if (start < 0)
            return {};
        const int whole = brqStandsWhole(kind, at, silent);
        if (whole < 0)
            return {};
        if (whole == 0)
            continue;
        // Too short to hold a packet's header, it was no packet.
        if (at - packetAt < imageHeaderLength)
            return {BrqMessage::Noise, at};
        return {BrqMessage::Image, at, packetAt};
    }
    brqScan.damagedFrom = end;
    return terminator < 0 ? BrqMessage{} : BrqMessage{BrqMessage::Image, end, packetAt};
}

// Whether the message of `kind` that begins at `at` stands whole as the reader would take it: 1
// it does, 0 it does not, -1 it may still. A record counts only as a whole weather packet, and a
// prompt is whole as it stands. Its scan goes on while it may still.
int data_incoming::brqStandsWhole(BrqMessage::Kind kind, int at, bool silent)
{
    if (brqScan.aheadAt != at) {
        brqScan.aheadAt = at;
        brqAhead = BrqScan();
    }
    switch (kind) {
    case BrqMessage::Reply:
        return 1;
    case BrqMessage::Image: {
        const int length = brqWholeImageLength(at, silent);
        return length < 0 ? -1 : length > 0 ? 1 : 0;
    }
    default:
        break;
    }
    const BrqMessage message = brqLineMessage(kind, silent, at, brqAhead);
    if (message.kind == BrqMessage::None)
        return silent ? 0 : -1;
    if (message.kind != kind)
        return 0;
    if (kind != BrqMessage::Block)
        return 1;
    const QByteArray block = receiveBuffer.mid(at, message.length - at);
    return brqAhead.dataLine && block.contains('~') && block.endsWith(kBlankLine) ? 1 : 0;
}

void data_incoming::takeBrqMessage(const BrqMessage& message)
{
    const QByteArray bytes = receiveBuffer.left(message.length);
    const bool released = brqScan.released;
    const bool dataLine = brqScan.dataLine;
    const bool strayStart = brqScan.strayStart;
    receiveBuffer.remove(0, message.length);
    brqScan = BrqScan();

    switch (message.kind) {
    case BrqMessage::Reply:
        // The reply whose prompt let the commands go has been shown with them.
        reportBrqAcknowledgements(bytes, !released);
        break;
    case BrqMessage::Noise:
        reportDroppedBrqData("WARNING: BRQ data matching no message dropped", bytes.size());
        break;
    case BrqMessage::Banner:
        reportBanner(bytes);
        break;
    case BrqMessage::StartupData:
        reportStartupData(bytes);
        break;
    case BrqMessage::Block:
        reportStartupData(bytes);
        // A weather packet: a record that holds "~" and ends with an empty line.
        if (dataLine && bytes.contains('~') && bytes.endsWith(kBlankLine))
            readWeatherPacket(bytes, strayStart);
        else if (dataLine)
            reportDroppedBrqData("WARNING: BRQ weather packet incomplete, not read", bytes.size());
        break;
    case BrqMessage::BadRecord:
        emit sendRawData(bytes);
        reportDroppedBrqData("WARNING: BRQ weather packet damaged, not read", bytes.size());
        break;
    case BrqMessage::Image:
        // Behind an identity line the packet is a picture's only when the unit says "SND".
        if (message.packetAt == 0 || bytes.contains("SND"))
            handleImagePacket(bytes.mid(message.packetAt), bytes);
        else
            reportStartupData(bytes);
        break;
    case BrqMessage::None:
        break;
    }
}

// A record whose line holds an "@" that begins no message lost a byte to it: the field with the
// "@" reads as missing, the rest as sent.
void data_incoming::readWeatherPacket(const QByteArray& packet, bool strayStart)
{
    if (strayStart)
        reportDroppedBrqData("WARNING: BRQ weather packet damaged, read as it stands",
                             packet.size());
    handleWeatherData(packet, '0', QByteArray());
}

void data_incoming::reportDroppedBrqData(const QByteArray& what, int bytes)
{
    const QByteArray text = what + " [ " + QByteArray::number(bytes) + " bytes ]";
    qDebug().noquote() << text;
    emit sendLogMsg(text);
}

// The idle rule: what the silence left unjudged is judged, and the rest dropped. A picture whose
// last packet is dropped unread here will never be completed. `when`: the silence, or the close.
void data_incoming::dropReceiveBuffer(const QByteArray& when)
{
    readBrqMessages(true);
    if (receiveBuffer.isEmpty())
        return;
    if (imageCamera >= 0) {
        // The packet may follow the unit's prompt or reply directly.
        const int at = receiveBuffer.indexOf("@1");
        if (at >= 0 && receiveBuffer.size() > at + 8 &&
            (quint8(receiveBuffer.at(at + 8)) & 0x0f) == imageLastPacketKind)
            abandonImage(imageCamera, "its last packet could not be read");
    }
    reportDroppedBrqData("WARNING: BRQ data incomplete " + when + ", dropped",
                         receiveBuffer.size());
    receiveBuffer.clear();
    brqScan = BrqScan();
}

// A unit that never pauses would otherwise grow the buffer without end. A message that has not
// ended within the limit is judged as it stands; only what matches no message is dropped, and a
// message start that the limit may have cut is kept.
void data_incoming::overflowReceiveBuffer()
{
    readBrqMessages(true);
    if (receiveBuffer.size() < kMaxReceiveBuffer)
        return;
    const bool hunting = brqFrontKind() == BrqMessage::None;
    const int drop = hunting && brqScan.huntFrom > 0 ? brqScan.huntFrom : kMaxReceiveBuffer;
    reportDroppedBrqData("WARNING: BRQ receive buffer exceeded " +
                             QByteArray::number(kMaxReceiveBuffer) +
                             " bytes without a pause in the data, dropped",
                         drop);
    receiveBuffer.remove(0, drop);
    brqScan = BrqScan();
}

void data_incoming::reportBanner(const QByteArray& line)
{
    qDebug() << "BRQ start up received.";
    emit sendLogMsg("INFO: BRQ Startup Message Received");
    emit sendDisplaySysMsg(QStringLiteral("INFO: BRQ Startup Message Received"));
    emit sendRawData(line);
    copyToDataLog(line);
}

// The start-up data, or the first weather packet, end a start-up from power-off.
void data_incoming::reportStartupData(const QByteArray& block)
{
    if (deviceType != DeviceTypes::BRQ)
        return;
    emit sendRawData(block);
    if (!startupSequence)
        return;
    copyToDataLog(block);
    qDebug() << "BRQ Configured and Started.";
    emit sendLogMsg("INFO: BRQ Configured and Started from Power OFF");
    emit sendDisplaySysMsg(QStringLiteral("INFO: BRQ Configured and Started from Power OFF"));
    startupSequence = false;
    emit sendConfiguration(QStringLiteral("EndSequence"));
}

// `shown`: the reply has not yet gone to the raw-data view and the data log.
void data_incoming::reportBrqAcknowledgements(const QByteArray& reply, bool shown)
{
    if (reply.contains(kErrorPrompt)) {
        qDebug() << "ERROR: Received spaces in response, please resend command. ";
        emit sendLogMsg("ERROR: Error in BRQ command processing, received spaces in response.");
        emit sendDisplayErrorMsg(QStringLiteral(
            "WARNING: Error in BRQ command processing, received spaces in response."));
    }

    if (shown) {
        qDebug().noquote() << "Received command acknowledgement: " + QString::fromLatin1(reply);
        copyToDataLog(reply);
        if (reply.endsWith('>'))
            emit sendRawData(reply);
    }
    if (reply.contains("G1 OK") || reply.contains("G0 OK"))
        positionReset = true;

    for (const AckRow& row : kAckRows) {
        if (!rowMatches(row, reply))
            continue;
        emit sendLogMsg(row.logText);
        emit sendDisplaySysMsg(QString::fromLatin1(row.displayText));
        if (row.positionReset)
            positionReset = true;
    }
}

void data_incoming::sendPendingBrqCommands(const QByteArray& reply)
{
    qDebug().noquote() << "INFO: BRQ Prompt Received, now sending command " +
                              QString::fromLatin1(pendingCommands);
    emit sendRawData(reply);
    copyToDataLog(reply);

    // The rest of a command still going out (the unit answered the one before it) is finished
    // first: the commands that waited follow it, as commands that waited together do.
    if (transmitQueue.isEmpty())
        transmitQueue = pendingCommands;
    else
        transmitQueue += ' ' + pendingCommands;
    const QByteArray sent = "INFO: BRQ Command Sent " + pendingCommands.trimmed();
    emit sendLogMsg(sent);
    emit sendDisplaySysMsg(QString::fromLatin1(sent));

    pendingCommands.clear();
    emit sendCommandConfirmation();
}

// Closing the port drops the commands of that connection: the operator learns which ones never
// reached the unit whole. A command counts as sent once its closing "\r" has gone out.
void data_incoming::reportUnsentBrqCommands()
{
    QByteArray unsent = transmitLine + transmitQueue;
    if (!pendingCommands.isEmpty())
        unsent += '\r' + pendingCommands;
    transmitLine.clear();
    nameUnsentBrqCommands(unsent);
}

// A lost port ends the commands its prompt let go where they stand: the rest of a line would
// reach the next connection's unit without its start and without a prompt asking for it.
// Commands still waiting for a prompt wait for the next connection's.
void data_incoming::dropBrqCommandsGoingOut()
{
    nameUnsentBrqCommands(transmitLine + transmitQueue);
    transmitLine.clear();
    transmitQueue.clear();
}

void data_incoming::nameUnsentBrqCommands(const QByteArray& unsent)
{
    QByteArrayList commands;
    for (const QByteArray& part : unsent.split('\r')) {
        const QByteArray command = part.simplified();
        if (!command.isEmpty())
            commands << command;
    }
    if (commands.isEmpty())
        return;
    const QByteArray text =
        "WARNING: BRQ Commands Not Sent, Serial Port Closed [ " + commands.join(", ") + " ]";
    qDebug().noquote() << text;
    emit sendLogMsg(text);
    emit sendDisplaySysMsg(QString::fromLatin1(text));
    emit sendCommandsNotSent();
}
