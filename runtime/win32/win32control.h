// One control on Win32. Each kind of the core's table has one class here.
// Windowed kinds (picture boxes, text boxes, buttons, the browser view) are
// child windows; labels and lines are windowless, drawn and hit-tested by
// their container's Surface; a timer has nothing on the screen. The window
// builder places each control and passes it the properties and events of
// its kind. Every window of this program's own classes (forms, picture
// boxes, the browser view, the backend's) is an OwnWindow.
#pragma once

#include "description/description.h"
#include "description/kinds.h"
#include "description/status.h"
#include "win32.h"

#include <functional>
#include <memory>

namespace runtime::win32 {

class Surface;
class Windowless;

// Where a control goes: its row, its container's surface (and so window),
// the form's top-level window (which runs the timers), the layout's scale
// and the font it shows.
struct Place
{
    int row;
    Surface *surface;
    HWND form;
    int scale;
    HFONT font;
};

// A window of one of this program's own classes, answered by the object
// that made it: the object, given as the creation parameter, takes every
// message from the first on.
class OwnWindow
{
public:
    virtual ~OwnWindow() = default;

    // The window procedure of the classes registered by registerWindowClass.
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return DefWindowProcW(m_window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
};

class Win32Control : public OwnWindow
{
public:
    HWND window() const { return m_window; }            // windowed kinds; nullptr for the rest
    virtual Surface *surface() { return nullptr; }      // containers: where held controls go
    virtual Windowless *windowless() { return nullptr; }  // labels and lines
    // A new value of one of the kind's properties other than Visible.
    virtual void apply(Property, const Value &) {}
    // Given once, when a handler is bound to one of the control's events.
    void onEvent(std::function<void(Event)> fire) { m_fire = std::move(fire); }
    // Given once: the control took the focus by itself (a click into it, a
    // screen reader's request), which the core's focus follows.
    void onFocus(std::function<void()> focused) { m_focused = std::move(focused); }
    // Given once: what the user changes on the screen goes back to the form.
    virtual void onUserChange(std::function<void(Property, Value)> tell) { (void)tell; }
    // Timers: a tick every ms milliseconds; 0 stops it.
    virtual void runTimer(int ms) { (void)ms; }

    // Windowless kinds keep their own visibility, since no window holds it.
    virtual void setVisible(bool show)
    {
        if (m_window)
            ShowWindow(m_window, show ? SW_SHOWNA : SW_HIDE);
    }

    // What a windowed control's container passes on to it.
    virtual void command(WORD notification) { (void)notification; }
    virtual HBRUSH colours(HDC dc) { (void)dc; return nullptr; }
    // The form's window passes on its timer.
    virtual void tick() {}

protected:
    // Makes the control's child window at its row's place, shown unless the
    // row is hidden, in the place's font: of the system's class named, or
    // with none named of this program's own, answered by handle().
    void create(const wchar_t *systemClass, const ControlRow &row, const Place &place, DWORD style,
                DWORD exStyle = 0);
    void fire(Event event) const
    {
        if (m_fire)
            m_fire(event);
    }
    void tookFocus() const
    {
        if (m_focused)
            m_focused();
    }

private:
    std::function<void(Event)> m_fire;
    std::function<void()> m_focused;
};

// A control drawn on its container: a label or a line.
class Windowless : public Win32Control
{
public:
    Windowless(const ControlRow &row, const Place &place);

    Windowless *windowless() override { return this; }
    bool visible() const { return m_shown; }
    void setVisible(bool show) override;
    const RECT &bounds() const { return m_bounds; }
    int row() const { return m_row; }

    virtual void paint(HDC dc) = 0;
    void click() const { fire(Event::Click); }

protected:
    void repaint() const;

    RECT m_bounds;  // in the container's client coordinates, device pixels
    bool m_shown;
    int m_row;
    Surface &m_surface;
};

// Makes the control of a row's kind.
std::unique_ptr<Win32Control> makeControl(const ControlRow &row, const Place &place);

// Registers a window class of this program, answered by OwnWindow: the
// arrow cursor, no background (each class paints all of its client area);
// the class atom.
ATOM registerWindowClass(const wchar_t *name);

// The control of a child window that a control made.
inline Win32Control *controlOf(HWND child)
{
    auto *own = child ? reinterpret_cast<OwnWindow *>(GetWindowLongPtrW(child, GWLP_USERDATA)) : nullptr;
    return static_cast<Win32Control *>(own);
}

// The child id of a row's window: clear of IDOK and IDCANCEL, which the
// dialog keys send when no button is the default.
inline int childId(int row) { return 100 + row; }

} // namespace runtime::win32
