// Running the package's devcon from the unpacked processor folder.
#pragma once

#include <windows.h>

#include <string>

// How long devcon may take before it is ended and counted as failed.
const DWORD kDevconTimeLimitMs = 3 * 60 * 1000;

// Runs <folder>\devcon.exe and no other program, its command line the
// quoted "<folder>\devcon" and the arguments, with the folder as its
// current folder, without a window; traces startedTrace once it runs and
// waits for its end, at most timeLimitMs, handling this thread's messages
// meanwhile so that its windows repaint, then for the programs it leaves
// behind (its console host) that may still hold the folder.  False (traced)
// when it can't be started; exitCode is then not set.  A devcon still running
// at the limit is ended with everything it started (traced) and its exit code
// is WAIT_TIMEOUT; one that can't be read counts as a failure's (1).
bool RunDevcon(const std::wstring& folder, const std::wstring& arguments, const wchar_t* startedTrace,
               DWORD timeLimitMs, DWORD& exitCode);
