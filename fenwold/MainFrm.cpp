#include "MainFrm.h"

#include "DeviceMaps.h"
#include "ServiceOposKey.h"
#include "Trace.h"
#include "aboutdlg.h"
#include "com/RegKey.h"
#include "Messages.h"
#include "ui/MessageBox.h"
#include "ui/Module.h"

#include <objbase.h>

#include <cassert>
#include <cwchar>
#include <memory>

namespace {
// The device classes the utility manages, in tree order.
const wchar_t* const kDeviceClasses[] = {L"POSPrinter", L"CashDrawer"};
// The common control objects carry this in their class description.
const wchar_t kControlMarker[] = L"Velquist";

constexpr DWORD kCommandBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
constexpr DWORD kToolBarStyle = kCommandBarStyle | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT;
constexpr DWORD kReBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE | CCS_NODIVIDER;
constexpr DWORD kStatusBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SBARS_SIZEGRIP;
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kTreeStyle = kChildStyle | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
constexpr DWORD kListStyle = kChildStyle | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS;

const int kImageIcons[] = {IDI_CLASS, IDI_DEVICE, IDI_LDN};
constexpr int kTreeImage = 1;

struct CoTaskMemDeleter {
    void operator()(wchar_t* p) const { CoTaskMemFree(p); }
};
} // namespace

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    HINSTANCE res = ui::ResourceInstance();

    // Command bar in place of the menu bar.
    m_cmdBar.Create(m_hWnd, kCommandBarStyle);
    m_cmdBar.AttachMenu(GetMenu());
    m_cmdBar.LoadImages(IDR_MAINFRAME);

    HWND toolBar = CreateSimpleToolBarCtrl(m_hWnd, IDR_MAINFRAME, kToolBarStyle, ATL_IDW_TOOLBAR);
    CreateSimpleReBar(kReBarStyle);
    AddSimpleReBarBand(m_cmdBar);
    AddSimpleReBarBand(toolBar, nullptr, TRUE);

    CreateSimpleStatusBar(ATL_IDS_IDLEMESSAGE, kStatusBarStyle, ATL_IDW_STATUS_BAR);

    m_hWndClient = m_splitter.Create(m_hWnd, kChildStyle);

    m_imagesSmall.Create(16, 16, ILC_MASK | ILC_COLOR32, 10, 5);
    m_imagesLarge.Create(32, 32, ILC_MASK | ILC_COLOR32, 10, 5);
    for (int icon : kImageIcons) {
        HICON small = static_cast<HICON>(LoadImageW(res, MAKEINTRESOURCEW(icon), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        HICON large = static_cast<HICON>(LoadImageW(res, MAKEINTRESOURCEW(icon), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
        m_imagesSmall.AddIcon(small);
        m_imagesLarge.AddIcon(large);
        DestroyIcon(small);
        DestroyIcon(large);
    }

    CString title;
    title.LoadString(IDS_PANE_TITLE);
    m_pane.SetPaneContainerExtendedStyle(PANECNT_NOCLOSEBUTTON);
    m_pane.Create(m_splitter, title);

    m_tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, nullptr, kTreeStyle, 0, 0, 0, 0, m_pane, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    m_tree.SetFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    m_tree.SetImageList(m_imagesSmall, TVSIL_NORMAL);
    m_pane.SetClient(m_tree);

    m_list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, kListStyle, 0, 0, 0, 0, m_splitter, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    const struct {
        UINT text;
        int width;
    } columns[] = {{IDS_COLUMN_NAME, 150}, {IDS_COLUMN_DESCRIPTION, 250}, {IDS_COLUMN_CONNECTION, 150}};
    for (int i = 0; i < 3; ++i) {
        CString text;
        text.LoadString(columns[i].text);
        m_list.InsertColumn(i, text, LVCFMT_LEFT, columns[i].width);
    }
    m_list.SetImageList(m_imagesSmall, LVSIL_SMALL);
    m_list.SetImageList(m_imagesLarge, LVSIL_NORMAL);
    m_list.SetExtendedListViewStyle(LVS_EX_FULLROWSELECT);

    m_splitter.SetSplitterPanes(m_pane, m_list);
    UpdateLayout();
    RECT rc;
    m_splitter.GetClientRect(&rc);
    m_splitter.SetSplitterPos((rc.right - rc.left) / 4);

    UIAddToolBar(toolBar);
    UISetCheck(ID_VIEW_TOOLBAR, 1);
    UISetCheck(ID_VIEW_STATUS_BAR, 1);
    UISetCheck(ID_VIEW_DETAILS, 1);
    UISetCheck(ID_VIEW_LARGEICON, 0);
    UISetCheck(ID_VIEW_SMALLICON, 0);
    UISetCheck(ID_VIEW_LIST, 0);
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_DEVICE_SETTINGS, ID_COMM_SETTINGS, ID_DELETE, ID_CHECKHEALTH})
        UIEnable(id, FALSE);

    CMessageLoop* loop = ui::AppModule() ? ui::AppModule()->GetMessageLoop() : nullptr;
    assert(loop != nullptr);
    if (loop) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }

    if (GetSystemMetrics(SM_CXSCREEN) > 800)
        SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();

    RefreshTree();

    m_maxCom = 10;
    m_maxLpt = 3;
    return 0;
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    if (ui::AppModule())
        if (CMessageLoop* loop = ui::AppModule()->GetMessageLoop()) {
            loop->RemoveMessageFilter(this);
            loop->RemoveIdleHandler(this);
        }
    bHandled = FALSE; // the frame base posts the quit message
    return 0;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    // Keys typed into a list label being edited in place belong to the edit:
    // Delete must not delete the device, Ctrl+C / Ctrl+V must edit the text.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_list.m_hWnd) {
        HWND edit = m_list.GetEditControl();
        if (edit && pMsg->hwnd == edit)
            return FALSE;
    }
    return m_hAccel && TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg);
}

