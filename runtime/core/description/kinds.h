// What the runtime knows of each kind of control, as one table: which
// hold others, which are drawn on their container's surface, which take
// the focus, which events they raise and which properties they have. A
// new kind is a row here and one class in each backend.
#pragma once

#include "description/description.h"
#include "description/status.h"

#include <cstddef>
#include <memory>
#include <initializer_list>
#include <string_view>

namespace runtime {

enum class Event { Click, Timer, Load, Unload };
inline constexpr int EventCount = 4;

const char *describe(Event event);

struct KindInfo
{
    Kind kind;
    const char *name;
    bool container;   // holds other controls and clips them
    bool windowed;    // false: drawn on its container's surface, behind every windowed sibling
    bool visual;      // false: nothing on the screen (a timer)
    bool focusable;   // takes the focus, in tab order
    unsigned events;      // bit per Event
    unsigned properties;  // bit per Property the control answers
    Colour back = {};     // where a row sets none; unset: nothing is painted
    Colour fore = {};

    bool raises(Event e) const { return events & (1u << int(e)); }
    bool has(Property p) const { return properties & (1u << int(p)); }
};

// nullptr for a value that names no kind.
const KindInfo *kindInfo(Kind kind);

// The colours a row is painted in: its own, or its kind's; and the
// window's own background.
Colour backOf(const ControlRow &row);
Colour foreOf(const ControlRow &row);
Colour backOf(const WindowSettings &window);

inline constexpr int KindCount = int(Kind::BrowserView) + 1;

// Whether a table by kind has one row for each kind, in the order of Kind.
template <class Row, std::size_t N>
constexpr bool coversEveryKind(const Row (&rows)[N])
{
    if (N != std::size_t(KindCount))
        return false;
    for (std::size_t i = 0; i < N; ++i)
        if (rows[i].kind != Kind(i))
            return false;
    return true;
}

// A backend's control classes, one for each kind in the order of Kind, so
// that a backend lacking one does not compile; make() builds the class of
// a kind from the arguments every class's constructor takes.
template <class... Classes>
struct ControlClasses
{
    static_assert(sizeof...(Classes) == KindCount, "a control class for every kind, in the order of Kind");

    template <class Base, class... Args>
    static std::unique_ptr<Base> make(Kind kind, Args &&...args)
    {
        std::unique_ptr<Base> made;
        int at = 0;
        ((at++ == int(kind) ? void(made = std::make_unique<Classes>(args...)) : void()), ...);
        return made;
    }
};

// The events a window itself raises, bound as "Form_<event>".
inline constexpr Event FormEvents[] = {Event::Load, Event::Unload};

// The event of that name, if any.
bool eventNamed(std::string_view name, Event &event);

} // namespace runtime
