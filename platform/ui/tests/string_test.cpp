#include "test_resource.h"
#include "ui/Number.h"
#include "ui/SimpleMap.h"
#include "ui/String.h"

#include <gtest/gtest.h>

TEST(CString, FormatUsesWideStringsAndGrowsPastAnyFixedBuffer)
{
    CString s;
    s.Format(L"[%s][%d][%X]", L"abc", -42, 255u);
    EXPECT_EQ(s, L"[abc][-42][FF]");

    const std::wstring longText(5000, L'x');
    s.Format(L"%s!", longText.c_str());
    EXPECT_EQ(s.GetLength(), 5001);
    s.AppendFormat(L"%d", 7);
    EXPECT_EQ(s.Right(2), L"!7");
}

TEST(CString, LoadStringFromTheResourceTable)
{
    CString s;
    ASSERT_TRUE(s.LoadString(IDS_GREETING));
    EXPECT_EQ(s, L"Hello, %s: %d");
    CString formatted;
    formatted.Format(s, L"you", 3);
    EXPECT_EQ(formatted, L"Hello, you: 3");

    s = L"keep";
    EXPECT_FALSE(s.LoadString(9999));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CString, SubstringsAndSearch)
{
    const CString s(L"POSPrinter\\Model");
    EXPECT_EQ(s.Find(L'\\'), 10);
    EXPECT_EQ(s.Find(L"Model"), 11);
    EXPECT_EQ(s.Find(L"x"), -1);
    EXPECT_EQ(s.Left(10), L"POSPrinter");
    EXPECT_EQ(s.Mid(11), L"Model");
    EXPECT_EQ(s.Mid(11, 2), L"Mo");
    EXPECT_EQ(s.Mid(40), L"");
    EXPECT_EQ(s.Right(40), s);
}

TEST(CString, CompareNoCaseFoldsBeyondAscii)
{
    EXPECT_EQ(CString(L"ABC").CompareNoCase(L"abc"), 0);
    EXPECT_EQ(CString(L"\u00C4RGER").CompareNoCase(L"\u00E4rger"), 0);
    EXPECT_EQ(CString(L"\u0416").CompareNoCase(L"\u0436"), 0);
    EXPECT_NE(CString(L"abc").CompareNoCase(L"abd"), 0);
}

TEST(CString, BufferRoundTrip)
{
    CString s;
    wchar_t* buffer = s.GetBuffer(10);
    wcscpy(buffer, L"abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(s, L"abc");
}

TEST(ParseInt, AcceptsOnlyWholeSignedNumbers)
{
    int v = 99;
    EXPECT_TRUE(ui::ParseInt(L"20", v));
    EXPECT_EQ(v, 20);
    EXPECT_TRUE(ui::ParseInt(L"  -5 ", v));
    EXPECT_EQ(v, -5);
    EXPECT_TRUE(ui::ParseInt(L"+7", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(ui::ParseInt(L"-2147483648", v));
    EXPECT_EQ(v, INT_MIN);
    EXPECT_TRUE(ui::ParseInt(L"2147483647", v));
    EXPECT_EQ(v, INT_MAX);

    v = 99;
    for (const wchar_t* bad : {L"20abc", L"", L" ", L"-", L"2147483648", L"-2147483649", L"1 2", L"0x10", L"99999999999999999999"}) {
        EXPECT_FALSE(ui::ParseInt(bad, v)) << bad;
        EXPECT_EQ(v, 99) << bad;
    }
}

TEST(CSimpleMap, KeepsInsertionOrderAndFindsByKey)
{
    CSimpleMap<int, CString> map;
    EXPECT_EQ(map.FindKey(1), -1);
    EXPECT_TRUE(map.Add(30, L"c"));
    EXPECT_TRUE(map.Add(10, L"a"));
    EXPECT_TRUE(map.Add(20, L"b"));
    ASSERT_EQ(map.GetSize(), 3);
    EXPECT_EQ(map.GetKeyAt(0), 30);
    EXPECT_EQ(map.GetValueAt(2), L"b");
    EXPECT_EQ(map.FindKey(10), 1);
    EXPECT_EQ(map.Lookup(20), L"b");
    EXPECT_EQ(map.Lookup(99), L"");
    map.RemoveAll();
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_EQ(map.FindKey(30), -1);
}
