#include "forms/formresources.h"
#include "forms/metarform_ui.h"
#include "reports/metarform.h"
#include "tests/support/scopedclock.h"
#include "tests/support/testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>

namespace
{

const QString M1 = QStringLiteral("METAR KXYZ 041755Z 27010KT 10SM CLR 21/08 A3002 RMK AO2");
const QString M2 = QStringLiteral("METAR KXYZ 041855Z 28012KT 10SM FEW050 22/08 A3001 RMK AO2");
const QString S1 =
    QStringLiteral("SPECI KXYZ 041812Z 27015G25KT 3SM -RA BKN008 19/12 A2998 RMK AO2");
const QString kLive = QStringLiteral("Latest (Auto-Refresh)");
const QDateTime kNow(QDate(2024, 3, 5), QTime(17, 55, 0));

QJsonObject reportRecord(const QString& text, bool speci = false)
{
    return QJsonObject{{"METAR", text}, {"Obs METAR", !speci}, {"Obs SPECI", speci}};
}

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

// The five main-window widgets the form borrows, as the main window sets them up, and the form.
struct Fixture {
    Fixture()
    {
        combo.addItem(kLive);
        delay.setMinimumTime(QTime(0, 0, 0));
        delay.setMaximumTime(QTime(0, 5, 0));
        delay.setDisplayFormat("m:ss");
        delay.setTime(QTime(0, 5, 0));
        status.setText("NULL");
        host.resize(400, 300);
        host.show();
        form.reset(new MetarForm(nullptr, &status, &cancel, &combo, &hide, &delay));
    }
    ~Fixture() { form->close(); }

    template <typename T> T* child(const char* name) const
    {
        T* widget = form->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    bool shownInForm(const char* name) const
    {
        return child<QWidget>(name)->isVisibleTo(form.data());
    }
    // Adds a stored report to the history and the combo, as the main window does.
    void store(const QString& text, const QDateTime& time, bool sent = false)
    {
        form->history.append(Observation{reportRecord(text), time, sent, false});
        combo.addItem(text);
    }
    QStringList comboTexts() const
    {
        QStringList out;
        for (int i = 0; i < combo.count(); ++i)
            out << combo.itemText(i);
        return out;
    }

    QWidget host;
    QLabel status{&host};
    QPushButton cancel{&host};
    QComboBox combo{&host};
    QCheckBox hide{&host};
    QTimeEdit delay{&host};
    QScopedPointer<MetarForm> form;
};

} // namespace

class TestMetarForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void formLayout();
    void formKeepsAPresetName();
    void transactionStartByMode_data();
    void transactionStartByMode();
    void automaticSendIsConfirmedAndMarkedSent();
    void semiAutomaticCountdownDrivesTheWidgets();
    void semiAutomaticReviewedSendStopsTheCountdown();
    void manualReviewWithDelay();
    void manualDelayNeverTakenUsesTheWindowEditor();
    void delayBoxShowsTheEditor();
    void cancelButtons_data();
    void cancelButtons();
    void ignoreOnlyClosesTheWindow();
    void modeChangeDropsButLeavesTheWindow();
    void realtimeIsKeptAndPassedOn();
    void pruneKeepsTheMirror();
    void pruneSetsSentIcons();
    void droppingTheShownReportMovesTheSelection();
    void observationAtOutsideTheHistory();
};

void TestMetarForm::initTestCase()
{
    initFormResources();
    QVERIFY(!QIcon(":/resources/icon_updated.png").isNull());
}

