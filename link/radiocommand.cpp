#include "link/radiocommand.h"

#include "link/linkcrypto.h"

#include <algorithm>

namespace
{
constexpr int kPlainBufferLength = 512;
} // namespace

RadioCommand::Result RadioCommand::encrypt(const QByteArray& command, const QByteArray& keyText,
                                           const QString& ivText, QByteArray* wire)
{
    if (keyText.isEmpty() || ivText.isEmpty())
        return Result::NoKey;
    const QByteArray key = QByteArray::fromBase64(keyText);
    const QByteArray iv = QByteArray::fromBase64(ivText.toUtf8());
    if (key.size() != kAesKeyLength || iv.size() != kAesIvLength)
        return Result::BadKey;
    if (command.size() > kMaxCommandLength)
        return Result::TooLong;

    char plain[kPlainBufferLength];
    char text[kTextLimit + 2];
    std::copy(command.cbegin(), command.cend(), plain);
    quint16 textLength = 0;
    if (aesEncryptMessage(key, 0, iv, plain, static_cast<quint16>(command.size()), text,
                          &textLength, kTextLimit, false) ||
        textLength == 0)
        return Result::Failed;
    // The length counts the terminating zero.
    *wire = QByteArray(text, textLength - 1) + '\r';
    return Result::Encrypted;
}
