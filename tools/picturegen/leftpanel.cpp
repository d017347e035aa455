// The left instrument panel: speed scale and readout, trip and odometer
// displays, the arrow pad and the row of trip buttons. The window shows it
// from image column 119 on, so the arrow pad at the far left is painted for
// completeness but never seen.
#include "panels.h"

#include "artkit.h"
#include "sevensegment.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace Panels {

namespace {

using Art::Hue;
using Art::span;

// Green to yellow to red, as a fraction of the way along a scale.
Hue scaleHue(int i, int count)
{
    const double f = double(i) / count;
    return f < 0.6 ? Hue::Green : (f < 0.8 ? Hue::Yellow : Hue::Red);
}

void speedScale(QPainter &p)
{
    const QRectF bar = span(199, 26, 475, 35);
    constexpr int Segments = 31;
    Art::ledBar(p, bar, Segments, 2, Segments, [](int i) { return scaleHue(i, Segments); });

    const QFont numbers = Art::font(Art::Face::Narrow, 9);
    p.setPen(QPen(Art::printGrey(), 1));
    for (int k = 0; k <= 8; ++k) {
        const qreal x = std::round(bar.left() + 2 + k * (bar.width() - 4) / 8) + 0.5;
        p.drawLine(QPointF(x, 37), QPointF(x, 39));
        Art::legend(p, QPointF(x, 45), QString::number(k * 20), numbers, Art::printGrey());
    }
    Art::legendFrom(p, 150, 31, QStringLiteral("SPEED"), Art::font(Art::Face::Sans, 9, true),
                    Art::printWhite());
}

void speedReadout(QPainter &p)
{
    Art::moulding(p, span(322, 52, 483, 121), 6);
    // JPEG keeps one colour sample per two columns: column 432 shares its
    // sample with 433, just right of the readout that covers the digits.
    // Left dark, it keeps a red sliver from bleeding out beside the readout.
    p.save();
    p.setClipRect(span(331, 60, 431, 99));
    SevenSegment::paint(p, span(331, 60, 432, 99), QStringLiteral("000"),
                        {5, 9, QColor(255, 28, 18), QColor(44, 6, 5), true});
    p.restore();

    // The unit is printed on a red back-lit plate beside the last digit.
    Art::backlitKey(p, span(436, 95, 475, 114), Hue::Red, 2);
    Art::legend(p, span(436, 95, 475, 114), QStringLiteral("MPH"),
                Art::font(Art::Face::Sans, 11, true), Art::ink());
}

void tripDisplay(QPainter &p)
{
    const QRectF window = span(189, 86, 253, 102);
    Art::smokedWindow(p, window);
    SevenSegment::paint(p, span(194, 89, 248, 99), QStringLiteral("0847"),
                        {2, 6, QColor(150, 24, 16), QColor(34, 7, 6), false});
    Art::legend(p, QPointF(221, 109), QStringLiteral("MILES"), Art::font(Art::Face::Sans, 8, true),
                Art::printWhite());

    // Trip A / B / reset above the display, and a dimmer key beside it.
    const QFont small = Art::font(Art::Face::Narrow, 8);
    const std::array<const char *, 3> keys{"A", "B", "RST"};
    for (int i = 0; i < 3; ++i) {
        const int x = 193 + i * 21;
        Art::backlitKey(p, span(x, 74, x + 15, 81), Hue::Yellow, 2);
        Art::legend(p, QPointF(x + 8, 68), QString::fromLatin1(keys[i]), small, Art::printGrey());
    }
    Art::backlitKey(p, span(258, 87, 266, 101), Hue::Yellow, 2);
    Art::legend(p, QPointF(262, 78), QStringLiteral("SET"), small, Art::printGrey());
}

// Arrow keys around a hub: pointing up, left, right and down, each marked
// with its compass letter.
void arrowPad(QPainter &p)
{
    struct Arrow
    {
        QRectF body;
        QPointF tip;
        const char *letter;
    };
    const std::array<Arrow, 4> arrows{{
        {span(34, 110, 60, 130), {47.5, 102}, "N"},
        {span(11, 134, 31, 159), {3, 147}, "W"},
        {span(63, 134, 83, 159), {92, 147}, "E"},
        {span(34, 163, 60, 183), {47.5, 192}, "S"},
    }};
    Art::moulding(p, span(0, 99, 95, 194), 14);
    const QFont letters = Art::font(Art::Face::Sans, 10, true);
    for (const Arrow &a : arrows) {
        // A key with one pointed end: the rectangle plus a triangle whose
        // base is the rectangle's side nearest the tip.
        QPolygonF outline;
        const QRectF &b = a.body;
        if (a.tip.y() < b.top())
            outline << b.bottomLeft() << b.topLeft() << a.tip << b.topRight() << b.bottomRight();
        else if (a.tip.y() > b.bottom())
            outline << b.topLeft() << b.bottomLeft() << a.tip << b.bottomRight() << b.topRight();
        else if (a.tip.x() < b.left())
            outline << b.topRight() << b.topLeft() << a.tip << b.bottomLeft() << b.bottomRight();
        else
            outline << b.topLeft() << b.topRight() << a.tip << b.bottomRight() << b.bottomLeft();
        QPainterPath shape;
        shape.addPolygon(outline);
        shape.closeSubpath();
        Art::backlitShape(p, shape, Hue::Yellow);
        Art::legend(p, b.center(), QString::fromLatin1(a.letter), letters, Art::ink());
    }
    // The hub between the arrows.
    QRadialGradient hub(QPointF(45, 144), 9);
    hub.setColorAt(0, QColor(90, 90, 88));
    hub.setColorAt(1, QColor(28, 28, 28));
    p.setBrush(hub);
    p.drawEllipse(QPointF(47.5, 147), 8, 8);
    p.setBrush(Qt::NoBrush);
}

// Four short red level meters, each a column of LED segments.
void levelMeters(QPainter &p)
{
    const std::array<int, 4> levels{7, 10, 5, 8};
    for (int i = 0; i < 4; ++i) {
        const int x = 114 + i * 14;
        Art::ledBar(p, span(x, 135, x + 7, 204), 12, 1, levels[i], [](int) { return Hue::Red; });
    }
    const QFont small = Art::font(Art::Face::Narrow, 8);
    for (int i = 0; i < 4; ++i)
        Art::legend(p, QPointF(118 + i * 14, 212), QString::number(i + 1), small, Art::printGrey());
    Art::legend(p, QPointF(139, 126), QStringLiteral("CYL"), small, Art::printGrey());
}

void pressureGauges(QPainter &p)
{
    const QFont small = Art::font(Art::Face::Narrow, 8);
    const struct
    {
        int top, bottom, lit;
        const char *name;
    } gauges[] = {{150, 158, 9, "OIL PRESS"}, {190, 197, 6, "COOLANT"}};
    for (const auto &g : gauges) {
        Art::indicatorLamp(p, span(184, g.top - 8, 190, g.top - 4), Hue::Yellow, false);
        Art::legendFrom(p, 195, g.top - 5.5, QString::fromLatin1(g.name), small, Art::printGrey());
        Art::ledBar(p, span(184, g.top, 269, g.bottom), 14, 2, g.lit,
                    [](int) { return Hue::PaleRed; });
    }
}

// Seven small keys, red over green, with their legends underneath.
void tripKeys(QPainter &p)
{
    const std::array<const char *, 7> names{"TRIP", "ODO",  "AVG",  "FUEL",
                                            "TIME", "UNIT", "RESET"};
    const QFont small = Art::font(Art::Face::Narrow, 8);
    Art::moulding(p, span(296, 124, 475, 166), 5);
    for (int i = 0; i < 7; ++i) {
        const int x = 302 + i * 25;
        Art::backlitKey(p, span(x, 130, x + 17, 139), Hue::Red, 2);
        Art::backlitKey(p, span(x, 140, x + 17, 149), Hue::Green, 2);
        Art::legend(p, QPointF(x + 9, 157), QString::fromLatin1(names[i]), small,
                    Art::printWhite());
    }
}

void odometer(QPainter &p)
{
    Art::smokedWindow(p, span(297, 184, 475, 199));
    SevenSegment::paint(p, span(303, 186, 469, 196), QStringLiteral("0000021736"),
                        {2, 9.667, QColor(150, 24, 16), QColor(34, 7, 6), false});
    Art::legend(p, QPointF(284, 191.5), QStringLiteral("ODO"), Art::font(Art::Face::Sans, 8, true),
                Art::printWhite());
}

} // namespace

QImage left()
{
    QImage image = Art::blackCanvas(500, 220);
    QPainter p(&image);
    Art::prepare(p);
    speedScale(p);
    speedReadout(p);
    tripDisplay(p);
    arrowPad(p);
    levelMeters(p);
    pressureGauges(p);
    tripKeys(p);
    odometer(p);
    return image;
}

} // namespace Panels
