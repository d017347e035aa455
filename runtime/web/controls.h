// Each kind of control as a page element, and the look the rows ask for
// in the page's terms: colours, fonts, borders.
#pragma once

#include "description/description.h"

#include <string>

namespace runtime::web {

// The element page.js makes for the kind: picture, label, text, button,
// line, view; nullptr for a timer, which is no element.
const char *elementOf(Kind kind);

// 0xRRGGBB, system colours resolved as a light desktop theme has them;
// fallback when the row sets none; -1 for no colour at all.
int rgbOf(Colour colour, Colour fallback = {});

// The CSS font family: the face, then the faces the Linux build
// substitutes where it is missing.
std::string familyOf(const char *face);

} // namespace runtime::web
