// Runs Fenwold.exe for a screenshot: answers its start-up message box, waits
// for the frame, prints "ready <left> <top> <width> <height>", holds it open
// for the given milliseconds, closes it and exits with Fenwold's exit code.
// A second argument names a menu mnemonic (e.g. E) to open before "ready", or
// is "class" to select the first device class in the tree, or "portrange" /
// "replace" / "portdetails" to show a refusal box over its dialog: Port Range
// Settings with 0 COM ports, Add New Device of the first model of the first
// class (with the catalogue in the current directory) when that device exists
// already, or Port Details of the device Model-80 with "xyz" as its output
// interval time.  The box must be a message box with the program's text in
// the session's language (Chinese under a Chinese UI, else English); when it
// is not, the driver says what was shown instead and exits with 5.
#include "FenwoldProcess.h"
#include "OposRegistry.h"
#include "PortRangeDlg.h"
#include "resource.h"
#include "testing/ProcessWindows.h"
#include "testing/ProgramTexts.h"
#include "testing/WindowTexts.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {
// String `id` of Fenwold.exe, a format with one %d or %s, filled with `argument`.
std::wstring ProgramText(UINT id, const std::wstring& argument)
{
    return uitest::Formatted(uitest::ProgramString(FenwoldExePath(), id), argument);
}

// The label before `edit`, without its mnemonic's '&'.
std::wstring FieldLabel(HWND edit)
{
    std::wstring label;
    for (wchar_t c : uitest::WindowText(GetWindow(edit, GW_HWNDPREV)))
        if (c != L'&')
            label += c;
    return label;
}

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
// `want` gets the text the box must show.
HWND ShowBox(FenwoldProcess& fenwold, HWND frame, const std::wstring& which, HWND& dialog, std::wstring& want)
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
        HWND timeout = GetDlgItem(dialog, IDC_PORTCFG_TIMEOUT);
        SendMessageW(timeout, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xyz"));
        want = ProgramText(IDS_NUMBER_INVALID, FieldLabel(timeout));
    } else if (replace) {
        HWND models = GetDlgItem(dialog, IDC_ADDDEV_MODEL);
        SendMessageW(models, CB_SETCURSEL, 0, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ADDDEV_MODEL, CBN_SELCHANGE), reinterpret_cast<LPARAM>(models));
        const std::wstring model = uitest::WindowText(models);
        opos_test::AddDevices(L"POSPrinter", {model});
        want = ProgramText(IDS_REPLACE_DEVICE, model);
    } else {
        SendMessageW(GetDlgItem(dialog, IDC_PORTRANGE_COM), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
        want = ProgramText(IDS_PORT_RANGE_INVALID, std::to_wstring(CPortRangeDlg::kMaxComPorts));
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
    std::printf("box: %s\n", uitest::LogText(text).c_str());
    if (box)
        uitest::ClickButton(box, GetDlgItem(box, IDOK) ? IDOK : IDNO);
    HWND frame = fenwold.WaitForFrame(20000);
    if (!frame) {
        std::printf("no frame\n");
        return 3;
    }
    HWND dialog = nullptr;
    HWND shown = nullptr;
    bool wrongBox = false;
    if (argc > 2 && wcscmp(argv[2], L"class") == 0) {
        Sleep(500);
        if (!SelectFirstClass(frame))
            std::printf("no tree\n");
        Sleep(500);
    } else if (argc > 2 && (wcscmp(argv[2], L"portrange") == 0 || wcscmp(argv[2], L"replace") == 0 ||
                                   wcscmp(argv[2], L"portdetails") == 0)) {
        Sleep(500);
        std::wstring want;
        shown = ShowBox(fenwold, frame, argv[2], dialog, want);
        const std::wstring other = want.empty() ? L"" : uitest::OtherThanBox(shown, want);
        wrongBox = want.empty() || !other.empty();
        if (want.empty())
            std::printf("wrong box: no %ls box, its dialog did not open\n", argv[2]);
        else if (wrongBox)
            std::printf("wrong box: want the message box \"%s\", shown %s\n", uitest::LogText(want).c_str(), uitest::LogText(other).c_str());
        else
            std::printf("shown: %s\n", uitest::LogText(want).c_str());
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
    return wrongBox ? 5 : static_cast<int>(code);
}
