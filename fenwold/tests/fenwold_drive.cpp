// Runs Fenwold.exe for a screenshot: answers its start-up message box, waits
// for the frame, prints "ready <left> <top> <width> <height>", holds it open
// for the given milliseconds, closes it and exits with Fenwold's exit code.
// A second argument names a menu mnemonic (e.g. E) to open before "ready", or
// is "class" to select the first device class in the tree.
#include "FenwoldProcess.h"
#include "testing/BoxAnswer.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

namespace {
BOOL CALLBACK FindTree(HWND window, LPARAM found)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (wcscmp(name, WC_TREEVIEWW) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Selects the tree's first root; false when the tree is not found.
bool SelectFirstClass(HWND frame)
{
    HWND tree = nullptr;
    EnumChildWindows(frame, FindTree, reinterpret_cast<LPARAM>(&tree));
    if (!tree)
        return false;
    const LRESULT root = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    return root && SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, root);
}
} // namespace

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
    if (argc > 2 && wcscmp(argv[2], L"class") == 0) {
        Sleep(500);
        if (!SelectFirstClass(frame))
            std::printf("no tree\n");
        Sleep(500);
    } else if (argc > 2) {
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
