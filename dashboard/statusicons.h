#pragma once

// The status icons of the dashboard (battery, lightning, tamper), the lightning counters, the
// labels that name the connected unit and the status-bar lines, as steps of the record display.

#include <QJsonObject>
#include <QString>

class MainGUI;

// What one status icon shows: its pixmap, the tool tip of the icon and of its text label, and
// whether the text label is enabled.
struct StatusIconState {
    QString pixmap;
    QString toolTip;
    bool enabled = false;
};

// Battery from the "Voltage" text: none (empty), excellent (>= 5.0), OK (>= 4.8), poor (below,
// or a text that is not a number).
StatusIconState batteryStatus(const QString& voltage, const QString& offText);
// Lightning from the "Lightning Frequency" text, for every unit.
StatusIconState lightningFrequencyStatus(const QString& frequency, const QString& offText);
// Lightning of an ORVA unit from its "Lightning Strikes 10 Min" text.
StatusIconState orvaLightningStatus(const QString& strikes10Min, const QString& offText);
// Tamper from the record builder's tamper message (empty: none).
StatusIconState tamperStatus(const QString& message, const QString& offText);
// The status-bar line naming the unit and the port.
QString connectionLine(const QString& imei, const QString& port);

// The steps of MainGUI::display_weather_data that write these widgets.
void showBatteryStatus(MainGUI& window, const QJsonObject& record);
void showLightningStatus(MainGUI& window, const QJsonObject& record);
void showTamperStatus(MainGUI& window, const QJsonObject& record);
void showConnectedUnit(MainGUI& window);
void showStatusBarLines(MainGUI& window, const QJsonObject& record);
