// A renamed port opens by its new name.  PortName is the installer's to
// change; the dosdevices link behind the name is the pty fixture's line
// (no Windows call makes one under Wine), as the port driver's would be.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "PortDeviceFixture.h"
#include "PortDevices.h"
#include "PortRename.h"
#include "PrinterLine.h"
#include "com/Handle.h"

namespace {

TEST(RenamedPortLine, TheNewNameOpensThePortAndCarriesBytes) {
  RemovePortDevices();
  DeviceMapScope serial(kSerialMap);
  serial.Replace({{L"\\Device\\Serial0", L"COM1"}});
  FakePortDevice device;
  ASSERT_TRUE(device.SetPortName(L"COM2"));

  const std::wstring newName = testkit::ServicePort(testkit::InstallerLine);
  ASSERT_TRUE(ChangePortName(nullptr, L"COM2", newName.c_str()));
  const std::vector<std::wstring> listed = ListPortNames(nullptr);
  ASSERT_EQ(std::vector<std::wstring>({newName}), listed);

  testkit::PrinterLine printer(testkit::PrinterPort(testkit::InstallerLine));
  ASSERT_TRUE(printer.IsOpen());
  const std::wstring path = L"\\\\.\\" + listed[0];
  com::Handle port(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(port) << GetLastError();
  const std::vector<std::uint8_t> bytes = {'r', 'e', 'n', 'u', 'm', 'b', 'e', 'r', 'e', 'd', '\n'};
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(port.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  EXPECT_EQ(bytes.size(), written);
  EXPECT_EQ(bytes, printer.Read(bytes.size(), 5000));
}

}  // namespace
