// Runs Dravelin.exe for a screenshot: waits for its main dialog, prints
// "ready <caption>", holds it open for the given milliseconds, closes it and
// exits with Dravelin's exit code.  With "change-port" or "uninstall" it
// first selects the first port and clicks "Chg. Port No." or "Uninstall", and
// the dialog held open is the change-port-number dialog (cancelled
// afterwards) or the uninstall's message box (answered with OK; the list must
// then be empty, else the exit code is 4).  With "names-unread" it clicks
// "Chg. Port No." too and holds the message box that comes first (the names
// in use can't be read); it answers it and cancels the dialog behind it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "resource.h"
#include "testing/ProcessWindows.h"
#include "testing/WindowTexts.h"

namespace {

BOOL CALLBACK IsTextStatic(HWND w, LPARAM p)
{
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (_wcsicmp(cls, L"Static") != 0 || uitest::WindowText(w).empty())
        return TRUE;
    *reinterpret_cast<HWND*>(p) = w;
    return FALSE;
}

// The text of a message box: its static that holds text.
std::wstring BoxText(HWND box)
{
    HWND text = nullptr;
    EnumChildWindows(box, IsTextStatic, reinterpret_cast<LPARAM>(&text));
    return text ? uitest::WindowText(text) : std::wstring();
}

// A visible dialog of process pid other than the main dialog, waiting up to 20 s.
HWND WaitForOtherDialog(DWORD pid, HWND mainDlg)
{
    return uitest::WaitForProcessWindow(pid, L"#32770", 20000, mainDlg);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::printf("usage: dravelin_drive <Dravelin.exe> [hold ms] [change-port|uninstall|names-unread]\n");
        return 2;
    }
    const DWORD holdMs = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 3000;
    const std::wstring command = argc > 3 ? argv[3] : L"";
    const bool namesUnread = command == L"names-unread";
    const int button = command == L"change-port" || namesUnread ? IDC_CHANGE_PORT
                       : command == L"uninstall"                ? IDC_UNINSTALL
                                                                : 0;
    std::wstring line = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("cannot start Dravelin.exe (%lu)\n", GetLastError());
        return 2;
    }
    int result = 3;
    HWND dlg = uitest::WaitForProcessWindow(pi.dwProcessId, L"#32770", 20000);
    HWND shown = dlg;
    if (dlg && button) {
        // Home selects the first row; messages with pointers don't cross processes.
        HWND list = GetDlgItem(dlg, IDC_PORT_LIST);
        PostMessageW(list, WM_KEYDOWN, VK_HOME, 0);
        PostMessageW(list, WM_KEYUP, VK_HOME, 0xC0000000);
        Sleep(300);
        uitest::ClickButton(dlg, button);
        shown = WaitForOtherDialog(pi.dwProcessId, dlg);
    }
    if (shown) {
        std::printf("ready %ls\n", uitest::WindowText(shown).c_str());
        std::fflush(stdout);
        Sleep(holdMs);
        bool listed = false;
        if (namesUnread) {
            std::printf("box %ls\n", BoxText(shown).c_str());
            uitest::ClickButton(shown, IDOK);
            Sleep(300);
            HWND change = WaitForOtherDialog(pi.dwProcessId, dlg);
            std::printf("then %ls\n", change ? uitest::WindowText(change).c_str() : L"nothing");
            uitest::ClickButton(change, IDCANCEL);
            Sleep(300);
        } else if (button == IDC_CHANGE_PORT) {
            uitest::ClickButton(shown, IDCANCEL);
            Sleep(300);
        } else if (button == IDC_UNINSTALL) {
            std::printf("box %ls\n", BoxText(shown).c_str());
            uitest::ClickButton(shown, IDOK);
            Sleep(300);
            const LRESULT rows = SendMessageW(GetDlgItem(dlg, IDC_PORT_LIST), LVM_GETITEMCOUNT, 0, 0);
            std::printf("rows %d\n", static_cast<int>(rows));
            listed = rows != 0;
        }
        PostMessageW(dlg, WM_CLOSE, 0, 0);
        DWORD code = 3;
        if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code))
            result = static_cast<int>(code);
        if (result == 0 && listed)
            result = 4;
    } else {
        std::printf("no dialog\n");
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(pi.hProcess, 3);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("exit %d\n", result);
    return result;
}
