#include "line.h"
#include "colours.h"
#include "description/layout.h"
#include "description/twips.h"

#include <QPainter>

namespace runtime::qt {

// The row holds the end points, x1, y1, x2, y2, in place of a rectangle.
Line::Line(const ControlRow &row, QWidget *parent)
    : QWidget(parent)
{
    const QPoint from(pixels(row.left), pixels(row.top)), to(pixels(row.width), pixels(row.height));
    if (row.settings.fore.isSet())
        applyColours(this, {}, foreOf(row), QPalette::Window, QPalette::WindowText);
    const Rect r = placeOf(row);
    const QRect box(r.x, r.y, r.width, r.height);
    setGeometry(box);
    m_from = from - box.topLeft();
    m_to = to - box.topLeft();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor colour = palette().color(QPalette::WindowText);
    // A level or upright line is a one-pixel-wide rectangle, which scales
    // with the screen as the pictures do; a cosmetic pen would stay one
    // device pixel thin. Its box is what its ends span, both included.
    if (m_from.x() == m_to.x() || m_from.y() == m_to.y()) {
        p.fillRect(rect(), colour);
        return;
    }
    p.setPen(QPen(colour, 0));
    p.drawLine(m_from, m_to);
}

} // namespace runtime::qt
