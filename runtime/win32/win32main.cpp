// The program's start on Win32: the library search made safe before
// anything is loaded on demand, the command line, COM for the picture
// decoder, then the start-up window and the message loop. A program with
// no console says what it has to say of its command line in a message
// box (and on the error stream, for whoever started it from one).
#include "program/commandline.h"
#include "platform/diagnostics.h"
#include "program/program.h"
#include "text.h"
#include "win32backend.h"

#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

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

int run(int, char *[], const Program &program)
{
    setProgramName(programNameOf(win32::toUtf8(win32::executablePath())));
    // The command line in UTF-16, split as the C runtime would for wmain.
    int argc = 0;
    wchar_t **argv = nullptr, **env = nullptr;
    int startInfo = 0;
    std::vector<std::string> words;
    if (__wgetmainargs(&argc, &argv, &env, 0, &startInfo) == 0)
        for (int i = 1; i < argc; ++i)
            words.push_back(win32::toUtf8(argv[i]));
    // What the command line has to say goes to the streams, for whoever
    // started the program from a console, and in a message box, where a
    // proportional font lines up no columns.
    CommandLine line = parseCommandLine(program, words, UsageLayout::Stacked);
    if (line.outcome != CommandLine::Outcome::Run) {
        const bool wrong = line.outcome == CommandLine::Outcome::Wrong;
        std::fputs(parseCommandLine(program, words).text.c_str(), wrong ? stderr : stdout);
        MessageBoxW(nullptr, win32::toWide(line.text).c_str(), win32::toWide(program.name).c_str(),
                    MB_OK | (wrong ? MB_ICONERROR : MB_ICONINFORMATION));
        return line.status;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    win32::Win32Backend &backend = win32::Win32Backend::instance();
    backend.setProgramName(program.name);
    const int status = runProgram(backend, program, std::move(line.options));
    CoUninitialize();
    return status;
}

} // namespace runtime
