// The Add New Device dialog built in-process with the program's resources,
// driven by messages: catalogue in the current directory, device keys in the
// registry, message boxes answered and recorded.
#include "AddDevDlg.h"
#include "CatalogueFolder.h"
#include "Processes.h"
#include "ReadOnlyKey.h"
#include "testing/BoxAnswer.h"
#include "testing/ComboChoice.h"
#include "testing/DialogAnswer.h"
#include "ui/Module.h"

#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {
const wchar_t kServiceOpos[] = L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\";
const wchar_t kServiceClsid[] = L"{A2D53531-D1B5-445F-89A6-82A5C1D330F0}";

// A registry value as the tests compare it: REG_SZ text or REG_DWORD number.
struct Value {
    DWORD type = REG_NONE;
    std::wstring text;
    DWORD number = 0;
    bool operator==(const Value& other) const
    {
        return type == other.type && text == other.text && number == other.number;
    }
};
Value Sz(const std::wstring& text) { return {REG_SZ, text, 0}; }
Value Dw(DWORD number) { return {REG_DWORD, L"", number}; }

std::ostream& operator<<(std::ostream& out, const Value& value)
{
    if (value.type == REG_DWORD)
        return out << "REG_DWORD " << value.number;
    std::string text;
    for (wchar_t c : value.text)
        text += c < 128 ? static_cast<char>(c) : '?';
    return out << "type " << value.type << " \"" << text << "\"";
}

using Values = std::map<std::wstring, Value>;

bool KeyExists(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Every value of HKLM\<path> (REG_SZ data without its terminator).
Values ReadValues(const std::wstring& path)
{
    Values values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD nameChars = 512;
        BYTE data[2048] = {};
        DWORD bytes = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &nameChars, nullptr, &type, data, &bytes) != ERROR_SUCCESS)
            break;
        Value value;
        value.type = type;
        if (type == REG_DWORD && bytes == sizeof(DWORD))
            value.number = *reinterpret_cast<const DWORD*>(data);
        else if (type == REG_SZ) {
            const auto* text = reinterpret_cast<const wchar_t*>(data);
            std::wstring s(text, bytes / sizeof(wchar_t));
            EXPECT_TRUE(!s.empty() && s.back() == L'\0') << "REG_SZ without its terminator";
            value.text = s.c_str();
        }
        values[name] = value;
    }
    RegCloseKey(key);
    return values;
}

void SetString(const std::wstring& path, const wchar_t* name, const wchar_t* text)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// $C stands for the test's device class.
const char kCatalogue[] = R"(<?xml version="1.0"?>
<catalogue>
  <device type="$C" model="Beta Printer" soname="ZOVUZEREZA.POSPrinter">
    <param port="none" name="DeviceDesc" value="Beta description"/>
    <param port="none" name="Port" value=""/>
    <param port="none" name="Timeout" type="dword" value="0x3E8"/>
    <param port="serial" name="GroupID" value="BETAS"/>
    <param port="serial" name="Port" value="COM3"/>
    <param port="serial" name="Baudrate" type="dword" value="6"/>
    <param port="serial" name="BaudrateSel" value="5,6,7"/>
    <param port="parallel" name="GroupID" value="BETAP"/>
    <param port="parallel" name="Port" value="LPT2"/>
    <param port="usb" name="GroupID" value="BETAU"/>
  </device>
  <group>
    <device type="$C" model="Alpha Printer" soname="so.Alpha">
      <param port="ethernet" name="DeviceDesc" value="Alpha description"/>
      <param port="ethernet" name="GroupID" value="ALPHAE"/>
    </device>
  </group>
  <device type="$C" model="None Only" soname="so.None">
    <param port="none" name="DeviceDesc" value="no port kind"/>
  </device>
  <device type="$C" model="Beta Printer" soname="so.Second">
    <param port="ethernet" name="DeviceDesc" value="shadowed"/>
    <param port="ethernet" name="GroupID" value="SHADOWE"/>
  </device>
  <device type="Other$C" model="Other Class"/>
