#include "DeviceMaps.h"
#include "FrameFixture.h"
#include "OposRegistry.h"
#include "testing/DialogAnswer.h"

#include <string>
#include <vector>

using opos_test::AddDevices;
using opos_test::EnumDevices;

namespace {
const std::vector<std::wstring> kPrinters = {L"FwTest Printer B", L"FwTest Printer A", L"CashDrawer"};
const std::vector<std::wstring> kDrawers = {L"FwTest Drawer"};

const wchar_t kNoControl[] = L"Can not find OPOS POSPrinter control!";
const wchar_t kSpecialControl[] = L"A special control object is found!\nReplace it with common one?";

std::vector<HTREEITEM> Children(const CTreeViewCtrl& tree, HTREEITEM parent)
{
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item))
        items.push_back(item);
    return items;
}

class MainFrameTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        AddDevices(L"POSPrinter", kPrinters);
        AddDevices(L"CashDrawer", kDrawers);
        opos_test::RegisterControl(L"OPOS POSPrinter Control 1.11 (Velquist)");
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        opos_test::RemoveDevices(L"POSPrinter", kPrinters);
        opos_test::RemoveDevices(L"CashDrawer", kDrawers);
        opos_test::UnregisterControl();
    }

    // Refreshes until the registry held still meanwhile (other test programs
    // may add device keys of their own) and returns what it held.
    std::vector<std::vector<std::wstring>> StableRefresh()
    {
        std::vector<std::vector<std::wstring>> before;
        for (int attempt = 0; attempt < 5; ++attempt) {
            before = {EnumDevices(L"POSPrinter"), EnumDevices(L"CashDrawer")};
            frame->RefreshTree();
            if (before == std::vector<std::vector<std::wstring>>{EnumDevices(L"POSPrinter"), EnumDevices(L"CashDrawer")})
                break;
        }
        return before;
    }

    // The tree's roots with their children's texts, and checks of the maps.
    void ExpectTreeMatchesRegistry()
    {
        const std::vector<std::vector<std::wstring>> registry = StableRefresh();
        const CTreeViewCtrl& tree = frame->m_tree;
        const std::vector<HTREEITEM> roots = Children(tree, TVI_ROOT);
        ASSERT_EQ(roots.size(), 2u);
        ASSERT_EQ(g_classMap.GetSize(), 2);
        int deviceNodes = 0;
        const wchar_t* classes[] = {L"POSPrinter", L"CashDrawer"};
        for (size_t r = 0; r < 2; ++r) {
            EXPECT_EQ(tree.GetItemText(roots[r]), classes[r]);
            EXPECT_EQ(g_classMap.GetKeyAt(static_cast<int>(r)), roots[r]);
            EXPECT_EQ(g_classMap.GetValueAt(static_cast<int>(r)), classes[r]);

            const std::vector<std::wstring>& expected = registry[r];
            const std::vector<HTREEITEM> children = Children(tree, roots[r]);
            ASSERT_EQ(children.size(), expected.size()) << "class " << r;
            if (!children.empty()) {
                EXPECT_TRUE(tree.GetItemState(roots[r], TVIS_EXPANDED) & TVIS_EXPANDED);
            }
            for (size_t i = 0; i < children.size(); ++i) {
                EXPECT_EQ(tree.GetItemText(children[i]), expected[i].c_str());
                int image = -1, selected = -1;
                ASSERT_TRUE(tree.GetItemImage(children[i], image, selected));
                EXPECT_EQ(image, 1);
                EXPECT_EQ(selected, 1);
                const int index = g_deviceMap.FindKey(children[i]);
                ASSERT_GE(index, 0);
                EXPECT_EQ(g_deviceMap.GetValueAt(index), CString(classes[r]) + L"\\" + expected[i].c_str());
                ++deviceNodes;
            }
        }
        EXPECT_EQ(g_deviceMap.GetSize(), deviceNodes);
    }
};
} // namespace

TEST_F(MainFrameTest, TreeShowsBothClassesWithTheirDevicesInRegistryOrder)
{
    CreateFrame();
    ExpectTreeMatchesRegistry();
    // Our devices are among them, the one named like the other class too.
    const std::vector<std::wstring> printers = EnumDevices(L"POSPrinter");
    for (const std::wstring& name : kPrinters)
        EXPECT_NE(std::find(printers.begin(), printers.end(), name), printers.end());
    EXPECT_TRUE(boxes->Boxes().empty()) << "a control object with the marker is accepted silently";
}

TEST_F(MainFrameTest, RefreshingAgainGivesTheSameTreeAndNoSelection)
{
    CreateFrame();
    ExpectTreeMatchesRegistry();
    ExpectTreeMatchesRegistry();
    EXPECT_EQ(frame->m_tree.GetSelectedItem(), nullptr);
}

