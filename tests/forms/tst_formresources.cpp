// Every compiled-in resource loads as what it is, every resource the forms, style sheets and code
// name is compiled in, the bundled faces stand in for the families the forms and sheets name, and
// the command status marks have a face to draw them.

#include "tests/support/testsupport.h"

#include "forms/formresources.h"

#include <QApplication>
#include <QDirIterator>
#include <QFontInfo>
#include <QImageReader>
#include <QJsonDocument>
#include <QLabel>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>
#include <QTextLayout>

namespace
{
QStringList g_warnings;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type >= QtWarningMsg)
        g_warnings << message;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestFormResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(registerFormFonts()); }

    void everyResourceLoads_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString& folder : {QStringLiteral(":/resources"), QStringLiteral(":/fonts")})
            for (QDirIterator it(folder, QDir::Files); it.hasNext();)
                QTest::newRow(qPrintable(it.next())) << it.filePath();
    }
    void everyResourceLoads()
    {
        QFETCH(QString, path);
        const QByteArray data = contents(path);
        const QString suffix = QFileInfo(path).suffix();
        if (QImageReader::supportedImageFormats().contains(suffix.toLatin1())) {
            // Every size of an icon, every frame of an animation.
            QImageReader reader(path);
            for (int i = 0; i < qMax(1, reader.imageCount()); ++i) {
                QVERIFY(i == 0 || reader.supportsAnimation() || reader.jumpToImage(i));
                QVERIFY2(!reader.read().isNull(), qPrintable(reader.errorString()));
            }
        } else if (suffix == QLatin1String("wav")) {
            QVERIFY(data.startsWith("RIFF") && data.mid(8, 4) == "WAVE" && data.contains("data"));
        } else if (suffix == QLatin1String("json")) {
            QJsonParseError error;
            QJsonDocument::fromJson(data, &error);
            QCOMPARE(error.error, QJsonParseError::NoError);
        } else if (suffix == QLatin1String("ttf")) {
            QVERIFY(QRawFont(data, 10).isValid());
        } else if (suffix == QLatin1String("qss")) {
            // A theme sheet goes over the common one, as the window applies them.
            QString sheet = QString::fromUtf8(data);
            if (!path.endsWith(QLatin1String("-base.qss")))
                sheet.prepend(QString::fromUtf8(contents(":/resources/stylesheet-base.qss")));
            g_warnings.clear();
            const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
            qApp->setStyleSheet(sheet);
            QLabel(QStringLiteral("probe")).ensurePolished();
            qInstallMessageHandler(previous);
            qApp->setStyleSheet(QString());
            QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join(QLatin1Char('\n'))));
        } else {
            QFAIL("a kind of resource this suite does not know");
        }
    }

    // A path misspelt in a form, a sheet or the code shows nothing and says nothing.
    void everyNamedResourceIsCompiledIn()
    {
        static const QRegularExpression named(
            QStringLiteral(":/(?:resources|fonts)/[^\"<)%\n]+\\.(?:png|ico|gif|wav|json|qss|ttf)"));
        int names = 0;
        for (const char* folder : {"app", "dashboard", "reports", "alerts", "forms", "resources"}) {
            QDirIterator it(QStringLiteral(VD_SOURCE_DIR "/") + QLatin1String(folder),
                            {"*.cpp", "*.h", "*.ui", "*.qss"}, QDir::Files);
            while (it.hasNext()) {
                const QString source = it.next();
                for (auto match = named.globalMatch(QString::fromUtf8(contents(source)));
                     match.hasNext(); ++names) {
                    const QString path = match.next().captured(0);
                    QVERIFY2(QFile::exists(path),
                             qPrintable(path + QStringLiteral(" in ") + source));
                }
            }
        }
        QVERIFY(names > 50);
    }

    void bundledFacesStandIn_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("bundled");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Arial") << "Arial"
                               << "Liberation Sans" << false;
        QTest::newRow("Arial bold") << "Arial"
                                    << "Liberation Sans" << true;
        QTest::newRow("Muli") << "Muli"
                              << "Mulish" << false;
        QTest::newRow("Muli bold") << "Muli"
                                   << "Mulish" << true;
    }
    void bundledFacesStandIn()
    {
        QFETCH(QString, family);
        QFETCH(QString, bundled);
        QFETCH(bool, bold);
        QFont font(family, 10);
        font.setBold(bold);
        const QFontInfo info(font);
        // Where the named family is installed, it is used itself.
        QVERIFY2(info.family() == family || info.family() == bundled, qPrintable(info.family()));
        QCOMPARE(info.bold(), bold);
        // A real face of that weight, not a synthesised one.
        if (info.family() == bundled)
            QCOMPARE(info.styleName(), bold ? QStringLiteral("Bold") : QStringLiteral("Regular"));
    }

    // The command status cells tell queued, done and failed apart only by these marks: the face
    // the window's font falls back to draws each of them, not the empty box of a missing glyph.
    void statusMarksHaveAFace_data()
    {
        QTest::addColumn<uint>("mark");
        QTest::newRow("queued U+1F567") << 0x1F567u;
        QTest::newRow("done U+2705") << 0x2705u;
        QTest::newRow("failed U+274C") << 0x274Cu;
    }
    void statusMarksHaveAFace()
    {
        QFETCH(uint, mark);
        QVERIFY(QRawFont(contents(":/fonts/NotoEmoji-Regular.ttf"), 10).supportsCharacter(mark));
        const char32_t text[] = {mark};
        QTextLayout layout(QString::fromUcs4(text, 1), QFont(QStringLiteral("Arial"), 10));
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs.first().glyphIndexes().size(), 1);
        // Another installed face may come first; whichever it is must have the mark.
        const QRawFont face = runs.first().rawFont();
        QVERIFY2(face.supportsCharacter(mark) && runs.first().glyphIndexes().first() != 0,
                 qPrintable(face.familyName()));
    }
};

QTEST_MAIN(TestFormResources)
#include "tst_formresources.moc"
