// Installing through Dravelin.exe itself, with the stand-in devcon of the
// package in its resources, driven from this process like a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DravelinProcess.h"
#include "InfPatch.h"
#include "PortDeviceFixture.h"
#include "PortDevices.h"
#include "WorkerRun.h"

namespace {

using Names = std::vector<std::wstring>;

class InstallProcessTest : public PortDeviceTest {
 protected:
  // Installs through the program's dialogs, from its start to its end.
  InstallOutcome Install(int portType) {
    DravelinProcess dravelin;
    if (!dravelin.Start(DRAVELIN_EXE_PATH)) {
      ADD_FAILURE() << "Dravelin.exe did not start: " << GetLastError();
      return {};
    }
    const InstallOutcome outcome = InstallThroughTheDialogs(dravelin, portType);
    EXPECT_EQ(L"", outcome.failure);
    if (!outcome.typeCaption.empty()) {
      EXPECT_EQ(L"Select Port Type", outcome.typeCaption);
    }
    return outcome;
  }
};

TEST_F(InstallProcessTest, InstallsASerialPort) {
  const InstallOutcome outcome = Install(kSerialPort);
  EXPECT_EQ(L"Port installation is successful!", outcome.message);
  EXPECT_EQ(L"Dravelin", outcome.caption);
  EXPECT_EQ(1, outcome.rows);
  EXPECT_EQ(0, outcome.exitCode);
  EXPECT_EQ(Names({L"COM2"}), ListPortNames(nullptr));
}

TEST_F(InstallProcessTest, InstallsAParallelPort) {
  const InstallOutcome outcome = Install(kParallelPort);
  EXPECT_EQ(L"Port installation is successful!", outcome.message);
  EXPECT_EQ(1, outcome.rows);
  EXPECT_EQ(Names({L"LPT2"}), ListPortNames(nullptr));
}

TEST_F(InstallProcessTest, DevconsFailureShowsMessage107) {
  m_parallel.Replace({{L"P0", L"\\DosDevices\\LPT1"}, {L"P1", L"\\DosDevices\\LPT2"}, {L"P2", L"\\DosDevices\\LPT3"}});
  const InstallOutcome outcome = Install(kParallelPort);
  EXPECT_EQ(L"Fail to install the port!", outcome.message);
  EXPECT_EQ(0, outcome.rows);
  EXPECT_EQ(Names(), ListPortNames(nullptr));
}

// The package's longest entry, amd64\WdfCoInstaller01009.dll, just fits below
// a temporary folder of 218 characters.  With a longer one the install is
// refused before anything is unpacked.  Either way nothing is left.
TEST_F(InstallProcessTest, NothingIsLeftInALongTemporaryFolder) {
  const struct {
    size_t length;
    const wchar_t* message;
    int rows;
  } runs[] = {{218, L"Port installation is successful!", 1}, {230, L"Fail to install the port!", 0}};
  for (const auto& run : runs) {
    SCOPED_TRACE(run.length);
    RemoveDevicesWithHardwareId(kPackageHardwareId);
    LongTempFolder temp(run.length);
    const InstallOutcome outcome = Install(kSerialPort);
    EXPECT_EQ(run.message, outcome.message);
    EXPECT_EQ(run.rows, outcome.rows);
    EXPECT_EQ(0, outcome.exitCode);
    for (const auto& left : std::filesystem::recursive_directory_iterator(temp.Path()))
      ADD_FAILURE() << "left: " << left.path().string().substr(temp.Path().string().size());
  }
}

TEST_F(InstallProcessTest, ASecondInstallIsRefused) {
  FakePortDevice listed;
  ASSERT_TRUE(listed.SetPortName(L"COM5"));
  const InstallOutcome outcome = Install(kSerialPort);
  EXPECT_EQ(L"The port exists!", outcome.message);
  EXPECT_EQ(1, outcome.rows);
  EXPECT_EQ(0, outcome.exitCode);
}

}  // namespace
