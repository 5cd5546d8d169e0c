#include "tests/support/testsupport.h"

#include "decoder/weatherdatadecoder.h"
#include "link/data_incoming.h"
#include "tests/link/linktest.h"
#include "tests/support/scopedclock.h"
#include "tools/unitsim/ptypair.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using unitsim::PtyPair;

namespace
{

// Opens the worker's state to the test.
class Probe : public data_incoming
{
public:
    using data_incoming::data_incoming;
    using data_incoming::decoder;
    using data_incoming::imageFolder;
    using data_incoming::imageTimestampText;
    using data_incoming::pacingTimer;
    using data_incoming::receiveBuffer;
};

const QByteArray kSetClock = QByteArray::fromHex("240307140509"); // 2024-03-07 14:05:09
constexpr int kHeader = 632;
constexpr int kChunk = 330;

QByteArray filler(int sequence)
{
    return QByteArray(kChunk, char('a' + sequence % 26));
}

// The picture's scan data cut into the unit's packets, the last one marked as such.
QList<QByteArray> picturePackets(int camera, const QByteArray& scan)
{
    QList<QByteArray> packets;
    const int count = (scan.size() + kChunk - 1) / kChunk;
    for (int i = 0; i < count; ++i)
        packets << imagePacket(camera, i == count - 1 ? 11 : 0, i, scan.mid(i * kChunk, kChunk));
    return packets;
}

// Bare scan data of a 320 x 240 picture of even grey (every coefficient zero): per unit of two
// luminance and two chrominance blocks, a zero DC difference and end-of-block, with the tables
// of the header: 001010 001010 0000 0000, 20 bits; 600 units, 1500 bytes.
QByteArray greyScan()
{
    QByteArray scan;
    for (int i = 0; i < 300; ++i)
        scan += QByteArray::fromHex("28a0028a00");
    return scan;
}

// The marker segments of a JPEG header, in file order: (marker, whole segment).
QList<QPair<int, QByteArray>> segments(const QByteArray& jpeg)
{
    QList<QPair<int, QByteArray>> out;
    int pos = 2;
    while (pos + 4 <= jpeg.size() && quint8(jpeg.at(pos)) == 0xff) {
        const int marker = quint8(jpeg.at(pos + 1));
        const int length = (quint8(jpeg.at(pos + 2)) << 8) | quint8(jpeg.at(pos + 3));
        out << qMakePair(marker, jpeg.mid(pos, length + 2));
        if (marker == 0xda)
            break;
        pos += length + 2;
    }
    return out;
}

QList<QByteArray> segmentsOf(const QByteArray& jpeg, int marker)
{
    QList<QByteArray> out;
    for (const auto& s : segments(jpeg))
        if (s.first == marker)
            out << s.second;
    return out;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A worker whose image folder is a fresh temporary folder. Pictures are abandoned only where a
// test shortens the image time-out.
struct Fixture {
    Fixture()
    {
        worker.pacingTimer->stop();
        worker.setDeviceTypeState(DeviceTypes::BRQ);
        worker.setImageTimeout(kNoImageTimeoutMs);
        worker.imageFolder = dir.path();
        idleTicks = 0;
    }
    // Each packet after a pause longer than the idle limit, as the unit sends them, and the line
    // silent behind it.
    void feed(const QByteArray& packet)
    {
        lineFallsSilent(&worker, 6);
        worker.parseData_BRQ(packet);
        lineFallsSilent(&worker);
    }
    void setRecord(const QString& text) { worker.decoder->setRecordText(text); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    Probe worker;
};

// A weather packet as the unit sends it between the packets of a picture.
QByteArray weatherPacket(const QByteArray& temperature)
{
    return "@I:BRQ00042:2.1\r\n@0:00\r\nT:24/03/07,14:05:09\r\nTA:" + temperature +
           "\r\nRH:50\r\n~\r\n\r\n";
}

} // namespace

class TestBrqImages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerSharedMetaTypes(); }
    void init() { idleTicks = 0; }

