// The wind picture with its runway, the four trend charts and the clearing of the views, on the
// real main window.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "dashboard/trendcharts.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "tests/support/scopedclock.h"

#include <QGraphicsLineItem>
#include <QGraphicsPolygonItem>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtTest>

using namespace QtCharts;

namespace
{

const QString deg = QStringLiteral("\u00B0");
const QColor kStrip(255, 239, 189, 128);
const QColor kMarker(226, 135, 0);

QPolygonF roundedPolygon(const QPolygonF& polygon)
{
    QPolygonF rounded;
    for (const QPointF& p : polygon)
        rounded << QPointF(qRound(p.x() * 1000) / 1000.0, qRound(p.y() * 1000) / 1000.0);
    return rounded;
}

QGraphicsPolygonItem* polygonAt(const QList<QGraphicsItem*>& items, int i)
{
    return i < items.size() ? qgraphicsitem_cast<QGraphicsPolygonItem*>(items.at(i)) : nullptr;
}

} // namespace

class TestDashboardViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void basePicture();
    void runway_data();
    void runway();
    void runwayWithWindArrow();
    void windArrowAlone_data();
    void windArrowAlone();
    void rotatedStripOnly();

    void chartsBuilt();
    void chartStyle();
    void temperatureTitleFollowsUnit();
    void firstPoint();
    void rangeOverPoints();
    void pointCap();
    void hiddenChartCatchesUp();

    void clearing_data();
    void clearing();
    void refillAfterClearing();

private:
    QList<QGraphicsItem*> sceneItems() const { return window->windScene.items(Qt::AscendingOrder); }

    MainGUI* window = nullptr;
    ScopedClock* clock = nullptr;
    QDateTime built;
};

void TestDashboardViews::initTestCase()
{
    initFormResources();
    built = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 30), Qt::UTC);
    clock = new ScopedClock(built);
    window = new MainGUI;
    window->drawInitialCharts();
    // The charts follow their points only while they are on screen.
    window->show();
    window->on_pushButtonTrends_clicked();
}

void TestDashboardViews::init()
{
    clock->set(built);
    window->runwayHidden = false;
    window->runwayDirection = 0;
    window->deviceType = DeviceTypes::ORVA;
    window->temperatureUnits = TemperatureUnits::Celsius;
    for (int i = 0; i < TrendChartCount; ++i) {
        window->trendTraces[i].clear();
        window->drawTrendChart(i);
    }
    window->drawBaseWindPicture();
}

void TestDashboardViews::cleanupTestCase()
{
    delete window;
    delete clock;
}

