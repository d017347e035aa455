/* A library planted beside the Windows program by the end-to-end test
 * (scenario_planted_libraries): loaded by anyone, it leaves an empty
 * marker file beside itself, "<its file name>.loaded", and does nothing
 * else. Built by the test with the MinGW-w64 compiler. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH + 8];
        const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            lstrcatW(path, L".loaded");
            HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            if (marker != INVALID_HANDLE_VALUE)
                CloseHandle(marker);
        }
    }
    return TRUE;
}
