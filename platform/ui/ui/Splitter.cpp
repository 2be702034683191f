#include "ui/Splitter.h"

namespace {
CWndClassInfo& SplitterClass()
{
    static CWndClassInfo info = [] {
        CWndClassInfo i;
        i.className = L"ui_Splitter";
        i.style = CS_DBLCLKS;
        i.background = COLOR_3DFACE + 1;
        return i;
    }();
    return info;
}

CWndClassInfo& PaneClass()
{
    static CWndClassInfo info = [] {
        CWndClassInfo i;
        i.className = L"ui_PaneContainer";
        i.style = CS_HREDRAW | CS_VREDRAW;
        i.background = COLOR_3DFACE + 1;
        return i;
    }();
    return info;
}

// Notifications and commands of children go on to the parent.
bool ForwardToParent(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_NOTIFY && msg != WM_COMMAND)
        return false;
    result = ::SendMessageW(::GetParent(hWnd), msg, wParam, lParam);
    return true;
}
} // namespace

HWND CSplitterWindowBase::Create(HWND parent, DWORD style, UINT id)
{
    return CreateImpl(SplitterClass(), parent, nullptr, nullptr, style, 0, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr);
}

void CSplitterWindowBase::SetSplitterPanes(HWND first, HWND second)
{
    m_panes[0] = first;
    m_panes[1] = second;
    Layout();
}

int CSplitterWindowBase::Extent() const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    return m_vertical ? rc.right - rc.left : rc.bottom - rc.top;
}

void CSplitterWindowBase::SetSplitterPos(int pos)
{
    const int extent = Extent();
    if (pos > extent - kBarWidth)
        pos = extent - kBarWidth;
    if (pos < 0)
        pos = 0;
    m_pos = pos;
    Layout();
}

RECT CSplitterWindowBase::BarRect() const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (m_vertical) {
        rc.left = m_pos;
        rc.right = m_pos + kBarWidth;
    } else {
        rc.top = m_pos;
        rc.bottom = m_pos + kBarWidth;
    }
    return rc;
}

void CSplitterWindowBase::Layout()
{
    if (!m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (m_pos < 0)
        m_pos = (m_vertical ? rc.right : rc.bottom) / 2;
    RECT first = rc;
    RECT second = rc;
    if (m_vertical) {
        first.right = m_pos;
        second.left = m_pos + kBarWidth;
    } else {
        first.bottom = m_pos;
        second.top = m_pos + kBarWidth;
    }
    const RECT* parts[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        if (!m_panes[i])
            continue;
        const RECT& r = *parts[i];
        ::SetWindowPos(m_panes[i], nullptr, r.left, r.top, r.right > r.left ? r.right - r.left : 0,
                       r.bottom > r.top ? r.bottom - r.top : 0, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CSplitterWindowBase::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD)
{
    if (ForwardToParent(hWnd, uMsg, wParam, lParam, lResult))
        return TRUE;
    switch (uMsg) {
    case WM_SIZE:
        if (m_pos > Extent() - kBarWidth)
            m_pos = Extent() - kBarWidth;
        Layout();
        lResult = 0;
        return TRUE;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == hWnd && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorW(nullptr, m_vertical ? IDC_SIZEWE : IDC_SIZENS));
            lResult = TRUE;
            return TRUE;
        }
        return FALSE;
    case WM_LBUTTONDOWN: {
        const int at = m_vertical ? static_cast<short>(LOWORD(lParam)) : static_cast<short>(HIWORD(lParam));
        if (at >= m_pos && at < m_pos + kBarWidth) {
            m_dragOffset = at - m_pos;
            ::SetCapture(hWnd);
        }
        lResult = 0;
        return TRUE;
    }
    case WM_MOUSEMOVE:
        if (m_dragOffset >= 0 && ::GetCapture() == hWnd) {
            const int at = m_vertical ? static_cast<short>(LOWORD(lParam)) : static_cast<short>(HIWORD(lParam));
            SetSplitterPos(at - m_dragOffset);
            ::UpdateWindow(hWnd);
        }
        lResult = 0;
        return TRUE;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (m_dragOffset >= 0) {
            m_dragOffset = -1;
            if (::GetCapture() == hWnd)
                ::ReleaseCapture();
        }
        lResult = 0;
        return TRUE;
    case WM_SETFOCUS:
        if (m_panes[0])
            ::SetFocus(m_panes[0]);
        lResult = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

HWND CPaneContainer::Create(HWND parent, const wchar_t* title, DWORD style, UINT id)
{
    m_title = title;
    return CreateImpl(PaneClass(), parent, nullptr, nullptr, style, 0, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr);
}

DWORD CPaneContainer::SetPaneContainerExtendedStyle(DWORD style)
{
    const DWORD previous = m_extendedStyle;
    m_extendedStyle = style;
    return previous;
}

void CPaneContainer::SetClient(HWND client)
{
    m_client = client;
    Layout();
}

void CPaneContainer::SetTitle(const wchar_t* title)
{
    m_title = title;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

int CPaneContainer::HeaderHeight() const
{
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return tm.tmHeight + 2 * 3 + 2;
}

void CPaneContainer::Layout()
{
    if (!m_hWnd || !m_client)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int header = HeaderHeight();
    ::SetWindowPos(m_client, nullptr, 0, header, rc.right, rc.bottom > header ? rc.bottom - header : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPaneContainer::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    rc.bottom = HeaderHeight();
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_3DFACE));
    ::DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    RECT text = rc;
    text.left += 5;
    ::DrawTextW(dc, m_title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::EndPaint(m_hWnd, &ps);
}

BOOL CPaneContainer::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD)
{
    if (ForwardToParent(hWnd, uMsg, wParam, lParam, lResult))
        return TRUE;
    switch (uMsg) {
    case WM_SIZE:
        Layout();
        lResult = 0;
        return TRUE;
    case WM_PAINT:
        Paint();
        lResult = 0;
        return TRUE;
    case WM_SETFOCUS:
        if (m_client)
            ::SetFocus(m_client);
        lResult = 0;
        return TRUE;
    default:
        return FALSE;
    }
}