void TestDashboardViews::basePicture()
{
    window->drawRunwayPicture("90", "");
    QVERIFY(!sceneItems().isEmpty());
    window->ui->graphicsViewWind->setScene(nullptr);
    window->ui->graphicsViewWind->setRenderHints(QPainter::TextAntialiasing);

    window->drawBaseWindPicture();
    QVERIFY(sceneItems().isEmpty());
    QGraphicsView* view = window->ui->graphicsViewWind;
    QCOMPARE(view->scene(), &window->windScene);
    QCOMPARE(view->backgroundBrush().style(), Qt::SolidPattern);
    QCOMPARE(view->backgroundBrush().color().alpha(), 0);
    QCOMPARE(view->renderHints(), QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
}

void TestDashboardViews::runway_data()
{
    QTest::addColumn<double>("heading");
    QTest::addColumn<QPolygonF>("strip");
    QTest::addColumn<QPointF>("markerTip");

    QTest::newRow("heading 0") << 0.0
                               << QPolygonF({QPointF(124, 18), QPointF(145, 18), QPointF(145, 225),
                                             QPointF(124, 225)})
                               << QPointF(134, 22);
    QTest::newRow("heading 90") << 90.0
                                << QPolygonF({QPointF(237, 132), QPointF(237, 111),
                                              QPointF(30, 111), QPointF(30, 132)})
                                << QPointF(236, 124);
}

void TestDashboardViews::runway()
{
    QFETCH(double, heading);
    QFETCH(QPolygonF, strip);
    QFETCH(QPointF, markerTip);
    window->runwayDirection = heading;
    window->drawRunwayPicture("", "");

    const QList<QGraphicsItem*> items = sceneItems();
    QCOMPARE(items.size(), 2);
    // Strip at the bottom, marker above it.
    QGraphicsPolygonItem* stripItem = polygonAt(items, 0);
    QGraphicsPolygonItem* marker = polygonAt(items, 1);
    QVERIFY(stripItem && marker);
    QCOMPARE(stripItem->polygon(), strip);
    QCOMPARE(stripItem->brush().color(), kStrip);
    QCOMPARE(stripItem->pen().color(), kStrip);
    QCOMPARE(stripItem->pen().widthF(), 0.0);
    QCOMPARE(roundedPolygon(marker->polygon()).first(), markerTip);
    QCOMPARE(marker->polygon().size(), 4);
    QCOMPARE(marker->polygon().last(), marker->polygon().first());
    QCOMPARE(marker->brush().color(), kMarker);
    QCOMPARE(marker->pen().color(), kStrip);
    QCOMPARE(window->runwayRect, QRect(145, 18, -21, 207));
}

void TestDashboardViews::runwayWithWindArrow()
{
    window->runwayDirection = 90;
    window->drawRunwayPicture("90", "12");
    const QList<QGraphicsItem*> items = sceneItems();
    QCOMPARE(items.size(), 4);
    // The wind arrow lies on top of strip and marker.
    auto* shaft = qgraphicsitem_cast<QGraphicsLineItem*>(items.at(2));
    QGraphicsPolygonItem* head = polygonAt(items, 3);
    QVERIFY(shaft && head);
    QCOMPARE(shaft->line(), QLineF(134, 124, 233, 124));
    QCOMPARE(shaft->pen().widthF(), 5.0);
    QCOMPARE(shaft->pen().color(), QColor(Qt::green));
    QCOMPARE(roundedPolygon(head->polygon()),
             QPolygonF({QPointF(242, 124), QPointF(232.474, 118.5), QPointF(232.474, 129.5),
                        QPointF(242, 124)}));
    QCOMPARE(head->brush().color(), QColor(Qt::green));
    QCOMPARE(head->pen().widthF(), 0.0);
    // The shared pen keeps what the last drawing set.
    QCOMPARE(window->windPen.widthF(), 0.0);
    QCOMPARE(window->windPen.color(), QColor(Qt::green));
}

void TestDashboardViews::windArrowAlone_data()
{
    QTest::addColumn<double>("bearing");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<QPointF>("tip");
    QTest::newRow("north") << 0.0 << QPointF(134, 25) << QPointF(134, 16);
    QTest::newRow("south-west") << 225.0 << QPointF(63.996, 194.004) << QPointF(57.632, 200.368);
    QTest::newRow("above 360") << 450.0 << QPointF(233, 124) << QPointF(242, 124);
    QTest::newRow("below 0") << -90.0 << QPointF(35, 124) << QPointF(26, 124);
}

void TestDashboardViews::windArrowAlone()
{
    QFETCH(double, bearing);
    QFETCH(QPointF, end);
    QFETCH(QPointF, tip);
    window->drawGustArrow(bearing);
    const QList<QGraphicsItem*> items = sceneItems();
    QCOMPARE(items.size(), 2);
    auto* shaft = qgraphicsitem_cast<QGraphicsLineItem*>(items.at(0));
    QVERIFY(shaft);
    QCOMPARE(roundedPolygon(QVector<QPointF>{shaft->line().p1(), shaft->line().p2()}),
             QPolygonF(QVector<QPointF>{QPointF(134, 124), end}));
    QCOMPARE(roundedPolygon(polygonAt(items, 1)->polygon()).first(), tip);
}

void TestDashboardViews::rotatedStripOnly()
{
    window->windPen.setColor(Qt::red);
    window->drawRunway_rotate(90);
    const QList<QGraphicsItem*> items = sceneItems();
    QCOMPARE(items.size(), 1);
    QCOMPARE(polygonAt(items, 0)->polygon(),
             QPolygonF({QPointF(237, 132), QPointF(237, 111), QPointF(30, 111), QPointF(30, 132)}));
    QCOMPARE(polygonAt(items, 0)->pen().color(), QColor(Qt::red));
    QCOMPARE(polygonAt(items, 0)->brush().color(), kStrip);
}

void TestDashboardViews::chartsBuilt()
{
    QLabel* const headers[] = {
        window->ui->labelHeaderTrendsUpperLeft, window->ui->labelHeaderTrendsUpperRight,
        window->ui->labelHeaderTrendsLowerLeft, window->ui->labelHeaderTrendsLowerRight};
    QVBoxLayout* const areas[] = {window->ui->verticalLayoutTrendsUpperLeftPlotArea,
                                  window->ui->verticalLayoutTrendsUpperRightPlotArea,
                                  window->ui->verticalLayoutTrendsLowerLeftPlotArea,
                                  window->ui->verticalLayoutTrendsLowerRightPlotArea};
    const QStringList names = {"Wind Speed", "Temperature", "Pressure", "Humidity"};
    const QStringList titles = {"Wind Speed (kt)", "Temperature (" + deg + "C)", "Pressure (mbar)",
                                "Humidity (%)"};

    for (int i = 0; i < TrendChartCount; ++i) {
        QChart* chart = window->trendCharts[i];
        QDateTimeAxis* time = window->trendXAxes[i];
        QValueAxis* value = window->trendYAxes[i];
        QLineSeries* series = window->trendSeries[i];
        QChartView* view = window->trendChartViews[i];
        QVERIFY(chart && time && value && series && view);
        QCOMPARE(headers[i]->text(), names[i]);
        QCOMPARE(value->titleText(), titles[i]);
        QVERIFY(areas[i]->indexOf(view) >= 0);
        QCOMPARE(view->chart(), chart);

        QCOMPARE(chart->series(), QList<QAbstractSeries*>{series});
        QCOMPARE(chart->axes(Qt::Horizontal), QList<QAbstractAxis*>{time});
        QCOMPARE(chart->axes(Qt::Vertical), QList<QAbstractAxis*>{value});
        QCOMPARE(time->alignment(), Qt::AlignBottom);
        QCOMPARE(value->alignment(), Qt::AlignLeft);
        QCOMPARE(series->attachedAxes().size(), 2);
        QVERIFY(series->attachedAxes().contains(time) && series->attachedAxes().contains(value));

        // The time axis spans the five seconds before set-up, in whole minutes.
        QCOMPARE(time->min(), built.addSecs(-5));
        QCOMPARE(time->max(), built);
        QCOMPARE(time->tickCount(), 4);
        QCOMPARE(time->format(), QStringLiteral("hh:mm"));
        QCOMPARE(value->tickCount(), 4);
        QCOMPARE(value->labelFormat(), QStringLiteral("%1.0f"));
    }
}

void TestDashboardViews::chartStyle()
{
    for (int i = 0; i < TrendChartCount; ++i) {
        QChart* chart = window->trendCharts[i];
        QVERIFY(!chart->legend()->isVisible());
        QCOMPARE(chart->margins(), QMargins(0, 0, 0, 0));
        QCOMPARE(chart->backgroundBrush().color().alpha(), 0);
        for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(window->trendXAxes[i]),
                                    static_cast<QAbstractAxis*>(window->trendYAxes[i])}) {
            QCOMPARE(axis->titleFont().family(), QStringLiteral("Arial"));
            QCOMPARE(axis->titleFont().pointSize(), 10);
            QCOMPARE(axis->titleFont().weight(), 75);
            QCOMPARE(axis->labelsFont().weight(), int(QFont::Normal));
            QCOMPARE(axis->labelsFont().wordSpacing(), 5.0);
            QCOMPARE(axis->titleBrush().color(), QColor(Qt::white));
            QCOMPARE(axis->labelsBrush().color(), QColor(Qt::white));
            QCOMPARE(axis->gridLinePen().widthF(), 1.0);
            QCOMPARE(axis->linePen().widthF(), 2.0);
            QCOMPARE(axis->linePen().color(), QColor(62, 76, 89));
            QCOMPARE(axis->linePen().capStyle(), Qt::SquareCap);
            QCOMPARE(axis->linePen().joinStyle(), Qt::BevelJoin);
        }
        const QPen pen = window->trendSeries[i]->pen();
        QCOMPARE(pen.widthF(), 3.0);
        QCOMPARE(pen.color(), QColor(67, 167, 162));
    }
}

