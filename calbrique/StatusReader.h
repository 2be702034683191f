#pragma once

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
// kind of port (a blocked read is cancelled, not left to a time-out).
class StatusReader
{
public:
    // Starts the reader on `port`, storing into the two result codes.
    // Returns null when the thread could not be started.
    static std::unique_ptr<StatusReader> Start(HANDLE port, std::atomic<long>& resultCode,
                                               std::atomic<long>& resultCodeExtended);

    StatusReader(const StatusReader&) = delete;
    StatusReader& operator=(const StatusReader&) = delete;
    // Stops the reader and waits until it has ended.
    ~StatusReader();

    // Asks the reader to end; after it has ended it stores nothing more.
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
    // One read of up to a block of bytes. False when the reader must end:
    // stopped, or the read failed other than by its time-out.
    bool ReadPass(std::uint8_t* buffer, DWORD size, DWORD& count);

    com::Handle Port;
    com::Handle StopEvent;
    com::Handle ReadDone;
    com::Handle Thread;
    std::atomic<long>& ResultCode;
    std::atomic<long>& ResultCodeExtended;
    ULONGLONG ReadOffset = 0;  // where the port is a file
};
