// The frame's device and logical-name commands against device keys and
// logical names of each test's own under the POSPrinter and CashDrawer keys.
#include "DeviceMaps.h"
#include "FrameFixture.h"
#include "OposRegistry.h"
#include "testing/DialogAnswer.h"
#include "testing/WindowTexts.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {
const wchar_t kPrinterKey[] = L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter";

constexpr UINT kErrorBox = MB_OK | MB_ICONSTOP;
constexpr UINT kQuestionBox = MB_YESNO | MB_ICONQUESTION;
constexpr UINT kWarningBox = MB_OK | MB_ICONEXCLAMATION;

std::wstring ClassKey(const wchar_t* deviceClass)
{
    return std::wstring(opos_test::kServiceOpos) + L"\\" + deviceClass;
}

void SetValue(const std::wstring& keyPath, const std::wstring& name, const std::wstring& data, DWORD type = REG_SZ)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// The names of a key's values, as the registry spells them.
std::vector<std::wstring> ValueNames(const std::wstring& keyPath)
{
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[300];
        DWORD chars = 300;
        if (RegEnumValueW(key, i, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name);
    }
    RegCloseKey(key);
    return names;
}

class CommandsTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const std::wstring prefix = L"FwCmd " + std::wstring(test.begin(), test.end());
        deviceA = prefix + L" A";
        deviceB = prefix + L" B";
        RemoveNames();
        opos_test::AddDevices(L"POSPrinter", {deviceA, deviceB});
        opos_test::RegisterControl(L"OPOS POSPrinter Control (Velquist)");
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        for (const wchar_t* deviceClass : {L"POSPrinter", L"CashDrawer"})
            opos_test::RemoveDevices(deviceClass, {deviceA, deviceB});
        RemoveNames();
        opos_test::UnregisterControl();
    }

    // Logical names of these tests, short enough to be renamed to (the tests
    // of this program run one at a time).
    std::wstring Ldn(const wchar_t* suffix) const { return kLdnPrefix + std::wstring(suffix); }
    void SetLdn(const std::wstring& name, const std::wstring& device, DWORD type = REG_SZ)
    {
        SetValue(kPrinterKey, name, device, type);
    }
    // The data of a POSPrinter logical name, when it is there.
    std::optional<std::wstring> LdnData(const std::wstring& name) const
    {
        wchar_t data[512] = {};
        DWORD size = sizeof(data) - sizeof(wchar_t);
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kPrinterKey, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(data);
    }
    bool HasValue(const std::wstring& name) const
    {
        return RegGetValueW(HKEY_LOCAL_MACHINE, kPrinterKey, name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }
    bool HasValueSpelled(const std::wstring& name) const
    {
        const std::vector<std::wstring> names = ValueNames(kPrinterKey);
        return std::find(names.begin(), names.end(), name) != names.end();
    }
    bool DeviceExists(const wchar_t* deviceClass, const std::wstring& device) const
    {
        const std::vector<std::wstring> devices = opos_test::EnumDevices(deviceClass);
        return std::find(devices.begin(), devices.end(), device) != devices.end();
    }

    HTREEITEM DeviceNode(const std::wstring& relativePath) const
    {
        for (int i = 0; i < g_deviceMap.GetSize(); ++i)
            if (g_deviceMap.GetValueAt(i) == CString(relativePath.c_str()))
                return g_deviceMap.GetKeyAt(i);
        return nullptr;
    }
    void SelectDevice(const std::wstring& device, const wchar_t* deviceClass = L"POSPrinter")
    {
        HTREEITEM node = DeviceNode(std::wstring(deviceClass) + L"\\" + device);
        ASSERT_NE(node, nullptr);
        ASSERT_TRUE(frame->m_tree.SelectItem(node));
    }
    void SelectClass(int index) { ASSERT_TRUE(frame->m_tree.SelectItem(g_classMap.GetKeyAt(index))); }
    // Selects the list row of `text`, adding it when the list lacks it.
    int SelectRow(const std::wstring& text)
    {
        CListViewCtrl& list = frame->m_list;
        int row = -1;
        for (int i = 0; i < list.GetItemCount() && row < 0; ++i)
            if (list.GetItemText(i, 0) == CString(text.c_str()))
                row = i;
        if (row < 0)
            row = list.InsertItem(list.GetItemCount(), text.c_str(), 0);
        list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        return row;
    }
    void Command(WORD id) { frame->SendMessage(WM_COMMAND, id); }
    void Answer(int answer)
    {
        boxes.reset();
        boxes = std::make_unique<uitest::ScopedBoxAnswer>(answer);
    }

    // Starts the in-place edit of the selected row with F2's command, types
    // `text` and ends the edit with Enter (or Esc).
    void RenameInPlace(const std::wstring& text, WPARAM endKey = VK_RETURN)
    {
        TypeInPlace(text, endKey);
        Pump();
        EXPECT_EQ(frame->m_list.GetEditControl(), nullptr) << "the edit has ended";
    }
    // The same up to the end of the edit's notifications, nothing pumped.
    void TypeInPlace(const std::wstring& text, WPARAM endKey = VK_RETURN)
    {
        Command(ID_RENAME_LDN);
        HWND edit = frame->m_list.GetEditControl();
        ASSERT_NE(edit, nullptr) << "no edit began";
        SetWindowTextW(edit, text.c_str());
        SendMessageW(edit, WM_KEYDOWN, endKey, 0);
    }

    // The tree was rebuilt: nothing selected, the maps as the registry is.
    void ExpectRebuilt()
    {
        EXPECT_EQ(frame->m_tree.GetSelectedItem(), nullptr);
        EXPECT_EQ(DeviceNode(L"POSPrinter\\" + deviceA) != nullptr, DeviceExists(L"POSPrinter", deviceA));
        EXPECT_EQ(DeviceNode(L"POSPrinter\\" + deviceB) != nullptr, DeviceExists(L"POSPrinter", deviceB));
    }
    void ExpectBox(size_t index, const std::wstring& text, const std::wstring& caption, UINT type)
    {
        ASSERT_GT(boxes->Boxes().size(), index);
        EXPECT_EQ(boxes->Boxes()[index].text, text);
        EXPECT_EQ(boxes->Boxes()[index].caption, caption);
        EXPECT_EQ(boxes->Boxes()[index].type, type);
    }

    std::wstring deviceA;
    std::wstring deviceB;

private:
    static constexpr const wchar_t* kLdnPrefix = L"FwCmd ";
    static void RemoveNames()
    {
        for (const wchar_t* deviceClass : {L"POSPrinter", L"CashDrawer"}) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ClassKey(deviceClass).c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
                continue;
            for (const std::wstring& name : ValueNames(ClassKey(deviceClass)))
                if (_wcsnicmp(name.c_str(), kLdnPrefix, wcslen(kLdnPrefix)) == 0)
                    RegDeleteValueW(key, name.c_str());
            RegCloseKey(key);
        }
    }
};
} // namespace

