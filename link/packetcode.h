#pragma once

// The bit-packed character code of compressed ORVA frames: 2, 5 or 7 bits per character,
// the first two bits of a symbol giving its length.

#include <QtGlobal>

// Builds the process-wide tables. Call once before any thread decodes; the tables are only
// read afterwards, and a second call rebuilds the same contents.
void initPacketCodeTables();

// Decodes the `count` bytes at `in` into `out` as a NUL-terminated text and returns its length
// without the NUL. A carriage return comes out as CR LF, and ":" at the end of the text (the
// zero bits that fill the last byte) is removed. The text and its NUL never exceed `maxOut`
// bytes: decoding stops at the last whole character that fits, and a CR LF pair is never split.
quint32 decodeCompressedPacket(char* out, const char* in, quint32 count, quint32 maxOut);
