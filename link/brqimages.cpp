#include "link/data_incoming.h"

#include "decoder/clock.h"
#include "decoder/weatherdatadecoder.h"
#include "link/jpegtables.h"

#include <QDebug>
#include <QDir>
#include <QSaveFile>
#include <QTimer>

#include <cmath>

namespace
{

using namespace jpeg;

// The unit sends bare scan data of a 320 x 240 baseline picture (2:1 horizontal chrominance
// subsampling, quantisation at half the example scale, the typical Huffman tables); the file
// gets this header in front of it.
constexpr int kHeaderTemplateSize = 632;
constexpr int kAssemblySize = 65536;
// What the raw-data dump of one packet may hold, terminator included.
constexpr int kDumpTextSize = 8192;
const QByteArray kPacketEnd("\r\n\r\n");

void putBytes(QByteArray& out, std::initializer_list<int> bytes)
{
    for (int b : bytes)
        out.append(char(b));
}

// A marker segment: marker, big-endian length (counting itself), body.
void putSegment(QByteArray& out, int marker, const QByteArray& body)
{
    const int length = body.size() + 2;
    putBytes(out, {0xff, marker, length >> 8, length & 0xff});
    out.append(body);
}

QByteArray quantTable(int id, const quint8 (&annex)[64])
{
    QByteArray body;
    body.append(char(id));
    for (int i = 0; i < 64; ++i)
        body.append(char((annex[kZigzag[i]] * 50 + 50) / 100));
    return body;
}

template <int N>
QByteArray huffmanTable(int classAndId, const quint8 (&bits)[16], const quint8 (&values)[N])
{
    QByteArray body;
    body.append(char(classAndId));
    body.append(reinterpret_cast<const char*>(bits), 16);
    body.append(reinterpret_cast<const char*>(values), N);
    return body;
}

QByteArray buildHeaderTemplate()
{
    QByteArray out;
    putBytes(out, {0xff, 0xd8});
    QByteArray app0("JFIF", 5);
    putBytes(app0, {1, 1, 1, 0, 96, 0, 96, 0, 0});
    putSegment(out, 0xe0, app0);
    putSegment(out, 0xfe, QByteArray("TIVAR"));
    putSegment(out, 0xdb, quantTable(0, kLuminanceQuant));
    putSegment(out, 0xdb, quantTable(1, kChrominanceQuant));
    QByteArray frame;
    putBytes(frame, {8, 240 >> 8, 240 & 0xff, 320 >> 8, 320 & 0xff, 3, 1, 0x21, 0, 2, 0x11, 1, 3,
                     0x11, 1});
    putSegment(out, 0xc0, frame);
    putSegment(out, 0xc4, huffmanTable(0x00, kDcLuminanceBits, kDcValues));
    putSegment(out, 0xc4, huffmanTable(0x10, kAcLuminanceBits, kAcLuminanceValues));
    putSegment(out, 0xc4, huffmanTable(0x01, kDcChrominanceBits, kDcValues));
    putSegment(out, 0xc4, huffmanTable(0x11, kAcChrominanceBits, kAcChrominanceValues));
    QByteArray scan;
    putBytes(scan, {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0});
    putSegment(out, 0xda, scan);
    Q_ASSERT(out.size() == kHeaderTemplateSize);
    return out;
}

// One copy for all cameras and pictures, touched only on the link thread. Chunk positions not
// yet received in a picture keep what an earlier picture left there.
const QByteArray& jpegHeaderTemplate()
{
    static const QByteArray header = buildHeaderTemplate();
    return header;
}

QByteArray& imageAssemblyBuffer()
{
    static QByteArray buffer(kAssemblySize, '\0');
    return buffer;
}

int bcdDigit(const QByteArray& packet, int offset, bool tens)
{
    if (offset >= packet.size())
        return 0;
    const quint8 b = quint8(packet.at(offset));
    return tens ? (b >> 4) & 0x07 : b & 0x0f;
}

// The identifier comes from the unit: only harmless characters may reach a file name, so that
// no identifier can name a file outside the image folder.
QString safeFileNamePart(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const bool allowed = c.isLetter() || c.isDigit() || c == QLatin1Char(' ') ||
                             c == QLatin1Char('-') || c == QLatin1Char('_') ||
                             c == QLatin1Char('.');
        if (!allowed)
            c = QLatin1Char('_');
    }
    return out;
}

