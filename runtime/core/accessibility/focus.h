// Where the keyboard's focus may go now, for the door: the rows of the
// window's focus order (description/focusorder.h) that are shown and
// within reach, as the accessible tree has them. The form holds which row
// has the focus and whether its ring shows; the door
// (program/application.cpp) moves it.
#pragma once

#include "platform/door.h"

namespace runtime {

class Form;

namespace focus {

// The row may have the focus now: in the order, and within reach.
bool takes(const Form &form, int row);
// The row shows no focus of its own (a zone, a read-only field): the
// ring shows it.
bool ringed(const Form &form, int row);
// The row the window gives the focus when it first shows: of the
// controls that take the focus on their own and may have it now, the one
// with the lowest tab index (Tab then goes round in reading order); -1
// when there is none.
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
