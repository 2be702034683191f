#include "com/RegKey.h"
#include "com/testing/ScratchKey.h"

#include <gtest/gtest.h>

namespace {
class CRegKeyTest : public ScratchKeyTest<CRegKey> {};
} // namespace

TEST_F(CRegKeyTest, StringValuesMustBeTerminatedStringsThatFit)
{
    ASSERT_EQ(key.SetStringValue(L"Port", L"COM1"), ERROR_SUCCESS);
    wchar_t text[8] = {};
    ULONG chars = 8;
    ASSERT_EQ(key.QueryStringValue(L"Port", text, &chars), ERROR_SUCCESS);
    EXPECT_STREQ(text, L"COM1");
    EXPECT_EQ(chars, 5u);

    chars = 4;
    EXPECT_NE(key.QueryStringValue(L"Port", text, &chars), ERROR_SUCCESS);

    const wchar_t raw[] = {L'A', L'B'};
    ASSERT_EQ(RegSetValueExW(key.Get(), L"Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof(raw)), ERROR_SUCCESS);
    chars = 8;
    EXPECT_NE(key.QueryStringValue(L"Raw", text, &chars), ERROR_SUCCESS);

    ASSERT_EQ(key.SetDWORDValue(L"Baudrate", 6), ERROR_SUCCESS);
    chars = 8;
    EXPECT_NE(key.QueryStringValue(L"Baudrate", text, &chars), ERROR_SUCCESS);
    EXPECT_NE(key.QueryStringValue(L"Missing", text, &chars), ERROR_SUCCESS);
}

TEST_F(CRegKeyTest, DwordValuesMustBeDwords)
{
    ASSERT_EQ(key.SetDWORDValue(L"Baudrate", 6), ERROR_SUCCESS);
    ASSERT_EQ(key.SetStringValue(L"Text", L"6"), ERROR_SUCCESS);
    DWORD value = 99;
    ASSERT_EQ(key.QueryDWORDValue(L"Baudrate", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 6u);
    value = 99;
    EXPECT_NE(key.QueryDWORDValue(L"Text", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 99u);
}

TEST_F(CRegKeyTest, SubkeysEnumerateAndDelete)
{
    CRegKey child;
    ASSERT_EQ(child.Create(key.Get(), L"Device A", KEY_WRITE), ERROR_SUCCESS);
    child.Close();
    wchar_t name[260];
    DWORD chars = 260;
    ASSERT_EQ(key.EnumKey(0, name, &chars), ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Device A");
    chars = 260;
    EXPECT_EQ(key.EnumKey(1, name, &chars), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(key.DeleteSubKey(L"Device A"), ERROR_SUCCESS);
    CRegKey gone;
    EXPECT_NE(gone.Open(key.Get(), L"Device A", KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(gone.Get(), nullptr);
}
