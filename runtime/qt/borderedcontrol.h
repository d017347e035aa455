// The frame shared by picture boxes and text boxes: a flat one-pixel border
// or the sunken three-dimensional one, with a child widget as the client
// area inside it. Everything a control holds lives in the client widget, so
// Qt's own clipping of children keeps it inside the border.
#pragma once

#include "description/description.h"

#include <QWidget>

namespace runtime::qt {

class BorderedControl : public QWidget
{
public:
    BorderedControl(Border border, QWidget *parent);

    int borderWidth() const { return borderPixels(m_border); }
    QWidget *client() const { return m_client; }

protected:
    void setClient(QWidget *client);
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;

private:
    Border m_border;
    QWidget *m_client = nullptr;
};

} // namespace runtime::qt
