// The menu buttons and their pages, the raw-line key filter, the window size and the texts
// of the device and logging constants.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "app/navigation.h"
#include "forms/maingui_ui.h"

#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestNavigation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        window = std::make_unique<MainGUI>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanupTestCase() { window.reset(); }

    // Each button shows its page and is the only one checked; every page but Table and Images
    // leaves a stored observation first.
    void menuButtonShowsItsPage_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("backToLive");
        const auto row = [](const char* name, const char* page, bool backToLive) {
            QTest::newRow(name) << QString("pushButton") + name << QString(page) << backToLive;
        };
        row("Dashboard", "pageDashboardTrends", true);
        row("Table", "pageTable", false);
        row("Trends", "pageTrends", true);
        row("Command", "pageCommand", true);
        row("RawData", "pageRawData", true);
        row("Images", "pageImages", false);
        row("BitStatus", "pageBitStatus", true);
        row("Settings", "pageSettings", true);
        row("Notifications", "pageNotifications", true);
    }
    void menuButtonShowsItsPage()
    {
        QFETCH(QString, button);
        QFETCH(QString, page);
        QFETCH(bool, backToLive);

        // Start from a page with some other button checked, and a second stray check.
        window->ui->stackedWidget_mainPages->setCurrentWidget(window->ui->pageSettings);
        window->ui->pushButtonSettings->setChecked(true);
        window->ui->pushButtonNotifications->setChecked(true);
        // An edit freezes the view on the report shown, its "live data" button visible.
        window->on_pushButton_editMetar_clicked();
        QCOMPARE(window->viewMode, 1);

        auto* pressed = window->findChild<QPushButton*>(button);
        QVERIFY(pressed);
        QTest::mouseClick(pressed, Qt::LeftButton);

        QCOMPARE(window->ui->stackedWidget_mainPages->currentWidget()->objectName(), page);
        QStringList checked;
        for (QPushButton* b : menuButtons()) {
            if (b->isChecked())
                checked << b->objectName();
        }
        QCOMPARE(checked, QStringList{button});
        QCOMPARE(window->viewMode, backToLive ? 0 : 1);
        QCOMPARE(window->ui->pushButton_show_live_data->isHidden(), backToLive);
        window->ui->pushButton_show_live_data->hide();
        window->viewMode = 0;
    }

    void imagesPageNudgesWindowSize()
    {
        window->setMinimumSize(0, 0);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window->setWindowState(Qt::WindowNoState);
        window->resize(window->minimumSizeHint() + QSize(100, 100));
        const QSize before = window->size();
        window->on_pushButtonImages_clicked();
        QCOMPARE(window->size(), before + QSize(1, 1));
    }
    void uncheckClearsAllNine()
    {
        for (QPushButton* b : menuButtons())
            b->setChecked(true);
        window->uncheckMenuButtons();
        for (QPushButton* b : menuButtons())
            QVERIFY2(!b->isChecked(), qPrintable(b->objectName()));
    }
    void returnInRawLineIsTaken()
    {
        window->activateWindow();
        QLineEdit* line = window->ui->lineEdit_rawSendMsg;
        window->on_pushButtonRawData_clicked();
        line->setFocus();
        QTRY_VERIFY(line->hasFocus());
        line->setText(QStringLiteral("status"));

        // The filter takes Return away from the line and sends it instead; the line never sees it.
        QSignalSpy returned(line, &QLineEdit::returnPressed);
        QTest::keyClick(line, Qt::Key_Return);
        QCOMPARE(returned.count(), 0);
    }
    void otherKeysAndWidgetsPassUnchanged_data()
    {
        QTest::addColumn<QString>("lineName");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("focused");

        QTest::newRow("keypad Enter in the raw line")
            << "lineEdit_rawSendMsg" << int(Qt::Key_Enter) << true;
        QTest::newRow("Return in another line")
            << "lineEdit_RunwayDirection" << int(Qt::Key_Return) << true;
        QTest::newRow("Return in the raw line without focus")
            << "lineEdit_rawSendMsg" << int(Qt::Key_Return) << false;
    }
    void otherKeysAndWidgetsPassUnchanged()
    {
        QFETCH(QString, lineName);
        QFETCH(int, key);
        QFETCH(bool, focused);

        window->activateWindow();
        auto* line = window->findChild<QLineEdit*>(lineName);
        QVERIFY(line);
        window->ui->stackedWidget_mainPages->setCurrentWidget(
            lineName == QLatin1String("lineEdit_rawSendMsg") ? window->ui->pageRawData
                                                             : window->ui->pageDashboardTrends);
        if (focused) {
            line->setFocus();
            QTRY_VERIFY(line->hasFocus());
        } else {
            window->ui->textEditRawData->setFocus();
            QTRY_VERIFY(!line->hasFocus());
        }
        QSignalSpy returned(line, &QLineEdit::returnPressed);
        QTest::keyClick(line, static_cast<Qt::Key>(key));
        QCOMPARE(returned.count(), 1);
    }
    void translateConstants_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("logging");
        QTest::addColumn<QByteArray>("result");

        QTest::newRow("no device") << 1 << 0 << 0 << QByteArray("None");
        QTest::newRow("BRQ") << 1 << 1 << 0 << QByteArray("BRQ");
        QTest::newRow("ORVA") << 1 << 2 << 0 << QByteArray("ORVA");
        QTest::newRow("default logging") << 2 << 0 << 0 << QByteArray("Default");
        QTest::newRow("data logging") << 2 << 0 << 1 << QByteArray("Data");
        QTest::newRow("debug logging") << 2 << 0 << 2 << QByteArray("Debug");
        QTest::newRow("anything else") << 3 << 2 << 2 << QByteArray();
    }
    void translateConstants()
    {
        QFETCH(int, which);
        QFETCH(int, device);
        QFETCH(int, logging);
        QFETCH(QByteArray, result);

        window->deviceType = static_cast<DeviceTypes>(device);
        window->loggingType = static_cast<LoggingType>(logging);
        QCOMPARE(window->translateConstants(which), result);
        window->deviceType = DeviceTypes::None;
        window->loggingType = LoggingType::Default;
    }
    // The form's 1656 x 877 is maximized on a screen too small for it in either direction, and
    // only then.
    void maximizedWhenTheScreenIsSmaller_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("1600 x 900, too narrow only") << QSize(1600, 900) << true;
        QTest::newRow("1920 x 800, too low only") << QSize(1920, 800) << true;
        QTest::newRow("800 x 600, too small both ways") << QSize(800, 600) << true;
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << false;
        QTest::newRow("exactly the form") << QSize(1656, 877) << false;
        QTest::newRow("one pixel narrower") << QSize(1655, 877) << true;
        QTest::newRow("one pixel lower") << QSize(1656, 876) << true;
    }
    void maximizedWhenTheScreenIsSmaller()
    {
        QFETCH(QSize, screen);
        QFETCH(bool, maximized);
        QCOMPARE(maximizeOnScreen(QSize(1656, 877), screen), maximized);
    }
    void windowSizeFromScreen()
    {
        MainGUI fresh;
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int fx = static_cast<int>(screen->logicalDotsPerInchX()) / 96;
        const int fy = static_cast<int>(screen->logicalDotsPerInchY()) / 96;
        // The form's initial size, in whole steps of 96 DPI.
        QCOMPARE(fresh.minimumWidth(), 1656 * fx);
        QCOMPARE(fresh.minimumHeight(), 877 * fy);
        const bool tooBig = 1656 > screen->geometry().width() || 877 > screen->geometry().height();
        QCOMPARE(fresh.windowState().testFlag(Qt::WindowMaximized), tooBig);
        if (tooBig) {
            QCOMPARE(fresh.maximumWidth(), fresh.width());
            QCOMPARE(fresh.maximumHeight(), fresh.height() + 200);
        }
    }

private:
    std::unique_ptr<MainGUI> window;
    QList<QPushButton*> menuButtons() const
    {
        Ui_MainGUI& f = *window->ui;
        return {f.pushButtonDashboard, f.pushButtonTable,    f.pushButtonCommand,
                f.pushButtonImages,    f.pushButtonSettings, f.pushButtonTrends,
                f.pushButtonBitStatus, f.pushButtonRawData,  f.pushButtonNotifications};
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
