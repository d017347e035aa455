// A label to assistive technology, as the core describes it
// (accessibletree.h): a click zone is a button whose press action runs the
// very path a mouse click takes; any other label is static text.
#pragma once

#include <QAccessibleWidget>

namespace runtime { class Form; }

namespace runtime::qt {

class Label;

class AccessibleLabel : public QAccessibleWidget
{
public:
    explicit AccessibleLabel(Label *label);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    Label *label() const;
    const Form *form(int &row) const;
    bool isZone() const;
    bool reachable() const;
};

} // namespace runtime::qt
