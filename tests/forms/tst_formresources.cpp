// The compiled-in resources the form and the window rely on: every picture at its pixel size,
// the multi-size window icon, the busy animation, the alert sound, the style sheets, and the
// bundled Mulish faces standing in for the form's "Muli".

#include "tests/support/testsupport.h"

#include "forms/formresources.h"

#include <QApplication>
#include <QDataStream>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QTest>

class TestFormResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void pictures_data();
    void pictures();
    void windowIconHasEverySize();
    void folderIconReads();
    void busyAnimationLoops();
    void alertSoundIsPcmWave();
    void styleSheetsParse();

    void muliIsDrawnWithMulish_data();
    void muliIsDrawnWithMulish();
    void registeringTwiceAddsNothing();
};

void TestFormResources::initTestCase()
{
    QVERIFY(registerFormFonts());
}

void TestFormResources::pictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    const struct {
        const char* path;
        int width;
        int height;
    } pictures[] = {
        {":/resources/Vantora Logo 150x50.png", 150, 50},
        {":/resources/icon-dashboard.png", 51, 51},
        {":/resources/icon-table.png", 51, 51},
        {":/resources/icon-trends.png", 51, 51},
        {":/resources/icon-command.png", 51, 51},
        {":/resources/icon-rawdata.png", 51, 51},
        {":/resources/icon-images.png", 51, 51},
        {":/resources/icon-settings.png", 51, 51},
        {":/resources/notifications_icon.png", 51, 51},
        {":/resources/status_icon_grey_transparent.png", 200, 200},
        {":/resources/battery-none-grey.png", 29, 52},
        {":/resources/lightning-off-grey.png", 29, 52},
        {":/resources/rain-off-grey.png", 53, 48},
        {":/resources/camera-off-grey.png", 53, 42},
        {":/resources/tampering-off-grey.png", 53, 46},
        {":/resources/battery-good-grey.png", 29, 52},
        {":/resources/battery-ok-grey.png", 29, 52},
        {":/resources/battery-low-grey.png", 29, 52},
        {":/resources/lightning-on.png", 29, 52},
        {":/resources/camera-on.png", 53, 42},
        {":/resources/tampering-on.png", 53, 46},
        {":/resources/windrosecompass.png", 270, 240},
        {":/resources/lightningcompass7.png", 300, 300},
        {":/resources/dropdown-arrow-white.png", 12, 8},
        {":/resources/greenlight_icon.png", 1024, 1024},
        {":/resources/greenlight_icon_small.png", 75, 75},
        {":/resources/redlight_icon_small.png", 75, 75},
        {":/resources/yellowlight_icon_small.png", 75, 75},
        {":/resources/graylight_icon_small.png", 75, 75},
        {":/resources/icon_updated.png", 50, 50},
        {":/resources/greencheckmark.png", 709, 706},
        {":/resources/redcheckmark.png", 709, 706},
    };
    for (const auto& p : pictures)
        QTest::newRow(p.path) << QString::fromLatin1(p.path) << QSize(p.width, p.height);
}

void TestFormResources::pictures()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    // Drawn for a dark background: transparent around the artwork, never blank.
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    int opaque = 0;
    for (int y = 0; y < image.height(); y += qMax(1, image.height() / 32))
        for (int x = 0; x < image.width(); x += qMax(1, image.width() / 32))
            opaque += qAlpha(image.pixel(x, y)) > 128;
    QVERIFY(opaque > 0);
}

void TestFormResources::windowIconHasEverySize()
{
    QImageReader reader(QStringLiteral(":/resources/norvalis.ico"));
    QList<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        sizes << image.width();
    }
    QCOMPARE(sizes, QList<int>({16, 24, 32, 48, 256}));
    const QIcon icon(QStringLiteral(":/resources/norvalis.ico"));
    QCOMPARE(icon.availableSizes().size(), 5);
}

void TestFormResources::folderIconReads()
{
    const QIcon icon(QStringLiteral(":/resources/open_icon.ico"));
    QVERIFY(!icon.isNull());
    QVERIFY(!icon.pixmap(16, 16).isNull());
}

