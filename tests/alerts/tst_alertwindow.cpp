// The alert, message-pane, counter and temperature-unit members of the real main window.

#include "app/maingui.h"

#include "alerts/alertsound.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "tests/support/scopedclock.h"
#include "tests/support/testsupport.h"

#include <QMediaPlayer>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

namespace
{

const QString degC = QStringLiteral("\u00B0C");
const QString degF = QStringLiteral("\u00B0F");

// "  Notifications" padded with blanks to `width` characters.
QString padded(int width)
{
    return QStringLiteral("  Notifications") + QString(width - 15, QLatin1Char(' '));
}

QString firstLine(QTextEdit* pane)
{
    return pane->document()->firstBlock().text();
}

int lineCount(QTextEdit* pane)
{
    return pane->document()->blockCount() - 1;
}

} // namespace

class TestAlertWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void messageLinesAndImmediateCounts();
    void ownTabShowsAtNextRefresh();
    void countExamples();
    void limitKeepsNewestAndCapsCount();
    void alertsTabInFront();
    void openingPageResetsOnlyAlerts();
    void clearNotifications();
    void refreshWithNothingUnreadKeepsButton();

    void alertRaisedListedAndGated();
    void gateIsPerParameterAndSharedByDirections();
    void missingValueLeavesGateOpen();
    void fahrenheitShown();
    void debugLogLine_data();
    void debugLogLine();
    void soundFollowsAudioFlag_data();
    void soundFollowsAudioFlag();

    void temperatureUnitMembers();

private:
    Ui_MainGUI* ui() const { return window->ui; }
    QTabWidget* tabs() const { return window->ui->tabWidget_Notifications; }
    QString buttonText() const { return window->ui->pushButtonNotifications->text(); }

    MainGUI* window = nullptr;
    ScopedClock* clock = nullptr;
};

void TestAlertWindow::initTestCase()
{
    initFormResources();
    window = new MainGUI;
    // What the first page layout does for these members.
    window->ui->pushButtonNotifications->setText(padded(37));
    if (!window->alertSound)
        window->alertSound = makeAlertSoundPlayer();
}

void TestAlertWindow::init()
{
    clock = new ScopedClock(QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC));
    window->on_pushButton_clearNotifications_clicked();
    window->uncheckMenuButtons();
    window->alertDefs.clear();
    window->alertThresholds.clear();
    window->alertAudio.clear();
    window->alertActive.clear();
    window->alertLastRaised.clear();
    window->temperatureUnits = TemperatureUnits::Celsius;
    window->temperatureUnitText = degC;
    window->loggingType = LoggingType::Default;
}

void TestAlertWindow::cleanup()
{
    delete clock;
    clock = nullptr;
}

void TestAlertWindow::cleanupTestCase()
{
    QMediaPlayer* player = window->alertSound;
    delete window;
    delete player;
}

void TestAlertWindow::messageLinesAndImmediateCounts()
{
    tabs()->setCurrentIndex(2);
    window->displayErrorMessages("WARNING: battery\r\nlow");
    QCOMPARE(firstLine(ui()->textEdit_ErrorMsgs),
             QString("2024-05-01 12:00:00 WARNING: battery low"));
    QCOMPARE(ui()->textEdit_ErrorMsgs->document()
                 ->firstBlock()
                 .begin()
                 .fragment()
                 .charFormat()
                 .foreground()
                 .color(),
             QColor(252, 200, 43));
    window->displayErrorMessages("ERROR: <b>port</b> & lost");
    QCOMPARE(firstLine(ui()->textEdit_ErrorMsgs),
             QString("2024-05-01 12:00:00 ERROR: <b>port</b> & lost"));
    QCOMPARE(ui()->textEdit_ErrorMsgs->document()
                 ->firstBlock()
                 .begin()
                 .fragment()
                 .charFormat()
                 .foreground()
                 .color(),
             QColor(209, 0, 0));
    QCOMPARE(window->unreadErrors, 2);
    // The error tab is not in front: its text and the button follow at once.
    QCOMPARE(tabs()->tabText(1), QString("Error Messages [2]  "));
    QCOMPARE(buttonText(), padded(36) + "2  ");

    clock->advanceSecs(5);
    window->displayAlertMessages("Visibility 2.5SM is Less Than Threshold of 3SM");
    window->displaySystemMessages("Connected\r\nto COM3");
    QCOMPARE(firstLine(ui()->textEdit_ActiveAlerts),
             QString("2024-05-01 12:00:05 Visibility 2.5SM is Less Than Threshold of 3SM"));
    QCOMPARE(firstLine(ui()->textEdit_SysMsgs), QString("2024-05-01 12:00:05 Connected to COM3"));
    QCOMPARE(tabs()->tabText(0), QString("Alerts [1]  "));
    QCOMPARE(buttonText(), padded(36) + "3  ");
    QCOMPARE(window->unreadSystem, 1);
    // Its own tab is in front: no count on the tab yet.
    QCOMPARE(tabs()->tabText(2), QString("System Messages      "));
}

