// The link key: its derivation, the dialog that asks for a new one, the key file, and the key
// change against a unit on a pseudo-terminal.

#include "tests/support/testsupport.h"

#include "app/checkencryptionkey.h"
#include "app/dataprotection.h"
#include "app/dialogencryptionkey.h"
#include "app/dialogselectdevice.h"
#include "app/maingui.h"
#include "app/modalrunner.h"
#include "app/settingsfile.h"
#include "forms/maingui_ui.h"
#include "link/data_incoming.h"
#include "logging/logging.h"
#include "tests/app/aesreference.h"
#include "tests/app/apptest.h"
#include "tests/support/runonthread.h"
#include "tests/support/scopedclock.h"
#include "tools/unitsim/unitsim.h"

#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMutex>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QThread>

#include <memory>
#include <sys/stat.h>

using unitsim::UnitOptions;
using unitsim::UnitSim;

namespace
{

// The unit's key when a test begins, and the new key a test hands it.
const QByteArray kOldKey =
    QByteArray::fromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
const QByteArray kOldIv = QByteArray::fromHex("f0f1f2f3f4f5f6f7");
const QString kNewKey = QStringLiteral("5Hj31ujWRxPZl34F9rCK5VD4QU2T491Kpq2oRvYnNAI=");
const QByteArray kNewIv = QByteArray::fromHex("0102030405060708");

// Everything the application writes to the debug output, from any thread.
QMutex outputLock;
QStringList debugOutput;
QtMessageHandler testLogHandler = nullptr;
void captureOutput(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    {
        QMutexLocker locked(&outputLock);
        debugOutput << text;
    }
    if (type != QtDebugMsg)
        testLogHandler(type, context, text);
}

// Late: the unit's answer to the key comes after the queue's second for the IV has passed.
// AtCommand: the unit takes the key when it arrives and answers under it, instead of taking it
// with its IV; AtCommandLate answers late and writes a record every two seconds. WithAnswerLate:
// the unit takes the key once its late answer has gone out under the key before; IvLate: its answer
// to the IV comes late, and it takes the key then.
enum class KeyAnswer {
    None,
    UnderOldKey,
    AtCommand,
    AtCommandLate,
    WithAnswerLate,
    IvLate,
    Refused,
    Late,
    LateRefused
};
// When the unit is unplugged during a key change, and whether it is back before the change's
// time-out. AfterKeyToRefusingUnit: after the unit confirmed the key, and the unit comes back
// started again, refusing keys. Setup: "Setup..." and the same unit again, before its answer.
enum class Unplugged {
    No,
    BeforeKey,
    BeforeKeyTillTimeOut,
    AfterKey,
    AfterKeyTillTimeOut,
    AfterKeyToRefusingUnit,
    Setup
};

// What a bracketed command text in a log line holds in clear under `key`, read as the unit reads
// a station-radio command; empty when the text is no such command.
QByteArray decryptLoggedCommand(QByteArray text, const QByteArray& key)
{
    const QByteArray message = QByteArray::fromBase64(text.replace('-', '/'));
    if (message.size() < 32 || message.size() % 16 != 0)
        return {};
    return Aes256Reference(key).ctr(message.left(16), message.mid(16));
}

QStringList linesOf(const QueuedSpy& log)
{
    QStringList lines;
    for (const QList<QVariant>& line : log)
        lines << line.at(0).toString();
    return lines;
}

QStringList bracketedTexts(const QString& text)
{
    static const QRegularExpression bracketed(QStringLiteral("\\[ ([A-Za-z0-9+=-]{24,})\\s*\\]"));
    QStringList found;
    for (auto match = bracketed.globalMatch(text); match.hasNext();)
        found << match.next().captured(1);
    return found;
}

} // namespace

Q_DECLARE_METATYPE(KeyAnswer)
Q_DECLARE_METATYPE(QList<KeyChangeState>)
Q_DECLARE_METATYPE(Unplugged)

class TestEncryptionKey : public QObject
{
    Q_OBJECT

private slots:
    void derivationSkipsKeysWithSlash_data();
    void derivationSkipsKeysWithSlash();
    void workerOnItsThreadReportsKeyAndFreshIv();

    void dialogStartsAndResetsClean();
    void dialogAutomaticSaltIsFreshDecimal();
    void dialogManualSaltPassedVerbatim_data();
    void dialogManualSaltPassedVerbatim();
    void dialogSwitchingBackToAutomaticIgnoresTypedSalt();
    void dialogCancelEmitsNothing();

    void initTestCase();
    void cleanupTestCase();
    void init();
    void passwordAndSaltChecked_data();
    void passwordAndSaltChecked();
    void newKeyWritesFileAndQueuesCommands();
    void keyChangeFollowsTheUnit_data();
    void keyChangeFollowsTheUnit();
    void startPageRederivesWithKeyFileSalt();
    void settingsLocationChangesOnlySaltAndIv();
    void keyFileContent_data();
    void keyFileContent();
    void acknowledgementColours_data();
    void acknowledgementColours();
    void encryptionSwitchColours();
    void incomingStateShownOncePerChange();
    void startPageOffersPasswordAgain_data();
    void startPageOffersPasswordAgain();
    void noSecretInAnyOutput();

private:
    std::unique_ptr<MainGUI> window;
    // Key texts, IVs and passwords the suite used; none may show in any output.
    QList<QByteArray> secrets;
    QString keyFile(const QString& salt) const;
    void keepSecret(const QByteArray& base64)
    {
        secrets << base64 << QByteArray::fromBase64(base64).toHex();
    }
    void askAgainAfterRefusal(const QString& salt);
};

void TestEncryptionKey::derivationSkipsKeysWithSlash_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("salt");
    QTest::addColumn<int>("firstIterations");
    QTest::addColumn<QString>("keyText");

    // PBKDF2-HMAC-SHA256 "password"/"salt" at 1 and 2 rounds are published vectors whose Base64
    // holds "/" (Eg+2z/z4..., rk0Mla9rRtMtCt/5...); 3 does too, so the walk ends at 4 rounds.
    QTest::newRow("published vectors skipped")
        << "password"
        << "salt" << 1 << "zXsgPjrvKKdzYT3kaQHZpdYhIos7PejeJM6lt4hFnIo=";
    QTest::newRow("first count already clean")
        << "password"
        << "salt" << 4 << "zXsgPjrvKKdzYT3kaQHZpdYhIos7PejeJM6lt4hFnIo=";
    QTest::newRow("full count, clean at once")
        << "Vantora-pass"
        << "4294967295" << checkEncryptionKey::defaultIterations
        << "5Hj31ujWRxPZl34F9rCK5VD4QU2T491Kpq2oRvYnNAI=";
    QTest::newRow("non-ASCII password as UTF-8, empty salt")
        << QString::fromUtf8("pässwörd") << "" << checkEncryptionKey::defaultIterations
        << "qUgZJjqaeQ4f0mocNy41Zh5RJ0x3Ev9GHkoIPk4DNCE=";
}

void TestEncryptionKey::derivationSkipsKeysWithSlash()
{
    QFETCH(QString, password);
    QFETCH(QString, salt);
    QFETCH(int, firstIterations);
    QFETCH(QString, keyText);

    const QString key = checkEncryptionKey::deriveKeyText(password, salt, firstIterations);
    QCOMPARE(key, keyText);
    QCOMPARE(key.size(), 44);
    QVERIFY(!key.contains(QLatin1Char('/')));
}