    void threePacketPicture()
    {
        Fixture f;
        f.setRecord("@I:BRQ00042:2.1\r\nOR:30:1\r\n");
        QSignalSpy camera(&f.worker, &data_incoming::enableCamera);
        QSignalSpy progress(&f.worker, &data_incoming::sendCameraProgress);
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        QSignalSpy log(&f.worker, &data_incoming::sendLogMsg);
        QSignalSpy sys(&f.worker, &data_incoming::sendDisplaySysMsg);

        f.feed(imagePacket(2, 0, 0, filler(0)));
        f.feed(imagePacket(2, 0, 1, filler(1)));
        QCOMPARE(finals.count(), 0);
        QVERIFY(!camera.isEmpty());
        QCOMPARE(camera.last().at(0).toBool(), true);
        f.feed(imagePacket(2, 11, 2, filler(2)));

        const QString name =
            QStringLiteral("BRQ00042 2024-03-07_14-05-09Z_BRQtime Cam2 (120\u00b0).jpg");
        const QString path = QDir::toNativeSeparators(QDir(f.dir.path()).filePath(name));
        QCOMPARE(f.files(), QStringList{name});
        const QByteArray file = readFile(path);
        QCOMPARE(file.size(), 1624);
        QCOMPARE(file.mid(kHeader, kChunk), filler(0));
        QCOMPARE(file.mid(kHeader + kChunk, kChunk), filler(1));
        QCOMPARE(file.mid(kHeader + 2 * kChunk, kChunk), filler(2));
        QCOMPARE(file.right(2), QByteArray("\xff\xd9"));

        QCOMPARE(progress.count(), 3);
        for (const QList<QVariant>& call : progress) {
            QCOMPARE(call.at(0).toString(), path);
            QCOMPARE(call.at(1).toInt(), 2);
            QCOMPARE(call.at(2).toString(), QStringLiteral("14:05:09Z"));
            QCOMPARE(call.at(3).toDouble(), 120.0);
            QCOMPARE(call.at(4).toString(), QStringLiteral("2024-03-07"));
        }
        QCOMPARE(finals.count(), 1);
        QCOMPARE(finals.at(0).at(0).toInt(), 2);
        QCOMPARE(finals.at(0).at(1).toString(), path);
        QCOMPARE(camera.count(), 4);
        QCOMPARE(camera.last().at(0).toBool(), false);
        QCOMPARE(log.count(), 1);
        QCOMPARE(QString::fromUtf8(log.at(0).at(0).toByteArray()),
                 "INFO: Final Image Output to " + path);
        QCOMPARE(sys.count(), 1);
        QCOMPARE(sys.at(0).at(0).toString(),
                 QStringLiteral("INFO: BRQ Image received from Camera 2"));
        QVERIFY(f.worker.receiveBuffer.isEmpty());
    }

