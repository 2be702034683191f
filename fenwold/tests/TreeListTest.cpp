// The frame's tree and list together: rows per selected node, the commands a
// selection enables, view modes, double-click, context menus and the dialogs
// opened on the selected device.
#include "DeviceMaps.h"
#include "FrameFixture.h"
#include "OposRegistry.h"
#include "ReadOnlyKey.h"
#include "com/RegKey.h"
#include "testing/DialogAnswer.h"
#include "testing/MenuAnswer.h"
#include "testing/WindowTexts.h"


#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

using uitest::MenuEntry;
using uitest::ScopedDialogAnswer;
using uitest::ScopedMenuAnswer;

namespace {

struct Row {
    std::wstring name, description, connection;
    int image = -1;
    bool operator==(const Row& other) const
    {
        return name == other.name && description == other.description && connection == other.connection &&
               image == other.image;
    }
};

std::ostream& operator<<(std::ostream& out, const Row& row)
{
    const std::wstring text = row.name + L" / " + row.description + L" / " + row.connection;
    return out << std::string(text.begin(), text.end()) << " image " << row.image;
}

std::wstring ClassPath(const std::wstring& deviceClass)
{
    return std::wstring(opos_test::kServiceOpos) + L"\\" + deviceClass;
}

// The texts of a recorded menu's entries without separators.
std::vector<std::wstring> Texts(const std::vector<MenuEntry>& menu)
{
    std::vector<std::wstring> texts;
    for (const MenuEntry& entry : menu)
        if (entry.id)
            texts.push_back(entry.text);
    return texts;
}

const MenuEntry* Entry(const std::vector<MenuEntry>& menu, UINT id)
{
    for (const MenuEntry& entry : menu)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

const std::vector<std::wstring> kClassPopup = {L"Add &New Device...", L"&Export Registry...", L"Prope&rty..."};
const std::vector<std::wstring> kDevicePopup = {L"&CheckHealth Interactive", L"Device &Specific Settings...",
                                                L"Add New &LDN...", L"C&ommunication Settings...", L"&Delete",
                                                L"&Export Registry...", L"Prope&rty..."};
const std::vector<std::wstring> kNamePopup = {L"&Add", L"&Delete", L"&Rename LDN"};

class TreeListTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_tag = L"FwSel " + std::wstring(test.begin(), test.end());
        opos_test::RegisterControl(L"OPOS POSPrinter Control 1.11 (Velquist)");
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        for (const auto& [deviceClass, device] : m_devices)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, (ClassPath(deviceClass) + L"\\" + device).c_str());
        for (const auto& [deviceClass, value] : m_values) {
            CRegKey key;
            if (key.Open(HKEY_LOCAL_MACHINE, ClassPath(deviceClass).c_str(), KEY_WRITE) == ERROR_SUCCESS)
                key.DeleteValue(value.c_str());
        }
        opos_test::UnregisterControl();
    }

    // A device key of this test named "<tag> <suffix>", with its DeviceDesc
    // when given.
    std::wstring AddDevice(const std::wstring& deviceClass, const std::wstring& suffix, const wchar_t* description = nullptr)
    {
        const std::wstring name = m_tag + L" " + suffix;
        m_devices.emplace_back(deviceClass, name);
        CRegKey key;
        EXPECT_EQ(key.Create(HKEY_LOCAL_MACHINE, (ClassPath(deviceClass) + L"\\" + name).c_str(), KEY_WRITE), ERROR_SUCCESS);
        if (description)
            key.SetStringValue(L"DeviceDesc", description);
        return name;
    }
    // A logical device name of this test on the class key.
    std::wstring AddLdn(const std::wstring& deviceClass, const std::wstring& suffix, const std::wstring& device)
    {
        const std::wstring name = m_tag + L" LDN " + suffix;
        m_values.emplace_back(deviceClass, name);
        CRegKey key;
        EXPECT_EQ(key.Create(HKEY_LOCAL_MACHINE, ClassPath(deviceClass).c_str(), KEY_WRITE), ERROR_SUCCESS);
        key.SetStringValue(name.c_str(), device.c_str());
        return name;
    }

    HTREEITEM Root(const wchar_t* deviceClass) const
    {
        for (int i = 0; i < g_classMap.GetSize(); ++i)
            if (g_classMap.GetValueAt(i) == deviceClass)
                return g_classMap.GetKeyAt(i);
        return nullptr;
    }
    HTREEITEM Node(const std::wstring& deviceClass, const std::wstring& device) const
    {
        const CString path = CString(deviceClass.c_str()) + L"\\" + device.c_str();
        for (int i = 0; i < g_deviceMap.GetSize(); ++i)
            if (g_deviceMap.GetValueAt(i) == path)
                return g_deviceMap.GetKeyAt(i);
        return nullptr;
    }
    void Select(HTREEITEM item)
    {
        frame->m_tree.SelectItem(item);
        Pump();
    }

    std::vector<Row> Rows() const
    {
        const CListViewCtrl& list = frame->m_list;
        std::vector<Row> rows;
        for (int i = 0; i < list.GetItemCount(); ++i) {
            Row row;
            row.name = list.GetItemText(i, 0).GetString();
            row.description = list.GetItemText(i, 1).GetString();
            row.connection = list.GetItemText(i, 2).GetString();
            LVITEMW item = {};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            list.SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            row.image = item.iImage;
            rows.push_back(row);
        }
        return rows;
    }

    // Enabled state of the four selection commands: CheckHealth, Delete,
    // Communication Settings, Device Specific Settings.
    std::vector<bool> DeviceCommands() const
    {
        return {frame->UIIsEnabled(ID_CHECKHEALTH), frame->UIIsEnabled(ID_DELETE), frame->UIIsEnabled(ID_COMM_SETTINGS),
                frame->UIIsEnabled(ID_DEVICE_SETTINGS)};
    }

    void NotifyFrom(HWND from, UINT code, int item = -1)
    {
        NMITEMACTIVATE note = {};
        note.hdr.hwndFrom = from;
        note.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(from));
        note.hdr.code = code;
        note.iItem = item;
        frame->SendMessage(WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
    }

    // Moves the cursor onto the tree item (or below the last item when null)
    // and right-clicks the tree there.
    void RightClickTree(HTREEITEM item)
    {
        RECT rc = {};
        POINT pt;
        if (item) {
            std::memcpy(&rc, &item, sizeof(item)); // TVM_GETITEMRECT takes the item in the rectangle
            ASSERT_TRUE(frame->m_tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc)));
            pt = {rc.left + 4, (rc.top + rc.bottom) / 2}; // long texts run past the pane
        } else {
            frame->m_tree.GetClientRect(&rc);
            pt = {rc.right / 2, rc.bottom - 4};
        }
        ClientToScreen(frame->m_tree, &pt);
        SetCursorPos(pt.x, pt.y);
        NotifyFrom(frame->m_tree, NM_RCLICK);
        Pump();
    }
    void RightClickList()
    {
        RECT rc = {};
        frame->m_list.GetClientRect(&rc);
        POINT pt = {rc.right / 2, rc.bottom - 4};
        ClientToScreen(frame->m_list, &pt);
        SetCursorPos(pt.x, pt.y);
        NotifyFrom(frame->m_list, NM_RCLICK);
        Pump();
    }

    std::wstring m_tag;
    std::vector<std::pair<std::wstring, std::wstring>> m_devices;
    std::vector<std::pair<std::wstring, std::wstring>> m_values;
};

} // namespace

