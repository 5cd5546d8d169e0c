// The one way out for device commands: BRQ commands at once, ORVA commands one per second,
// encrypted on the station-radio link.

#include "app/commandqueue.h"

#include "app/maingui.h"
#include "link/linkcrypto.h"

#include <QDebug>

namespace
{
constexpr int kCommandWriteIntervalMs = 1000;
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

void MainGUI::writecommands(QByteArray cmd)
{
    if (deviceType == DeviceTypes::BRQ) {
        emit writeSerial(cmd);
        return;
    }
    commandQueue.append(cmd);
    if (!cmdWriteTimer->isActive())
        cmdWriteTimer->start(kCommandWriteIntervalMs);
}

void MainGUI::try_command_write()
{
    if (commandQueue.isEmpty()) {
        cmdWriteTimer->stop();
        return;
    }
    const QByteArray command = commandQueue.takeFirst();
    if (!encryptWriteCommands) {
        emit writeSerial(command);
        return;
    }

    QByteArray wire;
    switch (RadioCommand::encrypt(command, encryptionKey, encryptionIV, &wire)) {
    case RadioCommand::Result::Encrypted:
        emit writeSerial(wire);
        return;
    case RadioCommand::Result::NoKey:
        return;
    case RadioCommand::Result::TooLong: {
        const QString line =
            QStringLiteral("ERROR: Command of %1 bytes too long to encrypt for the "
                           "station radio (at most %2); not sent.")
                .arg(command.size())
                .arg(RadioCommand::kMaxCommandLength);
        emit logDataMainMsg(line.toUtf8());
        displayErrorMessages(line);
        return;
    }
    case RadioCommand::Result::BadKey:
    case RadioCommand::Result::Failed:
        qDebug("CRITICAL: AES_ERROR, Unable to Encrypt Data");
        return;
    }
}
