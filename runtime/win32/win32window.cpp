#include "win32window.h"
#include "drawing.h"
#include "form/form.h"
#include "description/focusorder.h"
#include "description/kinds.h"
#include "description/layout.h"
#include "msaa.h"
#include "pictures.h"
#include "text.h"
#include "description/twips.h"
#include "win32control.h"

#include <map>

namespace runtime::win32 {

ATOM Win32Window::formClass()
{
    static const ATOM atom = registerWindowClass(L"VelkForm");
    return atom;
}

// By the class atom, which the window itself holds: asking for the class's
// name would ask the system's atom table, on every message of the loop.
Win32Window *Win32Window::of(HWND window)
{
    if (!window || GetClassLongPtrW(window, GCW_ATOM) != formClass())
        return nullptr;
    return static_cast<Win32Window *>(reinterpret_cast<OwnWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA)));
}

Win32Window::Win32Window(Form &form, HWND owner)
    : m_form(form), m_scale(layoutScale()), m_surface(colourRef(backOf(form.description().window), {}), nullptr, m_scale),
      m_ring(m_scale)
{
    create(form.description(), owner);
    build(form);
    stack(form.description());
    m_access = std::make_unique<Msaa>(form, m_window, m_scale, m_controls);
}

Win32Window::~Win32Window()
{
    // The child windows go with their parent; the controls after them.
    DestroyWindow(m_window);
    m_controls.clear();
}

