// What a program built on the runtime is: its windows and the one it
// starts with. No code of the program runs before that window shows; each
// backend's run() sets up the platform, registers the windows and shows it.
#pragma once

#include "description.h"

#include <span>

namespace runtime {

// An option of the command line that takes a value: "--NAME VALUE".
// Handlers read what was given with Form::option(NAME). --help and
// --version come with every program.
struct Option
{
    const char *name;
    const char *valueName;
    const char *description;
};

struct Program
{
    const char *name;       // shown in message boxes
    const char *desktopId;  // ties the windows to the desktop entry and its icon
    const char *version;
    const char *summary;    // one line for --help
    std::span<const FormDescription *const> forms;
    const char *startForm;
    std::span<const Option> options = {};
};

// Defined by each backend: runs the program; the exit status.
int run(int argc, char *argv[], const Program &program);

} // namespace runtime
