#include "StatusReader.h"

#include "StatusBlocks.h"

namespace {

constexpr DWORD readSize = 1024;

// A read that ended by the port's read time-out: Windows reports 258
// (WAIT_TIMEOUT), Wine ends an overlapped read with ERROR_TIMEOUT.
bool IsReadTimeout(DWORD error)
{
    return error == WAIT_TIMEOUT || error == ERROR_TIMEOUT;
}

}  // namespace

StatusReader::StatusReader(std::atomic<long>& resultCode, std::atomic<long>& resultCodeExtended)
    : ResultCode(resultCode), ResultCodeExtended(resultCodeExtended)
{
}

std::unique_ptr<StatusReader> StatusReader::Start(HANDLE port, std::atomic<long>& resultCode,
                                                  std::atomic<long>& resultCodeExtended)
{
    std::unique_ptr<StatusReader> reader(new StatusReader(resultCode, resultCodeExtended));
    HANDLE own = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), port, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    reader->Port = com::Handle(own);
    reader->StopEvent = com::Handle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    reader->ReadDone = com::Handle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!reader->StopEvent || !reader->ReadDone) return nullptr;

    // On a serial port, reads end by time-out; other ports have none and
    // their reads last until data comes or the reader is stopped.
    COMMTIMEOUTS timeouts{};
    if (GetCommTimeouts(reader->Port.Get(), &timeouts)) {
        timeouts.ReadIntervalTimeout = ByteGapMs;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = EmptyReadMs;
        (void)SetCommTimeouts(reader->Port.Get(), &timeouts);  // without them reads still end on Stop
    }

    reader->Thread = com::Handle(CreateThread(nullptr, 0, StatusReaderThread, reader.get(), 0, nullptr));
    if (!reader->Thread) return nullptr;
    return reader;
}

StatusReader::~StatusReader()
{
    if (!Thread) return;
    Stop();
    (void)WaitForSingleObject(Thread.Get(), INFINITE);  // stopped: it ends without waiting on the port
}

void StatusReader::Stop()
{
    (void)SetEvent(StopEvent.Get());  // cannot fail on our own event
}

bool StatusReader::Wait(DWORD milliseconds)
{
    return WaitForSingleObject(Thread.Get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD WINAPI StatusReader::StatusReaderThread(void* parameter)
{
    StatusReader& reader = *static_cast<StatusReader*>(parameter);
    std::uint8_t buffer[readSize];
    // The 1 ms pause between passes doubles as the look at the stop event.
    while (WaitForSingleObject(reader.StopEvent.Get(), 1) == WAIT_TIMEOUT) {
        DWORD count = 0;
        if (!reader.ReadPass(buffer, readSize, count)) break;
        const long extended = DecodeStatusBlocks(buffer, count);
        reader.ResultCode = OPOS_E_EXTENDED;
        reader.ResultCodeExtended = extended;
    }
    return 0;
}

bool StatusReader::ReadPass(std::uint8_t* buffer, DWORD size, DWORD& count)
{
    count = 0;
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(ReadOffset);
    overlapped.OffsetHigh = static_cast<DWORD>(ReadOffset >> 32);
    overlapped.hEvent = ReadDone.Get();
    if (!ReadFile(Port.Get(), buffer, size, nullptr, &overlapped)) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) return IsReadTimeout(error);
    }
    const HANDLE waits[] = {ReadDone.Get(), StopEvent.Get()};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
        (void)CancelIoEx(Port.Get(), &overlapped);  // fails only when the read has just ended
        (void)GetOverlappedResult(Port.Get(), &overlapped, &count, TRUE);  // the buffer is ours again
        return false;
    }
    if (!GetOverlappedResult(Port.Get(), &overlapped, &count, FALSE)) {
        count = 0;
        return IsReadTimeout(GetLastError());
    }
    ReadOffset += count;
    return true;
}
