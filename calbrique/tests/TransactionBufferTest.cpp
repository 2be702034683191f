#include "EscapeCodes.h"
#include "HeldBytes.h"
#include "TransactionBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const std::string Seq = "\x1b|";
const std::string LineEnd = std::string("\x1bJ\x18\x1bJ", 5) + std::string("\0\x1b!\0\x1b-\0", 7);

void Append(TransactionBuffer& buffer, const std::string& text)
{
    buffer.Append(static_cast<std::int32_t>(text.size()), text.data());
}

std::string Translate(const std::string& text)
{
    TransactionBuffer buffer;
    Append(buffer, text);
    return Held(buffer);
}

std::string Repeat(const std::string& s, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += s;
    return out;
}

TEST(Translator, CopiesTextAndExpandsLineFeeds)
{
    EXPECT_EQ(Translate("A\nB"), "A" + LineEnd + "B");
    EXPECT_EQ(Translate(std::string("a\r\0b\xff", 5)), std::string("a\r\0b\xff", 5));
    EXPECT_EQ(Translate("\n\n"), LineEnd + LineEnd);
}

TEST(Translator, EmptyOrNegativeLengthAppendsNothing)
{
    TransactionBuffer buffer;
    buffer.Append(0, nullptr);
    buffer.Append(-5, "abc");
    EXPECT_EQ(Held(buffer), "");
}

TEST(Translator, EscWithoutBarIsCopied)
{
    EXPECT_EQ(Translate("a\x1b"), "a\x1b");
    EXPECT_EQ(Translate("\x1b" "A\n"), "\x1b" "A" + LineEnd);
    EXPECT_EQ(Translate("\x1b\n"), "\x1b" + LineEnd);
    EXPECT_EQ(Translate("\x1b" + Seq + "N"), Bytes({0x1B, 0x1B, 0x21, 0x00, 0x1B, 0x2D, 0x00}));
}

TEST(Translator, EmbeddedBytesPassUnchanged)
{
    EXPECT_EQ(Translate(Seq + "3E\n\x1b|q"), "\n\x1b|q");
    EXPECT_EQ(Translate(Seq + "2Eab"), "ab");
    EXPECT_EQ(Translate("x" + Seq + "0E\n"), "x" + LineEnd);
}

TEST(Translator, EmbeddedCountThatDoesNotFitIsReadAsText)
{
    EXPECT_EQ(Translate(Seq + "5Ea\n"), "a" + LineEnd);
    EXPECT_EQ(Translate(Seq + "!Exy"), "xy");
    EXPECT_EQ(Translate(Seq + "!5E" + Seq + "bC"), Bytes({0x1B, 0x45, 0x01}));
}

TEST(Translator, SkipDropsBytes)
{
    EXPECT_EQ(Translate(Seq + "2RXYZ"), "Z");
    EXPECT_EQ(Translate(Seq + "2R\n\x1bZ"), "Z");
    EXPECT_EQ(Translate(Seq + "3RXY"), "XY");
    EXPECT_EQ(Translate(Seq + "!RXY"), "XY");
}

