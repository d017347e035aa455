// A line drawn on its container's surface. It takes no clicks: they go to
// whatever lies under it.
#pragma once

#include <QWidget>

namespace runtime {

class Line : public QWidget
{
public:
    Line(QPoint from, QPoint to, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QPoint m_from, m_to;  // in the line's own coordinates
};

} // namespace runtime
