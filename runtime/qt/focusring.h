// The keyboard's focus ring on Qt: one thin widget over the focused row's
// container, laid where the core says (focus::ring) and raised above the
// container's controls, that paints the ring's two lines and nothing
// inside them, so the zone's picture shows through untouched. A focus
// frame to Qt, so that it is no child a screen reader is told of, and
// transparent to the mouse, whose clicks go to the zone beneath.
#pragma once

#include "description/geometry.h"

#include <QFocusFrame>

namespace runtime::qt {

class FocusRing : public QFocusFrame
{
public:
    explicit FocusRing(QWidget *parent);

    // Around the place (in surface's coordinates), on top of what surface holds.
    void place(QWidget *surface, const Rect &outer);

protected:
    void paintEvent(QPaintEvent *) override;
};

} // namespace runtime::qt
