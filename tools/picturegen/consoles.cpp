// Both button consoles from one painter. Each console is described by a
// table of spans taken from the dashboard layout (where its zones and lamp
// boxes lie); the painter turns the table into two red direction triangles,
// two columns of eight back-lit keys and the lamp sockets between them.
#include "consoles.h"

#include "artkit.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <optional>

namespace Consoles {

namespace {

using Art::Hue;
using Art::span;

struct Span
{
    int from, to;  // inclusive
};

using Legends = std::array<std::array<const char *, 2>, 8>;

struct Geometry
{
    int width, height;
    Span leftTriangle, rightTriangle, triangleRows;
    Span leftColumn, rightColumn;
    std::array<Span, 8> rows;  // rows 1-4 are the upper group, 5-8 the lower
    Span socketColumn;
    std::array<Span, 8> sockets;
    std::optional<QRect> roundKey;
    Legends legends;
};

// Both columns alike, row by row.
constexpr std::array<Hue, 8> RowHues{Hue::Green, Hue::Red,    Hue::Green, Hue::Green,
                                     Hue::Red,   Hue::Yellow, Hue::Red,   Hue::Red};

const Geometry LeftConsole{
    170, 303, {22, 55}, {108, 142}, {6, 25}, {6, 56}, {108, 159},
    {{{31, 62}, {64, 94}, {96, 126}, {128, 158}, {172, 203}, {205, 235}, {237, 267}, {269, 300}}},
    {76, 88},
    {{{42, 53}, {71, 82}, {103, 115}, {136, 147}, {183, 194}, {213, 224}, {245, 256}, {277, 288}}},
    std::nullopt,
    {{{"CRUISE\nSET", "CRUISE\nRESUME"}, {"TRAC\nOFF", "ALARM"}, {"FOG\nLAMPS", "HIGH\nBEAM"},
      {"DEMIST", "A/C"}, {"HAZARD", "DOOR\nLOCK"}, {"SPORT", "ECO"}, {"OIL\nRESET", "TRIP\nRESET"},
      {"ALL\nOFF", "LAMP\nTEST"}}},
};

const Geometry RightConsole{
    200, 304, {60, 93}, {146, 178}, {8, 27}, {43, 93}, {146, 196},
    {{{33, 64}, {66, 96}, {98, 128}, {130, 160}, {174, 204}, {207, 237}, {239, 269}, {271, 301}}},
    {114, 125},
    {{{44, 55}, {73, 84}, {105, 116}, {137, 149}, {185, 196}, {214, 225}, {246, 257}, {279, 290}}},
    QRect(QPoint(5, 64), QPoint(37, 100)),
    {{{"NAV", "PARK\nASSIST"}, {"MEDIA", "HANDS\nFREE"}, {"SEEK\nDOWN", "SEEK\nUP"},
      {"CABIN\nLIGHT", "MIRROR\nFOLD"}, {"SEAT\nHEAT", "WHEEL\nHEAT"},
      {"LANE\nKEEP", "DIST\nALERT"}, {"TRUNK", "FUEL\nDOOR"}, {"LOCK", "UNLOCK"}}},
};

void triangle(QPainter &p, Span xs, Span ys, bool pointsLeft)
{
    const qreal left = xs.from, right = xs.to + 1, top = ys.from, bottom = ys.to + 1;
    const qreal middle = (top + bottom) / 2;
    QPolygonF outline;
    if (pointsLeft)
        outline << QPointF(left, middle) << QPointF(right, top) << QPointF(right, bottom);
    else
        outline << QPointF(right, middle) << QPointF(left, bottom) << QPointF(left, top);
    QPainterPath shape;
    shape.addPolygon(outline);
    shape.closeSubpath();
    Art::halo(p, shape.boundingRect(), Art::lit(Hue::Red), 2, 40);
    Art::backlitShape(p, shape, Hue::Red);
}

// An unlit lamp: a dark-grey lens in a darker ring, with a glint.
void socket(QPainter &p, const QRectF &r)
{
    QRadialGradient lens(QPointF(0.5, 0.5), 0.5, QPointF(0.38, 0.32));
    lens.setCoordinateMode(QGradient::ObjectMode);
    lens.setColorAt(0.0, QColor(104, 104, 102));
    lens.setColorAt(0.45, QColor(66, 66, 66));
    lens.setColorAt(0.85, QColor(40, 40, 40));
    lens.setColorAt(1.0, QColor(22, 22, 22));
    p.setBrush(lens);
    p.drawEllipse(r);
    p.setBrush(Qt::NoBrush);
}

void roundKey(QPainter &p, const QRectF &r)
{
    QRadialGradient bezel(QPointF(0.5, 0.5), 0.5);
    bezel.setCoordinateMode(QGradient::ObjectMode);
    bezel.setColorAt(0.75, QColor(30, 30, 32));
    bezel.setColorAt(0.9, QColor(72, 72, 74));
    bezel.setColorAt(1.0, QColor(26, 26, 28));
    p.setBrush(bezel);
    p.drawEllipse(r);

    const QRectF cap = r.adjusted(4, 6, -4, -6);
    QRadialGradient face(QPointF(0.5, 0.5), 0.55, QPointF(0.35, 0.3));
    face.setCoordinateMode(QGradient::ObjectMode);
    face.setColorAt(0.0, QColor(236, 236, 232));
    face.setColorAt(0.7, QColor(190, 190, 186));
    face.setColorAt(1.0, QColor(120, 120, 118));
    p.setBrush(face);
    p.drawEllipse(cap);
    p.setBrush(Qt::NoBrush);
    Art::legend(p, cap, QStringLiteral("M"), Art::font(Art::Face::Sans, 14, true),
                QColor(46, 46, 48));
}

QImage paint(const Geometry &g)
{
    QImage image = Art::blackCanvas(g.width, g.height);
    QPainter p(&image);
    Art::prepare(p);

    triangle(p, g.leftTriangle, g.triangleRows, true);
    triangle(p, g.rightTriangle, g.triangleRows, false);

    const QFont legendFont = Art::font(Art::Face::Narrow, 10, true);
    const std::array<Span, 2> columns{g.leftColumn, g.rightColumn};
    for (int side = 0; side < 2; ++side) {
        const Span &c = columns[side];
        // The lower four keys of a column sit in one moulding, edge to edge;
        // the upper four are separate, well-rounded caps.
        const Span lower{g.rows[4].from, g.rows[7].to};
        p.fillRect(span(c.from, lower.from, c.to, lower.to), QColor(12, 12, 12));
        for (int row = 0; row < 8; ++row) {
            const QRectF key = span(c.from, g.rows[row].from, c.to, g.rows[row].to);
            Art::backlitKey(p, key, RowHues[row], row < 4 ? 5 : 1.5);
            Art::legend(p, key, QString::fromLatin1(g.legends[row][side]), legendFont, Art::ink());
        }
    }
    for (const Span &s : g.sockets)
        socket(p, span(g.socketColumn.from, s.from, g.socketColumn.to, s.to));
    if (g.roundKey)
        roundKey(p, QRectF(*g.roundKey));  // QRect to QRectF keeps all 33 x 37 pixels
    return image;
}

} // namespace

QImage left() { return paint(LeftConsole); }
QImage right() { return paint(RightConsole); }

} // namespace Consoles
