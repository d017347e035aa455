// What every backend must do, as one table that a small driver per
// backend runs: a click at a window point reaches the right zone or none,
// a hidden or clipped label takes no click, a text reads back as written,
// a caption change repaints, a timer runs at the interval the core asked
// for, a screen reader hears a zone, a lamp, a readout and a status
// field as the core's accessible tree says, and the keyboard: Tab goes
// round in the core's order, the ring is drawn where the core lays it,
// and a key on a zone is its click. The window and the table are plain
// data with no toolkit in them;
// every point is derived from the core's layout, so a driver checks the
// backend against the core, never against pixels typed here.
#pragma once

#include "description/control.h"
#include "description/description.h"
#include "form/form.h"
#include "description/layout.h"
#include "description/focusorder.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace conformance {

using namespace runtime;

// The zones whose click handlers ran, in order, each followed by ';'.
inline std::string clickLog;
inline int ticks = 0;

// A three-dimensional box (two pixels of border) holding two zones side
// by side, a hidden label in front of the second and a label pushed out of
// its client area; beside it an opaque label, a text box, a timer that
// keeps itself awake, the sentinel zone a driver clicks to know that
// every earlier click has been handled, and a zone whose handler fails;
// below, a dark lamp, a readout and a read-only status field; in the top
// right corner a zone against the window's edges.
inline constexpr ControlRow Controls[] = {
    {Kind::PictureBox, "Box", "", 300, 300, 1800, 900, {.back = rgb(0x000000)}},
    {Kind::Label, "Hidden", "Box", 675, 180, 300, 225, {.transparent = true, .hidden = true}},
    {Kind::Label, "ZoneA", "Box", 150, 150, 450, 300, {.transparent = true, .accessible = {"Zone A"}}},
    {Kind::Label, "ZoneB", "Box", 600, 150, 450, 300, {.transparent = true}},
    {Kind::Label, "Clipped", "Box", 150, 1200, 450, 300, {.transparent = true}},
    {Kind::Label, "Caption", "", 2400, 300, 1200, 300, {.back = rgb(0x000000), .fore = rgb(0xFF0000)}},
    {Kind::TextBox, "Text", "", 2400, 900, 1500, 300, {.text = "first"}},
    {Kind::Label, "Sentinel", "", 300, 2400, 600, 300, {.transparent = true}},
    {Kind::Label, "Faulty", "", 1200, 2400, 600, 300, {.transparent = true}},
    {Kind::Label, "Count", "", 0, 0, 15, 15, {.hidden = true}},
    {Kind::Timer, "Tick", "", 0, 0, 0, 0, {.interval = 1}},
    {Kind::PictureBox, "Lamp", "", 2400, 1500, 375, 255,
     {.back = rgb(0x000000), .border = Border::Flat, .hidden = true, .accessible = {"Lamp", "lit", "dark"}}},
    {Kind::Label, "Readout", "", 3000, 1500, 600, 300, {.caption = "000", .accessible = {"Readout"}}},
    {Kind::TextBox, "Status", "", 2400, 2100, 600, 300, {.text = "On", .readOnly = true, .accessible = {"Status"}}},
    {Kind::Label, "Edge", "", 4200, 0, 300, 300, {.transparent = true}},
};

template <const char *Name>
void clicked(Form &)
{
    clickLog += Name;
    clickLog += ';';
}
inline constexpr char A[] = "ZoneA", B[] = "ZoneB", H[] = "Hidden", C[] = "Clipped", S[] = "Sentinel", E[] = "Edge";

consteval Control control(std::string_view name) { return controlIn(Controls, name); }

// Each tick changes a hidden caption, so the core never puts it to sleep.
inline void tick(Form &form)
{
    form.setCaption(control("Count"), std::to_string(++ticks));
}

// As a write the window refused would: the handler stops there.
inline void failed(Form &)
{
    throw RunTimeError(Status::Failed, "Faulty", Property::Caption);
}

inline const Handler Handlers[] = {
    {"ZoneA_Click", clicked<A>}, {"ZoneB_Click", clicked<B>}, {"Hidden_Click", clicked<H>},
    {"Clipped_Click", clicked<C>}, {"Sentinel_Click", clicked<S>}, {"Tick_Timer", tick},
    {"Faulty_Click", failed}, {"Edge_Click", clicked<E>},
};

inline const FormDescription &window()
{
    static const FormDescription form{{.name = "Conformance", .caption = "Conformance", .clientWidth = 4500,
                                       .clientHeight = 3000},
                                      Controls, Handlers};
    return form;
}

enum class Check { Click, TextReadsBack, CaptionRepaints, TimerInterval, Accessible, FocusOrder, Ring, Key };
// Where on a control's window rectangle a click lands.
enum class At { Centre, TopLeft, RightEdge, PastRight, BottomEdge, PastBottom };

