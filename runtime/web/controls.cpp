#include "controls.h"
#include "description/kinds.h"

namespace runtime::web {

namespace {

constexpr struct
{
    Kind kind;
    const char *element;
} Elements[] = {
    {Kind::PictureBox, "picture"},
    {Kind::Label, "label"},
    {Kind::TextBox, "text"},
    {Kind::CommandButton, "button"},
    {Kind::Line, "line"},
    {Kind::Timer, nullptr},
    {Kind::BrowserView, "view"},
};
static_assert(coversEveryKind(Elements));

} // namespace

const char *elementOf(Kind kind)
{
    return Elements[int(kind)].element;
}

int rgbOf(Colour colour, Colour fallback)
{
    colour = colour.orElse(fallback);
    if (!colour.isSet())
        return -1;
    if (!colour.isSystem())
        return int(colour.value & 0xFFFFFF);
    switch (colour.systemIndex()) {
    case 5:  return 0xFFFFFF;  // window background
    case 8:  return 0x000000;  // window text
    case 15: return 0xF0F0F0;  // button face
    case 18: return 0x000000;  // button text
    default: return 0xF0F0F0;
    }
}

// The face, then the core's stand-ins for it, then the browser's own.
std::string familyOf(const char *face)
{
    std::string family = std::string("'") + face + "'";
    for (const FontStandIn &f : FontStandIns)
        if (std::string_view(f.face) == face)
            for (const char *standIn : f.standIns)
                if (standIn)
                    family += std::string(", '") + standIn + "'";
    return family + ", sans-serif";
}

} // namespace runtime::web
