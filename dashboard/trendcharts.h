#pragma once

// Rules of the trend charts that need no window.

#include <QPair>

// Points kept per trend series; the oldest go first.
constexpr int kTrendPointCap = 5760;

// The value-axis range around the smallest and largest value: 2 % of each end's magnitude beyond
// the data. A range that would be empty (all values 0) becomes -1 to 1 so the axis can be drawn.
QPair<double, double> trendValueRange(double lowest, double highest);