TEST_F(TreeListTest, ClassNodeListsItsDevicesWithDescriptionsAndKeepsDeviceCommandsDisabled)
{
    const std::wstring a = AddDevice(L"POSPrinter", L"A", L"Receipt printer A");
    const std::wstring b = AddDevice(L"POSPrinter", L"B");
    const std::wstring c = AddDevice(L"POSPrinter", L"C");
    {
        CRegKey key; // a DeviceDesc that is not a string shows no description
        ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, (ClassPath(L"POSPrinter") + L"\\" + c).c_str(), KEY_WRITE), ERROR_SUCCESS);
        key.SetDWORDValue(L"DeviceDesc", 7);
    }
    const std::wstring longDescription(260, L'd'); // no room for its terminator
    const std::wstring d = AddDevice(L"POSPrinter", L"D", longDescription.c_str());
    CreateFrame();
    Select(Node(L"POSPrinter", a)); // a device first: selecting the class disables its commands again
    ASSERT_EQ(DeviceCommands(), (std::vector<bool>{true, true, true, false}));

    Select(Root(L"POSPrinter"));
    std::vector<Row> expected;
    for (const std::wstring& device : opos_test::EnumDevices(L"POSPrinter")) {
        Row row{device, L"", L"", 1};
        if (device == a)
            row.description = L"Receipt printer A";
        else if (device.rfind(L"FwSel ", 0) != 0)
            continue; // other programs' devices: their descriptions are theirs
        expected.push_back(row);
    }
    std::vector<Row> rows = Rows();
    std::vector<Row> ours;
    for (const Row& row : rows)
        if (row.name.rfind(L"FwSel ", 0) == 0)
            ours.push_back(row);
    EXPECT_EQ(ours, expected);
    EXPECT_EQ(rows.size(), opos_test::EnumDevices(L"POSPrinter").size());
    EXPECT_EQ(DeviceCommands(), (std::vector<bool>{false, false, false, false}));
    (void)b;
    (void)d;
}

