// Shared drawing objects for the dashboard pictures. Everything here paints
// with antialiasing on whole-pixel rectangles, so the edges the layout
// relies on stay sharp while round shapes and glows look smooth.
#include "artkit.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace Art {

namespace {

struct Tones
{
    QColor lit, bright, shade, unlit;
};

const Tones &tones(Hue hue)
{
    static const Tones red{{240, 30, 20}, {255, 150, 110}, {150, 10, 8}, {52, 7, 5}};
    static const Tones green{{40, 215, 70}, {170, 255, 170}, {10, 120, 35}, {7, 44, 14}};
    static const Tones yellow{{255, 205, 30}, {255, 245, 170}, {175, 120, 5}, {48, 38, 6}};
    static const Tones paleRed{{255, 120, 110}, {255, 205, 195}, {170, 60, 55}, {52, 20, 18}};
    static const Tones grey{{190, 190, 185}, {245, 245, 240}, {105, 105, 102}, {40, 40, 40}};
    switch (hue) {
    case Hue::Red: return red;
    case Hue::Green: return green;
    case Hue::Yellow: return yellow;
    case Hue::PaleRed: return paleRed;
    case Hue::Grey: break;
    }
    return grey;
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

} // namespace

QRectF span(int x0, int y0, int x1, int y1)
{
    return QRectF(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

QColor lit(Hue hue) { return tones(hue).lit; }
QColor bright(Hue hue) { return tones(hue).bright; }
QColor shade(Hue hue) { return tones(hue).shade; }
QColor unlit(Hue hue) { return tones(hue).unlit; }

QColor ink() { return QColor(22, 12, 8); }
QColor printWhite() { return QColor(225, 222, 210); }
QColor printGrey() { return QColor(150, 148, 140); }

static const char *familyName(Face face)
{
    switch (face) {
    case Face::Sans: return "Liberation Sans";
    case Face::Narrow: return "Liberation Sans Narrow";
    case Face::Mono: break;
    }
    return "Liberation Mono";
}

QFont font(Face face, int pixelSize, bool bold)
{
    QFont f(QString::fromLatin1(familyName(face)));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    // Grey-scale antialiasing only: subpixel rendering would tint the
    // legends differently depending on the screen the fonts were set up for.
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias
                                            | QFont::NoFontMerging));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

bool fontsAvailable(QString *missing)
{
    const QStringList installed = QFontDatabase::families();
    for (Face face : {Face::Sans, Face::Narrow, Face::Mono}) {
        const QString family = QString::fromLatin1(familyName(face));
        if (!installed.contains(family)) {
            *missing = family;
            return false;
        }
    }
    return true;
}

QImage blackCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    // 72 dots per inch, which is what the JPEG header records.
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    return image;
}

void prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::NoPen);
}

void legend(QPainter &p, const QPointF &centre, const QString &text, const QFont &font,
            const QColor &colour)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QFontMetricsF fm(font);
    // Tighter than the font's own leading: two-line legends must fit keys
    // barely thirty pixels high.
    const qreal step = std::ceil(font.pixelSize() * 1.05);
    const qreal top = centre.y() - (step * lines.size() - (step - fm.ascent() - fm.descent())) / 2;
    p.save();
    p.setFont(font);
    p.setPen(colour);
    for (int i = 0; i < lines.size(); ++i) {
        // Whole-pixel baselines keep hinted glyphs crisp.
        const qreal x = std::round(centre.x() - fm.horizontalAdvance(lines[i]) / 2);
        const qreal y = std::round(top + i * step + fm.ascent());
        p.drawText(QPointF(x, y), lines[i]);
    }
    p.restore();
}

void legend(QPainter &p, const QRectF &box, const QString &text, const QFont &font,
            const QColor &colour)
{
    legend(p, box.center(), text, font, colour);
}

void legendFrom(QPainter &p, qreal x, qreal y, const QString &text, const QFont &font,
                const QColor &colour)
{
    const QFontMetricsF fm(font);
    legend(p, QPointF(x + fm.horizontalAdvance(text) / 2, y), text, font, colour);
}

void backlitKey(QPainter &p, const QRectF &r, Hue hue, qreal radius)
{
    QPainterPath body;
    body.addRoundedRect(r, radius, radius);
    backlitShape(p, body, hue);
}

