// The lit lamp and the icon. The lamp is a radial glow whose hot spot sits
// up and to the right of centre, as if lit from above by the bulb behind
// the lens. The icon is three columns of short red bars, the middle column
// longest, each column capped at both ends by a darker row.
#include "lampicon.h"

#include "artkit.h"

#include <QPainter>
#include <QRadialGradient>

#include <array>

namespace LampIcon {

QImage lamp()
{
    QImage image = Art::blackCanvas(15, 13);
    QPainter p(&image);
    Art::prepare(p);
    // The focal point is the centre of pixel (8, 5); the geometric centre
    // of the image is pixel (7, 6).
    QRadialGradient glow(QPointF(7.5, 6.5), 7.5, QPointF(8.5, 5.5));
    glow.setColorAt(0.0, QColor(255, 236, 210));
    glow.setColorAt(0.22, QColor(255, 110, 60));
    glow.setColorAt(0.5, QColor(235, 24, 10));
    glow.setColorAt(0.8, QColor(120, 4, 2));
    glow.setColorAt(1.0, QColor(0, 0, 0));
    p.setBrush(glow);
    p.drawEllipse(QRectF(0, 0, 15, 13));
    return image;
}

QImage icon()
{
    enum : uchar { Black, Red, DarkRed };
    struct Column
    {
        int left, top, bars;
    };
    constexpr std::array<Column, 3> Columns{{{6, 9, 5}, {13, 3, 9}, {20, 9, 5}}};
    constexpr int BarWidth = 6, BarHeight = 2, Pitch = 3;

    QImage image(32, 32, QImage::Format_Indexed8);
    image.setColorTable({qRgb(0, 0, 0), qRgb(0xff, 0, 0), qRgb(0x94, 0, 0)});
    image.fill(Black);
    for (const Column &c : Columns) {
        const int bottom = c.top + (c.bars - 1) * Pitch + BarHeight - 1;
        for (int bar = 0; bar < c.bars; ++bar) {
            for (int dy = 0; dy < BarHeight; ++dy) {
                const int y = c.top + bar * Pitch + dy;
                const uchar colour = (y == c.top || y == bottom) ? DarkRed : Red;
                for (int x = c.left; x < c.left + BarWidth; ++x)
                    image.setPixel(x, y, colour);
            }
        }
    }
    return image;
}

QImage icon(int size)
{
    const QImage small = icon();
    Q_ASSERT(size > 0 && size % small.width() == 0);
    const int factor = size / small.width();
    // By hand rather than through QImage::scaled, so that repeating whole
    // pixels is all that can happen, whatever Qt's scaler does with palettes.
    QImage large(size, size, QImage::Format_Indexed8);
    large.setColorTable(small.colorTable());
    for (int y = 0; y < size; ++y) {
        const uchar *from = small.constScanLine(y / factor);
        uchar *to = large.scanLine(y);
        for (int x = 0; x < size; ++x)
            to[x] = from[x / factor];
    }
    return large;
}

} // namespace LampIcon
