// Link key derivation and the dialog that asks for a new key.

#include "tests/support/testsupport.h"

#include "app/checkencryptionkey.h"
#include "app/dialogencryptionkey.h"
#include "tests/app/apptest.h"

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
        << "password" << "salt" << 1 << "zXsgPjrvKKdzYT3kaQHZpdYhIos7PejeJM6lt4hFnIo=";
    QTest::newRow("first count already clean")
        << "password" << "salt" << 4 << "zXsgPjrvKKdzYT3kaQHZpdYhIos7PejeJM6lt4hFnIo=";
    QTest::newRow("full count, clean at once") << "Vantora-pass" << "4294967295"
                                               << checkEncryptionKey::defaultIterations
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
                                  Q_ARG(QString, QStringLiteral("12345")),
                                  Q_ARG(int, request));
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

QTEST_MAIN(TestEncryptionKey)
#include "tst_encryptionkey.moc"