void TestEncryptionKey::workerOnItsThreadReportsKeyAndFreshIv()
{
    QThread thread;
    auto* worker = new checkEncryptionKey;
    worker->moveToThread(&thread);
    connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    QSignalSpy ready(worker, &checkEncryptionKey::encryptionKeyReady);
    thread.start();

    // 600000 rounds give a key with "/", so this request also walks to 600001.
    for (int request = 0; request < 2; ++request)
        QMetaObject::invokeMethod(worker, "checkEncryptionInfo", Qt::QueuedConnection,
                                  Q_ARG(QString, QStringLiteral("password8")),
                                  Q_ARG(QString, QStringLiteral("12345")), Q_ARG(int, request));
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 2, 60000);
    thread.quit();
    thread.wait();

    for (int request = 0; request < 2; ++request) {
        const QList<QVariant>& result = ready.at(request);
        QCOMPARE(result.at(0).toString(),
                 QStringLiteral("rVHWWn6zAEmmOINK85IbcuSBnIenGA79NCNeBmURt8s="));
        QCOMPARE(result.at(1).toInt(), request);
        QCOMPARE(result.at(2).toString(), QStringLiteral("12345"));
        QCOMPARE(result.at(3).toByteArray().size(), 8);
    }
    QVERIFY(ready.at(0).at(3).toByteArray() != ready.at(1).at(3).toByteArray());
    secrets << "password8";
    keepSecret(ready.at(0).at(0).toString().toLatin1());
    for (const QList<QVariant>& result : ready)
        keepSecret(result.at(3).toByteArray().toBase64());
}

void TestEncryptionKey::dialogStartsAndResetsClean()
{
    DialogEncryptionKey dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("DialogEncryptionKey"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Setup Encryption Key"));
    auto* password = child<QLineEdit>(&dialog, "lineEdit_userPassword");
    auto* salt = child<QLineEdit>(&dialog, "lineEdit_userSalt");
    auto* manual = child<QRadioButton>(&dialog, "radioButton_manualSalt");
    auto* automatic = child<QRadioButton>(&dialog, "radioButton_autoSalt");
    auto* progress = child<QLabel>(&dialog, "label_generatingKeyInProgress");
    auto* saltLabel = child<QLabel>(&dialog, "label_entersalt");
    QCOMPARE(password->echoMode(), QLineEdit::Normal);

    for (int showing = 0; showing < 2; ++showing) {
        dialog.show();
        QVERIFY(password->text().isEmpty());
        QVERIFY(salt->text().isEmpty());
        QVERIFY(automatic->isChecked());
        QVERIFY(!salt->isVisible());
        QVERIFY(!saltLabel->isVisible());
        QVERIFY(!progress->isVisible());

        // Leave everything dirty: the next reset must undo it all.
        password->setText(QStringLiteral("leftover-password"));
        QTest::mouseClick(manual, Qt::LeftButton);
        QVERIFY(salt->isVisible());
        QVERIFY(saltLabel->isVisible());
        salt->setText(QStringLiteral("leftover-salt"));
        QTest::mouseClick(child<QPushButton>(&dialog, "pushButton_generateKey"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!progress->isHidden());
        dialog.clearValues();
    }
}

void TestEncryptionKey::dialogAutomaticSaltIsFreshDecimal()
{
    DialogEncryptionKey dialog;
    QSignalSpy sent(&dialog, &DialogEncryptionKey::sendData);
    const QRegularExpression decimal(QStringLiteral("^(0|[1-9][0-9]{0,9})$"));
    for (int i = 0; i < 4; ++i) {
        dialog.show();
        child<QLineEdit>(&dialog, "lineEdit_userPassword")->setText(QStringLiteral(" pass word "));
        QTest::mouseClick(child<QPushButton>(&dialog, "pushButton_generateKey"), Qt::LeftButton);
    }
    QCOMPARE(sent.count(), 4);
    QSet<QString> salts;
    for (const QList<QVariant>& call : sent) {
        QCOMPARE(call.at(0).toString(), QStringLiteral(" pass word "));
        const QString salt = call.at(1).toString();
        QVERIFY2(decimal.match(salt).hasMatch(), qPrintable(salt));
        QVERIFY(salt.toULongLong() <= 4294967295ULL);
        QCOMPARE(call.at(2).toBool(), false);
        salts.insert(salt);
    }
    QVERIFY(salts.size() > 1);
    QVERIFY(decimal.match(dialog.generateSalt()).hasMatch());
}

void TestEncryptionKey::dialogManualSaltPassedVerbatim_data()
{
    QTest::addColumn<QString>("salt");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces kept") << QStringLiteral("  my salt ");
    QTest::newRow("text") << QStringLiteral("Station-7");
}

void TestEncryptionKey::dialogManualSaltPassedVerbatim()
{
    QFETCH(QString, salt);
    DialogEncryptionKey dialog;
    QSignalSpy sent(&dialog, &DialogEncryptionKey::sendData);
    dialog.show();
    child<QLineEdit>(&dialog, "lineEdit_userPassword")->setText(QStringLiteral("12345678"));
    QTest::mouseClick(child<QRadioButton>(&dialog, "radioButton_manualSalt"), Qt::LeftButton);
    child<QLineEdit>(&dialog, "lineEdit_userSalt")->setText(salt);
    QTest::mouseClick(child<QPushButton>(&dialog, "pushButton_generateKey"), Qt::LeftButton);
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).toString(), QStringLiteral("12345678"));
    QCOMPARE(sent.at(0).at(1).toString(), salt);
    QCOMPARE(sent.at(0).at(2).toBool(), true);
}

void TestEncryptionKey::dialogSwitchingBackToAutomaticIgnoresTypedSalt()
{
    DialogEncryptionKey dialog;
    QSignalSpy sent(&dialog, &DialogEncryptionKey::sendData);
    dialog.show();
    auto* salt = child<QLineEdit>(&dialog, "lineEdit_userSalt");
    QTest::mouseClick(child<QRadioButton>(&dialog, "radioButton_manualSalt"), Qt::LeftButton);
    salt->setText(QStringLiteral("typed"));
    QTest::mouseClick(child<QRadioButton>(&dialog, "radioButton_autoSalt"), Qt::LeftButton);
    QVERIFY(!salt->isVisible());
    QCOMPARE(salt->text(), QStringLiteral("typed"));
    QTest::mouseClick(child<QPushButton>(&dialog, "pushButton_generateKey"), Qt::LeftButton);
    QCOMPARE(sent.count(), 1);
    QVERIFY(sent.at(0).at(1).toString() != QStringLiteral("typed"));
    QCOMPARE(sent.at(0).at(2).toBool(), false);
}

void TestEncryptionKey::dialogCancelEmitsNothing()
{
    DialogEncryptionKey dialog;
    QSignalSpy sent(&dialog, &DialogEncryptionKey::sendData);
    dialog.show();
    QTest::mouseClick(child<QPushButton>(&dialog, "pushButton_cancelGenerate"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(sent.count(), 0);
}

void TestEncryptionKey::initTestCase()
{
    enableDebugOutput();
    testLogHandler = qInstallMessageHandler(captureOutput);
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    window = std::make_unique<MainGUI>();
    // Requests are checked as they leave the window; the derivation itself is tested above.
    QObject::disconnect(window.get(), &MainGUI::startEncryptionKeyCheck, window->keyChecker,
                        nullptr);
    keepSecret(kOldKey.toBase64());
    keepSecret(kOldIv.toBase64());
    keepSecret(kNewKey.toLatin1());
    keepSecret(kNewIv.toBase64());
}

void TestEncryptionKey::cleanupTestCase()
{
    setModalRunner({});
    window.reset();
    qInstallMessageHandler(testLogHandler);
}

void TestEncryptionKey::init()
{
    setModalRunner({});
    window->commandQueue.clear();
    window->cmdWriteTimer->stop();
    window->keyChange = {}; // a failed row leaves no change pending for the next
}

QString TestEncryptionKey::keyFile(const QString& salt) const
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                           "/Keyfile_" + salt + ".txt");
}

void TestEncryptionKey::passwordAndSaltChecked_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("salt");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<bool>("startPage"); // the start page came up while the dialog was open
    const QString length = QStringLiteral("The entered Password must be between 8 and 32 "
                                          "characters in length.\r\nYours is: %1 characters "
                                          "in length.");
    const QString salt = QStringLiteral("The salt must not contain \"/\", \"\\\", \"..\" or "
                                        "control characters, since it names the key file.");
    QTest::newRow("7") << QString(7, 'p') << "77" << length.arg(7) << false;
    QTest::newRow("8") << QString(8, 'p') << "77" << QString() << false;
    QTest::newRow("32") << QString(32, 'p') << "77" << QString() << false;
    QTest::newRow("33") << QString(33, 'p') << "77" << length.arg(33) << false;
    QTest::newRow("salt with a dot") << QString(8, 'p') << "st.7" << QString() << false;
    QTest::newRow("empty salt") << QString(8, 'p') << "" << QString() << false;
    QTest::newRow("salt of the key in use")
        << QString(8, 'p') << "in use"
        << "The salt is that of the key in use. Choose another salt: the key file in use is kept "
           "until the unit confirms a new key."
        << false;
    // On the start page the key in use is re-derived from its own salt.
    QTest::newRow("salt of the key in use, start page up")
        << QString(8, 'p') << "in use" << QString() << true;
    QTest::newRow("salt into another file")
        << QString(8, 'p') << "x/../Keyfile_1111" << salt << false;
    QTest::newRow("salt with a backslash") << QString(8, 'p') << "a\\b" << salt << false;
    QTest::newRow("salt of two dots") << QString(8, 'p') << ".." << salt << false;
    QTest::newRow("salt with a line end") << QString(8, 'p') << "12\n34" << salt << false;
}

