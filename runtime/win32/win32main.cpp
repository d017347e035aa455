// The program's start on Win32: the library search made safe before
// anything is loaded on demand, the command line, COM for the picture
// decoder, then the start-up window and the message loop. A program with
// no console says what it has to say of its command line in a message
// box (and on the error stream, for whoever started it from one).
#include "program.h"
#include "registry.h"
#include "text.h"
#include "win32backend.h"

#include <objbase.h>

#include <cstdio>
#include <map>
#include <string>

// The C runtime's own split of the command line, in UTF-16, as it would
// give it to wmain: msvcrt's, which the program imports anyway.
extern "C" int __wgetmainargs(int *argc, wchar_t ***argv, wchar_t ***env, int glob, void *startInfo);

namespace runtime {

namespace {

// A library planted beside the executable (or in the current folder) must
// never be loaded in place of the system's: from here on, libraries that
// are not already loaded come from System32 only. Run before main, so that
// nothing the program does can load one first. Looked up rather than
// imported: Windows 7 has these only with its security update.
__attribute__((constructor)) void searchSystemFolderOnly()
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    using SetDefault = BOOL(WINAPI *)(DWORD);
    if (auto set = reinterpret_cast<SetDefault>(
                reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories"))))
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

} // namespace

std::string usage(const Program &program)
{
    std::string text = "Usage: " + executableName() + " [options]\n" + std::string(program.summary) + "\n\nOptions:\n"
                       "  -h, --help\tShows this text.\n  -v, --version\tShows the version.\n";
    for (const Option &o : program.options)
        text += "  --" + std::string(o.name) + " <" + o.valueName + ">\t" + o.description + "\n";
    return text;
}

void say(const Program &program, const std::string &text, UINT icon)
{
    std::fputs(text.c_str(), icon == MB_ICONERROR ? stderr : stdout);
    MessageBoxW(nullptr, toWide(text).c_str(), toWide(program.name).c_str(), MB_OK | icon);
}

// The options given, by name; -1 when the program is to end at once with
// that status (help, version, or a command line it does not take).
int parse(const Program &program, std::map<std::string, std::string> &options)
{
    int argc = 0;
    wchar_t **argv = nullptr, **env = nullptr;
    int startInfo = 0;
    if (__wgetmainargs(&argc, &argv, &env, 0, &startInfo) != 0)
        return -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = toUtf8(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "/?") {
            say(program, usage(program), MB_ICONINFORMATION);
            return 0;
        }
        if (arg == "-v" || arg == "--version") {
            say(program, executableName() + " " + std::string(program.version) + "\n", MB_ICONINFORMATION);
            return 0;
        }
        const Option *known = nullptr;
        std::string value;
        for (const Option &o : program.options) {
            const std::string name = std::string("--") + o.name;
            if (arg == name && i + 1 < argc) {
                known = &o;
                value = toUtf8(argv[++i]);
            } else if (arg.rfind(name + "=", 0) == 0) {
                known = &o;
                value = arg.substr(name.size() + 1);
            }
        }
        if (!known) {
            const std::string what = arg.rfind('-', 0) == 0 ? "Unknown option '" + arg + "'."
                                                             : "unexpected argument '" + arg + "'";
            say(program, executableName() + ": " + what + "\n" + usage(program), MB_ICONERROR);
            return 2;
        }
        options[known->name] = value;
    }
    return -1;
}

int run(int, char *[], const Program &program)
{
    std::map<std::string, std::string> options;
    if (const int status = parse(program, options); status >= 0)
        return status;
    FormRegistry::setOptions(std::move(options));
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    Win32Backend &backend = Win32Backend::instance();
    backend.setProgramName(program.name);
    for (const FormDescription *form : program.forms)
        FormRegistry::add(*form);
    const int status = FormRegistry::run(program.startForm);
    CoUninitialize();
    return status;
}

} // namespace runtime
