// "Port Details" created modeless on a device key of its own and driven by
// messages; what it shows and what OK writes.
#include "PortConfigDlg.h"
#include "PortKey.h"
#include "testing/BoxAnswer.h"
#include "testing/ComboChoice.h"
#include "testing/DialogAnswer.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::wstring>;
using Values = std::map<std::wstring, std::wstring>;

const int kOptionLists[] = {IDC_PORTCFG_BAUDRATE, IDC_PORTCFG_BITLENGTH, IDC_PORTCFG_PARITY, IDC_PORTCFG_STOPBIT,
                            IDC_PORTCFG_HANDSHAKE};

Strings ComNames(int highest)
{
    Strings names = {L"None"};
    for (int i = 1; i <= highest; ++i)
        names.push_back(L"COM" + std::to_wstring(i));
    return names;
}

class PortConfigDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        boxes = std::make_unique<uitest::ScopedBoxAnswer>(IDOK);
    }
    void TearDown() override
    {
        dlg.reset();
        boxes.reset();
    }

    // The dialog on this test's device key, as the main frame builds it.
    void Open(int maxCom = 10, int maxLpt = 3)
    {
        dlg = std::make_unique<CPortConfigDlg>(key.DevicePath().c_str(), maxCom, maxLpt);
        ASSERT_NE(dlg->Create(nullptr), nullptr);
    }
    HWND Item(int id) const { return dlg->GetDlgItem(id); }
    Strings Entries(int id) const
    {
        const CComboBox list(Item(id));
        Strings entries;
        for (int i = 0; i < list.GetCount(); ++i)
            entries.emplace_back(list.GetLBText(i).GetString());
        return entries;
    }
    // The selected entry's text, or "(none)".
    std::wstring Selected(int id) const
    {
        const CComboBox list(Item(id));
        const int entry = list.GetCurSel();
        return entry < 0 ? L"(none)" : std::wstring(list.GetLBText(entry).GetString());
    }
    void Choose(int id, const wchar_t* text) const { ASSERT_TRUE(uitest::ChooseByText(Item(id), text)) << text; }
    std::wstring Text(int id) const { return CWindow(Item(id)).GetWindowText().GetString(); }
    void Type(int id, const wchar_t* text) const { CWindow(Item(id)).SetWindowText(text); }
    void Click(int id) const
    {
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    // Clicks OK with the key emptied of values first: what it holds afterwards
    // is exactly what OK wrote.
    Values OkWrites()
    {
        key.TakeValues();
        Click(IDOK);
        EXPECT_EQ(dlg->m_hWnd, nullptr) << "still open";
        EXPECT_EQ(dlg->ModelessResult(), IDOK);
        return key.Values();
    }

    PortKey key;
    std::unique_ptr<uitest::ScopedBoxAnswer> boxes;
    std::unique_ptr<CPortConfigDlg> dlg;
};

// The serial device of the option edge cases.
void SetSerialDevice(const PortKey& key)
{
    key.SetString(L"GroupID", L"PRN-S");
    key.SetString(L"Port", L"COM1");
    key.SetString(L"BaudrateSel", L"6,7,8");
    key.SetDword(L"Baudrate", 7);
    key.SetString(L"BitLengthSel", L"0,1");
    key.SetDword(L"BitLength", 1);
    key.SetString(L"ParitySel", L"0,1,2");
    key.SetDword(L"Parity", 0);
    key.SetString(L"StopSel", L"1,2");
    key.SetDword(L"Stop", 1);
    key.SetString(L"HandShakeSel", L"0,1");
    key.SetDword(L"HandShake", 0);
    key.SetString(L"XonXoffSel", L"0,1");
    key.SetDword(L"XonXoff", 1);
    key.SetDword(L"InputBuf", 4096);
    key.SetDword(L"OutputBuf", 512);
    key.SetDword(L"Timeout", 1000);
    key.SetDword(L"InputSleep", 20);
}

} // namespace

