#include "tools/unitsim/camerapicture.h"

#include "link/jpegtables.h"

#include <cmath>
#include <cstdlib>

namespace unitsim
{

namespace
{

using namespace jpeg;

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
