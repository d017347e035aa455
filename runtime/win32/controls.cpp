// The small kinds, each little more than a Win32 primitive: the command
// button, the line and the timer; and the table that makes each kind.
#include "browserview.h"
#include "drawing.h"
#include "label.h"
#include "layout.h"
#include "picturebox.h"
#include "surface.h"
#include "text.h"
#include "textbox.h"
#include "twips.h"
#include "win32control.h"


namespace runtime::win32 {

namespace {

// A push button that is never the window's default: Enter and Esc choose
// no button.
class CommandButton : public Win32Control
{
public:
    CommandButton(const ControlRow &row, const Place &place)
    {
        const RECT r = deviceRect(row.left, row.top, row.width, row.height, place.scale);
        const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_PUSHBUTTON | (row.settings.hidden ? 0 : WS_VISIBLE)
                | (row.settings.tabIndex >= 0 ? WS_TABSTOP : 0);
        m_window = CreateWindowExW(0, L"BUTTON", toWide(row.settings.caption ? row.settings.caption : "").c_str(),
                                   style, r.left, r.top, r.right - r.left, r.bottom - r.top, place.parent,
                                   reinterpret_cast<HMENU>(INT_PTR(childId(place.row))), nullptr, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<Win32Control *>(this)));
        SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(place.font), FALSE);
    }
    HWND window() const override { return m_window; }
    void apply(Property, const Value &value) override
    {
        SetWindowTextW(m_window, toWide(std::get<std::string>(value)).c_str());
    }
    void onEvent(std::function<void(Event)> fire) override { m_fire = std::move(fire); }
    void command(WORD notification) override
    {
        if (notification == BN_CLICKED && m_fire)
            m_fire(Event::Click);
    }

private:
    HWND m_window;
    std::function<void(Event)> m_fire;
};

// A line between its row's two end points (x1, y1, x2, y2), both drawn.
class Line : public Windowless
{
public:
    Line(const ControlRow &row, const Place &place)
        : Windowless(box(placeOf(row), place.scale), !row.settings.hidden, *place.surface),
          m_from{pixels(row.left) * place.scale, pixels(row.top) * place.scale},
          m_to{pixels(row.width) * place.scale, pixels(row.height) * place.scale},
          m_scale(place.scale),
          m_colour(colourRef(row.settings.fore, WindowText))
    {
    }

    void paint(HDC dc) override
    {
        // A level or upright line is a rectangle as wide as a layout pixel,
        // which scales with the screen as the pictures do.
        if (m_from.x == m_to.x || m_from.y == m_to.y) {
            FillRect(dc, &m_bounds, sharedBrush(m_colour));
            return;
        }
        HPEN pen = CreatePen(PS_SOLID, m_scale, m_colour);
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, m_from.x, m_from.y, nullptr);
        LineTo(dc, m_to.x, m_to.y);
        SetPixel(dc, m_to.x, m_to.y, m_colour);  // LineTo stops short of its end
        SelectObject(dc, old);
        DeleteObject(pen);
    }

private:
    static RECT box(const Rect &r, int scale)
    {
        return {r.x * scale, r.y * scale, (r.x + r.width) * scale, (r.y + r.height) * scale};
    }

    POINT m_from, m_to;
    int m_scale;
    COLORREF m_colour;
};

// Runs on the form's window as the form says, at the interval it says.
class Timer : public Win32Control
{
public:
    Timer(const ControlRow &, const Place &place) : m_form(place.form), m_id(UINT_PTR(childId(place.row))) {}
    ~Timer() override { KillTimer(m_form, m_id); }

    void onEvent(std::function<void(Event)> fire) override { m_fire = std::move(fire); }
    void runTimer(int ms) override
    {
        if (ms > 0)
            SetTimer(m_form, m_id, UINT(ms), nullptr);
        else
            KillTimer(m_form, m_id);
    }
    void tick() override
    {
        if (m_fire)
            m_fire(Event::Timer);
    }

private:
    HWND m_form;
    UINT_PTR m_id;
    std::function<void(Event)> m_fire;
};

} // namespace

ATOM registerWindowClass(const wchar_t *name, WNDPROC procedure)
{
    WNDCLASSEXW c{};
    c.cbSize = sizeof(c);
    c.lpfnWndProc = procedure;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.lpszClassName = name;
    return RegisterClassExW(&c);
}

std::unique_ptr<Win32Control> makeControl(const ControlRow &row, const Place &place)
{
    using Classes = ControlClasses<PictureBox, Label, TextBox, CommandButton, Line, Timer, BrowserView>;
    return Classes::make<Win32Control>(row.kind, row, place);
}

} // namespace runtime::win32
