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
    for (const QByteArray& read : chunked(in.rest(), mode & 0x7f)) {
        if (mode & 0x80)
            idleTicks = 11;
        link.parseData_ORVA_Legacy(read);
        FUZZ_CHECK(link.receiveBuffer.size() <= kReceiveCap);
    }
    return 0;
}
