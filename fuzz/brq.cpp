// BRQ bytes as the serial port delivers them: prompts, acknowledgements, weather packets and
// camera packets. First byte: the cut into reads in bits 0 to 4; bit 5: also a run where the unit
// pauses before every read; bit 6: the start-up sequence is on; bit 7: a command waits for the
// prompt. What the worker reports may not depend on where the reads end: the bytes read whole
// and the same bytes cut into reads tell the same, both followed by the line falling silent.

#include "fuzz/fuzzsupport.h"
#include "fuzz/linkfuzz.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdio>

namespace
{

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

QByteArrayList heardFrom(const QList<QByteArray>& reads, quint8 mode, bool pauses)
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/temp"))
        .removeRecursively();

    LinkProbe link(DeviceTypes::BRQ);
    QObject::connect(&link, &data_incoming::sendCameraFinal, [&link](int, const QString& path) {
        link.heard << "picture " + pictureDigest(path);
    });
    link.setStartupSequence(mode & 0x40);
    if (mode & 0x80)
        link.setCommandBuffer("m4\r");
    for (const QByteArray& read : reads) {
        if (pauses) {
            while (idleTicks < 6)
                link.dataTimer();
        }
        link.parseData_BRQ(read);
        FUZZ_CHECK(link.receiveBuffer.size() <= kReceiveCap);
    }
    while (idleTicks < data_incoming::brqSilenceTicks)
        link.dataTimer();
    link.heard << "left " + link.receiveBuffer;
    return link.heard;
}

void checkSame(const QByteArrayList& whole, const QByteArrayList& cut)
{
    if (whole == cut)
        return;
    for (int i = 0; i < qMax(whole.size(), cut.size()); ++i) {
        if (whole.value(i) != cut.value(i)) {
            std::fprintf(stderr, "line %d\n  whole: %s\n  cut:   %s\n", i,
                         whole.value(i).toPercentEncoding(" :").constData(),
                         cut.value(i).toPercentEncoding(" :").constData());
            break;
        }
    }
    FUZZ_CHECK(whole == cut);
}

} // namespace

FUZZ_START(fuzzStart)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 mode = in.byte();
    const QByteArray stream = in.rest();

    const QList<QByteArray> reads = chunked(stream, mode & 0x1f, 64);
    checkSame(heardFrom({stream}, mode, false), heardFrom(reads, mode, false));
    if (mode & 0x20)
        heardFrom(reads, mode, true);
    return 0;
}
