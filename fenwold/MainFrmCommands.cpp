// The frame's commands that change the device tree in the registry: delete a
// device, add one, and add, rename (in place in the list) and delete logical
// device names.  Each ends a successful change by rebuilding the tree.
#include "AddDevDlg.h"
#include "AddLdnDlg.h"
#include "AtlReg.h"
#include "DeviceMaps.h"
#include "LogicalName.h"
#include "MainFrm.h"
#include "Messages.h"
#include "ServiceOposKey.h"
#include "ui/MessageBox.h"

namespace {
constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;
// A logical name's data (a device key name) is read into this many characters.
constexpr ULONG kLdnDataChars = 100;

constexpr UINT kQuestionBox = MB_YESNO | MB_ICONQUESTION;

// Deletes the logical names of `device` (LogicalNamesOf).  The first failing
// deletion's code.
LONG DeleteNamesOf(CRegKey& classKey, const CString& device)
{
    // Collected first: deleting shifts the indexes.
    for (const CString& ldn : LogicalNamesOf(classKey, device)) {
        const LONG result = classKey.DeleteValue(ldn);
        if (result != ERROR_SUCCESS)
            return result;
    }
    return ERROR_SUCCESS;
}
} // namespace

HTREEITEM CMainFrame::SelectedDevice() const
{
    HTREEITEM item = m_tree.GetSelectedItem();
    return item && g_deviceMap.FindKey(item) >= 0 ? item : nullptr;
}

CString CMainFrame::ClassOf(HTREEITEM device) const
{
    return g_classMap.Lookup(m_tree.GetParentItem(device));
}

LRESULT CMainFrame::OnRefresh(WORD, WORD, HWND, BOOL&)
{
    RefreshTree();
    return 0;
}

void CMainFrame::PostRefresh()
{
    // Should posting fail, the tree shows the old state until the next refresh.
    (void)PostMessage(WM_COMMAND, ID_REFRESH);
}

LRESULT CMainFrame::OnDeleteDevice(WORD, WORD, HWND, BOOL&)
{
    HTREEITEM device = SelectedDevice();
    if (!device) {
        ShowWarning(m_hWnd, IDS_SELECT_DEVICE);
        return 0;
    }
    const CString path = g_deviceMap.Lookup(device);
    if (ui::ShowMessageBox(m_hWnd, LoadText(IDS_CONFIRM_DELETE), path, kQuestionBox) != IDYES)
        return 0;

    const CString deviceKey = path.Mid(path.Find(L'\\') + 1);
    CRegKey classKey;
    LONG result = classKey.Open(HKEY_LOCAL_MACHINE, ServiceOposPath(ClassOf(device)), kAccess);
    if (result == ERROR_SUCCESS) {
        // Not recursive: a device key with subkeys stays and reports why.
        result = classKey.DeleteSubKey(deviceKey);
        if (result == ERROR_SUCCESS) {
            // The names its list showed go with it: no device would list them.
            result = DeleteNamesOf(classKey, deviceKey);
            RefreshTree();
            if (result == ERROR_SUCCESS)
                return 0;
        }
    }
    ShowError(m_hWnd, IDS_DELETE_DEVICE_FAILS, result);
    return 0;
}

LRESULT CMainFrame::OnDeleteLdn(WORD, WORD, HWND, BOOL&)
{
    HTREEITEM device = SelectedDevice();
    const int row = m_list.GetSelectedIndex();
    if (!device || row < 0)
        return 0;
    const CString ldn = m_list.GetItemText(row, 0);
    CRegKey classKey;
    if (classKey.Open(HKEY_LOCAL_MACHINE, ServiceOposPath(ClassOf(device)), kAccess) != ERROR_SUCCESS) {
        ShowError(m_hWnd, IDS_SET_REGISTRY_FAILS);
        return 0;
    }
    if (classKey.DeleteValue(ldn) != ERROR_SUCCESS) {
        ShowError(m_hWnd, IDS_SET_REGISTRY_FAILS);
        return 0;
    }
    RefreshTree();
    return 0;
}

