// A window handle with the calls the programs make on it (not an owner: the
// window lives until it or its parent is destroyed).
#pragma once

#include <windows.h>

#include "ui/String.h"

class CWindow {
public:
    HWND m_hWnd = nullptr;

    CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    CWindow& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }
    operator HWND() const { return m_hWnd; }

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach() { HWND h = m_hWnd; m_hWnd = nullptr; return h; }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendMessageW(m_hWnd, msg, wParam, lParam); }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::PostMessageW(m_hWnd, msg, wParam, lParam); }

    BOOL DestroyWindow() { BOOL ok = ::DestroyWindow(m_hWnd); if (ok) m_hWnd = nullptr; return ok; }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    BOOL SetWindowText(const wchar_t* text) const { return ::SetWindowTextW(m_hWnd, text); }
    BOOL SetDlgItemText(int id, const wchar_t* text) const { return ::SetDlgItemTextW(m_hWnd, id, text); }
    CString GetWindowText() const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    BOOL GetClientRect(RECT* rc) const { return ::GetClientRect(m_hWnd, rc); }
    BOOL GetWindowRect(RECT* rc) const { return ::GetWindowRect(m_hWnd, rc); }
    BOOL MoveWindow(const RECT& rc, BOOL repaint = TRUE) const { return ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const { return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags); }
    BOOL Invalidate(BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL UpdateWindow() const { return ::UpdateWindow(m_hWnd); }
    void SetFont(HFONT font, BOOL redraw = TRUE) const { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    BOOL SetMenu(HMENU menu) const { return ::SetMenu(m_hWnd, menu); }
    // Centres the window on `center` (its owner or parent when null, else the screen).
    BOOL CenterWindow(HWND center = nullptr) const;
};

// Something that handles window messages: the message maps below fill it in.
class CMessageMap {
public:
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD dwMsgMapID = 0) = 0;

protected:
    ~CMessageMap() = default;
};

// Message maps: entries are tried in order; a handler that leaves bHandled
// TRUE ends the search.  Handler signatures:
//   LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
//   LRESULT OnCommand(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled)
//   LRESULT OnNotify(int idCtrl, LPNMHDR pnmh, BOOL& bHandled)
#define BEGIN_MSG_MAP(theClass) \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD dwMsgMapID = 0) \
    { \
        BOOL bHandled = TRUE; \
        (void)hWnd; (void)bHandled; (void)dwMsgMapID;

#define MESSAGE_HANDLER(msg, func) \
    if (uMsg == (msg)) { \
        bHandled = TRUE; \
        lResult = func(uMsg, wParam, lParam, bHandled); \
        if (bHandled) return TRUE; \
    }

#define COMMAND_ID_HANDLER(id, func) \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) { \
        bHandled = TRUE; \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
        if (bHandled) return TRUE; \
    }

#define COMMAND_HANDLER(id, code, func) \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code)) { \
        bHandled = TRUE; \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
        if (bHandled) return TRUE; \
    }

#define NOTIFY_CODE_HANDLER(cd, func) \
    if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->code == static_cast<UINT>(cd)) { \
        bHandled = TRUE; \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled); \
        if (bHandled) return TRUE; \
    }

#define NOTIFY_HANDLER(id, cd, func) \
    if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->idFrom == static_cast<UINT_PTR>(id) && \
        reinterpret_cast<LPNMHDR>(lParam)->code == static_cast<UINT>(cd)) { \
        bHandled = TRUE; \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled); \
        if (bHandled) return TRUE; \
    }

#define CHAIN_MSG_MAP(theBase) \
    if (theBase::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, dwMsgMapID)) return TRUE;

#define END_MSG_MAP() \
        return FALSE; \
    }
