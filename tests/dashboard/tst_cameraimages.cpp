// Camera pictures on the images page of a BRQ window: captions, the capture time, the fitted
// picture while a transfer runs, and the fade-in of a finished picture.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "dashboard/cameraimages.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"

#include <QGraphicsOpacityEffect>
#include <QImage>
#include <QPointer>
#include <QProgressBar>
#include <QPropertyAnimation>
#include <QTemporaryDir>
#include <QtTest>

class TestCameraImages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initFormResources();
        QVERIFY(dir.isValid());
        window = new MainGUI;
        window->deviceType = DeviceTypes::BRQ;
        window->updateLayout();
        QVERIFY(window->imageLabels[3] && window->cameraInfoLabels[3]);
        // The images page as shown at the window's design size.
        window->setWindowState(Qt::WindowNoState);
        window->resize(1656, 877);
        window->ui->stackedWidget_mainPages->setCurrentWidget(window->ui->pageImages);
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanupTestCase() { delete window; }

    void caption_data()
    {
        QTest::addColumn<int>("camera");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("caption");
        QTest::newRow("whole angle") << 1 << 90.0 << "2026-07-14"
                                     << QStringLiteral("Camera 1 (90\u00B0)\n2026-07-14, 09:30:15");
        QTest::newRow("fraction") << 2 << 22.5 << "2026-07-14"
                                  << QStringLiteral("Camera 2 (22.5\u00B0)\n2026-07-14, 09:30:15");
        QTest::newRow("six significant digits")
            << 3 << 135.123456 << "2026-07-14"
            << QStringLiteral("Camera 3 (135.123\u00B0)\n2026-07-14, 09:30:15");
        QTest::newRow("percent signs stay")
            << 4 << 0.0 << "%1%2" << QStringLiteral("Camera 4 (0\u00B0)\n%1%2, 09:30:15");
    }
    void caption()
    {
        QFETCH(int, camera);
        QFETCH(double, angle);
        QFETCH(QString, date);
        QFETCH(QString, caption);
        const QString path = picture("caption.png", QSize(64, 48));
        window->displayImageDataProgress(path, camera, "09:30:15", angle, date);
        QCOMPARE(window->cameraInfoLabels[camera - 1]->text(), caption);
        QCOMPARE(window->ui->label_CameraTime->text(), "Last Capture Time: " + date + ", 09:30:15");
    }

    void fitted_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("4:3 larger") << QSize(640, 480) << QSize(320, 240);
        QTest::newRow("tall") << QSize(100, 400) << QSize(60, 240);
        QTest::newRow("wide") << QSize(800, 200) << QSize(320, 80);
        QTest::newRow("small grows") << QSize(32, 24) << QSize(320, 240);
    }
    void fitted()
    {
        QFETCH(QSize, size);
        QFETCH(QSize, shown);
        const QString path = picture("fitted.png", size);
        window->displayImageDataProgress(path, 2, "t", 0, "d");
        QLabel* label = window->imageLabels[1];
        QCOMPARE(label->pixmap(Qt::ReturnByValue).size(), shown);
        // Drawn so and centred, although the laid-out label is far wider than 4:3.
        QVERIFY(label->width() * 3 > label->height() * 5);
        const QImage drawn = label->grab().toImage();
        QRect picture;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (drawn.pixel(x, y) == QColor(Qt::darkCyan).rgb())
                    picture |= QRect(x, y, 1, 1);
        QCOMPARE(picture.size(), shown);
        QVERIFY((picture.center() - label->rect().center()).manhattanLength() <= 2);
    }

    void progressRefreshesThenFinalFadesIn()
    {
        const QString path = picture("camera3.png", QSize(80, 60));
        window->displayImageDataProgress(path, 3, "t", 45, "d");
        QLabel* label = window->imageLabels[2];
        QCOMPARE(label->pixmap(Qt::ReturnByValue).size(), QSize(320, 240));
        // More of the file has arrived: the same path shows the new picture.
        picture("camera3.png", QSize(80, 20));
        window->displayImageDataProgress(path, 3, "t", 45, "d");
        QCOMPARE(label->pixmap(Qt::ReturnByValue).size(), QSize(320, 80));
        QVERIFY(!label->graphicsEffect());

        window->imageProgressBar->setValue(3);
        window->imageProgressBar->show();
        window->displayImageDataFinal(3, path);
        QCOMPARE(window->imageProgressBar->value(), window->imageProgressMaximum);
        QVERIFY(window->imageProgressBar->isHidden());
        QCOMPARE(window->imagePaths, QStringList({"temp", "temp", path, "temp"}));
        QCOMPARE(label->pixmap(Qt::ReturnByValue).size(), QSize(320, 80));

        QPointer<QGraphicsOpacityEffect> effect =
            qobject_cast<QGraphicsOpacityEffect*>(label->graphicsEffect());
        QVERIFY(effect);
        QCOMPARE(effect->parent(), label);
        QPointer<QPropertyAnimation> fade = effect->findChild<QPropertyAnimation*>();
        QVERIFY(fade);
        QCOMPARE(fade->targetObject(), effect.data());
        QCOMPARE(fade->propertyName(), QByteArray("opacity"));
        QCOMPARE(fade->duration(), 1000);
        QCOMPARE(fade->startValue().toDouble(), 0.0);
        QCOMPARE(fade->endValue().toDouble(), 1.0);
        QCOMPARE(fade->easingCurve().type(), QEasingCurve::InBack);
        QCOMPARE(fade->state(), QAbstractAnimation::Running);

        // Run the fade to its end rather than waiting a second.
        fade->setCurrentTime(fade->duration());
        QCOMPARE(effect->opacity(), 1.0);
        QTRY_VERIFY_WITH_TIMEOUT(fade.isNull(), 10000);

        // A second picture replaces the effect; the label deletes the old one.
        window->displayImageDataFinal(3, path);
        QTRY_VERIFY_WITH_TIMEOUT(effect.isNull(), 10000);
        QVERIFY(qobject_cast<QGraphicsOpacityEffect*>(label->graphicsEffect()));
    }

    void finalReplacesRunningFade()
    {
        const QString path = picture("camera4.png", QSize(40, 30));
        window->displayImageDataFinal(4, path);
        QPointer<QPropertyAnimation> fade =
            window->imageLabels[3]->graphicsEffect()->findChild<QPropertyAnimation*>();
        QVERIFY(fade);
        window->displayImageDataFinal(4, path);
        // The unfinished fade went with its effect.
        QTRY_VERIFY_WITH_TIMEOUT(fade.isNull(), 10000);
    }

    void otherCameraNumbers_data()
    {
        QTest::addColumn<int>("camera");
        QTest::newRow("0") << 0;
        QTest::newRow("5") << 5;
        QTest::newRow("negative") << -1;
    }
    void otherCameraNumbers()
    {
        QFETCH(int, camera);
        const QString path = picture("other.png", QSize(64, 48));
        window->ui->label_CameraTime->setText("before");
        const QStringList paths = window->imagePaths;
        QStringList captions;
        for (QLabel* label : window->cameraInfoLabels)
            captions << label->text();

        window->displayImageDataProgress(path, camera, "t", 10, "d");
        QCOMPARE(window->ui->label_CameraTime->text(), QStringLiteral("before"));

        window->imageProgressBar->setValue(1);
        window->imageProgressBar->show();
        window->displayImageDataFinal(camera, path);
        QCOMPARE(window->imageProgressBar->value(), window->imageProgressMaximum);
        QVERIFY(window->imageProgressBar->isHidden());
        QCOMPARE(window->imagePaths, paths);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(window->cameraInfoLabels[i]->text(), captions.at(i));
    }

    void unreadableFileShowsNothing()
    {
        window->displayImageDataProgress(dir.filePath("missing.jpg"), 1, "t", 0, "d");
        QLabel* label = window->imageLabels[0];
        QVERIFY(label->pixmap(Qt::ReturnByValue).isNull());

        QFile junk(dir.filePath("junk.jpg"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("\xff\xd8\xff\xe0 not a whole picture");
        junk.close();
        window->displayImageDataFinal(1, junk.fileName());
        QVERIFY(label->pixmap(Qt::ReturnByValue).isNull());
        QCOMPARE(window->imagePaths.first(), junk.fileName());
    }

private:
    QString picture(const QString& name, const QSize& size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = dir.filePath(name);
        if (!image.save(path, "PNG"))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir dir;
    MainGUI* window = nullptr;
};

QTEST_MAIN(TestCameraImages)
#include "tst_cameraimages.moc"
