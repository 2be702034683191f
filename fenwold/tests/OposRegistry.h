// Registry set-up of the tests: device keys under ServiceOPOS and a stand-in
// registration of the POSPrinter control object.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace opos_test {

extern const wchar_t kServiceOpos[];

// Creates ServiceOPOS\<deviceClass>\<device> for each device.
void AddDevices(const wchar_t* deviceClass, const std::vector<std::wstring>& devices);
void RemoveDevices(const wchar_t* deviceClass, const std::vector<std::wstring>& devices);
// Removes the whole class key.
void RemoveClass(const wchar_t* deviceClass);
// The class key's subkeys in the registry's enumeration order.
std::vector<std::wstring> EnumDevices(const wchar_t* deviceClass);

// Registers OPOS.POSPrinter with a test class id; `description` null leaves
// the class key without its default value.
void RegisterControl(const wchar_t* description);
void UnregisterControl();

} // namespace opos_test