TEST_F(PortConfigDlgTest, TemplateHoldsTheControlsInTabOrder)
{
    Open();
    EXPECT_EQ(dlg->GetWindowText(), L"Port Details");
    RECT want = {0, 0, 291, 205};
    MapDialogRect(*dlg, &want);
    RECT client = {};
    dlg->GetClientRect(&client);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);

    struct Control {
        int id;
        std::wstring className;
        std::wstring text;
    };
    std::vector<Control> controls;
    for (HWND child = GetWindow(*dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        controls.push_back({GetDlgCtrlID(child), className, CWindow(child).GetWindowText().GetString()});
    }
    const int s = static_cast<int>(static_cast<WORD>(IDC_STATIC_TEXT));
    const std::vector<std::pair<int, std::wstring>> want_controls = {
        {s, L"&Port Settings"}, {1000, L""}, {1075, L"USB Auto Settin&g"}, {1078, L"&Update"},
        {s, L"Port is bein&g used by"}, {1004, L""}, {s, L"Setup of details of the port"},
        {s, L"Baud&Rate"}, {1047, L""}, {s, L"Bit&Length"}, {1049, L""}, {s, L"Parit&y"}, {1050, L""},
        {s, L"S&topBit"}, {1051, L""}, {s, L"Han&dshake"}, {1056, L""}, {s, L"&InputBuf"}, {1057, L""},
        {s, L"&OutputBuf"}, {1058, L""}, {s, L"Output Inter&val time"}, {1059, L""}, {s, L"msec"},
        {s, L"Input Sl&eep Time"}, {1042, L""}, {s, L"msec"}, {s, L"Master device to:"}, {1006, L""},
        {1087, L"&CheckHealth"}, {1089, L"Device &Setting"}, {1, L"OK"}, {2, L"Cancel"}, {9, L"&Help"},
        {1073, L""}};
    ASSERT_EQ(controls.size(), want_controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(static_cast<int>(static_cast<WORD>(controls[i].id)), want_controls[i].first) << i;
        EXPECT_EQ(controls[i].text, want_controls[i].second) << i;
    }

    for (int id : {1000, 1004, 1047, 1049, 1050, 1051, 1056}) {
        const DWORD style = CWindow(Item(id)).GetStyle();
        EXPECT_EQ(style & 3, DWORD{CBS_DROPDOWNLIST}) << id;
        EXPECT_FALSE(style & CBS_SORT) << id;
    }
    for (int id : {1057, 1058, 1059, 1042})
        EXPECT_TRUE(CWindow(Item(id)).GetStyle() & ES_NUMBER) << id;
    EXPECT_EQ(CWindow(Item(1006)).GetStyle() & (LBS_SORT | LBS_NOTIFY), DWORD{LBS_SORT | LBS_NOTIFY});
    for (int id : {1078, 1087, 1089, 9})
        EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
    // Hidden at start (the dialog itself is not shown here); the edit limits.
    EXPECT_TRUE(CWindow(Item(1000)).GetStyle() & WS_VISIBLE);
    for (int id : {1073, 1075, 1078})
        EXPECT_FALSE(CWindow(Item(id)).GetStyle() & WS_VISIBLE) << id;
    EXPECT_EQ(SendMessageW(Item(1057), EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(Item(1058), EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(Item(1059), EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(Item(1042), EM_GETLIMITTEXT, 0, 0), 2);
}

TEST_F(PortConfigDlgTest, SerialDeviceShowsItsPortsOptionsAndNumbers)
{
    SetSerialDevice(key);
    Open();
    EXPECT_EQ(Entries(IDC_PORTCFG_PORT), ComNames(10));
    EXPECT_EQ(Selected(IDC_PORTCFG_PORT), L"COM1");
    EXPECT_EQ(Entries(IDC_PORTCFG_BAUDRATE), (Strings{L"9600 bps", L"19200 bps", L"38400 bps"}));
    EXPECT_EQ(Selected(IDC_PORTCFG_BAUDRATE), L"19200 bps");
    EXPECT_EQ(Entries(IDC_PORTCFG_BITLENGTH), (Strings{L"7", L"8"}));
    EXPECT_EQ(Selected(IDC_PORTCFG_BITLENGTH), L"8");
    EXPECT_EQ(Entries(IDC_PORTCFG_PARITY), (Strings{L"None", L"Even", L"Odd"}));
    EXPECT_EQ(Selected(IDC_PORTCFG_PARITY), L"None");
    EXPECT_EQ(Entries(IDC_PORTCFG_STOPBIT), (Strings{L"1 bit", L"2 bits"}));
    EXPECT_EQ(Selected(IDC_PORTCFG_STOPBIT), L"1 bit");
    EXPECT_EQ(Entries(IDC_PORTCFG_HANDSHAKE), (Strings{L"Disable", L"RTS/CTS", L"XON/XOFF"}));
    EXPECT_EQ(Selected(IDC_PORTCFG_HANDSHAKE), L"XON/XOFF");
    for (int id : kOptionLists)
        EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;
    EXPECT_EQ(Text(IDC_PORTCFG_INPUTBUF), L"4096");
    EXPECT_EQ(Text(IDC_PORTCFG_OUTPUTBUF), L"512");
    EXPECT_EQ(Text(IDC_PORTCFG_TIMEOUT), L"1000");
    EXPECT_EQ(Text(IDC_PORTCFG_INPUTSLEEP), L"20");
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_PORTCFG_INPUTBUF)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_PORTCFG_OUTPUTBUF)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_PORTCFG_TIMEOUT)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_PORTCFG_INPUTSLEEP)));

    // OK as shown writes back every value it loaded, and nothing else.
    EXPECT_EQ(OkWrites(), (Values{{L"Port", L"SZ:COM1"}, {L"Baudrate", L"DW:7"}, {L"BitLength", L"DW:1"},
                                  {L"Parity", L"DW:0"}, {L"Stop", L"DW:1"}, {L"HandShake", L"DW:0"},
                                  {L"XonXoff", L"DW:1"}, {L"InputBuf", L"DW:4096"}, {L"OutputBuf", L"DW:512"},
                                  {L"Timeout", L"DW:1000"}, {L"InputSleep", L"DW:20"}}));
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(PortConfigDlgTest, ChoicesAreWrittenAsTheirStoredIndexes)
{
    SetSerialDevice(key);
    Open();
    Choose(IDC_PORTCFG_PORT, L"COM10");
    Choose(IDC_PORTCFG_BAUDRATE, L"38400 bps");
    Choose(IDC_PORTCFG_BITLENGTH, L"7");
    Choose(IDC_PORTCFG_PARITY, L"Odd");
    Choose(IDC_PORTCFG_STOPBIT, L"2 bits");
    Choose(IDC_PORTCFG_HANDSHAKE, L"RTS/CTS");
    Type(IDC_PORTCFG_OUTPUTBUF, L"1024");
    Type(IDC_PORTCFG_TIMEOUT, L"0");
    EXPECT_EQ(OkWrites(), (Values{{L"Port", L"SZ:COM10"}, {L"Baudrate", L"DW:8"}, {L"BitLength", L"DW:0"},
                                  {L"Parity", L"DW:2"}, {L"Stop", L"DW:2"}, {L"HandShake", L"DW:1"},
                                  {L"XonXoff", L"DW:0"}, {L"InputBuf", L"DW:4096"}, {L"OutputBuf", L"DW:1024"},
                                  {L"Timeout", L"DW:0"}, {L"InputSleep", L"DW:20"}}));
}