void TestEncryptionKey::passwordAndSaltChecked()
{
    QFETCH(QString, password);
    QFETCH(QString, salt);
    QFETCH(QString, refusal);
    QFETCH(bool, startPage);
    QStringList boxes;
    setModalRunner([&](QDialog& dialog) {
        boxes << static_cast<QMessageBox&>(dialog).text();
        return int(QMessageBox::Ok);
    });
    secrets << password.toUtf8();
    QVERIFY(window->saveEncryptedFile(QStringLiteral("in use"), QStringLiteral("k"),
                                      QByteArray(8, 'u'), true));
    window->ui->lineEdit_encryptionPasskey->setText(keyFile(QStringLiteral("in use")));
    if (startPage)
        window->setupEncryptionMode();
    QSignalSpy requests(window.get(), &MainGUI::startEncryptionKeyCheck);
    window->generateEncryptionKey(password, salt, false);
    // While a key is derived, the settings page asks for no second one.
    if (refusal.isEmpty() && !startPage) {
        window->ui->textEdit_ErrorMsgs->clear();
        window->on_pushButton_createEncryptionPasskey_clicked();
        QVERIFY(!window->encryptionKeyDialog->isVisible());
        QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().contains("is being made"));
    }
    window->threadEncCheck->quit();
    window->threadEncCheck->wait();
    if (refusal.isEmpty()) {
        QVERIFY(boxes.isEmpty());
        // The busy start page waits for this request's key.
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0).at(1).toString(), salt);
        QCOMPARE(requests.at(0).at(2).toInt(), startPage ? 0 : 1);
        if (startPage)
            window->finishedEncryptionSetup(QString(), 0, salt, QByteArray());
    } else {
        QCOMPARE(requests.count(), 0);
        QCOMPARE(boxes, QStringList(refusal));
    }
}

void TestEncryptionKey::newKeyWritesFileAndQueuesCommands()
{
    const QByteArray& iv = kNewIv;
    QSignalSpy handed(window.get(), &MainGUI::setEncryptionKeyMain);
    QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);

    // On the station radio a new key can only travel under the key in use.
    window->encryptWriteCommands = true;
    window->encryptionKey.clear();
    window->finishedEncryptionSetup(kNewKey, 1, QStringLiteral("4242"), iv);
    QVERIFY(window->commandQueue.isEmpty());
    QVERIFY(!QFile::exists(keyFile(QStringLiteral("4242"))));
    QCOMPARE(firstArgs(logged),
             QStringList("ERROR: No encryption key in use for the station radio; "
                         "the new key cannot be sent to the unit."));

    window->encryptWriteCommands = false;
    window->encryptionKey = "in-use";
    window->on_pushButton_createEncryptionPasskey_clicked();
    QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
             QStringLiteral("background: blue"));
    QVERIFY(window->passkeyTimer.isActive());
    window->encryptionKeyDialog->hide();

    // A second key is taken only once the first has settled; while the first waits, the button
    // keeps its colour and the time-out runs on.
    const QString unsettled = QStringLiteral(
        "ERROR: The last encryption key change has not settled yet: the unit has not answered its "
        "IV, or its frames have not shown which key it uses. No new key was made.");
    window->finishedEncryptionSetup(QStringLiteral("first"), 1, QStringLiteral("4242"),
                                    QByteArray(8, 'x'));
    window->finishedEncryptionSetup(kNewKey, 1, QStringLiteral("4242"), iv);
    QCOMPARE(window->commandQueue.size(), 2);
    QVERIFY(window->passkeyTimer.isActive());
    QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().contains(unsettled));

    // Asking again while the first is open says why no dialog opens, and leaves the first its
    // minute.
    window->passkeyTimer.start(5000);
    QSignalSpy cleared(window.get(), &MainGUI::clearEncryptionData);
    window->ui->textEdit_ErrorMsgs->clear();
    window->on_pushButton_createEncryptionPasskey_clicked();
    QVERIFY(!window->encryptionKeyDialog->isVisible());
    QCOMPARE(cleared.count(), 0);
    QCOMPARE(window->passkeyTimer.interval(), 5000);
    QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().contains(unsettled));
    // A refusal ends the first change: nothing more of it goes. A new key waits until the unit's
    // frames have shown which key it kept.
    window->on_encryption_confirmation_status_change(KeyChangeState::Refused);
    QVERIFY(!window->passkeyTimer.isActive());
    QVERIFY(window->commandQueue.isEmpty());
    window->ui->textEdit_ErrorMsgs->clear();
    window->on_pushButton_createEncryptionPasskey_clicked();
    QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().contains(unsettled));
    QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
             QStringLiteral("background: red"));
    // Through the station radio a command waits until the unit's frames show the key it kept.
    window->encryptWriteCommands = true;
    window->writecommands("led ON\r\n");
    window->try_command_write();
    QCOMPARE(window->commandQueue, QList<QByteArray>{"led ON\r\n"});
    window->encryptWriteCommands = false;
    window->commandQueue.clear();
    window->on_encryption_confirmation_status_change(KeyChangeState::SeenOldKey);
    window->on_encryption_confirmation_status_change(KeyChangeState::Closed);
    QVERIFY(window->ui->textEdit_SysMsgs->toPlainText().contains(
        "INFO: The unit's frames use the key before the change; it stays in use."));
    // "Setup..." before the key left the queue: the link ends that change, and nothing of it
    // reached the unit. Its thread runs once a unit was started.
    window->threadData->start();
    window->finishedEncryptionSetup(QStringLiteral("queued"), 1, QStringLiteral("4444"),
                                    QByteArray(8, 'q'));
    window->ui->textEdit_ErrorMsgs->clear();
    window->on_pushButtonSetupConnection_clicked();
    window->selectDeviceDialog->hide();
    QTRY_VERIFY_WITH_TIMEOUT(!window->keyChange.open, 10000);
    QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
             QStringLiteral("background: red"));
    QVERIFY(!window->passkeyTimer.isActive());
    QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().contains(
        "ERROR: The new encryption key was not taken"));
    window->finishedEncryptionSetup(QStringLiteral("third"), 1, QStringLiteral("4343"),
                                    QByteArray(8, 'z'));
    QCOMPARE(window->commandQueue.size(), 2);
    QVERIFY(QFile::exists(keyFile(QStringLiteral("4343"))));
    // Nothing the link tells of keys in use concerns this change before its key left the queue.
    window->on_encryption_confirmation_status_change(KeyChangeState::SeenNewKey);
    QCOMPARE(window->encryptionKey, QByteArray("in-use"));
    window->try_command_write();
    window->try_command_write();
    // The key's answer alone changes nothing; the link tells when the new key is in use.
    window->on_encryption_confirmation_status_change(KeyChangeState::KeyAnswered);
    QCOMPARE(window->encryptionKey, QByteArray("in-use"));
    window->on_encryption_confirmation_status_change(KeyChangeState::SeenNewKey);
    QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
             QStringLiteral("background: green"));
    QCOMPARE(window->encryptionKey, QByteArray("third"));
    window->on_encryption_confirmation_status_change(KeyChangeState::Closed);
    window->commandQueue.clear();

    // The key file of the key in use is kept until a successor is confirmed.
    const QString inUse = keyFile(QStringLiteral("4343"));
    const QByteArray inUseFile = fileBytes(inUse);
    logged.clear();
    window->finishedEncryptionSetup(kNewKey, 1, QStringLiteral("4343"), iv);
    QCOMPARE(fileBytes(inUse), inUseFile);
    QVERIFY(window->commandQueue.isEmpty());
    QCOMPARE(firstArgs(logged), QStringList("ERROR: The new key's salt is that of the key in use; "
                                            "its key file is kept and the new key was not sent."));

    // Once another key file is in use, the same salt replaces the earlier file.
    const QString path = keyFile(QStringLiteral("4242"));
    window->ui->lineEdit_encryptionPasskey->setText(keyFile(QStringLiteral("in use")));
    handed.clear();
    logged.clear();
    window->finishedEncryptionSetup(kNewKey, 1, QStringLiteral("4242"), iv);

    QCOMPARE(fileBytes(path),
             QByteArray("{\n    \"IV\": \"AQIDBAUGBwg=\",\n    \"Salt\": \"4242\"\n}\n\n"));
    QCOMPARE(window->commandQueue,
             (QList<QByteArray>{"key" + kNewKey.toUtf8() + "\r", QByteArray("ivAQIDBAUGBwg=\r")}));
    // The window switches when the link tells it the unit uses the new key; the link has
    // switched already.
    QCOMPARE(window->encryptionKey, QByteArray("third"));
    QCOMPARE(firstArgs(logged),
             QStringList("INFO: Generated New Encryption Key, Salt and IV stored in file " + path));
    window->try_command_write();
    window->try_command_write();
    window->on_encryption_confirmation_status_change(KeyChangeState::Confirmed);
    QCOMPARE(window->encryptionKey, kNewKey.toUtf8());
    QCOMPARE(window->encryptionIV, QStringLiteral("AQIDBAUGBwg="));
    QCOMPARE(window->ui->lineEdit_encryptionPasskey->text(), path);
    QCOMPARE(handed.count(), 0);
}

