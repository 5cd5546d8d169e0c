#pragma once

class MainGUI;

// What the window shows of each device family, set from its deviceType and legacyOrva: command
// pages, report and lightning widgets, the report history note, and for a non-legacy ORVA unit
// the two report-schedule queries. The first page layout applies it; a new connection applies it
// again, so that both give the same window for the same family.
void applyDeviceFamilyLayout(MainGUI& window);

// The shorter set a BRQ start-up from power-off applies after a new connection.
void applyPowerOffFamilyLayout(MainGUI& window);

// The lightning compass view and its redraw timer, made the first time a non-legacy ORVA unit is
// laid out, at the first layout or after a new connection; nothing for any other unit.
void setUpLightningCompass(MainGUI& window);
