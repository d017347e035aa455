// The small kinds, each little more than a Win32 primitive: the command
// button, the line and the timer; how a windowed kind makes its window;
// and the table that makes each kind.
#include "browserview.h"
#include "drawing.h"
#include "label.h"
#include "description/layout.h"
#include "picturebox.h"
#include "surface.h"
#include "text.h"
#include "textbox.h"
#include "win32backend.h"
#include "description/twips.h"
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
        create(L"BUTTON", row, place, BS_PUSHBUTTON | (row.settings.tabIndex >= 0 ? WS_TABSTOP : 0));
        if (row.settings.caption)
            apply(Property::Caption, std::string(row.settings.caption));
    }
    void apply(Property, const Value &value) override
    {
        SetWindowTextW(m_window, toWide(std::get<std::string>(value)).c_str());
    }
    void command(WORD notification) override
    {
        if (notification == BN_CLICKED)
            fire(Event::Click);
    }
};

// A line between its row's two end points (x1, y1, x2, y2), both drawn.
class Line : public Windowless
{
public:
    Line(const ControlRow &row, const Place &place)
        : Windowless(row, place),
          m_from{pixels(row.left) * place.scale, pixels(row.top) * place.scale},
          m_to{pixels(row.width) * place.scale, pixels(row.height) * place.scale},
          m_scale(place.scale),
          m_colour(colourRef(foreOf(row), {}))
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

    void runTimer(int ms) override
    {
        if (ms > 0)
            SetTimer(m_form, m_id, UINT(ms), nullptr);
        else
            KillTimer(m_form, m_id);
    }
    void tick() override { fire(Event::Timer); }

private:
    HWND m_form;
    UINT_PTR m_id;
};

} // namespace

ATOM registerWindowClass(const wchar_t *name)
{
    WNDCLASSEXW c{};
    c.cbSize = sizeof(c);
    c.lpfnWndProc = OwnWindow::procedure;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.lpszClassName = name;
    return RegisterClassExW(&c);
}

LRESULT CALLBACK OwnWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<OwnWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        if (self)
            self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<OwnWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const Win32Backend::Handling handling;  // what its handlers defer waits for it
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

void Win32Control::create(const wchar_t *systemClass, const ControlRow &row, const Place &place, DWORD style,
                          DWORD exStyle)
{
    static const ATOM own = registerWindowClass(L"VelkControl");
    const RECT r = device(placeOf(row), place.scale);
    style |= WS_CHILD | WS_CLIPSIBLINGS | (row.settings.hidden ? 0 : WS_VISIBLE);
    OwnWindow *self = this;
    m_window = CreateWindowExW(exStyle, systemClass ? systemClass : MAKEINTATOM(own), L"", style, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, place.surface->window(),
                               reinterpret_cast<HMENU>(INT_PTR(childId(place.row))), nullptr, systemClass ? nullptr : self);
    // A system class's window too, for controlOf().
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(place.font), FALSE);
}

std::unique_ptr<Win32Control> makeControl(const ControlRow &row, const Place &place)
{
    using Classes = ControlClasses<PictureBox, Label, TextBox, CommandButton, Line, Timer, BrowserView>;
    return Classes::make<Win32Control>(row.kind, row, place);
}

} // namespace runtime::win32
