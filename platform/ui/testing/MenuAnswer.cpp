#include "testing/MenuAnswer.h"

#include <system_error>

namespace uitest {
namespace {
thread_local ScopedMenuAnswer* t_menuAnswer = nullptr;

std::vector<MenuEntry> ReadMenu(HMENU menu)
{
    std::vector<MenuEntry> entries;
    for (int pos = 0; pos < ::GetMenuItemCount(menu); ++pos) {
        MenuEntry entry;
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 256;
        if (::GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info)) {
            entry.id = info.wID;
            entry.text = text;
            entry.grayed = (info.fState & MFS_GRAYED) != 0;
            entry.checked = (info.fState & MFS_CHECKED) != 0;
        }
        entries.push_back(entry);
    }
    return entries;
}
} // namespace

ScopedMenuAnswer::ScopedMenuAnswer(wchar_t key)
    : m_key(key),
      m_hook(::SetWindowsHookExW(WH_CALLWNDPROCRET, &ScopedMenuAnswer::Hook, nullptr, ::GetCurrentThreadId())),
      m_timer(::SetTimer(nullptr, 0, 5000, &ScopedMenuAnswer::Watchdog))
{
    if (!m_hook || !m_timer) {
        const DWORD error = ::GetLastError();
        if (m_hook)
            ::UnhookWindowsHookEx(m_hook);
        throw std::system_error(static_cast<int>(error), std::system_category(), "menu hook");
    }
    t_menuAnswer = this;
}

ScopedMenuAnswer::~ScopedMenuAnswer()
{
    (void)::KillTimer(nullptr, m_timer);
    ::UnhookWindowsHookEx(m_hook);
    t_menuAnswer = nullptr;
}

LRESULT CALLBACK ScopedMenuAnswer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    ScopedMenuAnswer* self = t_menuAnswer;
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && self) {
        if (call->message == WM_INITMENUPOPUP && !HIWORD(call->lParam)) {
            self->m_menus.push_back(ReadMenu(reinterpret_cast<HMENU>(call->wParam)));
        } else if (call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
            HWND target = call->lParam ? reinterpret_cast<HWND>(call->lParam) : call->hwnd;
            if (self->m_key && !self->m_typed) {
                self->m_typed = true;
                ::PostMessageW(target, WM_CHAR, self->m_key, 1);
            } else {
                ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ScopedMenuAnswer::Watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    ::EndMenu();
}

} // namespace uitest
