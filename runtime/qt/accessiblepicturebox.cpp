#include "accessiblepicturebox.h"
#include "accessibility.h"
#include "accessibletree.h"
#include "picturebox.h"

namespace runtime::qt {

namespace core = runtime::accessibility;

AccessiblePictureBox::AccessiblePictureBox(PictureBox *box)
    : QAccessibleWidget(box, QAccessible::Pane)
{
}

bool AccessiblePictureBox::hasWords() const
{
    int row;
    const Form *form = accessibility::formOf(widget(), row);
    return form && core::role(*form, row) == core::Role::Graphic;
}

QAccessible::Role AccessiblePictureBox::role() const
{
    return hasWords() ? QAccessible::Graphic : QAccessible::Pane;
}

QAccessible::State AccessiblePictureBox::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    int row;
    if (const Form *form = accessibility::formOf(widget(), row); form && hasWords())
        s.invisible = core::invisible(*form, row) || !widget()->window()->isVisible();
    return s;
}

QString AccessiblePictureBox::text(QAccessible::Text t) const
{
    int row;
    const Form *form = accessibility::formOf(widget(), row);
    if (form && t == QAccessible::Name)
        return QString::fromStdString(core::name(*form, row));
    if (form && hasWords() && (t == QAccessible::Value || t == QAccessible::Description))
        return QString::fromStdString(core::value(*form, row));
    return QAccessibleWidget::text(t);
}

} // namespace runtime::qt
