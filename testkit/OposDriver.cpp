// Drives a POSPrinter service object through the stand-in control object,
// one step per command-line word (with its arguments), and reports each
// result:
//
//   OposDriver open DemoPrinter claim 1000 enable expect-status 201 3000 release close
//
// Steps: open <device>, claim <timeout>, enable, disable, number <index>,
// expect-status <extended> <ms> (waits for ResultCode 114 with that
// ResultCodeExtended), pause (waits for a line on stdin), receipt (prints
// a demo receipt in one transaction), print <bytes> (that many plain text
// bytes in one transaction: how long TransactionPrint 12 took and the
// ResultCode right after it), release, close.
// Exit code 0 when every step ran and every expectation held.
#include "ComApartment.h"
#include "StandInControl.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>
#include <windows.h>

namespace {

const char* ResultName(long code)
{
    switch (code) {
    case 0: return "OPOS_SUCCESS";
    case 101: return "OPOS_E_CLOSED";
    case 103: return "OPOS_E_NOTCLAIMED";
    case 104: return "OPOS_E_NOSERVICE";
    case 105: return "OPOS_E_DISABLED";
    case 109: return "OPOS_E_NOEXIST";
    case 111: return "OPOS_E_FAILURE";
    case 112: return "OPOS_E_TIMEOUT";
    case 114: return "OPOS_E_EXTENDED";
    case 201: return "OPOS_EPTR_COVER_OPEN";
    case 203: return "OPOS_EPTR_REC_EMPTY";
    case 402: return "OPOS_ORS_NOTSUPPORTED";
    default: return "";
    }
}

void Report(const std::wstring& step, long code)
{
    std::printf("%-28ls -> %ld %s\n", step.c_str(), code, ResultName(code));
    std::fflush(stdout);
}

void ReportValue(const std::wstring& property, long value)
{
    std::printf("%-28ls = %ld\n", property.c_str(), value);
    std::fflush(stdout);
}

struct Driver {
    testkit::StandInControl Control;
    bool Failed = false;
};

using Args = std::vector<std::wstring>;

// One step: its word, how many arguments it takes, what it does.
struct Step {
    const wchar_t* Word;
    size_t ArgCount;
    void (*Run)(Driver&, const Args&);
};

// Print data as readable text: ESC as "ESC", line feeds as \n, other
// characters outside ASCII as \uXXXX.
std::wstring Shown(const wchar_t* text)
{
    std::wstring shown;
    for (; *text; ++text) {
        if (*text == 0x1B) {
            shown += L"ESC";
        } else if (*text == L'\n') {
            shown += L"\\n";
        } else if (*text < 0x20 || *text > 0x7E) {
            wchar_t code[8];
            std::swprintf(code, 8, L"\\u%04x", static_cast<unsigned>(*text));
            shown += code;
        } else {
            shown += *text;
        }
    }
    return shown;
}

long Number(const std::wstring& text)
{
    return std::wcstol(text.c_str(), nullptr, 10);
}

// The print calls of the demo receipt, made as a POS application makes them.
void PrintReceipt(Driver& d)
{
    using testkit::Arg;
    constexpr long receipt = 2;  // PTR_S_RECEIPT
    const auto call = [&d](const wchar_t* method, std::vector<Arg> args, const std::wstring& shown) {
        d.Control.Call(method, std::move(args));
        std::printf("%ls(%ls)\n", method, shown.c_str());
        if (d.Control.LastResult() != S_OK) {
            std::printf("call failed: HRESULT %08lX\n", static_cast<unsigned long>(d.Control.LastResult()));
            d.Failed = true;
        }
    };
    const auto transaction = [&](long control) {
        call(L"TransactionPrint", testkit::StandInControl::Args(Arg::Long(receipt), Arg::Long(control)),
             L"2, " + std::to_wstring(control));
    };
    const auto print = [&](const wchar_t* text) {
        call(L"PrintNormal", testkit::StandInControl::Args(Arg::Long(receipt), Arg::Text(text)),
             L"2, \"" + Shown(text) + L"\"");
    };

    transaction(11);
    print(L"\x1b|cA\x1b|2C\x1b|bCNORVALE CAFE\x1b|N\n");
    print(L"\x1b|cA12 Harbour Road\n\n");
    print(L"2 x Caf\u00e9 cr\u00e8me            7.00\n");
    print(L"1 x Croissant             2.40\n");
    print(L"\x1b|uC                              \x1b|N\n");
    print(L"\x1b|bCTOTAL\x1b|N                     9.40\n");
    print(L"\x1b|rACash 10.00   Change 0.60\n");
    print(L"\x1b|cA\x1b|lF");
    call(L"PrintBarCode",
         testkit::StandInControl::Args(Arg::Long(receipt), Arg::Text(L"0042"), Arg::Long(108), Arg::Long(162),
                                       Arg::Long(2), Arg::Long(-2), Arg::Long(-13)),
         L"2, \"0042\", Code 39, 162, 2, centre, text below");
    print(L"\x1b|cAThank you!\x1b|3lF");
    call(L"CutPaper", testkit::StandInControl::Args(Arg::Long(100)), L"100");
    transaction(12);
    std::fflush(stdout);
}

// `bytes` bytes of text in one transaction, reported as a POS application
// sees them: the time TransactionPrint 12 took and ResultCode right after it
// (before the status reader's next pass overwrites it).
void PrintBytes(Driver& d, long bytes)
{
    using testkit::Arg;
    constexpr long receipt = 2;  // PTR_S_RECEIPT
    std::wstring text;
    for (long i = 0; i < bytes; ++i) text += static_cast<wchar_t>(L'0' + i % 10);
    d.Control.Call(L"PrintNormal", testkit::StandInControl::Args(Arg::Long(receipt), Arg::Text(text.c_str())));
    const ULONGLONG before = GetTickCount64();
    d.Control.Call(L"TransactionPrint", testkit::StandInControl::Args(Arg::Long(receipt), Arg::Long(12)));
    const ULONGLONG took = GetTickCount64() - before;
    const long code = d.Control.ResultCode();
    std::printf("TransactionPrint(2, 12) of %ld bytes took %llu ms\n", bytes, took);
    Report(L"ResultCode", code);
}

const Step steps[] = {
    {L"open", 1,
     [](Driver& d, const Args& a) { Report(L"OpenService(\"" + a[0] + L"\")", d.Control.Open(a[0])); }},
    {L"claim", 1,
     [](Driver& d, const Args& a) { Report(L"ClaimDevice(" + a[0] + L")", d.Control.ClaimDevice(Number(a[0]))); }},
    {L"enable", 0,
     [](Driver& d, const Args&) {
         d.Control.SetDeviceEnabled(true);
         ReportValue(L"DeviceEnabled", d.Control.GetPropertyNumber(3));
     }},
    {L"disable", 0,
     [](Driver& d, const Args&) {
         d.Control.SetDeviceEnabled(false);
         ReportValue(L"DeviceEnabled", d.Control.GetPropertyNumber(3));
     }},
    {L"number", 1,
     [](Driver& d, const Args& a) {
         ReportValue(L"GetPropertyNumber(" + a[0] + L")", d.Control.GetPropertyNumber(Number(a[0])));
     }},
    {L"expect-status", 2,
     [](Driver& d, const Args& a) {
         const long wanted = Number(a[0]);
         const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(Number(a[1]));
         long code = 0;
         long extended = 0;
         do {
             code = d.Control.ResultCode();
             extended = d.Control.ResultCodeExtended();
             if (code == 114 && extended == wanted) break;
             Sleep(5);
         } while (GetTickCount64() < end);
         Report(L"ResultCode", code);
         Report(L"ResultCodeExtended", extended);
         if (code != 114 || extended != wanted) {
             std::printf("expected ResultCode 114 with ResultCodeExtended %ld\n", wanted);
             d.Failed = true;
         }
     }},
    {L"pause", 0,
     [](Driver&, const Args&) {
         std::printf("paused\n");
         std::fflush(stdout);
         char line[16];
         (void)std::fgets(line, sizeof line, stdin);  // end of input continues as well
     }},
    {L"receipt", 0, [](Driver& d, const Args&) { PrintReceipt(d); }},
    {L"print", 1, [](Driver& d, const Args& a) { PrintBytes(d, Number(a[0])); }},
    {L"release", 0, [](Driver& d, const Args&) { Report(L"ReleaseDevice()", d.Control.ReleaseDevice()); }},
    {L"close", 0, [](Driver& d, const Args&) { Report(L"CloseService()", d.Control.Close()); }},
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    testkit::ComApartment apartment;
    Driver driver;
    for (int i = 1; i < argc;) {
        const Step* step = nullptr;
        for (const Step& s : steps)
            if (std::wcscmp(argv[i], s.Word) == 0) step = &s;
        if (!step || i + static_cast<int>(step->ArgCount) >= argc) {
            std::fprintf(stderr, "unknown step or missing argument: %ls\n", argv[i]);
            return 2;
        }
        const Args args(argv + i + 1, argv + i + 1 + step->ArgCount);
        step->Run(driver, args);
        if (driver.Control.LastResult() != S_OK) {
            std::printf("call failed: HRESULT %08lX\n", static_cast<unsigned long>(driver.Control.LastResult()));
            driver.Failed = true;
        }
        i += 1 + static_cast<int>(step->ArgCount);
    }
    return driver.Failed ? 1 : 0;
}
