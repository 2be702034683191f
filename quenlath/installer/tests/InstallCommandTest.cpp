// The Install command of the main dialog in-process (with the program's
// resources): the port-type dialog, the progress dialog and the outcome.
#include "MainDlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "PortDeviceFixture.h"
#include "PortDevices.h"
#include "WaitDialog.h"
#include "WorkerRun.h"
#include "testing/BoxAnswer.h"
#include "testing/DialogAnswer.h"
#include "ui/Module.h"

namespace {

using Names = std::vector<std::wstring>;

// No parallel port in use.
class InstallCommandTest : public PortDeviceTest {
 protected:
  InstallCommandTest() : PortDeviceTest({{L"\\Device\\Serial0", L"COM1"}}, {}) {}

  void Open() { ASSERT_NE(nullptr, m_dlg.Create(nullptr)); }
  void ClickInstall() {
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED),
                      reinterpret_cast<LPARAM>(GetDlgItem(m_dlg.m_hWnd, IDC_INSTALL)));
  }
  Names Rows() const {
    Names rows;
    for (int i = 0; i < m_dlg.m_portList.GetItemCount(); ++i)
      rows.push_back(std::wstring(m_dlg.m_portList.GetItemText(i, 0)) + L" " +
                     std::wstring(m_dlg.m_portList.GetItemText(i, 1)));
    return rows;
  }

  CMainDlg m_dlg;
};

TEST_F(InstallCommandTest, WithAPortListedShowsMessage104AndNoDialog) {
  FakePortDevice listed;
  ASSERT_TRUE(listed.SetPortName(L"COM5"));
  Open();
  uitest::ScopedBoxAnswer boxes;
  uitest::ScopedDialogAnswer dialogs(IDCANCEL);
  ClickInstall();
  ASSERT_EQ(1u, boxes.Boxes().size());
  EXPECT_EQ(L"The port exists!", boxes.Boxes()[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes.Boxes()[0].type);
  EXPECT_TRUE(dialogs.Captions().empty());
}

TEST_F(InstallCommandTest, CancelInThePortTypeDialogChangesNothing) {
  Open();
  uitest::ScopedBoxAnswer boxes;
  uitest::ScopedDialogAnswer dialogs(IDCANCEL);
  ClickInstall();
  EXPECT_EQ(std::vector<std::wstring>{L"Select Port Type"}, dialogs.Captions());
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(Names(), Rows());
  EXPECT_EQ(Names(), ListPortNames(nullptr));
}

// Ok takes the preselected serial type; the Ok posted to the progress dialog
// as well is ignored, so the install runs to its end.
TEST_F(InstallCommandTest, OkInstallsASerialPortListsItAndShowsMessage110) {
  Open();
  uitest::ScopedBoxAnswer boxes;
  uitest::ScopedDialogAnswer dialogs(IDOK);
  ClickInstall();
  EXPECT_EQ((std::vector<std::wstring>{L"Select Port Type", L""}), dialogs.Captions());
  ASSERT_EQ(1u, boxes.Boxes().size());
  EXPECT_EQ(L"Port installation is successful!", boxes.Boxes()[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[0].type);
  EXPECT_EQ(Names({L"COM2 USB"}), Rows());
}

TEST_F(InstallCommandTest, AFailedInstallShowsMessage107) {
  std::vector<std::pair<std::wstring, std::wstring>> taken;
  for (int n = 1; n <= 256; ++n) taken.emplace_back(L"S" + std::to_wstring(n), L"COM" + std::to_wstring(n));
  m_serial.Replace(taken);
  Open();
  uitest::ScopedBoxAnswer boxes;
  uitest::ScopedDialogAnswer dialogs(IDOK);
  ClickInstall();
  ASSERT_EQ(1u, boxes.Boxes().size());
  EXPECT_EQ(L"Fail to install the port!", boxes.Boxes()[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes.Boxes()[0].type);
  EXPECT_EQ(Names(), Rows());
}

// Writes the resources of Dravelin.exe but the driver package into a copy of
// it (Wine's UpdateResourceW does not delete one resource alone).
struct ResourceCopy {
  HANDLE update;
  static BOOL CALLBACK Language(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR param) {
    if (type == RT_RCDATA && name == MAKEINTRESOURCEW(IDR_DRIVER_PACKAGE)) return TRUE;
    HRSRC found = FindResourceExW(module, type, name, language);
    return UpdateResourceW(reinterpret_cast<ResourceCopy*>(param)->update, type, name, language,
                           LockResource(LoadResource(module, found)), SizeofResource(module, found));
  }
  static BOOL CALLBACK Name(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    return EnumResourceLanguagesW(module, type, name, Language, param);
  }
  static BOOL CALLBACK Type(HMODULE module, LPWSTR type, LONG_PTR param) {
    return EnumResourceNamesW(module, type, Name, param);
  }
};

// The program's resources without the driver package: Install shows 107 and
// Uninstall 108.
TEST_F(InstallCommandTest, WithoutTheDriverPackageInstallShowsMessage107AndUninstall108) {
  ScratchDir dir;
  const std::filesystem::path copy = dir.path() / L"Dravelin.exe";
  std::filesystem::copy_file(DRAVELIN_EXE_PATH, copy);
  HMODULE program = LoadLibraryExW(DRAVELIN_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, program);
  ResourceCopy resourceCopy{BeginUpdateResourceW(copy.c_str(), TRUE)};
  ASSERT_NE(nullptr, resourceCopy.update);
  EXPECT_TRUE(EnumResourceTypesW(program, ResourceCopy::Type, reinterpret_cast<LONG_PTR>(&resourceCopy)));
  ASSERT_TRUE(EndUpdateResourceW(resourceCopy.update, FALSE));
  FreeLibrary(program);
  HMODULE resources = LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(nullptr, resources);
  ASSERT_EQ(nullptr, FindResourceW(resources, MAKEINTRESOURCEW(IDR_DRIVER_PACKAGE), RT_RCDATA));
  const HINSTANCE previous = ui::ResourceInstance();
  ui::SetResourceInstance(resources);

  Open();
  uitest::ScopedBoxAnswer boxes;
  uitest::ScopedDialogAnswer dialogs(IDOK);
  ClickInstall();
  FakePortDevice port;
  ASSERT_TRUE(port.SetPortName(L"COM5"));
  m_dlg.RefreshPortList();
  m_dlg.m_portList.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_UNINSTALL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(m_dlg.m_hWnd, IDC_UNINSTALL)));
  m_dlg.DestroyWindow();
  ui::SetResourceInstance(previous);
  FreeLibrary(resources);

  ASSERT_EQ(2u, boxes.Boxes().size());
  EXPECT_EQ(L"Fail to install the port!", boxes.Boxes()[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes.Boxes()[0].type);
  EXPECT_EQ(L"Fail to uninstall the port!", boxes.Boxes()[1].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes.Boxes()[1].type);
}

// What the progress dialog's modal loop sees, from a message hook.
struct ProgressWatch {
  static ProgressWatch* s_watch;
  HHOOK hook = nullptr;
  HWND dialog = nullptr;
  int startPos = -1;
  PBRANGE range{};
  LONG_PTR style = 0, exStyle = 0;
  std::vector<int> positions;
  int posAtFinish = -1;
  bool openAfterKeys = false;

  ProgressWatch() {
    s_watch = this;
    hook = SetWindowsHookExW(WH_GETMESSAGE, Hook, nullptr, GetCurrentThreadId());
  }
  ~ProgressWatch() {
    UnhookWindowsHookEx(hook);
    s_watch = nullptr;
  }
  static LRESULT CALLBACK Hook(int code, WPARAM remove, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    ProgressWatch* self = s_watch;
    if (code == HC_ACTION && remove == PM_REMOVE && self && msg->message == WM_INSTALL_PROGRESS) {
      HWND bar = GetDlgItem(msg->hwnd, IDC_PROGRESS);
      const int pos = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
      if (!self->dialog) {
        // First post: the dialog as it opened; then the keys that must not close it.
        self->dialog = msg->hwnd;
        self->startPos = pos;
        SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&self->range));
        self->style = GetWindowLongPtrW(msg->hwnd, GWL_STYLE);
        self->exStyle = GetWindowLongPtrW(msg->hwnd, GWL_EXSTYLE);
        for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
          PostMessageW(bar, WM_KEYDOWN, key, 0);
          PostMessageW(bar, WM_KEYUP, key, 0xC0000000);
        }
        PostMessageW(msg->hwnd, WM_CLOSE, 0, 0);
        PostMessageW(msg->hwnd, WM_COMMAND, IDCANCEL, 0);
      }
      if (msg->wParam != 0) {
        self->positions.push_back(static_cast<int>(msg->lParam));
        if (msg->lParam == 80) self->openAfterKeys = IsWindow(msg->hwnd) && IsWindowVisible(msg->hwnd);
      } else {
        self->posAtFinish = pos;
      }
    }
    return CallNextHookEx(nullptr, code, remove, lParam);
  }
};
ProgressWatch* ProgressWatch::s_watch = nullptr;

