#pragma once

#include <QByteArray>
#include <QList>

// Frames as an ORVA unit sends them: "@", the type character, two head bytes, the payload, "~",
// four hexadecimal digits of the 16-bit sum of every byte from "@" through "~", and "\r\n\r\n".

// The four upper-case digits of the sum of `bytes` (each taken as 0..255), modulo 65536.
QByteArray orvaChecksum(const QByteArray& bytes);

QByteArray orvaFrame(char type, const QByteArray& payload, const QByteArray& head = "00");

// An answer frame: every line follows a "\r\n", and a last "\r\n" stands before the "~", so the
// frame split at "\r\n" gives the head, the lines, the checksum and two empty parts.
QByteArray orvaResponse(char type, const QList<QByteArray>& lines, const QByteArray& head = "00");

// The packet character code of compressed frames, written most significant bit first and filled
// with zero bits. A carriage return takes the line feed after it along (the decoder restores it).
// Returns an empty array and sets *ok to false when the text holds a character the code lacks.
QByteArray packetEncode(const QByteArray& text, bool* ok = nullptr);

// An "E" frame whose payload is `inner` in the packet character code.
QByteArray orvaCompressedFrame(const QByteArray& inner, const QByteArray& head = "00");
