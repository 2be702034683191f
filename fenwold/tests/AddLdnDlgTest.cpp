// The Add New LDN dialog driven by messages over a device tree and its maps:
// what it lists and preselects, which names it writes and how, and the
// refusals with their messages.
#include "AddLdnDlg.h"
#include "DeviceMaps.h"
#include "FrameFixture.h"
#include "OposRegistry.h"
#include "testing/ComboChoice.h"
#include "testing/DialogAnswer.h"
#include "testing/DialogLoop.h"
#include "testing/WindowTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using uitest::ItemText;

namespace {

const wchar_t kPrinterKey[] = L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter";
const wchar_t kDrawerKey[] = L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\CashDrawer";
const wchar_t kInvalid[] = L"Logical device name is invalid!";
const wchar_t kExists[] = L"The new name exists!";

// The registry value `name` of `classKey`: its type and text; type 0 when absent.
std::pair<DWORD, std::wstring> Ldn(const wchar_t* classKey, const std::wstring& name)
{
    wchar_t data[300] = {};
    DWORD type = 0, bytes = sizeof(data) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, classKey, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data, &bytes) != ERROR_SUCCESS)
        return {0, L""};
    return {type, data};
}

std::vector<std::wstring> ListTexts(HWND combo)
{
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        texts.push_back(CComboBox(combo).GetLBText(i).GetString());
    return texts;
}

// A device tree as the main frame builds it, made by hand so the order of
// its devices is the test's to choose.
class AddLdnDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        uitest::InitControls();
        boxes = std::make_unique<uitest::ScopedBoxAnswer>(IDOK);
        tree = CreateWindowExW(0, WC_TREEVIEWW, nullptr, WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(tree.m_hWnd, nullptr);
        for (const wchar_t* key : {kPrinterKey, kDrawerKey}) {
            HKEY created = nullptr;
            ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr), ERROR_SUCCESS);
            RegCloseKey(created);
        }
    }
    void TearDown() override
    {
        dlg.reset();
        boxes.reset();
        g_classMap.RemoveAll();
        g_deviceMap.RemoveAll();
        if (tree.IsWindow())
            tree.DestroyWindow();
        for (const auto& [key, name] : written)
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, name.c_str());
    }

    void Tree(const std::vector<std::wstring>& printers, const std::vector<std::wstring>& drawers)
    {
        const std::pair<const wchar_t*, const std::vector<std::wstring>*> classes[] = {{L"POSPrinter", &printers}, {L"CashDrawer", &drawers}};
        for (const auto& [name, devices] : classes) {
            HTREEITEM root = tree.InsertItem(name, 1, 1, TVI_ROOT, TVI_LAST);
            g_classMap.Add(root, name);
            for (const std::wstring& device : *devices)
                g_deviceMap.Add(tree.InsertItem(device.c_str(), 1, 1, root, TVI_LAST), CString(name) + L"\\" + device.c_str());
        }
    }

    void Open(const wchar_t* deviceClass, const wchar_t* device)
    {
        dlg = std::make_unique<CAddLdnDlg>(deviceClass, device, tree);
        ASSERT_NE(dlg->Create(nullptr), nullptr);
        uitest::Pump(*dlg);
    }

    // Names the test may write, removed again after it.
    void Remember(const wchar_t* classKey, const std::wstring& name) { written.emplace_back(classKey, name); }

    void ChooseClass(const wchar_t* name)
    {
        ASSERT_TRUE(uitest::ChooseByText(dlg->GetDlgItem(IDC_ADDLDN_CLASS), name)) << name;
    }

    void Ok(const std::wstring& name)
    {
        dlg->SetDlgItemText(IDC_ADDLDN_NAME, name.c_str());
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(dlg->GetDlgItem(IDOK)));
    }

    int Selected(int id) { return static_cast<int>(SendMessageW(dlg->GetDlgItem(id), CB_GETCURSEL, 0, 0)); }
    std::vector<std::wstring> Listed(int id) { return ListTexts(dlg->GetDlgItem(id)); }
    bool Open() const { return dlg->m_hWnd && IsWindow(dlg->m_hWnd); }

    CTreeViewCtrl tree;
    std::unique_ptr<uitest::ScopedBoxAnswer> boxes;
    std::unique_ptr<CAddLdnDlg> dlg;
    std::vector<std::pair<const wchar_t*, std::wstring>> written;
};

} // namespace

