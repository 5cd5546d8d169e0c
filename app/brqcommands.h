#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>

// The BRQ command vocabulary shared by the device selection dialog and the main window's BRQ
// panel. Commands and labels run parallel, indexed by combo index; index 0 is "No command" and
// sends nothing. Each label table ends with an empty string, which ends the filling of its combo.
namespace BrqVocabulary
{

inline constexpr const char* brqModeCommands[] = {"",     "m0\r", "m1\r", "m2\r",
                                                  "m3\r", "m4\r", "m5\r", "m6\r"};
inline constexpr const char* brqModeLabels[] = {"No command", "3 Hour",    "1 Hour",
                                                "20 Minute",  "5 Minute",  "1 Minute",
                                                "20 Second",  "10 Second", ""};

// Items 3 and 4 are built from parts: "I" + camera number + "\r", and the hour commands + "\r".
inline constexpr const char* brqCameraCommands[] = {"", "I0\r", "I5\r", "I", "", "i-\r"};
inline constexpr const char* brqCameraLabels[] = {"No command",
                                                  "Off",
                                                  "Request Images (All)",
                                                  "Request Single Camera",
                                                  "Set Auto Image Capture",
                                                  "Cancel Auto Image Capture",
                                                  ""};
inline constexpr const char* brqCameraNumbers[] = {"1", "2", "3", "4", ""};

inline constexpr const char* brqCeilometerCommands[] = {"", "C0\r", "C1\r", "C2\r"};
inline constexpr const char* brqCeilometerLabels[] = {"No command", "Disable", "Enable Auto",
                                                      "Enable Always", ""};

// Item 5 is built from parts: "GE" + signed elevation + "\r".
inline constexpr const char* brqGpsCommands[] = {"", "G0\r", "G1\r", "GI\r", "Gi\r", "GE"};
inline constexpr const char* brqGpsLabels[] = {"No command",
                                               "Disable Lat/Lon",
                                               "Enable Lat/Lon",
                                               "Update GPS Lat/Lon",
                                               "Update GPS Lat/Lon and Elevation",
                                               "Set Elevation (m)",
                                               ""};

inline constexpr const char* brqSpeciCommands[] = {"", "S0\r", "S1\r"};
inline constexpr const char* brqSpeciLabels[] = {"No command", "Disable", "Enable", ""};

enum GpsItem : int { GpsSetElevation = 5 };
enum CameraItem : int { CameraRequestSingle = 3, CameraAutoImage = 4 };

// A combo is filled until its table's empty string, and never with more than this many items.
constexpr int maxComboItems = 30;

} // namespace BrqVocabulary

// The BRQ vocabulary under one name, for the window that fills and reads its BRQ combos.
struct BrqCommandTables {
    static constexpr const auto& brqModeCommands = BrqVocabulary::brqModeCommands;
    static constexpr const auto& brqModeLabels = BrqVocabulary::brqModeLabels;
    static constexpr const auto& brqCameraCommands = BrqVocabulary::brqCameraCommands;
    static constexpr const auto& brqCameraLabels = BrqVocabulary::brqCameraLabels;
    static constexpr const auto& brqCameraNumbers = BrqVocabulary::brqCameraNumbers;
    static constexpr const auto& brqCeilometerCommands = BrqVocabulary::brqCeilometerCommands;
    static constexpr const auto& brqCeilometerLabels = BrqVocabulary::brqCeilometerLabels;
    static constexpr const auto& brqGpsCommands = BrqVocabulary::brqGpsCommands;
    static constexpr const auto& brqGpsLabels = BrqVocabulary::brqGpsLabels;
    static constexpr const auto& brqSpeciCommands = BrqVocabulary::brqSpeciCommands;
    static constexpr const auto& brqSpeciLabels = BrqVocabulary::brqSpeciLabels;
};

// The five BRQ choices as combo indexes, with the values the built items need.
struct BrqCommandSelection {
    int mode = 0;
    int ceilometer = 0;
    int speci = 0;
    int gps = 0;
    int camera = 0;
    int elevation = 0;        // whole metres, for GPS item 5
    QString cameraNumber;     // "1" to "4", for camera item 3
    QString autoImageCommand; // the image schedule's hour commands, for camera item 4
};

// The commands in the order mode, ceilometer, SPECI, GPS, camera. This is the device selection
// dialog's start-up string; the main window's panel sends it followed by one more "\r".
// An index outside its table sends nothing, like "No command".
QByteArray brqCommandString(const BrqCommandSelection& selection);

// The elevation as GE carries it: always a sign and at least four digits ("+0012", "-0012").
QByteArray brqElevationText(int metres);

// The items a combo gets from a label table.
QStringList brqComboItems(const char* const* labels, std::size_t size);
template <std::size_t N> QStringList brqComboItems(const char* const (&labels)[N])
{
    return brqComboItems(labels, N);
}

// "i" + two-digit hour + "\r" for each ticked hour, 00 to 23 in order; empty when none is ticked.
QString imageScheduleCommands(const std::array<bool, 24>& ticked);
