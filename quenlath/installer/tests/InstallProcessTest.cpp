// Installing through Dravelin.exe itself, with the stand-in devcon of the
// package in its resources, driven from this process like a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "PortDeviceFixture.h"
#include "PortDevices.h"
#include "WorkerRun.h"
#include "resource.h"
#include "testing/ProcessWindows.h"
#include "testing/WindowTexts.h"

namespace {

using Names = std::vector<std::wstring>;

const DWORD kTimeoutMs = 30000;

struct FindDialog {
  DWORD pid;
  const std::set<HWND>* known;
  HWND found;
};

BOOL CALLBACK FindNewDialog(HWND window, LPARAM param) {
  auto* find = reinterpret_cast<FindDialog*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (pid != find->pid || !IsWindowVisible(window) || wcscmp(name, L"#32770") != 0 || find->known->count(window))
    return TRUE;
  find->found = window;
  return FALSE;
}

class InstallProcess {
 public:
  InstallProcess() {
    std::wstring line = L"\"" + std::wstring(DRAVELIN_EXE_PATH) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    m_started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi) != FALSE;
  }
  ~InstallProcess() {
    if (!m_started) return;
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(m_pi.hProcess, 99);
      WaitForSingleObject(m_pi.hProcess, 5000);
    }
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
  }
  bool Started() const { return m_started; }

  // A visible dialog box of the program not seen before (null after the time-out).
  HWND WaitForNewDialog() {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kTimeoutMs) {
      FindDialog find{m_pi.dwProcessId, &m_seen, nullptr};
      EnumWindows(FindNewDialog, reinterpret_cast<LPARAM>(&find));
      if (find.found) {
        m_seen.insert(find.found);
        return find.found;
      }
      Sleep(20);
    }
    return nullptr;
  }
  // The next message box, passing over other dialogs (the progress dialog).
  HWND WaitForMessageBox() {
    for (HWND box = WaitForNewDialog(); box; box = WaitForNewDialog()) {
      if (GetDlgItem(box, IDC_PROGRESS)) m_sawProgress = true;
      if (GetDlgItem(box, 0xFFFF)) return box;
    }
    return nullptr;
  }
  bool SawProgressDialog() const { return m_sawProgress; }
  long WaitForExit() {
    if (WaitForSingleObject(m_pi.hProcess, kTimeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_pi.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION m_pi{};
  bool m_started = false;
  bool m_sawProgress = false;
  std::set<HWND> m_seen;
};

struct Outcome {
  std::wstring message;
  std::wstring caption;
  int rows = -1;
  long exitCode = -2;
};

class InstallProcessTest : public PortDeviceTest {
 protected:
  // Clicks Install, chooses the type (when a port-type dialog comes), answers
  // the message box with Ok, and closes the program.
  Outcome Install(int portType, InstallProcess& dravelin) {
    Outcome outcome;
    HWND main = dravelin.WaitForNewDialog();
    EXPECT_NE(nullptr, main);
    if (!main) return outcome;
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_INSTALL)));
    HWND box = dravelin.WaitForNewDialog();
    EXPECT_NE(nullptr, box);
    if (!box) return outcome;
    if (!GetDlgItem(box, 0xFFFF)) {
      EXPECT_EQ(L"Select Port Type", uitest::WindowText(box));
      const int chosen = portType == 0 ? IDC_SERIAL_PORT : IDC_PARALLEL_PORT;
      const int other = portType == 0 ? IDC_PARALLEL_PORT : IDC_SERIAL_PORT;
      SendMessageW(GetDlgItem(box, other), BM_SETCHECK, BST_UNCHECKED, 0);
      SendMessageW(GetDlgItem(box, chosen), BM_SETCHECK, BST_CHECKED, 0);
      uitest::ClickButton(box, IDOK);
      box = dravelin.WaitForMessageBox();
      EXPECT_NE(nullptr, box);
      if (!box) return outcome;
    }
    outcome.message = uitest::WindowText(GetDlgItem(box, 0xFFFF));
    outcome.caption = uitest::WindowText(box);
    uitest::ClickButton(box, IDOK);
    // The box has gone once the command has returned to the main dialog.
    for (DWORD start = GetTickCount(); IsWindow(box) && GetTickCount() - start < kTimeoutMs;) Sleep(20);
    outcome.rows = static_cast<int>(SendMessageW(GetDlgItem(main, IDC_PORT_LIST), LVM_GETITEMCOUNT, 0, 0));
    PostMessageW(main, WM_CLOSE, 0, 0);
    outcome.exitCode = dravelin.WaitForExit();
    return outcome;
  }
};

TEST_F(InstallProcessTest, InstallsASerialPort) {
  InstallProcess dravelin;
  ASSERT_TRUE(dravelin.Started());
  const Outcome outcome = Install(0, dravelin);
  EXPECT_EQ(L"Port installation is successful!", outcome.message);
  EXPECT_EQ(L"Dravelin", outcome.caption);
  EXPECT_EQ(1, outcome.rows);
  EXPECT_EQ(0, outcome.exitCode);
  EXPECT_EQ(Names({L"COM2"}), ListPortNames(nullptr));
}

TEST_F(InstallProcessTest, InstallsAParallelPort) {
  InstallProcess dravelin;
  ASSERT_TRUE(dravelin.Started());
  const Outcome outcome = Install(1, dravelin);
  EXPECT_EQ(L"Port installation is successful!", outcome.message);
  EXPECT_EQ(1, outcome.rows);
  EXPECT_EQ(Names({L"LPT2"}), ListPortNames(nullptr));
}

TEST_F(InstallProcessTest, DevconsFailureShowsMessage107) {
  m_parallel.Replace({{L"P0", L"\\DosDevices\\LPT1"}, {L"P1", L"\\DosDevices\\LPT2"}, {L"P2", L"\\DosDevices\\LPT3"}});
  InstallProcess dravelin;
  ASSERT_TRUE(dravelin.Started());
  const Outcome outcome = Install(1, dravelin);
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
    InstallProcess dravelin;
    ASSERT_TRUE(dravelin.Started());
    const Outcome outcome = Install(0, dravelin);
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
  InstallProcess dravelin;
  ASSERT_TRUE(dravelin.Started());
  const Outcome outcome = Install(0, dravelin);
  EXPECT_EQ(L"The port exists!", outcome.message);
  EXPECT_EQ(1, outcome.rows);
  EXPECT_EQ(0, outcome.exitCode);
}

}  // namespace
