#pragma once

// Rules of the trend charts that need no window.

#include <QPair>
#include <QPointF>
#include <QVector>

// Points kept per trend series; the oldest go first.
constexpr int kTrendPointCap = 5760;

// The value-axis range around the smallest and largest value: 2 % of each end's magnitude beyond
// the data. A range that would be empty (all values 0) becomes -1 to 1 so the axis can be drawn.
QPair<double, double> trendValueRange(double lowest, double highest);

// What one trend chart shows: its points (x in milliseconds since the epoch) and the ranges of
// its two axes. Each record changes this; the chart on screen is brought up to it in one step,
// and a chart that is not on screen only when it is shown again.
struct TrendTrace {
    QVector<QPointF> points;
    double timeMin = 0; // milliseconds since the epoch
    double timeMax = 0;
    bool valueRangeSet = false; // the value axis keeps its own range until the first point
    double valueMin = 0;
    double valueMax = 0;
    bool stale = false; // the chart does not show this yet

    // Appends a point; the time range then ends at it.
    void append(double msecs, double value);
    // Drops the oldest points beyond the cap; the ranges stay.
    void trim();
    // Starts the time range at the first point and fits the value range to all points.
    void fitToPoints();
    // Drops every point; the ranges stay.
    void clear();
};