struct Case
{
    const char *name;
    Check check;
    const char *control;
    At at;
    // The zone whose handler runs ("" for none), a text, or what a screen
    // reader hears: "ROLE|NAME|VALUE|STATE", in the core's words (button,
    // statictext, graphic, text; read-only), which each driver puts its
    // platform's answers into. The keyboard's checks start with a click on
    // the control (a zone answers it; a field takes the platform's focus,
    // which the core's follows), which gives it the focus with no ring: then the rows
    // that Tab goes to, one by one; the ring drawn round it, which another
    // click puts away; or the clicks that Space and Enter on it make.
    const char *expect;
};

inline const Case Cases[] = {
    {"zone centre reaches the zone", Check::Click, "ZoneA", At::Centre, "ZoneA"},
    {"zone top-left pixel is inside", Check::Click, "ZoneA", At::TopLeft, "ZoneA"},
    {"zone right edge pixel is inside", Check::Click, "ZoneA", At::RightEdge, "ZoneA"},
    {"zone right edge: the next pixel is the neighbour's", Check::Click, "ZoneA", At::PastRight, "ZoneB"},
    {"zone right edge is outside, nothing beside", Check::Click, "ZoneB", At::PastRight, ""},
    {"zone bottom edge pixel is inside", Check::Click, "ZoneA", At::BottomEdge, "ZoneA"},
    {"zone bottom edge is outside", Check::Click, "ZoneA", At::PastBottom, ""},
    {"hidden label takes no click, the zone behind does", Check::Click, "Hidden", At::Centre, "ZoneB"},
    {"label clipped away by its box takes no click", Check::Click, "Clipped", At::Centre, ""},
    {"text box reads back as written", Check::TextReadsBack, "Text", At::Centre, "second, written"},
    {"caption change repaints", Check::CaptionRepaints, "Caption", At::Centre, "WWWW"},
    {"timer delivers at the core's interval", Check::TimerInterval, "Tick", At::Centre, ""},
    {"a zone is a button named for what it does", Check::Accessible, "ZoneA", At::Centre, "button|Zone A||"},
    {"a dark lamp is a picture that says so", Check::Accessible, "Lamp", At::Centre, "graphic|Lamp|dark|"},
    {"a readout tells its digits", Check::Accessible, "Readout", At::Centre, "statictext|Readout|000|"},
    {"a status field reads its text, read-only", Check::Accessible, "Status", At::Centre, "text|Status|On|read-only"},
    {"Tab goes round zones and fields as they are read, wrapping", Check::FocusOrder, "ZoneA", At::Centre,
     "ZoneB,Text,Status,Sentinel,Faulty,Edge,ZoneA"},
    {"the ring is two lines round the zone, and a click puts it away", Check::Ring, "ZoneB", At::Centre, ""},
    {"at the window's edges the ring keeps inside the window", Check::Ring, "Edge", At::Centre, ""},
    {"round a field the ring goes with a click into it", Check::Ring, "Status", At::Centre, ""},
    {"a click into a field takes the focus there, and Tab goes on from it", Check::FocusOrder, "Status", At::Centre,
     "Sentinel"},
    {"Space and Enter on a zone are its click", Check::Key, "ZoneB", At::Centre, "ZoneB;ZoneB;"},
};

inline int rowOf(const char *control)
{
    const auto &rows = window().controls;
    for (size_t i = 0; i < rows.size(); ++i)
        if (std::string(rows[i].name) == control)
            return int(i);
    return -1;
}

// The window point a case clicks, from the core's layout of its control.
struct Point
{
    int x, y;
};
inline Point pointOf(const Case &c)
{
    const Rect r = windowRect(window(), rowOf(c.control));
    switch (c.at) {
    case At::TopLeft:    return {r.x, r.y};
    case At::RightEdge:  return {r.right(), r.y + r.height / 2};
    case At::PastRight:  return {r.right() + 1, r.y + r.height / 2};
    case At::BottomEdge: return {r.x + r.width / 2, r.bottom()};
    case At::PastBottom: return {r.x + r.width / 2, r.bottom() + 1};
    case At::Centre:     break;
    }
    return {r.x + r.width / 2, r.y + r.height / 2};
}
// The focus ring's outer edge round a control, in the window.
inline Rect ringOf(const char *control) { return focus::ringInWindow(window(), rowOf(control)); }
// A window's pixel with the ring round the control, from before's: each
// of the ring's lines in its colour, the rest as before.
inline std::uint32_t withRing(const Rect &ring, int x, int y, std::uint32_t before)
{
    if (x < ring.x || y < ring.y || x > ring.right() || y > ring.bottom())
        return before;
    const int depth = std::min(std::min(x - ring.x, y - ring.y), std::min(ring.right() - x, ring.bottom() - y));
    return depth == 0 ? focus::RingOuter.value : depth == 1 ? focus::RingInner.value : before;
}

inline Point sentinel() { return pointOf({"", Check::Click, "Sentinel", At::Centre, ""}); }

} // namespace conformance
