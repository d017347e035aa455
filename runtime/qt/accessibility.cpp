#include "accessibility.h"
#include "accessiblepicturebox.h"
#include "label.h"
#include "picturebox.h"
#include "qtcontrol.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QWidget>

namespace runtime::qt::accessibility {

namespace {

const char ShownKey[] = "accessibleShown";
const char HiddenKey[] = "accessibleHidden";

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
        if ((event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
                && QAccessible::isActive()) {
            for (QWidget *box : AccessiblePictureBox::group(static_cast<QWidget *>(watched))) {
                QAccessible::State changed;
                changed.invisible = true;
                QAccessibleStateChangeEvent state(box, changed);
                QAccessible::updateAccessibility(&state);
                QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
                QAccessibleValueChangeEvent value(box, iface ? iface->text(QAccessible::Value) : QString());
                QAccessible::updateAccessibility(&value);
                QAccessibleEvent description(box, QAccessible::DescriptionChanged);
                QAccessible::updateAccessibility(&description);
            }
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

void describe(QWidget *control, const Accessible &words)
{
    if (words.name) {
        control->setAccessibleName(QString::fromUtf8(words.name));
        if (control->focusProxy())  // a text box: its editor is what is read
            control->focusProxy()->setAccessibleName(QString::fromUtf8(words.name));
    }
    if (!words.shown && !words.hidden)
        return;
    control->setProperty(ShownKey, QString::fromUtf8(words.shown ? words.shown : ""));
    control->setProperty(HiddenKey, QString::fromUtf8(words.hidden ? words.hidden : ""));
    static VisibilityWatch *watch = new VisibilityWatch;  // lives as long as the process
    control->installEventFilter(watch);
}

QString shownWord(const QWidget *box) { return box->property(ShownKey).toString(); }
QString hiddenWord(const QWidget *box) { return box->property(HiddenKey).toString(); }

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
