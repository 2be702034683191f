#include "ui/Dialog.h"

#include "ui/Module.h"

namespace {
thread_local CDialogImplBase* t_creatingDialog = nullptr;

// Messages whose result a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg)
{
    switch (msg) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}
} // namespace

CDialogImplBase::~CDialogImplBase()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        if (!m_modal)
            ::DestroyWindow(m_hWnd);
    }
}

BOOL CDialogImplBase::EndDialog(int result)
{
    if (m_modal)
        return ::EndDialog(m_hWnd, result);
    m_modelessResult = result;
    return ::DestroyWindow(m_hWnd);
}

INT_PTR CDialogImplBase::DoModalImpl(UINT templateId, HWND parent, LPARAM initParam)
{
    m_modal = true;
    t_creatingDialog = this;
    const INT_PTR result = ::DialogBoxParamW(ui::ResourceInstance(), MAKEINTRESOURCEW(templateId), parent, DialogProc, initParam);
    t_creatingDialog = nullptr;
    m_hWnd = nullptr;
    return result;
}

HWND CDialogImplBase::CreateImpl(UINT templateId, HWND parent, LPARAM initParam)
{
    m_modal = false;
    m_modelessResult = -1;
    t_creatingDialog = this;
    HWND hWnd = ::CreateDialogParamW(ui::ResourceInstance(), MAKEINTRESOURCEW(templateId), parent, DialogProc, initParam);
    t_creatingDialog = nullptr;
    return hWnd;
}

void CDialogImplBase::AttachDialog(HWND hWnd, CDialogImplBase* self)
{
    self->m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
}

INT_PTR CALLBACK CDialogImplBase::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CDialogImplBase*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    if (!self && t_creatingDialog) {
        self = t_creatingDialog;
        t_creatingDialog = nullptr;
        AttachDialog(hWnd, self);
    }
    if (!self)
        return FALSE;

    MSG current = {hWnd, msg, wParam, lParam, 0, {0, 0}};
    const MSG* previous = self->m_pCurrentMsg;
    self->m_pCurrentMsg = &current;
    LRESULT result = 0;
    const BOOL handled = self->ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0);
    self->m_pCurrentMsg = previous;

    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(msg))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
