#include "tests/support/orvaframe.h"

namespace
{

// Symbol value and bit count of one character, or 0 bits when the code has no symbol for it.
struct Symbol {
    quint8 value = 0;
    int bits = 0;
};

Symbol symbolOf(char c)
{
    if (c == ':')
        return {0, 2};
    if (c >= '0' && c <= '7')
        return {quint8(8 + c - '0'), 5};
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
        break;
    }
    if (c >= 'A' && c <= 'Z')
        return {quint8(97 + c - 'A'), 7};
    return {};
}

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

QByteArray orvaResponse(char type, const QList<QByteArray>& lines, const QByteArray& head)
{
    QByteArray payload;
    for (const QByteArray& line : lines)
        payload += "\r\n" + line;
    return orvaFrame(type, payload + "\r\n", head);
}

QByteArray packetEncode(const QByteArray& text, bool* ok)
{
    if (ok)
        *ok = true;
    QByteArray out;
    quint32 pending = 0;
    int pendingBits = 0;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '\n' && i > 0 && text.at(i - 1) == '\r')
            continue;
        const Symbol s = symbolOf(c);
        if (s.bits == 0) {
            if (ok)
                *ok = false;
            return QByteArray();
        }
        pending = pending << s.bits | s.value;
        pendingBits += s.bits;
        while (pendingBits >= 8) {
            pendingBits -= 8;
            out += char(quint8(pending >> pendingBits));
        }
        pending &= (1u << pendingBits) - 1;
    }
    if (pendingBits > 0)
        out += char(quint8(pending << (8 - pendingBits)));
    return out;
}

QByteArray orvaCompressedFrame(const QByteArray& inner, const QByteArray& head)
{
    return orvaFrame('E', packetEncode(inner), head);
}