TEST_F(TreeListTest, ClassWithoutKeyOrNothingSelectedGivesAnEmptyListAndDisabledCommands)
{
    const std::wstring device = AddDevice(L"POSPrinter", L"A");
    opos_test::RemoveClass(L"CashDrawer");
    CreateFrame();
    Select(Node(L"POSPrinter", device));
    Select(Root(L"CashDrawer"));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(DeviceCommands(), (std::vector<bool>{false, false, false, false}));

    Select(Node(L"POSPrinter", device));
    Select(nullptr);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(DeviceCommands(), (std::vector<bool>{false, false, false, false}));
}

TEST_F(TreeListTest, DeviceNodeListsTheLogicalNamesOfItsOwnClassExactly)
{
    const std::wstring printer = AddDevice(L"POSPrinter", L"Twin");
    const std::wstring drawer = AddDevice(L"CashDrawer", L"Twin"); // the same key name under the other class
    const std::wstring bare = AddDevice(L"POSPrinter", L"Bare");
    // Names too long for the list's buffers come first and are passed over.
    AddLdn(L"POSPrinter", L"0" + std::wstring(260, L'n'), printer);
    AddLdn(L"POSPrinter", L"0 data", std::wstring(200, L'd'));
    const std::wstring ldn1 = AddLdn(L"POSPrinter", L"1", printer);
    const std::wstring ldn2 = AddLdn(L"POSPrinter", L"2", printer);
    AddLdn(L"POSPrinter", L"case", m_tag + L" twin"); // differs only in case
    AddLdn(L"POSPrinter", L"prefix", printer + L"X");
    const std::wstring drawerLdn = AddLdn(L"CashDrawer", L"drawer", drawer);
    CreateFrame();

    Select(Node(L"POSPrinter", printer));
    const std::wstring path = L"POSPrinter\\" + printer;
    EXPECT_EQ(Rows(), (std::vector<Row>{{ldn1, path, L"", 0}, {ldn2, path, L"", 0}}));
    EXPECT_EQ(DeviceCommands(), (std::vector<bool>{true, true, true, false}));

    Select(Node(L"CashDrawer", drawer));
    EXPECT_EQ(Rows(), (std::vector<Row>{{drawerLdn, L"CashDrawer\\" + drawer, L"", 0}}));

    // No names, yet the device's commands are enabled.
    Select(Node(L"POSPrinter", bare));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(DeviceCommands(), (std::vector<bool>{true, true, true, false}));

    // The tool bar follows after the idle handler.
    HWND toolBar = GetDlgItem(frame->m_hWndToolBar, ATL_IDW_TOOLBAR);
    EXPECT_TRUE(SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_CHECKHEALTH, 0));
    EXPECT_FALSE(SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_DEVICE_SETTINGS, 0));
}

TEST_F(TreeListTest, WithoutWriteAccessTheTreeAndListsStillShowAndDeleteReportsTheRefusal)
{
    const std::wstring device = AddDevice(L"CashDrawer", L"Locked", L"Locked drawer");
    const std::wstring ldn = AddLdn(L"CashDrawer", L"1", device);
    const testkit::ReadOnlyKey classKey(ClassPath(L"CashDrawer"));
    const testkit::ReadOnlyKey deviceKey(ClassPath(L"CashDrawer") + L"\\" + device);
    ASSERT_TRUE(classKey.Restricted() && deviceKey.Restricted());
    CreateFrame();
    ASSERT_NE(Node(L"CashDrawer", device), nullptr);
    Select(Root(L"CashDrawer"));
    const std::vector<Row> rows = Rows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), Row{device, L"Locked drawer", L"", 1}), rows.end());
    Select(Node(L"CashDrawer", device));
    EXPECT_EQ(Rows(), (std::vector<Row>{{ldn, L"CashDrawer\\" + device, L"", 0}}));

    // A command that writes still asks for writing, and says it was refused.
    boxes.reset(); // one answerer at a time
    boxes = std::make_unique<uitest::ScopedBoxAnswer>(IDYES);
    frame->SendMessage(WM_COMMAND, ID_DELETE);
    ASSERT_EQ(boxes->Boxes().size(), 2u);
    EXPECT_EQ(boxes->Boxes()[1].text, L"Fails to delete device! [5]");
    EXPECT_NE(Node(L"CashDrawer", device), nullptr);
}