void TestMetarForm::formLayout()
{
    Fixture f;
    MetarForm& form = *f.form;
    QCOMPARE(form.objectName(), QString("MetarForm"));
    QCOMPARE(form.size(), QSize(631, 379));
    QCOMPARE(form.windowTitle(), QString("METAR Candidate"));
    QVERIFY(!form.isVisible());
    QCOMPARE(f.child<QStackedWidget>("stackedWidget_METARMode")->currentWidget(),
             f.child<QWidget>("page_METAR"));

    QCOMPARE(f.child<QLabel>("labelMETARCandidate")->text(), QString("Metar"));
    QCOMPARE(f.child<QLabel>("labelMETARCandidate")->font().pointSize(), 14);
    QVERIFY(f.child<QLabel>("labelMETARCandidate")->wordWrap());
    QCOMPARE(f.child<QLabel>("labelInformation")->text(), QString("Information"));
    QCOMPARE(f.child<QLabel>("labelInformation")->font().pointSize(), 12);
    QCOMPARE(f.child<QLabel>("label_Timer")->text(), QString("Timer Label"));
    QCOMPARE(f.child<QLabel>("label_Timer")->alignment(), Qt::AlignCenter);
    QCOMPARE(f.child<QCheckBox>("checkBox_manual_transmit_delay")->text(),
             QString("Add Transmit Delay after Manual Review"));
    QCOMPARE(f.child<QLabel>("label_manual_transmit_delay")->text(), QString("min:sec"));
    QCOMPARE(f.child<QPushButton>("pushButton_editMETAR")->text(), QString("Review"));
    QCOMPARE(f.child<QPushButton>("pushButton_ignoreMETAR")->text(), QString("Ignore"));
    QCOMPARE(f.child<QPushButton>("pushButton_cancel_send")->text(), QString("Cancel Send"));

    auto* editor = f.child<QTimeEdit>("timeEdit_ORVA_METAR_transmit_delay2");
    QCOMPARE(editor->minimumTime(), QTime(0, 0, 0));
    QCOMPARE(editor->maximumTime(), QTime(0, 5, 0));
    QCOMPARE(editor->displayFormat(), QString("m:ss"));
    editor->setTime(QTime(0, 7, 0));
    QCOMPARE(editor->time(), QTime(0, 5, 0));
    editor->setTime(QTime(0, 1, 5));
    QCOMPARE(editor->text(), QString("1:05"));

    for (const char* name :
         {"labelMETARCandidate", "labelInformation", "checkBox_manual_transmit_delay",
          "timeEdit_ORVA_METAR_transmit_delay2", "label_manual_transmit_delay", "label_Timer",
          "pushButton_editMETAR", "pushButton_ignoreMETAR", "pushButton_cancel_send"})
        QVERIFY2(f.shownInForm(name), name);

    // The constructor leaves the transaction idle and the outside widgets cleared.
    QCOMPARE(form.transaction.state(), ReportTransaction::State::Idle);
    QCOMPARE(f.status.text(), QString());
    QVERIFY(!f.cancel.isVisible());
    QCOMPARE(form.mode(), ORVAMetarMode::Automatic);
    QVERIFY(form.showPopup);
    QVERIFY(!form.manualDelay.isValid());
    QVERIFY(form.history.isEmpty());
    QVERIFY(!form.countdownTimer->isActive());
    QCOMPARE(form.countdownTimer->interval(), 1000);
}

void TestMetarForm::formKeepsAPresetName()
{
    QWidget window;
    window.setObjectName("reportPopup");
    Ui_MetarForm ui;
    ui.setupUi(&window);
    QCOMPARE(window.objectName(), QString("reportPopup"));
    QCOMPARE(window.size(), QSize(631, 379));
}

