#include "PortIo.h"

#include "com/Handle.h"

#include <algorithm>

DWORD PortOpenFlags = FILE_FLAG_OVERLAPPED;

namespace {

constexpr ULONGLONG bitsPerFrame = 12;  // start bit, 8 data bits, parity, 2 stop bits
constexpr ULONGLONG marginMs = 5000;
// Ports without a line speed of their own (parallel ports, files) are taken at this one.
constexpr DWORD assumedBitsPerSecond = 9600;
// How long after its limit a serial port that did not end the write itself is cancelled.
constexpr DWORD lateMs = 1000;

DWORD LineSpeed(HANDLE port)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb) || dcb.BaudRate == 0) return assumedBitsPerSecond;
    return dcb.BaudRate;
}

DWORD WriteTimeLimit(DWORD size, DWORD bitsPerSecond)
{
    const ULONGLONG ms = size * bitsPerFrame * 1000 / bitsPerSecond + marginMs;
    return static_cast<DWORD>(std::min<ULONGLONG>(ms, INFINITE - 1 - lateMs));
}

// Lets a serial port end the write itself at `limitMs`; false on other ports.
bool SetWriteTimeout(HANDLE port, DWORD limitMs)
{
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(port, &timeouts)) return false;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = limitMs;
    return SetCommTimeouts(port, &timeouts) != FALSE;
}

}  // namespace

WriteResult WriteToPort(HANDLE port, const void* data, DWORD size)
{
    const DWORD limit = WriteTimeLimit(size, LineSpeed(port));
    const bool portTimesOut = SetWriteTimeout(port, limit);
    com::Handle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return WriteResult::Failed;
    OVERLAPPED overlapped{};
    overlapped.Offset = 0xFFFFFFFF;  // at the end, where the port is a file
    overlapped.OffsetHigh = 0xFFFFFFFF;
    overlapped.hEvent = done.Get();
    if (!WriteFile(port, data, size, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING)
        return WriteResult::Failed;
    bool cancelled = false;
    if (WaitForSingleObject(done.Get(), portTimesOut ? limit + lateMs : limit) == WAIT_TIMEOUT)
        cancelled = CancelIoEx(port, &overlapped) != FALSE;  // fails only when the write has just ended
    DWORD written = 0;
    if (!GetOverlappedResult(port, &overlapped, &written, TRUE))
        return cancelled ? WriteResult::TimedOut : WriteResult::Failed;
    if (written == size) return WriteResult::Written;
    // A serial port ends a write that reached its time-out short.
    return portTimesOut ? WriteResult::TimedOut : WriteResult::Failed;
}
