// Fenwold.exe as a process: its start-up message, its frame, its exit code,
// and a technician's round through its tree and dialogs.
#include "CatalogueFolder.h"
#include "FenwoldProcess.h"
#include "OposRegistry.h"
#include "resource.h"
#include "testing/ComboChoice.h"
#include "testing/ProcessWindows.h"
#include "testing/WindowTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {
struct CloseWay {
    const char* name;
    UINT message;
    WPARAM wParam;
    const wchar_t* arguments;
};

void PrintTo(const CloseWay& way, std::ostream* os)
{
    *os << way.name;
}

class FenwoldExitTest : public ::testing::TestWithParam<CloseWay> {};
} // namespace

TEST_P(FenwoldExitTest, ClosingTheFrameEndsTheProcessWithExitCodeOne)
{
    // A fresh prefix has no control object: message 132 comes at every start.
    opos_test::UnregisterControl();
    FenwoldProcess fenwold;
    ASSERT_TRUE(fenwold.Start(FenwoldExePath(), GetParam().arguments));
    HWND box = nullptr;
    EXPECT_EQ(fenwold.WaitForBox(20000, &box), L"Can not find OPOS POSPrinter control!");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(uitest::WindowText(box), L"Warning");
    ASSERT_TRUE(uitest::ClickButton(box, IDOK));

    HWND frame = fenwold.WaitForFrame(20000);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(uitest::WindowText(frame), L"OPOS Norvale v1.0 UPOS 1.11");
    RECT rc;
    GetWindowRect(frame, &rc);
    EXPECT_EQ(rc.right - rc.left, 800);
    EXPECT_EQ(rc.bottom - rc.top, 600);

    PostMessageW(frame, GetParam().message, GetParam().wParam, 0);
    EXPECT_EQ(fenwold.WaitForExit(20000), 1u);
}

INSTANTIATE_TEST_SUITE_P(AnyWay, FenwoldExitTest,
                         ::testing::Values(CloseWay{"CloseBox", WM_CLOSE, 0, L""},
                                           CloseWay{"ExitCommand", WM_COMMAND, ID_APP_EXIT, L""},
                                           CloseWay{"AltF4", WM_SYSCOMMAND, SC_CLOSE, L"/ignored --args 42"}),
                         [](const ::testing::TestParamInfo<CloseWay>& info) { return info.param.name; });

namespace {
const std::wstring kPrinters = std::wstring(opos_test::kServiceOpos) + L"\\POSPrinter";
const wchar_t kLdn[] = L"FwDriven";
const std::vector<std::wstring> kDevices = {L"FwDriven A", L"FwDriven B", L"FwDriven C"};

// The string `name` of HKLM\<key>; empty when absent.
std::wstring ReadString(const std::wstring& key, const wchar_t* name)
{
    wchar_t data[260] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS)
        return std::wstring();
    return data;
}

void SetString(const std::wstring& key, const wchar_t* name, const std::wstring& text)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, text.c_str(),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// Waits for `window` to go, then for `frame`'s thread to answer a message:
// the command that showed the window has then done the rest of its work.
bool WaitUntilGone(HWND window, HWND frame)
{
    for (int i = 0; i < 500 && IsWindow(window); ++i)
        Sleep(20);
    DWORD_PTR answer = 0;
    return !IsWindow(window) && SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer) != 0;
}

// The devices and the name of this test, before and after it.
struct DrivenRegistry {
    DrivenRegistry() { Remove(); }
    ~DrivenRegistry() { Remove(); }
    static void Remove()
    {
        opos_test::RemoveDevices(L"POSPrinter", kDevices);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPrinters.c_str(), kLdn);
        opos_test::UnregisterControl();
    }
};
} // namespace