void TestAlertWindow::ownTabShowsAtNextRefresh()
{
    window->on_pushButtonNotifications_clicked();
    tabs()->setCurrentIndex(1);
    QCOMPARE(tabs()->tabText(1), QString("Error Messages      "));
    window->displayErrorMessages("ERROR: x");
    QCOMPARE(window->unreadErrors, 1);
    QCOMPARE(tabs()->tabText(1), QString("Error Messages      "));
    window->updateAlertsCount(); // the periodic refresh
    QCOMPARE(tabs()->tabText(1), QString("Error Messages [1]  "));
}

void TestAlertWindow::countExamples()
{
    tabs()->setCurrentIndex(1);
    for (int i = 0; i < 7; ++i)
        window->displayAlertMessages(QString("alert %1").arg(i));
    QCOMPARE(tabs()->tabText(0), QString("Alerts [7]  "));
    QCOMPARE(buttonText(), padded(36) + "7  ");
    // The system tab leaves the button alone; a change to the error tab writes the total
    // without trailing blanks.
    tabs()->setCurrentIndex(2);
    QCOMPARE(buttonText(), padded(36) + "7  ");
    tabs()->setCurrentIndex(1);
    QCOMPARE(buttonText(), padded(36) + "7");
    QCOMPARE(tabs()->tabText(1), QString("Error Messages      "));

    window->on_pushButton_clearNotifications_clicked();
    tabs()->setCurrentIndex(2);
    for (int i = 0; i < 12; ++i)
        window->displayErrorMessages("ERROR: x");
    QCOMPARE(tabs()->tabText(1), QString("Error Messages [12] "));
    QCOMPARE(buttonText(), padded(35) + "12 ");

    for (int i = 12; i < 100; ++i)
        window->displayErrorMessages("ERROR: x");
    QCOMPARE(tabs()->tabText(1), QString("Error Messages [100]"));
    QCOMPARE(buttonText(), padded(34) + "100");
}

void TestAlertWindow::limitKeepsNewestAndCapsCount()
{
    tabs()->setCurrentIndex(0);
    for (int i = 1; i <= 250; ++i)
        window->displaySystemMessages(QString("message %1").arg(i));
    QCOMPARE(window->unreadSystem, 200);
    QCOMPARE(lineCount(ui()->textEdit_SysMsgs), 200);
    QCOMPARE(firstLine(ui()->textEdit_SysMsgs), QString("2024-05-01 12:00:00 message 250"));
    QCOMPARE(ui()->textEdit_SysMsgs->document()->lastBlock().previous().text(),
             QString("2024-05-01 12:00:00 message 51"));
    QCOMPARE(tabs()->tabText(2), QString("System Messages [200]"));
}

