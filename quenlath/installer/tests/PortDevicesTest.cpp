#include "PortDevices.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PortDeviceFixture.h"

namespace {

using Names = std::vector<std::wstring>;

class PortDevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemovePortDevices();
  }
  FakePortDevice& AddDevice() {
    m_devices.push_back(std::make_unique<FakePortDevice>());
    EXPECT_TRUE(m_devices.back()->ok());
    return *m_devices.back();
  }
  std::vector<std::unique_ptr<FakePortDevice>> m_devices;
};

TEST_F(PortDevicesTest, NoPortPresentGivesAnEmptyList) { EXPECT_EQ(Names(), ListPortNames(nullptr)); }

TEST_F(PortDevicesTest, ListsPresentPortsInEnumerationOrder) {
  ASSERT_TRUE(AddDevice().SetPortName(L"COM5"));
  EXPECT_EQ(Names({L"COM5"}), ListPortNames(nullptr));
  ASSERT_TRUE(AddDevice().SetPortName(L"LPT2"));
  EXPECT_EQ(Names({L"COM5", L"LPT2"}), ListPortNames(nullptr));
}

TEST_F(PortDevicesTest, SkipsDevicesWhoseNameDoesNotReadAndListsTheNextOnes) {
  AddDevice();  // no PortName at all
  ASSERT_TRUE(AddDevice().SetPortName(L"COM123456"));  // 9 characters: fits
  ASSERT_TRUE(AddDevice().SetPortName(L"COM1234567"));  // 10 characters: too long
  const DWORD number = 7;
  ASSERT_TRUE(AddDevice().SetPortNameRaw(REG_DWORD, &number, sizeof(number)));
  ASSERT_TRUE(AddDevice().SetPortNameRaw(REG_BINARY, L"COM8", 10));
  // No terminator (a null right after the data would be counted in by the setter).
  ASSERT_TRUE(AddDevice().SetPortNameRaw(REG_SZ, L"COM9X", 8));
  ASSERT_TRUE(AddDevice().SetPortNameRaw(REG_SZ, L"COM9\0", 9));  // odd length
  ASSERT_TRUE(AddDevice().SetPortNameRaw(REG_EXPAND_SZ, L"COM4", 10));
  ASSERT_TRUE(AddDevice().SetPortName(L"COM3"));
  EXPECT_EQ(Names({L"COM123456", L"COM4", L"COM3"}), ListPortNames(nullptr));
}

// ReadPortName on a plain key, with a poisoned buffer: nothing unterminated
// ever comes back.
class ReadPortNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    m_path = L"Software\\QuenlathTest\\ReadPortName\\" + std::wstring(name.begin(), name.end());  // one per test: they run side by side
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &m_key, nullptr));
  }
  void TearDown() override {
    RegCloseKey(m_key);
    RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str());
  }
  void Set(DWORD type, const void* data, DWORD bytes) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(m_key, L"PortName", 0, type, static_cast<const BYTE*>(data), bytes));
  }
  bool Read(DWORD chars = 10) {
    for (wchar_t& c : m_buffer) c = L'#';
    return ReadPortName(m_key, m_buffer, chars);
  }
  std::wstring m_path;
  HKEY m_key = nullptr;
  wchar_t m_buffer[16];
};

TEST_F(ReadPortNameTest, AcceptsTerminatedStringsThatFit) {
  Set(REG_SZ, L"COM123456", 20);
  EXPECT_TRUE(Read());
  EXPECT_STREQ(L"COM123456", m_buffer);
  Set(REG_EXPAND_SZ, L"LPT1", 10);
  EXPECT_TRUE(Read());
  EXPECT_STREQ(L"LPT1", m_buffer);
  Set(REG_SZ, L"", 0);
  EXPECT_TRUE(Read());
  EXPECT_STREQ(L"", m_buffer);
}

TEST_F(ReadPortNameTest, RejectsEverythingElseWithAnEmptyBuffer) {
  EXPECT_FALSE(Read());  // missing
  EXPECT_STREQ(L"", m_buffer);
  Set(REG_SZ, L"COM1234567", 22);
  EXPECT_FALSE(Read());
  EXPECT_STREQ(L"", m_buffer);
  Set(REG_SZ, L"COM12345678", 22);  // fills the buffer exactly, no terminator
  EXPECT_FALSE(Read(11));
  EXPECT_STREQ(L"", m_buffer);
  Set(REG_SZ, L"COM9X", 8);  // no terminator
  EXPECT_FALSE(Read());
  EXPECT_STREQ(L"", m_buffer);
  Set(REG_SZ, L"COM9", 9);
  EXPECT_FALSE(Read());
  EXPECT_STREQ(L"", m_buffer);
  Set(REG_MULTI_SZ, L"COM9\0", 12);
  EXPECT_FALSE(Read());
  EXPECT_STREQ(L"", m_buffer);
}

}  // namespace
