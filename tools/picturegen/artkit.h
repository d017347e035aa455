// The drawing vocabulary shared by every painted picture: pixel spans, the
// lamp colours, the Liberation fonts, and the few objects a night-lit
// dashboard is made of (back-lit keys, LED bar segments, indicator lamps,
// smoked display windows, printed legends). The picture painters compose
// these; none of them reaches for raw colours or fonts of its own.
#ifndef ARTKIT_H
#define ARTKIT_H

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>

class QImage;
class QPainter;
class QPainterPath;

namespace Art {

// The layout measures everything in whole pixels, first to last inclusive.
// With antialiasing on, a rectangle from this covers exactly those pixels.
QRectF span(int x0, int y0, int x1, int y1);

// Every lamp, key and LED is one of these colours, in several strengths.
enum class Hue { Red, Green, Yellow, PaleRed, Grey };

QColor lit(Hue hue);      // full back-lit colour
QColor bright(Hue hue);   // the hot spot behind the plastic
QColor shade(Hue hue);    // the key's lower edge, lit from above
QColor unlit(Hue hue);    // a dark segment: faintly visible, never mistaken for lit

QColor ink();             // printed legend on a lit key
QColor printWhite();      // printed legend on the black fascia
QColor printGrey();       // secondary fascia print: scale numbers, small legends

enum class Face { Sans, Narrow, Mono };
// Fonts are picked by family and pixel size so the output never depends on
// the desktop's font settings.
QFont font(Face face, int pixelSize, bool bold = false);
// Fails loudly rather than let a substitute family change every legend.
bool fontsAvailable(QString *missing);

QImage blackCanvas(int width, int height);
void prepare(QPainter &p);

// Text centred on a point, or in a box, one or more lines split at '\n'.
void legend(QPainter &p, const QPointF &centre, const QString &text,
            const QFont &font, const QColor &colour);
void legend(QPainter &p, const QRectF &box, const QString &text,
            const QFont &font, const QColor &colour);
// One line starting at x, vertically centred on y.
void legendFrom(QPainter &p, qreal x, qreal y, const QString &text,
                const QFont &font, const QColor &colour);

// A translucent plastic key lit from behind, filling r exactly; the shape
// variant serves arrow keys and ovals.
void backlitKey(QPainter &p, const QRectF &r, Hue hue, qreal radius);
void backlitShape(QPainter &p, const QPainterPath &shape, Hue hue);

// A round lamp or LED with a soft halo that stays within about a pixel.
void indicatorLamp(QPainter &p, const QRectF &r, Hue hue, bool round = true);

// A faint light spill behind a lit object; never bright enough to read as lit.
void halo(QPainter &p, const QRectF &r, const QColor &colour, qreal spread, int alpha);

// The dark tinted window that a dim display or a gauge sits behind.
void smokedWindow(QPainter &p, const QRectF &r);

// count segments filling r along its long side, separated by gap pixels,
// the first `litCount` (from left, or from the bottom when vertical) lit.
// hueAt gives each segment's colour.
void ledBar(QPainter &p, const QRectF &r, int count, qreal gap, int litCount,
            const std::function<Hue(int)> &hueAt);

// A thin dark-grey moulding line that groups controls on the fascia.
void moulding(QPainter &p, const QRectF &r, qreal radius);

} // namespace Art

#endif // ARTKIT_H
