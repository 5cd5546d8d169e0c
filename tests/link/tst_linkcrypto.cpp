#include "tests/support/testsupport.h"

#include "link/linkcrypto.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtTest>

#include <cstring>

namespace
{

const char kGuard = char(0xA5);

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QByteArray sequentialKey()
{
    QByteArray key;
    for (int i = 0; i < kAesKeyLength; ++i)
        key.append(char(i));
    return key;
}

// Standard Base64 with "-" for value 63, from Qt's own encoder.
QByteArray variantBase64(const QByteArray& bytes)
{
    QByteArray text = bytes.toBase64();
    text.replace('/', '-');
    return text;
}

QByteArray counterBlock(quint32 counter, const QByteArray& iv)
{
    QByteArray block;
    for (int b = 0; b < 4; ++b)
        block.append(char(counter >> (8 * b)));
    return block + iv + QByteArray(4, '\0');
}

QByteArray padded(const QByteArray& plaintext)
{
    const int p = 16 - plaintext.size() % 16;
    return plaintext + QByteArray(p, char(p % 16));
}

// Counter mode through the product's own transform, for building inputs to the message
// routines once the transform itself has passed the published vectors.
QByteArray ctr(const QByteArray& key, const QByteArray& block, const QByteArray& data)
{
    AesContext context;
    aesKeyExpansion(&context, reinterpret_cast<const quint8*>(key.constData()));
    std::memcpy(context.counter, block.constData(), kAesBlockLength);
    QByteArray out(data.size(), '\0');
    aesCtrXcrypt(&context, reinterpret_cast<const quint8*>(data.constData()),
                 reinterpret_cast<quint8*>(out.data()), quint32(data.size()));
    return out;
}

QByteArray randomBytes(QRandomGenerator& random, int n)
{
    QByteArray bytes(n, '\0');
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

struct Encrypted {
    bool failed = true;
    quint16 length = 0;
    QByteArray buffer; // maxOut bytes followed by a guard
};

Encrypted encrypt(const QByteArray& key, quint32 counter, const QByteArray& iv,
                  const QByteArray& message, quint16 maxOut, bool raw, int guard = 16)
{
    Encrypted e;
    e.buffer = QByteArray(maxOut + guard, kGuard);
    e.failed = aesEncryptMessage(key, counter, iv, message.constData(), quint16(message.size()),
                                 e.buffer.data(), &e.length, maxOut, raw);
    return e;
}

// The message bytes of a successful encryption: raw bytes, or the text without its NUL.
QByteArray payload(const Encrypted& e, bool raw)
{
    return e.buffer.left(raw ? e.length : e.length - 1);
}

struct Decrypted {
    bool failed = true;
    quint16 length = 0;
    QByteArray buffer;
    QByteArray plaintext() const { return buffer.left(length); }
};

Decrypted decrypt(const QByteArray& key, const QByteArray& input, quint16 maxOut, bool raw,
                  int guard = 16)
{
    Decrypted d;
    d.buffer = QByteArray(maxOut + guard, kGuard);
    d.failed = aesDecryptMessage(key, input.constData(), quint16(input.size()), d.buffer.data(),
                                 &d.length, maxOut, raw);
    return d;
}

bool untouched(const QByteArray& buffer, int from = 0)
{
    for (int i = from; i < buffer.size(); ++i) {
        if (buffer.at(i) != kGuard)
            return false;
    }
    return true;
}

} // namespace

class TestLinkCrypto : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_openssl = QStandardPaths::findExecutable(QStringLiteral("openssl")); }

    void blockCipherKnownAnswer()
    {
        // FIPS-197 appendix C.3: with a zero input the first keystream block is E(counter block).
        const QByteArray key = sequentialKey();
        const QByteArray plaintext = hex("00112233445566778899aabbccddeeff");
        QCOMPARE(ctr(key, plaintext, QByteArray(16, '\0')),
                 hex("8ea2b7ca516745bfeafc49904b496089"));
    }

    void counterModeKnownAnswer_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");

        // NIST SP 800-38A F.5.5 and F.5.6 (CTR-AES256); the second block carries fe -> ff into
        // byte 14 of the counter.
        const QByteArray plain = hex("6bc1bee22e409f96e93d7e117393172a"
                                     "ae2d8a571e03ac9c9eb76fac45af8e51"
                                     "30c81c46a35ce411e5fbc1191a0a52ef"
                                     "f69f2445df4f9b17ad2b417be66c3710");
        const QByteArray cipher = hex("601ec313775789a5b7a7f504bbf3d228"
                                      "f443e3ca4d62b59aca84e990cacaf5c5"
                                      "2b0930daa23de94ce87017ba2d84988d"
                                      "dfc9c58db67aada613c2dd08457941a6");
        QTest::newRow("F.5.5 encrypt") << plain << cipher;
        QTest::newRow("F.5.6 decrypt") << cipher << plain;
    }

    void counterModeKnownAnswer()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        const QByteArray key =
            hex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
        const QByteArray block = hex("f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff");

        AesContext context;
        aesKeyExpansion(&context, reinterpret_cast<const quint8*>(key.constData()));
        std::memcpy(context.counter, block.constData(), 16);
        QByteArray result(input.size(), '\0');
        // Two calls of whole blocks continue the keystream where the first left off.
        aesCtrXcrypt(&context, reinterpret_cast<const quint8*>(input.constData()),
                     reinterpret_cast<quint8*>(result.data()), 16);
        aesCtrXcrypt(&context, reinterpret_cast<const quint8*>(input.constData()) + 16,
                     reinterpret_cast<quint8*>(result.data()) + 16, quint32(input.size() - 16));
        QCOMPARE(result, output);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(context.counter), 16),
                 hex("f0f1f2f3f4f5f6f7f8f9fafbfcfdff03"));
    }

    void counterIncrement_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("low byte") << hex("00000000000000000000000000000000")
                                  << hex("00000000000000000000000000000001");
        QTest::newRow("carry into byte 14")
            << hex("f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff") << hex("f0f1f2f3f4f5f6f7f8f9fafbfcfdff00");
        QTest::newRow("carry past the IV's zero bytes")
            << hex("01000000414243444546474800ffffff") << hex("01000000414243444546474801000000");
        QTest::newRow("carry into the IV") << hex("010000004142434445464748ffffffff")
                                           << hex("010000004142434445464749"
                                                  "00000000");
        QTest::newRow("wraps to zero")
            << hex("ffffffffffffffffffffffffffffffff") << hex("00000000000000000000000000000000");
    }

    void counterIncrement()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QByteArray key = sequentialKey();

        AesContext context;
        aesKeyExpansion(&context, reinterpret_cast<const quint8*>(key.constData()));
        std::memcpy(context.counter, before.constData(), 16);
        quint8 data[20] = {};
        aesCtrXcrypt(&context, data, data, 16);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(context.counter), 16), after);

        // The block after the carry is E(after): 16 more bytes start from it.
        quint8 next[16] = {};
        aesCtrXcrypt(&context, next, next, 16);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(next), 16),
                 ctr(key, after, QByteArray(16, '\0')));
    }

    void base64Encode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("text");
        // RFC 4648 section 10, then the one character the variant changes.
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("f") << QByteArray("f") << QByteArray("Zg==");
        QTest::newRow("fo") << QByteArray("fo") << QByteArray("Zm8=");
        QTest::newRow("foo") << QByteArray("foo") << QByteArray("Zm9v");
        QTest::newRow("foob") << QByteArray("foob") << QByteArray("Zm9vYg==");
        QTest::newRow("fooba") << QByteArray("fooba") << QByteArray("Zm9vYmE=");
        QTest::newRow("foobar") << QByteArray("foobar") << QByteArray("Zm9vYmFy");
        QTest::newRow("63 is -") << hex("ffffff") << QByteArray("----");
        QTest::newRow("62 stays +") << hex("fbefbe") << QByteArray("++++");
        QTest::newRow("62 and 63") << hex("fbff") << QByteArray("+-8=");
        QTest::newRow("single ff") << hex("ff") << QByteArray("-w==");
    }

    void base64Encode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, text);
        QByteArray out(64, kGuard);
        QVERIFY(!base64EncodeText(out.data(), bytes.constData(), qint16(bytes.size()), 64));
        QCOMPARE(QByteArray(out.constData()), text);
        QVERIFY(untouched(out, text.size() + 1));
    }

    void base64EncodeBound()
    {
        QByteArray out(16, kGuard);
        QVERIFY(base64EncodeText(out.data(), "foo", 3, 4));
        QVERIFY(untouched(out));
        QVERIFY(!base64EncodeText(out.data(), "foo", 3, 5));
        QCOMPARE(QByteArray(out.constData()), QByteArray("Zm9v"));

        // Nothing to encode still needs room for the NUL.
        out.fill(kGuard);
        QVERIFY(base64EncodeText(out.data(), "foo", 0, 0));
        QVERIFY(untouched(out));
        QVERIFY(!base64EncodeText(out.data(), "foo", -5, 1));
        QCOMPARE(out.at(0), '\0');
        QVERIFY(untouched(out, 1));
    }

    void base64Decode_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("Zg==") << QByteArray("Zg==") << QByteArray("f");
        QTest::newRow("Zm8=") << QByteArray("Zm8=") << QByteArray("fo");
        QTest::newRow("Zm9vYmFy") << QByteArray("Zm9vYmFy") << QByteArray("foobar");
        QTest::newRow("----") << QByteArray("----") << hex("ffffff");
        QTest::newRow("+-8=") << QByteArray("+-8=") << hex("fbff");
        QTest::newRow("leftover characters ignored") << QByteArray("Zm9vZg") << QByteArray("foo");
        QTest::newRow("lone leftover") << QByteArray("Z") << QByteArray();
        // "/" counts 255: its excess bits spill into the byte above.
        QTest::newRow("slash garbles") << QByteArray("A/AA") << hex("0ff000");
        QTest::newRow("slash standard") << QByteArray("A-AA") << hex("03f000");
        // An "=" inside the text shortens the result from its end.
        QTest::newRow("inner padding") << QByteArray("Zg==Zm8=") << QByteArray("f\0\0", 3);
    }

    void base64Decode()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        QByteArray out(64, kGuard);
        quint16 length = 999;
        QVERIFY(!base64DecodeText(&length, out.data(), text.constData(), 48));
        QCOMPARE(out.left(length), bytes);
        QVERIFY(untouched(out, length));
    }

    void base64DecodeBound()
    {
        QByteArray out(16, kGuard);
        quint16 length = 999;
        QVERIFY(base64DecodeText(&length, out.data(), "Zm9vYmFy", 5));
        QVERIFY(untouched(out));
        QCOMPARE(length, quint16(999));
        QVERIFY(!base64DecodeText(&length, out.data(), "Zm9vYmFy", 6));
        QCOMPARE(out.left(length), QByteArray("foobar"));
        QVERIFY(untouched(out, 6));
    }

    void messageLayoutAndPadding_data()
    {
        QTest::addColumn<QByteArray>("plaintext");
        QTest::addColumn<QByteArray>("padding");
        QTest::newRow("empty: a block of zero bytes") << QByteArray() << QByteArray(16, '\0');
        QTest::newRow("15 bytes: one 0x01") << QByteArray("gps=1,2,3,4,5\r\n") << hex("01");
        QTest::newRow("16 bytes: a block of zero bytes")
            << QByteArray("led=1,green,on\r\n") << QByteArray(16, '\0');
        QTest::newRow("17 bytes: fifteen 0x0f")
            << QByteArray("heater=1,on,auto\n") << QByteArray(15, '\x0f');
        QTest::newRow("1 byte: fifteen 0x0f") << QByteArray("\r") << QByteArray(15, '\x0f');
        QTest::newRow("20 bytes: twelve 0x0c") << QByteArray(20, 'x') << QByteArray(12, '\x0c');
    }

    void messageLayoutAndPadding()
    {
        QFETCH(QByteArray, plaintext);
        QFETCH(QByteArray, padding);
        const QByteArray key = sequentialKey();
        const QByteArray iv("ABCDEFGH");

        const Encrypted e = encrypt(key, 0x04030201, iv, plaintext, 400, true);
        QVERIFY(!e.failed);
        const QByteArray message = payload(e, true);
        QCOMPARE(message.size(), 16 + plaintext.size() + padding.size());
        QCOMPARE(message.left(16), hex("01020304"
                                       "4142434445464748"
                                       "00000000"));
        QVERIFY(untouched(e.buffer, e.length));

        QByteArray deciphered;
        QVERIFY(oracle(key, message.left(16), message.mid(16), &deciphered));
        QCOMPARE(deciphered, plaintext + padding);
    }

    void roundTripEveryLength()
    {
        QRandomGenerator random(20260601);
        const QByteArray key = randomBytes(random, 32);
        const QByteArray iv = randomBytes(random, 8);
        bool sawDash = false;

        for (int length = 0; length <= 300; ++length) {
            const QByteArray plaintext = randomBytes(random, length);
            const int total = 16 + (length / 16 + 1) * 16;

            const Encrypted raw = encrypt(key, quint32(length), iv, plaintext, 1000, true);
            QVERIFY(!raw.failed);
            QCOMPARE(int(raw.length), total);

            const Encrypted text = encrypt(key, quint32(length), iv, plaintext, 1000, false);
            QVERIFY(!text.failed);
            QCOMPARE(int(text.length), 4 * ((total + 2) / 3) + 1);
            QCOMPARE(text.buffer.at(text.length - 1), '\0');
            QCOMPARE(payload(text, false), variantBase64(payload(raw, true)));
            QVERIFY(untouched(text.buffer, text.length));
            sawDash = sawDash || payload(text, false).contains('-');

            const Decrypted fromText = decrypt(key, payload(text, false), 2048, false);
            QVERIFY2(!fromText.failed, qPrintable(QString::number(length)));
            QCOMPARE(fromText.plaintext(), plaintext);

            const Decrypted fromRaw = decrypt(key, payload(raw, true), 2048, true);
            QVERIFY(!fromRaw.failed);
            QCOMPARE(fromRaw.plaintext(), plaintext);
        }
        QVERIFY(sawDash);
    }

    void encryptOutputBound_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("maxOut");
        QTest::addColumn<bool>("raw");
        QTest::addColumn<bool>("fits");
        QTest::newRow("207 bytes in 302 as text") << 207 << 302 << false << true;
        QTest::newRow("208 bytes in 302 as text") << 208 << 302 << false << false;
        QTest::newRow("text exactly at the bound") << 0 << 45 << false << true;
        QTest::newRow("text one over the bound") << 0 << 44 << false << false;
        QTest::newRow("raw exactly at the bound") << 31 << 48 << true << true;
        QTest::newRow("raw one over the bound") << 32 << 48 << true << false;
        QTest::newRow("no room at all") << 0 << 0 << true << false;
    }

    void encryptOutputBound()
    {
        QFETCH(int, length);
        QFETCH(int, maxOut);
        QFETCH(bool, raw);
        QFETCH(bool, fits);

        const Encrypted e = encrypt(sequentialKey(), 0, QByteArray("ABCDEFGH"),
                                    QByteArray(length, 'c'), quint16(maxOut), raw);
        QCOMPARE(!e.failed, fits);
        if (fits) {
            QVERIFY(e.length <= maxOut);
            QVERIFY(untouched(e.buffer, e.length));
        } else {
            QVERIFY(untouched(e.buffer));
        }
        if (length == 207)
            QCOMPARE(int(e.length), 301);
    }

    void sizesDoNotWrap()
    {
        // In 16 bits 65535 bytes pad to 0 and the raw message would look 16 bytes long.
        const QByteArray big(65535, 'w');
        const QByteArray key = sequentialKey();
        const QByteArray iv("ABCDEFGH");
        for (bool raw : {true, false}) {
            quint16 length = 7;
            QByteArray out(64, kGuard);
            QVERIFY(aesEncryptMessage(key, 0, iv, big.constData(), quint16(big.size()), out.data(),
                                      &length, 65535, raw));
            QVERIFY(untouched(out));
            QCOMPARE(length, quint16(7));
        }

        // 87428 characters decode to 65571 bytes, which 16 bits would take for 35: a small,
        // plausible message.
        const QByteArray text(87428, 'A');
        const Decrypted d = decrypt(key, text, 2048, false);
        QVERIFY(d.failed);
        QVERIFY(untouched(d.buffer));

        quint16 decoded = 0;
        QByteArray out(70000, kGuard);
        QVERIFY(base64DecodeText(&decoded, out.data(), text.constData(), 65535));
        QVERIFY(untouched(out));
    }

    void wrongKeyOrIvSizeFails_data()
    {
        QTest::addColumn<int>("keySize");
        QTest::addColumn<int>("ivSize");
        QTest::newRow("no key") << 0 << 8;
        QTest::newRow("31-byte key") << 31 << 8;
        QTest::newRow("33-byte key") << 33 << 8;
        QTest::newRow("no IV") << 32 << 0;
        QTest::newRow("7-byte IV") << 32 << 7;
        QTest::newRow("9-byte IV") << 32 << 9;
    }

    void wrongKeyOrIvSizeFails()
    {
        QFETCH(int, keySize);
        QFETCH(int, ivSize);
        const QByteArray key(keySize, 'k');
        const QByteArray iv(ivSize, 'i');

        const Encrypted e = encrypt(key, 0, iv, QByteArray("rf=1\r\n"), 302, false);
        QVERIFY(e.failed);
        QVERIFY(untouched(e.buffer));

        // A good message under the right key, offered with this key.
        const Encrypted good =
            encrypt(QByteArray(32, 'k'), 0, QByteArray(8, 'i'), "rf=1\r\n", 302, false);
        QVERIFY(!good.failed);
        const Decrypted d = decrypt(key, payload(good, false), 2048, false);
        QCOMPARE(d.failed, keySize != 32);
    }

    void decryptRejects_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("raw");
        QTest::newRow("empty text") << QByteArray() << false;
        QTest::newRow("counter block only, text")
            << QByteArray("AAAAAAAAAAAAAAAAAAAAAA==") << false;
        QTest::newRow("counter block only, raw") << QByteArray(16, '\0') << true;
        QTest::newRow("short raw") << QByteArray(5, '\0') << true;
        QTest::newRow("plain text, not a message") << QByteArray("@1xx hello world ~1234") << false;
    }

    void decryptRejects()
    {
        QFETCH(QByteArray, input);
        QFETCH(bool, raw);
        const Decrypted d = decrypt(sequentialKey(), input, 2048, raw);
        QVERIFY(d.failed);
        QVERIFY(untouched(d.buffer));
    }

    void decryptOutputBound()
    {
        const QByteArray key = sequentialKey();
        const Encrypted e =
            encrypt(key, 3, QByteArray("ABCDEFGH"), QByteArray(31, 'q'), 400, false);
        QVERIFY(!e.failed);

        // 32 bytes of cipher text: one byte short of room is refused before anything is written.
        const Decrypted tight = decrypt(key, payload(e, false), 31, false);
        QVERIFY(tight.failed);
        QVERIFY(untouched(tight.buffer));

        const Decrypted exact = decrypt(key, payload(e, false), 32, false);
        QVERIFY(!exact.failed);
        QCOMPARE(exact.plaintext(), QByteArray(31, 'q'));
        QVERIFY(untouched(exact.buffer, 32));
    }

    void paddingCheck_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<int>("expectedLength"); // -1: fails
        QTest::newRow("five 5s") << QByteArray("abcdefghijk\x05\x05\x05\x05\x05") << 11;
        QTest::newRow("one 5 differs") << QByteArray("abcdefghijk\x05\x05\x04\x05\x05") << -1;
        QTest::newRow("first of five differs")
            << QByteArray("abcdefghijk\x06\x05\x05\x05\x05") << -1;
        QTest::newRow("sixteen zeros")
            << QByteArray("abcdefghijklmnop") + QByteArray(16, '\0') << 16;
        QTest::newRow("fifteen zeros end in 0")
            << QByteArray("abcdefghijklmnopq") + QByteArray(15, '\0') << -1;
        QTest::newRow("17 over one block") << QByteArray(16, '\x11') << -1;
        QTest::newRow("17 over two blocks") << QByteArray(15, 'a') + QByteArray(17, '\x11') << 15;
        QTest::newRow("a whole block of 16s") << QByteArray(16, '\x10') << 0;
    }

    void paddingCheck()
    {
        QFETCH(QByteArray, plain);
        QFETCH(int, expectedLength);
        const QByteArray key = sequentialKey();
        const QByteArray block = hex("0a0b0c0d"
                                     "0102030405060708"
                                     "00000000");
        const QByteArray message = block + ctr(key, block, plain);

        for (bool raw : {true, false}) {
            const Decrypted d =
                decrypt(key, raw ? message : message.toBase64().replace('/', '-'), 2048, raw);
            QCOMPARE(d.failed, expectedLength < 0);
            if (expectedLength >= 0) {
                QCOMPARE(int(d.length), expectedLength);
                QCOMPARE(d.plaintext(), plain.left(expectedLength));
            }
        }
    }

    void slashGarblesText()
    {
        // A "/" among the counter block's characters (not first in its group, where the excess
        // bits fall off) changes the whole keystream, so the padding no longer checks out.
        const QByteArray key = sequentialKey();
        const QByteArray command("icao=KXYZ\r\n");
        auto dashInCounterBlock = [](const QByteArray& text) {
            for (int i = 0; i < 20; ++i) {
                if (text.at(i) == '-' && i % 4 != 0)
                    return i;
            }
            return -1;
        };
        QByteArray text;
        for (quint32 counter = 0; text.isEmpty() || dashInCounterBlock(text) < 0; ++counter)
            text =
                payload(encrypt(key, counter, QByteArray("ABCDEFGH"), command, 302, false), false);
        QVERIFY(!decrypt(key, text, 2048, false).failed);

        text[dashInCounterBlock(text)] = '/';
        QVERIFY(decrypt(key, text, 2048, false).failed);
    }

    void agreesWithOracle()
    {
        QRandomGenerator random(4271);
        for (int round = 0; round < 30; ++round) {
            const QByteArray key = randomBytes(random, 32);
            const QByteArray iv = randomBytes(random, 8);
            const quint32 counter = random.generate();
            const QByteArray plaintext = randomBytes(random, int(random.bounded(301)));

            const Encrypted e = encrypt(key, counter, iv, plaintext, 2048, true);
            QVERIFY(!e.failed);
            const QByteArray block = counterBlock(counter, iv);
            QByteArray expected;
            QVERIFY(oracle(key, block, padded(plaintext), &expected));
            QCOMPARE(payload(e, true), block + expected);

            // Decryption of the oracle's messages, from counter blocks whose low bytes are about to
            // carry within the message.
            QByteArray received = randomBytes(random, 16);
            const int carried = round % 6;
            for (int b = 0; b < carried; ++b)
                received[15 - b] = char(0xff);
            received[15 - carried] = char(0xff - random.bounded(8));
            QByteArray cipher;
            QVERIFY(oracle(key, received, padded(plaintext), &cipher));
            const Decrypted d = decrypt(key, variantBase64(received + cipher), 2048, false);
            QVERIFY(!d.failed);
            QCOMPARE(d.plaintext(), plaintext);
        }
    }

private:
    // An independent AES-256-CTR from the openssl command line.
    bool oracle(const QByteArray& key, const QByteArray& block, const QByteArray& data,
                QByteArray* out)
    {
        if (m_openssl.isEmpty()) {
            qWarning("openssl command line not found; tools/install-deps.sh installs it");
            return false;
        }
        QProcess process;
        process.start(m_openssl, {QStringLiteral("enc"), QStringLiteral("-aes-256-ctr"),
                                  QStringLiteral("-K"), QString::fromLatin1(key.toHex()),
                                  QStringLiteral("-iv"), QString::fromLatin1(block.toHex())});
        if (!process.waitForStarted(10000))
            return false;
        process.write(data);
        process.closeWriteChannel();
        if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            qWarning("openssl: %s", process.readAllStandardError().constData());
            return false;
        }
        *out = process.readAllStandardOutput();
        return true;
    }

    QString m_openssl;
};

QTEST_GUILESS_MAIN(TestLinkCrypto)
#include "tst_linkcrypto.moc"