TEST_F(PortConfigDlgTest, ChoosingXonXoffStoresHandShakeZeroWithXonXoffOne)
{
    SetSerialDevice(key);
    key.SetDword(L"HandShake", 2);
    key.SetDword(L"XonXoff", 0);
    Open();
    EXPECT_EQ(Selected(IDC_PORTCFG_HANDSHAKE), L"(none)"); // 2 is not offered
    Choose(IDC_PORTCFG_HANDSHAKE, L"XON/XOFF");
    const Values written = OkWrites();
    EXPECT_EQ(written.at(L"HandShake"), L"DW:0");
    EXPECT_EQ(written.at(L"XonXoff"), L"DW:1");
}

TEST_F(PortConfigDlgTest, ValuesNotOfferedShowNoSelectionAndAreLeftAsStored)
{
    SetSerialDevice(key);
    key.SetString(L"XonXoffSel", L"0");   // XON/XOFF not offered, yet stored
    key.SetDword(L"Baudrate", 10);        // not in 6,7,8
    key.SetString(L"ParitySel", L"0,1,2,0,1,2,0,1,2,0"); // too long: no parity options
    key.SetString(L"Port", L"COM11");     // above the listed range
    Open();
    EXPECT_EQ(Entries(IDC_PORTCFG_HANDSHAKE), (Strings{L"Disable", L"RTS/CTS"}));
    EXPECT_EQ(Selected(IDC_PORTCFG_HANDSHAKE), L"(none)");
    EXPECT_EQ(Selected(IDC_PORTCFG_BAUDRATE), L"(none)");
    EXPECT_EQ(Entries(IDC_PORTCFG_PARITY), Strings{});
    EXPECT_EQ(Selected(IDC_PORTCFG_PORT), L"(none)");
    // Written back as loaded (the stored values were read), Port not at all.
    const Values written = OkWrites();
    EXPECT_EQ(written.count(L"Port"), 0u);
    EXPECT_EQ(written.at(L"Baudrate"), L"DW:10");
    EXPECT_EQ(written.at(L"HandShake"), L"DW:0");
    EXPECT_EQ(written.at(L"XonXoff"), L"DW:1");
    EXPECT_EQ(written.at(L"Parity"), L"DW:0");
}

