// A container's client area as its windowless controls meet it: the form's
// own client area, or a picture box's. It paints the area (the container's
// back colour, its picture from the origin, then the labels and lines it
// holds, back-most first, all under its child windows), routes a left click
// to the label the core's hit test finds under the pointer (press and
// release both on it), and passes the notifications and colour requests of
// child windows to their controls.
#pragma once

#include "animation/framedecoder.h"
#include "win32.h"

namespace runtime {
class Form;
}

#include <vector>

namespace runtime::win32 {

class Win32Control;
class Windowless;

class Surface
{
public:
    // The container's back colour, and its picture (or none) at the layout's scale.
    explicit Surface(COLORREF back, const Image *picture = nullptr, int scale = 1)
        : m_back(back), m_picture(picture), m_scale(scale) {}
    void setWindow(HWND window) { m_window = window; }
    // The form and the container's row (-1: the window), whose hit test
    // finds what a click on the surface meets.
    void setContainer(const Form &form, int row)
    {
        m_form = &form;
        m_row = row;
    }
    HWND window() const { return m_window; }

    // Behind those added before: front-most first.
    void add(Windowless *control) { m_controls.push_back(control); }

    // The messages of the container's window procedure that are the
    // surface's; true when handled, with the result.
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);

private:
    Win32Control *child(LPARAM lParam) const;
    void paint(HDC dc, const RECT &dirty) const;
    Windowless *pressable(POINT at) const;

    HWND m_window = nullptr;
    const Form *m_form = nullptr;
    int m_row = -1;
    COLORREF m_back;
    const Image *m_picture;
    int m_scale;
    std::vector<Windowless *> m_controls;
    Windowless *m_pressed = nullptr;
};

} // namespace runtime::win32