// The whole picture so far: header, chunks up to the latest, end-of-image marker. It goes to a
// temporary file beside the picture that replaces it only once written in full, so that a full
// disk never leaves the path, which the progress signal names, holding a broken picture.
bool writeImageFile(const QString& path, int fileLength)
{
    // Unbuffered: a buffered short write is not seen, and the save file would be committed cut.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    QByteArray& assembly = imageAssemblyBuffer();
    assembly.replace(0, kHeaderTemplateSize, jpegHeaderTemplate());
    if (file.write(assembly.constData(), fileLength) != fileLength) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// The raw-data pane's view of a packet: a title line and the bytes in hexadecimal. A long packet
// is cut at the last whole byte that fits the dump text.
QByteArray packetDump(const QByteArray& packet, int camera, int sequence)
{
    QByteArray dump = QString::asprintf("Camera:%d Packet:%d Bytes:%d\r\n\r\n", camera, sequence,
                                        int(packet.size()))
                          .toLatin1();
    const int dumpBytes = qMin(int(packet.size()), (kDumpTextSize - 1 - dump.size()) / 3);
    dump.reserve(dump.size() + dumpBytes * 3);
    for (int i = 0; i < dumpBytes; ++i) {
        dump.append(QByteArray::number(quint8(packet.at(i)), 16).rightJustified(2, '0'));
        dump.append(' ');
    }
    return dump;
}

// Camera n looks n - 1 quarter turns clockwise of the unit's orientation.
double cameraAngle(const QString& orientationText, int camera)
{
    bool ok = false;
    double orientation = orientationText.toDouble(&ok);
    if (!ok || !std::isfinite(orientation))
        orientation = 0.0;
    const double angle = std::fmod(orientation + 90.0 * camera - 90.0, 360.0);
    return angle == 0.0 ? 0.0 : angle; // no "-0" in a file name
}

} // namespace

bool data_incoming::isDeviceTimeUnset(const QByteArray& packet)
{
    return bcdDigit(packet, 3, true) == 0 && bcdDigit(packet, 3, false) == 0;
}

