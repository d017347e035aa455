// How the runtime's controls meet assistive technology. A form hands each
// control the words of its row; a factory, installed once, gives Qt's
// accessibility our own interfaces for labels, picture boxes and the
// browser view, and Qt's stay for text boxes and command buttons, which
// are already right. Changes a screen reader must hear of (a caption, a
// box shown or hidden) are announced from here.
#pragma once

#include "description.h"

class QString;
class QWidget;

namespace runtime::qt { class Label; }

namespace runtime::qt::accessibility {

void install();
void describe(QWidget *control, const Accessible &words);

// The words a picture box was given for its being shown and hidden.
QString shownWord(const QWidget *box);
QString hiddenWord(const QWidget *box);

void captionChanged(Label *label);

} // namespace runtime::qt::accessibility
