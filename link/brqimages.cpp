#include "link/data_incoming.h"

#include "decoder/clock.h"
#include "decoder/weatherdatadecoder.h"

#include <QDebug>
#include <QDir>
#include <QFile>

#include <cmath>

namespace {

// The unit sends bare scan data of a 320 x 240 baseline picture (2:1 horizontal chrominance
// subsampling, quantisation at half the example scale, the typical Huffman tables); the file
// gets this header in front of it.
constexpr int kHeaderTemplateSize = 632;
constexpr int kAssemblySize = 65536;
// What the raw-data dump of one packet may hold, terminator included.
constexpr int kDumpTextSize = 8192;

const quint8 kLuminanceQuant[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

const quint8 kChrominanceQuant[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

const quint8 kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                            12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                            35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                            58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

const quint8 kDcLuminanceBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
const quint8 kDcChrominanceBits[16] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
const quint8 kDcValues[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

const quint8 kAcLuminanceBits[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d};
const quint8 kAcLuminanceValues[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
    0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52,
    0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25,
    0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45,
    0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64,
    0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6,
    0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3,
    0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8,
    0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

const quint8 kAcChrominanceBits[16] = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
const quint8 kAcChrominanceValues[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
    0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33,
    0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18,
    0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44,
    0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63,
    0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
    0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4,
    0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca,
    0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7,
    0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

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
        const bool allowed = c.isLetter() || c.isDigit() || c == QLatin1Char(' ')
                             || c == QLatin1Char('-') || c == QLatin1Char('_')
                             || c == QLatin1Char('.');
        if (!allowed)
            c = QLatin1Char('_');
    }
    return out;
}

// The whole picture so far: header, chunks up to the latest, end-of-image marker. A file that
// could not be opened or written in full counts as not written.
bool writeImageFile(const QString& path, int fileLength)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray& assembly = imageAssemblyBuffer();
    assembly.replace(0, kHeaderTemplateSize, jpegHeaderTemplate());
    const bool written = file.write(assembly.constData(), fileLength) == fileLength;
    file.close();
    return written && file.error() == QFileDevice::NoError;
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

void data_incoming::handleImagePacket(const QByteArray& packet)
{
    copyBufferToDataLog();

    if (packet.size() <= imageHeaderLength)
        return;
    const quint8 address = quint8(packet.at(8));
    const int camera = (address >> 4) & 0x07;
    const int kind = address & 0x0f;
    const int sequence = quint8(packet.at(9));

    const int offset = kHeaderTemplateSize + imageChunkLength * sequence;
    const int fileLength = offset + imageChunkLength + 2;
    if (fileLength > kAssemblySize) {
        qDebug() << "Image packet dropped, sequence beyond the assembly area:" << sequence;
        return;
    }

    if (!(isDeviceTimeUnset(packet) && sequence > 0))
        imageTimestampText = imageTimestamp(packet);

    emit enableCamera(true);
    emit sendImageProgressInfo(camera, sequence);

    // The dump of a long buffer is cut at the last whole byte that fits the dump text.
    QByteArray dump = QString::asprintf("Camera:%d Packet:%d Bytes:%d\r\n\r\n", camera, sequence,
                                        int(packet.size()))
                          .toLatin1();
    const int dumpBytes = qMin(int(packet.size()), (kDumpTextSize - 1 - dump.size()) / 3);
    dump.reserve(dump.size() + dumpBytes * 3);
    for (int i = 0; i < dumpBytes; ++i) {
        dump.append(QByteArray::number(quint8(packet.at(i)), 16).rightJustified(2, '0'));
        dump.append(' ');
    }
    emit sendRawData(dump);

    // The terminator follows the chunk, or is its last four bytes in a packet of exactly 340.
    if (packet.size() < imageHeaderLength + imageChunkLength || !packet.endsWith("\r\n\r\n"))
        return;

    const QString seqText = QStringLiteral("Cam: %1, Seq: %2").arg(camera).arg(sequence);
    qDebug().noquote() << "DEBUG: " + seqText;
    if (loggingMode == LoggingType::Debug)
        emit sendLogMsg("DEBUG: " + seqText.toLatin1());

    QByteArray& assembly = imageAssemblyBuffer();
    assembly.replace(offset, imageChunkLength, packet.constData() + imageHeaderLength,
                     imageChunkLength);
    assembly[offset + imageChunkLength] = char(0xff);
    assembly[offset + imageChunkLength + 1] = char(0xd9);

    bool ok = false;
    double orientation = decoder->getOrientation().toDouble(&ok);
    if (!ok || !std::isfinite(orientation))
        orientation = 0.0;
    double angle = std::fmod(orientation + 90.0 * camera - 90.0, 360.0);
    if (angle == 0.0)
        angle = 0.0; // no "-0" in a file name

    const QString path = imageFilePath(camera, angle);
    writeImageFile(path, fileLength);

    if (camera >= 1 && camera <= 4 && !imageTimestampText.isEmpty()) {
        const QStringList parts = imageTimestampText.split(QLatin1Char('_'));
        const QString date = parts.at(0);
        QString time = parts.value(1);
        time.replace(QLatin1Char('-'), QLatin1Char(':'));
        emit sendCameraProgress(path, camera, time, angle, date);
    }

    if (kind != imageLastPacketKind)
        return;
    emit sendRawData("\r\nLast Packet of Image Received");
    const QString finalPath = imageFilePath(camera, angle);
    if (!writeImageFile(finalPath, fileLength))
        return;
    emit sendLogMsg("INFO: Final Image Output to " + finalPath.toUtf8());
    emit sendDisplaySysMsg(QStringLiteral("INFO: BRQ Image received from Camera ")
                           + QString::number(camera));
    receiveBuffer.clear();
    emit sendCameraFinal(camera, finalPath);
    emit enableCamera(false);
}
