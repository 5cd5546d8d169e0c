// Link key derivation and the dialog that asks for a new key.

#include "tests/support/testsupport.h"

#include "app/checkencryptionkey.h"
#include "app/dialogencryptionkey.h"
#include "app/maingui.h"
#include "app/modalrunner.h"
#include "forms/maingui_ui.h"
#include "tests/app/apptest.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTextEdit>

#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

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
    void passwordLengthChecked_data();
    void passwordLengthChecked();
    void newKeyWritesFileAndQueuesCommands();
    void saltCannotLeaveDataFolder();
    void startPageRederivesWithKeyFileSalt();
    void settingsLocationChangesOnlySaltAndIv();
    void acknowledgementColours_data();
    void acknowledgementColours();
    void encryptionSwitchColours();
    void incomingStateShownOncePerChange();

private:
    std::unique_ptr<MainGUI> window;
    QString keyFile(const QString& salt) const;
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
    window = std::make_unique<MainGUI>();
    // Requests are checked as they leave the window; the derivation itself is tested above.
    QObject::disconnect(window.get(), &MainGUI::startEncryptionKeyCheck, window->keyChecker,
                        nullptr);
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

void TestEncryptionKey::cleanupTestCase()
{
    setModalRunner({});
    window.reset();
}

void TestEncryptionKey::init()
{
    setModalRunner({});
    window->commandQueue.clear();
    window->cmdWriteTimer->stop();
}

QString TestEncryptionKey::keyFile(const QString& salt) const
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                           "/Keyfile_" + salt + ".txt");
}

void TestEncryptionKey::passwordLengthChecked_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("7") << 7 << false;
    QTest::newRow("8") << 8 << true;
    QTest::newRow("32") << 32 << true;
    QTest::newRow("33") << 33 << false;
}

void TestEncryptionKey::passwordLengthChecked()
{
    QFETCH(int, length);
    QFETCH(bool, accepted);
    QStringList boxes;
    setModalRunner([&](QDialog& dialog) {
        boxes << static_cast<QMessageBox&>(dialog).text();
        return int(QMessageBox::Ok);
    });
    QSignalSpy requests(window.get(), &MainGUI::startEncryptionKeyCheck);
    window->generateEncryptionKey(QString(length, QLatin1Char('p')), QStringLiteral("77"), false);
    window->threadEncCheck->quit();
    window->threadEncCheck->wait();
    if (accepted) {
        QVERIFY(boxes.isEmpty());
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0).at(1).toString(), QStringLiteral("77"));
        QCOMPARE(requests.at(0).at(2).toInt(), 1);
    } else {
        QCOMPARE(requests.count(), 0);
        QCOMPARE(
            boxes,
            QStringList(
                QStringLiteral("The entered Password must be between 8 and 32 characters in length."
                               "\r\nYours is: %1 characters in length.")
                    .arg(length)));
    }
}

void TestEncryptionKey::newKeyWritesFileAndQueuesCommands()
{
    const QString key = QStringLiteral("5Hj31ujWRxPZl34F9rCK5VD4QU2T491Kpq2oRvYnNAI=");
    const QByteArray iv = QByteArray::fromHex("0102030405060708");
    QSignalSpy handed(window.get(), &MainGUI::setEncryptionKeyMain);
    QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);

    window->on_pushButton_createEncryptionPasskey_clicked();
    QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
             QStringLiteral("background: blue"));
    QVERIFY(window->passkeyTimer.isActive());
    window->encryptionKeyDialog->hide();

    // Same salt twice: the second key replaces the first file.
    window->finishedEncryptionSetup(QStringLiteral("old"), 1, QStringLiteral("4242"),
                                    QByteArray(8, 'x'));
    window->commandQueue.clear();
    handed.clear();
    logged.clear();
    window->finishedEncryptionSetup(key, 1, QStringLiteral("4242"), iv);

    const QString path = keyFile(QStringLiteral("4242"));
    QCOMPARE(window->ui->lineEdit_encryptionPasskey->text(), path);
    QCOMPARE(fileBytes(path),
             QByteArray("{\n    \"IV\": \"AQIDBAUGBwg=\",\n    \"Salt\": \"4242\"\n}\n\n"));
    QCOMPARE(window->commandQueue,
             (QList<QByteArray>{"key" + key.toUtf8() + "\r", QByteArray("ivAQIDBAUGBwg=\r")}));
    QCOMPARE(window->encryptionIV, QStringLiteral("AQIDBAUGBwg="));
    QCOMPARE(window->encryptionKey, key.toUtf8());
    QCOMPARE(handed.count(), 1);
    QCOMPARE(handed.at(0).at(0).toByteArray(), key.toUtf8());
    QCOMPARE(handed.at(0).at(1).toByteArray(), QByteArray("AQIDBAUGBwg="));
    QCOMPARE(firstArgs(logged),
             QStringList("INFO: Generated New Encryption Key, Salt and IV stored in file " + path));
    // Still awaiting the unit's answer.
    QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
             QStringLiteral("background: blue"));
    window->passkeyTimer.stop();
}