TEST_F(PortConfigDlgTest, SerialValuesNeverSetAreNotWritten)
{
    key.SetString(L"GroupID", L"S");
    key.SetString(L"BaudrateSel", L"0,1");
    Open();
    EXPECT_EQ(Selected(IDC_PORTCFG_PORT), L"None");
    EXPECT_EQ(Selected(IDC_PORTCFG_BAUDRATE), L"(none)");
    EXPECT_EQ(Entries(IDC_PORTCFG_HANDSHAKE), Strings{});
    EXPECT_EQ(Text(IDC_PORTCFG_TIMEOUT), L"");
    EXPECT_EQ(OkWrites(), (Values{{L"Port", L"SZ:"}}));
}

TEST_F(PortConfigDlgTest, StoredPortMatchesAWholeNameWithoutRegardToCase)
{
    key.SetString(L"GroupID", L"S");
    key.SetString(L"Port", L"com3");
    Open(12);
    EXPECT_EQ(Entries(IDC_PORTCFG_PORT), ComNames(12));
    EXPECT_EQ(Selected(IDC_PORTCFG_PORT), L"COM3");
    EXPECT_EQ(OkWrites(), (Values{{L"Port", L"SZ:COM3"}}));

    // COM1 is not taken for COM10..COM12, and a part of a name matches none.
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"COM1", L"COM1"}, {L"COM12", L"COM12"}, {L"COM", L"(none)"}, {L"NONE", L"None"},
        {L"LPT1", L"(none)"}, {L"\\\\.\\PrinterPort0123", L"(none)"}};
    for (const auto& c : cases) {
        key.SetString(L"GroupID", L"S");
        key.SetString(L"Port", c.first);
        Open(12);
        EXPECT_EQ(Selected(IDC_PORTCFG_PORT), c.second) << c.first;
        dlg->DestroyWindow();
    }
}