void TestMetarForm::transactionStartByMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("speci");
    QTest::addColumn<bool>("hidePopups");
    QTest::addColumn<bool>("windowShown");
    QTest::addColumn<QString>("information");
    QTest::addColumn<QStringList>("shownWidgets");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("outsideCancel");
    QTest::addColumn<int>("commands");

    const QStringList always{"labelMETARCandidate", "labelInformation", "pushButton_editMETAR",
                             "pushButton_ignoreMETAR"};
    const QString automaticText = "AUTOMATIC MODE: The above METAR has been sent to the ORVA.";
    const QString manualText =
        "MANUAL MODE: The above METAR is ready for review. The observation will not be sent "
        "unless you manually review and send via the TABLE menu.";
    const QString semiText =
        "SEMI-AUTOMATIC MODE: The above METAR will be sent to the ORVA automatically when the "
        "timer expires even if this window is closed.\r\nSelect 'Cancel' below to stop the "
        "process.";

    QTest::newRow("automatic") << 0 << false << false << true << automaticText << always << ""
                               << false << 1;
    QTest::newRow("automatic, pop-ups hidden")
        << 0 << false << true << false << automaticText << always << "" << false << 1;
    QTest::newRow("automatic SPECI") << 0 << true << false << true
                                     << "AUTOMATIC MODE: The above SPECI has been sent to the ORVA."
                                     << always << "" << false << 1;
    QTest::newRow("manual") << 1 << false << false << true << manualText
                            << always + QStringList{"checkBox_manual_transmit_delay"} << "" << false
                            << 0;
    QTest::newRow("manual, pop-ups hidden")
        << 1 << false << true << false << manualText
        << always + QStringList{"checkBox_manual_transmit_delay"} << "" << false << 0;
    QTest::newRow("semi-automatic") << 2 << false << false << true << semiText
                                    << always + QStringList{"label_Timer", "pushButton_cancel_send"}
                                    << "Sending in: 05:00" << true << 0;
    QTest::newRow("semi-automatic, pop-ups hidden")
        << 2 << false << true << false << semiText
        << always + QStringList{"label_Timer", "pushButton_cancel_send"} << "Sending in: 05:00"
        << true << 0;
}

void TestMetarForm::transactionStartByMode()
{
    QFETCH(int, mode);
    QFETCH(bool, speci);
    QFETCH(bool, hidePopups);
    QFETCH(bool, windowShown);
    QFETCH(QString, information);
    QFETCH(QStringList, shownWidgets);
    QFETCH(QString, status);
    QFETCH(bool, outsideCancel);
    QFETCH(int, commands);

    Fixture f;
    MetarForm& form = *f.form;
    // A previous manual transaction left the delay box checked and the editor shown.
    f.child<QCheckBox>("checkBox_manual_transmit_delay")->setChecked(true);
    form.on_metar_mode_change(static_cast<ORVAMetarMode>(mode));
    f.hide.setChecked(hidePopups);
    QSignalSpy sent(&form, &MetarForm::send_metar);

    const QString text = speci ? S1 : M1;
    if (speci)
        form.on_speci_generated(reportRecord(text, true));
    else
        form.on_metar_generated(reportRecord(text));

    QCOMPARE(form.isVisible(), windowShown);
    QCOMPARE(form.showPopup, !hidePopups);
    QCOMPARE(f.child<QLabel>("labelMETARCandidate")->text(), text);
    QCOMPARE(f.child<QLabel>("labelInformation")->text(), information);
    for (const char* name :
         {"labelMETARCandidate", "labelInformation", "checkBox_manual_transmit_delay",
          "timeEdit_ORVA_METAR_transmit_delay2", "label_manual_transmit_delay", "label_Timer",
          "pushButton_editMETAR", "pushButton_ignoreMETAR", "pushButton_cancel_send"})
        QVERIFY2(f.shownInForm(name) == shownWidgets.contains(name), name);
    if (shownWidgets.contains("checkBox_manual_transmit_delay"))
        QVERIFY(!f.child<QCheckBox>("checkBox_manual_transmit_delay")->isChecked());
    if (shownWidgets.contains("label_Timer"))
        QCOMPARE(f.child<QLabel>("label_Timer")->text(), QString("05:00"));
    QCOMPARE(f.status.text(), status);
    QCOMPARE(f.cancel.isVisible(), outsideCancel);
    QCOMPARE(form.countdownTimer->isActive(), mode == 2);
    QCOMPARE(sent.size(), commands);
}