void TestEncryptionKey::keyChangeFollowsTheUnit_data()
{
    QTest::addColumn<bool>("radio");
    QTest::addColumn<QString>("salt");
    QTest::addColumn<KeyAnswer>("answer");
    QTest::addColumn<bool>("protectionFails");
    QTest::addColumn<QString>("error"); // empty: the change is taken
    QTest::addColumn<Unplugged>("unplugged");
    QTest::addColumn<QByteArrayList>("heard"); // the commands the unit receives, in order
    QTest::addColumn<bool>("commandBehind");   // "led ON" queued right behind the change

    const QByteArrayList whole{"key", "iv", "led ON"};
    // Through the radio the IV goes under the new key, then under the key before: a unit that
    // answered the key under the key before may have taken the new one with its answer.
    const QByteArrayList wholeRadio{"key", "noise", "iv", "led ON"};
    const QByteArrayList keyOnly{"key", "led ON"};
    const QByteArrayList none{"led ON"};
    QTest::newRow("radio, answer under the old key")
        << true << "5001" << KeyAnswer::UnderOldKey << false << QString() << Unplugged::No
        << wholeRadio << false;
    QTest::newRow("radio, the key taken at its command")
        << true << "5002" << KeyAnswer::AtCommand << false << QString() << Unplugged::No << whole
        << false;
    QTest::newRow("serial, answer") << false << "5003" << KeyAnswer::UnderOldKey << false
                                    << QString() << Unplugged::No << whole << false;
    QTest::newRow("radio, empty salt") << true << "" << KeyAnswer::UnderOldKey << false << QString()
                                       << Unplugged::No << wholeRadio << false;
    // A command queued behind the change waits until the unit has answered the IV: until then
    // the unit may hold either key.
    QTest::newRow("radio, a command behind the key, taken at its command")
        << true << "5023" << KeyAnswer::AtCommandLate << false << QString() << Unplugged::No
        << whole << true;
    QTest::newRow("radio, a command behind the key, answer under the old key")
        << true << "5024" << KeyAnswer::UnderOldKey << false << QString() << Unplugged::No
        << wholeRadio << true;
    const QString timedOut = QStringLiteral(
        "ERROR: The unit did not confirm the new encryption key; the current key stays in use.");
    const QString notTaken =
        QStringLiteral("ERROR: The new encryption key was not taken; the unit may still hold the "
                       "key before the change, which stays in use.");
    QTest::newRow("radio, no answer") << true << "5004" << KeyAnswer::None << false << timedOut
                                      << Unplugged::No << keyOnly << false;
    // The window's queue hands the IV on a second after the key, whatever the unit answered.
    QTest::newRow("radio, key refused") << true << "5005" << KeyAnswer::Refused << false << notTaken
                                        << Unplugged::No << keyOnly << false;
    const QString notSaved =
        QStringLiteral("ERROR: Problem saving new encryption key Salt and IV in file.");
    QTest::newRow("key file cannot be written")
        << true << QString(300, 'n') << KeyAnswer::UnderOldKey << false << notSaved << Unplugged::No
        << none << false;
    QTest::newRow("salt leaves the data folder")
        << true << "/../../escaped" << KeyAnswer::UnderOldKey << false << notSaved << Unplugged::No
        << none << false;
    QTest::newRow("data protection fails") << true << "5007" << KeyAnswer::UnderOldKey << true
                                           << notSaved << Unplugged::No << none << false;
    // Unplugged, a unit given an IV without its key would take it for its key in use.
    QTest::newRow("radio, unplugged, back in time")
        << true << "5011" << KeyAnswer::UnderOldKey << false << QString() << Unplugged::BeforeKey
        << wholeRadio << false;
    QTest::newRow("radio, unplugged till the time-out")
        << true << "5012" << KeyAnswer::None << false << timedOut << Unplugged::BeforeKeyTillTimeOut
        << none << false;
    // The key goes again on the connection that comes back; its IV waits for an answer.
    // After a loss the key goes again under both keys, the unit holding either: one is noise to
    // it.
    QTest::newRow("radio, unplugged after the key, back in time")
        << true << "5013" << KeyAnswer::None << false << timedOut << Unplugged::AfterKey
        << QByteArrayList{"key", "noise", "key", "led ON"} << false;
    QTest::newRow("radio, unplugged after the key till the time-out")
        << true << "5014" << KeyAnswer::None << false << timedOut << Unplugged::AfterKeyTillTimeOut
        << keyOnly << false;
    // The IV goes only on a connection where the unit confirmed its key: the key goes again.
    QTest::newRow("radio, unplugged after the unit confirmed the key")
        << true << "5015" << KeyAnswer::UnderOldKey << false << QString() << Unplugged::AfterKey
        << QByteArrayList{"key", "noise", "key", "noise", "iv", "led ON"} << false;
    // A unit that took the key at its command answered under it: it is in use. A unit started
    // again keeps it only with its IV, so the key goes again when the port is back, and the IV
    // after its answer there.
    QTest::newRow("radio, unplugged after the unit took the key at its command")
        << true << "5021" << KeyAnswer::AtCommand << false << QString() << Unplugged::AfterKey
        << QByteArrayList{"key", "key", "noise", "iv", "led ON"} << false;
    QTest::newRow("radio, unplugged after the unit confirmed the key, back restarted refusing")
        << true << "5019" << KeyAnswer::UnderOldKey << false << notTaken
        << Unplugged::AfterKeyToRefusingUnit << QByteArrayList{"key", "noise", "key", "led ON"}
        << false;
    QTest::newRow("radio, unplugged, back to a unit that refuses keys")
        << true << "5016" << KeyAnswer::Refused << false << notTaken << Unplugged::BeforeKey
        << keyOnly << false;
    QTest::newRow("radio, answer later than the IV's second")
        << true << "5017" << KeyAnswer::Late << false << QString() << Unplugged::No << wholeRadio
        << false;
    QTest::newRow("radio, refusal later than the IV's second")
        << true << "5018" << KeyAnswer::LateRefused << false << notTaken << Unplugged::No << keyOnly
        << false;
    QTest::newRow("radio, Setup... while the IV waits for a late answer")
        << true << "5020" << KeyAnswer::Late << false << notTaken << Unplugged::Setup << keyOnly
        << false;
    // The late answer comes under the new key on the next connection, or the frames behind it
    // do: the window turns green.
    QTest::newRow("serial, Setup... before a late answer, the key taken at its command")
        << false << "5022" << KeyAnswer::AtCommandLate << false << QString() << Unplugged::Setup
        << keyOnly << false;
    QTest::newRow("radio, Setup... before a late answer, the key taken with it")
        << true << "5025" << KeyAnswer::WithAnswerLate << false << QString() << Unplugged::Setup
        << keyOnly << false;
    QTest::newRow("radio, Setup... before the IV's late answer")
        << true << "5026" << KeyAnswer::IvLate << false << QString() << Unplugged::Setup
        << wholeRadio << false;
}

