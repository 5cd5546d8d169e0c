// The one way out for device commands: BRQ commands at once, ORVA commands one per second,
// encrypted on the station-radio link.

#include "app/commandqueue.h"

#include "app/maingui.h"
#include "link/data_incoming.h"

#include <QDebug>

namespace
{
constexpr int kCommandWriteIntervalMs = 1000;

// A command that cannot go out: the operator learns which, and its row shows the failure.
void refuseCommand(MainGUI& window, const QByteArray& command, const QString& line)
{
    emit window.logDataMainMsg(line.toUtf8());
    window.displayErrorMessages(line);
    const int cell = RadioCommand::statusCell(command);
    if (cell >= 0)
        window.update_orva_command_statuses(cell, CmdStatusFailed);
}
} // namespace

QByteArray RadioCommand::hiddenText(const QByteArray& command)
{
    if (command.startsWith("key"))
        return "key <hidden>";
    if (command.startsWith("iv"))
        return "iv <hidden>";
    return {};
}

QString RadioCommand::shownCommand(const QByteArray& command)
{
    const QByteArray hidden = hiddenText(command);
    if (!hidden.isEmpty())
        return QString::fromLatin1(hidden);
    QByteArray text = command;
    while (text.endsWith('\r') || text.endsWith('\n'))
        text.chop(1);
    return QString::fromUtf8(text);
}

int RadioCommand::statusCell(const QByteArray& command)
{
    static const QList<QPair<QByteArray, int>> cells = {{"frequency", CmdTransmitFrequency},
                                                        {"gps", CmdGps},
                                                        {"elevation", CmdElevation},
                                                        {"decl", CmdDeclination},
                                                        {"rf", CmdRf},
                                                        {"blower", CmdBlower},
                                                        {"heater", CmdHeater},
                                                        {"led", CmdLed},
                                                        {"log", CmdLog},
                                                        {"flash_erase", CmdLog},
                                                        {"datetime", CmdDateTime},
                                                        {"icao", CmdIcao},
                                                        {"send", CmdSend},
                                                        {"txf", CmdRflosTransmitFrequency},
                                                        {"rxf", CmdRflosReceiveFrequency},
                                                        {"channel", CmdRflosSelectedChannel},
                                                        {"radio_freq", CmdRflosTransmitRate}};
    const QByteArray word = command.split(' ').constFirst().trimmed();
    for (const auto& cell : cells) {
        if (cell.first == word)
            return cell.second;
    }
    return -1;
}

void MainGUI::writecommands(QByteArray cmd)
{
    if (deviceType == DeviceTypes::BRQ) {
        emit writeSerial(cmd);
        return;
    }
    commandQueue.append(cmd);
    if (!cmdWriteTimer->isActive())
        cmdWriteTimer->start(kCommandWriteIntervalMs);
}

void MainGUI::try_command_write()
{
    if (commandQueue.isEmpty()) {
        cmdWriteTimer->stop();
        return;
    }
    // Through the station radio a command waits while a key change is under way: under the key
    // the unit does not hold it would be noise to the unit.
    if (encryptWriteCommands && keyChange.holdsRadioCommands() &&
        !keyChange.unsent.contains(commandQueue.first()))
        return;
    const QByteArray command = commandQueue.takeFirst();
    // A key change's own commands go to the link in clear: it sends them, through the station
    // radio so that the unit reads them under whichever key it may hold.
    const bool changeCommand = keyChange.unsent.removeOne(command);
    if (!encryptWriteCommands || changeCommand) {
        emit writeSerial(command);
        return;
    }

    QByteArray wire;
    const RadioCommand::Result result =
        RadioCommand::encrypt(command, encryptionKey, encryptionIV, &wire);
    if (result == RadioCommand::Result::Encrypted) {
        // Every command runs under the same counter, so the logged text of a key or IV command
        // and any logged command of known text would give the key away. The link cannot read
        // the text: it is told first, queued ahead of the write.
        const QByteArray hidden = RadioCommand::hiddenText(command);
        if (!hidden.isEmpty()) {
            data_incoming* link = dataIncoming;
            QMetaObject::invokeMethod(
                link, [link, wire, hidden] { link->hideCommandText(wire, hidden); },
                Qt::QueuedConnection);
        }
        emit writeSerial(wire);
        return;
    }
    if (result != RadioCommand::Result::NoKey)
        qDebug("CRITICAL: AES_ERROR, Unable to Encrypt Data");
    const QString shown =
        QStringLiteral(" [ ") + RadioCommand::shownCommand(command) + QStringLiteral(" ]");
    switch (result) {
    case RadioCommand::Result::NoKey:
        refuseCommand(*this, command,
                      QStringLiteral("ERROR: No encryption key loaded for the station radio; "
                                     "command not sent") +
                          shown);
        break;
    case RadioCommand::Result::TooLong:
        refuseCommand(*this, command,
                      QStringLiteral("ERROR: Command of %1 bytes too long to encrypt for the "
                                     "station radio (at most %2); not sent.")
                          .arg(command.size())
                          .arg(RadioCommand::kMaxCommandLength));
        break;
    default:
        refuseCommand(*this, command,
                      QStringLiteral("ERROR: Command could not be encrypted for the station "
                                     "radio; not sent") +
                          shown);
        break;
    }
}
