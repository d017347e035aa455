#include "accessibility.h"
#include "accessibletree.h"
#include "form.h"
#include "label.h"
#include "qtcontrol.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QWidget>

namespace runtime::qt::accessibility {

namespace {

// Each control class says what it is to assistive technology; Qt's own
// interfaces stay for the rest.
QAccessibleInterface *factory(const QString &, QObject *object)
{
    auto *control = dynamic_cast<QtControl *>(object);
    return control ? control->accessible() : nullptr;
}

// A box shown or hidden changes what its whole group says: the one that
// speaks for a spot may pass the word to another.
class VisibilityWatch : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        int row;
        Form *form = formOf(static_cast<QWidget *>(watched), row);
        // Nothing is built for announcements no one hears.
        if ((event->type() != QEvent::ShowToParent && event->type() != QEvent::HideToParent)
                || !QAccessible::isActive() || !form)
            return false;
        for (int member : runtime::accessibility::group(*form, row)) {
            QWidget *box = widgetOfRow(static_cast<QWidget *>(watched), member);
            if (!box)
                continue;
            QAccessible::State changed;
            changed.invisible = true;
            QAccessibleStateChangeEvent state(box, changed);
            QAccessible::updateAccessibility(&state);
            QAccessibleValueChangeEvent value(box, QString::fromStdString(runtime::accessibility::value(*form, member)));
            QAccessible::updateAccessibility(&value);
            QAccessibleEvent description(box, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&description);
        }
        return false;
    }
};

} // namespace

void install()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(factory);
    installed = true;
}

void describe(QWidget *control, Form &form, int row)
{
    // Qt's own interfaces (text boxes, buttons, the browser view) read the
    // widget's name; a text box's editor is what is read.
    if (form.description().controls[size_t(row)].settings.accessible.name) {
        const QString name = QString::fromStdString(runtime::accessibility::name(form, row));
        control->setAccessibleName(name);
        if (control->focusProxy())
            control->focusProxy()->setAccessibleName(name);
    }
    if (runtime::accessibility::role(form, row) == runtime::accessibility::Role::Graphic) {
        static VisibilityWatch *watch = new VisibilityWatch;  // lives as long as the process
        control->installEventFilter(watch);
    }
}

Form *formOf(const QWidget *control, int &row)
{
    const auto *c = dynamic_cast<const QtControl *>(control);
    row = c ? c->row : -1;
    return c ? c->form : nullptr;
}

QWidget *widgetOfRow(const QWidget *control, int row)
{
    int own;
    Form *form = formOf(control, own);
    if (!form)
        return nullptr;
    const QString name = QString::fromUtf8(form->description().controls[size_t(row)].name);
    return control->window()->findChild<QWidget *>(name);
}

// Announced whether or not a screen reader is known to listen: captions
// change only when their text does, which is seldom, and Qt passes the
// announcement on only to those who listen.
void captionChanged(Label *label)
{
    QAccessibleValueChangeEvent value(label, label->caption());
    QAccessible::updateAccessibility(&value);
    // An unnamed label is called by its caption; a named one tells it.
    QAccessibleEvent text(label, label->accessibleName().isEmpty() ? QAccessible::NameChanged
                                                                    : QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&text);
}

} // namespace runtime::qt::accessibility
