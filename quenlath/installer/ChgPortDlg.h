// The dialog that offers the free names of a port's kind (COM or LPT) for
// renaming it.
#pragma once

#include "ui/Controls.h"
#include "ui/MfcDialog.h"

#include "resource.h"

class CChgPortDlg : public CDialog {
public:
    enum { IDD = IDD_CHANGE_PORT };

    CChgPortDlg();

    void SetOldName(const wchar_t* name) { m_strOldName = name; }
    // The name chosen on Ok; empty when the list offered none.
    const CString& GetNewName() const { return m_strNewName; }

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // Adds prefix1 .. prefix<highest> to the list, leaving out the names that
    // the device map key (under HKEY_LOCAL_MACHINE) lists as in use.  False,
    // and nothing added, when those names can't be read.
    bool FillFreePortNames(const wchar_t* keyPath, const wchar_t* prefix, int highest);

    CComboBox m_portCombo;
    CString m_strOldName;
    CString m_strNewName;
};
