// A form's window on Win32: the top-level window and a control for each
// row of the description, in their containers, stacked, in tab order, with
// the events of bound handlers passed to the form. Built as the system's
// dialog templates are: every control made hidden with its window, then
// the load handler runs, then the window shows. The keys that move the
// focus or press a zone go to the core's door, which tells the window
// where the focus is and whether its ring shows: a windowless zone's focus
// is the form window's own, its ring a window of its own (focusring.h).
#pragma once

#include "platform/backend.h"
#include "form/form.h"
#include "focusring.h"
#include "surface.h"
#include "win32.h"
#include "win32control.h"

#include <memory>
#include <string>
#include <vector>

namespace runtime::win32 {

class Msaa;

class Win32Window : public Window, private OwnWindow
{
public:
    // owner: the window that keeps a form off the task bar.
    Win32Window(Form &form, HWND owner);
    ~Win32Window() override;

    HWND handle() const { return m_window; }
    // The form whose top-level window this is, or none.
    static Win32Window *of(HWND window);

    // A key message for the window or one of its controls, before the
    // dialog keys see it: whether it is done with here.
    bool key(MSG &msg);
    // The mouse was pressed somewhere on the window.
    void pointed() { m_form.door().pointed(m_form); }

    void show() override;
    void hide() override;
    void apply(int row, Property property, const Value &value) override;
    void runTimer(int row, int ms) override;
    void focus(int row, bool ring) override;

private:
    static ATOM formClass();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void create(const FormDescription &description, HWND owner);
    void build(Form &form);
    void stack(const FormDescription &description);

    Form &m_form;
    int m_scale;
    Surface m_surface;
    std::vector<std::unique_ptr<Win32Control>> m_controls;  // by row
    // The control that has, or last had, the focus; the window itself
    // for a windowless zone.
    HWND m_focus = nullptr;
    FocusRing m_ring;
    std::unique_ptr<Msaa> m_access;  // the window to screen readers
};

} // namespace runtime::win32
