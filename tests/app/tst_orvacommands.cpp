// The ORVA General and RFLOS command tabs: the commands queued for the operator's choices, the
// input checks, the status cells and the METAR preparation schedule.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "app/modalrunner.h"
#include "app/orvacommandrules.h"
#include "forms/maingui_ui.h"
#include "tests/app/apptest.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace OrvaCommandRules;

namespace
{
const QString kQueued = QStringLiteral("\U0001F567");
const QString kSuccess = QStringLiteral("\u2705");
const QString kFailed = QStringLiteral("\u274C");
const QString kRefusedField =
    QStringLiteral("QLineEdit {color:#F5F7FA; border: 1px solid #3E4C59; background: "
                   "#FF0000;font-weight: bold; }");
const QString kMissingChannel =
    QStringLiteral("QComboBox { background-color: #FF0000; color: #F5F7FA; }");
} // namespace

class TestOrvaCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainGUI> window;
    Ui_MainGUI* f = nullptr;

    QString cell(int index) const { return window->commandStatusLabels[index]->text(); }
    QList<QByteArray> sent()
    {
        const QList<QByteArray> queue = window->commandQueue;
        window->commandQueue.clear();
        return queue;
    }

private slots:
    void initTestCase()
    {
        window = std::make_unique<MainGUI>();
        window->deviceType = DeviceTypes::ORVA;
        window->updateLayout();
        f = window->ui;
    }

    void init()
    {
        window->commandQueue.clear();
        window->cmdWriteTimer->stop();
        window->devMode = false;
        f->label_ORVACmdStatusMsg->clear();
        f->lineEdit_command_declination->clear();
        f->lineEdit_devcmds->clear();
        window->on_pushButton_orva_commands_rflos_clear_clicked();
        for (int i = 0; i < CommandIndexCount; ++i)
            window->update_orva_command_statuses(i, CmdStatusBlank);
    }

    void elevation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("logText");

        const QString notAccepted = QStringLiteral("ERROR: Elevation input value is not an "
                                                   "accepted number [ %1 ]");
        QTest::newRow("whole") << "150" << QByteArray("elevation 150.00\r\n") << QString();
        QTest::newRow("empty") << "" << QByteArray("elevation 0.00\r\n") << QString();
        QTest::newRow("negative with point")
            << "-3.0" << QByteArray("elevation -3.00\r\n") << QString();
        QTest::newRow("fraction") << "12.5" << QByteArray()
                                  << QStringLiteral(
                                         "ERROR: Elevation input value is not a number [ 12.5 ]");
        QTest::newRow("negative") << "-3" << QByteArray() << notAccepted.arg("-3");
        QTest::newRow("letters") << "abc" << QByteArray() << notAccepted.arg("abc");
    }
    void elevation()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, command);
        QFETCH(QString, logText);
        QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
        f->comboBox_ORVAElevation->setCurrentIndex(2);
        QVERIFY(!f->lineEdit_ORVAElevationInput->isHidden());
        f->lineEdit_ORVAElevationInput->setText(text);
        f->comboBox_ORVABlower->setCurrentIndex(2);

        window->on_pushButton_ORVAsendcommands_clicked();

        // A refused elevation blocks only its own row.
        const QList<QByteArray> expected = command.isEmpty()
                                               ? QList<QByteArray>{"blower ON\r\n"}
                                               : QList<QByteArray>{command, "blower ON\r\n"};
        QCOMPARE(sent(), expected);
        QCOMPARE(cell(CmdElevation), command.isEmpty() ? kFailed : kQueued);
        // Accepted or refused, the typed value does not stay for the next send.
        QVERIFY(f->lineEdit_ORVAElevationInput->text().isEmpty());
        QCOMPARE(firstArgs(logged), logText.isEmpty() ? QStringList() : QStringList{logText});
        if (!command.isEmpty())
            return;
        const QString errorList = f->textEdit_ErrorMsgs->toPlainText();
        QVERIFY2(errorList.contains(QStringLiteral("ERROR: Elevation input value is not an "
                                                   "accepted number [ ") +
                                    text + " ]"),
                 qPrintable(errorList));
    }

    void nothingChosen()
    {
        window->update_orva_command_statuses(CmdDeclination, CmdStatusSuccess);
        for (int i : {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11})
            window->update_orva_command_statuses(i, CmdStatusFailed);

        window->on_pushButton_ORVAsendcommands_clicked();

        QVERIFY(sent().isEmpty());
        for (int i : {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11})
            QCOMPARE(cell(i), QStringLiteral(" "));
        QCOMPARE(cell(CmdDeclination), kSuccess);
        QCOMPARE(f->label_ORVACmdStatusMsg->text(), QStringLiteral("Commands Sent to ORVA"));
    }

    void everyRowInOrder()
    {
        f->comboBox_ORVAtransmitFrequency->setCurrentIndex(2);
        f->comboBox_ORVAGPS->setCurrentIndex(3);
        f->comboBox_ORVAElevation->setCurrentIndex(1);
        f->lineEdit_command_declination->setText("7.5");
        f->comboBox_ORVARFCmd->setCurrentIndex(2);
        f->comboBox_ORVABlower->setCurrentIndex(1);
        f->comboBox_ORVAHeater->setCurrentIndex(2);
        f->comboBox_ORVALEDStatus->setCurrentIndex(1);
        f->comboBox_ORVADataLog->setCurrentIndex(3);
        f->lineEdit_ORVADateTimeInput->setText("2026-12-06 10:00:00");
        f->lineEdit_ORVAICAO->setText("KXYZ");
        f->textEdit_ORVASendMsg->setPlainText(QStringLiteral("line one\nstatus"));
        f->lineEdit_devcmds->setText("  status  ");
        window->devMode = true;
        f->checkBox_ORVAEnableWind->setChecked(true);

        window->on_pushButton_ORVAsendcommands_clicked();

        const QList<QByteArray> expected = {"frequency 10\r\n",  "gps ELEVATION_ONLY\r\n",
                                            "elevation OFF\r\n", "decl 7.500\r\n",
                                            "rf OFF\r\n",        "blower AUTO\r\n",
                                            "heater OFF\r\n",    "led ON\r\n",
                                            "flash_erase\r",     "datetime 2026-12-06 10:00:00\r\n",
                                            "icao KXYZ\r\n",     "send line one status\r\n",
                                            "status\r\n"};
        QCOMPARE(sent(), expected);
        for (int i = 0; i <= CmdSend; ++i)
            QCOMPARE(cell(i), kQueued);

        // The tab is reset, except the declination and the developer line.
        for (QComboBox* combo :
             {f->comboBox_ORVAtransmitFrequency, f->comboBox_ORVAGPS, f->comboBox_ORVAElevation,
              f->comboBox_ORVARFCmd, f->comboBox_ORVABlower, f->comboBox_ORVAHeater,
              f->comboBox_ORVALEDStatus, f->comboBox_ORVADataLog})
            QVERIFY2(combo->currentIndex() == 0, qPrintable(combo->objectName()));
        QVERIFY(f->lineEdit_ORVAICAO->text().isEmpty());
        QVERIFY(f->lineEdit_ORVADateTimeInput->text().isEmpty());
        QVERIFY(f->textEdit_ORVASendMsg->toPlainText().isEmpty());
        QVERIFY(f->lineEdit_ORVAElevationInput->isHidden());
        QVERIFY(!f->checkBox_ORVAEnableWind->isChecked());
        QCOMPARE(f->lineEdit_command_declination->text(), QStringLiteral("7.5"));
        QCOMPARE(f->lineEdit_devcmds->text(), QStringLiteral("  status  "));
    }

    void developerLineNeedsDevMode()
    {
        f->lineEdit_devcmds->setText("  status  ");
        f->lineEdit_command_declination->setText("abc");
        window->on_pushButton_ORVAsendcommands_clicked();
        QCOMPARE(sent(), QList<QByteArray>{"decl 0.000\r\n"});
    }

    void restoreDefaults()
    {
        window->on_pushButton_ORVADefaultSetting_clicked();
        QCOMPARE(sent(), QList<QByteArray>{"default\r\n"});
    }

    void statusCells_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("blank") << 0 << " ";
        QTest::newRow("queued") << 1 << kQueued;
        QTest::newRow("success") << 2 << kSuccess;
        QTest::newRow("failed") << 3 << kFailed;
        QTest::newRow("in progress") << 4 << "WAIT";
        QTest::newRow("unknown") << 9 << kFailed;
    }
    void statusCells()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        window->update_orva_command_statuses(CmdLog, status);
        QCOMPARE(f->label_command_log_status->text(), text);
        window->update_orva_command_statuses(CmdRflosTransmitRate, status);
        QCOMPARE(f->label_command_rflos_message_rate_status->text(), text);
    }

    void statusIndexOutOfRange()
    {
        window->update_orva_command_statuses(-1, CmdStatusFailed);
        window->update_orva_command_statuses(CommandIndexCount, CmdStatusFailed);
        for (int i = 0; i < CommandIndexCount; ++i)
            QCOMPARE(cell(i), QStringLiteral(" "));
    }

    void messagesAppend()
    {
        window->updateORVACmdMsgs("icao=KXYZ");
        window->updateORVACmdMsgs("gps=ON");
        QCOMPARE(f->label_ORVACmdStatusMsg->text(), QStringLiteral("icao=KXYZ\ngps=ON"));
    }

    void messageTruncated()
    {
        f->label_ORVACmdSendMsgError->hide();
        f->textEdit_ORVASendMsg->setPlainText(QString(1500, QLatin1Char('x')));
        QCOMPARE(f->textEdit_ORVASendMsg->toPlainText().size(), kMaxMessageLength);
        QVERIFY(!f->label_ORVACmdSendMsgError->isHidden());
        // A cut never leaves half of a surrogate pair.
        const QString pair = QStringLiteral("\U0001F600");
        const QString text = QString(kMaxMessageLength - 1, QLatin1Char('y')) + pair;
        QCOMPARE(truncatedMessage(text), text.left(kMaxMessageLength - 1));
        f->textEdit_ORVASendMsg->clear();
    }

    void prepSchedule_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QByteArray>("frequency");
        QTest::addColumn<QByteArray>("offset");
        QTest::newRow("50") << 50 << QByteArray("frequency 55\r\n")
                            << QByteArray("metar_offset -5\r\n");
        QTest::newRow("55") << 55 << QByteArray("frequency 60\r\n")
                            << QByteArray("metar_offset 0\r\n");
        QTest::newRow("60") << 60 << QByteArray("frequency 65\r\n")
                            << QByteArray("metar_offset 5\r\n");
    }
    void prepSchedule()
    {
        QFETCH(int, minutes);
        QFETCH(QByteArray, frequency);
        QFETCH(QByteArray, offset);
        QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
        f->spinBox_ORVA_METAR_prep_schedule->setValue(minutes);
        window->on_pushButton_ORVA_METAR_prep_schedule_clicked();
        QCOMPARE(sent(), (QList<QByteArray>{frequency, offset}));
        QCOMPARE(firstArgs(logged),
                 QStringList{QStringLiteral("INFO: ORVA METAR prep schedule changed to: %1 "
                                            "minutes after the hour.")
                                 .arg(minutes)});
    }

    void prepAnswers()
    {
        window->on_prepSchedReceived("frequency", 60);
        window->on_prepSchedReceived("metar_offset", 0);
        QCOMPARE(f->spinBox_ORVA_METAR_prep_schedule->value(), 55);
        window->on_prepSchedReceived("other", 3);
        window->on_prepSchedReceived("frequency", 55);
        window->on_prepSchedReceived("metar_offset", -5);
        QCOMPARE(f->spinBox_ORVA_METAR_prep_schedule->value(), 50);
        QCOMPARE(window->prepFrequency, 55);
        QCOMPARE(window->prepMetarOffset, -5);
    }

    void settingsPageQueries_data()
    {
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<QList<QByteArray>>("queries");
        QTest::newRow("ORVA") << false << QList<QByteArray>{"frequency\r\n", "metar_offset\r\n"};
        // A legacy unit would reject both.
        QTest::newRow("legacy ORVA") << true << QList<QByteArray>{};
    }
    void settingsPageQueries()
    {
        QFETCH(bool, legacy);
        QFETCH(QList<QByteArray>, queries);
        window->legacyOrva = legacy;
        window->on_pushButtonSettings_clicked();
        window->legacyOrva = false;
        QCOMPARE(f->stackedWidget_mainPages->currentWidget(), f->pageSettings);
        QVERIFY(f->pushButtonSettings->isChecked());
        QCOMPARE(sent(), queries);
    }

    void rflosFrequencyBands_data()
    {
        QTest::addColumn<QString>("mhz");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("VHF low") << "138" << true;
        QTest::newRow("VHF high") << "178" << true;
        QTest::newRow("below VHF") << "137.999" << false;
        QTest::newRow("above VHF") << "178.001" << false;
        QTest::newRow("between") << "300" << false;
        QTest::newRow("UHF low") << "410" << true;
        QTest::newRow("UHF high") << "470" << true;
        QTest::newRow("above UHF") << "470.001" << false;
        QTest::newRow("not a number") << "abc" << false;
    }
    void rflosFrequencyBands()
    {
        QFETCH(QString, mhz);
        QFETCH(bool, accepted);
        QCOMPARE(rflosFrequencyAccepted(rflosHz(mhz)), accepted);
    }

    void rflosTransmitOnly()
    {
        f->lineEdit_ORVALOSRFInput->setText("150");
        f->comboBox_ORVARFLOSProgramChannel->setCurrentIndex(4);
        window->on_pushButton_RFLOS_send_commands_clicked();
        QCOMPARE(sent(), QList<QByteArray>{"txf 3 150000000\r\n"});
        QCOMPARE(cell(CmdRflosTransmitFrequency), kQueued);
        for (int i : {CmdRflosReceiveFrequency, CmdRflosSelectedChannel, CmdRflosTransmitRate,
                      CmdRflosProgrammedChannel})
            QCOMPARE(cell(i), QStringLiteral(" "));
    }

    void rflosEveryRow()
    {
        f->lineEdit_ORVALOSRFInput->setText("150");
        f->lineEdit_ORVARFLOSReceiveFreq->setText("455.5");
        f->comboBox_ORVARFLOSProgramChannel->setCurrentIndex(1);
        f->comboBox_ORVARFLOSSelectedChannel->setCurrentIndex(12);
        f->comboBox_ORVARFMessageRate->setCurrentIndex(3);
        window->on_pushButton_RFLOS_send_commands_clicked();
        QCOMPARE(sent(), (QList<QByteArray>{"txf 0 150000000\r\n", "rxf 0 455500000\r\n",
                                            "channel 11\r\n", "radio_freq 5\r\n"}));
        for (int i : {CmdRflosTransmitFrequency, CmdRflosReceiveFrequency, CmdRflosSelectedChannel,
                      CmdRflosTransmitRate})
            QCOMPARE(cell(i), kQueued);
        // Sending leaves the choices as they are.
        QCOMPARE(f->comboBox_ORVARFLOSSelectedChannel->currentIndex(), 12);
    }

    void rflosRefusals()
    {
        f->lineEdit_ORVALOSRFInput->setText("150");
        f->lineEdit_ORVARFLOSReceiveFreq->setText("300");
        f->comboBox_ORVARFMessageRate->setCurrentIndex(1);
        window->on_pushButton_RFLOS_send_commands_clicked();

        // Neither frequency goes out, but the rate does.
        QCOMPARE(sent(), QList<QByteArray>{"radio_freq 60\r\n"});
        QCOMPARE(cell(CmdRflosTransmitFrequency), kFailed);
        QCOMPARE(cell(CmdRflosReceiveFrequency), kFailed);
        QCOMPARE(f->comboBox_ORVARFLOSProgramChannel->styleSheet(), kMissingChannel);
        QCOMPARE(f->lineEdit_ORVARFLOSReceiveFreq->styleSheet(), kRefusedField);

        window->on_pushButton_orva_commands_rflos_clear_clicked();
        QVERIFY(f->lineEdit_ORVALOSRFInput->text().isEmpty());
        QCOMPARE(f->lineEdit_ORVARFLOSReceiveFreq->styleSheet(),
                 QStringLiteral("background: #1F2933"));
        QCOMPARE(f->comboBox_ORVARFLOSProgramChannel->styleSheet(), kMissingChannel);
        QCOMPARE(cell(CmdRflosReceiveFrequency), QStringLiteral(" "));
        QCOMPARE(f->comboBox_ORVARFMessageRate->currentIndex(), 0);
        QCOMPARE(f->comboBox_ORVARFMessageRate->count(), 4);
        QCOMPARE(f->comboBox_ORVARFLOSSelectedChannel->count(), 13);
    }

    void confirmationResetsBrqPanel()
    {
        window->deviceType = DeviceTypes::BRQ;
        f->comboBoxCmdCeil->setCurrentIndex(f->comboBoxCmdCeil->count() - 1);
        f->pushButtonSendCmds->setText("Sending");
        window->commandConfirmation();
        window->deviceType = DeviceTypes::ORVA;
        QCOMPARE(f->comboBoxCmdCeil->currentIndex(), f->comboBoxCmdCeil->count() > 0 ? 0 : -1);
        QCOMPARE(f->pushButtonSendCmds->text(), QStringLiteral("Send Commands"));
        QCOMPARE(f->cmdstatus_label->text(), QStringLiteral("Command(s) Sent"));

        // The port closed before they reached the unit whole.
        window->commandsNotSent();
        QCOMPARE(f->pushButtonSendCmds->text(), QStringLiteral("Send Commands"));
        QCOMPARE(f->cmdstatus_label->text(), QStringLiteral("Command(s) Not Sent"));
    }

    void popupShowsTitleAndText()
    {
        QStringList shown;
        setModalRunner([&shown](QDialog& dialog) {
            auto& box = static_cast<QMessageBox&>(dialog);
            shown << box.windowTitle() << box.text();
            return int(QMessageBox::Ok);
        });
        window->confirmCommandPopup("Commands", "Sent to the unit");
        setModalRunner({});
        QCOMPARE(shown, (QStringList{"Commands", "Sent to the unit"}));
    }

    void elevationInputFollowsChoice()
    {
        f->comboBox_ORVAElevation->setCurrentIndex(2);
        QVERIFY(!f->lineEdit_ORVAElevationInput->isHidden());
        QCOMPARE(f->lineEdit_ORVAElevationInput->styleSheet(),
                 QStringLiteral("background-color:#FFEFBD; color:black;"));
        f->comboBox_ORVAElevation->setCurrentIndex(1);
        QVERIFY(f->lineEdit_ORVAElevationInput->isHidden());
        QVERIFY(f->lineEdit_ORVAElevationInput->styleSheet().isEmpty());
        f->comboBox_ORVAElevation->setCurrentIndex(0);
    }

    void confirmationResetsOrvaPanel()
    {
        f->comboBoxCmdFreq->setCurrentIndex(f->comboBoxCmdFreq->count() - 1);
        f->lineEditCmdIcaoId->setText("KXYZ");
        f->pushButtonCmdORVA->setCheckable(true);
        f->pushButtonCmdORVA->setChecked(true);
        window->commandConfirmation();
        QCOMPARE(f->comboBoxCmdFreq->currentIndex(), f->comboBoxCmdFreq->count() > 0 ? 0 : -1);
        QVERIFY(f->lineEditCmdIcaoId->text().isEmpty());
        QVERIFY(!f->pushButtonCmdORVA->isChecked());
        QCOMPARE(f->pushButtonCmdORVA->text(), QStringLiteral("Send Commands"));
        QCOMPARE(f->cmdStatusORVA_label->text(), QStringLiteral("Command(s) Sent"));
    }
};

QTEST_MAIN(TestOrvaCommands)
#include "tst_orvacommands.moc"