</catalogue>)";

class AddDevDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        boxes = std::make_unique<uitest::ScopedBoxAnswer>(IDOK);
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string("FwAddDev.") + test->name();
        className.assign(name.begin(), name.end());
        classPath = kServiceOpos + className;
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, classPath.c_str());
    }
    void TearDown() override
    {
        dlg.reset();
        boxes.reset();
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, classPath.c_str());
        CoUninitialize();
    }

    void Open(const std::string& catalogue = kCatalogue)
    {
        std::string narrow(className.begin(), className.end());
        folder.Write(Replace(catalogue, "$C", narrow));
        dlg = std::make_unique<CAddDevDlg>();
        dlg->m_className = className.c_str();
        ASSERT_NE(dlg->Create(nullptr), nullptr);
    }

    CComboBox Combo(int id) const { return CComboBox(dlg->GetDlgItem(id)); }
    std::vector<std::wstring> Items(int id) const
    {
        std::vector<std::wstring> items;
        const CComboBox combo = Combo(id);
        for (int i = 0; i < combo.GetCount(); ++i)
            items.emplace_back(combo.GetLBText(i).GetString());
        return items;
    }
    std::wstring Text(int id) const { return CWindow(dlg->GetDlgItem(id)).GetWindowText().GetString(); }
    std::wstring PortText() const
    {
        const CComboBox combo = Combo(IDC_ADDDEV_PORT_KIND);
        return combo.GetCurSel() < 0 ? L"" : combo.GetLBText(combo.GetCurSel()).GetString();
    }

    // Selects item `index` of the model list as a click would: for items
    // that their text does not tell apart (a second one of a name, an empty one).
    void PickIndex(int index)
    {
        const CComboBox combo = Combo(IDC_ADDDEV_MODEL);
        ASSERT_EQ(combo.SetCurSel(index), index);
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADDDEV_MODEL, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.m_hWnd));
    }
    void Pick(const wchar_t* model)
    {
        ASSERT_TRUE(uitest::ChooseByText(Combo(IDC_ADDDEV_MODEL), model)) << "no model item";
    }
    void PickPort(const wchar_t* label)
    {
        ASSERT_TRUE(uitest::ChooseByText(Combo(IDC_ADDDEV_PORT_KIND), label)) << label;
    }
    void TypeLdn(const wchar_t* text) { dlg->SetDlgItemText(IDC_ADDDEV_LDN, text); }
    void Click(int id)
    {
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(dlg->GetDlgItem(id)));
    }

    std::wstring DevicePath(const std::wstring& model) const { return classPath + L"\\" + model; }
    // "Service" as the dialog finds it now: the service object's registered
    // module, when it is registered.
    static void AddService(Values& values)
    {
        const CString service = GetInprocServerPath(kServiceClsid);
        if (!service.IsEmpty())
            values[L"Service"] = Sz(service.GetString());
    }
    void Answer(int answer)
    {
        boxes.reset();
        boxes = std::make_unique<uitest::ScopedBoxAnswer>(answer);
    }
    void ExpectOneBox(const wchar_t* text, const wchar_t* caption, UINT type)
    {
        ASSERT_EQ(boxes->Boxes().size(), 1u);
        EXPECT_EQ(boxes->Boxes()[0].text, text);
        EXPECT_EQ(boxes->Boxes()[0].caption, caption);
        EXPECT_EQ(boxes->Boxes()[0].type, type);
        boxes->Clear();
    }

    std::unique_ptr<uitest::ScopedBoxAnswer> boxes;
    CatalogueFolder folder;
    std::wstring className;
    std::wstring classPath;
    // A dialog object serves one run: each Open makes a new one.
    std::unique_ptr<CAddDevDlg> dlg = std::make_unique<CAddDevDlg>();
};

