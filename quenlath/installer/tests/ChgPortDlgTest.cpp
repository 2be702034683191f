// The change-port-number dialog built in-process with the program's
// resources, over device maps that the test sets.
#include "ChgPortDlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PortDeviceFixture.h"
#include "PortNames.h"
#include "testing/BoxAnswer.h"

namespace {

using Names = std::vector<std::wstring>;

Names Offered(const CComboBox& combo) {
  Names names;
  for (int i = 0; i < combo.GetCount(); ++i) names.emplace_back(combo.GetLBText(i).GetString());
  return names;
}

class ChgPortDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_serial.Replace({{L"\\Device\\Serial0", L"COM1"}, {L"\\Device\\Serial2", L"COM3"}});
    m_parallel.Replace({{L"\\Device\\Parallel0", L"\\DosDevices\\LPT1"}, {L"\\Device\\Parallel1", L"\\DosDevices\\LPT2"}});
  }
  void TearDown() override {
    if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
  }
  void Open(const wchar_t* oldName) {
    m_dlg.SetOldName(oldName);
    ASSERT_NE(nullptr, m_dlg.Create(nullptr));
  }
  void Click(int id) {
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(m_dlg.GetDlgItem(id)));
  }

  DeviceMapScope m_serial{kSerialMap};
  DeviceMapScope m_parallel{kParallelMap};
  CChgPortDlg m_dlg;
};

TEST_F(ChgPortDlgTest, SerialOffersTheFreeComNamesInOrderWithTheFirstSelected) {
  Open(L"COM3");
  // The free names chosen from the device map's COM1 and COM3, in their order.
  EXPECT_EQ(FreePortNames(L"COM", 256, {L"COM1", L"COM3"}), Offered(m_dlg.m_portCombo));
  EXPECT_EQ(0, m_dlg.m_portCombo.GetCurSel());
  const DWORD style = m_dlg.m_portCombo.GetStyle();
  EXPECT_EQ(static_cast<DWORD>(CBS_DROPDOWNLIST), style & 3u);
  EXPECT_EQ(0u, style & CBS_SORT);

  Click(IDOK);
  EXPECT_EQ(IDOK, m_dlg.ModelessResult());
  EXPECT_STREQ(L"COM2", m_dlg.GetNewName());
}

TEST_F(ChgPortDlgTest, OkTakesTheSelectedNameAndCancelNone) {
  Open(L"COM3");
  m_dlg.m_portCombo.SetCurSel(m_dlg.m_portCombo.FindStringExact(-1, L"COM17"));
  Click(IDOK);
  EXPECT_STREQ(L"COM17", m_dlg.GetNewName());

  CChgPortDlg cancelled;
  cancelled.SetOldName(L"COM3");
  ASSERT_NE(nullptr, cancelled.Create(nullptr));
  cancelled.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_EQ(IDCANCEL, cancelled.ModelessResult());
  EXPECT_STREQ(L"", cancelled.GetNewName());
}

TEST_F(ChgPortDlgTest, ParallelOffersWhatTheDeviceMapLeavesOfLpt1ToLpt3) {
  Open(L"LPT2");
  EXPECT_EQ(Names({L"LPT3"}), Offered(m_dlg.m_portCombo));
  EXPECT_EQ(0, m_dlg.m_portCombo.GetCurSel());
}

TEST_F(ChgPortDlgTest, NamesOfAnotherKindOfferNothingAndOkGivesNoName) {
  for (const wchar_t* oldName : {L"", L"com3", L"USB1", L"CO"}) {
    CChgPortDlg dlg;
    dlg.SetOldName(oldName);
    ASSERT_NE(nullptr, dlg.Create(nullptr));
    EXPECT_EQ(0, dlg.m_portCombo.GetCount()) << oldName;
    EXPECT_EQ(-1, dlg.m_portCombo.GetCurSel()) << oldName;
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(IDOK, dlg.ModelessResult()) << oldName;
    EXPECT_STREQ(L"", dlg.GetNewName()) << oldName;
  }
}

TEST_F(ChgPortDlgTest, EveryNameInUseOffersNothing) {
  m_parallel.Replace({{L"a", L"\\DosDevices\\LPT3"}, {L"b", L"\\DosDevices\\LPT1"}, {L"c", L"\\DosDevices\\LPT2"}});
  Open(L"LPT1");
  EXPECT_EQ(Names(), Offered(m_dlg.m_portCombo));
}

// Without the names in use no name is known to be free: none is offered,
// and the user is told why.
TEST_F(ChgPortDlgTest, WhenTheNamesInUseCantBeReadNoneIsOfferedAndAMessageSaysWhy) {
  ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_LOCAL_MACHINE, kParallelMap));  // the scope makes it again
  uitest::ScopedBoxAnswer boxes;
  Open(L"LPT1");
  EXPECT_EQ(Names(), Offered(m_dlg.m_portCombo));
  ASSERT_EQ(1u, boxes.Boxes().size());
  EXPECT_EQ(L"Fail to read the port names in use, so no new name can be offered!", boxes.Boxes()[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes.Boxes()[0].type);
}

TEST_F(ChgPortDlgTest, DataWithoutThePrefixNeverBlocksACandidate) {
  m_serial.Replace({{L"\\Device\\Serial0", L"Serial1"}, {L"\\Device\\Serial1", L"\\Device\\COM"}});
  Open(L"COM1");
  const Names offered = Offered(m_dlg.m_portCombo);
  ASSERT_EQ(256u, offered.size());
  EXPECT_EQ(L"COM1", offered[0]);
}

// Device map data as the registry holds it: without a terminator, of odd
// length, other types; each value is read as text up to its first null.
class ChgPortDlgRawMapTest : public ChgPortDlgTest {
 protected:
  void SetUp() override {
    ChgPortDlgTest::SetUp();
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test->name();
    m_path = L"SOFTWARE\\DravelinTests\\" + std::wstring(name.begin(), name.end());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_path.c_str());
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &m_key, nullptr));
  }
  void TearDown() override {
    RegCloseKey(m_key);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_path.c_str());
    ChgPortDlgTest::TearDown();
  }
  void Set(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(m_key, name, 0, type, static_cast<const BYTE*>(data), bytes));
  }

  std::wstring m_path;
  HKEY m_key = nullptr;
};

TEST_F(ChgPortDlgRawMapTest, ReadsEachValueAsTextUpToItsFirstNull) {
  Set(L"unterminated", REG_BINARY, L"COM1", 4 * sizeof(wchar_t));
  Set(L"odd length", REG_SZ, L"COM2\0", 4 * sizeof(wchar_t) + 1);
  Set(L"two strings", REG_MULTI_SZ, L"COM3\0COM4\0", 11 * sizeof(wchar_t));
  const DWORD number = 5;
  Set(L"a number", REG_DWORD, &number, sizeof(number));
  Set(L"a value with a rather longer name than the others", REG_SZ, L"\\DosDevices\\COM6", 17 * sizeof(wchar_t));
  Set(L"empty", REG_SZ, L"", 0);
  Open(L"LPT1");  // the parallel map: nothing in use
  m_dlg.m_portCombo.ResetContent();
  m_dlg.FillFreePortNames(m_path.c_str(), L"COM", 8);
  EXPECT_EQ(Names({L"COM4", L"COM5", L"COM7", L"COM8"}), Offered(m_dlg.m_portCombo));
}

}  // namespace