LRESULT CMainFrame::OnAddDevice(WORD, WORD, HWND, BOOL&)
{
    const int index = g_classMap.FindKey(m_tree.GetSelectedItem());
    if (index < 0)
        return 0;
    CAddDevDlg dlg;
    dlg.m_className = g_classMap.GetValueAt(index);
    if (dlg.DoModal(GetActiveWindow()) == IDOK)
        RefreshTree();
    return 0;
}

LRESULT CMainFrame::OnAddLdn(WORD, WORD, HWND, BOOL&)
{
    HTREEITEM device = SelectedDevice();
    if (!device)
        return 0;
    const CString path = g_deviceMap.Lookup(device);
    const int slash = path.Find(L'\\');
    CAddLdnDlg dlg(path.Left(slash), path.Mid(slash + 1), m_tree);
    if (dlg.DoModal(GetActiveWindow()) == IDOK)
        RefreshTree();
    return 0;
}

LRESULT CMainFrame::OnRenameLdn(WORD, WORD, HWND, BOOL&)
{
    const int row = m_list.GetSelectedIndex();
    if (row < 0)
        return 0;
    m_list.SetFocus();
    m_list.EditLabel(row); // the label-edit notifications do the rest
    return 0;
}

LRESULT CMainFrame::OnBeginLabelEdit(int, LPNMHDR header, BOOL&)
{
    const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(header);
    if (SelectedDevice()) {
        m_oldLdn = m_list.GetItemText(info->item.iItem, 0);
        return 0;
    }
    // Rows under a class node are devices, whose names are not edited here.
    m_list.SendMessage(LVM_CANCELEDITLABEL);
    return 0;
}

LRESULT CMainFrame::OnEndLabelEdit(int, LPNMHDR header, BOOL&)
{
    const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(header);
    HTREEITEM device = SelectedDevice();
    if (!info->item.pszText || !device)
        return 0;
    const CString newName(info->item.pszText);
    // An emptied label keeps the name, as Esc does; so does an unchanged one.
    if (newName.IsEmpty() || newName.Compare(m_oldLdn) == 0)
        return 0;
    if (!IsValidLogicalName(newName)) {
        ShowError(m_hWnd, IDS_LDN_INVALID);
        return 0;
    }
    RenameLdn(ClassOf(device), newName);
    // The list never takes the text itself: the rebuilt tree shows the rename.
    return 0;
}

void CMainFrame::RenameLdn(const CString& className, const CString& newName)
{
    RegKeyEx classKey;
    if (classKey.Open(HKEY_LOCAL_MACHINE, ServiceOposPath(className), kAccess) != ERROR_SUCCESS) {
        ShowError(m_hWnd, IDS_CANNOT_OPEN_REGISTRY);
        return;
    }
    // A change of letter case only finds the old name itself: no question.
    const bool caseOnly = newName.CompareNoCase(m_oldLdn) == 0;
    if (!caseOnly) {
        CRegData existing;
        if (classKey.FindValue(newName, &existing)) {
            const CString question =
                FormatText(IDS_LDN_DEFINED, static_cast<const wchar_t*>(newName), existing.GetBuffer());
            if (ui::ShowMessageBox(m_hWnd, question, m_oldLdn, kQuestionBox) != IDYES)
                return;
        }
    }

    wchar_t device[kLdnDataChars] = {};
    ULONG chars = kLdnDataChars;
    if (classKey.QueryStringValue(m_oldLdn, device, &chars) == ERROR_SUCCESS) {
        if (caseOnly) {
            // The registry keeps a name's old spelling when the value is
            // overwritten, so the old value goes first and comes back should
            // the new one fail.
            (void)classKey.DeleteValue(m_oldLdn);
            if (classKey.SetStringValue(newName, device) == ERROR_SUCCESS) {
                PostRefresh();
                return;
            }
            (void)classKey.SetStringValue(m_oldLdn, device);
        } else if (classKey.SetStringValue(newName, device) == ERROR_SUCCESS) {
            (void)classKey.DeleteValue(m_oldLdn); // failing leaves both names
            PostRefresh();
            return;
        }
    }
    ShowError(m_hWnd, IDS_SET_REGISTRY_FAILS);
}
