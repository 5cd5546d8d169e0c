// Draws the application's artwork into the resources folder: flat icons that read on the dark
// theme, the two compass backgrounds of the dashboard, the combo-box, spin-box and scroll-bar
// arrows, the multi-size window icon and the busy animation.
//
//   vd-drawresources <resources folder>
//
// The output is committed; run this again only when the artwork changes.

#include "dashboard/windgeometry.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QVector>
#include <QtMath>

#include <cmath>
#include <cstdio>
#include <functional>

namespace
{

const QColor kIcon(0xCB, 0xD2, 0xD9);   // menu icons on the dark menu column
const QColor kGrey(0x9A, 0xA5, 0xB1);   // "off" states of the dashboard
const QColor kAccent(0x2C, 0xB1, 0xBC); // brand teal
const QColor kGreen(0x3E, 0xBD, 0x93);
const QColor kRed(0xE1, 0x2D, 0x39);
const QColor kYellow(0xF7, 0xC9, 0x48);
const QColor kWhite(0xF5, 0xF7, 0xFA);
const QColor kTeal(0x43, 0xA7, 0xA2);    // the style sheets' teal (checked menu button)
const QColor kWarning(0xEE, 0x9C, 0x37); // the dark sheet's warning colour
const QColor kField(0x1F, 0x29, 0x33);   // fields and buttons of the dark sheet
const QColor kFrame(0x3E, 0x4C, 0x59);   // frames of the dark sheet
const QColor kInactive(0x61, 0x6E, 0x7C);

QString g_outDir;
bool g_ok = true;

using Painter = std::function<void(QPainter&)>;

// Renders with the painter scaled so that `draw` works in a design box of designW x designH.
QImage render(int w, int h, double designW, double designH, const Painter& draw)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(w / designW, h / designH);
    draw(p);
    p.end();
    return img;
}

void save(const QImage& img, const QString& name)
{
    const QString path = g_outDir + QLatin1Char('/') + name;
    // Maximum zlib effort: the flat artwork compresses to a few kilobytes.
    if (!img.save(path, "PNG", 0)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        g_ok = false;
    }
}

