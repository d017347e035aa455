// One control on Qt. Each kind of the core's table has one class here that
// is both its widget (none for a timer) and this interface: the builder
// places it, and the window passes it the properties and events of its
// kind. Visible is the builder's, the same for every widget.
#pragma once

#include "description.h"
#include "kinds.h"
#include "status.h"

#include <functional>

class QAccessibleInterface;
class QWidget;

namespace runtime {

class QtControl
{
public:
    virtual ~QtControl() = default;

    virtual QWidget *widget() = 0;  // nullptr for a control with nothing on the screen
    virtual QWidget *clientArea() { return nullptr; }  // where the controls it holds go
    virtual Status read(Property, Value &) const { return Status::NoSuchProperty; }
    virtual Status write(Property, const Value &) { return Status::NoSuchProperty; }
    // Given once, when a handler is bound to one of the control's events.
    virtual void onEvent(std::function<void(Event)> raise) { (void)raise; }
    // What assistive technology is given for it; nullptr: Qt's own.
    virtual QAccessibleInterface *accessible() { return nullptr; }
};

// Makes the control of a row's kind, inside parent; nullptr for a kind
// this backend does not know.
QtControl *makeControl(const ControlRow &row, QWidget *parent);

} // namespace runtime
