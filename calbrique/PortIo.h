#pragma once

#include <windows.h>

// Ports are opened for overlapped I/O so that the status reader can be
// stopped and a write given up on every kind of port. (Tests open them
// without it to get a status reader that cannot be stopped.)
extern DWORD PortOpenFlags;

// What became of a write to the port.
enum class WriteResult { Written, Failed, TimedOut };

// Writes all `size` bytes to a port opened with PortOpenFlags and waits for
// the write to finish, but no longer than the bytes take at the line's speed
// (each at the longest frame) plus a margin of seconds for the printer's own
// pauses (cutting, feeding).
WriteResult WriteToPort(HANDLE port, const void* data, DWORD size);
