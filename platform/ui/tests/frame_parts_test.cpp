#include "test_resource.h"
#include "ui/Controls.h"
#include "ui/PropertySheet.h"
#include "ui/Splitter.h"
#include "ui/UpdateUI.h"

#include <gtest/gtest.h>

namespace {

class CDetailsPage : public CPropertyPage<IDD_PAGE> {
public:
    CString m_text;
    int m_inits = 0;

    BEGIN_MSG_MAP(CDetailsPage)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        ++m_inits;
        SetDlgItemText(IDC_PAGE_TEXT, m_text);
        return TRUE;
    }
};

RECT WindowRectIn(HWND window, HWND parent)
{
    RECT rc;
    GetWindowRect(window, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

} // namespace

TEST(CPropertySheet, PageGetsItsMessagesAndTitleFromTheTemplate)
{
    CDetailsPage page;
    page.m_text = L"COM1";
    CPropertySheet sheet(L"Property");
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.AddPage(page);
    HWND hSheet = sheet.Create();
    ASSERT_NE(hSheet, nullptr);
    EXPECT_EQ(page.m_inits, 1);
    ASSERT_NE(page.m_hWnd, nullptr);
    EXPECT_EQ(CWindow(page.GetDlgItem(IDC_PAGE_TEXT)).GetWindowText(), L"COM1");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hSheet, 0x3021 /* Apply */)));

    HWND tabs = reinterpret_cast<HWND>(SendMessageW(hSheet, PSM_GETTABCONTROL, 0, 0));
    wchar_t title[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = title;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(title, L"Details");
    DestroyWindow(hSheet);
}

TEST(CSplitterWindow, PanesFollowTheBarAndNotificationsGoUp)
{
    CWindow parent(CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr));
    CSplitterWindowT<true> splitter;
    ASSERT_NE(splitter.Create(parent), nullptr);
    splitter.SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOZORDER);
    CPaneContainer pane;
    ASSERT_NE(pane.Create(splitter, L"Device"), nullptr);
    CWindow list(CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, splitter, nullptr, nullptr, nullptr));
    CWindow tree(CreateWindowExW(0, WC_TREEVIEWW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, pane, nullptr, nullptr, nullptr));
    pane.SetClient(tree);
    splitter.SetSplitterPanes(pane, list);
    splitter.SetSplitterPos(100);

    RECT left = WindowRectIn(pane, splitter);
    RECT right = WindowRectIn(list, splitter);
    EXPECT_EQ(left.left, 0);
    EXPECT_EQ(left.right, 100);
    EXPECT_EQ(right.left, 100 + CSplitterWindowBase::kBarWidth);
    EXPECT_EQ(right.right, 400);
    const RECT inPane = WindowRectIn(tree, pane);
    EXPECT_EQ(inPane.top, pane.HeaderHeight());

    // Dragging the bar.
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 50));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(201, 50));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(201, 50));
    EXPECT_EQ(splitter.GetSplitterPos(), 200);
    EXPECT_EQ(WindowRectIn(pane, splitter).right, 200);

    // The bar stays inside when the window shrinks.
    splitter.SetWindowPos(nullptr, 0, 0, 150, 300, SWP_NOZORDER);
    EXPECT_LE(splitter.GetSplitterPos(), 150 - CSplitterWindowBase::kBarWidth);
    parent.DestroyWindow();
}

namespace {
class Commands : public CUpdateUI<Commands> {
public:
    BEGIN_UPDATE_UI_MAP(Commands)
        UPDATE_ELEMENT(100, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(101, UPDUI_MENUPOPUP)
    END_UPDATE_UI_MAP()
};
} // namespace

TEST(CUpdateUI, StatesReachMenusAndOnlyTheirToolBarButtons)
{
    Commands ui;
    EXPECT_TRUE(ui.UIIsEnabled(100));
    EXPECT_FALSE(ui.UIEnable(999, FALSE)) << "not in the table";

    HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_POPUP, 0, 0, 100, 30, nullptr, nullptr, nullptr, nullptr);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[2] = {};
    buttons[0].idCommand = 100;
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[1].idCommand = 101;
    buttons[1].fsState = TBSTATE_ENABLED;
    SendMessageW(bar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    ui.UIAddToolBar(bar);

    ui.UIEnable(100, FALSE);
    ui.UIEnable(101, FALSE);
    ui.UISetCheck(100, 1);
    ui.UIUpdateToolBar();
    EXPECT_FALSE(SendMessageW(bar, TB_ISBUTTONENABLED, 100, 0));
    EXPECT_TRUE(SendMessageW(bar, TB_ISBUTTONCHECKED, 100, 0));
    EXPECT_TRUE(SendMessageW(bar, TB_ISBUTTONENABLED, 101, 0)) << "101 is a menu-only entry";

    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 100, L"A");
    AppendMenuW(menu, MF_STRING, 101, L"B");
    AppendMenuW(menu, MF_STRING, 102, L"C");
    LRESULT result = 0;
    EXPECT_FALSE(ui.ProcessWindowMessage(nullptr, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0, result));
    EXPECT_TRUE(GetMenuState(menu, 100, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 100, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu, 101, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, 102, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(menu);
    DestroyWindow(bar);
}
