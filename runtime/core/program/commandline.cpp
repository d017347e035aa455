#include "program/commandline.h"
#include "platform/diagnostics.h"

#include <algorithm>

namespace runtime {

namespace {

struct Entry
{
    std::string names, description;
};

std::vector<Entry> entries(const Program &program)
{
    std::vector<Entry> list = {{"-h, --help", "Shows this text."}, {"-v, --version", "Shows the version."}};
    for (const Option &o : program.options)
        list.push_back({std::string("--") + o.name + " <" + o.valueName + ">", o.description});
    return list;
}

} // namespace

std::string usage(const Program &program, UsageLayout layout)
{
    std::string text = "Usage: " + programName() + " [options]\n" + program.summary + "\n\nOptions:\n";
    const std::vector<Entry> list = entries(program);
    size_t width = 0;
    for (const Entry &e : list)
        width = std::max(width, e.names.size());
    for (const Entry &e : list)
        text += layout == UsageLayout::Columns
                ? "  " + e.names + std::string(width + 2 - e.names.size(), ' ') + e.description + "\n"
                : e.names + "\n    " + e.description + "\n";
    return text;
}

CommandLine parseCommandLine(const Program &program, const std::vector<std::string> &arguments, UsageLayout layout)
{
    CommandLine line;
    auto refuse = [&](const std::string &why) {
        line.outcome = CommandLine::Outcome::Wrong;
        line.status = 2;
        line.text = programName() + ": " + why + "\n" + usage(program, layout);
        return line;
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &arg = arguments[i];
        if (arg == "-h" || arg == "--help" || arg == "/?") {
            line.outcome = CommandLine::Outcome::Help;
            line.text = usage(program, layout);
            return line;
        }
        if (arg == "-v" || arg == "--version") {
            line.outcome = CommandLine::Outcome::Version;
            line.text = programName() + " " + program.version + "\n" + program.summary + "\n";
            return line;
        }
        if (arg.size() < 2 || arg[0] != '-')
            return refuse("Unexpected argument '" + arg + "'.");
        const std::string word = arg.substr(arg[1] == '-' ? 2 : 1);
        const size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        auto known = std::find_if(program.options.begin(), program.options.end(),
                                  [&name](const Option &o) { return name == o.name; });
        if (known == program.options.end())
            return refuse("Unknown option '" + arg + "'.");
        if (equals != std::string::npos)
            line.options[known->name] = word.substr(equals + 1);
        else if (i + 1 < arguments.size())
            line.options[known->name] = arguments[++i];
        else
            return refuse("Missing value after '" + arg + "'.");
    }
    return line;
}

} // namespace runtime
