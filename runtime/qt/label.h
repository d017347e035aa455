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
    Q_OBJECT

public:
    Label(const ControlRow &row, QWidget *parent);

    QWidget *widget() override { return this; }
    void apply(Property property, const Value &value) override;
    void onEvent(std::function<void(Event)> fire) override;
    QAccessibleInterface *accessible() override;

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // A click by other means than the mouse (assistive technology): the
    // same signal, so the same path into the handler.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_caption;
    int m_flags;
    bool m_transparent;
    bool m_pressed = false;
    QColor m_back, m_fore;
};

} // namespace runtime::qt
