#include "ui/CommandBar.h"

#include "ui/Module.h"
#include "ui/ToolBarResource.h"

#include <commctrl.h>

namespace {
CCommandBarCtrl* t_tracking = nullptr; // the bar whose drop-down is open (one GUI thread)

CWndClassInfo& CommandBarClass()
{
    static CWndClassInfo info = [] {
        CWndClassInfo i;
        i.className = L"ui_CommandBar";
        i.superClass = TOOLBARCLASSNAMEW;
        return i;
    }();
    return info;
}

// The letter after the single '&' of a menu text, upper-cased; 0 when none.
wchar_t Mnemonic(const wchar_t* text)
{
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'&') {
            if (p[1] == L'&') {
                ++p;
                continue;
            }
            return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(p[1])))));
        }
    }
    return 0;
}
} // namespace

CCommandBarCtrl::~CCommandBarCtrl()
{
    if (m_filterAdded && ui::AppModule())
        if (CMessageLoop* loop = ui::AppModule()->GetMessageLoop())
            loop->RemoveMessageFilter(this);
    if (m_menu)
        ::DestroyMenu(m_menu);
    for (HBITMAP image : m_images)
        ::DeleteObject(image);
}

HWND CCommandBarCtrl::Create(HWND parent, DWORD style, UINT id)
{
    HWND hWnd = CreateImpl(CommandBarClass(), parent, nullptr, nullptr, style | TBSTYLE_LIST | TBSTYLE_FLAT, 0,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr);
    if (!hWnd)
        return nullptr;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessage(TB_SETIMAGELIST, 0, 0);
    if (ui::AppModule())
        if (CMessageLoop* loop = ui::AppModule()->GetMessageLoop())
            m_filterAdded = loop->AddMessageFilter(this) != FALSE;
    return hWnd;
}

BOOL CCommandBarCtrl::AttachMenu(HMENU menu)
{
    if (!menu)
        return FALSE;
    HWND frame = ::GetAncestor(m_hWnd, GA_ROOT);
    if (::GetMenu(frame) == menu)
        ::SetMenu(frame, nullptr);
    if (m_menu && m_menu != menu)
        ::DestroyMenu(m_menu);
    m_menu = menu;

    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
        TBBUTTON button = {};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = i + 1;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        button.iString = reinterpret_cast<INT_PTR>(text);
        SendMessage(TB_INSERTBUTTONW, i, reinterpret_cast<LPARAM>(&button));
    }
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

namespace {
// A 32-bit bitmap of one tool bar image.  Magenta becomes the menu colour:
// Wine draws menu bitmaps without their alpha.
HBITMAP CutImage(const std::vector<DWORD>& strip, int stripWidth, int left, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP image = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!image)
        return nullptr;
    auto* out = static_cast<DWORD*>(bits);
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    const DWORD background = 0xFF000000 | (GetRValue(menu) << 16) | (GetGValue(menu) << 8) | GetBValue(menu);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const DWORD pixel = strip[static_cast<size_t>(y) * stripWidth + left + x] & 0x00FFFFFF;
            out[y * width + x] = pixel == 0x00FF00FF ? background : (pixel | 0xFF000000);
        }
    }
    return image;
}

void SetItemImages(HMENU menu, const ui::ToolBarResource& bar, const std::vector<HBITMAP>& images)
{
    const int count = ::GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        if (HMENU popup = ::GetSubMenu(menu, pos)) {
            SetItemImages(popup, bar, images);
            continue;
        }
        const int image = bar.ImageOf(static_cast<WORD>(::GetMenuItemID(menu, pos)));
        if (image < 0 || static_cast<size_t>(image) >= images.size())
            continue;
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_BITMAP;
        item.hbmpItem = images[static_cast<size_t>(image)];
        ::SetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &item);
    }
}
} // namespace

