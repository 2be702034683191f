// Data exchange between a dialog's controls and its members, declared as a
// map in the dialog class:
//   BEGIN_DDX_MAP(CMyDlg)
//     DDX_CONTROL_HANDLE(IDC_LIST, m_list)
//     DDX_TEXT(IDC_NAME, m_name)
//     DDX_INT(IDC_COUNT, m_count)
//   END_DDX_MAP()
// DoDataExchange(FALSE) fills the controls, DoDataExchange(TRUE) reads them
// back; with a control id only that control's entries run.  The first entry
// that fails calls T::OnDataExchangeError and ends the exchange with FALSE.
#pragma once

#include "ui/Number.h"
#include "ui/Window.h"

#include <cwchar>

template <class T>
class CWinDataExchange {
public:
    // Loading: attaches the control once.
    template <class TControl>
    void DDX_Control_Handle(UINT id, TControl& control, BOOL save)
    {
        if (!save && !control.m_hWnd)
            control = static_cast<T*>(this)->GetDlgItem(id);
    }

    BOOL DDX_Text(UINT id, CString& text, BOOL save)
    {
        T* self = static_cast<T*>(this);
        if (!save)
            return self->SetDlgItemText(id, text);
        text = CWindow(self->GetDlgItem(id)).GetWindowText();
        return TRUE;
    }

    // A fixed buffer of `size` characters: saving fails when the text does not fit.
    BOOL DDX_Text(UINT id, wchar_t* buffer, int size, BOOL save)
    {
        T* self = static_cast<T*>(this);
        if (!save)
            return self->SetDlgItemText(id, buffer);
        HWND control = self->GetDlgItem(id);
        if (::GetWindowTextLengthW(control) >= size) {
            self->OnDataExchangeError(id, save);
            return FALSE;
        }
        ::GetWindowTextW(control, buffer, size);
        return TRUE;
    }

    // Signed decimal text; a text that is not a whole number stores 0 and fails.
    BOOL DDX_Int(UINT id, int& value, BOOL save)
    {
        T* self = static_cast<T*>(this);
        if (!save) {
            wchar_t text[16];
            swprintf(text, 16, L"%d", value);
            return self->SetDlgItemText(id, text);
        }
        const CString text = CWindow(self->GetDlgItem(id)).GetWindowText();
        if (!ui::ParseInt(text, value)) {
            value = 0;
            self->OnDataExchangeError(id, save);
            return FALSE;
        }
        return TRUE;
    }

    // Default reaction to a failed entry: a beep and the focus on the control.
    void OnDataExchangeError(UINT id, BOOL /*save*/)
    {
        ::MessageBeep(MB_OK);
        ::SetFocus(static_cast<T*>(this)->GetDlgItem(id));
    }
};

#define BEGIN_DDX_MAP(theClass) \
    BOOL DoDataExchange(BOOL bSaveAndValidate = FALSE, UINT nCtlID = static_cast<UINT>(-1)) \
    { \
        (void)bSaveAndValidate; (void)nCtlID;

#define DDX_CONTROL_HANDLE(id, var) \
    if (nCtlID == static_cast<UINT>(-1) || nCtlID == (id)) \
        DDX_Control_Handle(id, var, bSaveAndValidate);

#define DDX_TEXT(id, var) \
    if (nCtlID == static_cast<UINT>(-1) || nCtlID == (id)) { \
        if (!DDX_Text(id, var, bSaveAndValidate)) return FALSE; \
    }

#define DDX_TEXT_LEN(id, var, size) \
    if (nCtlID == static_cast<UINT>(-1) || nCtlID == (id)) { \
        if (!DDX_Text(id, var, size, bSaveAndValidate)) return FALSE; \
    }

#define DDX_INT(id, var) \
    if (nCtlID == static_cast<UINT>(-1) || nCtlID == (id)) { \
        if (!DDX_Int(id, var, bSaveAndValidate)) return FALSE; \
    }

#define END_DDX_MAP() \
        return TRUE; \
    }
