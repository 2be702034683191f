// Dialogs in the other framework's manner: a template id given to the
// constructor, virtual OnInitDialog / OnOK / OnCancel / DoDataExchange, and
// UpdateData driving DDX_ functions.  Message maps chain to CDialog:
//   BEGIN_MSG_MAP(CMyDlg)
//     MESSAGE_HANDLER(WM_MY_PROGRESS, OnProgress)
//     CHAIN_MSG_MAP(CDialog)
//   END_MSG_MAP()
#pragma once

#include "ui/Dialog.h"

class CDialog;

// One exchange run; a failed DDX_ call marks it, and the later calls of the
// run do nothing.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    bool m_bFailed = false;

    // Marks the run failed: a beep and the focus on the control.
    void Fail(int id);
};

class CDialog : public CDialogImplBase {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr) : m_nIDTemplate(templateId), m_hWndParent(parent) {}

    // Modal run; the owner is the parent given to the constructor, else the active window.
    virtual INT_PTR DoModal();
    // Modeless creation (tests drive the dialog by messages).
    HWND Create(HWND parent = nullptr);

    // Runs DoDataExchange; false when an entry failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD dwMsgMapID = 0) override;

    const UINT m_nIDTemplate;

protected:
    HWND m_hWndParent;
};

// Binds a control wrapper (anything with m_hWnd) to control `id`.
template <class TControl>
void DDX_Control(CDataExchange* pDX, int id, TControl& control)
{
    if (!pDX->m_bFailed && !control.m_hWnd)
        control.m_hWnd = pDX->m_pDlgWnd->GetDlgItem(id);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Signed decimal; a text that is not a whole number fails the run.
void DDX_Text(CDataExchange* pDX, int id, int& value);
// A group of auto radio buttons starting at `firstId`: the index of the
// checked one (-1 when none is).
void DDX_Radio(CDataExchange* pDX, int firstId, int& value);
