#include "DeviceKey.h"

#include "com/RegKey.h"

#include <stdexcept>

namespace testkit {

std::wstring DeviceKey::PathOf(const std::wstring& device)
{
    return L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter\\" + device;
}

DeviceKey::DeviceKey(std::wstring device, const wchar_t* progId) : Name(std::move(device))
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, PathOf(Name).c_str());
    CRegKey key;
    if (key.Create(HKEY_LOCAL_MACHINE, PathOf(Name).c_str(), KEY_WRITE) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the device key");
    if (progId) SetString(nullptr, progId);
}

DeviceKey::~DeviceKey()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, PathOf(Name).c_str());
}

void DeviceKey::SetString(const wchar_t* name, const std::wstring& value, DWORD type) const
{
    SetRaw(name, type, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void DeviceKey::SetDword(const wchar_t* name, DWORD value) const
{
    SetRaw(name, REG_DWORD, &value, sizeof value);
}

void DeviceKey::SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) const
{
    if (RegSetKeyValueW(HKEY_LOCAL_MACHINE, PathOf(Name).c_str(), name, type, data, size) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write a device value");
}

}  // namespace testkit