// Against a unit that encrypts its frames and decrypts the commands it gets with the key it
// holds: a command under any other key would reach it as noise, not as the command.
void TestEncryptionKey::keyChangeFollowsTheUnit()
{
    QFETCH(bool, radio);
    QFETCH(QString, salt);
    QFETCH(KeyAnswer, answer);
    QFETCH(bool, protectionFails);
    QFETCH(QString, error);
    QFETCH(Unplugged, unplugged);
    QFETCH(QByteArrayList, heard);
    QFETCH(bool, commandBehind);
    const bool refused = answer == KeyAnswer::Refused || answer == KeyAnswer::LateRefused;
    const bool late = answer == KeyAnswer::Late || answer == KeyAnswer::LateRefused ||
                      answer == KeyAnswer::AtCommandLate || answer == KeyAnswer::WithAnswerLate;
    const bool atCommand = answer == KeyAnswer::AtCommand || answer == KeyAnswer::AtCommandLate;
    const bool written = !error.contains(QLatin1String("Problem saving"));
    const bool taken = error.isEmpty();
    const bool endsRefused = refused || unplugged == Unplugged::AfterKeyToRefusingUnit;
    const bool beforeKey =
        unplugged == Unplugged::BeforeKey || unplugged == Unplugged::BeforeKeyTillTimeOut;
    const bool tillTimeOut =
        unplugged == Unplugged::BeforeKeyTillTimeOut || unplugged == Unplugged::AfterKeyTillTimeOut;

    // The unit sends its hourly report at minute 55 and the window sends it on: no row may depend
    // on the hour it runs in.
    const ScopedClock clock(QDateTime(QDate(2026, 3, 2), QTime(12, 0), Qt::UTC));
    UnitOptions options;
    options.frames = unitsim::FrameWrap::Encrypted;
    // "Setup..." must come before a late answer: three seconds leave room on a busy machine.
    const int lateMs = unplugged == Unplugged::Setup ? 3000 : 1000;
    options.periodMs = answer == KeyAnswer::AtCommandLate ? 2000 : 200;
    options.key = kOldKey.toBase64();
    options.iv = kOldIv.toBase64();
    options.answerKeyCommands = answer != KeyAnswer::None;
    options.keyTaking = atCommand ? unitsim::KeyTaking::AtCommand : unitsim::KeyTaking::WithIv;
    if (answer == KeyAnswer::WithAnswerLate)
        options.keyTaking = unitsim::KeyTaking::WithAnswer;
    options.ivAnswerDelayMs = answer == KeyAnswer::IvLate ? lateMs : 0;
    options.refuseKeys = refused;
    options.keyAnswerDelayMs = late ? lateMs : 0;
    UnitSim unit(options);
    QVERIFY(unit.open());
    QSignalSpy received(&unit, &UnitSim::commandReceived);
    QueuedSpy records(window->dataIncoming, &data_incoming::weather_data_received);
    QueuedSpy linkLog(window->dataIncoming, &data_incoming::sendLogMsg);
    // What the link told, each with whether the window held radio commands once it had heard it.
    QList<QPair<KeyChangeState, bool>> told;
    QObject toldContext;
    connect(
        window->dataIncoming, &data_incoming::encryption_parse_confirmed, &toldContext,
        [&](KeyChangeState state) {
            told.append({state, window->keyChange.holdsRadioCommands()});
        },
        Qt::QueuedConnection);
    window->deviceType = DeviceTypes::ORVA;
    window->setORVAencryptWritecommands(radio);
    window->encryptionKey = options.key;
    window->encryptionIV = QString::fromLatin1(options.iv);
    emit window->setDeviceType(DeviceTypes::ORVA);
    emit window->setLoggingState(LoggingType::Debug);
    emit window->setEncryptionKeyMain(options.key, options.iv);
    data_incoming* link = window->dataIncoming;
    window->openserialport(unit.portPath());
    runOnThread(link, [link] { link->setRetryIntervals(50, 50); });
    QTRY_VERIFY_WITH_TIMEOUT(records.count() > 0, 10000);
    // What the connection queued is not part of the change; on a slow machine it is still there.
    window->cmdWriteTimer->stop();
    window->commandQueue.clear();

    const auto unplug = [&] {
        window->on_pushButton_clearNotifications_clicked();
        unit.unplug();
        return QTest::qWaitFor(
            [&] {
                return window->ui->textEdit_ErrorMsgs->toPlainText().contains(
                    "ERROR: Serial Port closing due to resource error");
            },
            10000);
    };
    if (beforeKey)
        QVERIFY(unplug());
    window->on_pushButton_clearNotifications_clicked();
    const QString location = window->ui->lineEdit_encryptionPasskey->text();
    if (protectionFails)
        setDataProtector([](const QByteArray&, QByteArray*) { return false; });
    window->on_pushButton_createEncryptionPasskey_clicked();
    window->encryptionKeyDialog->hide();
    window->finishedEncryptionSetup(kNewKey, 1, salt, kNewIv);
    setDataProtector({});
    if (commandBehind)
        window->writecommands("led ON\r\n");
    window->cmdWriteTimer->stop();
    QCOMPARE(QFile::exists(keyFile(salt)), written);
    QCOMPARE(window->commandQueue.size(), (written ? 2 : 0) + (commandBehind ? 1 : 0));
    QCOMPARE(window->encryptionKey, options.key);

    // "key" goes under the old key, and the "iv" waits at the link for the unit's answer; the
    // window switches when the link tells it the unit uses the new key.
    window->try_command_write();
    // Whichever comes first, a frame under the new key or "Setup...", the IV never goes.
    if (beforeKey || unplugged == Unplugged::No || (unplugged == Unplugged::Setup && !atCommand))
        window->try_command_write();
    if (commandBehind) {
        window->try_command_write();
        QCOMPARE(window->commandQueue, QList<QByteArray>{"led ON\r\n"});
    }
    std::unique_ptr<UnitSim> restarted;
    if (unplugged == Unplugged::Setup) {
        // Closed while the unit's late answer to the key, or to the IV, is on its way.
        const bool ivLate = answer == KeyAnswer::IvLate;
        QTRY_VERIFY_WITH_TIMEOUT(
            !received.isEmpty() &&
                received.last().at(0).toByteArray().startsWith(ivLate ? "iv" : "key"),
            10000);
        // The unit lives on this thread: its answer cannot come before the port is open again.
        const QString port = unit.portPath();
        runOnThread(link, [link, port] {
            link->closeSerialPort();
            link->openSerialPort(port);
        });
        QTRY_VERIFY_WITH_TIMEOUT(
            !linesOf(linkLog).filter(ivLate ? "IV set confirmed." : "Key set confirmed.").isEmpty(),
            10000);
    } else if (unplugged != Unplugged::No) {
        if (!beforeKey) {
            QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 10000);
            if (answer == KeyAnswer::UnderOldKey || atCommand)
                QTRY_VERIFY_WITH_TIMEOUT(
                    !linesOf(linkLog).filter("INFO: Key set confirmed.").isEmpty(), 10000);
            QVERIFY(unplug());
        }
        window->try_command_write();
        if (tillTimeOut)
            window->on_encryption_passkey_set_timeout();
        if (unplugged == Unplugged::AfterKeyToRefusingUnit) {
            // Started again, the unit holds the key it was started with; it may come back under
            // another device name.
            options.refuseKeys = true;
            restarted = std::make_unique<UnitSim>(options);
            QVERIFY(restarted->open());
            connect(restarted.get(), &UnitSim::commandReceived, restarted.get(),
                    [&received](const QByteArray& command, bool encrypted) {
                        received.append({command, encrypted});
                    });
            window->openserialport(restarted->portPath());
        } else {
            QVERIFY(unit.plugIn());
        }
        records.clear();
        QTRY_VERIFY_WITH_TIMEOUT(records.count() > 0, 10000);
        runOnThread(link, [link] { link->waitSerialWrite(); });
    }
    if (endsRefused) {
        QTRY_COMPARE_WITH_TIMEOUT(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
                                  QStringLiteral("background: red"), 10000);
        window->try_command_write();
        // A station started now would read the unit's key with the key file named there.
        if (unplugged == Unplugged::AfterKeyToRefusingUnit)
            QCOMPARE(QJsonDocument::fromJson(fileBytes(settingsFilePath()))
                         .object()
                         .value("KEYLOCATION")
                         .toString(),
                     location);
        askAgainAfterRefusal(salt);
        if (QTest::currentTestFailed())
            return;
    }
    if (taken) {
        QTRY_COMPARE_WITH_TIMEOUT(window->encryptionKey, kNewKey.toUtf8(), 10000);
        QCOMPARE(window->ui->lineEdit_encryptionPasskey->text(), keyFile(salt));
        QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
                 QStringLiteral("background: green"));
        window->try_command_write();
    } else if (written) {
        // A change given up sends nothing more of itself.
        window->on_encryption_passkey_set_timeout();
        QVERIFY(window->commandQueue.isEmpty());
    }

    // The next command reaches the unit under the key it holds now, behind all of the change
    // that reached it, once the unit's frames have shown that key.
    QTRY_VERIFY_WITH_TIMEOUT(!window->keyChange.open, 10000);
    if (!commandBehind)
        window->writecommands("led ON\r\n");
    window->cmdWriteTimer->stop();
    window->try_command_write();
    QTRY_COMPARE_WITH_TIMEOUT(received.count(), heard.size(), 10000);
    for (int i = 0; i < heard.size(); ++i) {
        const QByteArray command = received.at(i).at(0).toByteArray();
        // Noise: a line under a key the unit does not hold, which it cannot read.
        const bool noise = heard.at(i) == "noise";
        QVERIFY2(noise || command.startsWith(heard.at(i)), command.left(3).constData());
        QCOMPARE(received.at(i).at(1).toBool(), radio && !noise);
    }
    QCOMPARE(received.last().at(0).toByteArray(), QByteArray("led ON"));
    QCOMPARE(window->encryptionKey, taken ? kNewKey.toUtf8() : options.key);
    if (!taken) {
        QCOMPARE(window->ui->lineEdit_encryptionPasskey->text(), location);
        QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
                 QStringLiteral("background: red"));
        QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().contains(error));
    }
    // And the link reads the unit's records, whichever key they come under.
    records.clear();
    QTRY_VERIFY_WITH_TIMEOUT(records.count() >= 2, 10000);
    QVERIFY(!window->ui->textEdit_ErrorMsgs->toPlainText().contains("Unable to Decrypt"));
    // A unit that takes the key with a late answer, under the key before, may switch behind it:
    // radio commands wait from that answer until a frame shows the unit's key.
    if (answer == KeyAnswer::WithAnswerLate && unplugged == Unplugged::Setup)
        QCOMPARE(told.mid(told.size() - 3),
                 (QList<QPair<KeyChangeState, bool>>{{KeyChangeState::KeyAnswered, true},
                                                     {KeyChangeState::SeenNewKey, true},
                                                     {KeyChangeState::Closed, false}}));
    // The IV left the link only after the unit had confirmed the key.
    const QStringList lines = linesOf(linkLog);
    const int ivAt = lines.indexOf("INFO: ORVA Command Sent [ iv <hidden> ]");
    QCOMPARE(ivAt >= 0, heard.contains("iv"));
    if (ivAt >= 0 && !atCommand)
        QVERIFY(lines.mid(0, ivAt).filter("INFO: Key set confirmed.").size() > 0);

    window->closeserialport();
    QTRY_VERIFY_WITH_TIMEOUT(!unit.isLinked(), 10000);
    window->passkeyTimer.stop();
}

