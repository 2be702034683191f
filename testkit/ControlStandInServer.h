// The stand-in OPOS control object (OposControlStandIn.dll) as a test uses
// it: registered as OPOS.POSPrinter and OPOS.CashDrawer while the owner
// lives, scripted and its call log read through the DLL's exports. Tests
// using it hold the opos_registry lock.
#pragma once

#include "ControlScript.h"

#include <string>
#include <vector>

namespace testkit {

class ControlStandInServer
{
public:
    // `dllPath`: the DLL's Windows path.
    explicit ControlStandInServer(const std::wstring& dllPath);
    ~ControlStandInServer();  // unregisters both ProgIDs
    ControlStandInServer(const ControlStandInServer&) = delete;
    ControlStandInServer& operator=(const ControlStandInServer&) = delete;

    bool Loaded() const { return SetScriptProc && CallLogProc && LiveObjectsProc; }
    // Sets the script and empties the log.
    void Script(const ControlScript& script) const;
    std::vector<std::wstring> Calls() const;
    LONG LiveObjects() const;

    // The class description every registration carries (the marker the
    // set-up utility checks for).
    static const wchar_t Description[];
    static void Unregister();

private:
    HMODULE Module = nullptr;
    SetScriptFn SetScriptProc = nullptr;
    CallLogFn CallLogProc = nullptr;
    LiveObjectsFn LiveObjectsProc = nullptr;
};

}  // namespace testkit
