// What a program built on the runtime is: its windows and the one it
// starts with. No code of the program runs before that window shows; each
// backend's run() sets up the platform and hands itself to runProgram().
#pragma once

#include "description/description.h"

#include <map>
#include <span>
#include <string>

namespace runtime {

class Backend;

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

// Defined by each backend: reads the command line (commandline.h), sets
// up the platform and calls runProgram(); the exit status.
int run(int argc, char *argv[], const Program &program);

// Registers the program's windows on the backend, with the options the
// command line gave, shows the start-up window and runs the event loop;
// the exit status.
int runProgram(Backend &backend, const Program &program, std::map<std::string, std::string> options);

} // namespace runtime
