// A form's window to screen readers on Windows, through MSAA: the window
// answers WM_GETOBJECT for its client area with an IAccessible of its own,
// whose tree is the form's controls as the core describes them
// (accessibletree.h), and the changes the form passes to its window are
// raised as WinEvents. The system's stand-ins for BUTTON and STATIC
// windows are never relied on: every control answers from here, so the
// words are the same as on any other platform. A press from a screen
// reader is queued (Win32Backend::later), and then takes the very path a
// click does.
#pragma once

#include "description/status.h"
#include "win32.h"

#include <memory>
#include <vector>

namespace runtime {
class Form;
}

namespace runtime::win32 {

class Win32Control;
struct Link;

class Msaa
{
public:
    Msaa(Form &form, HWND window, int scale, const std::vector<std::unique_ptr<Win32Control>> &controls);
    ~Msaa();  // elements still held by clients answer that they are gone
    Msaa(const Msaa &) = delete;
    Msaa &operator=(const Msaa &) = delete;

    // The window procedure's messages that are MSAA's; true when handled.
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
    // A property of a row changed (the form's store holds the new value).
    void changed(int row, Property property);
    void windowShown(bool shown);
    // The keyboard's focus is now on a windowless row, which holds the
    // window's own focus: the system tells of the window, this of the row.
    void focused(int row);

private:
    std::shared_ptr<Link> m_link;
    const std::vector<std::unique_ptr<Win32Control>> &m_controls;
};

} // namespace runtime::win32
