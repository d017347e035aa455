#include "accessiblelabel.h"
#include "label.h"

namespace runtime::qt {

AccessibleLabel::AccessibleLabel(Label *label)
    : QAccessibleWidget(label, QAccessible::StaticText)
{
}

Label *AccessibleLabel::label() const { return static_cast<Label *>(widget()); }

bool AccessibleLabel::isZone() const { return label()->answersClicks(); }

// Shown, and not clipped away entirely by the boxes that hold it: a zone
// that lies outside its box's client area is never clicked, so it is not
// pressed either.
bool AccessibleLabel::reachable() const
{
    return widget()->isVisible() && !widget()->visibleRegion().isEmpty();
}

QAccessible::Role AccessibleLabel::role() const
{
    return isZone() ? QAccessible::Button : QAccessible::StaticText;
}

QAccessible::State AccessibleLabel::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (!reachable())
        s.invisible = true;
    return s;
}

QString AccessibleLabel::text(QAccessible::Text t) const
{
    const QString name = widget()->accessibleName();
    switch (t) {
    case QAccessible::Name:
        return name.isEmpty() ? label()->caption() : name;
    case QAccessible::Value:
        return isZone() ? QString() : label()->caption();
    case QAccessible::Description:
        // A named text, a readout: what it shows now.
        return !isZone() && !name.isEmpty() ? label()->caption() : QString();
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList AccessibleLabel::actionNames() const
{
    if (isZone() && reachable())
        return {pressAction()};
    return {};
}

void AccessibleLabel::doAction(const QString &actionName)
{
    if (actionName == pressAction() && isZone() && reachable())
        label()->click();
}

QStringList AccessibleLabel::keyBindingsForAction(const QString &) const
{
    return {};
}

} // namespace runtime::qt