void TestMetarForm::automaticSendIsConfirmedAndMarkedSent()
{
    ScopedClock clock(kNow);
    Fixture f;
    MetarForm& form = *f.form;
    f.hide.setChecked(true);
    QSignalSpy sent(&form, &MetarForm::send_metar);
    QSignalSpy infos(&form, &MetarForm::info);
    QSignalSpy errors(&form, &MetarForm::error);

    // The main window stores the report as its record is shown, after the transaction began.
    form.on_metar_generated(reportRecord(M1));
    f.store(M1, kNow);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray(), ("send " + M1 + "\r").toUtf8());
    QVERIFY(!form.isVisible());

    form.on_metar_generated(reportRecord(M2));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(sent.size(), 1);

    form.on_send_metar_confirmed("send " + M1);
    QCOMPARE(infos.last().at(0).toString(),
             QString("METAR/SPECI send confirmed. Message = '" + M1 + "'."));
    QVERIFY(form.history.value(0).sent);
    QCOMPARE(iconImage(f.combo.itemIcon(1)), iconImage(QIcon(":/resources/icon_updated.png")));
    QVERIFY(f.combo.itemIcon(0).isNull());
    QCOMPARE(form.transaction.state(), ReportTransaction::State::Idle);

    // An echo of a report that is not pending marks nothing.
    f.store(M2, kNow);
    form.on_send_metar_confirmed("send " + M2);
    QVERIFY(!form.history.value(1).sent);
    QVERIFY(f.combo.itemIcon(2).isNull());
    QCOMPARE(errors.last().at(0).toString(),
             QString("METAR/SPECI unexpected message received = '" + M2 + "'."));
}

void TestMetarForm::semiAutomaticCountdownDrivesTheWidgets()
{
    Fixture f;
    MetarForm& form = *f.form;
    form.on_metar_mode_change(ORVAMetarMode::SemiAutomatic);
    f.delay.setTime(QTime(0, 0, 5));
    QSignalSpy sent(&form, &MetarForm::send_metar);
    QSignalSpy infos(&form, &MetarForm::info);

    form.on_metar_generated(reportRecord(M1));
    QVERIFY(form.isVisible());
    QVERIFY(form.countdownTimer->isActive());
    QCOMPARE(f.status.text(), QString("Sending in: 00:05"));
    QCOMPARE(f.child<QLabel>("label_Timer")->text(), QString("00:05"));

    for (const char* left : {"00:04", "00:03", "00:02", "00:01"}) {
        form.on_timer_tick();
        QCOMPARE(f.status.text(), QString("Sending in: ") + left);
        QCOMPARE(f.child<QLabel>("label_Timer")->text(), QString(left));
        QVERIFY(sent.isEmpty());
        QVERIFY(f.cancel.isVisible());
    }
    form.on_timer_tick();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray(), ("send " + M1 + "\r").toUtf8());
    QCOMPARE(infos.last().at(0).toString(),
             "SEMIAUTOMATIC MODE: transmit delay timer complete with no user review. Sending "
             "unedited METAR'" +
                 M1 + "'.");
    QCOMPARE(f.child<QLabel>("label_Timer")->text(), QString("00:00"));
    QVERIFY(!form.isVisible());
    QVERIFY(!f.cancel.isVisible());
    QCOMPARE(f.status.text(), QString());
    QVERIFY(!form.countdownTimer->isActive());
    QCOMPARE(form.transaction.state(), ReportTransaction::State::AwaitingEcho);
}

void TestMetarForm::semiAutomaticReviewedSendStopsTheCountdown()
{
    Fixture f;
    MetarForm& form = *f.form;
    form.on_metar_mode_change(ORVAMetarMode::SemiAutomatic);
    QSignalSpy review(&form, &MetarForm::metar_ready_for_review);
    QSignalSpy sent(&form, &MetarForm::send_metar);
    QSignalSpy infos(&form, &MetarForm::info);
    form.on_metar_generated(reportRecord(M1));
    form.on_timer_tick();

    f.child<QPushButton>("pushButton_editMETAR")->click();
    QCOMPARE(review.size(), 1);
    QCOMPARE(review.at(0).at(0).toString(), M1);
    QVERIFY(!form.isVisible());
    // Review leaves the countdown running.
    QVERIFY(form.countdownTimer->isActive());
    QCOMPARE(f.status.text(), QString("Sending in: 04:59"));

    const QString edited = M1 + " TSNO";
    form.on_send_metar_manual_or_semiauto(Observation{reportRecord(edited), kNow, false, true});
    QCOMPARE(infos.last().at(0).toString(),
             QString("SEMIAUTOMATIC MODE: Review complete and submitted for transmit"));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray(), ("send " + edited + "\r").toUtf8());
    QVERIFY(!form.countdownTimer->isActive());
    QVERIFY(!f.cancel.isVisible());
    QCOMPARE(f.status.text(), QString());

    form.on_send_metar_confirmed("send " + edited);
    QCOMPARE(form.transaction.state(), ReportTransaction::State::Idle);
}