// Two serial printers, A selected, B right-clicked: Communication Settings
// edits B only.  Deleting B takes its logical name along, so a new device
// may be given that name.
TEST(FenwoldDriven, RightClickedDeviceIsTheOneEditedAndADeletedDevicesNameIsFreeAgain)
{
    const DrivenRegistry registry;
    opos_test::AddDevices(L"POSPrinter", {kDevices[0], kDevices[1]});
    for (int i : {0, 1}) {
        SetString(kPrinters + L"\\" + kDevices[i], L"GroupID", L"RS");
        SetString(kPrinters + L"\\" + kDevices[i], L"Port", L"COM2");
    }
    SetString(kPrinters, kLdn, kDevices[1]);
    opos_test::RegisterControl(L"OPOS POSPrinter Control 1.11 (Velquist)");
    CatalogueFolder folder; // the program's current directory
    folder.Write("<c><device type=\"POSPrinter\" model=\"FwDriven C\" soname=\"so.Driven\">"
                 "<param port=\"serial\" name=\"GroupID\" value=\"DRIVENS\"/></device></c>");

    FenwoldProcess fenwold;
    ASSERT_TRUE(fenwold.Start(FenwoldExePath()));
    HWND frame = fenwold.WaitForFrame(20000);
    ASSERT_NE(frame, nullptr);
    HWND tree = FindTree(frame);
    const HTREEITEM a = fenwold.FindTreeItem(tree, kDevices[0]);
    const HTREEITEM b = fenwold.FindTreeItem(tree, kDevices[1]);
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a)));

    ASSERT_TRUE(fenwold.RightClick(tree, b));
    HWND menu = uitest::WaitForProcessWindow(fenwold.Pid(), L"#32768", 10000);
    ASSERT_NE(menu, nullptr) << "no context menu";
    // To the menu itself: a key typed on a loaded machine may reach the
    // tree before the menu takes the keyboard.
    PostMessageW(menu, WM_CHAR, L'o', 0); // C&ommunication Settings...
    HWND details = fenwold.WaitForDialog(10000);
    if (!details) {
        const LPARAM selected = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
        FAIL() << "no Port Details; the selection is " << (selected == reinterpret_cast<LPARAM>(b) ? "B" : selected == reinterpret_cast<LPARAM>(a) ? "A" : "another node")
               << ", the menu is " << (IsWindow(menu) ? "still open" : "gone");
    }
    EXPECT_EQ(uitest::WindowText(details), L"Port Details");
    ASSERT_TRUE(uitest::ChooseByText(GetDlgItem(details, IDC_PORTCFG_PORT), L"COM5"));
    ASSERT_TRUE(uitest::ClickButton(details, IDOK));
    ASSERT_TRUE(WaitUntilGone(details, frame));
    EXPECT_EQ(ReadString(kPrinters + L"\\" + kDevices[1], L"Port"), L"COM5");
    EXPECT_EQ(ReadString(kPrinters + L"\\" + kDevices[0], L"Port"), L"COM2");

    // B is the selection now.
    PostMessageW(frame, WM_COMMAND, ID_DELETE, 0);
    HWND question = fenwold.WaitForDialog(10000);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(uitest::WindowText(question), L"POSPrinter\\" + kDevices[1]);
    ASSERT_TRUE(uitest::ClickButton(question, IDYES));
    ASSERT_TRUE(WaitUntilGone(question, frame));
    const std::vector<std::wstring> devices = opos_test::EnumDevices(L"POSPrinter");
    EXPECT_EQ(std::count(devices.begin(), devices.end(), kDevices[1]), 0);
    EXPECT_EQ(ReadString(kPrinters, kLdn), L"") << "the name went with its device";

    const HTREEITEM printers = fenwold.FindTreeItem(tree, L"POSPrinter");
    ASSERT_TRUE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(printers)));
    PostMessageW(frame, WM_COMMAND, ID_ADD_DEVICE, 0);
    HWND add = fenwold.WaitForDialog(10000);
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(uitest::WindowText(add), L"Add New Device");
    ASSERT_TRUE(uitest::ChooseByText(GetDlgItem(add, IDC_ADDDEV_MODEL), kDevices[2].c_str()));
    SendMessageW(GetDlgItem(add, IDC_ADDDEV_LDN), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kLdn));
    ASSERT_TRUE(uitest::ClickButton(add, IDOK));
    if (!WaitUntilGone(add, frame)) {
        HWND box = fenwold.WaitForDialog(1000, add);
        FAIL() << "Add New Device stayed open, or the frame did not answer: " << testing::PrintToString(uitest::WindowText(GetDlgItem(box, 0xFFFF)));
    }
    EXPECT_EQ(ReadString(kPrinters, kLdn), kDevices[2]);

    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(fenwold.WaitForExit(20000), 1u);
}