void TestDashboardViews::temperatureTitleFollowsUnit()
{
    // Settings read before the first layout chose Fahrenheit.
    MainGUI fahrenheitWindow;
    fahrenheitWindow.temperatureUnits = TemperatureUnits::Fahrenheit;
    fahrenheitWindow.temperatureUnitText = deg + "F";
    fahrenheitWindow.drawInitialCharts();
    QCOMPARE(fahrenheitWindow.trendYAxes[TemperatureChart]->titleText(),
             "Temperature (" + deg + "F)");
    QCOMPARE(fahrenheitWindow.trendYAxes[PressureChart]->titleText(),
             QStringLiteral("Pressure (mbar)"));
}

void TestDashboardViews::firstPoint()
{
    clock->advanceSecs(90);
    window->plotCharts(PressureChart, 20);
    QLineSeries* series = window->trendSeries[PressureChart];
    QCOMPARE(series->count(), 1);
    QCOMPARE(series->at(0), QPointF(built.addSecs(90).toMSecsSinceEpoch(), 20));
    QCOMPARE(window->trendXAxes[PressureChart]->min(), built.addSecs(90));
    QCOMPARE(window->trendXAxes[PressureChart]->max(), built.addSecs(90));
    QVERIFY(qFuzzyCompare(window->trendYAxes[PressureChart]->min(), 19.6));
    QVERIFY(qFuzzyCompare(window->trendYAxes[PressureChart]->max(), 20.4));
    // Axes are placed again at their edges and still attached.
    QCOMPARE(window->trendXAxes[PressureChart]->alignment(), Qt::AlignBottom);
    QCOMPARE(window->trendYAxes[PressureChart]->alignment(), Qt::AlignLeft);
    QCOMPARE(series->attachedAxes().size(), 2);
    // The other charts keep their set-up ranges.
    QCOMPARE(window->trendXAxes[WindSpeedChart]->max(), built);
}