TEST_F(PortConfigDlgTest, UnreadablePortIsKeptAtOk)
{
    key.SetString(L"GroupID", L"P");
    key.SetString(L"Port", L"\\\\.\\PrinterPort0123"); // 19 characters
    Open();
    EXPECT_EQ(Selected(IDC_PORTCFG_PORT), L"(none)");
    Click(IDOK);
    EXPECT_EQ(dlg->ModelessResult(), IDOK);
    EXPECT_EQ(key.Values().at(L"Port"), L"SZ:\\\\.\\PrinterPort0123");
}

TEST_F(PortConfigDlgTest, ChoosingNoneWritesAnEmptyPort)
{
    key.SetString(L"GroupID", L"P");
    key.SetString(L"Port", L"LPT2");
    Open();
    EXPECT_EQ(Selected(IDC_PORTCFG_PORT), L"LPT2");
    Choose(IDC_PORTCFG_PORT, L"None");
    EXPECT_EQ(OkWrites(), (Values{{L"Port", L"SZ:"}}));
}

TEST_F(PortConfigDlgTest, ParallelDeviceListsLptNamesAndWritesNoSerialValue)
{
    SetSerialDevice(key);
    key.SetString(L"GroupID", L"PRN-P");
    key.SetString(L"Port", L"lpt3");
    key.SetDword(L"OutputBuf", 0);
    Open(10, 3);
    EXPECT_EQ(Entries(IDC_PORTCFG_PORT), (Strings{L"None", L"LPT1", L"LPT2", L"LPT3"}));
    EXPECT_EQ(Selected(IDC_PORTCFG_PORT), L"LPT3");
    for (int id : kOptionLists) {
        EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
        EXPECT_EQ(Entries(id), Strings{}) << id;
    }
    EXPECT_EQ(Text(IDC_PORTCFG_OUTPUTBUF), L""); // 0 is shown empty
    Choose(IDC_PORTCFG_PORT, L"LPT1");
    EXPECT_EQ(OkWrites(), (Values{{L"Port", L"SZ:LPT1"}, {L"InputBuf", L"DW:4096"}, {L"OutputBuf", L"DW:0"},
                                  {L"Timeout", L"DW:1000"}, {L"InputSleep", L"DW:20"}}));
}

TEST_F(PortConfigDlgTest, UsbEthernetAndUnknownKindsOfferOnlyNone)
{
    for (const wchar_t* group : {L"PRN-U", L"PRN-E", L"PRN-u", L""}) {
        SetSerialDevice(key);
        key.SetString(L"GroupID", group);
        key.SetString(L"Port", L"USB001");
        key.SetDword(L"InputSleep", 0xFFFFFFFF); // not set
        Open();
        EXPECT_EQ(Entries(IDC_PORTCFG_PORT), Strings{L"None"}) << group;
        EXPECT_EQ(Selected(IDC_PORTCFG_PORT), L"(none)") << group;
        for (int id : kOptionLists)
            EXPECT_EQ(Entries(id), Strings{}) << group;
        EXPECT_EQ(OkWrites(), (Values{{L"InputBuf", L"DW:4096"}, {L"OutputBuf", L"DW:512"}, {L"Timeout", L"DW:1000"}}))
            << group;
    }
}

