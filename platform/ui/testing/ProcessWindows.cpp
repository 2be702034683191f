#include "testing/ProcessWindows.h"

#include <algorithm>
#include <cwchar>

namespace uitest {
namespace {
struct FindData {
    DWORD pid;
    const wchar_t* className;
    const std::vector<HWND>& except;
    HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM param)
{
    auto* data = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != data->pid || !::IsWindowVisible(window) ||
        std::find(data->except.begin(), data->except.end(), window) != data->except.end())
        return TRUE;
    if (data->className) {
        wchar_t name[256] = {};
        ::GetClassNameW(window, name, 256);
        if (std::wcscmp(name, data->className) != 0)
            return TRUE;
    }
    data->found = window;
    return FALSE;
}
} // namespace

HWND WaitForProcessWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs, HWND except)
{
    return WaitForProcessWindow(pid, className, timeoutMs, std::vector<HWND>{except});
}

HWND WaitForProcessWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs, const std::vector<HWND>& except)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        FindData data{pid, className, except, nullptr};
        ::EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
        if (data.found)
            return data.found;
        if (::GetTickCount() - start >= timeoutMs)
            return nullptr;
        ::Sleep(20);
    }
}

bool ClickButton(HWND box, int id)
{
    HWND button = ::GetDlgItem(box, id);
    if (!button)
        return false;
    return ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != FALSE;
}

bool PressKey(HWND window, UINT key)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_KEYDOWN, key, 0, SMTO_ABORTIFHUNG, 5000, &result) &&
           ::SendMessageTimeoutW(window, WM_KEYUP, key, 0xC0000000, SMTO_ABORTIFHUNG, 5000, &result);
}

} // namespace uitest
