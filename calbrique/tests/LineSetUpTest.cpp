// The serial line that ClaimDevice sets up, seen on the pty from a handle of
// our own (a pty shows rate, stop bits and flow control; data bits and parity
// are checked on the DCB in SerialConfigTest).
#include "ServiceFixture.h"

namespace {

class LineSetUp : public ServiceTest
{
protected:
    // Claims `port` (the service end of `line`) with the given indexes; the
    // line starts at 4800 bit/s with `stopBefore`.
    DCB ClaimWith(const std::wstring& port, int line, DWORD baud, DWORD bits, DWORD parity, DWORD stop,
                  DWORD handshake, BYTE stopBefore = TWOSTOPBITS)
    {
        EXPECT_TRUE(testkit::SetLineState(testkit::ServicePort(line), 4800, stopBefore));
        Key.SetDword(L"Baudrate", baud);
        Key.SetDword(L"BitLength", bits);
        Key.SetDword(L"Parity", parity);
        Key.SetDword(L"Stop", stop);
        Key.SetDword(L"HandShake", handshake);
        Key.SetString(L"Port", port);
        EXPECT_EQ(Control.Open(Key.Device()), 0);
        EXPECT_EQ(Control.ClaimDevice(1000), 0);
        return testkit::CurrentLineState(testkit::ServicePort(line));
    }
};

TEST_F(LineSetUp, NineSixHundredOneStopBitNoFlowControl)
{
    const DCB dcb = ClaimWith(testkit::ServicePort(LineSettings), LineSettings, 6, 1, 0, 1, 0);
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
}

TEST_F(LineSetUp, HandshakeOneIsXonXoff)
{
    const DCB dcb = ClaimWith(testkit::ServicePort(LineXonXoff), LineXonXoff, 8, 1, 0, 0, 1, ONESTOPBIT);
    EXPECT_EQ(dcb.BaudRate, 38400u);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
    EXPECT_EQ(dcb.fOutX, 1u);
    EXPECT_EQ(dcb.fInX, 1u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
}

TEST_F(LineSetUp, HandshakeTwoIsCtsOutputFlow)
{
    const DCB dcb = ClaimWith(testkit::ServicePort(LineCtsFlow), LineCtsFlow, 0, 1, 0, 1, 2);
    EXPECT_EQ(dcb.BaudRate, 110u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 1u);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
}

TEST_F(LineSetUp, IndexesOutsideTheirTablesKeepThePortSettings)
{
    // Baudrate 9 (57600 in the set-up utility) and Stop 2 ("2 bits") are
    // outside the service object's tables.
    const DCB dcb = ClaimWith(testkit::ServicePort(LineOutOfRange), LineOutOfRange, 9, 1, 0, 2, 0, ONESTOPBIT);
    EXPECT_EQ(dcb.BaudRate, 4800u);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(Control.ReleaseDevice(), 0);

    Key.SetDword(L"Baudrate", 10);
    EXPECT_EQ(Control.Open(Key.Device()), 0);
    EXPECT_EQ(Control.ClaimDevice(1000), 0);
    EXPECT_EQ(testkit::CurrentLineState(testkit::ServicePort(LineOutOfRange)).BaudRate, 4800u);
}

TEST_F(LineSetUp, LowerCaseComNameOpensWithoutSetUp)
{
    std::wstring port = testkit::ServicePort(LineLowerCase);
    port.replace(0, 3, L"com");
    const DCB dcb = ClaimWith(port, LineLowerCase, 6, 1, 0, 1, 1);
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
