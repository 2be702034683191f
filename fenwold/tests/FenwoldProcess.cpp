#include "FenwoldProcess.h"

#include "testing/BoxAnswer.h"

FenwoldProcess::~FenwoldProcess()
{
    if (m_info.hProcess) {
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_info.hProcess, 99);
            WaitForSingleObject(m_info.hProcess, 5000);
        }
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
}

bool FenwoldProcess::Start(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info) != FALSE;
}

std::wstring FenwoldProcess::WaitForBox(DWORD timeoutMs, HWND* box)
{
    HWND found = uitest::WaitForProcessWindow(Pid(), L"#32770", timeoutMs);
    if (box)
        *box = found;
    if (!found)
        return std::wstring();
    const DWORD start = GetTickCount();
    std::wstring text;
    // The text control may still be empty right after the box shows.
    while (text.empty() && GetTickCount() - start < timeoutMs) {
        text = uitest::WindowText(GetDlgItem(found, 0xFFFF));
        if (text.empty())
            Sleep(20);
    }
    return text;
}

HWND FenwoldProcess::WaitForFrame(DWORD timeoutMs)
{
    return uitest::WaitForProcessWindow(Pid(), L"Fenwold_MainFrame", timeoutMs);
}

DWORD FenwoldProcess::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

std::wstring FenwoldExePath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir.resize(dir.find_last_of(L"\\/"));     // .../fenwold/tests
    dir.resize(dir.find_last_of(L"\\/") + 1); // .../fenwold/
    return dir + L"Fenwold.exe";
}
