// The progress dialog of an installation: starts the install worker, shows
// its progress and ends with its result.  The user can't dismiss it.
#pragma once

#include "ui/MfcControls.h"
#include "ui/MfcDialog.h"

#include "InstallJob.h"
#include "com/Handle.h"
#include "resource.h"

class CWaitDialog : public CDialog {
public:
    enum { IDD = IDD_WAIT };
    // Results of a modal run besides IDOK (worker result 0) and IDCANCEL.
    enum { kThreadNotStarted = 3 };

    CWaitDialog(HWND parent, InstallJob* job) : CDialog(IDD_WAIT, parent), m_pJob(job) {}

    BEGIN_MSG_MAP(CWaitDialog)
        MESSAGE_HANDLER(WM_INSTALL_PROGRESS, OnProgress)
        CHAIN_MSG_MAP(CDialog)
    END_MSG_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter, Esc and the close command leave the dialog open.
    void OnOK() override {}
    void OnCancel() override {}

    LRESULT OnProgress(UINT, WPARAM wParam, LPARAM lParam, BOOL&);

    CProgressBarCtrl m_progress;
    InstallJob* m_pJob;
    com::Handle m_hThread;
};
