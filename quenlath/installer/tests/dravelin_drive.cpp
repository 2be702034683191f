// Runs Dravelin.exe for a screenshot: waits for its main dialog, prints
// "ready <caption>", holds it open for the given milliseconds, closes it and
// exits with Dravelin's exit code.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "testing/BoxAnswer.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::printf("usage: dravelin_drive <Dravelin.exe> [hold ms]\n");
        return 2;
    }
    const DWORD holdMs = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 3000;
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
    if (dlg) {
        std::printf("ready %ls\n", uitest::WindowText(dlg).c_str());
        std::fflush(stdout);
        Sleep(holdMs);
        PostMessageW(dlg, WM_CLOSE, 0, 0);
        DWORD code = 3;
        if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code))
            result = static_cast<int>(code);
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
