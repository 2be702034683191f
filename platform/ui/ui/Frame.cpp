#include "ui/Frame.h"

#include "ui/Module.h"
#include "ui/ToolBarResource.h"

#include <vector>

CFrameWindowImplBase::~CFrameWindowImplBase()
{
    if (m_hAccel)
        ::DestroyAcceleratorTable(m_hAccel);
    for (HIMAGELIST images : m_toolBarImages)
        ImageList_Destroy(images);
}

HWND CFrameWindowImplBase::CreateFrame(CWndClassInfo& info, HWND parent, const RECT* rc, DWORD style, DWORD exStyle)
{
    HINSTANCE res = ui::ResourceInstance();
    CString title;
    HMENU menu = nullptr;
    if (info.resourceId) {
        title.LoadString(info.resourceId);
        menu = ::LoadMenuW(res, MAKEINTRESOURCEW(info.resourceId));
        if (!m_hAccel)
            m_hAccel = ::LoadAcceleratorsW(res, MAKEINTRESOURCEW(info.resourceId));
    }
    HWND hWnd = CreateImpl(info, parent, rc, title, style, exStyle, menu, nullptr);
    if (!hWnd && menu)
        ::DestroyMenu(menu);
    return hWnd;
}

HWND CFrameWindowImplBase::CreateSimpleToolBarCtrl(HWND parent, UINT resourceId, DWORD style, UINT id)
{
    HINSTANCE res = ui::ResourceInstance();
    ui::ToolBarResource resource;
    if (!resource.Load(res, resourceId))
        return nullptr;

    std::vector<TBBUTTON> buttons;
    for (WORD item : resource.items) {
        TBBUTTON button = {};
        if (item == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.idCommand = item;
            button.iBitmap = resource.ImageOf(item);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }

    HWND bar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 100, 100, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!bar)
        return nullptr;
    ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    HIMAGELIST images = ImageList_LoadImageW(res, MAKEINTRESOURCEW(resourceId), resource.width, 0, ui::kToolBarMask, IMAGE_BITMAP, LR_CREATEDIBSECTION);
    if (images)
        m_toolBarImages.push_back(images);
    ::SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(resource.width, resource.height));
    ::SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    ::SendMessageW(bar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    return bar;
}

