// The key under HKEY_LOCAL_MACHINE that holds the OPOS set-up: a key per
// device class below it, a key per device below that.
#pragma once

#include "ui/String.h"

inline constexpr wchar_t kServiceOposKey[] = L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\";

// The HKLM path of a class key ("POSPrinter") or of a device key given as
// "Class\Device".
inline CString ServiceOposPath(const wchar_t* below)
{
    return kServiceOposKey + CString(below);
}
