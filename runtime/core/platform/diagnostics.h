// Lines on the error stream: each one opened by the program's name as a
// user types it ("velk-simulator: ..."), the same on every platform. The
// name is set once, from the command line, before anything can go wrong.
#pragma once

#include <string>
#include <string_view>

namespace runtime {

void setProgramName(std::string name);
const std::string &programName();
// The name a user types to start the program at path: its last part,
// without the ".exe" of a Windows program.
std::string programNameOf(std::string_view path);

// "<program>: <line>" and a line end, at once, whatever buffers stderr.
void printError(std::string_view line);

} // namespace runtime
