// regsvr32 registration and unregistration of Calbrique.dll. Run as the set-up
// of the tests that create the service object by ProgID: it leaves the DLL
// registered.
#include "Processes.h"
#include "com/RegKey.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const wchar_t clsidKey[] = L"CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}";
const wchar_t typeLibKey[] = L"TypeLib\\{94DEE39B-97B0-454F-BC6B-535A125AE0D9}";
const wchar_t interfaceKey[] = L"Interface\\{07EF2627-C16F-4519-972C-BA94105831D0}";

bool KeyExists(const std::wstring& path)
{
    CRegKey key;
    return key.Open(HKEY_CLASSES_ROOT, path.c_str(), KEY_READ) == ERROR_SUCCESS;
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

// Every key below `path` (itself included) with its values, one line each:
// "key" or "key|name=data" ("(default)" for the unnamed value; "<type n>"
// for a value that is not a string).
void List(const std::wstring& path, std::vector<std::string>& lines)
{
    CRegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, path.c_str(), KEY_READ) != ERROR_SUCCESS) return;
    lines.push_back(Narrow(path));
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        BYTE data[1024];
        DWORD bytes = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type, data, &bytes) != ERROR_SUCCESS) break;
        const std::wstring text = type == REG_SZ ? reinterpret_cast<const wchar_t*>(data)
                                                 : L"<type " + std::to_wstring(type) + L">";
        lines.push_back(Narrow(path + L"|" + (nameLength ? name : L"(default)") + L"=" + text));
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key.Get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        List(path + L"\\" + name, lines);
    }
}

std::vector<std::string> RegisteredState()
{
    std::vector<std::string> lines;
    List(L"ZOVUZEREZA.POSPrinter.1", lines);
    List(L"ZOVUZEREZA.POSPrinter", lines);
    List(clsidKey, lines);
    return lines;
}

long Regsvr32(const std::wstring& options, const std::wstring& dll)
{
    return testkit::RunProcess(L"regsvr32.exe " + options + L" \"" + dll + L"\"", 60000);
}

TEST(Registration, Regsvr32RegistersAndUnregistersExactlyTheScriptEntries)
{
    const std::wstring dll = testkit::ProgramFolder() + L"Calbrique.dll";
    {
        // A stale subkey of the class key goes: the key is force-removed first.
        CRegKey stale;
        ASSERT_EQ(stale.Create(HKEY_CLASSES_ROOT, (std::wstring(clsidKey) + L"\\Stale").c_str(), KEY_WRITE), ERROR_SUCCESS);
    }

    ASSERT_EQ(Regsvr32(L"/s", dll), 0);
    const std::string module = Narrow(dll);
    const std::vector<std::string> expected = {
        "ZOVUZEREZA.POSPrinter.1",
        "ZOVUZEREZA.POSPrinter.1|(default)=ZOVUZEREZA.POSPrinter.1",
        "ZOVUZEREZA.POSPrinter.1\\CLSID",
        "ZOVUZEREZA.POSPrinter.1\\CLSID|(default)={A2D53531-D1B5-445F-89A6-82A5C1D330F0}",
        "ZOVUZEREZA.POSPrinter",
        "ZOVUZEREZA.POSPrinter|(default)=ZOVUZEREZA.POSPrinter",
        "ZOVUZEREZA.POSPrinter\\CLSID",
        "ZOVUZEREZA.POSPrinter\\CLSID|(default)={A2D53531-D1B5-445F-89A6-82A5C1D330F0}",
        "ZOVUZEREZA.POSPrinter\\CurVer",
        "ZOVUZEREZA.POSPrinter\\CurVer|(default)=ZOVUZEREZA.POSPrinter.1",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}|(default)=ZOVUZEREZA.POSPrinter.1",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\InprocServer32",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\InprocServer32|(default)=" + module,
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\InprocServer32|ThreadingModel=Apartment",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\ProgID",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\ProgID|(default)=ZOVUZEREZA.POSPrinter.1",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\Programmable",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\TypeLib",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\TypeLib|(default)={94DEE39B-97B0-454F-BC6B-535A125AE0D9}",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\VersionIndependentProgID",
        "CLSID\\{A2D53531-D1B5-445F-89A6-82A5C1D330F0}\\VersionIndependentProgID|(default)=ZOVUZEREZA.POSPrinter",
    };
    std::vector<std::string> actual = RegisteredState();
    std::vector<std::string> sortedExpected = expected;
    std::sort(actual.begin(), actual.end());
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(actual, sortedExpected);
    EXPECT_TRUE(KeyExists(std::wstring(typeLibKey) + L"\\1.0\\0\\win" + (sizeof(void*) == 8 ? L"64" : L"32")));
    EXPECT_TRUE(KeyExists(interfaceKey));

    ASSERT_EQ(Regsvr32(L"/u /s", dll), 0);
    EXPECT_EQ(RegisteredState(), std::vector<std::string>());
    EXPECT_TRUE(KeyExists(L"CLSID"));
    EXPECT_FALSE(KeyExists(typeLibKey));

    // Registered again for the tests that follow.
    ASSERT_EQ(Regsvr32(L"/s", dll), 0);
    EXPECT_TRUE(KeyExists(clsidKey));
}

}  // namespace
