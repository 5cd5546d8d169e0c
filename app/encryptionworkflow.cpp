// Link encryption key workflow: start page, key file, key and IV commands.
// Bodies still to come; empty so that the window links and the form binds its slots.

#include "app/maingui.h"

void MainGUI::on_pushButton_enterEncryptionKeyProgram_clicked()
{
}

void MainGUI::on_pushButton_forceSelectKeyFile_clicked()
{
}

void MainGUI::on_pushButton_createEncryptionPasskey_clicked()
{
}

void MainGUI::on_pushButton_chooseEncryptionKeyLocation_clicked()
{
}

void MainGUI::on_pushButtonEnableEncryption_clicked()
{
}

void MainGUI::on_pushButtonDisableEncryption_clicked()
{
}

void MainGUI::setEncryptionStatus(int)
{
}

void MainGUI::setupEncryptionMode()
{
}

void MainGUI::on_encryption_status_change(int)
{
}

void MainGUI::on_encryption_confirmation_status_change(QString)
{
}

void MainGUI::on_encryption_passkey_set_timeout()
{
}

void MainGUI::finishedEncryptionSetup(QString, int, QString, QByteArray)
{
}

void MainGUI::setORVAencryptWritecommands(bool encrypt)
{
    // "ORVA Radio" encrypts every outgoing command; "ORVA Serial" sends them clear.
    encryptWriteCommands = encrypt;
}

void MainGUI::generateEncryptionKey(QString, QString, bool)
{
}
