#include "ui/MfcDialog.h"

#include "ui/Number.h"

#include <cwchar>

void CDataExchange::Fail(int id)
{
    m_bFailed = true;
    ::MessageBeep(MB_OK);
    ::SetFocus(m_pDlgWnd->GetDlgItem(id));
}

INT_PTR CDialog::DoModal()
{
    return DoModalImpl(m_nIDTemplate, m_hWndParent ? m_hWndParent : ::GetActiveWindow(), 0);
}

HWND CDialog::Create(HWND parent)
{
    return CreateImpl(m_nIDTemplate, parent ? parent : m_hWndParent, 0);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    // A top-level dialog opens centred on its owner (the screen without one).
    if (!(GetStyle() & WS_CHILD))
        CenterWindow();
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult, DWORD)
{
    if (uMsg == WM_INITDIALOG) {
        lResult = OnInitDialog();
        return TRUE;
    }
    if (uMsg == WM_COMMAND && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 1)) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            lResult = 0;
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            lResult = 0;
            return TRUE;
        }
    }
    return FALSE;
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    if (pDX->m_bFailed)
        return;
    if (pDX->m_bSaveAndValidate)
        value = CWindow(pDX->m_pDlgWnd->GetDlgItem(id)).GetWindowText();
    else
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    if (pDX->m_bFailed)
        return;
    if (!pDX->m_bSaveAndValidate) {
        wchar_t text[16];
        swprintf(text, 16, L"%d", value);
        pDX->m_pDlgWnd->SetDlgItemText(id, text);
        return;
    }
    const CString text = CWindow(pDX->m_pDlgWnd->GetDlgItem(id)).GetWindowText();
    if (!ui::ParseInt(text, value))
        pDX->Fail(id);
}

void DDX_Radio(CDataExchange* pDX, int firstId, int& value)
{
    if (pDX->m_bFailed)
        return;
    HWND first = pDX->m_pDlgWnd->GetDlgItem(firstId);
    if (!first)
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next control with WS_GROUP.
    int index = 0;
    HWND button = first;
    do {
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
        button = ::GetWindow(button, GW_HWNDNEXT);
    } while (button && !(::GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP));
}
