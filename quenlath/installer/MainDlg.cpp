#include "MainDlg.h"

#include <initguid.h>
#include <devguid.h>

#include "ChgPortDlg.h"
#include "PortDevices.h"
#include "PortRename.h"
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
