#include "DialogTestSupport.h"

namespace dialog_test {

namespace {
thread_local ScopedDialogScript* t_script = nullptr;
} // namespace

void InitControls()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

void Pump(HWND dialog)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring ItemText(HWND dialog, int id)
{
    return CWindow(GetDlgItem(dialog, id)).GetWindowText().GetString();
}

ScopedDialogScript::ScopedDialogScript(std::function<void(HWND)> script) : m_script(std::move(script))
{
    t_script = this;
    m_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, &ScopedDialogScript::Hook, nullptr, GetCurrentThreadId());
}

ScopedDialogScript::~ScopedDialogScript()
{
    if (m_hook)
        UnhookWindowsHookEx(m_hook);
    t_script = nullptr;
}

LRESULT CALLBACK ScopedDialogScript::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && t_script && call->message == WM_INITDIALOG) {
        wchar_t className[16] = {};
        GetClassNameW(call->hwnd, className, 16);
        if (wcscmp(className, L"#32770") == 0 && !(GetWindowLongPtrW(call->hwnd, GWL_STYLE) & WS_CHILD))
            t_script->m_script(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace dialog_test