TEST_F(AddLdnDlgTest, OpensOnTheGivenDeviceAndListsTheOtherClassOnSwitching)
{
    Tree({L"FwLdn One", L"FwLdn Two"}, {L"FwLdn Drawer", L"fwldn two b", L"fwldn two"});
    Open(L"POSPrinter", L"FwLdn Two");
    EXPECT_EQ(Listed(IDC_ADDLDN_CLASS), (std::vector<std::wstring>{L"POSPrinter", L"CashDrawer"}));
    EXPECT_EQ(Selected(IDC_ADDLDN_CLASS), 0);
    EXPECT_EQ(Listed(IDC_ADDLDN_DEVICE), (std::vector<std::wstring>{L"FwLdn One", L"FwLdn Two"}));
    EXPECT_EQ(Selected(IDC_ADDLDN_DEVICE), 1);
    EXPECT_EQ(ItemText(*dlg, IDC_ADDLDN_NAME), L"");
    EXPECT_FALSE(IsWindowEnabled(dlg->GetDlgItem(IDC_ADDLDN_CONTINUE)));
    EXPECT_FALSE(IsWindowEnabled(dlg->GetDlgItem(ID_HELP)));

    // The device of the whole name, without regard to case; one that only
    // begins with it is another device.
    ChooseClass(L"CashDrawer");
    EXPECT_EQ(Listed(IDC_ADDLDN_DEVICE), (std::vector<std::wstring>{L"FwLdn Drawer", L"fwldn two b", L"fwldn two"}));
    EXPECT_EQ(Selected(IDC_ADDLDN_DEVICE), 2);
    ChooseClass(L"POSPrinter");
    EXPECT_EQ(Selected(IDC_ADDLDN_DEVICE), 1);
}

TEST_F(AddLdnDlgTest, OtherClassWithoutAMatchPreselectsItsFirstDevice)
{
    Tree({L"FwLdn One"}, {L"FwLdn Drawer B", L"FwLdn Drawer A"});
    Open(L"POSPrinter", L"FwLdn One");
    ChooseClass(L"CashDrawer");
    EXPECT_EQ(Selected(IDC_ADDLDN_DEVICE), 0);
}

TEST_F(AddLdnDlgTest, AnEarlierDeviceThatOnlyBeginsWithTheNameIsNotPreselected)
{
    Tree({L"Model-80 Plus", L"Model-80"}, {});
    Open(L"POSPrinter", L"Model-80");
    EXPECT_EQ(Selected(IDC_ADDLDN_DEVICE), 1);
}

