// What assistive technology is told of a loaded form's controls, read from
// the form's store and its description, never from a platform's widgets:
// each backend's bridge (AT-SPI through Qt, MSAA on Win32) only translates
// these answers into its platform's words, so every platform's screen
// reader hears the same dashboard.
//
// A label whose clicks someone answers is a click zone over a painted
// button: a button, named by its row, pressable only while a mouse could
// reach it. Any other label is static text, its caption read. A picture
// box given words for being shown and hidden is a picture that tells which
// it is; boxes of one container that share a name are one thing on one
// spot (see Accessible in description.h).
#pragma once

#include "description/geometry.h"
#include "description/status.h"

#include <optional>
#include <string>
#include <vector>

namespace runtime {

class Form;

namespace accessibility {

enum class Role
{
    None,        // nothing to tell (a timer, a line)
    Window,      // the form itself: row -1
    Pane,        // a picture box without words: it holds controls
    Button,
    StaticText,
    Text,        // a text box
    Graphic,     // a picture box with words
    Animation,   // the browser view
};

Role role(const Form &form, int row);
std::string name(const Form &form, int row);
std::string value(const Form &form, int row);
// Not to be found by assistive technology now: hidden, in a hidden box,
// clipped away, or a picture whose group another speaks for.
bool invisible(const Form &form, int row);
// A click could reach it now: it and every box that holds it shown, and
// not clipped away by their client areas. Hidden means unclickable.
bool clickable(const Form &form, int row);
// Its press does what a click does, and a click could reach it now.
bool pressable(const Form &form, int row);

// Shown, with every box that holds it.
bool shown(const Form &form, int row);
// The part of the row's place in the window (layout pixels) that the
// client areas of the boxes holding it leave uncovered.
Rect reach(const Form &form, int row);

// The boxes that share the box's name in its container, front-most first;
// the box alone when it has no name or is no picture box with words.
std::vector<int> group(const Form &form, int row);

// What the row holds directly (-1: the window), in the order they stand
// front-most first: child windows, then what is drawn on the container.
// Rows with nothing to tell are left out.
std::vector<int> children(const Form &form, int row);
// The row's container's row, or -1 for the window.
int parent(const Form &form, int row);
// The index-th (from 0) of what the row holds, if it holds that many.
std::optional<int> child(const Form &form, int row, long index);
// The row that stands step places on from the row among what its
// container holds (1 the next, -1 the one before); none past either end,
// nor for the window, whose neighbours are the platform's.
std::optional<int> sibling(const Form &form, int row, int step);
// A row assistive technology is told of: one with something to tell,
// which a client may name.
bool isExposed(const Form &form, int row);

// What a click at the point (layout pixels in the window) would meet
// within the row (-1: the window): the front-most shown control there,
// through the boxes that hold it; the row itself when nothing held is.
int hit(const Form &form, int row, int x, int y);

// A text box the user cannot type in.
bool readOnly(const Form &form, int row);

// What a change of a row's property changes for assistive technology, row
// by row: each bridge says these in its platform's words.
enum class Change
{
    Shown,
    Hidden,
    State,        // whether it is invisible
    Value,
    Name,
    Description,  // a named text's, which is what it shows
};
struct Announcement
{
    int row;
    Change change;
};
std::vector<Announcement> announcements(const Form &form, int row, Property property);

} // namespace accessibility
} // namespace runtime