TEST_F(TreeListTest, ViewCommandsSwitchTheListAndCheckOnlyTheChosenMode)
{
    CreateFrame();
    const struct {
        UINT command;
        DWORD style;
    } modes[] = {{ID_VIEW_LIST, LVS_LIST}, {ID_VIEW_DETAILS, LVS_REPORT}, {ID_VIEW_LARGEICON, LVS_ICON},
                 {ID_VIEW_SMALLICON, LVS_SMALLICON}, {ID_VIEW_SMALLICON, LVS_SMALLICON}};
    for (const auto& mode : modes) {
        frame->SendMessage(WM_COMMAND, mode.command);
        Pump();
        EXPECT_EQ(frame->m_list.GetStyle() & LVS_TYPEMASK, mode.style) << mode.command;
        HWND toolBar = GetDlgItem(frame->m_hWndToolBar, ATL_IDW_TOOLBAR);
        for (UINT id : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
            EXPECT_EQ(frame->UIGetCheck(id), id == mode.command ? 1 : 0) << mode.command << " " << id;
            EXPECT_EQ(SendMessageW(toolBar, TB_ISBUTTONCHECKED, id, 0) != 0, id == mode.command) << id;
        }
    }
    // The other window styles stay.
    EXPECT_TRUE(frame->m_list.GetStyle() & LVS_EDITLABELS);
    EXPECT_TRUE(frame->m_list.GetStyle() & LVS_SINGLESEL);
}

TEST_F(TreeListTest, DoubleClickOnADeviceRowSelectsItsNode)
{
    const std::wstring device = AddDevice(L"CashDrawer", L"Drawer");
    const std::wstring ldn = AddLdn(L"CashDrawer", L"1", device);
    CreateFrame();
    Select(Root(L"CashDrawer"));
    const CListViewCtrl& list = frame->m_list;
    int row = -1;
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (list.GetItemText(i, 0) == device.c_str())
            row = i;
    ASSERT_GE(row, 0);

    NotifyFrom(list, NM_DBLCLK, -1); // empty list space
    EXPECT_EQ(frame->m_tree.GetSelectedItem(), Root(L"CashDrawer"));
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    NotifyFrom(frame->m_tree, NM_DBLCLK); // the tree's own double-click is not the list's
    EXPECT_EQ(frame->m_tree.GetSelectedItem(), Root(L"CashDrawer"));

    NotifyFrom(list, NM_DBLCLK, row);
    Pump();
    EXPECT_EQ(frame->m_tree.GetSelectedItem(), Node(L"CashDrawer", device));
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), ldn.c_str());

    // A logical-name row leads nowhere.
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    NotifyFrom(list, NM_DBLCLK, 0);
    EXPECT_EQ(frame->m_tree.GetSelectedItem(), Node(L"CashDrawer", device));
}