void TestAlertWindow::alertsTabInFront()
{
    window->on_pushButtonNotifications_clicked();
    window->uncheckMenuButtons(); // the operator moved on to another page
    const QString before = buttonText();
    for (int i = 0; i < 3; ++i)
        window->displayAlertMessages("Wind Speed 30kt is Greater Than Threshold of 25kt");
    QCOMPARE(window->unreadAlerts, 3);
    QCOMPARE(tabs()->tabText(0), QString("Alerts      "));
    QCOMPARE(buttonText(), before);
    window->updateAlertsCount();
    QCOMPARE(tabs()->tabText(0), QString("Alerts      "));
    QCOMPARE(buttonText(), before);

    window->displayErrorMessages("ERROR: y");
    QCOMPARE(buttonText(), padded(36) + "1  ");
}

void TestAlertWindow::openingPageResetsOnlyAlerts()
{
    tabs()->setCurrentIndex(2);
    for (int i = 0; i < 3; ++i)
        window->displayAlertMessages("a");
    for (int i = 0; i < 2; ++i)
        window->displayErrorMessages("ERROR: e");
    tabs()->setCurrentIndex(1); // resets the errors
    window->displayErrorMessages("ERROR: e");
    window->displayErrorMessages("ERROR: e");
    tabs()->setCurrentIndex(0); // resets the alerts
    for (int i = 0; i < 3; ++i)
        window->displayAlertMessages("a");
    window->displaySystemMessages("s");
    ui()->stackedWidget_mainPages->setCurrentIndex(0);

    window->on_pushButtonNotifications_clicked();
    QCOMPARE(ui()->stackedWidget_mainPages->currentWidget(), ui()->pageNotifications);
    QCOMPARE(tabs()->currentIndex(), 0);
    QVERIFY(ui()->pushButtonNotifications->isChecked());
    QCOMPARE(window->unreadAlerts, 0);
    QCOMPARE(window->unreadErrors, 2);
    QCOMPARE(window->unreadSystem, 1);
    QCOMPARE(buttonText(), padded(36) + "2");

    tabs()->setCurrentIndex(1);
    QCOMPARE(window->unreadErrors, 0);
    window->on_pushButtonNotifications_clicked();
    QCOMPARE(buttonText(), padded(40));
}

void TestAlertWindow::clearNotifications()
{
    tabs()->setCurrentIndex(2);
    window->displayAlertMessages("a");
    window->displayErrorMessages("ERROR: e");
    window->displaySystemMessages("s");
    tabs()->setCurrentIndex(1);
    window->displaySystemMessages("s");
    QVERIFY(buttonText() != padded(40));

    window->on_pushButton_clearNotifications_clicked();
    QVERIFY(ui()->textEdit_ActiveAlerts->toPlainText().isEmpty());
    QVERIFY(ui()->textEdit_ErrorMsgs->toPlainText().isEmpty());
    QVERIFY(ui()->textEdit_SysMsgs->toPlainText().isEmpty());
    QCOMPARE(tabs()->currentIndex(), 0);
    QCOMPARE(window->unreadAlerts + window->unreadErrors + window->unreadSystem, 0);
    QCOMPARE(buttonText(), padded(40));
    QCOMPARE(tabs()->tabText(0), QString("Alerts      "));
    QCOMPARE(tabs()->tabText(1), QString("Error Messages      "));
    QCOMPARE(tabs()->tabText(2), QString("System Messages      "));
}

void TestAlertWindow::refreshWithNothingUnreadKeepsButton()
{
    tabs()->setCurrentIndex(2);
    window->displayErrorMessages("ERROR: e");
    QCOMPARE(buttonText(), padded(36) + "1  ");
    window->unreadErrors = 0; // as if read elsewhere; the refresh finds nothing to count
    window->updateAlertsCount();
    QCOMPARE(buttonText(), padded(36) + "1  ");
    QCOMPARE(tabs()->tabText(1), QString("Error Messages      "));
}

