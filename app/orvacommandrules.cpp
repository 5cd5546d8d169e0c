#include "app/orvacommandrules.h"

#include "app/commandtable.h"
#include "decoder/sharedtypes.h"

#include <QRegularExpression>

#include <cmath>

namespace OrvaCommandRules
{

namespace
{

// Commands by combo index; index 0 is "No command".
const char* const transmitFrequency[] = {"", "frequency 60\r\n", "frequency 10\r\n",
                                         "frequency 5\r\n"};
const char* const gps[] = {"", "gps ON\r\n", "gps OFF\r\n", "gps ELEVATION_ONLY\r\n"};
const char* const rf[] = {"", "rf ON\r\n", "rf OFF\r\n"};
const char* const blower[] = {"", "blower AUTO\r\n", "blower ON\r\n", "blower OFF\r\n"};
const char* const heater[] = {"", "heater ON\r\n", "heater OFF\r\n"};
const char* const led[] = {"", "led ON\r\n", "led OFF\r\n"};
// The unit takes its erase command with a bare "\r".
const char* const dataLog[] = {"", "log ON\r\n", "log OFF\r\n", "flash_erase\r"};
const char* const rates[] = {"", "radio_freq 60\r\n", "radio_freq 10\r\n", "radio_freq 5\r\n"};

} // namespace

const OrvaComboItems& orvaComboItemLists()
{
    static const OrvaComboItems items = {
        {"No command", "60 minutes", "10 minutes", "5 minutes"},
        {"No command", "Enabled", "Disabled", "Enable Elevation Only"},
        {"No command", "Disabled", "Set Elevation Value to Enable:"},
        {"No command", "Enabled", "Disabled"},
        {"No command", "Auto (default)", "Always On", "Always Off"},
        {"No command", "Comms Enabled (default)", "Comms Disabled"},
        {"No command", "Enabled (default)", "Disabled"},
        {"No command", "Enabled", "Disabled", "Clear (Will take up to 5 Minutes)"},
        {"No command", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"},
        {"No command", "60 Seconds (default)", "10 Seconds", "5 Seconds"},
    };
    return items;
}

namespace
{

constexpr double kVhfLow = 138e6;
constexpr double kVhfHigh = 178e6;
constexpr double kUhfLow = 410e6;
constexpr double kUhfHigh = 470e6;

} // namespace

QString statusText(int status)
{
    switch (status) {
    case CmdStatusBlank:
        return QStringLiteral(" ");
    case CmdStatusQueued:
        return QStringLiteral("\U0001F567");
    case CmdStatusSuccess:
        return QStringLiteral("\u2705");
    case CmdStatusInProgress:
        return QStringLiteral("WAIT");
    default:
        return QStringLiteral("\u274C");
    }
}

QByteArray comboCommand(ComboRow row, int index)
{
    switch (row) {
    case RowTransmitFrequency:
        return commandAt(transmitFrequency, index);
    case RowGps:
        return commandAt(gps, index);
    case RowRf:
        return commandAt(rf, index);
    case RowBlower:
        return commandAt(blower, index);
    case RowHeater:
        return commandAt(heater, index);
    case RowLed:
        return commandAt(led, index);
    case RowDataLog:
        return commandAt(dataLog, index);
    }
    return QByteArray();
}

ElevationResult checkElevation(const QString& text)
{
    static const QRegularExpression digitsOnly(QStringLiteral("\\A\\d*\\z"));
    const float value = text.toFloat();
    ElevationResult result;
    const bool hasPoint = text.contains(QLatin1Char('.'));
    if (digitsOnly.match(text).hasMatch() || (hasPoint && std::floor(value) == std::ceil(value))) {
        result.accepted = true;
        result.command = "elevation " + QByteArray::number(value, 'f', 2) + "\r\n";
        return result;
    }
    const QString notAccepted =
        QStringLiteral("ERROR: Elevation input value is not an accepted number [ ") + text +
        QStringLiteral(" ]");
    result.errorText = notAccepted;
    result.logText = hasPoint ? QStringLiteral("ERROR: Elevation input value is not a number [ ") +
                                    text + QStringLiteral(" ]")
                              : notAccepted;
    return result;
}

QByteArray declinationCommand(const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    return "decl " + QByteArray::number(text.toFloat(), 'f', 3) + "\r\n";
}

QByteArray textCommand(const char* word, const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    QString line = text;
    for (QChar& c : line) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return QByteArray(word) + ' ' + line.toUtf8() + "\r\n";
}

QByteArray developerCommand(const QString& text, bool devMode)
{
    if (!devMode || text.isEmpty())
        return QByteArray();
    return text.trimmed().toUtf8() + "\r\n";
}

QString truncatedMessage(const QString& text)
{
    if (text.size() <= kMaxMessageLength)
        return text;
    int length = kMaxMessageLength;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

QByteArray prepFrequencyCommand(int minutes)
{
    return "frequency " + QByteArray::number(minutes + 5) + "\r\n";
}

QByteArray prepOffsetCommand(int minutes)
{
    return "metar_offset " + QByteArray::number(minutes - 55) + "\r\n";
}

double rflosHz(const QString& mhzText)
{
    return mhzText.toDouble() * 1000000.0;
}

bool rflosFrequencyAccepted(double hz)
{
    return (hz >= kVhfLow && hz <= kVhfHigh) || (hz >= kUhfLow && hz <= kUhfHigh);
}

QByteArray rflosFrequencyCommand(const char* word, int channel, double hz)
{
    return QStringLiteral("%1 %2 %3\r\n")
        .arg(QLatin1String(word))
        .arg(channel)
        .arg(hz, 9, 'f', 0)
        .toUtf8();
}

QByteArray rflosChannelCommand(int comboIndex)
{
    if (comboIndex <= 0)
        return QByteArray();
    return "channel " + QByteArray::number(comboIndex - 1) + "\r\n";
}

QByteArray rflosRateCommand(int comboIndex)
{
    return commandAt(rates, comboIndex);
}

} // namespace OrvaCommandRules