QString data_incoming::imageTimestamp(const QByteArray& packet)
{
    if (isDeviceTimeUnset(packet)) {
        return QStringLiteral("%1Z_PCtime")
            .arg(Clock::nowUtc().toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss")));
    }
    int d[12];
    for (int i = 0; i < 12; ++i)
        d[i] = bcdDigit(packet, 2 + i / 2, i % 2 == 0);
    return QString::asprintf("20%d%d-%d%d-%d%d_%d%d-%d%d-%d%dZ_BRQtime", d[0], d[1], d[2], d[3],
                             d[4], d[5], d[6], d[7], d[8], d[9], d[10], d[11]);
}

QString data_incoming::imageFilePath(int camera, double angle)
{
    QString station = decoder->getStationId(false);
    station = station.isEmpty() ? QStringLiteral("000000000000000") : safeFileNamePart(station);
    const QString name = QStringLiteral("%1 %2 Cam%3 (%4\u00b0).jpg")
                             .arg(station, imageTimestampText, QString::number(camera),
                                  QString::number(angle, 'g', 6));
    return QDir::toNativeSeparators(QDir(imageFolder).filePath(name));
}

void data_incoming::setImageTimeout(int ms)
{
    imageTimeoutMs = ms;
    if (imageWatchdog)
        imageWatchdog->setInterval(ms);
}

// One judged packet: `message` is what goes to the data log (the packet, with the unit's identity
// line when one stood before it).
void data_incoming::handleImagePacket(const QByteArray& packet, const QByteArray& message)
{
    copyToDataLog(message);

    const quint8 address = quint8(packet.at(8));
    const int camera = (address >> 4) & 0x07;
    const bool last = (address & 0x0f) == imageLastPacketKind;
    const int sequence = quint8(packet.at(9));

    if (!(isDeviceTimeUnset(packet) && sequence > 0))
        imageTimestampText = imageTimestamp(packet);

    openImageTransfer(camera, sequence);
    emit enableCamera(true);
    emit sendImageProgressInfo(camera, sequence);
    emit sendRawData(packetDump(packet, camera, sequence));

    const int chunkEnd = imageHeaderLength + imageChunkLength;
    if (packet.size() != chunkEnd && packet.size() != chunkEnd + kPacketEnd.size()) {
        damagedImagePacket(camera, sequence, last, packet.size());
        return;
    }

    const QString seqText = QStringLiteral("Cam: %1, Seq: %2").arg(camera).arg(sequence);
    qDebug().noquote() << "DEBUG: " + seqText;
    if (loggingMode == LoggingType::Debug)
        emit sendLogMsg("DEBUG: " + seqText.toLatin1());
    storeImageChunk(packet, camera, sequence, last);
}

// A byte lost or added on the line leaves the chunk shifted and its picture undecodable: the
// chunk is not stored, and the picture ends abandoned as one that lacks a packet.
void data_incoming::damagedImagePacket(int camera, int sequence, bool last, int length)
{
    const QByteArray text =
        "WARNING: BRQ image packet damaged, not stored: " + QByteArray::number(length) +
        " bytes [ Cam: " + QByteArray::number(camera) + ", Seq: " + QByteArray::number(sequence) +
        " ]";
    qDebug().noquote() << text;
    emit sendLogMsg(text);
    ++imageDamaged;
    if (last) {
        emit sendRawData("\r\nLast Packet of Image Received");
        abandonImage(camera, missingPackets(sequence));
    }
}

// A packet of another camera, or a first packet after stored or damaged ones, begins the next
// picture: the one before it lost its last packet, and its damaged packets are not the next
// one's. Every packet gives the picture more time.
void data_incoming::openImageTransfer(int camera, int sequence)
{
    const bool packetsBefore = imageSequences.any() || imageDamaged > 0;
    if (imageCamera >= 0 && (camera != imageCamera || (sequence == 0 && packetsBefore)))
        abandonImage(imageCamera, "the next picture began before its last packet");
    if (imageCamera < 0) {
        imageCamera = camera;
        imageSequences.reset();
        imageDamaged = 0;
    }
    if (!imageWatchdog) {
        imageWatchdog = new QTimer(this);
        imageWatchdog->setObjectName(QStringLiteral("imageWatchdog"));
        imageWatchdog->setSingleShot(true);
        imageWatchdog->setInterval(imageTimeoutMs);
        connect(imageWatchdog, &QTimer::timeout, this, &data_incoming::imageTimedOut);
    }
    imageWatchdog->start();
}

void data_incoming::imageTimedOut()
{
    if (imageCamera >= 0)
        abandonImage(imageCamera, "no packet for " +
                                      QByteArray::number(imageTimeoutMs / 1000.0, 'g', 6) +
                                      " seconds");
}

// The chunk goes to its place in the picture, and the picture so far to its file.
void data_incoming::storeImageChunk(const QByteArray& packet, int camera, int sequence, bool last)
{
    const int offset = kHeaderTemplateSize + imageChunkLength * sequence;
    const int fileLength = offset + imageChunkLength + 2;

    // The picture cannot take this chunk; its last packet still ends the transfer.
    if (fileLength > kAssemblySize) {
        qDebug() << "Image chunk not stored, sequence beyond the assembly area:" << sequence;
        if (last)
            abandonImage(camera, QByteArray("the picture has more than ") +
                                     QByteArray::number((kAssemblySize - kHeaderTemplateSize - 2) /
                                                        imageChunkLength) +
                                     " packets");
        return;
    }

    QByteArray& assembly = imageAssemblyBuffer();
    assembly.replace(offset, imageChunkLength, packet.constData() + imageHeaderLength,
                     imageChunkLength);
    assembly[offset + imageChunkLength] = char(0xff);
    assembly[offset + imageChunkLength + 1] = char(0xd9);
    imageSequences.set(size_t(sequence));

    const double angle = cameraAngle(decoder->getOrientation(), camera);
    const QString path = imageFilePath(camera, angle);
    const bool written = writeImageFile(path, fileLength);

    if (camera >= 1 && camera <= 4 && !imageTimestampText.isEmpty()) {
        const QStringList parts = imageTimestampText.split(QLatin1Char('_'));
        const QString date = parts.at(0);
        QString time = parts.value(1);
        time.replace(QLatin1Char('-'), QLatin1Char(':'));
        emit sendCameraProgress(path, camera, time, angle, date);
    }
    if (last)
        finishImage(camera, angle, fileLength, written, sequence);
}

// The last packet ends the transfer: the picture is written whole once more if it failed before.
// A picture that lacks packets holds an earlier picture's chunks in their places: it is no
// picture received.
void data_incoming::finishImage(int camera, double angle, int fileLength, bool written,
                                int sequence)
{
    emit sendRawData("\r\nLast Packet of Image Received");
    const QByteArray missing = missingPackets(sequence);
    if (!missing.isEmpty()) {
        abandonImage(camera, missing);
        return;
    }
    const QString finalPath = imageFilePath(camera, angle);
    if (!written && !writeImageFile(finalPath, fileLength)) {
        abandonImage(camera, "the file could not be written [ " + finalPath.toUtf8() + " ]");
        return;
    }
    emit sendLogMsg("INFO: Final Image Output to " + finalPath.toUtf8());
    emit sendDisplaySysMsg(QStringLiteral("INFO: BRQ Image received from Camera ") +
                           QString::number(camera));
    imageCamera = -1;
    imageWatchdog->stop();
    emit sendCameraFinal(camera, finalPath);
    emit enableCamera(false);
}

// What the picture up to `sequence` lacks, as the reason it is abandoned; empty when it is whole.
// A damaged packet's header may be damaged too: its count, not its sequence number, is trusted.
QByteArray data_incoming::missingPackets(int sequence) const
{
    int missing = 0;
    for (int i = 0; i <= sequence; ++i)
        missing += imageSequences.test(size_t(i)) ? 0 : 1;
    const QByteArray of = " of " + QByteArray::number(sequence + 1) + " packets ";
    if (imageDamaged == 0)
        return missing == 0 ? QByteArray() : QByteArray::number(missing) + of + "missing";
    return QByteArray::number(imageDamaged) + of + "damaged" +
           (missing > imageDamaged ? ", " + QByteArray::number(missing - imageDamaged) + " missing"
                                   : QByteArray());
}

// A picture that cannot be completed: the transfer ends all the same, with a message, and the
// camera indicator goes off.
void data_incoming::abandonImage(int camera, const QByteArray& reason)
{
    const QByteArray text =
        "ERROR: BRQ Image from Camera " + QByteArray::number(camera) + " abandoned, " + reason;
    emit sendLogMsg(text);
    emit sendDisplayErrorMsg(QString::fromUtf8(text));
    imageCamera = -1;
    if (imageWatchdog)
        imageWatchdog->stop();
    emit enableCamera(false);
}
