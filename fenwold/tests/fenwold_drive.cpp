// Runs Fenwold.exe for a screenshot: answers its start-up message box, waits
// for the frame, prints "ready <left> <top> <width> <height>", holds it open
// for the given milliseconds, closes it and exits with Fenwold's exit code.
// A second argument names a menu mnemonic (e.g. E) to open before "ready".
#include "FenwoldProcess.h"
#include "testing/BoxAnswer.h"

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    const DWORD holdMs = argc > 1 ? static_cast<DWORD>(_wtoi(argv[1])) : 3000;
    FenwoldProcess fenwold;
    if (!fenwold.Start(FenwoldExePath())) {
        std::printf("cannot start Fenwold.exe\n");
        return 2;
    }
    HWND box = nullptr;
    const std::wstring text = fenwold.WaitForBox(20000, &box);
    std::printf("box: %ls\n", text.c_str());
    if (box)
        uitest::ClickButton(box, GetDlgItem(box, IDOK) ? IDOK : IDNO);
    HWND frame = fenwold.WaitForFrame(20000);
    if (!frame) {
        std::printf("no frame\n");
        return 3;
    }
    if (argc > 2) {
        Sleep(500);
        PostMessageW(frame, WM_SYSCHAR, argv[2][0], 1 << 29);
        Sleep(500);
    }
    RECT rc;
    GetWindowRect(frame, &rc);
    std::printf("ready %ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    std::fflush(stdout);
    Sleep(holdMs);
    PostMessageW(frame, WM_CLOSE, 0, 0);
    const DWORD code = fenwold.WaitForExit(20000);
    std::printf("exit %lu\n", code);
    return static_cast<int>(code);
}