BOOL CMainFrame::OnIdle()
{
    UIUpdateToolBar();
    return FALSE;
}

LRESULT CMainFrame::OnFileExit(WORD, WORD, HWND, BOOL&)
{
    PostMessage(WM_CLOSE);
    return 0;
}

LRESULT CMainFrame::OnFileNew(WORD, WORD, HWND, BOOL&)
{
    return 0;
}

LRESULT CMainFrame::OnViewToolBar(WORD, WORD, HWND, BOOL&)
{
    static bool visible = true; // this process's choice, not read back from the band
    visible = !visible;
    const int band = static_cast<int>(::SendMessageW(m_hWndToolBar, RB_IDTOINDEX, ATL_IDW_BAND_TOOLBAR, 0));
    ::SendMessageW(m_hWndToolBar, RB_SHOWBAND, band, visible);
    UISetCheck(ID_VIEW_TOOLBAR, visible);
    UpdateLayout();
    return 0;
}

LRESULT CMainFrame::OnViewStatusBar(WORD, WORD, HWND, BOOL&)
{
    const bool visible = !::IsWindowVisible(m_hWndStatusBar);
    ::ShowWindow(m_hWndStatusBar, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
    UISetCheck(ID_VIEW_STATUS_BAR, visible);
    UpdateLayout();
    return 0;
}

LRESULT CMainFrame::OnAppAbout(WORD, WORD, HWND, BOOL&)
{
    CAboutDlg dlg;
    dlg.DoModal(GetActiveWindow());
    return 0;
}

void CMainFrame::RefreshTree()
{
    m_tree.SelectItem(nullptr);
    m_tree.DeleteAllItems();
    g_classMap.RemoveAll();
    g_deviceMap.RemoveAll();

    for (const wchar_t* deviceClass : kDeviceClasses) {
        HTREEITEM root = m_tree.InsertItem(deviceClass, kTreeImage, kTreeImage, TVI_ROOT, TVI_LAST);
        g_classMap.Add(root, deviceClass);

        CRegKey classKey;
        if (classKey.Open(HKEY_LOCAL_MACHINE, ServiceOposPath(deviceClass), KEY_READ) == ERROR_SUCCESS) {
            for (DWORD index = 0;; ++index) {
                wchar_t name[260];
                DWORD chars = 260;
                if (classKey.EnumKey(index, name, &chars) != ERROR_SUCCESS)
                    break;
                HTREEITEM item = m_tree.InsertItem(name, kTreeImage, kTreeImage, root, TVI_LAST);
                g_deviceMap.Add(item, CString(deviceClass) + L"\\" + name);
            }
        }
        m_tree.Expand(root);
    }

    CheckControlObject();
}

void CMainFrame::CheckControlObject()
{
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"OPOS.POSPrinter", &clsid))) {
        ShowWarning(m_hWnd, IDS_NO_CONTROL);
        return;
    }
    wchar_t* text = nullptr;
    if (FAILED(StringFromCLSID(clsid, &text)))
        return;
    const std::unique_ptr<wchar_t, CoTaskMemDeleter> clsidText(text);

    CString path = CString(L"CLSID\\") + clsidText.get();
    CRegKey key;
    wchar_t description[200] = {};
    ULONG chars = 200;
    const bool read = key.Open(HKEY_CLASSES_ROOT, path, KEY_READ) == ERROR_SUCCESS &&
                      key.QueryStringValue(nullptr, description, &chars) == ERROR_SUCCESS;
    if (read && wcsstr(description, kControlMarker)) {
        Trace(L"cls desc: %s\n", description);
        return;
    }
    // Both answers only close the box: there is nothing to replace it with.
    (void)ui::ShowMessageBox(m_hWnd, IDS_SPECIAL_CONTROL, IDS_WARNING, MB_YESNO | MB_ICONEXCLAMATION);
}
