#pragma once

#include <QObject>

class MainGUI;

// Installed on the application object: Return in the raw command line sends the line, as the
// Send button does. Every other event passes unchanged.
class VDEventFilter : public QObject
{
    Q_OBJECT

public:
    VDEventFilter(QObject* parent, MainGUI* mainWindow);
    ~VDEventFilter() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainGUI* mainWindow = nullptr; // not owned
};
