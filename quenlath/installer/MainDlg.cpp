#include "MainDlg.h"

#include <initguid.h>
#include <devguid.h>

#include "ChgPortDlg.h"
#include "Devcon.h"
#include "InstallJob.h"
#include "InstallWorker.h"
#include "MemArchive.h"
#include "PortDevices.h"
#include "PortDlg.h"
#include "PortRename.h"
#include "WaitDialog.h"
#include "WorkFolder.h"
#include "ui/MfcApp.h"
#include "ui/Module.h"
#include "ui/WaitCursor.h"

namespace {

const wchar_t kHardwareId[] = L"ROZ\\Quenlath";

// The driver package: the locked bytes of RCDATA 103, valid while the program runs.
bool LoadDriverPackage(const void*& bytes, DWORD& size)
{
    HMODULE module = ui::ResourceInstance();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_DRIVER_PACKAGE), RT_RCDATA);
    if (!resource)
        return false;
    size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    bytes = loaded ? ::LockResource(loaded) : nullptr;
    return bytes != nullptr;
}

// Whether uninstall unpacks an entry: the package's devcon of the processor
// folder, the only one it needs.
bool IsDevcon(const std::wstring& name, const std::wstring& archFolder)
{
    return name.find(archFolder) != std::wstring::npos && name.find(L"devcon.exe") != std::wstring::npos;
}

// Every entry uninstall needs, into the work folder; false when one fails to
// unpack.
bool UnpackDevcon(CMemArchive& archive, const std::wstring& archFolder, WorkFolder& work)
{
    const UInt32 count = archive.GetFileCount();
    for (UInt32 i = 0; i < count; ++i) {
        std::wstring name;
        archive.GetFileName(i, name);
        if (IsDevcon(name, archFolder) && !work.Unpack(archive, i, name))
            return false;
    }
    return true;
}

} // namespace

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

    const void* bytes = nullptr;
    DWORD size = 0;
    if (!LoadDriverPackage(bytes, size)) {
        AfxMessageBox(IDS_INSTALL_FAILED, MB_ICONERROR);
        return 0;
    }

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

LRESULT CMainDlg::OnUninstall(WORD, WORD, HWND, BOOL&)
{
    CWaitCursor wait;
    // Which row does not matter: every device of the hardware id goes.
    if (m_portList.GetSelectedIndex() < 0) {
        AfxMessageBox(IDS_SELECT_PORT, MB_ICONEXCLAMATION);
        return 0;
    }
    const void* bytes = nullptr;
    DWORD size = 0;
    if (!LoadDriverPackage(bytes, size)) {
        AfxMessageBox(IDS_UNINSTALL_FAILED, MB_ICONERROR);
        return 0;
    }
    std::wstring archFolder;
    GetArchFolderName(archFolder);
    RemovePorts(bytes, size, archFolder, kDevconTimeLimitMs);
    return 0;
}

void CMainDlg::RemovePorts(const void* package, DWORD size, const std::wstring& archFolder, DWORD devconTimeLimitMs)
{
    CMemArchive archive(package, static_cast<UInt32>(size));
    // A failure is told before the refresh and the clean-up, success after both.
    WorkFolder work;
    const auto isDevcon = [&archFolder](const std::wstring& name) { return IsDevcon(name, archFolder); };
    if (!work.Create(LongestEntryName(archive, isDevcon)) || !UnpackDevcon(archive, archFolder, work)) {
        AfxMessageBox(IDS_UNINSTALL_FAILED, MB_ICONERROR);
        return;
    }

    // The dialog takes no input while devcon runs, but it repaints.
    const HWND focus = ::GetFocus();
    (void)EnableWindow(FALSE);  // it was enabled: its button was clicked
    DWORD exitCode = 0;
    const bool ran = RunDevcon(work.Path() + L"\\" + archFolder, std::wstring(L"remove ") + kHardwareId,
                               L"start to uninstall\n", devconTimeLimitMs, exitCode);
    (void)EnableWindow(TRUE);
    if (focus)
        (void)::SetFocus(focus);  // disabling took it away

    bool removed = false;
    if (ran) {
        if (exitCode != 0)
            AfxMessageBox(IDS_UNINSTALL_FAILED, MB_ICONERROR);
        else
            removed = true;
        RefreshPortList();
    } else {
        AfxMessageBox(IDS_UNINSTALL_FAILED, MB_ICONERROR);
    }
    work.Remove();
    if (removed)
        AfxMessageBox(IDS_UNINSTALL_OK, MB_ICONINFORMATION);
}
