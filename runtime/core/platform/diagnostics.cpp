#include "platform/diagnostics.h"

#include <algorithm>
#include <cctype>
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

std::string programNameOf(std::string_view path)
{
    std::string name(path.substr(path.find_last_of("/\\") + 1));
    // Windows takes the ending in any case ("VELK.EXE").
    auto same = [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; };
    if (name.size() > 4 && std::equal(name.end() - 4, name.end(), ".exe", same))
        name.resize(name.size() - 4);
    return name;
}

void printError(std::string_view line)
{
    // Written, not printed: no formatting is needed, and the web build
    // then carries no printf.
    const std::string text = (name().empty() ? std::string() : name() + ": ") + std::string(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

} // namespace runtime
