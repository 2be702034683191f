#include "testing/ProcessWindows.h"

#include <cwchar>

namespace uitest {
namespace {
struct FindData {
    DWORD pid;
    const wchar_t* className;
    HWND except;
    HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM param)
{
    auto* data = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != data->pid || window == data->except || !::IsWindowVisible(window))
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

} // namespace uitest
