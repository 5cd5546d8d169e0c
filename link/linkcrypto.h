#pragma once

// AES-256 in counter mode and the link's Base64 variant, for the ORVA station-radio link.
//
// Every function that can fail returns true on failure and false on success, and then
// promises nothing about its outputs. The routines keep no state between calls and allocate
// nothing, so they may run on any thread.

#include <QByteArray>
#include <QtGlobal>

constexpr int kAesKeyLength = 32;
constexpr int kAesIvLength = 8;
constexpr int kAesBlockLength = 16;

struct AesContext {
    quint8 roundKey[15 * kAesBlockLength];
    // Big-endian counter; it names the next keystream block.
    quint8 counter[kAesBlockLength];
};

// `key` must hold 32 bytes.
void aesKeyExpansion(AesContext* context, const quint8* key);

// XORs `length` bytes of `input` with the keystream into `output` (which may be `input`).
// Each call starts on a fresh keystream block.
void aesCtrXcrypt(AesContext* context, const quint8* input, quint8* output, quint32 length);

// Writes the variant's text of `length` bytes and a terminating NUL. Fails, writing nothing,
// when the text and its NUL need more than `maxOut` bytes. A length of 0 or below writes only
// the NUL.
bool base64EncodeText(char* out, const char* input, qint16 length, quint32 maxOut);

// Decodes the NUL-terminated `input`. Characters outside the alphabet garble their group
// without complaint; one to three characters after the last whole group are ignored. Fails,
// writing nothing, when the decoded bytes would exceed `maxOut`.
bool base64DecodeText(quint16* outLength, char* out, const char* input, quint16 maxOut);

// Builds the message: the counter block (counter least significant byte first, the 8-byte IV,
// four zero bytes) followed by the padded plaintext in counter mode. Text mode writes the
// variant's text and a NUL, and `outLength` counts the NUL; raw mode writes the message bytes.
// Fails, writing nothing, when the key is not 32 bytes, the IV not 8 bytes, or the result
// would exceed `maxOut`.
bool aesEncryptMessage(const QByteArray& key, quint32 counter, const QByteArray& iv,
                       const char* message, quint16 length, char* out, quint16* outLength,
                       quint16 maxOut, bool raw);

// In text mode `input` is a NUL-terminated text and `length` is not used; in raw mode it is
// `length` message bytes. On success `out` holds the plaintext without its padding. Fails when
// the key is not 32 bytes, the message holds no cipher text, the cipher text exceeds `maxOut`
// (nothing is then written) or the padding does not check out.
bool aesDecryptMessage(const QByteArray& key, const char* input, quint16 length, char* out,
                       quint16* outLength, quint16 maxOut, bool raw);
