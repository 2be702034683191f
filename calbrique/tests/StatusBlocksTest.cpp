#include "StatusBlocks.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

long Decode(const std::vector<std::uint8_t>& bytes)
{
    return DecodeStatusBlocks(bytes.data(), bytes.size());
}

TEST(StatusBlocks, OneBlock)
{
    EXPECT_EQ(Decode({0x20, 0, 0, 0}), 201);
    EXPECT_EQ(Decode({0, 0, 0x0C, 0}), 203);
    EXPECT_EQ(Decode({0, 0, 0x04, 0}), 203);
    EXPECT_EQ(Decode({0, 0, 0x08, 0}), 203);
    EXPECT_EQ(Decode({0, 0, 0, 0}), 0);
    EXPECT_EQ(Decode({0x20, 0, 0x0C, 0}), 201) << "cover open wins within a block";
    EXPECT_EQ(Decode({0xDF, 0xFF, 0xF3, 0xFF}), 0) << "only the two bits count";
}

TEST(StatusBlocks, LastBlockDecides)
{
    EXPECT_EQ(Decode({0x20, 0, 0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(Decode({0, 0, 0, 0, 0x20, 0, 0, 0}), 201);
    EXPECT_EQ(Decode({0x20, 0, 0, 0, 0, 0, 0x0C, 0}), 203);
}

TEST(StatusBlocks, NothingReadAndShortBlocks)
{
    EXPECT_EQ(DecodeStatusBlocks(nullptr, 0), 0);
    EXPECT_EQ(Decode({0x20}), 201);
    EXPECT_EQ(Decode({0x20, 0, 0, 0, 0, 0}), 0) << "missing third byte counts as 0";
    EXPECT_EQ(Decode({0, 0, 0x0C}), 203);
    EXPECT_EQ(Decode({0x20, 0, 0, 0, 0x00, 0x00, 0x04}), 203);
}

}  // namespace
