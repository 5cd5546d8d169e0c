#include "link/linkcrypto.h"

#include <cstring>

// Sizes are worked out in size_t throughout: the 16-bit arguments of the interface would wrap
// for messages near 64 KiB and let a too-large result pass the limit checks.

namespace
{

constexpr int kRounds = 14;
constexpr int kKeyWords = kAesKeyLength / 4;
constexpr int kScheduleWords = 4 * (kRounds + 1);

const quint8 kSbox[256] = {
    0x63, 0x7c, 0x77, 0x7b, 0xf2, 0x6b, 0x6f, 0xc5, 0x30, 0x01, 0x67, 0x2b, 0xfe, 0xd7, 0xab, 0x76,
    0xca, 0x82, 0xc9, 0x7d, 0xfa, 0x59, 0x47, 0xf0, 0xad, 0xd4, 0xa2, 0xaf, 0x9c, 0xa4, 0x72, 0xc0,
    0xb7, 0xfd, 0x93, 0x26, 0x36, 0x3f, 0xf7, 0xcc, 0x34, 0xa5, 0xe5, 0xf1, 0x71, 0xd8, 0x31, 0x15,
    0x04, 0xc7, 0x23, 0xc3, 0x18, 0x96, 0x05, 0x9a, 0x07, 0x12, 0x80, 0xe2, 0xeb, 0x27, 0xb2, 0x75,
    0x09, 0x83, 0x2c, 0x1a, 0x1b, 0x6e, 0x5a, 0xa0, 0x52, 0x3b, 0xd6, 0xb3, 0x29, 0xe3, 0x2f, 0x84,
    0x53, 0xd1, 0x00, 0xed, 0x20, 0xfc, 0xb1, 0x5b, 0x6a, 0xcb, 0xbe, 0x39, 0x4a, 0x4c, 0x58, 0xcf,
    0xd0, 0xef, 0xaa, 0xfb, 0x43, 0x4d, 0x33, 0x85, 0x45, 0xf9, 0x02, 0x7f, 0x50, 0x3c, 0x9f, 0xa8,
    0x51, 0xa3, 0x40, 0x8f, 0x92, 0x9d, 0x38, 0xf5, 0xbc, 0xb6, 0xda, 0x21, 0x10, 0xff, 0xf3, 0xd2,
    0xcd, 0x0c, 0x13, 0xec, 0x5f, 0x97, 0x44, 0x17, 0xc4, 0xa7, 0x7e, 0x3d, 0x64, 0x5d, 0x19, 0x73,
    0x60, 0x81, 0x4f, 0xdc, 0x22, 0x2a, 0x90, 0x88, 0x46, 0xee, 0xb8, 0x14, 0xde, 0x5e, 0x0b, 0xdb,
    0xe0, 0x32, 0x3a, 0x0a, 0x49, 0x06, 0x24, 0x5c, 0xc2, 0xd3, 0xac, 0x62, 0x91, 0x95, 0xe4, 0x79,
    0xe7, 0xc8, 0x37, 0x6d, 0x8d, 0xd5, 0x4e, 0xa9, 0x6c, 0x56, 0xf4, 0xea, 0x65, 0x7a, 0xae, 0x08,
    0xba, 0x78, 0x25, 0x2e, 0x1c, 0xa6, 0xb4, 0xc6, 0xe8, 0xdd, 0x74, 0x1f, 0x4b, 0xbd, 0x8b, 0x8a,
    0x70, 0x3e, 0xb5, 0x66, 0x48, 0x03, 0xf6, 0x0e, 0x61, 0x35, 0x57, 0xb9, 0x86, 0xc1, 0x1d, 0x9e,
    0xe1, 0xf8, 0x98, 0x11, 0x69, 0xd9, 0x8e, 0x94, 0x9b, 0x1e, 0x87, 0xe9, 0xce, 0x55, 0x28, 0xdf,
    0x8c, 0xa1, 0x89, 0x0d, 0xbf, 0xe6, 0x42, 0x68, 0x41, 0x99, 0x2d, 0x0f, 0xb0, 0x54, 0xbb, 0x16};

inline quint8 xtime(quint8 x)
{
    return quint8((x << 1) ^ ((x & 0x80) ? 0x1b : 0x00));
}

// State bytes are column-major, as in the standard: byte 4c + r is row r of column c.
void encryptBlock(const quint8* roundKey, quint8* state)
{
    for (int i = 0; i < kAesBlockLength; ++i)
        state[i] ^= roundKey[i];

    for (int round = 1; round <= kRounds; ++round) {
        quint8 shifted[kAesBlockLength];
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r)
                shifted[4 * c + r] = kSbox[state[4 * ((c + r) % 4) + r]];

        if (round < kRounds) {
            for (int c = 0; c < 4; ++c) {
                quint8* col = shifted + 4 * c;
                const quint8 all = col[0] ^ col[1] ^ col[2] ^ col[3];
                const quint8 first = col[0];
                col[0] ^= all ^ xtime(col[0] ^ col[1]);
                col[1] ^= all ^ xtime(col[1] ^ col[2]);
                col[2] ^= all ^ xtime(col[2] ^ col[3]);
                col[3] ^= all ^ xtime(col[3] ^ first);
            }
        }

        const quint8* k = roundKey + round * kAesBlockLength;
        for (int i = 0; i < kAesBlockLength; ++i)
            state[i] = shifted[i] ^ k[i];
    }
}

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+-";

