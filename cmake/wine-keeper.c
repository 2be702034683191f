/* Keeps a Wine session's desktop and services alive while tests come and go.
   Started with its output in a log, it owns the processes Wine starts on
   demand; a test that started them instead would hand them its output pipe
   and keep ctest waiting for them.  argv[1]: a file created once it is up. */
#include <windows.h>
#include <stdio.h>

int main(int argc, char **argv)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"wine-session keeper", WS_POPUP, 0, 0, 1, 1,
                                  NULL, NULL, GetModuleHandleW(NULL), NULL);
    if (!window)
        return 1;
    if (argc > 1) {
        FILE *ready = fopen(argv[1], "w");
        if (ready)
            fclose(ready);
    }
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
