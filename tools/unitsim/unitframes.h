#pragma once

#include <QByteArray>
#include <QList>

// What an ORVA unit puts on the wire: frames with their checksum, the packet character code of
// compressed frames and the link encryption of frames and station-radio commands.
namespace unitsim
{

// The four upper-case hexadecimal digits of the sum of `bytes` (each taken as 0..255), modulo
// 65536.
QByteArray orvaChecksum(const QByteArray& bytes);

// "@", the type character, the two head bytes, the payload, "~", the checksum of every byte from
// "@" through "~", and "\r\n\r\n".
QByteArray orvaFrame(char type, const QByteArray& payload, const QByteArray& head = "00");

// An answer frame: every line follows a "\r\n" and one more "\r\n" stands before the "~", so the
// frame split at "\r\n" gives the head, the lines, the checksum line and two empty parts.
QByteArray orvaAnswer(char type, const QList<QByteArray>& lines, const QByteArray& head = "00");

// The packet character code, most significant bit first, the last byte filled with zero bits.
// A CR LF pair is one carriage-return symbol. Empty, with *ok false, when the text holds a
// character the code lacks (lower-case letters, blanks, "=", a lone line feed).
QByteArray packetEncode(const QByteArray& text, bool* ok = nullptr);

// The link encryption as text (counter block, AES-256 counter mode, the Base64 variant). `key` and
// `iv` are the raw 32 and 8 bytes. Empty on failure.
QByteArray encryptText(const QByteArray& key, const QByteArray& iv, quint32 counter,
                       const QByteArray& plain);

// The plaintext of one line of the Base64 variant, or false when the line is not such a text or
// does not decrypt with `key`.
bool decryptText(const QByteArray& key, const QByteArray& text, QByteArray* plain);

} // namespace unitsim
