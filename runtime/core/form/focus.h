// The keyboard's way round a window, decided here once for every backend.
// What takes the focus: each zone a click does something on (a label
// with a Click handler, a button to a screen reader) and each control
// that takes the focus on its own (text boxes, command buttons). In what
// order: as a sighted reader takes the window in, line by line from the
// top, left before right, where a line is the things that stand side by
// side; a box's own rows take its place in that reading. The order is of
// the table; what may have the focus now (shown, not clipped away) is
// asked as the keys come. The form holds which row has the focus and
// whether its ring shows; the door (program/application.cpp) moves it.
#pragma once

#include "description/binding.h"
#include "description/description.h"
#include "description/geometry.h"
#include "platform/door.h"

#include <vector>

namespace runtime {

class Form;

namespace focus {

// The ring around the focused zone: a line of each colour, the light one
// outside, so that one of them stands out on black and on the brightest
// button picture alike.
inline constexpr int RingWidth = 2;
inline constexpr Colour RingOuter = rgb(0xFFFFFF);
inline constexpr Colour RingInner = rgb(0x000000);

// The rows that may take the focus, in reading order.
std::vector<int> order(const FormDescription &form, const Bindings &bindings);

// The row may have the focus now: in the order, and within reach.
bool takes(const Form &form, int row);
// The row shows no focus of its own (a zone, a read-only field): the
// ring shows it.
bool ringed(const Form &form, int row);
// The ring's outer edge, in the client area of the row's container
// (layout pixels): the row's place grown by the ring's width, kept inside
// that client area, where a side of the ring then runs along the inside
// of the row's edge rather than be cut off.
Rect ring(const FormDescription &form, int row);
// The same in the window's client area.
Rect ringInWindow(const FormDescription &form, int row);

// The row the window gives the focus when it first shows (the first in
// tab order that is shown), or -1.
int first(const Form &form);
// The row `by` steps on from the row along the order (1 the next, -1 the
// one before), wrapping, among those that take the focus now; -1 if none
// does. From -1, the first or the last.
int step(const Form &form, int from, int by);
// The nearest row from the row in the arrow's direction that takes the
// focus now, by the centres of their places; -1 if none lies that way.
int toward(const Form &form, int from, Key arrow);

} // namespace focus
} // namespace runtime
