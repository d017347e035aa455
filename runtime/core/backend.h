// What the core asks of a platform. A backend builds each form's window
// from its description (hidden, with every control), answers the
// properties of its controls, tells the form of clicks and ticks through
// Form::raise, and runs the event loop. The core decides everything else:
// what is bound, what a handler may touch, when the program ends.
#pragma once

#include "status.h"

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
    virtual Status read(int row, Property property, Value &value) const = 0;
    virtual Status write(int row, Property property, const Value &value) = 0;
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
    // A run-time error, already worded; each distinct one comes once.
    virtual void report(const std::string &message) = 0;
    // Runs work once the current handler has returned (a window unloaded
    // from its own handler is destroyed there).
    virtual void later(std::function<void()> work) = 0;
    virtual int exec() = 0;
    virtual void quit(int status) = 0;
    // Tests start afresh: anything the backend shows of past errors goes.
    virtual void reset() {}
};

// The platform's backend, defined once by each backend library.
Backend &platformBackend();

} // namespace runtime
