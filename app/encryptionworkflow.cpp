// Link encryption key workflow: start page, key file, key and IV commands.

#include "app/maingui.h"

#include "app/dataprotection.h"
#include "app/dialogencryptionkey.h"
#include "app/modalrunner.h"
#include "forms/maingui_ui.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QMovie>
#include <QStandardPaths>
#include <QThread>

namespace
{

constexpr int kMinPasswordLength = 8;
constexpr int kMaxPasswordLength = 32;
// A key file holds two short texts; anything far larger is not one, and the operator may pick
// any file at all.
constexpr qint64 kMaxKeyFileBytes = 64 * 1024;
const QString kIdleStyle = QStringLiteral("background: ") + QStringLiteral("#1F2933");

QString keyFileFolder()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString keyFilePath(const QString& salt)
{
    return QDir::cleanPath(keyFileFolder() + QDir::separator() + QStringLiteral("Keyfile_") + salt +
                           QStringLiteral(".txt"));
}

// Salt and IV of a key file; a file that cannot be read or parsed gives empty texts.
void readKeyFile(const QString& path, QString* salt, QString* iv)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly) && file.size() <= kMaxKeyFileBytes) {
        bytes = file.readAll();
        file.close();
    }
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    *salt = object.value(QStringLiteral("Salt")).toString();
    *iv = object.value(QStringLiteral("IV")).toString();
}

