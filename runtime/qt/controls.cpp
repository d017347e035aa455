// The Qt class of each kind of control, and the two small kinds that are a
// Qt class with little more: the command button and the timer.
#include "accessiblecontrol.h"
#include "browserview.h"
#include "label.h"
#include "line.h"
#include "picturebox.h"
#include "qtcontrol.h"
#include "textbox.h"

#include <QPushButton>
#include <QTimer>

namespace runtime::qt {

namespace {

// A push button that is never the window's default: Enter and Esc choose
// no button. A screen reader's press goes to the core's door, as any
// other button's does, not through Qt's own button interface, which
// clicks whatever it is asked to, in a hidden window too.
class CommandButton : public QPushButton, public QtControl
{
public:
    CommandButton(const ControlRow &row, QWidget *parent) : QPushButton(parent)
    {
        // Named once built: naming tells a screen reader, which then asks
        // for the button's interface, and the class must be whole to give ours.
        setText(QString::fromUtf8(row.settings.caption ? row.settings.caption : ""));
        setAutoDefault(false);
    }
    QWidget *widget() override { return this; }
    void apply(Property, const Value &value) override
    {
        setText(QString::fromStdString(std::get<std::string>(value)));
    }
    void onEvent(std::function<void(Event)> fire) override
    {
        connect(this, &QPushButton::clicked, this, [fire] { fire(Event::Click); });
    }
    QAccessibleInterface *accessible() override { return new AccessibleControl(this); }
};

// Runs as the form says, at the interval it says. A coarse timer lets Qt
// wake the process once for this and any other timer due within a few
// per cent of it.
class Timer : public QTimer, public QtControl
{
public:
    Timer(const ControlRow &, QWidget *parent) : QTimer(parent) { setTimerType(Qt::CoarseTimer); }
    QWidget *widget() override { return nullptr; }
    void onEvent(std::function<void(Event)> fire) override
    {
        connect(this, &QTimer::timeout, this, [fire] { fire(Event::Timer); });
    }
    void runTimer(int ms) override
    {
        if (ms <= 0)
            stop();
        else if (!isActive() || interval() != ms)
            start(ms);
    }
};

} // namespace

QtControl *makeControl(const ControlRow &row, QWidget *parent)
{
    // Owned by its parent widget, or (a timer) by its parent as an object.
    using Classes = ControlClasses<PictureBox, Label, TextBox, CommandButton, Line, Timer, BrowserView>;
    return Classes::make<QtControl>(row.kind, row, parent).release();
}

} // namespace runtime::qt
