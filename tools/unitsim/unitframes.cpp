#include "tools/unitsim/unitframes.h"

#include "link/linkcrypto.h"

#include <vector>

namespace unitsim
{

namespace
{

struct Symbol {
    quint8 value = 0;
    int bits = 0; // 0: the code has no symbol for the character
};

Symbol symbolOf(char c)
{
    if (c == ':')
        return {0, 2};
    if (c >= '0' && c <= '7')
        return {quint8(8 + c - '0'), 5};
    if (c >= 'A' && c <= 'Z')
        return {quint8(97 + c - 'A'), 7};
    switch (c) {
    case '8':
        return {16, 5};
    case '9':
        return {17, 5};
    case '.':
        return {18, 5};
    case '-':
        return {19, 5};
    case '?':
        return {20, 5};
    case '\r':
        return {21, 5};
    case '>':
        return {22, 5};
    case '@':
        return {96, 7};
    case '~':
        return {124, 7};
    case ',':
        return {125, 7};
    case '/':
        return {126, 7};
    case '_':
        return {127, 7};
    default:
        return {};
    }
}

bool isVariantBase64(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '=';
}

// The largest station-radio command the window can encrypt is 207 bytes; anything much longer
// on the line is not one.
constexpr int kMaxCommandText = 1024;

} // namespace

QByteArray orvaChecksum(const QByteArray& bytes)
{
    quint32 sum = 0;
    for (char c : bytes)
        sum += quint8(c);
    return QByteArray::number(sum & 0xFFFF, 16).toUpper().rightJustified(4, '0');
}

QByteArray orvaFrame(char type, const QByteArray& payload, const QByteArray& head)
{
    const QByteArray body = QByteArray("@") + type + head + payload + '~';
    return body + orvaChecksum(body) + "\r\n\r\n";
}

QByteArray orvaAnswer(char type, const QList<QByteArray>& lines, const QByteArray& head)
{
    QByteArray payload;
    for (const QByteArray& line : lines)
        payload += "\r\n" + line;
    return orvaFrame(type, payload + "\r\n", head);
}

QByteArray packetEncode(const QByteArray& text, bool* ok)
{
    if (ok)
        *ok = false;
    QByteArray packed;
    quint32 pending = 0;
    int pendingBits = 0;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '\n' && i > 0 && text.at(i - 1) == '\r')
            continue; // the decoder restores it after the carriage return
        const Symbol s = symbolOf(c);
        if (s.bits == 0)
            return QByteArray();
        pending = pending << s.bits | s.value;
        pendingBits += s.bits;
        while (pendingBits >= 8) {
            pendingBits -= 8;
            packed += char(quint8(pending >> pendingBits));
        }
        pending &= (1u << pendingBits) - 1;
    }
    if (pendingBits > 0)
        packed += char(quint8(pending << (8 - pendingBits)));
    if (ok)
        *ok = true;
    return packed;
}

QByteArray encryptText(const QByteArray& key, const QByteArray& iv, quint32 counter,
                       const QByteArray& plain)
{
    if (plain.size() > 0xFFFF - 64)
        return QByteArray();
    const int total = kAesBlockLength + (plain.size() / kAesBlockLength + 1) * kAesBlockLength;
    std::vector<char> out(size_t((total + 2) / 3 * 4 + 1));
    quint16 length = 0;
    if (aesEncryptMessage(key, counter, iv, plain.constData(), quint16(plain.size()), out.data(),
                          &length, quint16(out.size()), false))
        return QByteArray();
    return QByteArray(out.data(), length - 1); // without the terminating NUL
}

bool decryptText(const QByteArray& key, const QByteArray& text, QByteArray* plain)
{
    if (text.size() < 24 || text.size() > kMaxCommandText || text.size() % 4 != 0)
        return false;
    for (char c : text)
        if (!isVariantBase64(c))
            return false;
    std::vector<char> out(size_t(text.size()));
    quint16 length = 0;
    if (aesDecryptMessage(key, text.constData(), 0, out.data(), &length, quint16(out.size()),
                          false))
        return false;
    *plain = QByteArray(out.data(), length);
    return true;
}

} // namespace unitsim
