// The lightning compass on the real main window: reading lightning frames, placing and colouring
// the strike dots among the range rings, ageing strikes out, and the messages for bad entries.

#include "tests/support/testsupport.h"

#include "alerts/alertstore.h"
#include "app/dialogselectdevice.h"
#include "app/maingui.h"
#include "dashboard/lightningcompass.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "tests/support/scopedclock.h"

#include <QGraphicsEllipseItem>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include <time.h>

namespace
{

// A lightning frame as the link hands it over: two lines ahead of the entry line, which carries
// two characters of framing at its end.
QByteArray frame(const QString& entryLine)
{
    return "$8\nLTG\n" + entryLine.toUtf8() + "*\r\n";
}

QPointF rounded(const QPointF& p)
{
    // Rounding to 1e-6 also turns the -0 and 1e-15 of cos/sin at the quarter turns into 0.
    return QPointF(qRound64(p.x() * 1e6) / 1e6 + 0.0, qRound64(p.y() * 1e6) / 1e6 + 0.0);
}

} // namespace

class TestLightningCompass : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initFormResources();
        received = QDateTime(QDate(2026, 7, 14), QTime(9, 30, 15), Qt::UTC);
        suiteZone = qgetenv("TZ");
        clock = new ScopedClock(received);
        window = new MainGUI;
    }
    void init()
    {
        clock->set(received);
        window->lightningStrikes.clear();
        window->strikeOwner = {};
        window->lightningScene.clear();
        window->ui->textEdit_SysMsgs->clear();
        window->ui->textEdit_ErrorMsgs->clear();
        window->ui->textEdit_ActiveAlerts->clear();
        window->alertActive.clear();
        window->alertThresholds.clear();
        window->alertLastRaised.clear();
    }
    void cleanup()
    {
        // A row may run the PC in another zone.
        qputenv("TZ", suiteZone);
        tzset();
    }
    void cleanupTestCase()
    {
        delete window;
        delete clock;
    }

    void entries_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("semicolons")
            << frame("a,1,2,3;b,4,5,6") << QStringList{"a,1,2,3", "b,4,5,6"};
        QTest::newRow("trailing semicolon") << frame("a,1,2,3;") << QStringList{"a,1,2,3", ""};
        QTest::newRow("four words paired") << frame("w0 w1 w2 w3") << QStringList{"w0 w1", "w2 w3"};
        QTest::newRow("odd last word") << frame("w0 w1 w2") << QStringList{"w0 w1", "w2"};
        QTest::newRow("two words") << frame("w0 w1") << QStringList{"w0 w1"};
        QTest::newRow("empty words kept") << frame("a  b") << QStringList{"a ", "b"};
        QTest::newRow("two lines only") << QByteArray("$8\nLTG") << QStringList{};
        QTest::newRow("entry line too short") << QByteArray("$8\nLTG\n;\n") << QStringList{""};
        QTest::newRow("later lines unread")
            << QByteArray("$8\nLTG\na;b*\r\nc;d\n") << QStringList{"a", "b"};
    }
    void entries()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QStringList, entries);
        QCOMPARE(LightningCompass::frameEntries(frame), entries);
    }

    // Both strikes of the frame land on the same spot.
    void placement_data()
    {
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QString>("bearing");
        QTest::addColumn<QPointF>("corner");
        QTest::newRow("inside first ring, unscaled") << "4.9"
                                                     << "90" << QPointF(4.9, 0);
        QTest::newRow("first ring") << "5"
                                    << "90" << QPointF(47.3, 0);
        QTest::newRow("between 5 and 10") << "7.5"
                                          << "270" << QPointF(-65.1, 0);
        QTest::newRow("second ring, south") << "10"
                                            << "180" << QPointF(0, 82.9);
        QTest::newRow("between 10 and 25") << "17.5"
                                           << "90" << QPointF(97.05, 0);
        QTest::newRow("between 25 and 50") << "37.5"
                                           << "90" << QPointF(120.6, 0);
        QTest::newRow("outer ring, north") << "50"
                                           << "0" << QPointF(0, -130);
        QTest::newRow("north-east") << "25"
                                    << "45" << QPointF(78.630274, -78.630274);
        QTest::newRow("not a number at the centre") << "far"
                                                    << "x" << QPointF(0, 0);
    }
    void placement()
    {
        QFETCH(QString, distance);
        QFETCH(QString, bearing);
        QFETCH(QPointF, corner);
        const QString entry = "S,09:30:00," + bearing + "," + distance;
        window->displayORVALightning(frame(entry + ";" + entry));

        QCOMPARE(window->lightningStrikes.size(), 2);
        const LightningStrike& strike = window->lightningStrikes.first();
        QCOMPARE(strike.deviceTime, QStringLiteral("09:30:00"));
        QCOMPARE(strike.distance, distance);
        QCOMPARE(strike.bearing, bearing);
        QCOMPARE(strike.receivedUtc, QStringLiteral("2026-07-14 09:30:15"));
        const QList<QGraphicsItem*> items = window->lightningScene.items();
        QCOMPARE(items.size(), 2);
        for (QGraphicsItem* item : items) {
            auto* dot = qgraphicsitem_cast<QGraphicsEllipseItem*>(item);
            QVERIFY(dot);
            QCOMPARE(rounded(dot->rect().topLeft()), corner);
            QCOMPARE(dot->rect().size(), QSizeF(7, 7));
            QCOMPARE(dot->brush(), QBrush(Qt::red));
            QCOMPARE(dot->pen(), QPen());
        }
        QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().isEmpty());
    }

    void ageing_data()
    {
        QTest::addColumn<qint64>("ageMs");
        QTest::addColumn<QColor>("colour");   // invalid: the strike is gone
        QTest::addColumn<QByteArray>("zone"); // the PC's; empty: UTC
        QTest::addColumn<QDateTime>("at");    // when the strike is received
        QTest::newRow("fresh") << qint64(0) << QColor(Qt::red) << QByteArray() << received;
        QTest::newRow("5 min") << qint64(300000) << QColor(Qt::red) << QByteArray() << received;
        QTest::newRow("5 min 1 s")
            << qint64(301000) << QColor(Qt::yellow) << QByteArray() << received;
        QTest::newRow("10 min") << qint64(600000) << QColor(Qt::yellow) << QByteArray() << received;
        QTest::newRow("10 min 1 s")
            << qint64(601000) << QColor(Qt::green) << QByteArray() << received;
        // "now" is cut to whole seconds like the stored time.
        QTest::newRow("15 min and a fraction")
            << qint64(900900) << QColor(Qt::green) << QByteArray() << received;
        QTest::newRow("15 min 1 s") << qint64(901000) << QColor() << QByteArray() << received;
        // Its UTC text names a local hour that the spring change skips there.
        QTest::newRow("15 min 1 s, in Berlin's skipped hour")
            << qint64(901000) << QColor() << QByteArray("Europe/Berlin")
            << QDateTime(QDate(2024, 3, 31), QTime(2, 30, 15), Qt::UTC);
    }
    void ageing()
    {
        QFETCH(qint64, ageMs);
        QFETCH(QColor, colour);
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, at);
        if (!zone.isEmpty()) {
            qputenv("TZ", zone);
            tzset();
            QVERIFY2(QDateTime(QDate(2024, 1, 1), QTime(12, 0)).offsetFromUtc() != 0,
                     "no time zone data: tools/install-deps.sh installs it (tzdata)");
        }
        clock->set(at);
        window->displayORVALightning(frame("S,t,90,12;S,t,180,12"));
        QCOMPARE(window->lightningStrikes.size(), 2);

        clock->advanceMSecs(ageMs);
        // The redraw timer reaches it as a slot.
        QVERIFY(QMetaObject::invokeMethod(window, "drawLightning"));
        const QList<QGraphicsItem*> items = window->lightningScene.items();
        if (!colour.isValid()) {
            QVERIFY(window->lightningStrikes.isEmpty());
            QVERIFY(items.isEmpty());
            return;
        }
        QCOMPARE(window->lightningStrikes.size(), 2);
        QCOMPARE(items.size(), 2);
        for (QGraphicsItem* item : items)
            QCOMPARE(qgraphicsitem_cast<QGraphicsEllipseItem*>(item)->brush().color(), colour);
    }

    void severalAgeOutInOneRun()
    {
        window->displayORVALightning(frame("old1,t,0,12;old2,t,90,12"));
        clock->advanceSecs(500);
        window->displayORVALightning(frame("new1,t,180,12;new2,t,270,12"));
        window->displayORVALightning(frame("old3,t,0,30;old4,t,90,30"));
        // Interleave: old, old, new, new, then two more received with the first ones.
        window->lightningStrikes[4].receivedUtc = window->lightningStrikes[0].receivedUtc;
        window->lightningStrikes[5].receivedUtc = window->lightningStrikes[0].receivedUtc;
        window->lightningStrikes.move(4, 2);
        QCOMPARE(window->lightningStrikes.size(), 6);

        clock->advanceSecs(401);
        window->drawLightning();
        QCOMPARE(window->lightningStrikes.size(), 2);
        QCOMPARE(window->lightningStrikes[0].deviceTime, QStringLiteral("t"));
        QCOMPARE(window->lightningStrikes[0].bearing, QStringLiteral("180"));
        QCOMPARE(window->lightningStrikes[1].bearing, QStringLiteral("270"));
        const QList<QGraphicsItem*> items = window->lightningScene.items(Qt::AscendingOrder);
        QCOMPARE(items.size(), 2);
        QCOMPARE(rounded(qgraphicsitem_cast<QGraphicsEllipseItem*>(items[0])->rect().topLeft()),
                 QPointF(0, 86.673333));
        QCOMPARE(qgraphicsitem_cast<QGraphicsEllipseItem*>(items[0])->brush().color(),
                 QColor(Qt::yellow));
    }

    void outOfRange()
    {
        window->alertActive.insert("Lightning", true);
        window->alertThresholds.insert(alertStoreKey("Lightning", kAlertLessThan), "100");
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        window->displayORVALightning(frame("far,t,135,51;edge,t,0,50;frac,t,90,50.5"));

        // The alert is checked before the range: the first strike raised it.
        QVERIFY(window->ui->textEdit_ActiveAlerts->toPlainText().contains("Lightning 51"));
        QVERIFY(window->ui->textEdit_SysMsgs->toPlainText().contains(
            QStringLiteral("INFO: Lightning Data Received, but is out of display range. "
                           "[ Bearing 135\u00B0, Distance 51 SM ] ")));
        QCOMPARE(window->lightningStrikes.size(), 2);
        QCOMPARE(window->lightningStrikes[0].distance, QStringLiteral("50"));
        // 50.5 is no whole number, so it passes the range check, but it is never drawn.
        QCOMPARE(window->lightningStrikes[1].distance, QStringLiteral("50.5"));
        const QList<QGraphicsItem*> items = window->lightningScene.items();
        QCOMPARE(items.size(), 1);
        QCOMPARE(rounded(qgraphicsitem_cast<QGraphicsEllipseItem*>(items[0])->rect().topLeft()),
                 QPointF(0, -130));
        QCOMPARE(log.count(), 0);

        clock->advanceSecs(901);
        window->drawLightning();
        QVERIFY(window->lightningStrikes.isEmpty());
    }

    void alertOnlyWhenActive()
    {
        window->alertThresholds.insert(alertStoreKey("Lightning", kAlertLessThan), "100");
        window->displayORVALightning(frame("a,t,0,3;b,t,0,4"));
        QVERIFY(window->ui->textEdit_ActiveAlerts->toPlainText().isEmpty());
        QCOMPARE(window->lightningStrikes.size(), 2);
    }

    void shortEntries()
    {
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        window->displayORVALightning(frame("a,t,10,5;b,t,10;"));

        QCOMPARE(window->lightningStrikes.size(), 1);
        QCOMPARE(window->lightningScene.items().size(), 1);
        const QString errors = window->ui->textEdit_ErrorMsgs->toPlainText();
        QVERIFY(errors.contains("WARNING: Lightning packet parsing index out of range [ b,t,10 ]"));
        QVERIFY(errors.contains("WARNING: Lightning packet parsing index out of range [  ]"));
        QCOMPARE(log.count(), 2);
        QCOMPARE(log[0][0].toByteArray(),
                 QByteArray("ERROR: Lightning packet parsing index out of range [ b,t,10 ]"));
        QCOMPARE(log[1][0].toByteArray(),
                 QByteArray("ERROR: Lightning packet parsing index out of range [  ]"));
    }

    void ignoredFrames_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("one entry") << frame("a,t,10,5");
        QTest::newRow("two words") << frame("a,t,10,5 b");
        QTest::newRow("two lines") << QByteArray("$8\na,t,10,5;b,t,10,5");
        QTest::newRow("empty") << QByteArray();
    }
    void ignoredFrames()
    {
        QFETCH(QByteArray, frame);
        QSignalSpy log(window, &MainGUI::logDataMainMsg);
        window->displayORVALightning(frame);
        QVERIFY(window->lightningStrikes.isEmpty());
        QVERIFY(window->ui->textEdit_ErrorMsgs->toPlainText().isEmpty());
        QVERIFY(window->ui->textEdit_SysMsgs->toPlainText().isEmpty());
        QCOMPARE(log.count(), 0);
    }

    // The strikes are the data of the unit that sent them: a live record of another unit takes
    // them off the compass, by the rule the link starts its windows afresh with. Steps: "O id"
    // an ORVA record naming id, "B id" a BRQ record, "L n" n strikes, "|" "Setup...".
    void strikesOfAnotherUnit_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("dots");
        QTest::newRow("another ORVA unit after Setup")
            << QStringList{"O OV1", "L 12", "|", "O OV2"} << 0;
        // A unit may send its strikes before its first record.
        QTest::newRow("another ORVA unit, strikes first")
            << QStringList{"O OV1", "L 12", "|", "L 2", "O OV2", "L 3", "O OV2"} << 5;
        QTest::newRow("another ORVA unit without Setup")
            << QStringList{"O OV1", "L 12", "O OV1", "O OV2"} << 0;
        QTest::newRow("the same ORVA unit after Setup")
            << QStringList{"O OV1", "L 12", "|", "L 2", "O OV1"} << 14;
        QTest::newRow("a record naming no unit") << QStringList{"O OV1", "L 12", "O"} << 12;
        QTest::newRow("a BRQ unit after Setup") << QStringList{"O OV1", "L 12", "|", "B 42"} << 0;
    }
    void strikesOfAnotherUnit()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, dots);
        const DeviceTypes family = window->deviceType;
        for (const QString& step : steps) {
            const QString what = step.section(QLatin1Char(' '), 0, 0);
            const QString value = step.section(QLatin1Char(' '), 1);
            if (what == QLatin1String("|")) {
                window->on_pushButtonSetupConnection_clicked();
                window->selectDeviceDialog->hide();
            } else if (what == QLatin1String("L")) {
                QStringList entries;
                for (int i = 0; i < value.toInt(); ++i)
                    entries << QStringLiteral("S,09:30:00,%1,20").arg(i * 30);
                // A frame holds two entries at least.
                window->displayORVALightning(
                    frame((entries + QStringList{"far,t,0,51"}).join(';')));
            } else {
                window->deviceType =
                    what == QLatin1String("B") ? DeviceTypes::BRQ : DeviceTypes::ORVA;
                window->on_realtime_updated(QJsonObject{{"IMEI", value}});
            }
        }
        window->deviceType = family;
        QCOMPARE(window->lightningStrikes.size(), dots);
        QCOMPARE(window->lightningScene.items().size(), dots);
    }

    void brqRecordsAgeOut()
    {
        window->brqLightningRecords = {{"2026-07-14 08:30:15", "1", "2"},
                                       {"2026-07-14 08:30:14", "3", "4"},
                                       {"2026-07-14 09:00:00", "5", "6"}};
        window->checkBRQLightning();
        QCOMPARE(window->brqLightningRecords.size(), 2);
        QCOMPARE(window->brqLightningRecords[0].first, QStringLiteral("1"));
        QCOMPARE(window->brqLightningRecords[1].first, QStringLiteral("5"));
        QVERIFY(window->lightningScene.items().isEmpty());
    }

private:
    MainGUI* window = nullptr;
    ScopedClock* clock = nullptr;
    QDateTime received;
    QByteArray suiteZone;
};

QTEST_MAIN(TestLightningCompass)
#include "tst_lightningcompass.moc"