void TestEncryptionKey::saltCannotLeaveDataFolder()
{
    QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
    const QString escaping = QStringLiteral("/../../escaped");
    window->finishedEncryptionSetup(QStringLiteral("k"), 1, escaping, QByteArray(8, 'y'));
    QVERIFY(!QFile::exists(keyFile(escaping)));
    QCOMPARE(firstArgs(logged),
             QStringList("ERROR: Problem saving new encryption key Salt and IV in file."));
    // The key is sent and used all the same.
    QCOMPARE(window->commandQueue.size(), 2);
    QCOMPARE(window->encryptionKey, QByteArray("k"));
}

void TestEncryptionKey::startPageRederivesWithKeyFileSalt()
{
    window->finishedEncryptionSetup(QStringLiteral("k"), 1, QStringLiteral("salty"),
                                    QByteArray::fromHex("1111111111111111"));
    const QString path = window->ui->lineEdit_encryptionPasskey->text();
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
    QVERIFY(!window->ui->pushButton_forceSelectKeyFile->isVisible());
    QVERIFY(window->ui->pushButton_enterEncryptionKeyProgram->isVisible());

    QSignalSpy requests(window.get(), &MainGUI::startEncryptionKeyCheck);
    window->ui->lineEdit_enterEncryptionKey->setText(QStringLiteral("secret-pw"));
    QTest::mouseClick(window->ui->pushButton_enterEncryptionKeyProgram, Qt::LeftButton);
    QCOMPARE(window->ui->label_encryptionKeyProgramMessage->text(),
             QStringLiteral("Loading Encryption key..."));
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

    // Not JSON: both become empty.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("garbage");
    file.close();
    window->loadEncryptionFile();
    QVERIFY(window->encryptionSalt.isEmpty());
    QVERIFY(window->encryptionIV.isEmpty());

    // A huge file is not read in; it counts as unreadable.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(R"({"Salt": "big", "IV": "AAAAAAAAAAA=", "pad": ")");
    file.write(QByteArray(70 * 1024, 'x'));
    file.write(R"("})");
    file.close();
    window->encryptionSalt = QStringLiteral("before");
    window->loadEncryptionFile();
    QVERIFY(window->encryptionSalt.isEmpty());
}

void TestEncryptionKey::acknowledgementColours_data()
{
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("timerRuns");
    QTest::newRow("IV alone") << QStringList{"IV"} << "background: blue" << true;
    QTest::newRow("KEY alone") << QStringList{"KEY"} << "background: green" << false;
    QTest::newRow("IV then KEY") << QStringList{"IV", "KEY"} << "background: green" << false;
    QTest::newRow("ERROR") << QStringList{"ERROR"} << "background: red" << true;
    QTest::newRow("KEY then ERROR") << QStringList{"KEY", "ERROR"} << "background: red" << false;
}

void TestEncryptionKey::acknowledgementColours()
{
    QFETCH(QStringList, replies);
    QFETCH(QString, style);
    QFETCH(bool, timerRuns);
    window->on_pushButton_createEncryptionPasskey_clicked();
    window->encryptionKeyDialog->hide();
    window->keyConfirmed = false;
    for (const QString& reply : replies)
        window->on_encryption_confirmation_status_change(reply);
    QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(), style);
    QCOMPARE(window->passkeyTimer.isActive(), timerRuns);
    if (timerRuns) {
        window->on_encryption_passkey_set_timeout();
        QCOMPARE(window->ui->pushButton_createEncryptionPasskey->styleSheet(),
                 QStringLiteral("background: red"));
        QVERIFY(!window->passkeyTimer.isActive());
    }
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

QTEST_MAIN(TestEncryptionKey)
#include "tst_encryptionkey.moc"
