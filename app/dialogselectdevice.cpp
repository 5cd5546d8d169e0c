#include "app/dialogselectdevice.h"

#include "app/brqchoiceinputs.h"
#include "forms/dialogselectdevice_ui.h"
#include "forms/fadein.h"

#include <QDebug>
#include <QMessageBox>
#include <QSerialPortInfo>
#include <QTimer>

namespace
{

DialogSelectDevice::PortSource& portSource()
{
    static DialogSelectDevice::PortSource source;
    return source;
}

QList<SerialPortEntry> systemPorts()
{
    QList<SerialPortEntry> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos)
        ports.append({info.portName(), info.description(), info.manufacturer()});
    return ports;
}

QString orNotAvailable(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("N/A") : text;
}

// The poll timer fires every 100 ms; the list is refreshed on every 20th tick.
constexpr int pollIntervalMs = 100;
constexpr int ticksPerRefresh = 20;

} // namespace

DialogSelectDevice::DialogSelectDevice(QWidget* parent)
    : QDialog(parent), ui(new Ui_DialogSelectDevice)
{
    ui->setupUi(this);

    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    connect(ui->serialPortInfoListBox, indexChanged, this, &DialogSelectDevice::showPortInfo);
    connect(ui->serialPortInfoListBox, indexChanged, this,
            &DialogSelectDevice::checkCustomDevicePathPolicy);

    portPollTimer = new QTimer(this);
    connect(portPollTimer, &QTimer::timeout, this, &DialogSelectDevice::Timer);
    portPollTimer->start(pollIntervalMs);

    ui->groupBox_BrqStartOptions->hide();
    fillPortsInfo();
    // An empty list never changes the combo's index, so the policy would never run and no path
    // could be typed on a machine without ports.
    if (ui->serialPortInfoListBox->count() == 0)
        checkCustomDevicePathPolicy(-1);
    ui->stackedWidget_startupPages->setCurrentIndex(0);
}

DialogSelectDevice::~DialogSelectDevice()
{
    delete ui;
}

void DialogSelectDevice::setPortSource(PortSource source)
{
    portSource() = std::move(source);
}

void DialogSelectDevice::Timer()
{
    static int ticks = 0;
    if (++ticks >= ticksPerRefresh) {
        ticks = 0;
        fillPortsInfo();
    }
}

void DialogSelectDevice::on_pushButton_SelectBrq_clicked(bool checked)
{
    QGroupBox* options = ui->groupBox_BrqStartOptions;
    if (checked) {
        if (collapsedHeight == 0)
            collapsedHeight = height();
        fadeIn(options, 500);
        options->show();
        if (expandedHeight == 0)
            expandedHeight = height();
        setFixedHeight(expandedHeight);
    } else {
        options->hide();
        if (collapsedHeight > 0)
            setFixedHeight(collapsedHeight);
        move(frameGeometry().topLeft() + QPoint(0, 1));
    }
}

void DialogSelectDevice::on_pushButton_SelectOrva_clicked()
{
    chooseOrva(false);
}

void DialogSelectDevice::on_pushButton_SelectOrva_Radio_clicked()
{
    chooseOrva(true);
}

void DialogSelectDevice::on_pushButton_BrqIsOn_clicked()
{
    ui->pushButton_SelectBrq->click();
    portName = ui->serialPortInfoListBox->currentText();
    deviceType = static_cast<int>(DeviceTypes::BRQ);
    hide();
    emit deviceSelected(DeviceTypes::BRQ, portName);
}

void DialogSelectDevice::on_pushButton_BrqIsOff_clicked()
{
    ui->pushButton_SelectBrq->click();
    portName = ui->serialPortInfoListBox->currentText();
    deviceType = static_cast<int>(DeviceTypes::BRQ);

    ui->comboBoxReportingMode->addItems(brqComboItems(brqModeLabels));
    ui->comboBoxCameraOptions->addItems(brqComboItems(brqCameraLabels));
    ui->comboBoxCeilometer->addItems(brqComboItems(brqCeilometerLabels));
    ui->comboBoxGPS->addItems(brqComboItems(brqGpsLabels));
    ui->comboBoxSpeci->addItems(brqComboItems(brqSpeciLabels));
    ui->comboBoxCameraOptions_2->addItems(brqComboItems(brqCameraNumbers));

    ui->label_CameraNumber->hide();
    ui->comboBoxCameraOptions_2->hide();
    ui->label_Elevation->hide();
    ui->spinBoxElevation->hide();
    ui->stackedWidget_startupPages->setCurrentIndex(1);
}

