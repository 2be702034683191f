// Dravelin.exe run as a program: the application object, the modal main
// dialog and the way out.  Also the message boxes' caption.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "DravelinProcess.h"
#include "PortDeviceFixture.h"
#include "resource.h"
#include "testing/BoxAnswer.h"
#include "testing/WindowTexts.h"
#include "ui/MfcApp.h"

namespace {

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
  DravelinProcess dravelin;
  ASSERT_TRUE(dravelin.Start(DRAVELIN_EXE_PATH)) << GetLastError();
  HWND dlg = dravelin.WaitForNewDialog();
  ASSERT_NE(nullptr, dlg);
  EXPECT_EQ(L"Quenlath Manager", uitest::WindowText(dlg));
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
