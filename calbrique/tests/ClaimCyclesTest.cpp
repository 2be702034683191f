// Claim and release many times: every release ends its reader promptly and
// leaves no handle or thread behind, on every kind of port.
#include "ServiceFixture.h"

namespace {

class ClaimCycles : public ServiceTest
{
protected:
    // Runs `cycles` claim/release pairs; the longest release in ms.
    ULONGLONG Cycle(int cycles)
    {
        ULONGLONG longest = 0;
        for (int i = 0; i < cycles; ++i) {
            EXPECT_EQ(Control.ClaimDevice(1000), 0) << "cycle " << i;
            const ULONGLONG before = GetTickCount64();
            EXPECT_EQ(Control.ReleaseDevice(), 0) << "cycle " << i;
            longest = std::max(longest, GetTickCount64() - before);
        }
        return longest;
    }

    void CheckNoLeak(const std::wstring& port, int cycles)
    {
        OpenOn(port);
        Cycle(1);  // whatever the first claim sets up for good
        const unsigned long handles = testkit::CountHandles();
        const unsigned long threads = testkit::CountThreads();
        const ULONGLONG longest = Cycle(cycles);
        EXPECT_LT(longest, 1000u) << "release returns well inside its 2000 ms wait";
        EXPECT_EQ(testkit::CountHandles(), handles);
        EXPECT_EQ(testkit::CountThreads(), threads);
        EXPECT_EQ(Control.Claimed(), 0);
    }
};

TEST_F(ClaimCycles, TwoHundredOnASerialLine)
{
    CheckNoLeak(testkit::ServicePort(LineCycles), 200);
}

TEST_F(ClaimCycles, FifoWhoseReadsBlock)
{
    CheckNoLeak(L"LPT7", 20);
}

TEST_F(ClaimCycles, RegularFile)
{
    CheckNoLeak(L"LPT8", 20);
}

}  // namespace