// While alive, this program's writes of the registry value `name` fail with
// `error`; other writes go through. The program's import slot of
// RegSetValueExW is pointed elsewhere for it.
class RefusedValueWrite {
public:
    RefusedValueWrite(const wchar_t* name, LONG error)
    {
        s_name = name;
        s_error = error;
        s_real = &::RegSetValueExW;  // what the import slot holds
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name && !m_slot; ++dll)
            for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk); slot->u1.Function; ++slot)
                if (slot->u1.Function == reinterpret_cast<ULONG_PTR>(s_real))
                    m_slot = slot;
        if (m_slot)
            Point(reinterpret_cast<ULONG_PTR>(&Refuse));
    }
    ~RefusedValueWrite()
    {
        if (m_slot)
            Point(reinterpret_cast<ULONG_PTR>(s_real));
    }
    RefusedValueWrite(const RefusedValueWrite&) = delete;
    RefusedValueWrite& operator=(const RefusedValueWrite&) = delete;

    bool Installed() const { return m_slot != nullptr; }

private:
    using SetValue = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);
    static LONG WINAPI Refuse(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD bytes)
    {
        return name && s_name == name ? s_error : s_real(key, name, reserved, type, data, bytes);
    }
    void Point(ULONG_PTR to)
    {
        DWORD protection = 0;
        VirtualProtect(&m_slot->u1.Function, sizeof(ULONG_PTR), PAGE_READWRITE, &protection);
        m_slot->u1.Function = to;
        VirtualProtect(&m_slot->u1.Function, sizeof(ULONG_PTR), protection, &protection);
    }

    static inline std::wstring s_name;
    static inline LONG s_error = ERROR_SUCCESS;
    static inline SetValue s_real = nullptr;
    IMAGE_THUNK_DATA* m_slot = nullptr;
};

constexpr UINT kWarning = MB_OK | MB_ICONEXCLAMATION;
constexpr UINT kError = MB_OK | MB_ICONSTOP;

} // namespace

TEST_F(AddDevDlgTest, OpensWithTheClassModelsSortedAndNothingChosen)
{
    Open();
    EXPECT_EQ(Items(IDC_ADDDEV_MODEL),
              (std::vector<std::wstring>{L"Alpha Printer", L"Beta Printer", L"Beta Printer", L"None Only"}));
    EXPECT_EQ(Combo(IDC_ADDDEV_MODEL).GetCurSel(), CB_ERR);
    EXPECT_TRUE(Items(IDC_ADDDEV_PORT_KIND).empty());
    EXPECT_EQ(Text(IDC_ADDDEV_DESCRIPTION), L"");
    EXPECT_EQ(Text(IDC_ADDDEV_LDN), L"");
    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_FALSE(KeyExists(classPath));
}

TEST_F(AddDevDlgTest, DialogResourceIsEnglishOnlyWithTheListedControls)
{
    HMODULE module = ui::ResourceInstance();
    EXPECT_NE(FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(IDD_ADD_DEVICE), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), nullptr);
    EXPECT_EQ(FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(IDD_ADD_DEVICE), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)), nullptr);
    Open();
    EXPECT_EQ(CWindow(*dlg).GetWindowText(), L"Add New Device");
    const DWORD modelStyle = CWindow(dlg->GetDlgItem(IDC_ADDDEV_MODEL)).GetStyle();
    EXPECT_EQ(modelStyle & (CBS_DROPDOWNLIST | CBS_SORT), DWORD(CBS_DROPDOWNLIST | CBS_SORT));
    const DWORD portStyle = CWindow(dlg->GetDlgItem(IDC_ADDDEV_PORT_KIND)).GetStyle();
    EXPECT_EQ(portStyle & (CBS_DROPDOWNLIST | CBS_SORT), DWORD(CBS_DROPDOWNLIST));
    const DWORD descriptionStyle = CWindow(dlg->GetDlgItem(IDC_ADDDEV_DESCRIPTION)).GetStyle();
    EXPECT_TRUE(descriptionStyle & ES_READONLY);
    EXPECT_TRUE(descriptionStyle & ES_AUTOHSCROLL);
    EXPECT_FALSE(CWindow(dlg->GetDlgItem(IDC_ADDDEV_LDN)).GetStyle() & ES_READONLY);
    EXPECT_EQ(Text(IDC_ADDDEV_DEVICE_GROUP), L"Select Device");
    EXPECT_EQ(Text(IDC_ADDDEV_LDN_GROUP), L"Set Logical Device Name");
    EXPECT_EQ(Text(IDOK), L"Ok");
    EXPECT_EQ(Text(IDCANCEL), L"Cancel");
    // 291 x 200 dialog units.
    RECT units = {0, 0, 291, 200};
    MapDialogRect(*dlg, &units);
    RECT client;
    dlg->GetClientRect(&client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
}

