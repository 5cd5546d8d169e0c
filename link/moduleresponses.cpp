#include "link/data_incoming.h"

#include <QDebug>

namespace
{

// Parts of a frame as the module and radio answers are read; a part the frame lacks reads empty.
QStringList frameParts(const QByteArray& frame)
{
    return QString::fromUtf8(frame).split(QStringLiteral("\r\n"), Qt::KeepEmptyParts);
}

QStringList splitResult(const QString& line)
{
    return line.split(QLatin1Char('='), Qt::KeepEmptyParts);
}

struct RadioCommand {
    const char* key;
    int index;
    const char* word;
    const char* parseFailure;
};

const RadioCommand kModuleRadio[] = {
    {"txf", CmdRflosTransmitFrequency, "Txf",
     "WARNING: Unable to parse data packet response for Txf command, List index out of range "
     "error encountered."},
    {"rxf", CmdRflosReceiveFrequency, "Rxf",
     "WARNING: Unable to parse data packet response for Rxf command, List index out of range "
     "error encountered."},
    {"channel", CmdRflosSelectedChannel, "Channel",
     "WARNING: Unable to parse data packet response for Channel command, List index out of range "
     "error encountered."},
};

const RadioCommand kStationRadio[] = {
    {"txf", CmdRflosTransmitFrequency, "Station Txf",
     "WARNING: Unable to parse data packet response for Txf command, List index out of range "
     "error encountered."},
    {"rxf", CmdRflosReceiveFrequency, "Station Rxf",
     "WARNING: Unable to parse data packet response for Rxf command, List index out of range "
     "error encountered."},
    {"channel", CmdRflosSelectedChannel, "Station Channel",
     "WARNING: Unable to parse data packet response for Station Channel command, List index out "
     "of range error encountered."},
};

const RadioCommand* findRadioCommand(const QByteArray& frame, const RadioCommand (&table)[3])
{
    for (const RadioCommand& command : table) {
        if (frame.contains(command.key))
            return &command;
    }
    return nullptr;
}

// Transmit frequency, receive frequency and channel answers read alike from both sources.
void radioResult(data_incoming& worker, const RadioCommand& command, const QString& resultLine,
                 const QByteArray& frame)
{
    const QStringList values = splitResult(resultLine);
    if (!worker.validate_list(values, 2)) {
        qDebug().noquote()
            << "WARNING: Unable to parse data, List index out of range error encountered. "
            << values;
        emit worker.sendDisplayErrorMsg(QString::fromLatin1(command.parseFailure));
        emit worker.command_status_changed(command.index, CmdStatusFailed);
        return;
    }

    const QString word = QString::fromLatin1(command.word);
    const QString value = values.at(1);
    const auto logLine = [&frame](const QString& text) {
        return text.toUtf8() + " [ " + frame + " ]";
    };

    if (value == QLatin1String("INVALID") || value == QLatin1String("FAIL")) {
        const bool invalid = value == QLatin1String("INVALID");
        const QString text =
            invalid ? "WARNING: " + word + " command invalid and failed to send to module"
                    : "WARNING: " + word + " command timeout, module did not respond";
        const QByteArray line = logLine(text);
        emit worker.sendLogMsg(line);
        qDebug().noquote() << QString::fromUtf8(line);
        emit worker.sendORVACmdStatus(text);
        // A timeout carries the frame to the operator, a refusal does not.
        emit worker.sendDisplayErrorMsg(invalid ? text : QString::fromUtf8(line));
        emit worker.command_status_changed(command.index, CmdStatusFailed);
        return;
    }

    const QByteArray line = logLine("INFO: " + word + " command success");
    emit worker.sendLogMsg(line);
    qDebug().noquote() << QString::fromUtf8(line);
    emit worker.sendDisplaySysMsg(QString::fromUtf8(line));
    emit worker.command_status_changed(command.index, CmdStatusSuccess);
}

} // namespace

void data_incoming::parseAmqResponse(const QByteArray& frame)
{
    if (loggingMode == LoggingType::Data || loggingMode == LoggingType::Debug)
        emit sendLogData(frame, emptyRecord, deviceType);

    if (frame.contains("send"))
        return parseSendResponse(frame);
    if (frame.contains("blower"))
        return parseBlowerAmqResponse(frame);
    if (const RadioCommand* command = findRadioCommand(frame, kModuleRadio))
        return radioResult(*this, *command, frameParts(frame).value(3), frame);
    if (frame.contains("disable=") || frame.contains("enable="))
        return parseModuleEnableResponse(frame);
    if (frame.contains("G\r\nparam"))
        return parseLightningParamResponse(frame);
    if (frame.contains("G\r\nauto_cal")) {
        reportInfo("Lightning autocalibration started.", frame);
        emit lightning_autocal_confirmed();
    }
}

