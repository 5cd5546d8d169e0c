#include "tools/unitsim/camerapicture.h"

#include <cmath>
#include <cstdlib>

namespace unitsim
{

namespace
{

// Annex K of the JPEG standard: example quantisation tables (natural order) and typical Huffman
// tables.
// clang-format off
const quint8 kLuminanceQuant[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

const quint8 kChrominanceQuant[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Natural position of the coefficient at each zigzag index.
const quint8 kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                            12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                            35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                            58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

const quint8 kDcLuminanceBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
const quint8 kDcChrominanceBits[16] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
const quint8 kDcValues[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

const quint8 kAcLuminanceBits[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d};
const quint8 kAcLuminanceValues[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
    0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52,
    0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25,
    0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45,
    0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64,
    0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6,
    0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3,
    0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8,
    0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

const quint8 kAcChrominanceBits[16] = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
const quint8 kAcChrominanceValues[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
    0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33,
    0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18,
    0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44,
    0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63,
    0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
    0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4,
    0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca,
    0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7,
    0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};
// clang-format on

struct HuffmanCode {
    quint16 code[256] = {};
    quint8 length[256] = {};
};

// Codes of one table: ascending within each length, as the standard assigns them.
template <int N> HuffmanCode huffmanCode(const quint8 (&bits)[16], const quint8 (&values)[N])
{
    HuffmanCode table;
    quint16 code = 0;
    int k = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int i = 0; i < bits[length - 1] && k < N; ++i, ++k) {
            table.code[values[k]] = code++;
            table.length[values[k]] = quint8(length);
        }
        code = quint16(code << 1);
    }
    return table;
}

class BitWriter
{
public:
    void put(quint32 bits, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            current = quint8(current << 1 | ((bits >> i) & 1));
            if (++used == 8)
                flushByte();
        }
    }
    QByteArray finish()
    {
        while (used != 0)
            put(1, 1);
        return out;
    }

private:
    void flushByte()
    {
        out += char(current);
        if (current == 0xFF)
            out += char(0); // a data byte 0xFF must not read as a marker
        current = 0;
        used = 0;
    }
    QByteArray out;
    quint8 current = 0;
    int used = 0;
};

// Number of bits of |v|, the JPEG magnitude category.
int category(int v)
{
    int n = 0;
    for (int a = std::abs(v); a != 0; a >>= 1)
        ++n;
    return n;
}

// A negative value is sent as its one's complement in `category` bits.
quint32 magnitudeBits(int v, int bits)
{
    return quint32(v < 0 ? v + (1 << bits) - 1 : v);
}

struct Component {
    const quint8* quant;
    const HuffmanCode* dc;
    const HuffmanCode* ac;
    int predictor = 0;
};

void encodeBlock(BitWriter& writer, Component& c, const double (&samples)[64])
{
    struct Cosines {
        double c[8][8];
        Cosines()
        {
            const double pi = std::acos(-1.0);
            for (int u = 0; u < 8; ++u)
                for (int x = 0; x < 8; ++x)
                    c[u][x] = (u == 0 ? std::sqrt(0.5) : 1.0) / 2.0 *
                              std::cos((2 * x + 1) * u * pi / 16.0);
        }
    };
    static const Cosines table;
    const auto& cosine = table.c;

    // Separable forward DCT of the level-shifted samples.
    double rows[64];
    for (int y = 0; y < 8; ++y)
        for (int u = 0; u < 8; ++u) {
            double s = 0;
            for (int x = 0; x < 8; ++x)
                s += cosine[u][x] * (samples[y * 8 + x] - 128.0);
            rows[y * 8 + u] = s;
        }
    int quantised[64];
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) {
            double s = 0;
            for (int y = 0; y < 8; ++y)
                s += cosine[v][y] * rows[y * 8 + u];
            const int n = v * 8 + u;
            const int q = (c.quant[n] * 50 + 50) / 100; // the half-scale table of the header
            quantised[n] = int(std::lround(s / q));
        }

    const int dc = quantised[0];
    const int diff = dc - c.predictor;
    c.predictor = dc;
    const int dcBits = category(diff);
    writer.put(c.dc->code[dcBits], c.dc->length[dcBits]);
    writer.put(magnitudeBits(diff, dcBits), dcBits);

    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const int value = quantised[kZigzag[k]];
        if (value == 0) {
            ++run;
            continue;
        }
        for (; run > 15; run -= 16)
            writer.put(c.ac->code[0xF0], c.ac->length[0xF0]);
        const int bits = category(value);
        const int symbol = run << 4 | bits;
        writer.put(c.ac->code[symbol], c.ac->length[symbol]);
        writer.put(magnitudeBits(value, bits), bits);
        run = 0;
    }
    if (run > 0)
        writer.put(c.ac->code[0x00], c.ac->length[0x00]);
}

} // namespace

Rgb cameraPixel(int camera, int x, int y)
{
    const Rgb sky{120, 180, 230};
    const Rgb ground{60, 130, 50};
    const Rgb sun{250, 215, 70};
    const Rgb bar{245, 245, 245};

    const int sunLeft = 32 + 64 * (camera - 1);
    if (y >= 24 && y < 56 && x >= sunLeft && x < sunLeft + 32)
        return sun;
    if (y < 128)
        return sky;
    if (y >= 160 && y < 224 && x >= 16 && (x - 16) % 32 < 16 && (x - 16) / 32 < camera)
        return bar;
    return ground;
}

QByteArray cameraScan(int camera)
{
    static const HuffmanCode dcLuminance = huffmanCode(kDcLuminanceBits, kDcValues);
    static const HuffmanCode acLuminance = huffmanCode(kAcLuminanceBits, kAcLuminanceValues);
    static const HuffmanCode dcChrominance = huffmanCode(kDcChrominanceBits, kDcValues);
    static const HuffmanCode acChrominance = huffmanCode(kAcChrominanceBits, kAcChrominanceValues);

    Component luma{kLuminanceQuant, &dcLuminance, &acLuminance};
    Component blue{kChrominanceQuant, &dcChrominance, &acChrominance};
    Component red{kChrominanceQuant, &dcChrominance, &acChrominance};
    BitWriter writer;

    // One unit of 16 x 8 pixels: two luminance blocks side by side, then one block each of the
    // horizontally halved blue and red differences.
    for (int top = 0; top < kPictureHeight; top += 8) {
        for (int left = 0; left < kPictureWidth; left += 16) {
            double y[2][64];
            double cb[64];
            double cr[64];
            for (int j = 0; j < 8; ++j) {
                for (int i = 0; i < 16; ++i) {
                    const Rgb p = cameraPixel(camera, left + i, top + j);
                    y[i / 8][j * 8 + i % 8] = 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
                }
                for (int i = 0; i < 8; ++i) {
                    double sb = 0;
                    double sr = 0;
                    for (int h = 0; h < 2; ++h) {
                        const Rgb p = cameraPixel(camera, left + 2 * i + h, top + j);
                        sb += -0.168736 * p.r - 0.331264 * p.g + 0.5 * p.b + 128.0;
                        sr += 0.5 * p.r - 0.418688 * p.g - 0.081312 * p.b + 128.0;
                    }
                    cb[j * 8 + i] = sb / 2;
                    cr[j * 8 + i] = sr / 2;
                }
            }
            encodeBlock(writer, luma, y[0]);
            encodeBlock(writer, luma, y[1]);
            encodeBlock(writer, blue, cb);
            encodeBlock(writer, red, cr);
        }
    }
    return writer.finish();
}

} // namespace unitsim
