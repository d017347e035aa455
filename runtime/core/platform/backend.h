// What the core asks of a platform. The core owns every control's
// properties (a form's store, seeded from its description); a backend
// builds each form's window from the description (hidden, with every
// control), is told of each change as one narrow apply(), runs the timers
// the core asks for, passes clicks, ticks, what the user typed and close
// requests through the core's one door (door.h), and runs the event loop.
// The core decides everything else: what is bound, what a handler may
// touch, when a timer sleeps, when the program ends.
#pragma once

#include "description/status.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace runtime {

class Form;

// One loaded form's window. Controls are addressed by their row in the
// description; the core has already checked that the kind has the property.
class Window
{
public:
    virtual ~Window() = default;

    virtual void show() = 0;  // the first show puts the focus on the first control in tab order
    virtual void hide() = 0;
    // A property's new value, which the form already holds. Only a change
    // comes here (a navigation each time it is asked for): the backend
    // shows it. What a platform must keep to draw (a painted label's
    // caption, whether a windowless control is shown) is written only
    // from here and never read back as the form's state. A device error
    // throws RunTimeError, which stops the handler there and puts the
    // form's value back.
    virtual void apply(int row, Property property, const Value &value) = 0;
    // The row's timer delivers a tick every ms milliseconds; 0 stops it.
    virtual void runTimer(int row, int ms) = 0;
    // The keyboard's focus is now on the row: the platform gives it its
    // own focus (which a screen reader follows), and with ring draws the
    // focus ring around it (focus::ring()) until told otherwise; without,
    // no ring anywhere.
    virtual void focus(int row, bool ring) = 0;
};

class Backend
{
public:
    virtual ~Backend() = default;

    // The window of a form, built hidden; the description has been checked.
    virtual std::unique_ptr<Window> build(Form &form) = 0;
    virtual bool hasPicture(std::string_view name) const = 0;
    // The folder of the running executable, in the platform's own form;
    // empty when it cannot be had.
    virtual std::string appFolder() const = 0;
    // The screen's refresh rate, or 0 when the platform cannot tell.
    virtual double refreshHz() const { return 0; }
    // An error, already worded; each distinct one comes once. A fatal one
    // ends the program once the user has seen it.
    virtual void report(const std::string &message, bool fatal = false) = 0;
    // Runs work once the current handler has returned (a window unloaded
    // from its own handler is destroyed there).
    virtual void later(std::function<void()> work) = 0;
    virtual int exec() = 0;
    // Whether the platform's event loop goes on after exec() has returned
    // (a page's is the browser's): the program's windows then outlive it.
    virtual bool loopOutlivesExec() const { return false; }
    virtual void quit(int status) = 0;
};

} // namespace runtime
