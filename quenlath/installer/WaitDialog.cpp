#include "WaitDialog.h"

#include "InstallWorker.h"

void CWaitDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BOOL CWaitDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_progress.SetRange32(0, 100);
    m_progress.SetPos(0);

    m_pJob->hNotifyWnd = m_hWnd;
    m_hThread = com::Handle(::CreateThread(nullptr, 0, InstallThreadProc, m_pJob, 0, nullptr));
    if (!m_hThread)
        EndDialog(kThreadNotStarted);
    return TRUE;
}

LRESULT CWaitDialog::OnProgress(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (wParam != 0) {
        m_progress.SetPos(static_cast<int>(lParam));
        return 0;
    }
    // Finished: the worker's last act, so the wait is short.
    DWORD exitCode = 0xFFFFFFFF;
    if (m_hThread) {
        (void)::WaitForSingleObject(m_hThread.Get(), INFINITE);
        if (!::GetExitCodeThread(m_hThread.Get(), &exitCode))
            exitCode = 0xFFFFFFFF;
        m_hThread.Close();
    }
    EndDialog(exitCode == 0 ? IDOK : IDCANCEL);
    return 0;
}
