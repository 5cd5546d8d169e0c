// The about box: its version line and texts, and an OK that hides it for the next showing.

#include "tests/support/testsupport.h"

#include "app/dialogabout.h"
#include "forms/formresources.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestDialogAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void showsTheVersion();
    void okHidesAndItShowsAgain();
};

void TestDialogAbout::initTestCase()
{
    initFormResources();
}

void TestDialogAbout::showsTheVersion()
{
    DialogAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.findChild<QLabel*>("labelVersion")->text(),
             QStringLiteral("Vantora Direct Version 3.1.13b"));
    QVERIFY(!about.findChild<QLabel*>("label_Copyright")->text().isEmpty());
    QCOMPARE(about.findChild<QPushButton*>("pushButtonClose")->text(), QStringLiteral("OK"));
    QCOMPARE(about.windowModality(), Qt::ApplicationModal);
    QCOMPARE(about.size(), QSize(498, 407));
    QCOMPARE(about.contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(!about.windowIcon().isNull());
}

void TestDialogAbout::okHidesAndItShowsAgain()
{
    DialogAbout about;
    about.show();
    QVERIFY(about.isVisible());
    QTest::mouseClick(about.findChild<QPushButton*>("pushButtonClose"), Qt::LeftButton);
    QVERIFY(!about.isVisible());

    about.show();
    QVERIFY(about.isVisible());
    QCOMPARE(about.findChild<QLabel*>("labelVersion")->text(),
             QStringLiteral("Vantora Direct Version 3.1.13b"));
}

QTEST_MAIN(TestDialogAbout)
#include "tst_dialogabout.moc"
