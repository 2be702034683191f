// The key under HKEY_LOCAL_MACHINE that holds the OPOS set-up: a key per
// device class below it, a key per device below that.
#pragma once

inline constexpr wchar_t kServiceOposKey[] = L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\";
