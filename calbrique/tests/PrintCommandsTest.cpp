#include "CheckHealthReport.h"
#include "HeldBytes.h"
#include "PrinterCommands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string SetUpBytes = Bytes({0x1B, 0x3D, 0x01, 0x1B, 0x61, 0x00, 0x1D, 0x4C, 0x00, 0x00, 0x1B, 0x7B, 0x00,
                                       0x1B, 0x74, 0x00, 0x1B, 0x52, 0x00, 0x1B, 0x21, 0x00, 0x1B, 0x33, 0x21});
const std::string BarCodePrelude = Bytes({0x1D, 0x68, 0x23, 0x1D, 0x48, 0x02, 0x1D, 0x77, 0x02});

TEST(Transaction, StartDiscardsWhatWasHeldAndPutsTheSetUpFirst)
{
    TransactionBuffer buffer;
    buffer.Append(3, "old");
    StartTransaction(buffer);
    EXPECT_EQ(Held(buffer), SetUpBytes);
    buffer.Append(1, "X");
    AppendCut(buffer, 100);
    EXPECT_EQ(Held(buffer), SetUpBytes + "X" + Bytes({0x1D, 0x56, 0x00}));
}

TEST(Transaction, OnlyExactlyHundredPercentCutsFully)
{
    for (long percentage : {0L, 50L, 99L, 101L, 150L, -1L}) {
        TransactionBuffer buffer;
        AppendCut(buffer, percentage);
        EXPECT_EQ(Held(buffer), Bytes({0x1D, 0x56, 0x01})) << percentage;
    }
    TransactionBuffer buffer;
    AppendCut(buffer, 100);
    EXPECT_EQ(Held(buffer), Bytes({0x1D, 0x56, 0x00}));
}

TEST(BarCode, SymbologiesAndTextPositions)
{
    const std::pair<long, unsigned> printed[] = {{101, 0x41}, {102, 0x42}, {103, 0x44}, {104, 0x43},
                                                 {106, 0x46}, {107, 0x47}, {108, 0x45}, {110, 0x49}};
    for (const auto& [symbology, system] : printed) {
        std::uint8_t byte = 0;
        EXPECT_TRUE(BarCodeSystem(symbology, byte)) << symbology;
        EXPECT_EQ(byte, system) << symbology;
    }
    for (long symbology : {0L, 100L, 105L, 109L, 111L, 201L, -101L}) {
        std::uint8_t byte = 0;
        EXPECT_FALSE(BarCodeSystem(symbology, byte)) << symbology;
    }
    EXPECT_EQ(TextPositionByte(-13), 0x02);
    EXPECT_EQ(TextPositionByte(-12), 0x01);
    EXPECT_EQ(TextPositionByte(-11), 0x00);
    EXPECT_EQ(TextPositionByte(0), 0x00);
}

TEST(BarCode, CommandWithCountAndDataUntranslated)
{
    TransactionBuffer buffer;
    AppendBarCode(buffer, "12345", 108, -13);
    EXPECT_EQ(Held(buffer), BarCodePrelude + Bytes({0x1D, 0x6B, 0x45, 0x05}) + "12345");

    // Ten bytes: the count is 0A, and data bytes 0A and 1B stay as they are.
    const std::string data = "\n\x1b|bC12345";
    TransactionBuffer tricky;
    AppendBarCode(tricky, data, 110, -12);
    EXPECT_EQ(Held(tricky), Bytes({0x1D, 0x68, 0x23, 0x1D, 0x48, 0x01, 0x1D, 0x77, 0x02, 0x1D, 0x6B, 0x49, 0x0A}) + data);

    TransactionBuffer empty;
    AppendBarCode(empty, "", 101, -13);
    EXPECT_EQ(Held(empty), BarCodePrelude + Bytes({0x1D, 0x6B, 0x41, 0x00}));
}

TEST(BarCode, TooLongOrUnprintedLeavesOnlyThePrelude)
{
    TransactionBuffer longest;
    AppendBarCode(longest, std::string(255, '7'), 108, -13);
    EXPECT_EQ(Held(longest), BarCodePrelude + Bytes({0x1D, 0x6B, 0x45, 0xFF}) + std::string(255, '7'));

    TransactionBuffer tooLong;
    AppendBarCode(tooLong, std::string(256, '7'), 108, -13);
    EXPECT_EQ(Held(tooLong), BarCodePrelude);

    for (long symbology : {105L, 109L}) {
        TransactionBuffer buffer;
        AppendBarCode(buffer, "12345", symbology, -13);
        EXPECT_EQ(Held(buffer), BarCodePrelude) << symbology;
    }
}

TEST(CheckHealthReport, HeaderByLevel)
{
    const std::string body = "OPOS Norvale\r\n\r\nServiceObjectVersion = 1011001\r\n\r\nDeviceName = P1\x1b\x64\x05";
    EXPECT_EQ(CheckHealthReport(1, "P1"), "\x1b\x40" + body);
    EXPECT_EQ(CheckHealthReport(2, "P1"), "\x1b\x40" "External HCheck !!\r\n\r\n" + body);
    EXPECT_EQ(CheckHealthReport(3, "P1"), "\x1b\x40" "Interactive HCheck !!\r\n\r\n" + body);
    for (long level : {0L, 4L, -2L}) EXPECT_EQ(CheckHealthReport(level, "P1"), "\x1b\x40" + body) << level;
    EXPECT_EQ(CheckHealthReport(1, ""), "\x1b\x40" + body.substr(0, body.size() - 5) + "\x1b\x64\x05");
}

}  // namespace
