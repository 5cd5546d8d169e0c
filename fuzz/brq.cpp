// BRQ bytes as the serial port delivers them, cut into reads: prompts, acknowledgements, weather
// packets and camera packets. First byte: the cut in bits 0 to 4; bit 5: the unit pauses before
// every read; bit 6: the start-up sequence is on; bit 7: a command waits for the prompt.

#include "fuzz/fuzzsupport.h"
#include "fuzz/linkfuzz.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace
{

// A picture file is a whole JPEG stream that fits the assembly area.
void checkPicture(const QString& path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    FUZZ_CHECK(bytes.size() <= 65536);
    FUZZ_CHECK(bytes.startsWith("\xff\xd8") && bytes.endsWith("\xff\xd9"));
}

} // namespace

FUZZ_START(fuzzStart)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 mode = in.byte();
    QDir pictures(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                  QStringLiteral("/temp"));
    pictures.removeRecursively();

    LinkProbe link(DeviceTypes::BRQ);
    link.setStartupSequence(mode & 0x40);
    if (mode & 0x80)
        link.setCommandBuffer("m4\r");
    for (const QByteArray& read : chunked(in.rest(), mode & 0x1f)) {
        if (mode & 0x20)
            idleTicks = 6;
        link.parseData_BRQ(read);
        FUZZ_CHECK(link.receiveBuffer.size() <= kReceiveCap);
    }
    for (const QByteArray& line : qAsConst(link.heard)) {
        if (line.startsWith("final "))
            checkPicture(QString::fromUtf8(line.mid(6)));
    }
    return 0;
}
