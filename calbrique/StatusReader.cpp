#include "StatusReader.h"

#include "OposCodes.h"
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

std::shared_ptr<StatusReader> StatusReader::Start(HANDLE port, std::atomic<long>& resultCode,
                                                  std::atomic<long>& resultCodeExtended)
{
    std::shared_ptr<StatusReader> reader(new StatusReader(resultCode, resultCodeExtended));
    if (!reader->Hold) return nullptr;
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

    reader->Self = reader;
    reader->Thread = com::Handle(CreateThread(nullptr, 0, StatusReaderThread, reader.get(), 0, nullptr));
    if (!reader->Thread) {
        reader->Self.reset();
        return nullptr;
    }
    return reader;
}

void StatusReader::Stop()
{
    AcquireSRWLockExclusive(&StoreLock);
    Stopped = true;
    ReleaseSRWLockExclusive(&StoreLock);
    (void)SetEvent(StopEvent.Get());  // cannot fail on our own event
}

bool StatusReader::Wait(DWORD milliseconds)
{
    return WaitForSingleObject(Thread.Get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD WINAPI StatusReader::StatusReaderThread(void* parameter)
{
    auto* started = static_cast<StatusReader*>(parameter);
    ModuleHold hold(std::move(started->Hold));
    {
        const std::shared_ptr<StatusReader> reader = std::move(started->Self);
        reader->Run();
    }  // the reader goes with its last owner, which may be this thread
    hold.ExitThread();
}

void StatusReader::Run()
{
    std::uint8_t buffer[readSize];
    // The 1 ms pause between passes doubles as the look at the stop event.
    while (WaitForSingleObject(StopEvent.Get(), 1) == WAIT_TIMEOUT) {
        DWORD count = 0;
        if (!ReadPass(buffer, readSize, count)) break;
        Store(DecodeStatusBlocks(buffer, count));
    }
}

void StatusReader::Store(long extended)
{
    AcquireSRWLockExclusive(&StoreLock);
    if (!Stopped) {
        ResultCode = OPOS_E_EXTENDED;
        ResultCodeExtended = extended;
    }
    ReleaseSRWLockExclusive(&StoreLock);
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
