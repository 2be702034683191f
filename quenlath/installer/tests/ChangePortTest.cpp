// "Chg. Port No." of the main dialog: the modal change-port-number dialog is
// answered as it opens, message boxes are answered without showing.
#include "MainDlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "PortDeviceFixture.h"
#include "testing/BoxAnswer.h"
#include "testing/ComboChoice.h"
#include "testing/DialogAnswer.h"

namespace {

using Names = std::vector<std::wstring>;

Names ListedNames(const CListCtrl& list) {
  Names names;
  for (int i = 0; i < list.GetItemCount(); ++i) names.emplace_back(list.GetItemText(i, 0).GetString());
  return names;
}

class ChangePortTest : public PortDeviceTest {
 protected:
  ChangePortTest()
      : PortDeviceTest({{L"\\Device\\Serial0", L"COM1"}, {L"\\Device\\Serial2", L"COM3"}},
                       {{L"\\Device\\Parallel0", L"\\DosDevices\\LPT1"}, {L"\\Device\\Parallel1", L"\\DosDevices\\LPT2"}}) {}
  void TearDown() override {
    if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    m_devices.clear();
  }

  FakePortDevice& AddPort(const std::wstring& name, const std::wstring& description = L"Quenlath") {
    m_devices.push_back(std::make_unique<FakePortDevice>());
    FakePortDevice& device = *m_devices.back();
    EXPECT_TRUE(device.ok());
    EXPECT_TRUE(device.SetPortName(name));
    if (!description.empty()) {
      EXPECT_TRUE(device.SetDescription(description));
    }
    return device;
  }
  void Open() { ASSERT_NE(nullptr, m_dlg.Create(nullptr)); }
  void Select(std::initializer_list<int> rows) {
    for (int row : rows) m_dlg.m_portList.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }
  // Clicks "Chg. Port No." with the dialog, when it comes, answered by
  // choosing `choice` (when given) and clicking `button`; records what its
  // list offered.
  void ChangePort(const std::wstring& choice, int button = IDOK) {
    m_offered.clear();
    uitest::ScopedDialogAnswer dialogs([&](HWND dialog) {
      const CComboBox combo(GetDlgItem(dialog, IDC_PORT_NAMES));
      for (int i = 0; i < combo.GetCount(); ++i) m_offered.emplace_back(combo.GetLBText(i).GetString());
      if (!choice.empty()) {
        EXPECT_TRUE(uitest::ChooseByText(combo, choice.c_str())) << choice;
      }
      return button;
    });
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CHANGE_PORT, BN_CLICKED),
                      reinterpret_cast<LPARAM>(m_dlg.GetDlgItem(IDC_CHANGE_PORT)));
    m_seen = !dialogs.Captions().empty();
  }

  CMainDlg m_dlg;
  std::vector<std::unique_ptr<FakePortDevice>> m_devices;
  uitest::ScopedBoxAnswer m_boxes{IDOK};
  bool m_seen = false;
  Names m_offered;
};

TEST_F(ChangePortTest, WithoutASelectedRowShowsMessage106AndOffersNoDialog) {
  FakePortDevice& port = AddPort(L"COM3");
  Open();
  ChangePort(L"COM7");
  EXPECT_FALSE(m_seen);
  ASSERT_EQ(1u, m_boxes.Boxes().size());
  EXPECT_EQ(L"Please select one port first!", m_boxes.Boxes()[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), m_boxes.Boxes()[0].type);
  EXPECT_EQ(L"COM3", port.PortName());
}

TEST_F(ChangePortTest, RenamesASerialPortToTheChosenFreeNameAndRefreshesTheList) {
  FakePortDevice& port = AddPort(L"COM3");
  Open();
  Select({0});
  ChangePort(L"COM7");
  ASSERT_TRUE(m_seen);
  EXPECT_EQ(L"COM7", port.PortName());
  EXPECT_EQ(L"Quenlath (COM7)", port.FriendlyName());
  EXPECT_EQ(Names({L"COM7"}), ListedNames(m_dlg.m_portList));
  EXPECT_EQ(-1, m_dlg.m_portList.GetSelectedIndex());
  EXPECT_TRUE(m_boxes.Boxes().empty());
  // The device map is the driver's to change.
  EXPECT_EQ(2u, m_serial.Values().size());
}

