#include "description/kinds.h"

namespace runtime {

namespace {

constexpr unsigned events(std::initializer_list<Event> list)
{
    unsigned bits = 0;
    for (Event e : list)
        bits |= 1u << int(e);
    return bits;
}

constexpr unsigned properties(std::initializer_list<Property> list)
{
    unsigned bits = 0;
    for (Property p : list)
        bits |= 1u << int(p);
    return bits;
}

using P = Property;
using E = Event;

constexpr KindInfo Kinds[] = {
    // kind               name               cont.  windowed visual focus  events             properties                               back              fore
    {Kind::PictureBox,    "picture box",      true,  true,  true,  false, 0,                   properties({P::Visible}),                ButtonFace,       ButtonText},
    {Kind::Label,         "label",            false, false, true,  false, events({E::Click}),  properties({P::Visible, P::Caption}),    ButtonFace,       ButtonText},
    {Kind::TextBox,       "text box",         false, true,  true,  true,  0,                   properties({P::Visible, P::Text}),       WindowBackground, WindowText},
    {Kind::CommandButton, "command button",   false, true,  true,  true,  events({E::Click}),  properties({P::Visible, P::Caption}),    ButtonFace,       ButtonText},
    {Kind::Line,          "line",             false, false, true,  false, 0,                   properties({P::Visible}),                {},               WindowText},
    {Kind::Timer,         "timer",            false, false, false, false, events({E::Timer}),  0},
    {Kind::BrowserView,   "web-browser view", false, true,  true,  false, 0,                   properties({P::Visible, P::Navigate})},
};

static_assert(coversEveryKind(Kinds));

const char *const EventNames[EventCount] = {"Click", "Timer", "Load", "Unload"};

} // namespace

const KindInfo *kindInfo(Kind kind)
{
    return int(kind) >= 0 && int(kind) < KindCount ? &Kinds[int(kind)] : nullptr;
}

Colour backOf(const ControlRow &row) { return row.settings.back.orElse(kindInfo(row.kind)->back); }
Colour foreOf(const ControlRow &row) { return row.settings.fore.orElse(kindInfo(row.kind)->fore); }
Colour backOf(const WindowSettings &window) { return window.back.orElse(ButtonFace); }

const char *describe(Event event)
{
    return EventNames[int(event)];
}

bool eventNamed(std::string_view name, Event &event)
{
    for (int e = 0; e < EventCount; ++e)
        if (name == EventNames[e]) {
            event = Event(e);
            return true;
        }
    return false;
}

} // namespace runtime
