#include "UiAnswer.h"

namespace fenwold_test {

namespace {
ScopedMenuAnswer* g_menuAnswer = nullptr;
ScopedDialogAnswer* g_dialogAnswer = nullptr;

std::vector<MenuEntry> ReadMenu(HMENU menu)
{
    std::vector<MenuEntry> entries;
    for (int pos = 0; pos < GetMenuItemCount(menu); ++pos) {
        MenuEntry entry;
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 256;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info)) {
            entry.id = info.wID;
            entry.text = text;
            entry.grayed = (info.fState & MFS_GRAYED) != 0;
            entry.checked = (info.fState & MFS_CHECKED) != 0;
        }
        entries.push_back(entry);
    }
    return entries;
}

void PostKey(HWND window, UINT message, WPARAM key)
{
    PostMessageW(window, message, key, 1);
}
} // namespace

ScopedMenuAnswer::ScopedMenuAnswer(wchar_t key)
    : m_key(key),
      m_hook(SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId())),
      m_timer(SetTimer(nullptr, 0, 5000, Watchdog))
{
    g_menuAnswer = this;
}

ScopedMenuAnswer::~ScopedMenuAnswer()
{
    KillTimer(nullptr, m_timer);
    UnhookWindowsHookEx(m_hook);
    g_menuAnswer = nullptr;
}

LRESULT CALLBACK ScopedMenuAnswer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    ScopedMenuAnswer* self = g_menuAnswer;
    const CWPRETSTRUCT* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && self) {
        if (msg->message == WM_INITMENUPOPUP && !HIWORD(msg->lParam)) {
            self->m_menus.push_back(ReadMenu(reinterpret_cast<HMENU>(msg->wParam)));
        } else if (msg->message == WM_ENTERIDLE && msg->wParam == MSGF_MENU) {
            HWND target = msg->lParam ? reinterpret_cast<HWND>(msg->lParam) : msg->hwnd;
            if (self->m_key && !self->m_typed) {
                self->m_typed = true;
                PostKey(target, WM_CHAR, self->m_key);
            } else {
                PostKey(target, WM_KEYDOWN, VK_ESCAPE);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ScopedMenuAnswer::Watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    EndMenu();
}

ScopedDialogAnswer::ScopedDialogAnswer(Handler handler)
    : m_handler(std::move(handler)), m_hook(SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId()))
{
    g_dialogAnswer = this;
}

ScopedDialogAnswer::~ScopedDialogAnswer()
{
    UnhookWindowsHookEx(m_hook);
    g_dialogAnswer = nullptr;
}

LRESULT CALLBACK ScopedDialogAnswer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    ScopedDialogAnswer* self = g_dialogAnswer;
    const CWPRETSTRUCT* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && self && msg->message == WM_INITDIALOG && !(GetWindowLongPtrW(msg->hwnd, GWL_STYLE) & WS_CHILD)) {
        wchar_t caption[256] = {};
        GetWindowTextW(msg->hwnd, caption, 256);
        self->m_captions.push_back(caption);
        const int button = self->m_handler ? self->m_handler(msg->hwnd) : IDCANCEL;
        PostMessageW(msg->hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(msg->hwnd, button)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {
BOOL CALLBACK AddText(HWND child, LPARAM param)
{
    wchar_t text[256] = {};
    GetWindowTextW(child, text, 256);
    *reinterpret_cast<std::wstring*>(param) += std::wstring(text) + L"|";
    return TRUE;
}
} // namespace

std::wstring ChildTexts(HWND window)
{
    std::wstring texts;
    EnumChildWindows(window, AddText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

} // namespace fenwold_test
