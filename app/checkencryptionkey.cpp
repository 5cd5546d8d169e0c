#include "app/checkencryptionkey.h"

// The derivation comes with the key workflow's own work.

checkEncryptionKey::checkEncryptionKey(QObject* parent) : QObject(parent) {}

checkEncryptionKey::~checkEncryptionKey() = default;

void checkEncryptionKey::checkEncryptionInfo(QString, QString, int) {}
