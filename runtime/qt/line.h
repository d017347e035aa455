// A line drawn on its container's surface. It takes no clicks: they go to
// whatever lies under it.
#pragma once

#include "qtcontrol.h"

#include <QWidget>

namespace runtime::qt {

class Line : public QWidget, public QtControl
{
public:
    Line(const ControlRow &row, QWidget *parent);

    QWidget *widget() override { return this; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QPoint m_from, m_to;  // in the line's own coordinates
};

} // namespace runtime::qt
