#pragma once

#include "app/brqcommands.h"
#include "app/dialogimageschedule.h"

#include <QComboBox>
#include <QString>
#include <QWidget>

// The inputs that go with a BRQ choice, on the device dialog and on the main window's BRQ panel.

// The elevation shows only while "Set Elevation (m)" is chosen.
inline void followGpsChoice(int index, QWidget* label, QWidget* elevation)
{
    const bool shown = index == BrqVocabulary::GpsSetElevation;
    label->setVisible(shown);
    elevation->setVisible(shown);
}

// The camera number shows only while "Request Single Camera" is chosen. "Set Auto Image Capture"
// asks for the schedule: true with its commands in `schedule`; a cancelled or empty schedule
// leaves nothing to send, and the combo goes back to "No command".
inline bool followCameraChoice(QWidget* parent, QComboBox* combo, int index, QWidget* numberLabel,
                               QWidget* number, QString* schedule)
{
    const bool single = index == BrqVocabulary::CameraRequestSingle;
    numberLabel->setVisible(single);
    number->setVisible(single);
    if (index != BrqVocabulary::CameraAutoImage)
        return false;
    *schedule = askImageSchedule(parent);
    if (schedule->isEmpty()) {
        combo->setCurrentIndex(0);
        return false;
    }
    return true;
}