// The operator's choice of a key file; empty when cancelled.
QString askForKeyFile(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Select File"), QStringLiteral("/"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

void MainGUI::setupEncryptionMode()
{
    // The device link asks on every undecryptable frame; one start page is enough.
    if (encryptionStartShown)
        return;
    encryptionStartShown = true;
    ui->stackedWidget_MainLayout->setCurrentWidget(ui->page_encryptionStart);
    threadEncCheck->start(QThread::InheritPriority);
    ui->label_encryptionKeyEnter->show();
    ui->lineEdit_enterEncryptionKey->clear();
    ui->lineEdit_enterEncryptionKey->show();
    ui->pushButton_enterEncryptionKeyProgram->show();
    ui->pushButton_forgotCurrentEncryptionKey->hide();
    ui->label_encryptionKeyProgramMessage->hide();
    forceEncryptionKeySetup();
}

void MainGUI::forceEncryptionKeySetup()
{
    if (!encryptionStartShown)
        return;
    ui->pushButton_forceSelectKeyFile->hide();
    ui->label_loadingEncryptionKey->hide();
    if (ui->lineEdit_encryptionPasskey->text().isEmpty()) {
        // Without a key file there is no salt to derive with.
        ui->pushButton_forceSelectKeyFile->show();
        ui->lineEdit_enterEncryptionKey->hide();
        ui->pushButton_enterEncryptionKeyProgram->hide();
    } else {
        loadEncryptionFile();
    }
}

void MainGUI::loadEncryptionFile()
{
    const QString path = ui->lineEdit_encryptionPasskey->text();
    if (!QFileInfo::exists(path))
        return;
    readKeyFile(path, &encryptionSalt, &encryptionIV);
}

void MainGUI::on_pushButton_forceSelectKeyFile_clicked()
{
    const QString path = askForKeyFile(this);
    if (path.isEmpty())
        return;
    ui->lineEdit_encryptionPasskey->setText(path);
    if (!QFileInfo::exists(path))
        return;
    readKeyFile(path, &encryptionSalt, &encryptionIV);
    ui->lineEdit_enterEncryptionKey->show();
    ui->pushButton_enterEncryptionKeyProgram->show();
    forceEncryptionKeySetup();
}

void MainGUI::showKeyDerivationBusy(const QString& message)
{
    ui->label_encryptionKeyProgramMessage->setText(message);
    ui->label_encryptionKeyProgramMessage->show();
    if (!loadingMovie)
        loadingMovie = new QMovie(QStringLiteral(":/resources/loading.gif"), QByteArray(), this);
    ui->label_loadingEncryptionKey->setMovie(loadingMovie);
    ui->label_loadingEncryptionKey->show();
    loadingMovie->start();
}

void MainGUI::on_pushButton_enterEncryptionKeyProgram_clicked()
{
    ui->pushButton_forgotCurrentEncryptionKey->hide();
    const QString password = ui->lineEdit_enterEncryptionKey->text();
    ui->label_encryptionKeyEnter->hide();
    ui->pushButton_forceSelectKeyFile->hide();
    ui->lineEdit_enterEncryptionKey->hide();
    ui->pushButton_enterEncryptionKeyProgram->hide();
    showKeyDerivationBusy(QStringLiteral("Loading Encryption key..."));
    emit startEncryptionKeyCheck(password, encryptionSalt, 0);
}

void MainGUI::on_pushButton_chooseEncryptionKeyLocation_clicked()
{
    const QString path = askForKeyFile(this);
    if (path.isEmpty()) {
        qDebug() << "No Encryption file location set.";
        return;
    }
    ui->lineEdit_encryptionPasskey->setText(path);
    loadEncryptionFile();
}

void MainGUI::on_pushButton_createEncryptionPasskey_clicked()
{
    ui->pushButton_createEncryptionPasskey->setStyleSheet(QStringLiteral("background: blue"));
    passkeyTimer.start(60000);
    encryptionKeyDialog->show();
    emit clearEncryptionData();
}

void MainGUI::generateEncryptionKey(QString password, QString salt, bool)
{
    if (password.size() < kMinPasswordLength || password.size() > kMaxPasswordLength) {
        QMessageBox box;
        box.setText(QStringLiteral("The entered Password must be between ") +
                    QString::number(kMinPasswordLength) + QStringLiteral(" and ") +
                    QString::number(kMaxPasswordLength) + QStringLiteral(" characters in length.") +
                    QStringLiteral("\r\nYours is: ") + QString::number(password.size()) +
                    QStringLiteral(" characters in length."));
        box.setStandardButtons(QMessageBox::Ok);
        runModal(box);
        return;
    }
    threadEncCheck->start(QThread::InheritPriority);
    if (encryptionStartShown) {
        ui->pushButton_forgotCurrentEncryptionKey->hide();
        ui->label_encryptionKeyEnter->hide();
        ui->pushButton_forceSelectKeyFile->hide();
        ui->lineEdit_enterEncryptionKey->hide();
        ui->pushButton_enterEncryptionKeyProgram->hide();
        showKeyDerivationBusy(QStringLiteral("Resetting Encryption key..."));
        emit startEncryptionKeyCheck(password, salt, 0);
    } else {
        emit startEncryptionKeyCheck(password, salt, 1);
    }
}

void MainGUI::finishedEncryptionSetup(QString key, int code, QString salt, QByteArray iv)
{
    if (threadEncCheck->isRunning()) {
        threadEncCheck->quit();
        threadEncCheck->wait();
    }
    if (code == 0) {
        if (loadingMovie)
            loadingMovie->stop();
        ui->stackedWidget_MainLayout->setCurrentWidget(ui->page_mainLayout);
        ui->stackedWidget_mainPages->setCurrentWidget(ui->pageDashboardTrends);
        encryptionStartShown = false;
        on_pushButton_clearNotifications_clicked();
    } else if (code == 1) {
        qDebug() << "NOTE: GENERATING NEW ENCRYPTION KEY SOURCE 1";
        if (saveEncryptedFile(salt, key, iv, true)) {
            qDebug() << "INFO: Generated New Encryption Key, Salt and IV stored in file";
            emit logDataMainMsg("INFO: Generated New Encryption Key, Salt and IV stored in file " +
                                ui->lineEdit_encryptionPasskey->text().toUtf8());
        } else {
            const QByteArray line("ERROR: Problem saving new encryption key Salt and IV in file.");
            qDebug().noquote() << line;
            emit logDataMainMsg(line);
        }
        keyConfirmed = false;
        writecommands("key" + key.toUtf8() + "\r");
        writecommands("iv" + iv.toBase64() + "\r");
        encryptionIV = QString::fromLatin1(iv.toBase64());
    }
    encryptionKey = key.toUtf8();
    emit setEncryptionKeyMain(encryptionKey, encryptionIV.toUtf8());
}

bool MainGUI::saveEncryptedFile(QString salt, QString key, QByteArray iv, bool protect)
{
    const QString folder = keyFileFolder();
    const QString path = keyFilePath(salt);
    // A manual salt is typed by the operator: one holding separators or ".." must not place the
    // key file outside the data folder.
    if (QFileInfo(path).absolutePath() != QFileInfo(folder).absoluteFilePath())
        return false;
    QDir().mkpath(folder);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Text))
        return false;
    QJsonObject object;
    QByteArray protectedKey;
    if (!protect || protectData(key.toUtf8(), QStringLiteral("encrypted keyfile"), &protectedKey)) {
        object.insert(QStringLiteral("Salt"), salt);
        object.insert(QStringLiteral("IV"), QString::fromLatin1(iv.toBase64()));
    }
    file.write(QJsonDocument(object).toJson(QJsonDocument::Indented) + "\n");
    file.flush();
    file.close();
    ui->lineEdit_encryptionPasskey->setText(QFileInfo(file).absoluteFilePath());
    return true;
}