TEST_F(CommandsTest, DeleteDeviceAsksThenRemovesItsKeyAndTheNamesItsListShowed)
{
    SetLdn(Ldn(L"pos1"), deviceA);
    SetLdn(Ldn(L"binary"), deviceA, REG_BINARY); // listed whatever its type
    std::wstring upper = deviceA;
    CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    SetLdn(Ldn(L"pos2"), upper); // not listed: the list compares exactly
    SetLdn(Ldn(L"other"), deviceB);
    SetLdn(Ldn(L"prefix"), deviceA + L"X");
    CreateFrame();
    SelectDevice(deviceA);
    std::vector<std::wstring> listed;
    for (int row = 0; row < frame->m_list.GetItemCount(); ++row)
        listed.emplace_back(frame->m_list.GetItemText(row, 0).GetString());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::wstring>{Ldn(L"binary"), Ldn(L"pos1")}));

    Answer(IDNO);
    Command(ID_DELETE);
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    ExpectBox(0, L"Are you sure you want to delete this?", L"POSPrinter\\" + deviceA, kQuestionBox);
    EXPECT_TRUE(DeviceExists(L"POSPrinter", deviceA));
    EXPECT_TRUE(LdnData(Ldn(L"pos1")));
    EXPECT_NE(frame->m_tree.GetSelectedItem(), nullptr) << "No rebuilds nothing";

    Answer(IDYES);
    Command(ID_DELETE);
    EXPECT_EQ(boxes->Boxes().size(), 1u) << "only the question";
    EXPECT_FALSE(DeviceExists(L"POSPrinter", deviceA));
    EXPECT_TRUE(DeviceExists(L"POSPrinter", deviceB));
    EXPECT_FALSE(HasValue(Ldn(L"pos1")));
    EXPECT_FALSE(HasValue(Ldn(L"binary")));
    EXPECT_EQ(LdnData(Ldn(L"pos2")), upper);
    EXPECT_EQ(LdnData(Ldn(L"other")), deviceB);
    EXPECT_EQ(LdnData(Ldn(L"prefix")), deviceA + L"X");
    ExpectRebuilt();
}

