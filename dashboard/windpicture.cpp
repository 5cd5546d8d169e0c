// The wind picture of the dashboard: compass scene, wind arrow and runway.

#include "app/maingui.h"

#include "dashboard/recorddisplay.h"
#include "dashboard/windgeometry.h"
#include "forms/maingui_ui.h"
#include "link/constanttables.h"

#include <QGraphicsView>
#include <QTransform>
#include <cmath>

namespace WindGeometry
{

namespace
{
constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;
}

QPointF bearingPoint(double bearing, double radius, double cx, double cy)
{
    const double b = bearing * kRadiansPerDegree;
    return {cx + radius * std::sin(b), cy - radius * std::cos(b)};
}

QPolygonF arrowHead(const QPointF& tip, double bearing)
{
    const double left = (bearing + kHeadHalfAngle) * kRadiansPerDegree;
    const double right = (bearing - kHeadHalfAngle) * kRadiansPerDegree;
    const QPointF wing1(tip.x() - kHeadSide * std::sin(left), tip.y() + kHeadSide * std::cos(left));
    const QPointF wing2(tip.x() - kHeadSide * std::sin(right),
                        tip.y() + kHeadSide * std::cos(right));
    return QPolygonF({tip, wing1, wing2, tip});
}

QRect runwayRectangle()
{
    QRect rect;
    rect.setCoords(145, 18, 123, 224);
    return rect;
}

QPolygon runwayStrip(const QRect& rect, double heading)
{
    const QPoint centre = rect.center();
    const QTransform turn = QTransform()
                                .translate(centre.x(), centre.y())
                                .rotate(heading)
                                .translate(-centre.x(), -centre.y());
    return turn.mapToPolygon(rect);
}

} // namespace WindGeometry

namespace
{

const QColor kStripColour(255, 239, 189, 128);
const QColor kMarkerColour(226, 135, 0);

} // namespace

void MainGUI::drawBaseWindPicture()
{
    windScene.clear();
    ui->graphicsViewWind->setBackgroundBrush(brushTransparent);
    ui->graphicsViewWind->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    ui->graphicsViewWind->setScene(&windScene);
}

void MainGUI::drawGustArrow(double direction)
{
    using namespace WindGeometry;
    windPen.setWidthF(5.0);
    windPen.setColor(Qt::green);
    windScene.addLine(QLineF(QPointF(kCentreX, kCentreY), bearingPoint(direction, kShaftRadius)),
                      windPen);
    windPen.setWidthF(0);
    windScene.addPolygon(arrowHead(bearingPoint(direction, kArrowTipRadius), direction), windPen,
                         QBrush(Qt::green));
}

void MainGUI::drawRunwayPicture(QString direction, QString)
{
    using namespace WindGeometry;
    ui->graphicsViewWind->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const double windDirection = RecordDisplay::number(direction);
    const QPolygonF marker =
        arrowHead(bearingPoint(runwayDirection, kMarkerTipRadius), runwayDirection);
    windPen.setWidthF(0);
    windPen.setColor(kStripColour);
    runwayRect = runwayRectangle();
    // Stacking follows the order: strip, marker above it, wind arrow on top.
    windScene.addPolygon(QPolygonF(runwayStrip(runwayRect, runwayDirection)), windPen,
                         QBrush(kStripColour));
    windScene.addPolygon(marker, windPen, QBrush(kMarkerColour));
    if (windDirection > 0)
        drawGustArrow(windDirection);
}

void MainGUI::drawRunway_rotate(double angle)
{
    runwayRect = WindGeometry::runwayRectangle();
    windScene.addPolygon(QPolygonF(WindGeometry::runwayStrip(runwayRect, angle)), windPen,
                         QBrush(kStripColour));
}