// The refusal shows in the unit's own word, and a new key may be asked for once the unit's frames
// have shown the key it kept; it waits in the queue until the window gives it up.
void TestEncryptionKey::askAgainAfterRefusal(const QString& salt)
{
    QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().contains(
        "ERROR: Invalid encryption key setting response. [ key=INVALID ]"));
    QVERIFY(!window->passkeyTimer.isActive());
    // The unit's next frame, under the key it kept, settles the change.
    QTRY_VERIFY_WITH_TIMEOUT(!window->keyChange.open, 10000);
    QVERIFY(window->ui->textEdit_SysMsgs->toPlainText().contains(
        "INFO: The unit's frames use the key before the change; it stays in use."));
    window->on_pushButton_createEncryptionPasskey_clicked();
    window->encryptionKeyDialog->hide();
    window->finishedEncryptionSetup(kNewKey, 1, salt + "b", kNewIv);
    window->cmdWriteTimer->stop();
    QCOMPARE(window->commandQueue.size(), 2);
    QVERIFY(!window->ui->textEdit_ErrorMsgs->toPlainText().contains("not settled"));
    QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
             QStringLiteral("background: blue"));
}

void TestEncryptionKey::startPageRederivesWithKeyFileSalt()
{
    QVERIFY(window->saveEncryptedFile(QStringLiteral("salty"), QStringLiteral("k"),
                                      QByteArray::fromHex("1111111111111111"), true));
    const QString path = keyFile(QStringLiteral("salty"));
    window->ui->lineEdit_encryptionPasskey->clear();
    window->encryptionSalt.clear();
    window->encryptionIV.clear();
    window->show();

    window->setupEncryptionMode();
    QCOMPARE(window->ui->stackedWidget_MainLayout->currentWidget(),
             window->ui->page_encryptionStart);
    QVERIFY(window->threadEncCheck->isRunning());
    QVERIFY(window->ui->pushButton_forceSelectKeyFile->isVisible());
    QVERIFY(!window->ui->pushButton_enterEncryptionKeyProgram->isVisible());

    // A second request while the page is up changes nothing.
    window->ui->pushButton_forceSelectKeyFile->hide();
    window->setupEncryptionMode();
    QVERIFY(!window->ui->pushButton_forceSelectKeyFile->isVisible());
    window->ui->pushButton_forceSelectKeyFile->show();

    setModalRunner([&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        files.selectFile(path);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(window->ui->pushButton_forceSelectKeyFile, Qt::LeftButton);
    QCOMPARE(window->encryptionSalt, QStringLiteral("salty"));
    QCOMPARE(window->encryptionIV, QStringLiteral("ERERERERERE="));
    QVERIFY(window->ui->pushButton_enterEncryptionKeyProgram->isVisible());
    // A known key file may be the wrong one: another can be chosen beside the password.
    QVERIFY(window->ui->pushButton_forceSelectKeyFile->isVisible());

    QSignalSpy requests(window.get(), &MainGUI::startEncryptionKeyCheck);
    window->ui->lineEdit_enterEncryptionKey->setText(QStringLiteral("secret-pw"));
    secrets << "secret-pw";
    QTest::mouseClick(window->ui->pushButton_enterEncryptionKeyProgram, Qt::LeftButton);
    QCOMPARE(window->ui->label_encryptionKeyProgramMessage->text(),
             QStringLiteral("Loading Encryption key..."));
    QVERIFY(window->ui->label_encryptionKeyProgramMessage->isVisible());
    QVERIFY(window->ui->label_loadingEncryptionKey->isVisible());
    QCOMPARE(requests.count(), 1);
    QCOMPARE(requests.at(0).at(0).toString(), QStringLiteral("secret-pw"));
    QCOMPARE(requests.at(0).at(1).toString(), QStringLiteral("salty"));
    QCOMPARE(requests.at(0).at(2).toInt(), 0);

    window->displayErrorMessages(QStringLiteral("stale"));
    QSignalSpy handed(window.get(), &MainGUI::setEncryptionKeyMain);
    window->commandQueue.clear();
    window->finishedEncryptionSetup(QStringLiteral("rederived"), 0, QStringLiteral("salty"),
                                    QByteArray::fromHex("2222222222222222"));
    QVERIFY(!window->threadEncCheck->isRunning());
    QVERIFY(!window->encryptionStartShown);
    QCOMPARE(window->ui->stackedWidget_MainLayout->currentWidget(), window->ui->page_mainLayout);
    QCOMPARE(window->ui->stackedWidget_mainPages->currentWidget(), window->ui->pageDashboardTrends);
    QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().isEmpty());
    QVERIFY(window->commandQueue.isEmpty());
    // The key file's IV stays; the one drawn with the re-derivation is not used.
    QCOMPARE(handed.count(), 1);
    QCOMPARE(handed.at(0).at(0).toByteArray(), QByteArray("rederived"));
    QCOMPARE(handed.at(0).at(1).toByteArray(), QByteArray("ERERERERERE="));
    QCOMPARE(QJsonDocument::fromJson(fileBytes(settingsFilePath()))
                 .object()
                 .value("KEYLOCATION")
                 .toString(),
             path);
    window->hide();
}

void TestEncryptionKey::settingsLocationChangesOnlySaltAndIv()
{
    const QString path = QDir::cleanPath(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/chosen.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"Salt": "s2", "IV": "AAAAAAAAAAA="})");
    file.close();
    window->encryptionKey = "unchanged";
    QSignalSpy handed(window.get(), &MainGUI::setEncryptionKeyMain);

    setModalRunner([](QDialog&) { return int(QDialog::Rejected); });
    window->on_pushButton_chooseEncryptionKeyLocation_clicked();
    QVERIFY(window->ui->lineEdit_encryptionPasskey->text() != path);

    setModalRunner([&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(path);
        return int(QDialog::Accepted);
    });
    window->on_pushButton_chooseEncryptionKeyLocation_clicked();
    QCOMPARE(window->ui->lineEdit_encryptionPasskey->text(), path);
    QCOMPARE(window->encryptionSalt, QStringLiteral("s2"));
    QCOMPARE(window->encryptionIV, QStringLiteral("AAAAAAAAAAA="));
    QCOMPARE(window->encryptionKey, QByteArray("unchanged"));
    QCOMPARE(handed.count(), 0);

    // A device or a pipe reports no size and may never end: it is no key file, and is not read.
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& special : {QStringLiteral("/dev/zero"), pipe}) {
        window->ui->lineEdit_encryptionPasskey->setText(special);
        window->encryptionSalt = QStringLiteral("before");
        window->loadEncryptionFile();
        QVERIFY(window->encryptionSalt.isEmpty());
    }
}

