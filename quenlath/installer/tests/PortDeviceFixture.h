// Emulated-port devices made directly with SetupAPI, the way the port driver
// publishes them, and clean-up of devices left by tests.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <utility>
#include <vector>

// Hardware id of the devices that FakePortDevice makes.
extern const wchar_t kFakeHardwareId[];
// Hardware id of the package's devices, as devcon installs them.
extern const wchar_t kPackageHardwareId[];

// Removes every device with this hardware id; returns how many.
int RemoveDevicesWithHardwareId(const wchar_t* hardwareId);
// Removes the devices of both ids.
void RemovePortDevices();

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

using DeviceMapValues = std::vector<std::pair<std::wstring, std::wstring>>;

// Saves a device-map key's values, lets the test replace them, restores them.
class DeviceMapScope {
 public:
  explicit DeviceMapScope(const wchar_t* keyPath);
  ~DeviceMapScope();
  DeviceMapScope(const DeviceMapScope&) = delete;
  DeviceMapScope& operator=(const DeviceMapScope&) = delete;
  void Replace(const DeviceMapValues& values);
  DeviceMapValues Values() const;

 private:
  std::wstring m_path;
  DeviceMapValues m_saved;
};

// A test on the prefix's device tree: it starts without port devices of
// either id and with these names in the device maps, and ends without the
// package's devices and with the maps as they were.
class PortDeviceTest : public ::testing::Test {
 protected:
  explicit PortDeviceTest(const DeviceMapValues& serial = {{L"\\Device\\Serial0", L"COM1"}},
                          const DeviceMapValues& parallel = {{L"\\Device\\Parallel0", L"\\DosDevices\\LPT1"}});
  ~PortDeviceTest() override;

  DeviceMapScope m_serial{kSerialMap};
  DeviceMapScope m_parallel{kParallelMap};
};
