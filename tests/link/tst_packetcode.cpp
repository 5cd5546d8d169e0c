#include "tests/support/testsupport.h"

#include "link/packetcode.h"

#include <QRandomGenerator>
#include <QtTest>

namespace
{

const char kGuard = char(0xA5);

struct Symbol {
    char character;
    const char* bits;
};

// The unit's code, as published for the compressed frames.
const Symbol kCode[] = {
    {':', "00"},      {'0', "01000"},   {'1', "01001"},   {'2', "01010"},   {'3', "01011"},
    {'4', "01100"},   {'5', "01101"},   {'6', "01110"},   {'7', "01111"},   {'8', "10000"},
    {'9', "10001"},   {'.', "10010"},   {'-', "10011"},   {'?', "10100"},   {'\r', "10101"},
    {'>', "10110"},   {'@', "1100000"}, {'A', "1100001"}, {'B', "1100010"}, {'C', "1100011"},
    {'D', "1100100"}, {'E', "1100101"}, {'F', "1100110"}, {'G', "1100111"}, {'H', "1101000"},
    {'I', "1101001"}, {'J', "1101010"}, {'K', "1101011"}, {'L', "1101100"}, {'M', "1101101"},
    {'N', "1101110"}, {'O', "1101111"}, {'P', "1110000"}, {'Q', "1110001"}, {'R', "1110010"},
    {'S', "1110011"}, {'T', "1110100"}, {'U', "1110101"}, {'V', "1110110"}, {'W', "1110111"},
    {'X', "1111000"}, {'Y', "1111001"}, {'Z', "1111010"}, {'~', "1111100"}, {',', "1111101"},
    {'/', "1111110"}, {'_', "1111111"},
};

// Packs a string of '0' and '1' (blanks ignored), most significant bit first, the last byte
// filled with zero bits.
QByteArray packBits(const QByteArray& bitText)
{
    QByteArray bytes;
    int count = 0;
    quint8 current = 0;
    for (char b : bitText) {
        if (b == ' ')
            continue;
        current = quint8(current << 1 | (b == '1' ? 1 : 0));
        if (++count == 8) {
            bytes.append(char(current));
            count = 0;
            current = 0;
        }
    }
    if (count > 0)
        bytes.append(char(current << (8 - count)));
    return bytes;
}

// The unit's side of the code. A CR LF pair is one carriage-return symbol.
QByteArray encode(const QByteArray& text)
{
    QByteArray bits;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        const Symbol* found = nullptr;
        for (const Symbol& s : kCode) {
            if (s.character == c)
                found = &s;
        }
        Q_ASSERT(found);
        bits.append(found->bits);
        if (c == '\r') {
            Q_ASSERT(i + 1 < text.size() && text.at(i + 1) == '\n');
            ++i;
        }
    }
    return packBits(bits);
}

QByteArray decode(const QByteArray& packed, quint32 maxOut = 2048)
{
    QByteArray out(int(maxOut) + 16, kGuard);
    const quint32 length =
        decodeCompressedPacket(out.data(), packed.constData(), quint32(packed.size()), maxOut);
    if (length >= maxOut || out.at(int(length)) != '\0')
        return QByteArray("<no NUL in bound>");
    return out.left(int(length));
}

} // namespace