TEST_F(AddLdnDlgTest, NamesOfOneToSixteenCharactersAreWrittenAsTyped)
{
    Tree({L"FwLdn One", L"FwLdn Two"}, {});
    const std::wstring names[] = {L"FwLdn16xxxxxxxxx", L"  ", L"Fw\\Ldn"};
    for (const std::wstring& name : names) {
        Remember(kPrinterKey, name);
        Open(L"POSPrinter", L"FwLdn Two");
        Ok(name);
        EXPECT_FALSE(Open()) << name.size();
        EXPECT_EQ(dlg->ModelessResult(), IDOK);
        EXPECT_EQ(Ldn(kPrinterKey, name), std::make_pair(static_cast<DWORD>(REG_SZ), std::wstring(L"FwLdn Two")));
    }
    EXPECT_EQ(Ldn(kDrawerKey, names[0]).first, 0u);
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(AddLdnDlgTest, EmptyOrLongerNamesBringMessage142AndKeepTheDialog)
{
    Tree({L"FwLdn One"}, {});
    Open(L"POSPrinter", L"FwLdn One");
    const std::wstring seventeen = L"FwLdn17xxxxxxxxxx";
    Remember(kPrinterKey, seventeen);
    for (const std::wstring& name : {std::wstring(), seventeen}) {
        boxes->Clear();
        Ok(name);
        ASSERT_TRUE(Open());
        ASSERT_EQ(boxes->Boxes().size(), 1u);
        EXPECT_EQ(boxes->Boxes()[0].text, kInvalid);
        EXPECT_EQ(boxes->Boxes()[0].caption, L"Error");
        EXPECT_EQ(boxes->Boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(ItemText(*dlg, IDC_ADDLDN_NAME), name);
    }
    EXPECT_EQ(Ldn(kPrinterKey, seventeen).first, 0u);
    EXPECT_EQ(dlg->ModelessResult(), -1);
}

TEST_F(AddLdnDlgTest, ANameTheClassHasInAnyCaseBrings143OnlyInThatClass)
{
    Tree({L"FwLdn One"}, {L"FwLdn Drawer"});
    Remember(kPrinterKey, L"FwPos1");
    Remember(kPrinterKey, L"FwPos2");
    Remember(kDrawerKey, L"fwpos1");
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kPrinterKey, L"FwPos1", REG_SZ, L"Other", 12), ERROR_SUCCESS);
    Open(L"POSPrinter", L"FwLdn One");
    Ok(L"fwpos1");
    ASSERT_TRUE(Open());
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(boxes->Boxes()[0].text, kExists);
    EXPECT_EQ(boxes->Boxes()[0].caption, L"Error");
    EXPECT_EQ(Ldn(kPrinterKey, L"FwPos1").second, L"Other");
    EXPECT_EQ(ItemText(*dlg, IDC_ADDLDN_NAME), L"fwpos1");

    // The same name is free in the other class.
    ChooseClass(L"CashDrawer");
    Ok(L"fwpos1");
    EXPECT_FALSE(Open());
    EXPECT_EQ(Ldn(kDrawerKey, L"fwpos1"), std::make_pair(static_cast<DWORD>(REG_SZ), std::wstring(L"FwLdn Drawer")));
    EXPECT_EQ(Ldn(kPrinterKey, L"FwPos1").second, L"Other");

    // Corrected after the refusal, the name is written.
    boxes->Clear();
    Open(L"POSPrinter", L"FwLdn One");
    Ok(L"FWPOS1");
    ASSERT_TRUE(Open());
    Ok(L"FwPos2");
    EXPECT_FALSE(Open());
    EXPECT_EQ(dlg->ModelessResult(), IDOK);
    EXPECT_EQ(Ldn(kPrinterKey, L"FwPos2").second, L"FwLdn One");
    EXPECT_EQ(boxes->Boxes().size(), 1u);
}

