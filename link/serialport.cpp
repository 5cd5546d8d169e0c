#include "link/data_incoming.h"

#include "decoder/clock.h"
#include "decoder/weatherdatadecoder.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMetaEnum>
#include <QStandardPaths>
#include <QTimer>

#include <limits>
#include <utility>

qint32 idleTicks = 0;

namespace
{
const QByteArray kHiddenKey = "key <hidden>";
const QByteArray kHiddenIv = "iv <hidden>";
} // namespace

// The key command carries the link key: its text never goes to the log.
bool data_incoming::isKeyCommand(const QByteArray& cmd) const
{
    return shownCommand(cmd) == kHiddenKey;
}

// A command as the log and the debug output may show it: the key and the IV stay hidden, in clear
// text and in the station radio's text alike.
QByteArray data_incoming::shownCommand(const QByteArray& cmd) const
{
    for (const auto& hidden : hiddenCommands) {
        if (hidden.first == cmd)
            return hidden.second;
    }
    if (cmd.contains("key"))
        return kHiddenKey;
    if (cmd.startsWith("iv"))
        return kHiddenIv;
    return cmd;
}

void data_incoming::hideCommandText(const QByteArray& wire, const QByteArray& shown)
{
    hiddenCommands.append({wire, shown});
}

void data_incoming::forgetHiddenCommand(const QByteArray& cmd)
{
    for (int i = 0; i < hiddenCommands.size(); ++i) {
        if (hiddenCommands.at(i).first == cmd) {
            hiddenCommands.removeAt(i);
            return;
        }
    }
}

void data_incoming::setRetryIntervals(int reconnectMs, int waitWriteMs)
{
    reconnectIntervalMs = reconnectMs;
    waitWriteIntervalMs = waitWriteMs;
    if (portReconnectTimer)
        portReconnectTimer->setInterval(reconnectMs);
    if (waitWriteTimer)
        waitWriteTimer->setInterval(waitWriteMs);
}

void data_incoming::openSerialPort(const QString& name)
{
    portName = name;
    serialPort->setPortName(name);

    const bool fast = deviceType == DeviceTypes::ORVA && !legacyOrva;
    serialPort->setBaudRate(fast ? QSerialPort::Baud57600 : QSerialPort::Baud9600,
                            QSerialPort::AllDirections);
    serialPort->setDataBits(QSerialPort::Data8);
    serialPort->setParity(QSerialPort::NoParity);
    serialPort->setStopBits(QSerialPort::OneStop);
    serialPort->setFlowControl(QSerialPort::NoFlowControl);

    if (serialPort->open(QIODevice::ReadWrite)) {
        qDebug().noquote() << "INFO: Successfully Opened Serial Port " + name;
        emit sendLogMsg("INFO: Successfully Opened Serial Port " + portNameBytes());
        if (resourceErrorSeen && reconnectActive) {
            portReconnectTimer->stop();
            resourceErrorSeen = false;
            reconnectActive = false;
        }
        return;
    }

    const QString reason = serialPort->errorString();
    qDebug().noquote() << "ERROR: Unable to Open Serial Port " + name + " " + reason;
    emit sendLogMsg("ERROR: Unable to Open Serial Port " + name.toUtf8() + " " + reason.toUtf8());
    emit sendDisplayErrorMsg(QStringLiteral("CRITICAL: Unable to open serial port"));
}

void data_incoming::closeSerialPort()
{
    // A port the operator closed stays closed: no reconnect attempt may reopen it, and a held
    // command (for a BRQ unit, one waiting for the prompt or still going out) belongs to the
    // connection it was given for, not to the next one.
    if (portReconnectTimer)
        portReconnectTimer->stop();
    reconnectActive = false;
    resourceErrorSeen = false;
    if (waitWriteTimer)
        waitWriteTimer->stop();
    if (!heldCommand.isEmpty())
        reportHeldCommandDropped(heldCommand, "Serial Port Closed");
    heldCommand.clear();
    // The next connection may reach another unit: nothing more of a key change goes there, and
    // its frames tell which key is in use.
    endKeyChange("Serial Port Closed", KeyChangeState::GivenUp);
    hiddenCommands.clear();
    judgeBrqConnectionEnd();
    reportUnsentBrqCommands();
    pendingCommands.clear();
    transmitQueue.clear();

    if (serialPort->isOpen())
        serialPort->close();
    forgetConnection();
    decoder->connectionClosed();
    emit sendLogMsg("INFO: Successfully Closed Serial Port " + portNameBytes());
}