class TestPacketCode : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initPacketCodeTables(); }

    void knownAnswers_data()
    {
        QTest::addColumn<QByteArray>("bits");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("no input") << QByteArray() << QByteArray();
        QTest::newRow("0x00: four colons, all trailing") << QByteArray("00000000") << QByteArray();
        QTest::newRow("0x54: 2 and three loose bits") << QByteArray("01010 100") << QByteArray("2");
        QTest::newRow("carriage return") << QByteArray("10101") << QByteArray("\r\n");
        QTest::newRow("unassigned 10111") << QByteArray("10111") << QByteArray("_");
        QTest::newRow("unassigned 1111011") << QByteArray("1111011") << QByteArray("_");
        QTest::newRow("underscore") << QByteArray("1111111") << QByteArray("_");
        QTest::newRow("A then colon") << QByteArray("1100001 00") << QByteArray("A");
        QTest::newRow("colon inside is kept") << QByteArray("00 1100001") << QByteArray(":A");
        QTest::newRow("four colons from one byte")
            << QByteArray("00000000 1100001 0") << QByteArray("::::A");
        QTest::newRow("0xff: underscore, one bit dropped")
            << QByteArray("11111111") << QByteArray("_");
        QTest::newRow("frame head") << QByteArray("1100000 01001") << QByteArray("@1");
        QTest::newRow("response line")
            << QByteArray("1110010 1100110 10011 1110100 1111000 00 01001 01011 10010 01101 10101")
            << QByteArray("RF-TX:13.5\r\n");
    }

    void knownAnswers()
    {
        QFETCH(QByteArray, bits);
        QFETCH(QByteArray, text);
        QCOMPARE(decode(packBits(bits)), text);
    }

    void everySymbol()
    {
        for (const Symbol& s : kCode) {
            if (s.character == ':')
                continue;
            const QByteArray expected =
                s.character == '\r' ? QByteArray("\r\n") : QByteArray(1, s.character);
            QCOMPARE(decode(packBits(s.bits)), expected);
            // Behind a 7-bit symbol and in front of a 2-bit one, the boundaries still hold.
            QCOMPARE(decode(packBits(QByteArray("1111010") + s.bits + "00 1100001")),
                     "Z" + expected + ":A");
        }
    }

    void tablesRebuildTheSame()
    {
        const QByteArray sample = encode("@1XY:0123456789.-?>~,/_\r\nABCDEFGHIJKLMNOPQRSTUVW");
        const QByteArray before = decode(sample);
        initPacketCodeTables();
        QCOMPARE(decode(sample), before);
        QCOMPARE(before, QByteArray("@1XY:0123456789.-?>~,/_\r\nABCDEFGHIJKLMNOPQRSTUVW"));
    }

    void roundTrip()
    {
        QRandomGenerator random(77);
        const QByteArray alphabet(":0123456789.-?>@ABCDEFGHIJKLMNOPQRSTUVWXYZ~,/_\r");
        for (int round = 0; round < 300; ++round) {
            QByteArray text;
            const int length = int(random.bounded(400));
            for (int i = 0; i < length; ++i) {
                const char c = alphabet.at(int(random.bounded(alphabet.size())));
                text.append(c);
                if (c == '\r')
                    text.append('\n');
            }
            while (text.endsWith(':'))
                text.chop(1);
            QCOMPARE(decode(encode(text)), text);
        }
    }

    void outputBound_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("maxOut");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray returns = QByteArray("\r\n").repeated(6553);
        QTest::newRow("carriage returns into 2048")
            << returns << 2048 << QByteArray("\r\n").repeated(1023);
        QTest::newRow("CR LF is not split") << QByteArray("A\r\nB") << 3 << QByteArray("A");
        QTest::newRow("CR LF just fits") << QByteArray("A\r\nB") << 4 << QByteArray("A\r\n");
        QTest::newRow("room for the NUL only") << QByteArray("ABC") << 1 << QByteArray();
        QTest::newRow("letters cut") << QByteArray("ABCDEFG") << 4 << QByteArray("ABC");
        QTest::newRow("trailing colons of the cut text go")
            << QByteArray("AB::CD") << 5 << QByteArray("AB");
        QTest::newRow("four per byte")
            << QByteArray(":").repeated(4096) + "A" << 2048 << QByteArray();
    }

    void outputBound()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, maxOut);
        QFETCH(QByteArray, expected);

        const QByteArray packed = encode(text);
        QByteArray out(maxOut + 64, kGuard);
        const quint32 length = decodeCompressedPacket(out.data(), packed.constData(),
                                                      quint32(packed.size()), quint32(maxOut));
        QCOMPARE(out.left(int(length)), expected);
        QCOMPARE(out.at(int(length)), '\0');
        for (int i = maxOut; i < out.size(); ++i)
            QCOMPARE(out.at(i), kGuard);
    }

    void noOutputArea()
    {
        const QByteArray packed = encode("ABC");
        char out[4] = {kGuard, kGuard, kGuard, kGuard};
        QCOMPARE(decodeCompressedPacket(out, packed.constData(), quint32(packed.size()), 0), 0u);
        QCOMPARE(out[0], kGuard);
    }
};

QTEST_GUILESS_MAIN(TestPacketCode)
#include "tst_packetcode.moc"
