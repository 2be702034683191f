#include "PortKey.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::wstring TestDevice()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "_" + test->name();
    return L"FwPort_" + std::wstring(name.begin(), name.end());
}

} // namespace

PortKey::PortKey() : testkit::DeviceKey(TestDevice()) {}

std::map<std::wstring, std::wstring> PortKey::Values() const
{
    std::map<std::wstring, std::wstring> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, FullPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameChars = 256;
        DWORD type = 0;
        std::vector<BYTE> data(1024);
        DWORD size = static_cast<DWORD>(data.size());
        if (RegEnumValueW(key, i, name, &nameChars, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        if (nameChars == 0)
            continue;
        std::wstring shown;
        if (type == REG_SZ)
            shown = L"SZ:" + std::wstring(std::wstring(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t)).c_str());
        else if (type == REG_DWORD && size == sizeof(DWORD))
            shown = L"DW:" + std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
        else
            shown = L"type " + std::to_wstring(type);
        values[name] = shown;
    }
    RegCloseKey(key);
    return values;
}

std::map<std::wstring, std::wstring> PortKey::TakeValues() const
{
    const std::map<std::wstring, std::wstring> values = Values();
    for (const auto& value : values)
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, FullPath().c_str(), value.first.c_str());
    return values;
}
