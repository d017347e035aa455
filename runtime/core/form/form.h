// A loaded form as its handlers meet it: its controls by name (checked
// when the program is compiled, control.h), each property access with a
// status, and for handlers a raising form of each where a failing status
// becomes a RunTimeError that stops the handler at that step. The form owns its controls' properties: a handler reads them
// from here and never reaches the platform, and a write that changes a
// value is passed to the window once. Its timers sleep while they have
// nothing to do (see fire()).
#pragma once

#include "form/formhost.h"
#include "platform/backend.h"
#include "platform/door.h"
#include "description/binding.h"
#include "description/control.h"
#include "description/description.h"
#include "description/status.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// How the platform joins a folder and a file name.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

class Application;
struct FormProbe;

class Form
{
public:
    // Binds the handlers, has the host's backend build the window,
    // hidden, and starts the timers. The description must have passed
    // validate().
    Form(const FormDescription &description, FormHost &host);
    ~Form();
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    const std::string &name() const { return m_name; }
    const FormDescription &description() const { return m_description; }
    Window &window() const { return *m_window; }
    // Where the window's input goes: the platform tells the core only
    // through the door, which checks each row and event first.
    Door &door() const { return m_host.door(); }

    // The control's row in the description, or -1.
    int row(std::string_view control) const;
    // The row of the control that holds it, or -1: the window itself.
    int containerOf(int row) const { return m_containers[size_t(row)]; }

    // What the form holds of a row's property, for a backend's bridges
    // (assistive technology); nullptr for a property that keeps no value.
    const Value *value(int row, Property property) const
    {
        return const_cast<Form *>(this)->stored(row, property);
    }

    bool handles(int row, Event event) const { return m_bindings.handler(row, event); }
    // Whether a handler is bound to any event of the row: one callback
    // from the backend then carries every event of the control.
    bool handlesAny(int row) const;
    // Whether the row is a timer that delivers ticks now: started, and
    // not asleep.
    bool ticking(int row) const;

    // The keyboard's focus (description/focusorder.h): the rows that may take it, in
    // order; the row that has it (-1: wherever the window first put it);
    // whether its ring shows, which it does from the first key that moves
    // the focus until the mouse is used.
    const std::vector<int> &focusOrder() const { return m_focusOrder; }
    int focused() const { return m_focus; }
    bool ringShown() const { return m_ring; }
    // Whether the program shows the window now: only a shown window takes
    // the user's input.
    bool isShown() const { return m_shown; }

    // --- what handlers call; each raises RunTimeError on failure ---
    bool visible(Control control) const;
    void setVisible(Control control, bool visible);
    std::string text(Control control) const;
    void setText(Control control, std::string_view text);
    void setCaption(Control control, std::string_view caption);
    void navigate(Control control, std::string_view address);
    std::string appFolder() const;
    std::string option(const char *name) const;  // a command-line option's value; empty when not given
    void showForm(const char *form);
    void hideForm(const char *form);
    void unloadForm(const char *form);
    void end();

private:
    friend class Application;  // the door, the only caller of fire(), userChanged() and setFocus()
    friend struct FormProbe;   // the tests' way in; defined by them alone

    // An event, checked at the door or raised by the core: row -1 is the
    // form itself. Runs the bound handler, if any; a run-time error it raises
    // is reported and the program goes on.
    //
    // Handlers are functions of the form's state: a timer whose handler
    // changed nothing would change nothing at its next tick either, so it
    // sleeps until a property changes, by a handler or by the user; then
    // it ticks at once and goes on. A timer whose handler reads the clock
    // says so in its row (readsClock) and never sleeps.
    void fire(int row, Event event);
    // The user changed a property on the screen (typed into a text box):
    // the window already shows it, and the form keeps it.
    void userChanged(int row, Property property, Value value);
    // The focus moves (or its ring comes or goes); the window is told of
    // a change, and whether the ring is drawn on that row (shown).
    void setFocus(int row, bool ring, bool shown);
    // Shows or hides the window, knowing it first: the platform may speak
    // of the window while it appears.
    void setShown(bool shown);

    int rowOf(Control control) const;
    Status read(int row, Property property, Value &value) const;
    Status write(int row, Property property, const Value &value);
    Value get(Control control, Property property) const;
    void put(Control control, Property property, Value value);
    Value *stored(int row, Property property);
    void changed();

    const FormDescription &m_description;
    std::string m_name;
    FormHost &m_host;
    Backend &m_backend;
    Bindings m_bindings;
    // Each control's Visible and its one text (Caption or Text), by row.
    struct Values
    {
        Value visible;
        Value text;
    };
    std::vector<Values> m_values;
    std::vector<int> m_containers;  // by row
    std::vector<int> m_focusOrder;
    int m_focus = -1;
    bool m_ring = false;
    bool m_shown = false;
    std::unique_ptr<Window> m_window;
    // Timers: how often each delivers (0: not a running timer), and
    // whether it is asleep.
    struct TimerState
    {
        int row;
        int ms;
        bool asleep = false;
    };
    std::vector<TimerState> m_timers;
    unsigned long m_changes = 0;  // counts every change to the store
    // What the backend runs later holds this, not the form.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace runtime