// What the unit sent is judged when its connection ends, as at a silence, so that its lines come
// before the close and none of its bytes is read with the next connection's. A prompt judged now
// lets no command go, and a picture cannot go on over another connection.
void data_incoming::judgeBrqConnectionEnd()
{
    if (deviceType != DeviceTypes::BRQ)
        return;
    const QByteArray waiting = std::exchange(pendingCommands, QByteArray());
    dropReceiveBuffer("when the serial port closed");
    pendingCommands = waiting;
    if (imageCamera >= 0)
        abandonImage(imageCamera, "the serial port was closed");
}

void data_incoming::handleError(QSerialPort::SerialPortError error)
{
    const QString reason = serialPort->errorString();
    if (reason != QLatin1String("No error")) {
        qDebug().noquote() << "ERROR: " + reason;
        emit sendLogMsg("ERROR: " + reason.toUtf8());
        emit sendDisplayErrorMsg(QStringLiteral("ERROR: Serial Port Error"));
        qDebug().noquote() << QStringLiteral("Returned error info: ") +
                                  QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(
                                      error);
    }

    // An unplugged adapter reports a resource error; a vanished pseudo-terminal keeps the port
    // open and repeats read errors without end. Either way the port is gone.
    const bool lost = error == QSerialPort::ResourceError ||
                      (serialPort->isOpen() &&
                       (error == QSerialPort::ReadError || error == QSerialPort::WriteError));
    if (lost && !losingPort)
        losePort(reason);
}

void data_incoming::losePort(const QString& reason)
{
    losingPort = true;
    resourceErrorSeen = true;
    keyChangeLostWithPort();

    qDebug().noquote() << "ERROR: " + reason;
    emit sendLogMsg("ERROR: Closing Serial Port Due to Error -- " + reason.toUtf8());
    emit sendDisplayErrorMsg(QStringLiteral("ERROR: Serial Port closing due to resource error"));

    if (serialPort->isOpen()) {
        judgeBrqConnectionEnd();
        dropBrqCommandsGoingOut();
        serialPort->close();
        emit sendLogMsg("INFO: Successfully Closed Serial Port " + portNameBytes());
    }

    if (!reconnectActive) {
        if (!portReconnectTimer) {
            portReconnectTimer = new QTimer(this);
            portReconnectTimer->setObjectName(QStringLiteral("portReconnectTimer"));
            connect(portReconnectTimer, &QTimer::timeout, this, &data_incoming::reconnectTimer);
        }
        portReconnectTimer->start(reconnectIntervalMs);
        reconnectActive = true;
    }
    losingPort = false;
}

void data_incoming::reconnectTimer()
{
    openSerialPort(portName);
}

void data_incoming::receiveData()
{
    lastRead = serialPort->readAll();
    if (devMode)
        return;

    switch (deviceType) {
    case DeviceTypes::BRQ:
        parseData_BRQ(lastRead);
        break;
    case DeviceTypes::ORVA:
        if (legacyOrva)
            parseData_ORVA_Legacy(lastRead);
        else
            parseData_ORVA(lastRead);
        break;
    default:
        qDebug() << "ERROR: Device Type Not Set";
        emit sendLogMsg("ERROR: Device Type Not Set, Unable to parse Data. ");
        emit sendDisplayErrorMsg(
            QStringLiteral("CRITICAL: Device Type Not Set, unable to parse data."));
        break;
    }
}

void data_incoming::dataTimer()
{
    if (idleTicks < std::numeric_limits<qint32>::max())
        ++idleTicks;

    if (deviceType != DeviceTypes::BRQ)
        return;
    if (idleTicks == brqSilenceTicks && !receiveBuffer.isEmpty())
        dropReceiveBuffer();
    // Nothing is written to a closed port, so nothing may leave the queues either.
    if (!serialPort->isOpen())
        return;

    // A command already going out is finished first: wake-up blanks in its middle would
    // corrupt it, and the next prompt would replace what is left of it.
    if (!transmitQueue.isEmpty()) {
        const qint64 written = serialPort->write(transmitQueue.constData(), 1);
        serialPort->flush();
        // A write that loses the port (handleError) drops the rest of the line with it; one that
        // fails on a port still open keeps the byte for the next tick.
        if (written == 1 && serialPort->isOpen()) {
            const char byte = transmitQueue.at(0);
            transmitQueue.remove(0, 1);
            if (byte == '\r' || transmitQueue.isEmpty())
                transmitLine.clear();
            else
                transmitLine += byte;
        }
    } else if (!pendingCommands.isEmpty()) {
        // Wakes the unit until its prompt lets the pending commands go out.
        serialPort->write("    ", 4);
        serialPort->flush();
    }
}