TEST(Translator, CodesOfTheTable)
{
    const std::string cut5 = Repeat("\r\n", 5);
    const struct
    {
        const char* letters;
        std::string bytes;
    } cases[] = {
        {"P", Bytes({0x1D, 0x56, 0x01})},
        {"99P", Bytes({0x1D, 0x56, 0x01})},
        {"100P", Bytes({0x1D, 0x56, 0x00})},
        {"!P", Bytes({0x1D, 0x56, 0x00})},
        {"fP", cut5 + Bytes({0x1D, 0x56, 0x01})},
        {"sP", cut5 + Bytes({0x1D, 0x56, 0x01})},
        {"150sP", cut5 + Bytes({0x1D, 0x56, 0x00})},
        {"lF", "\r\n"},
        {"3lF", "\r\n\r\n\r\n"},
        {"!lF", ""},
        {"!5lF", ""},
        {"bC", Bytes({0x1B, 0x45, 0x01})},
        {"!bC", Bytes({0x1B, 0x45, 0x00})},
        {"1bC", Bytes({0x1B, 0x45, 0x00})},
        {"uC", Bytes({0x1B, 0x21, 0x80})},
        {"2uC", Bytes({0x1B, 0x2D, 0x02})},
        {"258uC", Bytes({0x1B, 0x2D, 0x02})},
        {"!uC", Bytes({0x1B, 0x2D, 0xFF})},
        {"2C", Bytes({0x1D, 0x21, 0x10})},
        {"3C", Bytes({0x1D, 0x21, 0x01})},
        {"4C", Bytes({0x1D, 0x21, 0x11})},
        {"1C", Bytes({0x1D, 0x21, 0x00})},
        {"5C", Bytes({0x1D, 0x21, 0x00})},
        {"!C", Bytes({0x1D, 0x21, 0x00})},
        {"2hC", Bytes({0x1D, 0x21, 0x10})},
        {"17hC", Bytes({0x1D, 0x21, 0x00})},
        {"!hC", Bytes({0x1D, 0x21, 0xE0})},
        {"2vC", Bytes({0x1D, 0x21, 0x01})},
        {"!vC", Bytes({0x1D, 0x21, 0xFE})},
        {"hC", ""},
        {"vC", ""},
        {"N", Bytes({0x1B, 0x21, 0x00, 0x1B, 0x2D, 0x00})},
        {"cA", Bytes({0x1B, 0x61, 0x01})},
        {"lA", Bytes({0x1B, 0x61, 0x00})},
        {"rA", Bytes({0x1B, 0x61, 0x02})},
        {"12!5lF", ""},
        {"!12lF", ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.letters);
        EXPECT_EQ(Translate("<" + Seq + c.letters + ">"), "<" + c.bytes + ">");
    }
}

TEST(Translator, OtherCodesAppendNothing)
{
    for (const char* letters : {"rvC", "vhC", "X", "Fl", "Al", "abcdP", "fsP", "lfF", "Ff"})
    {
        SCOPED_TRACE(letters);
        const std::string out = Translate(Seq + letters);
        // Letters after the closing one are ordinary text again.
        const std::string rest = std::string(letters).substr(std::string(letters).find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") + 1);
        EXPECT_EQ(out, rest);
    }
}

TEST(Translator, BytesOfNoClassInsideASequenceAreIgnored)
{
    EXPECT_EQ(Translate(Seq + "b\nC"), Bytes({0x1B, 0x45, 0x01}));
    EXPECT_EQ(Translate(Seq + "b\x1b|\r -.\xc3\xa9" "C"), Bytes({0x1B, 0x45, 0x01}));
    EXPECT_EQ(Translate(Seq + "1\n2lF"), Repeat("\r\n", 12));
}

TEST(Translator, SequencesDoNotCrossAppendCalls)
{
    TransactionBuffer buffer;
    Append(buffer, "a" + Seq + "2l");
    Append(buffer, "F");
    Append(buffer, "\x1b");
    Append(buffer, "|N");
    EXPECT_EQ(Held(buffer), "aF\x1b|N");
}

// Text is copied in chunks while the storage has room and byte by byte near
// its end: the result must not depend on which.
TEST(Translator, ResultDoesNotDependOnWhereTheTextLands)
{
    const std::string text = "Total 12.50\n" + Seq + "bC" + "bold\x1b" "x\n" + Seq + "3Eab\ncd" + Seq + "2lF" +
                             "end of the receipt\n\x1b";
    const std::string alone = Translate(text);
    for (std::size_t before = 0; before < 80; ++before)
    {
        SCOPED_TRACE(before);
        TransactionBuffer buffer;
        Append(buffer, std::string(before, '-'));
        Append(buffer, text);
        Append(buffer, text.substr(before % text.size()));
        ASSERT_EQ(Held(buffer), std::string(before, '-') + alone + Translate(text.substr(before % text.size())));
    }
}

TEST(TransactionBuffer, PushByteChainsAndFlattenReturnsAll)
{
    TransactionBuffer buffer;
    buffer.PushByte(0x1B).PushByte(0x3D).PushByte(0x01);
    EXPECT_EQ(Held(buffer), Bytes({0x1B, 0x3D, 0x01}));

    // Flatten leaves the bytes held; Clear leaves the last flat copy readable.
    Append(buffer, "\n");
    const std::uint8_t* data = nullptr;
    std::uint32_t count = 0;
    buffer.Flatten(data, count);
    EXPECT_EQ(count, 15u);
    buffer.Clear();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), count), Bytes({0x1B, 0x3D, 0x01}) + LineEnd);

    EXPECT_TRUE(buffer.Flatten(data, count));
    EXPECT_NE(data, nullptr);
    EXPECT_EQ(count, 0u);
}

