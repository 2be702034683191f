// The rule every way of naming a logical device follows (Add New LDN, Add
// New Device, rename in the list).
#pragma once

#include "ui/String.h"

constexpr int kMaxLogicalNameLength = 16;

// 1 to 16 characters, any characters.
inline bool IsValidLogicalName(const CString& name)
{
    return !name.IsEmpty() && name.GetLength() <= kMaxLogicalNameLength;
}
