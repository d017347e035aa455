#include "diagnostics.h"

#include <cstdio>

namespace runtime {

namespace {
std::string &name()
{
    static std::string *held = new std::string;  // lives as long as the process
    return *held;
}
} // namespace

void setProgramName(std::string program) { name() = std::move(program); }
const std::string &programName() { return name(); }

void printError(std::string_view line)
{
    const std::string text = (name().empty() ? std::string() : name() + ": ") + std::string(line);
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

} // namespace runtime
