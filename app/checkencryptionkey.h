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

signals:
    void encryptionKeyReady(QString key, int code, QString salt, QByteArray iv);

public slots:
    void checkEncryptionInfo(QString password, QString salt, int code);
};
