#include "app/checkencryptionkey.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDebug>
#include <QPasswordDigestor>
#include <QRandomGenerator64>

checkEncryptionKey::checkEncryptionKey(QObject* parent) : QObject(parent) {}

checkEncryptionKey::~checkEncryptionKey() = default;

QString checkEncryptionKey::deriveKeyText(const QString& password, const QString& salt,
                                          int firstIterations)
{
    // The key text travels inside commands and file names, so a key whose Base64 holds "/" is
    // skipped; walking the counts in order lets the same password and salt find it again.
    const QByteArray passwordBytes = password.toUtf8();
    const QByteArray saltBytes = salt.toUtf8();
    int iterations = firstIterations;
    QString keyText;
    do {
        const QByteArray key = QPasswordDigestor::deriveKeyPbkdf2(
            QCryptographicHash::Sha256, passwordBytes, saltBytes, iterations, 32);
        keyText = QString::fromLatin1(key.toBase64());
        ++iterations;
    } while (keyText.contains(QLatin1Char('/')));
    return keyText;
}

QByteArray checkEncryptionKey::drawIv()
{
    QByteArray iv;
    QBuffer buffer(&iv);
    buffer.open(QIODevice::WriteOnly);
    QDataStream stream(&buffer);
    stream << quint64(QRandomGenerator64::global()->generate64());
    return iv;
}

void checkEncryptionKey::checkEncryptionInfo(QString password, QString salt, int code)
{
    const QString key = deriveKeyText(password, salt, defaultIterations);
    const QByteArray iv = drawIv();

    // The developer sees that a key was made, never the key or the IV themselves.
    qDebug().noquote() << "generated key (Base64 encoded): <hidden>";
    qDebug().noquote() << "generated key length: " + QString::number(key.size());
    qDebug().noquote() << "generated init. vector: <hidden>";
    qDebug().noquote() << "b64 decoded generated key (Base64 decoded): <hidden>";

    emit encryptionKeyReady(key, code, salt, iv);
}
