#include "AtlReg.h"
#include "com/testing/ScratchKey.h"

#include <gtest/gtest.h>

#include <string>

namespace {
class RegKeyExTest : public ScratchKeyTest<RegKeyEx> {
protected:
    void SetRaw(const wchar_t* name, DWORD type, const void* bytes, DWORD size)
    {
        ASSERT_EQ(RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(bytes), size), ERROR_SUCCESS);
    }
};
} // namespace

TEST_F(RegKeyExTest, EnumeratesEveryValueTypeWhole)
{
    const std::wstring longName(300, L'n');
    const std::wstring longText(5000, L't');
    const DWORD number = 0x12345678;
    const unsigned char binary[3] = {0xFF, 0x01, 0x7F};
    const wchar_t multi[] = L"a\0bc\0";
    key.SetStringValue(L"Port", L"COM1");
    key.SetDWORDValue(L"Baudrate", number);
    SetRaw(L"Bin", REG_BINARY, binary, sizeof(binary));
    SetRaw(L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    SetRaw(L"Expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    key.SetStringValue(longName.c_str(), longText.c_str());
    key.SetStringValue(L"", L"default");
    SetRaw(L"Empty", REG_NONE, nullptr, 0);

    DWORD count = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(count, 8u);

    int seen = 0;
    for (DWORD i = 0; i < count; ++i) {
        CString name;
        CRegData data;
        ASSERT_EQ(key.EnumValue(i, name, &data), ERROR_SUCCESS) << i;
        const DWORD type = *data.GetTypePtr();
        if (name == L"Port") {
            EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
            EXPECT_STREQ(data.GetBuffer(), L"COM1");
        } else if (name == L"Baudrate") {
            EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
            EXPECT_EQ(*reinterpret_cast<const DWORD*>(data.GetData()), number);
        } else if (name == L"Bin") {
            EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
            EXPECT_EQ(memcmp(data.GetData(), binary, 3), 0);
            EXPECT_EQ(data.GetData()[3], 0) << "the rest of the buffer is zero";
        } else if (name == L"Multi") {
            EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
            EXPECT_EQ(memcmp(data.GetData(), multi, sizeof(multi)), 0);
        } else if (name == L"Expand") {
            EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
            EXPECT_STREQ(data.GetBuffer(), L"%TEMP%") << "stored text, not expanded";
        } else if (name == longName.c_str()) {
            EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
            EXPECT_EQ(std::wstring(data.GetBuffer()), longText);
        } else if (name == L"") {
            EXPECT_STREQ(data.GetBuffer(), L"default");
        } else if (name == L"Empty") {
            EXPECT_EQ(type, static_cast<DWORD>(REG_NONE));
            EXPECT_EQ(data.GetBuffer()[0], L'\0');
        } else {
            ADD_FAILURE() << "unexpected value";
            continue;
        }
        ++seen;
    }
    EXPECT_EQ(seen, 8);
}

TEST_F(RegKeyExTest, NamesAroundTheFirstBufferSize)
{
    for (size_t length : {19u, 20u, 21u, 40u, 41u}) {
        const std::wstring name(length, L'x');
        key.SetStringValue(name.c_str(), L"v");
        CString read;
        CRegData data;
        ASSERT_EQ(key.EnumValue(0, read, &data), ERROR_SUCCESS) << length;
        EXPECT_EQ(static_cast<size_t>(read.GetLength()), length);
        key.DeleteValue(name.c_str());
    }
}

TEST_F(RegKeyExTest, StringWithoutTerminatorReadsTerminated)
{
    const wchar_t tenChars[] = {L'P', L'O', L'S', L'P', L'r', L'i', L'n', L't', L'e', L'r'};
    SetRaw(L"Raw", REG_SZ, tenChars, sizeof(tenChars));
    CString name;
    CRegData data;
    ASSERT_EQ(key.EnumValue(0, name, &data), ERROR_SUCCESS);
    EXPECT_STREQ(data.GetBuffer(), L"POSPrinter");
}

TEST_F(RegKeyExTest, PastTheLastValueLeavesNameAndDataAlone)
{
    key.SetStringValue(L"A", L"x");
    CString name(L"before");
    CRegData data;
    data.Alloc(4);
    wcscpy(data.GetBuffer(), L"keep");
    EXPECT_EQ(key.EnumValue(1, name, &data), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(name, L"before");
    EXPECT_STREQ(data.GetBuffer(), L"keep");
}

TEST_F(RegKeyExTest, FindValueIgnoresCaseAsTheRegistryDoes)
{
    key.SetStringValue(L"abc", L"Printer A");
    key.SetStringValue(L"\u00C4rger", L"Printer B");
    key.SetStringValue(L"\u0416", L"Printer C");

    CRegData data;
    ASSERT_TRUE(key.FindValue(L"ABC", &data));
    EXPECT_STREQ(data.GetBuffer(), L"Printer A");

    // Names the registry holds as the same value must be found, or a caller
    // told "free" would overwrite the existing value.
    for (const wchar_t* twin : {L"\u00E4RGER", L"\u0436"}) {
        wchar_t stored[32];
        ULONG chars = 32;
        ASSERT_EQ(key.QueryStringValue(twin, stored, &chars), ERROR_SUCCESS) << "registry ignores this case too";
        CRegData found;
        ASSERT_TRUE(key.FindValue(twin, &found));
        EXPECT_STREQ(found.GetBuffer(), stored);
    }
    EXPECT_FALSE(key.FindValue(L"abd", &data));
    EXPECT_FALSE(key.FindValue(L"ab", &data));
}

TEST_F(RegKeyExTest, FindValueInAnEmptyKeyIsFalse)
{
    CRegData data;
    EXPECT_FALSE(key.FindValue(L"anything", &data));
}

TEST(CRegData, AllocGivesAZeroFilledBufferAndKeepsTheSize)
{
    CRegData data;
    EXPECT_EQ(data.GetBuffer(), nullptr);
    EXPECT_EQ(data.GetSize(), 0);
    data.Alloc(20);
    EXPECT_EQ(data.GetSize(), 20);
    for (int i = 0; i <= 20; ++i)
        EXPECT_EQ(data.GetBuffer()[i], L'\0');
    data.Free();
    EXPECT_EQ(data.GetBuffer(), nullptr);
    EXPECT_EQ(data.GetSize(), 20);
}
