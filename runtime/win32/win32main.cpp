// The program's start on Win32: the library search made safe before
// anything is loaded on demand, COM for the picture decoder, then the
// start-up window and the message loop.
#include "program.h"
#include "registry.h"
#include "win32backend.h"

#include <objbase.h>

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
    // The program takes no options: argv, in the system's code page, is
    // left unread (an option would be read with CommandLineToArgvW, in UTF-16).
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
