#include "pixelsnapper.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>

#include <cmath>

namespace runtime::qt {

namespace {

class PixelSnapper : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
                && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        const qreal scale = static_cast<QWindow *>(watched)->devicePixelRatio();
        const QPointF at = mouse->position();
        // A position on a device pixel's corner stands for that device
        // pixel, as a mouse reports it: the pixel painted over its centre.
        // Any other position is a point, in the pixel that holds it.
        auto painted = [scale](qreal x) {
            const qreal device = x * scale;
            if (std::abs(device - std::round(device)) < 1e-6)
                return std::floor((std::round(device) + 0.5) / scale + 1e-9);
            return std::floor(x + 1e-9);
        };
        const QPointF snapped(painted(at.x()), painted(at.y()));
        if (snapped == at)
            return false;
        const QPointF shift = snapped - at;
        QMouseEvent moved(type, snapped, mouse->scenePosition() + shift, mouse->globalPosition() + shift,
                          mouse->button(), mouse->buttons(), mouse->modifiers(), mouse->pointingDevice());
        moved.setTimestamp(mouse->timestamp());
        QCoreApplication::sendEvent(watched, &moved);
        event->setAccepted(moved.isAccepted());
        return true;
    }
};

} // namespace

void snapPixels(QWindow *window)
{
    static PixelSnapper *snapper = new PixelSnapper;  // lives as long as the process
    window->removeEventFilter(snapper);
    window->installEventFilter(snapper);
}

} // namespace runtime::qt
