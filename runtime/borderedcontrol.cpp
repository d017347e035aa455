#include "borderedcontrol.h"

#include <QPainter>

namespace runtime {

BorderedControl::BorderedControl(Border border, QWidget *parent)
    : QWidget(parent), m_border(border)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BorderedControl::setClient(QWidget *client)
{
    m_client = client;
    m_client->setParent(this);
    resizeEvent(nullptr);
}

void BorderedControl::resizeEvent(QResizeEvent *)
{
    const int b = borderWidth();
    if (m_client)
        m_client->setGeometry(rect().adjusted(b, b, -b, -b));
}

void BorderedControl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    if (m_border == Border::Flat) {
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    // The classic sunken edge: shadow above and left, light below and right,
    // two pixels deep.
    const QPalette &pal = palette();
    auto edge = [&p](QRect box, const QColor &topLeft, const QColor &bottomRight) {
        p.setPen(topLeft);
        p.drawLine(box.topLeft(), box.topRight() - QPoint(1, 0));
        p.drawLine(box.topLeft(), box.bottomLeft() - QPoint(0, 1));
        p.setPen(bottomRight);
        p.drawLine(box.bottomLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomRight());
    };
    edge(r, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    edge(r.adjusted(1, 1, -1, -1), pal.color(QPalette::Shadow), pal.color(QPalette::Midlight));
}

} // namespace runtime
