#pragma once

#include <string>
#include <windows.h>

namespace testkit {

// A POSPrinter device key under SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter
// for one test: made afresh (default value: the service object's ProgID),
// deleted with its values when the owner goes.
class DeviceKey
{
public:
    explicit DeviceKey(std::wstring device, const wchar_t* progId = L"ZOVUZEREZA.POSPrinter");
    ~DeviceKey();
    DeviceKey(const DeviceKey&) = delete;
    DeviceKey& operator=(const DeviceKey&) = delete;

    static std::wstring PathOf(const std::wstring& device);

    void SetString(const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ) const;
    void SetDword(const wchar_t* name, DWORD value) const;
    // A value of any type, stored as given.
    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) const;

    const std::wstring& Device() const { return Name; }

private:
    std::wstring Name;
};

}  // namespace testkit
