#include "OposRegistry.h"

namespace opos_test {

const wchar_t kServiceOpos[] = L"SOFTWARE\\OLEforRetail\\ServiceOPOS";

namespace {
const wchar_t kTestClsid[] = L"{6E1F3C52-8A47-4D0B-9C31-2B5E7F90A1D4}";

std::wstring ClassPath(const wchar_t* deviceClass)
{
    return std::wstring(kServiceOpos) + L"\\" + deviceClass;
}

void SetDefault(const std::wstring& path, const wchar_t* text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (text)
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}
} // namespace

void AddDevices(const wchar_t* deviceClass, const std::vector<std::wstring>& devices)
{
    for (const std::wstring& device : devices) {
        HKEY key = nullptr;
        const std::wstring path = ClassPath(deviceClass) + L"\\" + device;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS)
            RegCloseKey(key);
    }
}

void RemoveDevices(const wchar_t* deviceClass, const std::vector<std::wstring>& devices)
{
    for (const std::wstring& device : devices)
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (ClassPath(deviceClass) + L"\\" + device).c_str());
}

void RemoveClass(const wchar_t* deviceClass)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassPath(deviceClass).c_str());
}

std::vector<std::wstring> EnumDevices(const wchar_t* deviceClass)
{
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ClassPath(deviceClass).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[260];
        DWORD chars = 260;
        if (RegEnumKeyExW(key, i, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name);
    }
    RegCloseKey(key);
    return names;
}

void RegisterControl(const wchar_t* description)
{
    UnregisterControl();
    SetDefault(L"OPOS.POSPrinter", L"OPOS POSPrinter");
    SetDefault(L"OPOS.POSPrinter\\CLSID", kTestClsid);
    SetDefault(std::wstring(L"CLSID\\") + kTestClsid, description);
}

void UnregisterControl()
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"OPOS.POSPrinter");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kTestClsid).c_str());
}

} // namespace opos_test
