#include "PortIo.h"

#include "com/Handle.h"

bool WriteToPort(HANDLE port, const void* data, DWORD size)
{
    com::Handle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return false;
    OVERLAPPED overlapped{};
    overlapped.Offset = 0xFFFFFFFF;  // at the end, where the port is a file
    overlapped.OffsetHigh = 0xFFFFFFFF;
    overlapped.hEvent = done.Get();
    DWORD written = 0;
    if (!WriteFile(port, data, size, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING) return false;
    if (!GetOverlappedResult(port, &overlapped, &written, TRUE)) return false;
    if (written != size) {
        SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}