TEST(WaitDialog, KeysAndCloseLeaveItOpenAndItEndsAt100WithTheWorkersResult) {
  const std::vector<std::uint8_t> package = ReadBytes(QUENLATH_PROBE_PACKAGE_PATH);
  ScopedEnv slow(L"QUENLATH_PROBE_SLEEP_MS", L"1500");
  for (int exitCode : {0, 3}) {
    ScopedEnv code(L"QUENLATH_PROBE_EXIT", std::to_wstring(exitCode));
    InstallJob job{package.data(), static_cast<UINT32>(package.size()), 0, nullptr};
    ProgressWatch watch;
    CWaitDialog dlg(nullptr, &job);
    EXPECT_EQ(exitCode == 0 ? IDOK : IDCANCEL, dlg.DoModal());
    EXPECT_EQ(watch.dialog, job.hNotifyWnd);
    EXPECT_EQ(0, watch.startPos);
    EXPECT_EQ(0, watch.range.iLow);
    EXPECT_EQ(100, watch.range.iHigh);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_POPUP | WS_BORDER), watch.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_NE(0, watch.exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(watch.openAfterKeys);
    EXPECT_EQ((std::vector<int>{4, 16, 25, 33, 41, 50, 80, 90, 100}), watch.positions);
    EXPECT_EQ(100, watch.posAtFinish);
  }
}

TEST(WaitDialog, AFinishedMessageWithoutAThreadEndsItWithCancel) {
  InstallJob job{nullptr, 0, 0, nullptr};
  CWaitDialog dlg(nullptr, &job);
  BOOL handled = TRUE;
  EXPECT_EQ(0, dlg.OnProgress(WM_INSTALL_PROGRESS, 0, 0, handled));
  EXPECT_EQ(IDCANCEL, dlg.ModelessResult());
}

}  // namespace
