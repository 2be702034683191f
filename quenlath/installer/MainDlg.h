// The installer's main dialog: the emulated ports present on the machine and
// the commands on them.
#pragma once

#include <string>

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
        COMMAND_HANDLER(IDC_CHANGE_PORT, BN_CLICKED, OnChangePort)
        COMMAND_HANDLER(IDC_INSTALL, BN_CLICKED, OnInstall)
        COMMAND_HANDLER(IDC_UNINSTALL, BN_CLICKED, OnUninstall)
        CHAIN_MSG_MAP(CDialog)
    END_MSG_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Rebuilds the list from the present devices; the selection is cleared.
    void RefreshPortList();
    // The uninstall's work: unpacks the package's devcon of archFolder into a
    // work folder, removes every device of the port's hardware id with it
    // (given at most devconTimeLimitMs), refreshes the list when it ran,
    // deletes the folder and tells the outcome.
    void RemovePorts(const void* package, DWORD size, const std::wstring& archFolder, DWORD devconTimeLimitMs);

    CListCtrl m_portList;
    // The Ports class icon, or null when the program's own icon is shown.
    HICON m_hIcon = nullptr;

private:
    LRESULT OnRefresh(WORD, WORD, HWND, BOOL&);
    // Renames the port of the first selected row to a free name of its kind.
    LRESULT OnChangePort(WORD, WORD, HWND, BOOL&);
    // Installs the one emulated port: asks for its type, runs the install
    // worker behind the progress dialog and tells the outcome.
    LRESULT OnInstall(WORD, WORD, HWND, BOOL&);
    // Removes the emulated port (a row must be selected) with the package's devcon.
    LRESULT OnUninstall(WORD, WORD, HWND, BOOL&);
};
