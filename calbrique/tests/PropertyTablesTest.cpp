#include "PropertyTables.h"

#include <gtest/gtest.h>

namespace {

long Value(long index)
{
    const FixedNumber answer = FixedPropertyNumber(index);
    EXPECT_TRUE(answer.Written) << index;
    return answer.Value;
}

bool Unwritten(long index) { return !FixedPropertyNumber(index).Written; }

TEST(FixedProperties, Constants)
{
    EXPECT_EQ(Value(8), 1011001);
    EXPECT_EQ(Value(13), 0);
    EXPECT_EQ(Value(14), 2001);
    EXPECT_EQ(Value(8019), 3);
    for (long index = 501; index <= 505; ++index) EXPECT_EQ(Value(index), 0) << index;
}

TEST(FixedProperties, IndexesThatWriteNothing)
{
    for (long index : {12L, 8003L, 8004L, 8528L, 8530L, 8540L, 8545L, 8546L, 8547L, 8549L, 8550L, 8552L, 8554L,
                       8555L, 8556L, 8558L})
        EXPECT_TRUE(Unwritten(index)) << index;
    for (long index = 8006; index <= 8018; ++index) EXPECT_TRUE(Unwritten(index)) << index;
    for (long index = 8020; index <= 8045; ++index) EXPECT_TRUE(Unwritten(index)) << index;
}

TEST(FixedProperties, Capabilities)
{
    // -1 true, 0 false, 'n' nothing written, others their number; 8501 first.
    const long T = -1, F = 0, n = 7777;
    const long expected[61] = {F, F, F, T, F, T, T, T, T, T,  // 8501..8510
                               F, T, F, T, F, T, T, T, T, T,  // 8511..
                               T, T, F, T, T, T, T, n, T, n,  // 8521..
                               T, F, T, T, T, T, T, T, T, n,  // 8531..
                               F, T, T, F, n, n, n, 998, n, n,  // 8541..
                               1, n, 1, n, n, n, 1, n, F, F,  // 8551..
                               F};
    for (long i = 0; i < 61; ++i) {
        const FixedNumber answer = FixedPropertyNumber(8501 + i);
        if (expected[i] == n) {
            EXPECT_FALSE(answer.Written) << 8501 + i;
        } else {
            EXPECT_TRUE(answer.Written) << 8501 + i;
            EXPECT_EQ(answer.Value, expected[i]) << 8501 + i;
        }
    }
}

TEST(FixedProperties, OtherIndexesAnswerZero)
{
    for (long index : {0L, -1L, -8501L, 15L, 20L, 500L, 506L, 8000L, 8051L, 8500L, 8562L, 9000L, 1000001L})
        EXPECT_EQ(Value(index), 0) << index;
}

}  // namespace
