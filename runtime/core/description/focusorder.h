// The keyboard's way round a window, as the table decides it once for
// every backend. What takes the focus: each zone a click does something
// on (a label with a Click handler) and each control that takes the focus
// on its own (text boxes, command buttons). In what order: as a sighted
// reader takes the window in, line by line from the top, left before
// right, where a line is the things that stand side by side; a box's own
// rows take its place in that reading. And where the ring round the
// focused one is drawn. What may have the focus now is the accessible
// tree's to say (accessibility/focus.h).
#pragma once

#include "description/binding.h"
#include "description/description.h"
#include "description/geometry.h"

#include <vector>

namespace runtime::focus {

// The ring around the focused zone: a line of each colour, the light one
// outside, so that one of them stands out on black and on the brightest
// button picture alike.
inline constexpr int RingWidth = 2;
inline constexpr Colour RingOuter = rgb(0xFFFFFF);
inline constexpr Colour RingInner = rgb(0x000000);

// The rows that may take the focus, in reading order.
std::vector<int> order(const FormDescription &form, const Bindings &bindings);

// The ring's outer edge, in the client area of the row's container
// (layout pixels): the row's place grown by the ring's width, kept inside
// that client area, where a side of the ring then runs along the inside
// of the row's edge rather than be cut off.
Rect ring(const FormDescription &form, int row);
// The same in the window's client area.
Rect ringInWindow(const FormDescription &form, int row);

} // namespace runtime::focus
