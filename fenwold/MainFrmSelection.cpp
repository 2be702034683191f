// The frame's tree and list: what the list shows for the selected node, the
// commands that selection enables, view modes, double-click, context menus
// and the dialogs opened on the selection.
#include "DevDetail.h"
#include "DeviceMaps.h"
#include "LogicalName.h"
#include "MainFrm.h"
#include "PortConfigDlg.h"
#include "PortRangeDlg.h"
#include "ServiceOposKey.h"
#include "com/RegKey.h"
#include "ui/Module.h"

#include <memory>
#include <type_traits>

namespace {
constexpr DWORD kNameChars = 260;
constexpr int kLdnImage = 0;
constexpr int kDeviceImage = 1;

enum ContextPopup { kClassPopup = 0, kDevicePopup = 1, kNamePopup = 2 };

struct ViewMode {
    WORD command;
    DWORD style; // the LVS_TYPEMASK bits
};
const ViewMode kViewModes[] = {
    {ID_VIEW_LARGEICON, LVS_ICON},
    {ID_VIEW_SMALLICON, LVS_SMALLICON},
    {ID_VIEW_LIST, LVS_LIST},
    {ID_VIEW_DETAILS, LVS_REPORT},
};

struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuPtr = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

bool IsClassNode(HTREEITEM item)
{
    return g_classMap.FindKey(item) >= 0;
}
} // namespace

LRESULT CMainFrame::OnViewStyle(WORD, WORD id, HWND, BOOL&)
{
    for (const ViewMode& mode : kViewModes) {
        if (mode.command != id)
            continue;
        const DWORD style = m_list.GetStyle();
        if ((style & LVS_TYPEMASK) != mode.style)
            ::SetWindowLongPtrW(m_list, GWL_STYLE, static_cast<LONG_PTR>((style & ~LVS_TYPEMASK) | mode.style));
    }
    for (const ViewMode& mode : kViewModes)
        UISetCheck(mode.command, mode.command == id);
    return 0;
}

LRESULT CMainFrame::OnTreeSelChanged(int, LPNMHDR pnmh, BOOL&)
{
    const HTREEITEM item = reinterpret_cast<const NMTREEVIEWW*>(pnmh)->itemNew.hItem;
    m_list.DeleteAllItems();
    for (int id : {ID_DEVICE_SETTINGS, ID_COMM_SETTINGS, ID_DELETE, ID_CHECKHEALTH})
        UIEnable(id, FALSE);

    const int device = g_deviceMap.FindKey(item);
    if (device >= 0) {
        ListDeviceNames(g_deviceMap.GetValueAt(device));
        // A device node enables its commands even when its names cannot be read.
        for (int id : {ID_COMM_SETTINGS, ID_DELETE, ID_CHECKHEALTH})
            UIEnable(id, TRUE);
        return 0;
    }
    const int deviceClass = g_classMap.FindKey(item);
    if (deviceClass >= 0)
        ListDevices(g_classMap.GetValueAt(deviceClass));
    return 0;
}

// One row per logical device name of the device (LogicalNamesOf).
void CMainFrame::ListDeviceNames(const CString& devicePath)
{
    const int slash = devicePath.Find(L'\\');
    if (slash < 0)
        return;
    const CString className = devicePath.Left(slash);
    const CString deviceName = devicePath.Mid(slash + 1);

    CRegKey classKey;
    if (classKey.Open(HKEY_LOCAL_MACHINE, ServiceOposPath(className), KEY_READ) != ERROR_SUCCESS)
        return;
    for (const CString& name : LogicalNamesOf(classKey, deviceName)) {
        const int row = m_list.InsertItem(m_list.GetItemCount(), name, kLdnImage);
        m_list.SetItemText(row, 1, devicePath);
    }
}

// One row per device key of the class with its DeviceDesc.
void CMainFrame::ListDevices(const CString& className)
{
    CRegKey classKey;
    if (classKey.Open(HKEY_LOCAL_MACHINE, ServiceOposPath(className), KEY_READ) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kNameChars];
        DWORD chars = kNameChars;
        if (classKey.EnumKey(index, name, &chars) != ERROR_SUCCESS)
            break;
        const int row = m_list.InsertItem(static_cast<int>(index), name, kDeviceImage);
        wchar_t description[kNameChars] = {};
        ULONG descriptionChars = kNameChars;
        CRegKey deviceKey;
        const bool read = deviceKey.Open(classKey.Get(), name, KEY_READ) == ERROR_SUCCESS &&
                          deviceKey.QueryStringValue(L"DeviceDesc", description, &descriptionChars) == ERROR_SUCCESS;
        m_list.SetItemText(row, 1, read ? description : L"");
    }
}

