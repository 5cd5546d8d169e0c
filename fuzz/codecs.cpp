// The link's Base64 variant, AES-256 in counter mode both ways and the packet code, each writing
// into a heap buffer exactly as large as the bound it is given, so that AddressSanitizer catches
// a byte written past it. Round trips give back what went in; a refusal for want of room (or of
// input) writes nothing, in every codec.
//
// Input: four bytes of message counter and a bound byte, then the bytes to code.

#include "fuzz/fuzzsupport.h"
#include "fuzz/linkfuzz.h"
#include "link/linkcrypto.h"
#include "link/packetcode.h"
#include "tools/unitsim/unitframes.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace
{

constexpr char kUntouched = '\x5a';

// A heap block of exactly the size asked for (none, for 0), filled with a marker.
struct Buffer {
    explicit Buffer(size_t n) : size(n), bytes(new char[n])
    {
        std::memset(bytes.get(), kUntouched, n);
    }
    char* data() { return bytes.get(); }
    bool untouched() const
    {
        return std::all_of(&bytes[0], &bytes[size], [](char c) { return c == kUntouched; });
    }
    QByteArray left(int n) const { return QByteArray(bytes.get(), n); }
    size_t size;
    std::unique_ptr<char[]> bytes;
};

void base64(const QByteArray& plain, const QByteArray& text, quint16 bound)
{
    const int n = plain.size();
    const quint32 size = quint32(4 * ((n + 2) / 3) + 1);
    Buffer tight(size - 1);
    FUZZ_CHECK(base64EncodeText(tight.data(), plain.constData(), qint16(n), size - 1));
    FUZZ_CHECK(tight.untouched());
    Buffer encoded(size);
    FUZZ_CHECK(!base64EncodeText(encoded.data(), plain.constData(), qint16(n), size));
    FUZZ_CHECK(encoded.bytes[size - 1] == '\0');

    Buffer decoded{size_t(n)};
    quint16 length = 0;
    FUZZ_CHECK(!base64DecodeText(&length, decoded.data(), encoded.data(), quint16(n)));
    FUZZ_CHECK(length == n && (n == 0 || decoded.left(n) == plain));

    // Any text at all, into any bound.
    Buffer out(bound);
    if (base64DecodeText(&length, out.data(), text.constData(), bound))
        FUZZ_CHECK(out.untouched());
    else
        FUZZ_CHECK(length <= bound);
}

void aes(const QByteArray& plain, const QByteArray& text, quint32 counter, quint16 bound)
{
    const QByteArray key = QByteArray::fromBase64(kFuzzKey);
    const QByteArray iv = QByteArray::fromBase64(kFuzzIv);
    const int n = plain.size();
    const int total = kAesBlockLength + (n / kAesBlockLength + 1) * kAesBlockLength;
    for (const bool raw : {false, true}) {
        const quint16 size = quint16(raw ? total : 4 * ((total + 2) / 3) + 1);
        Buffer tight(size - 1u);
        quint16 length = 0;
        FUZZ_CHECK(aesEncryptMessage(key, counter, iv, plain.constData(), quint16(n), tight.data(),
                                     &length, size - 1u, raw));
        FUZZ_CHECK(tight.untouched());
        Buffer message(size);
        FUZZ_CHECK(!aesEncryptMessage(key, counter, iv, plain.constData(), quint16(n),
                                      message.data(), &length, size, raw));
        FUZZ_CHECK(length == size);

        // The plaintext and its padding fill the output exactly.
        const quint16 cipher = quint16(total - kAesBlockLength);
        Buffer decrypted(cipher);
        FUZZ_CHECK(
            !aesDecryptMessage(key, message.data(), size, decrypted.data(), &length, cipher, raw));
        FUZZ_CHECK(length == n && decrypted.left(n) == plain);
        Buffer tooSmall(cipher - 1u);
        FUZZ_CHECK(aesDecryptMessage(key, message.data(), size, tooSmall.data(), &length,
                                     cipher - 1u, raw));
        FUZZ_CHECK(tooSmall.untouched());

        // Anything at all: a refusal or a plaintext within the bound. Raw bytes that hold no
        // cipher text, or more than the bound, are refused before anything is written.
        Buffer out(bound);
        const bool refused = aesDecryptMessage(key, raw ? plain.constData() : text.constData(),
                                               quint16(n), out.data(), &length, bound, raw);
        FUZZ_CHECK(refused || length <= bound);
        if (raw && (n <= kAesBlockLength || n - kAesBlockLength > bound))
            FUZZ_CHECK(refused && out.untouched());
    }
}

void packetCode(const QByteArray& bytes, quint16 bound)
{
    // No room even for the NUL: nothing at all is written.
    Buffer none(0);
    FUZZ_CHECK(decodeCompressedPacket(none.data(), bytes.constData(), quint32(bytes.size()), 0) ==
               0);

    Buffer out(qMax<quint16>(bound, 1));
    const quint32 length = decodeCompressedPacket(out.data(), bytes.constData(),
                                                  quint32(bytes.size()), quint32(out.size));
    FUZZ_CHECK(length < out.size && out.bytes[length] == '\0');
    FUZZ_CHECK(length == 0 || out.bytes[length - 1] != ':');

    // Text in the code's characters decodes to itself, less the colons that pad the last byte.
    QByteArray text = packetCodeText(bytes);
    bool encoded = false;
    const QByteArray packed = unitsim::packetEncode(text, &encoded);
    FUZZ_CHECK(encoded);
    Buffer decoded(size_t(text.size()) + 1);
    const quint32 decodedLength = decodeCompressedPacket(
        decoded.data(), packed.constData(), quint32(packed.size()), quint32(text.size() + 1));
    while (text.endsWith(':'))
        text.chop(1);
    FUZZ_CHECK(decoded.left(int(decodedLength)) == text);
}

} // namespace

FUZZ_START(fuzzStart)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    quint32 counter = 0;
    for (int i = 0; i < 4; ++i)
        counter = counter << 8 | in.byte();
    const quint16 bound = quint16(in.byte() * 9);
    const QByteArray plain = in.take(4096);
    // The same bytes as a NUL-terminated text, the form the decoders take.
    const QByteArray text(plain.constData(), int(qstrnlen(plain.constData(), plain.size())) + 1);
    base64(plain, text, bound);
    aes(plain, text, counter, bound);
    packetCode(plain, bound);
    return 0;
}