QPen strokePen(const QColor& c, double width)
{
    QPen pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// ---- menu icons, drawn in a 51 x 51 box -------------------------------------------------------

void drawDashboard(QPainter& p)
{
    p.setPen(strokePen(kIcon, 3.5));
    p.setBrush(Qt::NoBrush);
    const QRectF dial(7.5, 10, 36, 36);
    p.drawArc(dial, -30 * 16, 240 * 16);
    for (int a : {210, 150, 90, 30, -30}) {
        const double r = qDegreesToRadians(double(a));
        const QPointF c = dial.center();
        p.drawLine(c + QPointF(std::cos(r) * 12, -std::sin(r) * 12),
                   c + QPointF(std::cos(r) * 14.5, -std::sin(r) * 14.5));
    }
    p.setPen(strokePen(kAccent, 3.5));
    const double n = qDegreesToRadians(55.0);
    p.drawLine(dial.center(), dial.center() + QPointF(std::cos(n) * 11, -std::sin(n) * 11));
    p.setPen(Qt::NoPen);
    p.setBrush(kIcon);
    p.drawEllipse(dial.center(), 3.5, 3.5);
}

void drawTable(QPainter& p)
{
    p.setPen(strokePen(kIcon, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(7, 9, 37, 33), 4, 4);
    p.setBrush(kIcon);
    p.drawRoundedRect(QRectF(7, 9, 37, 8), 3, 3);
    p.drawLine(QPointF(7, 26), QPointF(44, 26));
    p.drawLine(QPointF(7, 34), QPointF(44, 34));
    p.drawLine(QPointF(20, 17), QPointF(20, 42));
}

void drawTrends(QPainter& p)
{
    p.setPen(strokePen(kIcon, 3.5));
    p.drawLine(QPointF(8, 8), QPointF(8, 43));
    p.drawLine(QPointF(8, 43), QPointF(44, 43));
    p.setPen(strokePen(kAccent, 3.5));
    const QPointF pts[] = {{14, 34}, {22, 24}, {29, 29}, {40, 13}};
    p.drawPolyline(pts, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(kIcon);
    for (const QPointF& pt : pts)
        p.drawEllipse(pt, 2.8, 2.8);
}

void drawCommand(QPainter& p)
{
    p.setPen(strokePen(kIcon, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5, 9, 41, 33), 4, 4);
    p.setPen(strokePen(kAccent, 3.5));
    const QPointF chevron[] = {{13, 19}, {20, 25.5}, {13, 32}};
    p.drawPolyline(chevron, 3);
    p.setPen(strokePen(kIcon, 3.5));
    p.drawLine(QPointF(25, 33), QPointF(37, 33));
}

void drawRawData(QPainter& p)
{
    // Two lines of a serial bit stream.
    p.setPen(strokePen(kIcon, 3));
    p.setBrush(Qt::NoBrush);
    const QPointF upper[] = {{5, 21},  {12, 21}, {12, 11}, {19, 11}, {19, 21},
                             {26, 21}, {26, 11}, {38, 11}, {38, 21}, {46, 21}};
    p.drawPolyline(upper, 10);
    p.setPen(strokePen(kAccent, 3));
    const QPointF lower[] = {{5, 40},  {10, 40}, {10, 30}, {22, 30}, {22, 40},
                             {29, 40}, {29, 30}, {35, 30}, {35, 40}, {46, 40}};
    p.drawPolyline(lower, 10);
}

void drawImages(QPainter& p)
{
    p.setPen(strokePen(kIcon, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5, 9, 41, 33), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(34, 18.5), 4, 4);
    p.setBrush(kIcon);
    QPainterPath hills;
    hills.moveTo(8, 39);
    hills.lineTo(19, 24);
    hills.lineTo(27, 33);
    hills.lineTo(32, 28);
    hills.lineTo(43, 39);
    hills.closeSubpath();
    p.drawPath(hills);
}

void drawSettings(QPainter& p)
{
    const QPointF c(25.5, 25.5);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        // Each tooth: rise, top, fall, root.
        const double a = (i / double(teeth * 4)) * 2 * M_PI;
        const double r = (i % 4 == 1 || i % 4 == 2) ? 20.5 : 15.0;
        const QPointF pt = c + QPointF(std::cos(a) * r, std::sin(a) * r);
        if (i == 0)
            gear.moveTo(pt);
        else
            gear.lineTo(pt);
    }
    gear.closeSubpath();
    gear.addEllipse(c, 6.5, 6.5);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(strokePen(kIcon, 1.5));
    p.setBrush(kIcon);
    p.drawPath(gear);
}

void drawBell(QPainter& p)
{
    QPainterPath bell;
    bell.moveTo(10, 37);
    bell.cubicTo(14, 33, 14, 28, 14, 23);
    bell.cubicTo(14, 15, 19, 10, 25.5, 10);
    bell.cubicTo(32, 10, 37, 15, 37, 23);
    bell.cubicTo(37, 28, 37, 33, 41, 37);
    bell.closeSubpath();
    p.setPen(strokePen(kIcon, 3));
    p.setBrush(kIcon);
    p.drawPath(bell);
    p.drawLine(QPointF(25.5, 6), QPointF(25.5, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(25.5, 42), 4.5, 4.5);
}

// ---- status pictures -------------------------------------------------------------------------

void drawStatus(QPainter& p) // 200 x 200
{
    p.setPen(strokePen(kGrey, 12));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(100, 100), 86, 86);
    const QPointF pulse[] = {{34, 104}, {70, 104},  {84, 68},  {104, 142},
                             {120, 86}, {130, 104}, {166, 104}};
    p.setPen(strokePen(kGrey, 13));
    p.drawPolyline(pulse, 7);
}

// The battery with `bars` of its three charge bars filled in `barColour`, bottom up.
Painter battery(int bars, const QColor& barColour) // 29 x 52
{
    return [bars, barColour](QPainter& p) {
        p.setPen(strokePen(kGrey, 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 7, 23, 42), 3, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(kGrey);
        p.drawRoundedRect(QRectF(9.5, 2, 10, 5), 1.5, 1.5);
        p.setBrush(barColour);
        for (int i = 0; i < bars; ++i)
            p.drawRoundedRect(QRectF(7.5, 35.75 - i * 12.25, 14, 9), 1.5, 1.5);
    };
}

// The bolt as an outline ("off") or filled ("on").
Painter lightning(const QColor& colour, bool lit) // 29 x 52
{
    return [colour, lit](QPainter& p) {
        const QPointF bolt[] = {{18, 2}, {4, 29}, {13, 29}, {10, 50}, {25, 20}, {16, 20}, {21, 2}};
        p.setPen(strokePen(colour, 2.2));
        p.setBrush(lit ? QBrush(colour) : QBrush(Qt::NoBrush));
        p.drawPolygon(bolt, 7);
    };
}

void drawRainOff(QPainter& p) // 53 x 48
{
    auto disc = [](double x, double y, double r) {
        QPainterPath d;
        d.addEllipse(QPointF(x, y), r, r);
        return d;
    };
    QPainterPath base;
    base.addRoundedRect(QRectF(8, 18, 41, 12), 6, 6);
    const QPainterPath cloud =
        base.united(disc(18, 19, 10)).united(disc(30, 14, 12)).united(disc(40, 21, 9));
    p.setPen(strokePen(kGrey, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cloud);
    for (double x : {17.0, 27.0, 37.0})
        p.drawLine(QPointF(x, 36), QPointF(x - 3, 44));
}

Painter camera(const QColor& colour) // 53 x 42
{
    return [colour](QPainter& p) {
        p.setPen(strokePen(colour, 2.5));
        p.setBrush(Qt::NoBrush);
        QPainterPath body;
        body.addRoundedRect(QRectF(4, 10, 45, 28), 4, 4);
        QPainterPath bump;
        bump.addRoundedRect(QRectF(17, 4, 19, 9), 2, 2);
        p.drawPath(body.united(bump));
        p.drawEllipse(QPointF(26.5, 24), 8.5, 8.5);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QPointF(42, 16), 2, 2);
    };
}

void drawTamperingOff(QPainter& p) // 53 x 46
{
    const QPointF tri[] = {{26.5, 3}, {50, 43}, {3, 43}};
    p.setPen(strokePen(kGrey, 2.8));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(tri, 3);
    p.setPen(strokePen(kGrey, 4));
    p.drawLine(QPointF(26.5, 16), QPointF(26.5, 29));
    p.drawPoint(QPointF(26.5, 36));
}

// The same sign, filled, with the mark cut out in white so it stands out among the grey icons.
void drawTamperingOn(QPainter& p) // 53 x 46
{
    const QPointF tri[] = {{26.5, 3}, {50, 43}, {3, 43}};
    p.setPen(strokePen(kRed, 2.8));
    p.setBrush(kRed);
    p.drawPolygon(tri, 3);
    p.setPen(strokePen(kWhite, 4));
    p.drawLine(QPointF(26.5, 16), QPointF(26.5, 29));
    p.drawPoint(QPointF(26.5, 36));
}

// ---- compass backgrounds ---------------------------------------------------------------------

// The point `radius` away from `centre` on `bearing` degrees (0 up, clockwise).
QPointF onBearing(const QPointF& centre, double bearing, double radius)
{
    const double b = qDegreesToRadians(bearing);
    return centre + QPointF(std::sin(b) * radius, -std::cos(b) * radius);
}

void drawLetter(QPainter& p, const QString& family, int pixelSize, const QPointF& centre,
                const QString& text)
{
    QFont font(family);
    font.setBold(true);
    font.setPixelSize(pixelSize);
    p.setFont(font);
    p.drawText(QRectF(centre.x() - 15, centre.y() - 15, 30, 30), Qt::AlignCenter, text);
}

// The wind rose behind the wind picture, 270 x 240. The view centres both this picture and the
// 270 x 240 wind scene, so a pixel here is a scene unit: the rose is centred where the wind arrow
// starts, the arrow's head reaches into the tick band and the runway marker sits just inside the
// ring.
void drawWindRose(QPainter& p, const QString& family)
{
    using namespace WindGeometry;
    const QPointF c(kCentreX, kCentreY);
    const double ring = 104;
    p.setPen(Qt::NoPen);
    p.setBrush(kField);
    p.drawEllipse(c, ring, ring);
    p.setPen(strokePen(kInactive, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, ring, ring);
    // Ticks outwards every 10 degrees, longer every 30, longest and brightest at N, E, S and W.
    for (int bearing = 0; bearing < 360; bearing += 10) {
        double length = 4;
        p.setPen(strokePen(kInactive, 1.2));
        if (bearing % 90 == 0) {
            length = 9;
            p.setPen(strokePen(kWhite, 2.2));
        } else if (bearing % 30 == 0) {
            length = 7;
            p.setPen(strokePen(kGrey, 2));
        }
        p.drawLine(onBearing(c, bearing, ring), onBearing(c, bearing, ring + length));
    }
    const struct {
        int bearing;
        const char* letter;
    } cardinals[] = {{0, "N"}, {90, "E"}, {180, "S"}, {270, "W"}};
    for (const auto& point : cardinals) {
        p.setPen(point.bearing == 0 ? kTeal : kGrey);
        drawLetter(p, family, 15, onBearing(c, point.bearing, ring - 16),
                   QString::fromLatin1(point.letter));
    }
}

// Radii of the range rings in the lightning scene's units, for 5, 10, 25 and 50 NM; a strike's
// dot is placed on them by distance.
const double kRangeRings[] = {47.3, 82.9, 111.2, 130};
const char* const kRangeLabels[] = {"5", "10", "25", "50"};

// The lightning compass behind the strike dots, 300 x 300: as tall as the dashboard's view, whose
// top it is pinned to. The view puts the scene origin at (149, 148) of this picture, and each
// strike's 7 x 7 dot hangs from its point by its top-left corner, so the compass is centred 3.5
// further right and down: the dots' centres then lie on the rings at their bearing.
void drawLightningCompass(QPainter& p, const QString& family)
{
    const QPointF c(152.5, 151.5);
    const double outer = kRangeRings[3];
    p.setPen(Qt::NoPen);
    p.setBrush(kField);
    p.drawEllipse(c, outer, outer);
    p.setBrush(Qt::NoBrush);
    p.setPen(strokePen(kFrame, 1));
    for (int bearing = 0; bearing < 360; bearing += 30)
        p.drawLine(c, onBearing(c, bearing, outer));
    for (double ring : kRangeRings) {
        p.setPen(strokePen(ring == outer ? kInactive : kFrame, ring == outer ? 2 : 1.2));
        p.drawEllipse(c, ring, ring);
    }
    p.setPen(kGrey);
    for (int i = 0; i < 4; ++i) {
        QFont font(family);
        font.setBold(true);
        font.setPixelSize(9);
        p.setFont(font);
        // Just inside each ring, right of the north line.
        p.drawText(QRectF(c.x() + 3, c.y() - kRangeRings[i] + 1.5, 20, 10),
                   Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(kRangeLabels[i]));
    }
    const struct {
        int bearing;
        const char* letter;
    } cardinals[] = {{0, "N"}, {90, "E"}, {180, "S"}, {270, "W"}};
    for (const auto& point : cardinals) {
        p.setPen(point.bearing == 0 ? kTeal : kGrey);
        drawLetter(p, family, 12, onBearing(c, point.bearing, outer + 11),
                   QString::fromLatin1(point.letter));
    }
}

// The dark sheet's arrows: a white chevron through three points.
void drawChevron(QPainter& p, const QPointF (&points)[3])
{
    p.setPen(strokePen(kWhite, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(points, 3);
}

// The drop-down arrow of the dark sheet's combo boxes, 12 x 8.
void drawDropDownArrow(QPainter& p)
{
    drawChevron(p, {{2, 2}, {6, 6}, {10, 2}});
}

// The up arrow of the dark sheet's spin boxes (their down arrow is the drop-down one), 12 x 8.
void drawUpArrow(QPainter& p)
{
    drawChevron(p, {{2, 6}, {6, 2}, {10, 6}});
}

// The arrows of the dark sheet's horizontal scroll bars (its vertical ones take the up and the
// drop-down arrow), 8 x 12.
void drawLeftArrow(QPainter& p)
{
    drawChevron(p, {{6, 2}, {2, 6}, {6, 10}});
}

void drawRightArrow(QPainter& p)
{
    drawChevron(p, {{2, 2}, {6, 6}, {2, 10}});
}

// ---- lights, marks ---------------------------------------------------------------------------

Painter light(const QColor& colour) // 100 x 100 design box
{
    return [colour](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour.darker(135));
        p.drawEllipse(QPointF(50, 50), 46, 46);
        p.setBrush(colour);
        p.drawEllipse(QPointF(50, 50), 39, 39);
        QColor shine = Qt::white;
        shine.setAlpha(90);
        p.setBrush(shine);
        p.drawEllipse(QPointF(38, 36), 12, 9);
    };
}

void drawUpdated(QPainter& p) // 50 x 50
{
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(25, 25), 22, 22);
    p.setPen(strokePen(kWhite, 5));
    const QPointF tick[] = {{14, 26}, {22, 33}, {36, 17}};
    p.drawPolyline(tick, 3);
}

void drawCheck(QPainter& p) // 709 x 706
{
    p.setPen(strokePen(kGreen, 110));
    const QPointF tick[] = {{95, 380}, {270, 560}, {615, 150}};
    p.drawPolyline(tick, 3);
}

void drawCross(QPainter& p) // 709 x 706
{
    p.setPen(strokePen(kRed, 110));
    p.drawLine(QPointF(140, 140), QPointF(569, 566));
    p.drawLine(QPointF(569, 140), QPointF(140, 566));
}

void drawFolder(QPainter& p) // 32 x 32
{
    QPainterPath folder;
    folder.moveTo(3, 8);
    folder.lineTo(12, 8);
    folder.lineTo(15, 11);
    folder.lineTo(29, 11);
    folder.lineTo(29, 26);
    folder.lineTo(3, 26);
    folder.closeSubpath();
    p.setPen(strokePen(kYellow.darker(130), 1.5));
    p.setBrush(kYellow);
    p.drawPath(folder);
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow.lighter(115));
    p.drawRect(QRectF(4, 14, 24, 11));
}

// Window icon: a teal tile with a sun and wind streaks.
void drawAppIcon(QPainter& p) // 64 x 64
{
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 13, 13);
    p.setBrush(kWhite);
    p.drawEllipse(QPointF(40, 22), 9, 9);
    p.setPen(strokePen(kWhite, 5.5));
    p.drawLine(QPointF(12, 36), QPointF(42, 36));
    p.drawLine(QPointF(20, 47), QPointF(52, 47));
}

void drawLogo(QPainter& p, const QString& family) // 150 x 50
{
    // Mark: a ring with two wind streaks, then the word mark.
    p.setPen(strokePen(kAccent, 3.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(20, 25), 15, 15);
    p.setPen(strokePen(kWhite, 3.2));
    p.drawLine(QPointF(11, 22), QPointF(28, 22));
    p.drawLine(QPointF(15, 30), QPointF(32, 30));

    QFont word(family);
    word.setBold(true);
    word.setPixelSize(19);
    p.setFont(word);
    p.setPen(kWhite);
    p.drawText(QRectF(42, 4, 108, 28), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VANTORA"));
    QFont sub(family);
    sub.setBold(true);
    sub.setPixelSize(10);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 4.2);
    p.setFont(sub);
    p.setPen(kAccent);
    p.drawText(QRectF(43, 30, 107, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("DIRECT"));
}

// ---- ICO -------------------------------------------------------------------------------------

// Small sizes as 32-bit DIBs (every reader knows them), 256 as PNG (the usual form, and small).
QByteArray icoData(const QVector<QImage>& images)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint16(0) << quint16(1) << quint16(images.size());

    QVector<QByteArray> blobs;
    for (const QImage& src : images) {
        const QImage img = src.convertToFormat(QImage::Format_ARGB32);
        QByteArray blob;
        if (img.width() >= 256) {
            QBuffer buf(&blob);
            buf.open(QIODevice::WriteOnly);
            img.save(&buf, "PNG", 0);
        } else {
            QDataStream b(&blob, QIODevice::WriteOnly);
            b.setByteOrder(QDataStream::LittleEndian);
            const int w = img.width(), h = img.height();
            const int maskStride = ((w + 31) / 32) * 4;
            b << quint32(40) << qint32(w) << qint32(h * 2) << quint16(1) << quint16(32)
              << quint32(0) << quint32(w * h * 4 + maskStride * h) << qint32(0) << qint32(0)
              << quint32(0) << quint32(0);
            for (int y = h - 1; y >= 0; --y) {
                const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
                for (int x = 0; x < w; ++x)
                    b << quint8(qBlue(line[x])) << quint8(qGreen(line[x])) << quint8(qRed(line[x]))
                      << quint8(qAlpha(line[x]));
            }
            // The AND mask stays clear: the alpha channel carries the shape.
            for (int i = 0; i < maskStride * h; ++i)
                b << quint8(0);
        }
        blobs.append(blob);
    }

    quint32 offset = 6 + 16 * images.size();
    for (int i = 0; i < images.size(); ++i) {
        const int w = images[i].width(), h = images[i].height();
        s << quint8(w >= 256 ? 0 : w) << quint8(h >= 256 ? 0 : h) << quint8(0) << quint8(0)
          << quint16(1) << quint16(32) << quint32(blobs[i].size()) << offset;
        offset += blobs[i].size();
    }
    for (const QByteArray& blob : blobs)
        s.writeRawData(blob.constData(), blob.size());
    return out;
}

void writeFile(const QString& name, const QByteArray& data)
{
    QFile f(g_outDir + QLatin1Char('/') + name);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        g_ok = false;
    }
}

void saveIco(const QString& name, const Painter& draw, double design, const QVector<int>& sizes)
{
    QVector<QImage> images;
    for (int size : sizes)
        images.append(render(size, size, design, design, draw));
    writeFile(name, icoData(images));
}

// ---- GIF (busy animation) --------------------------------------------------------------------

// Variable-length LZW code writer of the GIF format.
class LzwWriter
{
public:
    explicit LzwWriter(QByteArray& out) : m_out(out) {}
    void put(int code, int bits)
    {
        m_acc |= quint32(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_out.append(char(m_acc & 0xFF));
            m_acc >>= 8;
            m_count -= 8;
        }
    }
    void flush()
    {
        if (m_count > 0)
            m_out.append(char(m_acc & 0xFF));
        m_acc = 0;
        m_count = 0;
    }

private:
    QByteArray& m_out;
    quint32 m_acc = 0;
    int m_count = 0;
};

QByteArray lzwEncode(const QByteArray& pixels, int minCodeSize)
{
    QByteArray codes;
    LzwWriter w(codes);
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    QHash<quint32, int> dict; // (prefix code << 8 | byte) -> code
    int next = end + 1;
    int bits = minCodeSize + 1;
    w.put(clear, bits);
    int prefix = -1;
    for (char ch : pixels) {
        const quint8 c = quint8(ch);
        if (prefix < 0) {
            prefix = c;
            continue;
        }
        const quint32 key = (quint32(prefix) << 8) | c;
        const auto it = dict.constFind(key);
        if (it != dict.constEnd()) {
            prefix = it.value();
            continue;
        }
        w.put(prefix, bits);
        if (next < 4096) {
            dict.insert(key, next++);
            if (next > (1 << bits) && bits < 12)
                ++bits;
        } else {
            w.put(clear, bits);
            dict.clear();
            next = end + 1;
            bits = minCodeSize + 1;
        }
        prefix = c;
    }
    if (prefix >= 0)
        w.put(prefix, bits);
    w.put(end, bits);
    w.flush();

    QByteArray blocks;
    for (int i = 0; i < codes.size(); i += 255) {
        const QByteArray chunk = codes.mid(i, 255);
        blocks.append(char(chunk.size()));
        blocks.append(chunk);
    }
    blocks.append(char(0));
    return blocks;
}

// Twelve dots on a ring; the bright one walks round, a frame every 80 ms, looping.
QByteArray loadingGif()
{
    const int size = 48, frames = 12, levels = 15;
    QVector<QRgb> palette{qRgba(0, 0, 0, 0)};
    for (int i = 0; i < levels; ++i) {
        const double t = i / double(levels - 1);
        palette.append(qRgb(int(0x3E + t * (kAccent.red() - 0x3E)),
                            int(0x4C + t * (kAccent.green() - 0x4C)),
                            int(0x59 + t * (kAccent.blue() - 0x59))));
    }
    palette.resize(16);

    QByteArray gif("GIF89a");
    auto u16 = [&gif](int v) {
        gif.append(char(v & 0xFF));
        gif.append(char((v >> 8) & 0xFF));
    };
    u16(size);
    u16(size);
    gif.append(char(0xF3)); // global colour table, 16 entries
    gif.append(char(0));
    gif.append(char(0));
    for (QRgb c : palette) {
        gif.append(char(qRed(c)));
        gif.append(char(qGreen(c)));
        gif.append(char(qBlue(c)));
    }
    gif.append(QByteArray::fromHex("21FF0B4E45545343415045322E300301000000")); // loop forever

    for (int f = 0; f < frames; ++f) {
        QByteArray pixels(size * size, char(0));
        for (int d = 0; d < frames; ++d) {
            const int age = (f - d + frames) % frames;
            const int level = qMax(1, levels - 1 - age * 2);
            const double a = d * 2 * M_PI / frames - M_PI / 2;
            const QPointF c(size / 2.0 + std::cos(a) * 17, size / 2.0 + std::sin(a) * 17);
            const double r = 3.2;
            for (int y = int(c.y() - r); y <= int(c.y() + r) + 1; ++y)
                for (int x = int(c.x() - r); x <= int(c.x() + r) + 1; ++x)
                    if (x >= 0 && y >= 0 && x < size && y < size &&
                        std::hypot(x + 0.5 - c.x(), y + 0.5 - c.y()) <= r)
                        pixels[y * size + x] = char(level);
        }
        gif.append(QByteArray::fromHex("21F904")); // graphic control: delay 8/100 s, transparent 0
        gif.append(char(0x09));
        u16(8);
        gif.append(char(0));
        gif.append(char(0));
        gif.append(char(0x2C));
        u16(0);
        u16(0);
        u16(size);
        u16(size);
        gif.append(char(0));
        gif.append(char(4)); // LZW minimum code size
        gif.append(lzwEncode(pixels, 4));
    }
    gif.append(char(0x3B));
    return gif;
}

// ---- WAV (alert sound) -----------------------------------------------------------------------

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    g_outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();

    const int fontId = QFontDatabase::addApplicationFont(g_outDir + "/fonts/Mulish-Bold.ttf");
    if (fontId < 0) {
        std::fprintf(stderr, "cannot load %s/fonts/Mulish-Bold.ttf\n", qPrintable(g_outDir));
        return 1;
    }
    const QString family = QFontDatabase::applicationFontFamilies(fontId).value(0);

    const struct {
        const char* name;
        void (*draw)(QPainter&);
    } menuIcons[] = {
        {"icon-dashboard.png", drawDashboard}, {"icon-table.png", drawTable},
        {"icon-trends.png", drawTrends},       {"icon-command.png", drawCommand},
        {"icon-rawdata.png", drawRawData},     {"icon-images.png", drawImages},
        {"icon-settings.png", drawSettings},   {"notifications_icon.png", drawBell},
    };
    for (const auto& icon : menuIcons)
        save(render(51, 51, 51, 51, icon.draw), QString::fromLatin1(icon.name));

    save(render(200, 200, 200, 200, drawStatus), "status_icon_grey_transparent.png");
    save(render(29, 52, 29, 52, battery(0, kGrey)), "battery-none-grey.png");
    save(render(29, 52, 29, 52, battery(3, kGrey)), "battery-good-grey.png");
    save(render(29, 52, 29, 52, battery(2, kGrey)), "battery-ok-grey.png");
    save(render(29, 52, 29, 52, battery(1, kWarning)), "battery-low-grey.png");
    save(render(29, 52, 29, 52, lightning(kGrey, false)), "lightning-off-grey.png");
    save(render(29, 52, 29, 52, lightning(kYellow, true)), "lightning-on.png");
    save(render(53, 48, 53, 48, drawRainOff), "rain-off-grey.png");
    save(render(53, 42, 53, 42, camera(kGrey)), "camera-off-grey.png");
    save(render(53, 42, 53, 42, camera(kTeal)), "camera-on.png");
    save(render(53, 46, 53, 46, drawTamperingOff), "tampering-off-grey.png");
    save(render(53, 46, 53, 46, drawTamperingOn), "tampering-on.png");

    save(render(270, 240, 270, 240, [&family](QPainter& p) { drawWindRose(p, family); }),
         "windrosecompass.png");
    save(render(300, 300, 300, 300, [&family](QPainter& p) { drawLightningCompass(p, family); }),
         "lightningcompass7.png");
    save(render(12, 8, 12, 8, drawDropDownArrow), "dropdown-arrow-white.png");
    save(render(12, 8, 12, 8, drawUpArrow), "up-arrow-white.png");
    save(render(8, 12, 8, 12, drawLeftArrow), "left-arrow-white.png");
    save(render(8, 12, 8, 12, drawRightArrow), "right-arrow-white.png");

    save(render(1024, 1024, 100, 100, light(kGreen)), "greenlight_icon.png");
    save(render(75, 75, 100, 100, light(kGreen)), "greenlight_icon_small.png");
    save(render(75, 75, 100, 100, light(kRed)), "redlight_icon_small.png");
    save(render(75, 75, 100, 100, light(kYellow)), "yellowlight_icon_small.png");
    save(render(75, 75, 100, 100, light(kGrey)), "graylight_icon_small.png");
    save(render(50, 50, 50, 50, drawUpdated), "icon_updated.png");
    save(render(709, 706, 709, 706, drawCheck), "greencheckmark.png");
    save(render(709, 706, 709, 706, drawCross), "redcheckmark.png");

    save(render(150, 50, 150, 50, [&family](QPainter& p) { drawLogo(p, family); }),
         "Vantora Logo 150x50.png");
    // The dialogs' large logo: the same drawing, scaled evenly (400 / 150 = 138 / 51.75).
    save(render(400, 138, 150, 51.75, [&family](QPainter& p) { drawLogo(p, family); }),
         "Vantora Logo White 400x138.png");
    saveIco("norvalis.ico", drawAppIcon, 64, {16, 24, 32, 48, 256});
    saveIco("open_icon.ico", drawFolder, 32, {16, 32});

    writeFile("loading.gif", loadingGif());
    return g_ok ? 0 : 1;
}
