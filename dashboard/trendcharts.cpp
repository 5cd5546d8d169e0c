// The four trend charts of the trend page: built once, one point per record and chart.

#include "app/maingui.h"

#include "dashboard/trendcharts.h"
#include "decoder/clock.h"
#include "forms/maingui_ui.h"

#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

using namespace QtCharts;

QPair<double, double> trendValueRange(double lowest, double highest)
{
    const double min = lowest - 0.02 * std::fabs(lowest);
    const double max = highest + 0.02 * std::fabs(highest);
    if (min == max)
        return {min - 1, max + 1};
    return {min, max};
}

void MainGUI::drawInitialCharts()
{
    QVBoxLayout* const plotAreas[TrendChartCount] = {
        ui->verticalLayoutTrendsUpperLeftPlotArea, ui->verticalLayoutTrendsUpperRightPlotArea,
        ui->verticalLayoutTrendsLowerLeftPlotArea, ui->verticalLayoutTrendsLowerRightPlotArea};
    QLabel* const headers[TrendChartCount] = {
        ui->labelHeaderTrendsUpperLeft, ui->labelHeaderTrendsUpperRight,
        ui->labelHeaderTrendsLowerLeft, ui->labelHeaderTrendsLowerRight};

    QFont titleFont(QStringLiteral("Arial"), 10, 75);
    QFont labelFont(QStringLiteral("Arial"), 10);
    labelFont.setWordSpacing(5.0);
    const QBrush white(Qt::white);
    const QBrush axisBrush(QColor(62, 76, 89));
    const QPen gridPen(axisBrush, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen axisPen(axisBrush, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen seriesPen(QBrush(QColor(67, 167, 162)), 3.0, Qt::SolidLine, Qt::SquareCap,
                         Qt::BevelJoin);
    const QBrush transparent(QColor(QStringLiteral("transparent")));
    const QDateTime now = Clock::now();

    for (int i = 0; i < TrendChartCount; ++i) {
        auto* chart = new QChart(nullptr, Qt::WindowFlags());
        trendCharts[i] = chart;
        chart->legend()->hide();
        chart->setMargins(QMargins(0, 0, 0, 0));
        chart->setBackgroundBrush(transparent);

        auto* timeAxis = new QDateTimeAxis(nullptr);
        trendXAxes[i] = timeAxis;
        timeAxis->setTickCount(4);
        timeAxis->setLabelsFont(labelFont);
        timeAxis->setFormat(QStringLiteral("hh:mm"));
        timeAxis->setTitleBrush(white);
        timeAxis->setTitleFont(titleFont);
        timeAxis->setLabelsBrush(white);
        timeAxis->setGridLinePen(gridPen);
        timeAxis->setLinePen(axisPen);
        timeAxis->setRange(now.addSecs(-5), now);
        chart->addAxis(timeAxis, Qt::AlignBottom);

        auto* valueAxis = new QValueAxis(nullptr);
        trendYAxes[i] = valueAxis;
        valueAxis->setTickCount(4);
        valueAxis->setLabelFormat(QStringLiteral("%1.0f"));
        valueAxis->setTitleBrush(white);
        valueAxis->setTitleFont(titleFont);
        valueAxis->setTitleText(chartTitles.value(i));
        valueAxis->setLabelsFont(labelFont);
        valueAxis->setLabelsBrush(white);
        valueAxis->setGridLinePen(gridPen);
        valueAxis->setLinePen(axisPen);
        chart->addAxis(valueAxis, Qt::AlignLeft);

        auto* series = new QLineSeries(nullptr);
        trendSeries[i] = series;
        series->setPen(seriesPen);
        chart->addSeries(series);
        series->attachAxis(timeAxis);
        series->attachAxis(valueAxis);

        trendChartViews[i] = new QChartView(chart, nullptr);

        plotAreas[i]->addWidget(trendChartViews[i], 0, Qt::Alignment());
        headers[i]->setText(chartNames.value(i));
        if (i == TemperatureChart)
            valueAxis->setTitleText(QStringLiteral("Temperature (") + temperatureUnitText +
                                    QLatin1Char(')'));
    }
}

void MainGUI::plotCharts(int chart, double value)
{
    // Nothing is plotted before the first page layout builds the charts.
    if (chart < 0 || chart >= TrendChartCount || !trendSeries[chart])
        return;
    QDateTimeAxis* const timeAxis = trendXAxes[chart];
    QValueAxis* const valueAxis = trendYAxes[chart];
    QLineSeries* const series = trendSeries[chart];

    const QDateTime now = Clock::now();
    timeAxis->setMax(now);
    series->append(static_cast<qreal>(now.toMSecsSinceEpoch()), value);
    scaleCharts();

    const QVector<QPointF> points = series->pointsVector();
    timeAxis->setMin(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(points.first().x())));

    const auto [lowest, highest] =
        std::minmax_element(points.cbegin(), points.cend(),
                            [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    const QPair<double, double> range = trendValueRange(lowest->y(), highest->y());
    // The axes stay in place at their edges: new ranges redraw them. Taking them out of the
    // chart and adding them again rebuilt the chart's layout and, with full series, made each
    // record take about twenty times as long.
    valueAxis->setRange(range.first, range.second);
}

void MainGUI::scaleCharts()
{
    for (QLineSeries* series : trendSeries) {
        if (series && series->count() > kTrendPointCap)
            series->removePoints(0, series->count() - kTrendPointCap);
    }
}
