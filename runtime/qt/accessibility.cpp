#include "accessibility.h"
#include "accessibility/accessibletree.h"
#include "form/form.h"
#include "qtcontrol.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QWidget>

namespace runtime::qt::accessibility {

namespace core = runtime::accessibility;

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
        // Nothing is built for announcements no one hears.
        if ((event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) && QAccessible::isActive())
            changed(static_cast<QWidget *>(watched), Property::Visible);
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
        const QString name = QString::fromStdString(core::name(form, row));
        control->setAccessibleName(name);
        if (control->focusProxy())
            control->focusProxy()->setAccessibleName(name);
    }
    if (core::role(form, row) == core::Role::Graphic) {
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

// The core's announcements in Qt's words; Qt itself tells of a widget
// shown or hidden.
void changed(QWidget *control, Property property)
{
    int row;
    Form *form = formOf(control, row);
    if (!form)
        return;
    for (const core::Announcement &told : core::announcements(*form, row, property)) {
        QWidget *widget = told.row == row ? control : widgetOfRow(control, told.row);
        if (!widget)
            continue;
        switch (told.change) {
        case core::Change::State: {
            QAccessible::State state;
            state.invisible = true;
            QAccessibleStateChangeEvent event(widget, state);
            QAccessible::updateAccessibility(&event);
            break;
        }
        case core::Change::Value: {
            QAccessibleValueChangeEvent event(widget, QString::fromStdString(core::value(*form, told.row)));
            QAccessible::updateAccessibility(&event);
            break;
        }
        case core::Change::Name:
        case core::Change::Description: {
            QAccessibleEvent event(widget, told.change == core::Change::Name ? QAccessible::NameChanged
                                                                             : QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
            break;
        }
        case core::Change::Shown:
        case core::Change::Hidden:
            break;
        }
    }
}

} // namespace runtime::qt::accessibility
