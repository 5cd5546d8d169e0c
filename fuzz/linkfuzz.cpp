#include "fuzz/linkfuzz.h"

#include "fuzz/fuzzsupport.h"
#include "tools/unitsim/unitframes.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

const QByteArray kFuzzKey("YD3rEBXKcb4rc67whX13gR81LAc7YQjXLZgQowkU3/Q=");
const QByteArray kFuzzIv("8PHy8/T19vc=");

namespace
{

QByteArray jsonText(const QJsonObject& record)
{
    return QJsonDocument(record).toJson(QJsonDocument::Compact);
}

// A record goes to the data log and the window as JSON: its text must read back as itself.
void checkRecord(const QJsonObject& record)
{
    const QByteArray text = jsonText(record);
    FUZZ_CHECK(QJsonDocument::fromJson(text).object() == record);
}

// Picture files stay in the image folder, whatever the unit's identifier holds.
void checkImagePath(const QString& path, int camera)
{
    const QString folder =
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                        QStringLiteral("/temp"));
    FUZZ_CHECK(QFileInfo(path).absolutePath() == folder);
    FUZZ_CHECK(camera >= 0 && camera <= 7);
}

} // namespace

QByteArray packetCodeText(const QByteArray& bytes)
{
    // A lone carriage return would come back with a line feed.
    if (!bytes.contains('~') && bytes.count('\r') == bytes.count("\r\n")) {
        bool encoded = false;
        unitsim::packetEncode(bytes, &encoded);
        if (encoded)
            return bytes;
    }
    static const char alphabet[] = ":0123456789.-?\r>@ABCDEFGHIJKLMNOPQRSTUVWXYZ,/_";
    QByteArray text;
    for (char c : bytes) {
        const char mapped = alphabet[quint8(c) % (sizeof alphabet - 1)];
        text += mapped == '\r' ? QByteArray("\r\n") : QByteArray(1, mapped);
    }
    return text;
}

LinkProbe::LinkProbe(DeviceTypes type, bool legacy)
{
    frameBuffer.clear();
    idleTicks = 0;
    setDeviceTypeState(type);
    legacyorvadevicecheck(legacy);
    setLoggingState(LoggingType::Data);
    setFrameTimeout(3600 * 1000);
    setEncryptionKey(kFuzzKey, kFuzzIv);

    connect(this, &data_incoming::weather_data_received, [this](const QJsonObject& r) {
        checkRecord(r);
        hear("record", jsonText(r));
    });
    connect(this, &data_incoming::metar_detected,
            [this](const QJsonObject& r) { hear("metar", jsonText(r)); });
    connect(this, &data_incoming::speci_detected,
            [this](const QJsonObject& r) { hear("speci", jsonText(r)); });
    connect(this, &data_incoming::sendLogData,
            [this](const QByteArray& raw, const QJsonObject& r, DeviceTypes) {
                checkRecord(r);
                hear("data", raw + ' ' + jsonText(r));
                frames << raw;
            });
    connect(this, &data_incoming::sendBITcheckPacket, [this](const QByteArray& frame) {
        hear("bit", frame);
        frames << frame;
    });
    connect(this, &data_incoming::sendDecodedData, [this](const QByteArray& frame) {
        hear("decoded", frame);
        frames << frame;
    });
    connect(this, &data_incoming::sendLogMsg, [this](const QByteArray& l) { hear("log", l); });
    connect(this, &data_incoming::sendDisplayErrorMsg,
            [this](const QString& l) { hear("error", l.toUtf8()); });
    connect(this, &data_incoming::sendDisplaySysMsg,
            [this](const QString& l) { hear("system", l.toUtf8()); });
    connect(this, &data_incoming::sendORVACmdStatus,
            [this](const QString& l) { hear("pane", l.toUtf8()); });
    connect(this, &data_incoming::command_status_changed, [this](int index, int status) {
        // The window indexes its status cells with these.
        FUZZ_CHECK(index >= 0 && index < CommandIndexCount);
        FUZZ_CHECK(status >= CmdStatusQueued && status <= CmdStatusInProgress);
        hear("status", QByteArray::number(index) + ' ' + QByteArray::number(status));
    });
    connect(this, &data_incoming::sendSpeciData, [this](const QString& value, int kind) {
        FUZZ_CHECK(kind >= 0 && kind <= 3);
        hear("criteria", QByteArray::number(kind) + ' ' + value.toUtf8());
    });
    connect(this, &data_incoming::sendStackData,
            [this](const QStringList& lines) { hear("stack", lines.join('|').toUtf8()); });
    connect(this, &data_incoming::lightning_parameters_received, [this](int a, int b, int c) {
        hear("lightning",
             QByteArray::number(a) + ' ' + QByteArray::number(b) + ' ' + QByteArray::number(c));
    });
    connect(this, &data_incoming::sendEncryptionStatus,
            [this](int s) { hear("encryption", QByteArray::number(s)); });
    connect(this, &data_incoming::sendImageProgressInfo, [this](int camera, int sequence) {
        FUZZ_CHECK(camera >= 0 && camera <= 7 && sequence >= 0 && sequence <= 255);
        hear("picture", QByteArray::number(camera) + ' ' + QByteArray::number(sequence));
    });
    connect(this, &data_incoming::sendCameraProgress,
            [this](const QString& path, int camera, const QString&, double, const QString&) {
                checkImagePath(path, camera);
                hear("progress", path.toUtf8());
            });
    connect(this, &data_incoming::sendCameraFinal, [this](int camera, const QString& path) {
        checkImagePath(path, camera);
        hear("final", path.toUtf8());
    });
}

LinkProbe::~LinkProbe()
{
    frameBuffer.clear();
}

void LinkProbe::hear(const char* signal, const QByteArray& text)
{
    heard << signal + (' ' + text);
}
