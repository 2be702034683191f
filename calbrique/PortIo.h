#pragma once

#include <windows.h>

// Ports are opened for overlapped I/O so that the status reader can be
// stopped on every kind of port; writes still finish before they return.
constexpr DWORD PortOpenFlags = FILE_FLAG_OVERLAPPED;

// Writes all `size` bytes to a port opened with PortOpenFlags and waits for
// the write to finish. Returns whether it succeeded; the last error tells why not.
bool WriteToPort(HANDLE port, const void* data, DWORD size);
