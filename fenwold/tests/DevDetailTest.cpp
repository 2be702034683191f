// The device details page in a property sheet: which values it shows, which
// it leaves out, and that it changes nothing.
#include "DevDetail.h"
#include "testing/DialogAnswer.h"
#include "testing/DialogLoop.h"
#include "testing/WindowTexts.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using uitest::ItemText;

namespace {

const int kEdits[] = {IDC_DETAIL_NAME, IDC_DETAIL_DESC, IDC_DETAIL_SERVICE, IDC_DETAIL_DESCRIPTION, IDC_DETAIL_VERSION, IDC_DETAIL_SONAME};

// A device key of this test's own below ServiceOPOS\POSPrinter.
class DevDetailTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        uitest::InitControls();
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        path = L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter\\FwDetail " + std::wstring(name.begin(), name.end());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    }
    void TearDown() override
    {
        if (sheet && IsWindow(sheet))
            DestroyWindow(sheet);
        if (key)
            RegCloseKey(key);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
    }

    void SetBytes(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }
    void SetText(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
    {
        SetBytes(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    // Opens the page as the Property command does: in a sheet without Apply.
    void Show(const std::wstring& keyPath)
    {
        page.m_keyPath = keyPath.c_str();
        CPropertySheet propertySheet(L"Property");
        propertySheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
        propertySheet.AddPage(page);
        sheet = propertySheet.Create();
        ASSERT_NE(sheet, nullptr);
        ASSERT_NE(page.m_hWnd, nullptr);
        uitest::Pump();
    }

    std::wstring Shown(int id) { return ItemText(page, id); }

    // Every value of the key: name -> type and bytes.
    std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>> Values()
    {
        std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>> values;
        for (DWORD i = 0;; ++i) {
            wchar_t name[300];
            DWORD chars = 300, type = 0, bytes = 4096;
            std::vector<BYTE> data(bytes);
            if (RegEnumValueW(key, i, name, &chars, nullptr, &type, data.data(), &bytes) != ERROR_SUCCESS)
                break;
            data.resize(bytes);
            values[name] = {type, data};
        }
        return values;
    }

    std::wstring path;
    HKEY key = nullptr;
    CDevDetail page;
    HWND sheet = nullptr;
};

} // namespace

TEST_F(DevDetailTest, ShowsTheSixValuesExpandableTextUnexpanded)
{
    SetText(L"", L"ZOVUZEREZA.POSPrinter");
    SetText(L"DeviceName", L"Model-80 Receipt");
    SetText(L"DeviceDesc", L"Thermal receipt printer");
    SetText(L"Service", L"%SystemRoot%\\system32\\Calbrique.dll", REG_EXPAND_SZ);
    SetText(L"Description", L"OPOS POSPrinter Service Object");
    SetText(L"Version", L"1.11.001");
    SetText(L"Port", L"COM1");
    Show(path);
    EXPECT_EQ(Shown(IDC_DETAIL_NAME), L"Model-80 Receipt");
    EXPECT_EQ(Shown(IDC_DETAIL_DESC), L"Thermal receipt printer");
    EXPECT_EQ(Shown(IDC_DETAIL_SERVICE), L"%SystemRoot%\\system32\\Calbrique.dll");
    EXPECT_EQ(Shown(IDC_DETAIL_DESCRIPTION), L"OPOS POSPrinter Service Object");
    EXPECT_EQ(Shown(IDC_DETAIL_VERSION), L"1.11.001");
    EXPECT_EQ(Shown(IDC_DETAIL_SONAME), L"ZOVUZEREZA.POSPrinter");

    // The page takes its tab title from its template; the sheet has no Apply.
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    wchar_t title[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = title;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(title, L"Details of device");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, 0x3021)));
}

TEST_F(DevDetailTest, ValuesThatDoNotFitTheirBufferAreLeftOutTheOthersShown)
{
    SetText(L"DeviceName", std::wstring(100, L'n'));
    SetText(L"DeviceDesc", std::wstring(99, L'd'));
    SetText(L"Service", std::wstring(259, L's'));
    SetText(L"Description", std::wstring(100, L'x'));
    SetText(L"Version", L"1.0");
    SetText(L"", std::wstring(99, L'p'));
    Show(path);
    EXPECT_EQ(Shown(IDC_DETAIL_NAME), L"");
    EXPECT_EQ(Shown(IDC_DETAIL_DESC), std::wstring(99, L'd'));
    EXPECT_EQ(Shown(IDC_DETAIL_SERVICE), std::wstring(259, L's'));
    EXPECT_EQ(Shown(IDC_DETAIL_DESCRIPTION), L"");
    EXPECT_EQ(Shown(IDC_DETAIL_VERSION), L"1.0");
    EXPECT_EQ(Shown(IDC_DETAIL_SONAME), std::wstring(99, L'p'));
}

