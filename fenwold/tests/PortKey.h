// A POSPrinter device key of the running test for the port settings tests,
// with its values read back as "SZ:text" / "DW:number" by name.
#pragma once

#include "DeviceKey.h"

#include <map>
#include <string>

class PortKey : public testkit::DeviceKey {
public:
    PortKey();

    // Relative to ServiceOPOS, as the main frame passes it.
    std::wstring DevicePath() const { return L"POSPrinter\\" + Device(); }
    std::wstring FullPath() const { return PathOf(Device()); }

    // Every value but the default one.
    std::map<std::wstring, std::wstring> Values() const;
    // Values(), then deletes them: what a later save writes is then all the key holds.
    std::map<std::wstring, std::wstring> TakeValues() const;
};
