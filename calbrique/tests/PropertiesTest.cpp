// The number and string properties through the stand-in control object,
// late-bound by name; the dual interface's vtable where the caller's own
// variable must be seen (late-bound, the out value is the dispatcher's).
#include "ServiceFixture.h"
#include "com/BStr.h"

namespace {

using testkit::Arg;
using testkit::StandInControl;

class Properties : public ServiceTest
{
protected:
    void SetUp() override
    {
        Key.SetString(L"DeviceName", L"Printer One");
        Key.SetString(L"DeviceDesc", L"Receipt printer at the till");
        Key.SetString(L"Description", L"Service object for ESC/POS printers");
        ASSERT_EQ(Control.Open(Key.Device()), 0);
    }

    LONG Number(long index) { return Control.GetPropertyNumber(index); }


    // The caller's variable after an early-bound GetPropertyNumber.
    LONG NumberInto(long index, LONG before)
    {
        LONG value = before;
        if (com::ComPtr<ISOPOSPrinter> printer = EarlyBound()) {
            EXPECT_EQ(printer->GetPropertyNumber(index, &value), S_OK);
        }
        return value;
    }

    com::BStr String(long index) { return Control.GetPropertyString(index); }

    // Whether an early-bound GetPropertyString gives a null string.
    bool NullString(long index)
    {
        com::BStr text(L"before");
        if (com::ComPtr<ISOPOSPrinter> printer = EarlyBound()) {
            EXPECT_EQ(printer->GetPropertyString(index, text.Receive()), S_OK);
        }
        return text.Get() == nullptr;
    }
};

TEST_F(Properties, NumbersAfterOpen)
{
    const std::pair<long, long> expected[] = {
        {1, 0},    {2, 0},    {3, 0},    {4, 0},       {5, 0},    {8, 1011001}, {9, 2},    {10, 0},   {11, 0},
        {13, 0},   {14, 2001}, {501, 0}, {505, 0},     {8001, 0}, {8002, 437},  {8005, 0}, {8019, 3}, {8046, 0},
        {8047, 0}, {8048, 1},  {8049, 2}, {8050, 0},   {8504, -1}, {8513, 0},   {8526, -1}, {8548, 998},
        {8551, 1}, {8561, 0},
    };
    for (const auto& [index, value] : expected) EXPECT_EQ(Number(index), value) << index;
    EXPECT_EQ(Control.GetPropertyNumber(8002), 437) << "also as the call's return value";
}

TEST_F(Properties, UnknownIndexesGiveZeroAndSomeWriteNothing)
{
    for (long index : {0L, -1L, 15L, 20L, 500L, 506L, 8000L, 8051L, 8500L, 8562L, 9000L})
        EXPECT_EQ(Number(index), 0) << index;
    for (long index : {12L, 8003L, 8004L, 8006L, 8018L, 8020L, 8045L, 8528L, 8530L, 8540L, 8547L, 8558L}) {
        EXPECT_EQ(NumberInto(index, 12345), 12345) << index << " leaves the caller's variable as it was";
        EXPECT_EQ(Number(index), 0) << index << ": late-bound, the dispatcher's own zeroed variable";
    }
    EXPECT_EQ(NumberInto(20, 12345), 0);
    EXPECT_EQ(NumberInto(8548, 12345), 998);
}

TEST_F(Properties, SixNumbersCanBeSet)
{
    const std::pair<long, long> settable[] = {{10, 1}, {11, 2}, {8001, 1}, {8002, 932}, {8005, 1}};
    for (const auto& [index, value] : settable) {
        Control.SetPropertyNumber(index, value);
        EXPECT_EQ(Number(index), value) << index;
    }
    Control.SetPropertyNumber(3, 1);
    EXPECT_EQ(Number(3), 1) << "enabled without a claimed port";

    for (long index : {1L, 2L, 6L, 8L, 9L, 8019L, 8046L, 8048L, 8504L}) {
        const LONG before = Number(index);
        Control.SetPropertyNumber(index, 77);
        EXPECT_EQ(Number(index), before) << index << " is not settable";
    }
}

TEST_F(Properties, Strings)
{
    EXPECT_STREQ(String(1000002).Text(), L"Receipt printer at the till");
    EXPECT_STREQ(String(1000003).Text(), L"Printer One");
    EXPECT_STREQ(String(1000004).Text(), L"Service object for ESC/POS printers");
    EXPECT_STREQ(String(1008001).Text(), L"437");
    EXPECT_STREQ(String(1008003).Text(), L"48");
    EXPECT_STREQ(String(1008007).Text(), L"0");
    EXPECT_STREQ(String(1008009).Text(), L"0");
    EXPECT_STREQ(String(1008012).Text(), L"0,0,0,0");

    for (long index : {1000001L, 1008002L, 1008004L, 1008005L, 1008006L, 1008008L, 1008010L, 1008011L}) {
        const com::BStr text = String(index);
        EXPECT_NE(text.Get(), nullptr) << index << " gives an empty string, not a null one";
        EXPECT_EQ(text.Length(), 0u) << index;
    }
    for (long index : {0L, 1000005L, 1008000L, 1008013L, 8002L}) {
        EXPECT_TRUE(NullString(index)) << index;
        EXPECT_EQ(String(index).Length(), 0u) << index << ": late-bound, the dispatcher makes it empty";
    }

    // SetPropertyString changes nothing.
    Control.Call(L"SetPropertyString", StandInControl::Args(Arg::Long(1008001), Arg::Text(L"932")));
    EXPECT_STREQ(String(1008001).Text(), L"437");
}

}  // namespace
