// ORVA bytes as the serial port delivers them, cut into reads of 1 to 512 bytes, or read whole
// from the debug input file. First byte: the cut; with bit 7 set, the debug file instead.

#include "fuzz/fuzzsupport.h"
#include "fuzz/linkfuzz.h"

#include <QFile>
#include <QStandardPaths>

namespace
{

const QByteArray kTerminator("\r\n\r\n");

// Frames still waiting behind a refused one come out on the next reads.
void drain(LinkProbe& link)
{
    for (int i = 0; i < 64 && frameBuffer.contains(kTerminator); ++i) {
        const QByteArray before = frameBuffer;
        link.parseData_ORVA(QByteArray());
        if (frameBuffer == before)
            break;
    }
}

QByteArrayList run(const QList<QByteArray>& reads)
{
    LinkProbe link(DeviceTypes::ORVA);
    for (const QByteArray& read : reads) {
        link.parseData_ORVA(read);
        FUZZ_CHECK(frameBuffer.size() <= kOrvaFrameCap + read.size());
    }
    drain(link);
    return link.heard;
}

void runDebugFile(const QByteArray& content)
{
    QFile file(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
               QStringLiteral("/VD_debug_msgs.txt"));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    LinkProbe link(DeviceTypes::ORVA);
    link.debugORVApacket();
}

} // namespace

FUZZ_START(fuzzStart)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 mode = in.byte();
    const QByteArray stream = in.rest();
    if (mode & 0x80) {
        runDebugFile(stream);
        return 0;
    }
    const QByteArrayList cut = run(chunked(stream, mode));
    // However the bytes are cut into reads, the same things come out, in the same order. Past
    // the buffer's cap the cut decides what is discarded.
    if (stream.size() <= kOrvaFrameCap)
        FUZZ_CHECK(cut == run({stream}));
    return 0;
}
