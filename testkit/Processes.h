#pragma once

#include <string>
#include <windows.h>

namespace testkit {

// Runs a command line, waits up to `timeoutMs` and returns its exit code;
// -1 when it could not start, -2 when it did not end in time (then killed).
long RunProcess(const std::wstring& commandLine, DWORD timeoutMs);

// The folder of the running test program, with a trailing backslash.
std::wstring ProgramFolder();

// Handles and threads of this process, once they hold still.
unsigned long CountHandles();
unsigned long CountThreads();

// Waits up to `timeoutMs` until another thread of this process is inside the
// ntdll system call `ntFunction` (e.g. "NtReadFile"), blocked there: its
// instruction pointer is in that call's stub.  True when one is.
bool WaitForThreadInCall(const char* ntFunction, DWORD timeoutMs);

}  // namespace testkit
