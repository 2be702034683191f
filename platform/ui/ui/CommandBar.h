// A menu bar made of a flat tool bar, so the menu can live in a rebar band:
// one text button per drop-down of the menu; clicking one (or Alt with its
// mnemonic) opens the drop-down, owned by the frame, so the frame gets its
// WM_INITMENUPOPUP, WM_MENUSELECT and WM_COMMAND as from a normal menu bar.
// While a drop-down is open, the mouse over another button or the Left and
// Right keys move to the neighbouring drop-down.
#pragma once

#include "ui/MessageLoop.h"
#include "ui/WindowImpl.h"

#include <vector>

class CCommandBarCtrl : public CWindowImplRoot, public CMessageFilter {
public:
    ~CCommandBarCtrl() override;

    HWND Create(HWND parent, DWORD style, UINT id = 0);
    // Takes the menu over (the command bar destroys it) and removes it from
    // the frame's own menu bar.
    BOOL AttachMenu(HMENU menu);
    HMENU GetMenu() const { return m_menu; }
    // Puts the images of tool bar resource `id` beside the menu items of the
    // same commands.
    BOOL LoadImages(UINT id);
    // Opens the drop-down at `index`.
    void OpenMenu(int index);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD dwMsgMapID = 0) override;

private:
    static LRESULT CALLBACK MenuHook(int code, WPARAM wParam, LPARAM lParam);
    bool OnMenuInput(const MSG& msg);
    int ButtonFromScreen(POINT pt) const;

    HMENU m_menu = nullptr;
    std::vector<HBITMAP> m_images; // owned: menus do not free item bitmaps
    int m_open = -1;  // the button whose drop-down is open
    int m_next = -1;  // the drop-down to open when the current one closes
    POINT m_lastMouse = {-1, -1};
    HHOOK m_hook = nullptr;
    bool m_filterAdded = false;
};
