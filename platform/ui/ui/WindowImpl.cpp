#include "ui/WindowImpl.h"

#include "ui/Module.h"

#include <cwchar>

namespace {
// The object whose window is being created on this thread; its first message takes it.
thread_local CWindowImplRoot* t_creating = nullptr;
}

ATOM CWndClassInfo::Register(WNDPROC proc)
{
    if (atom)
        return atom;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (superClass) {
        if (!GetClassInfoExW(nullptr, superClass, &wc))
            return 0;
        superProc = wc.lpfnWndProc;
    } else {
        wc.style = style;
        wc.hbrBackground = background ? reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background)) : nullptr;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        if (resourceId) {
            HINSTANCE res = ui::ResourceInstance();
            wc.hIcon = static_cast<HICON>(LoadImageW(res, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
            wc.hIconSm = static_cast<HICON>(LoadImageW(res, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
        }
    }
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    if (className) {
        wc.lpszClassName = className;
    } else {
        swprintf(autoName, sizeof(autoName) / sizeof(autoName[0]), L"ui:%p", static_cast<void*>(this));
        wc.lpszClassName = autoName;
    }
    atom = RegisterClassExW(&wc);
    return atom;
}

CWindowImplRoot::~CWindowImplRoot()
{
    // The window must not outlive its object: its messages would reach freed memory.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hWnd);
    }
}

HWND CWindowImplRoot::CreateImpl(CWndClassInfo& info, HWND parent, const RECT* rc, const wchar_t* name, DWORD style,
                                 DWORD exStyle, HMENU menuOrId, void* param)
{
    const ATOM atom = info.Register(WindowProc);
    if (!atom)
        return nullptr;
    if (info.superProc)
        m_superProc = info.superProc;
    int x = 0, y = 0, cx = 0, cy = 0;
    if (rc) {
        x = rc->left;
        y = rc->top;
        cx = rc->right - rc->left;
        cy = rc->bottom - rc->top;
    } else if (!(style & WS_CHILD)) {
        x = y = cx = cy = CW_USEDEFAULT;
    }
    t_creating = this;
    HWND hWnd = ::CreateWindowExW(exStyle, MAKEINTATOM(atom), name, style, x, y, cx, cy, parent, menuOrId,
                                  GetModuleHandleW(nullptr), param);
    t_creating = nullptr;
    return hWnd;
}

LRESULT CWindowImplRoot::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_superProc, m_hWnd, msg, wParam, lParam);
}

LRESULT CWindowImplRoot::DefWindowProc()
{
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

LRESULT CALLBACK CWindowImplRoot::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CWindowImplRoot*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (!self && t_creating) {
        self = t_creating;
        t_creating = nullptr;
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);

    MSG current = {hWnd, msg, wParam, lParam, 0, {0, 0}};
    const MSG* previous = self->m_pCurrentMsg;
    self->m_pCurrentMsg = &current;
    LRESULT result = 0;
    const BOOL handled = self->ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0);
    self->m_pCurrentMsg = previous;
    if (!handled)
        result = self->DefWindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage(hWnd);
    }
    return result;
}
