#include "accessiblepicturebox.h"
#include "accessibility.h"
#include "picturebox.h"

namespace runtime::qt {

AccessiblePictureBox::AccessiblePictureBox(PictureBox *box)
    : QAccessibleWidget(box, QAccessible::Pane)
{
}

bool AccessiblePictureBox::hasWords() const
{
    return !accessibility::shownWord(widget()).isEmpty() || !accessibility::hiddenWord(widget()).isEmpty();
}

QList<QWidget *> AccessiblePictureBox::group(QWidget *box)
{
    const QString name = box->accessibleName();
    QWidget *container = box->parentWidget();
    if (name.isEmpty() || !container)
        return {box};
    QList<QWidget *> boxes;
    // The last child is the front-most: raising moves a widget to the end.
    const QObjectList &siblings = container->children();
    for (auto it = siblings.crbegin(); it != siblings.crend(); ++it) {
        auto *w = qobject_cast<PictureBox *>(*it);
        if (w && w->accessibleName() == name)
            boxes << w;
    }
    return boxes;
}

bool AccessiblePictureBox::speaks(QWidget *box)
{
    if (box->parentWidget() && !box->parentWidget()->isVisible())
        return false;
    const QList<QWidget *> boxes = group(box);
    for (QWidget *w : boxes)
        if (!w->isHidden())
            return w == box;
    for (QWidget *w : boxes)
        if (!accessibility::hiddenWord(w).isEmpty())
            return w == box;
    return false;
}

QAccessible::Role AccessiblePictureBox::role() const
{
    return hasWords() ? QAccessible::Graphic : QAccessible::Pane;
}

QAccessible::State AccessiblePictureBox::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (hasWords())
        s.invisible = !speaks(widget());
    return s;
}

QString AccessiblePictureBox::text(QAccessible::Text t) const
{
    if (hasWords() && (t == QAccessible::Value || t == QAccessible::Description))
        return widget()->isHidden() ? accessibility::hiddenWord(widget()) : accessibility::shownWord(widget());
    return QAccessibleWidget::text(t);
}

} // namespace runtime::qt