void data_incoming::setCommandBuffer(const QByteArray& cmd)
{
    // Only the ORVA path shows what it writes.
    if (deviceType != DeviceTypes::ORVA)
        forgetHiddenCommand(cmd);
    switch (deviceType) {
    case DeviceTypes::BRQ:
        if (!pendingCommands.isEmpty())
            pendingCommands.append(' ');
        pendingCommands.append(cmd);
        return;
    case DeviceTypes::ORVA:
        break;
    default:
        return;
    }

    if (takeKeyChangeCommand(cmd))
        return;
    if (!putOrvaCommand(cmd))
        holdOrvaCommand(cmd);
}

// Writes an ORVA command to the open port; false when the port is closed or the write failed.
// `named` stands for the command wherever it is named (empty: the command as it may be shown).
bool data_incoming::putOrvaCommand(const QByteArray& cmd, const QByteArray& named)
{
    const QByteArray shown = named.isEmpty() ? shownCommand(cmd) : named;
    const bool key = shown == kHiddenKey;
    if (!serialPort->isOpen())
        return false;
    const qint64 written = serialPort->write(cmd);
    serialPort->flush();
    // A write error closes the port (handleError) even though the bytes were buffered.
    if (written != cmd.size() || !serialPort->isOpen()) {
        if (key)
            emit sendLogMsg("ERROR: ORVA Command to Update the Key Encryption File Not Sent");
        else
            emit sendLogMsg("ERROR: ORVA Command Not Sent [ " + shown + " ]");
        return false;
    }
    if (key)
        emit sendLogMsg("INFO: ORVA Command to Update the Key Encryption File Sent");
    else
        emit sendLogMsg("INFO: ORVA Command Sent [ " + shown + " ]");
    qDebug().noquote() << "INFO: ORVA Command Sent [ " + QString::fromUtf8(shown) + " ] " +
                              Clock::now().toString();
    emit sendCommandConfirmation();
    forgetHiddenCommand(cmd);
    return true;
}

void data_incoming::holdOrvaCommand(const QByteArray& cmd)
{
    qDebug() << "INFO: Serial Port not connected, queueing commands until open...";

    // One command is held besides a key change, and the operator must learn which one will never
    // go out. A change whose key never reached the unit gives way to a later command, as a held
    // command does; one whose key did goes on, since the unit may hold that key by now. The held
    // command then goes behind the key and ahead of the IV: the window encrypted it under the key
    // in use until the unit's frames show the new one.
    if (keyChange.step == KeyStep::Given && !keyChange.keyWentOut)
        endKeyChange("Replaced by a Newer Command", KeyChangeState::GivenUp);
    if (!heldCommand.isEmpty()) {
        reportHeldCommandDropped(heldCommand, "Replaced by a Newer Command");
        forgetHiddenCommand(heldCommand);
        heldCommand.clear();
    }
    heldCommand = cmd;
    waitForPort();
}

void data_incoming::waitForPort()
{
    if (!waitWriteTimer) {
        waitWriteTimer = new QTimer(this);
        waitWriteTimer->setObjectName(QStringLiteral("waitWriteTimer"));
        connect(waitWriteTimer, &QTimer::timeout, this, &data_incoming::waitSerialWrite);
    }
    waitWriteTimer->start(waitWriteIntervalMs);
}

// The held command will never go out: the log names it, or says that it was the key command.
void data_incoming::reportHeldCommandDropped(const QByteArray& cmd, const QByteArray& why)
{
    if (isKeyCommand(cmd))
        emit sendLogMsg("WARNING: Held ORVA Command to Update the Key Encryption File Dropped, " +
                        why);
    else
        emit sendLogMsg("WARNING: Held ORVA Command Dropped, " + why + " [ " + shownCommand(cmd) +
                        " ]");
}

void data_incoming::waitSerialWrite()
{
    if (!serialPort->isOpen())
        return;
    // A write that fails closes the port: what is left stays held for the next connection. A key
    // change goes first: while its key, or the IV of a key the unit took, fails to go, the timer
    // ticks on and nothing goes behind it.
    sendKeyChange();
    if (keyChange.step == KeyStep::Given || keyChangeIvMayGo())
        return;
    if (!heldCommand.isEmpty() && !putOrvaCommand(heldCommand))
        return;
    heldCommand.clear();
    if (waitWriteTimer)
        waitWriteTimer->stop();
}

void data_incoming::writeData(const QByteArray& data)
{
    serialPort->write(data);
    serialPort->flush();
}

void data_incoming::debugORVApacket()
{
    qDebug() << "INFO:  debugORVApacket debugORVApacket";

    const QString path =
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                        QDir::separator() + QStringLiteral("VD_debug_msgs.txt"));
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.readAll();
    file.close();

    verifyBypass = true;
    parseData_ORVA(content);
    verifyBypass = false;
}
