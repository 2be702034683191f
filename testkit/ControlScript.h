// What the stand-in OPOS control object (OposControlStandIn.dll) and the
// tests that use it share: its class ids, its script and its exports.
#pragma once

#include <windows.h>

namespace testkit {

// Registered as OPOS.POSPrinter and OPOS.CashDrawer in tests.
// {5C0B7E21-3A94-4F6D-8E12-9D47A1C3B860}
constexpr CLSID StandInPosPrinterClsid = {0x5c0b7e21, 0x3a94, 0x4f6d, {0x8e, 0x12, 0x9d, 0x47, 0xa1, 0xc3, 0xb8, 0x60}};
// {5C0B7E22-3A94-4F6D-8E12-9D47A1C3B860}
constexpr CLSID StandInCashDrawerClsid = {0x5c0b7e22, 0x3a94, 0x4f6d, {0x8e, 0x12, 0x9d, 0x47, 0xa1, 0xc3, 0xb8, 0x60}};

// How the stand-in answers. Scripted: Open and ClaimDevice return the two
// results, ResultCodeExtended the extended code, every other call 0.
// Forwarded: every call goes to the real service object of the device key.
struct ControlScript {
    LONG OpenResult = 0;
    LONG ClaimResult = 0;
    LONG ResultCodeExtended = 0;
    // A name the object does not know (GetIDsOfNames fails); empty for none.
    wchar_t UnknownName[32] = {};
    BOOL Forward = FALSE;
};

// Exports of the DLL.
// Sets the script and empties the call log.
using SetScriptFn = void(WINAPI*)(const ControlScript* script);
// The call log, one line a call: "create <class>", "<name> <kind>[ <type>:<value>]"
// with kind method, get or put, and "release" when the object goes. Returns
// the characters needed (with the terminating zero).
using CallLogFn = DWORD(WINAPI*)(wchar_t* buffer, DWORD chars);
// Objects alive now.
using LiveObjectsFn = LONG(WINAPI*)();

}  // namespace testkit
