#include "testing/BoxAnswer.h"

#include "ui/MessageBox.h"

namespace uitest {
namespace {
ScopedBoxAnswer* g_boxAnswer = nullptr;
thread_local ScopedCbtBoxAnswer* t_cbtAnswer = nullptr;
} // namespace

ScopedBoxAnswer::ScopedBoxAnswer(int answer) : m_answer(answer)
{
    g_boxAnswer = this;
    m_previous = reinterpret_cast<void*>(ui::SetMessageBoxHandler(&ScopedBoxAnswer::Handler));
}

ScopedBoxAnswer::~ScopedBoxAnswer()
{
    ui::SetMessageBoxHandler(reinterpret_cast<ui::MessageBoxHandler>(m_previous));
    g_boxAnswer = nullptr;
}

int ScopedBoxAnswer::Handler(HWND, const wchar_t* text, const wchar_t* caption, UINT type)
{
    g_boxAnswer->m_boxes.push_back({text ? text : L"", caption ? caption : L"", type});
    return g_boxAnswer->m_answer;
}

ScopedCbtBoxAnswer::ScopedCbtBoxAnswer(int answer) : m_answer(answer)
{
    t_cbtAnswer = this;
    m_hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &ScopedCbtBoxAnswer::Hook, nullptr, ::GetCurrentThreadId());
}

ScopedCbtBoxAnswer::~ScopedCbtBoxAnswer()
{
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
    t_cbtAnswer = nullptr;
}

LRESULT CALLBACK ScopedCbtBoxAnswer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    ScopedCbtBoxAnswer* self = t_cbtAnswer;
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && self && call->message == WM_INITDIALOG) {
        HWND window = call->hwnd;
        wchar_t className[16] = {};
        ::GetClassNameW(window, className, 16);
        if (wcscmp(className, L"#32770") == 0) {
            wchar_t text[1024] = {};
            ::GetDlgItemTextW(window, 0xFFFF, text, 1024);
            self->m_texts.emplace_back(text);
            ::GetWindowTextW(window, text, 1024);
            self->m_captions.emplace_back(text);
            int id = self->m_answer;
            if (!::GetDlgItem(window, id))
                id = IDOK;
            ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

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
        if (wcscmp(name, data->className) != 0)
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

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

bool ClickButton(HWND box, int id)
{
    HWND button = ::GetDlgItem(box, id);
    if (!button)
        return false;
    return ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != FALSE;
}

} // namespace uitest
