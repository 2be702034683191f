// Dravelin.exe run as a program: the application object, the modal main
// dialog, the DLLs it takes once started, and the way out.  Also the message
// boxes' caption.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DravelinProcess.h"
#include "PortDeviceFixture.h"
#include "TestFiles.h"
#include "resource.h"
#include "testing/BoxAnswer.h"
#include "testing/WindowTexts.h"
#include "ui/MfcApp.h"

namespace {

// The file of the module `name` in process `pid`; empty when it has none.
std::wstring LoadedModule(DWORD pid, const wchar_t* name) {
  std::wstring path;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (snapshot == INVALID_HANDLE_VALUE) return path;
  MODULEENTRY32W module{};
  module.dwSize = sizeof(module);
  for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module))
    if (_wcsicmp(module.szModule, name) == 0) path = module.szExePath;
  CloseHandle(snapshot);
  return path;
}

class DravelinProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { RemovePortDevices(); }
};

TEST_F(DravelinProcessTest, ShowsTheMainDialogWithThePortsAndEndsWhenClosed) {
  std::vector<std::unique_ptr<FakePortDevice>> devices;
  for (const wchar_t* name : {L"COM5", L"COM6"}) {
    devices.push_back(std::make_unique<FakePortDevice>());
    ASSERT_TRUE(devices.back()->SetPortName(name));
  }
  // Run from a folder that also holds a uxtheme.dll, which the common
  // controls load once the dialog comes, with the loader preferring a DLL of
  // that name outside System32 as Windows does (it is no known DLL).
  ScratchDir folder;
  const std::filesystem::path exe = folder.path() / L"Dravelin.exe";
  std::filesystem::copy_file(DRAVELIN_EXE_PATH, exe);
  std::filesystem::copy_file(std::filesystem::path(QUENLATH_AMD64_DIR) / L"Mosset.dll", folder.path() / L"uxtheme.dll");
  wchar_t overrides[512] = L"";
  const bool overridden = GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 512) != 0;
  SetEnvironmentVariableW(L"WINEDLLOVERRIDES", (std::wstring(overrides) + L";uxtheme=n,b").c_str());
  DravelinProcess dravelin;
  const bool started = dravelin.Start(exe.wstring());
  SetEnvironmentVariableW(L"WINEDLLOVERRIDES", overridden ? overrides : nullptr);
  ASSERT_TRUE(started) << GetLastError();
  HWND dlg = dravelin.WaitForNewDialog();
  ASSERT_NE(nullptr, dlg);
  EXPECT_EQ(L"Quenlath Manager", uitest::WindowText(dlg));
  DWORD pid = 0;
  GetWindowThreadProcessId(dlg, &pid);
  wchar_t system[MAX_PATH];
  ASSERT_NE(0u, GetSystemDirectoryW(system, MAX_PATH));
  const std::wstring uxtheme = LoadedModule(pid, L"uxtheme.dll");
  EXPECT_EQ(0, _wcsicmp((std::wstring(system) + L"\\uxtheme.dll").c_str(), uxtheme.c_str())) << uxtheme;
  EXPECT_EQ(2, SendMessageW(GetDlgItem(dlg, IDC_PORT_LIST), LVM_GETITEMCOUNT, 0, 0));
  // Opened centred on the screen.
  RECT rc;
  GetWindowRect(dlg, &rc);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  EXPECT_LE(std::abs((rc.left + rc.right) / 2 - screenWidth / 2), 2);

  PostMessageW(dlg, WM_CLOSE, 0, 0);
  EXPECT_EQ(0, dravelin.WaitForExit());
}

TEST_F(DravelinProcessTest, EnterEndsTheProgram) {
  DravelinProcess dravelin;
  ASSERT_TRUE(dravelin.Start(DRAVELIN_EXE_PATH)) << GetLastError();
  HWND dlg = dravelin.WaitForNewDialog();
  ASSERT_NE(nullptr, dlg);
  EXPECT_EQ(0, SendMessageW(GetDlgItem(dlg, IDC_PORT_LIST), LVM_GETITEMCOUNT, 0, 0));
  PostMessageW(GetDlgItem(dlg, IDC_PORT_LIST), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(0, dravelin.WaitForExit());
}

TEST(DravelinMessageBox, CaptionIsTheProgramFileTitle) {
  CWinApp app;
  EXPECT_STREQ(L"dravelin_ui_tests", app.m_pszAppName);
  uitest::ScopedBoxAnswer answer(IDOK);
  EXPECT_EQ(IDOK, AfxMessageBox(IDS_PORT_EXISTS, MB_ICONEXCLAMATION));
  ASSERT_EQ(1u, answer.Boxes().size());
  EXPECT_EQ(L"The port exists!", answer.Boxes()[0].text);
  EXPECT_EQ(L"dravelin_ui_tests", answer.Boxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), answer.Boxes()[0].type);
}

}  // namespace