BOOL CFrameWindowImplBase::CreateSimpleReBar(DWORD style, UINT id)
{
    m_hWndToolBar = ::CreateWindowExW(WS_EX_TOOLWINDOW, REBARCLASSNAMEW, nullptr, style, 0, 0, 100, 100, m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!m_hWndToolBar)
        return FALSE;
    REBARINFO info = {};
    info.cbSize = sizeof(info);
    ::SendMessageW(m_hWndToolBar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    return TRUE;
}

BOOL CFrameWindowImplBase::AddSimpleReBarBand(HWND child, const wchar_t* title, BOOL newRow)
{
    const int count = static_cast<int>(::SendMessageW(m_hWndToolBar, RB_GETBANDCOUNT, 0, 0));

    // The band is as wide and high as the bar's buttons.
    SIZE size = {0, 0};
    const int buttons = static_cast<int>(::SendMessageW(child, TB_BUTTONCOUNT, 0, 0));
    if (buttons > 0) {
        RECT last = {};
        ::SendMessageW(child, TB_GETITEMRECT, buttons - 1, reinterpret_cast<LPARAM>(&last));
        size.cx = last.right;
        const DWORD buttonSize = static_cast<DWORD>(::SendMessageW(child, TB_GETBUTTONSIZE, 0, 0));
        size.cy = HIWORD(buttonSize);
        RECT first = {};
        ::SendMessageW(child, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        if (first.bottom - first.top > size.cy)
            size.cy = first.bottom - first.top;
    }

    REBARBANDINFOW band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE | (title ? RBBIM_TEXT : 0);
    band.fStyle = RBBS_CHILDEDGE | (newRow ? RBBS_BREAK : 0);
    band.lpText = const_cast<wchar_t*>(title);
    band.hwndChild = child;
    band.wID = ATL_IDW_BAND_FIRST + static_cast<UINT>(count);
    band.cxMinChild = size.cx;
    band.cyMinChild = size.cy;
    band.cx = size.cx;
    return ::SendMessageW(m_hWndToolBar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

BOOL CFrameWindowImplBase::CreateSimpleStatusBar(UINT textId, DWORD style, UINT id)
{
    m_idleText.LoadString(textId);
    m_hWndStatusBar = ::CreateWindowExW(0, STATUSCLASSNAMEW, m_idleText, style, 0, 0, 0, 0, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    return m_hWndStatusBar != nullptr;
}

void CFrameWindowImplBase::UpdateLayout(BOOL resizeBars)
{
    RECT rc;
    GetClientRect(&rc);
    if (m_hWndToolBar && ::IsWindowVisible(m_hWndToolBar)) {
        if (resizeBars)
            ::SendMessageW(m_hWndToolBar, WM_SIZE, 0, 0);
        RECT bar;
        ::GetWindowRect(m_hWndToolBar, &bar);
        rc.top += bar.bottom - bar.top;
    }
    if (m_hWndStatusBar && ::IsWindowVisible(m_hWndStatusBar)) {
        if (resizeBars)
            ::SendMessageW(m_hWndStatusBar, WM_SIZE, 0, 0);
        RECT bar;
        ::GetWindowRect(m_hWndStatusBar, &bar);
        rc.bottom -= bar.bottom - bar.top;
    }
    if (m_hWndClient)
        ::SetWindowPos(m_hWndClient, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFrameWindowImplBase::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    if (!m_hWndStatusBar)
        return;
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) {
        // The menu closed.
        ::SendMessageW(m_hWndStatusBar, SB_SIMPLE, FALSE, 0);
        return;
    }
    UINT id = LOWORD(wParam);
    // System commands (SC_SIZE 0xF000 ...) have their prompts at 0xEF00 + (command - 0xF000) / 16.
    if ((flags & MF_SYSMENU) && id >= 0xF000)
        id = 0xEF00 + ((id - 0xF000) >> 4);
    CString prompt;
    if (!(flags & (MF_POPUP | MF_SEPARATOR)) && prompt.LoadString(id)) {
        const int newline = prompt.Find(L'\n');
        if (newline >= 0)
            prompt = prompt.Left(newline);
    }
    ::SendMessageW(m_hWndStatusBar, SB_SIMPLE, TRUE, 0);
    ::SendMessageW(m_hWndStatusBar, SB_SETTEXTW, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(prompt.GetString()));
}

bool CFrameWindowImplBase::OnToolTipText(LPNMHDR header)
{
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    if (info->uFlags & TTF_IDISHWND)
        return false;
    CString text;
    if (text.LoadString(static_cast<UINT>(header->idFrom))) {
        const int newline = text.Find(L'\n');
        if (newline >= 0)
            text = text.Mid(newline + 1);
    }
    lstrcpynW(info->szText, text, sizeof(info->szText) / sizeof(info->szText[0]));
    info->lpszText = info->szText;
    info->hinst = nullptr;
    return true;
}

BOOL CFrameWindowImplBase::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD)
{
    switch (uMsg) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            UpdateLayout();
        lResult = 0;
        return TRUE;
    case WM_ERASEBKGND:
        // The client window covers the rest.
        lResult = m_hWndClient ? 1 : 0;
        return m_hWndClient != nullptr;
    case WM_SETFOCUS:
        if (m_hWndClient && ::IsWindow(m_hWndClient))
            ::SetFocus(m_hWndClient);
        lResult = 0;
        return TRUE;
    case WM_MENUSELECT:
        OnMenuSelect(wParam, lParam);
        lResult = 0;
        return TRUE;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<LPNMHDR>(lParam);
        if (header->code == TTN_GETDISPINFOW && OnToolTipText(header)) {
            lResult = 0;
            return TRUE;
        }
        if (header->code == RBN_AUTOSIZE) {
            UpdateLayout(FALSE);
            lResult = 0;
            return TRUE;
        }
        return FALSE;
    }
    case WM_DESTROY:
        if (!(GetStyle() & WS_CHILD))
            ::PostQuitMessage(1);
        return FALSE;
    default:
        return FALSE;
    }
}
