// Two panes side by side (vertical) or one above the other, with a bar
// between them that the mouse drags; and a pane container that puts a
// title header above one client window.  Both pass their children's
// notifications and commands up to their parent.
#pragma once

#include "ui/WindowImpl.h"

class CSplitterWindowBase : public CWindowImplRoot {
public:
    explicit CSplitterWindowBase(bool vertical) : m_vertical(vertical) {}

    HWND Create(HWND parent, DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, UINT id = 0);
    void SetSplitterPanes(HWND first, HWND second);
    // Bar position in pixels from the left (or top) edge.
    void SetSplitterPos(int pos);
    int GetSplitterPos() const { return m_pos; }
    HWND GetSplitterPane(int index) const { return m_panes[index]; }

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD dwMsgMapID = 0) override;

    static constexpr int kBarWidth = 4;

private:
    void Layout();
    RECT BarRect() const;
    int Extent() const;

    const bool m_vertical;
    HWND m_panes[2] = {nullptr, nullptr};
    int m_pos = -1;
    int m_dragOffset = -1; // >= 0 while the bar is dragged
};

template <bool t_bVertical = true>
class CSplitterWindowT : public CSplitterWindowBase {
public:
    CSplitterWindowT() : CSplitterWindowBase(t_bVertical) {}
};

enum : DWORD {
    PANECNT_NOCLOSEBUTTON = 0x00000001,
};

// Our pane container never shows a close button; the style is accepted for
// the callers that ask for none.
class CPaneContainer : public CWindowImplRoot {
public:
    HWND Create(HWND parent, const wchar_t* title, DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, UINT id = 0);
    DWORD SetPaneContainerExtendedStyle(DWORD style);
    void SetClient(HWND client);
    HWND GetClient() const { return m_client; }
    void SetTitle(const wchar_t* title);
    int HeaderHeight() const;

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD dwMsgMapID = 0) override;

private:
    void Layout();
    void Paint();

    HWND m_client = nullptr;
    CString m_title;
    DWORD m_extendedStyle = 0;
};
