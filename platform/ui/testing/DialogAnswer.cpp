#include "testing/DialogAnswer.h"

#include "testing/WindowTexts.h"

#include <cwchar>
#include <system_error>

namespace uitest {
namespace {
thread_local ScopedDialogAnswer* t_answer = nullptr;
const UINT_PTR kWatchdogTimer = 0x7E57;
const UINT kWatchdogMs = 20000;

bool IsTopLevelDialog(HWND window)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return std::wcscmp(className, L"#32770") == 0 && !(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD);
}
} // namespace

ScopedDialogAnswer::ScopedDialogAnswer(int button) : ScopedDialogAnswer(Handler([button](HWND) { return button; })) {}

ScopedDialogAnswer::ScopedDialogAnswer(Handler handler)
    : m_handler(std::move(handler)),
      m_hook(::SetWindowsHookExW(WH_CALLWNDPROCRET, &ScopedDialogAnswer::Hook, nullptr, ::GetCurrentThreadId()))
{
    if (!m_hook)
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "dialog hook");
    t_answer = this;
}

ScopedDialogAnswer::~ScopedDialogAnswer()
{
    ::UnhookWindowsHookEx(m_hook);
    t_answer = nullptr;
    for (HWND dialog : m_answered)
        if (::IsWindow(dialog))
            (void)::KillTimer(dialog, kWatchdogTimer);
}

LRESULT CALLBACK ScopedDialogAnswer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && t_answer && call->message == WM_INITDIALOG && IsTopLevelDialog(call->hwnd))
        t_answer->Answer(call->hwnd);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void ScopedDialogAnswer::Answer(HWND dialog)
{
    m_captions.push_back(WindowText(dialog));
    m_texts.push_back(ItemText(dialog, 0xFFFF));
    int button = m_handler(dialog);
    if (button) {
        if (!::GetDlgItem(dialog, button))
            button = IDOK;
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
    }
    if (::SetTimer(dialog, kWatchdogTimer, kWatchdogMs, &ScopedDialogAnswer::Watchdog))
        m_answered.push_back(dialog);
}

void CALLBACK ScopedDialogAnswer::Watchdog(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    (void)::KillTimer(dialog, id);
    (void)::EndDialog(dialog, kGaveUp);
}

} // namespace uitest
