// Well-framed ORVA payloads with valid sums, plain and wrapped ("F" encrypted, "E" compressed,
// "C" both), among damaged frames and junk, so that the fuzzer reaches every answer handler and
// the record builder. Every whole frame that nothing else on the line could be taken for comes
// out, in order.
//
// Input: a byte for the cut into reads, then items, each a kind byte, a type byte and bytes up
// to the next NUL.

#include "fuzz/fuzzsupport.h"
#include "fuzz/linkfuzz.h"
#include "tools/unitsim/unitframes.h"

#include <QVector>

#include <cctype>

namespace
{

const char kTypes[] = "0126D8R35";
// What the deciphering and decoding areas hold, with room for the padding.
constexpr int kWorkArea = 2000;

struct Good {
    int start;       // of the frame on the line
    int end;         // past its terminator
    QByteArray seen; // what comes out: the frame, or the decoded frame it wraps
    bool checkable;
};

QByteArray encrypted(const QByteArray& plain, quint32 counter, bool rightKey)
{
    const QByteArray key = QByteArray::fromBase64(kFuzzKey);
    return unitsim::encryptText(rightKey ? key : QByteArray(32, 'k'),
                                QByteArray::fromBase64(kFuzzIv), counter, plain);
}

int hexValue(char c)
{
    return QByteArray("0123456789abcdef").indexOf(char(std::tolower(quint8(c))));
}

// Every stretch of the line from an "@" to a terminator that passes the frame check.
QVector<QPair<int, int>> verifyingStretches(const QByteArray& line)
{
    QVector<quint32> sums(line.size() + 1);
    for (int i = 0; i < line.size(); ++i)
        sums[i + 1] = sums[i] + quint8(line.at(i));
    QVector<QPair<int, int>> found;
    for (int t = line.indexOf("\r\n\r\n"); t >= 0; t = line.indexOf("\r\n\r\n", t + 1)) {
        const int tilde = t - 5;
        if (tilde < 0 || line.at(tilde) != '~')
            continue;
        int digits[4];
        for (int k = 0; k < 4; ++k)
            digits[k] = hexValue(line.at(tilde + 1 + k));
        // A pair that is not two hexadecimal digits reads as 0.
        const int high = digits[0] < 0 || digits[1] < 0 ? 0 : digits[0] * 16 + digits[1];
        const int low = digits[2] < 0 || digits[3] < 0 ? 0 : digits[2] * 16 + digits[3];
        for (int s = line.indexOf('@'); s >= 0 && s < tilde; s = line.indexOf('@', s + 1)) {
            if (quint16(sums[tilde + 1] - sums[s]) == high * 256 + low)
                found.append({s, t + 4});
        }
    }
    return found;
}

} // namespace

FUZZ_START(fuzzStart)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 cut = in.byte();
    QByteArray line;
    QVector<Good> good;
    quint32 counter = 0;
    while (!in.atEnd()) {
        const quint8 kind = in.byte();
        const char type = kTypes[in.byte() % (sizeof kTypes - 1)];
        const QByteArray bytes = in.upTo('\0');
        const QByteArray plain = unitsim::orvaFrame(type, bytes);
        const QByteArray coded = unitsim::orvaFrame(type, packetCodeText(bytes));
        const QByteArray packed = unitsim::packetEncode(coded);
        QByteArray frame;
        QByteArray seen = plain;
        switch (kind % 8) {
        case 0:
            frame = plain;
            if (type == '8')
                seen.replace('_', ' ');
            break;
        case 1:
            frame = unitsim::orvaFrame('F', encrypted(plain, counter++, true));
            break;
        case 2:
            frame = unitsim::orvaFrame('E', packed);
            seen = coded;
            break;
        case 3:
            frame = unitsim::orvaFrame('C', encrypted(packed, counter++, true));
            seen = coded;
            break;
        case 4: // junk
            line += bytes;
            continue;
        case 5: // a wrong sum
            line += plain.left(plain.size() - 5) + "0000\r\n\r\n";
            continue;
        case 6: // cut short
            line += plain.left(kind / 8 % plain.size());
            continue;
        default: // under another key
            line += unitsim::orvaFrame('F', encrypted(plain, counter++, false));
            continue;
        }
        // Plain answers leave no copy of their frame; a wrapped frame must fit the work areas.
        const bool checkable = kind % 8 == 0 ? !QByteArray("R35").contains(type)
                                             : qMax(plain.size(), coded.size()) <= kWorkArea;
        good.append({int(line.size()), int(line.size() + frame.size()), seen, checkable});
        line += frame;
    }

    LinkProbe link(DeviceTypes::ORVA);
    for (const QByteArray& read : chunked(line, cut))
        link.parseData_ORVA(read);
    for (int i = 0; i < 64 && frameBuffer.contains("\r\n\r\n"); ++i)
        link.parseData_ORVA(QByteArray());

    // Past the buffer's cap the cut decides what is discarded.
    if (line.size() > kOrvaFrameCap)
        return 0;
    const QVector<QPair<int, int>> stretches = verifyingStretches(line);
    int next = 0;
    for (const Good& g : qAsConst(good)) {
        bool alone = g.checkable;
        for (const auto& s : stretches)
            alone = alone &&
                    (s == qMakePair(g.start, g.end) || s.first >= g.end || s.second <= g.start);
        if (!alone)
            continue;
        while (next < link.frames.size() && link.frames.at(next) != g.seen)
            ++next;
        FUZZ_CHECK(next < link.frames.size());
        ++next;
    }
    return 0;
}
