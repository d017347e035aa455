#include "line.h"

#include <QPainter>

namespace runtime {

Line::Line(QPoint from, QPoint to, QWidget *parent)
    : QWidget(parent)
{
    // The widget is the line's bounding box, both end points included.
    const QRect box(QPoint(qMin(from.x(), to.x()), qMin(from.y(), to.y())),
                    QPoint(qMax(from.x(), to.x()), qMax(from.y(), to.y())));
    setGeometry(box);
    m_from = from - box.topLeft();
    m_to = to - box.topLeft();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 0));
    p.drawLine(m_from, m_to);
}

} // namespace runtime
