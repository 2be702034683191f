// The status reader on a pty line: 4-byte status blocks written at the
// printer's end become ResultCode 114 and ResultCodeExtended.
#include "ServiceFixture.h"

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class StatusReader : public ServiceTest
{
protected:
    // Writes the status bytes and waits until the reader reports `extended`.
    bool Reports(const Bytes& status, long extended)
    {
        EXPECT_TRUE(Printer->Write(status));
        return WaitFor([&] { return Control.ResultCode() == 114 && Control.ResultCodeExtended() == extended; }, 3000);
    }
};

TEST_F(StatusReader, BlocksSetResultCodeExtended)
{
    Claim(LineStatusBlocks);
    EXPECT_TRUE(Reports({0x20, 0, 0, 0}, 201)) << "cover open";
    EXPECT_TRUE(Reports({0, 0, 0x0C, 0}, 203)) << "roll paper end";
    EXPECT_TRUE(Reports({0x20, 0, 0, 0}, 201));
    EXPECT_TRUE(Reports({0, 0, 0x04, 0}, 203)) << "either bit of 0C";
    EXPECT_TRUE(Reports({0, 0, 0, 0}, 0));
    EXPECT_TRUE(Reports({0, 0, 0, 0, 0x20, 0, 0, 0}, 201)) << "two blocks in one read: the last decides";
}

TEST_F(StatusReader, EmptyTimedOutReadStillSetsExtendedResult)
{
    Claim(LineStatusTimeout);
    EXPECT_EQ(Control.ResultCode(), 0) << "the claim's own result first";
    EXPECT_TRUE(WaitFor([&] { return Control.ResultCode() == 114; }, 3000));
    EXPECT_EQ(Control.ResultCodeExtended(), 0);
}

TEST_F(StatusReader, NothingIsOverwrittenAfterRelease)
{
    Claim(LineStatusRelease);
    ASSERT_TRUE(Reports({0x20, 0, 0, 0}, 201));
    const ULONGLONG before = GetTickCount64();
    EXPECT_EQ(Control.ReleaseDevice(), 0);
    EXPECT_LT(GetTickCount64() - before, 1000u) << "release returns well inside its 2000 ms wait";
    EXPECT_EQ(Control.ResultCode(), 0);
    const long extended = Control.ResultCodeExtended();
    EXPECT_TRUE(Printer->Write({0, 0, 0x0C, 0}));
    Sleep(1200);
    EXPECT_EQ(Control.ResultCode(), 0);
    EXPECT_EQ(Control.ResultCodeExtended(), extended);
}

TEST_F(StatusReader, DeviceEnabledSwitchesAutomaticStatus)
{
    Claim(LineEnable);
    Control.SetDeviceEnabled(true);
    EXPECT_EQ(Control.GetPropertyNumber(3), 1);
    EXPECT_EQ(Printer->Read(3, 2000), (Bytes{0x1D, 0x61, 0xFF}));
    Control.SetDeviceEnabled(true);
    Control.SetPropertyNumber(3, -1);
    EXPECT_EQ(Printer->Read(1, 300), Bytes{}) << "enabling twice or with -1 writes nothing";
    EXPECT_EQ(Control.GetPropertyNumber(3), 1);
    Control.SetDeviceEnabled(false);
    EXPECT_EQ(Control.GetPropertyNumber(3), 0);
    EXPECT_EQ(Printer->Read(3, 2000), (Bytes{0x1D, 0x61, 0x00}));

    // Enable, release, claim, enable: the release disables first, so the
    // next claim's enable turns the status back on.
    Control.SetDeviceEnabled(true);
    EXPECT_EQ(Control.ReleaseDevice(), 0);
    EXPECT_EQ(Control.GetPropertyNumber(3), 0) << "the release disabled the device";
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    Control.SetDeviceEnabled(true);
    EXPECT_EQ(Control.GetPropertyNumber(3), 1);
    EXPECT_EQ(Printer->Read(9, 3000), (Bytes{0x1D, 0x61, 0xFF, 0x1D, 0x61, 0x00, 0x1D, 0x61, 0xFF}));
    EXPECT_EQ(Printer->ReadUntilQuiet(300), Bytes{});

    // Closing, and dropping the last reference without closing, end the
    // claim of an enabled device as a release does.
    EXPECT_EQ(Control.Close(), 0);
    EXPECT_EQ(Printer->Read(3, 2000), (Bytes{0x1D, 0x61, 0x00})) << "close";
    ASSERT_EQ(Control.Open(Key.Device()), 0);
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    Control.SetDeviceEnabled(true);
    Control.Abandon();
    EXPECT_EQ(Printer->ReadUntilQuiet(300), (Bytes{0x1D, 0x61, 0xFF, 0x1D, 0x61, 0x00})) << "last reference dropped";
}

}  // namespace
