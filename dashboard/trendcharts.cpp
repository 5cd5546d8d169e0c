// The four trend charts of the trend page: built once, one point per record and chart.

#include "app/maingui.h"

#include "dashboard/trendcharts.h"
#include "decoder/clock.h"
#include "forms/maingui_ui.h"
#include "link/constanttables.h"

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

void TrendTrace::append(double msecs, double value)
{
    points.append(QPointF(msecs, value));
    timeMax = msecs;
    stale = true;
}

void TrendTrace::trim()
{
    if (points.size() <= kTrendPointCap)
        return;
    points.remove(0, points.size() - kTrendPointCap);
    stale = true;
}

void TrendTrace::fitToPoints()
{
    if (points.isEmpty())
        return;
    timeMin = points.first().x();
    // As a chart axis does when its minimum passes its maximum (a PC clock set back).
    timeMax = std::max(timeMax, timeMin);
    const auto [lowest, highest] =
        std::minmax_element(points.cbegin(), points.cend(),
                            [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    const QPair<double, double> range = trendValueRange(lowest->y(), highest->y());
    valueMin = range.first;
    valueMax = range.second;
    valueRangeSet = true;
    stale = true;
}

void TrendTrace::clear()
{
    points.clear();
    stale = true;
}

namespace
{

// Brings a chart up to date when its page, or the minimized window, is shown again.
class TrendChartShowWatcher : public QObject
{
public:
    TrendChartShowWatcher(MainGUI* window, int chart)
        : QObject(window), window(window), chart(chart)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            window->drawTrendChart(chart);
        return QObject::eventFilter(watched, event);
    }

private:
    MainGUI* const window;
    const int chart;
};

} // namespace

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
    const QPen gridPen(brushChartGrid, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen axisPen(brushChartGrid, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen seriesPen(brushChartSeries, 3.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QDateTime now = Clock::now();

    for (int i = 0; i < TrendChartCount; ++i) {
        auto* chart = new QChart(nullptr, Qt::WindowFlags());
        trendCharts[i] = chart;
        chart->legend()->hide();
        chart->setMargins(QMargins(0, 0, 0, 0));
        chart->setBackgroundBrush(brushTransparent);

        auto* timeAxis = new QDateTimeAxis(nullptr);
        trendXAxes[i] = timeAxis;
        timeAxis->setTickCount(4);
        timeAxis->setLabelsFont(labelFont);
        timeAxis->setFormat(QStringLiteral("hh:mm"));
        timeAxis->setTitleBrush(brushWhite);
        timeAxis->setTitleFont(titleFont);
        timeAxis->setLabelsBrush(brushWhite);
        timeAxis->setGridLinePen(gridPen);
        timeAxis->setLinePen(axisPen);
        timeAxis->setRange(now.addSecs(-5), now);
        trendTraces[i] = TrendTrace();
        trendTraces[i].timeMin = static_cast<double>(now.addSecs(-5).toMSecsSinceEpoch());
        trendTraces[i].timeMax = static_cast<double>(now.toMSecsSinceEpoch());
        chart->addAxis(timeAxis, Qt::AlignBottom);

        auto* valueAxis = new QValueAxis(nullptr);
        trendYAxes[i] = valueAxis;
        valueAxis->setTickCount(4);
        valueAxis->setLabelFormat(QStringLiteral("%1.0f"));
        valueAxis->setTitleBrush(brushWhite);
        valueAxis->setTitleFont(titleFont);
        valueAxis->setTitleText(chartTitles.value(i));
        valueAxis->setLabelsFont(labelFont);
        valueAxis->setLabelsBrush(brushWhite);
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
        trendChartViews[i]->installEventFilter(new TrendChartShowWatcher(this, i));

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
    trendTraces[chart].append(static_cast<double>(Clock::now().toMSecsSinceEpoch()), value);
    refitTrendChart(chart);
}

void MainGUI::scaleCharts()
{
    for (TrendTrace& trace : trendTraces)
        trace.trim();
}

void MainGUI::refitTrendChart(int chart)
{
    scaleCharts();
    trendTraces[chart].fitToPoints();
    for (int i = 0; i < TrendChartCount; ++i)
        drawTrendChart(i);
}

bool MainGUI::trendChartOnScreen(int chart) const
{
    const QChartView* view = trendChartViews[chart];
    return view && view->isVisible() && !view->window()->isMinimized();
}

void MainGUI::drawTrendChart(int chart)
{
    TrendTrace& trace = trendTraces[chart];
    if (!trace.stale || !trendSeries[chart] || !trendChartOnScreen(chart))
        return;
    QLineSeries* const series = trendSeries[chart];
    // Every range change and every change of points makes the chart rebuild the whole line and
    // its outline at once. With the series emptied first, the two range changes find nothing to
    // rebuild and only the final replace does that work: once per chart and record.
    if (series->count() > 0)
        series->clear();
    trendXAxes[chart]->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(trace.timeMin)),
                                QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(trace.timeMax)));
    if (trace.valueRangeSet)
        trendYAxes[chart]->setRange(trace.valueMin, trace.valueMax);
    series->replace(trace.points);
    trace.stale = false;
}
