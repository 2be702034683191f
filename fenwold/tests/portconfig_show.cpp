// Shows "Port Details" for a screenshot: the device path (class\device) is
// the first argument, the milliseconds to hold it the second.  Prints
// "ready <width> <height>" once it is on screen, then cancels it (nothing is
// written) and exits with 0.
#include "PortConfigDlg.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::printf("usage: portconfig_show <class\\device> [ms]\n");
        return 2;
    }
    const DWORD holdMs = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 3000;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    CPortConfigDlg dlg(argv[1], 10, 3);
    if (!dlg.Create(nullptr)) {
        std::printf("no dialog\n");
        return 3;
    }
    dlg.ShowWindow(SW_SHOWNORMAL);
    RECT rc;
    dlg.GetWindowRect(&rc);
    std::printf("ready %ld %ld\n", rc.right - rc.left, rc.bottom - rc.top);
    std::fflush(stdout);

    const DWORD start = GetTickCount();
    while (GetTickCount() - start < holdMs) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dlg, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(10);
    }
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    return dlg.ModelessResult() == IDCANCEL ? 0 : 4;
}