TEST_F(PortConfigDlgTest, NumberEdits)
{
    key.SetString(L"GroupID", L"U");
    key.SetDword(L"OutputBuf", 512);
    key.SetDword(L"Timeout", 0);
    key.SetDword(L"InputSleep", 0);
    key.SetDword(L"InputBuf", 0);
    Open();
    EXPECT_EQ(Text(IDC_PORTCFG_OUTPUTBUF), L"512");
    EXPECT_EQ(Text(IDC_PORTCFG_TIMEOUT), L"0");
    EXPECT_EQ(Text(IDC_PORTCFG_INPUTSLEEP), L"0");
    EXPECT_EQ(Text(IDC_PORTCFG_INPUTBUF), L"");
    // A typed 0 means "not set" for the buffer (the stored value stays);
    // for the timeout it is a value.  An emptied edit keeps the loaded value.
    Type(IDC_PORTCFG_OUTPUTBUF, L"0");
    Type(IDC_PORTCFG_TIMEOUT, L"");
    EXPECT_EQ(OkWrites(), (Values{{L"InputBuf", L"DW:0"}, {L"Timeout", L"DW:0"}, {L"InputSleep", L"DW:0"}}));

    key.SetDword(L"Timeout", 300);
    Open();
    Type(IDC_PORTCFG_TIMEOUT, L"0");
    EXPECT_EQ(OkWrites(), (Values{{L"InputBuf", L"DW:0"}, {L"Timeout", L"DW:0"}, {L"InputSleep", L"DW:0"}}));

    // Text that is no whole number from 0 up (a paste gets past the digits-only
    // style, and a number must fit the field without wrapping) keeps the
    // dialog open with a warning naming the field and its text selected;
    // nothing is taken or written.
    key.SetDword(L"OutputBuf", 512);
    key.SetDword(L"Timeout", 1000);
    const struct {
        int id;
        const wchar_t* text;
        const wchar_t* message;
    } refusals[] = {
        {IDC_PORTCFG_TIMEOUT, L"xyz", L"Please enter a whole number (0 or more) in \"Output Interval time\"!"},
        {IDC_PORTCFG_TIMEOUT, L"12ab", L"Please enter a whole number (0 or more) in \"Output Interval time\"!"},
        {IDC_PORTCFG_TIMEOUT, L"-1", L"Please enter a whole number (0 or more) in \"Output Interval time\"!"},
        {IDC_PORTCFG_TIMEOUT, L"4294967296", L"Please enter a whole number (0 or more) in \"Output Interval time\"!"},
        {IDC_PORTCFG_OUTPUTBUF, L"2147483648", L"Please enter a whole number (0 or more) in \"OutputBuf\"!"},
    };
    for (const auto& c : refusals) {
        Open();
        dlg->ShowWindow(SW_SHOW);
        Type(IDC_PORTCFG_OUTPUTBUF, L"7");
        Type(c.id, c.text);
        const Values before = key.Values();
        boxes->Clear();
        Click(IDOK);
        ASSERT_TRUE(dlg->IsWindow()) << c.text;
        ASSERT_EQ(boxes->Boxes().size(), 1u) << c.text;
        EXPECT_EQ(boxes->Boxes()[0].text, c.message);
        EXPECT_EQ(boxes->Boxes()[0].caption, L"Warning");
        EXPECT_EQ(boxes->Boxes()[0].type, UINT{MB_OK | MB_ICONEXCLAMATION});
        HWND edit = Item(c.id);
        EXPECT_EQ(GetFocus(), edit) << c.text;
        DWORD start = 1, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << c.text;
        EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(edit))) << c.text;
        EXPECT_EQ(key.Values(), before) << c.text;
        EXPECT_EQ(dlg->m_settings.m_outputBuf, 512) << c.text;
        EXPECT_EQ(dlg->m_settings.m_timeout, 1000) << c.text;
        dlg->DestroyWindow();
    }
    // Mended after a refusal, OK takes the edits as they are then: the
    // emptied one gives its loaded value back.
    Open();
    Type(IDC_PORTCFG_OUTPUTBUF, L"7");
    Type(IDC_PORTCFG_TIMEOUT, L"xyz");
    Click(IDOK);
    Type(IDC_PORTCFG_OUTPUTBUF, L"");
    Type(IDC_PORTCFG_TIMEOUT, L"25");
    EXPECT_EQ(OkWrites(), (Values{{L"InputBuf", L"DW:0"}, {L"OutputBuf", L"DW:512"}, {L"Timeout", L"DW:25"},
                                  {L"InputSleep", L"DW:0"}}));
}

