// The COM and LPT names a port may be renamed to, and which of them are free.
// Portable: the device map's data is handed in as text.
#pragma once

#include <string>
#include <vector>

// One kind of port name: prefix + 1 .. prefix + highest, in use when the
// system's device map key lists it.
struct PortNameKind {
  const wchar_t* prefix;
  int highest;
  const wchar_t* deviceMapKey;  // under HKEY_LOCAL_MACHINE
};

// The kind of a present name by its first three characters (exact case);
// null for an empty name or one of another kind.
const PortNameKind* PortNameKindOf(const std::wstring& name);

// The name a device-map value's data holds: from the prefix's first
// occurrence to the end (\DosDevices\LPT1 gives LPT1), else the whole text.
std::wstring InUseName(const std::wstring& data, const std::wstring& prefix);

// prefix1 .. prefix<highest> in ascending order, leaving out the names in
// use; each in-use entry keeps out one candidate equal to it (exact case).
std::vector<std::wstring> FreePortNames(const std::wstring& prefix, int highest, std::vector<std::wstring> inUse);
