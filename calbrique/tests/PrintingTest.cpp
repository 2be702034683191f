// The print methods, CheckHealth and the properties end to end: through
// the stand-in control object (late-bound by name) onto the emulated
// serial line, a message-mode pipe where single writes must be seen, or a
// file where a large write must not wait.
#include "ServiceFixture.h"
#include "TransactionBuffer.h"
#include "com/BStr.h"
#include "com/Handle.h"

#include <string>
#include <vector>

namespace {

using testkit::Arg;
using testkit::StandInControl;
using Bytes = std::vector<std::uint8_t>;

constexpr long Receipt = 2;  // PTR_S_RECEIPT

Bytes Of(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Bytes SetUpBytes = {0x1B, 0x3D, 0x01, 0x1B, 0x61, 0x00, 0x1D, 0x4C, 0x00, 0x00, 0x1B, 0x7B, 0x00,
                     0x1B, 0x74, 0x00, 0x1B, 0x52, 0x00, 0x1B, 0x21, 0x00, 0x1B, 0x33, 0x21};
const Bytes LineEnd = {0x1B, 0x4A, 0x18, 0x1B, 0x4A, 0x00, 0x1B, 0x21, 0x00, 0x1B, 0x2D, 0x00};

// The system's ANSI conversion of a text, as the fall-back code page gives it.
Bytes Ansi(const wchar_t* text)
{
    char out[64] = {};
    const int n = WideCharToMultiByte(GetACP(), 0, text, -1, out, sizeof out, nullptr, nullptr);
    return n > 0 ? Bytes(out, out + n - 1) : Bytes{};
}

class Printing : public ServiceTest
{
protected:
    void PrintNormal(const wchar_t* text) { Control.Call(L"PrintNormal", Args(Arg::Long(Receipt), Arg::Text(text))); }
    void PrintImmediate(const wchar_t* text)
    {
        Control.Call(L"PrintImmediate", Args(Arg::Long(Receipt), Arg::Text(text)));
    }
    void TransactionPrint(long control)
    {
        Control.Call(L"TransactionPrint", Args(Arg::Long(Receipt), Arg::Long(control)));
    }
    void PrintBarCode(const wchar_t* data, long symbology, long textPosition)
    {
        Control.Call(L"PrintBarCode", Args(Arg::Long(Receipt), Arg::Text(data), Arg::Long(symbology), Arg::Long(162),
                                           Arg::Long(2), Arg::Long(-2), Arg::Long(textPosition)));
    }
    void CutPaper(long percentage) { Control.Call(L"CutPaper", Args(Arg::Long(percentage))); }
    long CheckHealth(long level) { return Control.Call(L"CheckHealth", Args(Arg::Long(level))); }

    // What the printer receives now, and that nothing follows it.
    Bytes Received(size_t count)
    {
        const Bytes first = Printer->Read(count, 3000);
        return first + Printer->ReadUntilQuiet(150);
    }
    bool Quiet() { return Printer->ReadUntilQuiet(300).empty(); }

    template <class... A>
    static std::vector<Arg> Args(A&&... args)
    {
        return StandInControl::Args(std::forward<A>(args)...);
    }
};

TEST_F(Printing, ReceiptArrivesOnlyAtTheEndOfTheTransaction)
{
    Claim(LineReceipt);
    TransactionPrint(11);
    PrintNormal(L"\x1b|cA\x1b|bCNORVALE CAFE\n\x1b|N2 x Coffee      7.00\n\x1b|rA\x1b|2CTOTAL 7.00\n\x1b|3lF");
    PrintBarCode(L"4902", 108, -13);
    CutPaper(100);
    EXPECT_TRUE(Quiet()) << "nothing before TransactionPrint 12";

    TransactionPrint(12);
    const Bytes expected = SetUpBytes + Bytes{0x1B, 0x61, 0x01, 0x1B, 0x45, 0x01} + Of("NORVALE CAFE") + LineEnd +
                           Bytes{0x1B, 0x21, 0x00, 0x1B, 0x2D, 0x00} + Of("2 x Coffee      7.00") + LineEnd +
                           Bytes{0x1B, 0x61, 0x02, 0x1D, 0x21, 0x10} + Of("TOTAL 7.00") + LineEnd +
                           Bytes{0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A} +
                           Bytes{0x1D, 0x68, 0x23, 0x1D, 0x48, 0x02, 0x1D, 0x77, 0x02, 0x1D, 0x6B, 0x45, 0x04} +
                           Of("4902") + Bytes{0x1D, 0x56, 0x00};
    EXPECT_EQ(Received(expected.size()), expected);

    TransactionPrint(12);
    EXPECT_TRUE(Quiet()) << "the buffer was emptied by the write";
}

TEST_F(Printing, ImmediateTextGoesAtOnceUntranslated)
{
    Claim(LineImmediate);
    TransactionPrint(11);
    PrintNormal(L"X");
    PrintImmediate(L"A\x1b|bC\nB");
    EXPECT_EQ(Received(7), Of("A\x1b|bC\nB"));
    TransactionPrint(12);
    EXPECT_EQ(Received(26), SetUpBytes + Of("X")) << "the buffer was left as it was";
    EXPECT_EQ(Control.GetPropertyNumber(9), 2) << "State idle";
}

TEST_F(Printing, ClearOutputAndOtherControlsDiscardOrKeep)
{
    Claim(LineClearOutput);
    PrintNormal(L"lost");
    Control.Call(L"ClearOutput");
    TransactionPrint(12);
    EXPECT_TRUE(Quiet());

    PrintNormal(L"kept");
    TransactionPrint(13);
    TransactionPrint(10);
    EXPECT_TRUE(Quiet());
    TransactionPrint(12);
    EXPECT_EQ(Received(4), Of("kept"));

    PrintNormal(L"before");
    TransactionPrint(11);
    TransactionPrint(12);
    EXPECT_EQ(Received(SetUpBytes.size()), SetUpBytes) << "a transaction's start drops what came before";

    PrintNormal(L"lost");
    LONG rc = 4711;
    ASSERT_EQ(EarlyBound()->ClearOutput(&rc), S_OK);
    EXPECT_EQ(rc, 4711) << "ClearOutput reports nothing";
    TransactionPrint(12);
    EXPECT_TRUE(Quiet());
}

TEST_F(Printing, CodePagesFromCharacterSet)
{
    Claim(LineCodePages);
    const auto printedWith = [&](long characterSet, const wchar_t* text, size_t count) {
        Control.SetPropertyNumber(8002, characterSet);
        PrintImmediate(text);
        return Received(count);
    };
    EXPECT_EQ(printedWith(437, L"Caf\u00e9", 4), (Bytes{'C', 'a', 'f', 0x82}));
    EXPECT_EQ(printedWith(1252, L"Caf\u00e9", 4), (Bytes{'C', 'a', 'f', 0xE9}));
    EXPECT_EQ(printedWith(850, L"\u00c5", 1), Bytes{0x8F});
    EXPECT_EQ(printedWith(932, L"\u65e5\u672c\uff71", 5), (Bytes{0x93, 0xFA, 0x96, 0x7B, 0xB1}));
    // Three bytes a character: more than the text's length twice over.
    EXPECT_EQ(printedWith(65001, L"\u65e5\u672c\u8a9e", 9),
              (Bytes{0xE6, 0x97, 0xA5, 0xE6, 0x9C, 0xAC, 0xE8, 0xAA, 0x9E}));
    EXPECT_EQ(printedWith(65000, L"\u65e5", 5), Of("+ZeU-"));

    const wchar_t* const accented = L"Caf\u00e9 \u00e0 \u00fc";
    const Bytes ansi = Ansi(accented);
    for (long fallBack : {0L, 399L, 991L, 997L, 998L, 999L})
        EXPECT_EQ(printedWith(fallBack, accented, ansi.size()), ansi) << fallBack << " uses GetACP() " << GetACP();

    // PrintNormal converts the same way, then translates.
    Control.SetPropertyNumber(8002, 932);
    PrintNormal(L"\u65e5\n");
    TransactionPrint(12);
    EXPECT_EQ(Received(14), (Bytes{0x93, 0xFA} + LineEnd));
}

TEST_F(Printing, BarCodeUsesTheThreadsAnsiPageNotCharacterSet)
{
    Claim(LineBarCode);
    Control.SetPropertyNumber(8002, 437);
    PrintBarCode(L"\u00e91", 110, -12);
    PrintBarCode(L"12345", 109, 0);
    PrintBarCode(std::wstring(256, L'7').c_str(), 108, 0);
    TransactionPrint(12);
    const Bytes prelude = {0x1D, 0x68, 0x23, 0x1D, 0x48, 0x00, 0x1D, 0x77, 0x02};
    const Bytes expected = Bytes{0x1D, 0x68, 0x23, 0x1D, 0x48, 0x01, 0x1D, 0x77, 0x02, 0x1D, 0x6B, 0x49} +
                           Bytes{static_cast<std::uint8_t>(Ansi(L"\u00e91").size())} + Ansi(L"\u00e91") + prelude +
                           prelude;
    EXPECT_EQ(Received(expected.size()), expected);
}

TEST_F(Printing, CheckHealthReportsAndPrints)
{
    Key.SetString(L"DeviceName", L"P1");
    EXPECT_EQ(Control.Open(Key.Device()), 0);
    EXPECT_EQ(CheckHealth(1), 103) << "not claimed";
    EXPECT_EQ(Control.ResultCode(), 103);
    Control.Close();

    Claim(LineCheckHealth);
    EXPECT_EQ(CheckHealth(1), 105) << "not enabled";
    Control.SetDeviceEnabled(true);
    ASSERT_EQ(Received(3), (Bytes{0x1D, 0x61, 0xFF}));

    PrintNormal(L"held");
    const Bytes body = Of("OPOS Norvale\r\n\r\nServiceObjectVersion = 1011001\r\n\r\nDeviceName = P1\x1b\x64\x05");
    const std::pair<long, std::string> levels[] = {
        {1, ""}, {2, "External HCheck !!\r\n\r\n"}, {3, "Interactive HCheck !!\r\n\r\n"}, {0, ""}, {4, ""}};
    for (const auto& [level, header] : levels) {
        EXPECT_EQ(CheckHealth(level), 0) << level;
        const Bytes report = Bytes{0x1B, 0x40} + Of(header) + body;
        EXPECT_EQ(Received(report.size()), report) << level;
    }
    TransactionPrint(12);
    EXPECT_EQ(Received(4), Of("held")) << "CheckHealth leaves the buffer alone";
}

TEST_F(Printing, WithoutTheClaimedPortNothingIsWrittenAndNotClaimedReported)
{
    OpenOn(L"COM99");  // no such port: the claim fails
    PrintImmediate(L"lost");
    EXPECT_EQ(Control.ResultCode(), 103) << "before a claim";
    EXPECT_EQ(Control.ClaimDevice(0), 109);
    PrintImmediate(L"lost");
    EXPECT_EQ(Control.ResultCode(), 103) << "after a failed claim";
    EXPECT_EQ(Control.ClaimDevice(0), 109);
    PrintNormal(L"lost");
    TransactionPrint(12);
    EXPECT_EQ(Control.ResultCode(), 103);
    EXPECT_EQ(CheckHealth(1), 103);
    Control.SetDeviceEnabled(true);
    EXPECT_EQ(Control.GetPropertyNumber(3), 1) << "DeviceEnabled changes all the same";
    Control.SetDeviceEnabled(false);
    EXPECT_EQ(Control.GetPropertyNumber(3), 0);

    // The same object opened again on a line: Control 12 above emptied the buffer.
    Key.SetString(L"Port", testkit::ServicePort(LineNoPort));
    ASSERT_EQ(Control.Call(L"OpenService", Args(Arg::Text(L"POSPrinter"), Arg::Text(Key.Device().c_str()),
                                                Arg::Dispatch(nullptr))),
              0);
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    Printer = std::make_unique<testkit::PrinterLine>(testkit::PrinterPort(LineNoPort));
    ASSERT_TRUE(Printer->IsOpen());
    TransactionPrint(12);
    EXPECT_TRUE(Quiet());

    PrintNormal(L"lost");
    EXPECT_EQ(Control.ReleaseDevice(), 0);
    TransactionPrint(12);
    EXPECT_EQ(Control.ResultCode(), 103) << "after a release";
    EXPECT_TRUE(Quiet());
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    TransactionPrint(12);
    EXPECT_TRUE(Quiet()) << "the buffer was emptied all the same";
    PrintNormal(L"kept");
    TransactionPrint(12);
    EXPECT_EQ(Received(4), Of("kept"));
}

// A regular file as the port, which takes a write of any size at once.
TEST_F(Printing, TransactionPastTheBufferLimitIsNotWrittenAtAll)
{
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring file = std::wstring(temp) + L"CalbriqueTest_PastTheLimit.prn";
    ASSERT_TRUE(com::Handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)).Valid());
    OpenOn(file);
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    const auto written = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        EXPECT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data));
        return data.nFileSizeLow;
    };

    TransactionPrint(11);
    // Twelve bytes a line feed: more than the buffer holds.
    PrintNormal(std::wstring(TransactionBuffer::MaxBytes / LineEnd.size() + 1, L'\n').c_str());
    PrintNormal(L"TOTAL 7.00\n");
    CutPaper(100);
    TransactionPrint(12);
    EXPECT_EQ(Control.ResultCode(), 111);
    EXPECT_EQ(written(), 0u);

    PrintNormal(L"next");
    TransactionPrint(12);
    EXPECT_EQ(written(), 4u) << "the next transaction starts clean";
    EXPECT_EQ(Control.ReleaseDevice(), 0);
    EXPECT_TRUE(DeleteFileW(file.c_str()));
}

