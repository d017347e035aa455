// How the runtime's controls meet assistive technology on Qt. What each
// control is, is called, says and whether it can be found or pressed is
// the core's (runtime/core/accessibletree.h), read from the form's store;
// this bridge only tells each widget its form and row, and gives Qt's
// accessibility our own interfaces for labels, picture boxes, command
// buttons and the browser view through a factory installed once (Qt's
// stay for text boxes, which are already right). Changes a screen reader
// must hear of (a caption, a box shown or hidden) are announced from here.
#pragma once

#include "description/status.h"

class QWidget;

namespace runtime { class Form; }

namespace runtime::qt::accessibility {

void install();
// Names the control for assistive technology, as its row of the form says.
void describe(QWidget *control, Form &form, int row);

// The form and row a widget stands for; nullptr for another widget.
Form *formOf(const QWidget *control, int &row);
// The widget of another row of the same window as control.
QWidget *widgetOfRow(const QWidget *control, int row);

// A property of the control's row changed: what assistive technology must
// hear of it. Announced whether or not a screen reader is known to listen:
// Qt passes an announcement on only to those who listen.
void changed(QWidget *control, Property property);

} // namespace runtime::qt::accessibility
