// A picture box: a bordered box whose client area shows one picture
// unscaled from its top-left corner, the back colour filling the rest, and
// clips the controls it holds.
#pragma once

#include "borderedcontrol.h"

#include <QPixmap>

namespace runtime {

class PictureBox : public BorderedControl
{
    Q_OBJECT

public:
    PictureBox(Border border, QWidget *parent);

    void setPicture(const QPixmap &picture);
    void setBackColour(const QColor &colour);
};

} // namespace runtime
