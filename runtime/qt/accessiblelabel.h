// A label to assistive technology. A label whose clicks someone answers is
// a click zone over a painted button: a button, named by its row, whose
// press action runs the very path a mouse click takes, and only while a
// mouse could reach it. Any other label is static text, its caption read.
#pragma once

#include <QAccessibleWidget>

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
    bool isZone() const;
    bool reachable() const;
};

} // namespace runtime::qt
