#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The legacy ORVA keyword protocol. Commands end in "\n", except "gps_set_elev", which the
// unit takes without one. Index 0 of each list is "No command" and sends nothing.
namespace LegacyCommands
{

// The combo items, each list ended by an empty entry like the BRQ vocabulary.
inline constexpr const char* legacyRateLabels[] = {"No command", "5 Minutes", "10 Minutes",
                                                   "60 Minutes", ""};
inline constexpr const char* legacyGpsLabels[] = {"No command",
                                                  "Enable GPS",
                                                  "Disable GPS",
                                                  "GPS Immediate Read",
                                                  "GPS Immediate Read No Elevation",
                                                  "Set Elevation",
                                                  ""};

inline constexpr const char* legacyRateCommands[] = {"", "rate 5\n", "rate 10\n", "rate 60\n"};
inline constexpr const char* legacyGpsCommands[] = {"",           "gps_enable\n",   "gps_disable\n",
                                                    "gps_read\n", "gps_read_loc\n", "gps_set_elev"};

inline constexpr const char reset[] = "reset\n";

} // namespace LegacyCommands

// The commands of the legacy page in sending order: rate, GPS, station identifier, date.
// Identifier and date go as typed; an index outside its list sends nothing.
QList<QByteArray> legacyCommandList(int rateIndex, int gpsIndex, const QString& stationId,
                                    const QString& date);
