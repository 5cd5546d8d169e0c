#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Command texts and input checks of the ORVA "General" and "RFLOS" command tabs. Every command
// carries its own line end; combo index 0 ("No command") and an index outside a row's list give
// an empty command, which queues nothing.
namespace OrvaCommandRules
{

// The item lists of the ORVA and RFLOS command combos; each begins with "No command". The RFLOS
// channel list serves both channel combos.
struct OrvaComboItems {
    QStringList transmitFrequency;
    QStringList gps;
    QStringList elevation;
    QStringList led;
    QStringList blower;
    QStringList rf;
    QStringList heater;
    QStringList dataLog;
    QStringList rflosChannel;
    QStringList rflosRate;
};
const OrvaComboItems& orvaComboItemLists();

// The status cell text for a CommandStatus value; unknown values show as failed.
QString statusText(int status);

// The combo rows of the General tab, in the order "Send  Commands" queues them.
enum ComboRow : int {
    RowTransmitFrequency,
    RowGps,
    RowRf,
    RowBlower,
    RowHeater,
    RowLed,
    RowDataLog
};
QByteArray comboCommand(ComboRow row, int index);

// The elevation of "Set Elevation Value to Enable:". Refused texts carry the log/debug line and
// the error list line.
struct ElevationResult {
    bool accepted = false;
    QByteArray command;
    QString logText;
    QString errorText;
};
ElevationResult checkElevation(const QString& text);

QByteArray declinationCommand(const QString& text);
// A field command: word + " " + text + "\r\n"; an empty text gives nothing. Line breaks in the
// text become blanks, so that a pasted message cannot end the command early and have its
// remainder run as further commands on the unit.
QByteArray textCommand(const char* word, const QString& text);
// The developer line, trimmed; nothing unless developer mode is on.
QByteArray developerCommand(const QString& text, bool devMode);

// The message field holds at most this many UTF-16 units.
constexpr int kMaxMessageLength = 1024;
// The message cut to the limit, never splitting a surrogate pair.
QString truncatedMessage(const QString& text);

// "frequency" and "metar_offset" for a preparation time of `minutes` after the hour.
QByteArray prepFrequencyCommand(int minutes);
QByteArray prepOffsetCommand(int minutes);
// The preparation time from the unit's two answers.
inline int prepMinutes(int frequency, int metarOffset)
{
    return frequency + metarOffset - 5;
}

// RFLOS: a MHz text read as Hz (0 when not a number), the two accepted bands, and the
// "txf"/"rxf" command for the table entry of `channel`.
double rflosHz(const QString& mhzText);
bool rflosFrequencyAccepted(double hz);
QByteArray rflosFrequencyCommand(const char* word, int channel, double hz);
// "channel" for selected-channel combo index s, "radio_freq" for message-rate index r.
QByteArray rflosChannelCommand(int comboIndex);
QByteArray rflosRateCommand(int comboIndex);

} // namespace OrvaCommandRules
