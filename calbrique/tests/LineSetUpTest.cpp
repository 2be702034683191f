// The serial line that ClaimDevice sets up, seen on the pty from a handle of
// our own (a pty shows rate, stop bits and flow control; data bits and parity
// are checked on the DCB in SerialConfigTest).
#include "ServiceFixture.h"

namespace {

class LineSetUp : public ServiceTest
{
protected:
    // Claims `port` (the service end of `line`) with the given indexes; the
    // line starts at 4800 bit/s with `stopBefore`. The line as the port shows
    // it while claimed.
    DCB ClaimWith(const std::wstring& port, int line, DWORD baud, DWORD bits, DWORD parity, DWORD stop,
                  DWORD handshake, DWORD xonXoff = 0, BYTE stopBefore = TWOSTOPBITS)
    {
        EXPECT_TRUE(testkit::SetLineState(testkit::ServicePort(line), 4800, stopBefore));
        Key.SetDword(L"Baudrate", baud);
        Key.SetDword(L"BitLength", bits);
        Key.SetDword(L"Parity", parity);
        Key.SetDword(L"Stop", stop);
        Key.SetDword(L"HandShake", handshake);
        Key.SetDword(L"XonXoff", xonXoff);
        Key.SetString(L"Port", port);
        EXPECT_EQ(Control.Open(Key.Device()), 0);
        EXPECT_EQ(Control.ClaimDevice(1000), 0);
        return testkit::CurrentLineState(testkit::ServicePort(line));
    }
};

// Every value the set-up utility offers, as far as a pty shows it (data bits,
// parity and DTR/DSR flow are checked on the DCB in SerialConfigTest).
TEST_F(LineSetUp, TheLineGetsWhatTheSetUpUtilityShows)
{
    const std::wstring port = testkit::ServicePort(LineSettings);
    const DWORD rates[] = {150, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    for (DWORD index = 0; index < 11; ++index) {
        EXPECT_EQ(ClaimWith(port, LineSettings, index, 1, 0, 1, 0).BaudRate, rates[index]) << "Baudrate " << index;
        EXPECT_EQ(Control.ReleaseDevice(), 0);
    }
    struct Row {
        DWORD Stop, HandShake, XonXoff;
        BYTE StopBits;
        DWORD OutX, InX, OutxCtsFlow;
    };
    const Row rows[] = {
        {0, 0, 0, TWOSTOPBITS, 0, 0, 0},  // no stop text, "Disable"
        {1, 1, 0, ONESTOPBIT, 0, 0, 1},   // "1 bit", "RTS/CTS"
        {2, 0, 1, TWOSTOPBITS, 1, 1, 0},  // "2 bits", "XON/XOFF"
    };
    for (const Row& row : rows) {
        const BYTE stopBefore = row.StopBits == ONESTOPBIT ? TWOSTOPBITS : ONESTOPBIT;
        const DCB dcb = ClaimWith(port, LineSettings, 6, 1, 0, row.Stop, row.HandShake, row.XonXoff, stopBefore);
        EXPECT_EQ(dcb.StopBits, row.StopBits) << "Stop " << row.Stop;
        EXPECT_EQ(dcb.fOutX, row.OutX) << "HandShake " << row.HandShake << " XonXoff " << row.XonXoff;
        EXPECT_EQ(dcb.fInX, row.InX) << "HandShake " << row.HandShake << " XonXoff " << row.XonXoff;
        EXPECT_EQ(dcb.fOutxCtsFlow, row.OutxCtsFlow) << "HandShake " << row.HandShake;
        EXPECT_EQ(Control.ReleaseDevice(), 0);
    }
}

TEST_F(LineSetUp, IndexesOutsideTheirTablesKeepThePortSettings)
{
    const DCB dcb =
        ClaimWith(testkit::ServicePort(LineOutOfRange), LineOutOfRange, 11, 1, 0, 3, 0, 0, ONESTOPBIT);
    EXPECT_EQ(dcb.BaudRate, 4800u);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
}

TEST_F(LineSetUp, ADeviceOpenedAfterAnotherGetsNoneOfItsValues)
{
    const std::wstring port = testkit::ServicePort(LineSecondDevice);
    EXPECT_EQ(ClaimWith(port, LineSecondDevice, 9, 1, 1, 1, 0).BaudRate, 57600u);
    EXPECT_EQ(Control.Call(L"CloseService"), 0);

    testkit::DeviceKey other(TestDevice() + L"_B");  // no serial values
    other.SetString(L"Port", port);
    ASSERT_EQ(Control.Call(L"OpenService", testkit::StandInControl::Args(testkit::Arg::Text(L"POSPrinter"),
                                                                         testkit::Arg::Text(other.Device().c_str()),
                                                                         testkit::Arg::Dispatch(nullptr))),
              0);
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    const DCB dcb = testkit::CurrentLineState(port);
    EXPECT_EQ(dcb.BaudRate, 150u) << "index 0, not the other device's 57600";
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
}

TEST_F(LineSetUp, LowerCaseComNameOpensWithoutSetUp)
{
    std::wstring port = testkit::ServicePort(LineLowerCase);
    port.replace(0, 3, L"com");
    const DCB dcb = ClaimWith(port, LineLowerCase, 6, 1, 0, 1, 0, 1);
    EXPECT_EQ(Control.Claimed(), 1);
    EXPECT_EQ(dcb.BaudRate, 4800u);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
    EXPECT_EQ(dcb.fOutX, 0u);
}

TEST_F(LineSetUp, LptNameOpensWithoutSetUp)
{
    ASSERT_TRUE(testkit::SetLineState(L"LPT5", 4800, TWOSTOPBITS));
    Key.SetDword(L"Baudrate", 6);
    Key.SetDword(L"Stop", 1);
    OpenOn(L"LPT5");
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    const DCB dcb = testkit::CurrentLineState(L"LPT5");
    EXPECT_EQ(dcb.BaudRate, 4800u);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
}

}  // namespace