TEST(TransactionBuffer, StorageStaysWithinTwiceTheBytesHeld)
{
    TransactionBuffer buffer;
    std::size_t held = 0;
    for (int i = 0; i < 2000; ++i)
    {
        const std::string chunk = std::string(static_cast<std::size_t>(i % 97), 'x') + (i % 7 == 0 ? "\n" : "");
        Append(buffer, chunk);
        buffer.PushByte('y');
        held += chunk.size() + (i % 7 == 0 ? 11 : 0) + 1;
        ASSERT_LE(buffer.Capacity(), 2 * held);
    }
    buffer.Clear();
    EXPECT_EQ(buffer.Capacity(), 0u);
}

// Counts past 32 bits saturate: the E or R count does not fit and is read
// as text, P cuts fully, the other codes see INT32_MAX or INT32_MIN.
TEST(TransactionBuffer, OverflowingNumbersSaturate)
{
    const std::string huge = "99999999999999999999";
    EXPECT_EQ(Translate(Seq + huge + "Eab"), "ab");
    EXPECT_EQ(Translate(Seq + "!" + huge + "Eab"), "ab");
    EXPECT_EQ(Translate(Seq + huge + "Rab"), "ab");
    EXPECT_EQ(Translate(Seq + "4294967296P"), Bytes({0x1D, 0x56, 0x00}));
    EXPECT_EQ(Translate(Seq + "4294967298C"), Bytes({0x1D, 0x21, 0x00}));
    EXPECT_EQ(Translate(Seq + huge + "uC"), Bytes({0x1B, 0x2D, 0xFF}));
    EXPECT_EQ(Translate(Seq + huge + "hC"), Bytes({0x1D, 0x21, 0xE0}));
    // After '!' the digits grow the number downwards.
    const std::string down = "!11111111111111111111";
    EXPECT_EQ(Translate(Seq + down + "uC"), Bytes({0x1B, 0x2D, 0x00}));
    EXPECT_EQ(Translate(Seq + down + "hC"), Bytes({0x1D, 0x21, 0xF0}));
    EXPECT_EQ(Translate(Seq + down + "vC"), Bytes({0x1D, 0x21, 0xFF}));
    EXPECT_EQ(Translate(Seq + down + "P"), Bytes({0x1D, 0x56, 0x00}));
    EXPECT_EQ(Translate(Seq + down + "lF"), "");
}

TEST(TransactionBuffer, LineFeedCountIsBounded)
{
    EXPECT_EQ(Translate(Seq + "255lF"), Repeat("\r\n", MaxFeedLines));
    EXPECT_EQ(Translate(Seq + "256lF"), Repeat("\r\n", MaxFeedLines));
    EXPECT_EQ(Translate(Seq + "99999999999999lF"), Repeat("\r\n", MaxFeedLines));
}

TEST(TransactionBuffer, StopsAtMaxBytesAndThenHandsOutNothing)
{
    TransactionBuffer buffer;
    const std::string block(TransactionBuffer::MaxBytes / 4, 'x');
    for (int i = 0; i < 3; ++i)
        Append(buffer, block);
    Append(buffer, std::string(block.size() - 3, 'x'));
    const std::uint8_t* data = nullptr;
    std::uint32_t count = 0;
    EXPECT_TRUE(buffer.Flatten(data, count));
    EXPECT_EQ(count, TransactionBuffer::MaxBytes - 3) << "up to the limit all is held";

    // "ab" fits, the line end does not: from here on until Clear nothing is
    // handed out, though a single byte would still fit.
    Append(buffer, "ab\ncd");
    EXPECT_FALSE(buffer.Flatten(data, count));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(count, 0u);
    buffer.PushByte('z');
    Append(buffer, "z");
    EXPECT_FALSE(buffer.Flatten(data, count));
    EXPECT_LE(buffer.Capacity(), 2u * TransactionBuffer::MaxBytes);

    // Room again after Clear.
    buffer.Clear();
    Append(buffer, "ok\n");
    EXPECT_EQ(Held(buffer), "ok" + LineEnd);
}

} // namespace