TEST_F(ChangePortTest, RenamesAParallelPortToTheOnlyFreeLptName) {
  FakePortDevice& port = AddPort(L"LPT2");
  Open();
  Select({0});
  ChangePort(L"");
  EXPECT_EQ(Names({L"LPT3"}), m_offered);
  EXPECT_EQ(L"LPT3", port.PortName());
  EXPECT_EQ(L"Quenlath (LPT3)", port.FriendlyName());
  EXPECT_EQ(Names({L"LPT3"}), ListedNames(m_dlg.m_portList));
}

TEST_F(ChangePortTest, CancelChangesNothing) {
  FakePortDevice& port = AddPort(L"COM3");
  Open();
  Select({0});
  ChangePort(L"COM7", IDCANCEL);
  ASSERT_TRUE(m_seen);
  EXPECT_EQ(L"COM3", port.PortName());
  EXPECT_EQ(L"", port.FriendlyName());
  EXPECT_EQ(0, m_dlg.m_portList.GetSelectedIndex());  // not refreshed
  EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(ChangePortTest, OnlyThePortOfTheFirstSelectedRowChanges) {
  FakePortDevice& first = AddPort(L"COM5");
  FakePortDevice& second = AddPort(L"COM6");
  FakePortDevice& third = AddPort(L"COM8");
  Open();
  Select({1, 2});
  ChangePort(L"COM9");
  EXPECT_EQ(L"COM5", first.PortName());
  EXPECT_EQ(L"COM9", second.PortName());
  EXPECT_EQ(L"COM8", third.PortName());
  EXPECT_EQ(L"", first.FriendlyName());
  EXPECT_EQ(Names({L"COM5", L"COM9", L"COM8"}), ListedNames(m_dlg.m_portList));
}

TEST_F(ChangePortTest, OfTwoDevicesWithTheSameNameOnlyTheFirstChanges) {
  FakePortDevice& first = AddPort(L"COM5");
  FakePortDevice& second = AddPort(L"COM5");
  Open();
  Select({1});
  ChangePort(L"COM9");
  EXPECT_EQ(L"COM9", first.PortName());
  EXPECT_EQ(L"COM5", second.PortName());
}

TEST_F(ChangePortTest, ANameOfAnotherKindOffersNothingAndOkWritesNothing) {
  FakePortDevice& port = AddPort(L"com3");
  Open();
  Select({0});
  ChangePort(L"");
  ASSERT_TRUE(m_seen);
  EXPECT_EQ(Names(), m_offered);
  EXPECT_EQ(L"com3", port.PortName());
  EXPECT_EQ(L"", port.FriendlyName());
  EXPECT_EQ(0, m_dlg.m_portList.GetSelectedIndex());
}

TEST_F(ChangePortTest, WithoutADeviceDescriptionTheFriendlyNameHasThePackagesOne) {
  FakePortDevice& port = AddPort(L"COM3", L"");
  Open();
  Select({0});
  ChangePort(L"COM12");
  EXPECT_EQ(L"COM12", port.PortName());
  EXPECT_EQ(L"Quenlath (COM12)", port.FriendlyName());
}

TEST_F(ChangePortTest, AFullLengthDescriptionMakesTheWholeFriendlyName) {
  const std::wstring description(99, L'Q');  // fills the 200-byte description buffer
  FakePortDevice& port = AddPort(L"COM3", description);
  Open();
  Select({0});
  ChangePort(L"COM256");
  EXPECT_EQ(L"COM256", port.PortName());
  EXPECT_EQ(description + L" (COM256)", port.FriendlyName());
}

}  // namespace
