// Legacy ORVA bytes as the serial port delivers them, cut into reads: keyword answers and "@I"
// and "@0" data blocks. First byte: the cut in bits 0 to 6; bit 7: the unit pauses before every
// read.

#include "fuzz/fuzzsupport.h"
#include "fuzz/linkfuzz.h"

FUZZ_START(fuzzStart)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 mode = in.byte();
    LinkProbe link(DeviceTypes::ORVA, true);
    QByteArray sincePause;
    for (const QByteArray& read : chunked(in.rest(), mode & 0x7f)) {
        if (mode & 0x80) {
            idleTicks = 11;
            sincePause.clear();
        }
        sincePause += read;
        link.parseData_ORVA_Legacy(read);
        const QByteArray& kept = link.receiveBuffer;
        FUZZ_CHECK(kept.size() <= kReceiveCap);
        // The buffer holds the latest bytes as they came, up to this read and never from before
        // a pause: nothing dropped from its middle, repeated or altered.
        FUZZ_CHECK(kept.isEmpty() || (kept.endsWith(read) && sincePause.endsWith(kept)));
    }
    return 0;
}
