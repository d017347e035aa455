// One control on Qt. Each kind of the core's table has one class here that
// is both its widget (none for a timer) and this interface: the builder
// places it, and the window passes it the changes of its kind's properties
// and the events it raises. Visible is the window's, the same for every
// widget.
#pragma once

#include "description/description.h"
#include "form/form.h"
#include "description/kinds.h"
#include "description/status.h"

#include <functional>

class QAccessibleInterface;
class QWidget;

namespace runtime::qt {

class QtControl
{
public:
    virtual ~QtControl() = default;

    virtual QWidget *widget() = 0;  // nullptr for a control with nothing on the screen
    virtual QWidget *clientArea() { return nullptr; }  // where the controls it holds go
    // A new value of one of the kind's properties other than Visible.
    virtual void apply(Property, const Value &) {}
    // Given once, when a handler is bound to one of the control's events.
    virtual void onEvent(std::function<void(Event)> fire) { (void)fire; }
    // Given once: what the user changes on the screen goes back to the form.
    virtual void onUserChange(std::function<void(Property, Value)> tell) { (void)tell; }
    // Timers: a tick every ms milliseconds; 0 stops it.
    virtual void runTimer(int ms) { (void)ms; }
    // What assistive technology is given for it; nullptr: Qt's own.
    virtual QAccessibleInterface *accessible() { return nullptr; }

    // Its form and row, for assistive technology's questions.
    Form *form = nullptr;
    int row = -1;
};

// Makes the control of a row's kind, inside parent.
QtControl *makeControl(const ControlRow &row, QWidget *parent);

} // namespace runtime::qt
