// The conformance table (cases.h) on the Win32 backend: the window built
// by the backend as the program's are, its messages taken by the program's
// own loop, real mouse and keyboard input (the cursor put on the point,
// then the button pressed and let go; keys pressed and let go, all through
// SendInput), the text read back from the edit control, the pixels read
// back from the window, the focus asked of the window's MSAA object, the
// timer's ticks counted. Prints TAP; run under Wine by
// tests/conformance/win32.sh.
#include "cases.h"
#include "formprobe.h"
#include "program/application.h"
#include "description/timing.h"
#include "description/twips.h"
#include "win32backend.h"
#include "win32control.h"
#include "text.h"
#include "win32window.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <functional>
#include <vector>

using namespace conformance;

namespace {

// The driver's one program, on the platform's backend.
runtime::Application &app()
{
    static auto *application = new runtime::Application(win32::Win32Backend::instance());
    return *application;
}


HWND form;

// Runs the message loop until done() holds or ms have passed.
bool pumpUntil(const std::function<bool()> &done, DWORD ms)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (!done()) {
        if (GetTickCount() - start >= ms)
            return false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            win32::Win32Backend::dispatch(msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void press(Point p)
{
    POINT at{p.x, p.y};
    ClientToScreen(form, &at);
    SetCursorPos(at.x, at.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

// The key pressed and let go, with Shift held round it if asked.
void key(WORD vk, bool shift = false)
{
    const WORD keys[] = {VK_SHIFT, vk, vk, VK_SHIFT};
    INPUT in[4] = {};
    for (int i = 0; i < 4; ++i)
        in[i] = {.type = INPUT_KEYBOARD, .ki = {.wVk = keys[i], .dwFlags = DWORD(i < 2 ? 0 : KEYEVENTF_KEYUP)}};
    SendInput(shift ? 4 : 2, in + !shift, sizeof(INPUT));
}

// Input is handled in order: once a click on the sentinel has answered,
// every click or key sent before it has been handled. What they did, the
// sentinel's answer left out; "?" if it never came.
std::string answered(const std::function<void()> &send)
{
    clickLog.clear();
    send();
    press(sentinel());
    const std::string answer = std::string(S) + ';';
    if (!pumpUntil([&] { return clickLog.ends_with(answer); }, 10000))
        return "?";
    return clickLog.substr(0, clickLog.size() - answer.size());
}
std::string clickAt(Point p)
{
    return answered([p] { press(p); });
}

// A click on the zone, once its handler has run: the focus is on it, with
// no ring.
std::string focused();

// A zone answers the click; a field takes the focus.
bool clickOn(const char *control)
{
    clickLog.clear();
    press(pointOf({"", Check::Click, control, At::Centre, ""}));
    const bool field = window().controls[size_t(rowOf(control))].kind == Kind::TextBox;
    return pumpUntil([=] { return field ? focused() == control : clickLog == std::string(control) + ';'; }, 10000);
}

// The window takes input once a click on the sentinel answers; on a
// loaded machine a shown window may take a while.
int waitForInput()
{
    for (int tries = 1; tries <= 20; ++tries)
        if (clickAt(sentinel()) != "?")
            return tries;
    return 0;
}

// The window's pixels over the rectangle, as 0xRRGGBB.
std::vector<std::uint32_t> shown(const Rect &r)
{
    HDC screen = GetDC(form), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.width, r.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.width, r.height, screen, r.x, r.y, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.width, -r.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(size_t(r.width * r.height));
    GetDIBits(memory, bitmap, 0, UINT(r.height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(form, screen);
    return pixels;
}
std::vector<std::uint32_t> shown(const char *control) { return shown(windowRect(window(), rowOf(control))); }
const Rect client{0, 0, pixels(window().window.clientWidth), pixels(window().window.clientHeight)};

// The window's pixels with the ring round the control, where the core lays it.
std::vector<std::uint32_t> ringed(std::vector<std::uint32_t> image, const char *control)
{
    const int width = client.width;
    const Rect r = ringOf(control);
    for (int y = r.y; y <= r.bottom(); ++y)
        for (int x = r.x; x <= r.right(); ++x)
            image[size_t(y * width + x)] = withRing(r, x, y, image[size_t(y * width + x)] & 0xFFFFFF);
    return image;
}

// The window's object to a screen reader, and a row's child id in it.
IAccessible *accessible()
{
    IAccessible *root = nullptr;
    AccessibleObjectFromWindow(form, DWORD(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void **>(&root));
    return root;
}
VARIANT childOf(int row) { return VARIANT{.vt = VT_I4, .lVal = -(row + 1)}; }

// The row that has the focus, as a screen reader asks the window: the row
// whose element (each row has one) it answers.
std::string focused()
{
    IAccessible *root = accessible();
    VARIANT at{};
    std::string name = "none";
    for (int r = 0; root && root->get_accFocus(&at) == S_OK && r < int(window().controls.size()); ++r) {
        IDispatch *element = nullptr;
        if (SUCCEEDED(root->get_accChild(childOf(r), &element)) && element && element == at.pdispVal)
            name = window().controls[size_t(r)].name;
        if (element)
            element->Release();
        VariantClear(&at);
    }
    if (root)
        root->Release();
    return name;
}

// What an MSAA client hears of a row, as "ROLE|NAME|VALUE|STATE" in the
// core's words: asked of the window's own object, as a screen reader in
// another process would, with the row's child id as events name it.
std::string heard(int row)
{
    IAccessible *root = accessible();
    if (!root)
        return "no accessible object";
    const VARIANT child = childOf(row);
    VARIANT role{}, state{};
    BSTR name = nullptr, value = nullptr;
    root->get_accRole(child, &role);
    root->get_accName(child, &name);
    root->get_accValue(child, &value);
    root->get_accState(child, &state);
    root->Release();
    const auto utf8 = [](BSTR b) {
        std::string out = b ? win32::toUtf8(b) : std::string();
        SysFreeString(b);
        return out;
    };
    const std::map<LONG, std::string> roles = {{ROLE_SYSTEM_PUSHBUTTON, "button"}, {ROLE_SYSTEM_STATICTEXT, "statictext"},
                                               {ROLE_SYSTEM_GRAPHIC, "graphic"}, {ROLE_SYSTEM_TEXT, "text"}};
    const auto named = role.vt == VT_I4 ? roles.find(role.lVal) : roles.end();
    return (named == roles.end() ? std::to_string(role.lVal) : named->second) + '|' + utf8(name) + '|' + utf8(value)
            + '|' + (state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_READONLY) ? "read-only" : "");
}

// ok, or the reason it is not.
std::string run(Form &f, const Case &c)
{
    switch (c.check) {
    case Check::Click: {
        const std::string got = clickAt(pointOf(c)), want = *c.expect ? std::string(c.expect) + ';' : "";
        return got == want ? "" : "clicks reached '" + got + "', expected '" + want + "'";
    }
    case Check::TextReadsBack: {
        FormProbe::set(f, c.control, Property::Text, std::string(c.expect));
        wchar_t text[256] = {};
        GetWindowTextW(GetDlgItem(form, win32::childId(rowOf(c.control))), text, 256);
        std::string got;
        for (const wchar_t *t = text; *t; ++t)
            got += char(*t);
        return got == c.expect ? "" : "the edit control holds '" + got + "'";
    }
    case Check::CaptionRepaints: {
        pumpUntil([] { return false; }, 200);
        const std::vector<std::uint32_t> before = shown(c.control);
        FormProbe::set(f, c.control, Property::Caption, std::string(c.expect));
        return pumpUntil([&] { return shown(c.control) != before; }, 10000) ? "" : "the label's pixels never changed";
    }
    case Check::Accessible: {
        const std::string got = heard(rowOf(c.control));
        return got == c.expect ? "" : "a screen reader hears '" + got + "'";
    }
    // The keyboard's checks start with a click on the zone: each Tab is
    // done once the focus has moved; the keys before a click, once it has
    // answered.
    case Check::FocusOrder: {
        std::string went, at = clickOn(c.control) ? focused() : "no answer to the click";
        for (size_t stops = std::count(c.expect, c.expect + strlen(c.expect), ',') + 1; stops > 0; --stops) {
            key(VK_TAB);
            pumpUntil([&, from = at] { return (at = focused()) != from; }, 10000);
            went += (went.empty() ? "" : ",") + at;
        }
        return went == c.expect ? "" : "Tab went to " + went;
    }
    case Check::Ring: {
        const Rect ring = ringOf(c.control);
        if (ring.intersected(client) != ring)
            return "a side of the ring would be cut off";
        if (!clickOn(c.control))
            return "the click never answered: the focus is on " + focused();
        pumpUntil([] { return false; }, 200);
        const std::vector<std::uint32_t> before = shown(client), want = ringed(before, c.control);
        key(VK_TAB, true);
        key(VK_TAB);
        if (!pumpUntil([&] { return shown(client) == want; }, 10000))
            return "Shift+Tab and Tab drew no ring, or not only the ring, round it";
        // A second click, not the end of a double one, which selects a field's text.
        pumpUntil([] { return false; }, GetDoubleClickTime());
        clickOn(c.control);
        return pumpUntil([&] { return shown(client) == before; }, 10000) ? "" : "a click left the ring, or more";
    }
    case Check::Key: {
        const std::string got = clickOn(c.control) ? answered([] { key(VK_SPACE), key(VK_RETURN); }) : "?";
        return got == c.expect ? "" : "Space and Enter reached '" + got + "'";
    }
    case Check::TimerInterval: {
        // The system gives no timer's interval back, so it is measured:
        // ticks never come faster than asked, a loaded machine only makes
        // them slower, so only too many ticks fail.
        const int ms = timerDeliveryMs(window().controls[size_t(rowOf(c.control))].settings.interval,
                                       win32::Win32Backend::instance().refreshHz());
        const int first = ticks;
        const DWORD start = GetTickCount();
        pumpUntil([] { return false; }, 1000);
        const int got = ticks - first, most = int((GetTickCount() - start) * 1.1 / ms) + 2;
        std::printf("# %d ticks in %lu ms, the core asked for one each %d ms\n", got, GetTickCount() - start, ms);
        return got >= 1 && got <= most ? "" : "the timer ran faster than the core asked";
    }
    }
    return "unknown check";
}

} // namespace

int main()
{
    app().add(window());
    if (app().show("Conformance") != Status::Ok) {
        std::printf("Bail out! the window did not load\n");
        return 1;
    }
    Form &f = *app().loaded("Conformance");
    form = static_cast<win32::Win32Window &>(f.window()).handle();
    const int tries = waitForInput();
    if (!tries) {
        std::printf("Bail out! the window never took a click\n");
        return 1;
    }
    std::printf("1..%zu\n# the window took input at click %d\n", std::size(Cases), tries);
    int failed = 0, n = 0;
    for (const Case &c : Cases) {
        const std::string why = run(f, c);
        failed += !why.empty();
        std::printf("%sok %d - %s%s%s\n", why.empty() ? "" : "not ", ++n, c.name, why.empty() ? "" : " # ",
                    why.c_str());
    }
    std::fflush(stdout);
    return failed ? 1 : 0;
}
