// A label, picture box or command button to assistive technology, as the
// core describes it (accessibletree.h): a click zone or a command button
// is a button whose press goes through the core's door, as a click does,
// any other label static text; a picture
// box given words for being shown and hidden is a picture that tells which
// it is (a lamp lit or dark), found while its group has it speak, one
// without a pane that holds its controls. This interface only puts the
// core's answers in Qt's words.
#pragma once

#include <QAccessibleWidget>

namespace runtime { class Form; }

namespace runtime::qt {

class AccessibleControl : public QAccessibleWidget
{
public:
    explicit AccessibleControl(QWidget *control);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    const Form *form(int &row) const;
    bool reachable() const;
};

} // namespace runtime::qt
