#include "CodePage.h"
#include "HeldBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePage, CharacterSetOrSystemAnsiPage)
{
    for (long own : {400L, 437L, 850L, 932L, 990L, 1000L, 1252L, 54936L, 65001L})
        EXPECT_EQ(PrintCodePage(own), static_cast<UINT>(own)) << own;
    for (long fallBack : {-1L, 0L, 101L, 399L, 991L, 997L, 998L, 999L}) EXPECT_EQ(PrintCodePage(fallBack), CP_ACP) << fallBack;
}

TEST(CodePage, ConvertsRealText)
{
    EXPECT_EQ(ToCodePage(L"Caf\u00e9", 437), "Caf" + Bytes({0x82}));
    EXPECT_EQ(ToCodePage(L"Caf\u00e9", 1252), "Caf" + Bytes({0xE9}));
    EXPECT_EQ(ToCodePage(L"\u65e5\u672c", 932), Bytes({0x93, 0xFA, 0x96, 0x7B}));
    EXPECT_EQ(ToCodePage(L"\uff71", 932), Bytes({0xB1}));  // half-width katakana: one byte

    // The system page is what GetACP() names (under Wine it follows LANG).
    EXPECT_EQ(ToCodePage(L"Caf\u00e9 \u00e0 \u00df", CP_ACP), ToCodePage(L"Caf\u00e9 \u00e0 \u00df", GetACP()));
}

TEST(CodePage, BufferHoldsWhatTheConversionNeeds)
{
    // Three bytes per character in UTF-8, more than twice the characters.
    EXPECT_EQ(ToCodePage(L"\u65e5\u672c\u8a9e", 65001),
              Bytes({0xE6, 0x97, 0xA5, 0xE6, 0x9C, 0xAC, 0xE8, 0xAA, 0x9E}));
    // UTF-7: five bytes for one character.
    EXPECT_EQ(ToCodePage(L"\u65e5", 65000), "+ZeU-");
    // GB18030 gives four bytes to characters outside GBK (here Hangul),
    // where the platform has that code page (Wine 8 has not).
    if (IsValidCodePage(54936)) {
        EXPECT_EQ(ToCodePage(L"\ud55c\uae00", 54936).size(), 8u);
        EXPECT_EQ(ToCodePage(L"\u4e2d", 54936), Bytes({0xD6, 0xD0}));
    }
}

TEST(CodePage, EndsAtTheFirstZeroAndFailsEmpty)
{
    EXPECT_EQ(ToCodePage(nullptr, 1252), "");
    EXPECT_EQ(ToCodePage(L"", 1252), "");
    const wchar_t withZero[] = {L'A', L'B', 0, L'C', 0};
    EXPECT_EQ(ToCodePage(withZero, 1252), "AB");
    EXPECT_EQ(ToCodePage(L"AB", 12345), "");  // no such code page
}

}  // namespace
