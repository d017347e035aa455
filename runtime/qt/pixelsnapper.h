// On a scaled screen the pointer arrives in fractions of a pixel, and Qt
// hands it to the control at the nearest whole pixel: at twice the scale
// the right and lower device pixel of every pixel would click the
// neighbour. The snapper moves each position to the pixel that was
// painted where the pointer is, so a click lands on what the user sees.
#pragma once

#include <QObject>

class QWindow;

namespace runtime::qt {

class PixelSnapper : public QObject
{
public:
    static void install(QWindow *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace runtime::qt
