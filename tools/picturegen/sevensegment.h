// Seven-segment digits, the way the dashboard's LED displays show numbers:
// lit segments glow, the dark ones stay faintly visible behind the glass.
#ifndef SEVENSEGMENT_H
#define SEVENSEGMENT_H

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace SevenSegment {

struct Style
{
    qreal thickness;  // segment stroke, in pixels
    qreal gap;        // space between neighbouring digits
    QColor lit;
    QColor dark;
    bool glow;        // bright displays bloom a little; dim ones do not
};

// Draws one digit per character of `digits` ('0'-'9', '-' or ' ' for all
// segments dark), sharing `box` out evenly: the outer segments of the first
// and last digit lie exactly on the box's edges.
void paint(QPainter &p, const QRectF &box, const QString &digits, const Style &style);

} // namespace SevenSegment

#endif // SEVENSEGMENT_H
