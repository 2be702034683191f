// A top-level frame: rebar with tool bars at the top, status bar at the
// bottom, one client window filling the rest; menu prompts in the status
// bar, tool-tips from the string table, accelerators, and the quit message
// when the top-level frame is destroyed.
#pragma once

#include "ui/WindowImpl.h"

#include <commctrl.h>

#include <vector>

// Frame classes: icon, menu, accelerators and title share one resource id.
#define DECLARE_FRAME_WND_CLASS(name, resId) \
    static CWndClassInfo& GetWndClassInfo() \
    { \
        static CWndClassInfo info = [] { CWndClassInfo i; i.className = name; i.style = 0; i.resourceId = resId; return i; }(); \
        return info; \
    }

// The ids the frame base gives its bars.
enum : UINT {
    ATL_IDW_TOOLBAR = 0xE800,    // 59392, also the rebar
    ATL_IDW_STATUS_BAR = 0xE801, // 59393
    ATL_IDW_BAND_FIRST = 0xEB00, // 60160, rebar bands count up from here
    ATL_IDS_IDLEMESSAGE = 0xE001, // 57345 "Ready"
};

class CFrameWindowImplBase : public CWindowImplRoot {
public:
    ~CFrameWindowImplBase() override;

    HWND m_hWndToolBar = nullptr; // the rebar (or a lone tool bar)
    HWND m_hWndStatusBar = nullptr;
    HWND m_hWndClient = nullptr;
    HACCEL m_hAccel = nullptr;    // owned

    // A tool bar from a TOOLBAR resource and the bitmap of the same id
    // (magenta is transparent).
    HWND CreateSimpleToolBarCtrl(HWND parent, UINT resourceId, DWORD style, UINT id);
    BOOL CreateSimpleReBar(DWORD style, UINT id = ATL_IDW_TOOLBAR);
    // Adds a band holding `child` (a tool bar); bands get ids from ATL_IDW_BAND_FIRST.
    BOOL AddSimpleReBarBand(HWND child, const wchar_t* title = nullptr, BOOL newRow = FALSE);
    BOOL CreateSimpleStatusBar(UINT textId = ATL_IDS_IDLEMESSAGE, DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SBARS_SIZEGRIP,
                               UINT id = ATL_IDW_STATUS_BAR);
    void UpdateLayout(BOOL resizeBars = TRUE);

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD dwMsgMapID = 0) override;

protected:
    HWND CreateFrame(CWndClassInfo& info, HWND parent, const RECT* rc, DWORD style, DWORD exStyle);

private:
    void OnMenuSelect(WPARAM wParam, LPARAM lParam);
    bool OnToolTipText(LPNMHDR header);
    CString m_idleText;
    std::vector<HIMAGELIST> m_toolBarImages; // owned: tool bars do not free their image lists
};

template <class T>
class CFrameWindowImpl : public CFrameWindowImplBase {
public:
    static constexpr DWORD kDefaultStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    static constexpr DWORD kDefaultExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;

    // Title, menu and accelerators from the class's resource id.
    HWND CreateEx(HWND parent = nullptr, const RECT* rc = nullptr, DWORD style = kDefaultStyle, DWORD exStyle = kDefaultExStyle)
    {
        return CreateFrame(T::GetWndClassInfo(), parent, rc, style, exStyle);
    }
};