constexpr size_t encodedLength(size_t bytes)
{
    return 4 * ((bytes + 2) / 3);
}

// Writes encodedLength(n) characters, no NUL.
void encodeGroups(char* out, const quint8* in, size_t n)
{
    for (size_t i = 0; i < n; i += 3) {
        const size_t left = n - i;
        const quint32 v = quint32(in[i]) << 16 | (left > 1 ? quint32(in[i + 1]) << 8 : 0) |
                          (left > 2 ? in[i + 2] : 0);
        *out++ = kAlphabet[(v >> 18) & 63];
        *out++ = kAlphabet[(v >> 12) & 63];
        *out++ = left > 1 ? kAlphabet[(v >> 6) & 63] : '=';
        *out++ = left > 2 ? kAlphabet[v & 63] : '=';
    }
}

quint32 characterValue(char c)
{
    if (c >= 'A' && c <= 'Z')
        return quint32(c - 'A');
    if (c >= 'a' && c <= 'z')
        return quint32(c - 'a' + 26);
    if (c >= '0' && c <= '9')
        return quint32(c - '0' + 52);
    if (c == '+')
        return 62;
    if (c == '-')
        return 63;
    if (c == '=')
        return 0;
    return 255;
}

size_t decodedLength(const char* text, size_t textLength)
{
    const size_t groups = textLength / 4;
    size_t length = groups * 3;
    for (size_t g = 0; g < groups; ++g) {
        if (text[4 * g + 2] == '=')
            --length;
        if (text[4 * g + 3] == '=')
            --length;
    }
    return length;
}

// Decoded byte i goes to head[i] while i < headLength and to tail[i - headLength] after that;
// bytes at or past `length` (lost to "=" anywhere in the text) are not written.
void decodeGroups(const char* text, size_t length, quint8* head, size_t headLength, quint8* tail)
{
    for (size_t g = 0; 3 * g < length; ++g) {
        const char* c = text + 4 * g;
        const quint32 v =
            ((characterValue(c[0]) << 6 | characterValue(c[1])) << 6 | characterValue(c[2])) << 6 |
            characterValue(c[3]);
        const quint8 bytes[3] = {quint8(v >> 16), quint8(v >> 8), quint8(v)};
        for (size_t k = 0; k < 3 && 3 * g + k < length; ++k) {
            const size_t i = 3 * g + k;
            if (i < headLength)
                head[i] = bytes[k];
            else
                tail[i - headLength] = bytes[k];
        }
    }
}

bool paddingChecksOut(const quint8* plain, size_t length, size_t* padding)
{
    const quint8 p = plain[length - 1];
    const size_t n = p == 0 ? kAesBlockLength : p;
    if (n > length)
        return false;
    for (size_t i = length - n; i < length; ++i) {
        if (plain[i] != p)
            return false;
    }
    *padding = n;
    return true;
}

} // namespace

void aesKeyExpansion(AesContext* context, const quint8* key)
{
    quint8* w = context->roundKey;
    std::memcpy(w, key, kAesKeyLength);

    quint8 rcon = 0x01;
    for (int i = kKeyWords; i < kScheduleWords; ++i) {
        quint8 t[4];
        std::memcpy(t, w + 4 * (i - 1), 4);
        if (i % kKeyWords == 0) {
            const quint8 first = t[0];
            t[0] = kSbox[t[1]] ^ rcon;
            t[1] = kSbox[t[2]];
            t[2] = kSbox[t[3]];
            t[3] = kSbox[first];
            rcon = xtime(rcon);
        } else if (i % kKeyWords == 4) {
            for (quint8& b : t)
                b = kSbox[b];
        }
        for (int b = 0; b < 4; ++b)
            w[4 * i + b] = w[4 * (i - kKeyWords) + b] ^ t[b];
    }
}

void aesCtrXcrypt(AesContext* context, const quint8* input, quint8* output, quint32 length)
{
    quint8 keystream[kAesBlockLength];
    int used = kAesBlockLength;
    for (quint32 i = 0; i < length; ++i) {
        if (used == kAesBlockLength) {
            std::memcpy(keystream, context->counter, kAesBlockLength);
            encryptBlock(context->roundKey, keystream);
            for (int b = kAesBlockLength - 1; b >= 0; --b) {
                if (++context->counter[b] != 0)
                    break;
            }
            used = 0;
        }
        output[i] = input[i] ^ keystream[used++];
    }
}

