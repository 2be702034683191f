// The stand-in device console of the driver package, run as the installer
// runs it, against the port list.
#include <gtest/gtest.h>

#include <string>

#include "PortDeviceFixture.h"
#include "PortDevices.h"
#include "ShippedInf.h"
#include "TestFiles.h"

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::wstring>;
using Values = std::vector<std::pair<std::wstring, std::wstring>>;

// The INF as the installer patches it for the port type.
void WriteInf(const fs::path& path, int portType) {
  const std::string text = Patched(ShippedInf(), portType);
  WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::wstring FriendlyNameOf(const std::wstring& portName) {
  DeviceInfoSet set(OpenPresentPortDevices(nullptr));
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set.Get(), i, &device); ++i) {
    HKEY key = SetupDiOpenDevRegKey(set.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) continue;
    wchar_t name[10];
    const bool match = ReadPortName(key, name, 10) && portName == name;
    RegCloseKey(key);
    if (!match) continue;
    wchar_t friendly[100] = {};
    SetupDiGetDeviceRegistryPropertyW(set.Get(), &device, SPDRP_FRIENDLYNAME, nullptr,
                                      reinterpret_cast<BYTE*>(friendly), sizeof(friendly) - 2, nullptr);
    return friendly;
  }
  return L"";
}

class DevconTest : public PortDeviceTest {
 protected:
  DevconTest() : PortDeviceTest({{L"\\Device\\Serial0", L"COM1"}, {L"\\Device\\Serial2", L"COM3"}}) {}

  int Devcon(const std::wstring& args) {
    return RunProcess(L"\"" + std::wstring(QUENLATH_DEVCON_PATH) + L"\" " + args, m_dir.path().wstring());
  }

  ScratchDir m_dir;
};

TEST_F(DevconTest, InstallsSerialPortsOnFreeNamesAndRemovesThemAll) {
  WriteInf(m_dir.path() / L"Quenlath.inf", kSerialPort);
  ASSERT_EQ(0, Devcon(L"install Quenlath.inf ROZ\\Quenlath"));
  EXPECT_EQ(Names({L"COM2"}), ListPortNames(nullptr));
  EXPECT_EQ(L"Quenlath (COM2)", FriendlyNameOf(L"COM2"));
  ASSERT_EQ(0, Devcon(L"install Quenlath.inf ROZ\\Quenlath"));
  EXPECT_EQ(Names({L"COM2", L"COM4"}), ListPortNames(nullptr));
  const Values serial = m_serial.Values();
  EXPECT_EQ(4u, serial.size());

  EXPECT_EQ(0, Devcon(L"remove ROZ\\Quenlath"));
  EXPECT_EQ(Names(), ListPortNames(nullptr));
  EXPECT_EQ(Values({{L"\\Device\\Serial0", L"COM1"}, {L"\\Device\\Serial2", L"COM3"}}), m_serial.Values());
}

TEST_F(DevconTest, InstallsAParallelPortWhenTheParallelLinesAreOn) {
  WriteInf(m_dir.path() / L"Quenlath.inf", kParallelPort);
  ASSERT_EQ(0, Devcon(L"install Quenlath.inf ROZ\\Quenlath"));
  EXPECT_EQ(Names({L"LPT2"}), ListPortNames(nullptr));
  EXPECT_EQ(L"Quenlath (LPT2)", FriendlyNameOf(L"LPT2"));
  EXPECT_EQ(2u, m_parallel.Values().size());
  EXPECT_EQ(0, Devcon(L"remove ROZ\\Quenlath"));
  EXPECT_EQ(Names(), ListPortNames(nullptr));
}

TEST_F(DevconTest, FailsWithoutADriverForTheHardwareIdOrAnInf) {
  WriteInf(m_dir.path() / L"Quenlath.inf", kSerialPort);
  EXPECT_NE(0, Devcon(L"install Quenlath.inf ROZ\\Other"));
  EXPECT_NE(0, Devcon(L"install Missing.inf ROZ\\Quenlath"));
  EXPECT_NE(0, Devcon(L"install Quenlath.inf"));
  EXPECT_EQ(Names(), ListPortNames(nullptr));
}

}  // namespace
