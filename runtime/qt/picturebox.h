// A picture box: a bordered box whose client area shows one picture
// unscaled from its top-left corner, the back colour filling the rest, and
// clips the controls it holds.
#pragma once

#include "borderedcontrol.h"
#include "qtcontrol.h"

namespace runtime::qt {

class PictureBox : public BorderedControl, public QtControl
{
public:
    PictureBox(const ControlRow &row, QWidget *parent);

    QWidget *widget() override { return this; }
    QWidget *clientArea() override { return client(); }
    QAccessibleInterface *accessible() override;
};

} // namespace runtime::qt