BOOL CCommandBarCtrl::LoadImages(UINT id)
{
    HINSTANCE res = ui::ResourceInstance();
    ui::ToolBarResource bar;
    if (!m_menu || !bar.Load(res, id))
        return FALSE;
    HBITMAP source = static_cast<HBITMAP>(::LoadImageW(res, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!source)
        return FALSE;
    BITMAP info = {};
    ::GetObjectW(source, sizeof(info), &info);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> strip(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = ::GetDC(nullptr);
    const int lines = ::GetDIBits(dc, source, 0, static_cast<UINT>(info.bmHeight), strip.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(source);
    if (lines != info.bmHeight || bar.width <= 0 || bar.height > info.bmHeight)
        return FALSE;

    for (int left = 0; left + bar.width <= info.bmWidth; left += bar.width)
        if (HBITMAP image = CutImage(strip, info.bmWidth, left, bar.width, bar.height))
            m_images.push_back(image);
    SetItemImages(m_menu, bar, m_images);
    return TRUE;
}

int CCommandBarCtrl::ButtonFromScreen(POINT pt) const
{
    ::ScreenToClient(m_hWnd, &pt);
    const int hit = static_cast<int>(::SendMessageW(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
    const int count = static_cast<int>(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    return hit >= 0 && hit < count ? hit : -1;
}

void CCommandBarCtrl::OpenMenu(int index)
{
    HWND frame = ::GetAncestor(m_hWnd, GA_ROOT);
    const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    while (index >= 0 && index < count) {
        HMENU popup = ::GetSubMenu(m_menu, index);
        if (!popup)
            break;
        RECT rc;
        SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        SendMessage(TB_PRESSBUTTON, index + 1, MAKELPARAM(TRUE, 0));

        m_open = index;
        m_next = -1;
        ::GetCursorPos(&m_lastMouse);
        t_tracking = this;
        m_hook = ::SetWindowsHookExW(WH_MSGFILTER, MenuHook, nullptr, ::GetCurrentThreadId());
        TPMPARAMS params = {sizeof(params), rc};
        ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON, rc.left, rc.bottom, frame, &params);
        if (m_hook)
            ::UnhookWindowsHookEx(m_hook);
        m_hook = nullptr;
        t_tracking = nullptr;

        SendMessage(TB_PRESSBUTTON, index + 1, MAKELPARAM(FALSE, 0));
        m_open = -1;
        index = m_next;
    }
}

bool CCommandBarCtrl::OnMenuInput(const MSG& msg)
{
    const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    if (msg.message == WM_MOUSEMOVE) {
        POINT pt = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        ::ClientToScreen(msg.hwnd, &pt);
        if (pt.x == m_lastMouse.x && pt.y == m_lastMouse.y)
            return false;
        m_lastMouse = pt;
        const int hit = ButtonFromScreen(pt);
        if (hit >= 0 && hit != m_open) {
            m_next = hit;
            ::EndMenu();
            return true;
        }
    } else if (msg.message == WM_KEYDOWN && (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT) && count > 0) {
        m_next = (m_open + (msg.wParam == VK_LEFT ? count - 1 : 1)) % count;
        ::EndMenu();
        return true;
    }
    return false;
}

LRESULT CALLBACK CCommandBarCtrl::MenuHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && t_tracking && t_tracking->OnMenuInput(*reinterpret_cast<MSG*>(lParam)))
        return 1;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CCommandBarCtrl::PreTranslateMessage(MSG* pMsg)
{
    // Alt with a drop-down's mnemonic opens it, for any window of our frame.
    if (pMsg->message != WM_SYSCHAR || !m_menu || !m_hWnd)
        return FALSE;
    HWND frame = ::GetAncestor(m_hWnd, GA_ROOT);
    if (::GetAncestor(pMsg->hwnd, GA_ROOT) != frame)
        return FALSE;
    const wchar_t key = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(pMsg->wParam))));
    const int count = ::GetMenuItemCount(m_menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(m_menu, i, text, 128, MF_BYPOSITION);
        if (Mnemonic(text) == key) {
            OpenMenu(i);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CCommandBarCtrl::ProcessWindowMessage(HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT& lResult, DWORD)
{
    if (uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONDBLCLK) {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(m_hWnd, &pt);
        const int hit = ButtonFromScreen(pt);
        if (hit >= 0) {
            OpenMenu(hit);
            lResult = 0;
            return TRUE;
        }
    }
    return FALSE;
}
