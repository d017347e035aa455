// Seven-segment digits as bevelled hexagons. The outer segments reach the
// digit's cell exactly, so a display drawn into a box fills it edge to edge.
#include "sevensegment.h"

#include <QPainter>
#include <QPolygonF>

#include <array>

namespace SevenSegment {

namespace {

// Segments a to g as bits 0 to 6.
constexpr std::array<quint8, 10> DigitSegments{
    0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};

quint8 segmentsOf(QChar c)
{
    if (c.isDigit())
        return DigitSegments[c.digitValue()];
    return c == QLatin1Char('-') ? 0x40 : 0x00;
}

QPolygonF horizontal(qreal left, qreal right, qreal y, qreal t)
{
    const qreal h = t / 2;
    return QPolygonF({{left, y}, {left + h, y - h}, {right - h, y - h},
                      {right, y}, {right - h, y + h}, {left + h, y + h}});
}

QPolygonF vertical(qreal x, qreal top, qreal bottom, qreal t)
{
    const qreal h = t / 2;
    return QPolygonF({{x, top}, {x + h, top + h}, {x + h, bottom - h},
                      {x, bottom}, {x - h, bottom - h}, {x - h, top + h}});
}

// The seven segments of a digit filling `cell`; `notch` is the sliver of
// black that separates segments where they meet.
std::array<QPolygonF, 7> segments(const QRectF &cell, qreal t)
{
    const qreal notch = t > 3 ? 0.8 : 0.5;
    const qreal h = t / 2;
    const qreal l = cell.left() + h, r = cell.right() - h;
    const qreal top = cell.top() + h, mid = cell.center().y(), bot = cell.bottom() - h;
    return {horizontal(l + notch, r - notch, top, t),      // a
            vertical(r, top + notch, mid - notch, t),      // b
            vertical(r, mid + notch, bot - notch, t),      // c
            horizontal(l + notch, r - notch, bot, t),      // d
            vertical(l, mid + notch, bot - notch, t),      // e
            vertical(l, top + notch, mid - notch, t),      // f
            horizontal(l + notch, r - notch, mid, t)};     // g
}

} // namespace

void paint(QPainter &p, const QRectF &box, const QString &digits, const Style &style)
{
    const int n = digits.size();
    const qreal cellWidth = (box.width() - style.gap * (n - 1)) / n;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Nothing, not even the bloom, leaves the display's window: the
    // dashboard's readouts cover exactly that window and no more.
    p.setClipRect(box, Qt::IntersectClip);
    for (int i = 0; i < n; ++i) {
        const QRectF cell(box.left() + i * (cellWidth + style.gap), box.top(), cellWidth,
                          box.height());
        const quint8 on = segmentsOf(digits.at(i));
        const auto polys = segments(cell, style.thickness);
        for (int s = 0; s < 7; ++s) {
            const bool isLit = on & (1 << s);
            if (isLit && style.glow) {
                // Bloom: the segment stroked wide and faint under its fill,
                // kept inside a pixel or so of the segment's own outline.
                QColor bloom = style.lit;
                bloom.setAlpha(45);
                p.setPen(QPen(bloom, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.setBrush(Qt::NoBrush);
                p.drawPolygon(polys[s]);
            }
            p.setPen(Qt::NoPen);
            p.setBrush(isLit ? style.lit : style.dark);
            p.drawPolygon(polys[s]);
            if (isLit && style.glow) {
                // A hotter core down the middle of each lit segment.
                QColor core = style.lit.lighter(135);
                core.setAlpha(110);
                p.setPen(QPen(core, style.thickness * 0.25, Qt::SolidLine, Qt::RoundCap));
                const QPolygonF &q = polys[s];
                p.drawLine((q[0] + q[1] + q[5]) / 3, (q[2] + q[3] + q[4]) / 3);
            }
        }
    }
    p.restore();
}

} // namespace SevenSegment
