#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// Derives the link key from a password and a salt, and draws a fresh IV, on a thread of its own.
class checkEncryptionKey : public QObject
{
    Q_OBJECT

public:
    explicit checkEncryptionKey(QObject* parent = nullptr);
    ~checkEncryptionKey() override;

    static constexpr int defaultIterations = 600000;

    // The first key text free of "/" in the sequence firstIterations, firstIterations + 1, ...
    static QString deriveKeyText(const QString& password, const QString& salt, int firstIterations);
    // Eight random bytes, most significant first.
    static QByteArray drawIv();

signals:
    void encryptionKeyReady(QString key, int code, QString salt, QByteArray iv);

public slots:
    void checkEncryptionInfo(QString password, QString salt, int code);
};