TEST_F(DevDetailTest, ServiceOfTwoHundredSixtyCharactersIsLeftOut)
{
    SetText(L"Service", std::wstring(260, L's'));
    SetText(L"DeviceDesc", std::wstring(100, L'd'));
    SetText(L"DeviceName", L"Model-58");
    Show(path);
    EXPECT_EQ(Shown(IDC_DETAIL_SERVICE), L"");
    EXPECT_EQ(Shown(IDC_DETAIL_DESC), L"");
    EXPECT_EQ(Shown(IDC_DETAIL_NAME), L"Model-58");
}

TEST_F(DevDetailTest, OtherTypesMissingAndUnterminatedValuesLeaveTheirEditEmpty)
{
    const DWORD number = 7;
    SetBytes(L"DeviceName", REG_DWORD, &number, sizeof(number)); // a catalogue param of type "dword"
    // The registry adds a terminator a caller forgot when one follows the data.
    const wchar_t unterminated[] = {L'1', L'.', L'0', L'x'};
    SetBytes(L"Version", REG_SZ, unterminated, 3 * sizeof(wchar_t));
    SetBytes(L"Description", REG_BINARY, L"abc", 8);
    SetBytes(L"DeviceDesc", REG_SZ, nullptr, 0); // empty, no data at all
    SetText(L"", L"ZOVUZEREZA.POSPrinter");
    // No Service: the service object was not registered when it was added.
    Show(path);
    for (int id : {IDC_DETAIL_NAME, IDC_DETAIL_DESC, IDC_DETAIL_SERVICE, IDC_DETAIL_DESCRIPTION, IDC_DETAIL_VERSION})
        EXPECT_EQ(Shown(id), L"") << id;
    EXPECT_EQ(Shown(IDC_DETAIL_SONAME), L"ZOVUZEREZA.POSPrinter");
}

TEST_F(DevDetailTest, DeletedDeviceShowsSixEmptyEdits)
{
    SetText(L"DeviceName", L"Gone");
    RegCloseKey(key);
    key = nullptr;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
    Show(path);
    for (int id : kEdits)
        EXPECT_EQ(Shown(id), L"") << id;
}

TEST_F(DevDetailTest, EditsAreReadOnlyAndClosingChangesNothing)
{
    SetText(L"", L"ZOVUZEREZA.POSPrinter");
    SetText(L"DeviceName", L"Model-80");
    SetText(L"Version", L"1.11.001");
    const auto before = Values();
    // OK, Cancel, the close box.
    for (int way = 0; way < 3; ++way) {
        Show(path);
        for (int id : kEdits) {
            HWND edit = page.GetDlgItem(id);
            EXPECT_TRUE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) << id;
            const std::wstring shown = Shown(id);
            SetFocus(edit);
            SendMessageW(edit, WM_CHAR, L'z', 1);
            SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 1);
            EXPECT_EQ(Shown(id), shown) << id;
        }
        if (way == 0)
            SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        else if (way == 1)
            SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        else
            SendMessageW(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
        uitest::Pump();
        // A modeless sheet reports its end by dropping its current page.
        EXPECT_EQ(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0), 0) << way;
        DestroyWindow(sheet);
        sheet = nullptr;
        EXPECT_EQ(Values(), before) << way;
    }
}

TEST_F(DevDetailTest, ModalSheetEndsAndLeavesTheKeyAsItWas)
{
    SetText(L"DeviceName", L"Model-80");
    const auto before = Values();
    page.m_keyPath = path.c_str();
    CPropertySheet propertySheet(L"Property");
    propertySheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    propertySheet.AddPage(page);
    std::wstring seen;
    uitest::ScopedDialogAnswer script([&](HWND box) {
        HWND current = reinterpret_cast<HWND>(SendMessageW(box, PSM_GETCURRENTPAGEHWND, 0, 0));
        seen = ItemText(current, IDC_DETAIL_NAME);
        return IDOK;
    });
    EXPECT_GE(propertySheet.DoModal(nullptr), 0);
    EXPECT_EQ(seen, L"Model-80");
    EXPECT_EQ(Values(), before);
}