TEST_F(CommandsTest, DeleteWithoutADeviceNodeWarnsAndDeletesNothing)
{
    CreateFrame();
    Answer(IDYES);
    Command(ID_DELETE); // nothing selected
    SelectClass(0);
    Command(ID_DELETE);
    // The Delete key sends the command too.
    MSG key = {frame->m_tree, WM_KEYDOWN, VK_DELETE, 0, 0, {0, 0}};
    EXPECT_TRUE(frame->PreTranslateMessage(&key));
    ASSERT_EQ(boxes->Boxes().size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        ExpectBox(i, L"Please select a device!", L"Warning", kWarningBox);
    EXPECT_TRUE(DeviceExists(L"POSPrinter", deviceA));
    EXPECT_TRUE(DeviceExists(L"POSPrinter", deviceB));
}

TEST_F(CommandsTest, DeviceKeyWithASubkeyIsNotDeleted)
{
    opos_test::AddDevices(L"POSPrinter", {deviceA + L"\\Sub"});
    CreateFrame();
    SelectDevice(deviceA);
    Answer(IDYES);
    Command(ID_DELETE);
    ASSERT_EQ(boxes->Boxes().size(), 2u);
    ExpectBox(1, L"Fails to delete device! [5]", L"Error", kErrorBox);
    EXPECT_TRUE(DeviceExists(L"POSPrinter", deviceA));
    EXPECT_EQ(frame->m_tree.GetSelectedItem(), DeviceNode(L"POSPrinter\\" + deviceA)) << "no rebuild";
}

TEST_F(CommandsTest, DeleteLdnRemovesTheSelectedNameOnly)
{
    SetLdn(Ldn(L"one"), deviceA);
    SetLdn(Ldn(L"two"), deviceA);
    CreateFrame();

    SelectDevice(deviceA);
    Command(ID_DELETE_LDN); // no row selected
    EXPECT_TRUE(LdnData(Ldn(L"one")));
    EXPECT_NE(frame->m_tree.GetSelectedItem(), nullptr);

    SelectClass(0);
    SelectRow(Ldn(L"one"));
    Command(ID_DELETE_LDN); // a class node: its rows are devices
    EXPECT_TRUE(LdnData(Ldn(L"one")));

    SelectDevice(deviceA);
    SelectRow(Ldn(L"one"));
    Command(ID_DELETE_LDN);
    EXPECT_FALSE(LdnData(Ldn(L"one")));
    EXPECT_EQ(LdnData(Ldn(L"two")), deviceA);
    EXPECT_TRUE(DeviceExists(L"POSPrinter", deviceA));
    ExpectRebuilt();
    EXPECT_TRUE(boxes->Boxes().empty()) << "no confirmation";

    // A name the registry does not hold cannot be deleted: 139.
    SelectDevice(deviceA);
    SelectRow(Ldn(L"gone"));
    Command(ID_DELETE_LDN);
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    ExpectBox(0, L"Setting registry fails!", L"Error", kErrorBox);
    EXPECT_NE(frame->m_tree.GetSelectedItem(), nullptr) << "a failure rebuilds nothing";
}

TEST_F(CommandsTest, RenameInPlaceMovesTheNameAndKeepsItsDevice)
{
    SetLdn(Ldn(L"old"), deviceA);
    CreateFrame();
    SelectDevice(deviceA);
    SelectRow(Ldn(L"old"));
    TypeInPlace(Ldn(L"new"));
    // The list is not emptied inside its own notification: the rebuild waits.
    EXPECT_EQ(frame->m_list.GetItemCount(), 1);
    EXPECT_NE(frame->m_tree.GetSelectedItem(), nullptr);
    Pump();
    EXPECT_EQ(frame->m_oldLdn, CString(Ldn(L"old").c_str()));
    EXPECT_FALSE(LdnData(Ldn(L"old")));
    EXPECT_EQ(LdnData(Ldn(L"new")), deviceA);
    EXPECT_TRUE(boxes->Boxes().empty());
    ExpectRebuilt();
}

TEST_F(CommandsTest, RenameCancelledEmptiedUnchangedOrTooLongKeepsTheName)
{
    SetLdn(Ldn(L"keep"), deviceA);
    CreateFrame();
    const std::wstring seventeen = Ldn(L"17 chars!!!");
    for (const std::wstring& text : {Ldn(L"other"), std::wstring(), Ldn(L"keep"), seventeen}) {
        SelectDevice(deviceA);
        SelectRow(Ldn(L"keep"));
        RenameInPlace(text, text == Ldn(L"other") ? VK_ESCAPE : VK_RETURN);
        EXPECT_EQ(LdnData(Ldn(L"keep")), deviceA);
        EXPECT_TRUE(HasValueSpelled(Ldn(L"keep")));
        EXPECT_FALSE(LdnData(Ldn(L"other")));
    }
    EXPECT_FALSE(LdnData(seventeen));
    // Only the name of more than 16 characters brings a message.
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    ExpectBox(0, L"Logical device name is invalid!", L"Error", kErrorBox);
}

TEST_F(CommandsTest, RenameChangingOnlyTheCaseRespellsTheName)
{
    SetLdn(Ldn(L"case"), deviceA);
    CreateFrame();
    SelectDevice(deviceA);
    SelectRow(Ldn(L"case"));
    RenameInPlace(Ldn(L"CASE"));
    EXPECT_TRUE(boxes->Boxes().empty()) << "the name found is the old one itself";
    EXPECT_TRUE(HasValueSpelled(Ldn(L"CASE")));
    EXPECT_FALSE(HasValueSpelled(Ldn(L"case")));
    EXPECT_EQ(LdnData(Ldn(L"CASE")), deviceA);
    ExpectRebuilt();
}

TEST_F(CommandsTest, RenameToANameInUseAsksAndReplacesOnlyOnYes)
{
    SetLdn(Ldn(L"mine"), deviceA);
    SetLdn(Ldn(L"Taken"), deviceB);
    CreateFrame();
    const std::wstring question = L"Logical Device Name \"" + Ldn(L"TAKEN") + L"\" has been defined to refer to \"" + deviceB +
                                  L"\".\nDo you want to replace it?";

    Answer(IDNO);
    SelectDevice(deviceA);
    SelectRow(Ldn(L"mine"));
    RenameInPlace(Ldn(L"TAKEN"));
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    ExpectBox(0, question, Ldn(L"mine"), kQuestionBox);
    EXPECT_EQ(LdnData(Ldn(L"mine")), deviceA);
    EXPECT_EQ(LdnData(Ldn(L"Taken")), deviceB);

    Answer(IDYES);
    SelectDevice(deviceA);
    SelectRow(Ldn(L"mine"));
    RenameInPlace(Ldn(L"TAKEN"));
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    ExpectBox(0, question, Ldn(L"mine"), kQuestionBox);
    EXPECT_FALSE(LdnData(Ldn(L"mine")));
    EXPECT_EQ(LdnData(Ldn(L"taken")), deviceA) << "the name now refers to this device";
    ExpectRebuilt();
}

TEST_F(CommandsTest, RenameOfANameWhoseDataIsTooLongFails)
{
    const std::wstring fits(99, L'f');
    const std::wstring tooLong(100, L'x');
    SetLdn(Ldn(L"fits"), fits);
    SetLdn(Ldn(L"long"), tooLong);
    CreateFrame();

    SelectDevice(deviceA);
    SelectRow(Ldn(L"long"));
    RenameInPlace(Ldn(L"long2"));
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    ExpectBox(0, L"Setting registry fails!", L"Error", kErrorBox);
    EXPECT_EQ(LdnData(Ldn(L"long")), tooLong);
    EXPECT_FALSE(LdnData(Ldn(L"long2")));

    boxes->Clear();
    SelectDevice(deviceA);
    SelectRow(Ldn(L"fits"));
    RenameInPlace(Ldn(L"fits2"));
    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_EQ(LdnData(Ldn(L"fits2")), fits);
}

TEST_F(CommandsTest, RowsOfAClassNodeAreNeverEdited)
{
    CreateFrame();
    SelectClass(0);
    const int row = SelectRow(deviceA);
    Command(ID_RENAME_LDN);
    EXPECT_EQ(frame->m_list.GetEditControl(), nullptr);
    frame->m_list.SetFocus();
    frame->m_list.EditLabel(row); // as a slow second click does
    EXPECT_EQ(frame->m_list.GetEditControl(), nullptr);
    Pump();
    EXPECT_TRUE(DeviceExists(L"POSPrinter", deviceA));

    // No row selected: F2 begins nothing.
    SelectDevice(deviceA);
    frame->m_list.SetItemState(-1, 0, LVIS_SELECTED);
    Command(ID_RENAME_LDN);
    EXPECT_EQ(frame->m_list.GetEditControl(), nullptr);
}

TEST_F(CommandsTest, CommandsOnAClassKeyThatIsGoneReportIt)
{
    // The CashDrawer key is removed behind the frame's back; only when it
    // holds nothing but this test's device.
    opos_test::AddDevices(L"CashDrawer", {deviceA});
    if (opos_test::EnumDevices(L"CashDrawer") != std::vector<std::wstring>{deviceA} || !ValueNames(ClassKey(L"CashDrawer")).empty())
        GTEST_SKIP() << "CashDrawer holds more than this test's device";
    CreateFrame();
    opos_test::RemoveClass(L"CashDrawer");

    Answer(IDYES);
    SelectDevice(deviceA, L"CashDrawer");
    Command(ID_DELETE);
    ASSERT_EQ(boxes->Boxes().size(), 2u);
    ExpectBox(1, L"Fails to delete device! [2]", L"Error", kErrorBox);

    boxes->Clear();
    SelectRow(L"POS9");
    Command(ID_DELETE_LDN);
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    ExpectBox(0, L"Setting registry fails!", L"Error", kErrorBox);

    boxes->Clear();
    SelectRow(L"POS9");
    RenameInPlace(L"POS10");
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    ExpectBox(0, L"Can't open registry!", L"Error", kErrorBox);
    EXPECT_TRUE(ValueNames(ClassKey(L"CashDrawer")).empty());
    EXPECT_NE(frame->m_tree.GetSelectedItem(), nullptr) << "failures rebuild nothing";
}

TEST_F(CommandsTest, RefreshShowsWhatChangedBehindTheFramesBack)
{
    opos_test::RemoveDevices(L"POSPrinter", {deviceB});
    CreateFrame();
    EXPECT_EQ(DeviceNode(L"POSPrinter\\" + deviceB), nullptr);
    opos_test::AddDevices(L"POSPrinter", {deviceB});
    SelectDevice(deviceA);
    Command(ID_REFRESH);
    ExpectRebuilt();
    EXPECT_NE(DeviceNode(L"POSPrinter\\" + deviceB), nullptr);
}

TEST_F(CommandsTest, AddDeviceOpensTheDialogOnlyOnAClassNode)
{
    CreateFrame();
    uitest::ScopedDialogAnswer dialogs(IDCANCEL);
    SelectDevice(deviceA);
    Command(ID_ADD_DEVICE);
    EXPECT_TRUE(dialogs.Captions().empty());

    SelectClass(1);
    Command(ID_ADD_DEVICE);
    ASSERT_EQ(dialogs.Captions().size(), 1u);
    EXPECT_EQ(dialogs.Captions()[0], L"Add New Device");
    EXPECT_EQ(frame->m_tree.GetSelectedItem(), g_classMap.GetKeyAt(1)) << "Cancel rebuilds nothing";
}

TEST_F(CommandsTest, AddLdnOpensTheDialogOnTheSelectedDeviceAndRebuildsOnOk)
{
    const std::wstring name = L"FwCmdAddLdn"; // within the dialog's 16 characters
    CreateFrame();
    std::vector<std::wstring> devices;
    int answer = IDCANCEL;
    uitest::ScopedDialogAnswer script([&](HWND dialog) {
        devices.push_back(uitest::ItemText(dialog, IDC_ADDLDN_DEVICE));
        SetDlgItemTextW(dialog, IDC_ADDLDN_NAME, name.c_str());
        return answer;
    });

    SelectClass(0);
    Command(ID_ADD_LDN);
    EXPECT_TRUE(devices.empty()) << "a class node opens nothing";

    SelectDevice(deviceB);
    Command(ID_ADD_LDN);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0], deviceB);
    EXPECT_FALSE(LdnData(name));
    EXPECT_NE(frame->m_tree.GetSelectedItem(), nullptr) << "Cancel rebuilds nothing";

    answer = IDOK;
    Command(ID_ADD_LDN);
    ASSERT_EQ(devices.size(), 2u);
    const std::optional<std::wstring> written = LdnData(name);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPrinterKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, name.c_str());
        RegCloseKey(key);
    }
    EXPECT_EQ(written, deviceB);
    ExpectRebuilt();
    EXPECT_TRUE(boxes->Boxes().empty());
}
