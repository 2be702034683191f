// Gives an emulated port another name: its device's PortName, a restart of
// the device so the driver takes it, and the friendly name to match.
#pragma once

#include <windows.h>

// Finds the present emulated port whose PortName is exactly oldName and
// renames it; true when its PortName was written.  At most one device is
// changed; when none carries the name nothing happens.
bool ChangePortName(HWND owner, const wchar_t* oldName, const wchar_t* newName);
