// The dashboard's text, status, wind-geometry and chart-range rules, without a window.

#include "tests/support/testsupport.h"

#include "dashboard/recorddisplay.h"
#include "dashboard/statusicons.h"
#include "dashboard/trendcharts.h"
#include "dashboard/windgeometry.h"

#include <QtTest>

namespace
{

void comparePoints(const QPolygonF& actual, const QPolygonF& expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i) {
        QVERIFY2(qAbs(actual[i].x() - expected[i].x()) < 1e-9 &&
                     qAbs(actual[i].y() - expected[i].y()) < 1e-9,
                 qPrintable(QStringLiteral("point %1: (%2, %3)")
                                .arg(i)
                                .arg(actual[i].x(), 0, 'g', 17)
                                .arg(actual[i].y(), 0, 'g', 17)));
    }
}

} // namespace

class TestDashboardRules : public QObject
{
    Q_OBJECT

private slots:
    void recordText();
    void numbers_data();
    void numbers();
    void formatted_data();
    void formatted();
    void countDigits_data();
    void countDigits();

    void connectionLine();

    void bearingPoints_data();
    void bearingPoints();
    void arrowHeads();
    void runwayStrip_data();
    void runwayStrip();

    void valueRange_data();
    void valueRange();
};

void TestDashboardRules::recordText()
{
    const QJsonObject record{{"A", "12"}, {"B", 12}, {"C", true}, {"D", ""}};
    QCOMPARE(RecordDisplay::text(record, "A"), QStringLiteral("12"));
    // Only strings carry values; anything else, or no key, is no value.
    QCOMPARE(RecordDisplay::text(record, "B"), QString());
    QCOMPARE(RecordDisplay::text(record, "C"), QString());
    QCOMPARE(RecordDisplay::text(record, "D"), QString());
    QCOMPARE(RecordDisplay::text(record, "missing"), QString());
}

void TestDashboardRules::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");

    QTest::newRow("integer") << "12" << true << 12.0;
    QTest::newRow("leading blank") << " 8.5" << true << 8.5;
    QTest::newRow("negative") << "-1.6" << true << -1.6;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("dash") << "-" << false << 0.0;
    QTest::newRow("word") << "abc" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
}

void TestDashboardRules::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    double v = -99;
    QCOMPARE(RecordDisplay::isNumber(text, &v), numeric);
    QCOMPARE(v, value);
    QCOMPARE(RecordDisplay::number(text), value);
}

void TestDashboardRules::formatted_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    using namespace RecordDisplay;

    QTest::newRow("dash empty") << dash("", " kt") << "-";
    QTest::newRow("dash suffix") << dash("12", " kt") << "12 kt";
    QTest::newRow("dash keeps text") << dash(" 8.5") << " 8.5";
    QTest::newRow("not a number is 0") << fixed("abc", 1) << "0.0";
    QTest::newRow("thousand miles") << general6("1000", kMetresPerStatuteMile) << "1.60934e+06";
    QTest::newRow("three-digit half up") << threeDigit("44.5") << "045";
    QTest::newRow("three-digit 0") << threeDigit("0") << "000";
    QTest::newRow("three-digit 1000") << threeDigit("1000") << "1000";
    QTest::newRow("three-digit negative") << threeDigit("-5") << "-05";
    QTest::newRow("three-digit huge") << threeDigit("1e12") << "1000000000000";
    QTest::newRow("precip 200") << precipitation("200") << "2.00";
    QTest::newRow("precip empty") << precipitation("") << "";
}

void TestDashboardRules::formatted()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestDashboardRules::countDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("digits");
    QTest::newRow("one") << "5" << 1;
    QTest::newRow("padded") << "045" << 3;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("mixed") << "12a3" << 3;
    QTest::newRow("decimal point") << "45.6" << 3;
    // Any decimal digit counts, not only ASCII (Arabic-Indic 1, 2, 3).
    QTest::newRow("other script") << QString::fromUtf8("\u0661\u0662\u0663") << 3;
}

void TestDashboardRules::countDigits()
{
    QFETCH(QString, text);
    QFETCH(int, digits);
    QCOMPARE(RecordDisplay::countDigits(text), digits);
}