void TestMetarForm::manualReviewWithDelay()
{
    Fixture f;
    MetarForm& form = *f.form;
    form.on_metar_mode_change(ORVAMetarMode::Manual);
    QSignalSpy sent(&form, &MetarForm::send_metar);
    QSignalSpy infos(&form, &MetarForm::info);
    form.on_metar_generated(reportRecord(M1));
    QVERIFY(form.isVisible());
    QVERIFY(sent.isEmpty());

    auto* box = f.child<QCheckBox>("checkBox_manual_transmit_delay");
    box->click();
    QVERIFY(box->isChecked());
    f.child<QTimeEdit>("timeEdit_ORVA_METAR_transmit_delay2")->setTime(QTime(0, 1, 30));
    f.child<QPushButton>("pushButton_editMETAR")->click();
    QCOMPARE(form.manualDelay, QTime(0, 1, 30));
    QVERIFY(!form.isVisible());

    form.on_send_metar_manual_or_semiauto(Observation{reportRecord(M1), kNow, false, true});
    QCOMPARE(infos.at(infos.size() - 2).at(0).toString(),
             "MANUAL MODE: The following metar will be sent to the ORVA, '" + M1 + "'.");
    QCOMPARE(infos.last().at(0).toString(),
             QString("MANUAL MODE: Transmit Delay: 1 minutes, 30 seconds"));
    QVERIFY(form.countdownTimer->isActive());
    QVERIFY(!form.isVisible());
    QVERIFY(!f.cancel.isVisible());
    QCOMPARE(f.status.text(), QString());

    for (int tick = 1; tick < 90; ++tick)
        form.on_timer_tick();
    QCOMPARE(f.status.text(), QString("Sending in: 00:01"));
    QVERIFY(sent.isEmpty());
    form.on_timer_tick();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray(), ("send " + M1 + "\r").toUtf8());
    QVERIFY(!form.countdownTimer->isActive());
}

void TestMetarForm::manualDelayNeverTakenUsesTheWindowEditor()
{
    Fixture f;
    MetarForm& form = *f.form;
    form.on_metar_mode_change(ORVAMetarMode::Manual);
    f.delay.setTime(QTime(0, 0, 4));
    form.on_metar_generated(reportRecord(M1));
    // Box checked, window closed without Review: no delay was taken.
    f.child<QCheckBox>("checkBox_manual_transmit_delay")->click();
    f.child<QPushButton>("pushButton_ignoreMETAR")->click();
    QVERIFY(!form.manualDelay.isValid());

    QSignalSpy sent(&form, &MetarForm::send_metar);
    QSignalSpy infos(&form, &MetarForm::info);
    form.on_send_metar_manual_or_semiauto(Observation{reportRecord(M1), kNow, false, true});
    QCOMPARE(infos.last().at(0).toString(),
             QString("MANUAL MODE: Transmit Delay: 0 minutes, 4 seconds"));
    for (int tick = 0; tick < 4; ++tick)
        form.on_timer_tick();
    QCOMPARE(sent.size(), 1);
}

