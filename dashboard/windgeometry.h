#pragma once

// Geometry of the wind picture: bearings (0 up, clockwise on screen) around the compass centre,
// the arrow heads of the wind arrow and the runway marker, and the rotated runway strip.

#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QRect>

namespace WindGeometry
{

// Centre of the compass picture in scene units (the scene is 270 x 240).
constexpr double kCentreX = 134;
constexpr double kCentreY = 124;
constexpr double kShaftRadius = 99;      // end of the wind arrow's line
constexpr double kArrowTipRadius = 108;  // tip of the wind arrow's head
constexpr double kMarkerTipRadius = 102; // tip of the runway heading marker
constexpr double kHeadSide = 11;         // length of a head's two sides
constexpr double kHeadHalfAngle = 30;    // degrees either side of the bearing

// The point at `radius` on `bearing` degrees around (cx, cy).
QPointF bearingPoint(double bearing, double radius, double cx = kCentreX, double cy = kCentreY);
// The triangle tip, wing, wing, tip of a head pointing away from the centre along `bearing`.
QPolygonF arrowHead(const QPointF& tip, double bearing);
// The runway strip's rectangle before rotation: corners left 145, top 18, right 123, bottom 224.
QRect runwayRectangle();
// The strip turned by `heading` degrees about the rectangle's centre, corners on whole units.
QPolygon runwayStrip(const QRect& rect, double heading);

} // namespace WindGeometry