void MainGUI::on_encryption_confirmation_status_change(QString reply)
{
    if (reply == QLatin1String("ERROR")) {
        ui->pushButton_createEncryptionPasskey->setStyleSheet(QStringLiteral("background: red"));
        return;
    }
    // Success follows the key's acknowledgement alone; the IV's adds nothing.
    if (reply == QLatin1String("KEY"))
        keyConfirmed = true;
    if (keyConfirmed) {
        ui->pushButton_createEncryptionPasskey->setStyleSheet(QStringLiteral("background: green"));
        passkeyTimer.stop();
    }
}

void MainGUI::on_encryption_passkey_set_timeout()
{
    ui->pushButton_createEncryptionPasskey->setStyleSheet(QStringLiteral("background: red"));
    passkeyTimer.stop();
}

void MainGUI::on_pushButtonEnableEncryption_clicked()
{
    writecommands("encrypt ON\r\n");
    ui->pushButtonEnableEncryption->setStyleSheet(QStringLiteral("background: blue"));
    ui->pushButtonDisableEncryption->setStyleSheet(kIdleStyle);
}

void MainGUI::on_pushButtonDisableEncryption_clicked()
{
    writecommands("encrypt OFF\r\n");
    ui->pushButtonEnableEncryption->setStyleSheet(kIdleStyle);
    ui->pushButtonDisableEncryption->setStyleSheet(QStringLiteral("background: blue"));
}

void MainGUI::on_encryption_status_change(int state)
{
    QString enable = QStringLiteral("background: red");
    QString disable = enable;
    if (state == 1) {
        enable = QStringLiteral("background: green");
        disable = kIdleStyle;
    } else if (state == 2) {
        enable = kIdleStyle;
        disable = QStringLiteral("background: green");
    }
    ui->pushButtonEnableEncryption->setStyleSheet(enable);
    ui->pushButtonDisableEncryption->setStyleSheet(disable);
}

void MainGUI::setEncryptionStatus(int state)
{
    // The device link reports after every frame; only a change is shown.
    if (state == incomingEncryptionState)
        return;
    incomingEncryptionState = state;
    switch (state) {
    case 0:
        ui->pushButton_encryptionStatus->setIcon(
            QIcon(QStringLiteral(":/resources/graylight_icon_small.png")));
        displaySystemMessages(QStringLiteral("INFO: Incoming data is Not Encrypted."));
        emit logDataMainMsg("INFO: Incoming data format changed to Not Encrypted.");
        break;
    case 1:
        ui->pushButton_encryptionStatus->setIcon(
            QIcon(QStringLiteral(":/resources/greenlight_icon_small.png")));
        displaySystemMessages(QStringLiteral("INFO: Incoming data is Encrypted."));
        emit logDataMainMsg("INFO: Incoming data format changed to Encrypted.");
        break;
    case 2:
        ui->pushButton_encryptionStatus->setIcon(
            QIcon(QStringLiteral(":/resources/redlight_icon_small.png")));
        displayErrorMessages(
            QStringLiteral("WARNING: Incoming data is Encrypted, but has error decrypting."));
        emit logDataMainMsg(
            "ERROR: Incoming data format changed to Encrypted, but error decrypting.");
        break;
    default:
        break;
    }
}

void MainGUI::setORVAencryptWritecommands(bool encrypt)
{
    // "ORVA Radio" encrypts every outgoing command; "ORVA Serial" sends them clear.
    encryptWriteCommands = encrypt;
}
