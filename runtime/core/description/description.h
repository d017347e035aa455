// A window description: the data a form is built from. One ControlRow per
// control, in the order the window lists them (front-most first within each
// container), plus the window's own settings and its table of handlers.
// Positions are stored in twips, as the form designer saved them. Plain
// data with no toolkit in it: every backend builds its windows from it.
#pragma once

#include <cstdint>
#include <span>

namespace runtime {

class Form;

// The kinds of control; what each can do is in kinds.h.
enum class Kind { PictureBox, Label, TextBox, CommandButton, Line, Timer, BrowserView };

// A colour is either an RGB value or one of the system colours; the high
// bit marks a system colour, as the designer stores it.
struct Colour
{
    enum : std::uint32_t { Unset = 0xFFFFFFFFu, SystemBit = 0x80000000u };
    std::uint32_t value = Unset;

    constexpr bool isSet() const { return value != Unset; }
    constexpr bool isSystem() const { return isSet() && (value & SystemBit); }
    constexpr std::uint32_t systemIndex() const { return value & ~SystemBit; }  // which system colour
    // This colour, or fallback where it is unset.
    constexpr Colour orElse(Colour fallback) const { return isSet() ? *this : fallback; }
};
constexpr Colour rgb(std::uint32_t rrggbb) { return {rrggbb & 0xFFFFFFu}; }
inline constexpr Colour WindowBackground{Colour::SystemBit | 5};
inline constexpr Colour WindowText{Colour::SystemBit | 8};
inline constexpr Colour ButtonFace{Colour::SystemBit | 15};
inline constexpr Colour ButtonText{Colour::SystemBit | 18};

struct Font
{
    const char *face = nullptr;  // nullptr: the window's default font
    double points = 0;
    int weight = 400;
};
// A window's font, and so that of every control that names none.
inline constexpr Font DefaultFont{"MS Sans Serif", 8.25, 400};
// The faces that stand in for one the system may lack, nearest first:
// MS Sans Serif takes a face with Arial's metrics, whose widths the small
// status fields were laid out for (a system's own pick is far wider), and
// Arial the free face made to its metrics.
struct FontStandIn
{
    const char *face;
    const char *standIns[2];  // nullptr past the last
};
inline constexpr FontStandIn FontStandIns[] = {
    {"MS Sans Serif", {"Arial", "Liberation Sans"}},
    {"Arial", {"Liberation Sans", nullptr}},
};

enum class Align { Left, Center, Right };
enum class Border { ThreeD, Flat };
// How deep a border is: a box's client area lies this far inside it.
constexpr int borderPixels(Border border) { return border == Border::Flat ? 1 : 2; }

// What assistive technology is told of a control: what it is called, and
// for a picture box what it shows while shown and while hidden. A box with
// a word for hidden keeps its place for a screen reader while hidden (a
// dark lamp is still a lamp). Boxes of one container that share a name
// stand on one spot and are told as one: the front-most shown speaks.
struct Accessible
{
    const char *name = nullptr;
    const char *shown = nullptr;
    const char *hidden = nullptr;
};

// Only what differs from the runtime's defaults is set in a row.
struct Settings
{
    const char *caption = nullptr;  // labels and buttons; nullptr: no caption
    const char *text = nullptr;     // text boxes
    const char *picture = nullptr;  // picture boxes: a picture's name
    Colour back = {};
    Colour fore = {};
    Font font = {};
    Align align = Align::Left;
    bool transparent = false;       // labels: show what lies behind
    Border border = Border::ThreeD; // picture and text boxes
    bool hidden = false;
    bool readOnly = false;
    bool multiLine = false;
    int tabIndex = -1;
    int interval = 0;               // timers, milliseconds
    // Timers: the handler reads the clock, so it runs at every tick even
    // when nothing has changed since the last (see Form::fire).
    bool readsClock = false;
    Accessible accessible = {};
};

// The font a row shows: its own, or the window's.
constexpr const Font &fontOf(const Settings &settings)
{
    return settings.font.face ? settings.font : DefaultFont;
}

// For a line, left/top/width/height hold its end points x1, y1, x2, y2.
struct ControlRow
{
    Kind kind;
    const char *name;
    const char *container;  // "" for the window itself
    int left, top, width, height;
    Settings settings = {};
};

enum class StartPosition { WindowsDefault, CenterScreen };

struct WindowSettings
{
    const char *name;
    const char *caption;
    int clientWidth, clientHeight;  // twips
    bool borderless = false;
    bool showInTaskbar = true;
    StartPosition start = StartPosition::WindowsDefault;
    Colour back = {};
    const char *icon = nullptr;     // a picture's name
    const char *accessibleName = nullptr;  // nullptr: the caption
};

using HandlerFn = void (*)(Form &);

// Bound by name: "<control>_<event>", or "Form_<event>" for the window.
struct Handler
{
    const char *name;
    HandlerFn fn;
};

struct FormDescription
{
    WindowSettings window;
    std::span<const ControlRow> controls;
    std::span<const Handler> handlers;
};

} // namespace runtime
