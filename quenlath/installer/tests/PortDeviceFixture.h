// Emulated-port devices made directly with SetupAPI, the way the port driver
// publishes them, and clean-up of devices left by tests.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

// Hardware id of the devices that FakePortDevice makes.
extern const wchar_t kFakeHardwareId[];

// Removes every device with this hardware id; returns how many.
int RemoveDevicesWithHardwareId(const wchar_t* hardwareId);

// A root device with the port interface, linked (present); its PortName is
// whatever the test writes.  Removed when destroyed.
class FakePortDevice {
 public:
  FakePortDevice();
  ~FakePortDevice();
  FakePortDevice(const FakePortDevice&) = delete;
  FakePortDevice& operator=(const FakePortDevice&) = delete;

  bool ok() const { return m_ok; }
  // Writes PortName with this type and these raw bytes.
  bool SetPortNameRaw(DWORD type, const void* data, DWORD bytes);
  bool SetPortName(const std::wstring& name);
  // The device description, as the driver's INF gives it.
  bool SetDescription(const std::wstring& text);
  // PortName as it reads now (empty when it does not read as a string).
  std::wstring PortName() const;
  std::wstring FriendlyName() const;

 private:
  HDEVINFO m_set;
  SP_DEVINFO_DATA m_device;
  bool m_ok = false;
};

// Runs a command line and waits at most timeoutMs; the exit code, or -1 when
// it did not start or did not end in time (then it is ended).
int RunProcess(const std::wstring& commandLine, const std::wstring& currentDir, DWORD timeoutMs = 60000);

// The device map keys (under HKEY_LOCAL_MACHINE) that list the serial and
// the parallel ports in use.
inline constexpr wchar_t kSerialMap[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
inline constexpr wchar_t kParallelMap[] = L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS";

// Saves a device-map key's values, lets the test replace them, restores them.
class DeviceMapScope {
 public:
  explicit DeviceMapScope(const wchar_t* keyPath);
  ~DeviceMapScope();
  DeviceMapScope(const DeviceMapScope&) = delete;
  DeviceMapScope& operator=(const DeviceMapScope&) = delete;
  void Replace(const std::vector<std::pair<std::wstring, std::wstring>>& values);
  std::vector<std::pair<std::wstring, std::wstring>> Values() const;

 private:
  std::wstring m_path;
  std::vector<std::pair<std::wstring, std::wstring>> m_saved;
};