void TestFormResources::busyAnimationLoops()
{
    QMovie movie(QStringLiteral(":/resources/loading.gif"));
    QVERIFY(movie.isValid());
    QVERIFY(movie.frameCount() > 1);
    QCOMPARE(movie.loopCount(), -1); // forever
    for (int frame = 0; frame < movie.frameCount(); ++frame) {
        QVERIFY(movie.jumpToNextFrame());
        QCOMPARE(movie.currentImage().size(), QSize(48, 48));
    }
}

void TestFormResources::alertSoundIsPcmWave()
{
    QFile file(QStringLiteral(":/resources/alert_bells.wav"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    QVERIFY(wav.size() > 44);
    QCOMPARE(wav.left(4), QByteArray("RIFF"));
    QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
    QDataStream s(wav.mid(16, 28));
    s.setByteOrder(QDataStream::LittleEndian);
    quint32 riffSize = 0, fmtSize = 0, rate = 0, byteRate = 0, dataSize = 0;
    quint16 format = 0, channels = 0, align = 0, bits = 0;
    QDataStream riff(wav.mid(4, 4));
    riff.setByteOrder(QDataStream::LittleEndian);
    riff >> riffSize;
    QCOMPARE(int(riffSize), wav.size() - 8);
    s >> fmtSize >> format >> channels >> rate >> byteRate >> align >> bits;
    QCOMPARE(fmtSize, 16u);
    QCOMPARE(format, quint16(1)); // PCM
    QCOMPARE(byteRate, rate * channels * bits / 8);
    QCOMPARE(wav.mid(36, 4), QByteArray("data"));
    QDataStream d(wav.mid(40, 4));
    d.setByteOrder(QDataStream::LittleEndian);
    d >> dataSize;
    QCOMPARE(int(dataSize), wav.size() - 44);
    QVERIFY(dataSize >= byteRate / 4); // a bell, not a click
}

namespace
{
QStringList g_styleWarnings;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type >= QtWarningMsg)
        g_styleWarnings << message;
}
} // namespace

void TestFormResources::styleSheetsParse()
{
    for (const char* theme : {"dark", "light"}) {
        QString sheet;
        for (const QString& name : {QStringLiteral("base"), QString::fromLatin1(theme)}) {
            QFile file(QStringLiteral(":/resources/stylesheet-%1.qss").arg(name));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
            sheet += QString::fromUtf8(file.readAll());
        }
        g_styleWarnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
        qApp->setStyleSheet(sheet);
        QLabel probe(QStringLiteral("probe"));
        probe.ensurePolished();
        qInstallMessageHandler(previous);
        qApp->setStyleSheet(QString());
        QVERIFY2(g_styleWarnings.isEmpty(), qPrintable(g_styleWarnings.join(QLatin1Char('\n'))));
    }
}

void TestFormResources::muliIsDrawnWithMulish_data()
{
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("pointSize");
    QTest::newRow("Muli 10 pt bold") << true << 10;
    QTest::newRow("Muli 10 pt regular") << false << 10;
    QTest::newRow("Muli 18 pt bold") << true << 18;
    QTest::newRow("Muli 6 pt regular") << false << 6;
}

void TestFormResources::muliIsDrawnWithMulish()
{
    QFETCH(bool, bold);
    QFETCH(int, pointSize);
    QFont font(QStringLiteral("Muli"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    QLabel label(QStringLiteral("Connected To"));
    label.setFont(font);
    const QFontInfo info(label.font());
    QCOMPARE(info.family(), QStringLiteral("Mulish"));
    QCOMPARE(info.bold(), bold);
    // A real face of that weight, not a synthesised one.
    QCOMPARE(info.styleName(), bold ? QStringLiteral("Bold") : QStringLiteral("Regular"));
}

void TestFormResources::registeringTwiceAddsNothing()
{
    const int families = QFontDatabase().families().count(QStringLiteral("Mulish"));
    QVERIFY(registerFormFonts());
    QCOMPARE(QFontDatabase().families().count(QStringLiteral("Mulish")), families);
    QCOMPARE(QFontDatabase().styles(QStringLiteral("Mulish")).size(), 2);
}

QTEST_MAIN(TestFormResources)
#include "tst_formresources.moc"
