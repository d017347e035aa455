// The mode pictures: ten warning ovals in two columns and, between them, a
// selector showing the three modes as bar-and-box indicators of which only
// the current one is lit. Everything lies within x 0..167 and y 0..186,
// because the display boxes clip the pictures to 175 or 183 x 191 and must
// only ever cut away black.
#include "modedisplays.h"

#include "artkit.h"
#include "sevensegment.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace ModeDisplays {

namespace {

using Art::Hue;
using Art::span;

struct Indicator
{
    Mode mode;
    Hue hue;
    int top, bottom;
    const char *name;
};

constexpr int BarLeft = 67, BarRight = 75, BoxLeft = 88, BoxRight = 126;

constexpr std::array<Indicator, 3> Indicators{{
    {Mode::Normal, Hue::Green, 126, 141, "NORMAL"},
    {Mode::Auto, Hue::Yellow, 151, 166, "AUTO"},
    {Mode::Pursuit, Hue::Red, 169, 186, "PURSUIT"},
}};

void warningOvals(QPainter &p)
{
    constexpr std::array<std::array<int, 2>, 2> columns{{{26, 51}, {142, 166}}};
    constexpr std::array<std::array<int, 2>, 5> rows{
        {{32, 48}, {64, 80}, {96, 112}, {129, 145}, {162, 178}}};
    constexpr std::array<std::array<const char *, 5>, 2> names{
        {{"OIL", "FUEL", "TEMP", "BATT", "ABS"}, {"BELT", "DOOR", "PARK", "GLOW", "ENG"}}};
    const QFont font = Art::font(Art::Face::Narrow, 9, true);
    for (int c = 0; c < 2; ++c) {
        for (int r = 0; r < 5; ++r) {
            const QRectF oval = span(columns[c][0], rows[r][0], columns[c][1], rows[r][1]);
            QPainterPath shape;
            shape.addEllipse(oval);
            Art::backlitShape(p, shape, r < 2 ? Hue::Yellow : Hue::Red);
            Art::legend(p, oval, QString::fromLatin1(names[c][r]), font, Art::ink());
        }
    }
}

// The selector's fixed print above the modes: a title, a dark gear
// display and a dim track of unlit segments leading down to the indicators.
void selectorFrame(QPainter &p)
{
    Art::legend(p, QPointF(97, 38), QStringLiteral("DRIVE"), Art::font(Art::Face::Sans, 9, true),
                Art::printGrey());
    Art::ledBar(p, span(BarLeft, 52, BarRight, 118), 9, 3, 0, [](int) { return Hue::Grey; });
    Art::smokedWindow(p, span(BoxLeft, 52, BoxRight, 96));
    SevenSegment::paint(p, span(BoxLeft + 8, 58, BoxRight - 8, 90), QStringLiteral(" "),
                        {4, 0, QColor(), QColor(40, 9, 7), false});
    Art::legend(p, QPointF((BoxLeft + BoxRight + 1) / 2.0, 108), QStringLiteral("GEAR"),
                Art::font(Art::Face::Narrow, 8), Art::printGrey());
}

void indicator(QPainter &p, const Indicator &ind, bool isLit)
{
    const QRectF bar = span(BarLeft, ind.top, BarRight, ind.bottom);
    const QRectF box = span(BoxLeft, ind.top, BoxRight, ind.bottom);
    const QFont font = Art::font(Art::Face::Narrow, 10, true);
    if (isLit) {
        Art::backlitKey(p, bar, ind.hue, 1.5);
        Art::backlitKey(p, box, ind.hue, 2);
        Art::legend(p, box, QString::fromLatin1(ind.name), font, Art::ink());
    } else {
        p.fillRect(bar, Art::unlit(ind.hue));
        p.fillRect(box, Art::unlit(ind.hue));
        Art::legend(p, box, QString::fromLatin1(ind.name), font, Art::unlit(ind.hue).lighter(190));
    }
}

} // namespace

QImage paint(Mode lit)
{
    QImage image = Art::blackCanvas(199, 199);
    QPainter p(&image);
    Art::prepare(p);
    warningOvals(p);
    selectorFrame(p);
    for (const Indicator &ind : Indicators)
        indicator(p, ind, ind.mode == lit);
    return image;
}

} // namespace ModeDisplays
