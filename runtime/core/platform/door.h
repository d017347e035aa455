// The one way a platform's input reaches the core. A backend passes on
// what its platform says happened (a click, a timer's tick, typed text, a
// close request, a screen reader's press, a key that moves the focus or
// presses what has it) with the row it believes it is
// about; the core checks the form, the row, the kind and the event here,
// once, and drops quietly whatever names nothing the form has. Nothing a
// window message, a page script or a screen reader sends indexes a table
// before it has passed this door.
#pragma once

#include "description/kinds.h"

#include <string>

namespace runtime {

class Form;

// The keys the core answers on a window. Shift+Tab is BackTab.
enum class Key { Tab, BackTab, Left, Right, Up, Down, Enter, Space };

class Door
{
public:
    // A control's event: a click on it, or its timer's tick. Row -1 (the
    // window's own events) is the core's to raise, never a platform's.
    virtual void event(Form &form, int row, Event event) = 0;
    // The user typed into a text box: the window already shows the text.
    virtual void typed(Form &form, int row, std::string text) = 0;
    // The window's frame asked to close it (its close button, Alt+F4).
    virtual void close(Form &form) = 0;
    // Assistive technology's default action on a row: a click, taken only
    // while a click could reach the row. Whether it was taken.
    virtual bool press(Form &form, int row) = 0;
    // A key pressed on the window: Tab and Shift+Tab move the focus along
    // the form's order (description/focusorder.h, accessibility/focus.h),
    // wrapping; an arrow to the nearest row that way; Enter and Space
    // press the focused zone as a click does. Whether the core took the key: one it left is the platform's
    // (a native control's own keys, Enter and Esc on a dialog).
    virtual bool key(Form &form, Key key) = 0;
    // The platform's own focus went to the row by itself: a click into a
    // text box, a screen reader's request, the window active again. The
    // core's focus follows, without the ring, when the row may have it.
    virtual void focused(Form &form, int row) = 0;
    // The pointer was pressed on the window, wherever: the ring goes, and
    // the focus stays where it is.
    virtual void pointed(Form &form) = 0;

protected:
    ~Door() = default;
};

} // namespace runtime
