#include "accessiblelabel.h"
#include "accessibility.h"
#include "accessibletree.h"
#include "form.h"
#include "label.h"

namespace runtime::qt {

namespace core = runtime::accessibility;

AccessibleLabel::AccessibleLabel(Label *label)
    : QAccessibleWidget(label, QAccessible::StaticText)
{
}

Label *AccessibleLabel::label() const { return static_cast<Label *>(widget()); }

const Form *AccessibleLabel::form(int &row) const { return accessibility::formOf(widget(), row); }

bool AccessibleLabel::isZone() const
{
    int row;
    const Form *f = form(row);
    return f && core::role(*f, row) == core::Role::Button;
}

// Pressable as the core has it, and only while its window is shown.
bool AccessibleLabel::reachable() const
{
    int row;
    const Form *f = form(row);
    return f && widget()->window()->isVisible() && core::pressable(*f, row);
}

QAccessible::Role AccessibleLabel::role() const
{
    return isZone() ? QAccessible::Button : QAccessible::StaticText;
}

QAccessible::State AccessibleLabel::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    int row;
    if (const Form *f = form(row); f && core::invisible(*f, row))
        s.invisible = true;
    return s;
}

QString AccessibleLabel::text(QAccessible::Text t) const
{
    int row;
    const Form *f = form(row);
    if (!f)
        return QAccessibleWidget::text(t);
    switch (t) {
    case QAccessible::Name:
        return QString::fromStdString(core::name(*f, row));
    case QAccessible::Value:
        return QString::fromStdString(core::value(*f, row));
    case QAccessible::Description:
        // A named text, a readout: what it shows now.
        return f->description().controls[size_t(row)].settings.accessible.name
                ? QString::fromStdString(core::value(*f, row)) : QString();
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList AccessibleLabel::actionNames() const
{
    if (reachable())
        return {pressAction()};
    return {};
}

void AccessibleLabel::doAction(const QString &actionName)
{
    if (actionName == pressAction() && reachable())
        label()->click();
}

QStringList AccessibleLabel::keyBindingsForAction(const QString &) const
{
    return {};
}

} // namespace runtime::qt