    void headerTemplate()
    {
        Fixture f;
        f.feed(imagePacket(1, 0, 0, filler(0)));
        const QByteArray file = readFile(f.worker.imageFolder + '/' + f.files().value(0));
        QCOMPARE(file.size(), kHeader + kChunk + 2);
        const QByteArray header = file.left(kHeader);
        QCOMPARE(header.left(2), QByteArray("\xff\xd8"));

        struct Expected {
            int marker;
            int offset;
            int size;
        };
        const Expected layout[] = {
            {0xe0, 2, 18},   {0xfe, 20, 9},    {0xdb, 29, 69},  {0xdb, 98, 69},   {0xc0, 167, 19},
            {0xc4, 186, 33}, {0xc4, 219, 183}, {0xc4, 402, 33}, {0xc4, 435, 183}, {0xda, 618, 14}};
        const auto found = segments(header);
        QCOMPARE(found.size(), 10);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(found.at(i).first, layout[i].marker);
            QCOMPARE(found.at(i).second.size(), layout[i].size);
            QCOMPARE(header.mid(layout[i].offset, layout[i].size), found.at(i).second);
        }
        QCOMPARE(found.at(0).second, QByteArray::fromHex("ffe000104a46494600010101006000600000"));
        QCOMPARE(found.at(1).second, QByteArray::fromHex("fffe0007") + "TIVAR");
        QCOMPARE(found.at(2).second.mid(4, 9), QByteArray::fromHex("000806060706050807"));
        QCOMPARE(found.at(3).second.mid(4, 9), QByteArray::fromHex("010909090c0b0c180d"));
        QCOMPARE(found.at(4).second, QByteArray::fromHex("ffc000110800f0014003012100021101031101"));
        QCOMPARE(found.at(9).second, QByteArray::fromHex("ffda000c03010002110311003f00"));
    }

    // An independent encoder at its default quality writes the same quantisation and Huffman
    // tables and the same scan header; only the chrominance subsampling differs (2 by 2 there).
    void tablesMatchAnIndependentEncoder()
    {
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QBuffer jpeg;
        jpeg.open(QIODevice::WriteOnly);
        QVERIFY(picture.save(&jpeg, "JPEG", 75));

        Fixture f;
        f.feed(imagePacket(1, 0, 0, filler(0)));
        const QByteArray header =
            readFile(f.worker.imageFolder + '/' + f.files().value(0)).left(kHeader);

        for (int marker : {0xdb, 0xc4, 0xda})
            QCOMPARE(segmentsOf(header, marker), segmentsOf(jpeg.data(), marker));
        QByteArray frame = segmentsOf(jpeg.data(), 0xc0).value(0);
        QCOMPARE(frame.at(11), char(0x22));
        frame[11] = char(0x21);
        QCOMPARE(segmentsOf(header, 0xc0), QList<QByteArray>{frame});
    }

    // The scan data of a picture made by QImage, as a payload: the file holds it whole, between
    // the header and the end marker, and reads as a 320 x 240 JPEG.
    void realJpegPayload()
    {
        QImage picture(320, 240, QImage::Format_RGB32);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                picture.setPixel(x, y, qRgb(x * 255 / 319, y * 255 / 239, (x ^ y) & 0xff));
        QBuffer jpeg;
        jpeg.open(QIODevice::WriteOnly);
        QVERIFY(picture.save(&jpeg, "JPEG"));
        const QByteArray scanHeader = segmentsOf(jpeg.data(), 0xda).value(0);
        const int scanAt = jpeg.data().indexOf(scanHeader) + scanHeader.size();
        const QByteArray scan = jpeg.data().mid(scanAt, jpeg.data().size() - scanAt - 2);
        QVERIFY(scan.size() > 4 * kChunk);

        Fixture f;
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        const QList<QByteArray> packets = picturePackets(4, scan);
        for (const QByteArray& packet : packets)
            f.feed(packet);
        QCOMPARE(finals.count(), 1);

        const QByteArray file = readFile(finals.at(0).at(1).toString());
        QCOMPARE(file.size(), kHeader + packets.size() * kChunk + 2);
        QCOMPARE(file.mid(kHeader, scan.size()), scan);
        QCOMPARE(file.right(2), QByteArray("\xff\xd9"));
        QImageReader reader(finals.at(0).at(1).toString());
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(320, 240));
    }

    void cameraAndKindByte_data()
    {
        QTest::addColumn<int>("byte8");
        QTest::addColumn<int>("camera");
        QTest::addColumn<bool>("last");
        QTest::newRow("0x2B camera 2, last packet") << 0x2b << 2 << true;
        QTest::newRow("0x10 camera 1, kind 0") << 0x10 << 1 << false;
        QTest::newRow("0x9B bit 7 ignored") << 0x9b << 1 << true;
        QTest::newRow("0x4A camera 4, kind 10") << 0x4a << 4 << false;
        // Outside 1..4 the picture is still written, but no progress is shown.
        QTest::newRow("0x0B camera 0") << 0x0b << 0 << true;
        QTest::newRow("0x5B camera 5") << 0x5b << 5 << true;
        QTest::newRow("0x7B camera 7") << 0x7b << 7 << true;
    }
    void cameraAndKindByte()
    {
        QFETCH(int, byte8);
        QFETCH(int, camera);
        QFETCH(bool, last);
        Fixture f;
        QSignalSpy info(&f.worker, &data_incoming::sendImageProgressInfo);
        QSignalSpy progress(&f.worker, &data_incoming::sendCameraProgress);
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        f.feed(imagePacket(byte8 >> 4, byte8 & 0x0f, 0, filler(0)));
        QCOMPARE(info.count(), 1);
        QCOMPARE(info.at(0).at(0).toInt(), camera);
        QCOMPARE(info.at(0).at(1).toInt(), 0);
        QCOMPARE(progress.count(), camera >= 1 && camera <= 4 ? 1 : 0);
        QCOMPARE(finals.count(), last ? 1 : 0);
        if (last)
            QCOMPARE(finals.at(0).at(0).toInt(), camera);
        QCOMPARE(f.files().size(), 1);
        QVERIFY(f.files().value(0).contains(QStringLiteral(" Cam%1 ").arg(camera)));
    }

    void timestampText_data()
    {
        QTest::addColumn<QByteArray>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("set clock")
            << QByteArray::fromHex("240307140509") << "2024-03-07_14-05-09Z_BRQtime";
        QTest::newRow("bit 7 of a tens digit ignored")
            << QByteArray::fromHex("a4918795d9f9") << "2024-11-07_15-59-79Z_BRQtime";
        QTest::newRow("units above 9 take two places")
            << QByteArray::fromHex("2c0a010000ff") << "20212-010-01_00-00-715Z_BRQtime";
        QTest::newRow("unset clock, PC time")
            << QByteArray::fromHex("000007140509") << "2031-12-30_23-59-58Z_PCtime";
        QTest::newRow("month 80 reads as unset")
            << QByteArray::fromHex("248007140509") << "2031-12-30_23-59-58Z_PCtime";
    }
    void timestampText()
    {
        QFETCH(QByteArray, time);
        QFETCH(QString, text);
        ScopedClock clock(QDateTime(QDate(2031, 12, 30), QTime(23, 59, 58), Qt::UTC));
        const QByteArray packet = imagePacket(1, 0, 0, QByteArray(), time);
        QCOMPARE(data_incoming::imageTimestamp(packet), text);
        QCOMPARE(data_incoming::isDeviceTimeUnset(packet), text.endsWith("PCtime"));
    }

    // A picture from a unit whose clock is not set keeps the PC time of its first packet.
    void unsetClockKeepsTheFirstTime()
    {
        ScopedClock clock(QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC));
        Fixture f;
        QSignalSpy progress(&f.worker, &data_incoming::sendCameraProgress);
        const QByteArray unset = QByteArray::fromHex("000000000000");
        f.feed(imagePacket(1, 0, 0, filler(0), unset));
        clock.advanceSecs(7);
        f.feed(imagePacket(1, 11, 1, filler(1), unset));
        QCOMPARE(progress.count(), 2);
        for (const QList<QVariant>& call : progress) {
            QVERIFY(call.at(0).toString().contains(" 2024-05-01_10-20-30Z_PCtime Cam1 "));
            QCOMPARE(call.at(2).toString(), QStringLiteral("10:20:30Z"));
            QCOMPARE(call.at(4).toString(), QStringLiteral("2024-05-01"));
        }
        f.feed(imagePacket(1, 0, 0, filler(0), unset));
        QCOMPARE(f.worker.imageTimestampText, QStringLiteral("2024-05-01_10-20-37Z_PCtime"));
    }

    void viewingAngle_data()
    {
        QTest::addColumn<QString>("orientation");
        QTest::addColumn<int>("camera");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QString>("text");
        QTest::newRow("30, camera 3") << "30" << 3 << 210.0 << "210";
        QTest::newRow("none, camera 1") << "" << 1 << 0.0 << "0";
        QTest::newRow("0, camera 0") << "0" << 0 << -90.0 << "-90";
        QTest::newRow("wraps at 360") << "300" << 4 << 210.0 << "210";
        QTest::newRow("fraction") << "12.5" << 1 << 12.5 << "12.5";
        QTest::newRow("six significant digits") << "123.4567" << 1 << 123.4567 << "123.457";
        QTest::newRow("negative keeps its sign") << "-400" << 1 << -40.0 << "-40";
        QTest::newRow("not a number") << "north" << 2 << 90.0 << "90";
        QTest::newRow("nan text") << "nan" << 2 << 90.0 << "90";
        QTest::newRow("whole turn back gives 0, not -0") << "-360" << 1 << 0.0 << "0";
    }
    void viewingAngle()
    {
        QFETCH(QString, orientation);
        QFETCH(int, camera);
        QFETCH(double, angle);
        QFETCH(QString, text);
        Fixture f;
        f.setRecord("@I:BRQ7:1\r\nOR:" + orientation + ":0\r\n");
        QSignalSpy progress(&f.worker, &data_incoming::sendCameraProgress);
        f.feed(imagePacket(camera, 0, 0, filler(0)));
        const QString name =
            QStringLiteral("BRQ7 2024-03-07_14-05-09Z_BRQtime Cam%1 (%2\u00b0).jpg")
                .arg(camera)
                .arg(text);
        QCOMPARE(f.files(), QStringList{name});
        if (camera >= 1) {
            QCOMPARE(progress.count(), 1);
            QCOMPARE(progress.at(0).at(3).toDouble(), angle);
        }
    }

    void stationIdInTheFileName_data()
    {
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("no record yet") << ""
                                       << "000000000000000";
        QTest::newRow("plain") << "BRQ-01_a.b 2"
                               << "BRQ-01_a.b 2";
        QTest::newRow("path climbing") << "../../../x"
                                       << ".._.._.._x";
        QTest::newRow("separators and reserved characters") << "a\\b/c*?\"<>|%1"
                                                            << "a_b_c_______1";
        QTest::newRow("non-ASCII letters kept")
            << QString::fromUtf8("Stöð") << QString::fromUtf8("Stöð");
        QTest::newRow("control characters") << QString("A\tB\x01") << "A_B_";
    }
    void stationIdInTheFileName()
    {
        QFETCH(QString, station);
        QFETCH(QString, prefix);
        Fixture f;
        if (!station.isEmpty())
            f.setRecord("@I:" + station + "\r\nTA:1\r\n");
        QSignalSpy progress(&f.worker, &data_incoming::sendCameraProgress);
        f.feed(imagePacket(1, 0, 0, filler(0)));

        const QString name = prefix + " 2024-03-07_14-05-09Z_BRQtime Cam1 (0\u00b0).jpg";
        QCOMPARE(f.files(), QStringList{name});
        QCOMPARE(progress.count(), 1);
        const QString path = progress.at(0).at(0).toString();
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(f.dir.path()).absoluteFilePath());
        QVERIFY(QFile::exists(path));
    }

    // A packet whose second read comes within the idle limit is stored once, when it is whole.
    void packetInTwoReads_data()
    {
        QTest::addColumn<QByteArray>("chunk");
        QTest::addColumn<int>("cut");
        QTest::addColumn<int>("gapTicks");
        QTest::newRow("half a second between the reads") << filler(3) << 200 << 5;
        // Two bytes before its end the packet ends in the terminator.
        const QByteArray crlfEnd = filler(3).chopped(2) + "\r\n";
        QTest::newRow("a chunk ending in CR LF, cut two bytes before the end")
            << crlfEnd << 342 << 0;
        // Scan data may hold an empty line: the first read then ends in a terminator.
        QByteArray emptyLine = crlfEnd;
        emptyLine.replace(100, 4, "\r\n\r\n");
        QTest::newRow("a chunk holding an empty line, 0.2 s between the reads")
            << emptyLine << 114 << 2;
        QTest::newRow("a chunk holding an empty line, half a second between the reads")
            << emptyLine << 114 << 5;
        QTest::newRow("a chunk ending in CR LF, half a second before its last two bytes")
            << emptyLine << 342 << 5;
    }
    void packetInTwoReads()
    {
        QFETCH(QByteArray, chunk);
        QFETCH(int, cut);
        QFETCH(int, gapTicks);
        Fixture f;
        QSignalSpy info(&f.worker, &data_incoming::sendImageProgressInfo);
        QSignalSpy progress(&f.worker, &data_incoming::sendCameraProgress);
        QSignalSpy log(&f.worker, &data_incoming::sendLogMsg);
        const QByteArray packet = imagePacket(1, 0, 3, chunk);
        UnitLine line(&f.worker);
        QVERIFY(line.send(packet.left(cut)));
        lineFallsSilent(&f.worker, gapTicks);
        // A packet is shown once, when it is whole.
        QCOMPARE(info.count(), 0);
        QVERIFY(f.files().isEmpty());

        QVERIFY(line.send(packet.mid(cut), gapTicks));
        line.pause();
        QCOMPARE(info.count(), 1);
        QCOMPARE(progress.count(), 1);
        const QByteArray file = readFile(progress.at(0).at(0).toString());
        QCOMPARE(file.size(), kHeader + 4 * kChunk + 2);
        QCOMPARE(file.mid(kHeader + 3 * kChunk, kChunk), chunk);
        QCOMPARE(countHolding(byteArgs(log), "damaged"), 0);
    }

    // A packet of exactly 340 bytes carries its terminator as the chunk's last four bytes.
    void terminatorInsideTheChunk()
    {
        Fixture f;
        QSignalSpy progress(&f.worker, &data_incoming::sendCameraProgress);
        QByteArray packet = imagePacket(1, 0, 0, filler(0) + "\r\n\r\n");
        packet.chop(4);
        packet.replace(packet.size() - 4, 4, "\r\n\r\n");
        QCOMPARE(packet.size(), 340);
        f.feed(packet);
        QCOMPARE(progress.count(), 1);

        QByteArray unterminated = imagePacket(1, 0, 0, filler(0));
        unterminated.chop(1);
        Fixture g;
        QSignalSpy none(&g.worker, &data_incoming::sendCameraProgress);
        g.feed(unterminated);
        QCOMPARE(none.count(), 0);
        QVERIFY(g.files().isEmpty());
    }

    void sequenceBeyondTheAssemblyArea_data()
    {
        QTest::addColumn<int>("sequence");
        QTest::addColumn<int>("fileSize");
        QTest::newRow("195, the last that fits") << 195 << 65314;
        QTest::newRow("196") << 196 << 0;
        QTest::newRow("255") << 255 << 0;
    }
    void sequenceBeyondTheAssemblyArea()
    {
        QFETCH(int, sequence);
        QFETCH(int, fileSize);
        Fixture f;
        if (fileSize != 0) {
            for (int i = 0; i < sequence; ++i)
                f.feed(imagePacket(1, 0, i, filler(i)));
        }
        QSignalSpy camera(&f.worker, &data_incoming::enableCamera);
        QSignalSpy info(&f.worker, &data_incoming::sendImageProgressInfo);
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        QSignalSpy errors(&f.worker, &data_incoming::sendDisplayErrorMsg);
        f.feed(imagePacket(1, 11, sequence, filler(sequence)));
        QCOMPARE(info.count(), 1);
        QVERIFY(!camera.isEmpty());
        QCOMPARE(camera.last().at(0).toBool(), false);
        QVERIFY(f.worker.receiveBuffer.isEmpty());
        if (fileSize == 0) {
            // The last packet ends the transfer even when its chunk cannot be stored.
            QVERIFY(f.files().isEmpty());
            QCOMPARE(finals.count(), 0);
            QCOMPARE(textArgs(errors),
                     QStringList{"ERROR: BRQ Image from Camera 1 abandoned, the picture has more "
                                 "than 196 packets"});
            return;
        }
        QCOMPARE(finals.count(), 1);
        const QByteArray file = readFile(finals.at(0).at(1).toString());
        QCOMPARE(file.size(), fileSize);
        QCOMPARE(file.mid(fileSize - 2 - kChunk, kChunk), filler(sequence));
    }

    void rawDataDump()
    {
        Fixture f;
        QSignalSpy raw(&f.worker, &data_incoming::sendRawData);
        const QByteArray packet = imagePacket(1, 0, 9, filler(9));
        f.feed(packet);
        QCOMPARE(raw.count(), 1);
        const QByteArray dump = raw.at(0).at(0).toByteArray();
        QVERIFY(dump.startsWith("Camera:1 Packet:9 Bytes:344\r\n\r\n40 31 24 03 07 14 05 09 10 09 "
                                "6a 6a "));
        QVERIFY(dump.endsWith("6a 0d 0a 0d 0a "));
        QCOMPARE(dump.size(), 31 + 344 * 3);

        // A long buffer is dumped as far as the dump text holds whole bytes.
        Fixture g;
        QSignalSpy longRaw(&g.worker, &data_incoming::sendRawData);
        g.feed(imagePacket(1, 0, 0, filler(0)).left(340) + QByteArray(3000, 'z') + "\r\n\r\n");
        QCOMPARE(longRaw.count(), 1);
        const QByteArray longDump = longRaw.at(0).at(0).toByteArray();
        QVERIFY(longDump.startsWith("Camera:1 Packet:0 Bytes:3344\r\n\r\n"));
        QVERIFY(longDump.size() <= 8191);
        QVERIFY(longDump.size() > 8191 - 3);
        QVERIFY(longDump.endsWith("7a "));
    }

    void loggingModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("dataCopies");
        QTest::addColumn<QStringList>("log");
        const QString final = "INFO: Final Image Output to ";
        QTest::newRow("Default") << 0 << 0 << QStringList{final};
        QTest::newRow("Data") << 1 << 1 << QStringList{final};
        QTest::newRow("Debug") << 2 << 1 << QStringList{"DEBUG: Cam: 3, Seq: 0", final};
    }
    void loggingModes()
    {
        QFETCH(int, mode);
        QFETCH(int, dataCopies);
        QFETCH(QStringList, log);
        Fixture f;
        f.worker.setLoggingState(static_cast<LoggingType>(mode));
        QSignalSpy data(&f.worker, &data_incoming::sendLogData);
        QSignalSpy logs(&f.worker, &data_incoming::sendLogMsg);
        const QByteArray packet = imagePacket(3, 11, 0, filler(0));
        f.feed(packet);
        QCOMPARE(data.count(), dataCopies);
        if (dataCopies) {
            QCOMPARE(data.at(0).at(0).toByteArray(), packet);
            QCOMPARE(data.at(0).at(1).toJsonObject(), QJsonObject());
        }
        QCOMPARE(logs.count(), log.size());
        for (int i = 0; i < log.size(); ++i)
            QVERIFY(QString::fromUtf8(logs.at(i).at(0).toByteArray()).startsWith(log.at(i)));
    }

    // A picture that cannot be written ends all the same, with a message.
    void unwritableFolder()
    {
        Fixture f;
        f.worker.imageFolder = f.dir.filePath("missing");
        QSignalSpy camera(&f.worker, &data_incoming::enableCamera);
        QSignalSpy progress(&f.worker, &data_incoming::sendCameraProgress);
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        QSignalSpy raw(&f.worker, &data_incoming::sendRawData);
        QSignalSpy errors(&f.worker, &data_incoming::sendDisplayErrorMsg);
        f.feed(imagePacket(1, 11, 0, filler(0)));
        QCOMPARE(progress.count(), 1);
        const QString path = progress.at(0).at(0).toString();
        QVERIFY(path.startsWith(QDir::toNativeSeparators(f.dir.filePath("missing"))));
        QVERIFY(!raw.isEmpty());
        QCOMPARE(raw.last().at(0).toByteArray(), QByteArray("\r\nLast Packet of Image Received"));
        QCOMPARE(finals.count(), 0);
        QCOMPARE(textArgs(errors), QStringList{"ERROR: BRQ Image from Camera 1 abandoned, the file "
                                               "could not be written [ " +
                                               path + " ]"});
        QCOMPARE(spyArgs<bool>(camera), QList<bool>({true, false}));
        QVERIFY(f.worker.receiveBuffer.isEmpty());
    }