TEST_F(TreeListTest, RightClickOnATreeNodeSelectsItSoItsPopupActsOnIt)
{
    const std::wstring device = AddDevice(L"POSPrinter", L"A");
    CreateFrame();
    Select(Root(L"POSPrinter"));
    {
        // The device popup over a class selection: the device becomes the
        // selection, so its commands are enabled and act on it.
        ScopedMenuAnswer menus(L'o');
        ScopedDialogAnswer dialogs(IDCANCEL);
        RightClickTree(Node(L"POSPrinter", device));
        ASSERT_EQ(menus.Menus().size(), 1u);
        EXPECT_EQ(Texts(menus.Menus()[0]), kDevicePopup);
        for (UINT id : {ID_CHECKHEALTH, ID_COMM_SETTINGS, ID_DELETE})
            EXPECT_FALSE(Entry(menus.Menus()[0], id)->grayed) << id;
        EXPECT_TRUE(Entry(menus.Menus()[0], ID_DEVICE_EXPORT)->grayed);
        EXPECT_EQ(frame->m_tree.GetSelectedItem(), Node(L"POSPrinter", device));
        EXPECT_EQ(dialogs.Captions(), std::vector<std::wstring>{L"Port Details"}) << "the chosen command reaches the frame";
    }
    {
        ScopedMenuAnswer menus;
        RightClickTree(Root(L"CashDrawer"));
        ASSERT_EQ(menus.Menus().size(), 1u);
        EXPECT_EQ(Texts(menus.Menus()[0]), kClassPopup);
        EXPECT_EQ(frame->m_tree.GetSelectedItem(), Root(L"CashDrawer"));
    }
    {
        ScopedMenuAnswer menus;
        RightClickTree(nullptr); // empty tree space
        EXPECT_TRUE(menus.Menus().empty());
        EXPECT_EQ(frame->m_tree.GetSelectedItem(), Root(L"CashDrawer")) << "nothing new is selected";
    }
}

TEST_F(TreeListTest, ListContextMenuFollowsTheSelectedNode)
{
    const std::wstring device = AddDevice(L"POSPrinter", L"A");
    CreateFrame();
    Select(nullptr);
    {
        ScopedMenuAnswer menus;
        RightClickList();
        EXPECT_TRUE(menus.Menus().empty()) << "nothing selected: no menu";
    }
    Select(Root(L"POSPrinter"));
    {
        ScopedMenuAnswer menus;
        RightClickList();
        ASSERT_EQ(menus.Menus().size(), 1u);
        EXPECT_EQ(Texts(menus.Menus()[0]), kDevicePopup);
        EXPECT_TRUE(Entry(menus.Menus()[0], ID_DELETE)->grayed);
    }
    Select(Node(L"POSPrinter", device));
    {
        ScopedMenuAnswer menus;
        RightClickList();
        ASSERT_EQ(menus.Menus().size(), 1u);
        EXPECT_EQ(Texts(menus.Menus()[0]), kNamePopup);
    }
    {
        // A choice arrives as an ordinary menu command.
        ScopedMenuAnswer menus(L'o');
        ScopedDialogAnswer dialogs(IDCANCEL);
        Select(Root(L"POSPrinter"));
        frame->UIEnable(ID_COMM_SETTINGS, TRUE); // the list's device popup over a class node
        RightClickList();
        Pump();
        EXPECT_TRUE(dialogs.Captions().empty()) << "Communication Settings needs a device node";
    }
}

TEST_F(TreeListTest, CommunicationSettingsOpensPortDetailsOfTheSelectedDevice)
{
    const std::wstring other = AddDevice(L"POSPrinter", L"Other");
    const std::wstring device = AddDevice(L"POSPrinter", L"Serial");
    for (const auto& [name, port] : {std::pair{device, L"COM7"}, std::pair{other, L"COM2"}}) {
        CRegKey key;
        ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, (ClassPath(L"POSPrinter") + L"\\" + name).c_str(), KEY_WRITE), ERROR_SUCCESS);
        key.SetStringValue(L"GroupID", L"RS");
        key.SetStringValue(L"Port", port);
    }
    CreateFrame();
    std::wstring port;
    int ports = 0;
    ScopedDialogAnswer dialogs([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_PORTCFG_PORT);
        port = CWindow(list).GetWindowText().GetString();
        ports = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        return IDCANCEL;
    });
    Select(Root(L"POSPrinter"));
    frame->SendMessage(WM_COMMAND, ID_COMM_SETTINGS); // a class node: no dialog
    EXPECT_TRUE(dialogs.Captions().empty());

    Select(Node(L"POSPrinter", device));
    frame->SendMessage(WM_COMMAND, ID_COMM_SETTINGS);
    ASSERT_EQ(dialogs.Captions(), std::vector<std::wstring>{L"Port Details"});
    EXPECT_EQ(port, L"COM7");
    EXPECT_EQ(ports, 1 + 10) << "None and COM1..COM10";

    frame->m_maxCom = 12;
    frame->SendMessage(WM_COMMAND, ID_COMM_SETTINGS);
    EXPECT_EQ(ports, 1 + 12);
    EXPECT_TRUE(frame->IsWindow());
}

