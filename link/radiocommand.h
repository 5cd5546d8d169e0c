#pragma once

#include <QByteArray>
#include <QString>

// How one ORVA command is put on the station-radio link: AES-256 in counter mode under the link
// key, as the link's Base64 text followed by "\r". The window encrypts the commands it queues; the
// link encrypts a key change's own commands, under the key the unit's frames last showed.
namespace RadioCommand
{

// The text and its terminating zero must fit 302 bytes, which bounds a command to 207 bytes.
constexpr int kTextLimit = 302;
constexpr int kMaxCommandLength = 207;

enum class Result {
    Encrypted, // `wire` holds the bytes to send
    NoKey,     // no key or no IV yet
    BadKey,    // the key does not decode to 32 bytes or the IV not to 8
    TooLong,   // longer than kMaxCommandLength
    Failed,    // the cipher refused the command for another reason
};

// `keyText` and `ivText` are the Base64 texts the key workflow holds. The counter is always 0.
Result encrypt(const QByteArray& command, const QByteArray& keyText, const QString& ivText,
               QByteArray* wire);

} // namespace RadioCommand
