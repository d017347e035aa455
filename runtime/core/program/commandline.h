// The command line, the same on every platform: --help and --version come
// with every program, then the program's own options ("--NAME VALUE" or
// "--NAME=VALUE"; a single dash will do). Anything else is refused with
// exit status 2, a line naming it and the usage.
#pragma once

#include "program/program.h"

#include <map>
#include <string>
#include <vector>

namespace runtime {

// Columns line up in a fixed-width font; a message box's font is not one,
// so there each option stands on its own line, its description below.
enum class UsageLayout { Columns, Stacked };

std::string usage(const Program &program, UsageLayout layout);

struct CommandLine
{
    enum class Outcome { Run, Help, Version, Wrong };
    Outcome outcome = Outcome::Run;
    // For anything but Run: what to say (to the error stream for Wrong,
    // else to the output) and the exit status.
    std::string text;
    int status = 0;
    std::map<std::string, std::string> options;  // by name, for Run
};

// arguments: the command line's words after the program's own, in UTF-8.
CommandLine parseCommandLine(const Program &program, const std::vector<std::string> &arguments,
                             UsageLayout layout = UsageLayout::Columns);

} // namespace runtime
