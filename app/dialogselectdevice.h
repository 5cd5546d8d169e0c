#pragma once

#include "app/brqcommands.h"
#include "decoder/sharedtypes.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class QMessageBox;
class QTimer;
class Ui_DialogSelectDevice;

// One serial port as the port layer reports it.
struct SerialPortEntry {
    QString portName;
    QString description;
    QString manufacturer;
};

// The start-up dialog: serial port and device family, and for a BRQ unit that is powered off the
// commands to send while it powers up. Hidden, never destroyed, when a device is chosen. Its
// BRQ command and item tables are the shared vocabulary's.
class DialogSelectDevice : public QDialog, private BrqCommandTables
{
    Q_OBJECT

public:
    explicit DialogSelectDevice(QWidget* parent = nullptr);
    ~DialogSelectDevice() override;

    // Where every dialog reads the available ports. The system's list never shows
    // pseudo-terminals, so tests and the simulator put their own list in place; an empty
    // source restores the system's list.
    using PortSource = std::function<QList<SerialPortEntry>()>;
    static void setPortSource(PortSource source);

signals:
    void deviceSelected(DeviceTypes type, QString port);
    void brqStartupSequence(DeviceTypes type, QString port, QByteArray commands);
    void orvaSetEncryptWritecommands(bool encrypt);

public slots:
    void Timer();
    void on_pushButton_SelectBrq_clicked(bool checked);
    void on_pushButton_SelectOrva_clicked();
    void on_pushButton_SelectOrva_Radio_clicked();
    void on_pushButton_BrqIsOn_clicked();
    void on_pushButton_BrqIsOff_clicked();
    void showPortInfo(int index);
    void checkCustomDevicePathPolicy(int index);
    void fillPortsInfo();
    void on_pushButton_CancelSetup_clicked();
    void on_pushButton_SetCommands_clicked();
    void on_comboBoxGPS_currentIndexChanged(int index);
    void on_comboBoxCameraOptions_currentIndexChanged(int index);

private:
    void chooseOrva(bool encrypt);

    QString portName;
    int deviceType = 0; // a DeviceTypes value
    QString autoImageCommand;

    Ui_DialogSelectDevice* ui = nullptr;
    int collapsedHeight = 0;
    int expandedHeight = 0;
    QTimer* portPollTimer = nullptr;
};

// The "POWER ON BRQ" notice of a power-off start-up: non-modal, without parent, deleted when
// closed, and it never keeps the application running once the main window has closed.
QMessageBox* showBrqPowerOnNotice();
