#include "accessiblecontrol.h"
#include "accessibility.h"
#include "accessibility/accessibletree.h"
#include "form/form.h"

#include <QWidget>

namespace runtime::qt {

namespace core = runtime::accessibility;

AccessibleControl::AccessibleControl(QWidget *control)
    : QAccessibleWidget(control, QAccessible::StaticText)
{
}

const Form *AccessibleControl::form(int &row) const { return accessibility::formOf(widget(), row); }

// Pressable as the core has it, and only while its window is shown.
bool AccessibleControl::reachable() const
{
    int row;
    const Form *f = form(row);
    return f && widget()->window()->isVisible() && core::pressable(*f, row);
}

QAccessible::Role AccessibleControl::role() const
{
    int row;
    const Form *f = form(row);
    switch (f ? core::role(*f, row) : core::Role::None) {
    case core::Role::Button:  return QAccessible::Button;
    case core::Role::Graphic: return QAccessible::Graphic;
    case core::Role::Pane:    return QAccessible::Pane;
    default:                  return QAccessible::StaticText;
    }
}

QAccessible::State AccessibleControl::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    int row;
    // Not the widget's own visibility: a hidden box may speak for its
    // group while none of it is shown.
    if (const Form *f = form(row))
        s.invisible = core::invisible(*f, row) || !widget()->window()->isVisible();
    return s;
}

QString AccessibleControl::text(QAccessible::Text t) const
{
    int row;
    const Form *f = form(row);
    if (!f || (t != QAccessible::Name && t != QAccessible::Value && t != QAccessible::Description))
        return QAccessibleWidget::text(t);
    if (t == QAccessible::Name)
        return QString::fromStdString(core::name(*f, row));
    // A readout or a picture with words tells what it shows as its
    // description too, which is what a reader speaks of a named thing.
    if (t == QAccessible::Description && !f->description().controls[size_t(row)].settings.accessible.name
            && core::role(*f, row) != core::Role::Graphic)
        return {};
    return QString::fromStdString(core::value(*f, row));
}

QStringList AccessibleControl::actionNames() const
{
    if (reachable())
        return {pressAction()};
    return {};
}

// The core's door decides: what AT-SPI asks for may come after the zone,
// or its window, has gone.
void AccessibleControl::doAction(const QString &actionName)
{
    int row;
    if (Form *f = accessibility::formOf(widget(), row); f && actionName == pressAction())
        f->door().press(*f, row);
}

QStringList AccessibleControl::keyBindingsForAction(const QString &) const
{
    return {};
}

} // namespace runtime::qt
