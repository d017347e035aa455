// The right instrument panel: the rising engine-speed arc and readout, small
// gauges, the program keys and the four tall keys that switch the power and
// the display mode. The dashboard's zones for those keys lie exactly over
// them, so their spans come straight from the layout.
#include "panels.h"

#include "artkit.h"
#include "sevensegment.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

#include <array>
#include <cmath>

namespace Panels {

namespace {

using Art::Hue;
using Art::span;

// The arc rises steeply from its lower-left end and levels off to the right;
// its band thickens as it climbs. u runs from 0 at x 8 to 1 at x 275.
constexpr qreal ArcLeft = 8, ArcRight = 276;
qreal arcBottom(qreal u) { return 90 - 49 * (1 - std::pow(1 - u, 4)); }
qreal arcTop(qreal u) { return arcBottom(u) - (10 + 4 * u); }

void tachometerArc(QPainter &p)
{
    constexpr int Segments = 45;
    constexpr qreal Gap = 2;
    const qreal width = ArcRight - ArcLeft;
    const qreal step = (width + Gap) / Segments;
    for (int i = 0; i < Segments; ++i) {
        const qreal a = ArcLeft + std::round(i * step);
        const qreal b = ArcLeft + std::round(i * step + step - Gap);
        const qreal ua = (a - ArcLeft) / width, ub = (b - ArcLeft) / width;
        const QPolygonF seg(
                {{a, arcTop(ua)}, {b, arcTop(ub)}, {b, arcBottom(ub)}, {a, arcBottom(ua)}});
        const double f = double(i) / Segments;
        const Hue hue = f < 0.6 ? Hue::Green : (f < 0.8 ? Hue::Yellow : Hue::Red);
        QLinearGradient g(0, arcTop(ua), 0, arcBottom(ua));
        g.setColorAt(0, Art::bright(hue));
        g.setColorAt(0.3, Art::lit(hue));
        g.setColorAt(1, Art::shade(hue));
        p.setBrush(g);
        p.drawPolygon(seg);
    }
    p.setBrush(Qt::NoBrush);

    const QFont numbers = Art::font(Art::Face::Sans, 9, true);
    for (int k = 0; k <= 8; ++k) {
        const qreal u = k / 8.0;
        const qreal x = ArcLeft + 2 + u * (width - 4);
        Art::legend(p, QPointF(x, arcTop(u) - 7), QString::number(k), numbers, Art::printWhite());
    }
    Art::legendFrom(p, 14, 30, QStringLiteral("RPM x1000"), Art::font(Art::Face::Narrow, 8),
                    Art::printGrey());
}

void engineReadout(QPainter &p)
{
    Art::moulding(p, span(124, 50, 262, 108), 6);
    SevenSegment::paint(p, span(133, 56, 219, 89), QStringLiteral("000"),
                        {4.5, 6, QColor(255, 28, 18), QColor(44, 6, 5), true});
    Art::backlitKey(p, span(223, 86, 255, 102), Hue::Red, 2);
    Art::legend(p, span(223, 86, 255, 102), QStringLiteral("RPM"),
                Art::font(Art::Face::Sans, 10, true), Art::ink());
}

// A lamp with its legend, then a segmented gauge underneath.
struct Gauge
{
    int x0, x1, top, bottom, segments, lit;
    const char *name;
};

void gauge(QPainter &p, const Gauge &g, const std::function<Hue(int)> &hueAt)
{
    Art::indicatorLamp(p, span(g.x0, g.top - 9, g.x0 + 6, g.top - 5), Hue::Yellow, false);
    Art::legendFrom(p, g.x0 + 10, g.top - 6.5, QString::fromLatin1(g.name),
                    Art::font(Art::Face::Narrow, 8), Art::printGrey());
    Art::ledBar(p, span(g.x0, g.top, g.x1, g.bottom), g.segments, 2, g.lit, hueAt);
}

void upperGauges(QPainter &p)
{
    const std::array<Gauge, 3> gauges{{{299, 383, 14, 19, 12, 8, "VOLTS"},
                                       {299, 383, 36, 41, 12, 5, "AIR TEMP"},
                                       {299, 383, 58, 63, 12, 10, "FUEL FLOW"}}};
    for (const Gauge &g : gauges)
        gauge(p, g, [](int i) { return i < 8 ? Hue::Green : (i < 10 ? Hue::Yellow : Hue::Red); });

    Art::smokedWindow(p, span(405, 20, 485, 45));
    SevenSegment::paint(p, span(410, 24, 480, 41), QStringLiteral("0650"),
                        {3, 4, QColor(150, 24, 16), QColor(34, 7, 6), false});
    Art::legend(p, QPointF(445, 12), QStringLiteral("RANGE"), Art::font(Art::Face::Sans, 8, true),
                Art::printWhite());
}

void programKeys(QPainter &p)
{
    Art::legend(p, QPointF(435.5, 66), QStringLiteral("PROGRAM"),
                Art::font(Art::Face::Sans, 8, true), Art::printWhite());
    const QFont digits = Art::font(Art::Face::Sans, 8, true);
    for (int i = 0; i < 4; ++i) {
        const int x = 396 + i * 21;
        Art::backlitKey(p, span(x, 74, x + 16, 81), Hue::Green, 2);
        Art::backlitKey(p, span(x, 82, x + 16, 90), Hue::Red, 2);
        Art::legend(p, span(x, 74, x + 16, 81), QString::number(i + 1), digits, Art::ink());
    }
}

void powerSymbol(QPainter &p, const QPointF &c)
{
    p.save();
    p.setPen(QPen(Art::ink(), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    // An open ring with its gap at the top, and the stroke through the gap.
    p.drawArc(QRectF(c.x() - 4.5, c.y() - 4.5, 9, 9), 120 * 16, 300 * 16);
    p.drawLine(c + QPointF(0, -6), c + QPointF(0, -1));
    p.restore();
}

// The four tall keys, each under its legend and a lamp.
void modeKeys(QPainter &p)
{
    const struct
    {
        int x0, x1;
        Hue hue;
        const char *name;
    } keys[] = {{304, 320, Hue::Red, "POWER"},
                {359, 374, Hue::Green, "NORMAL"},
                {414, 429, Hue::Yellow, "AUTO"},
                {468, 484, Hue::Red, "PURSUIT"}};
    Art::moulding(p, span(292, 96, 495, 192), 6);
    const QFont names = Art::font(Art::Face::Sans, 9, true);
    for (const auto &k : keys) {
        const qreal cx = (k.x0 + k.x1 + 1) / 2.0;
        Art::indicatorLamp(p, QRectF(cx - 4.5, 103, 9, 9), Hue::Yellow);
        Art::legend(p, QPointF(cx, 124), QString::fromLatin1(k.name), names, Art::printWhite());
        Art::backlitKey(p, span(k.x0, 137, k.x1, 187), k.hue, 3);
    }
    powerSymbol(p, QPointF(312.5, 153));
}

void lowerGauges(QPainter &p)
{
    const std::array<std::array<int, 2>, 2> columns{{{12, 129}, {147, 264}}};
    const std::array<std::array<int, 2>, 3> rows{{{120, 128}, {150, 157}, {179, 187}}};
    const std::array<const char *, 6> names{"FUEL",      "BATTERY", "OIL TEMP",
                                            "BRAKE AIR", "COOLANT", "BOOST"};
    const std::array<int, 6> levels{13, 16, 9, 11, 14, 6};
    for (int c = 0; c < 2; ++c) {
        for (int r = 0; r < 3; ++r) {
            const int n = c * 3 + r;
            const Hue hue = (r + c) % 2 == 0 ? Hue::Red : Hue::Green;
            const Gauge g{columns[c][0], columns[c][1], rows[r][0], rows[r][1], 20, levels[n],
                          names[n]};
            gauge(p, g, [hue](int) { return hue; });
        }
    }
}

} // namespace

QImage right()
{
    QImage image = Art::blackCanvas(500, 193);
    QPainter p(&image);
    Art::prepare(p);
    tachometerArc(p);
    engineReadout(p);
    upperGauges(p);
    programKeys(p);
    modeKeys(p);
    lowerGauges(p);
    return image;
}

} // namespace Panels