void TestEncryptionKey::keyFileContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("salt");
    QTest::addColumn<QString>("iv");
    // A key file padded with blanks inside the object to `size` bytes, `extra` after it.
    const auto padded = [](int size, const QByteArray& extra) {
        const QByteArray head = R"({"Salt": "s3", "IV": "AAAAAAAAAAA=")";
        return head + QByteArray(size - head.size() - 1, ' ') + '}' + extra;
    };
    QTest::newRow("key file") << QByteArray(R"({"Salt": "s3", "IV": "AAAAAAAAAAA="})") << "s3"
                              << "AAAAAAAAAAA=";
    QTest::newRow("not JSON") << QByteArray("garbage") << QString() << QString();
    QTest::newRow("IV missing") << QByteArray(R"({"Salt": "s3"})") << "s3" << QString();
    // The limit is 64 KiB; a file one byte longer is refused even where its first 64 KiB read
    // as a key file.
    QTest::newRow("exactly 64 KiB") << padded(65536, {}) << "s3"
                                    << "AAAAAAAAAAA=";
    QTest::newRow("one byte more") << padded(65536, "\n") << QString() << QString();
    QTest::newRow("far larger") << padded(70 * 1024, {}) << QString() << QString();
}

// What the key file gives the window; anything that is no key file gives empty texts.
void TestEncryptionKey::keyFileContent()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, salt);
    QFETCH(QString, iv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("key.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    window->ui->lineEdit_encryptionPasskey->setText(path);
    window->encryptionSalt = window->encryptionIV = QStringLiteral("before");
    window->loadEncryptionFile();
    QCOMPARE(window->encryptionSalt, salt);
    QCOMPARE(window->encryptionIV, iv);
}

// What the link tells of the change, in order; the button shows the key in use, and the panes and
// the log say why.
void TestEncryptionKey::acknowledgementColours_data()
{
    using S = KeyChangeState;
    QTest::addColumn<QList<KeyChangeState>>("states");
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("timerRuns");
    QTest::addColumn<bool>("changeWaits");
    QTest::addColumn<QString>("said"); // the last line logged, after the time-out where it runs
    const QString confirmed =
        QStringLiteral("INFO: The unit confirmed the new encryption key and its IV; it is in use.");
    const QString seenNew =
        QStringLiteral("INFO: The unit's frames use the new encryption key; it is in use.");
    const QString notTaken =
        QStringLiteral("ERROR: The new encryption key was not taken; the unit may still hold the "
                       "key before the change, which stays in use.");
    QTest::newRow("confirmed") << QList<S>{S::Confirmed} << "background: green" << false << true
                               << confirmed;
    QTest::newRow("seen under the new key")
        << QList<S>{S::SeenNewKey} << "background: green" << false << true << seenNew;
    QTest::newRow("refused") << QList<S>{S::Refused} << "background: red" << false << true
                             << notTaken;
    QTest::newRow("given up") << QList<S>{S::GivenUp} << "background: red" << false << true
                              << notTaken;
    QTest::newRow("refused, then seen under the new key")
        << QList<S>{S::Refused, S::SeenNewKey} << "background: green" << false << true << seenNew;
    QTest::newRow("refused, then seen under the old key")
        << QList<S>{S::Refused, S::SeenOldKey, S::Closed} << "background: red" << false << true
        << "INFO: The unit's frames use the key before the change; it stays in use.";
    QTest::newRow("confirmed, then a stray refusal")
        << QList<S>{S::Confirmed, S::Closed, S::Refused} << "background: green" << false << true
        << confirmed;
    // A unit started again keeps a new key only with its IV.
    QTest::newRow("seen under the new key, then under the old one")
        << QList<S>{S::SeenNewKey, S::SeenOldKey} << "background: red" << false << true
        << "INFO: The unit's frames use the key before the change again; it is in use.";
    QTest::newRow("the key answered, its IV not by the time-out")
        << QList<S>{S::KeyAnswered} << "background: blue" << true << true
        << "ERROR: The unit confirmed the new encryption key but did not answer its IV; the "
           "current key stays in use. The new key's salt and IV are kept in " +
               keyFile(QStringLiteral("the key answered, its IV not by the time-out"));
    QTest::newRow("seen under the new key with no change waiting")
        << QList<S>{S::SeenNewKey} << "background: blue" << true << false << QString();
}

void TestEncryptionKey::acknowledgementColours()
{
    QFETCH(QList<KeyChangeState>, states);
    QFETCH(QString, style);
    QFETCH(bool, timerRuns);
    QFETCH(bool, changeWaits);
    QFETCH(QString, said);
    window->encryptWriteCommands = false;
    window->encryptionKey = "in-use";
    const QString location = window->ui->lineEdit_encryptionPasskey->text();
    window->on_pushButton_createEncryptionPasskey_clicked();
    window->encryptionKeyDialog->hide();
    window->keyConfirmed = false;
    if (changeWaits) {
        window->finishedEncryptionSetup(kNewKey, 1, QString::fromLatin1(QTest::currentDataTag()),
                                        kNewIv);
        // As if the queue had handed the change's commands to the link.
        window->commandQueue.clear();
        window->keyChange.unsent.clear();
    }
    window->on_pushButton_clearNotifications_clicked();
    const QString settings = settingsFilePath();
    QFile::remove(settings);
    QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
    for (const KeyChangeState state : states)
        window->on_encryption_confirmation_status_change(state);
    QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(), style);
    QCOMPARE(window->passkeyTimer.isActive(), timerRuns);
    const bool taken = style.endsWith(QLatin1String("green"));
    QCOMPARE(window->encryptionKey, taken ? kNewKey.toUtf8() : QByteArray("in-use"));
    QCOMPARE(window->keyConfirmed, taken);
    // The key file of the key in use is named in the settings file at once, not at the next
    // autosave: a station started again derives the key named there.
    if (QFile::exists(settings) || taken)
        QCOMPARE(
            QJsonDocument::fromJson(fileBytes(settings)).object().value("KEYLOCATION").toString(),
            taken ? keyFile(QString::fromLatin1(QTest::currentDataTag())) : location);
    // Only the end of the waiting change without its key is an error.
    const bool notTaken = changeWaits && (states.constFirst() == KeyChangeState::Refused ||
                                          states.constFirst() == KeyChangeState::GivenUp);
    QCOMPARE(window->ui->textEdit_ErrorMsgs->toPlainText().isEmpty(), !notTaken);
    if (timerRuns) {
        window->on_encryption_passkey_set_timeout();
        QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
                 QStringLiteral("background: red"));
        QVERIFY(!window->passkeyTimer.isActive());
    }
    QCOMPARE(logged.isEmpty() ? QString() : logged.last().at(0).toString(), said);
}

