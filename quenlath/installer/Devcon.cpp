#include "Devcon.h"

#include <algorithm>
#include <vector>

#include "DebugTrace.h"
#include "com/Handle.h"

namespace {

// Waits for the handle at most limitMs, dispatching this thread's messages
// meanwhile; true when it was signalled.  A quit message ends the dispatching
// and is posted again for the loop that waits for it.
bool WaitDispatching(HANDLE handle, DWORD limitMs)
{
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD left = now < end ? static_cast<DWORD>(end - now) : 0;
        const DWORD woken = ::MsgWaitForMultipleObjectsEx(1, &handle, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1)
            return woken == WAIT_OBJECT_0;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                const bool ended = ::WaitForSingleObject(handle, left) == WAIT_OBJECT_0;
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return ended;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace

bool RunDevcon(const std::wstring& folder, const std::wstring& arguments, const wchar_t* startedTrace,
               DWORD timeLimitMs, DWORD& exitCode)
{
    const std::wstring program = folder + L"\\devcon.exe";
    const std::wstring text = L"\"" + folder + L"\\devcon\" " + arguments;
    std::vector<wchar_t> commandLine(std::max<size_t>(text.size() + 1, MAX_PATH), L'\0');
    std::copy(text.begin(), text.end(), commandLine.begin());

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          folder.c_str(), &startup, &process)) {
        DebugTrace(L"CreateProcess fail![%u]\n", static_cast<unsigned>(::GetLastError()));
        return false;
    }
    com::Handle processHandle(process.hProcess);
    com::Handle threadHandle(process.hThread);
    DebugTrace(L"%ls", startedTrace);
    if (!WaitDispatching(processHandle.Get(), timeLimitMs)) {
        DebugTrace(L"devcon timed out\n");
        (void)::TerminateProcess(processHandle.Get(), WAIT_TIMEOUT);  // it may have just ended
        (void)::WaitForSingleObject(processHandle.Get(), 5000);      // its files are let go
        exitCode = WAIT_TIMEOUT;
        return true;
    }
    if (!::GetExitCodeProcess(processHandle.Get(), &exitCode))
        exitCode = 1;
    return true;
}