void TestAlertWindow::alertRaisedListedAndGated()
{
    window->alertThresholds.insert("Temperature_GREATERTHAN", "30");
    window->alertActive.insert("Temperature", true);

    window->checkAlert("Temperature", "31.5");
    QCOMPARE(firstLine(ui()->textEdit_ActiveAlerts), "2024-05-01 12:00:00 Temperature 31.5" + degC +
                                                         " is Greater Than Threshold of 30" + degC);
    QCOMPARE(window->alertLastRaised.value("Temperature"),
             QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC));

    clock->advanceMSecs(300900); // 300 whole seconds later
    window->checkAlert("Temperature", "33");
    QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), 1);

    clock->advanceMSecs(100); // 301 whole seconds
    window->checkAlert("Temperature", "33");
    QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), 2);
    QCOMPARE(firstLine(ui()->textEdit_ActiveAlerts), "2024-05-01 12:05:01 Temperature 33" + degC +
                                                         " is Greater Than Threshold of 30" + degC);
    QCOMPARE(window->alertLastRaised.value("Temperature"),
             QDateTime(QDate(2024, 5, 1), QTime(12, 5, 1), Qt::UTC));

    // Nothing crossed: the gate stays where it was.
    clock->advanceSecs(400);
    window->checkAlert("Temperature", "29");
    QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), 2);
    QCOMPARE(window->alertLastRaised.value("Temperature"),
             QDateTime(QDate(2024, 5, 1), QTime(12, 5, 1), Qt::UTC));
}

void TestAlertWindow::gateIsPerParameterAndSharedByDirections()
{
    window->alertThresholds.insert("Wind Speed_LESSTHAN", "5");
    window->alertThresholds.insert("Gust Speed_GREATERTHAN", "20");
    window->checkAlert("Wind Speed", "2");
    window->checkAlert("Gust Speed", "25");
    QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), 2);

    // The greater-than direction added without a save (which would reopen the gate) waits for
    // the less-than raise's five minutes.
    window->alertThresholds.remove("Wind Speed_LESSTHAN");
    window->alertThresholds.insert("Wind Speed_GREATERTHAN", "30");
    clock->advanceSecs(120);
    window->checkAlert("Wind Speed", "35");
    QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), 2);
    clock->advanceSecs(181);
    window->checkAlert("Wind Speed", "35");
    QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), 3);
    QCOMPARE(firstLine(ui()->textEdit_ActiveAlerts),
             QString("2024-05-01 12:05:01 Wind Speed 35kt is Greater Than Threshold of 30kt"));
}

void TestAlertWindow::missingValueLeavesGateOpen()
{
    window->alertThresholds.insert("Visibility_LESSTHAN", "3");
    for (const QString& value : {QString(), QString("-"), QString(" ")})
        window->checkAlert("Visibility", value);
    QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), 0);
    QVERIFY(!window->alertLastRaised.value("Visibility").isValid());
    window->checkAlert("Visibility", "0.25");
    QCOMPARE(firstLine(ui()->textEdit_ActiveAlerts),
             QString("2024-05-01 12:00:00 Visibility 0.25SM is Less Than Threshold of 3SM"));
}

void TestAlertWindow::fahrenheitShown()
{
    window->temperatureUnits = TemperatureUnits::Fahrenheit;
    window->temperatureUnitText = degF;
    window->alertThresholds.insert("Temperature_LESSTHAN", "30");
    window->checkAlert("Temperature", "25");
    QCOMPARE(firstLine(ui()->textEdit_ActiveAlerts), "2024-05-01 12:00:00 Temperature 77.0" + degF +
                                                         " is Less Than Threshold of 86.0" + degF);
    QCOMPARE(window->setAlertUnits("Dew Point"), degF);
    QCOMPARE(window->setAlertUnits("Altimeter"), QString("inHg"));
    window->temperatureUnits = TemperatureUnits::Celsius;
    QCOMPARE(window->setAlertUnits("Dew Point"), degC);
    QCOMPARE(window->setAlertUnits("dew point"), QString());
}

