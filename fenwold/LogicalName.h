// Logical device names: the rule every way of naming a logical device
// follows (Add New LDN, Add New Device, rename in the list), and which names
// of a class key refer to a device.
#pragma once

#include "com/RegKey.h"
#include "ui/String.h"

#include <vector>

constexpr int kMaxLogicalNameLength = 16;

// 1 to 16 characters, any characters.
inline bool IsValidLogicalName(const CString& name)
{
    return !name.IsEmpty() && name.GetLength() <= kMaxLogicalNameLength;
}

// The names of `classKey`'s values that refer to the device key `device`:
// values of any type whose data, read as text up to its first NUL, is the
// device key name exactly.  A value whose name (260 characters or more) or
// data (more than 260 bytes) is too long is passed over.  The device's list
// shows these names, and deleting the device deletes them.
std::vector<CString> LogicalNamesOf(const CRegKey& classKey, const CString& device);
