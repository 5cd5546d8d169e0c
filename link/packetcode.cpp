#include "link/packetcode.h"

namespace
{

constexpr quint8 kNoCode = 255;
constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;

quint8 characterToCode[256];
char codeToCharacter[256];

const int kSymbolLength[4] = {2, 5, 5, 7};

} // namespace

void initPacketCodeTables()
{
    for (quint8& code : characterToCode)
        code = kNoCode;

    characterToCode[quint8(':')] = 0;
    for (int digit = 0; digit <= 9; ++digit)
        characterToCode[quint8('0' + digit)] = quint8(8 + digit);
    characterToCode[quint8('.')] = 18;
    characterToCode[quint8('-')] = 19;
    characterToCode[quint8('?')] = 20;
    characterToCode[quint8(kCarriageReturn)] = 21;
    characterToCode[quint8('>')] = 22;
    characterToCode[quint8('@')] = 96;
    for (int letter = 0; letter < 26; ++letter)
        characterToCode[quint8('A' + letter)] = quint8(97 + letter);
    characterToCode[quint8('~')] = 124;
    characterToCode[quint8(',')] = 125;
    characterToCode[quint8('/')] = 126;
    characterToCode[quint8('_')] = 127;

    for (char& c : codeToCharacter)
        c = '_';
    for (int c = 0; c < 256; ++c)
        codeToCharacter[characterToCode[c]] = char(c);
}

quint32 decodeCompressedPacket(char* out, const char* in, quint32 count, quint32 maxOut)
{
    if (!out || maxOut == 0)
        return 0;
    if (!in)
        count = 0;
    const quint32 room = maxOut - 1;

    quint32 length = 0;
    quint32 accumulator = 0;
    int bits = 0;
    int symbolLength = 0;
    bool full = false;
    for (quint32 byte = 0; byte < count && !full; ++byte) {
        const quint8 value = quint8(in[byte]);
        for (int shift = 7; shift >= 0; --shift) {
            accumulator = accumulator << 1 | ((value >> shift) & 1u);
            ++bits;
            if (bits == 2)
                symbolLength = kSymbolLength[accumulator];
            if (bits < 2 || bits < symbolLength)
                continue;

            const char c = codeToCharacter[accumulator];
            const quint32 needed = c == kCarriageReturn ? 2 : 1;
            if (room - length < needed) {
                full = true;
                break;
            }
            out[length++] = c;
            if (c == kCarriageReturn)
                out[length++] = kLineFeed;
            accumulator = 0;
            bits = 0;
            symbolLength = 0;
        }
    }

    while (length > 0 && out[length - 1] == ':')
        --length;
    out[length] = '\0';
    return length;
}