void TestAlertWindow::debugLogLine_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArrayList>("lines");
    const QByteArray line = "DEBUG: Heat Index 35.2\xC2\xB0"
                            "C is in Threshold Range of 30 - 40\xC2\xB0"
                            "C";
    QTest::newRow("debug, raised") << int(LoggingType::Debug) << "35.2" << QByteArrayList{line};
    QTest::newRow("debug, nothing crossed") << int(LoggingType::Debug) << "45" << QByteArrayList{};
    QTest::newRow("data mode") << int(LoggingType::Data) << "35.2" << QByteArrayList{};
    QTest::newRow("default mode") << int(LoggingType::Default) << "35.2" << QByteArrayList{};
}

void TestAlertWindow::debugLogLine()
{
    QFETCH(int, mode);
    QFETCH(QString, value);
    QFETCH(QByteArrayList, lines);
    window->loggingType = LoggingType(mode);
    window->alertThresholds.insert("Heat Index_GREATERTHAN", "30");
    window->alertThresholds.insert("Heat Index_LESSTHAN", "40");
    QSignalSpy spy(window, &MainGUI::logDataMainMsg);
    window->checkAlert("Heat Index", value);
    QByteArrayList logged;
    for (const QList<QVariant>& call : qAsConst(spy))
        logged.append(call.at(0).toByteArray());
    QCOMPARE(logged, lines);
}

void TestAlertWindow::soundFollowsAudioFlag_data()
{
    QTest::addColumn<bool>("audio");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("plays");
    QTest::newRow("audio on, raised") << true << "2" << true;
    QTest::newRow("audio off, raised") << false << "2" << false;
    QTest::newRow("audio on, nothing crossed") << true << "8" << false;
}

void TestAlertWindow::soundFollowsAudioFlag()
{
    QFETCH(bool, audio);
    QFETCH(QString, value);
    QFETCH(bool, plays);
    QMediaPlayer* player = window->alertSound;
    QCOMPARE(player->media().request().url(), QUrl("qrc:/resources/alert_bells.wav"));
    QCOMPARE(player->volume(), 50);
    // A sound of an earlier row plays to its end first.
    QTRY_VERIFY_WITH_TIMEOUT(player->state() == QMediaPlayer::StoppedState, 10000);

    window->alertThresholds.insert("Lightning_LESSTHAN", "5");
    window->alertAudio.insert("Lightning_LESSTHAN", audio);
    QSignalSpy states(player, &QMediaPlayer::stateChanged);
    window->checkAlert("Lightning", value);
    QCOMPARE(lineCount(ui()->textEdit_ActiveAlerts), value == "2" ? 1 : 0);
    if (plays) {
        QCOMPARE(player->state(), QMediaPlayer::PlayingState);
        QCOMPARE(player->error(), QMediaPlayer::NoError);
        // The embedded bell plays once, to its end.
        QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), QMediaPlayer::EndOfMedia, 10000);
        QCOMPARE(player->state(), QMediaPlayer::StoppedState);
        QVERIFY(player->duration() > 500 && player->duration() < 3000);
    } else {
        QCoreApplication::processEvents();
        QCOMPARE(states.count(), 0);
        QCOMPARE(player->state(), QMediaPlayer::StoppedState);
    }
}

void TestAlertWindow::temperatureUnitMembers()
{
    QCOMPARE(window->fahrenheitToCelcius("70.5"), QString("21.4"));
    QCOMPARE(window->fahrenheitToCelcius("32"), QString("0.0"));
    QCOMPARE(window->fahrenheitToCelcius("n/a"), QString("-17.8"));
    window->updateUnitLabels(degF);
    for (QLabel* label : {ui()->label_UnitTempC, ui()->label_UnitDewC, ui()->label_UnitHeatIndexC,
                          ui()->label_UnitWindChillC})
        QCOMPARE(label->text(), degF);
    window->updateUnitLabels(degC);
    QCOMPARE(ui()->label_UnitWindChillC->text(), degC);
}

QTEST_MAIN(TestAlertWindow)
#include "tst_alertwindow.moc"