void TestDashboardViews::rangeOverPoints()
{
    window->plotCharts(TemperatureChart, -12);
    clock->advanceSecs(60);
    window->plotCharts(TemperatureChart, -3);
    QVERIFY(qFuzzyCompare(window->trendYAxes[TemperatureChart]->min(), -12.24));
    QVERIFY(qFuzzyCompare(window->trendYAxes[TemperatureChart]->max(), -2.94));
    QCOMPARE(window->trendXAxes[TemperatureChart]->min(), built);
    QCOMPARE(window->trendXAxes[TemperatureChart]->max(), built.addSecs(60));
}

void TestDashboardViews::pointCap()
{
    QLineSeries* series = window->trendSeries[HumidityChart];
    QVector<QPointF> full;
    for (int i = 0; i < kTrendPointCap; ++i)
        full << QPointF(built.addSecs(i).toMSecsSinceEpoch(), 50);
    window->trendTraces[HumidityChart].points = full;
    // Another chart over the cap is trimmed too, though not rescaled.
    window->trendTraces[WindSpeedChart].points = full + full.mid(0, 3);

    clock->set(built.addSecs(kTrendPointCap));
    window->plotCharts(HumidityChart, 60);
    QCOMPARE(series->count(), kTrendPointCap);
    QCOMPARE(series->at(0).x(), full.at(1).x());
    QCOMPARE(series->at(kTrendPointCap - 1).y(), 60.0);
    QCOMPARE(window->trendXAxes[HumidityChart]->min(), built.addSecs(1));
    QCOMPARE(window->trendSeries[WindSpeedChart]->count(), kTrendPointCap);
    QCOMPARE(window->trendXAxes[WindSpeedChart]->max(), built);

    clock->advanceSecs(1);
    window->plotCharts(HumidityChart, 61);
    QCOMPARE(series->count(), kTrendPointCap);
    QCOMPARE(window->trendXAxes[HumidityChart]->min(), built.addSecs(2));
}

