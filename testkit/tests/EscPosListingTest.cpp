#include "EscPosListing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The bytes of a literal, zero bytes included.
template <size_t N>
Bytes Of(const char (&s)[N])
{
    return Bytes(s, s + N - 1);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(EscPosListing, CommandsTextAndBarCodeOnePerLine)
{
    const Bytes bytes = Of("\x1b" "a\x01Hi \"you\"\xe9\x1d" "k\x45\x02" "42\x1dV\x00\r\n\x1d\x99");
    const std::vector<std::string> lines = Lines(EscPosListing(bytes));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0].substr(0, 16), "000000  1B 61 01");
    EXPECT_NE(lines[0].find("ESC a 1  justification"), std::string::npos);
    EXPECT_NE(lines[1].find("\"Hi \\x22you\\x22\\xE9\""), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2].substr(0, 20), "00000C  1D 6B 45 02 ");
    EXPECT_NE(lines[2].find("GS k 69 2  bar code"), std::string::npos);
    EXPECT_NE(lines[3].find("\"42\""), std::string::npos);
    EXPECT_NE(lines[4].find("GS V 0  cut paper"), std::string::npos);
    EXPECT_NE(lines[5].find("CR"), std::string::npos);
    EXPECT_NE(lines[6].find("LF"), std::string::npos);
    EXPECT_NE(lines[7].find("1D  "), std::string::npos);
    EXPECT_NE(lines[7].find("(unknown command byte)"), std::string::npos) << "GS 99 is no command we know";
    EXPECT_NE(lines[8].find("\"\\x99\""), std::string::npos) << "the byte after it is text again";
}

TEST(EscPosListing, CutShortCommandsAreNotReadPastTheEnd)
{
    EXPECT_NE(EscPosListing(Of("\x1b")).find("(unknown command byte)"), std::string::npos);
    EXPECT_NE(EscPosListing(Of("\x1b" "a")).find("(unknown command byte)"), std::string::npos);
    EXPECT_NE(EscPosListing(Of("\x1dk\x45\x05" "12")).find("(unknown command byte)"), std::string::npos);
    EXPECT_EQ(EscPosListing({}), "");
}

TEST(PaperLines, FeedsBarCodesAndCuts)
{
    const Bytes lineEnd = {0x1B, 0x4A, 0x18, 0x1B, 0x4A, 0x00, 0x1B, 0x21, 0x00, 0x1B, 0x2D, 0x00};
    Bytes bytes = Of("\x1b" "E\x01TOTAL");
    bytes.insert(bytes.end(), lineEnd.begin(), lineEnd.end());
    const Bytes rest = Of("\x1dk\x45\x02" "42\r\nThanks\x1b" "d\x03\x1dV\x01");
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    const std::vector<std::string> expected = {"TOTAL", "||| ||| 42 ||| |||", "", "Thanks", "", "",
                                               "-------- cut --------"};
    EXPECT_EQ(PaperLines(bytes), expected);
    EXPECT_TRUE(PaperLines({}).empty());
}

}  // namespace
