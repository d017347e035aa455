// Where controls lie: a row's own rectangle in its container, and its
// place in its window's client area, through the client areas of the
// boxes that hold it (each inside its border). A line's rectangle is the
// box its end points span, both included.
#pragma once

#include "description/description.h"
#include "description/geometry.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace runtime {

Rect placeOf(const ControlRow &row);
Rect windowRect(const FormDescription &form, int row);
// The row of the box that holds the row, or -1 for the window itself.
int containerOf(const FormDescription &form, int row);
// The part of the row's place in the window that the client areas of the
// boxes holding it leave uncovered; empty when they clip it away.
Rect reach(const FormDescription &form, int row);
// The client area of a box (-1: the window), in its own coordinates.
Rect clientArea(const FormDescription &form, int box);

// Where a window that starts centred on the screen goes, in the screen's
// logical pixels. frame is its outer rectangle about its client area's
// top-left (a frameless window's is the client area). The client area is
// centred; but the outer top-left never lies above or left of
// the screen's, so that on a screen smaller than the window its top bar
// and close button stay where a mouse can reach them.
Rect startPlace(const Rect &screen, int clientWidth, int clientHeight, const Rect &frame);

// The rows in the order a backend makes their controls: containers first,
// since a description may list a container after what it holds; otherwise
// as listed.
std::vector<int> buildOrder(const FormDescription &form);

// The controls on the screen, front-most first within each container:
// windowed kinds in listed order, then those drawn on their container's
// surface (labels, lines), which lie behind every windowed sibling.
std::vector<int> stackingOrder(const FormDescription &form);

// Sorts rows [from, to) so that each comes before those it is `before`,
// equals kept as they were. A window has a few dozen rows, so every order
// shares this one small sort rather than each carry its own copy of the
// library's: the web build downloads all of them.
void sortRows(std::vector<int> &rows, const std::function<bool(int, int)> &before, size_t from = 0,
              size_t to = SIZE_MAX);

} // namespace runtime
