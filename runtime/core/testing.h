// Entry points for the tests alone, kept out of the classes the program
// uses: a registry started afresh for each case, and a handler run by its
// name as if its event had come.
#pragma once

#include <string_view>

namespace runtime {
class Form;
}

namespace runtime::testing {

// Unloads everything, forgets an end and the errors reported.
void resetRegistry();

// Fires the event of "<control>_<event>" on the form; false when no
// handler of that name is bound.
bool runHandler(Form &form, std::string_view handlerName);

} // namespace runtime::testing