void Win32Window::create(const FormDescription &d, HWND owner)
{
    const WindowSettings &w = d.window;
    const int width = pixels(w.clientWidth) * m_scale, height = pixels(w.clientHeight) * m_scale;
    DWORD style = WS_CLIPCHILDREN | (w.borderless ? WS_POPUP : WS_OVERLAPPEDWINDOW);
    // Kept off the task bar by a hidden owner, not as a tool window, which
    // Alt+Tab would leave out: a covered window must be found again.
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    if (w.showInTaskbar)
        owner = nullptr;
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    if (w.start == StartPosition::CenterScreen) {
        const Rect at = startPlace({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, width,
                                   height, {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top});
        x = at.x;
        y = at.y;
    }
    m_window = CreateWindowExW(exStyle, MAKEINTATOM(formClass()), toWide(w.caption).c_str(), style, x, y,
                               frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                               GetModuleHandleW(nullptr), static_cast<OwnWindow *>(this));
    m_surface.setWindow(m_window);
    m_surface.setContainer(m_form, -1);
    if (w.icon)
        for (auto [which, size] : {std::pair(ICON_BIG, SM_CXICON), std::pair(ICON_SMALL, SM_CXSMICON)})
            SendMessageW(m_window, WM_SETICON, which,
                         reinterpret_cast<LPARAM>(pictureIcon(w.icon, GetSystemMetrics(size))));
}

void Win32Window::build(Form &form)
{
    const FormDescription &d = form.description();
    m_controls.resize(d.controls.size());
    for (int r : buildOrder(d)) {
        const ControlRow &row = d.controls[size_t(r)];
        const int container = form.containerOf(r);
        Surface *surface = container < 0 ? &m_surface : m_controls[size_t(container)]->surface();
        const HFONT font = sharedFont(fontOf(row.settings), m_scale);
        m_controls[size_t(r)] = makeControl(row, {r, surface, m_window, m_scale, font});
        if (Surface *held = m_controls[size_t(r)]->surface())
            held->setContainer(form, r);
    }
    for (size_t r = 0; r < d.controls.size(); ++r) {
        if (form.handlesAny(int(r)))
            m_controls[r]->onEvent([&form, r](Event event) { form.door().event(form, int(r), event); });
        m_controls[r]->onFocus([&form, r] { form.door().focused(form, int(r)); });
        m_controls[r]->onUserChange([&form, r](Property, Value v) {
            if (std::string *text = std::get_if<std::string>(&v))
                form.door().typed(form, int(r), std::move(*text));
        });
    }
}

// Child windows of one container are stacked front-most first in listed
// order. The dialog keys follow that same order, so within it the windows
// are sorted by tab index wherever that changes no overlap: a window moves
// ahead only of windows it does not touch.
void Win32Window::stack(const FormDescription &d)
{
    auto tab = [&d](int r) { return unsigned(d.controls[size_t(r)].settings.tabIndex); };  // none (-1) last
    auto apart = [&d](int a, int b) {
        return placeOf(d.controls[size_t(a)]).intersected(placeOf(d.controls[size_t(b)])).isEmpty();
    };
    std::map<int, std::vector<int>> containers;  // the windowed rows of each
    for (int r : stackingOrder(d))
        if (m_controls[size_t(r)]->window())
            containers[containerOf(d, r)].push_back(r);
    for (auto &[container, rows] : containers) {
        for (size_t i = 1; i < rows.size(); ++i)
            for (size_t j = i; j > 0 && tab(rows[j]) < tab(rows[j - 1]) && apart(rows[j], rows[j - 1]); --j)
                std::swap(rows[j], rows[j - 1]);
        HWND above = HWND_TOP;
        for (int r : rows) {
            SetWindowPos(m_controls[size_t(r)]->window(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            above = m_controls[size_t(r)]->window();
        }
    }
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_surface.handle(message, wParam, lParam, result) || (m_access && m_access->handle(message, wParam, lParam, result)))
        return result;
    switch (message) {
    case WM_TIMER:
        if (wParam >= UINT_PTR(childId(0)) && wParam < UINT_PTR(childId(int(m_controls.size()))))
            m_controls[wParam - UINT_PTR(childId(0))]->tick();
        return 0;
    case WM_CLOSE:
        // Closing the window from its frame, or Alt+F4, unloads the form,
        // as the runtime does for any window the user closes.
        m_form.door().close(m_form);
        return 0;
    case WM_ACTIVATE:
        // The focus leaves with the window and comes back where it was.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_window, focus))
                m_focus = focus;
        } else if (m_focus && IsWindow(m_focus)) {
            SetFocus(m_focus);
            return 0;
        }
        break;
    case WM_COMMAND:
        // Enter and Esc, with no default button, come as IDOK and IDCANCEL.
        return 0;
    case WM_NEXTDLGCTL: {
        // Asked for by a control as a dialog would be: the next (or the
        // previous) control in tab order, or the one named.
        HWND next = lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(m_window, GetFocus(), wParam != 0);
        if (next)
            SetFocus(next);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void Win32Window::show()
{
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    // The core names the first focus once the window shows (focus());
    // later showings keep the control that last had it.
    if (m_focus && IsWindow(m_focus))
        SetFocus(m_focus);
    m_access->windowShown(true);
}

void Win32Window::hide()
{
    HWND focus = GetFocus();
    if (focus && IsChild(m_window, focus))
        m_focus = focus;
    ShowWindow(m_window, SW_HIDE);
    m_access->windowShown(false);
}

void Win32Window::apply(int row, Property property, const Value &value)
{
    Win32Control *c = m_controls[size_t(row)].get();
    if (property == Property::Visible)
        c->setVisible(std::get<bool>(value));
    else
        c->apply(property, value);
    m_access->changed(row, property);
}

void Win32Window::runTimer(int row, int ms)
{
    m_controls[size_t(row)]->runTimer(ms);
}

// Tab and Shift+Tab go to the core from anywhere in the window (a text
// box leaves Tab to it, textbox.cpp); the arrows, Enter and Space only
// while a zone has the focus, for a control's own keys are its own (an
// edit box's arrows, a button's Space, Enter and Esc choosing no button).
// While a zone has it, what the core leaves goes to the window alone: the
// dialog keys would hand the focus to a control behind the core's back.
bool Win32Window::key(MSG &msg)
{
    static const std::map<WPARAM, Key> keys = {{VK_TAB, Key::Tab},      {VK_LEFT, Key::Left},   {VK_RIGHT, Key::Right},
                                               {VK_UP, Key::Up},        {VK_DOWN, Key::Down},   {VK_RETURN, Key::Enter},
                                               {VK_SPACE, Key::Space}};
    const bool onZone = GetFocus() == m_window;
    const auto known = keys.find(msg.wParam);
    const bool shift = GetKeyState(VK_SHIFT) < 0, tab = msg.wParam == VK_TAB;
    if (msg.message == WM_KEYDOWN && known != keys.end() && (onZone || tab) && (!shift || tab)
            && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        // The keyboard is in use: the native controls show their focus too.
        if (known->second != Key::Enter && known->second != Key::Space)
            SendMessageW(m_window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        // The last use of this object: a zone's press may unload the form.
        if (m_form.door().key(m_form, shift ? Key::BackTab : known->second))
            return true;
    }
    if (!onZone)
        return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

// A windowless zone's focus is the window's own, which a screen reader is
// then told is on the zone; a control's is its child window's. Set only
// while the window is active (its activation puts it back, WM_ACTIVATE),
// so that moving the focus never brings a window forward.
void Win32Window::focus(int row, bool ring)
{
    if (row >= 0) {
        const HWND child = m_controls[size_t(row)]->window();
        m_focus = child ? child : m_window;
        if (GetActiveWindow() == m_window && GetFocus() != m_focus)
            SetFocus(m_focus);
        if (!child)
            m_access->focused(row);
    }
    if (!ring || row < 0) {
        m_ring.hide();
        return;
    }
    const int box = m_form.containerOf(row);
    m_ring.place(box < 0 ? m_window : m_controls[size_t(box)]->window(),
                 device(runtime::focus::ring(m_form.description(), row), m_scale));
}

} // namespace runtime::win32
