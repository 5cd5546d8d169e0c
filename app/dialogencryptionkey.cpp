#include "app/dialogencryptionkey.h"

// The form and its behaviour come with the key workflow's own work.

DialogEncryptionKey::DialogEncryptionKey(QWidget* parent) : QDialog(parent) {}

DialogEncryptionKey::~DialogEncryptionKey() = default;

void DialogEncryptionKey::clearValues() {}

void DialogEncryptionKey::on_radioButton_autoSalt_clicked() {}

void DialogEncryptionKey::on_radioButton_manualSalt_clicked() {}

void DialogEncryptionKey::on_pushButton_generateKey_clicked() {}

QString DialogEncryptionKey::generateSalt()
{
    return {};
}
