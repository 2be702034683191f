#include "MainDlg.h"

#include <initguid.h>
#include <devguid.h>

#include "ChgPortDlg.h"
#include "InstallJob.h"
#include "PortDevices.h"
#include "PortDlg.h"
#include "PortRename.h"
#include "WaitCursor.h"
#include "WaitDialog.h"
#include "ui/MfcApp.h"
#include "ui/Module.h"

CMainDlg::CMainDlg() : CDialog(IDD_DRAVELIN_DIALOG) {}

CMainDlg::~CMainDlg()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PORT_LIST, m_portList);
}

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    INT miniIcon = 0;  // asked for, not used
    if (SetupDiLoadClassIcon(&GUID_DEVCLASS_PORTS, &m_hIcon, &miniIcon)) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    } else {
        m_hIcon = nullptr;
        HICON own = ::LoadIconW(ui::ResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(own));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(own));
    }

    UpdateData(FALSE);

    CString heading;
    heading.LoadString(IDS_COLUMN_NAME);
    m_portList.InsertColumn(0, heading, LVCFMT_LEFT, 100);
    heading.LoadString(IDS_COLUMN_TYPE);
    m_portList.InsertColumn(1, heading, LVCFMT_LEFT, 100);
    m_portList.SetExtendedStyle(LVS_EX_FULLROWSELECT);

    RefreshPortList();
    return TRUE;
}

void CMainDlg::RefreshPortList()
{
    m_portList.DeleteAllItems();
    for (const std::wstring& name : ListPortNames(m_hWnd)) {
        const int row = m_portList.InsertItem(m_portList.GetItemCount(), name.c_str());
        m_portList.SetItemText(row, 1, L"USB");
    }
}

LRESULT CMainDlg::OnRefresh(WORD, WORD, HWND, BOOL&)
{
    RefreshPortList();
    return 0;
}

LRESULT CMainDlg::OnChangePort(WORD, WORD, HWND, BOOL&)
{
    const int row = m_portList.GetSelectedIndex();
    if (row < 0) {
        AfxMessageBox(IDS_SELECT_PORT, MB_ICONEXCLAMATION);
        return 0;
    }
    const CString oldName = m_portList.GetItemText(row, 0);

    CChgPortDlg dlg;
    dlg.SetOldName(oldName);
    // An empty name (the list offered none) is never written.
    if (dlg.DoModal() != IDOK || dlg.GetNewName().IsEmpty())
        return 0;

    if (ChangePortName(m_hWnd, oldName, dlg.GetNewName()))
        RefreshPortList();
    return 0;
}

LRESULT CMainDlg::OnInstall(WORD, WORD, HWND, BOOL&)
{
    // The program installs one emulated port at most.
    if (m_portList.GetItemCount() != 0) {
        AfxMessageBox(IDS_PORT_EXISTS, MB_ICONEXCLAMATION);
        return 0;
    }
    CPortDlg portDlg(m_hWnd);
    if (portDlg.DoModal() != IDOK)
        return 0;
    const int portType = portDlg.GetPortType();

    HMODULE module = ui::ResourceInstance();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_DRIVER_PACKAGE), RT_RCDATA);
    if (!resource)
        return 0;
    const DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return 0;

    CWaitCursor wait;
    InstallJob job{static_cast<const BYTE*>(bytes), size, portType, nullptr};
    CWaitDialog waitDlg(m_hWnd, &job);
    if (waitDlg.DoModal() == IDOK) {
        RefreshPortList();
        AfxMessageBox(IDS_INSTALL_OK, MB_ICONINFORMATION);
    } else {
        AfxMessageBox(IDS_INSTALL_FAILED, MB_ICONERROR);
    }
    return 0;
}
