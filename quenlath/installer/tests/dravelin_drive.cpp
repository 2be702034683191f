// Runs Dravelin.exe for a screenshot: waits for its main dialog, prints
// "ready <caption>", holds it open for the given milliseconds, closes it and
// exits with Dravelin's exit code.  With "change-port" or "uninstall" it
// first selects the first port and clicks "Chg. Port No." or "Uninstall", and
// the dialog held open is the change-port-number dialog (cancelled
// afterwards) or the uninstall's message box (answered with OK; the list must
// then be empty, else the exit code is 4).  With "names-unread" it clicks
// "Chg. Port No." too and holds the message box that comes first (the names
// in use can't be read); it answers it and cancels the dialog behind it.
// Those two boxes must be message boxes with the program's text in the
// session's language (Chinese under a Chinese UI, else English); when one is
// not, the driver says what was shown instead, holds that and exits with 5.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "DravelinProcess.h"
#include "resource.h"
#include "testing/ProcessWindows.h"
#include "testing/ProgramTexts.h"
#include "testing/WindowTexts.h"

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
    DravelinProcess dravelin;
    if (!dravelin.Start(argv[1])) {
        std::printf("cannot start Dravelin.exe (%lu)\n", GetLastError());
        return 2;
    }
    const UINT wantId = namesUnread ? IDS_PORT_NAMES_UNREAD : command == L"uninstall" ? IDS_UNINSTALL_OK : 0;
    int result = 3;
    HWND dlg = dravelin.WaitForNewDialog();
    HWND shown = dlg;
    if (dlg && button) {
        // Home selects the first row; messages with pointers don't cross processes.
        if (!uitest::PressKey(GetDlgItem(dlg, IDC_PORT_LIST), VK_HOME))
            std::printf("the port list did not answer\n");
        uitest::ClickButton(dlg, button);
        shown = dravelin.WaitForNewDialog();
    }
    std::wstring other;
    if (dlg && wantId) {
        const std::wstring want = uitest::ProgramString(argv[1], wantId);
        other = uitest::OtherThanBox(shown, want);
        if (!other.empty())
            std::printf("wrong box: want the message box \"%s\", shown %s\n", uitest::LogText(want).c_str(), uitest::LogText(other).c_str());
    }
    if (shown || !other.empty()) {
        std::printf("ready %s\n", uitest::LogText(uitest::WindowText(shown ? shown : dlg)).c_str());
        std::fflush(stdout);
        Sleep(holdMs);
        if (!other.empty()) {
            // What is open stays; Dravelin is ended on the way out.
            std::printf("exit 5\n");
            return 5;
        }
        bool listed = false;
        if (namesUnread) {
            std::printf("box %s\n", uitest::LogText(MessageText(shown)).c_str());
            if (!dravelin.Answer(shown, IDOK))
                std::printf("the box stayed\n");
            HWND change = dravelin.WaitForNewDialog();
            std::printf("then %s\n", change ? uitest::LogText(uitest::WindowText(change)).c_str() : "nothing");
            if (change && !dravelin.Answer(change, IDCANCEL))
                std::printf("the dialog stayed\n");
        } else if (button == IDC_CHANGE_PORT) {
            if (!dravelin.Answer(shown, IDCANCEL))
                std::printf("the dialog stayed\n");
        } else if (button == IDC_UNINSTALL) {
            std::printf("box %s\n", uitest::LogText(MessageText(shown)).c_str());
            if (!dravelin.Answer(shown, IDOK))
                std::printf("the box stayed\n");
            const LRESULT rows = SendMessageW(GetDlgItem(dlg, IDC_PORT_LIST), LVM_GETITEMCOUNT, 0, 0);
            std::printf("rows %d\n", static_cast<int>(rows));
            listed = rows != 0;
        }
        PostMessageW(dlg, WM_CLOSE, 0, 0);
        const long code = dravelin.WaitForExit();
        if (code != -1)
            result = static_cast<int>(code);
        if (result == 0 && listed)
            result = 4;
    } else {
        std::printf("no dialog\n");
    }
    std::printf("exit %d\n", result);
    return result;
}
