// The program's start in a browser: the options come from the page's
// address (?voice-box=NAME), read by the same command line as elsewhere;
// relative paths are the page's (fetchedfiles.cpp).
// What stops the start is said in one line on the page.
#include "program/commandline.h"
#include "platform/diagnostics.h"
#include "page.h"
#include "program/program.h"
#include "webbackend.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace runtime {

int run(int, char *[], const Program &program)
{
    setProgramName("velk-simulator");
    std::vector<std::string> words;
    for (const Option &option : program.options)
        if (char *value = velk_query(option.name)) {
            words.push_back(std::string("--") + option.name);
            words.push_back(value);
            std::free(value);
        }
    CommandLine line = parseCommandLine(program, words);
    web::WebBackend &backend = web::WebBackend::instance();
    if (line.outcome != CommandLine::Outcome::Run) {
        backend.report(line.text, true);
        return line.status;
    }
    return runProgram(backend, program, std::move(line.options));
}

} // namespace runtime
