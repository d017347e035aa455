// For the tests alone: each case starts on the Qt backend as the program
// does, with nothing loaded and no error box left from the case before;
// what a browser view was asked for, has decoded and has shown is its
// core view's; and which pictures have been decoded.
#pragma once

#include "testing.h"

#include <QStringList>

class QWidget;

namespace runtime { class AnimationView; }

namespace runtime::testing {

void startQtAfresh();
AnimationView &animationOf(QWidget *browserView);
// In the order they were decoded: a picture shown again is never decoded
// again, and none is decoded before it is needed.
QStringList decodedPictures();

} // namespace runtime::testing
