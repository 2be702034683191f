// Runs Fenwold.exe for a screenshot: answers its start-up message box, waits
// for the frame, prints "ready <left> <top> <width> <height>", holds it open
// for the given milliseconds, closes it and exits with Fenwold's exit code.
// A second argument names a menu mnemonic (e.g. E) to open before "ready", or
// is "class" to select the first device class in the tree, or "portrange" /
// "replace" / "portdetails" to show a refusal box over its dialog: Port Range
// Settings with 0 COM ports, Add New Device of the first model of the first
// class (with the catalogue in the current directory) when that device exists
// already, or Port Details of the device Model-80 with "xyz" as its output
// interval time.
#include "FenwoldProcess.h"
#include "OposRegistry.h"
#include "resource.h"
#include "testing/ProcessWindows.h"
#include "testing/WindowTexts.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

namespace {
// Selects the tree's first root; false when the tree is not found.
bool SelectFirstClass(HWND frame)
{
    HWND tree = FindTree(frame);
    if (!tree)
        return false;
    const LRESULT root = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    return root && SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, root);
}

// Selects the tree's item `text`; false when the tree or the item is not found.
bool SelectItem(const FenwoldProcess& fenwold, HWND frame, const wchar_t* text)
{
    HWND tree = FindTree(frame);
    const HTREEITEM item = tree ? fenwold.FindTreeItem(tree, text) : nullptr;
    return item && SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

// Opens the dialog of `which` and makes it show its box; the box, or null.
HWND ShowBox(FenwoldProcess& fenwold, HWND frame, const std::wstring& which, HWND& dialog)
{
    const bool replace = which == L"replace";
    const bool portDetails = which == L"portdetails";
    if (replace && !SelectFirstClass(frame))
        return nullptr;
    if (portDetails && !SelectItem(fenwold, frame, L"Model-80"))
        return nullptr;
    PostMessageW(frame, WM_COMMAND, replace ? ID_ADD_DEVICE : portDetails ? ID_COMM_SETTINGS : ID_PORT_RANGE, 0);
    dialog = fenwold.WaitForDialog(10000);
    if (!dialog)
        return nullptr;
    if (portDetails) {
        SendMessageW(GetDlgItem(dialog, IDC_PORTCFG_TIMEOUT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xyz"));
    } else if (replace) {
        HWND models = GetDlgItem(dialog, IDC_ADDDEV_MODEL);
        SendMessageW(models, CB_SETCURSEL, 0, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ADDDEV_MODEL, CBN_SELCHANGE), reinterpret_cast<LPARAM>(models));
        opos_test::AddDevices(L"POSPrinter", {uitest::WindowText(models)});
    } else {
        SendMessageW(GetDlgItem(dialog, IDC_PORTRANGE_COM), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
    }
    uitest::ClickButton(dialog, IDOK);
    return fenwold.WaitForDialog(10000, dialog);
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
    HWND dialog = nullptr;
    HWND shown = nullptr;
    if (argc > 2 && wcscmp(argv[2], L"class") == 0) {
        Sleep(500);
        if (!SelectFirstClass(frame))
            std::printf("no tree\n");
        Sleep(500);
    } else if (argc > 2 && (wcscmp(argv[2], L"portrange") == 0 || wcscmp(argv[2], L"replace") == 0 ||
                                   wcscmp(argv[2], L"portdetails") == 0)) {
        Sleep(500);
        shown = ShowBox(fenwold, frame, argv[2], dialog);
        std::printf("shown: %ls\n", shown ? uitest::WindowText(GetDlgItem(shown, 0xFFFF)).c_str() : L"nothing");
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
    if (shown) {
        uitest::ClickButton(shown, GetDlgItem(shown, IDNO) ? IDNO : IDOK);
        Sleep(300);
    }
    if (dialog)
        uitest::ClickButton(dialog, IDCANCEL);
    PostMessageW(frame, WM_CLOSE, 0, 0);
    const DWORD code = fenwold.WaitForExit(20000);
    std::printf("exit %lu\n", code);
    return static_cast<int>(code);
}
