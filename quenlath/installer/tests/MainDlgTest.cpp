// The main dialog built in-process with the program's resources, over
// devices made by the test.
#include "MainDlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "PortDeviceFixture.h"
#include "testing/DialogAnswer.h"

namespace {

using Rows = std::vector<std::pair<std::wstring, std::wstring>>;

Rows RowsOf(const CListCtrl& list) {
  Rows rows;
  for (int i = 0; i < list.GetItemCount(); ++i)
    rows.emplace_back(std::wstring(list.GetItemText(i, 0)), std::wstring(list.GetItemText(i, 1)));
  return rows;
}

std::wstring ColumnText(const CListCtrl& list, int column) {
  wchar_t text[64] = {};
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  col.pszText = text;
  col.cchTextMax = 64;
  if (!ListView_GetColumn(list.m_hWnd, column, &col)) return L"<none>";
  EXPECT_EQ(LVCFMT_LEFT, col.fmt & LVCFMT_JUSTIFYMASK);
  EXPECT_EQ(100, col.cx);
  return text;
}

class MainDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemovePortDevices();
  }
  void TearDown() override { m_devices.clear(); }

  void AddPort(const std::wstring& name) {
    m_devices.push_back(std::make_unique<FakePortDevice>());
    ASSERT_TRUE(m_devices.back()->ok());
    ASSERT_TRUE(m_devices.back()->SetPortName(name));
  }
  void Open() { ASSERT_NE(nullptr, m_dlg.Create(nullptr)); }

  CMainDlg m_dlg;
  std::vector<std::unique_ptr<FakePortDevice>> m_devices;
};

TEST_F(MainDlgTest, OpensWithTwoLeftAlignedColumnsFullRowSelectAndNoPort) {
  Open();
  ASSERT_NE(nullptr, m_dlg.m_portList.m_hWnd);
  EXPECT_EQ(GetDlgItem(m_dlg.m_hWnd, IDC_PORT_LIST), m_dlg.m_portList.m_hWnd);
  EXPECT_EQ(L"Name", ColumnText(m_dlg.m_portList, 0));
  EXPECT_EQ(L"Type", ColumnText(m_dlg.m_portList, 1));
  EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT), ListView_GetExtendedListViewStyle(m_dlg.m_portList.m_hWnd));
  const DWORD style = m_dlg.m_portList.GetStyle();
  EXPECT_EQ(static_cast<DWORD>(LVS_REPORT), style & LVS_TYPEMASK);
  EXPECT_EQ(0u, style & LVS_SINGLESEL);
  EXPECT_NE(0u, style & LVS_SHOWSELALWAYS);
  EXPECT_EQ(Rows(), RowsOf(m_dlg.m_portList));
  EXPECT_NE(0, m_dlg.SendMessage(WM_GETICON, ICON_BIG));
}

TEST_F(MainDlgTest, ListsOneAndTwoPortsWithTypeUsb) {
  AddPort(L"COM5");
  Open();
  EXPECT_EQ(Rows({{L"COM5", L"USB"}}), RowsOf(m_dlg.m_portList));
  AddPort(L"COM7");
  m_dlg.RefreshPortList();
  EXPECT_EQ(Rows({{L"COM5", L"USB"}, {L"COM7", L"USB"}}), RowsOf(m_dlg.m_portList));
}

TEST_F(MainDlgTest, ADeviceWithABadNameGetsNoRowAndTheNextOneIsListed) {
  AddPort(L"COM1234567");  // too long for the list's buffer
  m_devices.push_back(std::make_unique<FakePortDevice>());  // no PortName
  const DWORD number = 3;
  m_devices.push_back(std::make_unique<FakePortDevice>());
  ASSERT_TRUE(m_devices.back()->SetPortNameRaw(REG_DWORD, &number, sizeof(number)));
  AddPort(L"LPT1");
  Open();
  EXPECT_EQ(Rows({{L"LPT1", L"USB"}}), RowsOf(m_dlg.m_portList));
}

TEST_F(MainDlgTest, RefreshButtonRebuildsTheListAndClearsTheSelection) {
  AddPort(L"COM5");
  Open();
  m_dlg.m_portList.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  AddPort(L"COM6");
  m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(m_dlg.m_hWnd, IDC_REFRESH)));
  EXPECT_EQ(Rows({{L"COM5", L"USB"}, {L"COM6", L"USB"}}), RowsOf(m_dlg.m_portList));
  EXPECT_EQ(-1, m_dlg.m_portList.GetSelectedIndex());
  m_devices.clear();
  m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(m_dlg.m_hWnd, IDC_REFRESH)));
  EXPECT_EQ(Rows(), RowsOf(m_dlg.m_portList));
}

// Keys posted to the list as the modal dialog opens; the dialog manager
// handles them without the focus or activation.
TEST_F(MainDlgTest, EnterInTheListAndEscEndTheModalDialog) {
  AddPort(L"COM5");
  for (const auto& keyResult : {std::make_pair(VK_RETURN, IDOK), std::make_pair(VK_ESCAPE, IDCANCEL)}) {
    CMainDlg dlg;
    uitest::ScopedDialogAnswer keys([&](HWND dialog) {
      HWND list = GetDlgItem(dialog, IDC_PORT_LIST);
      PostMessageW(list, WM_KEYDOWN, keyResult.first, 0);
      PostMessageW(list, WM_KEYUP, keyResult.first, 0xC0000000);
      return 0;
    });
    EXPECT_EQ(keyResult.second, dlg.DoModal()) << keyResult.first;
  }
}

}  // namespace