TEST_F(AddDevDlgTest, PickingAnyItemShowsThatModelsDescriptionAndPortKinds)
{
    Open();
    TypeLdn(L"typed before the pick");
    Pick(L"Alpha Printer");
    EXPECT_EQ(Text(IDC_ADDDEV_DESCRIPTION), L"Alpha description");
    EXPECT_EQ(Items(IDC_ADDDEV_PORT_KIND), (std::vector<std::wstring>{L"Ethernet"}));
    EXPECT_EQ(PortText(), L"Ethernet");
    EXPECT_EQ(Text(IDC_ADDDEV_LDN), L"typed before the pick"); // a pick changes the description only

    // Both "Beta Printer" items stand for the first entry of that model.
    for (int index : {1, 2}) {
        PickIndex(index);
        EXPECT_EQ(Text(IDC_ADDDEV_DESCRIPTION), L"Beta description");
        EXPECT_EQ(Items(IDC_ADDDEV_PORT_KIND), (std::vector<std::wstring>{L"Serial", L"Parallel", L"USB"}));
        EXPECT_EQ(PortText(), L"Serial");
    }

    Pick(L"None Only");
    EXPECT_EQ(Text(IDC_ADDDEV_DESCRIPTION), L"no port kind");
    EXPECT_TRUE(Items(IDC_ADDDEV_PORT_KIND).empty());
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(AddDevDlgTest, OkWritesTheDeviceKeyForTheChosenPortKindAndTheLdn)
{
    Open();
    Pick(L"Beta Printer");
    PickPort(L"Parallel");
    TypeLdn(L"FrontPrinter");
    Click(IDOK);
    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_EQ(dlg->m_hWnd, nullptr);
    EXPECT_EQ(dlg->ModelessResult(), IDOK);

    // The class key came with the first device.
    Values device = {
        {L"", Sz(L"ZOVUZEREZA.POSPrinter")},
        {L"DeviceDesc", Sz(L"Beta description")},
        {L"Port", Sz(L"LPT2")}, // the parallel value after the default ""
        {L"Timeout", Dw(1000)},
        {L"GroupID", Sz(L"BETAP")},
    };
    AddService(device);
    EXPECT_EQ(ReadValues(DevicePath(L"Beta Printer")), device);
    EXPECT_EQ(ReadValues(classPath), (Values{{L"FrontPrinter", Sz(L"Beta Printer")}}));
}

TEST_F(AddDevDlgTest, SerialValuesAndNoLdnWhenTheFieldIsEmpty)
{
    Open();
    Pick(L"Beta Printer");
    Click(IDOK); // Serial, the first kind, is selected by the pick
    EXPECT_EQ(dlg->ModelessResult(), IDOK);
    Values device = {
        {L"", Sz(L"ZOVUZEREZA.POSPrinter")},
        {L"DeviceDesc", Sz(L"Beta description")},
        {L"Port", Sz(L"COM3")},
        {L"Timeout", Dw(1000)},
        {L"GroupID", Sz(L"BETAS")},
        {L"Baudrate", Dw(6)},
        {L"BaudrateSel", Sz(L"5,6,7")},
    };
    AddService(device);
    EXPECT_EQ(ReadValues(DevicePath(L"Beta Printer")), device);
    EXPECT_TRUE(ReadValues(classPath).empty());
}

TEST_F(AddDevDlgTest, OkWithoutAModelWarnsAndStaysOpen)
{
    Open();
    TypeLdn(L"Kept");
    Click(IDOK);
    ExpectOneBox(L"Please select a device!", L"Warning", kWarning);
    EXPECT_NE(dlg->m_hWnd, nullptr);
    EXPECT_EQ(Text(IDC_ADDDEV_LDN), L"Kept");
    EXPECT_FALSE(KeyExists(classPath));

    // The next pick keeps it too.
    Pick(L"Alpha Printer");
    EXPECT_EQ(Text(IDC_ADDDEV_LDN), L"Kept");
}

TEST_F(AddDevDlgTest, ModelWithoutPortKindWarnsAndWritesNothing)
{
    Open();
    Pick(L"None Only");
    Click(IDOK);
    ExpectOneBox(L"Please select a port!", L"Warning", kWarning);
    EXPECT_NE(dlg->m_hWnd, nullptr);
    EXPECT_FALSE(KeyExists(classPath));
}

TEST_F(AddDevDlgTest, MissingOrBrokenCatalogueGivesAnEmptyListAndTheModelWarning)
{
    for (const char* file : {"", "<catalogue><device type=\"$C\" model=\"Open\">"}) {
        Open(file);
        EXPECT_EQ(Combo(IDC_ADDDEV_MODEL).GetCount(), 0);
        Click(IDOK);
        ExpectOneBox(L"Please select a device!", L"Warning", kWarning);
        Click(IDCANCEL);
        EXPECT_EQ(dlg->ModelessResult(), IDCANCEL);
    }
    EXPECT_FALSE(KeyExists(classPath));
}

TEST_F(AddDevDlgTest, AddingAModelThatExistsAsksAndReplacesTheWholeKeyOnlyOnYes)
{
    SetString(DevicePath(L"Alpha Printer"), L"Port", L"COM7");
    SetString(DevicePath(L"Alpha Printer") + L"\\Sub", L"Inner", L"x");
    SetString(classPath, L"OldName", L"Alpha Printer");
    const Values before = ReadValues(DevicePath(L"Alpha Printer"));
    Open();
    Pick(L"Alpha Printer");

    Answer(IDNO);
    Click(IDOK);
    ExpectOneBox(L"Device \"Alpha Printer\" exists already.\nDo you want to replace it and all its settings?",
                 (className + L"\\Alpha Printer").c_str(), MB_YESNO | MB_ICONQUESTION);
    EXPECT_NE(dlg->m_hWnd, nullptr) << "No keeps the dialog open";
    EXPECT_EQ(ReadValues(DevicePath(L"Alpha Printer")), before);
    EXPECT_TRUE(KeyExists(DevicePath(L"Alpha Printer") + L"\\Sub"));

    Answer(IDYES);
    Click(IDOK);
    EXPECT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_EQ(dlg->ModelessResult(), IDOK);
    Values device = {
        {L"", Sz(L"so.Alpha")},
        {L"DeviceDesc", Sz(L"Alpha description")},
        {L"GroupID", Sz(L"ALPHAE")},
    };
    AddService(device);
    EXPECT_EQ(ReadValues(DevicePath(L"Alpha Printer")), device) << "the configured Port went with the old key";
    EXPECT_FALSE(KeyExists(DevicePath(L"Alpha Printer") + L"\\Sub"));
    EXPECT_EQ(ReadValues(classPath), (Values{{L"OldName", Sz(L"Alpha Printer")}})) << "its logical names stay";
}

TEST_F(AddDevDlgTest, LdnIsCheckedLikeAddNewLdnBeforeAnythingIsWritten)
{
    SetString(classPath, L"Taken", L"Some Other Device");
    Open();
    Pick(L"Alpha Printer");
    TypeLdn(L"Seventeen chars!!");
    Click(IDOK);
    ExpectOneBox(L"Logical device name is invalid!", L"Error", kError);
    TypeLdn(L"taken"); // in the class already, in other letter case
    Click(IDOK);
    ExpectOneBox(L"The new name exists!", L"Error", kError);
    EXPECT_NE(dlg->m_hWnd, nullptr);
    EXPECT_FALSE(KeyExists(DevicePath(L"Alpha Printer")));
    EXPECT_EQ(ReadValues(classPath), (Values{{L"Taken", Sz(L"Some Other Device")}}));

    TypeLdn(L"Sixteen chars!!!");
    Click(IDOK);
    EXPECT_EQ(dlg->ModelessResult(), IDOK);
    EXPECT_EQ(ReadValues(classPath).at(L"Sixteen chars!!!"), Sz(L"Alpha Printer"));
}

TEST_F(AddDevDlgTest, LaterValuesOfANameWinEvenOverSonameAndService)
{
    Open(R"(<c><device type="$C" model="Layered" soname="so.Layered">
  <param port="none" value="named default"/>
  <param port="none" name="Service" value="from the catalogue"/>
  <param port="usb" name="Mode" value="text"/>
  <param port="none" name="mode" type="dword" value="7"/>
  <param port="serial" name="Mode" value="serial only"/>
</device></c>)");
    Pick(L"Layered");
    EXPECT_EQ(Items(IDC_ADDDEV_PORT_KIND), (std::vector<std::wstring>{L"Serial", L"USB"}));
    PickPort(L"USB");
    Click(IDOK);
    EXPECT_EQ(dlg->ModelessResult(), IDOK);
    const Values device = ReadValues(DevicePath(L"Layered"));
    EXPECT_EQ(device.at(L""), Sz(L"named default"));
    EXPECT_EQ(device.at(L"Mode"), Dw(7));
    const CString service = GetInprocServerPath(kServiceClsid);
    EXPECT_EQ(device.at(L"Service"), Sz(service.IsEmpty() ? L"from the catalogue" : service.GetString()));
}

TEST_F(AddDevDlgTest, CancelCloseAndEscWriteNothing)
{
    for (int way = 0; way < 3; ++way) {
        Open();
        Pick(L"Beta Printer");
        TypeLdn(L"Never");
        if (way == 0)
            Click(IDCANCEL);
        else if (way == 1)
            dlg->SendMessage(WM_CLOSE);
        else {
            MSG esc = {Combo(IDC_ADDDEV_MODEL), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
            EXPECT_TRUE(IsDialogMessageW(*dlg, &esc));
        }
        EXPECT_EQ(dlg->m_hWnd, nullptr) << way;
        EXPECT_EQ(dlg->ModelessResult(), IDCANCEL) << way;
    }
    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_FALSE(KeyExists(classPath));
}

TEST_F(AddDevDlgTest, FailedValueWriteOrKeyCreationReportsItsCodeAndLeavesNoDevice)
{
    // The registry takes value names of up to 16383 characters, no
    // non-volatile device key below a volatile class key, and no logical name
    // in a class key the user may only read (Wine lets the device key be
    // created below it all the same). A logical name whose write fails after
    // the class key has opened for writing: Wine checks access as a key opens
    // and then refuses a short value name only on a key deleted meanwhile, so
    // that write is refused in the program's import of RegSetValueExW.
    Open("<c><device type=\"$C\" model=\"Long\" soname=\"so.Long\"><param port=\"serial\" name=\"" +
         std::string(16384, 'n') + "\" value=\"x\"/></device>"
         "<device type=\"$C\" model=\"Plain\" soname=\"so.Plain\"><param port=\"serial\" name=\"Port\" value=\"COM1\"/></device></c>");
    enum class ClassKey { AsItIs, Volatile, ReadOnly, RefusesTheWrite };
    const struct {
        const wchar_t* model;
        ClassKey classKey;
        const wchar_t* message;
    } cases[] = {{L"Long", ClassKey::AsItIs, L"Fails to add device! [87]"},
                 {L"Plain", ClassKey::Volatile, L"Fails to add device! [1021]"},
                 {L"Plain", ClassKey::ReadOnly, L"Fails to add device! [5]"},
                 {L"Plain", ClassKey::RefusesTheWrite, L"Fails to add device! [1016]"}};
    for (const auto& c : cases) {
        std::optional<testkit::ReadOnlyKey> readOnly;
        std::optional<RefusedValueWrite> refused;
        if (c.classKey != ClassKey::AsItIs) {
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, classPath.c_str());
            HKEY created = nullptr;
            const DWORD options = c.classKey == ClassKey::Volatile ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE;
            ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, classPath.c_str(), 0, nullptr, options, KEY_WRITE, nullptr,
                                      &created, nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(created);
        }
        if (c.classKey == ClassKey::ReadOnly) {
            readOnly.emplace(classPath);
            ASSERT_TRUE(readOnly->Restricted());
        }
        if (c.classKey == ClassKey::RefusesTheWrite) {
            refused.emplace(L"NotWritten", ERROR_REGISTRY_IO_FAILED);
            ASSERT_TRUE(refused->Installed());
        }
        Pick(c.model);
        TypeLdn(L"NotWritten");
        Click(IDOK);
        ExpectOneBox(c.message, L"Error", kError);
        EXPECT_NE(dlg->m_hWnd, nullptr);
        EXPECT_FALSE(KeyExists(DevicePath(c.model))) << c.message;
        EXPECT_TRUE(ReadValues(classPath).empty()) << c.message;
    }
}

TEST_F(AddDevDlgTest, ItemMissingFromTheCatalogueReports259)
{
    Open();
    Combo(IDC_ADDDEV_MODEL).AddString(L"Ghost");
    Pick(L"Ghost");
    EXPECT_TRUE(Items(IDC_ADDDEV_PORT_KIND).empty());
    Combo(IDC_ADDDEV_PORT_KIND).AddString(L"Serial");
    PickPort(L"Serial");
    Click(IDOK);
    ExpectOneBox(L"Fails to add device! [259]", L"Error", kError);
    EXPECT_FALSE(KeyExists(classPath));
}

// A model without a name, or with a backslash, names no device key: the
// empty one would address (and delete) the class key itself.
TEST_F(AddDevDlgTest, ModelThatNamesNoKeyIsRefusedAndTheClassKeyKept)
{
    SetString(classPath, L"ExistingLdn", L"Some Device");
    Open(R"(<c><device type="$C" soname="so.Nameless"><param port="serial" name="Port" value="COM1"/></device>
<device type="$C" model="Two\Levels" soname="so.Nested"><param port="serial" name="Port" value="COM1"/></device></c>)");
    ASSERT_EQ(Items(IDC_ADDDEV_MODEL), (std::vector<std::wstring>{L"", L"Two\\Levels"}));
    for (int index : {0, 1}) {
        PickIndex(index);
        EXPECT_EQ(PortText(), L"Serial");
        TypeLdn(L"NewLdn");
        Click(IDOK);
        ExpectOneBox(L"Fails to add device! [123]", L"Error", kError);
        EXPECT_NE(dlg->m_hWnd, nullptr);
    }
    EXPECT_EQ(ReadValues(classPath), (Values{{L"ExistingLdn", Sz(L"Some Device")}}));
    EXPECT_FALSE(KeyExists(DevicePath(L"Two")));
}

TEST_F(AddDevDlgTest, ModalRunEndsWithOkAfterWritingOrWithCancel)
{
    folder.Write(Replace(kCatalogue, "$C", std::string(className.begin(), className.end())));
    for (int answer : {IDCANCEL, IDOK}) {
        CAddDevDlg modal;
        modal.m_className = className.c_str();
        uitest::ScopedDialogAnswer running([&](HWND dialog) {
            EXPECT_TRUE(uitest::ChooseByText(GetDlgItem(dialog, IDC_ADDDEV_MODEL), L"Alpha Printer"));
            return answer;
        });
        EXPECT_EQ(modal.DoModal(nullptr), answer);
        EXPECT_EQ(modal.m_hWnd, nullptr);
        EXPECT_EQ(KeyExists(DevicePath(L"Alpha Printer")), answer == IDOK);
    }
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(AddDevDlgTest, CashDrawerDeviceGetsThePrinterServiceObjectsPath)
{
    // Calbrique.dll is registered by the registration test this one runs after;
    // registering it again here would take its keys away from tests running meanwhile.
    const CString service = GetInprocServerPath(kServiceClsid);
    ASSERT_GE(service.GetLength(), 14);
    EXPECT_EQ(service.Right(14).CompareNoCase(L"\\Calbrique.dll"), 0);

    // The real class, with a model of this test's own.
    const std::wstring drawer = std::wstring(kServiceOpos) + L"CashDrawer\\FwAddDevTest Drawer";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, drawer.c_str());
    folder.Write(R"(<c><device type="CashDrawer" model="FwAddDevTest Drawer" soname="so.Drawer">
  <param port="usb" name="GroupID" value="DRAWERU"/></device></c>)");
    dlg->m_className = L"CashDrawer";
    ASSERT_NE(dlg->Create(nullptr), nullptr);
    Pick(L"FwAddDevTest Drawer");
    Click(IDOK);
    EXPECT_EQ(dlg->ModelessResult(), IDOK);
    EXPECT_EQ(ReadValues(drawer), (Values{{L"", Sz(L"so.Drawer")}, {L"GroupID", Sz(L"DRAWERU")}, {L"Service", Sz(service.GetString())}}));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, drawer.c_str());
}

