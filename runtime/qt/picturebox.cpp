#include "picturebox.h"
#include "accessiblepicturebox.h"
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
    explicit PictureSurface(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    QPixmap picture;
    QColor back = Qt::black;

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
};

} // namespace

PictureBox::PictureBox(const ControlRow &row, QWidget *parent)
    : BorderedControl(row.settings.border, parent)
{
    setClient(new PictureSurface(this));
    setBackColour(toQColor(row.settings.back, ButtonFace));
    if (row.settings.picture)
        setPicture(picture(QString::fromUtf8(row.settings.picture)));
}

QAccessibleInterface *PictureBox::accessible()
{
    return new AccessiblePictureBox(this);
}

void PictureBox::setPicture(const QPixmap &picture)
{
    static_cast<PictureSurface *>(client())->picture = picture;
    client()->update();
}

void PictureBox::setBackColour(const QColor &colour)
{
    static_cast<PictureSurface *>(client())->back = colour;
    client()->update();
}

} // namespace runtime::qt