void TestEncryptionKey::encryptionSwitchColours()
{
    const QString idle = QStringLiteral("background: #1F2933");
    auto* enable = window->ui->pushButtonEnableEncryption;
    auto* disable = window->ui->pushButtonDisableEncryption;
    window->on_pushButtonEnableEncryption_clicked();
    window->on_pushButtonDisableEncryption_clicked();
    QCOMPARE(window->commandQueue, (QList<QByteArray>{"encrypt ON\r\n", "encrypt OFF\r\n"}));
    QCOMPARE(enable->styleSheet(), idle);
    QCOMPARE(disable->styleSheet(), QStringLiteral("background: blue"));

    const struct {
        int state;
        const char* enable;
        const char* disable;
    } rows[] = {{1, "background: green", "background: #1F2933"},
                {2, "background: #1F2933", "background: green"},
                {0, "background: red", "background: red"},
                {7, "background: red", "background: red"}};
    for (const auto& row : rows) {
        window->on_encryption_status_change(row.state);
        QCOMPARE(enable->styleSheet(), QString(row.enable));
        QCOMPARE(disable->styleSheet(), QString(row.disable));
    }
}

void TestEncryptionKey::incomingStateShownOncePerChange()
{
    QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
    window->on_pushButton_clearNotifications_clicked();
    window->incomingEncryptionState = 0;
    for (int state : {0, 1, 1, 2, 2, 0})
        window->setEncryptionStatus(state);
    QCOMPARE(firstArgs(logged),
             (QStringList{"INFO: Incoming data format changed to Encrypted.",
                          "ERROR: Incoming data format changed to Encrypted, but error decrypting.",
                          "INFO: Incoming data format changed to Not Encrypted."}));
    QCOMPARE(window->ui->textEdit_SysMsgs->toPlainText().count("INFO: Incoming data is Encrypted."),
             1);
    QCOMPARE(window->ui->textEdit_ErrorMsgs->toPlainText().count(
                 "WARNING: Incoming data is Encrypted, but has error decrypting."),
             1);
}

void TestEncryptionKey::startPageOffersPasswordAgain_data()
{
    QTest::addColumn<bool>("reset");
    QTest::newRow("after a password") << false;
    QTest::newRow("after a reset") << true;
}

// A wrong password brings the start page back: the emptied password field is offered again.
void TestEncryptionKey::startPageOffersPasswordAgain()
{
    QFETCH(bool, reset);
    QVERIFY(window->saveEncryptedFile(QStringLiteral("again"), QStringLiteral("k"),
                                      QByteArray::fromHex("3333333333333333"), true));
    const QString password = QStringLiteral("wrong-password");
    secrets << password.toUtf8();
    window->show();
    Ui_MainGUI& ui = *window->ui;
    // A known key file, as the settings file gives at start-up: the password is asked at once.
    ui.lineEdit_encryptionPasskey->setText(keyFile(QStringLiteral("again")));

    window->setupEncryptionMode();
    QVERIFY(ui.lineEdit_enterEncryptionKey->isVisible());
    // The file named may not hold the unit's key (a station started during a key change).
    QVERIFY(ui.pushButton_forceSelectKeyFile->isVisible());
    ui.lineEdit_enterEncryptionKey->setText(password);
    if (reset)
        window->generateEncryptionKey(password, QStringLiteral("again"), false);
    else
        QTest::mouseClick(ui.pushButton_enterEncryptionKeyProgram, Qt::LeftButton);
    QVERIFY(!ui.lineEdit_enterEncryptionKey->isVisible());
    // A second press would start a second derivation.
    QVERIFY(!ui.pushButton_enterEncryptionKeyProgram->isVisible());
    window->finishedEncryptionSetup(QStringLiteral("k"), 0, QStringLiteral("again"), QByteArray());

    window->setupEncryptionMode();
    QVERIFY(ui.label_encryptionKeyEnter->isVisible());
    QVERIFY(ui.lineEdit_enterEncryptionKey->isVisible());
    QVERIFY(ui.lineEdit_enterEncryptionKey->text().isEmpty());
    QVERIFY(ui.pushButton_enterEncryptionKeyProgram->isVisible());
    QVERIFY(!ui.label_encryptionKeyProgramMessage->isVisible());
    QVERIFY(!ui.label_loadingEncryptionKey->isVisible());

    window->finishedEncryptionSetup(QStringLiteral("k"), 0, QStringLiteral("again"), QByteArray());
    window->hide();
}

// Runs last: every flow above has had its chance to leak.
void TestEncryptionKey::noSecretInAnyOutput()
{
    // What the link and the logger were asked to write is written before the files are read.
    for (QObject* worker :
         {static_cast<QObject*>(window->dataIncoming), static_cast<QObject*>(window->logger)})
        QMetaObject::invokeMethod(
            worker, [] {}, Qt::BlockingQueuedConnection);
    const QString output = [] {
        QMutexLocker locked(&outputLock);
        return debugOutput.join(QLatin1Char('\n'));
    }();
    QVERIFY(output.contains(QStringLiteral("generated key (Base64 encoded): <hidden>")));
    QVERIFY(output.contains(QStringLiteral("INFO: ORVA Command Sent [ key <hidden> ]")));
    QVERIFY(output.contains(QStringLiteral("INFO: ORVA Command Sent [ iv <hidden> ]")));
    for (const QByteArray& secret : secrets)
        QVERIFY2(!output.contains(QString::fromLatin1(secret)), secret.constData());

    // A station-radio command is shown as the link's text of it; read under the keys the unit
    // held, none may carry a secret. Readable ones must be found, or the check proves nothing.
    int readable = 0;
    const auto checkCommandTexts = [&](const QString& text, const QString& where) {
        for (const QString& command : bracketedTexts(text)) {
            for (const QByteArray& key : {kOldKey, QByteArray::fromBase64(kNewKey.toLatin1())}) {
                const QByteArray plain = decryptLoggedCommand(command.toLatin1(), key);
                readable += plain.startsWith("led ON") ? 1 : 0;
                for (const QByteArray& secret : secrets)
                    QVERIFY2(!plain.contains(secret), qPrintable(where + ": " + command));
            }
        }
    };
    checkCommandTexts(output, QStringLiteral("debug output"));

    QDirIterator files(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                       QDir::Files, QDirIterator::Subdirectories);
    int read = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        const QByteArray bytes = fileBytes(path);
        // A key file holds its IV by design; no other secret.
        const bool keyFile = files.fileName().startsWith(QLatin1String("Keyfile_"));
        for (const QByteArray& secret : secrets) {
            if (keyFile && (secret == kNewIv.toBase64() || secret == kOldIv.toBase64()))
                continue;
            QVERIFY2(!bytes.contains(secret), qPrintable(path + QLatin1Char(' ') + secret));
        }
        checkCommandTexts(QString::fromLatin1(bytes), path);
        read += bytes.isEmpty() ? 0 : 1;
    }
    QVERIFY(read > 2);
    QVERIFY(readable > 1);
}

QTEST_MAIN(TestEncryptionKey)
#include "tst_encryptionkey.moc"