void TestDashboardViews::hiddenChartCatchesUp()
{
    const auto plotSome = [this] {
        clock->set(built);
        for (int i = 0; i < 6; ++i) {
            clock->advanceSecs(60);
            window->plotCharts(PressureChart, 1000 + (i % 2 ? -3 : 2) * i);
        }
    };
    QLineSeries* series = window->trendSeries[PressureChart];
    const auto ranges = [this] {
        return QVariantList{
            window->trendXAxes[PressureChart]->min(), window->trendXAxes[PressureChart]->max(),
            window->trendYAxes[PressureChart]->min(), window->trendYAxes[PressureChart]->max()};
    };
    plotSome();
    const QVector<QPointF> drawnPoints = series->pointsVector();
    const QVariantList drawnRanges = ranges();
    QCOMPARE(drawnPoints.size(), 6);

    window->trendTraces[PressureChart].clear();
    window->drawTrendChart(PressureChart);
    window->on_pushButtonDashboard_clicked();
    plotSome();
    // Nothing is drawn while the chart is off screen...
    QCOMPARE(series->count(), 0);
    // ...and shown again it has the picture it would have had.
    window->on_pushButtonTrends_clicked();
    QCOMPARE(series->pointsVector(), drawnPoints);
    QCOMPARE(ranges(), drawnRanges);
}

void TestDashboardViews::clearing_data()
{
    QTest::addColumn<bool>("runwayHidden");
    QTest::newRow("runway shown") << false;
    QTest::newRow("runway hidden") << true;
}

