// The image schedule dialog: its hour boxes, the toggle, and the hour commands of the ticked
// hours. Its OK and Cancel are exercised through the setup dialog that runs it.

#include "tests/support/testsupport.h"

#include "app/brqcommands.h"
#include "app/dialogimageschedule.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <array>

namespace
{

QCheckBox* hourBox(const QDialog& dialog, int hour)
{
    return dialog.findChild<QCheckBox*>(
        QStringLiteral("checkBox%1").arg(hour, 2, 10, QLatin1Char('0')));
}

int tickedCount(const QDialog& dialog)
{
    int ticked = 0;
    for (int hour = 0; hour < 24; ++hour)
        ticked += hourBox(dialog, hour)->isChecked() ? 1 : 0;
    return ticked;
}

QString allHours()
{
    return QStringLiteral("i00\ri01\ri02\ri03\ri04\ri05\ri06\ri07\ri08\ri09\ri10\ri11\r"
                          "i12\ri13\ri14\ri15\ri16\ri17\ri18\ri19\ri20\ri21\ri22\ri23\r");
}

} // namespace

class TestDialogImageSchedule : public QObject
{
    Q_OBJECT

private slots:

    void hourCommands_data()
    {
        QTest::addColumn<QList<int>>("hours");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QList<int>{} << QString();
        QTest::newRow("05 and 17") << QList<int>{5, 17} << QStringLiteral("i05\ri17\r");
        QTest::newRow("00 and 13") << QList<int>{13, 0} << QStringLiteral("i00\ri13\r");
        QTest::newRow("first and last") << QList<int>{23, 0} << QStringLiteral("i00\ri23\r");
        QTest::newRow("07") << QList<int>{7} << QStringLiteral("i07\r");
        QList<int> every;
        for (int hour = 23; hour >= 0; --hour)
            every << hour;
        QTest::newRow("all, in hour order") << every << allHours();
    }
    void hourCommands()
    {
        QFETCH(QList<int>, hours);
        QFETCH(QString, expected);
        std::array<bool, 24> ticked{};
        for (int hour : hours)
            ticked[static_cast<std::size_t>(hour)] = true;
        QCOMPARE(imageScheduleCommands(ticked), expected);
    }

    void form()
    {
        dialogImageSchedule dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Auto Image Capture"));
        QCOMPARE(dialog.minimumSize(), QSize(396, 590));
        QVERIFY(dialog.width() >= 396 && dialog.height() >= 590);
        QCOMPARE(dialog.findChild<QLabel*>("label_AutoSchedule")->text(),
                 QStringLiteral("Select Hour(s) in UTC"));

        auto* toggle = dialog.findChild<QPushButton*>("pushButtonToggle");
        auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
        QCOMPARE(toggle->text(), QStringLiteral("Toggle All/None"));
        QCOMPARE(buttons->orientation(), Qt::Vertical);
        QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons->font().pointSize(), 10);
        QCOMPARE(toggle->font().pointSize(), 10);

        // Two columns of twelve, each box labelled with its hour and clear at first.
        auto* group = dialog.findChild<QGroupBox*>("groupBox_AutoSchedule");
        QCOMPARE(group->findChildren<QCheckBox*>().size(), 24);
        for (int hour = 0; hour < 24; ++hour) {
            QCheckBox* box = hourBox(dialog, hour);
            QVERIFY2(box, qPrintable(QString::number(hour)));
            QCOMPARE(box->text(), QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0')));
            QVERIFY(!box->isChecked());
            QCOMPARE(box->font().pointSize(), 10);
        }
        dialog.show();
        QCOMPARE(hourBox(dialog, 11)->x(), hourBox(dialog, 0)->x());
        QVERIFY(hourBox(dialog, 12)->x() > hourBox(dialog, 11)->x());
        QCOMPARE(hourBox(dialog, 23)->x(), hourBox(dialog, 12)->x());
        QVERIFY(hourBox(dialog, 11)->y() > hourBox(dialog, 0)->y());
    }
    void toggleTicksAllThenNone()
    {
        dialogImageSchedule dialog(nullptr);
        auto* toggle = dialog.findChild<QPushButton*>("pushButtonToggle");
        toggle->click();
        QCOMPARE(tickedCount(dialog), 24);

        hourBox(dialog, 5)->setChecked(false);
        toggle->click();
        QCOMPARE(tickedCount(dialog), 0);
        QCOMPARE(dialog.scheduleCommands(), QString());

        // The toggle follows its own state, not what the operator ticked in between.
        hourBox(dialog, 9)->setChecked(true);
        toggle->click();
        QCOMPARE(tickedCount(dialog), 24);
        QCOMPARE(dialog.scheduleCommands(), allHours());
    }
};

QTEST_MAIN(TestDialogImageSchedule)
#include "tst_dialogimageschedule.moc"