#ifdef Q_OS_UNIX
    // A write cut short (here by a file size limit, as by a full disk) leaves the picture as it
    // was after the packet before, which the progress signal still names, and no stray file.
    void fullDiskKeepsTheLastWholePicture()
    {
        Fixture f;
        QSignalSpy progress(&f.worker, &data_incoming::sendCameraProgress);
        f.feed(imagePacket(1, 0, 0, filler(0)));
        f.feed(imagePacket(1, 0, 1, filler(1)));
        QCOMPARE(progress.count(), 2);
        const QString path = progress.last().at(0).toString();
        const QByteArray whole = readFile(path);
        QCOMPARE(whole.size(), kHeader + 2 * kChunk + 2);

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = rlim_t(whole.size() + 100);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        f.feed(imagePacket(1, 0, 2, filler(2)));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(progress.count(), 3);
        QCOMPARE(progress.last().at(0).toString(), path);
        QCOMPARE(readFile(path), whole);
        QCOMPARE(f.files(), QStringList{QFileInfo(path).fileName()});

        // Space again: the next packet completes the picture.
        f.feed(imagePacket(1, 11, 3, filler(3)));
        QCOMPARE(readFile(path).size(), kHeader + 4 * kChunk + 2);
        QCOMPARE(readFile(path).mid(kHeader + 2 * kChunk, kChunk), filler(2));
    }