void TestDashboardRules::connectionLine()
{
    QCOMPARE(::connectionLine("OV7731", "/dev/ttyUSB0"),
             QStringLiteral("Connected to OV7731 (/dev/ttyUSB0)"));
    QCOMPARE(::connectionLine("", "COM3"), QStringLiteral("Connected to  (COM3)"));
    QCOMPARE(::connectionLine("%2", "COM3"), QStringLiteral("Connected to %2 (COM3)"));
}

void TestDashboardRules::bearingPoints_data()
{
    QTest::addColumn<double>("bearing");
    QTest::addColumn<double>("radius");
    QTest::addColumn<QPointF>("point");

    QTest::newRow("up") << 0.0 << 99.0 << QPointF(134, 25);
    QTest::newRow("east") << 90.0 << 99.0 << QPointF(233, 124);
    QTest::newRow("south") << 180.0 << 108.0 << QPointF(134, 232);
    QTest::newRow("west") << 270.0 << 102.0 << QPointF(32, 124);
    QTest::newRow("above 360") << 450.0 << 99.0 << QPointF(233, 124);
    QTest::newRow("below 0") << -90.0 << 102.0 << QPointF(32, 124);
    QTest::newRow("north-east") << 45.0 << 100.0
                                << QPointF(134 + 70.71067811865476, 124 - 70.71067811865476);
}

void TestDashboardRules::bearingPoints()
{
    QFETCH(double, bearing);
    QFETCH(double, radius);
    QFETCH(QPointF, point);
    const QPointF p = WindGeometry::bearingPoint(bearing, radius);
    QVERIFY2(qAbs(p.x() - point.x()) < 1e-9 && qAbs(p.y() - point.y()) < 1e-9,
             qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
}

void TestDashboardRules::arrowHeads()
{
    // Wind arrow to the east: tip at radius 108, wings 11 long at 30 degrees either side.
    const double s60 = 11 * 0.8660254037844386;
    comparePoints(WindGeometry::arrowHead(QPointF(242, 124), 90),
                  QVector<QPointF>{QPointF(242, 124), QPointF(242 - s60, 124 - 5.5),
                                   QPointF(242 - s60, 124 + 5.5), QPointF(242, 124)});
    // Runway marker at heading 0: tip at (134, 22), wings below it.
    comparePoints(WindGeometry::arrowHead(WindGeometry::bearingPoint(0, 102), 0),
                  QVector<QPointF>{QPointF(134, 22), QPointF(134 - 5.5, 22 + s60),
                                   QPointF(134 + 5.5, 22 + s60), QPointF(134, 22)});
}

void TestDashboardRules::runwayStrip_data()
{
    QTest::addColumn<double>("heading");
    QTest::addColumn<QPolygon>("strip");

    QTest::newRow("0") << 0.0
                       << QPolygon({QPoint(124, 18), QPoint(145, 18), QPoint(145, 225),
                                    QPoint(124, 225)});
    QTest::newRow("90") << 90.0
                        << QPolygon({QPoint(237, 132), QPoint(237, 111), QPoint(30, 111),
                                     QPoint(30, 132)});
}

void TestDashboardRules::runwayStrip()
{
    QFETCH(double, heading);
    QFETCH(QPolygon, strip);
    const QRect rect = WindGeometry::runwayRectangle();
    QCOMPARE(rect.x(), 145);
    QCOMPARE(rect.y(), 18);
    QCOMPARE(rect.width(), -21);
    QCOMPARE(rect.height(), 207);
    QCOMPARE(rect.center(), QPoint(134, 121));
    QCOMPARE(WindGeometry::runwayStrip(rect, heading), strip);
}

void TestDashboardRules::valueRange_data()
{
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("highest");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");

    QTest::newRow("one point 20") << 20.0 << 20.0 << 19.6 << 20.4;
    QTest::newRow("negative") << -12.0 << -3.0 << -12.24 << -2.94;
    QTest::newRow("across zero") << -5.0 << 10.0 << -5.1 << 10.2;
    QTest::newRow("all zero") << 0.0 << 0.0 << -1.0 << 1.0;
}

void TestDashboardRules::valueRange()
{
    QFETCH(double, lowest);
    QFETCH(double, highest);
    QFETCH(double, min);
    QFETCH(double, max);
    const QPair<double, double> range = trendValueRange(lowest, highest);
    QVERIFY(qFuzzyCompare(range.first, min));
    QVERIFY(qFuzzyCompare(range.second, max));
}

QTEST_GUILESS_MAIN(TestDashboardRules)
#include "tst_dashboardrules.moc"
