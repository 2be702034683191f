#pragma once

#include "com/Handle.h"

#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

namespace testkit {

// The emulated serial lines of the pty_lines test fixture (pty-lines.sh):
// line n is a pty pair whose service end is COM(20+n) and whose printer end
// is COM(120+n), both in the build tree's Wine prefix (n below LineCount,
// as testkit/CMakeLists.txt makes them). Tests running at the same time use
// lines of their own.
constexpr int LineCount = 32;
// The last line is the installer's: a port renamed to its service end.
constexpr int InstallerLine = LineCount - 1;
// The one before it is the set-up utility's CheckHealth.
constexpr int SetupUtilityLine = InstallerLine - 1;
std::wstring ServicePort(int line);
std::wstring PrinterPort(int line);

// Ports of the fixture that are no serial line: LPT5 is the service end of
// a pty pair with the printer end COM136; LPT7 is a FIFO (reads block);
// LPT8 is a regular file; LPT9 is a folder.
constexpr int LptPtyPrinterEnd = 136;

// The printer's end of a line: what the service object writes arrives
// here, status blocks written here reach the service object.
class PrinterLine
{
public:
    // Opens the printer end by its Windows name (e.g. COM120) and drops
    // whatever is still buffered.
    explicit PrinterLine(const std::wstring& port);

    bool IsOpen() const { return Port.Valid(); }
    bool Write(const std::vector<std::uint8_t>& bytes);
    // Reads until `count` bytes have come or `timeoutMs` has passed.
    std::vector<std::uint8_t> Read(size_t count, DWORD timeoutMs);
    // Everything that arrives until the line has been quiet for `quietMs`.
    std::vector<std::uint8_t> ReadUntilQuiet(DWORD quietMs);

private:
    com::Handle Port;
    com::Handle Done;
};

// The line settings a port shows now (GetCommState on a handle of our own;
// ports here are not opened exclusively).
DCB CurrentLineState(const std::wstring& port);
// Sets rate and stop bits of a port from the outside.
bool SetLineState(const std::wstring& port, DWORD rate, BYTE stopBits);

}  // namespace testkit
