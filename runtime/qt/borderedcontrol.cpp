#include "borderedcontrol.h"

#include <QPainter>

namespace runtime::qt {

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
    // Edges are filled as whole-pixel rectangles, not stroked: a pen's
    // width does not follow the screen's scale, a rectangle does, so the
    // border stays as many device pixels deep as a pixel is wide.
    QPainter p(this);
    const QRect r = rect();
    if (m_border == Border::Flat) {
        const QRect inner = r.adjusted(1, 1, -1, -1);
        for (const QRect &edge : QRegion(r) - QRegion(inner))
            p.fillRect(edge, Qt::black);
        return;
    }
    // The classic sunken edge: shadow above and left, light below and right,
    // two pixels deep.
    const QPalette &pal = palette();
    auto edge = [&p](QRect box, const QColor &topLeft, const QColor &bottomRight) {
        p.fillRect(box.left(), box.top(), box.width() - 1, 1, topLeft);
        p.fillRect(box.left(), box.top(), 1, box.height() - 1, topLeft);
        p.fillRect(box.left(), box.bottom(), box.width(), 1, bottomRight);
        p.fillRect(box.right(), box.top(), 1, box.height(), bottomRight);
    };
    edge(r, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    edge(r.adjusted(1, 1, -1, -1), pal.color(QPalette::Shadow), pal.color(QPalette::Midlight));
}

} // namespace runtime::qt
