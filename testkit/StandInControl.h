#pragma once

#include <windows.h>

#include "com/BStr.h"
#include "com/ComPtr.h"
#include "com/Variant.h"

#include <oaidl.h>
#include <string>
#include <vector>

namespace testkit {

// OPOS result a control object reports when the service object cannot be
// created or called.
constexpr long OPOS_E_NOSERVICE = 104;

// One argument of a late-bound call. By-reference arguments point at the
// caller's variables, which must outlive the call.
class Arg
{
public:
    static Arg Long(long value);
    static Arg Bool(bool value);
    static Arg Text(const wchar_t* text);
    static Arg Dispatch(IDispatch* object);
    static Arg LongRef(LONG* value);
    static Arg TextRef(BSTR* text);

    Arg(const Arg&) = delete;
    Arg& operator=(const Arg&) = delete;
    Arg(Arg&& other) noexcept;
    ~Arg();

    const VARIANT& Value() const { return V; }

private:
    Arg();
    VARIANT V;
};

// Stand-in for the OPOS POSPrinter control object, driving the service
// object as a POS application's control object does: the ProgID from the
// device's registry key, the object created through COM, every method
// called late-bound through IDispatch with each name looked up on its own,
// the OPOS result taken from Invoke's return value. Its own IDispatch goes
// to OpenService and answers the names of the events the service object
// may look up.
class StandInControl
{
public:
    StandInControl();
    ~StandInControl();  // closes an open service
    StandInControl(const StandInControl&) = delete;
    StandInControl& operator=(const StandInControl&) = delete;

    // Creates the service object of `device` and calls OpenService.
    long Open(const std::wstring& device, const wchar_t* deviceClass = L"POSPrinter");
    // CloseService, then the service object is released.
    long Close();

    // Calls a method by name; the result is the OPOS result the method
    // returned (0 for a method that returns none), OPOS_E_NOSERVICE when the
    // call itself failed (LastResult() tells the HRESULT).
    long Call(const wchar_t* method, std::vector<Arg> args = {});
    // The same, also giving the method's return value.
    long Call(const wchar_t* method, std::vector<Arg> args, com::Variant& result);
    HRESULT LastResult() const { return LastHr; }

    long ClaimDevice(long timeout) { return Call(L"ClaimDevice", Args(Arg::Long(timeout))); }
    long ReleaseDevice() { return Call(L"ReleaseDevice"); }
    long GetPropertyNumber(long index) { return Call(L"GetPropertyNumber", Args(Arg::Long(index))); }
    // The string property's text; null when the service object gave a null string.
    com::BStr GetPropertyString(long index);
    void SetPropertyNumber(long index, long value)
    {
        Call(L"SetPropertyNumber", Args(Arg::Long(index), Arg::Long(value)));
    }
    // DeviceEnabled is set with 1 (on) or 0 (off), as control objects do.
    void SetDeviceEnabled(bool enabled) { SetPropertyNumber(3, enabled ? 1 : 0); }
    long Claimed() { return GetPropertyNumber(1); }
    long ResultCode() { return GetPropertyNumber(6); }
    long ResultCodeExtended() { return GetPropertyNumber(7); }

    IDispatch* Service() const { return ServiceObject.Get(); }
    // Drops the service object without closing it (as a crashing application would).
    void Abandon() { ServiceObject.Reset(); }
    // Event names the service object looked up, in order.
    std::vector<std::wstring> EventNamesAsked() const;
    // References on our IDispatch held by anyone else.
    unsigned long ReferencesHeldByOthers() const;

    template <class... A>
    static std::vector<Arg> Args(A&&... args)
    {
        std::vector<Arg> list;
        (list.push_back(std::move(args)), ...);
        return list;
    }

private:
    class Events;

    Events* OwnDispatch;  // one reference held by us
    com::ComPtr<IDispatch> ServiceObject;
    HRESULT LastHr = S_OK;
};

}  // namespace testkit