void DialogSelectDevice::showPortInfo(int index)
{
    if (index == -1)
        return;
    const QStringList info = ui->serialPortInfoListBox->itemData(index).toStringList();
    ui->label_DescriptionText->setText(info.size() > 1 ? info.at(1) : QStringLiteral("N/A"));
    ui->label_ManufacturerText->setText(info.size() > 2 ? info.at(2) : QStringLiteral("N/A"));
}

void DialogSelectDevice::checkCustomDevicePathPolicy(int index)
{
    QComboBox* ports = ui->serialPortInfoListBox;
    const bool custom = ports->itemData(index).toStringList().isEmpty();
    ports->setEditable(custom);
    if (custom)
        ports->clearEditText();
}

void DialogSelectDevice::fillPortsInfo()
{
    const PortSource& source = portSource();
    const QList<SerialPortEntry> available = source ? source() : systemPorts();
    QComboBox* ports = ui->serialPortInfoListBox;

    const auto listedAt = [ports](const QString& name) {
        for (int i = 0; i < ports->count(); ++i) {
            if (ports->itemText(i) == name)
                return i;
        }
        return -1;
    };

    QStringList availableNames;
    for (const SerialPortEntry& port : available) {
        availableNames << port.portName;
        if (listedAt(port.portName) >= 0)
            continue;
        const QStringList info{port.portName, orNotAvailable(port.description),
                               orNotAvailable(port.manufacturer)};
        ports->addItem(port.portName, info);
    }

    // A machine that suddenly lists no port at all keeps what it had.
    if (available.isEmpty())
        return;
    for (int i = ports->count() - 1; i >= 0; --i) {
        if (!availableNames.contains(ports->itemText(i), Qt::CaseSensitive))
            ports->removeItem(i);
    }
}

void DialogSelectDevice::on_pushButton_CancelSetup_clicked()
{
    close();
}

void DialogSelectDevice::on_pushButton_SetCommands_clicked()
{
    qDebug() << "Set Commands Clicked!";

    BrqCommandSelection selection;
    selection.mode = ui->comboBoxReportingMode->currentIndex();
    selection.ceilometer = ui->comboBoxCeilometer->currentIndex();
    selection.speci = ui->comboBoxSpeci->currentIndex();
    selection.gps = ui->comboBoxGPS->currentIndex();
    selection.camera = ui->comboBoxCameraOptions->currentIndex();
    selection.elevation = ui->spinBoxElevation->value();
    selection.cameraNumber = ui->comboBoxCameraOptions_2->currentText();
    selection.autoImageCommand = autoImageCommand;
    const QByteArray commands = brqCommandString(selection);

    qDebug() << "Built Command String: " << commands;
    hide();
    emit brqStartupSequence(static_cast<DeviceTypes>(deviceType), portName, commands);
}

void DialogSelectDevice::on_comboBoxGPS_currentIndexChanged(int index)
{
    followGpsChoice(index, ui->label_Elevation, ui->spinBoxElevation);
}

void DialogSelectDevice::on_comboBoxCameraOptions_currentIndexChanged(int index)
{
    if (!followCameraChoice(this, ui->comboBoxCameraOptions, index, ui->label_CameraNumber,
                            ui->comboBoxCameraOptions_2, &autoImageCommand))
        return;
    qDebug() << "Auto Image Command:" << autoImageCommand;
}

void DialogSelectDevice::chooseOrva(bool encrypt)
{
    emit orvaSetEncryptWritecommands(encrypt);
    portName = ui->serialPortInfoListBox->currentText();
    deviceType = static_cast<int>(DeviceTypes::ORVA);
    hide();
    emit deviceSelected(DeviceTypes::ORVA, portName);
}

QMessageBox* showBrqPowerOnNotice()
{
    auto* notice =
        new QMessageBox(QMessageBox::NoIcon, QStringLiteral("BRQ Configuration Start-up"),
                        QStringLiteral("\r\r\r\t\t\tPOWER ON BRQ\t\t\t\r\r\r"), QMessageBox::Ok);
    notice->setWindowModality(Qt::NonModal);
    notice->setAttribute(Qt::WA_QuitOnClose, false);
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->show();
    return notice;
}
