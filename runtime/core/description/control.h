// A control as a handler names it: its row in its window's table, found
// when the program is compiled. A handler that names a control its window
// lacks does not compile, so a misspelt name in a rarely clicked zone can
// never ship. Each window's file defines its own finder over its table:
//     consteval Control control(std::string_view name) { return controlIn(Controls, name); }
#pragma once

#include "description/description.h"

#include <cstddef>
#include <string_view>

namespace runtime {

struct Control
{
    int row;
    const char *name;  // the table's own text: a form knows its own controls by it
};

template <std::size_t N>
consteval Control controlIn(const ControlRow (&table)[N], std::string_view name)
{
    for (std::size_t i = 0; i < N; ++i)
        if (name == table[i].name)
            return {int(i), table[i].name};
    // Evaluated, a throw is no constant: the compiler stops at the call
    // that names the missing control.
    throw "no control of this name in the window's table";
}

} // namespace runtime
