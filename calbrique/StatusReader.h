#pragma once

#include "ModuleHold.h"
#include "com/Handle.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <windows.h>

// The status reader of one claim: a thread that reads the printer's
// automatic status blocks from the port and stores ResultCode 114 with the
// decoded ResultCodeExtended after every read, also one that timed out empty.
//
// It reads through its own duplicate of the port handle, so a port closed
// and opened again is never read by an earlier claim's reader, and it waits
// for each read together with a stop event, so Stop ends it at once on every
// port whose reads can be cancelled. A reader that does not end keeps itself
// and the module alive until it does; it never stores after Stop.
class StatusReader
{
public:
    // Starts the reader on `port`, storing into the two result codes until
    // Stop. Returns null when the thread could not be started.
    static std::shared_ptr<StatusReader> Start(HANDLE port, std::atomic<long>& resultCode,
                                               std::atomic<long>& resultCodeExtended);

    StatusReader(const StatusReader&) = delete;
    StatusReader& operator=(const StatusReader&) = delete;

    // Asks the reader to end; once Stop has returned it stores nothing more.
    void Stop();
    // Waits up to `milliseconds` for the reader to end; true when it has.
    bool Wait(DWORD milliseconds);

    // Time-outs of the reader's reads on a serial port: a read ends 20 ms
    // after the last byte of a burst, or after 500 ms without any.
    static constexpr DWORD ByteGapMs = 20;
    static constexpr DWORD EmptyReadMs = 500;

private:
    StatusReader(std::atomic<long>& resultCode, std::atomic<long>& resultCodeExtended);

    static DWORD WINAPI StatusReaderThread(void* reader);
    void Run();
    // One read of up to a block of bytes. False when the reader must end:
    // stopped, or the read failed other than by its time-out.
    bool ReadPass(std::uint8_t* buffer, DWORD size, DWORD& count);
    void Store(long extended);

    com::Handle Port;
    com::Handle StopEvent;
    com::Handle ReadDone;
    com::Handle Thread;
    std::atomic<long>& ResultCode;
    std::atomic<long>& ResultCodeExtended;
    SRWLOCK StoreLock = SRWLOCK_INIT;
    bool Stopped = false;  // under StoreLock
    ULONGLONG ReadOffset = 0;  // where the port is a file
    // Handed to the thread when it starts.
    std::shared_ptr<StatusReader> Self;
    ModuleHold Hold;
};
