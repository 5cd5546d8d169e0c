// The report window over its transaction: what the window and the five widgets it borrows from
// the main window show, its buttons, and the history combo box it keeps in step.

#include "forms/formresources.h"
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
const QString S1 = QStringLiteral("SPECI KXYZ 041812Z 27015G25KT 3SM -RA BKN008 19/12 A2998");
const QString kLive = QStringLiteral("Latest (Auto-Refresh)");
const QDateTime kNow(QDate(2024, 3, 5), QTime(17, 55, 0));
const char* const kWidgets[] = {
    "checkBox_manual_transmit_delay", "timeEdit_ORVA_METAR_transmit_delay2",
    "label_manual_transmit_delay", "label_Timer", "pushButton_cancel_send"};

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
        delay.setMaximumTime(QTime(0, 5, 0));
        delay.setTime(QTime(0, 5, 0));
        host.show();
        form.reset(new MetarForm(nullptr, &status, &cancel, &combo, &hide, &delay));
        // The main window wires its own cancel button; the form's is bound by name.
        QObject::connect(&cancel, &QPushButton::clicked, form.data(),
                         &MetarForm::on_pushButton_cancel_send_clicked);
    }
    ~Fixture() { form->close(); }

    template <typename T = QWidget> T* child(const char* name) const
    {
        T* widget = form->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QString text(const char* label) const { return child<QLabel>(label)->text(); }
    // Shown in the window, as a space-separated list of kWidgets.
    QString shown() const
    {
        QStringList names;
        for (const char* name : kWidgets)
            if (child(name)->isVisibleTo(form.data()))
                names << name;
        return names.join(' ');
    }
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
    void initTestCase() { initFormResources(); }

    // A new report by mode: the window's texts and widgets, and whether it shows at all.
    void startByMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("speci");
        QTest::addColumn<bool>("hidePopups");
        QTest::addColumn<QString>("information");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("commands");
        const QString automatic = "AUTOMATIC MODE: The above METAR has been sent to the ORVA.";
        const QString manual =
            "MANUAL MODE: The above METAR is ready for review. The observation will not be sent "
            "unless you manually review and send via the TABLE menu.";
        const QString semi =
            "SEMI-AUTOMATIC MODE: The above METAR will be sent to the ORVA automatically when the "
            "timer expires even if this window is closed.\r\nSelect 'Cancel' below to stop the "
            "process.";
        const QString counting = "label_Timer pushButton_cancel_send";
        const QString box = "checkBox_manual_transmit_delay";
        QTest::newRow("automatic") << 0 << false << false << automatic << ""
                                   << "" << 1;
        QTest::newRow("automatic, hidden") << 0 << false << true << automatic << ""
                                           << "" << 1;
        QTest::newRow("automatic SPECI")
            << 0 << true << false << QString(automatic).replace("METAR", "SPECI") << ""
            << "" << 1;
        QTest::newRow("manual") << 1 << false << false << manual << box << "" << 0;
        QTest::newRow("manual SPECI")
            << 1 << true << false << QString(manual).replace("METAR", "SPECI") << box << "" << 0;
        QTest::newRow("semi-automatic")
            << 2 << false << false << semi << counting << "Sending in: 05:00" << 0;
        QTest::newRow("semi-automatic SPECI, hidden")
            << 2 << true << true << QString(semi).replace("METAR", "SPECI") << counting
            << "Sending in: 05:00" << 0;
        // An unknown mode leaves the window as it was and does not show it.
        QTest::newRow("unknown mode") << 5 << false << false << "" << box << "" << 0;
    }
    void startByMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, speci);
        QFETCH(bool, hidePopups);
        QFETCH(QString, information);
        QFETCH(QString, shown);
        QFETCH(QString, status);
        QFETCH(int, commands);
        Fixture f;
        MetarForm& form = *f.form;
        // A previous manual transaction left the delay box checked and its editor shown.
        f.child<QCheckBox>("checkBox_manual_transmit_delay")->click();
        const QString before = f.text("labelInformation");
        form.on_metar_mode_change(static_cast<ORVAMetarMode>(mode));
        f.hide.setChecked(hidePopups);
        QSignalSpy sent(&form, &MetarForm::send_metar);
        const QString text = speci ? S1 : M1;
        if (speci)
            form.on_speci_generated(reportRecord(text, true));
        else
            form.on_metar_generated(reportRecord(text));

        QCOMPARE(form.isVisible(), !hidePopups && mode != 5);
        QCOMPARE(form.showPopup, !hidePopups);
        QCOMPARE(f.text("labelMETARCandidate"), text);
        QCOMPARE(f.text("labelInformation"), mode == 5 ? before : information);
        if (mode != 5)
            QCOMPARE(f.shown(), shown);
        if (mode == 1)
            QVERIFY(!f.child<QCheckBox>("checkBox_manual_transmit_delay")->isChecked());
        if (mode == 2)
            QCOMPARE(f.text("label_Timer"), QString("05:00"));
        QCOMPARE(f.status.text(), status);
        QCOMPARE(f.cancel.isVisible(), mode == 2);
        QCOMPARE(form.countdownTimer->isActive(), mode == 2);
        QCOMPARE(sent.size(), commands);
    }

    // The semi-automatic countdown drives the status label, the window's timer and the outside
    // cancel button; at 0:00 the report goes and the window closes. Review leaves it running,
    // and a reviewed send stops it.
    void semiAutomaticCountdown_data()
    {
        QTest::addColumn<bool>("reviewed");
        QTest::newRow("to 0:00") << false;
        QTest::newRow("reviewed after a second") << true;
    }
    void semiAutomaticCountdown()
    {
        QFETCH(bool, reviewed);
        Fixture f;
        MetarForm& form = *f.form;
        QCOMPARE(form.countdownTimer->interval(), 1000);
        form.on_metar_mode_change(ORVAMetarMode::SemiAutomatic);
        f.delay.setTime(QTime(0, 0, 3));
        QSignalSpy sent(&form, &MetarForm::send_metar);
        QSignalSpy review(&form, &MetarForm::metar_ready_for_review);
        form.on_metar_generated(reportRecord(M1));
        QCOMPARE(f.text("label_Timer"), QString("00:03"));
        form.on_timer_tick();
        QCOMPARE(f.status.text(), QString("Sending in: 00:02"));
        QCOMPARE(f.text("label_Timer"), QString("00:02"));
        QVERIFY(f.cancel.isVisible());

        QString text = M1;
        if (reviewed) {
            f.child<QPushButton>("pushButton_editMETAR")->click();
            QCOMPARE(review.at(0).at(0).toString(), M1);
            QVERIFY(!form.isVisible());
            QVERIFY(form.countdownTimer->isActive());
            text = M1 + " TSNO";
            form.on_send_metar_manual_or_semiauto(
                Observation{reportRecord(text), kNow, false, true});
        } else {
            form.on_timer_tick();
            QVERIFY(sent.isEmpty());
            form.on_timer_tick();
            QCOMPARE(f.text("label_Timer"), QString("00:00"));
        }
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).at(0).toByteArray(), ("send " + text + "\r").toUtf8());
        QVERIFY(!form.isVisible());
        QVERIFY(!f.cancel.isVisible());
        QCOMPARE(f.status.text(), QString());
        QVERIFY(!form.countdownTimer->isActive());
        // A tick after the countdown ended changes nothing.
        form.on_timer_tick();
        QCOMPARE(sent.size(), 1);
    }

    // Manual mode: the delay box shows the editor set to the main window's delay; Review takes
    // its time, or, when the window was only closed, the editor's time goes with the send.
    void manualDelay_data()
    {
        QTest::addColumn<bool>("review");
        QTest::addColumn<int>("ticks");
        QTest::newRow("Review took 1:30") << true << 90;
        QTest::newRow("Ignore: the editor's 0:04") << false << 4;
    }
    void manualDelay()
    {
        QFETCH(bool, review);
        QFETCH(int, ticks);
        Fixture f;
        MetarForm& form = *f.form;
        form.on_metar_mode_change(ORVAMetarMode::Manual);
        f.delay.setTime(QTime(0, 2, 15));
        form.on_metar_generated(reportRecord(M1));
        auto* box = f.child<QCheckBox>("checkBox_manual_transmit_delay");
        auto* editor = f.child<QTimeEdit>("timeEdit_ORVA_METAR_transmit_delay2");
        box->click();
        QCOMPARE(f.shown(), QString("checkBox_manual_transmit_delay "
                                    "timeEdit_ORVA_METAR_transmit_delay2 "
                                    "label_manual_transmit_delay"));
        QCOMPARE(editor->time(), QTime(0, 2, 15));
        QCOMPARE(f.text("labelInformation"),
                 QString("MANUAL MODE: The above METAR is ready for review. The observation will "
                         "not be sent unless you manually review and send (with transmit delay) "
                         "via the TABLE menu."));
        box->click();
        QCOMPARE(f.shown(), QString("checkBox_manual_transmit_delay"));
        QVERIFY(f.text("labelInformation").endsWith("send via the TABLE menu."));
        box->click();

        editor->setTime(review ? QTime(0, 1, 30) : QTime(0, 0, 4));
        f.child<QPushButton>(review ? "pushButton_editMETAR" : "pushButton_ignoreMETAR")->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.manualDelay, review ? QTime(0, 1, 30) : QTime());
        editor->setTime(QTime(0, 0, 4));

        QSignalSpy sent(&form, &MetarForm::send_metar);
        form.on_send_metar_manual_or_semiauto(Observation{reportRecord(M1), kNow, false, true});
        QVERIFY(form.countdownTimer->isActive());
        QVERIFY(!f.cancel.isVisible());
        for (int tick = 1; tick < ticks; ++tick)
            form.on_timer_tick();
        QVERIFY(sent.isEmpty());
        form.on_timer_tick();
        QCOMPARE(sent.size(), 1);
    }

    // What each way out of the window does to a running countdown.
    void closing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("open");     // the window after the action
        QTest::addColumn<bool>("counting"); // the countdown after it
        QTest::addColumn<QString>("message");
        const QString cancelled = "SEMIAUTOMATIC MODE: User manually cancelled METAR/SPECI send.";
        QTest::newRow("window's Cancel Send")
            << "pushButton_cancel_send" << false << false << cancelled;
        QTest::newRow("main window's CANCEL") << "outside" << false << false << cancelled;
        QTest::newRow("Ignore only closes") << "pushButton_ignoreMETAR" << false << true << "";
        QTest::newRow("mode change drops it, the window stays")
            << "mode" << true << false << "METAR mode changed to 'Manual'.";
    }
    void closing()
    {
        QFETCH(QString, action);
        QFETCH(bool, open);
        QFETCH(bool, counting);
        QFETCH(QString, message);
        Fixture f;
        MetarForm& form = *f.form;
        form.on_metar_mode_change(ORVAMetarMode::SemiAutomatic);
        QSignalSpy sent(&form, &MetarForm::send_metar);
        form.on_metar_generated(reportRecord(M1));
        form.on_timer_tick();
        QSignalSpy infos(&form, &MetarForm::info);
        if (action == "outside")
            f.cancel.click();
        else if (action == "mode")
            form.on_metar_mode_change(ORVAMetarMode::Manual);
        else
            f.child<QPushButton>(qPrintable(action))->click();
        QCOMPARE(infos.isEmpty() ? QString() : infos.at(0).at(0).toString(), message);
        QCOMPARE(form.isVisible(), open);
        QCOMPARE(form.countdownTimer->isActive(), counting);
        QCOMPARE(f.cancel.isVisible(), counting);
        QCOMPARE(f.status.text().isEmpty(), !counting);
        for (int tick = 0; tick < 400; ++tick)
            form.on_timer_tick();
        QCOMPARE(sent.size(), counting ? 1 : 0);
    }

    // The unit's echo of the pending report marks its history entry sent with the icon.
    void echoMarksTheEntrySent()
    {
        ScopedClock clock(kNow);
        Fixture f;
        MetarForm& form = *f.form;
        f.hide.setChecked(true);
        form.on_metar_generated(reportRecord(M1));
        f.store(M1, kNow);
        f.store(M2, kNow);
        form.on_send_metar_confirmed("send " + M2);
        QVERIFY(!form.history.value(1).sent);
        form.on_send_metar_confirmed("send " + M1);
        QVERIFY(form.history.value(0).sent);
        QCOMPARE(iconImage(f.combo.itemIcon(1)), iconImage(QIcon(":/resources/icon_updated.png")));
        QVERIFY(f.combo.itemIcon(0).isNull() && f.combo.itemIcon(2).isNull());
    }

    // Entries 24 hours old go from the front with their combo items, and the sent ones get the
    // icon; each removal leaves item i backed by entry i - 1, so the shown report stays.
    void pruneKeepsTheMirror()
    {
        ScopedClock clock(kNow);
        Fixture f;
        MetarForm& form = *f.form;
        f.store("A", kNow.addSecs(-90000), true);
        f.store("B", kNow.addSecs(-86400));
        f.store("C", kNow.addSecs(-86399), true);
        f.store("D", kNow.addSecs(-100000)); // behind a younger entry: stays
        QStringList shown;
        QObject::connect(&f.combo, qOverload<int>(&QComboBox::currentIndexChanged), [&](int i) {
            shown << (i >= 1 ? reportText(form.observationAt(i - 1).record) : kLive);
            QCOMPARE(f.combo.itemText(i), shown.last());
        });
        f.combo.setCurrentIndex(3);
        shown.clear();
        form.pruneObservations();
        QCOMPARE(f.comboTexts(), (QStringList{kLive, "C", "D"}));
        QCOMPARE(f.combo.currentText(), QString("C"));
        QCOMPARE(shown, (QStringList{"C", "C"}));
        QVERIFY(f.combo.itemIcon(0).isNull() && f.combo.itemIcon(2).isNull());
        QCOMPARE(iconImage(f.combo.itemIcon(1)), iconImage(QIcon(":/resources/icon_updated.png")));

        clock.advanceSecs(1);
        form.pruneObservations();
        QCOMPARE(f.comboTexts(), QStringList{kLive});
        QVERIFY(form.observationAt(0).record.isEmpty());
        QVERIFY(form.observationAt(-1).record.isEmpty());
    }

    void realtimeIsKeptAndPassedOn()
    {
        ScopedClock clock(kNow);
        Fixture f;
        MetarForm& form = *f.form;
        QSignalSpy updated(&form, &MetarForm::realtime_updated);
        const QJsonObject record{{"Temperature", "21.0"}, {"METAR", M1}};
        clock.advanceSecs(30);
        form.on_realtime(record);
        QCOMPARE(updated.at(0).at(0).toJsonObject(), record);
        QCOMPARE(form.realtime.record, record);
        QCOMPARE(form.realtime.time, kNow.addSecs(30));
        QVERIFY(!form.realtime.sent && !form.realtime.edited);
        QCOMPARE(form.transaction.state(), ReportTransaction::State::Idle);
    }
};

QTEST_MAIN(TestMetarForm)
#include "tst_metarform.moc"
