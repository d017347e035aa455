// A container's client area as its windowless controls meet it: the form's
// own client area, or a picture box's. It draws the labels and lines it
// holds (back-most first, over the container's own background and under
// its child windows), routes a left click to the front-most shown label
// under the pointer (press and release both inside it), and passes the
// notifications and colour requests of child windows to their controls.
#pragma once

#include "win32.h"

#include <vector>

namespace runtime::win32 {

class Windowless;

class Surface
{
public:
    explicit Surface(HWND window = nullptr) : m_window(window) {}
    void setWindow(HWND window) { m_window = window; }
    HWND window() const { return m_window; }

    // In listed order: front-most first.
    void add(Windowless *control) { m_controls.push_back(control); }
    void paint(HDC dc, const RECT &dirty) const;

    // The messages of the container's window procedure that are the
    // surface's; true when handled, with the result.
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);

private:
    Windowless *pressable(POINT at) const;

    HWND m_window;
    std::vector<Windowless *> m_controls;
    Windowless *m_pressed = nullptr;
};

} // namespace runtime::win32
