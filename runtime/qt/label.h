// A label: a caption drawn in its box, opaque or transparent. A transparent
// label paints nothing but its caption and still takes clicks, which makes
// it the click zone laid over a painted button.
#pragma once

#include "qtcontrol.h"

#include <QColor>
#include <QWidget>

namespace runtime::qt {

class Label : public QWidget, public QtControl
{
public:
    Label(const ControlRow &row, QWidget *parent);

    QWidget *widget() override { return this; }
    void apply(Property property, const Value &value) override;
    // A label clicks answer is a zone: the core may give it the focus.
    void onEvent(std::function<void(Event)> fire) override
    {
        m_fire = std::move(fire);
        setFocusPolicy(Qt::TabFocus);
    }
    QAccessibleInterface *accessible() override;

    QString caption() const { return m_caption; }

    // A click, by the mouse or by other means (assistive technology): one
    // path into the handler.
    void click()
    {
        if (m_fire)
            m_fire(Event::Click);
    }

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::function<void(Event)> m_fire;
    QString m_caption;
    int m_flags;
    bool m_transparent;
    bool m_pressed = false;
    QColor m_back, m_fore;
};

} // namespace runtime::qt
