// Link encryption key workflow: start page, key file, key and IV commands.

#include "app/maingui.h"

#include "app/commandqueue.h"
#include "app/commandstyles.h"
#include "app/dataprotection.h"
#include "app/dialogencryptionkey.h"
#include "app/modalrunner.h"
#include "forms/maingui_ui.h"
#include "link/data_incoming.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QMovie>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

namespace
{

constexpr int kMinPasswordLength = 8;
constexpr int kMaxPasswordLength = 32;
// A key file holds two short texts; anything far larger is not one, and the operator may pick
// any file at all.
constexpr qint64 kMaxKeyFileBytes = 64 * 1024;
constexpr int kPasskeyTimeoutMs = 60000;
const char kKeyNotTaken[] = "ERROR: The new encryption key was not taken; the unit may still hold "
                            "the key before the change, which stays in use.";

// What the status light, the message panes and the log say of each way the incoming data is
// wrapped.
struct IncomingStateView {
    IncomingEncryptionState state;
    const char* icon;
    bool error; // the error pane, else the system pane
    const char* message;
    const char* logLine;
};
const IncomingStateView kIncomingStateViews[] = {
    {IncomingNotEncrypted, ":/resources/graylight_icon_small.png", false,
     "INFO: Incoming data is Not Encrypted.",
     "INFO: Incoming data format changed to Not Encrypted."},
    {IncomingEncrypted, ":/resources/greenlight_icon_small.png", false,
     "INFO: Incoming data is Encrypted.", "INFO: Incoming data format changed to Encrypted."},
    {IncomingDecryptError, ":/resources/redlight_icon_small.png", true,
     "WARNING: Incoming data is Encrypted, but has error decrypting.",
     "ERROR: Incoming data format changed to Encrypted, but error decrypting."},
};

QString keyFileFolder()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString keyFilePath(const QString& salt)
{
    return QDir::cleanPath(keyFileFolder() + QDir::separator() + QStringLiteral("Keyfile_") + salt +
                           QStringLiteral(".txt"));
}

// The salt is the variable part of the key file's name: it must name one file in the data
// folder, never another folder's file or another key's.
QString saltProblem(const QString& salt)
{
    bool control = false;
    for (const QChar c : salt)
        control = control || c.category() == QChar::Other_Control;
    if (control || salt.contains(QLatin1Char('/')) || salt.contains(QLatin1Char('\\')) ||
        salt.contains(QLatin1String("..")))
        return QStringLiteral("The salt must not contain \"/\", \"\\\", \"..\" or control "
                              "characters, since it names the key file.");
    return QString();
}

// The key file of the key in use is the only way back to the unit's key should a change fail:
// no new key may replace it before the unit has confirmed that key.
bool isKeyFileInUse(const MainGUI& window, const QString& salt)
{
    const QString inUse =
        QFileInfo(window.ui->lineEdit_encryptionPasskey->text()).canonicalFilePath();
    return !inUse.isEmpty() && QFileInfo(keyFilePath(salt)).canonicalFilePath() == inUse;
}

// Salt and IV of a key file; a file that cannot be read or parsed gives empty texts. Only a
// regular file is read, and never more than a key file can hold: a device or a pipe may report
// no size and never end.
void readKeyFile(const QString& path, QString* salt, QString* iv)
{
    QFile file(path);
    QByteArray bytes;
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
        bytes = file.read(kMaxKeyFileBytes + 1);
        if (bytes.size() > kMaxKeyFileBytes)
            bytes.clear();
    }
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    *salt = object.value(QStringLiteral("Salt")).toString();
    *iv = object.value(QStringLiteral("IV")).toString();
}