TEST_F(MainFrameTest, MissingClassKeyGivesARootWithoutChildrenAndNoMessage)
{
    opos_test::RemoveClass(L"CashDrawer");
    CreateFrame();
    ExpectTreeMatchesRegistry();
    EXPECT_EQ(frame->m_tree.GetChildItem(g_classMap.GetKeyAt(1)), nullptr);
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(MainFrameTest, ControlObjectCheckWarnsAsTheDescriptionSays)
{
    const std::wstring longWithMarker = L"Velquist" + std::wstring(192, L'x'); // 200 characters
    const std::wstring fitsWithMarker = std::wstring(191, L'x') + L"Velquist"; // 199 characters
    struct Case {
        const char* name;
        bool registered;
        const wchar_t* description;
        const wchar_t* expectedText; // null: no box
        UINT expectedType;
    } cases[] = {
        {"not registered", false, nullptr, kNoControl, MB_OK | MB_ICONEXCLAMATION},
        {"marker", true, L"OPOS Velquist control", nullptr, 0},
        {"marker at the end, 199 characters", true, fitsWithMarker.c_str(), nullptr, 0},
        {"marker in other case", true, L"OPOS VELQUIST control", kSpecialControl, MB_YESNO | MB_ICONEXCLAMATION},
        {"too long", true, longWithMarker.c_str(), kSpecialControl, MB_YESNO | MB_ICONEXCLAMATION},
        {"empty", true, L"", kSpecialControl, MB_YESNO | MB_ICONEXCLAMATION},
        {"no description", true, nullptr, kSpecialControl, MB_YESNO | MB_ICONEXCLAMATION},
    };
    CreateFrame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.registered)
            opos_test::RegisterControl(c.description);
        else
            opos_test::UnregisterControl();
        boxes->Clear();
        frame->RefreshTree();
        if (!c.expectedText) {
            EXPECT_TRUE(boxes->Boxes().empty());
            continue;
        }
        ASSERT_EQ(boxes->Boxes().size(), 1u);
        EXPECT_EQ(boxes->Boxes()[0].text, c.expectedText);
        EXPECT_EQ(boxes->Boxes()[0].caption, L"Warning");
        EXPECT_EQ(boxes->Boxes()[0].type, c.expectedType);
    }
}

TEST_F(MainFrameTest, OpensAt800By600CentredOnAWiderScreen)
{
    ASSERT_GT(GetSystemMetrics(SM_CXSCREEN), 800);
    CreateFrame();
    RECT rc;
    frame->GetWindowRect(&rc);
    EXPECT_EQ(rc.right - rc.left, 800);
    EXPECT_EQ(rc.bottom - rc.top, 600);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(rc.left - work.left, work.right - rc.right, 1);
    EXPECT_NEAR(rc.top - work.top, work.bottom - rc.bottom, 1);
}