namespace {
// A class id of these tests' own below HKCR\CLSID.
const wchar_t kTestClsid[] = L"{0D9E37C4-5B61-4F0A-8E2B-7C14A6D3F981}";
const std::wstring kTestServer = std::wstring(L"CLSID\\") + kTestClsid + L"\\InprocServer32";

void SetServer(DWORD type, const void* data, DWORD bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, kTestServer.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
}
} // namespace

TEST(GetInprocServerPath, ReadsTheStringDefaultValueUnexpandedElseEmpty)
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kTestClsid).c_str());
    EXPECT_EQ(GetInprocServerPath(kTestClsid), L"");

    const wchar_t plain[] = L"C:\\Program Files\\Norvale\\Calbrique.dll";
    SetServer(REG_SZ, plain, sizeof(plain));
    EXPECT_EQ(GetInprocServerPath(kTestClsid), plain);

    const wchar_t expandable[] = L"%ProgramFiles%\\Calbrique.dll";
    SetServer(REG_EXPAND_SZ, expandable, sizeof(expandable));
    EXPECT_EQ(GetInprocServerPath(kTestClsid), expandable);

    // Stored without its terminator: the text still ends where the data does.
    const wchar_t bare[] = {L'a', L'.', L'd', L'l', L'l'};
    SetServer(REG_SZ, bare, sizeof(bare));
    EXPECT_EQ(GetInprocServerPath(kTestClsid), L"a.dll");

    const DWORD number = 5;
    SetServer(REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(GetInprocServerPath(kTestClsid), L"");

    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kTestClsid).c_str());
}
