// Context menus opened on the test's thread, recorded and answered as they
// open, so that no test waits on one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uitest {

struct MenuEntry {
    UINT id = 0; // 0 for a separator
    std::wstring text;
    bool grayed = false;
    bool checked = false;
};

// While alive, every popup menu tracked on this thread is recorded as it
// opens (after its owner has set the items' states) and answered: the first
// one by typing `key` (a mnemonic; 0 types Escape), anything after that by
// Escape.  A watchdog ends a menu still open after five seconds.  One at a
// time on a thread.
class ScopedMenuAnswer {
public:
    explicit ScopedMenuAnswer(wchar_t key = 0);
    ~ScopedMenuAnswer();
    ScopedMenuAnswer(const ScopedMenuAnswer&) = delete;
    ScopedMenuAnswer& operator=(const ScopedMenuAnswer&) = delete;

    const std::vector<std::vector<MenuEntry>>& Menus() const { return m_menus; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD);
    wchar_t m_key;
    bool m_typed = false;
    HHOOK m_hook;
    UINT_PTR m_timer;
    std::vector<std::vector<MenuEntry>> m_menus;
};

} // namespace uitest
