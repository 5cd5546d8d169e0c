#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "link/packetcode.h"

#include <QRandomGenerator>
#include <QtTest>

// gcc says so by a macro, clang by __has_feature.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VD_SANITIZER_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VD_SANITIZER_HEAP 1
#endif
#endif

#ifdef VD_SANITIZER_HEAP
// The sanitizer's allocator, which takes the place of malloc's (its header is not always there).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

// A unit that sends nothing but noise: 20 MB of it per device family, in reads of 1 to 512
// bytes. The receive buffers never pass their caps and the heap stays as it was after the first
// megabytes; the stream is generated as it is fed, never held whole.

namespace
{

constexpr qint64 kStreamBytes = 20 * 1024 * 1024;
constexpr qint64 kWarmUpBytes = 2 * 1024 * 1024;
constexpr qint64 kHeapSlack = 1024 * 1024;

qint64 heapInUse()
{
#ifdef VD_SANITIZER_HEAP
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
#endif
}

class Probe : public data_incoming
{
public:
    using data_incoming::receiveBuffer;
};

} // namespace

class tst_GarbageStream : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initPacketCodeTables(); }

    void buffersStayCapped_data()
    {
        QTest::addColumn<DeviceTypes>("family");
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<int>("cap");
        QTest::newRow("ORVA frames") << DeviceTypes::ORVA << false << 4096;
        QTest::newRow("legacy ORVA") << DeviceTypes::ORVA << true << 64 * 1024;
        QTest::newRow("BRQ") << DeviceTypes::BRQ << false << 64 * 1024;
    }
    void buffersStayCapped()
    {
        QFETCH(DeviceTypes, family);
        QFETCH(bool, legacy);
        QFETCH(int, cap);
        Probe worker;
        worker.setDeviceTypeState(family);
        worker.legacyorvadevicecheck(legacy);
        frameBuffer.clear();

        QRandomGenerator random(quint32(family) * 2 + legacy);
        QByteArray noise(512, '\0');
        int largest = 0;
        qint64 heapAfterWarmUp = -1;
        for (qint64 fed = 0; fed < kStreamBytes;) {
            const int n = int(random.bounded(1, 513));
            random.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
            const QByteArray read = noise.left(n);
            if (family == DeviceTypes::BRQ)
                worker.parseData_BRQ(read);
            else if (legacy)
                worker.parseData_ORVA_Legacy(read);
            else
                worker.parseData_ORVA(read);
            largest =
                qMax(largest, int(legacy || family == DeviceTypes::BRQ ? worker.receiveBuffer.size()
                                                                       : frameBuffer.size()));
            fed += n;
            if (heapAfterWarmUp < 0 && fed >= kWarmUpBytes)
                heapAfterWarmUp = heapInUse();
        }
        frameBuffer.clear();
        QVERIFY2(largest <= cap, qPrintable(QString::number(largest)));
        const qint64 growth = heapInUse() - heapAfterWarmUp;
        QVERIFY2(growth < kHeapSlack, qPrintable(QString::number(growth)));
    }
};

QTEST_GUILESS_MAIN(tst_GarbageStream)
#include "tst_garbagestream.moc"
