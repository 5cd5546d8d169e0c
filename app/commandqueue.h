#pragma once

#include <QByteArray>
#include <QString>

// How one ORVA command is put on the station-radio link: AES-256 in counter mode under the link
// key, as the link's Base64 text followed by "\r".
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

// "key <hidden>" or "iv <hidden>" for a command that carries the key or the IV, else empty.
QByteArray hiddenText(const QByteArray& command);
// The command as the operator may see it: without its line end, the key and the IV hidden.
QString shownCommand(const QByteArray& command);
// The CommandIndex of the command row whose status cell shows the command, or -1.
int statusCell(const QByteArray& command);

} // namespace RadioCommand