void TestDashboardViews::clearing()
{
    QFETCH(bool, runwayHidden);
    Ui_MainGUI* ui = window->ui;
    window->runwayHidden = runwayHidden;
    window->display_weather_data(QJsonObject{{"Temperature", "21.4"},
                                             {"Wind Chill", "-3"},
                                             {"Wind Direction", "90"},
                                             {"Wind Speed", "12"},
                                             {"Humidity", "40"},
                                             {"Pressure", "1000"},
                                             {"Timestamp", "2000-01-01 00:00:00"},
                                             {"Timestamp UTC", "00-01-01 00:00:00"},
                                             {"METAR", "METAR KXYZ 010000Z"},
                                             {"precip_total_1hr", "5"},
                                             {"Voltage", "12"},
                                             {"Tampering", "moved"},
                                             {"Lightning Strikes 1 Min", "2"},
                                             {"RFLOS Band", "UHF"}});
    ui->lineEdit_Metar->setText("METAR KXYZ 010000Z");
    ui->textEdit_SysMsgs->setPlainText("system");
    ui->textEdit_ErrorMsgs->setPlainText("error");
    ui->textEdit_ActiveAlerts->setPlainText("alert");
    ui->labelTablePrecipitation->setText("0.2");
    window->unreadSystem = 3;

    window->clearValues();

    const QStringList emptied = {"labelCurrentTempC",
                                 "labelDewPointC",
                                 "labelHeatIndexC",
                                 "labelRH",
                                 "label24hoursDewPointMaxC",
                                 "label24hoursDewPointMinC",
                                 "label24hoursTemperatureMaxC",
                                 "label24hoursTemperatureMinC",
                                 "label3hrChg_hPa",
                                 "labelALSTG_hPa",
                                 "labelALSTG_inHg",
                                 "labelDA_ft",
                                 "labelDA_m",
                                 "labelPA_ft",
                                 "labelPA_m",
                                 "labelSLP_hPa",
                                 "labelStationPressure_hPa",
                                 "labelStationPressure_inHg",
                                 "labelVerticalVisibility",
                                 "labelLayer1Height",
                                 "labelLayer2Height",
                                 "labelLayer3Height",
                                 "labelLayer4Height",
                                 "labelLayer5Height",
                                 "labelLayer6Height",
                                 "labelMaxDirectionIn10Minutes",
                                 "labelMaxDirectionIn1Hour",
                                 "labelMaxWindIn10Minutes",
                                 "labelMaxWindIn1Hour",
                                 "labelMinDirectionIn10Minutes",
                                 "labelMinDirectionIn1Hour",
                                 "labelMinWindIn10Minutes",
                                 "labelMinWindIn1Hour",
                                 "labelAvgDirectionIn2Minutes",
                                 "labelAvgWindIn2Minutes",
                                 "labelWindDirection",
                                 "labelWindSpeed",
                                 "labelGustDirection",
                                 "labelGustSpeed",
                                 "labelX_Gust",
                                 "labelX_Wind",
                                 "labelVisibilitySM",
                                 "labelVisibilityM",
                                 "labelPresentWeather",
                                 "labelTableAltimeter",
                                 "labelTableCloudLayers",
                                 "labelTableCompassHeading",
                                 "labelTableDate",
                                 "labelTableDensityAltitude",
                                 "labelTableDewPoint",
                                 "labelTableElevation",
                                 "labelTableHeatIndex",
                                 "labelTableLat",
                                 "labelTableLightningDistance",
                                 "labelTableLightningFrequency",
                                 "labelTableLon",
                                 "labelTableLowestBrokenLayer",
                                 "labelTableMaxWindDirection",
                                 "labelTableMaxWindSpeed",
                                 "labelTableMode",
                                 "labelTableOrientation",
                                 "labelTablePrecipitation",
                                 "labelTablePresentWeather",
                                 "labelTablePressureAltitude",
                                 "labelTableRelativeHumidity",
                                 "labelTableSeaSurfaceTemp",
                                 "labelTableSigWaveDirection",
                                 "labelTableSigWaveHeight",
                                 "labelTableSigWavePeriod",
                                 "labelTableStationPressure",
                                 "labelTableTampering",
                                 "labelTableTemperature",
                                 "labelTableTilt",
                                 "labelTableType",
                                 "labelTableVisContamination",
                                 "labelTableVisibility",
                                 "labelTableVoltage",
                                 "labelTableWindChillIndex",
                                 "labelTableWindDirection",
                                 "labelTableWindSpeed",
                                 "label_Metar",
                                 "labelUTC",
                                 "labelDeviceTime"};
    for (const QString& name : emptied) {
        QLabel* label = window->findChild<QLabel*>(name);
        QVERIFY2(label && label->text().isEmpty(), qPrintable(name));
    }
    QVERIFY(ui->lineEdit_Metar->text().isEmpty());
    QVERIFY(!ui->label_TimestampWarning->isVisibleTo(window));
    QVERIFY(ui->textEdit_SysMsgs->toPlainText().isEmpty());
    QVERIFY(ui->textEdit_ErrorMsgs->toPlainText().isEmpty());
    QVERIFY(ui->textEdit_ActiveAlerts->toPlainText().isEmpty());
    QCOMPARE(window->unreadSystem, 3);

    for (int i = 0; i < TrendChartCount; ++i)
        QCOMPARE(window->trendSeries[i]->count(), 0);
    QCOMPARE(window->trendCharts[0]->series().size(), 1);

    // Only the runway, without the old wind arrow; nothing when the runway is hidden.
    QCOMPARE(sceneItems().size(), runwayHidden ? 0 : 2);
    QCOMPARE(ui->graphicsViewWind->scene(), &window->windScene);

    // What clearing leaves alone.
    QCOMPARE(ui->labelWindChillC->text(), QStringLiteral("-3"));
    QCOMPARE(ui->label_Precip1->text(), QStringLiteral("0.05"));
    QCOMPARE(ui->labelBattery->toolTip(), QStringLiteral("12 V (Excellent)"));
    QCOMPARE(ui->labelWarning->toolTip(), QStringLiteral("moved"));
    QCOMPARE(ui->lightning_strikecount_one->text(), QStringLiteral("2"));
    QCOMPARE(ui->labelRFOperatingBand->text(), QStringLiteral("UHF"));
    QCOMPARE(ui->labelUnitType->text(), QStringLiteral("ORVA"));
}

void TestDashboardViews::refillAfterClearing()
{
    window->display_weather_data(QJsonObject{{"Wind Speed", "4"}});
    window->clearValues();
    clock->advanceSecs(30);
    window->display_weather_data(QJsonObject{{"Wind Speed", "6"}, {"Humidity", "70"}});
    QCOMPARE(window->ui->labelTableWindSpeed->text(), QStringLiteral("6 kt"));
    QCOMPARE(window->ui->labelTableRelativeHumidity->text(), QStringLiteral("70 %"));
    QCOMPARE(window->trendSeries[WindSpeedChart]->count(), 1);
    QCOMPARE(window->trendSeries[WindSpeedChart]->at(0).y(), 6.0);
    QCOMPARE(window->trendXAxes[WindSpeedChart]->min(), built.addSecs(30));
}

QTEST_MAIN(TestDashboardViews)
#include "tst_dashboardviews.moc"