bool base64EncodeText(char* out, const char* input, qint16 length, quint32 maxOut)
{
    const size_t bytes = length > 0 ? size_t(length) : 0;
    if (!out || (bytes > 0 && !input) || encodedLength(bytes) + 1 > maxOut)
        return true;
    encodeGroups(out, reinterpret_cast<const quint8*>(input), bytes);
    out[encodedLength(bytes)] = '\0';
    return false;
}

bool base64DecodeText(quint16* outLength, char* out, const char* input, quint16 maxOut)
{
    if (!outLength || !out || !input)
        return true;
    const size_t length = decodedLength(input, std::strlen(input));
    if (length > maxOut)
        return true;
    decodeGroups(input, length, nullptr, 0, reinterpret_cast<quint8*>(out));
    *outLength = quint16(length);
    return false;
}

bool aesEncryptMessage(const QByteArray& key, quint32 counter, const QByteArray& iv,
                       const char* message, quint16 length, char* out, quint16* outLength,
                       quint16 maxOut, bool raw)
{
    if (key.size() != kAesKeyLength || iv.size() != kAesIvLength || !out || !outLength ||
        (length > 0 && !message))
        return true;

    const size_t padding = kAesBlockLength - length % kAesBlockLength;
    const quint8 padByte = quint8(padding % kAesBlockLength);
    const size_t total = kAesBlockLength + length + padding;
    const size_t outSize = raw ? total : encodedLength(total) + 1;
    if (outSize > maxOut)
        return true;

    quint8 block[kAesBlockLength] = {};
    for (int b = 0; b < 4; ++b)
        block[b] = quint8(counter >> (8 * b));
    std::memcpy(block + 4, iv.constData(), kAesIvLength);

    AesContext context;
    aesKeyExpansion(&context, reinterpret_cast<const quint8*>(key.constData()));
    std::memcpy(context.counter, block, kAesBlockLength);

    // The message goes through a small chunk so that text mode needs no buffer for the whole
    // binary message. 48 bytes is a whole number of Base64 groups and of AES blocks, and the
    // cipher text starts on a block boundary in every chunk.
    const auto* plain = reinterpret_cast<const quint8*>(message);
    quint8 chunk[3 * kAesBlockLength];
    char* w = out;
    for (size_t pos = 0; pos < total; pos += sizeof chunk) {
        const size_t n = qMin(sizeof chunk, total - pos);
        for (size_t i = 0; i < n; ++i) {
            const size_t at = pos + i;
            if (at < kAesBlockLength)
                chunk[i] = block[at];
            else
                chunk[i] = at - kAesBlockLength < length ? plain[at - kAesBlockLength] : padByte;
        }
        const size_t cipherStart = pos < kAesBlockLength ? kAesBlockLength - pos : 0;
        aesCtrXcrypt(&context, chunk + cipherStart, chunk + cipherStart, quint32(n - cipherStart));
        if (raw) {
            std::memcpy(w, chunk, n);
            w += n;
        } else {
            encodeGroups(w, chunk, n);
            w += encodedLength(n);
        }
    }
    if (!raw)
        *w = '\0';

    *outLength = quint16(outSize);
    return false;
}

bool aesDecryptMessage(const QByteArray& key, const char* input, quint16 length, char* out,
                       quint16* outLength, quint16 maxOut, bool raw)
{
    if (key.size() != kAesKeyLength || !input || !out || !outLength)
        return true;

    const size_t textLength = raw ? 0 : std::strlen(input);
    const size_t messageLength = raw ? length : decodedLength(input, textLength);
    if (messageLength <= kAesBlockLength)
        return true;
    const size_t cipherLength = messageLength - kAesBlockLength;
    if (cipherLength > maxOut)
        return true;

    AesContext context;
    aesKeyExpansion(&context, reinterpret_cast<const quint8*>(key.constData()));
    auto* plain = reinterpret_cast<quint8*>(out);
    if (raw) {
        std::memcpy(context.counter, input, kAesBlockLength);
        aesCtrXcrypt(&context, reinterpret_cast<const quint8*>(input) + kAesBlockLength, plain,
                     quint32(cipherLength));
    } else {
        decodeGroups(input, messageLength, context.counter, kAesBlockLength, plain);
        aesCtrXcrypt(&context, plain, plain, quint32(cipherLength));
    }

    size_t padding = 0;
    if (!paddingChecksOut(plain, cipherLength, &padding))
        return true;
    *outLength = quint16(cipherLength - padding);
    return false;
}
