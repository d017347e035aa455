#include "focusring.h"
#include "colours.h"
#include "description/focusorder.h"

#include <QPainter>

namespace runtime::qt {

static_assert(focus::RingWidth == 2, "the ring paints a line of each colour");

FocusRing::FocusRing(QWidget *parent) : QFocusFrame(parent)
{
    hide();
}

void FocusRing::place(QWidget *surface, const Rect &outer)
{
    if (parentWidget() != surface)
        setParent(surface);
    setGeometry(outer.x, outer.y, outer.width, outer.height);
    raise();
    show();
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QRect line = rect();
    for (const Colour colour : {focus::RingOuter, focus::RingInner}) {
        const QColor c = toQColor(colour, {});
        p.fillRect(line.left(), line.top(), line.width(), 1, c);
        p.fillRect(line.left(), line.bottom(), line.width(), 1, c);
        p.fillRect(line.left(), line.top(), 1, line.height(), c);
        p.fillRect(line.right(), line.top(), 1, line.height(), c);
        line.adjust(1, 1, -1, -1);
    }
}

} // namespace runtime::qt
