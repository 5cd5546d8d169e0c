// The program's message filter: the warning for a hand-connected on_ slot stays off the
// operator's terminal, and every other message reaches the handler that was in place.

#include "tests/support/testsupport.h"

#include "app/messagefilter.h"

#include <QTest>

namespace
{

QStringList g_passed;

void collect(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_passed << message;
}

// Named as the forms name their slots, with no child of that name to match either: one that
// the program connects by hand, and one whose widget was renamed.
class HandWired : public QObject
{
    Q_OBJECT

public slots:
    void on_timer_tick() {}
    void on_pushButton_renamed_clicked() {}
};

} // namespace

class TestMessageFilter : public QObject
{
    Q_OBJECT

private slots:
    void filter_data()
    {
        QTest::addColumn<int>("type"); // a QtMsgType
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("passed");
        const QString unmatched = QStringLiteral(
            "QMetaObject::connectSlotsByName: No matching signal for on_timer_tick()");
        QTest::newRow("unmatched on_ slot") << int(QtWarningMsg) << unmatched << false;
        QTest::newRow("unmatched on_ slot of a renamed widget")
            << int(QtWarningMsg)
            << QStringLiteral("QMetaObject::connectSlotsByName: No matching signal for "
                              "on_pushButton_saveMetar_clicked()")
            << true;
        QTest::newRow("the same text as a critical") << int(QtCriticalMsg) << unmatched << true;
        QTest::newRow("the same text inside another")
            << int(QtWarningMsg) << QStringLiteral("Form: ") + unmatched << true;
        QTest::newRow("slot bound twice")
            << int(QtWarningMsg)
            << QStringLiteral("QMetaObject::connectSlotsByName: Connecting slot on_a_clicked() "
                              "with the first of the following compatible signals: (clicked())")
            << true;
        QTest::newRow("another warning")
            << int(QtWarningMsg) << QStringLiteral("QSerialPort: No such file or directory")
            << true;
        QTest::newRow("info") << int(QtInfoMsg) << QStringLiteral("INFO: Read Options File")
                              << true;
    }

    void filter()
    {
        QFETCH(int, type);
        QFETCH(QString, message);
        QFETCH(bool, passed);
        QCOMPARE(isUnmatchedSlotWarning(QtMsgType(type), message), !passed);

        g_passed.clear();
        const QtMessageHandler testLog = qInstallMessageHandler(collect);
        installOperatorMessageFilter();
        QMessageLogger logger;
        switch (type) {
        case QtWarningMsg:
            logger.warning("%s", qPrintable(message));
            break;
        case QtCriticalMsg:
            logger.critical("%s", qPrintable(message));
            break;
        default:
            logger.info("%s", qPrintable(message));
        }
        qInstallMessageHandler(testLog);
        QCOMPARE(g_passed, passed ? QStringList{message} : QStringList());
    }

    // Qt's own wording, as setupUi gives it.
    void dropsQtsWarning()
    {
        g_passed.clear();
        const QtMessageHandler testLog = qInstallMessageHandler(collect);
        HandWired wired;
        QMetaObject::connectSlotsByName(&wired);
        QCOMPARE(g_passed.size(), 2);
        const QString renamed = g_passed.at(1);
        g_passed.clear();
        installOperatorMessageFilter();
        QMetaObject::connectSlotsByName(&wired);
        qInstallMessageHandler(testLog);
        QCOMPARE(g_passed, QStringList{renamed});
        QVERIFY(renamed.endsWith("on_pushButton_renamed_clicked()"));
    }
};

QTEST_GUILESS_MAIN(TestMessageFilter)
#include "tst_messagefilter.moc"