void TestMetarForm::delayBoxShowsTheEditor()
{
    Fixture f;
    MetarForm& form = *f.form;
    form.on_metar_mode_change(ORVAMetarMode::Manual);
    f.delay.setTime(QTime(0, 2, 15));
    form.on_metar_generated(reportRecord(S1, true));

    auto* box = f.child<QCheckBox>("checkBox_manual_transmit_delay");
    auto* editor = f.child<QTimeEdit>("timeEdit_ORVA_METAR_transmit_delay2");
    QVERIFY(!f.shownInForm("timeEdit_ORVA_METAR_transmit_delay2"));
    box->click();
    QVERIFY(f.shownInForm("timeEdit_ORVA_METAR_transmit_delay2"));
    QVERIFY(f.shownInForm("label_manual_transmit_delay"));
    QCOMPARE(editor->time(), QTime(0, 2, 15));
    QCOMPARE(editor->text(), QString("2:15"));
    // The wording says METAR for a SPECI as well.
    QCOMPARE(f.child<QLabel>("labelInformation")->text(),
             QString("MANUAL MODE: The above METAR is ready for review. The observation will "
                     "not be sent unless you manually review and send (with transmit delay) via "
                     "the TABLE menu."));
    box->click();
    QVERIFY(!f.shownInForm("timeEdit_ORVA_METAR_transmit_delay2"));
    QVERIFY(!f.shownInForm("label_manual_transmit_delay"));
    QCOMPARE(f.child<QLabel>("labelInformation")->text(),
             QString("MANUAL MODE: The above METAR is ready for review. The observation will "
                     "not be sent unless you manually review and send via the TABLE menu."));
}

void TestMetarForm::cancelButtons_data()
{
    QTest::addColumn<bool>("outside");
    QTest::newRow("window's Cancel Send") << false;
    QTest::newRow("main window's CANCEL") << true;
}

void TestMetarForm::cancelButtons()
{
    QFETCH(bool, outside);
    Fixture f;
    MetarForm& form = *f.form;
    // The main window wires its own button; the form's is bound by name.
    QObject::connect(&f.cancel, &QPushButton::clicked, &form,
                     &MetarForm::on_pushButton_cancel_send_clicked);
    form.on_metar_mode_change(ORVAMetarMode::SemiAutomatic);
    QSignalSpy sent(&form, &MetarForm::send_metar);
    QSignalSpy infos(&form, &MetarForm::info);
    form.on_metar_generated(reportRecord(M1));
    form.on_timer_tick();

    if (outside)
        f.cancel.click();
    else
        f.child<QPushButton>("pushButton_cancel_send")->click();
    QCOMPARE(infos.last().at(0).toString(),
             QString("SEMIAUTOMATIC MODE: User manually cancelled METAR/SPECI send."));
    QVERIFY(!form.isVisible());
    QVERIFY(!form.countdownTimer->isActive());
    QVERIFY(!f.cancel.isVisible());
    QCOMPARE(f.status.text(), QString());
    QCOMPARE(form.transaction.state(), ReportTransaction::State::Idle);
    for (int tick = 0; tick < 400; ++tick)
        form.on_timer_tick();
    QVERIFY(sent.isEmpty());
}

void TestMetarForm::ignoreOnlyClosesTheWindow()
{
    Fixture f;
    MetarForm& form = *f.form;
    form.on_metar_mode_change(ORVAMetarMode::SemiAutomatic);
    form.on_metar_generated(reportRecord(M1));
    QSignalSpy infos(&form, &MetarForm::info);
    f.child<QPushButton>("pushButton_ignoreMETAR")->click();
    QVERIFY(!form.isVisible());
    QVERIFY(infos.isEmpty());
    QVERIFY(form.countdownTimer->isActive());
    QVERIFY(f.cancel.isVisible());
}

void TestMetarForm::modeChangeDropsButLeavesTheWindow()
{
    Fixture f;
    MetarForm& form = *f.form;
    form.on_metar_mode_change(ORVAMetarMode::SemiAutomatic);
    form.on_metar_generated(reportRecord(M1));
    QVERIFY(form.isVisible());
    QSignalSpy infos(&form, &MetarForm::info);
    QSignalSpy errors(&form, &MetarForm::error);

    form.on_metar_mode_change(ORVAMetarMode::Manual);
    QCOMPARE(infos.size(), 1);
    QCOMPARE(infos.at(0).at(0).toString(), QString("METAR mode changed to 'Manual'."));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toString(),
             QString("METAR mode changed while transaction in progress. Dropping message."));
    QVERIFY(form.isVisible());
    QVERIFY(!form.countdownTimer->isActive());
    QVERIFY(!f.cancel.isVisible());
    QCOMPARE(f.status.text(), QString());
    QCOMPARE(form.mode(), ORVAMetarMode::Manual);
}

