/* The control of the planted-library check: a bare program that opens a
 * window for a second with no care for where libraries come from, as any
 * program does by default. Built by the end-to-end test with MinGW-w64. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line, int show)
{
    (void)previous; (void)line; (void)show;
    HWND window = CreateWindowW(L"STATIC", L"control", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                NULL, NULL, instance, NULL);
    SetTimer(window, 1, 1000, NULL);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0 && msg.message != WM_TIMER)
        DispatchMessageW(&msg);
    return 0;
}
