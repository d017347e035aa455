#include "label.h"
#include "accessibility.h"
#include "accessiblecontrol.h"
#include "colours.h"

#include <QMouseEvent>
#include <QPainter>

namespace runtime::qt {

static int alignmentFlags(Align align)
{
    return align == Align::Center ? Qt::AlignHCenter : align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
}

Label::Label(const ControlRow &row, QWidget *parent)
    : QWidget(parent),
      m_caption(QString::fromUtf8(row.settings.caption ? row.settings.caption : "")),
      m_flags(alignmentFlags(row.settings.align) | Qt::AlignTop | Qt::TextWordWrap),
      m_transparent(row.settings.transparent),
      // Kept here rather than in a palette: only this label paints with
      // them, and setting a palette on each of a dashboard's many labels
      // costs more than painting them.
      m_back(toQColor(backOf(row), {})),
      m_fore(toQColor(foreOf(row), {}))
{
    setFocusPolicy(Qt::NoFocus);
    if (!m_transparent)
        setAttribute(Qt::WA_OpaquePaintEvent);
}

// Only a change comes here, so each is announced.
void Label::apply(Property, const Value &value)
{
    m_caption = QString::fromStdString(std::get<std::string>(value));
    update();
    accessibility::changed(this, Property::Caption);
}

QAccessibleInterface *Label::accessible()
{
    return new AccessibleControl(this);
}

void Label::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_transparent)
        p.fillRect(rect(), m_back);
    if (m_caption.isEmpty())
        return;
    p.setPen(m_fore);
    p.drawText(rect(), m_flags, m_caption);
}

void Label::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a left press and release both inside the label.
    const bool clicked = m_pressed && event->button() == Qt::LeftButton
            && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (clicked)
        click();
}

} // namespace runtime::qt
