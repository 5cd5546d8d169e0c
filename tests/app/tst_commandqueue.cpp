// The command queue: BRQ commands at once, ORVA commands one per tick, and the radio link's
// encryption checked by decrypting with an independent reference cipher.

#include "tests/support/testsupport.h"

#include "app/commandqueue.h"
#include "app/maingui.h"
#include "forms/maingui_ui.h"
#include "link/data_incoming.h"
#include "tests/app/aesreference.h"
#include "tests/app/apptest.h"
#include "tools/unitsim/unitsim.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include <memory>

Q_DECLARE_METATYPE(RadioCommand::Result)

using unitsim::UnitOptions;
using unitsim::UnitSim;

namespace
{

const QByteArray kKey =
    QByteArray::fromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
const QByteArray kIv = QByteArray::fromHex("f0f1f2f3f4f5f6f7");

QByteArray keyText()
{
    return kKey.toBase64();
}
QString ivText()
{
    return QString::fromLatin1(kIv.toBase64());
}

// The link's Base64 has "-" where the standard alphabet has "/".
QByteArray decodeLinkText(QByteArray text)
{
    return QByteArray::fromBase64(text.replace('-', '/'));
}

// What the unit does with an encrypted command: decode, check the counter block, decrypt and
// strip the padding. Fails the calling test on any inconsistency.
QByteArray decryptWire(const QByteArray& wire)
{
    if (!wire.endsWith('\r'))
        return "<no CR>";
    const QByteArray text = wire.chopped(1);
    for (char c : text) {
        if (!(QChar::isLetterOrNumber(static_cast<uchar>(c)) && static_cast<uchar>(c) < 128) &&
            c != '+' && c != '-' && c != '=')
            return "<bad character>";
    }
    const QByteArray message = decodeLinkText(text);
    if (message.size() < 32 || message.size() % 16 != 0)
        return "<bad length>";
    const QByteArray block = message.left(16);
    if (block.left(4) != QByteArray(4, '\0') || block.mid(4, 8) != kIv ||
        block.mid(12) != QByteArray(4, '\0'))
        return "<bad counter block>";
    const QByteArray padded = Aes256Reference(kKey).ctr(block, message.mid(16));
    const int pad = static_cast<quint8>(padded.back()) == 0 ? 16 : padded.back();
    if (pad > 16 || padded.right(pad) != QByteArray(pad, static_cast<char>(pad % 16)))
        return "<bad padding>";
    return padded.chopped(pad);
}

} // namespace

