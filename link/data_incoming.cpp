#include "link/data_incoming.h"

#include "decoder/weatherdatadecoder.h"

#include <QDebug>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

data_incoming::data_incoming(QObject* parent) : QObject(parent)
{
    decoder = new WeatherDataDecoder();

    serialPort = new QSerialPort(this);
    serialPort->setObjectName(QStringLiteral("serialPort"));
    connect(serialPort, &QSerialPort::errorOccurred, this, &data_incoming::handleError);
    connect(serialPort, &QSerialPort::readyRead, this, &data_incoming::receiveData);

    // Camera images go to one absolute folder, whatever the working directory is.
    QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (base.isEmpty())
        base = QDir::currentPath();
    imageFolder = QDir::cleanPath(base + QDir::separator() + QStringLiteral("temp"));
    QDir().mkpath(imageFolder);

    pacingTimer = new QTimer(this);
    pacingTimer->setObjectName(QStringLiteral("pacingTimer"));
    connect(pacingTimer, &QTimer::timeout, this, &data_incoming::dataTimer);
    pacingTimer->start(100);

    liveData = true;

    frameTimer = new QTimer(this);
    frameTimer->setObjectName(QStringLiteral("frameTimer"));
}

// The port and the timers go with the worker as its children; it does not close the port itself.
data_incoming::~data_incoming()
{
    delete decoder;
}

void data_incoming::reportError(const QByteArray& message, const QByteArray& detail)
{
    emit sendLogMsg("ERROR: " + message + "[ " + detail + " ]");
    emit sendDisplayErrorMsg(QStringLiteral("ERROR: ") + QString::fromUtf8(message));
    qDebug().noquote() << "ERROR: " + message;
}

void data_incoming::reportInfo(const QByteArray& message, const QByteArray& detail)
{
    emit sendLogMsg("INFO: " + message + "[ " + detail + " ]");
    emit sendDisplaySysMsg(QStringLiteral("INFO: ") + QString::fromUtf8(message));
}

bool data_incoming::validate_list(const QStringList& list, int n)
{
    return list.size() >= n;
}

QByteArray data_incoming::translateConstants(int which)
{
    switch (which) {
    case 1:
        return deviceTypeName(deviceType).toLatin1();
    case 2:
        return loggingTypeName(loggingMode).toLatin1();
    default:
        return QByteArray();
    }
}

void data_incoming::setLoggingState(LoggingType mode)
{
    loggingMode = mode;
    qDebug().noquote() << "INFO: Setting Logging Mode to " + loggingTypeName(mode);
}

void data_incoming::setDeviceTypeState(DeviceTypes type)
{
    deviceType = type;
    // The buffer may hold another family's bytes; its front is read afresh.
    brqScan = BrqScan();
    emit sendLogMsg("INFO: Setting Device Type to " + deviceTypeName(type).toLatin1());
}

void data_incoming::sendLogMsgLocal(const QByteArray& msg)
{
    emit sendLogMsg(msg);
}

void data_incoming::showLiveData(bool on)
{
    liveData = on;
}

void data_incoming::setStartupSequence(bool on)
{
    startupSequence = on;
    qDebug() << "Started the startup sequence setting";
}

void data_incoming::clearTampering()
{
    tamperReferences.clear();
}

void data_incoming::legacyorvadevicecheck(bool legacy)
{
    legacyOrva = legacy;
    qDebug() << "INFO: LEGACY ORVA Flag " << legacy;
}

void data_incoming::setEncryptionKey(const QByteArray& key, const QByteArray& iv)
{
    // The operator's key, from the start page, replaces whatever a key change left open; the
    // window has ended that change itself.
    dropUnsentKeyCommands("Key Replaced");
    forgetKeyChange();
    encryptionKey = key;
    encryptionIV = iv;
    emit sendLogMsg("INFO: Encryption Key Has been loaded.");
    emit sendDisplaySysMsg(QStringLiteral("INFO: Encryption Key Has been loaded."));
}

void data_incoming::setDevModeState(bool on)
{
    devMode = on;
    const QByteArray word = on ? "TRUE" : "FALSE";
    qDebug().noquote() << "INFO: Setting DEV MODE state to " + word;
    emit sendLogMsg("INFO: Sending DEV MODE state to [" + word + "]");
}

void data_incoming::updateRunwayDirection(double degrees)
{
    runwayDirection = degrees;
}

void data_incoming::setPrecipAccum24IntState(PrecipAccum24hInterval interval)
{
    precipInterval = interval;
}

void data_incoming::sendLogC(const QByteArray& msg)
{
    emit sendLogMsg(msg);
}