TEST_F(MainFrameTest, CommandStatesAfterStartUp)
{
    CreateFrame();
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_DEVICE_SETTINGS, ID_COMM_SETTINGS, ID_DELETE, ID_CHECKHEALTH})
        EXPECT_FALSE(frame->UIIsEnabled(id)) << id;
    EXPECT_EQ(frame->UIGetCheck(ID_VIEW_DETAILS), 1);
    EXPECT_EQ(frame->UIGetCheck(ID_VIEW_LIST), 0);
    EXPECT_EQ(frame->m_maxCom, 10);
    EXPECT_EQ(frame->m_maxLpt, 3);

    // The idle handler has brought the tool bar up to date.
    HWND toolBar = GetDlgItem(frame->m_hWndToolBar, ATL_IDW_TOOLBAR);
    ASSERT_NE(toolBar, nullptr);
    EXPECT_FALSE(SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_DELETE, 0));
    EXPECT_FALSE(SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_EDIT_CUT, 0));
    EXPECT_TRUE(SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_ADD_DEVICE, 0));
    EXPECT_TRUE(SendMessageW(toolBar, TB_ISBUTTONCHECKED, ID_VIEW_DETAILS, 0));

    // And a drop-down menu gets the states as it opens.
    HMENU edit = GetSubMenu(frame->m_cmdBar.GetMenu(), 1);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
    EXPECT_TRUE(GetMenuState(edit, ID_DELETE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(edit, ID_ADD_DEVICE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MainFrameTest, CommandBarCarriesTheMenu)
{
    CreateFrame();
    EXPECT_EQ(frame->GetMenu(), nullptr);
    EXPECT_EQ(GetMenuItemCount(frame->m_cmdBar.GetMenu()), 6);
    EXPECT_EQ(frame->m_cmdBar.SendMessage(TB_BUTTONCOUNT), 6);
}

TEST_F(MainFrameTest, ToolBarToggleTwiceRestoresItAndStatusBarFollowsVisibility)
{
    CreateFrame();
    HWND rebar = frame->m_hWndToolBar;
    const int band = static_cast<int>(SendMessageW(rebar, RB_IDTOINDEX, ATL_IDW_BAND_TOOLBAR, 0));
    auto bandVisible = [&] {
        REBARBANDINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_STYLE;
        SendMessageW(rebar, RB_GETBANDINFOW, band, reinterpret_cast<LPARAM>(&info));
        return !(info.fStyle & RBBS_HIDDEN);
    };
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(bandVisible());
    EXPECT_EQ(frame->UIGetCheck(ID_VIEW_TOOLBAR), 0);
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(bandVisible());
    EXPECT_EQ(frame->UIGetCheck(ID_VIEW_TOOLBAR), 1);

    ShowWindow(frame->m_hWndStatusBar, SW_HIDE); // hidden behind the command's back
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(IsWindowVisible(frame->m_hWndStatusBar));
    EXPECT_EQ(frame->UIGetCheck(ID_VIEW_STATUS_BAR), 1);
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(IsWindowVisible(frame->m_hWndStatusBar));
    EXPECT_EQ(frame->UIGetCheck(ID_VIEW_STATUS_BAR), 0);
}

TEST_F(MainFrameTest, ExitCommandClosesTheFrameAndQuitsWithOne)
{
    CreateFrame();
    frame->SendMessage(WM_COMMAND, ID_APP_EXIT);
    Pump();
    EXPECT_FALSE(frame->IsWindow());
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(loop.PreTranslateMessage(&msg), FALSE) << "the frame's filter is gone";
}

TEST_F(MainFrameTest, AcceleratorsLeaveTheInPlaceLabelEditAlone)
{
    CreateFrame();
    // Logical names of a device node are the rows that take an in-place edit.
    ASSERT_GT(g_deviceMap.GetSize(), 0);
    frame->m_tree.SelectItem(g_deviceMap.GetKeyAt(0));
    frame->m_list.InsertItem(0, L"POS1");
    MSG key = {frame->m_list, WM_KEYDOWN, VK_DELETE, 0, 0, {0, 0}};
    EXPECT_TRUE(frame->PreTranslateMessage(&key)) << "Delete on the list is the Delete command";

    HWND edit = frame->m_list.EditLabel(0);
    ASSERT_NE(edit, nullptr);
    for (WPARAM vk : {static_cast<WPARAM>(VK_DELETE), static_cast<WPARAM>('C'), static_cast<WPARAM>('V'), static_cast<WPARAM>(VK_INSERT)}) {
        MSG inEdit = {edit, WM_KEYDOWN, vk, 0, 0, {0, 0}};
        EXPECT_FALSE(frame->PreTranslateMessage(&inEdit)) << vk;
    }
}

TEST_F(MainFrameTest, AboutBoxClosesWithOkOrCancelAndChangesNothing)
{
    CreateFrame();
    for (int answer : {IDOK, IDCANCEL}) {
        uitest::ScopedDialogAnswer about(answer);
        frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
        ASSERT_EQ(about.Captions().size(), 1u);
        EXPECT_EQ(about.Captions()[0], L"About");
    }
    EXPECT_TRUE(frame->IsWindow());
    EXPECT_EQ(frame->m_maxCom, 10);
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(MainFrameTest, MenuPromptsInTheStatusBarAndToolTipsFromTheStringTable)
{
    CreateFrame();
    HWND status = frame->m_hWndStatusBar;
    auto statusText = [&] {
        // In simple mode part 0 reads the simple text.
        wchar_t text[256] = {};
        SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    EXPECT_EQ(statusText(), L"Ready");

    HMENU edit = GetSubMenu(frame->m_cmdBar.GetMenu(), 1);
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_DELETE, MF_STRING), reinterpret_cast<LPARAM>(edit));
    EXPECT_TRUE(SendMessageW(status, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(statusText(), L"Delete a device");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(SC_CLOSE, MF_STRING | MF_SYSMENU), reinterpret_cast<LPARAM>(GetSystemMenu(*frame, FALSE)));
    EXPECT_EQ(statusText(), L"Close the active window");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0xFFFF, 0xFFFF), 0);
    EXPECT_FALSE(SendMessageW(status, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(statusText(), L"Ready");

    NMTTDISPINFOW tip = {};
    tip.hdr.hwndFrom = nullptr;
    tip.hdr.idFrom = ID_ADD_DEVICE;
    tip.hdr.code = TTN_GETDISPINFOW;
    frame->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip.lpszText, nullptr);
    EXPECT_STREQ(tip.lpszText, L"Add a device");
}

TEST_F(MainFrameTest, InsertAndDeleteKeysSendTheirCommandsWhateverTheMenuShows)
{
    CreateFrame();
    ASSERT_FALSE(frame->UIIsEnabled(ID_DELETE));
    // The focused tree may have selected a class node: Insert then opens Add New Device.
    uitest::ScopedDialogAnswer dialogs(IDCANCEL);
    for (WPARAM vk : {static_cast<WPARAM>(VK_DELETE), static_cast<WPARAM>(VK_INSERT), static_cast<WPARAM>(VK_F2)}) {
        MSG key = {frame->m_tree, WM_KEYDOWN, vk, 0, 0, {0, 0}};
        EXPECT_TRUE(frame->PreTranslateMessage(&key)) << vk;
    }
    MSG plain = {frame->m_tree, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_FALSE(frame->PreTranslateMessage(&plain));
}
