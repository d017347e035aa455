// A form's window on Win32: the top-level window and a control for each
// row of the description, in their containers, stacked, in tab order, with
// the events of bound handlers passed to the form. Built as the system's
// dialog templates are: every control made hidden with its window, then
// the load handler runs, then the window shows.
#pragma once

#include "platform/backend.h"
#include "form/form.h"
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
    static bool isForm(HWND window);

    void show() override;
    void hide() override;
    void apply(int row, Property property, const Value &value) override;
    void runTimer(int row, int ms) override;
    // The windowless zones do not take the keyboard's focus here yet: the
    // window's own keys are not passed to the core, so the core never
    // moves the focus, and the native controls keep theirs.
    void focus(int, bool) override {}

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
    HWND m_focus = nullptr;  // the control that has, or last had, the focus
    std::unique_ptr<Msaa> m_access;  // the window to screen readers
};

} // namespace runtime::win32