#endif

    // A packet that follows the unit's identity line in the same buffer is read from its own
    // "@1", not from the start of the buffer.
    void packetAfterAnIdentityLine()
    {
        Fixture f;
        QSignalSpy info(&f.worker, &data_incoming::sendImageProgressInfo);
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        const QByteArray chunk = "SND" + filler(4).mid(3);
        f.feed("@I:BRQ00042\r\n" + imagePacket(2, 11, 0, chunk));
        QCOMPARE(info.count(), 1);
        QCOMPARE(info.at(0).at(0).toInt(), 2);
        QCOMPARE(info.at(0).at(1).toInt(), 0);
        QCOMPARE(finals.count(), 1);
        const QByteArray file = readFile(finals.at(0).at(1).toString());
        QCOMPARE(file.mid(kHeader, kChunk), chunk);

        // Without "SND" such a buffer is no image.
        Fixture g;
        QSignalSpy none(&g.worker, &data_incoming::sendImageProgressInfo);
        g.feed("@I:BRQ00042\r\n" + imagePacket(2, 11, 4, filler(4)));
        QCOMPARE(none.count(), 0);
    }

    // A picture that cannot be completed ends with an error line, never with the lines of a
    // picture received, and the camera indicator goes off.
    void brokenPictureEnds_data()
    {
        QTest::addColumn<QByteArrayList>("reads");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("received");
        QList<QByteArray> p;
        for (int i = 0; i < 4; ++i)
            p << imagePacket(1, i == 3 ? 11 : 0, i, filler(i));
        const QByteArray weather = weatherPacket("15.2");
        const QString abandoned = "ERROR: BRQ Image from Camera 1 abandoned, ";

        QTest::newRow("two middle packets lost") << QByteArrayList{p[0], p[3]} << kNoImageTimeoutMs
                                                 << abandoned + "2 of 4 packets missing" << 0;
        QTest::newRow("the packets stop")
            << QByteArrayList{p[0]} << 200 << abandoned + "no packet for 0.2 seconds" << 0;
        const QString unread = abandoned + "its last packet could not be read";
        QTest::newRow("the last packet cut short")
            << QByteArrayList{p[0], p[1], p[2], p[3].left(200), weather} << kNoImageTimeoutMs
            << unread << 0;
        // A byte lost or added on the line, in the chunk or in the header.
        QByteArray shortPacket = p[1];
        shortPacket.remove(100, 1);
        QByteArray longPacket = p[1];
        longPacket.insert(9, 'x');
        QByteArray shortLast = p[3];
        shortLast.remove(339, 1);
        const QString damaged = abandoned + "1 of 4 packets damaged";
        QTest::newRow("a packet one byte short")
            << QByteArrayList{p[0], shortPacket, p[2], p[3]} << kNoImageTimeoutMs << damaged << 0;
        QTest::newRow("a packet one byte long")
            << QByteArrayList{p[0], longPacket, p[2], p[3]} << kNoImageTimeoutMs << damaged << 0;
        QTest::newRow("the last packet one byte short")
            << QByteArrayList{p[0], p[1], p[2], shortLast} << kNoImageTimeoutMs << damaged << 0;
        QTest::newRow("a short packet with the next one behind it")
            << QByteArrayList{p[0], shortPacket + p[2], p[3]} << kNoImageTimeoutMs << damaged << 0;
        QTest::newRow("one packet damaged, one lost")
            << QByteArrayList{p[0], longPacket, p[3]} << kNoImageTimeoutMs
            << damaged + ", 1 missing" << 0;
        QTest::newRow("the last packet damaged, another lost")
            << QByteArrayList{p[0], p[1], shortLast} << kNoImageTimeoutMs << damaged + ", 1 missing"
            << 0;
        // The packets of the picture before are not counted for this one.
        QTest::newRow("two middle packets lost, after a whole picture")
            << QByteArrayList{p[0], p[1], p[2], p[3], p[0], p[3]} << kNoImageTimeoutMs
            << abandoned + "2 of 4 packets missing" << 1;
        // A picture of damaged packets only ends at the next first packet; its damage is not the
        // next picture's.
        QTest::newRow("a damaged packet, then a whole picture")
            << QByteArrayList{shortPacket, p[0], p[1], p[2], p[3]} << 5000
            << abandoned + "the next picture began before its last packet" << 1;
        QTest::newRow("the next camera's picture begins")
            << QByteArrayList{p[0], p[1], imagePacket(2, 0, 0, filler(0)),
                              imagePacket(2, 11, 1, filler(1))}
            << kNoImageTimeoutMs << abandoned + "the next picture began before its last packet"
            << 1;
    }
    void brokenPictureEnds()
    {
        QFETCH(QByteArrayList, reads);
        QFETCH(int, timeoutMs);
        QFETCH(QString, error);
        QFETCH(int, received);
        Fixture f;
        f.worker.setImageTimeout(timeoutMs);
        QSignalSpy camera(&f.worker, &data_incoming::enableCamera);
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        QSignalSpy sys(&f.worker, &data_incoming::sendDisplaySysMsg);
        QSignalSpy shown(&f.worker, &data_incoming::sendDisplayErrorMsg);
        QSignalSpy log(&f.worker, &data_incoming::sendLogMsg);
        UnitLine line(&f.worker);
        for (const QByteArray& read : reads)
            QVERIFY(line.send(read));
        line.pause();

        QTRY_COMPARE_WITH_TIMEOUT(textArgs(shown), QStringList{error}, 10000);
        QVERIFY(byteArgs(log).contains(error.toUtf8()));
        QCOMPARE(finals.count(), received);
        QCOMPARE(textArgs(sys).filter("Image received").size(), received);
        QVERIFY(!camera.isEmpty());
        QCOMPARE(camera.last().at(0).toBool(), false);
    }

    // A weather record in the same read as an image packet is published once, and the picture
    // is completed all the same.
    void weatherRecordBehindAnImagePacket_data()
    {
        QTest::addColumn<QByteArrayList>("reads");
        const QByteArray weather = weatherPacket("21.5");
        const QByteArray first = imagePacket(3, 0, 0, filler(0));
        const QByteArray last = imagePacket(3, 11, 1, filler(1));
        QTest::newRow("behind a packet") << QByteArrayList{first + weather, last};
        QTest::newRow("behind the last packet") << QByteArrayList{first, last + weather};
    }
    void weatherRecordBehindAnImagePacket()
    {
        QFETCH(QByteArrayList, reads);
        Fixture f;
        f.worker.setLoggingState(LoggingType::Data);
        QSignalSpy records(&f.worker, &data_incoming::weather_data_received);
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        QSignalSpy shown(&f.worker, &data_incoming::sendDisplayErrorMsg);
        QSignalSpy data(&f.worker, &data_incoming::sendLogData);
        UnitLine line(&f.worker);
        for (const QByteArray& read : reads)
            QVERIFY(line.send(read));
        QVERIFY(line.send(weatherPacket("22.0")));

        QStringList temperatures;
        for (const QList<QVariant>& call : records)
            temperatures << call.at(0).toJsonObject().value("Temperature").toString();
        QCOMPARE(temperatures, QStringList({"21.5", "22.0"}));
        // The data log has each packet once, the image packets without the record.
        const QByteArrayList logged = byteArgs(data);
        QCOMPARE(countHolding(logged, "TA:21.5"), 1);
        QCOMPARE(countHolding(logged, "@1"), 2);
        QCOMPARE(finals.count(), 1);
        QCOMPARE(readFile(finals.at(0).at(1).toString()).mid(kHeader + kChunk, kChunk), filler(1));
        QVERIFY(shown.isEmpty());
    }

    // A reply or start-up data that the unit sends with less silence behind it than the protocol
    // asks, or bytes that match nothing before or between the packets: each message is reported
    // once, and the packets behind it are read as if they came after a pause.
    void pictureRightBehindAMessage_data()
    {
        QTest::addColumn<QByteArrayList>("writes");
        QTest::addColumn<int>("gap"); // pacing ticks of silence between the writes
        QTest::addColumn<QString>("report");
        QList<QByteArray> p;
        for (int i = 0; i < 3; ++i)
            p << imagePacket(1, i == 2 ? 11 : 0, i, filler(i));
        const QByteArray reply = "I5\r\nI5 OK\r\n>";
        const QString taken = "INFO: BRQ I5 confirmation received.";
        const QByteArray noise = lineNoise(200);
        const QString dropped = "WARNING: BRQ data matching no message dropped [ 200 bytes ]";

        QTest::newRow("the reply and a packet in one write")
            << QByteArrayList{reply + p[0], p[1], p[2]} << 6 << taken;
        QTest::newRow("the reply, then the packets 0.1 s apart")
            << QByteArrayList{reply, p[0], p[1], p[2]} << 1 << taken;
        QTest::newRow("the last packet behind a reply")
            << QByteArrayList{p[0], p[1], "\r\nM 5M\r\n>" + p[2]} << 6
            << "INFO: BRQ M 5M confirmation received.";
        QTest::newRow("behind the start-up data")
            << QByteArrayList{"\r\nON 12.6V\r\nM 10S\r\n\r\n" + p[0], p[1], p[2]} << 6
            << "INFO: BRQ Configured and Started from Power OFF";
        QTest::newRow("line noise, then the packets 0.3 s apart")
            << QByteArrayList{noise, p[0], p[1], p[2]} << 3 << dropped;
        QTest::newRow("line noise between two packets 0.3 s apart")
            << QByteArrayList{p[0], noise, p[1], p[2]} << 3 << dropped;
        QTest::newRow("line noise right behind a packet")
            << QByteArrayList{p[0] + noise, p[1], p[2]} << 2 << dropped;
        QByteArray noTilde = weatherPacket("15.2");
        noTilde.remove(noTilde.indexOf('~'), 1);
        QTest::newRow("a record that lost its ~ between two packets")
            << QByteArrayList{p[0], noTilde + p[1], p[2]} << 1
            << QStringLiteral("WARNING: BRQ weather packet incomplete, not read [ %1 bytes ]")
                   .arg(noTilde.size());
    }
    void pictureRightBehindAMessage()
    {
        QFETCH(QByteArrayList, writes);
        QFETCH(int, gap);
        QFETCH(QString, report);
        Fixture f;
        f.worker.setStartupSequence(true);
        QSignalSpy camera(&f.worker, &data_incoming::enableCamera);
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        QSignalSpy shown(&f.worker, &data_incoming::sendDisplayErrorMsg);
        QSignalSpy log(&f.worker, &data_incoming::sendLogMsg);
        UnitLine line(&f.worker);
        for (int i = 0; i < writes.size(); ++i)
            QVERIFY(line.send(writes.at(i), i == 0 ? data_incoming::brqSilenceTicks : gap));
        line.pause();

        QCOMPARE(finals.count(), 1);
        const QByteArray file = readFile(finals.at(0).at(1).toString());
        QCOMPARE(file.size(), kHeader + 3 * kChunk + 2);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(file.mid(kHeader + i * kChunk, kChunk), filler(i));
        QVERIFY(!camera.isEmpty());
        QCOMPARE(camera.last().at(0).toBool(), false);
        QCOMPARE(byteArgs(log).count(report.toUtf8()), 1);
        QCOMPARE(countHolding(byteArgs(log), "WARNING"), report.startsWith("WARNING") ? 1 : 0);
        QVERIFY(shown.isEmpty());
        QVERIFY(f.worker.receiveBuffer.isEmpty());
    }

    // A picture read from a real port decodes to the even grey of its scan data.
    void pictureOverAPort()
    {
        PtyPair unit;
        Fixture f;
        QSignalSpy finals(&f.worker, &data_incoming::sendCameraFinal);
        QSignalSpy info(&f.worker, &data_incoming::sendImageProgressInfo);
        QSignalSpy stored(&f.worker, &data_incoming::sendCameraProgress);
        f.worker.openSerialPort(unit.portPath());
        QVERIFY(f.worker.findChild<QSerialPort*>()->isOpen());

        const QList<QByteArray> packets = picturePackets(1, greyScan());
        for (int i = 0; i < packets.size() - 1; ++i) {
            idleTicks = 6; // the unit pauses before each packet
            QVERIFY(unit.write(packets.at(i)));
            QTRY_COMPARE_WITH_TIMEOUT(stored.count(), i + 1, 10000);
        }
        idleTicks = 6;
        QVERIFY(unit.write(packets.last()));
        QTRY_COMPARE_WITH_TIMEOUT(finals.count(), 1, 10000);
        QVERIFY(!info.isEmpty());
        QCOMPARE(info.last().at(1).toInt(), packets.size() - 1);
        QImage image;
        QVERIFY(image.load(finals.at(0).at(1).toString()));
        QCOMPARE(image.size(), QSize(320, 240));
        for (const QPoint p : {QPoint(0, 0), QPoint(319, 0), QPoint(160, 120), QPoint(319, 239)})
            QCOMPARE(QColor(image.pixel(p)), QColor(128, 128, 128));
    }
};

QTEST_GUILESS_MAIN(TestBrqImages)
#include "tst_brqimages.moc"