void backlitShape(QPainter &p, const QPainterPath &body, Hue hue)
{
    const Tones &t = tones(hue);
    const QRectF r = body.boundingRect();
    p.save();
    QLinearGradient face(r.topLeft(), r.bottomLeft());
    face.setColorAt(0.0, t.shade);
    face.setColorAt(0.12, t.lit);
    face.setColorAt(0.7, t.lit);
    face.setColorAt(1.0, t.shade);
    p.fillPath(body, face);

    // The bulb behind the plastic shows as a soft hot spot a little above
    // the middle of the key.
    p.setClipPath(body);
    QRadialGradient spot(QPointF(r.center().x(), r.center().y() - r.height() * 0.12),
                         std::max(r.width(), r.height()) * 0.55);
    spot.setColorAt(0.0, withAlpha(t.bright, 120));
    spot.setColorAt(1.0, withAlpha(t.bright, 0));
    p.fillRect(r, spot);

    // Moulded rim, drawn inside the outline so the key keeps its size:
    // a dark edge all round, and light catching the upper lip.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(Qt::black, 120), 2));
    p.drawPath(body);
    p.setClipRect(QRectF(r.left(), r.top(), r.width(), 3), Qt::IntersectClip);
    p.setPen(QPen(withAlpha(Qt::white, 80), 1));
    p.drawPath(body.translated(0, 1.5));
    p.restore();
}

void indicatorLamp(QPainter &p, const QRectF &r, Hue hue, bool round)
{
    const Tones &t = tones(hue);
    halo(p, r, t.lit, 1.5, 70);
    QRadialGradient glass(QPointF(0.45, 0.4), 0.6);
    glass.setCoordinateMode(QGradient::ObjectMode);
    glass.setColorAt(0.0, t.bright);
    glass.setColorAt(0.55, t.lit);
    glass.setColorAt(1.0, t.shade);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    if (round)
        p.drawEllipse(r);
    else
        p.drawRoundedRect(r, 1.5, 1.5);
    p.restore();
}

void halo(QPainter &p, const QRectF &r, const QColor &colour, qreal spread, int alpha)
{
    QRadialGradient glow(QPointF(0.5, 0.5), 0.5);
    glow.setCoordinateMode(QGradient::ObjectMode);
    glow.setColorAt(0.0, withAlpha(colour, alpha));
    glow.setColorAt(0.6, withAlpha(colour, alpha / 2));
    glow.setColorAt(1.0, withAlpha(colour, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(r.adjusted(-spread, -spread, spread, spread));
    p.restore();
}

void smokedWindow(QPainter &p, const QRectF &r)
{
    p.save();
    p.fillRect(r, QColor(16, 7, 7));
    // A faint reflection across the upper part of the glass.
    QLinearGradient sheen(r.topLeft(), r.bottomLeft());
    sheen.setColorAt(0.0, QColor(255, 255, 255, 22));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 6));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.fillRect(r, sheen);
    // Recessed bezel: shadow along the top and left, light along the bottom
    // and right.
    const QRectF e = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(QColor(8, 8, 8), 1));
    p.drawLine(e.topLeft(), e.topRight());
    p.drawLine(e.topLeft(), e.bottomLeft());
    p.setPen(QPen(QColor(70, 66, 64), 1));
    p.drawLine(e.bottomLeft(), e.bottomRight());
    p.drawLine(e.topRight(), e.bottomRight());
    p.restore();
}

void ledBar(QPainter &p, const QRectF &r, int count, qreal gap, int litCount,
            const std::function<Hue(int)> &hueAt)
{
    const bool vertical = r.height() > r.width();
    const qreal length = vertical ? r.height() : r.width();
    const qreal step = (length + gap) / count;
    p.save();
    for (int i = 0; i < count; ++i) {
        // Rounded to whole pixels so every segment has crisp ends and the
        // first and last meet the bar's ends exactly.
        const qreal a = std::round(i * step);
        const qreal b = (i == count - 1) ? length : std::round(i * step + step - gap);
        QRectF seg = vertical ? QRectF(r.left(), r.bottom() - b, r.width(), b - a)
                              : QRectF(r.left() + a, r.top(), b - a, r.height());
        const Tones &t = tones(hueAt(i));
        if (i >= litCount) {
            p.fillRect(seg, t.unlit);
            continue;
        }
        // Lit across the segment's short side, brightest at the top or left.
        QLinearGradient g(seg.topLeft(), vertical ? seg.topRight() : seg.bottomLeft());
        g.setColorAt(0.0, t.bright);
        g.setColorAt(0.35, t.lit);
        g.setColorAt(1.0, t.shade);
        p.fillRect(seg, g);
    }
    p.restore();
}

void moulding(QPainter &p, const QRectF &r, qreal radius)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(44, 44, 48), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(20, 20, 22), 1));
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    p.restore();
}

} // namespace Art