// A message-mode pipe keeps the boundaries of writes: one message is one
// WriteFile. A write beyond `quota` waits until the pipe is read.
class MessagePipe
{
public:
    explicit MessagePipe(const std::wstring& name, DWORD quota = 65536)
        : Pipe(CreateNamedPipeW((L"\\\\.\\pipe\\" + name).c_str(), PIPE_ACCESS_DUPLEX,
                                PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, quota, quota, 0, nullptr))
    {
    }
    bool IsOpen() const { return Pipe.Valid(); }
    // The messages waiting, each as it was written.
    std::vector<Bytes> Messages()
    {
        std::vector<Bytes> messages;
        DWORD next = 0;
        while (PeekNamedPipe(Pipe.Get(), nullptr, 0, nullptr, nullptr, &next) && next > 0) {
            Bytes message(next);
            DWORD read = 0;
            if (!ReadFile(Pipe.Get(), message.data(), next, &read, nullptr)) break;
            message.resize(read);
            messages.push_back(message);
        }
        return messages;
    }
    void Disconnect() { (void)DisconnectNamedPipe(Pipe.Get()); }

private:
    com::Handle Pipe;
};

TEST_F(Printing, TransactionIsOneWriteAndFailedWritesAreReported)
{
    const std::wstring name = L"CalbriqueTest_OneWrite";
    MessagePipe pipe(name);
    ASSERT_TRUE(pipe.IsOpen());
    OpenOn(L"pipe\\" + name);
    ASSERT_EQ(Control.ClaimDevice(1000), 0);

    TransactionPrint(11);
    for (int i = 0; i < 50; ++i) PrintNormal(L"\x1b|bCline\x1b|N\n");
    CutPaper(50);
    EXPECT_TRUE(pipe.Messages().empty());
    TransactionPrint(12);
    Sleep(100);
    const std::vector<Bytes> messages = pipe.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].size(), SetUpBytes.size() + 50 * (3 + 4 + 6 + LineEnd.size()) + 3);

    Control.SetDeviceEnabled(true);
    Sleep(100);
    EXPECT_EQ(pipe.Messages(), std::vector<Bytes>{(Bytes{0x1D, 0x61, 0xFF})});
    pipe.Disconnect();
    PrintNormal(L"lost");
    TransactionPrint(12);
    EXPECT_EQ(Control.ResultCode(), 111) << "the transaction could not be written";
    ASSERT_EQ(Control.ClaimDevice(1000), 0) << "claimed already: only sets ResultCode 0";
    PrintImmediate(L"lost too");
    EXPECT_EQ(Control.ResultCode(), 111) << "the immediate text could not be written";
    EXPECT_EQ(CheckHealth(1), 111) << "the report could not be written";
    EXPECT_EQ(Control.ResultCode(), 111);
}

// A port without comm time-outs whose far end stops reading: the write is
// given up at its limit (the bytes at 9600 bit/s, plus five seconds).
TEST_F(Printing, WriteThatIsNotTakenTimesOut)
{
    const std::wstring name = L"CalbriqueTest_NotTaken";
    MessagePipe pipe(name, 1);
    ASSERT_TRUE(pipe.IsOpen());
    OpenOn(L"pipe\\" + name);
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    const ULONGLONG before = GetTickCount64();
    PrintImmediate(L"not taken");
    const ULONGLONG took = GetTickCount64() - before;
    EXPECT_EQ(Control.ResultCode(), 112);
    EXPECT_GE(took, 5000u);
    EXPECT_LT(took, 6500u);
}

}  // namespace
