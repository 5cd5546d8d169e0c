// The BRQ panel's command string as the unit receives it, the legacy ORVA panel's paced commands
// and the raw command line, driven through the widgets of a laid-out window.

#include "tests/support/testsupport.h"

#include "app/dialogimageschedule.h"
#include "app/legacycommands.h"
#include "app/maingui.h"
#include "forms/maingui_ui.h"
#include "tests/app/apptest.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace
{

dialogImageSchedule::Runner ticking(QList<int> hours, QDialogButtonBox::StandardButton button)
{
    return [hours, button](dialogImageSchedule& schedule) {
        for (int hour : hours) {
            const QString name = QStringLiteral("checkBox%1").arg(hour, 2, 10, QLatin1Char('0'));
            schedule.findChild<QCheckBox*>(name)->setChecked(true);
        }
        schedule.findChild<QDialogButtonBox*>()->button(button)->click();
        return schedule.result();
    };
}

bool shownInPage(const QWidget* widget)
{
    return widget->isVisibleTo(widget->parentWidget());
}

} // namespace

class TestCommandPanels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        window = std::make_unique<MainGUI>();
        window->deviceType = DeviceTypes::BRQ;
        window->updateLayout();
        f = window->ui;
    }
    void init()
    {
        window->cmdWriteTimer->stop();
        window->commandQueue.clear();
        window->deviceType = DeviceTypes::BRQ;
        window->loggingType = LoggingType::Default;
        for (QComboBox* combo : {f->comboBoxCmdMode, f->comboBoxCmdCeil, f->comboBoxCmdSpeci,
                                 f->comboBoxCmdGps, f->comboBoxCmdCamera, f->cameraNumbercomboBox,
                                 f->comboBoxCmdFreq, f->comboBoxORVAGPS})
            combo->setCurrentIndex(0);
        f->spinBox_elevationValue->setValue(0);
        f->lineEditCmdIcaoId->clear();
        f->lineEditCmdDate->clear();
        f->lineEdit_rawSendMsg->clear();
        f->textEditRawData->clear();
        f->pushButtonSendCmds->setText(QStringLiteral("Send Commands"));
        sent = std::make_unique<QSignalSpy>(window.get(), &MainGUI::writeSerial);
    }
    void cleanup() { dialogImageSchedule::setRunner({}); }
    void cleanupTestCase()
    {
        sent.reset();
        window.reset();
    }

    void brqSendBuildsOneString_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("ceilometer");
        QTest::addColumn<int>("speci");
        QTest::addColumn<int>("gps");
        QTest::addColumn<int>("elevation");
        QTest::addColumn<int>("camera");
        QTest::addColumn<QString>("cameraNumber");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("worked example")
            << 5 << 2 << 0 << 5 << 12 << 2 << "1" << QByteArray("m4\rC1\rGE+0012\rI5\r\r");
        QTest::newRow("nothing chosen is still sent")
            << 0 << 0 << 0 << 0 << 0 << 0 << "1" << QByteArray("\r");
        QTest::newRow("negative elevation")
            << 0 << 0 << 0 << 5 << -12 << 0 << "1" << QByteArray("GE-0012\r\r");
        QTest::newRow("zero elevation")
            << 0 << 0 << 0 << 5 << 0 << 0 << "1" << QByteArray("GE+0000\r\r");
        QTest::newRow("highest elevation")
            << 0 << 0 << 0 << 5 << 9999 << 0 << "1" << QByteArray("GE+9999\r\r");
        QTest::newRow("lowest elevation")
            << 0 << 0 << 0 << 5 << -9999 << 0 << "1" << QByteArray("GE-9999\r\r");
        QTest::newRow("elevation ignored for other GPS items")
            << 0 << 0 << 0 << 4 << 12 << 0 << "1" << QByteArray("Gi\r\r");
        QTest::newRow("single camera") << 0 << 0 << 0 << 0 << 0 << 3 << "3" << QByteArray("I3\r\r");
        QTest::newRow("every last item")
            << 7 << 3 << 2 << 3 << 0 << 5 << "1" << QByteArray("m6\rC2\rS1\rGI\ri-\r\r");
    }
    void brqSendBuildsOneString()
    {
        QFETCH(int, mode);
        QFETCH(int, ceilometer);
        QFETCH(int, speci);
        QFETCH(int, gps);
        QFETCH(int, elevation);
        QFETCH(int, camera);
        QFETCH(QString, cameraNumber);
        QFETCH(QByteArray, expected);

        f->comboBoxCmdMode->setCurrentIndex(mode);
        f->comboBoxCmdCeil->setCurrentIndex(ceilometer);
        f->comboBoxCmdSpeci->setCurrentIndex(speci);
        f->comboBoxCmdGps->setCurrentIndex(gps);
        f->spinBox_elevationValue->setValue(elevation);
        f->cameraNumbercomboBox->setCurrentText(cameraNumber);
        f->comboBoxCmdCamera->setCurrentIndex(camera);
        QTest::mouseClick(f->pushButtonSendCmds, Qt::LeftButton);

        QCOMPARE(sentBytes(), QList<QByteArray>{expected});
        QCOMPARE(f->cmdstatus_label->text(), QStringLiteral("Waiting for Commands to Send..."));
        QCOMPARE(f->pushButtonSendCmds->text(), QStringLiteral("Sending Commands..."));
    }

    void brqSendWithAutoImageSchedule()
    {
        dialogImageSchedule::setRunner(ticking({5, 17}, QDialogButtonBox::Ok));
        f->comboBoxCmdCamera->setCurrentIndex(4);
        QCOMPARE(f->comboBoxCmdCamera->currentIndex(), 4);
        QCOMPARE(window->autoImageCommand, QStringLiteral("i05\ri17\r"));
        QTest::mouseClick(f->pushButtonSendCmds, Qt::LeftButton);
        QCOMPARE(sentBytes(), QList<QByteArray>{"i05\ri17\r\r\r"});
    }

    void brqDebugLoggingNamesTheString()
    {
        window->loggingType = LoggingType::Debug;
        QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
        f->comboBoxCmdSpeci->setCurrentIndex(1);
        QTest::mouseClick(f->pushButtonSendCmds, Qt::LeftButton);
        QCOMPARE(firstArgs(logged),
                 QStringList{QStringLiteral("DEBUG: Built Command String [ S0\r\r ]")});
    }

    void autoImageScheduleWithoutHoursFallsBack_data()
    {
        QTest::addColumn<QList<int>>("hours");
        QTest::addColumn<int>("button");

        QTest::newRow("cancelled") << QList<int>{8} << int(QDialogButtonBox::Cancel);
        QTest::newRow("accepted with no hour") << QList<int>{} << int(QDialogButtonBox::Ok);
    }
    void autoImageScheduleWithoutHoursFallsBack()
    {
        QFETCH(QList<int>, hours);
        QFETCH(int, button);

        // An earlier accepted schedule must not survive a later cancelled one.
        dialogImageSchedule::setRunner(ticking({3}, QDialogButtonBox::Ok));
        f->comboBoxCmdCamera->setCurrentIndex(4);
        f->comboBoxCmdCamera->setCurrentIndex(0);
        dialogImageSchedule::setRunner(
            ticking(hours, static_cast<QDialogButtonBox::StandardButton>(button)));
        f->comboBoxCmdCamera->setCurrentIndex(4);

        QCOMPARE(f->comboBoxCmdCamera->currentIndex(), 0);
        QVERIFY(window->autoImageCommand.isEmpty());
        QTest::mouseClick(f->pushButtonSendCmds, Qt::LeftButton);
        QCOMPARE(sentBytes(), QList<QByteArray>{"\r"});
    }

    void brqChoicesShowTheirExtraFields_data()
    {
        QTest::addColumn<QString>("comboName");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");

        const QStringList camera = {"label_camNumber", "cameraNumbercomboBox"};
        const QStringList elevation = {"label_setElevation", "spinBox_elevationValue"};
        const QStringList warning = {"label_ReportingModeWarning"};
        QTest::newRow("single camera") << "comboBoxCmdCamera" << 3 << camera << QStringList();
        QTest::newRow("all cameras") << "comboBoxCmdCamera" << 2 << QStringList() << camera;
        QTest::newRow("set elevation") << "comboBoxCmdGps" << 5 << elevation << QStringList();
        QTest::newRow("other GPS item") << "comboBoxCmdGps" << 4 << QStringList() << elevation;
        QTest::newRow("1 Minute warns") << "comboBoxCmdMode" << 5 << warning << QStringList();
        QTest::newRow("10 Second warns") << "comboBoxCmdMode" << 7 << warning << QStringList();
        QTest::newRow("5 Minute does not") << "comboBoxCmdMode" << 4 << QStringList() << warning;
    }
    void brqChoicesShowTheirExtraFields()
    {
        QFETCH(QString, comboName);
        QFETCH(int, index);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);

        QComboBox* combo = window->findChild<QComboBox*>(comboName);
        // Start from the opposite state so that each row proves a change.
        for (const QString& name : shown)
            window->findChild<QWidget*>(name)->hide();
        for (const QString& name : hidden)
            window->findChild<QWidget*>(name)->show();
        combo->setCurrentIndex(index);
        for (const QString& name : shown)
            QVERIFY2(shownInPage(window->findChild<QWidget*>(name)), qPrintable(name));
        for (const QString& name : hidden)
            QVERIFY2(!shownInPage(window->findChild<QWidget*>(name)), qPrintable(name));
    }

    void brqSendNeedsABrqUnit()
    {
        window->deviceType = DeviceTypes::ORVA;
        f->comboBoxCmdMode->setCurrentIndex(1);
        QTest::mouseClick(f->pushButtonSendCmds, Qt::LeftButton);
        QVERIFY(window->commandQueue.isEmpty());
        QCOMPARE(sent->count(), 0);
        QCOMPARE(f->pushButtonSendCmds->text(), QStringLiteral("Send Commands"));
    }

    void legacyCommandList_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("gps");
        QTest::addColumn<QString>("stationId");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QList<QByteArray>>("expected");

        QTest::newRow("rate, elevation, identifier")
            << 2 << 5 << "ABCD"
            << "" << QList<QByteArray>{"rate 10\n", "gps_set_elev", "set_id ABCD\n"};
        QTest::newRow("nothing") << 0 << 0 << ""
                                 << "" << QList<QByteArray>{};
        QTest::newRow("all four") << 3 << 4 << "KVDS"
                                  << "2026-12-06"
                                  << QList<QByteArray>{"rate 60\n", "gps_read_loc\n",
                                                       "set_id KVDS\n", "set_date 2026-12-06\n"};
        QTest::newRow("texts untrimmed, UTF-8")
            << 0 << 0 << " Zürich"
            << "1 2 " << QList<QByteArray>{"set_id  Z\xc3\xbcrich\n", "set_date 1 2 \n"};
        QTest::newRow("indexes out of range") << 4 << 6 << ""
                                              << "" << QList<QByteArray>{};
        QTest::newRow("negative indexes") << -1 << -1 << ""
                                          << "" << QList<QByteArray>{};
    }
    void legacyCommandList()
    {
        QFETCH(int, rate);
        QFETCH(int, gps);
        QFETCH(QString, stationId);
        QFETCH(QString, date);
        QFETCH(QList<QByteArray>, expected);

        QCOMPARE(::legacyCommandList(rate, gps, stationId, date), expected);
    }

    void legacySendQueuesOnePerSecond()
    {
        window->deviceType = DeviceTypes::ORVA;
        window->legacyOrva = true;
        window->encryptWriteCommands = false;
        f->comboBoxCmdFreq->setCurrentIndex(2);
        f->comboBoxORVAGPS->setCurrentIndex(5);
        f->lineEditCmdIcaoId->setText(QStringLiteral("ABCD"));
        QTest::mouseClick(f->pushButtonCmdORVA, Qt::LeftButton);

        QCOMPARE(sent->count(), 0);
        QCOMPARE(window->cmdWriteTimer->interval(), 1000);
        QCOMPARE(window->commandQueue,
                 (QList<QByteArray>{"rate 10\n", "gps_set_elev", "set_id ABCD\n"}));
    }

    void resetButtonsQueueOneReset_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("settings") << "pushButtonCmdResetSettings";
        QTest::newRow("unit") << "pushButtonCmdResetUnit";
    }
    void resetButtonsQueueOneReset()
    {
        QFETCH(QString, button);
        window->deviceType = DeviceTypes::ORVA;
        QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(window->commandQueue, QList<QByteArray>{"reset\n"});
    }

    void rawLineSentOnReturn()
    {
        window->deviceType = DeviceTypes::BRQ;
        f->textEditRawData->setPlainText(QStringLiteral("earlier"));
        // Return reaches the line through the application's event filter, which wants focus.
        window->show();
        window->activateWindow();
        window->on_pushButtonRawData_clicked();
        f->lineEdit_rawSendMsg->setFocus();
        QTRY_VERIFY(f->lineEdit_rawSendMsg->hasFocus());
        QTest::keyClicks(f->lineEdit_rawSendMsg, QStringLiteral("stack"));
        QTest::keyClick(f->lineEdit_rawSendMsg, Qt::Key_Return);

        QCOMPARE(sentBytes(), QList<QByteArray>{"stack\r"});
        QVERIFY(f->lineEdit_rawSendMsg->text().isEmpty());
        QVERIFY(f->textEditRawData->toHtml().contains(QStringLiteral("color:#00ff00;\">stack<")));
        QVERIFY(f->textEditRawData->textCursor().atEnd());

        QTest::keyClick(f->lineEdit_rawSendMsg, Qt::Key_Return);
        QCOMPARE(sent->count(), 1);
    }

    void rawLineQueuedForOrva()
    {
        window->deviceType = DeviceTypes::ORVA;
        f->lineEdit_rawSendMsg->setText(QStringLiteral("frequency"));
        QTest::mouseClick(f->pushButton_rawSendMsg, Qt::LeftButton);
        QCOMPARE(window->commandQueue, QList<QByteArray>{"frequency\r"});
        QCOMPARE(sent->count(), 0);
    }

private:
    QList<QByteArray> sentBytes() const
    {
        QList<QByteArray> bytes;
        for (const QList<QVariant>& call : *sent)
            bytes << call.at(0).toByteArray();
        return bytes;
    }

    std::unique_ptr<MainGUI> window;
    Ui_MainGUI* f = nullptr;
    std::unique_ptr<QSignalSpy> sent;
};

QTEST_MAIN(TestCommandPanels)
#include "tst_commandpanels.moc"