void data_incoming::parseStationRadioResponse(const QByteArray& frame)
{
    const QString result = frameParts(frame).value(1);
    if (const RadioCommand* command = findRadioCommand(frame, kStationRadio))
        return radioResult(*this, *command, result, frame);
    if (result.contains(QLatin1String("ERROR"))) {
        qDebug().noquote() << "ERROR: Station radio message error.";
        emit on_error_station_radio();
    }
}

void data_incoming::parseBlowerAmqResponse(const QByteArray& frame)
{
    const QStringList parts = frameParts(frame);
    if (parts.size() != 7) {
        reportError("Invalid blower amq packet format.", frame);
        emit command_status_changed(CmdBlower, CmdStatusFailed);
        return;
    }
    const QStringList commanded = parts.at(2).split(QLatin1Char(' '), Qt::KeepEmptyParts);
    const QStringList reported = splitResult(parts.at(3));
    if (parts.at(1) != QLatin1String("C") || commanded.size() != 2 || reported.size() != 2) {
        reportError("Invalid blower amq response line.", frame);
        emit command_status_changed(CmdBlower, CmdStatusFailed);
        return;
    }
    if (commanded.at(1) == reported.at(1)) {
        reportInfo("Blower setting changed to " + reported.at(1).toUtf8() + ".", frame);
        emit command_status_changed(CmdBlower, CmdStatusSuccess);
        return;
    }
    reportError("Blower response invalid.", frame);
    emit command_status_changed(CmdBlower, CmdStatusFailed);
}

void data_incoming::parseModuleEnableResponse(const QByteArray& frame)
{
    const QStringList parts = frameParts(frame);
    const QString value = splitResult(parts.value(3)).value(1);
    const bool on = value == QLatin1String("ON");
    if (parts.size() != 7 || (!on && value != QLatin1String("OFF"))) {
        reportError("Enable/disable response inproperly formatted.", frame);
        return;
    }
    // The value alone tells an enable from a disable; the result name is not trusted.
    const QString module = parts.at(1);
    if (on) {
        reportInfo("Module " + module.toUtf8() + " enable complete.", frame);
        emit sig_orva_enable_disable(QStringLiteral("enable=") + module);
    } else {
        reportInfo("Module " + module.toUtf8() + " disable complete.", frame);
        emit sig_orva_enable_disable(QStringLiteral("disable=") + module);
    }
}

void data_incoming::parseLightningParamResponse(const QByteArray& frame)
{
    const QStringList parts = frameParts(frame);
    if (parts.size() != 7) {
        reportError("Invalid lightning param amq response line.", frame);
        return;
    }
    if (!parts.at(1).contains(QLatin1Char('G'))) {
        reportError("Lightning parameter response from non-lightning module.", frame);
        return;
    }
    const QStringList result = splitResult(parts.at(3));
    if (result.size() != 2) {
        reportError("Unknown lightning parameter response.", frame);
        return;
    }
    const QStringList fields = result.at(1).split(QLatin1Char(','), Qt::KeepEmptyParts);
    if (fields.size() != 9) {
        reportError("Lightning parameter read failed.", frame);
        return;
    }
    // toInt gives 0 for a field that is not a number, which is what the window expects.
    emit lightning_parameters_received(fields.at(0).toInt(nullptr, 10),
                                       fields.at(1).toInt(nullptr, 10),
                                       fields.at(2).toInt(nullptr, 10));
    reportInfo("Lightning parameter " + result.at(0).toUtf8() + " complete.", frame);
}

void data_incoming::parseSendResponse(const QByteArray& frame)
{
    const QStringList parts = frameParts(frame);
    if (parts.size() != 7) {
        reportError("Send response inproperly formatted.", frame);
        return;
    }
    const QString command = parts.at(2);
    const bool report = command.startsWith(QLatin1String("send METAR")) ||
                        command.startsWith(QLatin1String("send SPECI"));
    const QString value = splitResult(parts.at(3)).value(1);
    if (value != QLatin1String("OK")) {
        reportError("Send command failed, response = " + value.toUtf8() + ".", frame);
        return;
    }
    if (report)
        emit send_metar_confirmed(command);
    reportInfo("Send command succeeded.", frame);
}
