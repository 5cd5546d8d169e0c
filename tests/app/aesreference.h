#pragma once

// A plain AES-256 block cipher written for the tests from the published algorithm, sharing
// nothing with the link's own routines, so that a test can decrypt what the application sends.

#include <QByteArray>
#include <QtGlobal>

class Aes256Reference
{
public:
    explicit Aes256Reference(const QByteArray& key)
    {
        buildSbox();
        expandKey(reinterpret_cast<const quint8*>(key.constData()));
    }

    QByteArray encryptBlock(const QByteArray& block) const
    {
        quint8 s[16];
        for (int i = 0; i < 16; ++i)
            s[i] = static_cast<quint8>(block.at(i)) ^ roundKeys[i];
        for (int round = 1; round <= 14; ++round) {
            for (quint8& b : s)
                b = sbox[b];
            shiftRows(s);
            if (round != 14)
                mixColumns(s);
            for (int i = 0; i < 16; ++i)
                s[i] ^= roundKeys[round * 16 + i];
        }
        return QByteArray(reinterpret_cast<const char*>(s), 16);
    }

    // Counter mode from `counterBlock`, the block counted up as a big-endian 128-bit number.
    QByteArray ctr(QByteArray counterBlock, const QByteArray& data) const
    {
        QByteArray out;
        for (int at = 0; at < data.size(); at += 16) {
            const QByteArray stream = encryptBlock(counterBlock);
            for (int i = at; i < qMin(at + 16, data.size()); ++i)
                out.append(static_cast<char>(data.at(i) ^ stream.at(i - at)));
            for (int i = 15; i >= 0; --i) {
                counterBlock[i] = static_cast<char>(static_cast<quint8>(counterBlock.at(i)) + 1);
                if (counterBlock.at(i) != 0)
                    break;
            }
        }
        return out;
    }

private:
    static quint8 xtime(quint8 x) { return static_cast<quint8>((x << 1) ^ ((x >> 7) * 0x1b)); }

    static quint8 multiply(quint8 a, quint8 b)
    {
        quint8 product = 0;
        while (b) {
            if (b & 1)
                product ^= a;
            a = xtime(a);
            b >>= 1;
        }
        return product;
    }

    static quint8 rotl(quint8 x, int n) { return static_cast<quint8>((x << n) | (x >> (8 - n))); }

    // S-box from its definition: multiplicative inverse in GF(2^8), then the affine map.
    void buildSbox()
    {
        for (int x = 0; x < 256; ++x) {
            quint8 inverse = 0;
            for (int y = 1; y < 256 && x != 0; ++y) {
                if (multiply(static_cast<quint8>(x), static_cast<quint8>(y)) == 1) {
                    inverse = static_cast<quint8>(y);
                    break;
                }
            }
            sbox[x] = inverse ^ rotl(inverse, 1) ^ rotl(inverse, 2) ^ rotl(inverse, 3) ^
                      rotl(inverse, 4) ^ 0x63;
        }
    }

    void expandKey(const quint8* key)
    {
        for (int i = 0; i < 32; ++i)
            roundKeys[i] = key[i];
        quint8 rcon = 1;
        for (int i = 8; i < 60; ++i) {
            quint8 t[4];
            for (int j = 0; j < 4; ++j)
                t[j] = roundKeys[(i - 1) * 4 + j];
            if (i % 8 == 0) {
                const quint8 first = t[0];
                t[0] = sbox[t[1]] ^ rcon;
                t[1] = sbox[t[2]];
                t[2] = sbox[t[3]];
                t[3] = sbox[first];
                rcon = xtime(rcon);
            } else if (i % 8 == 4) {
                for (quint8& b : t)
                    b = sbox[b];
            }
            for (int j = 0; j < 4; ++j)
                roundKeys[i * 4 + j] = roundKeys[(i - 8) * 4 + j] ^ t[j];
        }
    }

    static void shiftRows(quint8* s)
    {
        quint8 copy[16];
        for (int i = 0; i < 16; ++i)
            copy[i] = s[i];
        for (int col = 0; col < 4; ++col)
            for (int row = 0; row < 4; ++row)
                s[col * 4 + row] = copy[((col + row) % 4) * 4 + row];
    }

    static void mixColumns(quint8* s)
    {
        for (int col = 0; col < 4; ++col) {
            quint8* c = s + col * 4;
            const quint8 a0 = c[0], a1 = c[1], a2 = c[2], a3 = c[3];
            c[0] = multiply(a0, 2) ^ multiply(a1, 3) ^ a2 ^ a3;
            c[1] = a0 ^ multiply(a1, 2) ^ multiply(a2, 3) ^ a3;
            c[2] = a0 ^ a1 ^ multiply(a2, 2) ^ multiply(a3, 3);
            c[3] = multiply(a0, 3) ^ a1 ^ a2 ^ multiply(a3, 2);
        }
    }

    quint8 sbox[256] = {};
    quint8 roundKeys[240] = {};
};
