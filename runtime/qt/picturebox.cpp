#include "picturebox.h"
#include "accessiblecontrol.h"
#include "colours.h"
#include "pictures.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace runtime::qt {

namespace {

class PictureSurface : public QWidget
{
public:
    PictureSurface(QWidget *parent, const QPixmap &picture, const QColor &back)
        : QWidget(parent), picture(picture), back(back)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter p(this);
        // At a fractional scale the picture's last row and column end
        // inside a device pixel that neither the picture nor the fill
        // beside it may claim: there the fill goes under the picture too.
        const qreal scale = devicePixelRatioF();
        QRegion uncovered(event->rect());
        if (scale == std::floor(scale))
            uncovered -= QRegion(picture.rect());
        for (const QRect &r : uncovered)
            p.fillRect(r, back);
        if (!picture.isNull())
            p.drawPixmap(0, 0, picture);  // one image pixel to one screen pixel, clipped
    }

private:
    QPixmap picture;
    QColor back;
};

} // namespace

PictureBox::PictureBox(const ControlRow &row, QWidget *parent)
    : BorderedControl(row.settings.border, parent)
{
    const QPixmap shown = row.settings.picture ? picture(QString::fromUtf8(row.settings.picture)) : QPixmap();
    setClient(new PictureSurface(this, shown, toQColor(backOf(row), {})));
}

QAccessibleInterface *PictureBox::accessible()
{
    return new AccessibleControl(this);
}

} // namespace runtime::qt