LRESULT CMainFrame::OnListDblClk(int, LPNMHDR pnmh, BOOL&)
{
    if (pnmh->hwndFrom != m_list)
        return 0;
    if (reinterpret_cast<const NMITEMACTIVATE*>(pnmh)->iItem < 0)
        return 0;
    const int deviceClass = g_classMap.FindKey(m_tree.GetSelectedItem());
    const int row = m_list.GetSelectedIndex();
    if (deviceClass < 0 || row < 0)
        return 0;
    const CString path = g_classMap.GetValueAt(deviceClass) + L"\\" + m_list.GetItemText(row, 0);
    for (int i = 0; i < g_deviceMap.GetSize(); ++i) {
        if (g_deviceMap.GetValueAt(i) == path) {
            m_tree.SelectItem(g_deviceMap.GetKeyAt(i));
            break;
        }
    }
    return 0;
}

LRESULT CMainFrame::OnRClick(int, LPNMHDR pnmh, BOOL&)
{
    POINT cursor;
    if (!GetCursorPos(&cursor))
        return 0;
    const bool fromTree = pnmh->hwndFrom == m_tree;
    if (!fromTree && pnmh->hwndFrom != m_list)
        return 0;

    // Commands act on the tree's selected node: a right-clicked tree item
    // becomes the selection first; the list's rows leave it as it is.
    int popup = -1;
    if (fromTree) {
        TVHITTESTINFO hit = {};
        hit.pt = cursor;
        ScreenToClient(m_tree, &hit.pt);
        const HTREEITEM item = reinterpret_cast<HTREEITEM>(m_tree.SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (!item || !m_tree.SelectItem(item))
            return 0; // empty space, or a node that did not become the selection
        if (IsClassNode(item))
            popup = kClassPopup;
        else if (g_deviceMap.FindKey(item) >= 0)
            popup = kDevicePopup;
    } else {
        const HTREEITEM selected = m_tree.GetSelectedItem();
        if (IsClassNode(selected))
            popup = kDevicePopup;
        else if (g_deviceMap.FindKey(selected) >= 0)
            popup = kNamePopup;
    }
    if (popup < 0)
        return 0;

    const MenuPtr menu(LoadMenuW(ui::ResourceInstance(), MAKEINTRESOURCEW(IDR_CONTEXT_MENU)));
    HMENU popupMenu = menu ? GetSubMenu(menu.get(), popup) : nullptr;
    if (!popupMenu)
        return 0;
    if (fromTree) {
        const UINT command = static_cast<UINT>(TrackPopupMenu(popupMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD,
                                                              cursor.x, cursor.y, 0, m_hWnd, nullptr));
        if (command != 0) // 0: dismissed
            SendMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0);
    } else {
        // The chosen command arrives as an ordinary menu command.
        (void)TrackPopupMenu(popupMenu, TPM_LEFTALIGN | TPM_TOPALIGN, cursor.x, cursor.y, 0, m_hWnd, nullptr);
    }
    return 0;
}

LRESULT CMainFrame::OnPortRange(WORD, WORD, HWND, BOOL&)
{
    CPortRangeDlg dlg(m_maxCom, m_maxLpt);
    if (dlg.DoModal(::GetActiveWindow()) == IDOK) {
        m_maxCom = dlg.m_maxComPort;
        m_maxLpt = dlg.m_maxLptPort;
    }
    return 0;
}

LRESULT CMainFrame::OnProperty(WORD, WORD id, HWND, BOOL&)
{
    ShowProperty(id, m_tree.GetSelectedItem());
    return 0;
}

void CMainFrame::ShowProperty(UINT id, HTREEITEM item)
{
    const int device = g_deviceMap.FindKey(item);
    if (IsClassNode(item) || device < 0 || id != ID_PROPERTY)
        return;
    CDevDetail page;
    page.m_keyPath = ServiceOposPath(g_deviceMap.GetValueAt(device));
    CString caption;
    caption.LoadString(IDS_PROPERTY);
    CPropertySheet sheet(caption, 0, m_hWnd);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.AddPage(page);
    (void)sheet.DoModal(m_hWnd); // the page only shows the device
}

LRESULT CMainFrame::OnCommSettings(WORD, WORD, HWND, BOOL&)
{
    const int device = g_deviceMap.FindKey(m_tree.GetSelectedItem());
    if (device < 0)
        return 0;
    CPortConfigDlg dlg(g_deviceMap.GetValueAt(device), m_maxCom, m_maxLpt);
    (void)dlg.DoModal(::GetActiveWindow()); // the dialog saves by itself
    return 0;
}
