// The emulated ports present on the machine, as the port driver publishes
// them: devices of its interface class whose device key names the port.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

// {DD434821-0576-4E83-9247-D1C9D415D388}
extern const GUID PortInterfaceGuid;

// Owner of a SetupAPI device information set.
class DeviceInfoSet {
 public:
  explicit DeviceInfoSet(HDEVINFO set) : m_set(set) {}
  ~DeviceInfoSet() { if (IsValid()) SetupDiDestroyDeviceInfoList(m_set); }
  DeviceInfoSet(const DeviceInfoSet&) = delete;
  DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;
  bool IsValid() const { return m_set != INVALID_HANDLE_VALUE && m_set != nullptr; }
  HDEVINFO Get() const { return m_set; }

 private:
  HDEVINFO m_set;
};

// The present devices of PortInterfaceGuid (DIGCF_PRESENT | DIGCF_DEVICEINTERFACE).
HDEVINFO OpenPresentPortDevices(HWND owner);

// Reads a string value into buffer (chars wide, terminator included): true
// only for REG_SZ or REG_EXPAND_SZ data of even length that fits and ends with
// a null.  On false the buffer holds an empty string.
bool ReadPortName(HKEY key, wchar_t* buffer, DWORD chars);

// PortName of every present emulated port, in the device set's order; a
// device whose key can't be opened or whose name doesn't read is left out.
std::vector<std::wstring> ListPortNames(HWND owner);