TEST_F(PortConfigDlgTest, CancelAndCloseWriteNothing)
{
    SetSerialDevice(key);
    for (bool close : {false, true}) {
        Open();
        Choose(IDC_PORTCFG_PORT, L"COM5");
        Choose(IDC_PORTCFG_BAUDRATE, L"9600 bps");
        Type(IDC_PORTCFG_TIMEOUT, L"77");
        const Values before = key.Values();
        if (close)
            dlg->SendMessage(WM_CLOSE);
        else
            Click(IDCANCEL);
        EXPECT_EQ(dlg->m_hWnd, nullptr);
        EXPECT_EQ(dlg->ModelessResult(), IDCANCEL);
        EXPECT_EQ(key.Values(), before);
    }
}

TEST_F(PortConfigDlgTest, MissingKeyShowsNothingToChoose)
{
    dlg = std::make_unique<CPortConfigDlg>(L"POSPrinter\\FwPort no such device", 10, 3);
    ASSERT_NE(dlg->Create(nullptr), nullptr);
    EXPECT_EQ(Entries(IDC_PORTCFG_PORT), Strings{L"None"});
    EXPECT_EQ(Selected(IDC_PORTCFG_PORT), L"(none)");
    for (int id : kOptionLists) {
        EXPECT_FALSE(IsWindowEnabled(Item(id)));
        EXPECT_EQ(Entries(id), Strings{});
    }
    for (int id : {IDC_PORTCFG_INPUTBUF, IDC_PORTCFG_OUTPUTBUF, IDC_PORTCFG_TIMEOUT, IDC_PORTCFG_INPUTSLEEP})
        EXPECT_EQ(Text(id), L"");
}

// A save that fails is reported and the dialog stays open for Cancel.
TEST_F(PortConfigDlgTest, KeyThatCannotBeWrittenIsReportedAtOk)
{
    SetSerialDevice(key);
    Open();
    Choose(IDC_PORTCFG_BAUDRATE, L"9600 bps");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.FullPath().c_str()); // gone meanwhile
    Click(IDOK);
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(boxes->Boxes()[0].text, L"Setting registry fails!");
    EXPECT_EQ(boxes->Boxes()[0].caption, L"Error");
    EXPECT_EQ(boxes->Boxes()[0].type, UINT{MB_OK | MB_ICONSTOP});
    EXPECT_TRUE(dlg->IsWindow());
    Click(IDCANCEL);
    EXPECT_EQ(dlg->ModelessResult(), IDCANCEL);

    dlg = std::make_unique<CPortConfigDlg>(L"POSPrinter\\FwPort no such device", 10, 3);
    ASSERT_NE(dlg->Create(nullptr), nullptr);
    Click(IDOK);
    EXPECT_EQ(boxes->Boxes().size(), 2u);
    EXPECT_TRUE(dlg->IsWindow());
}

TEST_F(PortConfigDlgTest, ModalRunEndsWithTheButtonPressed)
{
    SetSerialDevice(key);
    {
        uitest::ScopedDialogAnswer answer(IDCANCEL);
        CPortConfigDlg modal(key.DevicePath().c_str(), 10, 3);
        const Values before = key.Values();
        EXPECT_EQ(modal.DoModal(nullptr), IDCANCEL);
        ASSERT_EQ(answer.Captions().size(), 1u);
        EXPECT_EQ(answer.Captions()[0], L"Port Details");
        EXPECT_EQ(key.Values(), before);
    }
    {
        uitest::ScopedDialogAnswer answer(IDOK);
        CPortConfigDlg modal(key.DevicePath().c_str(), 10, 3);
        key.TakeValues();
        key.SetString(L"GroupID", L"S");
        EXPECT_EQ(modal.DoModal(nullptr), IDOK);
        // GroupID was read at construction; the key now holds nothing else to load.
        EXPECT_EQ(key.Values(), (Values{{L"GroupID", L"SZ:S"}, {L"Port", L"SZ:"}}));
    }
}