class TestCommandQueue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        enableDebugOutput();
        window = std::make_unique<MainGUI>();
    }
    void init()
    {
        window->commandQueue.clear();
        window->cmdWriteTimer->stop();
        window->deviceType = DeviceTypes::ORVA;
        window->encryptWriteCommands = false;
        window->encryptionKey = keyText();
        window->encryptionIV = ivText();
        sent = std::make_unique<QSignalSpy>(window.get(), &MainGUI::writeSerial);
    }
    void cleanupTestCase()
    {
        sent.reset();
        window.reset();
    }

    void referenceCipherKnownAnswer()
    {
        // FIPS-197 appendix C.3.
        const Aes256Reference aes(QByteArray::fromHex(
            "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f"));
        QCOMPARE(aes.encryptBlock(QByteArray::fromHex("00112233445566778899aabbccddeeff")).toHex(),
                 QByteArray("8ea2b7ca516745bfeafc49904b496089"));
    }
    void radioCommandDecryptsBack_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("messageBytes");

        QTest::newRow("query") << QByteArray("frequency\r\n") << 32;
        QTest::newRow("empty, a whole block of padding") << QByteArray() << 32;
        QTest::newRow("15 bytes, one pad byte") << QByteArray(15, 'a') << 32;
        QTest::newRow("16 bytes, 16 pad bytes") << QByteArray(16, 'b') << 48;
        QTest::newRow("binary bytes") << QByteArray::fromHex("00ff0d0a7e40") << 32;
        QTest::newRow("longest, 207 bytes") << QByteArray(207, 'z') << 224;
    }
    void radioCommandDecryptsBack()
    {
        QFETCH(QByteArray, command);
        QFETCH(int, messageBytes);

        QByteArray wire;
        QCOMPARE(RadioCommand::encrypt(command, keyText(), ivText(), &wire),
                 RadioCommand::Result::Encrypted);
        QCOMPARE(decodeLinkText(wire.chopped(1)).size(), messageBytes);
        QCOMPARE(decryptWire(wire), command);
        if (command.size() == 207)
            QCOMPARE(wire.size(), 300 + 1);
    }
    void radioCommandRefused_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("iv");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<RadioCommand::Result>("result");

        const QByteArray cmd("led=ON\r\n");
        QTest::newRow("no key") << QByteArray() << ivText() << cmd << RadioCommand::Result::NoKey;
        QTest::newRow("no IV") << keyText() << QString() << cmd << RadioCommand::Result::NoKey;
        QTest::newRow("short key")
            << kKey.left(31).toBase64() << ivText() << cmd << RadioCommand::Result::BadKey;
        QTest::newRow("short IV") << keyText() << QString::fromLatin1(kIv.left(7).toBase64()) << cmd
                                  << RadioCommand::Result::BadKey;
        QTest::newRow("208 bytes")
            << keyText() << ivText() << QByteArray(208, 'x') << RadioCommand::Result::TooLong;
        QTest::newRow("beyond the plaintext buffer")
            << keyText() << ivText() << QByteArray(600, 'x') << RadioCommand::Result::TooLong;
    }
    void radioCommandRefused()
    {
        QFETCH(QByteArray, key);
        QFETCH(QString, iv);
        QFETCH(QByteArray, command);
        QFETCH(RadioCommand::Result, result);

        QByteArray wire("untouched");
        QCOMPARE(RadioCommand::encrypt(command, key, iv, &wire), result);
        QCOMPARE(wire, QByteArray("untouched"));
    }

    void brqCommandGoesAtOnce()
    {
        window->deviceType = DeviceTypes::BRQ;
        window->writecommands("m0\r");
        QCOMPARE(sentBytes(), QList<QByteArray>{"m0\r"});
        QVERIFY(window->commandQueue.isEmpty());
        QVERIFY(!window->cmdWriteTimer->isActive());
    }

    void orvaCommandsOnePerTick()
    {
        queue({"frequency\r\n", "metar_offset\r\n", ""});
        // Nothing leaves before the first tick; the timer paces at one command per second.
        QCOMPARE(sent->count(), 0);
        QVERIFY(window->cmdWriteTimer->isActive());
        QVERIFY(!window->cmdWriteTimer->isSingleShot());
        QCOMPARE(window->cmdWriteTimer->interval(), 1000);

        const QList<QByteArray> expected = {"frequency\r\n", "metar_offset\r\n", ""};
        for (int tick = 0; tick < 3; ++tick) {
            window->try_command_write();
            QCOMPARE(sentBytes(), expected.mid(0, tick + 1));
            QVERIFY(window->cmdWriteTimer->isActive());
        }
        window->try_command_write();
        QCOMPARE(sent->count(), 3);
        QVERIFY(!window->cmdWriteTimer->isActive());
    }

    // The serial/radio choice acts on commands as they leave, each encrypted on its own.
    void radioLinkEncryptsEachCommand()
    {
        queue({"led=ON\r\n", "frequency\r\n", "icao=KVDS\r\n"});
        window->setORVAencryptWritecommands(false);
        tick(1);
        window->setORVAencryptWritecommands(true);
        tick(2);
        QCOMPARE(sent->count(), 3);
        QCOMPARE(sent->at(0).at(0).toByteArray(), QByteArray("led=ON\r\n"));
        QCOMPARE(decryptWire(sent->at(1).at(0).toByteArray()), QByteArray("frequency\r\n"));
        QCOMPARE(decryptWire(sent->at(2).at(0).toByteArray()), QByteArray("icao=KVDS\r\n"));
    }

    // A command that cannot be encrypted is named to the operator, never lost without a trace,
    // and does not hold back the next one, which the unit on the line decrypts.
    void refusedCommandIsReported_data()
    {
        QTest::addColumn<bool>("keyLoaded");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("ledCell");
        QTest::newRow("no key") << false << QByteArray("led ON\r\n")
                                << "ERROR: No encryption key loaded for the station radio; "
                                   "command not sent [ led ON ]"
                                << QStringLiteral("\u274C");
        QTest::newRow("no key, key command kept secret")
            << false << "key" + keyText() + "\r"
            << "ERROR: No encryption key loaded for the station radio; command not sent "
               "[ key <hidden> ]"
            << " ";
        QTest::newRow("too long") << true << QByteArray(208, 'x')
                                  << "ERROR: Command of 208 bytes too long to encrypt for the "
                                     "station radio (at most 207); not sent."
                                  << " ";
    }
    void refusedCommandIsReported()
    {
        QFETCH(bool, keyLoaded);
        QFETCH(QByteArray, command);
        QFETCH(QString, error);
        QFETCH(QString, ledCell);
        UnitOptions options;
        options.periodMs = 60000;
        options.key = keyText();
        options.iv = kIv.toBase64();
        UnitSim unit(options);
        QVERIFY(unit.open());
        QSignalSpy heard(&unit, &UnitSim::commandReceived);
        emit window->setDeviceType(DeviceTypes::ORVA);
        const QueuedSpy linkLog(window->dataIncoming, &data_incoming::sendLogMsg);
        window->openserialport(unit.portPath());
        VERIFY_OPENED(linkLog, unit.portPath());
        QTRY_VERIFY_WITH_TIMEOUT(unit.isLinked(), 10000);

        window->encryptWriteCommands = true;
        if (!keyLoaded)
            window->encryptionKey.clear();
        window->update_orva_command_statuses(CmdLed, CmdStatusBlank);
        window->on_pushButton_clearNotifications_clicked();
        QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
        if (keyLoaded)
            QTest::ignoreMessage(QtDebugMsg, "CRITICAL: AES_ERROR, Unable to Encrypt Data");
        queue({command});
        tick(1);
        QCOMPARE(sent->count(), 0);
        QCOMPARE(firstArgs(logged), QStringList(error));
        QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().trimmed().endsWith(error));
        QCOMPARE(window->commandStatusLabels[CmdLed]->text(), ledCell);

        window->encryptionKey = keyText();
        queue({"led ON\r\n"});
        tick(1);
        QTRY_COMPARE_WITH_TIMEOUT(heard.count(), 1, 10000);
        QCOMPARE(heard.at(0).at(0).toByteArray(), QByteArray("led ON"));
        QVERIFY(heard.at(0).at(1).toBool());
        window->closeserialport();
    }

    void newConnectionEmptiesQueue()
    {
        queue({"frequency\r\n", "metar_offset\r\n"});
        window->on_pushButtonSetupConnection_clicked();
        QVERIFY(window->commandQueue.isEmpty());
        QVERIFY(!window->cmdWriteTimer->isActive());
        tick(1);
        QCOMPARE(sent->count(), 0);
    }

private:
    std::unique_ptr<MainGUI> window;
    std::unique_ptr<QSignalSpy> sent;

    void queue(const QList<QByteArray>& commands)
    {
        for (const QByteArray& command : commands)
            window->writecommands(command);
    }
    void tick(int times)
    {
        while (times-- > 0)
            window->try_command_write();
    }
    QList<QByteArray> sentBytes() const
    {
        QList<QByteArray> bytes;
        for (const QList<QVariant>& call : *sent)
            bytes << call.at(0).toByteArray();
        return bytes;
    }
};

QTEST_MAIN(TestCommandQueue)
#include "tst_commandqueue.moc"