// The start page's key entry gives way to the busy note while a key is derived.
void hideKeyEntry(MainGUI& window)
{
    Ui_MainGUI& ui = *window.ui;
    ui.pushButton_forgotCurrentEncryptionKey->hide();
    ui.label_encryptionKeyEnter->hide();
    ui.pushButton_forceSelectKeyFile->hide();
    ui.lineEdit_enterEncryptionKey->hide();
    ui.pushButton_enterEncryptionKeyProgram->hide();
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

// A key change that did not go as asked: the operator is told why.
void reportKeyError(MainGUI& window, const QByteArray& line)
{
    qDebug().noquote() << line;
    emit window.logDataMainMsg(line);
    window.displayErrorMessages(QString::fromUtf8(line));
}

// Which key is in use, and why: once for each change.
void reportKeyInUse(MainGUI& window, const QByteArray& line)
{
    qDebug().noquote() << line;
    emit window.logDataMainMsg(line);
    window.displaySystemMessages(QString::fromUtf8(line));
}

// Nothing of a new key has reached the unit or the link.
void refuseKeyChange(MainGUI& window, const QByteArray& line)
{
    reportKeyError(window, line);
    window.ui->pushButton_createEncryptionPasskey->setStyleSheet(CommandStyles::failed());
    window.passkeyTimer.stop();
}

// Until the unit has answered the change's IV, or the change ended and the unit's frames have
// shown which key it kept, a second change would leave the station and the unit on two keys.
bool refuseWhileKeyChangeOpen(MainGUI& window)
{
    if (!window.keyChange.open)
        return false;
    reportKeyError(window,
                   "ERROR: The last encryption key change has not settled yet: the unit has "
                   "not answered its IV, or its frames have not shown which key it uses. "
                   "No new key was made.");
    return true;
}

QByteArray keyCommandOf(const QByteArray& key)
{
    return "key" + key + "\r";
}

// The link tells only of a change whose key it has: while the change's key waits in the queue,
// what it tells of keys in use concerns the change before, which this one replaces.
bool linkHasKeyChange(const MainGUI::KeyChange& change)
{
    return !change.after.key.isEmpty() && !change.unsent.contains(keyCommandOf(change.after.key));
}

// The key file is written before anything is sent, so that the new key can always be derived
// again; the window and the link keep the old key until the unit uses the new one.
void startKeyChange(MainGUI& window, const QString& key, const QString& salt, const QByteArray& iv)
{
    if (refuseWhileKeyChangeOpen(window))
        return;
    QByteArray probe;
    if (window.encryptWriteCommands &&
        RadioCommand::encrypt(QByteArray(), window.encryptionKey, window.encryptionIV, &probe) !=
            RadioCommand::Result::Encrypted) {
        refuseKeyChange(window, "ERROR: No encryption key in use for the station radio; the new "
                                "key cannot be sent to the unit.");
        return;
    }
    if (isKeyFileInUse(window, salt)) {
        refuseKeyChange(window, "ERROR: The new key's salt is that of the key in use; its key "
                                "file is kept and the new key was not sent.");
        return;
    }
    if (!window.saveEncryptedFile(salt, key, iv, true)) {
        refuseKeyChange(window, "ERROR: Problem saving new encryption key Salt and IV in file.");
        return;
    }
    const QString file = keyFilePath(salt);
    qDebug() << "INFO: Generated New Encryption Key, Salt and IV stored in file";
    emit window.logDataMainMsg("INFO: Generated New Encryption Key, Salt and IV stored in file " +
                               file.toUtf8());

    const QByteArray keyText = key.toUtf8();
    const QByteArray ivText = iv.toBase64();
    const QByteArray keyCommand = keyCommandOf(keyText);
    const QByteArray ivCommand = "iv" + ivText + "\r";
    window.keyConfirmed = false;
    const MainGUI::LinkKey before{window.encryptionKey, window.encryptionIV, window.encryptionSalt,
                                  window.ui->lineEdit_encryptionPasskey->text()};
    const MainGUI::LinkKey after{keyText, QString::fromLatin1(ivText), salt, file};
    window.keyChange = {true, true, false, before, after, {keyCommand, ivCommand}};
    // Told ahead of the commands, on the same queue.
    data_incoming* link = window.dataIncoming;
    const bool radio = window.encryptWriteCommands;
    QMetaObject::invokeMethod(
        link, [link, keyText, ivText, radio] { link->beginKeyChange(keyText, ivText, radio); },
        Qt::QueuedConnection);
    window.writecommands(keyCommand);
    window.writecommands(ivCommand);
    // Counted from the sending: the dialog may have been open for longer than the time-out.
    window.passkeyTimer.start(kPasskeyTimeoutMs);
}

// The key the window uses, with its salt and the location of its key file. The location must
// survive a crash: a station started again derives the key named there.
void useKey(MainGUI& window, const MainGUI::LinkKey& key)
{
    window.encryptionKey = key.key;
    window.encryptionIV = key.iv;
    window.encryptionSalt = key.salt;
    window.ui->lineEdit_encryptionPasskey->setText(key.keyFile);
    window.saveSettings();
}

// The window stops waiting: what of the change is still queued here never goes.
void stopWaiting(MainGUI& window)
{
    MainGUI::KeyChange& change = window.keyChange;
    change.pending = false;
    window.passkeyTimer.stop();
    window.ui->pushButton_createEncryptionPasskey->setStyleSheet(CommandStyles::failed());
    for (const QByteArray& command : qAsConst(change.unsent))
        window.commandQueue.removeOne(command);
    change.unsent.clear();
}

// The link put the new key in use: the unit answered its IV, or its frames use the new key (also
// after the change ended).
void newKeyInUse(MainGUI& window, KeyChangeState state)
{
    MainGUI::KeyChange& change = window.keyChange;
    if (!linkHasKeyChange(change) || window.encryptionKey == change.after.key)
        return;
    change.pending = false;
    window.passkeyTimer.stop();
    window.keyConfirmed = true;
    useKey(window, change.after);
    window.ui->pushButton_createEncryptionPasskey->setStyleSheet(CommandStyles::received());
    reportKeyInUse(window, state == KeyChangeState::Confirmed
                               ? "INFO: The unit confirmed the new encryption key and its IV; it "
                                 "is in use."
                               : "INFO: The unit's frames use the new encryption key; it is in "
                                 "use.");
}

// The unit's frames show the key before the change: it stays in use, or it is in use again
// after the new key was (a unit started again keeps a new key only with its IV).
void oldKeyInUse(MainGUI& window)
{
    MainGUI::KeyChange& change = window.keyChange;
    if (!linkHasKeyChange(change) || change.pending)
        return;
    if (window.encryptionKey != change.after.key) {
        reportKeyInUse(window, "INFO: The unit's frames use the key before the change; it stays "
                               "in use.");
        return;
    }
    window.keyConfirmed = false;
    useKey(window, change.before);
    window.ui->pushButton_createEncryptionPasskey->setStyleSheet(CommandStyles::failed());
    reportKeyInUse(window, "INFO: The unit's frames use the key before the change again; it is in "
                           "use.");
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
    ui->label_loadingEncryptionKey->hide();
    // The key file named may not be the unit's: a station started again while a key change was
    // open names the key in use then. Another file can always be chosen.
    ui->pushButton_forceSelectKeyFile->show();
    if (ui->lineEdit_encryptionPasskey->text().isEmpty()) {
        // Without a key file there is no salt to derive with.
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
    const QString password = ui->lineEdit_enterEncryptionKey->text();
    hideKeyEntry(*this);
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
    // A key being derived is a change about to begin.
    if (threadEncCheck->isRunning()) {
        reportKeyError(*this, "ERROR: A new encryption key is being made; wait for it before "
                              "asking for another.");
        return;
    }
    if (refuseWhileKeyChangeOpen(*this))
        return;
    ui->pushButton_createEncryptionPasskey->setStyleSheet(CommandStyles::waiting());
    passkeyTimer.start(kPasskeyTimeoutMs);
    encryptionKeyDialog->show();
    emit clearEncryptionData();
}

void MainGUI::generateEncryptionKey(QString password, QString salt, bool)
{
    QString refusal = saltProblem(salt);
    if (refusal.isEmpty() && !encryptionStartShown && isKeyFileInUse(*this, salt))
        refusal = QStringLiteral("The salt is that of the key in use. Choose another salt: the "
                                 "key file in use is kept until the unit confirms a new key.");
    if (password.size() < kMinPasswordLength || password.size() > kMaxPasswordLength)
        refusal = QStringLiteral("The entered Password must be between ") +
                  QString::number(kMinPasswordLength) + QStringLiteral(" and ") +
                  QString::number(kMaxPasswordLength) + QStringLiteral(" characters in length.") +
                  QStringLiteral("\r\nYours is: ") + QString::number(password.size()) +
                  QStringLiteral(" characters in length.");
    if (!refusal.isEmpty()) {
        QMessageBox box;
        box.setText(refusal);
        box.setStandardButtons(QMessageBox::Ok);
        runModal(box);
        return;
    }
    threadEncCheck->start(QThread::InheritPriority);
    if (encryptionStartShown) {
        hideKeyEntry(*this);
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
        // The operator's key replaces both keys of the last change, here and at the link.
        if (keyChange.pending)
            stopWaiting(*this);
        keyChange = {};
        // The key file chosen here must survive a crash, as a taken key's does.
        saveSettings();
    } else if (code == 1) {
        qDebug() << "NOTE: GENERATING NEW ENCRYPTION KEY SOURCE 1";
        startKeyChange(*this, key, salt, iv);
        return;
    }
    encryptionKey = key.toUtf8();
    emit setEncryptionKeyMain(encryptionKey, encryptionIV.toUtf8());
}

bool MainGUI::saveEncryptedFile(QString salt, QString key, QByteArray iv, bool protect)
{
    if (!saltProblem(salt).isEmpty())
        return false;
    QByteArray protectedKey;
    // An unprotected key file is no key file: nothing is written.
    if (protect && !protectData(key.toUtf8(), QStringLiteral("encrypted keyfile"), &protectedKey))
        return false;
    QJsonObject object;
    object.insert(QStringLiteral("Salt"), salt);
    object.insert(QStringLiteral("IV"), QString::fromLatin1(iv.toBase64()));
    QDir().mkpath(keyFileFolder());
    // Whole or not at all: an earlier file of the same salt stays as it was on failure.
    QSaveFile file(keyFilePath(salt));
    return file.open(QIODevice::WriteOnly | QIODevice::Text) &&
           file.write(QJsonDocument(object).toJson(QJsonDocument::Indented) + "\n") >= 0 &&
           file.commit();
}

bool MainGUI::KeyChange::holdsRadioCommands() const
{
    return open && !unsent.contains(keyCommandOf(after.key));
}

void MainGUI::on_encryption_confirmation_status_change(KeyChangeState state)
{
    // The link tells only of a change it holds; an answer with no change under way is no news.
    switch (state) {
    case KeyChangeState::Confirmed:
    case KeyChangeState::SeenNewKey:
        newKeyInUse(*this, state);
        break;
    case KeyChangeState::SeenOldKey:
        oldKeyInUse(*this);
        break;
    case KeyChangeState::KeyAnswered:
        // Also after the change settled: the unit may switch with this answer.
        if (linkHasKeyChange(keyChange))
            keyChange.open = true;
        if (keyChange.pending)
            keyChange.keyAnswered = true;
        break;
    case KeyChangeState::Refused:
    case KeyChangeState::GivenUp:
        if (!keyChange.pending)
            return;
        stopWaiting(*this);
        reportKeyError(*this, kKeyNotTaken);
        break;
    case KeyChangeState::Closed:
        if (keyChange.pending)
            stopWaiting(*this);
        keyChange.open = false;
        break;
    }
}

void MainGUI::on_encryption_passkey_set_timeout()
{
    ui->pushButton_createEncryptionPasskey->setStyleSheet(CommandStyles::failed());
    passkeyTimer.stop();
    if (!keyChange.pending)
        return;
    // Nothing more of the change goes, here or at the link: a key or IV that reached the unit
    // after the change was given up would change its key with nobody waiting for the answer. The
    // link still reads the unit's frames under both keys and follows them; the new key's file is
    // named so that a station started again can derive that key too.
    stopWaiting(*this);
    data_incoming* link = dataIncoming;
    QMetaObject::invokeMethod(
        link, [link] { link->stopSendingKeyChange("Key Change Timed Out"); }, Qt::QueuedConnection);
    const QByteArray unanswered =
        keyChange.keyAnswered
            ? "ERROR: The unit confirmed the new encryption key but did not answer its IV; "
            : "ERROR: The unit did not confirm the new encryption key; ";
    reportKeyError(*this, unanswered +
                              "the current key stays in use. The new key's salt and IV "
                              "are kept in " +
                              keyChange.after.keyFile.toUtf8());
}

void MainGUI::on_pushButtonEnableEncryption_clicked()
{
    writecommands("encrypt ON\r\n");
    ui->pushButtonEnableEncryption->setStyleSheet(CommandStyles::waiting());
    ui->pushButtonDisableEncryption->setStyleSheet(CommandStyles::neutral());
}

void MainGUI::on_pushButtonDisableEncryption_clicked()
{
    writecommands("encrypt OFF\r\n");
    ui->pushButtonEnableEncryption->setStyleSheet(CommandStyles::neutral());
    ui->pushButtonDisableEncryption->setStyleSheet(CommandStyles::waiting());
}

void MainGUI::on_encryption_status_change(int state)
{
    QString enable = CommandStyles::failed();
    QString disable = enable;
    if (state == UnitEncryptionOn) {
        enable = CommandStyles::received();
        disable = CommandStyles::neutral();
    } else if (state == UnitEncryptionOff) {
        enable = CommandStyles::neutral();
        disable = CommandStyles::received();
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
    for (const IncomingStateView& view : kIncomingStateViews) {
        if (view.state != state)
            continue;
        ui->pushButton_encryptionStatus->setIcon(QIcon(QString::fromLatin1(view.icon)));
        const QString message = QString::fromLatin1(view.message);
        if (view.error)
            displayErrorMessages(message);
        else
            displaySystemMessages(message);
        emit logDataMainMsg(view.logLine);
    }
}

void MainGUI::setORVAencryptWritecommands(bool encrypt)
{
    // "ORVA Radio" encrypts every outgoing command; "ORVA Serial" sends them clear.
    encryptWriteCommands = encrypt;
}
