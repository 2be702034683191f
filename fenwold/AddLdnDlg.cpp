#include "AddLdnDlg.h"

#include "AtlReg.h"
#include "DeviceMaps.h"
#include "LogicalName.h"
#include "Messages.h"
#include "ServiceOposKey.h"

CAddLdnDlg::CAddLdnDlg(const wchar_t* className, const wchar_t* deviceName, HWND tree)
    : m_className(className), m_deviceName(deviceName), m_tree(tree)
{
}

LRESULT CAddLdnDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    DoDataExchange(FALSE);
    for (int i = 0; i < g_classMap.GetSize(); ++i)
        m_classList.AddString(g_classMap.GetValueAt(i));
    for (int i = 0; i < g_classMap.GetSize(); ++i) {
        if (g_classMap.GetValueAt(i) == m_className) {
            m_classList.SetCurSel(i);
            break;
        }
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADDLDN_CLASS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(m_classList.m_hWnd));
    CenterWindow(GetParent());
    return 0;
}

LRESULT CAddLdnDlg::OnSelChangeClass(WORD, WORD, HWND, BOOL&)
{
    m_deviceList.ResetContent();
    // The class list holds g_classMap's names in its order.
    const int selected = m_classList.GetCurSel();
    if (selected < 0 || selected >= g_classMap.GetSize())
        return 0;
    for (HTREEITEM item = m_tree.GetChildItem(g_classMap.GetKeyAt(selected)); item; item = m_tree.GetNextSiblingItem(item)) {
        const int index = g_deviceMap.FindKey(item);
        if (index < 0)
            continue;
        const CString& path = g_deviceMap.GetValueAt(index);
        const int slash = path.Find(L'\\');
        if (slash >= 0)
            m_deviceList.AddString(path.Mid(slash + 1));
    }
    // The whole name, case ignored: a device whose name merely begins with it is another one.
    const int match = m_deviceList.FindStringExact(-1, m_deviceName);
    m_deviceList.SetCurSel(match >= 0 ? match : 0);
    return 0;
}

LRESULT CAddLdnDlg::OnOK(WORD, WORD, HWND, BOOL&)
{
    if (!DoDataExchange(TRUE))
        return 0;
    if (!IsValidLogicalName(m_logicalName)) {
        ShowError(m_hWnd, IDS_LDN_INVALID);
        return 0;
    }
    const int classIndex = m_classList.GetCurSel();
    if (classIndex < 0 || classIndex >= g_classMap.GetSize())
        return 0; // no class chosen: nothing to write to
    const int deviceIndex = m_deviceList.GetCurSel();
    if (deviceIndex < 0) {
        // A logical name must name a device of its class.
        ShowWarning(m_hWnd, IDS_SELECT_DEVICE);
        return 0;
    }
    const CString deviceName = m_deviceList.GetLBText(deviceIndex);

    RegKeyEx key;
    if (key.Open(HKEY_LOCAL_MACHINE, ServiceOposPath(g_classMap.GetValueAt(classIndex)), KEY_READ | KEY_WRITE) != ERROR_SUCCESS) {
        ShowError(m_hWnd, IDS_CANNOT_OPEN_REGISTRY);
        return 0;
    }
    CRegData existing;
    if (key.FindValue(m_logicalName, &existing)) {
        ShowError(m_hWnd, IDS_LDN_EXISTS);
        return 0;
    }
    if (key.SetStringValue(m_logicalName, deviceName) != ERROR_SUCCESS) {
        ShowError(m_hWnd, IDS_SET_REGISTRY_FAILS);
        return 0;
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT CAddLdnDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CAddLdnDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
