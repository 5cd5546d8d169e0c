// The lightning module's calibration tab: the commands its buttons queue, the colours that show
// the exchange, the calibration count and the thresholds coming back from the unit.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "forms/maingui_ui.h"
#include "link/data_incoming.h"
#include "tests/app/apptest.h"

#include <QTest>

#include <memory>

namespace
{
const QString kNeutral = QStringLiteral("background: #1F2933");
const QString kBlue = QStringLiteral("background: blue");
const QString kGreen = QStringLiteral("background: green");
const QString kRed = QStringLiteral("background: red");
const QString kFlag = QStringLiteral("background: #FF0000");
} // namespace

class TestLightningCalibration : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainGUI> window;
    Ui_MainGUI* f = nullptr;

    QList<QPushButton*> buttons() const
    {
        return {f->pushButton_orva_lightning_refresh, f->pushButton_orva_lightning_set_bx,
                f->pushButton_orva_lightning_set_by,  f->pushButton_orva_lightning_set_bz,
                f->pushButton_orva_lightning_clear,   f->pushButton_orva_lightning_autocal};
    }
    QList<QLineEdit*> fields() const
    {
        return {f->lineEdit_orva_lightning_bx_step_threshold,
                f->lineEdit_orva_lightning_by_step_threshold,
                f->lineEdit_orva_lightning_bz_step_threshold};
    }
    QPushButton* button(const QString& name) const
    {
        return child<QPushButton>(window.get(), qPrintable(name));
    }
    QList<QByteArray> sent()
    {
        const QList<QByteArray> queue = window->commandQueue;
        window->commandQueue.clear();
        return queue;
    }
    // The style of every button, then every field.
    QStringList styles() const
    {
        QStringList all;
        for (QPushButton* b : buttons())
            all << b->styleSheet();
        for (QLineEdit* e : fields())
            all << e->styleSheet();
        return all;
    }
    bool hintShown() const
    {
        return f->label_orva_commands_lightning_autocal_hint->isVisibleTo(
            f->label_orva_commands_lightning_autocal_hint->parentWidget());
    }
    bool barShown() const
    {
        return f->progressBar_orva_lightning_autocal->isVisibleTo(
            f->progressBar_orva_lightning_autocal->parentWidget());
    }
    void confirmCalibration()
    {
        f->pushButton_orva_lightning_autocal->click();
        sent();
        emit window->dataIncoming->lightning_autocal_confirmed();
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
        window->lightningCmdTimer.stop();
        window->lightningProgressTimer.stop();
        window->resetLightningButtonStyles();
        f->progressBar_orva_lightning_autocal->hide();
        for (QLineEdit* e : fields())
            e->clear();
        window->cmdWriteTimer->stop();
        window->commandQueue.clear();
    }

    void startsNeutralAndHidden()
    {
        MainGUI fresh;
        Ui_MainGUI* g = fresh.ui;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 g->pushButton_orva_lightning_refresh, g->pushButton_orva_lightning_set_bx,
                 g->pushButton_orva_lightning_set_by, g->pushButton_orva_lightning_set_bz,
                 g->pushButton_orva_lightning_clear, g->pushButton_orva_lightning_autocal,
                 g->lineEdit_orva_lightning_bx_step_threshold,
                 g->lineEdit_orva_lightning_by_step_threshold,
                 g->lineEdit_orva_lightning_bz_step_threshold})
            QCOMPARE(w->styleSheet(), kNeutral);
        QVERIFY(g->label_orva_commands_lightning_autocal_hint->isHidden());
        QVERIFY(g->progressBar_orva_lightning_autocal->isHidden());
        QVERIFY(!fresh.lightningCmdTimer.isActive());
        QVERIFY(!fresh.lightningProgressTimer.isActive());
    }

    void buttonQueuesCommand_data()
    {
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<QString>("fieldText");
        QTest::addColumn<QByteArray>("command");

        QTest::newRow("refresh") << "pushButton_orva_lightning_refresh" << QString()
                                 << QByteArray("dsm G param_read\r");
        QTest::newRow("clear") << "pushButton_orva_lightning_clear" << QString()
                               << QByteArray("dsm G param_clear\r");
        QTest::newRow("autocal") << "pushButton_orva_lightning_autocal" << QString()
                                 << QByteArray("dsm G auto_cal\r");
        QTest::newRow("set bx") << "pushButton_orva_lightning_set_bx"
                                << "420" << QByteArray("dsm G param_set0,420\r");
        QTest::newRow("set by, untrimmed") << "pushButton_orva_lightning_set_by"
                                           << " 12 " << QByteArray("dsm G param_set1, 12 \r");
        QTest::newRow("set bz, not a number") << "pushButton_orva_lightning_set_bz"
                                              << "abc" << QByteArray("dsm G param_set2,abc\r");
        QTest::newRow("set bx, empty")
            << "pushButton_orva_lightning_set_bx" << QString() << QByteArray("dsm G param_set0,\r");
        QTest::newRow("set bz, UTF-8") << "pushButton_orva_lightning_set_bz"
                                       << "8\u00B05"
                                       << QByteArray("dsm G param_set2,8\xC2\xB0"
                                                     "5\r");
        QTest::newRow("set by, pasted line break")
            << "pushButton_orva_lightning_set_by"
            << "5\r\nreset" << QByteArray("dsm G param_set1,5  reset\r");
    }
    void buttonQueuesCommand()
    {
        QFETCH(QString, buttonName);
        QFETCH(QString, fieldText);
        QFETCH(QByteArray, command);
        for (QLineEdit* e : fields())
            e->setText(fieldText);
        // Left over from an earlier exchange; the press clears it.
        f->pushButton_orva_lightning_refresh->setStyleSheet(kGreen);
        f->label_orva_commands_lightning_autocal_hint->show();

        button(buttonName)->click();

        QCOMPARE(sent(), QList<QByteArray>{command});
        for (QPushButton* b : buttons())
            QCOMPARE(b->styleSheet(), b->objectName() == buttonName ? kBlue : kNeutral);
        for (QLineEdit* e : fields())
            QCOMPARE(e->styleSheet(), kNeutral);
        QVERIFY(!hintShown());
        QVERIFY(window->lightningCmdTimer.isActive());
        QCOMPARE(window->lightningCmdTimer.interval(), 30000);
    }

    void thresholdsArrive_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("fieldStyles");

        QTest::newRow("two flagged after a read")
            << "pushButton_orva_lightning_refresh" << QList<int>{850, 12, 850}
            << QStringList{"850", "12", "850"} << QStringList{kFlag, kNeutral, kFlag};
        QTest::newRow("after a set")
            << "pushButton_orva_lightning_set_by" << QList<int>{1, 2, 3}
            << QStringList{"1", "2", "3"} << QStringList{kNeutral, kNeutral, kNeutral};
        QTest::newRow("after a clear, negative and zero")
            << "pushButton_orva_lightning_clear" << QList<int>{0, -5, 851}
            << QStringList{"0", "-5", "851"} << QStringList{kNeutral, kNeutral, kNeutral};
    }
    void thresholdsArrive()
    {
        QFETCH(QString, pressed);
        QFETCH(QList<int>, values);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, fieldStyles);
        button(pressed)->click();
        sent();

        emit window->dataIncoming->lightning_parameters_received(values[0], values[1], values[2]);

        QStringList shown;
        for (QLineEdit* e : fields())
            shown << e->text();
        QCOMPARE(shown, texts);
        QCOMPARE(styles(), QStringList({kGreen, kNeutral, kNeutral, kNeutral, kNeutral, kNeutral}) +
                               fieldStyles);
        QVERIFY(!window->lightningCmdTimer.isActive());
        QVERIFY(sent().isEmpty());
    }

    void calibrationRunsAndReadsBack()
    {
        confirmCalibration();

        QVERIFY(!window->lightningCmdTimer.isActive());
        QVERIFY(window->lightningProgressTimer.isActive());
        QCOMPARE(window->lightningProgressTimer.interval(), 1000);
        QVERIFY(barShown());
        QVERIFY(hintShown());
        QCOMPARE(f->progressBar_orva_lightning_autocal->value(), 0);
        QCOMPARE(f->pushButton_orva_lightning_autocal->styleSheet(), kBlue);

        for (int tick = 1; tick <= 240; ++tick)
            window->on_lightning_progress();
        QCOMPARE(f->progressBar_orva_lightning_autocal->value(), 240);
        QVERIFY(window->lightningProgressTimer.isActive());
        QVERIFY(sent().isEmpty());

        // The 241st tick ends the count and reads the new thresholds.
        window->on_lightning_progress();
        QVERIFY(!window->lightningProgressTimer.isActive());
        QCOMPARE(sent(), QList<QByteArray>{"dsm G param_read\r"});
        QCOMPARE(styles(), QStringList({kBlue, kNeutral, kNeutral, kNeutral, kNeutral, kNeutral,
                                        kNeutral, kNeutral, kNeutral}));
        QVERIFY(!hintShown());
        QVERIFY(barShown());
        QCOMPARE(f->progressBar_orva_lightning_autocal->value(), 240);
        QVERIFY(window->lightningCmdTimer.isActive());
        QCOMPARE(window->lightningCmdTimer.interval(), 30000);
    }

    void secondConfirmationRestartsCount()
    {
        confirmCalibration();
        for (int tick = 0; tick < 50; ++tick)
            window->on_lightning_progress();
        QCOMPARE(f->progressBar_orva_lightning_autocal->value(), 50);

        emit window->dataIncoming->lightning_autocal_confirmed();
        QCOMPARE(f->progressBar_orva_lightning_autocal->value(), 0);
        window->on_lightning_progress();
        QCOMPARE(window->autocalSeconds, 1);
    }

    void thresholdsDuringCalibrationLeaveCount()
    {
        confirmCalibration();
        for (int tick = 0; tick < 30; ++tick)
            window->on_lightning_progress();

        emit window->dataIncoming->lightning_parameters_received(7, 8, 9);

        QCOMPARE(f->lineEdit_orva_lightning_bz_step_threshold->text(), QStringLiteral("9"));
        QCOMPARE(f->pushButton_orva_lightning_refresh->styleSheet(), kGreen);
        QVERIFY(window->lightningProgressTimer.isActive());
        QCOMPARE(window->autocalSeconds, 30);
        QCOMPARE(f->progressBar_orva_lightning_autocal->value(), 30);
    }

    void noAnswerFails()
    {
        f->lineEdit_orva_lightning_bx_step_threshold->setText(QStringLiteral("850"));
        f->lineEdit_orva_lightning_bx_step_threshold->setStyleSheet(kFlag);
        f->pushButton_orva_lightning_autocal->click();
        sent();
        f->progressBar_orva_lightning_autocal->show();

        window->on_lightning_command_error();

        QCOMPARE(styles(),
                 QStringList({kRed, kRed, kRed, kRed, kRed, kRed, kNeutral, kNeutral, kNeutral}));
        QVERIFY(!barShown());
        QVERIFY(!window->lightningCmdTimer.isActive());
        QVERIFY(!window->lightningProgressTimer.isActive());
        QCOMPARE(f->lineEdit_orva_lightning_bx_step_threshold->text(), QStringLiteral("850"));

        // The next press starts over.
        f->pushButton_orva_lightning_clear->click();
        QCOMPARE(f->pushButton_orva_lightning_clear->styleSheet(), kBlue);
        QCOMPARE(f->pushButton_orva_lightning_refresh->styleSheet(), kNeutral);
    }

    void failedExchangeStopsCalibration()
    {
        confirmCalibration();
        f->pushButton_orva_lightning_refresh->click();
        QVERIFY(window->lightningProgressTimer.isActive());
        QVERIFY(window->lightningCmdTimer.isActive());

        window->on_lightning_command_error();

        QVERIFY(!window->lightningProgressTimer.isActive());
        QVERIFY(!barShown());
    }

    void cmdTimerTimesOutIntoFailure()
    {
        f->pushButton_orva_lightning_refresh->click();
        // Shortened, so the real timeout connection is exercised without a 30 s wait.
        window->lightningCmdTimer.start(10);
        QTRY_COMPARE_WITH_TIMEOUT(f->pushButton_orva_lightning_autocal->styleSheet(), kRed, 10000);
        QVERIFY(!window->lightningCmdTimer.isActive());
    }
};

QTEST_MAIN(TestLightningCalibration)
#include "tst_lightningcalibration.moc"