void TestMetarForm::realtimeIsKeptAndPassedOn()
{
    ScopedClock clock(kNow);
    Fixture f;
    MetarForm& form = *f.form;
    QSignalSpy updated(&form, &MetarForm::realtime_updated);
    const QJsonObject record{{"Temperature", "21.0"}, {"METAR", M1}};
    clock.advanceSecs(30);
    form.on_realtime(record);
    QCOMPARE(updated.size(), 1);
    QCOMPARE(updated.at(0).at(0).toJsonObject(), record);
    QCOMPARE(form.realtime.record, record);
    QCOMPARE(form.realtime.time, kNow.addSecs(30));
    QVERIFY(!form.realtime.sent);
    QVERIFY(!form.realtime.edited);
    // An ordinary record starts no transaction.
    QCOMPARE(form.transaction.state(), ReportTransaction::State::Idle);
}

void TestMetarForm::pruneKeepsTheMirror()
{
    ScopedClock clock(kNow);
    Fixture f;
    MetarForm& form = *f.form;
    f.store("A", kNow.addSecs(-90000));
    f.store("B", kNow.addSecs(-86400));
    f.store("C", kNow.addSecs(-86399));
    f.store("D", kNow.addSecs(-100000)); // behind a younger entry: stays
    f.combo.setCurrentIndex(0);

    form.pruneObservations();
    QCOMPARE(f.comboTexts(), (QStringList{kLive, "C", "D"}));
    QCOMPARE(form.history.size(), 2);
    QCOMPARE(reportText(form.observationAt(0).record), QString("C"));
    QCOMPARE(f.combo.currentIndex(), 0);

    clock.advanceSecs(1);
    form.pruneObservations();
    QCOMPARE(f.comboTexts(), QStringList{kLive});
    QVERIFY(form.history.isEmpty());
    QCOMPARE(f.combo.currentIndex(), 0);
}

void TestMetarForm::pruneSetsSentIcons()
{
    ScopedClock clock(kNow);
    Fixture f;
    MetarForm& form = *f.form;
    f.store("A", kNow.addSecs(-86400), true);
    f.store("B", kNow.addSecs(-60), false);
    f.store("C", kNow.addSecs(-30), true);
    form.pruneObservations();
    QCOMPARE(f.comboTexts(), (QStringList{kLive, "B", "C"}));
    QVERIFY(f.combo.itemIcon(0).isNull());
    QVERIFY(f.combo.itemIcon(1).isNull());
    QCOMPARE(iconImage(f.combo.itemIcon(2)), iconImage(QIcon(":/resources/icon_updated.png")));
}

void TestMetarForm::droppingTheShownReportMovesTheSelection()
{
    ScopedClock clock(kNow);
    Fixture f;
    MetarForm& form = *f.form;
    f.store("A", kNow.addSecs(-86400));
    f.store("B", kNow.addSecs(-86400));
    f.store("C", kNow.addSecs(-60));
    // What a selection slot would read for each index it is handed.
    QStringList shown;
    QObject::connect(&f.combo, qOverload<int>(&QComboBox::currentIndexChanged), [&](int index) {
        shown << (index >= 1 ? reportText(form.observationAt(index - 1).record) : "live");
        QCOMPARE(f.combo.itemText(index), index >= 1 ? shown.last() : kLive);
    });
    f.combo.setCurrentIndex(3);
    shown.clear();
    form.pruneObservations();
    // Each removal leaves item i backed by entry i - 1, and "C" stays on show.
    QCOMPARE(f.combo.currentIndex(), 1);
    QCOMPARE(f.combo.currentText(), QString("C"));
    QCOMPARE(shown, (QStringList{"C", "C"}));
}

void TestMetarForm::observationAtOutsideTheHistory()
{
    Fixture f;
    QVERIFY(f.form->observationAt(0).record.isEmpty());
    QVERIFY(f.form->observationAt(-1).record.isEmpty());
}

QTEST_MAIN(TestMetarForm)
#include "tst_metarform.moc"