TEST_F(AddLdnDlgTest, AClassWithoutDevicesWarnsAndWritesNothing)
{
    Tree({L"FwLdn One"}, {});
    Remember(kDrawerKey, L"FwEmpty");
    Open(L"POSPrinter", L"FwLdn One");
    ChooseClass(L"CashDrawer");
    EXPECT_TRUE(Listed(IDC_ADDLDN_DEVICE).empty());
    Ok(L"FwEmpty");
    ASSERT_TRUE(Open());
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(boxes->Boxes()[0].text, L"Please select a device!");
    EXPECT_EQ(boxes->Boxes()[0].caption, L"Warning");
    EXPECT_EQ(boxes->Boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(Ldn(kDrawerKey, L"FwEmpty").first, 0u);
}

TEST_F(AddLdnDlgTest, AnUnknownClassSelectsNothingAndOkWritesNothing)
{
    Tree({L"FwLdn One"}, {L"FwLdn Drawer"});
    Remember(kPrinterKey, L"FwNoClass");
    Remember(kDrawerKey, L"FwNoClass");
    Remember(L"SOFTWARE\\OLEforRetail\\ServiceOPOS", L"FwNoClass");
    Open(L"Scanner", L"FwLdn One");
    EXPECT_EQ(Selected(IDC_ADDLDN_CLASS), CB_ERR);
    EXPECT_TRUE(Listed(IDC_ADDLDN_DEVICE).empty());
    Ok(L"FwNoClass");
    EXPECT_TRUE(Open());
    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_EQ(Ldn(kPrinterKey, L"FwNoClass").first, 0u);
    EXPECT_EQ(Ldn(kDrawerKey, L"FwNoClass").first, 0u);
    EXPECT_EQ(Ldn(L"SOFTWARE\\OLEforRetail\\ServiceOPOS", L"FwNoClass").first, 0u);
}

TEST_F(AddLdnDlgTest, AClassKeyThatCannotBeOpenedBrings137AndKeepsTheDialog)
{
    const wchar_t missing[] = L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\FwLdnNoKey";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, missing);
    Tree({}, {});
    const HTREEITEM root = tree.InsertItem(L"FwLdnNoKey", 1, 1, TVI_ROOT, TVI_LAST);
    g_classMap.Add(root, L"FwLdnNoKey");
    g_deviceMap.Add(tree.InsertItem(L"FwLdn Ghost", 1, 1, root, TVI_LAST), L"FwLdnNoKey\\FwLdn Ghost");
    Open(L"FwLdnNoKey", L"FwLdn Ghost");
    Ok(L"FwGhost");
    ASSERT_TRUE(Open());
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(boxes->Boxes()[0].text, L"Can't open registry!");
    EXPECT_EQ(boxes->Boxes()[0].caption, L"Error");
    EXPECT_EQ(ItemText(*dlg, IDC_ADDLDN_NAME), L"FwGhost");
}

TEST_F(AddLdnDlgTest, CancelAndTheCloseBoxWriteNothing)
{
    Tree({L"FwLdn One"}, {});
    Remember(kPrinterKey, L"FwCancelled");
    for (bool closeBox : {false, true}) {
        Open(L"POSPrinter", L"FwLdn One");
        dlg->SetDlgItemText(IDC_ADDLDN_NAME, L"FwCancelled");
        if (closeBox)
            dlg->SendMessage(WM_CLOSE);
        else
            dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        EXPECT_FALSE(Open());
        EXPECT_EQ(dlg->ModelessResult(), IDCANCEL);
    }
    EXPECT_EQ(Ldn(kPrinterKey, L"FwCancelled").first, 0u);
}

namespace {
// The dialog over the frame's own tree, filled from the registry.
class AddLdnFromFrameTest : public FrameTest {
protected:
    const std::vector<std::wstring> printers = {L"FwLdnFrame A", L"FwLdnFrame B"};

    void SetUp() override
    {
        FrameTest::SetUp();
        opos_test::AddDevices(L"POSPrinter", printers);
        opos_test::RegisterControl(L"OPOS POSPrinter Control 1.11 (Velquist)");
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        opos_test::RemoveDevices(L"POSPrinter", printers);
        opos_test::UnregisterControl();
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPrinterKey, L"FwFrameLdn");
    }
};
} // namespace

TEST_F(AddLdnFromFrameTest, ModalRunOwnedByTheFrameWritesTheName)
{
    CreateFrame();
    CAddLdnDlg dlg(L"POSPrinter", L"FwLdnFrame B", frame->m_tree);
    std::wstring preselected;
    uitest::ScopedDialogAnswer script([&](HWND box) {
        HWND devices = GetDlgItem(box, IDC_ADDLDN_DEVICE);
        preselected = CComboBox(devices).GetLBText(static_cast<int>(SendMessageW(devices, CB_GETCURSEL, 0, 0))).GetString();
        SetDlgItemTextW(box, IDC_ADDLDN_NAME, L"FwFrameLdn");
        return IDOK;
    });
    EXPECT_EQ(dlg.DoModal(*frame), IDOK);
    EXPECT_EQ(preselected, L"FwLdnFrame B");
    EXPECT_EQ(Ldn(kPrinterKey, L"FwFrameLdn"), std::make_pair(static_cast<DWORD>(REG_SZ), std::wstring(L"FwLdnFrame B")));
}
