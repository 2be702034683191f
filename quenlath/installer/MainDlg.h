// The installer's main dialog: the emulated ports present on the machine and
// the commands on them.
#pragma once

#include "ui/MfcControls.h"
#include "ui/MfcDialog.h"

#include "resource.h"

class CMainDlg : public CDialog {
public:
    enum { IDD = IDD_DRAVELIN_DIALOG };

    CMainDlg();
    ~CMainDlg() override;

    BEGIN_MSG_MAP(CMainDlg)
        COMMAND_HANDLER(IDC_REFRESH, BN_CLICKED, OnRefresh)
        CHAIN_MSG_MAP(CDialog)
    END_MSG_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Rebuilds the list from the present devices; the selection is cleared.
    void RefreshPortList();

    CListCtrl m_portList;
    // The Ports class icon, or null when the program's own icon is shown.
    HICON m_hIcon = nullptr;

private:
    LRESULT OnRefresh(WORD, WORD, HWND, BOOL&);
};
