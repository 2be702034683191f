#include "OposControl.h"

#include "ui/String.h"

#include <objbase.h>
#include <oleauto.h>

namespace {

struct ControlCall {
    ControlCallId id;
    const wchar_t* name;
    WORD kind;         // DISPATCH_METHOD, _PROPERTYGET or _PROPERTYPUT
    VARTYPE argType;   // VT_EMPTY: no argument; VT_BSTR: the caller's text
    long argValue;
};

const ControlCall kCalls[] = {
    {ControlCallId::Open, L"Open", DISPATCH_METHOD, VT_BSTR, 0},
    {ControlCallId::ResultCodeExtended, L"ResultCodeExtended", DISPATCH_PROPERTYGET, VT_EMPTY, 0},
    {ControlCallId::ClaimDevice, L"ClaimDevice", DISPATCH_METHOD, VT_I4, 0},  // the time-out
    {ControlCallId::Enable, L"DeviceEnabled", DISPATCH_PROPERTYPUT, VT_I2, -1},
    {ControlCallId::CheckHealth, L"CheckHealth", DISPATCH_METHOD, VT_I4, 3},  // interactive level
    {ControlCallId::Disable, L"DeviceEnabled", DISPATCH_PROPERTYPUT, VT_I2, 0},
    {ControlCallId::ReleaseDevice, L"ReleaseDevice", DISPATCH_METHOD, VT_EMPTY, 0},
    {ControlCallId::Close, L"Close", DISPATCH_METHOD, VT_EMPTY, 0},
};

const ControlCall& CallOf(ControlCallId id)
{
    return kCalls[static_cast<int>(id)];
}

} // namespace

HRESULT OposControl::Create(const wchar_t* deviceClass)
{
    CString progId;
    progId.Format(L"OPOS.%s", deviceClass);
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(m_object.Receive()));
    return hr;
}

bool OposControl::Call(ControlCallId id, const wchar_t* text)
{
    const ControlCall& call = CallOf(id);
    VARIANT* argument = m_argument.Receive(); // releases the previous argument
    V_VT(argument) = call.argType;
    switch (call.argType) {
    case VT_BSTR:
        V_BSTR(argument) = SysAllocString(text ? text : L"");
        if (!V_BSTR(argument)) {
            // No text to pass: the call is not made and counts as failed.
            V_VT(argument) = VT_EMPTY;
            (void)m_result.Receive();
            m_lastError = E_OUTOFMEMORY;
            return false;
        }
        break;
    case VT_I4:
        V_I4(argument) = call.argValue;
        break;
    case VT_I2:
        V_I2(argument) = static_cast<SHORT>(call.argValue);
        break;
    default:
        break;
    }
    m_lastError = Invoke(id, *m_result.Receive());
    return SUCCEEDED(m_lastError);
}

bool OposControl::Result(long& value) const
{
    if (FAILED(m_lastError) || V_VT(&*m_result) == VT_EMPTY)
        return false;
    // The control object answers a long; anything else is converted, and a
    // result that is no number counts as none.
    com::Variant number;
    if (FAILED(VariantChangeType(number.Get(), const_cast<VARIANT*>(&*m_result), 0, VT_I4)))
        return false;
    value = V_I4(&*number);
    return true;
}

long OposControl::ReadResultCodeExtended()
{
    com::Variant holder;
    com::Variant number;
    if (FAILED(Invoke(ControlCallId::ResultCodeExtended, *holder.Get())) || V_VT(holder.Get()) == VT_EMPTY ||
        FAILED(VariantChangeType(number.Get(), holder.Get(), 0, VT_I4)))
        return 0;
    return V_I4(&*number);
}

HRESULT OposControl::Invoke(ControlCallId id, VARIANT& result)
{
    if (!m_object)
        return E_POINTER;
    const ControlCall& call = CallOf(id);
    LPOLESTR name = const_cast<LPOLESTR>(call.name);
    DISPID dispid = DISPID_UNKNOWN;
    HRESULT hr = m_object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispid);
    if (FAILED(hr))
        return hr;

    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {};
    if (call.argType != VT_EMPTY) {
        params.rgvarg = m_argument.Get();
        params.cArgs = 1;
    }
    if (call.kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception = {};
    UINT argError = 0;
    hr = m_object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, call.kind, &params,
                          call.kind == DISPATCH_PROPERTYPUT ? nullptr : &result, &exception, &argError);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}