TEST_F(TreeListTest, PortRangeKeepsTheNumbersOnlyWhenAccepted)
{
    const std::wstring device = AddDevice(L"POSPrinter", L"Serial");
    {
        CRegKey key;
        ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, (ClassPath(L"POSPrinter") + L"\\" + device).c_str(), KEY_WRITE), ERROR_SUCCESS);
        key.SetStringValue(L"GroupID", L"RS");
    }
    CreateFrame();
    auto answer = [](const wchar_t* com, const wchar_t* lpt, int button) {
        return [=](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_PORTRANGE_COM, com);
            SetDlgItemTextW(dialog, IDC_PORTRANGE_LPT, lpt);
            return button;
        };
    };
    {
        ScopedDialogAnswer dialogs(answer(L"20", L"7", IDCANCEL));
        frame->SendMessage(WM_COMMAND, ID_PORT_RANGE);
        Pump();
        ASSERT_EQ(dialogs.Captions().size(), 1u);
    }
    EXPECT_EQ(frame->m_maxCom, 10);
    EXPECT_EQ(frame->m_maxLpt, 3);
    {
        ScopedDialogAnswer dialogs(answer(L"12", L"5", IDOK));
        frame->SendMessage(WM_COMMAND, ID_PORT_RANGE);
        Pump();
    }
    EXPECT_EQ(frame->m_maxCom, 12);
    EXPECT_EQ(frame->m_maxLpt, 5);
    {
        ScopedDialogAnswer dialogs(answer(L"30", L"1", IDCANCEL));
        frame->SendMessage(WM_COMMAND, ID_PORT_RANGE);
        Pump();
    }
    EXPECT_EQ(frame->m_maxCom, 12) << "a cancel keeps the last accepted numbers";

    // Communication Settings offers the new range.
    int ports = 0;
    ScopedDialogAnswer dialogs([&](HWND dialog) {
        ports = static_cast<int>(SendDlgItemMessageW(dialog, IDC_PORTCFG_PORT, CB_GETCOUNT, 0, 0));
        return IDCANCEL;
    });
    Select(Node(L"POSPrinter", device));
    frame->SendMessage(WM_COMMAND, ID_COMM_SETTINGS);
    EXPECT_EQ(ports, 1 + 12);
}

TEST_F(TreeListTest, PropertyShowsTheSelectedDevicesDetailsWithoutApply)
{
    const std::wstring first = AddDevice(L"POSPrinter", L"First", L"First receipt printer");
    const std::wstring second = AddDevice(L"POSPrinter", L"Second", L"Second receipt printer");
    CreateFrame();
    std::wstring texts;
    bool apply = true;
    ScopedDialogAnswer dialogs([&](HWND sheet) {
        texts = uitest::ChildTexts(sheet);
        HWND button = GetDlgItem(sheet, 0x3021); // the sheet's Apply button
        apply = button && IsWindowVisible(button);
        return IDCANCEL;
    });
    Select(Root(L"POSPrinter"));
    frame->SendMessage(WM_COMMAND, ID_PROPERTY);
    EXPECT_TRUE(dialogs.Captions().empty()) << "a class has no property sheet";

    Select(Node(L"POSPrinter", second));
    frame->SendMessage(WM_COMMAND, ID_PROPERTY);
    ASSERT_EQ(dialogs.Captions(), std::vector<std::wstring>{L"Property"});
    EXPECT_NE(texts.find(L"|Second receipt printer|"), std::wstring::npos) << std::string(texts.begin(), texts.end());
    EXPECT_EQ(texts.find(L"First receipt printer"), std::wstring::npos);
    EXPECT_FALSE(apply);

    // Only command 32783 shows it.
    frame->ShowProperty(ID_COMM_SETTINGS, Node(L"POSPrinter", second));
    EXPECT_EQ(dialogs.Captions().size(), 1u);

    // The device popup's Property acts on the right-clicked device.
    {
        ScopedMenuAnswer menus(L'r');
        RightClickTree(Node(L"POSPrinter", first));
        ASSERT_EQ(menus.Menus().size(), 1u);
        EXPECT_EQ(Texts(menus.Menus()[0]), kDevicePopup);
    }
    ASSERT_EQ(dialogs.Captions().size(), 2u);
    EXPECT_NE(texts.find(L"|First receipt printer|"), std::wstring::npos);
}
