#include "SetupApp.h"

#include "MainDlg.h"

CSetupApp theApp;

BOOL CSetupApp::InitInstance()
{
    (void)AfxOleInit();  // the dialog runs without OLE too
    AfxEnableControlContainer();

    CMainDlg dlg;
    m_pMainWnd = &dlg;
    (void)dlg.DoModal();  // every way out ends the program
    m_pMainWnd = nullptr;

    // No message loop of our own: the program ends here.
    return FALSE;
}
