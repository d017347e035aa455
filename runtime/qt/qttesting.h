// For the tests alone: each case starts on the Qt backend as the program
// does, with nothing loaded and no error box left from the case before.
#pragma once

#include "testing.h"

namespace runtime::testing {

void startQtAfresh();

} // namespace runtime::testing
