// One control on Win32. Each kind of the core's table has one class here.
// Windowed kinds (picture boxes, text boxes, buttons, the browser view) are
// child windows; labels and lines are windowless, drawn and hit-tested by
// their container's Surface; a timer has nothing on the screen. The window
// builder places each control and passes it the properties and events of
// its kind.
#pragma once

#include "description.h"
#include "kinds.h"
#include "status.h"
#include "win32.h"

#include <functional>
#include <memory>

namespace runtime::win32 {

class Surface;
class Windowless;

// Where a control goes: its row, its container's window and surface, the
// form's top-level window (which runs the timers), the layout's scale and
// the font it shows.
struct Place
{
    int row;
    HWND parent;
    Surface *surface;
    HWND form;
    int scale;
    HFONT font;
};

class Win32Control
{
public:
    virtual ~Win32Control() = default;

    virtual HWND window() const { return nullptr; }     // windowed kinds
    virtual Surface *surface() { return nullptr; }      // containers: where held controls go
    virtual Windowless *windowless() { return nullptr; }  // labels and lines
    // A new value of one of the kind's properties other than Visible.
    virtual void apply(Property, const Value &) {}
    // Given once, when a handler is bound to one of the control's events.
    virtual void onEvent(std::function<void(Event)> fire) { (void)fire; }
    // Given once: what the user changes on the screen goes back to the form.
    virtual void onUserChange(std::function<void(Property, Value)> tell) { (void)tell; }
    // Timers: a tick every ms milliseconds; 0 stops it.
    virtual void runTimer(int ms) { (void)ms; }

    // Windowless kinds keep their own visibility, since no window holds it.
    virtual void setVisible(bool show)
    {
        if (window())
            ShowWindow(window(), show ? SW_SHOWNA : SW_HIDE);
    }

    // What a windowed control's container passes on to it.
    virtual void command(WORD notification) { (void)notification; }
    virtual HBRUSH colours(HDC dc) { (void)dc; return nullptr; }
    // The form's window passes on its timer.
    virtual void tick() {}
};

// A control drawn on its container: a label or a line.
class Windowless : public Win32Control
{
public:
    Windowless(const RECT &bounds, bool shown, Surface &surface) : m_bounds(bounds), m_shown(shown), m_surface(surface) {}

    Windowless *windowless() override { return this; }
    bool visible() const { return m_shown; }
    void setVisible(bool show) override;
    const RECT &bounds() const { return m_bounds; }

    virtual void paint(HDC dc) = 0;
    // Whether a press at this point is the control's: lines let it through.
    virtual bool takesPress(POINT at) const { (void)at; return false; }
    virtual void click() {}

protected:
    void repaint() const;

    RECT m_bounds;  // in the container's client coordinates, device pixels
    bool m_shown;
    Surface &m_surface;
};

// Makes the control of a row's kind.
std::unique_ptr<Win32Control> makeControl(const ControlRow &row, const Place &place);

// Registers a window class of this program: the arrow cursor, no
// background (each class paints all of its client area); the class atom.
ATOM registerWindowClass(const wchar_t *name, WNDPROC procedure);

// The child id of a row's window: clear of IDOK and IDCANCEL, which the
// dialog keys send when no button is the default.
inline int childId(int row) { return 100 + row; }

} // namespace runtime::win32
